#include "aquarium/SceneryDecorations.h"

#include <algorithm>
#include <utility>

#include "aquarium/SceneryDrawing.h"
#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

using scenery::DrawFrame;
using scenery::FrameCount;

namespace {

const std::vector<std::string> CHEST_STATES = {"idle", "open", "keep_open", "flare", "close"};
const std::vector<std::string> HELMET_STATES = {"idle", "open", "keep_open", "eyes_show", "eyes", "eyes_hide", "close"};
const std::vector<std::string> DIVER_STATES = {"idle", "move"};
const std::vector<std::string> SHELL_STATES = {"idle", "open", "keep_open", "close"};

enum HelmetState { H_IDLE, H_OPEN, H_KEEP_OPEN, H_EYES_SHOW, H_EYES, H_EYES_HIDE, H_CLOSE };

int Trunc(float v) { return static_cast<int>(v); }

// A random duration; the draw can fall a hair below its range, never below 0.
float DrawLife(float minTime, float maxTime) { return std::max(RandomFloatRange(minTime, maxTime), 0.0f); }

}  // namespace

// The state cycle.

DecorationTimedState::DecorationTimedState(int stateIndex_, float minTime_, float maxTime_)
    : stateIndex(stateIndex_),
      timer(std::make_shared<FlarePosition>(DrawLife(minTime_, maxTime_), true, 0.0f, 0.0f, 0.0f)),
      minTime(minTime_),
      maxTime(maxTime_) {}

void DecorationStateCycle::AddState(int stateIndex, float minTime, float maxTime) {
    _states.emplace_back(stateIndex, minTime, std::max(minTime, maxTime));
}

float DecorationStateCycle::GetProgress() const {
    if (_states.empty()) return 1.0f;
    return _states[_current].timer->GetProgress();
}

int DecorationStateCycle::GetStateIndex() const { return _states.empty() ? -1 : _states[_current].stateIndex; }

void DecorationStateCycle::Update(float dt) {
    // Without states nothing runs: the owner shows its first frame.
    if (_states.empty()) return;
    if (GetProgress() == 1.0f) {
        _current = static_cast<unsigned int>((_current + 1) % _states.size());
        DecorationTimedState& next = _states[_current];
        next.timer = std::make_shared<FlarePosition>(DrawLife(next.minTime, next.maxTime), true, 0.0f, 0.0f, 0.0f);
    } else {
        _states[_current].timer->Update(dt);
    }
}

void DecorationStateCycle::Read(const ObjectWeakPointer<XmlElement>& xml, const std::vector<std::string>& names) {
    const ObjectWeakPointer<XmlElement> frames = scenery::Child(xml, "frames");
    for (ObjectWeakPointer<XmlElement> frame = frames->GetFirstChildElement("frame"); frame != NULL;
         frame = frame->GetNextElement("frame")) {
        const std::string state = frame->GetStringAttribute("state");
        const float maxTime = frame->GetFloatAttribute("maxTime");
        const float minTime = frame->GetFloatAttribute("minTime");
        const auto found = std::find(names.begin(), names.end(), state);
        if (found == names.end()) {
            Assert(false);
            continue;
        }
        AddState(static_cast<int>(found - names.begin()), minTime, maxTime);
    }
}

float DecorationStateCycle::MinTimeOf(int stateIndex) const {
    for (const DecorationTimedState& state : _states) {
        if (state.stateIndex == stateIndex) return state.minTime;
    }
    return -1.0f;
}

// The shared part.

DecorationControl::DecorationControl(const ObjectWeakPointer<Control>& parent,
                                     const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {}

DecorationControl::~DecorationControl() = default;

void DecorationControl::DrawOpening(const UsingPointer<Animation>& animation, int state, int idle, int open,
                                    int keepOpen, int close) {
    const int n = FrameCount(animation);
    const float p = _states.GetProgress();
    const Point at = GetAbsolutePos();
    if (state == idle) {
        DrawFrame(animation, 0, at);
    } else if (state == open) {
        DrawFrame(animation, Trunc(p * static_cast<float>(n - 1)), at);
    } else if (state == keepOpen) {
        DrawFrame(animation, n - 1, at);
    } else if (state == close) {
        DrawFrame(animation, Trunc((1.0f - p) * static_cast<float>(n - 1)), at);
    }
}

void DecorationControl::UpdateWithBubbles(float dt, const std::string& effect, const Point& offset) {
    const int before = _states.GetStateIndex();
    _states.Update(dt);
    if (before == 0 && _states.GetStateIndex() == 1) {
        EffectHandle bubbles = _effects.StartEffect(effect);
        if (bubbles) {
            const Point at = GetAbsolutePos() + offset;
            bubbles->x = static_cast<float>(at.x);
            bubbles->y = static_cast<float>(at.y);
            bubbles->Reset();
        }
    }
}

// Chest.

ChestControl::ChestControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : DecorationControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> animation = scenery::Child(xml, "animation");
    _openAnimation = scenery::UseAnimation(animation, "openAnimationId");
    _flareAnimation = scenery::UseAnimation(animation, "flareAnimationId");
    _flarePos = scenery::ReadPoint(xml, "flarePos");
    _bubblesPos = scenery::ReadPoint(xml, "bubblesPos");
    _states.Read(xml, CHEST_STATES);
}

