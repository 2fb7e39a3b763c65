#pragma once
// The level editor's work on a board: the tools' paint and erase rules, growing and trimming the
// board's shape, and writing the shape back as a "Level" of the level file.

#include <string>
#include <vector>

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"
#include "match3/board/GameBoard.h"

// Editor button values: below this one a tool, from it on a command.
constexpr int EDITOR_FIRST_COMMAND = 16;

// Applies a tool to the values of one cell: painting (the left button) makes the cell a cell of
// the board (colour -1) with the tool's property (0 nothing more, 1 birth, 2 silver, 3 golden,
// 4 lock, 5 double lock); erasing (the right button) takes one level of that property away, and a
// cell without paint erased with tool 0, 2 or 3 becomes a hole. Tools 6 to 15 change nothing.
// False only for a command value.
bool ApplyEditorTool(int tool, bool erase, bool& born, int& color, int& painted, int& locks);

// Gives the board the new size and moves every cell by (dx, dy); cells moved outside the new
// size are dropped, cells that nothing moved into are holes. False (nothing changed) beyond 15 x 13.
bool ReshapeBoard(GameBoard& board, int sizeX, int sizeY, int dx, int dy);

// Removes the outer columns made of holes only (left first, then right), then the outer rows
// (top first, then bottom). A board of holes only becomes the empty board (0 x 0).
void TrimBoard(GameBoard& board);

// The level file's letter of a cell: '0' for a hole, else 'a' to 'i' by paint and locks, a
// capital for a birth cell. False (and 'a') for paint or locks outside 0..2.
bool LevelCellLetter(const FieldCell& cell, char& letter);

// The board's rows as level lines, top row first; a cell outside the letter table is reported.
std::vector<std::string> BoardLevelLines(const GameBoard& board);

// Appends a "Level" with "id", "time" and "chips" and one "Line" per row to the root.
void AppendLevel(const ObjectWeakPointer<XmlElement>& root, const std::string& id, int time,
                 const std::string& chips, const std::vector<std::string>& lines);

// Puts the root's "Level" children in rising byte order of their "id"; equal ids keep their
// order, and the root's other children stay before them.
void SortLevelsById(const ObjectWeakPointer<XmlElement>& root);
