#include "frame/AppResourceHost.h"

#include "frame/ZarvoAppBase.h"
#include "graphics/MemoryImage.h"
#include "resources/ImageLib.h"

namespace Zarvo {

SharedImageRef AppResourceHost::GetSharedImage(const std::string& path, const std::string& variant,
                                               bool* isNew) {
    return app_.GetSharedImage(path, variant, isNew);
}

std::unique_ptr<MemoryImage> AppResourceHost::GetImage(const std::string& path, bool lookForAlpha) {
    return ImageLib::LoadMemoryImage(path, lookForAlpha);
}

void AppResourceHost::SetAutoFindAlpha(bool lookForAlpha) {
    app_.autoFindAlpha = lookForAlpha;
}

SoundManager* AppResourceHost::GetSoundManager() {
    return app_.GetSoundManager();
}

void AppResourceHost::ShowFontError(const std::string& text) {
    app_.Popup(text);
}

bool AppResourceHost::Is3D() const {
    return app_.is3D;
}

}  // namespace Zarvo
