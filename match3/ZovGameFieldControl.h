#pragma once
// The match-three board control: owns a running level's board, pieces, timers, effects and hints,
// turns the board's events into pictures, sounds and messages, and is the receiver "GameField".

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "content/EffectCollection.h"
#include "content/EffectObserver.h"
#include "content/MotionFlare.h"
#include "content/Spline.h"
#include "controls/Control.h"
#include "core/DelayedMessages.h"
#include "core/MessageReceiver.h"
#include "core/MousePosRememberer.h"
#include "core/PlayerChangeListener.h"
#include "core/ReceiverAndMessage.h"
#include "match3/FieldEditor.h"
#include "match3/FieldDecor.h"
#include "match3/FieldHintMessage.h"
#include "match3/FieldOutline.h"
#include "match3/FieldPieces.h"
#include "match3/GameTimeCounter.h"
#include "match3/board/BoardEvents.h"
#include "match3/board/BoardRandom.h"
#include "match3/board/GameBoard.h"
#include "match3/board/SavedField.h"

// The board's own random stream: the game's 15-bit generator formula with its own state, seeded
// from the program's generator when the field is made, so a run started with a seed deals the same
// boards whatever else draws numbers during the level.
class FieldRandom : public BoardRandom {
public:
    void Seed(unsigned seed) { _state = seed; }
    int Next() override {
        _state = _state * 214013u + 2531011u;
        return static_cast<int>((_state >> 16) & 0x7FFFu);
    }

private:
    unsigned _state = 1;
};

// Tuning constants of the field that the board does not keep.
struct FieldTuning {
    float CHANGE_CELL_D = 8.0f;
    float TIME_BEFORE_HELP = 9.0f;
    float TIME_FOR_NEXT = 1.0f;
    int CYCLE_LEVEL = 33;
    int TOO_LITTLE_PIECES = 10;
};

