// Software fills and blits of MemoryImage against pixman doing the same composite on the same
// sizes, in the same run, and against a memcpy of one frame (the memory bandwidth floor). Prints
// each case's time ratios (ours / pixman, ours / memcpy) at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "MatchScreenCapture.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"
#include "graphics/PixelKernels.h"

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

// ---- the floor: one frame copied ----

void Memcpy_Frame(benchmark::State& state) {
    const std::vector<uint32_t> src = MakePixels(kW, kH, Kind::Opaque);
    std::vector<uint32_t> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * 4);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, kW * kH);
}
BENCHMARK(Memcpy_Frame);

// ---- the image font: 62 glyphs of 12 x 20 pixels side by side, anti-aliased strokes ----

constexpr int kGlyphW = 12;
constexpr int kGlyphH = 20;
constexpr int kGlyphCount = 62;
constexpr int kTextX = 20;
constexpr int kTextY = 100;                                            // baseline
const char* const kText = "The quick brown fox jumps over 12 dogs 3";  // 40 characters

char GlyphChar(int index) {
    return index < 26   ? char('A' + index)
           : index < 52 ? char('a' + index - 26)
                        : char('0' + index - 52);
}

std::vector<uint32_t> MakeGlyphAtlas() {
    const int w = kGlyphW * kGlyphCount;
    std::vector<uint32_t> pixels(size_t(w) * kGlyphH, 0);
    uint32_t seed = 777;
    for (int g = 0; g < kGlyphCount; ++g) {
        // A ring and a stem per glyph: opaque cores, soft edges, transparent elsewhere.
        const int stem = 2 + int(NextRandom(seed) % 8);
        for (int y = 0; y < kGlyphH; ++y) {
            for (int x = 0; x < kGlyphW; ++x) {
                const int cx = 2 * x - 11, cy = 2 * y - 25;
                const int r2 = cx * cx + cy * cy;
                int a = r2 > 64 && r2 < 100 ? 255 : (r2 > 49 && r2 < 121 ? 110 : 0);
                if (x == stem && y > 2 && y < 17) a = 255;
                if ((x == stem - 1 || x == stem + 1) && y > 2 && y < 17) a = std::max(a, 70);
                pixels[size_t(y) * size_t(w) + size_t(g * kGlyphW + x)] =
                    (uint32_t(a) << 24) | (a ? 0x00F0E0D0u : 0u);
            }
        }
    }
    return pixels;
}

// The width-file font on the atlas: space 6, ascent 16, every glyph 12 wide.
struct BenchFont {
    std::unique_ptr<MemoryImage> atlas;
    std::unique_ptr<ImageFont> font;
    BenchFont() {
        atlas = std::make_unique<MemoryImage>(nullptr);
        const std::vector<uint32_t> pixels = MakeGlyphAtlas();
        atlas->SetBits(pixels.data(), kGlyphW * kGlyphCount, kGlyphH);
        const auto path = std::filesystem::temp_directory_path() / "kelvane_bench_widths.txt";
        {
            std::ofstream out(path);
            out << "6 16\n";
            for (int g = 0; g < kGlyphCount; ++g) out << GlyphChar(g) << ' ' << kGlyphW << '\n';
        }
        font = std::make_unique<ImageFont>(atlas.get(), path.string());
        std::filesystem::remove(path);
    }
};

// ---- ours ----

void Zarvo_FillOpaque(benchmark::State& state) {
    auto screen = MakeScreen();
    Graphics g(screen.get());
    g.SetColor(Color(10, 200, 30, 255));
    for (auto _ : state) {
        // A whole-screen fill is only noted until the pixels are wanted: it is timed written.
        g.FillRect(0, 0, kW, kH);
        screen->WritePendingFill();
    }
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

void Zarvo_StretchFast(benchmark::State& state) {
    auto screen = MakeScreen();
    auto src = MakeImage(MakePixels(kW / 2, kH / 2, Kind::Translucent), kW / 2, kH / 2);
    Graphics g(screen.get());
    g.SetFastStretch(true);
    for (auto _ : state) g.DrawImage(src.get(), 0, 0, kW, kH);
    SetPixelCounters(state, kW * kH);
}

void Zarvo_FontString(benchmark::State& state) {
    auto screen = MakeScreen();
    BenchFont font;
    Graphics g(screen.get());
    g.SetFont(font.font.get());
    g.SetColor(Color::White);
    for (auto _ : state) g.DrawString(kText, kTextX, kTextY);
    SetPixelCounters(state, int64_t(std::strlen(kText)) * kGlyphW * kGlyphH);
}

BENCHMARK(Zarvo_FillOpaque);
BENCHMARK(Zarvo_FillTranslucent);
BENCHMARK(Zarvo_BlitOpaqueCopy);
BENCHMARK(Zarvo_BlitSprites);
BENCHMARK(Zarvo_BlitTranslucent);
BENCHMARK(Zarvo_BlitTinted);
BENCHMARK(Zarvo_BlitAdditive);
BENCHMARK(Zarvo_StretchFiltered);
BENCHMARK(Zarvo_StretchFast);
BENCHMARK(Zarvo_FontString);

// ---- the match screen: one whole frame of the game's own draw list, replayed ----

// Captured in main() before the benchmarks run (the game stays alive while they do).
std::unique_ptr<MatchBench::CaptureApp> gMatch;

// The best time of 200 runs of `work`, in microseconds: one operation's own cost.
template <class Work>
double BestMicros(Work work) {
    double best = 1e18;
    for (int i = 0; i < 200; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::micro>(end - start).count());
    }
    return best;
}

