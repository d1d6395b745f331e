#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/FontHost.h"

namespace Zarvo {

class MemoryImage;

// What the resource manager needs from the application: shared images and the image loader's
// options, plain decoded images, the sound slots, and the display mode.
class ResourceHost : public FontHost {
public:
    // A decoded image of a file that the caller owns; null when it cannot be loaded. With
    // `lookForAlpha` a companion alpha file is looked for.
    virtual std::unique_ptr<MemoryImage> GetImage(const std::string& path, bool lookForAlpha) = 0;
    // Options of the image loads that follow: whether companion alpha files are looked for, and
    // the colour given to images made from an alpha file alone (0xRRGGBB).
    virtual void SetAutoFindAlpha(bool lookForAlpha) { (void)lookForAlpha; }
    virtual void SetAlphaColor(uint32_t rgb) { (void)rgb; }

    // Sound slots: a free id (-1 when none is free), loading a file into an id, the base volume
    // and pan of a loaded sound, and releasing an id.
    virtual int GetFreeSoundId() { return -1; }
    virtual bool LoadSound(int id, const std::string& path) {
        (void)id, (void)path;
        return false;
    }
    virtual bool SetSoundBaseVolume(int id, double volume) {
        (void)id, (void)volume;
        return false;
    }
    virtual bool SetSoundBasePan(int id, int pan) {
        (void)id, (void)pan;
        return false;
    }
    virtual void ReleaseSound(int id) { (void)id; }

    // Whether the display runs hardware-accelerated (never on this platform by default).
    virtual bool Is3D() const { return false; }
};

}  // namespace Zarvo
