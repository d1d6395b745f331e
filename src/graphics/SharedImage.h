#pragma once

#include <memory>
#include <string>

#include "graphics/MemoryImage.h"

namespace Zarvo {

class SharedImageTable;

// One entry of the application's shared-image table: an image loaded once and borrowed by
// every holder of a `SharedImageRef`. The table deletes it once no reference is left.
class SharedImage {
public:
    std::unique_ptr<MemoryImage> image;
    int refCount = 0;
    SharedImageTable* table = nullptr;  // the owning table; null once it dropped the entry
};

}  // namespace Zarvo