void Replay(MemoryImage& screen, const MatchBench::DrawOp& op) {
    switch (op.kind) {
        case MatchBench::DrawOp::Fill:
            screen.FillRect(op.dest, op.color, op.drawMode);
            break;
        case MatchBench::DrawOp::Clear:
            screen.ClearRect(op.dest);
            break;
        case MatchBench::DrawOp::Blit:
            screen.Blt(op.image, op.x, op.y, op.src, op.color, op.drawMode);
            break;
        case MatchBench::DrawOp::Stretch:
            screen.StretchBlt(op.image, op.dest, op.src, op.clip, op.color, op.drawMode,
                              op.fastStretch);
            break;
    }
}

void Zarvo_MatchScreen(benchmark::State& state) {
    if (!gMatch) {
        state.SkipWithError("the match screen could not be captured (is main.pak built?)");
        return;
    }
    auto screen = MakeScreen();
    const std::vector<MatchBench::DrawOp>& ops = gMatch->recording.ops;
    for (auto _ : state) {
        for (const MatchBench::DrawOp& op : ops) Replay(*screen, op);
    }
    // The replay must give the frame the game drew.
    if (std::memcmp(screen->GetBits(), gMatch->recording.GetBits(), size_t(kW) * kH * 4) != 0)
        state.SkipWithError("the replayed frame differs from the game's");
    SetPixelCounters(state, kW * kH);
}
BENCHMARK(Zarvo_MatchScreen);

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

void Pixman_StretchFast(benchmark::State& state) {
    PixmanImage screen = PixmanScreen();
    PixmanImage src(Premultiplied(MakePixels(kW / 2, kH / 2, Kind::Translucent)), kW / 2, kH / 2,
                    PIXMAN_a8r8g8b8);
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(0.5),
                                pixman_double_to_fixed(0.5));
    pixman_image_set_transform(src.image, &transform);
    pixman_image_set_filter(src.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src.image, nullptr, screen.image, 0, 0, 0, 0, 0, 0,
                                 kW, kH);
    }
    SetPixelCounters(state, kW * kH);
}

// The same glyphs composited one by one from the atlas, as the font draws them.
void Pixman_FontString(benchmark::State& state) {
    PixmanImage screen = PixmanScreen();
    PixmanImage atlas(Premultiplied(MakeGlyphAtlas()), kGlyphW * kGlyphCount, kGlyphH,
                      PIXMAN_a8r8g8b8);
    std::vector<int> glyphX;  // atlas column of each character, -1 for a space
    for (const char* c = kText; *c; ++c) {
        int index = -1;
        for (int g = 0; g < kGlyphCount; ++g) {
            if (GlyphChar(g) == *c) index = g;
        }
        glyphX.push_back(index < 0 ? -1 : index * kGlyphW);
    }
    for (auto _ : state) {
        int x = kTextX;
        for (int sx : glyphX) {
            if (sx < 0) {
                x += 6;
                continue;
            }
            pixman_image_composite32(PIXMAN_OP_OVER, atlas.image, nullptr, screen.image, sx, 0, 0,
                                     0, x, kTextY - 16, kGlyphW, kGlyphH);
            x += kGlyphW;
        }
    }
    SetPixelCounters(state, int64_t(std::strlen(kText)) * kGlyphW * kGlyphH);
}

