#pragma once
#include <string>

#include "FontBaker.h"
#include "ResourceCatalog.h"

namespace datagen {

// Composes each screen and dialog from the generated images at the places the game puts them,
// with text drawn through the baked image fonts, and writes one PNG per screen.
class MockupComposer {
public:
    MockupComposer(const ResourceCatalog& cat, const FontBaker& fonts) : cat_(cat), fonts_(fonts) {}
    bool writeAll(const std::string& dir) const;

private:
    // Natural-size, stretched and cel drawing of an image id.
    void image(Canvas& c, const std::string& id, double x, double y) const;
    void stretched(Canvas& c, const std::string& id, double x, double y, double w, double h) const;
    void cel(Canvas& c, const std::string& id, double x, double y, int index) const;
    // Text with its baseline at y, in the font of a resource id (0..9).
    void text(Canvas& c, int font, int x, int y, const std::string& s, const Rgba& color) const;
    int textWidth(int font, const std::string& s) const;

    void matchScreen(Canvas& c, bool banner) const;
    void startScreen(Canvas& c) const;
    void gameTypeScreen(Canvas& c) const;
    void teamPickingScreen(Canvas& c) const;
    void worldTourScreen(Canvas& c) const;

    const ResourceCatalog& cat_;
    const FontBaker& fonts_;
};

}  // namespace datagen
