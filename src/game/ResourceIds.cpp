#include "game/ResourceIds.h"

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/Font.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceManagerException.h"

namespace Kelvane {

#define KELVANE_FONT_DEFINITION(name, number) Zarvo::Font* name = nullptr;
#define KELVANE_IMAGE_DEFINITION(name, number) Zarvo::MemoryImage* name = nullptr;
KELVANE_FONT_IDS(KELVANE_FONT_DEFINITION)
KELVANE_IMAGE_IDS(KELVANE_IMAGE_DEFINITION)
#undef KELVANE_FONT_DEFINITION
#undef KELVANE_IMAGE_DEFINITION

namespace {

// The address of each id's variable, by number: lookups read through it, so they always see the
// value bound last.
struct IdSlot {
    Zarvo::Font** font;
    Zarvo::MemoryImage** image;
};

const IdSlot kSlots[RESOURCE_ID_COUNT] = {
#define KELVANE_FONT_SLOT(name, number) {&name, nullptr},
#define KELVANE_IMAGE_SLOT(name, number) {nullptr, &name},
    KELVANE_FONT_IDS(KELVANE_FONT_SLOT) KELVANE_IMAGE_IDS(KELVANE_IMAGE_SLOT)
#undef KELVANE_FONT_SLOT
#undef KELVANE_IMAGE_SLOT
};

// The ids of [first, last) in ascending byte order of their string ids.
std::vector<int32_t> idsInNameOrder(int32_t first, int32_t last) {
    std::vector<int32_t> ids;
    for (int32_t id = first; id < last; ++id) ids.push_back(id);
    std::sort(ids.begin(), ids.end(),
              [](int32_t a, int32_t b) { return kResourceNames[a] < kResourceNames[b]; });
    return ids;
}

}  // namespace

void* getResourceById(int32_t id) {
    if (isFontId(id)) return *kSlots[id].font;
    if (isImageId(id)) return *kSlots[id].image;
    return nullptr;
}

Zarvo::Font* getFontById(int32_t id) {
    return isFontId(id) ? *kSlots[id].font : nullptr;
}

Zarvo::MemoryImage* getImageById(int32_t id) {
    return isImageId(id) ? *kSlots[id].image : nullptr;
}

bool extractInitResources(Zarvo::ResourceManager& manager) {
    static const std::vector<int32_t> order = idsInNameOrder(0, kFirstImageId);
    try {
        for (int32_t id : order)
            *kSlots[id].font = manager.GetFontThrow(std::string(kResourceNames[id]));
    } catch (const Zarvo::ResourceManagerException&) {
        return false;
    }
    return true;
}

bool extractGameResources(Zarvo::ResourceManager& manager) {
    static const std::vector<int32_t> order = idsInNameOrder(kFirstImageId, RESOURCE_ID_COUNT);
    try {
        for (int32_t id : order)
            *kSlots[id].image = manager.GetImageThrow(std::string(kResourceNames[id])).Get();
    } catch (const Zarvo::ResourceManagerException&) {
        return false;
    }
    return true;
}

void clearResourceIds() {
    for (const IdSlot& slot : kSlots) {
        if (slot.font) *slot.font = nullptr;
        if (slot.image) *slot.image = nullptr;
    }
}

}  // namespace Kelvane