// The match screen's list as pixman operations, prepared once: every source image converted to
// premultiplied pixels (opaque ones as x8r8g8b8, which pixman copies), a solid mask for each
// colour other than white, a transformed view of the source for each stretch.
class PixmanMatchList {
public:
    explicit PixmanMatchList(const std::vector<MatchBench::DrawOp>& ops) {
        for (const MatchBench::DrawOp& op : ops) {
            Step step;
            const bool additive = op.drawMode == 1;
            if (op.kind == MatchBench::DrawOp::Fill || op.kind == MatchBench::DrawOp::Clear) {
                const Color c = op.kind == MatchBench::DrawOp::Clear ? Color(0, 0, 0, 0) : op.color;
                step.fill = true;
                step.op = op.kind == MatchBench::DrawOp::Clear ? PIXMAN_OP_SRC
                          : additive                           ? PIXMAN_OP_ADD
                          : c.alpha == 255                     ? PIXMAN_OP_SRC
                                                               : PIXMAN_OP_OVER;
                step.color = Premultiplied(c);
                step.rect = {int16_t(op.dest.x), int16_t(op.dest.y), uint16_t(op.dest.width),
                             uint16_t(op.dest.height)};
                steps_.push_back(step);
                continue;
            }
            Source& source = sourceFor(op.image);
            step.op = additive ? PIXMAN_OP_ADD : PIXMAN_OP_OVER;
            if (!(op.color == Color::White)) {
                step.mask = pixman_image_create_solid_fill(&keep(Premultiplied(op.color)));
                if (op.color.red != 255 || op.color.green != 255 || op.color.blue != 255)
                    pixman_image_set_component_alpha(step.mask, 1);
                owned_.push_back(step.mask);
            }
            if (op.kind == MatchBench::DrawOp::Blit) {
                step.src = source.image;
                step.srcX = op.src.x;
                step.srcY = op.src.y;
                step.dstX = op.x;
                step.dstY = op.y;
                step.w = op.src.width;
                step.h = op.src.height;
            } else {
                const MatchBench::Rect area = op.dest.Intersection(op.clip);
                if (area.IsEmpty()) {
                    steps_.push_back(Step{});  // nothing to draw; kept so steps match the ops
                    continue;
                }
                // A view of the source whose transform maps the destination onto the source
                // rectangle.
                step.src =
                    pixman_image_create_bits(source.format, op.image->width, op.image->height,
                                             source.pixels.data(), op.image->width * 4);
                owned_.push_back(step.src);
                pixman_transform_t transform;
                pixman_transform_init_scale(
                    &transform, pixman_double_to_fixed(double(op.src.width) / op.dest.width),
                    pixman_double_to_fixed(double(op.src.height) / op.dest.height));
                transform.matrix[0][2] = pixman_int_to_fixed(op.src.x);
                transform.matrix[1][2] = pixman_int_to_fixed(op.src.y);
                pixman_image_set_transform(step.src, &transform);
                pixman_image_set_filter(
                    step.src, op.fastStretch ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR,
                    nullptr, 0);
                pixman_image_set_repeat(step.src, PIXMAN_REPEAT_PAD);
                step.srcX = area.x - op.dest.x;
                step.srcY = area.y - op.dest.y;
                step.dstX = area.x;
                step.dstY = area.y;
                step.w = area.width;
                step.h = area.height;
            }
            steps_.push_back(step);
        }
    }
    ~PixmanMatchList() {
        for (pixman_image_t* image : owned_) pixman_image_unref(image);
    }
    PixmanMatchList(const PixmanMatchList&) = delete;
    PixmanMatchList& operator=(const PixmanMatchList&) = delete;

    void Draw(pixman_image_t* screen) const {
        for (size_t i = 0; i < steps_.size(); ++i) DrawStep(i, screen);
    }
    void DrawStep(size_t i, pixman_image_t* screen) const {
        const Step& step = steps_[i];
        if (step.fill) {
            pixman_image_fill_rectangles(step.op, screen, &step.color, 1, &step.rect);
        } else if (step.src != nullptr) {
            pixman_image_composite32(step.op, step.src, step.mask, screen, step.srcX, step.srcY, 0,
                                     0, step.dstX, step.dstY, step.w, step.h);
        }
    }
    size_t Size() const { return steps_.size(); }

private:
    struct Source {
        std::vector<uint32_t> pixels;
        pixman_format_code_t format = PIXMAN_a8r8g8b8;
        pixman_image_t* image = nullptr;
    };
    struct Step {
        bool fill = false;
        pixman_op_t op = PIXMAN_OP_OVER;
        pixman_color_t color{};
        pixman_rectangle16_t rect{};
        pixman_image_t* src = nullptr;
        pixman_image_t* mask = nullptr;
        int srcX = 0, srcY = 0, dstX = 0, dstY = 0, w = 0, h = 0;
    };

