#include "match3/ZovGameFieldStatistic.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/Math.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Rect.h"
#include "core/XmlElement.h"
#include "match3/effects/StatisticsEffects.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"

namespace {

constexpr int KEY_SPACE = 32;
const char* const MONEY_FONT = "money_middle";
// The field's timer bar runs from y 517 (full) down to y 68 (empty) at x 755.
constexpr float TIMER_X = 755.0f;
constexpr float TIMER_TOP = 517.0f;
constexpr float TIMER_BOTTOM = 68.0f;
constexpr float TIMER_LENGTH = 449.0f;
// The cup lines, dropped when the level won no cup; the lines after them close up.
constexpr std::size_t FIRST_CUP_LINE = 7;
constexpr float CUP_LINES_TIME = 0.9f;
constexpr int CUP_LINES_HEIGHT = 52;

// Still in its flare. A one-shot flare that ends exactly at 0 stays "flaring" by its own test
// and is never updated again, so its done flag ends the flare too.
bool Flaring(const ObjectSmartPointer<FlarePosition>& flare) { return flare->IsFlaring() && !flare->_done; }

int TextWidth(const std::string& text, const std::string& font) { return Render::fonts.GetStringWidth(text, font); }

}  // namespace

ZovGameFieldStatistic::ZovGameFieldStatistic(const ObjectWeakPointer<Control>& parent,
                                             const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml),
      MessageReceiver(xml),
      _lines(xml->GetFirstChildElement("delayText")),
      _goldenTilesShown(PermanentStorage::GetLocalInt("goldenCountInt") > 0),
      _moneyPrefix(ResourceManager::GetString("MoneyPrefix")),
      _moneySuffix(ResourceManager::GetString("MoneySuffix")),
      _timeCount(new PermanentVariable<Local, int>("TimeCountInt")),
      _scoreBonus(new PermanentVariable<Local, int>("LevelScoreBonusInt")),
      _levelScore(new PermanentVariable<Local, std::string>("Level score")) {
    const ObjectWeakPointer<XmlElement> main = xml->GetFirstChildElement("main");
    Assert(main != NULL);
    float time = 0.0f;
    if (main != NULL) {
        _banner = ResourceManager::GetTextureOrFrame(main->GetStringAttribute("texture"));
        _bannerPosition = Point(main->GetIntAttribute("x"), main->GetIntAttribute("y"));
        _pause = main->GetFloatAttribute("pause");
        _break = main->GetFloatAttribute("break");
        time = main->GetFloatAttribute("time");
        _alphaCurve.Load(main->GetFirstChildElement("alpha"));
        _heightCurve.Load(main->GetFirstChildElement("yCoord"));
        _sizeCurve.Load(main->GetFirstChildElement("size"));
    }
    _appearTime = time;
    _appearTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(time, true, 0.0f, 0.0f, 0.0f));
    _appearTimer->_sound = "level_complite";
    _pauseTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(_pause, true, 0.0f, 0.0f, _break));
    Later("start tiles money", 1.7f);
}

ZovGameFieldStatistic::~ZovGameFieldStatistic() = default;

// Drawing and the frame.

void ZovGameFieldStatistic::Draw() {
    RenderDevice& device = Render::device;
    const float p = _appearTimer->GetProgress();
    if (_banner != NULL) {
        const Rect box = _banner->GetRectangle();
        device.PushMatrix();
        device.MatrixTranslate(static_cast<float>(_bannerPosition.x),
                               static_cast<float>(_bannerPosition.y) + _heightCurve.getValueAt(p), 0.0f);
        device.MatrixScaleUniform(_sizeCurve.getValueAt(p));
        device.PushAlpha(std::max(0.0f, std::min(1.0f, _alphaCurve.getValueAt(p))));
        _banner->Draw(Point(box.width / -2, box.height / -2));
        device.PopAlpha();
        device.PopMatrix();
    }
    _owner.DrawAll();
    _lines.Draw();
    _effects.Draw(1);
}

void ZovGameFieldStatistic::Update(float dt) {
    _effects.Update(dt);
    _pauseTimer->Update(dt);
    if (_pauseTimer->GetProgress() == 1.0f) _appearTimer->Update(dt);
    if (_waitingForContinue || Flaring(_appearTimer)) return;
    _messages.Update(dt);
    _lines.Update(dt);
    UpdateTimeDrain(dt);
    UpdateScoreDrain(dt);
}

