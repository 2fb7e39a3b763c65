// Clearing a cell (locks, paint, the piece), bomb detonations and running explosions.
#include <algorithm>
#include <cmath>

#include "core/Assert.h"
#include "core/Int.h"
#include "match3/board/GameBoard.h"
#include "match3/board/LightningRun.h"

namespace {

struct BombKind {
    const char* costKey;
    int squaredRadius;
    const char* particle;
    const char* secondParticle;
    int secondOwner;
};

const BombKind BOMB_KINDS[] = {
    {"fireCrackerClear", 1, "FireCrackerEffect", "ChipRemoverBomb", 0},
    {"blackBombClear", 5, "BlackBombEffect", nullptr, 0},
    {"dynamitClear", 10, "DynamitEffect", "TerrificFallEffect", 1},
    {"nukeClear", 17, "NukeEffect", "SpectacularFallEffect", 1},
};

// The final radius of a bomb: the same float as the distance test of a cell on its rim.
float FinalRadius(int kind) {
    return std::sqrt(static_cast<float>(BOMB_KINDS[kind - 1].squaredRadius));
}

float CellDistance(int dx, int dy) { return std::sqrt(static_cast<float>(dx * dx + dy * dy)); }

// A decimal in the one form Int::Parse accepts (a malformed text is reported by it).
bool ParseDecimal(const std::string& text, int& value) {
    value = Int::Parse(text);
    return Int::ToString(value) == text;
}

}  // namespace

void GameBoard::ClearCell(int x, int y, const std::string& costKey, bool noMove) {
    if (!InBoard(x, y)) return;
    FieldCell& cell = _index[x][y];
    if (cell._color == NO_CELL) return;
    if (cell._bonus != NO_BONUS && IsMovingPiece(x, y)) return;

    int score = 0;
    if (_selection.size() == 1 && _selection[0] == BoardPoint{x, y} && cell._color != EMPTY_CELL) {
        CellAction(x, y, CELL_STOP);
        _selection.clear();
    }
    const BoardPoint centre = CellCentre(x, y);
    const float textY = static_cast<float>(_absolutePos.y) + CellY(y);
    bool lockFlag = false;
    bool paintFlag = false;
    if (cell._locks >= 1) {
        Sound("lock_destroy", ColumnPan(x));
        if (cell._locks == 2) {
            score = static_cast<int>(Cost("doubleLock"));
        } else if (cell._locks == 1) {
            score = static_cast<int>(Cost("lock"));
        } else {
            Assert(false);
        }
        BoardEvent e;
        e.type = BoardEventType::Effect;
        e.name = "BreakingUpEffect";
        e.layer = 1;
        e.cell = {x, y};
        e.pos = {static_cast<float>(centre.x), static_cast<float>(centre.y)};
        e.resource = "lock_pieces";
        e.value = cell._locks == 2 ? 1 : 0;
        Emit(e);
        --cell._locks;
        lockFlag = true;
    } else {
        if (cell._painted >= 1) {
            Sound("clear_gold", ColumnPan(x));
            const bool golden = cell._painted == 2;
            BoardEvent e;
            e.type = BoardEventType::Effect;
            e.name = "ClearPieceEffect";
            e.layer = -1;
            e.cell = {x, y};
            e.pos = {static_cast<float>(centre.x), static_cast<float>(centre.y)};
            e.resource = golden ? "golden" : "silver";
            e.text = golden ? "golden_glow" : "silver_glow";
            e.duration = 0.4f;
            Emit(e);
            int& count = golden ? _goldenCount : _silverCount;
            --count;
            PlayerString(golden ? "goldenCount" : "silverCount", "x" + std::to_string(count));
            if (count == 0) Sound(golden ? "last_gold2" : "last_gold1", PAN_OWN);
            const int money = static_cast<int>(std::round(Cost(golden ? "golden" : "silver")));
            FloatingText(static_cast<float>(centre.x), textY,
                         _moneyPrefix + std::to_string(money) + _moneySuffix, 20.0f, 1.1f, "money23",
                         1.5f);
            _levelMoney.Add(money);
            --cell._painted;
            if (cell._painted == 0) {
                --_allPaints;
                if (_allPaints <= 3 && !_player.threeHint) DelayedMessage("GameField", "three_hint", 1.0f);
                Assert(_allPaints >= 0);
            }
            paintFlag = true;
        }
        if (cell._color == EMPTY_CELL) return;
        score = static_cast<int>(Cost(costKey));
        if (!noMove) {
            StartMoveBetween(x, y, x, y, 0.0f, 0.0f, cell._hideTime, 4, 0.0f);
        }
        cell._color = EMPTY_CELL;
        BoardEvent hide;
        hide.type = BoardEventType::Effect;
        hide.name = "HidePieceEffect";
        hide.layer = -1;
        hide.cell = {x, y};
        hide.pos = {static_cast<float>(centre.x), static_cast<float>(centre.y)};
        hide.duration = cell._hideTime;
        Emit(hide);
        if (cell._bonus != NO_BONUS) {
            Detonate(x, y, cell._bonus, NO_CELL);
            cell._bonus = NO_BONUS;
        }
    }
    if (score >= 1) {
        if (!paintFlag) {
            FloatingText(static_cast<float>(centre.x), textY, "+" + std::to_string(score),
                         static_cast<float>(_cellSize) * 0.25f, 0.75f, "20_scores", 0.8f);
        }
        _levelScore.Add(score);
        if (lockFlag) {
            _lockScore += static_cast<float>(score);
        } else {
            _matchScore += static_cast<float>(score);
        }
    }
}

