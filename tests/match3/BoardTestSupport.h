#pragma once
// Test doubles of the board's three seams and a fixture that builds boards from level lines.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "match3/board/GameBoard.h"
#include "match3/board/LevelLines.h"

namespace board_test {

// Gives the scripted values in order, then 0.
class ScriptedRandom : public BoardRandom {
public:
    void Push(std::initializer_list<int> values) { _values.insert(_values.end(), values); }
    int Next() override {
        ++calls;
        if (_values.empty()) return 0;
        const int v = _values.front();
        _values.pop_front();
        return v;
    }
    int calls = 0;

private:
    std::deque<int> _values;
};

// A small linear congruential generator for many-seed runs.
class SeededRandom : public BoardRandom {
public:
    explicit SeededRandom(unsigned seed) : _state(seed) {}
    int Next() override {
        _state = _state * 1103515245u + 12345u;
        return static_cast<int>((_state >> 16) & 0x7FFF);
    }

private:
    unsigned _state = 1;
};

struct FakePiece {
    bool moving = false;
    bool animating = false;
    int picture = -1;  // chip colour, or 100 + bonus kind; -1 none
    int id = 0;        // which piece object this is
};

struct RecordedMove {
    int x = 0;
    int y = 0;
    PieceMove move;
};

class FakeMotion : public PieceMotion {
public:
    bool IsMoving(int x, int y) const override { return pieces[x][y].moving; }
    bool IsBusy(int x, int y) const override { return pieces[x][y].moving || pieces[x][y].animating; }
    void StartMove(int x, int y, const PieceMove& move) override {
        pieces[x][y].moving = true;
        moves.push_back({x, y, move});
    }
    void Stop(int x, int y) override {
        pieces[x][y].moving = false;
        pieces[x][y].animating = false;
    }
    void PlayAnimation(int x, int y, int first, int last, int mode, float, float) override {
        if (mode != 2) pieces[x][y].animating = true;
        animations.push_back({x, y, first, last, mode});
    }
    void ResetPiece(int x, int y) override { pieces[x][y] = FakePiece{false, false, -1, ++_nextId}; }
    void SetChipPicture(int x, int y, int color) override {
        pieces[x][y].picture = color;
        pieces[x][y].moving = false;
        pieces[x][y].animating = false;
    }
    void SetBonusPicture(int x, int y, int kind) override {
        pieces[x][y].picture = 100 + kind;
        pieces[x][y].moving = false;
        pieces[x][y].animating = false;
    }
    void SwapPieces(int x0, int y0, int x1, int y1) override { std::swap(pieces[x0][y0], pieces[x1][y1]); }

    // Every piece arrives.
    void ArriveAll() {
        for (auto& column : pieces) {
            for (FakePiece& p : column) p.moving = false;
        }
    }
    void SetMoving(int x, int y, bool moving) { pieces[x][y].moving = moving; }
    // Moves started with that mode.
    std::vector<RecordedMove> MovesOfMode(int mode) const {
        std::vector<RecordedMove> result;
        for (const RecordedMove& m : moves) {
            if (m.move.mode == mode) result.push_back(m);
        }
        return result;
    }

    FakePiece pieces[MAX_FIELD_X][MAX_FIELD_Y];
    std::vector<RecordedMove> moves;
    std::vector<std::array<int, 5>> animations;

private:
    int _nextId = 0;
};

class RecordingSink : public BoardEventSink {
public:
    void OnBoardEvent(const BoardEvent& event) override { events.push_back(event); }

