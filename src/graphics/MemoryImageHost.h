#pragma once

namespace Zarvo {

class MemoryImage;

// What a memory image needs from the application: every image registers on construction and
// unregisters on destruction, so that a change of display can rebuild the images' display
// forms. Images may be constructed on the loading thread, so an implementation must lock.
class MemoryImageHost {
public:
    virtual ~MemoryImageHost() = default;

    virtual void AddMemoryImage(MemoryImage* image) = 0;
    virtual void RemoveMemoryImage(MemoryImage* image) = 0;
    // Drops the display back-end's texture of the image, if it has one.
    virtual void Remove3DData(MemoryImage* image) { (void)image; }
    // Whether the display back-end holds a texture of the image.
    virtual bool HasTexture(MemoryImage* image) {
        (void)image;
        return false;
    }
    // Whether the display runs in hardware-accelerated (3-D) mode.
    virtual bool Is3D() const { return false; }
};

}  // namespace Zarvo
