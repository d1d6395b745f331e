#pragma once
// Music by song id. This base class is the silent music interface used when the application runs
// without sound: every operation does nothing and every question answers false. Volumes are
// linear factors (1.0 full).
#include <string>

namespace Zarvo {

class MusicInterface {
public:
    MusicInterface() = default;
    virtual ~MusicInterface();
    MusicInterface(const MusicInterface&) = delete;
    MusicInterface& operator=(const MusicInterface&) = delete;

    virtual bool loadMusic(int id, const std::string& fileName);
    // Plays from `offset` (a pattern order for modules, a byte position of the decoded 16-bit
    // data for streams, -1 to continue where it stands), looping unless `noLoop`.
    virtual void playMusic(int id, int offset, bool noLoop);
    virtual void stopMusic(int id);
    virtual void pauseMusic(int id);
    virtual void resumeMusic(int id);
    virtual void stopAllMusic();
    virtual void unloadMusic(int id);
    virtual void unloadAllMusic();
    virtual void pauseAllMusic();
    virtual void resumeAllMusic();
    // Starts the song and raises its volume by `speed` every update up to its maximum volume.
    virtual void fadeIn(int id, int offset, double speed, bool noLoop);
    // Lowers the volume by `speed` every update down to 0, then stops the song when `stopSong`.
    virtual void fadeOut(int id, bool stopSong, double speed);
    virtual void fadeOutAll(bool stopSong, double speed);
    virtual void setSongVolume(int id, double volume);
    virtual void setSongMaxVolume(int id, double volume);
    virtual bool isPlaying(int id);
    // The music volume of the whole interface.
    virtual void setVolume(double volume);
    // A module's amplification, 0 .. 1 with 0.5 as its natural level.
    virtual void setMusicAmplify(int id, double amplify);
    // Runs the fades; called once per application update.
    virtual void update();
};

}  // namespace Zarvo
