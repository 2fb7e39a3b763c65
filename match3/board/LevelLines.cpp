#include "match3/board/LevelLines.h"

#include <algorithm>
#include <utility>

#include "core/Assert.h"

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

bool ParseLevelLines(const std::vector<std::string>& lines, LevelShape& shape) {
    shape = LevelShape();
    if (lines.empty() || lines[0].empty()) {
        ReportError("Level has no cells");
        return false;
    }
    const std::size_t width = lines[0].size();
    if (width > static_cast<std::size_t>(MAX_FIELD_X) ||
        lines.size() > static_cast<std::size_t>(MAX_FIELD_Y)) {
        ReportError("Level is larger than " + std::to_string(MAX_FIELD_X) + "x" +
                    std::to_string(MAX_FIELD_Y) + ": " + std::to_string(width) + "x" +
                    std::to_string(lines.size()));
        return false;
    }
    for (std::size_t y = 0; y < lines.size(); ++y) {
        if (lines[y].size() != width) {
            ReportError("Level line " + std::to_string(y + 1) + " has " +
                        std::to_string(lines[y].size()) + " cells, the first has " +
                        std::to_string(width));
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
            if (!ParseLevelCell(lines[y][x], parsed.cells[y][x])) {
                ReportError("Level line " + std::to_string(y + 1) + " has the unknown cell letter '" +
                            std::string(1, lines[y][x]) + "' in column " + std::to_string(x + 1));
                return false;
            }
        }
    }
    shape = std::move(parsed);
    return true;
}

bool ParseChipSet(const std::string& chips, std::vector<int>& colors) {
    colors.clear();
    // One report for the whole set, however many characters are bad; a long set is named by its head.
    const std::string named = chips.size() <= 40 ? chips : chips.substr(0, 40) + "...";
    std::size_t bad = 0;
    char firstBad = 0;
    for (char ch : chips) {
        const int color = (ch >= '0' && ch <= '9') ? ch - '0' : static_cast<unsigned char>(ch) - 55;
        if (color < 0 || color >= CHIP_COLOR_COUNT) {
            if (bad++ == 0) firstBad = ch;
            continue;
        }
        colors.push_back(color);
    }
    if (bad > 0) {
        ReportError("Chip set \"" + named + "\": no piece for colour character '" + std::string(1, firstBad) + "'" +
                    (bad > 1 ? " (and " + std::to_string(bad - 1) + " more such characters)" : std::string()));
    }
    std::vector<int> distinct = colors;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (distinct.size() < 3) {
        ReportError("Chip set \"" + named + "\" has fewer than 3 colours");
        colors.clear();
        return false;
    }
    return true;
}
