#include "SoundSynth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace datagen {

namespace {

const double kTau = 2 * M_PI;

void put16(std::vector<uint8_t>& b, int v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

// Scales a buffer so its loudest sample reaches `peak`.
void normalise(std::vector<float>& s, float peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m > 0)
        for (float& v : s) v *= peak / m;
}

// A one-pole low-pass filter step.
struct LowPass {
    float state = 0;
    float step(float in, float a) { return state += a * (in - state); }
};

}  // namespace

float SoundSynth::noise() {
    seed_ = seed_ * 1664525u + 1013904223u;
    return static_cast<float>((seed_ >> 8) & 0xFFFF) / 32768.0f - 1.0f;
}

bool SoundSynth::writeWav(const std::string& path, const std::vector<float>& samples, int rate,
                          int channels) {
    std::vector<uint8_t> b;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put32(b, dataBytes + 36);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1);
    put16(b, channels);
    put32(b, static_cast<uint32_t>(rate));
    put32(b, static_cast<uint32_t>(rate * channels * 2));
    put16(b, channels * 2);
    put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, dataBytes);
    for (float v : samples)
        put16(b, static_cast<int>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767)));
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(f);
}

bool SoundSynth::writeOgg(const std::string& path, const std::vector<float>& samples, int rate,
                          int channels, float quality) {
    std::ofstream f(path, std::ios::binary);
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Kelvane");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x4b656c76);  // a fixed serial number keeps the output identical
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page og;
    auto writePage = [&]() {
        f.write(reinterpret_cast<const char*>(og.header), og.header_len);
        f.write(reinterpret_cast<const char*>(og.body), og.body_len);
    };
    while (ogg_stream_flush(&os, &og) != 0) writePage();

    const size_t frames = samples.size() / channels;
    size_t pos = 0;
    bool eos = false;
    while (!eos) {
        const size_t n = std::min<size_t>(1024, frames - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int ch = 0; ch < channels; ++ch)
                    buf[ch][i] = samples[(pos + i) * channels + ch];
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    writePage();
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
        if (n == 0 && !eos) {
            while (ogg_stream_flush(&os, &og) != 0) writePage();
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return static_cast<bool>(f);
}

std::vector<float> SoundSynth::whistle(int rate) {
    // A referee's pea whistle: a bright tone whose pitch warbles fast, two short blasts.
    std::vector<float> s(static_cast<size_t>(rate * 0.75));
    double phase = 0;
    LowPass breath;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        const bool on = (t < 0.22) || (t > 0.32 && t < 0.70);
        const double local = t < 0.27 ? t : t - 0.32;
        const double len = t < 0.27 ? 0.22 : 0.38;
        double env = on ? std::min(1.0, local / 0.015) * std::min(1.0, (len - local) / 0.03) : 0;
        env = std::max(0.0, env);
        const double freq = 2900 + 180 * std::sin(kTau * 38 * t);
        phase += kTau * freq / rate;
        const float tone = static_cast<float>(std::sin(phase) + 0.25 * std::sin(2 * phase));
        s[i] = static_cast<float>(env) * (tone * 0.8f + breath.step(noise(), 0.3f) * 0.25f);
    }
    normalise(s, 0.8f);
    return s;
}

std::vector<float> SoundSynth::kick(int rate) {
    // A boot on the ball: a falling low thump with a short leathery click.
    std::vector<float> s(static_cast<size_t>(rate * 0.25));
    double phase = 0;
    LowPass lp;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        const double freq = 60 + 140 * std::exp(-t * 40);
        phase += kTau * freq / rate;
        const double thump = std::sin(phase) * std::exp(-t * 18);
        const double click = lp.step(noise(), 0.5f) * std::exp(-t * 220);
        s[i] = static_cast<float>(thump * 0.9 + click * 0.6);
    }
    normalise(s, 0.9f);
    return s;
}

std::vector<float> SoundSynth::cheer(int rate) {
    // A crowd roar: band-limited noise with many voices' formants swelling and fading.
    std::vector<float> s(static_cast<size_t>(rate * 2.2));
    LowPass a, b, c;
    double p1 = 0, p2 = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        const double env = std::min(1.0, t / 0.35) * std::min(1.0, (2.2 - t) / 0.9);
        const float n = noise();
        const float body = a.step(n, 0.20f) - b.step(n, 0.02f);
        p1 += kTau * (520 + 60 * std::sin(kTau * 3.1 * t)) / rate;
        p2 += kTau * (780 + 80 * std::sin(kTau * 2.3 * t + 1)) / rate;
        const double vowels = (std::sin(p1) + 0.7 * std::sin(p2)) * c.step(std::fabs(n), 0.01f);
        s[i] = static_cast<float>(env * (body * 0.9 + vowels * 0.5));
    }
    normalise(s, 0.75f);
    return s;
}

