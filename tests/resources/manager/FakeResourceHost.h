#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/MemoryImage.h"
#include "graphics/SharedImageTable.h"
#include "resources/ImageLib.h"
#include "resources/ResourceHost.h"
#include "resources/manager/FakeSoundManager.h"

namespace Zarvo {

// Images from a table of pixel arrays (through a real shared-image table), sounds recorded by id.
class FakeResourceHost : public ResourceHost {
public:
    struct Picture {
        int width;
        int height;
        std::vector<uint32_t> pixels;
    };
    std::map<std::string, Picture> files;
    SharedImageTable table;
    bool autoFindAlpha = true;
    // One entry per shared-image request: path, variant, alpha colour and auto-alpha at that time.
    std::vector<std::string> sharedRequests;

    FakeSoundManager soundManager;

    void AddPicture(const std::string& path, int w, int h, uint32_t fill = 0xFF000000) {
        files[path] = Picture{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, fill)};
    }

    std::unique_ptr<MemoryImage> Make(const std::string& path) {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        auto image = std::make_unique<MemoryImage>(nullptr);
        image->SetBits(it->second.pixels.data(), it->second.width, it->second.height);
        return image;
    }

    SharedImageRef GetSharedImage(const std::string& path, const std::string& variant,
                                  bool* isNew) override {
        char color[16];
        std::snprintf(color, sizeof color, "%06X", ImageLib::GetAlphaColor());
        sharedRequests.push_back(path + "|" + variant + "|" + color + "|" +
                                 (autoFindAlpha ? "alpha" : "noalpha"));
        return table.GetSharedImage(
            path, variant, [this](const std::string& p) { return Make(p); }, isNew);
    }
    std::unique_ptr<MemoryImage> GetImage(const std::string& path, bool) override {
        return Make(path);
    }
    void SetAutoFindAlpha(bool on) override { autoFindAlpha = on; }
    SoundManager* GetSoundManager() override { return &soundManager; }
};

}  // namespace Zarvo
