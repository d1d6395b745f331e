// Cost of mixing: one block of output with many voices playing, against the same block with one.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "audio/Mixer.h"

namespace {

std::shared_ptr<const Zarvo::SoundData> Tone() {
    auto sound = std::make_shared<Zarvo::SoundData>();
    sound->channels = 2;
    sound->sampleRate = 22050;
    for (int i = 0; i < 22050; ++i) {
        const auto v = static_cast<int16_t>(8000 * std::sin(i * 0.05));
        sound->samples.push_back(v);
        sound->samples.push_back(v);
    }
    return sound;
}

void MixVoices(benchmark::State& state) {
    Zarvo::Mixer mixer(nullptr);
    const auto tone = Tone();
    for (int i = 0; i < state.range(0); ++i) {
        const int voice = mixer.CreateVoice(tone);
        mixer.SetVoiceRate(voice, 22050.0 * (1.0 + i * 0.01));  // every voice resamples
        mixer.SetVoiceGain(voice, 0.1f, 0.05f);
        mixer.PlayVoice(voice, true);
    }
    std::vector<int16_t> out(1024 * 2);
    for (auto _ : state) {
        mixer.Render(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(MixVoices)->Arg(1)->Arg(32);

}  // namespace

BENCHMARK_MAIN();
