#pragma once
// The software mixer behind sound effects and music: any number of voices (a decoded sound played
// with gain per channel, a playback rate and optional looping) and music streams (a PcmSource
// with a gain), summed into 44100 Hz stereo 16-bit output with clipping. Resampling is linear
// interpolation. One short lock guards the state; the audio thread holds it while it renders one
// block. Without a device the mixer renders only when asked (tests), and nothing is lost.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/PcmSource.h"
#include "audio/SoundData.h"
#include "platform/AudioDevice.h"

namespace Zarvo {


class Mixer {
public:
    static constexpr int kSampleRate = 44100;

    // Takes the device (may be null: then only Render produces output) and starts it.
    explicit Mixer(std::unique_ptr<AudioDevice> device);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // The process's mixer on the default device, created on first use and shared while anyone
    // holds it.
    static std::shared_ptr<Mixer> OpenDefault();

    // The process-wide master gain (0..1) applied to every mixer's output.
    static void SetMasterGain(double gain);
    static double GetMasterGain();

    bool HasDevice() const { return device_ != nullptr; }

    // Voices: a sound that starts stopped, at gain 1 on both channels and the sound's own rate.
    int CreateVoice(std::shared_ptr<const SoundData> sound);
    void DestroyVoice(int voice);
    void SetVoiceGain(int voice, float left, float right);
    void SetVoiceRate(int voice, double hz);
    // Starts from the first frame.
    void PlayVoice(int voice, bool looping);
    // Stops and rewinds to the first frame.
    void StopVoice(int voice);
    bool IsVoicePlaying(int voice) const;

    // Music streams: added stopped, gain 0.
    int AddStream(std::unique_ptr<PcmSource> source);
    void RemoveStream(int stream);
    // Plays; `restart` starts from the first frame, otherwise from where the stream stands.
    void PlayStream(int stream, bool looping, bool restart);
    void PauseStream(int stream);
    // Resumes a paused stream; a stopped one stays stopped.
    void ResumeStream(int stream);
    void StopStream(int stream);
    void SetStreamGain(int stream, float gain);
    bool IsStreamPlaying(int stream) const;
    bool IsStreamPaused(int stream) const;
    // Runs `action` on the stream's source under the lock (seeking, order changes).
    bool WithStreamSource(int stream, const std::function<bool(PcmSource&)>& action);

    // Mixes `frames` stereo frames into `out`. The device's thread calls it; tests call it
    // directly.
    void Render(int16_t* out, int frames);

private:
    struct Voice {
        std::shared_ptr<const SoundData> sound;
        double position = 0.0;
        double step = 1.0;
        float gainLeft = 1.0f;
        float gainRight = 1.0f;
        bool playing = false;
        bool looping = false;
    };
    struct Stream {
        std::unique_ptr<PcmSource> source;
        std::vector<int16_t> block;  // decoded frames of the source, read ahead
        int blockFrames = 0;
        int blockPos = 0;
        float current[2] = {0, 0};  // the two source frames the output lies between
        float next[2] = {0, 0};
        double frac = 0.0;
        double step = 1.0;
        float gain = 0.0f;
        bool primed = false;
        bool playing = false;
        bool paused = false;
        bool looping = false;
        bool sourceLoops = false;
        bool ended = false;  // the source has no more frames: play out `current`, then stop
    };

    void MixVoice(Voice& voice, float* mix, int frames);
    void MixStream(Stream& stream, float* mix, int frames);
    bool NextStreamFrame(Stream& stream, float* frame);

    mutable std::mutex mutex_;
    std::map<int, Voice> voices_;
    std::map<int, Stream> streams_;
    int nextId_ = 1;
    std::unique_ptr<AudioDevice> device_;
    static std::atomic<float> masterGain_;
};

}  // namespace Zarvo
