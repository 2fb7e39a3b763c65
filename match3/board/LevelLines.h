#pragma once
// The text form of a level's shape (one line of cell letters per row) and of a chip set.

#include <string>
#include <vector>

#include "match3/board/BoardTypes.h"

struct LevelShapeCell {
    bool hole = false;
    bool born = false;
    int locks = 0;
    int painted = 0;
};

struct LevelShape {
    int sizeX = 0;
    int sizeY = 0;
    // [y][x]
    std::vector<std::vector<LevelShapeCell>> cells;
};

// One cell letter: "0" a hole; "a".."i" a cell with locks and paint; capitals set the birth flag.
// False for a letter outside the table (the cell is then a plain "a").
bool ParseLevelCell(char letter, LevelShapeCell& cell);

// The rows of a level, top row first. A level without lines, with an empty line, with lines of
// unequal length, larger than 15 x 13 or with a letter outside the cell table is reported and
// rejected (the shape is left empty).
bool ParseLevelLines(const std::vector<std::string>& lines, LevelShape& shape);

// The colours of a chip-set string: "0".."9" are 0..9, any other character its code - 55.
// Only colours 0..8 have pieces: others are reported and left out. A set with fewer than three
// different usable colours is reported and rejected.
bool ParseChipSet(const std::string& chips, std::vector<int>& colors);
