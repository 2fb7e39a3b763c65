#pragma once
// The small pictures that dress the outline of a level's field: a piece over the middle of the
// top edge, pieces beside the left and right sides, on the tops of rows, in single holes, in
// inner corners and on pillar tops, chosen by the pattern of cells around each spot.

#include <functional>
#include <string>
#include <vector>

#include "core/Point.h"
#include "match3/board/BoardRandom.h"
#include "shell/Texture.h"

class GameBoard;

struct FieldDecor {
    int x = 0;  // the picture's centre line, absolute
    int y = 0;  // its bottom edge, absolute
    bool mirrored = false;
    UsingPointer<Texture> picture;
    std::string id;
};

// The registered picture of a resource id, or none.
using DecorPictures = std::function<UsingPointer<Texture>(const std::string& id)>;

// The decor of the board's cells with the field drawn at origin (its absolute position), in the
// order found, crowding pieces dropped. Variants and mirroring are drawn from random (one draw
// modulo 2 each, the mirroring first). A spot whose picture is not registered gets nothing.
std::vector<FieldDecor> BuildFieldDecor(const GameBoard& board, const Point& origin, BoardRandom& random,
                                        const DecorPictures& pictures);

// Drops pieces whose top point lies within 200 of (400, 733), over the top middle of the
// screen, then every piece closer than two cells to an earlier one that was kept.
void DropCrowdedDecor(std::vector<FieldDecor>& decor, int cellSize);

// Each picture centred on its x, standing on its y, turned about the vertical axis when mirrored.
void DrawFieldDecor(const std::vector<FieldDecor>& decor);
