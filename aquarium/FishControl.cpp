// The fish's construction roads, its saved element, its answers to the tank, mouse input, selling
// and its texts.
#include "aquarium/FishControl.h"

#include <algorithm>
#include <cmath>

#include "aquarium/SceneryDrawing.h"
#include "aquarium/TankRecords.h"
#include "aquarium/ZOrderControl.h"
#include "content/ResourceManager.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/Math.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/String.h"
#include "core/VolumeObject.h"
#include "core/XmlElement.h"
#include "shell/Texture.h"

namespace {

constexpr float ENTRY_TOP = 600.0f;
// A fish of a background tank starts this far behind its first destination.
constexpr float IN_PLACE_SHIFT = 20.0f;
constexpr float START_SPEED = 50.0f;
constexpr int ENTRY_MIN_SHIFT = 20;
constexpr int ENTRY_MAX_SHIFT = 100;
constexpr float MEMBER_MIN_DELAY = 0.125f;
constexpr float MEMBER_MAX_DELAY = 0.5f;

void ReportFalse(const char* file, int line) { ReportFailure("Assertion failed", "false", file, line); }

ObjectSmartPointer<XmlElement> PointElement(const char* name, const TrajectoryPoint& p) {
    ObjectSmartPointer<XmlElement> element(new XmlElement(name));
    element->SetFloatAttribute("x", p.x);
    element->SetFloatAttribute("y", p.y);
    element->SetIntAttribute("z", p.depth);
    return element;
}

TrajectoryPoint ReadPoint(const ObjectWeakPointer<XmlElement>& state, const char* name) {
    const ObjectWeakPointer<XmlElement> element = scenery::Child(state, name);
    TrajectoryPoint p;
    p.depth = element->GetIntAttribute("z");
    p.y = element->GetFloatAttribute("y");
    p.x = element->GetFloatAttribute("x");
    return p;
}

ObjectSmartPointer<XmlElement> TimerElement(const char* name, const ObjectSmartPointer<FlarePosition>& timer) {
    ObjectSmartPointer<XmlElement> element(new XmlElement(name));
    if (timer != NULL) timer->SaveTo(element);
    return element;
}

}  // namespace

FishControl::FishControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : ZOrderClientControl(parent, xml), FishTrajectory(FindTank(*this)) {
    const ObjectWeakPointer<XmlElement> animations = scenery::Child(xml, "animations");
    const ObjectWeakPointer<XmlElement> info = scenery::Child(xml, "fishInfo");
    _sideId = animations->GetStringAttribute("side");
    _frontId = animations->GetStringAttribute("front");
    _backId = animations->GetStringAttribute("back");
    _templateId = info->GetStringAttribute("templateId");
    _isHippocampus = info->GetBoolAttributeOrDef("hippocampus", false);
    if (_isHippocampus) {
        _entryPitchCurve.addKey(0.0f, -Math::PI / 4.0f);
        _entryPitchCurve.addKey(1.0f, 0.0f);
        _jumpId = animations->GetStringAttribute("jump");
        _jump = ResourceManager::UseAnimation(_jumpId);
    } else {
        _entryPitchCurve.addKey(0.0f, Math::PI / 2.0f);
        _entryPitchCurve.addKey(0.85f, 0.0f);
        _entryPitchCurve.addKey(1.0f, 0.0f);
    }
    _entryPitchCurve.CalculateGradient(false);
    _jumpCurve.addKey(0.0f, 0.0f);
    _jumpCurve.addKey(0.25f, 1.0f);
    _jumpCurve.addKey(1.0f, 0.0f);
    _jumpCurve.CalculateGradient(false);

    _acceleration = info->GetFloatAttribute("acceleration");
    _accTime = info->GetFloatAttributeOrDef("accTime", 1.0f);
    _maxAngle = info->GetFloatAttribute("maxAngle");
    _maxPause = info->GetFloatAttribute("maxPause");
    _minPause = info->GetFloatAttribute("minPause");
    _minAction = info->GetIntAttribute("minAction");
    _minSpeed = info->GetFloatAttribute("minSpeed");
    _school = info->GetFloatAttribute("school");
    _race = info->GetFloatAttribute("race");
    _curiosity = info->GetFloatAttribute("curiosity");
    _isStudy = info->GetBoolAttributeOrDef("study", false);
    _side = ResourceManager::UseAnimation(_sideId);
    _front = ResourceManager::UseAnimation(_frontId);
    _back = ResourceManager::UseAnimation(_backId);
    _shadowId = animations->GetStringAttribute("shadow");
    _shadow = ResourceManager::GetTextureOrFrame(_shadowId);
    _bubbleBlue = ResourceManager::GetTextureOrFrame("bubble_blue");

    _pauseTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(_accTime, false, _minPause, _maxPause, 0.0f));

    const ObjectWeakPointer<XmlElement> state = xml->GetFirstChildElement("state");
    if (state != NULL) {
        ReadState(state);
    } else if (_tank != NULL && !_tank->AreWishesEnabled()) {
        StartInPlace();
    } else {
        StartEntering();
    }
    if (state == NULL) {
        _pitch = 0.0f;
        _speed = START_SPEED;
        _current = &_side;
        _frameIndex = 0;
    }
    _isObject = false;
    SetFrame(*_current, _frameIndex);
    _isCycleWrapped = false;
    _raceIndex = 0;
    Update(0.0f);
    xml->MarkVisitedTree();
    MakeSchool(xml);
}

