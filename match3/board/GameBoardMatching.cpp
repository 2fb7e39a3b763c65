// Matches: connected runs of three or more normal pieces of one colour, and the bonus pieces
// that long matches leave behind.
#include "core/Assert.h"
#include "match3/board/GameBoard.h"

namespace {

const char* const MATCH_COST_KEYS[] = {"clearMatch3", "clearMatch4", "clearMatch5", "clearMatch6",
                                       "clearMatch7"};

struct BonusHint {
    const char* name;
    const char* message;
};

const BonusHint BONUS_HINTS[] = {
    {"fire_cracker_hint", "bomb_hint fire_cracker"},
    {"black_bomb_hint", "bomb_hint black_bomb"},
    {"dynamit_hint", "bomb_hint dynamit"},
    {"nuke_hint", "bomb_hint nuke"},
};

const char* const SLOW_MOTION_PLAYER = "Corvanex17";

}  // namespace

bool GameBoard::InPoints(int x, int y) const {
    for (const BoardPoint& p : _points) {
        if (p.x == x && p.y == y) return true;
    }
    return false;
}

void GameBoard::AddPoint(int x, int y) {
    if (!InPoints(x, y)) _points.push_back({x, y});
}

bool GameBoard::ColumnRun(int x, int y, int c) {
    int top = y;
    while (top - 1 >= 0 && _index[x][top - 1]._color == c && !_visited[x][top - 1]) --top;
    int bottom = y;
    while (bottom + 1 < _sizeY && _index[x][bottom + 1]._color == c && !_visited[x][bottom + 1]) {
        ++bottom;
    }
    if (bottom - top + 1 < 3) return false;
    for (int j = top; j <= bottom; ++j) {
        _visited[x][j] = true;
        AddPoint(x, j);
    }
    for (int j = top; j <= bottom; ++j) RowRun(x, j, c);
    return true;
}

bool GameBoard::RowRun(int x, int y, int c) {
    int left = x;
    while (left - 1 >= 0 && _index[left - 1][y]._color == c && !_visited[left - 1][y]) --left;
    int right = x;
    while (right + 1 < _sizeX && _index[right + 1][y]._color == c && !_visited[right + 1][y]) {
        ++right;
    }
    if (right - left + 1 < 3) return false;
    for (int i = left; i <= right; ++i) {
        _visited[i][y] = true;
        AddPoint(i, y);
    }
    for (int i = left; i <= right; ++i) ColumnRun(i, y, c);
    return true;
}

bool GameBoard::FindAndClearMatches() {
    bool found = false;
    for (auto& column : _visited) column.fill(false);
    for (int x = 0; x < _sizeX; ++x) {
        for (int y = 0; y < _sizeY; ++y) {
            const int c = _index[x][y]._color;
            if (!InField(x, y) || _visited[x][y] || c < 0 || c >= 16) continue;
            _points.clear();
            if (!ColumnRun(x, y, c) && !RowRun(x, y, c)) continue;
            found = true;
            const std::vector<BoardPoint>& points = _points;
            Assert(points.size() >= 3);
            bool moving = false;
            for (const BoardPoint& p : _points) {
                if (IsMovingPiece(p.x, p.y)) moving = true;
            }
            if (moving) {
                _points.clear();
                continue;
            }
            ClearMatch();
        }
    }
    return found;
}

// The bonus cell of a match made without a swap: (avgX + 1, avgY + 1) when it belongs to the match
// and has at most one lock, otherwise a random cell among those with at most one lock.
bool GameBoard::ChooseBonusCell(bool swapCell, int avgX, int avgY, BoardPoint& cell) {
    if (swapCell) return true;
    if (InPoints(avgX + 1, avgY + 1) && _index[avgX + 1][avgY + 1]._locks <= 1) {
        cell = {avgX + 1, avgY + 1};
        return true;
    }
    std::vector<BoardPoint> candidates;
    for (const BoardPoint& p : _points) {
        if (_index[p.x][p.y]._locks <= 1) candidates.push_back(p);
    }
    if (candidates.empty()) return false;
    cell = candidates[_random.RandomInt(static_cast<int>(candidates.size()))];
    return true;
}

