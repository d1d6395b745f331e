#include "audio/MixerSoundInstance.h"

#include <algorithm>
#include <cmath>

#include "audio/Mixer.h"

namespace Zarvo {

namespace {
constexpr int kSilence = -10000;
constexpr double kSemitone = 1.0594630943592953;
constexpr double kMinFrequency = 100.0;
constexpr double kMaxFrequency = 100000.0;
}  // namespace

MixerSoundInstance::MixerSoundInstance(Mixer* mixer, int voice, int baseFrequency,
                                       const std::atomic<double>* managerVolume)
    : mixer_(voice != 0 ? mixer : nullptr),
      voice_(mixer_ ? voice : 0),
      managerVolume_(managerVolume),
      baseFrequency_(baseFrequency),
      frequency_(baseFrequency) {
    ApplyVolume();
}

MixerSoundInstance::~MixerSoundInstance() {
    if (mixer_) mixer_->DestroyVoice(voice_);
}

int MixerSoundInstance::toDecibels(double volume) {
    const double scaled = 9.0 * volume + 1.0;
    if (!(scaled > 0.0) || !std::isfinite(scaled)) return scaled > 0.0 ? 0 : kSilence;
    const double value = std::trunc((std::log10(scaled) - 1.0) * 2333.0);
    if (value < -2000.0) return kSilence;
    // The output cannot amplify: full volume is the loudest.
    return static_cast<int>(std::min(value, 0.0));
}

double MixerSoundInstance::GainFromDecibels(int hundredths) {
    if (hundredths <= kSilence) return 0.0;
    return std::pow(10.0, std::min(hundredths, 0) / 2000.0);
}

void MixerSoundInstance::ApplyVolume() {
    const double manager = managerVolume_ ? managerVolume_->load() : 1.0;
    gain_ = GainFromDecibels(toDecibels(volume_ * baseVolume_ * manager));
    ApplyGains();
}

void MixerSoundInstance::ApplyGains() {
    if (!mixer_) return;
    // A positive pan attenuates the left channel, a negative one the right.
    const int pan = std::clamp(pan_ + basePan_, -10000, 10000);
    const double left = pan > 0 ? GainFromDecibels(-pan) : 1.0;
    const double right = pan < 0 ? GainFromDecibels(pan) : 1.0;
    mixer_->SetVoiceGain(voice_, static_cast<float>(gain_ * left),
                         static_cast<float>(gain_ * right));
}

void MixerSoundInstance::release() {
    stop();
    released_ = true;
}

void MixerSoundInstance::setBaseVolume(double volume) {
    baseVolume_ = volume;
    ApplyVolume();
}

void MixerSoundInstance::setBasePan(int32_t pan) {
    basePan_ = std::clamp(pan, -10000, 10000);
    ApplyGains();
}

void MixerSoundInstance::setVolume(double volume) {
    volume_ = volume;
    ApplyVolume();
}

void MixerSoundInstance::setPan(int32_t pan) {
    pan_ = std::clamp(pan, -10000, 10000);
    ApplyGains();
}

void MixerSoundInstance::adjustPitch(double semitones) {
    if (!mixer_) return;
    double hz = baseFrequency_ * std::pow(kSemitone, semitones);
    if (!std::isfinite(hz)) hz = semitones > 0 ? kMaxFrequency : kMinFrequency;
    frequency_ = static_cast<int>(std::lround(std::clamp(hz, kMinFrequency, kMaxFrequency)));
    mixer_->SetVoiceRate(voice_, frequency_);
}

bool MixerSoundInstance::play(bool looping, bool autoRelease) {
    stop();
    hasPlayed_ = true;
    autoRelease_ = autoRelease;
    if (!mixer_) return false;
    mixer_->PlayVoice(voice_, looping);
    return true;
}

void MixerSoundInstance::stop() {
    StopKeepingAutoRelease();
    autoRelease_ = false;
}

void MixerSoundInstance::StopKeepingAutoRelease() {
    if (mixer_) mixer_->StopVoice(voice_);
}

bool MixerSoundInstance::isPlaying() {
    return hasPlayed_ && mixer_ && mixer_->IsVoicePlaying(voice_);
}

bool MixerSoundInstance::isReleased() {
    if (!released_ && autoRelease_ && hasPlayed_ && !isPlaying()) release();
    return released_;
}

}  // namespace Zarvo