FishControl::~FishControl() { _members.clear(); }

std::string FishControl::CheckRecord(const ObjectWeakPointer<XmlElement>& record, bool) {
    const XmlElement& fish = *record.Get();
    const XmlElement* info = RecordChild(fish, "fishInfo");
    if (info == nullptr) return "<fishInfo> is missing";
    if (RecordChild(fish, "animations") == nullptr) return "<animations> is missing";
    const double most = TankLimits::MAX_NUMBER;
    const std::pair<const char*, std::pair<double, double>> ranges[] = {
        {"acceleration", {0.0, most}}, {"maxAngle", {0.0, most}},    {"minPause", {0.0, most}},
        {"maxPause", {0.0, most}},     {"minAction", {0.0, most}},
        {"school", {0.0, 1.0}},        {"race", {0.0, 1.0}},         {"curiosity", {0.0, 1.0}}};
    for (const auto& range : ranges) {
        const std::string problem = CheckRecordRange(*info, range.first, range.second.first, range.second.second);
        if (!problem.empty()) return problem;
    }
    double accTime = 0.0;
    if (RecordNumber(*info, "accTime", accTime) && !(accTime > 0.0)) return "'accTime' of <fishInfo> is out of range";
    const XmlElement* state = RecordChild(fish, "state");
    if (state == nullptr) return std::string();
    double stateId = 0.0;
    if (RecordNumber(*state, "stateId", stateId) && !(stateId >= 0.0 && stateId <= (SWIM | TURN | SCHOOL | STUDY))) {
        std::string text;
        RecordText(*state, "stateId", text);
        return "'stateId' " + text + " holds a state no stored fish has (16 entering, 64 sold)";
    }
    for (const char* name : {"turnTime", "nFrame"}) {
        double value = 0.0;
        if (RecordNumber(*state, name, value) && value < 0.0) return std::string("'") + name + "' of <state> is below 0";
    }
    for (const char* name : {"position", "currentDest", "oldDest"}) {
        const XmlElement* point = RecordChild(*state, name);
        if (point == nullptr) return std::string("<") + name + "> of <state> is missing";
        const std::string problem = CheckRecordRange(*point, "z", 0.0, 200.0);
        if (!problem.empty()) return problem;
    }
    for (const char* name : {"studyAction", "jumpAction"}) {
        const XmlElement* timer = RecordChild(*state, name);
        if (timer == nullptr) continue;
        const std::string problem = CheckRecordTimer(*timer);
        if (!problem.empty()) return problem;
    }
    return std::string();
}

