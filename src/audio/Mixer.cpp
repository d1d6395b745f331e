#include "audio/Mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/AudioDevice.h"

namespace Zarvo {

std::atomic<float> Mixer::masterGain_{1.0f};

namespace {
constexpr int kBlockFrames = 512;
constexpr int kStreamBlockFrames = 1024;

std::mutex gDefaultMutex;
std::weak_ptr<Mixer> gDefaultMixer;
}  // namespace

Mixer::Mixer(std::unique_ptr<AudioDevice> device) : device_(std::move(device)) {
    if (device_ && !device_->Start([this](int16_t* out, int frames) { Render(out, frames); })) {
        device_.reset();
    }
}

Mixer::~Mixer() {
    if (device_) device_->Stop();
    device_.reset();
}

std::shared_ptr<Mixer> Mixer::OpenDefault() {
    std::lock_guard<std::mutex> lock(gDefaultMutex);
    auto mixer = gDefaultMixer.lock();
    if (!mixer) {
        mixer = std::make_shared<Mixer>(AudioDevice::OpenDefault());
        gDefaultMixer = mixer;
    }
    return mixer;
}

void Mixer::SetMasterGain(double gain) {
    masterGain_ = static_cast<float>(std::clamp(std::isfinite(gain) ? gain : 0.0, 0.0, 1.0));
}

double Mixer::GetMasterGain() {
    return masterGain_;
}

int Mixer::CreateVoice(std::shared_ptr<const SoundData> sound) {
    if (!sound || sound->channels < 1 || sound->channels > 2 || sound->sampleRate <= 0) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    const int id = nextId_++;
    Voice& voice = voices_[id];
    voice.sound = std::move(sound);
    voice.step = static_cast<double>(voice.sound->sampleRate) / kSampleRate;
    return id;
}

void Mixer::DestroyVoice(int voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.erase(voice);
}

void Mixer::SetVoiceGain(int voice, float left, float right) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(voice);
    if (it == voices_.end()) return;
    it->second.gainLeft = left;
    it->second.gainRight = right;
}

void Mixer::SetVoiceRate(int voice, double hz) {
    if (!(hz > 0.0)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(voice);
    if (it != voices_.end()) it->second.step = hz / kSampleRate;
}

void Mixer::PlayVoice(int voice, bool looping) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(voice);
    if (it == voices_.end()) return;
    it->second.position = 0.0;
    it->second.looping = looping;
    it->second.playing = it->second.sound->Frames() > 0;
}

void Mixer::StopVoice(int voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(voice);
    if (it == voices_.end()) return;
    it->second.playing = false;
    it->second.position = 0.0;
}

bool Mixer::IsVoicePlaying(int voice) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = voices_.find(voice);
    return it != voices_.end() && it->second.playing;
}

int Mixer::AddStream(std::unique_ptr<PcmSource> source) {
    if (!source || source->Channels() < 1 || source->Channels() > 2 || source->SampleRate() <= 0) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const int id = nextId_++;
    Stream& stream = streams_[id];
    stream.step = static_cast<double>(source->SampleRate()) / kSampleRate;
    stream.block.resize(static_cast<size_t>(kStreamBlockFrames) * source->Channels());
    stream.source = std::move(source);
    return id;
}

void Mixer::RemoveStream(int stream) {
    std::unique_ptr<PcmSource> doomed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = streams_.find(stream);
        if (it == streams_.end()) return;
        doomed = std::move(it->second.source);
        streams_.erase(it);
    }
    // The decoder is freed outside the lock, so the audio thread never waits for it.
}

void Mixer::PlayStream(int stream, bool looping, bool restart) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    if (it == streams_.end()) return;
    Stream& s = it->second;
    s.looping = looping;
    s.sourceLoops = s.source->SetLooping(looping);
    if (restart || s.ended) {
        s.source->Seek(0);
        s.primed = false;
        s.ended = false;
    }
    s.playing = true;
    s.paused = false;
}

void Mixer::PauseStream(int stream) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    if (it != streams_.end() && it->second.playing) it->second.paused = true;
}

void Mixer::ResumeStream(int stream) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    if (it != streams_.end()) it->second.paused = false;
}

void Mixer::StopStream(int stream) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    if (it == streams_.end()) return;
    it->second.playing = false;
    it->second.paused = false;
}

void Mixer::SetStreamGain(int stream, float gain) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    if (it != streams_.end()) it->second.gain = gain;
}

bool Mixer::IsStreamPlaying(int stream) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    return it != streams_.end() && it->second.playing && !it->second.paused;
}

bool Mixer::IsStreamPaused(int stream) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    return it != streams_.end() && it->second.playing && it->second.paused;
}

