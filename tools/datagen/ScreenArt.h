#pragma once
#include "ResourceCatalog.h"
#include "WorldMap.h"

namespace datagen {

// The full-screen backgrounds: splash screens, menus, the match screen, the tour map and the
// tinted cover shown under dialogs.
class ScreenArt {
public:
    static void build(ResourceCatalog& cat, const WorldMap& map);
};

}  // namespace datagen