void FishControl::ReadState(const ObjectWeakPointer<XmlElement>& state) {
    _stateId = state->GetIntAttribute("stateId");
    if (Is(STUDY)) {
        _studyStartSpeed = state->GetFloatAttribute("studyStartSpeed");
        _studyStartDistance = state->GetFloatAttribute("studyStartDist");
        _isWaiting = state->GetBoolAttribute("waiting");
        if (_isWaiting) {
            _studyTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(scenery::Child(state, "studyAction")));
            _studyPoint.x = state->GetFloatAttribute("studyX");
            _studyPoint.y = state->GetFloatAttribute("studyY");
            _studyAngle = state->GetFloatAttribute("studyAngle");
        }
    }
    if (state->GetBoolAttributeOrDef("hippocampusJump", false)) {
        _isJumping = true;
        _jumpSpeed = state->GetFloatAttribute("hippoSpeed");
        _pauseTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(scenery::Child(state, "jumpAction")));
    }
    _pos = ReadPoint(state, "position");
    HoldDepth(_pos.depth);
    _currentDest = ReadPoint(state, "currentDest");
    if (_tank != NULL && !(_currentDest.y >= _tank->GetMinY(true))) {
        ReportFailure("Assertion failed", "_currentDest.y >= GetZOrder()->GetMinY(true)", __FILE__, __LINE__);
    }
    _isObject = state->GetBoolAttributeOrDef("isObject", false);
    _oldDest = ReadPoint(state, "oldDest");
    _speed = _minSpeed;
    _pitch = state->GetFloatAttribute("angle");
    _frameIndex = state->GetIntAttribute("nFrame");
    // The frame clock stands where the saved frame was drawn, so the fish keeps its frame.
    _frameClock = static_cast<float>(_frameIndex);
    _turnTime = state->GetFloatAttribute("turnTime");
    // A race route is not saved: a fish of the tank comes back free.
    if (!IsMember()) Clear(SCHOOL);
    if (Is(TURN)) {
        _turnDuration = TurnDuration(0.001f * static_cast<float>(_currentDest.depth) + 0.8f);
        _current = _oldDest.depth >= _currentDest.depth ? &_back : &_front;
    } else {
        _current = &_side;
    }
}

void FishControl::StartInPlace() {
    _stateId = SWIM;
    _pos = _currentDest;
    _currentDest = NextDestination(_pos, false);
    _pos.x += _currentDest.x <= _pos.x ? IN_PLACE_SHIFT : -IN_PLACE_SHIFT;
    _oldDest = _pos;
    _currentDest.depth = _pos.depth;
    _isCycleWrapped = true;
}

void FishControl::StartEntering() {
    _stateId = SWIM | ENTER;
    _entryStartX = _pos.x - static_cast<float>(Math::sign(_currentDest.x - _pos.x) *
                                               RandomIntRange(ENTRY_MIN_SHIFT, ENTRY_MAX_SHIFT));
    _entryTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(ENTRY_TIME, true, 0.0f, 0.0f, 0.0f));
    _entryX = _entryStartX;
    _entryY = ENTRY_TOP;
    _entryYCurve.addKey(0.0f, ENTRY_TOP);
    _entryYCurve.addKey(0.5f, _pos.y);
    _entryYCurve.addKey(1.0f, _pos.y);
    _entryYCurve.CalculateGradient(false);
    _bubbleTrail = _bubbleTrailOwner.StartEffect("BubblesFishPath");
    if (_bubbleTrail) {
        _bubbleTrail->x = _entryStartX;
        _bubbleTrail->y = ENTRY_TOP;
        _bubbleTrail->Reset();
    }
    _frameClock = 0.0f;
    if (_tank != NULL) {
        _tank->OnMessage("comfort " + Int::ToString(static_cast<int>(_entryStartX)) + "," +
                         Int::ToString(static_cast<int>(ENTRY_TOP)));
    }
}

void FishControl::MakeSchool(const ObjectWeakPointer<XmlElement>& xml) {
    if (_school != 1.0f) return;
    if (!GetParent().InstanceOf<ZOrderControl>()) {
        Set(SCHOOL);
        return;
    }
    for (int i = 0; i < SCHOOL_SIZE; ++i) {
        ObjectSmartPointer<FishControl> member(new FishControl(ObjectWeakPointer<Control>(this), xml));
        if (Is(ENTER)) {
            member->_entryTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(
                ENTRY_TIME, true, 0.0f, 0.0f, RandomFloatRange(MEMBER_MIN_DELAY, MEMBER_MAX_DELAY)));
        } else {
            const float behind = static_cast<float>(Math::sign(_pos.x - _currentDest.x));
            const float w = GetWidth() / 2.0f;
            const float h = GetHeight() / 2.0f;
            member->_currentDest.x += behind * RandomFloatRange(0.0f, w);
            member->_pos.x += behind * RandomFloatRange(0.0f, w);
            member->_currentDest.y += RandomFloatRange(0.0f, h);
            member->_pos.y += RandomFloatRange(0.0f, h);
        }
        _members.push_back(member);
    }
}

bool FishControl::IsMember() const { return GetParent().InstanceOf<FishControl>(); }

