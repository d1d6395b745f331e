#pragma once
#include <memory>
#include <string>

#include "resources/ResourceHost.h"

namespace Zarvo {

class ZarvoAppBase;

// The application's side of the resource manager: shared images come from the application's
// table (honouring "noalpha" through the application's autoFindAlpha), sounds go to its sound
// manager, font errors to its error popup.
class AppResourceHost final : public ResourceHost {
public:
    explicit AppResourceHost(ZarvoAppBase& app) : app_(app) {}

    SharedImageRef GetSharedImage(const std::string& path, const std::string& variant,
                                  bool* isNew) override;
    std::unique_ptr<MemoryImage> GetImage(const std::string& path, bool lookForAlpha) override;
    void SetAutoFindAlpha(bool lookForAlpha) override;
    SoundManager* GetSoundManager() override;
    void ShowFontError(const std::string& text) override;
    bool Is3D() const override;

private:
    ZarvoAppBase& app_;
};

}  // namespace Zarvo
