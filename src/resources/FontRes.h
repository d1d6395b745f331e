#pragma once

#include <memory>
#include <string>

#include "graphics/Font.h"
#include "graphics/MemoryImage.h"
#include "resources/BaseRes.h"

namespace Zarvo {

// A font of the manifest: an image font from a descriptor or from an image with a width file, a
// system font ("!sys:" face), or a copy of another font ("!ref:" id).
class FontRes : public BaseRes {
public:
    FontRes() : BaseRes(ResType_Font) {}
    ~FontRes() override { DeleteResource(); }
    void DeleteResource() override {
        font.reset();  // first: a width-table font borrows the image
        image.reset();
    }

    std::unique_ptr<Font> font;
    std::unique_ptr<MemoryImage> image;  // only for image fonts with an "image" attribute
    std::string imagePath;               // as written, without the default path
    std::string tags;
    bool sysFont = false;
    int size = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool shadow = false;
};

}  // namespace Zarvo