std::vector<float> SoundSynth::click(int rate) {
    // A crisp interface tick.
    std::vector<float> s(static_cast<size_t>(rate * 0.06));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        phase += kTau * 1800 / rate;
        s[i] = static_cast<float>(std::sin(phase) * std::exp(-t * 90) +
                                  noise() * 0.3 * std::exp(-t * 400));
    }
    normalise(s, 0.6f);
    return s;
}

std::vector<float> SoundSynth::swoosh(int rate) {
    // Air moving past: noise through a filter that opens and closes.
    std::vector<float> s(static_cast<size_t>(rate * 0.45));
    LowPass lp1, lp2;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        const double shape = std::sin(M_PI * t / 0.45);
        const float cut = static_cast<float>(0.03 + 0.35 * shape * shape);
        const float n = noise();
        const float band = lp1.step(n, cut) - lp2.step(n, cut * 0.3f);
        s[i] = static_cast<float>(band * shape * shape);
    }
    normalise(s, 0.7f);
    return s;
}

std::vector<float> SoundSynth::groan(int rate) {
    // A disappointed crowd: low, muffled voices sliding down and dying away.
    const double len = 1.4;
    std::vector<float> s(static_cast<size_t>(rate * len));
    LowPass a, b;
    double p1 = 0, p2 = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        const double env = std::min(1.0, t / 0.12) * std::exp(-t * 1.6);
        const float n = noise();
        const float body = a.step(n, 0.06f);
        p1 += kTau * (330 - 120 * t / len) / rate;
        p2 += kTau * (450 - 170 * t / len) / rate;
        const double voices = (std::sin(p1) + 0.6 * std::sin(p2)) * b.step(std::fabs(n), 0.01f);
        s[i] = static_cast<float>(env * (body * 1.2 + voices * 0.6));
    }
    normalise(s, 0.7f);
    return s;
}

std::vector<float> SoundSynth::chime(int rate) {
    // Two bell notes a fifth apart, rising: something was earned.
    std::vector<float> s(static_cast<size_t>(rate * 0.6));
    const double notes[2] = {1046.5, 1568.0};
    for (int k = 0; k < 2; ++k) {
        const size_t start = static_cast<size_t>(k * 0.09 * rate);
        for (size_t i = start; i < s.size(); ++i) {
            const double t = double(i - start) / rate;
            const double env = std::min(1.0, t / 0.004) * std::exp(-t * 7);
            s[i] += static_cast<float>(env * (std::sin(kTau * notes[k] * t) +
                                              0.35 * std::sin(kTau * notes[k] * 2.76 * t)));
        }
    }
    normalise(s, 0.6f);
    return s;
}

std::vector<float> SoundSynth::zap(int rate) {
    // A power-up let loose: a bright sweep falling fast over a short burst of air.
    std::vector<float> s(static_cast<size_t>(rate * 0.35));
    double phase = 0;
    LowPass lp;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        const double freq = 300 + 1500 * std::exp(-t * 14);
        phase += kTau * freq / rate;
        const double env = std::min(1.0, t / 0.005) * std::exp(-t * 9);
        const double tone = std::sin(phase + 1.5 * std::sin(0.5 * phase));
        s[i] = static_cast<float>(env * (tone * 0.8 + lp.step(noise(), 0.2f) * 0.4));
    }
    normalise(s, 0.65f);
    return s;
}

std::vector<float> SoundSynth::fanfare(int rate) {
    // A brass call for a won tour: G C E G, the last one held, over a swelling chord.
    const double len = 2.4;
    std::vector<float> s(static_cast<size_t>(rate * len));
    auto midi = [](int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); };
    struct Note {
        double start, length;
        int pitch;
    };
    const Note notes[] = {{0.0, 0.2, 67},  {0.22, 0.2, 72}, {0.44, 0.2, 76}, {0.66, 1.6, 79},
                          {0.66, 1.6, 72}, {0.66, 1.6, 76}, {0.66, 1.6, 60}};
    for (const Note& note : notes) {
        const size_t s0 = static_cast<size_t>(note.start * rate);
        const double f = midi(note.pitch);
        double phase = 0;
        for (size_t i = 0; i < static_cast<size_t>(note.length * rate) && s0 + i < s.size(); ++i) {
            const double t = double(i) / rate;
            const double env = std::min(1.0, t / 0.03) * std::min(1.0, (note.length - t) / 0.15);
            phase += kTau * f / rate;
            // Odd and even harmonics falling off slowly give a brassy edge.
            double v = 0;
            for (int h = 1; h <= 6; ++h) v += std::sin(h * phase) / (h * 0.8 + 0.2);
            s[s0 + i] += static_cast<float>(std::max(0.0, env) * v * 0.25);
        }
    }
    normalise(s, 0.8f);
    return s;
}

