#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/FontHost.h"
#include "graphics/MemoryImage.h"

namespace Zarvo {

// A drawing target that records every blit instead of drawing it.
class RecordingImage : public MemoryImage {
public:
    struct Blit {
        Image* image;
        int x;
        int y;
        Rect source;
        Color color;
        int drawMode;
    };
    std::vector<Blit> blits;

    RecordingImage(int w, int h) : MemoryImage(nullptr) { Create(w, h); }

    void Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color,
             int drawMode) override {
        blits.push_back({image, x, y, srcRect, color, drawMode});
    }
};

// Serves layer images from a table of blank images of given sizes; records shown errors.
class FakeFontHost : public FontHost {
public:
    std::map<std::string, std::unique_ptr<MemoryImage>> images;
    std::vector<std::string> shownErrors;
    std::vector<std::string> requests;

    MemoryImage* AddImage(const std::string& path, int w, int h) {
        auto image = std::make_unique<MemoryImage>(nullptr);
        image->Create(w, h);
        MemoryImage* raw = image.get();
        images[path] = std::move(image);
        return raw;
    }

    SharedImageRef GetSharedImage(const std::string& path, const std::string& variant,
                                  bool* isNew) override {
        (void)variant;
        requests.push_back(path);
        auto it = images.find(path);
        if (isNew != nullptr) *isNew = false;
        if (it == images.end()) return SharedImageRef();
        return SharedImageRef(it->second.get());
    }

    void ShowFontError(const std::string& text) override { shownErrors.push_back(text); }
};

}  // namespace Zarvo
