#pragma once
// One playing copy of a loaded sound, handed out by a SoundManager, which owns it. Volumes are
// linear factors (1.0 full); pans are in hundredths of a decibel of attenuation, negative towards
// the left, positive towards the right (-10000 .. 10000).
#include <cstdint>

namespace Zarvo {

class SoundInstance {
public:
    virtual ~SoundInstance() = default;
    // Stops the sound and hands the instance back to its manager, which deletes it later.
    virtual void release() = 0;
    virtual void setBaseVolume(double volume) = 0;
    virtual void setBasePan(int32_t pan) = 0;
    virtual void adjustPitch(double semitones) = 0;
    virtual void setVolume(double volume) = 0;
    virtual void setPan(int32_t pan) = 0;
    // Plays from the start. With `autoRelease` the instance releases itself once it has finished.
    virtual bool play(bool looping, bool autoRelease) = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() = 0;
    virtual bool isReleased() = 0;
    virtual double getVolume() = 0;
};

}  // namespace Zarvo
