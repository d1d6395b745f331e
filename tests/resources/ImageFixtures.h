// Small image files built in test code, and the paths of the checked-in fixtures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline std::string FixturePath(const std::string& name) {
    return std::string(KELVANE_SOURCE_DIR) + "/tests/resources/data/" + name;
}

// A TGA header followed by raw pixel bytes (B, G, R, A per pixel).
inline std::vector<uint8_t> MakeTga(int w, int h, const std::vector<uint32_t>& argb,
                                    uint8_t bpp = 32, uint8_t descriptor = 0x28, uint8_t type = 2,
                                    const std::string& id = "") {
    std::vector<uint8_t> out = {uint8_t(id.size()),
                                0,
                                type,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                uint8_t(w),
                                uint8_t(w >> 8),
                                uint8_t(h),
                                uint8_t(h >> 8),
                                bpp,
                                descriptor};
    for (char c : id) out.push_back(uint8_t(c));
    for (uint32_t p : argb) {
        out.push_back(uint8_t(p));
        out.push_back(uint8_t(p >> 8));
        out.push_back(uint8_t(p >> 16));
        out.push_back(uint8_t(p >> 24));
    }
    return out;
}

struct GifSpec {
    int width = 1, height = 1;
    std::vector<uint32_t> globalTable;  // 0xRRGGBB entries; a power of two in size, or empty
    std::vector<uint32_t> localTable;
    int transparent = -1;
    bool interlaced = false;
    int minCodeSize = 3;
    std::vector<int> codes;  // when set, these LZW codes are written instead of the indices
    std::vector<uint8_t> indices;
};

// A GIF whose LZW data holds every index as a literal code, with a clear code often enough
// that the code width never grows.
inline std::vector<uint8_t> MakeGif(const GifSpec& g) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&out](int v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto tableBits = [](size_t n) {
        int bits = 0;
        while ((size_t(2) << bits) < n) ++bits;
        return bits;
    };
    auto putTable = [&out](const std::vector<uint32_t>& t) {
        for (uint32_t c : t) {
            out.push_back(uint8_t(c >> 16));
            out.push_back(uint8_t(c >> 8));
            out.push_back(uint8_t(c));
        }
    };
    put16(g.width);
    put16(g.height);
    out.push_back(g.globalTable.empty() ? 0 : uint8_t(0x80 | tableBits(g.globalTable.size())));
    out.push_back(0);
    out.push_back(0);
    putTable(g.globalTable);
    // Ignored extensions before the image: an application block and a comment.
    const std::string app = "NETSCAPE2.0";
    out.insert(out.end(), {'!', 0xFF, uint8_t(app.size())});
    out.insert(out.end(), app.begin(), app.end());
    out.insert(out.end(), {3, 1, 0, 0, 0});
    out.insert(out.end(), {'!', 0xFE, 2, 'h', 'i', 0});
    if (g.transparent >= 0)
        out.insert(out.end(), {'!', 0xF9, 4, 1, 0, 0, uint8_t(g.transparent), 0});
    out.push_back(',');
    put16(0);
    put16(0);
    put16(g.width);
    put16(g.height);
    uint8_t flags = g.interlaced ? 0x40 : 0;
    if (!g.localTable.empty()) flags |= uint8_t(0x80 | tableBits(g.localTable.size()));
    out.push_back(flags);
    putTable(g.localTable);

    const int clear = 1 << g.minCodeSize;
    std::vector<int> codes = g.codes;
    if (codes.empty()) {
        codes.push_back(clear);
        int sinceClear = 0;
        for (uint8_t index : g.indices) {
            if (sinceClear == clear - 2) {
                codes.push_back(clear);
                sinceClear = 0;
            }
            codes.push_back(index);
            ++sinceClear;
        }
        codes.push_back(clear + 1);
    }
    std::vector<uint8_t> packed;
    uint32_t acc = 0;
    int bits = 0;
    for (int code : codes) {
        acc |= uint32_t(code) << bits;
        bits += g.minCodeSize + 1;
        while (bits >= 8) {
            packed.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0) packed.push_back(uint8_t(acc));
    out.push_back(uint8_t(g.minCodeSize));
    for (size_t i = 0; i < packed.size(); i += 255) {
        size_t n = std::min<size_t>(255, packed.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), packed.begin() + long(i), packed.begin() + long(i + n));
    }
    out.push_back(0);
    out.push_back(';');
    return out;
}
