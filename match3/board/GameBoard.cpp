#include "match3/board/GameBoard.h"

#include <cmath>

#include "core/Assert.h"

GameBoard::GameBoard(BoardRandom& random, PieceMotion& motion, BoardEventSink& sink)
    : _random(random), _motion(motion), _sink(sink) {}

GameBoard::GameBoard(PieceMotion& motion, BoardEventSink& sink)
    : _random(_gameRandom), _motion(motion), _sink(sink) {}

const FieldCell& GameBoard::Cell(int x, int y) const {
    const bool inside = x >= 0 && x < MAX_FIELD_X && y >= 0 && y < MAX_FIELD_Y;
    Assert(inside);
    if (!inside) return _outside;
    return _index[x][y];
}

FieldCell& GameBoard::Cell(int x, int y) {
    const bool inside = x >= 0 && x < MAX_FIELD_X && y >= 0 && y < MAX_FIELD_Y;
    Assert(inside);
    if (!inside) {
        _outside = FieldCell();
        return _outside;
    }
    return _index[x][y];
}

float GameBoard::Cost(const std::string& key) const {
    const auto it = _costs.find(key);
    return it == _costs.end() ? 0.0f : it->second;
}

// Events.

void GameBoard::Emit(const BoardEvent& event) { _sink.OnBoardEvent(event); }

void GameBoard::Sound(const std::string& name, int pan) {
    BoardEvent e;
    e.type = BoardEventType::Sound;
    e.name = name;
    e.pan = pan;
    Emit(e);
}

void GameBoard::SoundDefaultPan(const std::string& name) {
    BoardEvent e;
    e.type = BoardEventType::Sound;
    e.name = name;
    e.defaultPan = true;
    Emit(e);
}

void GameBoard::Particle(const std::string& name, int owner, BoardPoint pos) {
    BoardEvent e;
    e.type = BoardEventType::Particle;
    e.name = name;
    e.owner = owner;
    e.pos = {static_cast<float>(pos.x), static_cast<float>(pos.y)};
    Emit(e);
}

void GameBoard::DelayedMessage(const std::string& receiver, const std::string& text, float delay) {
    BoardEvent e;
    e.type = BoardEventType::DelayedMessage;
    e.name = receiver;
    e.text = text;
    e.delay = delay;
    Emit(e);
}

void GameBoard::Message(const std::string& receiver, const std::string& text) {
    BoardEvent e;
    e.type = BoardEventType::Message;
    e.name = receiver;
    e.text = text;
    Emit(e);
}

void GameBoard::PlayerInt(const std::string& name, int value) {
    BoardEvent e;
    e.type = BoardEventType::PlayerInt;
    e.name = name;
    e.value = value;
    Emit(e);
}

void GameBoard::PlayerBool(const std::string& name, bool value) {
    BoardEvent e;
    e.type = BoardEventType::PlayerBool;
    e.name = name;
    e.value = value ? 1 : 0;
    Emit(e);
}

void GameBoard::PlayerString(const std::string& name, const std::string& value) {
    BoardEvent e;
    e.type = BoardEventType::PlayerString;
    e.name = name;
    e.text = value;
    Emit(e);
}

void GameBoard::FloatingText(float x, float y, const std::string& text, float rise, float duration,
                             const std::string& font, float alphaPeak) {
    BoardEvent e;
    e.type = BoardEventType::Effect;
    e.name = "FloatingTextEffect";
    e.layer = 1;
    e.pos = {x, y};
    e.text = text;
    e.rise = rise;
    e.duration = duration;
    e.sizeFactor = 1.0f;
    e.resource = font;
    e.alphaPeak = alphaPeak;
    Emit(e);
}

void GameBoard::StartMoveBetween(int x, int y, int fromX, int fromY, float scaleFrom, float scaleTo,
                                 float duration, int mode, float ySpeed) {
    PieceMove move;
    move.x0 = CellX(fromX);
    move.y0 = CellY(fromY);
    move.x1 = CellX(x);
    move.y1 = CellY(y);
    move.scaleFrom = scaleFrom;
    move.scaleTo = scaleTo;
    move.duration = duration;
    move.mode = mode;
    move.ySpeed = ySpeed;
    _motion.StartMove(x, y, move);
}

// Shared operations.

bool GameBoard::InField(int x, int y) const {
    return InBoard(x, y) && _index[x][y]._color != NO_CELL;
}

float GameBoard::CellX(int x) const {
    return static_cast<float>(_cellSize * x + (_cellSize - 42) / 2);
}

float GameBoard::CellY(int y) const {
    return static_cast<float>((_sizeY - y - 1) * _cellSize + (_cellSize - 42) / 2);
}

