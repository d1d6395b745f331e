// Reads JPEG 2000 files (JP2 boxes or a bare J2K codestream) with OpenJPEG, loaded at run time
// (libopenjp2.so.7). Without the library ".j2k" and ".jp2" files yield no image. Samples are
// scaled to 8 bits; alpha is always 255. Reads through the archive-aware file functions.
#pragma once

#include <memory>
#include <string>

#include "resources/DecodedImage.h"

namespace Zarvo {

class Jpeg2000Reader {
public:
    // Loads the codec library; false when it is missing or lacks an entry point. Read loads
    // the default library on first use, so calling this is optional.
    static bool LoadLibrary(const std::string& name = "libopenjp2.so.7");
    // Releases the library (at shutdown); Read then loads it again when needed.
    static void UnloadLibrary();
    // Whether the library is loaded and usable.
    static bool IsAvailable();

    // Null when the codec is unavailable, the file is missing or damaged, or its size exceeds
    // DecodedImage::kMaxPixels.
    static std::unique_ptr<DecodedImage> Read(const std::string& name);
};

}  // namespace Zarvo