    int Count(BoardEventType type, const std::string& name = "") const {
        int n = 0;
        for (const BoardEvent& e : events) {
            if (e.type == type && (name.empty() || e.name == name)) ++n;
        }
        return n;
    }
    std::vector<BoardEvent> All(BoardEventType type, const std::string& name = "") const {
        std::vector<BoardEvent> result;
        for (const BoardEvent& e : events) {
            if (e.type == type && (name.empty() || e.name == name)) result.push_back(e);
        }
        return result;
    }
    // The last player value event of that name, or nullptr.
    const BoardEvent* LastPlayerValue(const std::string& name) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if ((it->type == BoardEventType::PlayerInt || it->type == BoardEventType::PlayerBool ||
                 it->type == BoardEventType::PlayerString) &&
                it->name == name) {
                return &*it;
            }
        }
        return nullptr;
    }
    std::vector<BoardEvent> events;
};

// The board with its doubles. Load() takes the level's rows in the level-file alphabet and a
// contents grid of the same size: '0'..'8' a piece of that colour, '.' empty, 'F' 'B' 'D' 'N' 'L'
// a fire cracker, black bomb, dynamite, nuke or lightning; the contents of holes are not read.
struct BoardFixture {
    BoardFixture() : board(random, motion, sink) {
        auto& c = board.Costs();
        c["clearMatch3"] = 10;
        c["clearMatch4"] = 20;
        c["clearMatch5"] = 30;
        c["clearMatch6"] = 40;
        c["clearMatch7"] = 50;
        c["lock"] = 15;
        c["doubleLock"] = 25;
        c["fireCrackerClear"] = 5;
        c["blackBombClear"] = 6;
        c["dynamitClear"] = 7;
        c["nukeClear"] = 8;
        c["lightningClear"] = 9;
        c["multiplelExploids"] = 100;
        c["silver"] = 10;
        c["golden"] = 25;
    }

    void Load(const std::vector<std::string>& lines, const std::vector<std::string>& contents) {
        LevelShape shape;
        LevelProblem problem;
        ASSERT_TRUE(ParseLevelLines(lines, shape, problem));
        ASSERT_EQ(contents.size(), lines.size());
        ASSERT_TRUE(board.ResizeBoard(shape.sizeX, shape.sizeY));
        for (int y = 0; y < shape.sizeY; ++y) {
            ASSERT_EQ(contents[y].size(), lines[y].size());
            for (int x = 0; x < shape.sizeX; ++x) {
                const LevelShapeCell& shapeCell = shape.cells[y][x];
                const char ch = contents[y][x];
                int color = EMPTY_CELL;
                int bonus = NO_BONUS;
                if (shapeCell.hole) {
                    color = NO_CELL;
                } else if (ch >= '0' && ch <= '8') {
                    color = ch - '0';
                } else if (ch != '.') {
                    const std::string kinds = "FBDNL";
                    const auto k = kinds.find(ch);
                    EXPECT_NE(k, std::string::npos) << "contents letter " << ch;
                    bonus = static_cast<int>(k) + 1;
                    color = bonus + BONUS_COLOR_BASE;
                }
                board.LoadCell(x, y, color, shapeCell.born, shapeCell.painted, color >= 0 ? shapeCell.locks : 0, bonus);
            }
        }
        board.SetChips({0, 1, 2, 3, 4, 5});
        sink.events.clear();
        motion.moves.clear();
        motion.animations.clear();
    }

    // The board's colours as a grid in the contents alphabet ('#' for holes).
    std::vector<std::string> Contents() const {
        std::vector<std::string> rows;
        for (int y = 0; y < board.GetSizeY(); ++y) {
            std::string row;
            for (int x = 0; x < board.GetSizeX(); ++x) {
                const FieldCell& cell = board.Cell(x, y);
                if (cell._color == NO_CELL) {
                    row += '#';
                } else if (cell._color == EMPTY_CELL) {
                    row += '.';
                } else if (cell._bonus != NO_BONUS) {
                    row += "FBDNL"[cell._bonus - 1];
                } else {
                    row += static_cast<char>('0' + cell._color);
                }
            }
            rows.push_back(row);
        }
        return rows;
    }

    ScriptedRandom random;
    FakeMotion motion;
    RecordingSink sink;
    GameBoard board;
};

}  // namespace board_test
