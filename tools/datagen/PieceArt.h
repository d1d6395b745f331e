#pragma once
#include "ResourceCatalog.h"

namespace datagen {

// The pieces of the board, their markers and their cel animations.
class PieceArt {
public:
    static void build(ResourceCatalog& cat);

    // The piece drawings, each in a 40 x 40 cell at (x, y), also used by the rules pages.
    static void redCard(Canvas& c, double x, double y);
    static void yellowCard(Canvas& c, double x, double y);
    static void injury(Canvas& c, double x, double y);
    static void offsideFlag(Canvas& c, double x, double y);
    static void cornerFlag(Canvas& c, double x, double y);
    static void whiteBall(Canvas& c, double x, double y);
    static void money(Canvas& c, double x, double y);
    static void extraTime(Canvas& c, double x, double y);
};

}  // namespace datagen