int GameBoard::ChooseBonusKind(int n, bool swapCell) {
    int& a = _player.haveCrakerLastLevelFallIn;
    int& b = _player.haveBlackBombLastLevelDone;
    int kind = 0;
    if (!swapCell && (n == 5 || a <= 0)) {
        kind = FIRE_CRACKER;
        if (a == -1) {
            a = 0;
            PlayerInt("haveCrakerLastLevelFallIn", a);
        }
    } else if ((!swapCell && n >= 6) || (swapCell && n == 5) || (swapCell && b == -1)) {
        kind = BLACK_BOMB;
        if (b == -1) {
            b = 0;
            PlayerInt("haveBlackBombLastLevelDone", b);
        }
    } else if (swapCell && n == 6) {
        kind = DYNAMITE;
    } else if (swapCell && n >= 7) {
        kind = NUKE;
    } else {
        Assert(false);
    }
    return kind;
}

void GameBoard::ClearMatch() {
    const int n = static_cast<int>(_points.size());
    Sound("match", PAN_OWN);
    int sumX = 0;
    int sumY = 0;
    for (const BoardPoint& p : _points) {
        sumX += p.x;
        sumY += p.y;
    }
    const int avgX = n > 0 ? sumX / n : 0;
    const int avgY = n > 0 ? sumY / n : 0;

    bool swapCell = false;
    BoardPoint bonusCell;
    if (_selection.size() == 2) {
        const bool first = InPoints(_selection[0].x, _selection[0].y);
        const bool second = InPoints(_selection[1].x, _selection[1].y);
        if (first || second) {
            _swapMatched = true;
            swapCell = true;
            bonusCell = first ? _selection[0] : _selection[1];
        }
    }
    const int keyIndex = n < 3 ? 0 : (n > 7 ? 4 : n - 3);
    const std::string costKey = MATCH_COST_KEYS[keyIndex];

    if (n >= 5) {
        if (_player.activePlayerName == SLOW_MOTION_PLAYER) {
            BoardEvent e;
            e.type = BoardEventType::SlowMotion;
            e.duration = 2.5f;
            Emit(e);
        }
        BoardEvent curve;
        curve.type = BoardEventType::SlowMotionCurve;
        Emit(curve);
        if (ChooseBonusCell(swapCell, avgX, avgY, bonusCell)) {
            const int kind = ChooseBonusKind(n, swapCell);
            if (_allPaints > 0 && kind != 0) {
                ClearCell(bonusCell.x, bonusCell.y, costKey, false);
                for (std::size_t i = 0; i < _points.size(); ++i) {
                    if (_points[i] == bonusCell) {
                        _points.erase(_points.begin() + static_cast<long>(i));
                        break;
                    }
                }
                const BoardPoint centre = CellCentre(bonusCell.x, bonusCell.y);
                const BonusHint& hint = BONUS_HINTS[kind - 1];
                if (_player.definedHints.count(hint.name) == 0) {
                    _player.definedHints.insert(hint.name);
                    PlayerBool(hint.name, false);
                    _hintPos = centre;
                    DelayedMessage("GameField", hint.message, 0.65f);
                }
                FieldCell& cell = _index[bonusCell.x][bonusCell.y];
                cell._bonus = kind;
                cell._color = kind + BONUS_COLOR_BASE;
                _motion.SetBonusPicture(bonusCell.x, bonusCell.y, kind);
                StartMoveBetween(bonusCell.x, bonusCell.y, bonusCell.x, bonusCell.y, 0.0f, 1.0f, 0.7f, 4,
                                 0.0f);
                BoardEvent effect;
                effect.type = BoardEventType::Effect;
                effect.name = "CreateBombEffect";
                effect.layer = 1;
                effect.cell = bonusCell;
                effect.pos = {static_cast<float>(centre.x), static_cast<float>(centre.y)};
                Emit(effect);
                Sound("create_bonus", PAN_OWN);
            }
        }
    }
    const std::vector<BoardPoint> rest = _points;
    for (const BoardPoint& p : rest) ClearCell(p.x, p.y, costKey, false);
}
