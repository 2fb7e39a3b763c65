#include "match3/ZovGameFieldControl.h"

#include <cmath>
#include <type_traits>

#include "content/MotionTransporter.h"
#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "match3/board/BoardFiles.h"
#include "match3/board/LevelResults.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"

namespace {

const char* const PICTURE_IDS[] = {"locks",     "cell_glow",  "silver",    "golden",      "blue",
                                   "scope",     "left_arrow", "down_arrow", "right_arrow", "up_arrow",
                                   "lock_pieces", "silver_glow", "golden_glow"};

}  // namespace

ZovGameFieldControl::ZovGameFieldControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml),
      MessageReceiver(xml),
      FieldHintMessage(),
      _board(_random, _pieces, *this) {
    // Thirty bits of the program's generator: a new board every game, the same under one seed.
    const unsigned high = static_cast<unsigned>(Random::Next());
    _random.Seed((high << 15) | static_cast<unsigned>(Random::Next()));
    _homePos = _position;
    ReadOptions(xml);
    ReadCosts();
    ReadConstants();
    _pieces.LoadPrototypes();
    _idleWaveCountdown = 45.0f + RandomFloat(1.0f) * (30.0f - 45.0f);
    _shine = ObjectSmartPointer<FlarePosition>(new FlarePosition(0.0f, true, 0.0f, 0.0f, 0.0f));
    _shine->_done = true;
    _pieceFlare = ObjectSmartPointer<FlarePosition>(new FlarePosition(0.75f, false, 40.0f, 50.0f, 15.0f));
    AfterPlayerChange();
}

ZovGameFieldControl::~ZovGameFieldControl() { AllowDestructor(); }

void ZovGameFieldControl::ReadOptions(const ObjectWeakPointer<XmlElement>& xml) {
    if (xml.Get() == nullptr) return;
    ObjectWeakPointer<XmlElement> e = xml->GetFirstChildElement("GameTimeCounter");
    if (e.Get() != nullptr) _timer = ObjectSmartPointer<GameTimeCounter>(new GameTimeCounter(_parent, e));
    e = xml->GetFirstChildElement("FieldEditor");
    if (e.Get() != nullptr) _editor = ObjectSmartPointer<FieldEditor>(new FieldEditor(e));
    e = xml->GetFirstChildElement("toExit");
    if (e.Get() != nullptr) _exit = ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(e));
    e = xml->GetFirstChildElement("toMenu");
    if (e.Get() != nullptr) _toMenu = ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(e));
    e = xml->GetFirstChildElement("levelPrefix");
    if (e.Get() != nullptr) _levelPrefix = ResourceManager::GetString(e->GetStringAttribute("resourceName"));
    e = xml->GetFirstChildElement("lockPieces");
    if (e.Get() != nullptr) {
        for (ObjectWeakPointer<XmlElement> p = e->GetFirstChildElement(); p.Get() != nullptr; p = p->GetNextElement()) {
            Assert(p->GetName() == "point");
            _lockPieces.push_back(Point(p->GetIntAttribute("x"), p->GetIntAttribute("y")));
        }
    }
    e = xml->GetFirstChildElement("scorePosition");
    if (e.Get() != nullptr) _scorePosition = Point(e->GetIntAttribute("x"), e->GetIntAttribute("y"));
    e = xml->GetFirstChildElement("startTime");
    if (e.Get() != nullptr) {
        _fieldStart = e->GetFloatAttribute("fieldStart");
        _readyGoEffectStart = e->GetFloatAttribute("readyGoEffectStart");
    }
    _fieldStartLeft = _fieldStart;
    _readyGoLeft = _readyGoEffectStart;
    e = xml->GetFirstChildElement("receivers");
    if (e.Get() != nullptr) {
        _hidePanelId = e->GetStringAttribute("hidePanelId");
        _scoreId = e->GetStringAttribute("scoreId");
        _moneyId = e->GetStringAttribute("moneyId");
        _levelId = e->GetStringAttribute("levelId");
    }
    for (const char* id : PICTURE_IDS) {
        if (ResourceManager::HasTexture(id)) _pictures[id] = ResourceManager::GetTextureOrFrame(id);
    }
    if (ResourceManager::HasAnimation("silver_piece_flare")) {
        _silverPieceFlare = ObjectSmartPointer<AnimationService>(
            new AnimationService(ResourceManager::GetAnimation("silver_piece_flare")));
    }
    if (ResourceManager::HasAnimation("golden_piece_flare")) {
        _goldenPieceFlare = ObjectSmartPointer<AnimationService>(
            new AnimationService(ResourceManager::GetAnimation("golden_piece_flare")));
    }
    if (ResourceManager::HasString("MoneyPrefix")) _moneyPrefix = ResourceManager::GetString("MoneyPrefix");
    if (ResourceManager::HasString("MoneySuffix")) _moneySuffix = ResourceManager::GetString("MoneySuffix");
    _board.SetMoneyAffixes(_moneyPrefix, _moneySuffix);
}

