#pragma once
#include "ResourceCatalog.h"

namespace datagen {

// The match screen's instruments: board frame, opponent bar, power-up panels, score boxes,
// points panel, time bar and the banner messages.
class HudArt {
public:
    static void build(ResourceCatalog& cat);
};

}  // namespace datagen
