// The saved tour: the tour position and the player's profile, in the order the save file holds
// them. With the default text fields the encoded record is 42 bytes long.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "files/Buffer.h"

namespace Kelvane {

class GamePlay;
struct Profile;

struct SaveRecord {
    // Each text is stored behind a signed 16-bit length, so none holds more than this; a longer
    // text is saved cut to it, and reading one never asks for more.
    static constexpr size_t kMaxTextBytes = Zarvo::Buffer::kMaxStringBytes;

    // The record of the current tour position and profile. Without a current stage or a team the
    // index or the id is one that fits no tour (see `fits`).
    static SaveRecord fromPlay(const GamePlay& gamePlay, const Profile& profile);
    // Reads a record from the buffer's read position; whatever the buffer lacks reads as zeros.
    static SaveRecord read(Zarvo::Buffer& buffer);
    void write(Zarvo::Buffer& buffer) const;

    // Whether the record names a stage of the built tour and one of its nations: only such a
    // record can be applied without leaving the game without a current stage or a team.
    bool fits(const GamePlay& gamePlay) const;
    // Restores the tour position and the profile; the total points are taken as saved, not from
    // the team. False, with nothing changed, when the record does not fit.
    bool applyTo(GamePlay& gamePlay, Profile& profile) const;

    bool operator==(const SaveRecord&) const = default;

    int stageIndex = 0;
    bool replay = false;
    bool completed = false;
    int teamId = 0;
    std::array<std::string, 4> textFields{" ", " ", " ", " "};
    int totalPoints = 0;
    int lastMatchPoints = 0;
    // Stored as shorts: only their low 16 bits are kept.
    int redCards = 0;
    int yellowCards = 0;
    int offsideFlags = 0;
    int injuries = 0;
    int injuryFill = 0;
    int redCardFill = 0;
    int yellowCardFill = 0;
    int offsideFill = 0;
};

}  // namespace Kelvane
