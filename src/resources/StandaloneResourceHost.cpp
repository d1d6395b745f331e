#include "resources/StandaloneResourceHost.h"

#include "graphics/MemoryImage.h"
#include "resources/ImageLib.h"

namespace Zarvo {

StandaloneResourceHost::StandaloneResourceHost(SoundManager* sounds) : soundManager(sounds) {}

StandaloneResourceHost::~StandaloneResourceHost() = default;

std::unique_ptr<MemoryImage> StandaloneResourceHost::LoadMemoryImage(const std::string& path,
                                                                     bool lookForAlpha) {
    std::unique_ptr<DecodedImage> decoded = ImageLib::GetImage(path, lookForAlpha);
    if (!decoded) return nullptr;
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(decoded->bits.get(), decoded->width, decoded->height);
    image->filePath = path;
    return image;
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
