#pragma once
// The match-three board: its cells and the rules that change them (matching and bonuses, clearing,
// locks, paint and bombs, gravity and refill, move search and recolouring).
// Three things are injected: the random generator, the piece motion (moving flags and moves) and
// a sink that receives every side effect as an event. The field control owns the board, moves the
// pieces, calls the rules from its frame update and turns the events into pictures and sounds.

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "match3/board/BoardEvents.h"
#include "match3/board/BoardRandom.h"
#include "match3/board/BoardTypes.h"
#include "match3/board/LevelLines.h"
#include "match3/board/PieceMotion.h"
#include "match3/board/ScoreCounter.h"

// One running bomb explosion.
struct Explosion {
    int x = 0;
    int y = 0;
    float radius = 0.0f;
    int kind = 0;
    std::vector<BoardPoint> hit;
};

// The piece actions of CellAction.
enum CellActionCode {
    CELL_STOP = 0,
    CELL_IDLE = 1,
    CELL_SELECTED = 2,
    CELL_LANDING = 3,
    CELL_TURN = 4,
};

class GameBoard {
public:
    static constexpr int RECOLOUR_TRIES = 200;

    GameBoard(BoardRandom& random, PieceMotion& motion, BoardEventSink& sink);
    // With the game's own random generator.
    GameBoard(PieceMotion& motion, BoardEventSink& sink);
    GameBoard(const GameBoard&) = delete;
    GameBoard& operator=(const GameBoard&) = delete;

    // Settings.
    BoardTuning& Tuning() { return _tuning; }
    // Gameplay costs by name ("clearMatch3", "lock", "silver", "krugMoneyAddon", ...).
    std::map<std::string, float>& Costs() { return _costs; }
    BoardPlayerValues& Player() { return _player; }
    const BoardPlayerValues& Player() const { return _player; }
    // The field's absolute position, for the screen positions of effects and sound pans.
    void SetAbsolutePos(BoardPoint pos) { _absolutePos = pos; }
    BoardPoint GetAbsolutePos() const { return _absolutePos; }
    // The texts around the money of a cleared painted cell.
    void SetMoneyAffixes(const std::string& prefix, const std::string& suffix) {
        _moneyPrefix = prefix;
        _moneySuffix = suffix;
    }

    // Level set-up.
    // Fills the board from a parsed level with new random pieces of the given colours (no line of
    // three), sets the paint counters and their player values and looks for a move. False (nothing
    // changed) without colours or for an oversized shape. The caller then sets its hint clocks,
    // queues its hints, places the field and, when HasMove() is false, recolours at once with
    // NoMovesReshuffle(false, true).
    bool LoadLevelShape(const LevelShape& shape, const std::vector<int>& chips);
    // Highest lock level of the last loaded shape.
    int GetHighestLock() const { return _highestLock; }
    // An empty board of that size for restoring cell by cell; false beyond 15 x 13.
    bool ResizeBoard(int sizeX, int sizeY);
    // One restored cell. Colours other than holes, empty cells, 0..8 and bonus pieces are reported
    // and the cell is restored empty; counts paint like a loaded level.
    void LoadCell(int x, int y, int color, bool born, int painted, int locks, int bonus);
    void SetChips(const std::vector<int>& chips) { _chips = chips; }
    const std::vector<int>& GetChips() const { return _chips; }

    // Shared operations.
    bool InBoard(int x, int y) const { return x >= 0 && x < _sizeX && y >= 0 && y < _sizeY; }
    bool InField(int x, int y) const;
    float CellX(int x) const;
    float CellY(int y) const;
    // A cell's centre in screen coordinates.
    BoardPoint CellCentre(int x, int y) const;
    int GetEmptyKind(int x, int y) const;
    bool CanBeFed(int x, int y) const;
    bool HasFillableEmpty() const;
    void SwapCells(int x0, int y0, int x1, int y1);
    // The sound pan of a column.
    int ColumnPan(int x) const;

    // Matching and bonuses.
    bool FindAndClearMatches();

    // Clearing, locks, paint and bombs.
    void ClearCell(int x, int y, const std::string& costKey, bool noMove);
    void Detonate(int x, int y, int kind, int color);
    bool UpdateExplosions(float dt);
    // A resolved swap whose cells hold a bonus: p0 (the cell selected first) goes off when it holds
    // one, else p1. A lightning strikes its partner's colour; swapped with another bonus it first
    // sets that one off and then strikes nothing. True when something was detonated.
    bool DetonateSwap(BoardPoint p0, BoardPoint p1);
    // The "Clear cell " command's argument "x,y": a cell struck by the lightning run.
    void ClearCellCommand(const std::string& argument);

    // Gravity and refill.
    void StartFalls();
    void NewPiece(int x, int y, int locks, int painted, bool random, int color);
    void CellAction(int x, int y, int action);
    bool IsFedFromAbove(int x, int y) const;
    void ResetBornPoints();

    // Moves and reshuffle.
    bool FindAvailableMove();
    // announce: only announce (the "Reshufle" message recolours later); otherwise recolour, with
    // the animation unless force.
    void NoMovesReshuffle(bool announce, bool force);
    // Undoes a swap (the first-level hint stays with the field).
    void SwapBack(int x0, int y0, int x1, int y1);
    // Puts the due lightning piece on a random cell next to a piece; false (still due) without one.
    bool PlaceLightning();

