#include "game/grid/GridHost.h"

#include "game/ResourceIds.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

int GridHost::celColumns(int imageId) {
    const Zarvo::MemoryImage* image = getImageById(imageId);
    return image != nullptr ? image->columns : 1;
}

}  // namespace Kelvane
