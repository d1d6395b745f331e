#pragma once
#include <string>

#include "ResourceCatalog.h"

namespace datagen {

// One PNG showing every image of the catalogue with its id and size.
class ContactSheet {
public:
    static bool write(const ResourceCatalog& cat, const std::string& path);
};

}  // namespace datagen