BoardPoint GameBoard::CellCentre(int x, int y) const {
    return {_absolutePos.x + static_cast<int>(CellX(x)) + _cellSize / 2,
            _absolutePos.y + static_cast<int>(CellY(y)) + _cellSize / 2};
}

int GameBoard::ColumnPan(int x) const {
    return static_cast<int>(
        (static_cast<float>(_cellSize / 2 + _absolutePos.x) + CellX(x) - CellX(0)) * 0.25f - 100.0f);
}

bool GameBoard::IsMovingPiece(int x, int y) const { return _motion.IsMoving(x, y); }

int GameBoard::GetEmptyKind(int x, int y) const {
    if (!InField(x, y)) return KIND_BLOCKED;
    const FieldCell& cell = _index[x][y];
    if (cell._locks > 0) return KIND_BLOCKED;
    const bool moving = IsMovingPiece(x, y);
    if (cell._color != EMPTY_CELL && !moving) return KIND_RESTING;
    if (cell._color == EMPTY_CELL && cell._born && !moving) return KIND_BIRTH;
    if (cell._color == EMPTY_CELL && !moving) return KIND_EMPTY;
    return KIND_BLOCKED;
}

// CanBeFed of every cell at once, row by row: a cell can be fed when it is a birth cell, or when
// one of its three upper neighbours is a free cell of the board that can be fed.
void GameBoard::ComputeCanBeFed(FedGrid& fed) const {
    for (int y = 0; y < MAX_FIELD_Y; ++y) {
        for (int x = 0; x < MAX_FIELD_X; ++x) {
            bool result = _index[x][y]._born;
            if (!result && y > 0) {
                for (int px = x - 1; px <= x + 1 && !result; ++px) {
                    if (InField(px, y - 1) && _index[px][y - 1]._locks == 0 && fed[px][y - 1]) {
                        result = true;
                    }
                }
            }
            fed[x][y] = result;
        }
    }
}

bool GameBoard::CanBeFed(int x, int y) const {
    if (x < 0 || x >= MAX_FIELD_X || y < 0 || y >= MAX_FIELD_Y) return false;
    FedGrid fed{};
    ComputeCanBeFed(fed);
    return fed[x][y];
}

bool GameBoard::HasFillableEmpty() const {
    FedGrid fed{};
    ComputeCanBeFed(fed);
    for (int x = 0; x < _sizeX; ++x) {
        for (int y = 0; y < _sizeY; ++y) {
            if (_index[x][y]._color == EMPTY_CELL && fed[x][y]) return true;
        }
    }
    return false;
}

void GameBoard::SwapCells(int x0, int y0, int x1, int y1) {
    if (!InBoard(x0, y0) || !InBoard(x1, y1)) return;
    FieldCell& a = _index[x0][y0];
    FieldCell& b = _index[x1][y1];
    _motion.SwapPieces(x0, y0, x1, y1);
    std::swap(a._color, b._color);
    std::swap(a._bonus, b._bonus);
    std::swap(a._hideTime, b._hideTime);
    std::swap(a._idleTimer, b._idleTimer);
    const int i1 = x1, j1 = y1, i0 = x0, j0 = y0;
    Assert(_index[i1][j1]._color >= EMPTY_CELL && _index[i1][j1]._locks == 0);
    Assert(_index[i0][j0]._color >= EMPTY_CELL && _index[i0][j0]._locks == 0);
}

// Level set-up.

bool GameBoard::ResizeBoard(int sizeX, int sizeY) {
    if (sizeX < 0 || sizeY < 0 || sizeX > MAX_FIELD_X || sizeY > MAX_FIELD_Y) {
        ReportError("Field size " + std::to_string(sizeX) + "x" + std::to_string(sizeY) +
                    " is outside 15x13");
        return false;
    }
    _sizeX = sizeX;
    _sizeY = sizeY;
    for (auto& column : _index) {
        for (FieldCell& cell : column) cell = FieldCell();
    }
    _allPaints = 0;
    _silverCount = 0;
    _goldenCount = 0;
    return true;
}