// Pictures.

int FishControl::FrameCount(const UsingPointer<Animation>& animation) const {
    return animation != NULL ? animation->size() : 0;
}

void FishControl::SetFrame(const UsingPointer<Animation>& animation, int index) {
    const int n = FrameCount(animation);
    if (n <= 0) {
        _frame = UsingPointer<Texture>();
        return;
    }
    _frame = animation->GetFrame(((index % n) + n) % n);
}

bool FishControl::IsCurrentAnimation(const std::string& id) const {
    if (_current == &_side) return id == _sideId;
    if (_current == &_front) return id == _frontId;
    if (_current == &_back) return id == _backId;
    return id == _jumpId;
}

// The tank's questions.

float FishControl::GetZ() { return DepthToZ(_currentDest.depth); }

float FishControl::GetX() { return _pos.x - GetWidth() / 2.0f; }

float FishControl::GetY() { return Project(_pos.y, GetZ()); }

float FishControl::GetWidth() { return _frame != NULL ? static_cast<float>(_frame->GetRectangle().width) : 0.0f; }

float FishControl::GetHeight() { return _frame != NULL ? static_cast<float>(_frame->GetRectangle().height) : 0.0f; }

float FishControl::Project(float y, float z) {
    if (_tank == NULL) return y;
    const float minY = _tank->GetMinY(true);
    const float range = _tank->GetMaxY() - minY;
    const float band = (1.0f - z) * 200.0f;
    const float t = range != 0.0f ? (y - minY) / range : 0.0f;
    return minY + band + t * (range - band);
}

void FishControl::AddVolume(VolumeObjectList& list) {
    ZOrderClientControl::AddVolume(list);
    for (const ObjectSmartPointer<FishControl>& member : _members) member->AddVolume(list);
}

void FishControl::OnSellingCancelled() { ReportFalse(__FILE__, __LINE__); }

void FishControl::OnSellingDone() { ReportFalse(__FILE__, __LINE__); }

// Saving.

ObjectSmartPointer<XmlElement> FishControl::SaveToXml() {
    if (Is(SOLD)) return ObjectSmartPointer<XmlElement>();
    // An entering fish is saved as arrived, level; it keeps entering here (a shop save comes
    // while it drops in).
    const bool isEntering = Is(ENTER);
    ObjectSmartPointer<XmlElement> fish(new XmlElement("FishControl"));
    ObjectSmartPointer<XmlElement> position(new XmlElement("position"));
    position->SetIntAttribute("x", _position.x);
    position->SetIntAttribute("y", _position.y);
    fish->AppendChild(position);

    ObjectSmartPointer<XmlElement> animations(new XmlElement("animations"));
    animations->SetStringAttribute("side", _sideId);
    animations->SetStringAttribute("front", _frontId);
    animations->SetStringAttribute("back", _backId);
    animations->SetStringAttribute("shadow", _shadowId);
    if (_isHippocampus) animations->SetStringAttribute("jump", _jumpId);
    fish->AppendChild(animations);

    ObjectSmartPointer<XmlElement> info(new XmlElement("fishInfo"));
    info->SetStringAttribute("templateId", _templateId);
    info->SetFloatAttribute("acceleration", _acceleration);
    info->SetFloatAttribute("accTime", _accTime);
    info->SetFloatAttribute("maxAngle", _maxAngle);
    info->SetFloatAttribute("minPause", _minPause);
    info->SetFloatAttribute("maxPause", _maxPause);
    info->SetFloatAttribute("minSpeed", _minSpeed);
    info->SetIntAttribute("minAction", _minAction);
    info->SetBoolAttribute("hippocampus", _isHippocampus);
    info->SetBoolAttribute("study", _isStudy);
    info->SetFloatAttribute("school", _school);
    info->SetFloatAttribute("race", _race);
    info->SetFloatAttribute("curiosity", _curiosity);
    fish->AppendChild(info);

    ObjectSmartPointer<XmlElement> state(new XmlElement("state"));
    state->SetBoolAttribute("isObject", _isObject);
    state->SetIntAttribute("stateId", isEntering ? _stateId & ~ENTER : _stateId);
    if (Is(STUDY)) {
        state->SetFloatAttribute("studyStartSpeed", _studyStartSpeed);
        state->SetFloatAttribute("studyStartDist", _studyStartDistance);
        state->SetBoolAttribute("waiting", _isWaiting);
        if (_isWaiting) {
            state->SetFloatAttribute("studyX", _studyPoint.x);
            state->SetFloatAttribute("studyY", _studyPoint.y);
            state->AppendChild(TimerElement("studyAction", _studyTimer));
            state->SetFloatAttribute("studyAngle", _studyAngle);
        }
    }
    if (_isJumping) {
        state->SetBoolAttribute("hippocampusJump", true);
        state->SetFloatAttribute("hippoSpeed", _jumpSpeed);
        state->AppendChild(TimerElement("jumpAction", _pauseTimer));
    }
    state->AppendChild(PointElement("position", _pos));
    state->AppendChild(PointElement("currentDest", _currentDest));
    state->AppendChild(PointElement("oldDest", _oldDest));
    state->SetFloatAttribute("angle", isEntering ? 0.0f : _pitch);
    state->SetFloatAttribute("turnTime", _turnTime);
    state->SetIntAttribute("nFrame", _frameIndex);
    fish->AppendChild(state);
    return fish;
}

