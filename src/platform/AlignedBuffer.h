#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace Zarvo {

// Pixel buffers start on a 64-byte boundary: the widest vectors then load and store whole cache
// lines along the rows of a 640-pixel frame instead of straddling two lines on every access
// (which made a frame-sized copy a fifth slower). The system allocator only promises 16 bytes.
inline constexpr std::align_val_t kPixelAlignment{64};

struct AlignedWordsDelete {
    void operator()(uint32_t* p) const noexcept { ::operator delete[](p, kPixelAlignment); }
};
using AlignedWords = std::unique_ptr<uint32_t[], AlignedWordsDelete>;

// `count` words at a 64-byte boundary, uninitialised; null when memory is short.
inline AlignedWords AllocateAlignedWords(size_t count) {
    return AlignedWords(new (kPixelAlignment, std::nothrow) uint32_t[count]);
}

// The same alignment for a std::vector's storage.
template <typename T>
struct AlignedAllocator {
    using value_type = T;
    AlignedAllocator() = default;
    template <typename U>
    AlignedAllocator(const AlignedAllocator<U>&) noexcept {}
    T* allocate(size_t n) {
        return static_cast<T*>(::operator new(n * sizeof(T), kPixelAlignment));
    }
    void deallocate(T* p, size_t) noexcept { ::operator delete(p, kPixelAlignment); }
    template <typename U>
    bool operator==(const AlignedAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace Zarvo
