#pragma once
// A sound instance playing as one voice of the mixer. Without a mixer (no audio output) it has no
// voice and every operation does nothing.
#include <atomic>
#include <cstdint>

#include "audio/SoundInstance.h"

namespace Zarvo {

class Mixer;

class MixerSoundInstance : public SoundInstance {
public:
    // `voice` belongs to the instance from now on (0: no voice). `managerVolume` is the manager's
    // effects volume, read whenever the volume is applied.
    MixerSoundInstance(Mixer* mixer, int voice, int baseFrequency,
                       const std::atomic<double>* managerVolume);
    ~MixerSoundInstance() override;
    MixerSoundInstance(const MixerSoundInstance&) = delete;
    MixerSoundInstance& operator=(const MixerSoundInstance&) = delete;

    void release() override;
    void setBaseVolume(double volume) override;
    void setBasePan(int32_t pan) override;
    void adjustPitch(double semitones) override;
    void setVolume(double volume) override;
    void setPan(int32_t pan) override;
    bool play(bool looping, bool autoRelease) override;
    void stop() override;
    bool isPlaying() override;
    bool isReleased() override;
    double getVolume() override { return volume_; }

    // Stops and rewinds without forgetting auto-release (the manager's stop-all).
    void StopKeepingAutoRelease();
    // Applies the volume again (after the manager's volume changed).
    void ApplyVolume();
    // The playback rate last asked for, in Hz.
    int GetFrequency() const { return frequency_; }

    // Hundredths of a decibel for a linear volume: the integer part of
    // (log10(9 v + 1) - 1) x 2333, capped at 0, and -10000 (silence) below -2000.
    static int toDecibels(double volume);
    // The linear gain of an attenuation in hundredths of a decibel; -10000 is silence.
    static double GainFromDecibels(int hundredths);

private:
    void ApplyGains();

    Mixer* mixer_;
    int voice_;
    const std::atomic<double>* managerVolume_;
    bool released_ = false;
    bool autoRelease_ = false;
    bool hasPlayed_ = false;
    int32_t basePan_ = 0;
    double baseVolume_ = 1.0;
    int32_t pan_ = 0;
    double volume_ = 1.0;
    int baseFrequency_ = 44100;
    int frequency_ = 44100;
    double gain_ = 1.0;
};

}  // namespace Zarvo