std::vector<float> SoundSynth::matchLoop(int rate) {
    // Eight bars at 140 beats a minute in A minor: a driving bass on the eighths, offbeat stabs,
    // a fast arpeggio and a busier beat, for the tension of a match.
    const int beats = 32;
    const double beat = 60.0 / 140.0;
    const size_t frames = static_cast<size_t>(rate * beat * beats);
    std::vector<float> out(frames * 2, 0.0f);
    auto midi = [](int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); };
    // i - VI - III - VII, two bars each.
    const int roots[4] = {45, 41, 48, 43};
    const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {60, 64, 67}, {55, 59, 62}};
    auto add = [&](double start, double len, double freq, double gain, double pan, double decay) {
        const size_t s0 = static_cast<size_t>(start * rate);
        const size_t n = static_cast<size_t>(len * rate);
        double phase = 0;
        for (size_t i = 0; i < n && s0 + i < frames; ++i) {
            const double t = double(i) / rate;
            const double env = std::min(1.0, t / 0.005) * std::exp(-t * decay);
            phase += kTau * freq / rate;
            const double v = (std::sin(phase) + 0.4 * std::sin(2 * phase + 0.3)) * env * gain;
            out[(s0 + i) * 2] += static_cast<float>(v * (1 - pan));
            out[(s0 + i) * 2 + 1] += static_cast<float>(v * (1 + pan));
        }
    };
    for (int b = 0; b < beats; ++b) {
        const int section = (b / 8) % 4;
        const double t = b * beat;
        for (int half = 0; half < 2; ++half)
            add(t + half * beat / 2, beat / 2 * 0.9, midi(roots[section]), 0.45, 0.0, 5);
        for (int k = 0; k < 3; ++k)
            add(t + beat / 2, beat * 0.3, midi(chords[section][k]), 0.13, -0.35, 9);
        for (int k = 0; k < 4; ++k) {
            const int note = chords[section][(b * 4 + k) % 3] + 12 + (k == 3 ? 12 : 0);
            add(t + k * beat / 4, beat / 4, midi(note), 0.10, 0.4, 12);
        }
    }
    LowPass hat;
    for (int b = 0; b < beats; ++b)
        for (int q = 0; q < 4; ++q) {
            const size_t s0 = static_cast<size_t>((b * beat + q * beat / 4) * rate);
            for (size_t i = 0; i < static_cast<size_t>(0.18 * rate) && s0 + i < frames; ++i) {
                const double t = double(i) / rate;
                double v = 0;
                if (q == 0)
                    v += std::sin(kTau * (50 + 100 * std::exp(-t * 35)) * t) * std::exp(-t * 16) *
                         0.75;
                if (q == 2 && b % 2 == 1) v += noise() * std::exp(-t * 25) * 0.35;
                const float n = noise();
                v += (n - hat.step(n, 0.45f)) * std::exp(-t * 90) * (q % 2 ? 0.10 : 0.14);
                out[(s0 + i) * 2] += static_cast<float>(v);
                out[(s0 + i) * 2 + 1] += static_cast<float>(v);
            }
        }
    normalise(out, 0.8f);
    return out;
}

