// Fuzz target for the font descriptor language: any text is run as a descriptor against a fixed
// 64 x 64 layer image; a font that loads is then measured and drawn at two sizes with tags.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/FontData.h"
#include "graphics/FontHost.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"

namespace {

class FixedImageHost : public Zarvo::FontHost {
public:
    FixedImageHost() : image(nullptr) {
        image.Create(64, 64);
        image.GetBits();
    }
    Zarvo::SharedImageRef GetSharedImage(const std::string&, const std::string&,
                                         bool* isNew) override {
        if (isNew != nullptr) *isNew = false;
        return Zarvo::SharedImageRef(&image);
    }
    Zarvo::MemoryImage image;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FixedImageHost host;
    auto fontData = std::make_shared<Zarvo::FontData>(&host);
    fontData->LoadFromText("fuzz.txt", std::string(reinterpret_cast<const char*>(data), size));
    Zarvo::ImageFont font(fontData);
    const std::string text = "The quick brown fox, 0123456789!";
    Zarvo::MemoryImage target(nullptr);
    target.Create(128, 64);
    Zarvo::Graphics g(&target);
    font.DrawString(&g, 2, 40, text, Zarvo::Color::White, g.GetClipRect());
    (void)font.StringWidth(text);
    font.AddTag("bold");
    font.SetPointSize(font.GetPointSize() * 2 + 1);
    font.SetScale(1.5);
    font.DrawString(&g, 2, 40, text, Zarvo::Color(10, 20, 30, 128), g.GetClipRect());
    (void)font.GetHeight();
    return 0;
}