void GameBoard::LoadCell(int x, int y, int color, bool born, int painted, int locks, int bonus) {
    if (!InBoard(x, y)) return;
    FieldCell& cell = _index[x][y];
    _motion.ResetPiece(x, y);
    const bool isChip = color >= 0 && color < CHIP_COLOR_COUNT;
    const bool isBonus = color > BONUS_COLOR_BASE && color <= BONUS_COLOR_BASE + LIGHTNING;
    if (color != NO_CELL && color != EMPTY_CELL && !isChip && !isBonus) {
        ReportError("Cell " + std::to_string(x) + "," + std::to_string(y) + ": colour " +
                    std::to_string(color) + " has no piece");
        color = EMPTY_CELL;
    }
    cell._color = color;
    cell._born = born;
    cell._painted = 0;
    cell._locks = 0;
    cell._bonus = NO_BONUS;
    if (color != NO_CELL) {
        if (painted < 0 || painted > 2) {
            ReportError("Cell " + std::to_string(x) + "," + std::to_string(y) + ": paint " +
                        std::to_string(painted));
            painted = painted < 0 ? 0 : 2;
        }
        cell._painted = painted;
        if (painted > 0) {
            ++_allPaints;
            ++_silverCount;
            if (painted == 2) ++_goldenCount;
        }
        if (color >= 0) {
            if (locks < 0 || locks > 2) {
                ReportError("Cell " + std::to_string(x) + "," + std::to_string(y) + ": locks " +
                            std::to_string(locks));
                locks = locks < 0 ? 0 : 2;
            }
            cell._locks = locks;
            const int expected = isBonus ? color - BONUS_COLOR_BASE : NO_BONUS;
            if (bonus != expected) {
                ReportError("Cell " + std::to_string(x) + "," + std::to_string(y) + ": bonus " +
                            std::to_string(bonus) + " with colour " + std::to_string(color));
            }
            cell._bonus = expected;
        }
    }
    if (cell._bonus != NO_BONUS) {
        _motion.SetBonusPicture(x, y, cell._bonus);
        if (cell._bonus == LIGHTNING) _motion.PlayAnimation(x, y, 0, 31, 4, 0.0f, 40.0f);
    } else if (cell._color >= 0) {
        _motion.SetChipPicture(x, y, cell._color);
    }
    cell._hideTime = _tuning.HIDE_TIME;
    cell._idleTimer = 0.0f;
    cell._speed = _tuning.PIECE_SPEED;
}

bool GameBoard::LoadLevelShape(const LevelShape& shape, const std::vector<int>& chips) {
    if (chips.empty()) {
        ReportError("Level without piece colours");
        return false;
    }
    if (shape.sizeX < 1 || shape.sizeY < 1 || shape.sizeX > MAX_FIELD_X || shape.sizeY > MAX_FIELD_Y ||
        static_cast<int>(shape.cells.size()) != shape.sizeY) {
        ReportError("Level shape of " + std::to_string(shape.sizeX) + "x" +
                    std::to_string(shape.sizeY) + " cells refused");
        return false;
    }
    for (const auto& row : shape.cells) {
        if (static_cast<int>(row.size()) != shape.sizeX) {
            ReportError("Level shape with rows of unequal length refused");
            return false;
        }
    }
    _silverCount = 0;
    _goldenCount = 0;
    _levelScore.Reset();
    _levelMoney.Reset();
    _detonations = 0;
    _selection.clear();
    _hintMove = {};
    _chips = chips;
    _allPaints = 0;
    _highestLock = 0;
    _sizeX = shape.sizeX;
    _sizeY = shape.sizeY;
    for (int y = 0; y < _sizeY; ++y) {
        for (int x = 0; x < _sizeX; ++x) {
            const LevelShapeCell& shapeCell = shape.cells[y][x];
            FieldCell& cell = _index[x][y];
            cell._born = shapeCell.born;
            cell._color = shapeCell.hole ? NO_CELL : EMPTY_CELL;
            const bool piece = !shapeCell.hole && (CanBeFed(x, y) || shapeCell.locks > 0);
            if (shapeCell.painted > 0) {
                ++_allPaints;
                ++_silverCount;
                if (shapeCell.painted == 2) ++_goldenCount;
            }
            if (shapeCell.locks > _highestLock) _highestLock = shapeCell.locks;
            if (piece) {
                NewPiece(x, y, shapeCell.locks, shapeCell.painted, true, -1);
            } else {
                cell._locks = shapeCell.locks;
                cell._painted = shapeCell.painted;
                cell._hideTime = _tuning.HIDE_TIME;
                cell._idleTimer = 0.0f;
                cell._speed = _tuning.PIECE_SPEED;
                cell._bonus = NO_BONUS;
                _motion.ResetPiece(x, y);
            }
        }
    }
    PlayerInt("silverCountInt", _silverCount);
    PlayerInt("goldenCountInt", _goldenCount);
    PlayerString("goldenCount", "x" + std::to_string(_goldenCount));
    PlayerString("silverCount", "x" + std::to_string(_silverCount));
    _hasMove = false;
    _hasMove = FindAvailableMove();
    return true;
}
