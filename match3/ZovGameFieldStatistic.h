#pragma once
// The level-complete statistics screen: a banner drops in, lines of text fade in one after another
// and the level's money is counted up in a fixed sequence of steps that the screen sends to itself
// through its delayed messages, from "continue" (sent by the game field) to "first click". A click
// while counting runs the rest at once, silently; the click after it posts "StatButtonOk" to the
// field.

#include <string>

#include "content/EffectCollection.h"
#include "content/EffectObserver.h"
#include "content/MotionFlare.h"
#include "content/Spline.h"
#include "controls/Control.h"
#include "core/DelayedMessages.h"
#include "core/MessageReceiver.h"
#include "core/PermanentVariable.h"
#include "shell/Texture.h"
#include "widgets/DelayText.h"

class ZovGameFieldStatistic : public MouseTransparentControl, public MessageReceiver {
public:
    static constexpr float SCORE_DIVISOR = 3500.0f;
    static constexpr float TIME_DIVISOR = 1.2f;
    // Simulated seconds of a fast-forward click, each one Update of 1 s.
    static constexpr int FAST_FORWARD_STEPS = 20;

    // Children "delayText" (the lines) and "main" (the banner: "texture", "x", "y", "pause",
    // "break", "time" and the curves "alpha", "yCoord", "size").
    ZovGameFieldStatistic(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ZovGameFieldStatistic() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    // The space key replays the count (developer builds of the profile only).
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;
    void OnMessage(std::string message) override;

    bool IsCounting() const { return _counting; }
    bool IsWaitingForContinue() const { return _waitingForContinue; }
    bool AreCupsShown() const { return _cupsShown; }
    const DelayTextGroup& GetLines() const { return _lines; }
    std::size_t GetEffectCount() const { return _effects.GetCount(); }
    const std::string& GetTotalText() const { return _totalText; }

private:
    // Replaces a placeholder; the line's index or -1 (reported) when no line holds it.
    int Replace(const std::string& placeholder, const std::string& replacement);
    void Hide(int line);
    // Appends a picture to a line, left of the text t that ends offset units from the line's x:
    // a cup overlaps the text's left by three eighths of its width, a tile picture touches it.
    void AddPicture(int line, const std::string& textureId, int offset, const std::string& t, bool cup);
    // Width of the text in the line's font.
    int Width(int line, const std::string& text) const;
    void PlaceCups();
    void PlaceTiles();
    // Replaces a placeholder by "x" and the count (after the text before), adds the picture left
    // of the count, moves the offset o left past the gap and the count, and widens the next
    // placeholder by the gap. A cup placeholder without cups is emptied instead.
    void PlaceCount(const std::string& placeholder, int count, const std::string& before, const std::string& textureId,
                    const std::string& next, const std::string& gap, bool cup, int& o);
    void AddFlyText(float x0, float y0, float x1, float y1, const std::string& text, float scale, float delay);
    void AddCounter(float x0, float y0, float x1, float y1, int from, int to, float duration, float delay);
    void Later(const std::string& step, float seconds);
    std::string Money(int value) const;
    int ScoreMoney() const;
    int TimeMoney() const;
    float TotalY() const;
    void StartTilesMoney();
    void StartScoreMoney();
    void ContinueScoreMoney();
    void StartTimerMoney();
    void ContinueTimerMoney();
    void StartLevelMoney();
    void StartTotalEffect();
    void FirstClick();
    void UpdateTimeDrain(float dt);
    void UpdateScoreDrain(float dt);

    DelayTextGroup _lines;
    TimedSpline _alphaCurve;
    TimedSpline _heightCurve;
    TimedSpline _sizeCurve;
    ObjectSmartPointer<FlarePosition> _appearTimer;
    ObjectSmartPointer<FlarePosition> _pauseTimer;
    UsingPointer<Texture> _banner;
    Point _bannerPosition;
    float _pause = 0.0f;
    float _break = 0.0f;
    bool _counting = true;
    bool _goldenTilesShown = false;
    EffectOwner _owner;
    EffectCollection _effects;
    DelayedMessages _messages;
    EffectHandle _timeTrail;
    bool _timeTrailStarted = false;
    float _appearTime = 0.0f;
    bool _waitingForContinue = true;
    std::string _moneyPrefix;
    std::string _moneySuffix;
    ObjectSmartPointer<PermanentVariable<Local, int>> _timeCount;
    ObjectSmartPointer<PermanentVariable<Local, int>> _scoreBonus;
    ObjectSmartPointer<PermanentVariable<Local, std::string>> _levelScore;
    ObjectSmartPointer<FlarePosition> _timeDrainTimer;
    ObjectSmartPointer<FlarePosition> _scoreDrainTimer;
    std::string _totalText;
    std::string _tilesMoneyText;
    bool _cupsShown = false;
    bool _silent = false;
    bool _okSent = false;
};