void ChestControl::Draw() {
    const int state = _states.GetCount() == 0 ? 0 : _states.GetStateIndex();
    if (state == 3) {
        const int f = FrameCount(_flareAnimation);
        DrawFrame(_openAnimation, FrameCount(_openAnimation) - 1, GetAbsolutePos());
        DrawFrame(_flareAnimation, Trunc(_states.GetProgress() * static_cast<float>(f - 1)),
                  GetAbsolutePos() + _flarePos);
    } else if (0 <= state && state <= 4) {
        DrawOpening(_openAnimation, state, 0, 1, 2, 4);
    } else {
        Assert(false);
    }
    _effects.DrawAll();
}

void ChestControl::Update(float dt) { UpdateWithBubbles(dt, "ChestBubbles", _bubblesPos); }

// Helmet.

HelmetControl::HelmetControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : DecorationControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> animation = scenery::Child(xml, "animation");
    _openAnimation = scenery::UseAnimation(animation, "openAnimationId");
    _eyesAnimation = scenery::UseAnimation(animation, "eyesAnimationId");
    _eyesPosition = scenery::ReadPoint(xml, "eyesPosition");
    const Point moving = scenery::ReadPoint(xml, "eyesMoving");
    _eyesMoving = FPoint(static_cast<float>(moving.x), static_cast<float>(moving.y));
    _bubblesPos = scenery::ReadPoint(xml, "bubblesPos");
    _eyeDistance = scenery::ReadPoint(xml, "eyeDistance");
    _helmetRingPos = scenery::ReadPoint(xml, "helmetRingPos");
    _helmetRing = ResourceManager::GetTextureOrFrame(scenery::Child(xml, "frames")->GetStringAttribute("helmetRingId"));
    _states.Read(xml, HELMET_STATES);
    const int m = FrameCount(_eyesAnimation);
    const float s = _states.MinTimeOf(H_EYES_SHOW);
    const float e = _states.MinTimeOf(H_EYES);
    const float h = _states.MinTimeOf(H_EYES_HIDE);
    const float last = static_cast<float>(std::max(m - 1, 0));
    if (s >= 0.0f && e > 0.0f && h >= 0.0f) {
        _eyesShowEndFrame = Trunc(last * s / e);
        _eyesHideStartFrame = Trunc(last - last * h / e);
    } else {
        // No split without the three eye states and a looking time: show all, look, hide all.
        _eyesShowEndFrame = 0;
        _eyesHideStartFrame = m - 1;
    }
    _eyesShowEndFrame = std::min(std::max(_eyesShowEndFrame, 0), std::max(m - 1, 0));
    _eyesHideStartFrame = std::min(std::max(_eyesHideStartFrame, 0), std::max(m - 1, 0));
}

int HelmetControl::EyeFrame(int state, float p) const {
    const int m = FrameCount(_eyesAnimation);
    int k = 0;
    if (state == H_EYES_SHOW) {
        k = Trunc(p * static_cast<float>(_eyesShowEndFrame));
    } else if (state == H_EYES) {
        k = _eyesShowEndFrame + Trunc(p * static_cast<float>(_eyesHideStartFrame - _eyesShowEndFrame));
    } else if (state == H_EYES_HIDE) {
        k = _eyesHideStartFrame + Trunc(p * static_cast<float>(m - _eyesHideStartFrame - 1));
    }
    return std::min(std::max(k, 0), std::max(m - 1, 0));
}

