#pragma once
#include <string>

#include "Canvas.h"

namespace datagen {

// The program's icon: a round navy badge with a gold rim, a mown pitch inside it and the ball
// on the centre spot. The smallest sizes drop the detail that would only blur.
class IconArt {
public:
    // The sizes a desktop's icon theme looks for (square, in pixels).
    static constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

    static void draw(Canvas& c);
    // Writes <folder>/<N>x<N>/apps/<name>.png for every size, the layout of the hicolor icon
    // theme. Answers false, saying why on standard error, when a file cannot be written.
    static bool writeAll(const std::string& folder, const std::string& name);
};

}  // namespace datagen
