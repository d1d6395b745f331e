#include "game/grid/PieceKind.h"

#include "game/ResourceIds.h"

namespace Kelvane {

int pieceImageId(PieceKind kind) {
    switch (kind) {
        case Piece::OffsideFlag:
            return Res::IMAGE_OFFSIDE_FLAG;
        case Piece::CornerFlag:
            return Res::IMAGE_CORNER_FLAG;
        case Piece::Injury:
            return Res::IMAGE_INJURY;
        case Piece::RedCard:
            return Res::IMAGE_RED_CARD;
        case Piece::YellowCard:
            return Res::IMAGE_YELLOW_CARD;
        case Piece::Money:
            return Res::IMAGE_MONEY;
        case Piece::Ball:
            return Res::IMAGE_WHITE_BALL;
        case Piece::ExtraTime:
            return Res::IMAGE_EXTRA_TIME;
        default:
            return Res::IMAGE_EMPTY_SQUARE;
    }
}

}  // namespace Kelvane
