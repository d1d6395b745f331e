// One piece of the match grid: a screen object with a kind, a fall animation and its four
// neighbours in the grid's linked mesh.
#pragma once

#include "game/grid/PieceKind.h"
#include "game/screens/ScreenObject.h"

namespace Kelvane {

class BoardObject : public ScreenObject {
public:
    static constexpr float kSize = 40.0f;

    // A visible 40 x 40 piece of kind none at (x, y), drawn cel by cel, linked to nothing.
    BoardObject(float x, float y);
    ~BoardObject() override;

    BoardObject(const BoardObject&) = delete;
    BoardObject& operator=(const BoardObject&) = delete;

    // Sets the kind and re-selects the image that goes with it.
    void setKindImage(PieceKind newKind);

    // One step of the fall animation toward `targetY`: the piece moves 15 x its speed, then
    // either waits out its delay or accelerates; on reaching or passing the target it stops there.
    void fallStep();
    // Still waiting to start or still moving.
    bool isMoving() const { return delay > 0 || fallSpeed > 0.0f; }

    PieceKind kind = Piece::None;
    int targetY = -1;
    float fallSpeed = 0.0f;
    int delay = -1;
    bool matched = false;
    // The neighbours in the mesh; null at the edges of the grid. The grid alone rewires them.
    BoardObject* right = nullptr;
    BoardObject* left = nullptr;
    BoardObject* up = nullptr;
    BoardObject* down = nullptr;
};

}  // namespace Kelvane