void GameBoard::Detonate(int x, int y, int kind, int color) {
    if (!InBoard(x, y) || kind < FIRE_CRACKER || kind > LIGHTNING) return;
    Explosion explosion;
    explosion.x = x;
    explosion.y = y;
    explosion.kind = kind;
    explosion.hit.push_back({x, y});
    std::string costKey = "nukeClear";
    const BoardPoint centre = CellCentre(x, y);
    if (kind == LIGHTNING) {
        Sound("lightning", ColumnPan(x));
    } else {
        _explosions.push_back(explosion);
        ++_activeExplosions;
        if (_activeExplosions > 1) {
            const int bonus = static_cast<int>(Cost("multiplelExploids"));
            _levelScore.Add(bonus);
            _matchScore += static_cast<float>(bonus);
            PlayerInt("BombCounter", _activeExplosions);
            PlayerInt("MultipleBomb", (_activeExplosions - 1) * bonus);
            if (_activeExplosions == 2) {
                const float bx = static_cast<float>(_absolutePos.x) + CellX(x) + static_cast<float>(_cellSize);
                const float by = static_cast<float>(_absolutePos.y) + CellY(y) + static_cast<float>(_cellSize);
                BoardEvent e;
                e.type = BoardEventType::Effect;
                e.name = "BoomTextEffect";
                e.layer = 2;
                e.pos = {std::min(std::max(bx, 150.0f), 600.0f), std::min(by, 470.0f)};
                e.text = "boom x";
                e.resource = "boom";
                e.rise = static_cast<float>(_cellSize) * 0.5f;
                e.duration = 1.0f;
                Emit(e);
            }
        }
        const float span = CellX(_sizeX) - CellX(0);
        const int pan = -80 + (span != 0.0f ? static_cast<int>(160.0f * (CellX(x) - CellX(0)) / span) : 0);
        Sound("bomb" + std::to_string(kind), pan);

        const BombKind& bomb = BOMB_KINDS[kind - 1];
        costKey = bomb.costKey;
        Particle(bomb.particle, 0, centre);
        if (bomb.secondParticle != nullptr) Particle(bomb.secondParticle, bomb.secondOwner, centre);
        ++_detonations;
        FieldCell& cell = _index[x][y];
        cell._hideTime = static_cast<float>(kind) * _tuning.ONE_EXPLOID_TIME + _tuning.HIDE_TIME;
        cell._bonus = NO_BONUS;
        ClearCell(x, y, costKey, false);
    }
    if (kind == LIGHTNING && color >= 0 && color < 16) {
        if (_player.firstLigthning == 0) {
            _player.firstLigthning = 1;
            PlayerInt("firstLigthning", 1);
        }
        std::vector<BoardPoint> cells{{x, y}};
        _index[x][y]._bonus = NO_BONUS;
        for (int i = 0; i < _sizeX; ++i) {
            for (int j = 0; j < _sizeY; ++j) {
                if (InField(i, j) && _index[i][j]._color == color) cells.push_back({i, j});
            }
        }
        std::vector<BoardFPoint> points;
        for (const BoardPoint& c : cells) {
            const BoardPoint p = CellCentre(c.x, c.y);
            points.push_back({static_cast<float>(p.x), static_cast<float>(p.y)});
        }
        const bool descending = _random.Next() % 2 != 0;
        const LightningRun run = MakeLightningRun(0.4f, points, descending);
        BoardEvent splash;
        splash.type = BoardEventType::Effect;
        splash.name = "SplashEffect";
        splash.layer = 2;
        splash.cell = {x, y};
        splash.path = run.path;
        splash.times = run.times;
        splash.duration = run.totalTime;
        Emit(splash);
        for (std::size_t i = 0; i < run.order.size(); ++i) {
            const BoardPoint c = cells[static_cast<std::size_t>(run.order[i])];
            const float time = run.times[i];
            if (_index[c.x][c.y]._locks == 0) {
                StartMoveBetween(c.x, c.y, c.x, c.y, 0.0f, 0.0f,
                                 _tuning.HIDE_TIME * 0.5f + run.times.back(), 4, 0.0f);
                BoardEvent remover;
                remover.type = BoardEventType::Effect;
                remover.name = "SplashRemoverEffect";
                remover.layer = -1;
                remover.cell = c;
                remover.pos = {static_cast<float>(_absolutePos.x) + CellX(c.x) + 21.0f,
                               static_cast<float>(_absolutePos.y) + CellY(c.y) + 21.0f};
                remover.duration = time;
                Emit(remover);
            }
            DelayedMessage("GameField", "Clear cell " + std::to_string(c.x) + "," + std::to_string(c.y),
                           time);
        }
    }
    if (_detonations >= _tuning.TO_LIGHNING_ENOUGH && _player.haveBlackBombLastLevelDone == 1) {
        _lightningDue = true;
        _detonations = 0;
    }
}