void ZovGameFieldStatistic::UpdateTimeDrain(float dt) {
    if (_timeDrainTimer == NULL) return;
    _timeDrainTimer->Update(dt);
    const float v = static_cast<float>(_timeCount->GetValue());
    const bool flaring = Flaring(_timeDrainTimer);
    if (flaring) {
        const float p = _timeDrainTimer->GetProgress();
        if (!_timeTrail && !_timeTrailStarted) {
            _timeTrailStarted = true;
            _timeTrail = _owner.StartEffect("EffectWay");
            if (_timeTrail) {
                _timeTrail->x = TIMER_X;
                _timeTrail->y = TIMER_TOP - TIMER_LENGTH * (1.0f - v * 0.01f);
                _timeTrail->Reset();
            }
        } else if (_timeTrail) {
            _timeTrail->x = TIMER_X;
            _timeTrail->y = TIMER_TOP - TIMER_LENGTH * (1.0f - v * (1.0f - p) * 0.01f);
        }
        SendMessage("GameField", "Set timer " + Float::ToString(v * (1.0f - p) * 0.01f));
    } else if (_timeDrainTimer->_done) {
        // The drain ends on an empty timer even when the last frame stepped over the flare's end.
        SendMessage("GameField", "Set timer " + Float::ToString(0.0f));
        _timeDrainTimer = ObjectSmartPointer<FlarePosition>();
        if (_timeTrail) _timeTrail.Finish();
        _timeTrail = EffectHandle();
    }
}

void ZovGameFieldStatistic::UpdateScoreDrain(float dt) {
    if (_scoreDrainTimer == NULL) return;
    _scoreDrainTimer->Update(dt);
    if (Flaring(_scoreDrainTimer)) {
        const float left = static_cast<float>(_scoreBonus->GetValue()) * (1.0f - _scoreDrainTimer->GetProgress());
        _levelScore->SetValue(std::to_string(Math::round(left)));
    } else if (_scoreDrainTimer->_done) {
        _scoreDrainTimer = ObjectSmartPointer<FlarePosition>();
        _levelScore->SetValue("");
    }
}

// Input.

void ZovGameFieldStatistic::OnMouseDown(ObjectWeakPointer<MouseDownEvent> /*event*/) {
    if (_pauseTimer->GetProgress() != 1.0f || _waitingForContinue) return;
    if (_counting) {
        _silent = true;
        for (int i = 0; i < FAST_FORWARD_STEPS; ++i) Update(1.0f);
        _silent = false;
    } else if (!_okSent) {
        // Once: a second click while the screen fades out would close it twice.
        _okSent = true;
        SendMessage("post:GameField", "StatButtonOk");
    }
}

void ZovGameFieldStatistic::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    if (!event.InstanceOf<KeyDownEvent>()) return;
    const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
    if (key->IsKeyHandled() || key->GetKey() != KEY_SPACE) return;
    if (!PermanentStorage::GetGlobalBoolOrDef("dev", true)) return;
    _counting = true;
    _okSent = false;
    _timeTrailStarted = false;
    Later("start tiles money", 1.7f);
    _effects.Clear();
    _lines._elapsed = 0.0f;
    SendMessage("OverStatistic", "clear children list");
    for (DelayText& line : _lines._lines) line._elapsed = 0.0f;
}

// The sequence.

void ZovGameFieldStatistic::Later(const std::string& step, float seconds) {
    _messages.Add(GetReceiverName(), step, seconds);
}

void ZovGameFieldStatistic::OnMessage(std::string message) {
    if (message == "continue") {
        _waitingForContinue = false;
        PlaceCups();
        _tilesMoneyText = PermanentStorage::GetLocalString("TilesLevelMoney");
        Hide(Replace("%ScoreLevelMoney%", Money(ScoreMoney())));
        Hide(Replace("%TilesLevelMoney%", _tilesMoneyText));
        Hide(Replace("%TimeLevelMoney%", Money(TimeMoney())));
        const int total = Replace("%LevelMoney%", Money(PermanentStorage::GetLocalInt("Level money")));
        if (total >= 0) _totalText = _lines._lines[static_cast<std::size_t>(total)]._text;
        Hide(total);
        PlaceTiles();
    } else if (message == "start tiles money") {
        StartTilesMoney();
    } else if (message == "start score money") {
        StartScoreMoney();
    } else if (message == "continue score money") {
        ContinueScoreMoney();
    } else if (message == "start timer money") {
        StartTimerMoney();
    } else if (message == "continue timer money") {
        ContinueTimerMoney();
    } else if (message == "start level money") {
        StartLevelMoney();
    } else if (message == "start total effect") {
        StartTotalEffect();
    } else if (message == "first click") {
        FirstClick();
    }
}