bool Mixer::WithStreamSource(int stream, const std::function<bool(PcmSource&)>& action) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = streams_.find(stream);
    if (it == streams_.end()) return false;
    const bool done = action(*it->second.source);
    // Whatever the action did to the source's position, reading starts afresh from there.
    it->second.primed = false;
    it->second.ended = false;
    it->second.blockFrames = 0;
    it->second.blockPos = 0;
    return done;
}

void Mixer::Render(int16_t* out, int frames) {
    float mix[kBlockFrames * 2];
    const float master = masterGain_;
    std::lock_guard<std::mutex> lock(mutex_);
    while (frames > 0) {
        const int n = std::min(frames, kBlockFrames);
        std::fill(mix, mix + n * 2, 0.0f);
        for (auto& [id, voice] : voices_) {
            if (voice.playing) MixVoice(voice, mix, n);
        }
        for (auto& [id, stream] : streams_) {
            if (stream.playing && !stream.paused) MixStream(stream, mix, n);
        }
        for (int i = 0; i < n * 2; ++i) {
            // Rounded half away from zero, as std::round does, without its library call: the
            // sum with one half is exact in double precision, and the conversion truncates.
            const float v = std::clamp(mix[i] * master, -32768.0f, 32767.0f);
            out[i] = static_cast<int16_t>(
                static_cast<int>(static_cast<double>(v) + (v >= 0.0f ? 0.5 : -0.5)));
        }
        out += n * 2;
        frames -= n;
    }
}

void Mixer::MixVoice(Voice& voice, float* mix, int frames) {
    const SoundData& sound = *voice.sound;
    const int64_t length = sound.Frames();
    const int channels = sound.channels;
    const int16_t* data = sound.samples.data();
    for (int i = 0; i < frames; ++i) {
        const int64_t index = static_cast<int64_t>(voice.position);
        const float frac = static_cast<float>(voice.position - static_cast<double>(index));
        int64_t nextIndex = index + 1;
        if (nextIndex >= length) nextIndex = voice.looping ? 0 : index;
        const int16_t* a = data + index * channels;
        const int16_t* b = data + nextIndex * channels;
        const float left = a[0] + (b[0] - a[0]) * frac;
        const float right = channels == 2 ? a[1] + (b[1] - a[1]) * frac : left;
        mix[i * 2] += left * voice.gainLeft;
        mix[i * 2 + 1] += right * voice.gainRight;
        voice.position += voice.step;
        // A sound ends as soon as its last frame has been heard.
        if (voice.position >= static_cast<double>(length)) {
            if (!voice.looping) {
                voice.playing = false;
                voice.position = 0.0;
                return;
            }
            voice.position = std::fmod(voice.position, static_cast<double>(length));
        }
    }
}

bool Mixer::NextStreamFrame(Stream& stream, float* frame) {
    PcmSource& source = *stream.source;
    const int channels = source.Channels();
    if (stream.blockPos >= stream.blockFrames) {
        stream.blockPos = 0;
        stream.blockFrames = source.Read(stream.block.data(), kStreamBlockFrames);
        if (stream.blockFrames <= 0 && stream.looping && !stream.sourceLoops && source.Seek(0)) {
            stream.blockFrames = source.Read(stream.block.data(), kStreamBlockFrames);
        }
        if (stream.blockFrames <= 0) {
            stream.blockFrames = 0;
            return false;
        }
    }
    const int16_t* f = stream.block.data() + static_cast<size_t>(stream.blockPos) * channels;
    frame[0] = f[0];
    frame[1] = channels == 2 ? f[1] : f[0];
    ++stream.blockPos;
    return true;
}

void Mixer::MixStream(Stream& stream, float* mix, int frames) {
    if (!stream.primed) {
        stream.blockFrames = 0;
        stream.blockPos = 0;
        stream.frac = 0.0;
        if (!NextStreamFrame(stream, stream.current)) {
            stream.playing = false;
            stream.ended = true;
            return;
        }
        if (!NextStreamFrame(stream, stream.next)) {
            stream.next[0] = stream.next[1] = 0.0f;
            stream.ended = true;
        }
        stream.primed = true;
    }
    for (int i = 0; i < frames; ++i) {
        const float t = static_cast<float>(stream.frac);
        mix[i * 2] += (stream.current[0] + (stream.next[0] - stream.current[0]) * t) * stream.gain;
        mix[i * 2 + 1] +=
            (stream.current[1] + (stream.next[1] - stream.current[1]) * t) * stream.gain;
        stream.frac += stream.step;
        while (stream.frac >= 1.0) {
            stream.frac -= 1.0;
            if (stream.ended) {
                stream.playing = false;
                stream.primed = false;
                return;
            }
            stream.current[0] = stream.next[0];
            stream.current[1] = stream.next[1];
            if (!NextStreamFrame(stream, stream.next)) {
                stream.next[0] = stream.next[1] = 0.0f;
                stream.ended = true;
            }
        }
    }
}

}  // namespace Zarvo
