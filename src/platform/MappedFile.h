// A whole file mapped read-only into memory (mmap). The mapping lives as long as the object.
// Implemented: regular files of any size the address space allows; an empty file maps to no
// bytes. Left out: writable mappings, partial views.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Zarvo {

class MappedFile {
public:
    // Maps the file at path; null when it is missing, not a regular file or cannot be mapped.
    static std::unique_ptr<MappedFile> Open(const std::string& path);

    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const uint8_t* Data() const { return mData; }
    size_t Size() const { return mSize; }

private:
    MappedFile(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    const uint8_t* mData;
    size_t mSize;
};

}  // namespace Zarvo