void ZovGameFieldControl::ReadCosts() {
    ObjectSmartPointer<XmlDocument> doc = LoadXmlDocument("GameplayCost.xml");
    if (doc.Get() == nullptr || doc->GetRoot().Get() == nullptr) return;
    doc->GetRoot()->MarkVisitedTree();
    ObjectWeakPointer<XmlElement> scores = doc->GetRoot()->GetFirstChildElement("paintScores");
    if (scores.Get() == nullptr) {
        ReportError("GameplayCost.xml: no paintScores");
        return;
    }
    // Scores and money are never negative and never so large that a level's sums run out of range;
    // a value outside is reported and the cost is left out (it counts 0).
    static const char* const INT_COSTS[] = {"doubleLock",       "lock",          "clearMatch3",   "clearMatch4",
                                            "clearMatch5",      "clearMatch6",   "clearMatch7",   "fireCrackerClear",
                                            "blackBombClear",   "dynamitClear",  "nukeClear",     "multiplelExploids",
                                            "lightningClear",   "krugMoneyAddon"};
    auto bounded = [&](const char* name) { return ReadBoundedNumber(scores, "GameplayCost.xml", name, 0.0, MAX_COST, -1.0); };
    for (const char* name : INT_COSTS) {
        const double value = bounded(name);
        if (value >= 0.0) _board.Costs()[name] = static_cast<float>(static_cast<int>(value));
    }
    for (const char* name : {"silver", "golden"}) {
        const double value = bounded(name);
        if (value >= 0.0) _board.Costs()[name] = static_cast<float>(value);
    }
    for (const char* name : {"pieceExploid", "lockExploid", "excellentTime", "terrificTime", "spectacularTime"}) {
        const double value = bounded(name);
        if (value >= 0.0) _intCosts[name] = static_cast<int>(value);
    }
}

void ZovGameFieldControl::ReadConstants() {
    BoardTuning& t = _board.Tuning();
    t.GRAVITY = GRAVITY;
    t.PIECE_SPEED = PIECE_SPEED;
    ObjectSmartPointer<XmlDocument> doc = LoadXmlDocument("ini.xml");
    if (doc.Get() == nullptr || doc->GetRoot().Get() == nullptr) return;
    doc->GetRoot()->MarkVisitedTree();
    ObjectWeakPointer<XmlElement> r = doc->GetRoot();
    // Each constant within the range the field can work with; outside it the current value stays.
    auto read = [&r](const char* name, double min, double max, auto& value) {
        using T = std::remove_reference_t<decltype(value)>;
        value = static_cast<T>(ReadBoundedNumber(r, "ini.xml", name, min, max, static_cast<double>(value)));
    };
    read("HINT_PAUSE", 0.0, 600.0, t.HINT_PAUSE);
    read("GRAVITY", 1.0, 1.0e6, t.GRAVITY);
    read("HIDE_TIME", 0.01, 10.0, t.HIDE_TIME);
    read("PIECE_SPEED", 1.0, 1.0e5, t.PIECE_SPEED);
    read("DELTA_SPEED", 0.0, 1.0e5, t.DELTA_SPEED);
    read("SOFT", 0.0, 10.0, t.SOFT);
    read("EXCHANGE_TIME", 0.01, 10.0, t.EXCHANGE_TIME);
    read("CHANGE_CELL_D", 1.0, 44.0, _tuning.CHANGE_CELL_D);
    read("TIME_BEFORE_HELP", 0.0, 3600.0, _tuning.TIME_BEFORE_HELP);
    read("TIME_FOR_NEXT", 0.0, 600.0, _tuning.TIME_FOR_NEXT);
    read("ONE_EXPLOID_TIME", 0.01, 10.0, t.ONE_EXPLOID_TIME);
    read("TO_LIGHNING_ENOUGH", 1.0, 10000.0, t.TO_LIGHNING_ENOUGH);
    read("CYCLE_LEVEL", 1.0, 10000.0, _tuning.CYCLE_LEVEL);
    read("TOO_LITTLE_PIECES", 0.0, static_cast<double>(MAX_FIELD_X * MAX_FIELD_Y), _tuning.TOO_LITTLE_PIECES);
    GRAVITY = t.GRAVITY;
    PIECE_SPEED = t.PIECE_SPEED;
}

