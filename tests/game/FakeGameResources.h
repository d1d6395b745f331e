// A resource manager whose fonts and images exist for every id except those named as missing,
// without any file: lookups answer fixed objects and throw for the missing ones.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "graphics/Font.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceManagerException.h"

namespace Kelvane::testing {

class FakeFont : public Zarvo::Font {
public:
    std::unique_ptr<Zarvo::Font> Duplicate() const override { return std::make_unique<FakeFont>(); }
};

class FakeGameResources : public Zarvo::ResourceManager {
public:
    std::set<std::string> missing;
    std::vector<std::string> asked;  // every lookup in call order
    int imageWidth = 20;
    int imageHeight = 10;

    FakeGameResources() : Zarvo::ResourceManager(static_cast<Zarvo::ResourceHost*>(nullptr)) {}

    Zarvo::SharedImageRef GetImageThrow(const std::string& id) override {
        asked.push_back(id);
        if (missing.count(id)) ThrowMissing(id);
        auto& image = images[id];
        if (!image) {
            image = std::make_unique<Zarvo::MemoryImage>(nullptr);
            image->Create(imageWidth, imageHeight);
        }
        return Zarvo::SharedImageRef(image.get());
    }

    Zarvo::Font* GetFontThrow(const std::string& id) override {
        asked.push_back(id);
        if (missing.count(id)) ThrowMissing(id);
        auto& font = fonts[id];
        if (!font) font = std::make_unique<FakeFont>();
        return font.get();
    }

    Zarvo::MemoryImage* image(const std::string& id) {
        auto it = images.find(id);
        return it == images.end() ? nullptr : it->second.get();
    }
    Zarvo::Font* font(const std::string& id) {
        auto it = fonts.find(id);
        return it == fonts.end() ? nullptr : it->second.get();
    }

private:
    [[noreturn]] static void ThrowMissing(const std::string& id) {
        throw Zarvo::ResourceManagerException("Resource not found: " + id);
    }

    std::map<std::string, std::unique_ptr<Zarvo::MemoryImage>> images;
    std::map<std::string, std::unique_ptr<Zarvo::Font>> fonts;
};

}  // namespace Kelvane::testing
