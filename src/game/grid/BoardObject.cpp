#include "game/grid/BoardObject.h"

namespace Kelvane {

BoardObject::BoardObject(float px, float py) {
    x = px;
    y = py;
    width = kSize;
    height = kSize;
    hasImage = true;
    celMode = true;
    setKindImage(Piece::None);
}

BoardObject::~BoardObject() = default;

void BoardObject::setKindImage(PieceKind newKind) {
    kind = newKind;
    imageId = pieceImageId(newKind);
}

void BoardObject::fallStep() {
    const float target = static_cast<float>(targetY);
    const bool downward = y <= target;
    const float distance = 15.0f * fallSpeed;
    y += downward ? distance : -distance;
    // The speed changed here takes effect on the next step.
    if (delay > 0) {
        --delay;
    } else {
        fallSpeed += 0.01f;
    }
    if (downward ? y >= target : y <= target) {
        y = target;
        fallSpeed = 0.0f;
    }
}

}  // namespace Kelvane