void HelmetControl::Draw() {
    const int state = _states.GetCount() == 0 ? 0 : _states.GetStateIndex();
    const float p = _states.GetProgress();
    const Point a = GetAbsolutePos();
    if (state == H_EYES_SHOW || state == H_EYES || state == H_EYES_HIDE) {
        DrawFrame(_openAnimation, FrameCount(_openAnimation) - 1, a);
        FPoint offset = _eyesMoving;
        if (state == H_EYES_SHOW) offset = FPoint(_eyesMoving._x * p, _eyesMoving._y * p);
        if (state == H_EYES_HIDE) offset = FPoint(_eyesMoving._x * (1.0f - p), _eyesMoving._y * (1.0f - p));
        const int k = EyeFrame(state, p);
        Render::device.PushMatrix();
        Render::device.MatrixTranslate(offset._x, offset._y, 0.0f);
        DrawFrame(_eyesAnimation, k, a + _eyesPosition);
        DrawFrame(_eyesAnimation, k, a + _eyesPosition + _eyeDistance);
        Render::device.PopMatrix();
        if (state != H_EYES && _helmetRing != NULL) _helmetRing->Draw(a + _helmetRingPos);
    } else if (0 <= state && state <= 6) {
        DrawOpening(_openAnimation, state, H_IDLE, H_OPEN, H_KEEP_OPEN, H_CLOSE);
    } else {
        Assert(false);
    }
    _effects.DrawAll();
}

void HelmetControl::Update(float dt) { UpdateWithBubbles(dt, "HelmetBubbles", _bubblesPos); }

// Diver.

DiverControl::DiverControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : DecorationControl(parent, xml) {
    _openAnimation = scenery::UseAnimation(scenery::Child(xml, "animation"), "openAnimationId");
    const ObjectWeakPointer<XmlElement> path = scenery::Child(xml, "bubblesPath");
    std::vector<std::pair<float, Point>> points;
    for (ObjectWeakPointer<XmlElement> point = path->GetFirstChildElement(); point != NULL;
         point = point->GetNextElement()) {
        Assert(point->GetName() == "point");
        const Point p(point->GetIntAttribute("x"), point->GetIntAttribute("y"));
        points.emplace_back(point->GetFloatAttribute("time"), p);
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const std::pair<float, Point>& a, const std::pair<float, Point>& b) { return a.first < b.first; });
    for (const auto& point : points) {
        _pathX.addKey(point.first, static_cast<float>(point.second.x));
        _pathY.addKey(point.first, static_cast<float>(point.second.y));
    }
    _pathX.CalculateGradient(false);
    _pathY.CalculateGradient(false);
    _states.Read(xml, DIVER_STATES);
    _bubbles = _effects.StartEffect("DiverBubbles");
    if (_bubbles) {
        const Point a = GetAbsolutePos();
        _bubbles->x = static_cast<float>(a.x) + _pathX.getValueAt(0.0f);
        _bubbles->y = static_cast<float>(a.y) + _pathY.getValueAt(0.0f);
        _bubbles->Reset();
    }
}

void DiverControl::Draw() {
    const int state = _states.GetCount() == 0 ? 0 : _states.GetStateIndex();
    const float p = _states.GetProgress();
    if (state == 0) {
        DrawFrame(_openAnimation, 0, GetAbsolutePos());
    } else if (state == 1) {
        if (_bubbles) {
            const Point a = GetAbsolutePos();
            _bubbles->x = static_cast<float>(a.x) + _pathX.getValueAt(p);
            _bubbles->y = static_cast<float>(a.y) + _pathY.getValueAt(p);
        }
        DrawFrame(_openAnimation, Trunc(p * static_cast<float>(FrameCount(_openAnimation) - 1)), GetAbsolutePos());
    } else {
        Assert(false);
    }
    _effects.DrawAll();
}

void DiverControl::Update(float dt) { _states.Update(dt); }

// Cockle shell.

CockleShellControl::CockleShellControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : DecorationControl(parent, xml) {
    _animation = scenery::UseAnimation(scenery::Child(xml, "animation"), "animationId");
    _bubblesPos = scenery::ReadPoint(xml, "bubblesPos");
    _states.Read(xml, SHELL_STATES);
}

void CockleShellControl::Draw() {
    const int state = _states.GetCount() == 0 ? 0 : _states.GetStateIndex();
    if (0 <= state && state <= 3) {
        DrawOpening(_animation, state, 0, 1, 2, 3);
    } else {
        Assert(false);
    }
    _effects.DrawAll();
}

void CockleShellControl::Update(float dt) { UpdateWithBubbles(dt, "CockleShellBubbles", _bubblesPos); }
