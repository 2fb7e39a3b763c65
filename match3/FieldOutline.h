#pragma once
// The outline of the game field as the drawing needs it: the tiles of the border atlas on each
// grid corner, where a tile lies in an atlas picture, and the distances over the field's cells
// that time the shine wave with which a field comes into view and leaves it.

#include <array>
#include <functional>
#include <vector>

#include "match3/board/BoardTypes.h"
#include "shell/Texture.h"

// A square tile of an atlas: column from the left, row from the atlas's top.
struct AtlasTile {
    int column = 0;
    int row = 0;

    bool operator==(const AtlasTile& other) const { return column == other.column && row == other.row; }
};

// The border tiles of a grid corner, in drawing order, from which of the four cells around it
// lie in the field (upper left, upper right, lower left, lower right): nothing inside the field
// or outside it, one tile on a side or a corner, two where only diagonal cells are in it.
std::vector<AtlasTile> BorderTiles(bool upperLeft, bool upperRight, bool lowerLeft, bool lowerRight);

// The texture rectangle of a tile of tileSize units in a width x height picture. Rows are
// counted down from a line 256 units above the picture's bottom, the top of a 256-high atlas.
FRect AtlasTileSource(const AtlasTile& tile, int tileSize, int width, int height);

// Shortest path lengths over the field's cells (steps of 1 straight, the square root of 2
// diagonally) from the origin; UNREACHED where no path leads. The grid is indexed [x][y].
using ShineGrid = std::array<std::array<float, MAX_FIELD_Y>, MAX_FIELD_X>;
constexpr float SHINE_UNREACHED = 196.0f;
ShineGrid ShineDistances(const std::function<bool(int, int)>& inField, int originX, int originY);