bool GameBoard::DetonateSwap(BoardPoint p0, BoardPoint p1) {
    if (!InBoard(p0.x, p0.y) || !InBoard(p1.x, p1.y)) return false;
    if (_index[p0.x][p0.y]._bonus == NO_BONUS) std::swap(p0, p1);
    const int bonus = _index[p0.x][p0.y]._bonus;
    if (bonus == NO_BONUS) return false;
    int color = NO_CELL;
    if (bonus == LIGHTNING) {
        const FieldCell& partner = _index[p1.x][p1.y];
        if (partner._bonus == NO_BONUS) {
            color = partner._color;
        } else {
            Detonate(p1.x, p1.y, partner._bonus, NO_CELL);
        }
    }
    Detonate(p0.x, p0.y, bonus, color);
    return true;
}

bool GameBoard::UpdateExplosions(float dt) {
    if (_explosions.empty()) _activeExplosions = 0;
    struct Queued {
        BoardPoint cell;
        const char* costKey;
    };
    std::vector<Queued> queue;
    for (std::size_t e = 0; e < _explosions.size();) {
        Explosion& explosion = _explosions[e];
        const float finalRadius = FinalRadius(explosion.kind);
        if (_tuning.ONE_EXPLOID_TIME > 0.0f) {
            explosion.radius += dt / _tuning.ONE_EXPLOID_TIME;
        } else {
            explosion.radius = finalRadius;
        }
        if (explosion.radius > finalRadius) explosion.radius = finalRadius;
        const int r = static_cast<int>(explosion.radius);
        for (int i = explosion.x - r - 1; i <= explosion.x + r + 1; ++i) {
            for (int j = explosion.y - r - 1; j <= explosion.y + r + 1; ++j) {
                if (!InField(i, j)) continue;
                if (CellDistance(i - explosion.x, j - explosion.y) > explosion.radius) continue;
                bool seen = false;
                for (const BoardPoint& h : explosion.hit) {
                    if (h.x == i && h.y == j) seen = true;
                }
                if (seen) continue;
                _index[i][j]._hideTime =
                    (static_cast<float>(explosion.kind) + 2.0f - explosion.radius) * _tuning.ONE_EXPLOID_TIME +
                    _tuning.HIDE_TIME;
                queue.push_back({{i, j}, BOMB_KINDS[explosion.kind - 1].costKey});
                explosion.hit.push_back({i, j});
                if (_index[i][j]._locks == 0) Particle("ChipRemoverBomb", 0, CellCentre(i, j));
            }
        }
        if (explosion.radius >= finalRadius) {
            _explosions.erase(_explosions.begin() + static_cast<long>(e));
        } else {
            ++e;
        }
    }
    for (const Queued& q : queue) {
        ClearCell(q.cell.x, q.cell.y, q.costKey, false);
        Sound("item_exploid", PAN_OWN);
    }
    return !queue.empty();
}

void GameBoard::ClearCellCommand(const std::string& argument) {
    const std::size_t comma = argument.find(',');
    int x = 0;
    int y = 0;
    Assert(comma != std::string::npos);
    if (comma == std::string::npos) return;
    const bool validX = ParseDecimal(argument.substr(0, comma), x);
    const bool validY = ParseDecimal(argument.substr(comma + 1), y);
    if (!validX || !validY || !InBoard(x, y)) return;
    _index[x][y]._hideTime = _tuning.HIDE_TIME;
    ClearCell(x, y, "lightningClear", true);
    SoundDefaultPan("item_lighting");
}
