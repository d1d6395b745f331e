#include "resources/ImageLib.h"

#include <atomic>
#include <cctype>

#include "graphics/MemoryImage.h"
#include "resources/GifReader.h"
#include "resources/Jpeg2000Reader.h"
#include "resources/JpegReader.h"
#include "resources/PngReader.h"
#include "resources/TgaReader.h"

namespace Zarvo {

namespace {

std::atomic<uint32_t> gAlphaColor{0xFFFFFF};

using Reader = std::unique_ptr<DecodedImage> (*)(const std::string&);

struct Format {
    const char* extension;
    Reader read;
};

const Format kFormats[] = {
    {".tga", TgaReader::Read}, {".jpg", JpegReader::Read},     {".png", PngReader::Read},
    {".gif", GifReader::Read}, {".j2k", Jpeg2000Reader::Read}, {".jp2", Jpeg2000Reader::Read},
};

bool EqualNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return i == a.size() && !b[i];
}

// Loads by the extension rules, without any alpha file.
std::unique_ptr<DecodedImage> Load(const std::string& fileName) {
    size_t slash = fileName.find_last_of("\\/");
    size_t dot = fileName.rfind('.');
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    std::string base = hasExtension ? fileName.substr(0, dot) : fileName;
    std::string extension = hasExtension ? fileName.substr(dot) : std::string();
    for (const Format& format : kFormats) {
        if (hasExtension && !EqualNoCase(extension, format.extension)) continue;
        if (auto image = format.read(base + format.extension)) return image;
    }
    return nullptr;
}

}  // namespace

void ImageLib::SetAlphaColor(uint32_t color) {
    gAlphaColor = color & 0xFFFFFF;
}

uint32_t ImageLib::GetAlphaColor() {
    return gAlphaColor;
}

std::unique_ptr<DecodedImage> ImageLib::GetImage(const std::string& fileName, bool lookForAlpha) {
    std::unique_ptr<DecodedImage> image = Load(fileName);
    if (!lookForAlpha) return image;

    size_t slash = fileName.find_last_of("\\/");
    std::string directory = slash == std::string::npos ? "" : fileName.substr(0, slash + 1);
    std::string file = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    std::unique_ptr<DecodedImage> alpha = Load(directory + "_" + file);
    if (!alpha) alpha = Load(fileName + "_");
    if (!alpha) return image;

    const size_t count = size_t(alpha->width) * alpha->height;
    if (image) {
        if (image->width == alpha->width && image->height == alpha->height) {
            SetAlphaFromBlue(image->bits.get(), alpha->bits.get(), count);
        }
        return image;
    }
    const uint32_t color = GetAlphaColor();
    for (size_t i = 0; i < count; ++i) alpha->bits[i] = (alpha->bits[i] & 0xFF) << 24 | color;
    return alpha;
}

}  // namespace Zarvo

namespace Zarvo {

void ImageLib::SetAlphaFromBlue(uint32_t* pixels, const uint32_t* alphaPixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        pixels[i] = (pixels[i] & 0x00FFFFFF) | (alphaPixels[i] & 0xFF) << 24;
    }
}

std::unique_ptr<MemoryImage> ImageLib::LoadMemoryImage(const std::string& fileName,
                                                       bool lookForAlpha) {
    return LoadMemoryImage(fileName, lookForAlpha, MemoryImage::GetDefaultHost());
}

std::unique_ptr<MemoryImage> ImageLib::LoadMemoryImage(const std::string& fileName,
                                                       bool lookForAlpha,
                                                       MemoryImageHost* imageHost) {
    std::unique_ptr<DecodedImage> decoded = GetImage(fileName, lookForAlpha);
    if (!decoded) return nullptr;
    auto image = std::make_unique<MemoryImage>(imageHost);
    image->SetBits(decoded->bits.get(), decoded->width, decoded->height);
    if (image->width != decoded->width || image->height != decoded->height || !image->GetBits()) {
        return nullptr;
    }
    image->filePath = fileName;
    return image;
}

}  // namespace Zarvo
