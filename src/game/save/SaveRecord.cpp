#include "game/save/SaveRecord.h"

#include <cstdint>

#include "game/save/Profile.h"
#include "game/tour/GamePlay.h"

namespace Kelvane {
namespace {

// The low 16 bits of a value, as the short that holds them.
int16_t LowShort(int value) {
    return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}

}  // namespace

SaveRecord SaveRecord::fromPlay(const GamePlay& gamePlay, const Profile& profile) {
    SaveRecord r;
    const TourStage* stage = gamePlay.currentStage();
    r.stageIndex = stage != nullptr ? stage->index : -1;
    r.replay = gamePlay.replay();
    r.completed = gamePlay.completed();
    r.teamId = profile.team != nullptr ? profile.team->id : Team::kNoNation;
    r.textFields = profile.textFields;
    r.totalPoints = profile.totalPoints;
    r.lastMatchPoints = profile.lastMatchPoints;
    r.redCards = profile.redCards;
    r.yellowCards = profile.yellowCards;
    r.offsideFlags = profile.offsideFlags;
    r.injuries = profile.injuries;
    r.injuryFill = profile.injuryFill;
    r.redCardFill = profile.redCardFill;
    r.yellowCardFill = profile.yellowCardFill;
    r.offsideFill = profile.offsideFill;
    return r;
}

void SaveRecord::write(Zarvo::Buffer& buffer) const {
    buffer.WriteShort(LowShort(stageIndex));
    buffer.WriteBoolean(replay);
    buffer.WriteBoolean(completed);
    buffer.WriteShort(LowShort(teamId));
    for (const std::string& text : textFields) buffer.WriteString(text);
    buffer.WriteLong(totalPoints);
    buffer.WriteLong(lastMatchPoints);
    for (int value : {redCards, yellowCards, offsideFlags, injuries, injuryFill, redCardFill,
                      yellowCardFill, offsideFill}) {
        buffer.WriteShort(LowShort(value));
    }
}

SaveRecord SaveRecord::read(Zarvo::Buffer& buffer) {
    SaveRecord r;
    r.stageIndex = buffer.ReadShort();
    r.replay = buffer.ReadBoolean();
    r.completed = buffer.ReadBoolean();
    r.teamId = buffer.ReadShort();
    for (std::string& text : r.textFields) text = buffer.ReadString();
    r.totalPoints = buffer.ReadLong();
    r.lastMatchPoints = buffer.ReadLong();
    for (int* value : {&r.redCards, &r.yellowCards, &r.offsideFlags, &r.injuries, &r.injuryFill,
                       &r.redCardFill, &r.yellowCardFill, &r.offsideFill}) {
        *value = buffer.ReadShort();
    }
    return r;
}

bool SaveRecord::fits(const GamePlay& gamePlay) const {
    return gamePlay.findStage(stageIndex) != nullptr && gamePlay.findNation(teamId) != nullptr;
}

bool SaveRecord::applyTo(GamePlay& gamePlay, Profile& profile) const {
    if (!fits(gamePlay)) return false;
    gamePlay.restoreTourPosition(stageIndex, replay, completed);
    profile.team = gamePlay.findNation(teamId);
    profile.textFields = textFields;
    profile.totalPoints = totalPoints;
    profile.lastMatchPoints = lastMatchPoints;
    profile.redCards = redCards;
    profile.yellowCards = yellowCards;
    profile.offsideFlags = offsideFlags;
    profile.injuries = injuries;
    profile.injuryFill = injuryFill;
    profile.redCardFill = redCardFill;
    profile.yellowCardFill = yellowCardFill;
    profile.offsideFill = offsideFill;
    return true;
}

}  // namespace Kelvane
