#pragma once
#include <string>

#include "ResourceCatalog.h"

namespace datagen {

// Dialog backgrounds, each exactly the size its dialog is placed at, and the rules pages.
class DialogArt {
public:
    static bool build(ResourceCatalog& cat, const std::string& assetsDir);
};

}  // namespace datagen
