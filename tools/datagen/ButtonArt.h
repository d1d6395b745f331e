#pragma once
#include "ResourceCatalog.h"

namespace datagen {

// Buttons, menu tiles, team rows, nation name plates, map markers and the cup pieces.
class ButtonArt {
public:
    static void build(ResourceCatalog& cat);
    // The eight nations: resource name stem (FRANCE...) and display name.
    static const char* const kNationStems[8];
    static const char* const kNationNames[8];
};

}  // namespace datagen
