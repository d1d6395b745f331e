// One archive mapped into memory; it stays mapped until the owning interface is destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/MappedFile.h"

namespace Zarvo {

class PakCollection {
public:
    PakCollection(std::string fileName, std::unique_ptr<MappedFile> mapping)
        : mFileName(std::move(fileName)), mMapping(std::move(mapping)) {}

    const std::string& FileName() const { return mFileName; }
    const uint8_t* Data() const { return mMapping->Data(); }
    size_t Size() const { return mMapping->Size(); }

private:
    std::string mFileName;
    std::unique_ptr<MappedFile> mMapping;
};

}  // namespace Zarvo