// Input.

void FishControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    bool isHit = false;
    if (_hasMousePos && _frame != NULL) {
        const float z = GetZ();
        const Point m = GetMousePos();
        const Point a = GetAbsolutePos();
        FPoint v(static_cast<float>(m.x - a.x) - _pos.x, static_cast<float>(m.y - a.y) - Project(_pos.y, z));
        const float k = 2.0f / (z + 1.0f);
        v = FPoint(v._x * k, v._y * k);
        if (_currentDest.x > _pos.x) v._x = -v._x;
        v = v.Rotate(-_pitch);
        const float w = static_cast<float>(_frame->GetRectangle().width);
        isHit = _frame->IsPointOpaque(Point(static_cast<int>(v._x + w / 2.0f), static_cast<int>(v._y)));
    }
    if (!isHit) {
        for (const ObjectSmartPointer<FishControl>& member : _members) {
            const float before = member->_speed;
            member->OnMouseDown(event);
            if (member->_speed != before) {
                isHit = true;
                break;
            }
        }
    }
    if (!isHit) return;
    _speed = std::min(_speed + _acceleration, MAX_SPEED);
    StopStudy();
    if (!event->IsMouseCaptured()) event->CaptureMouse();
}

void FishControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent>) {}

void FishControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    _hasMousePos = true;
    for (const ObjectSmartPointer<FishControl>& member : _members) member->OnMouseMove(event);
}

// Leaving and texts.

void FishControl::Sell() {
    for (const ObjectSmartPointer<FishControl>& member : _members) member->Sell();
    Set(SOLD);
    _soldTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(SOLD_TIME, true, 0.0f, 0.0f, 0.0f));
    _templateId += "Sold";
    // A leaving fish takes its wish and its love along, so the tank may wish again.
    if (_wishes != NULL) {
        _wishes = nullptr;
        PermanentStorage::SetLocalBool("FishWishVisible", false);
    }
    StopLove();
}

void FishControl::OnText(const std::string& text) {
    if (text != "show harts") return;
    EffectHandle hearts = _heartsOwner.StartEffect("FastHearts");
    if (hearts) {
        hearts->x = 0.0f;
        hearts->y = 0.0f;
        hearts->Reset();
    }
}

bool FishControl::MakeWish() {
    if (Is(ENTER) || Is(SOLD)) return false;
    if (_isHippocampus && _pauseTimer->IsFlaring()) return false;
    if (_school == 1.0f) return false;
    StopStudy();
    if (_tank == NULL) return false;
    const std::string server = _tank->GetBuyHintServer();
    if (server.empty()) return false;
    std::string reply = SendMessageReply(server, "get hint icon");
    if (reply.empty()) return false;
    std::string kind;
    if (String::IsHeadCut(reply, "fish ")) {
        kind = "Fish";
    } else if (String::IsHeadCut(reply, "beauty ")) {
        kind = "WaterPlant";
    } else if (String::IsHeadCut(reply, "comfort ")) {
        kind = "Comfort";
    } else {
        ReportFalse(__FILE__, __LINE__);
    }
    _wishes = ObjectSmartPointer<FishWishes>(new FishWishes(ResourceManager::GetTextureOrFrame(reply), kind,
                                                            IsTutorialWanted() ? FishWishes::TUTORIAL_TIME
                                                                               : FishWishes::TIME));
    return true;
}
