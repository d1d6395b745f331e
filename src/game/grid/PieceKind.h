// The kinds of piece on the match grid and the image each kind shows.
#pragma once

namespace Kelvane {

// A piece kind is a plain int: the numbers are fixed, the match screen deals them as ints.
using PieceKind = int;

namespace Piece {
inline constexpr PieceKind None = 0;  // an empty cell
inline constexpr PieceKind OffsideFlag = 1;
inline constexpr PieceKind CornerFlag = 2;
inline constexpr PieceKind Injury = 3;
inline constexpr PieceKind RedCard = 4;
inline constexpr PieceKind YellowCard = 5;
inline constexpr PieceKind Money = 6;
inline constexpr PieceKind Ball = 7;
inline constexpr PieceKind ExtraTime = 8;
}  // namespace Piece

// The resource id of the image a piece of `kind` shows; an unknown kind shows the empty square.
int pieceImageId(PieceKind kind);

}  // namespace Kelvane