std::vector<float> SoundSynth::musicLoop(int rate) {
    // Eight bars at 120 beats a minute: bass, chord stabs, an arpeggio and a light beat, in stereo.
    const int beats = 32;
    const double beat = 0.5;
    const size_t frames = static_cast<size_t>(rate * beat * beats);
    std::vector<float> out(frames * 2, 0.0f);
    auto midi = [](int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); };
    // I - vi - IV - V in C major, two bars each.
    const int roots[4] = {48, 45, 41, 43};
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    auto add = [&](double start, double len, double freq, double gain, double pan, int wave) {
        const size_t s0 = static_cast<size_t>(start * rate);
        const size_t n = static_cast<size_t>(len * rate);
        double phase = 0;
        for (size_t i = 0; i < n && s0 + i < frames; ++i) {
            const double t = double(i) / rate;
            const double env = std::min(1.0, t / 0.01) * std::exp(-t * (wave == 2 ? 6 : 3));
            phase += kTau * freq / rate;
            double v = 0;
            if (wave == 0) v = std::sin(phase) + 0.3 * std::sin(2 * phase);
            if (wave == 1)
                v = std::sin(phase) + 0.5 * std::sin(3 * phase) / 3 + 0.3 * std::sin(5 * phase) / 5;
            if (wave == 2) v = std::sin(phase + 0.8 * std::sin(2 * phase));
            v *= env * gain;
            out[(s0 + i) * 2] += static_cast<float>(v * (1 - pan));
            out[(s0 + i) * 2 + 1] += static_cast<float>(v * (1 + pan));
        }
    };
    for (int b = 0; b < beats; ++b) {
        const int section = (b / 8) % 4;
        const double t = b * beat;
        add(t, beat * 0.9, midi(roots[section]), 0.55, 0.0, 0);
        if (b % 2 == 1)
            for (int k = 0; k < 3; ++k) add(t, beat * 0.6, midi(chords[section][k]), 0.16, -0.3, 1);
        for (int k = 0; k < 2; ++k) {
            const int note = chords[section][(b * 2 + k) % 3] + 12;
            add(t + k * beat / 2, beat / 2, midi(note), 0.14, 0.35, 2);
        }
    }
    // Drums: kick on 1 and 3, snare of noise on 2 and 4, closed hats on the eighths.
    LowPass hat;
    for (int b = 0; b < beats; ++b)
        for (int half = 0; half < 2; ++half) {
            const size_t s0 = static_cast<size_t>((b * beat + half * beat / 2) * rate);
            for (size_t i = 0; i < static_cast<size_t>(0.2 * rate) && s0 + i < frames; ++i) {
                const double t = double(i) / rate;
                double v = 0;
                if (half == 0 && b % 2 == 0)
                    v += std::sin(kTau * (50 + 90 * std::exp(-t * 30)) * t) * std::exp(-t * 14) *
                         0.7;
                if (half == 0 && b % 2 == 1) v += noise() * std::exp(-t * 22) * 0.3;
                const float n = noise();
                v += (n - hat.step(n, 0.4f)) * std::exp(-t * 70) * 0.12;
                out[(s0 + i) * 2] += static_cast<float>(v);
                out[(s0 + i) * 2 + 1] += static_cast<float>(v);
            }
        }
    normalise(out, 0.8f);
    return out;
}

bool SoundSynth::build(ResourceCatalog& cat, const std::string& root) {
    std::filesystem::create_directories(root + "/sounds");
    std::filesystem::create_directories(root + "/music");
    const int rate = 22050;
    bool ok = true;
    ok &= writeWav(root + "/sounds/whistle.wav", whistle(rate), rate, 1);
    ok &= writeWav(root + "/sounds/kick.wav", kick(rate), rate, 1);
    ok &= writeWav(root + "/sounds/click.wav", click(rate), rate, 1);
    ok &= writeOgg(root + "/sounds/cheer.ogg", cheer(rate), rate, 1, 0.4f);
    ok &= writeOgg(root + "/sounds/swoosh.ogg", swoosh(rate), rate, 1, 0.4f);
    ok &= writeOgg(root + "/sounds/groan.ogg", groan(rate), rate, 1, 0.4f);
    ok &= writeWav(root + "/sounds/chime.wav", chime(rate), rate, 1);
    ok &= writeWav(root + "/sounds/zap.wav", zap(rate), rate, 1);
    ok &= writeOgg(root + "/sounds/fanfare.ogg", fanfare(rate), rate, 1, 0.4f);
    ok &= writeOgg(root + "/music/theme.ogg", musicLoop(rate), rate, 2, 0.3f);
    ok &= writeOgg(root + "/music/match.ogg", matchLoop(rate), rate, 2, 0.3f);
    cat.addSound({"SOUND_WHISTLE", "whistle", ""});
    cat.addSound({"SOUND_KICK", "kick", ""});
    cat.addSound({"SOUND_CLICK", "click", ""});
    // The crowd sits a little under the other effects.
    cat.addSound({"SOUND_CHEER", "cheer", "0.7"});
    cat.addSound({"SOUND_SWOOSH", "swoosh", ""});
    cat.addSound({"SOUND_GROAN", "groan", "0.7"});
    cat.addSound({"SOUND_CHIME", "chime", "0.8"});
    cat.addSound({"SOUND_POWERUP", "zap", "0.8"});
    cat.addSound({"SOUND_FANFARE", "fanfare", ""});
    return ok;
}

}  // namespace datagen
