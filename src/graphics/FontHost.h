#pragma once

#include <string>

#include "graphics/SharedImageRef.h"

namespace Zarvo {

// What image fonts need from the application: layer images from the shared-image table, and a
// place to show descriptor errors.
class FontHost {
public:
    virtual ~FontHost() = default;

    // The shared image of (path, variant), loaded on first use; `isNew` (optional) tells whether
    // this call loaded it. An empty reference when the image cannot be loaded.
    virtual SharedImageRef GetSharedImage(const std::string& path, const std::string& variant,
                                          bool* isNew) = 0;
    // Shows an error to the user.
    virtual void ShowFontError(const std::string& text) { (void)text; }
};

}  // namespace Zarvo
