#pragma once
// The one audio output of the process: 44100 Hz, stereo, signed 16-bit samples, pulled from a
// callback on the device's own thread. Portable code sees only this interface; the SDL device and
// the null device live beside it.
#include <cstdint>
#include <functional>
#include <memory>

namespace Zarvo {

class AudioDevice {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    // Fills `frames` interleaved stereo frames. Called on the device's thread.
    using RenderCallback = std::function<void(int16_t* stereo, int frames)>;

    virtual ~AudioDevice() = default;

    // Starts pulling audio through `render`. Answers false when the output cannot start; the
    // callback is then never called.
    virtual bool Start(RenderCallback render) = 0;
    // After Stop returns the callback is no longer running and is never called again.
    virtual void Stop() = 0;
    // A short name for diagnostics ("sdl:pulseaudio", "null").
    virtual const char* Name() const = 0;

    // The real output when one can be opened (SDL, any driver including "dummy"); otherwise a
    // null device that consumes audio silently at the real rate, so that sounds still finish and
    // a missing sound card never stops the game.
    static std::unique_ptr<AudioDevice> OpenDefault();

    // What OpenDefault makes instead, until set back to null: a test's own output, from which it
    // pulls the mixed samples itself.
    using Factory = std::function<std::unique_ptr<AudioDevice>()>;
    static void SetDefaultFactory(Factory factory);
};

}  // namespace Zarvo
