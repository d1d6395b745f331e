#pragma once
#include <string>

namespace Zarvo {

// Music by song id: load, play, pause, fade, stop. This base class is the silent interface used
// when the application runs without sound: every operation does nothing or answers false.
class MusicInterface {
public:
    MusicInterface() = default;
    virtual ~MusicInterface() = default;
    MusicInterface(const MusicInterface&) = delete;
    MusicInterface& operator=(const MusicInterface&) = delete;

    virtual bool loadMusic(int id, const std::string& fileName);
    virtual void playMusic(int id, int offset = 0, bool noLoop = false);
    virtual void stopMusic(int id);
    virtual void pauseMusic(int id);
    virtual void resumeMusic(int id);
    virtual void stopAllMusic();
    virtual void unloadMusic(int id);
    virtual void unloadAllMusic();
    virtual void pauseAllMusic();
    virtual void resumeAllMusic();
    virtual void fadeIn(int id, int offset = -1, double speed = 0.002, bool noLoop = false);
    virtual void fadeOut(int id, bool stopSong = true, double speed = 0.004);
    virtual void fadeOutAll(bool stopSong = true, double speed = 0.004);
    virtual void setSongVolume(int id, double volume);
    virtual void setSongMaxVolume(int id, double volume);
    virtual bool isPlaying(int id);
    virtual void setVolume(double volume);
    virtual void setMusicAmplify(int id, double amplify);
    // Called once per application update.
    virtual void update();
};

}  // namespace Zarvo
