// Move search, recolouring when no move is left, swap-back and the lightning piece.
#include "core/Assert.h"
#include "match3/board/GameBoard.h"

int GameBoard::RunLength(int x, int y, int color, bool horizontal) const {
    const int dx = horizontal ? 1 : 0;
    const int dy = horizontal ? 0 : 1;
    int count = 1;
    for (int i = x + dx, j = y + dy; InField(i, j) && _index[i][j]._color == color; i += dx, j += dy) {
        ++count;
    }
    for (int i = x - dx, j = y - dy; InField(i, j) && _index[i][j]._color == color; i -= dx, j -= dy) {
        ++count;
    }
    return count;
}

bool GameBoard::FindAvailableMove() {
    if (_hasMove) return true;
    BoardEvent reset;
    reset.type = BoardEventType::HintClocksReset;
    Emit(reset);
    std::vector<std::pair<BoardPoint, BoardPoint>> moves;
    static const int NEIGHBOURS[4][2] = {{-1, 0}, {0, -1}, {0, 1}, {1, 0}};
    for (int x = 0; x < _sizeX; ++x) {
        for (int y = 0; y < _sizeY; ++y) {
            if (!InField(x, y)) continue;
            FieldCell& cell = _index[x][y];
            const int c = cell._color;
            if (c < 0 || c >= 16 || cell._locks != 0) continue;
            for (const auto& d : NEIGHBOURS) {
                const int nx = x + d[0];
                const int ny = y + d[1];
                if (!InField(nx, ny)) continue;
                FieldCell& other = _index[nx][ny];
                const int u = other._color;
                if (u < 0 || other._locks != 0 || u == c) continue;
                other._color = c;
                cell._color = u;
                int count = RunLength(x, y, u, true);
                if (count < 3) count = RunLength(x, y, u, false);
                if (count >= 3) moves.push_back({{x, y}, {nx, ny}});
                cell._color = c;
                other._color = u;
            }
        }
    }
    if (moves.empty()) return false;
    _hintMove = moves[static_cast<std::size_t>(_random.Modulo(static_cast<int>(moves.size())))];
    return true;
}

void GameBoard::Recolour() {
    for (int tries = 0;; ++tries) {
        for (int x = 0; x < _sizeX; ++x) {
            for (int y = 0; y < _sizeY; ++y) {
                const FieldCell& cell = _index[x][y];
                if (cell._color >= 0 && cell._color < 16) {
                    NewPiece(x, y, cell._locks, cell._painted, true, -1);
                }
            }
        }
        _hasMove = false;
        _hasMove = FindAvailableMove();
        if (_hasMove) return;
        if (tries + 1 >= RECOLOUR_TRIES) {
            ReportError("No move after recolouring the field " + std::to_string(RECOLOUR_TRIES) + " times");
            return;
        }
    }
}

void GameBoard::NoMovesReshuffle(bool announce, bool force) {
    if (announce) {
        _reshufflePending = true;
        Message("fieldReminder", "set delay 2.2");
        Message("fieldReminder", "set message Reshufle");
        Message("fieldReminder", "report to GameField");
        Particle("NoMovesReshuffle", 0, {400, 400});
        Sound("no_more_moves", PAN_OWN);
        ++_reshuffleCount;
        _timerStopped = true;
        return;
    }
    // The colours before recolouring (-1 where no normal piece is).
    std::vector<std::vector<int>> snapshot(static_cast<std::size_t>(_sizeX),
                                           std::vector<int>(static_cast<std::size_t>(_sizeY), -1));
    if (!force) {
        BoardEvent e;
        e.type = BoardEventType::ReshuffleSnapshot;
        Emit(e);
        for (int x = 0; x < _sizeX; ++x) {
            for (int y = 0; y < _sizeY; ++y) {
                const int c = _index[x][y]._color;
                if (c >= 0 && c < 16) snapshot[x][y] = c;
            }
        }
    }
    Recolour();
    BoardEvent restart;
    restart.type = BoardEventType::MoveHintRestart;
    Emit(restart);
    if (!force) AnimateReshuffle(snapshot);
}