    // State.
    int GetSizeX() const { return _sizeX; }
    int GetSizeY() const { return _sizeY; }
    int GetCellSize() const { return _cellSize; }
    const FieldCell& Cell(int x, int y) const;
    FieldCell& Cell(int x, int y);
    int GetAllPaints() const { return _allPaints; }
    void SetAllPaints(int value) { _allPaints = value; }
    int GetSilverCount() const { return _silverCount; }
    int GetGoldenCount() const { return _goldenCount; }
    ScoreCounter& LevelScore() { return _levelScore; }
    ScoreCounter& LevelMoney() { return _levelMoney; }
    float GetMatchScore() const { return _matchScore; }
    float GetLockScore() const { return _lockScore; }
    void SetMatchScore(float value) { _matchScore = value; }
    void SetLockScore(float value) { _lockScore = value; }
    int GetReshuffleCount() const { return _reshuffleCount; }
    void SetReshuffleCount(int value) { _reshuffleCount = value; }
    int GetLightningCount() const { return _lightningCount; }
    void SetLightningCount(int value) { _lightningCount = value; }
    int GetActiveExplosions() const { return _activeExplosions; }
    const std::vector<Explosion>& GetExplosions() const { return _explosions; }
    int GetDetonations() const { return _detonations; }
    void SetDetonations(int value) { _detonations = value; }
    std::vector<BoardPoint>& Selection() { return _selection; }
    const std::pair<BoardPoint, BoardPoint>& GetHintMove() const { return _hintMove; }
    void SetHintMove(const std::pair<BoardPoint, BoardPoint>& move) { _hintMove = move; }
    bool HasMove() const { return _hasMove; }
    void SetHasMove(bool value) { _hasMove = value; }
    bool IsSwapMatched() const { return _swapMatched; }
    void SetSwapMatched(bool value) { _swapMatched = value; }
    bool IsLightningDue() const { return _lightningDue; }
    void SetLightningDue(bool value) { _lightningDue = value; }
    bool IsReshufflePending() const { return _reshufflePending; }
    void SetReshufflePending(bool value) { _reshufflePending = value; }
    bool IsTimerStopped() const { return _timerStopped; }
    void SetTimerStopped(bool value) { _timerStopped = value; }
    BoardPoint GetHintPos() const { return _hintPos; }
    // The cost of a key (0 when missing).
    float Cost(const std::string& key) const;

private:
    using FedGrid = std::array<std::array<bool, MAX_FIELD_Y>, MAX_FIELD_X>;

    void Emit(const BoardEvent& event);
    void Sound(const std::string& name, int pan);
    void SoundDefaultPan(const std::string& name);
    void Particle(const std::string& name, int owner, BoardPoint pos);
    void DelayedMessage(const std::string& receiver, const std::string& text, float delay);
    void Message(const std::string& receiver, const std::string& text);
    void PlayerInt(const std::string& name, int value);
    void PlayerBool(const std::string& name, bool value);
    void PlayerString(const std::string& name, const std::string& value);
    void FloatingText(float x, float y, const std::string& text, float rise, float duration,
                      const std::string& font, float alphaPeak);
    void StartMoveBetween(int x, int y, int fromX, int fromY, float scaleFrom, float scaleTo,
                          float duration, int mode, float ySpeed);

    void ComputeCanBeFed(FedGrid& fed) const;
    bool IsMovingPiece(int x, int y) const;

    // Matching.
    bool ColumnRun(int x, int y, int c);
    bool RowRun(int x, int y, int c);
    void AddPoint(int x, int y);
    bool InPoints(int x, int y) const;
    void ClearMatch();
    bool ChooseBonusCell(bool swapCell, int avgX, int avgY, BoardPoint& cell);
    int ChooseBonusKind(int n, bool swapCell);

    // Moves.
    int RunLength(int x, int y, int color, bool horizontal) const;
    void Recolour();
    void AnimateReshuffle(const std::vector<std::vector<int>>& snapshot);

    GameBoardRandom _gameRandom;
    BoardRandom& _random;
    PieceMotion& _motion;
    BoardEventSink& _sink;

    BoardTuning _tuning;
    std::map<std::string, float> _costs;
    BoardPlayerValues _player;
    BoardPoint _absolutePos;
    std::string _moneyPrefix;
    std::string _moneySuffix;

    std::array<std::array<FieldCell, MAX_FIELD_Y>, MAX_FIELD_X> _index{};
    int _sizeX = 0;
    int _sizeY = 0;
    int _cellSize = 44;
    std::vector<int> _chips;
    int _highestLock = 0;

    int _allPaints = 0;
    int _silverCount = 0;
    int _goldenCount = 0;

    ScoreCounter _levelScore;
    ScoreCounter _levelMoney;
    float _matchScore = 0.0f;
    float _lockScore = 0.0f;
    int _reshuffleCount = 0;
    int _lightningCount = 0;
    int _activeExplosions = 0;
    std::vector<Explosion> _explosions;
    int _detonations = 0;

    std::vector<BoardPoint> _selection;
    std::pair<BoardPoint, BoardPoint> _hintMove;
    bool _hasMove = false;
    bool _swapMatched = false;
    bool _lightningDue = false;
    bool _reshufflePending = false;
    bool _timerStopped = false;
    BoardPoint _hintPos;

    // What an out-of-range cell access gets after its report.
    FieldCell _outside;

    // One matching pass.
    std::array<std::array<bool, MAX_FIELD_Y>, MAX_FIELD_X> _visited{};
    std::vector<BoardPoint> _points;
};
