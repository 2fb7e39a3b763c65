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

// What is wrong with a level or a chip set: the text, and the level's line (0-based, -1 for the
// level as a whole) and column (0-based) it concerns.
struct LevelProblem {
    std::string text;
    int line = -1;
    int column = -1;
};

struct LevelShape {
    int sizeX = 0;
    int sizeY = 0;
    // [y][x]
    std::vector<std::vector<LevelShapeCell>> cells;
    // Letters outside the cell table, read as plain cells: how many, and the first of them.
    int unknownLetters = 0;
    LevelProblem firstUnknown;
};

// One cell letter: "0" a hole; "a".."i" a cell with locks and paint; capitals set the birth flag.
// False for a letter outside the table (the cell is then a plain "a").
bool ParseLevelCell(char letter, LevelShapeCell& cell);

// The rows of a level, top row first. A level without lines, with an empty line, with lines of
// unequal length or larger than 15 x 13 is rejected (false, the shape left empty, the problem
// told); a letter outside the cell table reads as a plain cell and is counted in the shape. Nothing
// is reported here: the caller knows the file.
bool ParseLevelLines(const std::vector<std::string>& lines, LevelShape& shape, LevelProblem& problem);

// Entries of a chip set beyond the colours with pieces serve no level.
constexpr int MAX_CHIP_SET_ENTRIES = CHIP_COLOR_COUNT;

// The chip set a level can use from the text of a "chips" attribute: characters without a piece
// are left out and the set ends after MAX_CHIP_SET_ENTRIES usable entries (what was left out or cut
// goes into note). False, with the problem, for a set with fewer than three different colours.
bool UsableChipSet(const std::string& chips, std::string& usable, std::string& note);

// The colours of a chip-set string: "0".."9" are 0..9, any other character its code - 55.
// Only colours 0..8 have pieces: others are left out. False (no colours) for a set with fewer than
// three different usable colours.
bool ParseChipSet(const std::string& chips, std::vector<int>& colors);
