#pragma once

#include <memory>
#include <string>

#include "graphics/SharedImageTable.h"
#include "resources/ResourceHost.h"

namespace Zarvo {

// A resource host for programs and tests that run without an application: images come from the
// image library (through the archive-aware file functions) into a shared-image table of its
// own; sounds go to the sound manager given, if any; font errors are kept, not shown.
class StandaloneResourceHost : public ResourceHost {
public:
    explicit StandaloneResourceHost(SoundManager* soundManager = nullptr);
    ~StandaloneResourceHost() override;

    SharedImageRef GetSharedImage(const std::string& path, const std::string& variant,
                                  bool* isNew) override;
    std::unique_ptr<MemoryImage> GetImage(const std::string& path, bool lookForAlpha) override;
    void SetAutoFindAlpha(bool lookForAlpha) override { autoFindAlpha = lookForAlpha; }
    SoundManager* GetSoundManager() override { return soundManager; }
    void ShowFontError(const std::string& text) override { lastFontError = text; }

    // A decoded file as a memory image (registered with no application); null on failure.
    static std::unique_ptr<MemoryImage> LoadMemoryImage(const std::string& path, bool lookForAlpha);

    SharedImageTable& GetSharedImageTable() { return table; }
    const std::string& GetLastFontError() const { return lastFontError; }

private:
    SharedImageTable table;
    SoundManager* soundManager;
    bool autoFindAlpha = true;
    std::string lastFontError;
};

}  // namespace Zarvo
