#pragma once
#include <memory>
#include <string>
#include <vector>

#include "BakedFont.h"
#include "ResourceCatalog.h"

namespace datagen {

// Renders the game's image fonts with pango and writes each as a glyph strip plus a descriptor.
class FontBaker {
public:
    // Bakes the ten fonts, writes fonts/*.txt and fonts/*.png under root and declares them.
    bool build(ResourceCatalog& cat, const std::string& root);
    const BakedFont& font(int resourceId) const { return *fonts_.at(resourceId); }
    const BakedFont& font(const std::string& id) const;

private:
    std::vector<std::unique_ptr<BakedFont>> fonts_;
};

}  // namespace datagen
