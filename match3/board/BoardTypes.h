#pragma once
// Cell records and small value types of the match-three board.

#include <set>
#include <string>

// A cell address (column x from the left, row y from the top) or an integer screen position.
struct BoardPoint {
    int x = 0;
    int y = 0;

    bool operator==(const BoardPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const BoardPoint& other) const { return !(*this == other); }
};

// A floating-point screen position.
struct BoardFPoint {
    float x = 0.0f;
    float y = 0.0f;
};

constexpr int NO_CELL = -2;
constexpr int EMPTY_CELL = -1;
constexpr int MAX_FIELD_X = 15;
constexpr int MAX_FIELD_Y = 13;
// Colours 0..15 match; bonus pieces are coloured bonus kind + 15.
constexpr int BONUS_COLOR_BASE = 15;
// Colours with a piece picture.
constexpr int CHIP_COLOR_COUNT = 9;

enum BonusKind {
    NO_BONUS = 0,
    FIRE_CRACKER = 1,
    BLACK_BOMB = 2,
    DYNAMITE = 3,
    NUKE = 4,
    LIGHTNING = 5,
};

// GetEmptyKind results.
constexpr int KIND_EMPTY = -1;
constexpr int KIND_RESTING = -3;
constexpr int KIND_BLOCKED = -4;
constexpr int KIND_BIRTH = -5;

struct FieldCell {
    bool _born = false;
    int _color = NO_CELL;
    int _locks = 0;
    int _painted = 0;
    float _hideTime = 0.0f;
    float _idleTimer = 0.0f;
    float _speed = 0.0f;
    int _bonus = NO_BONUS;
};

// Tuning constants (the game reads them from its constants file).
struct BoardTuning {
    float HINT_PAUSE = 1.0f;
    float GRAVITY = 1200.0f;
    float HIDE_TIME = 0.3f;
    float PIECE_SPEED = 250.0f;
    float DELTA_SPEED = 50.0f;
    float SOFT = 0.15f;
    float EXCHANGE_TIME = 0.2f;
    float ONE_EXPLOID_TIME = 0.1f;
    int TO_LIGHNING_ENOUGH = 10;
};

// The active player's values the rules read; the owner fills them when a player's state is restored.
struct BoardPlayerValues {
    std::string activePlayerName;
    int haveCrakerLastLevelFallIn = -1;
    int haveBlackBombLastLevelDone = -1;
    int firstLigthning = 0;
    bool threeHint = false;
    // Hint names the player already has a value for ("fire_cracker_hint", "lighting_hint", ...).
    std::set<std::string> definedHints;
};
