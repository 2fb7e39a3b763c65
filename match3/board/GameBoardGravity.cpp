// Gravity: straight falls, births, diagonal slides, new pieces and birth cells.
#include <algorithm>

#include "core/Assert.h"
#include "match3/board/GameBoard.h"

void GameBoard::StartFalls() {
    bool slid = true;
    while (slid) {
        std::array<std::array<bool, MAX_FIELD_Y>, MAX_FIELD_X> fixed{};
        bool moved = false;
        slid = false;

        for (int x = 0; x < _sizeX; ++x) {
            for (int y = _sizeY - 1; y >= 0; --y) {
                const int k = GetEmptyKind(x, y);
                if (k == KIND_EMPTY) {
                    int t = y;
                    while (t > 0 && GetEmptyKind(x, t - 1) == KIND_EMPTY) --t;
                    if (t == 0) continue;
                    const int a = GetEmptyKind(x, t - 1);
                    if (a == KIND_RESTING) {
                        SwapCells(x, t, x, t - 1);
                        CellAction(x, t, CELL_STOP);
                        StartMoveBetween(x, t, x, t - 1, 1.0f, 1.0f, 1.0f, 1,
                                         static_cast<float>(y) * _tuning.DELTA_SPEED +
                                             _index[x][t - 1]._speed);
                        moved = true;
                        for (int j = t; j <= y; ++j) fixed[x][j] = true;
                    } else if (a == KIND_BIRTH) {
                        for (int j = t; j <= y; ++j) fixed[x][j] = true;
                    } else if (IsMovingPiece(x, t - 1)) {
                        for (int j = t; j <= y; ++j) fixed[x][j] = true;
                    }
                } else if (k == KIND_BIRTH) {
                    const int c = _chips.empty()
                                      ? 0
                                      : _chips[static_cast<std::size_t>(
                                            _random.Modulo(static_cast<int>(_chips.size())))];
                    NewPiece(x, y, 0, _index[x][y]._painted, false, c);
                    StartMoveBetween(x, y, x, y - 1, 0.0f, 1.0f, _tuning.HIDE_TIME, 1,
                                     _tuning.PIECE_SPEED);
                    moved = true;
                }
            }
        }

        for (int y = _sizeY - 1; y >= 1 && !slid; --y) {
            for (int x = 0; x < _sizeX && !slid; ++x) {
                if (GetEmptyKind(x, y) != KIND_EMPTY || fixed[x][y]) continue;
                const bool left = GetEmptyKind(x - 1, y - 1) == KIND_RESTING && !fixed[x - 1][y - 1];
                const bool right = x + 1 < MAX_FIELD_X && GetEmptyKind(x + 1, y - 1) == KIND_RESTING &&
                                   !fixed[x + 1][y - 1];
                if (!left && !right) continue;
                int s = left ? x - 1 : x + 1;
                if (left && right) s = _random.Modulo(2) == 0 ? x - 1 : x + 1;
                SwapCells(s, y - 1, x, y);
                CellAction(s, y - 1, CELL_STOP);
                StartMoveBetween(x, y, s, y - 1, 1.0f, 1.0f, 1.0f, 3,
                                 _index[s][y - 1]._speed + _tuning.DELTA_SPEED);
                slid = true;
            }
        }

        if (moved && _hasMove) _hasMove = false;
    }
}

void GameBoard::NewPiece(int x, int y, int locks, int painted, bool random, int color) {
    if (!InBoard(x, y)) return;
    FieldCell& cell = _index[x][y];
    cell._locks = locks;
    cell._painted = painted;
    cell._hideTime = _tuning.HIDE_TIME;
    cell._idleTimer = 0.0f;
    cell._speed = _tuning.PIECE_SPEED;
    cell._bonus = NO_BONUS;
    _motion.ResetPiece(x, y);
    int c = color;
    if (random) {
        // Only colours that make no line with the two cells above or the two to the left; when
        // every colour would, any colour of the set.
        std::vector<int> allowed;
        for (int chip : _chips) {
            const bool above = InField(x, y - 1) && InField(x, y - 2) && _index[x][y - 1]._color == chip &&
                               _index[x][y - 2]._color == chip;
            const bool left = InField(x - 1, y) && InField(x - 2, y) && _index[x - 1][y]._color == chip &&
                              _index[x - 2][y]._color == chip;
            if (!above && !left) allowed.push_back(chip);
        }
        const std::vector<int>& from = allowed.empty() ? _chips : allowed;
        Assert(!from.empty());
        c = from.empty() ? 0 : from[static_cast<std::size_t>(_random.Modulo(static_cast<int>(from.size())))];
    } else {
        Assert(color >= 0);
        if (color < 0) {
            cell._color = EMPTY_CELL;
            return;
        }
    }
    cell._color = c;
    _motion.SetChipPicture(x, y, c);
}

void GameBoard::CellAction(int x, int y, int action) {
    if (!InBoard(x, y)) return;
    FieldCell& cell = _index[x][y];
    if (cell._bonus != NO_BONUS) return;
    switch (action) {
        case CELL_STOP:
            _motion.Stop(x, y);
            break;
        case CELL_IDLE:
            if (cell._idleTimer < 0.0f && !_motion.IsBusy(x, y)) {
                _motion.PlayAnimation(x, y, 36, 71, 0, 0.0f, 40.0f);
                cell._idleTimer = 1.2f;
            }
            break;
        case CELL_SELECTED:
            _motion.PlayAnimation(x, y, 1, 35, 4, 0.0f, 40.0f);
            break;
        case CELL_LANDING:
            _motion.PlayAnimation(x, y, 0, 0, 2,
                                  _tuning.SOFT * std::min(cell._speed, 5.0f * _tuning.PIECE_SPEED), 40.0f);
            cell._speed = _tuning.PIECE_SPEED;
            break;
        case CELL_TURN:
            _motion.PlayAnimation(x, y, 1, 35, 0, 0.0f, 40.0f);
            break;
        default:
            break;
    }
}

bool GameBoard::IsFedFromAbove(int x, int y) const {
    if (y <= 0) return false;
    for (int px = x - 1; px <= x + 1; ++px) {
        if (InField(px, y - 1) && (IsFedFromAbove(px, y - 1) || _index[px][y - 1]._born)) return true;
    }
    return false;
}

void GameBoard::ResetBornPoints() {
    for (int pass = 0; pass < 2; ++pass) {
        for (int x = 0; x < _sizeX; ++x) {
            for (int y = 0; y < _sizeY; ++y) {
                if (_index[x][y]._color != NO_CELL) _index[x][y]._born = !IsFedFromAbove(x, y);
            }
        }
    }
}
