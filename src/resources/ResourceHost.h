#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/FontHost.h"

namespace Zarvo {

class MemoryImage;
class SoundManager;

// What the resource manager needs from the application: shared images, plain decoded images,
// the sound manager, and the display mode.
class ResourceHost : public FontHost {
public:
    // A decoded image of a file that the caller owns; null when it cannot be loaded. With
    // `lookForAlpha` a companion alpha file is looked for.
    virtual std::unique_ptr<MemoryImage> GetImage(const std::string& path, bool lookForAlpha) = 0;
    // Whether the shared-image loads that follow look for companion alpha files.
    virtual void SetAutoFindAlpha(bool lookForAlpha) { (void)lookForAlpha; }

    // The sound manager that sounds load into; null when there is none (every sound then
    // fails with "Out of free sound ids").
    virtual SoundManager* GetSoundManager() { return nullptr; }

    // Whether the display runs hardware-accelerated (never on this platform by default).
    virtual bool Is3D() const { return false; }
};

}  // namespace Zarvo