float ZovGameFieldControl::LevelTimeFactor() const {
    return ::LevelTimeFactor(PermanentStorage::GetLocalFloatOrDef("Time Multiplier", 0.0f));
}

Point ZovGameFieldControl::CellCentre(int x, int y) {
    const BoardPoint c = _board.CellCentre(x, y);
    return Point(c.x, c.y);
}

void ZovGameFieldControl::FinishAppearance() {
    for (int i = 0; i < FINISH_APPEARANCE_STEPS && !_fieldShown && _levelTime > 0; ++i) Update(MAX_DT);
    _particles.FinishAll();
}

void ZovGameFieldControl::StopTimerShine() {
    if (_timer.Get() == nullptr) return;
    _timer->shining = false;
    _timer->shineTime = _timer->shinePeriod * 0.75f;
}

void ZovGameFieldControl::SendExit() {
    if (_exit.Get() != nullptr) _exit->Send();
}

// Board events: sounds, particles, effects, messages and player values.
void ZovGameFieldControl::OnBoardEvent(const BoardEvent& e) {
    switch (e.type) {
        case BoardEventType::Sound:
            if (e.defaultPan) {
                Sound::soundSystem.PlaySample(e.name);
            } else {
                Sound::soundSystem.PlaySampleEx(e.name, e.pan, false);
            }
            break;
        case BoardEventType::Particle: {
            EffectOwner& owner = e.owner == 1 ? _fallParticles : _particles;
            EffectHandle h = owner.StartEffect(e.name);
            if (h) {
                h->x = e.pos.x;
                h->y = e.pos.y;
                h->Reset();
            }
            break;
        }
        case BoardEventType::Effect:
            AddBoardEffect(e);
            break;
        case BoardEventType::Message:
            if (e.name != "ZovFieldStatistic" || IsReceiver(e.name)) SendMessage(e.name, e.text);
            break;
        case BoardEventType::DelayedMessage:
            _delayedMessages.Add(e.name, e.text, e.delay);
            break;
        case BoardEventType::PlayerInt:
            PermanentStorage::SetLocalInt(e.name, e.value);
            break;
        case BoardEventType::PlayerBool:
            PermanentStorage::SetLocalBool(e.name, e.value != 0);
            break;
        case BoardEventType::PlayerString:
            PermanentStorage::SetLocalString(e.name, e.text);
            break;
        case BoardEventType::HintClocksReset:
            _idleTime = 0.0f;
            _hintAnimTime = 0.0f;
            break;
        case BoardEventType::ReshuffleSnapshot:
            TakeSnapshot();
            break;
        case BoardEventType::MoveHintRestart:
            _idleTime = _moveHintShown ? -0.2f : 0.0f;
            break;
        case BoardEventType::SlowMotion:
            _slowMotion = ObjectSmartPointer<FlarePosition>(new FlarePosition(e.duration, true, 0.0f, 0.0f, 0.0f));
            HtmlLog::WriteLine("Slow motion starts: " + std::to_string(static_cast<int>(e.duration * 1000.0f)) + " ms");
            break;
        case BoardEventType::SlowMotionCurve:
            _slowMotionCurve.Clear();
            _slowMotionCurve.addKey(0.0f, 1.0f);
            _slowMotionCurve.addKey(0.25f, 0.1f);
            _slowMotionCurve.addKey(1.0f, 1.0f);
            _slowMotionCurve.CalculateGradient(false);
            break;
        default:
            break;
    }
}
