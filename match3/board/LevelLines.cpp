#include "match3/board/LevelLines.h"

#include <algorithm>
#include <utility>

bool ParseLevelCell(char letter, LevelShapeCell& cell) {
    cell = LevelShapeCell();
    if (letter == '0') {
        cell.hole = true;
        return true;
    }
    char lower = letter;
    if (letter >= 'A' && letter <= 'I') {
        cell.born = true;
        lower = static_cast<char>(letter - 'A' + 'a');
    }
    if (lower < 'a' || lower > 'i') return false;
    const int code = lower - 'a';
    cell.painted = code / 3;
    cell.locks = code % 3;
    return true;
}

bool ParseLevelLines(const std::vector<std::string>& lines, LevelShape& shape, LevelProblem& problem) {
    shape = LevelShape();
    problem = LevelProblem();
    if (lines.empty() || lines[0].empty()) {
        problem.text = "the level has no cells";
        problem.line = lines.empty() ? -1 : 0;
        return false;
    }
    const std::size_t width = lines[0].size();
    if (width > static_cast<std::size_t>(MAX_FIELD_X) || lines.size() > static_cast<std::size_t>(MAX_FIELD_Y)) {
        problem.text = "the level is larger than " + std::to_string(MAX_FIELD_X) + " x " + std::to_string(MAX_FIELD_Y) +
                       ": " + std::to_string(width) + " x " + std::to_string(lines.size());
        problem.line = width > static_cast<std::size_t>(MAX_FIELD_X) ? 0 : MAX_FIELD_Y;
        return false;
    }
    for (std::size_t y = 0; y < lines.size(); ++y) {
        if (lines[y].size() != width) {
            problem.text = "level line " + std::to_string(y + 1) + " has " + std::to_string(lines[y].size()) +
                           " cells, the first has " + std::to_string(width);
            problem.line = static_cast<int>(y);
            return false;
        }
    }
    LevelShape parsed;
    parsed.sizeX = static_cast<int>(width);
    parsed.sizeY = static_cast<int>(lines.size());
    parsed.cells.resize(lines.size());
    for (std::size_t y = 0; y < lines.size(); ++y) {
        parsed.cells[y].resize(width);
        for (std::size_t x = 0; x < width; ++x) {
            if (ParseLevelCell(lines[y][x], parsed.cells[y][x])) continue;
            // Read as a plain cell.
            ParseLevelCell('a', parsed.cells[y][x]);
            if (parsed.unknownLetters++ == 0) {
                parsed.firstUnknown.text = "level line " + std::to_string(y + 1) + " has the unknown cell letter '" +
                                           std::string(1, lines[y][x]) + "' in column " + std::to_string(x + 1);
                parsed.firstUnknown.line = static_cast<int>(y);
                parsed.firstUnknown.column = static_cast<int>(x);
            }
        }
    }
    shape = std::move(parsed);
    return true;
}

namespace {

// The colour of a chip-set character, or -1 when it has no piece.
int ChipColor(char ch) {
    const int color = (ch >= '0' && ch <= '9') ? ch - '0' : static_cast<unsigned char>(ch) - 55;
    return color >= 0 && color < CHIP_COLOR_COUNT ? color : -1;
}

// A set longer than this is not looked at further: it is far beyond what a level can use.
constexpr std::size_t CHIP_SET_SCAN = 64;

}  // namespace

bool UsableChipSet(const std::string& chips, std::string& usable, std::string& note) {
    usable.clear();
    note.clear();
    int leftOut = 0;
    std::size_t i = 0;
    for (; i < chips.size() && i < CHIP_SET_SCAN && usable.size() < static_cast<std::size_t>(MAX_CHIP_SET_ENTRIES); ++i) {
        if (ChipColor(chips[i]) < 0) {
            ++leftOut;
        } else {
            usable += chips[i];
        }
    }
    if (leftOut > 0) note = std::to_string(leftOut) + " characters without a piece left out";
    if (i < chips.size()) {
        if (!note.empty()) note += ", ";
        note += "cut after " + std::to_string(usable.size()) + " entries of " + std::to_string(chips.size());
    }
    std::vector<int> colors;
    if (!ParseChipSet(usable, colors)) {
        note = "fewer than 3 colours with pieces";
        usable.clear();
        return false;
    }
    return true;
}

bool ParseChipSet(const std::string& chips, std::vector<int>& colors) {
    colors.clear();
    for (char ch : chips) {
        const int color = ChipColor(ch);
        if (color >= 0) colors.push_back(color);
    }
    std::vector<int> distinct = colors;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (distinct.size() < 3) {
        colors.clear();
        return false;
    }
    return true;
}
