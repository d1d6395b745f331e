#include "graphics/SharedImageRef.h"

#include <utility>

#include "graphics/SharedImage.h"
#include "graphics/SharedImageTable.h"

namespace Zarvo {

SharedImageRef::SharedImageRef(std::shared_ptr<SharedImage> sharedImage)
    : shared(std::move(sharedImage)) {
    if (shared && shared->table) shared->table->AddRef(shared.get());
}

SharedImageRef::SharedImageRef(std::shared_ptr<SharedImage> sharedImage, Adopt)
    : shared(std::move(sharedImage)) {}

SharedImageRef::SharedImageRef(MemoryImage* unsharedImage) : unshared(unsharedImage) {}

SharedImageRef::SharedImageRef(const SharedImageRef& other) : SharedImageRef(other.shared) {
    unshared = other.unshared;
}

SharedImageRef::SharedImageRef(SharedImageRef&& other) noexcept
    : shared(std::move(other.shared)), unshared(other.unshared) {
    other.shared.reset();
    other.unshared = nullptr;
}

SharedImageRef& SharedImageRef::operator=(const SharedImageRef& other) {
    if (this == &other) return *this;
    SharedImageRef copy(other);
    *this = std::move(copy);
    return *this;
}

SharedImageRef& SharedImageRef::operator=(SharedImageRef&& other) noexcept {
    if (this == &other) return *this;
    Release();
    shared = std::move(other.shared);
    unshared = other.unshared;
    other.shared.reset();
    other.unshared = nullptr;
    return *this;
}

SharedImageRef::~SharedImageRef() {
    Release();
}

void SharedImageRef::Release() {
    if (shared && shared->table) shared->table->ReleaseRef(shared.get());
    shared.reset();
    unshared = nullptr;
}

MemoryImage* SharedImageRef::Get() const {
    if (shared) return shared->image.get();
    return unshared;
}

}  // namespace Zarvo