    static pixman_color_t Premultiplied(const Color& c) {
        auto channel = [&](int v) { return uint16_t(v * c.alpha / 255 * 257); };
        return {channel(c.red), channel(c.green), channel(c.blue), uint16_t(c.alpha * 257)};
    }
    const pixman_color_t& keep(const pixman_color_t& color) {
        colors_.push_back(std::make_unique<pixman_color_t>(color));
        return *colors_.back();
    }

    Source& sourceFor(MemoryImage* image) {
        auto it = sources_.find(image);
        if (it != sources_.end()) return *it->second;
        auto source = std::make_unique<Source>();
        const uint32_t* bits = image->GetBits();
        const size_t count = size_t(image->width) * size_t(image->height);
        std::vector<uint32_t> pixels(bits, bits + count);
        const bool opaque =
            std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p >> 24 == 255; });
        source->pixels = ::Premultiplied(pixels);
        source->format = opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8;
        source->image = pixman_image_create_bits(source->format, image->width, image->height,
                                                 source->pixels.data(), image->width * 4);
        owned_.push_back(source->image);
        return *sources_.emplace(image, std::move(source)).first->second;
    }

    std::vector<Step> steps_;
    std::map<MemoryImage*, std::unique_ptr<Source>> sources_;
    std::vector<std::unique_ptr<pixman_color_t>> colors_;
    std::vector<pixman_image_t*> owned_;
};

