// The save game "saveGame.dat" in the application's data folder: the tour position and the
// player's profile as one SaveRecord. It is written crash-safe (a temporary file renamed over the
// old one), and looked for and read through the archive-aware file functions.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace Kelvane {

class GamePlay;
struct Profile;

class SaveGame {
public:
    static constexpr const char* kFileName = "saveGame.dat";
    static constexpr const char* kUnreadableText = "Could not read contents of saveGame.dat";
    // Shown, followed by ": " and the system's reason, when a save cannot be written.
    static constexpr const char* kUnwritableText = "Could not write contents of saveGame.dat";
    // Far more than any record can take (four strings of at most 32767 bytes); a larger file is
    // no save game.
    static constexpr size_t kMaxFileBytes = 1 << 20;

    using Popup = std::function<void(const std::string& text)>;

    // `folder` is the application data folder (with or without a trailing '/'; empty means the
    // working directory). `popup` shows a message to the player.
    SaveGame(const std::string& folder, Popup popup);

    const std::string& path() const { return path_; }

    // Replaces the save with the current tour position and profile. False, and any earlier save
    // left whole as it was, when the write fails (then kUnwritableText is shown) or when there is
    // nothing to save (see hasTourToSave).
    bool writeSave(const GamePlay& gamePlay, const Profile& profile) const;
    // Whether there is a tour to save: a current stage and a chosen team.
    bool hasTourToSave(const GamePlay& gamePlay, const Profile& profile) const;
    // True when the save exists and its contents can be read.
    bool saveExists() const;
    // Restores a saved tour onto a freshly started world tour. A missing save answers false
    // silently. A save that cannot be read, or whose stage or team names nothing of the tour,
    // shows kUnreadableText and answers false; the tour and the profile are then left untouched,
    // so the player starts a fresh tour. A save cut short reads zeros for what is missing.
    bool loadSave(GamePlay& gamePlay, Profile& profile) const;
    // Deletes the save when it exists.
    void deleteSave() const;

private:
    enum class ReadResult { Missing, Unreadable, Read };
    ReadResult readContents(std::string& out) const;

    std::string path_;
    Popup popup_;
};

}  // namespace Kelvane
