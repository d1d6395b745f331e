// Writes the seed inputs of the `soundcache`, `module` and `group` fuzz targets into
// fuzz/corpus/<target>/. Everything is made here in code (tiny tracker modules of each format,
// sines, sound cache files, pack files), except the small images and the font descriptor of the
// pack-loading test, which the group seeds pack. Run once after changing a format:
//   cmake --build build --target fuzz_make_seeds && ./build/fuzz_make_seeds
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/SoundCache.h"
#include "audio/SoundData.h"
#include "files/PakBuilder.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

// The source name and time the soundcache target checks cache files against.
constexpr const char* kSourceName = "sounds/kick.ogg";
constexpr int64_t kSourceTime = 0x01DB5A3C12345678;

const fs::path kSource = KELVANE_SOURCE_DIR;
const fs::path kCorpus = kSource / "fuzz" / "corpus";

void Put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Put16Be(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
void Put32Be(Bytes& out, uint32_t v) {
    Put16Be(out, v >> 16);
    Put16Be(out, v & 0xFFFF);
}
// `text` padded with zeros (or cut) to `size` bytes.
void PutText(Bytes& out, const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) out.push_back(i < text.size() ? text[i] : 0);
}
void PutText(Bytes& out, const std::string& text) {
    PutText(out, text, text.size());
}
void Set16(Bytes& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteSeed(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path folder = kCorpus / target;
    fs::create_directories(folder);
    std::ofstream out(folder / ("seed-" + name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    std::printf("%s/seed-%s: %zu bytes\n", target.c_str(), name.c_str(), bytes.size());
}

// A square wave of `period` samples, the same on every channel.
Zarvo::SoundData Square(int rate, int channels, int frames, int period) {
    Zarvo::SoundData sound;
    sound.channels = channels;
    sound.sampleRate = rate;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            sound.samples.push_back(static_cast<int16_t>((i / (period / 2)) % 2 ? 6000 : -6000));
        }
    }
    return sound;
}

// One signed 8-bit cycle of a square wave, `length` bytes.
Bytes SquareSample8(size_t length) {
    Bytes out;
    for (size_t i = 0; i < length; ++i) out.push_back(i < length / 2 ? 0x50 : 0xB0);
    return out;
}

// ---- sound cache files

void SoundCacheSeeds() {
    const fs::path scratch = fs::temp_directory_path() / "kelvane-seeds-cache.wav";
    auto written = [&](const Zarvo::SoundData& sound, int64_t time) {
        if (!Zarvo::SoundCache::Write(scratch, sound, kSourceName, time)) std::abort();
        Bytes bytes = ReadFile(scratch);
        fs::remove(scratch);
        return bytes;
    };
    const Bytes mono = written(Square(22050, 1, 64, 16), kSourceTime);
    const Bytes stereo = written(Square(44100, 2, 48, 8), kSourceTime);
    WriteSeed("soundcache", "mono", mono);
    WriteSeed("soundcache", "stereo", stereo);
    // The same sound recorded for an older version of the source file.
    WriteSeed("soundcache", "stale", written(Square(22050, 1, 64, 16), kSourceTime - 1));
    // Cut inside the header, inside the dependency chunk and inside the samples.
    for (size_t length : {size_t{20}, size_t{50}, mono.size() - 7}) {
        WriteSeed("soundcache", "cut-" + std::to_string(length),
                  Bytes(mono.begin(), mono.begin() + static_cast<std::ptrdiff_t>(length)));
    }
}

// ---- tracker modules

// Protracker: 31 sample headers, an order list, "M.K." and 4-channel patterns of 64 rows.
Bytes ModModule() {
    Bytes out;
    PutText(out, "seed song", 20);
    const Bytes sample = SquareSample8(64);
    for (int i = 0; i < 31; ++i) {
        PutText(out, i == 0 ? "square" : "", 22);
        Put16Be(out, i == 0 ? sample.size() / 2 : 0);  // length in words
        out.push_back(0);                              // finetune
        out.push_back(i == 0 ? 64 : 0);                // volume
        Put16Be(out, 0);                               // loop start in words
        Put16Be(out, i == 0 ? sample.size() / 2 : 1);  // loop length in words
    }
    out.push_back(2);    // song length: two orders
    out.push_back(127);  // restart
    Bytes orders(128, 0);
    orders[1] = 1;
    out.insert(out.end(), orders.begin(), orders.end());
    PutText(out, "M.K.");
    for (int pattern = 0; pattern < 2; ++pattern) {
        Bytes cells(64 * 4 * 4, 0);
        for (int row = 0; row < 64; row += 8) {
            const size_t at = static_cast<size_t>(row * 4 + (row / 8) % 4) * 4;
            const uint32_t period = pattern == 0 ? 428 : 320;  // C-2, then F-2
            cells[at] = static_cast<uint8_t>(period >> 8);
            cells[at + 1] = static_cast<uint8_t>(period);
            cells[at + 2] = 0x10;  // sample 1, no effect
        }
        // Volume slide on row 4 and a pattern break at the end of the second pattern.
        cells[4 * 4 * 4 + 2] = 0x0A;
        cells[4 * 4 * 4 + 3] = 0x04;
        if (pattern == 1) {
            cells[(63 * 4) * 4 + 2] = 0x0D;
        }
        out.insert(out.end(), cells.begin(), cells.end());
    }
    out.insert(out.end(), sample.begin(), sample.end());
    return out;
}

// Scream Tracker 3: a 96-byte header, orders, parapointers (offsets / 16) to one instrument and
// one packed pattern, then the sample data.
Bytes S3mModule() {
    auto align = [](Bytes& out) {
        while (out.size() % 16 != 0) out.push_back(0);
    };
    Bytes out;
    PutText(out, "seed song", 28);
    out.push_back(0x1A);
    out.push_back(16);  // module type
    Put16(out, 0);
    const int orders = 2, instruments = 1, patterns = 1;
    Put16(out, orders);
    Put16(out, instruments);
    Put16(out, patterns);
    Put16(out, 0);       // flags
    Put16(out, 0x1320);  // made with version 3.20
    Put16(out, 2);       // samples are unsigned
    PutText(out, "SCRM");
    out.push_back(64);    // global volume
    out.push_back(6);     // speed
    out.push_back(125);   // tempo
    out.push_back(0xB0);  // master volume, stereo
    out.push_back(0);     // click removal
    out.push_back(0);     // no panning table
    PutText(out, "", 8);
    Put16(out, 0);  // special
    for (int c = 0; c < 32; ++c) out.push_back(c < 4 ? static_cast<uint8_t>(c % 2 ? 8 : 0) : 255);
    out.push_back(0);    // order 0: pattern 0
    out.push_back(255);  // end of the song
    const size_t instrumentPointer = out.size();
    Put16(out, 0);
    const size_t patternPointer = out.size();
    Put16(out, 0);
    align(out);

    const Bytes sample = SquareSample8(64);
    Set16(out, instrumentPointer, static_cast<uint32_t>(out.size() / 16));
    const size_t instrument = out.size();
    out.push_back(1);  // a sample
    PutText(out, "square.raw", 12);
    out.push_back(0);  // sample data parapointer, high byte
    const size_t samplePointer = out.size();
    Put16(out, 0);
    Put32(out, sample.size());
    Put32(out, 0);              // loop start
    Put32(out, sample.size());  // loop end
    out.push_back(64);          // volume
    out.push_back(0);
    out.push_back(0);  // not packed
    out.push_back(1);  // looped, mono, 8-bit
    Put32(out, 8363);
    PutText(out, "", 12);
    PutText(out, "square", 28);
    PutText(out, "SCRS");
    if (out.size() - instrument != 80) std::abort();
    align(out);

    Set16(out, patternPointer, static_cast<uint32_t>(out.size() / 16));
    Bytes packed;
    for (int row = 0; row < 64; ++row) {
        if (row % 8 == 0) {
            packed.push_back(0x20 | 0x40 | ((row / 8) % 2));  // note, instrument and volume
            packed.push_back(static_cast<uint8_t>(0x40 + (row / 8) % 12));  // octave 4
            packed.push_back(1);
            packed.push_back(48);
        }
        if (row == 4) {
            packed.push_back(0x80 | 1);  // command D (volume slide) on channel 1
            packed.push_back(4);
            packed.push_back(0x02);
        }
        packed.push_back(0);  // end of the row
    }
    Put16(out, static_cast<uint32_t>(packed.size() + 2));
    out.insert(out.end(), packed.begin(), packed.end());
    align(out);

    Set16(out, samplePointer, static_cast<uint32_t>(out.size() / 16));
    for (uint8_t v : sample) out.push_back(static_cast<uint8_t>(v ^ 0x80));  // unsigned
    return out;
}

// FastTracker 2: the "Extended Module" header, one unpacked pattern of two channels, and one
// instrument with one delta-coded 8-bit sample.
Bytes XmModule() {
    Bytes out;
    PutText(out, "Extended Module: ");
    PutText(out, "seed song", 20);
    out.push_back(0x1A);
    PutText(out, "seed generator", 20);
    Put16(out, 0x0104);
    Put32(out, 276);  // header size, from this field on
    Put16(out, 2);    // song length
    Put16(out, 0);    // restart position
    Put16(out, 2);    // channels
    Put16(out, 1);    // patterns
    Put16(out, 1);    // instruments
    Put16(out, 1);    // linear frequencies
    Put16(out, 6);    // tempo
    Put16(out, 125);  // BPM
    Bytes orders(256, 0);
    out.insert(out.end(), orders.begin(), orders.end());

    Bytes cells;
    for (int row = 0; row < 16; ++row) {
        for (int channel = 0; channel < 2; ++channel) {
            const bool note = row % 4 == channel * 2;
            cells.push_back(note ? static_cast<uint8_t>(49 + row / 4) : 0);  // C-4 and up
            cells.push_back(note ? 1 : 0);
            cells.push_back(note ? 0x30 : 0);  // volume column: 32
            cells.push_back(row == 3 ? 0x0A : 0);
            cells.push_back(row == 3 ? 0x20 : 0);
        }
    }
    Put32(out, 9);  // pattern header length
    out.push_back(0);
    Put16(out, 16);  // rows
    Put16(out, static_cast<uint32_t>(cells.size()));
    out.insert(out.end(), cells.begin(), cells.end());

    const Bytes sample = SquareSample8(64);
    const size_t instrument = out.size();
    Put32(out, 263);
    PutText(out, "square", 22);
    out.push_back(0);
    Put16(out, 1);         // one sample
    Put32(out, 40);        // sample header size
    PutText(out, "", 96);  // every note plays sample 0
    // A two-point volume envelope.
    Put16(out, 0);
    Put16(out, 64);
    Put16(out, 32);
    Put16(out, 16);
    PutText(out, "", 48 - 8 + 48);
    out.push_back(2);  // volume points
    out.push_back(0);  // panning points
    PutText(out, "", 6);
    out.push_back(1);  // volume envelope on
    out.push_back(0);
    PutText(out, "", 4);  // vibrato
    Put16(out, 256);      // fadeout
    while (out.size() - instrument < 263) out.push_back(0);
    Put32(out, sample.size());
    Put32(out, 0);  // loop start
    Put32(out, sample.size());
    out.push_back(64);   // volume
    out.push_back(0);    // finetune
    out.push_back(1);    // forward loop, 8-bit
    out.push_back(128);  // panning
    out.push_back(0);    // relative note
    out.push_back(0);
    PutText(out, "square", 22);
    int8_t previous = 0;
    for (uint8_t v : sample) {
        const auto value = static_cast<int8_t>(v);
        out.push_back(static_cast<uint8_t>(static_cast<int8_t>(value - previous)));
        previous = value;
    }
    return out;
}

void ModuleSeeds() {
    const Bytes mod = ModModule();
    WriteSeed("module", "mod", mod);
    WriteSeed("module", "s3m", S3mModule());
    WriteSeed("module", "xm", XmModule());
    // Cut inside the patterns: the samples are missing.
    WriteSeed("module", "mod-cut", Bytes(mod.begin(), mod.begin() + 1200));
}

// ---- pack files for a whole group load

Bytes WavFile(const Zarvo::SoundData& sound) {
    Bytes out;
    const uint32_t dataBytes = static_cast<uint32_t>(sound.samples.size() * 2);
    PutText(out, "RIFF");
    Put32(out, dataBytes + 36);
    PutText(out, "WAVEfmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, sound.channels);
    Put32(out, sound.sampleRate);
    Put32(out, sound.sampleRate * sound.channels * 2);
    Put16(out, sound.channels * 2);
    Put16(out, 16);
    PutText(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : sound.samples) Put16(out, static_cast<uint16_t>(s));
    return out;
}

Bytes AuFile(const Zarvo::SoundData& sound) {
    Bytes out;
    PutText(out, ".snd");
    Put32Be(out, 24);
    Put32Be(out, static_cast<uint32_t>(sound.samples.size() * 2));
    Put32Be(out, 3);  // 16-bit linear
    Put32Be(out, sound.sampleRate);
    Put32Be(out, sound.channels);
    for (int16_t s : sound.samples) Put16Be(out, static_cast<uint16_t>(s));
    return out;
}

const char* const kManifest = R"(<?xml version="1.0"?>
<ResourceManifest>
  <Resources id="Init">
    <Sound id="SOUND_KICK" path="sounds\kick"/>
    <SetDefaults path="fonts" idprefix="FONT_"/>
    <Font id="FONT_MAIN" path="font.txt"/>
    <Font id="FONT_FLAT" path="!ref:FONT_MAIN" tags="flat"/>
  </Resources>
  <Resources id="Game">
    <SetDefaults path="" idprefix="SOUND_"/>
    <Sound path="sounds\whistle"/>
    <SetDefaults path="images/" idprefix="IMAGE_"/>
    <Image path="ball.png" alphaimage="ball_alpha.png"/>
    <Image path="card"/>
    <Image path="flag.gif" rows="2" cols="2" anim="loop" framedelay="20"/>
  </Resources>
</ResourceManifest>
)";

void GroupSeeds() {
    const fs::path data = kSource / "tests" / "resources" / "manager" / "data";
    auto add = [](Zarvo::PakBuilder& pak, const std::string& name, Bytes bytes) {
        if (!pak.AddFile(name, std::move(bytes), 0x01DB5A3C00000000)) std::abort();
    };
    auto base = [&](Zarvo::PakBuilder& pak, const std::string& manifest) {
        add(pak, "properties\\resources.xml", Bytes(manifest.begin(), manifest.end()));
        add(pak, "fonts\\font.txt", ReadFile(data / "fonts" / "font.txt"));
        add(pak, "fonts\\glyphs.png", ReadFile(data / "fonts" / "glyphs.png"));
    };
    {
        // The whole manifest: a font, images of three formats and sounds of two.
        Zarvo::PakBuilder pak;
        base(pak, kManifest);
        for (const char* image : {"ball.png", "ball_alpha.png", "card.tga", "flag.gif"}) {
            add(pak, std::string("images\\") + image, ReadFile(data / "images" / image));
        }
        add(pak, "sounds\\kick.wav", WavFile(Square(22050, 1, 200, 20)));
        add(pak, "sounds\\whistle.au", AuFile(Square(8000, 2, 100, 10)));
        WriteSeed("group", "full", pak.Build());
    }
    {
        // The smallest useful one: an image, the font and a sound in one group.
        const std::string manifest = R"(<ResourceManifest><Resources id="Init">
<Font id="FONT_MAIN" path="fonts/font.txt"/><Image id="IMAGE_BALL" path="ball"/>
<Sound id="SOUND_KICK" path="kick"/></Resources></ResourceManifest>)";
        Zarvo::PakBuilder pak;
        base(pak, manifest);
        add(pak, "ball.png", ReadFile(data / "images" / "ball.png"));
        add(pak, "kick.wav", WavFile(Square(11025, 1, 40, 4)));
        WriteSeed("group", "small", pak.Build());
    }
    {
        // Files the manifest names are missing: the group load fails part way.
        Zarvo::PakBuilder pak;
        base(pak, kManifest);
        WriteSeed("group", "missing-files", pak.Build());
    }
}

}  // namespace

int main() {
    SoundCacheSeeds();
    ModuleSeeds();
    GroupSeeds();
    return 0;
}
