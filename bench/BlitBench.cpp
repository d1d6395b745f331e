// Software fills and blits of MemoryImage against pixman doing the same composite on the same
// sizes, in the same run. Prints each pair's time ratio (ours / pixman) at the end.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

#ifdef KELVANE_HAVE_PIXMAN
#include <pixman.h>
#endif

using namespace Zarvo;

namespace {

constexpr int kW = 640;
constexpr int kH = 480;

uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A 0xAARRGGBB source of the given kind.
enum class Kind { Opaque, Sprite, Translucent };

std::vector<uint32_t> MakePixels(int w, int h, Kind kind) {
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t rgb = NextRandom(seed) & 0x00FFFFFF;
            uint32_t a = 255;
            if (kind == Kind::Translucent) {
                a = 1 + NextRandom(seed) % 254;
            } else if (kind == Kind::Sprite) {
                // Sprites in a grid of 64 x 64 cells: opaque discs with soft edges.
                const int cx = x % 64 - 32, cy = y % 64 - 32;
                const int d2 = cx * cx + cy * cy;
                a = d2 < 26 * 26 ? 255 : d2 > 30 * 30 ? 0 : uint32_t(255 - (d2 - 676) * 255 / 224);
            }
            pixels[size_t(y) * size_t(w) + size_t(x)] = (a << 24) | rgb;
        }
    }
    return pixels;
}

std::unique_ptr<MemoryImage> MakeImage(const std::vector<uint32_t>& pixels, int w, int h) {
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(pixels.data(), w, h);
    return image;
}

std::unique_ptr<MemoryImage> MakeScreen() {
    auto screen = MakeImage(MakePixels(kW, kH, Kind::Opaque), kW, kH);
    screen->SetImageMode(false, false);  // the back buffer is opaque
    return screen;
}

void SetPixelCounters(benchmark::State& state, int64_t pixels) {
    state.SetItemsProcessed(int64_t(state.iterations()) * pixels);
}

// ---- ours ----

void Zarvo_FillOpaque(benchmark::State& state) {
    auto screen = MakeScreen();
    Graphics g(screen.get());
    g.SetColor(Color(10, 200, 30, 255));
    for (auto _ : state) g.FillRect(0, 0, kW, kH);
    SetPixelCounters(state, kW * kH);
}

void Zarvo_FillTranslucent(benchmark::State& state) {
    auto screen = MakeScreen();
    Graphics g(screen.get());
    g.SetColor(Color(10, 200, 30, 100));
    for (auto _ : state) g.FillRect(0, 0, kW, kH);
    SetPixelCounters(state, kW * kH);
}

void RunBlit(benchmark::State& state, Kind kind, const Color& color, int drawMode) {
    auto screen = MakeScreen();
    auto src = MakeImage(MakePixels(kW, kH, kind), kW, kH);
    Graphics g(screen.get());
    g.SetColor(color);
    g.SetColorizeImages(true);
    g.SetDrawMode(drawMode);
    for (auto _ : state) g.DrawImage(src.get(), 0, 0);
    SetPixelCounters(state, kW * kH);
}

void Zarvo_BlitOpaqueCopy(benchmark::State& state) {
    RunBlit(state, Kind::Opaque, Color::White, 0);
}
void Zarvo_BlitSprites(benchmark::State& state) {
    RunBlit(state, Kind::Sprite, Color::White, 0);
}
void Zarvo_BlitTranslucent(benchmark::State& state) {
    RunBlit(state, Kind::Translucent, Color::White, 0);
}
void Zarvo_BlitTinted(benchmark::State& state) {
    RunBlit(state, Kind::Translucent, Color(200, 150, 100, 180), 0);
}
void Zarvo_BlitAdditive(benchmark::State& state) {
    RunBlit(state, Kind::Translucent, Color::White, 1);
}

void Zarvo_StretchFiltered(benchmark::State& state) {
    auto screen = MakeScreen();
    auto src = MakeImage(MakePixels(kW / 2, kH / 2, Kind::Translucent), kW / 2, kH / 2);
    Graphics g(screen.get());
    for (auto _ : state) g.DrawImage(src.get(), 0, 0, kW, kH);
    SetPixelCounters(state, kW * kH);
}

BENCHMARK(Zarvo_FillOpaque);
BENCHMARK(Zarvo_FillTranslucent);
BENCHMARK(Zarvo_BlitOpaqueCopy);
BENCHMARK(Zarvo_BlitSprites);
BENCHMARK(Zarvo_BlitTranslucent);
BENCHMARK(Zarvo_BlitTinted);
BENCHMARK(Zarvo_BlitAdditive);
BENCHMARK(Zarvo_StretchFiltered);

// ---- pixman: the same composites (pixman works on premultiplied pixels) ----

#ifdef KELVANE_HAVE_PIXMAN

