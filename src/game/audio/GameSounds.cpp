#include "game/audio/GameSounds.h"

#include "audio/MusicInterface.h"
#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"
#include "game/GameApp.h"
#include "game/screens/ScreenIds.h"
#include "resources/ResourceManager.h"

namespace Kelvane {

namespace {

constexpr const char* kSoundIds[] = {"SOUND_WHISTLE", "SOUND_KICK",    "SOUND_CLICK",
                                     "SOUND_CHEER",   "SOUND_SWOOSH",  "SOUND_GROAN",
                                     "SOUND_CHIME",   "SOUND_POWERUP", "SOUND_FANFARE"};
constexpr int kNotLookedUp = -2;

}  // namespace

GameSounds::GameSounds(GameApp& application) : app(application) {
    slots.fill(kNotLookedUp);
}

int GameSounds::slotOf(Sfx effect) {
    int& slot = slots[static_cast<size_t>(effect)];
    if (slot == kNotLookedUp)
        slot = app.GetResourceManager()->GetSound(kSoundIds[static_cast<int>(effect)]);
    return slot;
}

void GameSounds::play(Sfx effect, double semitones) {
    Zarvo::SoundManager* manager = app.GetSoundManager();
    const int slot = slotOf(effect);
    if (manager == nullptr || slot < 0) return;
    Zarvo::SoundInstance* instance = manager->getSoundInstance(slot);
    if (instance == nullptr) return;
    if (semitones != 0) instance->adjustPitch(semitones);
    instance->play(false, true);
}

bool GameSounds::loadMusic() {
    Zarvo::MusicInterface* music = app.GetMusicInterface();
    if (music == nullptr) return false;
    musicLoaded = music->loadMusic(kMenuSong, "music/theme.ogg") &&
                  music->loadMusic(kMatchSong, "music/match.ogg");
    return musicLoaded;
}

void GameSounds::musicForScreen(int screenNumber) {
    Zarvo::MusicInterface* music = app.GetMusicInterface();
    if (!musicLoaded || music == nullptr) return;
    int wanted = kMenuSong;
    if (screenNumber == SCREEN_ORLEND || screenNumber == SCREEN_KELVANE) wanted = -1;
    if (screenNumber == SCREEN_MAIN) wanted = kMatchSong;
    if (wanted == song) return;
    if (song >= 0) music->fadeOut(song, true, kFadeSpeed);
    if (wanted >= 0) music->fadeIn(wanted, 0, kFadeSpeed, false);
    song = wanted;
}

}  // namespace Kelvane