class ZovGameFieldControl : public Control,
                            public MousePosRememberer,
                            public PlayerChangeListener,
                            public MessageReceiver,
                            public FieldHintMessage,
                            public BoardEventSink {
public:
    static constexpr float MAX_DT = 0.1f;
    static constexpr float TIMER_RISE_TIME = 1.2f;
    static constexpr float HURRY_SHARE = 0.2f;
    static constexpr int STARTING_HINTS = 5;
    // Bound of the "update until shown" loops of a press during the appearance.
    static constexpr int FINISH_APPEARANCE_STEPS = 1000;

    ZovGameFieldControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ZovGameFieldControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;
    void BeforePlayerChange() override;
    void AfterPlayerChange() override;
    void OnBoardEvent(const BoardEvent& event) override;

    // Level files. A level that is not in the file changes nothing; one that cannot be used is
    // reported (naming the file and its line) and changes nothing either.
    bool LoadLevel(std::string& name);
    std::vector<std::string> LevelIds();
    void DeleteLevel(const std::string& id);
    std::string NextLevelName(const std::string& current);
    void LoadChipSets();
    const std::vector<std::string>& GetChipSetList() const { return _chipSets; }
    // The active player's XML value of that name when it is stored as XML (without making it);
    // problem tells when the value is there but of another type.
    static ObjectWeakPointer<XmlElement> StoredPlayerXml(const std::string& name, std::string& problem);

    // Input helpers.
    bool SelectCell(int x, int y);
    void TryDragSwap(int x, int y);
    bool IsMouseOverField();

    // State for the screen and tests.
    GameBoard& Board() { return _board; }
    FieldPieces& Pieces() { return _pieces; }
    FieldTuning& Tuning() { return _tuning; }
    GameTimeCounter* Timer() { return _timer.Get(); }
    const std::string& GetLevelName() const { return _levelName; }
    int GetLevelTime() const { return _levelTime; }
    float GetTimeLeft() const { return _timeLeft; }
    bool IsPaused() const { return _paused; }
    bool IsPausedByPlayer() const { return _paused && !IsHintOpen(); }
    bool IsWaitingFirstClick() const { return _waitFirstClick; }
    bool IsFieldShown() const { return _fieldShown; }
    bool IsInDragging() const { return _isInDragging; }
    bool IsHurryShown() const { return _hurryShown; }
    bool IsHintBoxShown() const { return _hintBoxShown; }
    int GetCombo() const { return _combo; }
    float GetIdleTime() const { return _idleTime; }
    float GetStillTime() const { return _stillTime; }
    std::size_t GetDelayedCount() const { return _delayedMessages.GetCount(); }
    const EffectCollection& GetEffects() const { return _effects; }
    float GetAfterWinTime() const { return _afterWinElapsed; }
    float GetPieceClock() const { return _pieceClock; }
    // The share of the frame's time the field passes on while a long match slows it down (1 at
    // normal speed), as of the last update.
    float GetTimeScale() const { return _timeScale; }
    bool IsSlowMotion() const { return _slowMotion.Get() != nullptr; }
    // No level could be loaded: the field told the player and sent its way back to the menu, and
    // it leaves the player's values as they were.
    bool IsLevelBroken() const { return _levelBroken; }
    EffectOwner& Particles() { return _particles; }
    EffectOwner& FallParticles() { return _fallParticles; }
    // Makes the field playable at once (tests and the restart of the editor).
    void FinishAppearance();

    // The player's saved level and the level log.
    // Appends the won level's line to the player's CSV file when the global "betaLog" is on.
    void WriteLevelLog();
    // The player's CSV file: the data folder and the player's name with path characters replaced.
    static std::string LevelLogFileName(const std::string& playerName);
    // A restored level's open hint box is shown again once the field is shown.
    void ReshowSavedHint();
    bool IsHintToReshow() const { return _reshowHint; }
    bool HasTimedOut() const { return _timedOut; }
    int GetMatchCounter() const { return _matchCounter; }
    // Drawing: the decor of the field's outline (rebuilt by every loaded level) and the shine
    // wave (how far a cell has come into view: below 0 not yet, 1 or more fully).
    void BuildDecor();
    const std::vector<FieldDecor>& GetDecor() const { return _decor; }
    float GetShineOffset(int x, int y) const;
    const FlarePosition& GetShine() const { return *_shine.Get(); }

private:
    void ReadOptions(const ObjectWeakPointer<XmlElement>& xml);
    void ReadCosts();
    void ReadConstants();
    void ResetFieldClocks();
    float LevelTimeFactor() const;
    int PieceSpeedPan(int x) const;
    Point CellCentre(int x, int y);

    // Frame steps.
    void UpdatePieces(float dt, bool& arrived, bool& busy);
    void ResolveArrivals(bool busy, bool exploded);
    void PlayLandings();
    void UpdateLevelTimer(float dt);
    void UpdateTexts(float dt);
    void UpdateIdleWave(float dt);
    void ShowClearHint();
    void StartWin();
    void CompleteWin();
    void TimeOut();
    void TimeMultiplierAdjust();
    int FieldCupBonus();
    void StopTimerShine();

    // Input.
    Point FieldPoint(const Point& mouse);
    void ShowFirstHint();
    // A box may open: the last one is long enough gone, no press is held and the board rests.
    bool HintMayShow() const;
    void DeveloperKey(ObjectWeakPointer<MouseMoveEvent> event, int cx, int cy);

    // Messages.
    void CellHint(const std::string& command, const std::string& hintName, int painted, int locks);
    void BombHint(const std::string& kind);
    bool LocateBonus(const std::string& name, Point& point);
    void AfterHint(bool shown);
    void Restart();
    void SendExit();

    // Saving and restoring.
    bool IsLevelRunning();
    float TimerProgress() const;
    SavedField SaveRunningLevel();
    void RestoreRunningLevel(const SavedField& saved);
    void LoadLevelOrFirst(const std::string& name);
    // The player values a field keeps, made with their defaults where missing (after a level loaded).
    void MakePlayerValues();

    // Level loading (ZovGameFieldLevels.cpp).
    enum class LevelLoad { Loaded, NotFound, Broken };
    struct LoadFailure {
        std::string caption;
        std::string text;
    };
    LevelLoad TryLoadLevel(std::string& name);
    // The chip sets the next level chooses from: those left in the player's cycle, else all of the
    // chip-set file (fromFile); false, with the failure, when there is none.
    bool PendingChipSets(std::vector<std::string>& sets, bool& fromFile, std::string& failure);
    // Stores the pending sets (a new cycle when they come from the file) less the one taken.
    void CommitChipSets(const std::vector<std::string>& sets, bool fromFile, const std::string& taken);
    // No level could be loaded: the error box, and the way back to the menu.
    void GiveUpLevel();

    void AddBoardEffect(const BoardEvent& e);
    ObjectSmartPointer<AnimationService> CopyPicture(int x, int y);
    void TakeSnapshot();

    // Drawing and the shine wave.
    void StartShine();
    // The wave that takes the field out of view when its level ends.
    void StartLeaving();
    void AdvanceShine(float dt);
    float CellShine(int x, int y) const;
    void DrawPicture(const char* id, float x, float y);
    void DrawAtlasTile(const char* atlasId, const AtlasTile& tile, int x, int y);
    void DrawBorder(const Point& a, bool flaring);
    void DrawCells(const Point& a, bool flaring);
    void DrawGlows(const Point& a);
    void DrawPieces(const Point& a, bool flaring);
    void DrawLocks(const Point& a, bool flaring);
    void DrawMoveHint(int x, int y);

    FieldRandom _random;
    FieldPieces _pieces;
    GameBoard _board;
    FieldTuning _tuning;
    ObjectSmartPointer<GameTimeCounter> _timer;
    ObjectSmartPointer<ReceiverAndMessage> _exit;

    std::string _levelName;
    std::string _levelPrefix;
    std::string _moneyPrefix;
    std::string _moneySuffix;
    std::string _hidePanelId;
    std::string _scoreId;
    std::string _moneyId;
    std::string _levelId;
    std::vector<Point> _lockPieces;
    std::vector<std::string> _chipSets;
    // Where the field sends the player when no level can be loaded (the child "toMenu").
    ObjectSmartPointer<ReceiverAndMessage> _toMenu;
    bool _levelBroken = false;
    LoadFailure _loadFailure;
    Point _homePos;
    Point _scorePosition;
    float _fieldStart = 0.0f;
    float _readyGoEffectStart = 0.0f;

    std::map<std::string, int> _intCosts;
    std::map<std::string, UsingPointer<Texture>> _pictures;

    EffectCollection _effects;
    EffectOwner _particles;
    EffectOwner _fallParticles;
    DelayedMessages _delayedMessages;
    ObjectSmartPointer<FlarePosition> _shine;
    ObjectSmartPointer<FlarePosition> _hintFlare;
    ObjectSmartPointer<FlarePosition> _fewPaintsFlare;
    ObjectSmartPointer<FlarePosition> _afterWinTimer;
    float _afterWinElapsed = 0.0f;
    // Slow motion after a long match: the field's time runs along the curve while the flare runs.
    ObjectSmartPointer<FlarePosition> _slowMotion;
    TimedSpline _slowMotionCurve;
    float _timeScale = 1.0f;
    float _pieceClock = 0.0f;

    bool _paused = false;
    bool _waitFirstClick = true;
    // The first press asked for the first hint; it opens once the press is over and the board rests.
    bool _firstHintDue = false;
    float _readyGoLeft = 0.0f;
    float _fieldStartLeft = 0.0f;
    float _timerRising = 0.0f;
    bool _fieldShown = false;
    int _levelTime = 0;
    float _timeLeft = 0.0f;
    float _idleTime = 0.0f;
    float _hintAnimTime = 0.0f;
    bool _moveHintShown = false;
    bool _hintBoxShown = false;
    float _hintWait = 0.0f;
    float _stillTime = 0.0f;
    int _combo = 0;
    float _comboTime = 0.0f;
    bool _hurryShown = false;
    int _idleWaveIndex = -1;
    float _idleWaveCountdown = 0.0f;
    float _idleWaveTime = 0.0f;
    std::array<std::array<bool, MAX_FIELD_Y>, MAX_FIELD_X> _movingMap{};
    // Pictures of the pieces just before a recolouring.
    std::array<std::array<ObjectSmartPointer<AnimationService>, MAX_FIELD_Y>, MAX_FIELD_X> _snapshot;

    Point _pressPoint;
    bool _isInDragging = false;

    // Saving and restoring.
    int _matchCounter = 0;
    // The level timer ran out (the level is lost until another is loaded).
    bool _timedOut = false;
    // The level was restored running, so it counts as running before its timer shows.
    bool _restoredRunning = false;
    bool _reshowHint = false;
    // The level editor, with the panel of the field's child "FieldEditor" (ZovGameFieldEditor.cpp).
public:
    FieldEditor* Editor() { return _editor.Get(); }
    bool IsEditing() const;
    // Writes the edited board into the level file under the panel's level name; with confirm, an
    // existing level of that name is replaced only after the overwrite dialog's yes.
    void SaveLevel(bool confirm);

private:
    void EnterEditor();
    void LeaveEditor();
    void EditorPress(ObjectWeakPointer<MouseDownEvent> event);
    void EditorRelease();
    void EditorPaint(int lx, int ly, int cx, int cy);
    void EditorErase(int cx, int cy);
    // The right button and the keys while editing.
    void EditorInput(ObjectWeakPointer<MouseMoveEvent> event, int cx, int cy);
    bool EditorCommand(const std::string& message);
    void ShowLevelList(const std::string& active);
    void CentreField();
    void MoveField(int dx, int dy);
    void DrawEditorMarks();

    ObjectSmartPointer<FieldEditor> _editor;
    // Drawing.
    std::vector<FieldDecor> _decor;
    ShineGrid _shineOffsets{};
    float _shineDistance = 0.0f;
    float _shineRate = 0.0f;
    ObjectSmartPointer<FlarePosition> _pieceFlare;
    ObjectSmartPointer<AnimationService> _silverPieceFlare;
    ObjectSmartPointer<AnimationService> _goldenPieceFlare;
};