std::vector<uint32_t> Premultiplied(const std::vector<uint32_t>& pixels) {
    std::vector<uint32_t> out(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = pixels[i], a = p >> 24;
        const uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255,
                       b = (p & 0xFF) * a / 255;
        out[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return out;
}

struct PixmanImage {
    std::vector<uint32_t> pixels;
    pixman_image_t* image = nullptr;
    PixmanImage(std::vector<uint32_t> p, int w, int h, pixman_format_code_t format)
        : pixels(std::move(p)) {
        image = pixman_image_create_bits(format, w, h, pixels.data(), w * 4);
    }
    ~PixmanImage() { pixman_image_unref(image); }
};

PixmanImage PixmanScreen() {
    return PixmanImage(MakePixels(kW, kH, Kind::Opaque), kW, kH, PIXMAN_x8r8g8b8);
}

void Pixman_FillOpaque(benchmark::State& state) {
    PixmanImage screen = PixmanScreen();
    const pixman_color_t color{0x0A0A, 0xC8C8, 0x1E1E, 0xFFFF};
    const pixman_rectangle16_t rect{0, 0, kW, kH};
    for (auto _ : state) {
        pixman_image_fill_rectangles(PIXMAN_OP_SRC, screen.image, &color, 1, &rect);
    }
    SetPixelCounters(state, kW * kH);
}

void Pixman_FillTranslucent(benchmark::State& state) {
    PixmanImage screen = PixmanScreen();
    // Premultiplied colour of alpha 100.
    const pixman_color_t color{uint16_t(10 * 100 / 255 * 257), uint16_t(200 * 100 / 255 * 257),
                               uint16_t(30 * 100 / 255 * 257), uint16_t(100 * 257)};
    const pixman_rectangle16_t rect{0, 0, kW, kH};
    for (auto _ : state) {
        pixman_image_fill_rectangles(PIXMAN_OP_OVER, screen.image, &color, 1, &rect);
    }
    SetPixelCounters(state, kW * kH);
}

void RunPixmanBlit(benchmark::State& state, Kind kind, pixman_op_t op, bool tinted) {
    PixmanImage screen = PixmanScreen();
    PixmanImage src(Premultiplied(MakePixels(kW, kH, kind)), kW, kH, PIXMAN_a8r8g8b8);
    pixman_image_t* mask = nullptr;
    if (tinted) {
        // Per-channel multiplication by the colour: a component-alpha solid mask.
        const pixman_color_t tint{uint16_t(200 * 180 / 255 * 257), uint16_t(150 * 180 / 255 * 257),
                                  uint16_t(100 * 180 / 255 * 257), uint16_t(180 * 257)};
        mask = pixman_image_create_solid_fill(&tint);
        pixman_image_set_component_alpha(mask, 1);
    }
    for (auto _ : state) {
        pixman_image_composite32(op, src.image, mask, screen.image, 0, 0, 0, 0, 0, 0, kW, kH);
    }
    if (mask) pixman_image_unref(mask);
    SetPixelCounters(state, kW * kH);
}

void Pixman_BlitOpaqueCopy(benchmark::State& state) {
    RunPixmanBlit(state, Kind::Opaque, PIXMAN_OP_OVER, false);
}
void Pixman_BlitSprites(benchmark::State& state) {
    RunPixmanBlit(state, Kind::Sprite, PIXMAN_OP_OVER, false);
}
void Pixman_BlitTranslucent(benchmark::State& state) {
    RunPixmanBlit(state, Kind::Translucent, PIXMAN_OP_OVER, false);
}
void Pixman_BlitTinted(benchmark::State& state) {
    RunPixmanBlit(state, Kind::Translucent, PIXMAN_OP_OVER, true);
}
void Pixman_BlitAdditive(benchmark::State& state) {
    RunPixmanBlit(state, Kind::Translucent, PIXMAN_OP_ADD, false);
}

void Pixman_StretchFiltered(benchmark::State& state) {
    PixmanImage screen = PixmanScreen();
    PixmanImage src(Premultiplied(MakePixels(kW / 2, kH / 2, Kind::Translucent)), kW / 2, kH / 2,
                    PIXMAN_a8r8g8b8);
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(0.5),
                                pixman_double_to_fixed(0.5));
    pixman_image_set_transform(src.image, &transform);
    pixman_image_set_filter(src.image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_set_repeat(src.image, PIXMAN_REPEAT_PAD);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src.image, nullptr, screen.image, 0, 0, 0, 0, 0, 0,
                                 kW, kH);
    }
    SetPixelCounters(state, kW * kH);
}

BENCHMARK(Pixman_FillOpaque);
BENCHMARK(Pixman_FillTranslucent);
BENCHMARK(Pixman_BlitOpaqueCopy);
BENCHMARK(Pixman_BlitSprites);
BENCHMARK(Pixman_BlitTranslucent);
BENCHMARK(Pixman_BlitTinted);
BENCHMARK(Pixman_BlitAdditive);
BENCHMARK(Pixman_StretchFiltered);

#endif

// Console output plus the ratio of each pair at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;     // name -> real time per iteration (ns)
    std::map<std::string, double> cpuTimes;  // name -> CPU time per iteration (ns)

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
                cpuTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf(
            "\nTime per 640 x 480 frame, ours / pixman (below 1: faster than pixman)\n"
            "  %-18s %10s %10s %7s %10s %10s %7s\n",
            "operation", "ours real", "pixman", "ratio", "ours cpu", "pixman", "ratio");
        for (const auto& [name, ours] : times) {
            if (name.rfind("Zarvo_", 0) != 0) continue;
            const std::string op = name.substr(6);
            auto it = times.find("Pixman_" + op);
            if (it == times.end() || it->second <= 0) continue;
            const double oursCpu = cpuTimes.at(name);
            const double theirsCpu = cpuTimes.at(it->first);
            std::printf("  %-18s %7.3f ms %7.3f ms %7.2f %7.3f ms %7.3f ms %7.2f\n", op.c_str(),
                        ours / 1e6, it->second / 1e6, ours / it->second, oursCpu / 1e6,
                        theirsCpu / 1e6, theirsCpu > 0 ? oursCpu / theirsCpu : 0.0);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