void Pixman_MatchScreen(benchmark::State& state) {
    if (!gMatch) {
        state.SkipWithError("the match screen could not be captured (is main.pak built?)");
        return;
    }
    PixmanImage screen = PixmanScreen();
    const PixmanMatchList list(gMatch->recording.ops);
    if (std::getenv("KELVANE_MATCH_OPS") != nullptr) {
        // Each step's own time (the best of 200 runs), in the order of the operations.
        for (size_t i = 0; i < list.Size(); ++i) {
            const double best = BestMicros([&] { list.DrawStep(i, screen.image); });
            std::printf("  pixman step %zu: %.2f us\n", i, best);
        }
    }
    for (auto _ : state) list.Draw(screen.image);
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
BENCHMARK(Pixman_StretchFast);
BENCHMARK(Pixman_FontString);
BENCHMARK(Pixman_MatchScreen);

#endif

// Console output plus the ratio of each pair at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;  // name -> real time per iteration (ns)
    std::set<std::string> medians;

    void ReportRuns(const std::vector<Run>& runs) override {
        // With --benchmark_repetitions the median of the repetitions is used.
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            const std::string name = run.run_name.function_name;
            if (!median && medians.count(name)) continue;
            if (median) medians.insert(name);
            // CPU time: on a machine shared with other work, real time also counts the
            // stretches the benchmark spent waiting for a core.
            times[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        auto floorIt = times.find("Memcpy_Frame");
        const double floor = floorIt == times.end() ? 0.0 : floorIt->second;
        std::printf(
            "\nCPU time per operation (median of the repetitions), ours / pixman and ours /"
            " memcpy of one 640 x 480 frame (%.3f ms)\n"
            "  %-18s %10s %10s %8s %8s\n",
            floor / 1e6, "operation", "ours", "pixman", "/pixman", "/memcpy");
        for (const auto& [name, ours] : times) {
            if (name.rfind("Zarvo_", 0) != 0) continue;
            const std::string op = name.substr(6);
            auto it = times.find("Pixman_" + op);
            const bool havePixman = it != times.end() && it->second > 0;
            char pixman[32] = "-", ratio[32] = "-", floorRatio[32] = "-";
            if (havePixman) {
                std::snprintf(pixman, sizeof pixman, "%7.3f ms", it->second / 1e6);
                std::snprintf(ratio, sizeof ratio, "%.2f", ours / it->second);
            }
            if (floor > 0) std::snprintf(floorRatio, sizeof floorRatio, "%.2f", ours / floor);
            std::printf("  %-18s %7.3f ms %10s %8s %8s\n", op.c_str(), ours / 1e6, pixman, ratio,
                        floorRatio);
        }
    }
};

// Runs the game from the build's pack file to a match 20 seconds into play and keeps the frame's
// draw list; says what the list holds.
void CaptureMatch() {
    const auto home = std::filesystem::temp_directory_path() / "kelvane-bench-home";
    std::filesystem::create_directories(home);
    const std::string data = KELVANE_BINARY_DIR;
    if (!std::filesystem::exists(data + "/main.pak")) {
        std::printf("Match screen: no %s/main.pak\n", data.c_str());
        return;
    }
    gMatch = MatchBench::CaptureMatchScreen(data, home.string(), 2000);
    if (!gMatch) {
        std::printf("Match screen: the game did not reach a match\n");
        return;
    }
    int counts[4] = {};
    int64_t pixels = 0;
    for (const MatchBench::DrawOp& op : gMatch->recording.ops) {
        ++counts[op.kind];
        if (op.kind == MatchBench::DrawOp::Blit)
            pixels += int64_t(op.src.width) * op.src.height;
        else if (op.kind == MatchBench::DrawOp::Stretch)
            pixels +=
                int64_t(op.dest.Intersection(op.clip).width) * op.dest.Intersection(op.clip).height;
        else
            pixels += int64_t(op.dest.width) * op.dest.height;
    }
    std::printf(
        "Match screen: %zu operations (%d fills, %d clears, %d blits, %d stretches; %d not "
        "replayable), %.2f frames of pixels\n",
        gMatch->recording.ops.size(), counts[0], counts[1], counts[2], counts[3],
        gMatch->recording.unrecorded, double(pixels) / (kW * kH));
    if (std::getenv("KELVANE_MATCH_OPS") == nullptr) return;
    // Each operation's own time (the best of 200 runs), to see where a frame's time goes.
    auto screen = MakeScreen();
    const std::vector<MatchBench::DrawOp>& ops = gMatch->recording.ops;
    // Each operation's time inside the whole list (the median of 301 frames): what it costs
    // with the frame's other operations around it, cache misses included.
    constexpr int kFrames = 301;
    std::vector<std::vector<double>> inList(ops.size(), std::vector<double>(kFrames));
    for (int frame = 0; frame < kFrames; ++frame) {
        for (size_t i = 0; i < ops.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            Replay(*screen, ops[i]);
            const auto end = std::chrono::steady_clock::now();
            inList[i][size_t(frame)] =
                std::chrono::duration<double, std::micro>(end - start).count();
        }
    }
    double listTotal = 0;
    for (std::vector<double>& times : inList) {
        std::nth_element(times.begin(), times.begin() + kFrames / 2, times.end());
        listTotal += times[kFrames / 2];
    }
    std::printf("Operations inside the list, sum of medians: %.2f us\n", listTotal);
    for (size_t i = 0; i < ops.size(); ++i) {
        const MatchBench::DrawOp& op = ops[i];
        const double best = BestMicros([&] { Replay(*screen, op); });
        const MemoryImage* image = op.image;
        std::printf(
            "  %-7s %4dx%-4d src %d,%d %dx%d dest %d,%d %dx%d rgba %d,%d,%d,%d mode %d %s"
            " trans %d alpha %d%s: %.2f us (in the list %.2f us)\n",
            op.kind == 0   ? "fill"
            : op.kind == 1 ? "clear"
            : op.kind == 2 ? "blit"
                           : "stretch",
            image ? image->width : 0, image ? image->height : 0, op.src.x, op.src.y, op.src.width,
            op.src.height, op.kind == 2 ? op.x : op.dest.x, op.kind == 2 ? op.y : op.dest.y,
            op.dest.width, op.dest.height, op.color.red, op.color.green, op.color.blue,
            op.color.alpha, op.drawMode, op.fastStretch ? "fast" : "",
            image ? int(image->hasTrans) : 0, image ? int(image->hasAlpha) : 0,
            image && image->colorTable ? " palettized" : "", best, inList[i][kFrames / 2]);
        if (op.kind == MatchBench::DrawOp::Fill && i + 1 < ops.size()) {
            // A whole-screen fill is written only with what follows it (often a background that
            // covers it): the two together.
            const double pair = BestMicros([&] {
                Replay(*screen, op);
                Replay(*screen, ops[i + 1]);
            });
            std::printf("    with the next operation: %.2f us\n", pair);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // KELVANE_SIMD=scalar|sse2|avx2 measures a lower level than the processor supports.
    if (const char* level = std::getenv("KELVANE_SIMD")) {
        const std::string name = level;
        PixelKernels::SetSimdLevel(name == "scalar" ? PixelKernels::SimdLevel::Scalar
                                   : name == "sse2" ? PixelKernels::SimdLevel::Sse2
                                   : name == "avx2" ? PixelKernels::SimdLevel::Avx2
                                                    : PixelKernels::SimdLevel::Avx512);
    }
    std::printf("Pixel kernels: %s\n", PixelKernels::SimdLevelName(PixelKernels::GetSimdLevel()));
    CaptureMatch();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    gMatch.reset();
    return 0;
}