int ZovGameFieldStatistic::Replace(const std::string& placeholder, const std::string& replacement) {
    return _lines.Replace(placeholder, replacement);
}

void ZovGameFieldStatistic::Hide(int line) {
    if (line >= 0) _lines._lines[static_cast<std::size_t>(line)]._isVisible = false;
}

int ZovGameFieldStatistic::Width(int line, const std::string& text) const {
    return TextWidth(text, _lines._lines[static_cast<std::size_t>(line)]._font);
}

void ZovGameFieldStatistic::AddPicture(int line, const std::string& textureId, int offset, const std::string& t,
                                       bool cup) {
    DelayText& l = _lines._lines[static_cast<std::size_t>(line)];
    const UsingPointer<Texture> picture = ResourceManager::GetTextureOrFrame(textureId);
    if (picture == NULL) return;
    const Rect box = picture->GetRectangle();
    const int x = cup ? l._position.x + offset - Width(line, t) - 5 * box.width / 8
                      : l._position.x + offset - (Width(line, t) + box.width);
    l._pictures.push_back(DelayText::Picture{picture, Point(x, l._position.y + box.height / -2)});
}

void ZovGameFieldStatistic::PlaceCups() {
    int gold = 0;
    int silver = 0;
    int bronze = 0;
    for (int k = 1; k <= 3; ++k) {
        // A player who never won a cup has no cup values: no cup.
        const std::string cup = PermanentStorage::GetLocalStringOrDef(std::to_string(k) + " Cup", "");
        if (cup == "Gold") ++gold;
        if (cup == "Gold" || cup == "Silver") ++silver;
        if (cup == "Gold" || cup == "Silver" || cup == "Bronze") ++bronze;
    }
    // From the right: each kind's count and picture, and room before the next kind's count.
    int o = 0;
    PlaceCount("%gold%", gold, "", "statistics_gold_cup", "%silver%", "   ", true, o);
    PlaceCount("%silver%", silver, "", "statistics_silver_cup", "%bronze%", "   ", true, o);
    PlaceCount("%bronze%", bronze, "  ", "statistics_bronze_cup", "", "", true, o);
    _cupsShown = bronze >= 1;
    if (bronze >= 1) {
        Replace("%CupLevelMoney%", Money(PermanentStorage::GetLocalInt("CupBonusInt")));
        return;
    }
    // No cup: the two cup lines go (only those that exist) and the later lines close up.
    std::vector<DelayText>& lines = _lines._lines;
    if (lines.size() <= FIRST_CUP_LINE) return;
    const std::size_t last = std::min(lines.size(), FIRST_CUP_LINE + 2);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(FIRST_CUP_LINE),
                lines.begin() + static_cast<std::ptrdiff_t>(last));
    for (std::size_t i = FIRST_CUP_LINE; i < lines.size(); ++i) {
        lines[i]._startTime -= CUP_LINES_TIME;
        lines[i]._position.y += CUP_LINES_HEIGHT;
    }
}

void ZovGameFieldStatistic::PlaceTiles() {
    int o = 0;
    if (_goldenTilesShown) {
        PlaceCount("%goldenTiles%", PermanentStorage::GetLocalInt("goldenCountInt"), "", "golden_middle",
                   "%silverTiles%", "      ", false, o);
    } else {
        Replace("%goldenTiles%", "");
    }
    // The silver count stands even when it is 0.
    PlaceCount("%silverTiles%", PermanentStorage::GetLocalInt("silverCountInt"), "", "silver_middle", "", "", false, o);
}

void ZovGameFieldStatistic::PlaceCount(const std::string& placeholder, int count, const std::string& before,
                                       const std::string& textureId, const std::string& next, const std::string& gap,
                                       bool cup, int& o) {
    if (count < 1 && cup) {
        Replace(placeholder, "");
        return;
    }
    const std::string t = "x" + std::to_string(count);
    const int line = Replace(placeholder, before + t);
    if (line >= 0) {
        if (o == 0) o = -Width(line, " :");
        AddPicture(line, textureId, o, t, cup);
        o -= Width(line, gap + t);
    }
    if (!next.empty()) Replace(next, next + gap);
}

std::string ZovGameFieldStatistic::Money(int value) const { return _moneyPrefix + std::to_string(value) + _moneySuffix; }

