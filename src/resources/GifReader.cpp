#include "resources/GifReader.h"

#include <cstring>
#include <vector>

#include "files/ByteReader.h"
#include "resources/ImageFile.h"

namespace Zarvo {

namespace {

constexpr int kMaxCodes = 4096;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

void ReadColorTable(ByteReader& in, uint8_t flags, uint32_t* table) {
    int entries = 1 << ((flags & 7) + 1);
    for (int i = 0; i < 256; ++i) table[i] = kOpaqueBlack;
    for (int i = 0; i < entries; ++i) {
        uint32_t r = in.U8(), g = in.U8(), b = in.U8();
        table[i] = 0xFF000000 | r << 16 | g << 8 | b;
    }
}

// Collects a run of data sub-blocks; stops at the terminator or the end of the data.
std::vector<uint8_t> ReadSubBlocks(ByteReader& in) {
    std::vector<uint8_t> out;
    for (;;) {
        uint8_t length = in.U8();
        if (!in.Ok() || length == 0) break;
        const uint8_t* block = in.Take(length);
        if (!block) break;
        out.insert(out.end(), block, block + length);
    }
    return out;
}

// The row each successive decoded row goes to: in order, or in the four interlace passes.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(height);
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    static const int kStart[] = {0, 4, 2, 1};
    static const int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    }
    return rows;
}

}  // namespace

std::unique_ptr<DecodedImage> GifReader::Read(const std::string& name) {
    std::vector<uint8_t> bytes;
    if (!ImageFile::ReadAll(name, &bytes)) return nullptr;
    return Decode(bytes.data(), bytes.size());
}

std::unique_ptr<DecodedImage> GifReader::Decode(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const uint8_t* signature = in.Take(6);
    if (!signature ||
        (std::memcmp(signature, "GIF87", 5) != 0 && std::memcmp(signature, "GIF89", 5) != 0)) {
        return nullptr;
    }
    in.U16LE();  // logical screen width
    in.U16LE();  // logical screen height
    uint8_t screenFlags = in.U8();
    in.U8();  // background index
    in.U8();  // aspect
    uint32_t globalTable[256];
    for (uint32_t& c : globalTable) c = kOpaqueBlack;
    if (screenFlags & 0x80) ReadColorTable(in, screenFlags, globalTable);

    int transparent = -1;
    for (;;) {
        uint8_t block = in.U8();
        if (!in.Ok() || block == ';') return nullptr;
        if (block == ',') break;
        if (block != '!') return nullptr;
        uint8_t label = in.U8();
        std::vector<uint8_t> extension = ReadSubBlocks(in);
        if (label == 0xF9 && extension.size() >= 4 && (extension[0] & 1)) {
            transparent = extension[3];
        }
    }

    in.U16LE();  // left
    in.U16LE();  // top
    uint16_t width = in.U16LE();
    uint16_t height = in.U16LE();
    uint8_t imageFlags = in.U8();
    if (!in.Ok() || width == 0 || height == 0) return nullptr;
    uint32_t localTable[256];
    const uint32_t* table = globalTable;
    if (imageFlags & 0x80) {
        ReadColorTable(in, imageFlags, localTable);
        table = localTable;
    }
    uint8_t minCodeSize = in.U8();
    if (!in.Ok() || minCodeSize < 1 || minCodeSize > 11) return nullptr;
    std::vector<uint8_t> codes = ReadSubBlocks(in);

    auto image = DecodedImage::Create(width, height);
    if (!image) return nullptr;
    const std::vector<int> rows = RowOrder(height, (imageFlags & 0x40) != 0);
    const size_t total = size_t(width) * height;
    size_t count = 0;
    auto emit = [&](uint8_t index) {
        size_t row = count / width;
        size_t x = count % width;
        image->bits[size_t(rows[row]) * width + x] = index == transparent ? 0 : table[index];
        ++count;
    };

    // Variable-length LZW: each table entry is its prefix entry plus one suffix byte.
    uint16_t prefix[kMaxCodes];
    uint8_t suffix[kMaxCodes];
    uint8_t first[kMaxCodes];
    uint16_t length[kMaxCodes];
    uint8_t stack[kMaxCodes];
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    for (int i = 0; i < clear; ++i) {
        prefix[i] = 0;
        suffix[i] = first[i] = static_cast<uint8_t>(i);
        length[i] = 1;
    }
    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int prev = -1;
    size_t bitPos = 0;
    const size_t totalBits = codes.size() * 8;

    while (count < total) {
        if (totalBits - bitPos < size_t(codeSize)) break;
        int code = 0;
        for (int i = 0; i < codeSize; ++i, ++bitPos) {
            code |= ((codes[bitPos >> 3] >> (bitPos & 7)) & 1) << i;
        }
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (code == end) break;
        if (prev < 0) {
            if (code >= clear) return nullptr;  // the first code after a clear is a literal
            emit(static_cast<uint8_t>(code));
            prev = code;
            continue;
        }
        int entry;
        if (code < next) {
            entry = code;
            if (next < kMaxCodes) {
                prefix[next] = static_cast<uint16_t>(prev);
                suffix[next] = first[code];
                first[next] = first[prev];
                length[next] = static_cast<uint16_t>(length[prev] + 1);
                ++next;
            }
        } else if (code == next && next < kMaxCodes) {
            // The entry being defined: the previous string plus its own first byte.
            prefix[next] = static_cast<uint16_t>(prev);
            suffix[next] = first[prev];
            first[next] = first[prev];
            length[next] = static_cast<uint16_t>(length[prev] + 1);
            entry = next++;
        } else {
            return nullptr;  // a code past the table
        }
        int n = length[entry];
        for (int i = n - 1, c = entry; i >= 0; --i, c = prefix[c]) stack[i] = suffix[c];
        for (int i = 0; i < n && count < total; ++i) emit(stack[i]);
        prev = code;
        if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
    }
    if (count < total) return nullptr;
    return image;
}

}  // namespace Zarvo
