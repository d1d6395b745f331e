#include "audio/TestSounds.h"

#include <vorbis/vorbisenc.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>

namespace Zarvo::TestData {

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Put32BE(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutText(std::vector<uint8_t>& out, const char* text) {
    out.insert(out.end(), text, text + std::strlen(text));
}
}  // namespace

double SineValue(double period, double amplitude, double frame) {
    return amplitude * std::sin(2.0 * std::numbers::pi * frame / period);
}

SoundData Sine(int rate, int channels, double period, double amplitude, int frames) {
    SoundData sound;
    sound.channels = channels;
    sound.sampleRate = rate;
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<int16_t>(std::lround(SineValue(period, amplitude, i)));
        for (int c = 0; c < channels; ++c) sound.samples.push_back(v);
    }
    return sound;
}

std::vector<uint8_t> WavBytes(const SoundData& sound) {
    std::vector<uint8_t> out;
    const uint32_t dataBytes = static_cast<uint32_t>(sound.samples.size() * 2);
    PutText(out, "RIFF");
    Put32(out, dataBytes + 36);
    PutText(out, "WAVE");
    PutText(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(sound.channels));
    Put32(out, static_cast<uint32_t>(sound.sampleRate));
    Put32(out, static_cast<uint32_t>(sound.sampleRate * sound.channels * 2));
    Put16(out, static_cast<uint32_t>(sound.channels * 2));
    Put16(out, 16);
    PutText(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : sound.samples) Put16(out, static_cast<uint16_t>(s));
    return out;
}

std::vector<uint8_t> AuBytes16(const SoundData& sound) {
    std::vector<uint8_t> out;
    PutText(out, ".snd");
    Put32BE(out, 24);
    Put32BE(out, static_cast<uint32_t>(sound.samples.size() * 2));
    Put32BE(out, 3);
    Put32BE(out, static_cast<uint32_t>(sound.sampleRate));
    Put32BE(out, static_cast<uint32_t>(sound.channels));
    for (int16_t s : sound.samples) {
        out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
        out.push_back(static_cast<uint8_t>(s));
    }
    return out;
}

std::vector<uint8_t> OggBytes(const SoundData& sound) {
    std::vector<uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, sound.channels, sound.sampleRate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    auto emit = [&out](const ogg_page& p) {
        out.insert(out.end(), p.header, p.header + p.header_len);
        out.insert(out.end(), p.body, p.body + p.body_len);
    };
    while (ogg_stream_flush(&stream, &page) != 0) emit(page);

    const long frames = static_cast<long>(sound.Frames());
    long done = 0;
    bool eos = false;
    while (!eos) {
        const long chunk = std::min<long>(1024, frames - done);
        if (chunk > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(chunk));
            for (long i = 0; i < chunk; ++i) {
                for (int c = 0; c < sound.channels; ++c) {
                    buffer[c][i] = sound.samples[(done + i) * sound.channels + c] / 32768.0f;
                }
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(chunk));
            done += chunk;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    emit(page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
        if (chunk <= 0 && !eos) {
            while (ogg_stream_flush(&stream, &page) != 0) {
                emit(page);
                if (ogg_page_eos(&page)) eos = true;
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<uint8_t> ModBytes() {
    std::vector<uint8_t> out(20, 0);
    std::memcpy(out.data(), "test song", 9);
    constexpr int kSampleWords = 32;
    for (int sample = 0; sample < 31; ++sample) {
        std::vector<uint8_t> header(30, 0);
        if (sample == 0) {
            std::memcpy(header.data(), "square", 6);
            header[22] = 0;
            header[23] = kSampleWords;  // length in words, big-endian
            header[24] = 0;             // finetune
            header[25] = 64;            // volume
            header[26] = 0;             // loop start
            header[27] = 0;
            header[28] = 0;  // loop length in words
            header[29] = kSampleWords;
        } else {
            header[29] = 1;  // an empty sample's loop length is one word
        }
        out.insert(out.end(), header.begin(), header.end());
    }
    out.push_back(1);    // song length: one order
    out.push_back(127);  // restart byte
    std::vector<uint8_t> orders(128, 0);
    out.insert(out.end(), orders.begin(), orders.end());
    PutText(out, "M.K.");
    std::vector<uint8_t> pattern(64 * 4 * 4, 0);
    // Row 0, channel 0: sample 1 at period 428 (C-2), no effect.
    pattern[0] = 0x01;
    pattern[1] = 0xAC;
    pattern[2] = 0x10;
    pattern[3] = 0x00;
    out.insert(out.end(), pattern.begin(), pattern.end());
    for (int i = 0; i < kSampleWords * 2; ++i) out.push_back(i < kSampleWords ? 0x50 : 0xB0);
    return out;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("kelvane-audio-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

WorkingDirectory::~WorkingDirectory() {
    std::filesystem::current_path(previous_);
}

}  // namespace Zarvo::TestData
