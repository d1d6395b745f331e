// The game's sound effects and music: effects by name through the application's sound manager,
// the menu loop and the livelier match loop through its music interface, faded into each other
// when the screen changes. Nothing here changes the game: without a sound device, or with the
// sounds missing from the data, it stays silent.
#pragma once

#include <array>

namespace Kelvane {

class GameApp;

enum class Sfx { Whistle, Kick, Click, Cheer, Swoosh, Groan, Chime, PowerUp, Fanfare };

class GameSounds {
public:
    static constexpr int kMenuSong = 0;
    static constexpr int kMatchSong = 1;
    // Fades take about half a second at 100 updates a second.
    static constexpr double kFadeSpeed = 0.02;

    explicit GameSounds(GameApp& app);

    // Plays an effect once, `semitones` above its own pitch.
    void play(Sfx effect, double semitones = 0);
    // Loads both loops; false when the music cannot be had (the game then runs without).
    bool loadMusic();
    // The loop for a screen: none on the splash screens, the match loop in a match, the menu
    // loop everywhere else. A loop already playing goes on.
    void musicForScreen(int screenNumber);

    int currentSong() const { return song; }

private:
    int slotOf(Sfx effect);

    GameApp& app;
    std::array<int, 9> slots;  // sound slot per effect; -2 not looked up yet, -1 missing
    bool musicLoaded = false;
    int song = -1;
};

}  // namespace Kelvane
