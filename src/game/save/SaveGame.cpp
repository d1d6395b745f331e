#include "game/save/SaveGame.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "files/Buffer.h"
#include "files/FileFunctions.h"
#include "game/save/SaveRecord.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"

namespace Kelvane {

SaveGame::SaveGame(const std::string& folder, Popup popup) : popup_(std::move(popup)) {
    path_ = folder;
    if (!path_.empty() && path_.back() != '/') path_ += '/';
    path_ += kFileName;
}

bool SaveGame::hasTourToSave(const GamePlay& gamePlay, const Profile& profile) const {
    return SaveRecord::fromPlay(gamePlay, profile).fits(gamePlay);
}

bool SaveGame::writeSave(const GamePlay& gamePlay, const Profile& profile) const {
    const SaveRecord record = SaveRecord::fromPlay(gamePlay, profile);
    // A record that could never be loaded back would only replace a good save with a bad one.
    if (!record.fits(gamePlay)) return false;
    Zarvo::Buffer buffer;
    record.write(buffer);
    if (Zarvo::AtomicFile::Write(path_, buffer.Data(), buffer.Size())) return true;
    const std::string reason = std::strerror(errno);
    if (popup_) popup_(std::string(kUnwritableText) + ": " + reason);
    return false;
}

SaveGame::ReadResult SaveGame::readContents(std::string& out) const {
    Zarvo::PakFile* file = Zarvo::FOpen(path_.c_str(), "rb");
    if (file == nullptr) return ReadResult::Missing;
    std::string contents;
    char chunk[4096];
    bool ok = true;
    while (true) {
        const size_t n = Zarvo::FRead(chunk, 1, sizeof chunk, file);
        contents.append(chunk, n);
        if (contents.size() > kMaxFileBytes) {
            ok = false;
            break;
        }
        if (n < sizeof chunk) {
            // A short read is the end of the data only when the stream says so; otherwise it is
            // a read error (a folder of that name, an I/O failure).
            ok = Zarvo::FEof(file) != 0;
            break;
        }
    }
    Zarvo::FClose(file);
    if (!ok) return ReadResult::Unreadable;
    out = std::move(contents);
    return ReadResult::Read;
}

bool SaveGame::saveExists() const {
    std::string contents;
    return readContents(contents) == ReadResult::Read;
}

bool SaveGame::loadSave(GamePlay& gamePlay, Profile& profile) const {
    std::string contents;
    const ReadResult result = readContents(contents);
    if (result == ReadResult::Missing) return false;
    if (result == ReadResult::Read) {
        Zarvo::Buffer buffer(contents.data(), contents.size());
        // The whole record is read and checked before any of it is applied.
        if (SaveRecord::read(buffer).applyTo(gamePlay, profile)) return true;
    }
    if (popup_) popup_(kUnreadableText);
    return false;
}

void SaveGame::deleteSave() const {
    std::error_code ec;
    // Only the file: a folder that happens to carry its name is not the player's to lose.
    if (!std::filesystem::is_directory(path_, ec)) Zarvo::FileSystem::Current().Remove(path_);
}

}  // namespace Kelvane
