#pragma once
// Music on the project's mixer. Names ending in "wav", "ogg" or "mp3" are streams (there is no
// MP3 decoder, so those fail to load); any other extension is a tracker module played through
// libopenmpt. Files are read whole through the archive layer. A song's output gain is its volume
// x the interface volume (x the amplification for modules); fades run in update().
#include <map>
#include <memory>
#include <string>

#include "audio/MusicInterface.h"

namespace Zarvo {

class Mixer;

class MixerMusicInterface : public MusicInterface {
public:
    // `mixer` may be null: then nothing loads.
    explicit MixerMusicInterface(std::shared_ptr<Mixer> mixer);
    ~MixerMusicInterface() override;

    bool loadMusic(int id, const std::string& fileName) override;
    void playMusic(int id, int offset, bool noLoop) override;
    void stopMusic(int id) override;
    void pauseMusic(int id) override;
    void resumeMusic(int id) override;
    void stopAllMusic() override;
    void unloadMusic(int id) override;
    void unloadAllMusic() override;
    void pauseAllMusic() override;
    void resumeAllMusic() override;
    void fadeIn(int id, int offset, double speed, bool noLoop) override;
    void fadeOut(int id, bool stopSong, double speed) override;
    void fadeOutAll(bool stopSong, double speed) override;
    void setSongVolume(int id, double volume) override;
    void setSongMaxVolume(int id, double volume) override;
    bool isPlaying(int id) override;
    void setVolume(double volume) override;
    void setMusicAmplify(int id, double amplify) override;
    void update() override;

    // The song's volume (-1 for an unknown id) and whether a fade is running.
    double GetSongVolume(int id) const;
    bool IsFading(int id) const;
    // The volume attribute last applied to the song's channel: its volume x 100.
    int GetVolumeAttribute(int id) const;

private:
    struct Song {
        int stream = 0;
        bool module = false;
        int channels = 2;
        bool looping = true;
        double volume = 0.0;
        double volumeAdd = 0.0;
        double volumeCap = 1.0;
        bool stopOnFade = false;
        double amplify = 1.0;  // gain factor; 1.0 is a module's natural level
        int volumeAttribute = 0;
    };

    Song* Find(int id);
    void Apply(Song& song);
    // Positions and starts a song as playMusic does.
    void Start(Song& song, int offset, bool noLoop);

    std::shared_ptr<Mixer> mixer_;
    std::map<int, Song> songs_;
    double globalVolume_ = 1.0;
};

}  // namespace Zarvo
