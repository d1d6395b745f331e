#include "resources/StandaloneResourceHost.h"

#include "graphics/MemoryImage.h"
#include "resources/ImageLib.h"

namespace Zarvo {

StandaloneResourceHost::StandaloneResourceHost(SoundManager* sounds) : soundManager(sounds) {}

StandaloneResourceHost::~StandaloneResourceHost() = default;

std::unique_ptr<MemoryImage> StandaloneResourceHost::LoadMemoryImage(const std::string& path,
                                                                     bool lookForAlpha) {
    return ImageLib::LoadMemoryImage(path, lookForAlpha, nullptr);
}

SharedImageRef StandaloneResourceHost::GetSharedImage(const std::string& path,
                                                      const std::string& variant, bool* isNew) {
    const bool lookForAlpha = autoFindAlpha;
    return table.GetSharedImage(
        path, variant,
        [lookForAlpha](const std::string& p) { return LoadMemoryImage(p, lookForAlpha); }, isNew);
}

std::unique_ptr<MemoryImage> StandaloneResourceHost::GetImage(const std::string& path,
                                                              bool lookForAlpha) {
    return LoadMemoryImage(path, lookForAlpha);
}

}  // namespace Zarvo