int ZovGameFieldStatistic::ScoreMoney() const {
    return Math::round(std::ceil(static_cast<float>(PermanentStorage::GetLocalInt("LevelScoreBonusInt")) *
                                 PermanentStorage::GetLocalFloat("LevelScoreBonusMul")));
}

int ZovGameFieldStatistic::TimeMoney() const {
    return Math::round(std::ceil(static_cast<float>(PermanentStorage::GetLocalInt("TimeCountInt")) *
                                 PermanentStorage::GetLocalFloat("TimeCountMul")));
}

float ZovGameFieldStatistic::TotalY() const { return _cupsShown ? 107.0f : 159.0f; }

void ZovGameFieldStatistic::AddFlyText(float x0, float y0, float x1, float y1, const std::string& text, float scale,
                                       float delay) {
    _effects.Add(1, ObjectSmartPointer<EffectBase>(
                        new FlyTextEffect(x0, y0, x1, y1, text, scale, MONEY_FONT, 1.3f, delay, _silent)));
}

void ZovGameFieldStatistic::AddCounter(float x0, float y0, float x1, float y1, int from, int to, float duration,
                                       float delay) {
    _effects.Add(1, ObjectSmartPointer<EffectBase>(new TimerBonusEffect(
                        x0, y0, x1, y1, from, to, _moneyPrefix, _moneySuffix, MONEY_FONT, duration, delay, _silent)));
}

void ZovGameFieldStatistic::StartTilesMoney() {
    const int w = TextWidth("  " + _tilesMoneyText, MONEY_FONT);
    AddFlyText(418.0f, 589.0f, static_cast<float>(400 + w / 2), 367.0f, _tilesMoneyText, 0.56f, 0.5f);
    PermanentStorage::SetLocalString("TilesLevelMoney", "");
    Later("start score money", 1.3f);
}

void ZovGameFieldStatistic::StartScoreMoney() {
    const float d = std::max(std::min(static_cast<float>(_scoreBonus->GetValue()) / SCORE_DIVISOR, 2.0f), 0.1f);
    AddCounter(252.0f, 563.0f, 252.0f, 563.0f, 0, ScoreMoney(), d + 0.25f, 0.25f);
    _scoreDrainTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(d, true, 0.0f, 0.0f, 0.25f));
    Later("continue score money", d + 0.25f);
}

void ZovGameFieldStatistic::ContinueScoreMoney() {
    const std::string text = Money(ScoreMoney());
    const int w = TextWidth("  " + text, MONEY_FONT);
    AddFlyText(252.0f, 563.0f, static_cast<float>(400 + w / 2), 315.0f, text, 0.75f, 0.3f);
    Later("start timer money", 1.3f);
}

void ZovGameFieldStatistic::StartTimerMoney() {
    const float v = static_cast<float>(_timeCount->GetValue());
    const float d = std::max(0.1f, v / TIME_DIVISOR * 0.01f);
    AddCounter(TIMER_X, TIMER_TOP - TIMER_LENGTH * (1.0f - v * 0.01f), TIMER_X, TIMER_BOTTOM, 1, TimeMoney(),
               d + 0.3f, 0.3f);
    _timeDrainTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(d, true, 0.0f, 0.0f, 0.3f));
    Later("continue timer money", d + 0.3f);
}

void ZovGameFieldStatistic::ContinueTimerMoney() {
    const std::string text = Money(TimeMoney());
    const int w = TextWidth("  " + text, MONEY_FONT);
    AddFlyText(TIMER_X, TIMER_BOTTOM, static_cast<float>(400 + w / 2), 263.0f, text, 0.75f, 0.3f);
    Later("start level money", 1.3f);
}

void ZovGameFieldStatistic::StartLevelMoney() {
    _effects.Add(1, ObjectSmartPointer<EffectBase>(new RotateInEffect(400.0f, TotalY(), _totalText, 2.5f, "money_big",
                                                                       0.7f, 0.4f)));
    if (!_silent) Sound::soundSystem.PlaySample("total_money");
    Later("start total effect", 0.7f);
}

void ZovGameFieldStatistic::StartTotalEffect() {
    if (!_silent) {
        EffectHandle bubbles = _owner.StartEffect("BubblesColumn");
        if (bubbles) {
            bubbles->x = 400.0f;
            bubbles->y = TotalY();
            bubbles->Reset();
        }
    }
    Later("first click", 0.5f);
}

void ZovGameFieldStatistic::FirstClick() {
    _counting = false;
    SendMessage("OverStatistic", "template ClickToContinueTemplate");
    SendMessage("OverStatistic", "create top instance");
}
