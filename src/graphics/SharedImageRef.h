#pragma once

#include <memory>

#include "graphics/MemoryImage.h"

namespace Zarvo {

class SharedImage;

// A counted reference to a shared image, or a plain borrowed image pointer. Copying adds a
// reference; destroying or releasing drops it, and the last drop marks the table for cleaning
// (the image itself is deleted later, by the table's cleaning pass).
class SharedImageRef {
public:
    SharedImageRef() = default;
    explicit SharedImageRef(std::shared_ptr<SharedImage> sharedImage);
    // Borrows an image that is not in the table (nothing is counted).
    explicit SharedImageRef(MemoryImage* unshared);
    SharedImageRef(const SharedImageRef& other);
    SharedImageRef(SharedImageRef&& other) noexcept;
    SharedImageRef& operator=(const SharedImageRef& other);
    SharedImageRef& operator=(SharedImageRef&& other) noexcept;
    ~SharedImageRef();

    void Release();
    MemoryImage* Get() const;
    MemoryImage* operator->() const { return Get(); }
    operator MemoryImage*() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

private:
    friend class SharedImageTable;
    struct Adopt {};
    // Takes over a count that the table already added.
    SharedImageRef(std::shared_ptr<SharedImage> sharedImage, Adopt);

    std::shared_ptr<SharedImage> shared;
    MemoryImage* unshared = nullptr;
};

}  // namespace Zarvo
