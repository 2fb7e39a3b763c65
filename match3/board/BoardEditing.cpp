#include "match3/board/BoardEditing.h"

#include <algorithm>
#include <utility>

#include "core/Assert.h"
#include "core/XmlNode.h"

bool ApplyEditorTool(int tool, bool erase, bool& born, int& color, int& painted, int& locks) {
    if (tool >= EDITOR_FIRST_COMMAND) return false;
    if (!erase) {
        switch (tool) {
            case 0: break;
            case 1: born = true; break;
            case 2: painted = 1; break;
            case 3: painted = 2; break;
            case 4: locks = 1; break;
            case 5: locks = 2; break;
            default: return true;
        }
        color = EMPTY_CELL;
        return true;
    }
    switch (tool) {
        case 0:
        case 2:
        case 3:
            if (color == NO_CELL) break;
            if (painted > 0) {
                --painted;
            } else {
                color = NO_CELL;
                born = false;
                locks = 0;
            }
            break;
        case 1: born = false; break;
        case 4:
        case 5:
            if (locks > 0) --locks;
            break;
        default: break;
    }
    return true;
}

bool ReshapeBoard(GameBoard& board, int sizeX, int sizeY, int dx, int dy) {
    if (sizeX < 0 || sizeY < 0 || sizeX > MAX_FIELD_X || sizeY > MAX_FIELD_Y) {
        ReportError("Board of " + std::to_string(sizeX) + "x" + std::to_string(sizeY) + " is outside " +
                    std::to_string(MAX_FIELD_X) + "x" + std::to_string(MAX_FIELD_Y));
        return false;
    }
    std::vector<std::pair<BoardPoint, FieldCell>> kept;
    for (int x = 0; x < board.GetSizeX(); ++x) {
        for (int y = 0; y < board.GetSizeY(); ++y) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx >= 0 && nx < sizeX && ny >= 0 && ny < sizeY) kept.push_back({{nx, ny}, board.Cell(x, y)});
        }
    }
    board.ResizeBoard(sizeX, sizeY);
    for (const auto& entry : kept) board.Cell(entry.first.x, entry.first.y) = entry.second;
    return true;
}

namespace {

bool IsHoleColumn(const GameBoard& board, int x) {
    for (int y = 0; y < board.GetSizeY(); ++y) {
        if (board.Cell(x, y)._color != NO_CELL) return false;
    }
    return true;
}

bool IsHoleRow(const GameBoard& board, int y) {
    for (int x = 0; x < board.GetSizeX(); ++x) {
        if (board.Cell(x, y)._color != NO_CELL) return false;
    }
    return true;
}

}  // namespace

void TrimBoard(GameBoard& board) {
    // Each loop stops at size 0: an empty line of cells counts as holes only.
    while (board.GetSizeX() > 0 && IsHoleColumn(board, 0)) {
        ReshapeBoard(board, board.GetSizeX() - 1, board.GetSizeY(), -1, 0);
    }
    while (board.GetSizeX() > 0 && IsHoleColumn(board, board.GetSizeX() - 1)) {
        ReshapeBoard(board, board.GetSizeX() - 1, board.GetSizeY(), 0, 0);
    }
    while (board.GetSizeY() > 0 && IsHoleRow(board, 0)) {
        ReshapeBoard(board, board.GetSizeX(), board.GetSizeY() - 1, 0, -1);
    }
    while (board.GetSizeY() > 0 && IsHoleRow(board, board.GetSizeY() - 1)) {
        ReshapeBoard(board, board.GetSizeX(), board.GetSizeY() - 1, 0, 0);
    }
    if (board.GetSizeX() == 0 || board.GetSizeY() == 0) board.ResizeBoard(0, 0);
}

bool LevelCellLetter(const FieldCell& cell, char& letter) {
    letter = '0';
    if (cell._color == NO_CELL) return true;
    letter = 'a';
    if (cell._painted < 0 || cell._painted > 2 || cell._locks < 0 || cell._locks > 2) return false;
    letter = static_cast<char>('a' + cell._painted * 3 + cell._locks);
    if (cell._born) letter = static_cast<char>(letter - 'a' + 'A');
    return true;
}

std::vector<std::string> BoardLevelLines(const GameBoard& board) {
    std::vector<std::string> lines;
    for (int y = 0; y < board.GetSizeY(); ++y) {
        std::string line;
        for (int x = 0; x < board.GetSizeX(); ++x) {
            char letter = 'a';
            if (!LevelCellLetter(board.Cell(x, y), letter)) {
                ReportError("Cell " + std::to_string(x) + "," + std::to_string(y) + " has paint " +
                            std::to_string(board.Cell(x, y)._painted) + " and locks " +
                            std::to_string(board.Cell(x, y)._locks) + ": no level letter");
            }
            line += letter;
        }
        lines.push_back(line);
    }
    return lines;
}

void AppendLevel(const ObjectWeakPointer<XmlElement>& root, const std::string& id, int time,
                 const std::string& chips, const std::vector<std::string>& lines) {
    ObjectSmartPointer<XmlElement> level(new XmlElement("Level"));
    level->SetStringAttribute("id", id);
    level->SetIntAttribute("time", time);
    level->SetStringAttribute("chips", chips);
    for (const std::string& text : lines) {
        ObjectSmartPointer<XmlElement> line(new XmlElement("Line"));
        line->AppendChild(ObjectSmartPointer<XmlNode>(new XmlText(text)));
        level->AppendChild(line);
    }
    root->AppendChild(level);
}

void SortLevelsById(const ObjectWeakPointer<XmlElement>& root) {
    std::vector<std::pair<std::string, ObjectSmartPointer<XmlNode>>> levels;
    ObjectWeakPointer<XmlElement> level = root->GetFirstChildElement("Level");
    while (level != NULL) {
        const ObjectWeakPointer<XmlElement> next = level->GetNextElement("Level");
        const std::string id = level->GetStringAttributeOrDef("id", "");
        levels.push_back({id, level->Remove()});
        level = next;
    }
    // std::string compares its characters as unsigned bytes.
    std::stable_sort(levels.begin(), levels.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    for (const auto& entry : levels) root->AppendChild(entry.second);
}