void GameBoard::AnimateReshuffle(const std::vector<std::vector<int>>& snapshot) {
    Sound("resuffle", PAN_OWN);
    const std::size_t sx = static_cast<std::size_t>(_sizeX);
    const std::size_t sy = static_cast<std::size_t>(_sizeY);
    std::vector<std::vector<int>> busy(sx, std::vector<int>(sy, 4));
    std::vector<std::vector<BoardPoint>> partner(sx, std::vector<BoardPoint>(sy));
    auto hasSnapshot = [&](int x, int y) { return InField(x, y) && snapshot[x][y] >= 0; };
    for (int x = _sizeX - 1; x >= 0; --x) {
        for (int y = _sizeY - 1; y >= 0; --y) {
            if (!hasSnapshot(x, y)) continue;
            busy[x][y] = 0;
            BoardPoint chosen{x, y};
            for (int attempt = 0; attempt < 12; ++attempt) {
                const int px = x + _random.RandomIntRange(-2, 3);
                const int py = y + _random.RandomIntRange(-2, 3);
                if (hasSnapshot(px, py) && (busy[px][py] & 2) == 0) {
                    chosen = {px, py};
                    break;
                }
            }
            busy[chosen.x][chosen.y] |= 2;
            busy[x][y] |= 1;
            partner[x][y] = chosen;
        }
    }
    for (int x = 0; x < _sizeX; ++x) {
        for (int y = 0; y < _sizeY; ++y) {
            if (!hasSnapshot(x, y)) continue;
            StartMoveBetween(x, y, x, y, 0.0f, 0.0f, 1.1f, 4, 0.0f);
            const BoardPoint p = partner[x][y];
            const BoardFPoint to{static_cast<float>(_absolutePos.x) + CellX(x) + 21.0f,
                                 static_cast<float>(_absolutePos.y) + CellY(y) + 21.0f};
            const BoardFPoint from{static_cast<float>(_absolutePos.x) + CellX(p.x) + 21.0f,
                                   static_cast<float>(_absolutePos.y) + CellY(p.y) + 21.0f};
            BoardEvent e;
            e.type = BoardEventType::Effect;
            e.name = "ReplacePieceEffect";
            e.layer = -1;
            e.duration = 1.1f;
            if (busy[x][y] == 1) {
                // The old piece fades where it stood.
                e.cell = {x, y};
                e.other = {x, y};
                e.pos = to;
                e.path = {to, to};
                e.value = 0;
                Emit(e);
            }
            if (busy[x][y] == 1 || busy[x][y] == 3) {
                // The partner's old piece flies in and turns into the new one.
                e.cell = {x, y};
                e.other = p;
                e.pos = to;
                e.path = {from, to};
                e.value = 1;
                Emit(e);
            }
        }
    }
}

void GameBoard::SwapBack(int x0, int y0, int x1, int y1) {
    if (!InBoard(x0, y0) || !InBoard(x1, y1)) return;
    Sound("item_wrong", ColumnPan(x0));
    SwapCells(x0, y0, x1, y1);
    StartMoveBetween(x1, y1, x0, y0, 1.0f, 1.0f, _tuning.EXCHANGE_TIME, 5, 0.0f);
    StartMoveBetween(x0, y0, x1, y1, 1.0f, 1.0f, _tuning.EXCHANGE_TIME, 5, 0.0f);
}

bool GameBoard::PlaceLightning() {
    std::vector<BoardPoint> candidates;
    for (int x = 0; x < _sizeX; ++x) {
        for (int y = 0; y < _sizeY; ++y) {
            if (!InField(x, y) || _index[x][y]._bonus != NO_BONUS || _index[x][y]._locks > 0) continue;
            const int around[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            bool nextToPiece = false;
            for (const auto& n : around) {
                if (InField(n[0], n[1]) && _index[n[0]][n[1]]._color != EMPTY_CELL) nextToPiece = true;
            }
            if (nextToPiece) candidates.push_back({x, y});
        }
    }
    if (candidates.empty()) return false;
    const BoardPoint c = candidates[static_cast<std::size_t>(_random.RandomInt(static_cast<int>(candidates.size())))];
    ++_lightningCount;
    FieldCell& cell = _index[c.x][c.y];
    cell._color = LIGHTNING + BONUS_COLOR_BASE;
    cell._bonus = LIGHTNING;
    _motion.SetBonusPicture(c.x, c.y, LIGHTNING);
    _motion.PlayAnimation(c.x, c.y, 0, 31, 4, 0.0f, 40.0f);
    const BoardPoint centre = CellCentre(c.x, c.y);
    BoardEvent effect;
    effect.type = BoardEventType::Effect;
    effect.name = "CreateBombEffect";
    effect.layer = 1;
    effect.cell = c;
    effect.pos = {static_cast<float>(centre.x), static_cast<float>(centre.y)};
    Emit(effect);
    Sound("create_bonus", PAN_OWN);
    if (_player.definedHints.count("lighting_hint") == 0) {
        _player.definedHints.insert("lighting_hint");
        PlayerBool("lighting_hint", false);
        _hintPos = centre;
        DelayedMessage("GameField", "bomb_hint lighting", 0.65f);
    }
    _lightningDue = false;
    return true;
}
