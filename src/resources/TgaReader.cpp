#include "resources/TgaReader.h"

#include <vector>

#include "files/ByteReader.h"
#include "resources/ImageFile.h"

namespace Zarvo {

std::unique_ptr<DecodedImage> TgaReader::Read(const std::string& name) {
    std::vector<uint8_t> bytes;
    if (!ImageFile::ReadAll(name, &bytes)) return nullptr;
    return Decode(bytes.data(), bytes.size());
}

std::unique_ptr<DecodedImage> TgaReader::Decode(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    uint8_t idLength = in.U8();
    uint8_t colorMapType = in.U8();
    uint8_t imageType = in.U8();
    in.U16LE();  // colour map start
    uint16_t colorMapLength = in.U16LE();
    uint8_t colorMapEntrySize = in.U8();
    in.U16LE();  // x origin
    in.U16LE();  // y origin
    uint16_t width = in.U16LE();
    uint16_t height = in.U16LE();
    uint8_t bitsPerPixel = in.U8();
    uint8_t descriptor = in.U8();
    if (!in.Ok() || bitsPerPixel != 32 || descriptor != 0x28) return nullptr;
    // Type 2 is uncompressed true colour; run-length or colour-mapped data would decode as
    // garbage. An identification field or a colour map stands between header and pixels.
    if (imageType != 2) return nullptr;
    in.Skip(idLength);
    if (colorMapType == 1) in.Skip(size_t(colorMapLength) * ((colorMapEntrySize + 7) / 8));
    const size_t bytesNeeded = size_t(width) * height * 4;
    if (!in.Ok() || in.Remaining() < bytesNeeded) return nullptr;

    auto image = DecodedImage::Create(width, height);
    if (!image) return nullptr;
    const uint8_t* p = in.Take(bytesNeeded);
    // Bytes B, G, R, A make 0xAARRGGBB.
    for (size_t i = 0; i < size_t(width) * height; ++i, p += 4) {
        image->bits[i] =
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    return image;
}

}  // namespace Zarvo
