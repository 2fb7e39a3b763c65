#include "controls/CommonScrollPanelControl.h"

#include <algorithm>

#include "content/TemplateLib.h"
#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/ContentValues.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/PermanentVariable.h"
#include "core/XmlElement.h"

namespace {

// Content ranges: positions stay far inside an int, however many steps a frame takes.
const int MAX_SPEED = 1000000;
const int MAX_CHECKPOINTS = 100000;
const long long MAX_CHECKPOINT = 10000000;

template <class T>
ObjectSmartPointer<Variable<T>> MakeStateVariable(bool isLocal, const std::string& name, T defaultValue) {
    if (isLocal) return ObjectSmartPointer<Variable<T>>(new PermanentVariableOrDef<Local, T>(name, defaultValue));
    return ObjectSmartPointer<Variable<T>>(new SimpleVariable<T>(defaultValue));
}

}  // namespace

CommonScrollPanelControl::CommonScrollPanelControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml), MessageReceiver(xml) {
    const std::string name = GetReceiverName();
    _minButtonName = name + " min button";
    _maxButtonName = name + " max button";
    if (xml->GetBoolAttributeOrDef("isButtonDispatcher", false)) _dispatcherName = name + " button dispatcher";
    _speed = xml->GetIntAttribute("speed");
    Assert(_speed > 0);
    if (_speed <= 0) _speed = 1;  // keeps the step arithmetic finite
    _speed = CHECKED_INT(_speed, 1, MAX_SPEED, "_speed <= 1000000");
    _baseSpeed = _speed;
    if (xml->HasAttribute("speedsTemplate")) ReadSpeeds(xml->GetStringAttribute("speedsTemplate"));

    const std::string mode = xml->GetStringAttribute("storageMode");
    if (mode == "local") {
        _storageMode = StorageMode::LOCAL;
    } else if (mode != "object") {
        Assert(false);
    }
    const bool isLocal = _storageMode == StorageMode::LOCAL;
    _directionVariable = MakeStateVariable<int>(isLocal, name + " current direction", 0);
    _prevDirectionVariable = MakeStateVariable<int>(isLocal, name + " previous direction", 0);
    _timeVariable = MakeStateVariable<float>(isLocal, name + " time", 0.0f);
    _checkpointsToGoVariable = MakeStateVariable<int>(isLocal, name + " checkpoints to go", 0);

    const ObjectWeakPointer<XmlElement> checkpoints = GetNeededChild(xml, "checkpoints");
    int base = 0, difference = 1, amount = 1;
    if (checkpoints != NULL) {
        base = checkpoints->GetIntAttribute("base");
        difference = checkpoints->GetIntAttribute("difference");
        amount = checkpoints->GetIntAttribute("amount");
    }
    Assert(difference != 0);
    Assert(amount > 0);
    if (difference == 0 || amount <= 0) amount = 1;
    amount = CHECKED_INT(amount, 1, MAX_CHECKPOINTS, "amount <= 100000");
    // Computed wide: a series that leaves the range of positions ends where it does.
    for (long long k = 0; k < amount; ++k) {
        const long long checkpoint = static_cast<long long>(base) + k * difference;
        if (checkpoint < -MAX_CHECKPOINT || checkpoint > MAX_CHECKPOINT) {
            CHECK_ONCE(false, "-10000000 <= checkpoint && checkpoint <= 10000000");
            break;
        }
        _checkpoints.insert(static_cast<int>(checkpoint));
    }
    if (_checkpoints.empty()) _checkpoints.insert(0);
    AfterPlayerChange();
}

CommonScrollPanelControl::~CommonScrollPanelControl() { AllowDestructor(); }

void CommonScrollPanelControl::ReadSpeeds(const std::string& templateName) {
    const ObjectWeakPointer<XmlElement> speeds = TemplateLib::GetTemplate(templateName);
    if (speeds == NULL) return;  // reported by the registry
    speeds->ResetVisitedTree();
    speeds->GetName();
    ObjectWeakPointer<XmlElement> pair = speeds->GetFirstChildElement();
    Assert(pair != NULL);
    std::map<float, int> table;
    table[0.0f] = _speed;
    float prevTime = 0.0f;
    int prevSpeed = _speed;
    bool isValid = pair != NULL;
    for (; pair != NULL; pair = pair->GetNextElement()) {
        const bool isPair = pair->GetName() == "pair";
        Assert(isPair);
        const float time = pair->GetFloatAttribute("time");
        const int speed = pair->GetIntAttribute("speed");
        Assert(time > prevTime);
        Assert(speed > prevSpeed);
        CHECK_ONCE(speed <= MAX_SPEED, "speed <= 1000000");
        if (!isPair || !(time > prevTime) || !(speed > prevSpeed) || speed > MAX_SPEED) isValid = false;
        table[time] = speed;
        prevTime = time;
        prevSpeed = speed;
    }
    speeds->CheckVisited();
    if (isValid) _speeds = table;
}

void CommonScrollPanelControl::CreatePosVariable(int defaultPos) {
    Assert(_posVariable == NULL);
    Assert(*_checkpoints.begin() <= defaultPos && defaultPos <= *_checkpoints.rbegin());
    _posVariable = MakeStateVariable<int>(_storageMode == StorageMode::LOCAL, GetReceiverName() + " pos", defaultPos);
}

int CommonScrollPanelControl::GetPos() {
    if (_posVariable == NULL) return FirstCheckpoint();
    int pos = _posVariable->GetValue();
    // A list that shrank leaves a stored position above its last checkpoint.
    if (pos > LastCheckpoint()) pos = LastCheckpoint();
    Assert(*_checkpoints.begin() <= pos && pos <= *_checkpoints.rbegin());
    if (pos < FirstCheckpoint()) pos = FirstCheckpoint();
    return pos;
}

void CommonScrollPanelControl::SetPos(int pos) {
    Assert(*_checkpoints.begin() <= pos && pos <= *_checkpoints.rbegin());
    pos = std::max(FirstCheckpoint(), std::min(pos, LastCheckpoint()));
    SetPosition(pos);
    if (_posVariable != NULL) _posVariable->SetValue(pos);
}

void CommonScrollPanelControl::StoreState() {
    _directionVariable->SetValue(_direction);
    _prevDirectionVariable->SetValue(_prevDirection);
    _timeVariable->SetValue(_time);
    _checkpointsToGoVariable->SetValue(_nCheckpointsToGo);
}

void CommonScrollPanelControl::AfterPlayerChange() {
    // Values out of range (an edited profile) are reported and the panel goes on at rest.
    _direction = _directionVariable->GetValue();
    Assert(-1 <= _direction && _direction <= 1);
    if (_direction < -1 || _direction > 1) _direction = 0;
    _prevDirection = _prevDirectionVariable->GetValue();
    Assert(-1 <= _prevDirection && _prevDirection <= 1);
    if (_prevDirection < -1 || _prevDirection > 1) _prevDirection = 0;
    _time = _timeVariable->GetValue();
    Assert(0.0f <= _time && _time < _speed);
    if (!(0.0f <= _time && _time < 1.0f)) _time = 0.0f;
    // A glide never owes more checkpoints than there are.
    const int count = static_cast<int>(_checkpoints.size());
    _nCheckpointsToGo = std::max(-count, std::min(_checkpointsToGoVariable->GetValue(), count));
}

void CommonScrollPanelControl::OnMessage(std::string message) {
    const int pos = GetPos();
    if (message == "min pressed") {
        if (_direction != 1) {
            _direction = 1;
            _time = 0.0f;
            if (_nCheckpointsToGo < 0) _nCheckpointsToGo = 0;
        }
        _pressTime = 0.0f;
    } else if (message == "min not pressed") {
        if (_direction == 1) {
            _direction = 0;
            _prevDirection = 1;
            _nCheckpointsToGo = _nCheckpointsToGo > 0 ? _nCheckpointsToGo + 1 : 1;
        }
        _pressTime = 0.0f;
    } else if (message == "max pressed") {
        if (_direction != -1) {
            _direction = -1;
            _time = 0.0f;
            if (_nCheckpointsToGo > 0) _nCheckpointsToGo = 0;
        }
        _pressTime = 0.0f;
    } else if (message == "max not pressed") {
        if (_direction == -1) {
            _prevDirection = -1;
            _direction = 0;
            _nCheckpointsToGo = _nCheckpointsToGo < 0 ? _nCheckpointsToGo - 1 : -1;
        }
        _pressTime = 0.0f;
    } else {
        MessageReceiver::OnMessage(message);
    }
    SetPos(pos);
}

void CommonScrollPanelControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const bool wasHandled = event->IsMouseHandled();
    FixedChildrenListControl::OnMouseMove(event);
    MouseWheelEvent* wheel = dynamic_cast<MouseWheelEvent*>(event.Get());
    if (wheel == nullptr || event->IsMouseCaptured() || wasHandled || !event->IsMouseHandled() ||
        wheel->IsWheelHandled()) {
        return;
    }
    if (wheel->GetDirection()) {
        OnMessage("max pressed");
        OnMessage("max not pressed");
    } else {
        OnMessage("min pressed");
        OnMessage("min not pressed");
    }
    wheel->SetWheelHandled();
}

void CommonScrollPanelControl::Update(float dt) {
    if (_direction != 0) _pressTime += dt;
    if (!_speeds.empty()) {
        Assert(_pressTime >= 0.0f);
        std::map<float, int>::const_iterator i = _speeds.upper_bound(_pressTime);
        // Before the first entry (a negative holding time) the first entry holds.
        if (i != _speeds.begin()) --i;
        Assert(i->first <= _pressTime);
        _speed = i->second;
    }
    const int oldPos = GetPos();
    const float t = dt + _time;
    // A frame of a second at the greatest speed is a million steps; only a broken time step is more.
    const float rawSteps = t * static_cast<float>(_speed);
    const int steps = !(rawSteps > 0.0f) ? 0 : rawSteps < 1.0e9f ? static_cast<int>(rawSteps) : 1000000000;
    _time = std::max(0.0f, t - static_cast<float>(steps) / static_cast<float>(_speed));
    int pos = oldPos + _direction * steps;
    pos = std::max(FirstCheckpoint(), std::min(pos, LastCheckpoint()));

    if (pos > oldPos) {
        Assert(_direction == 1);
        Assert(_nCheckpointsToGo >= 0);
        for (std::set<int>::const_iterator c = _checkpoints.lower_bound(oldPos); c != _checkpoints.end() && *c < pos;
             ++c) {
            _nCheckpointsToGo = std::max(_nCheckpointsToGo - 1, 0);
        }
    } else if (pos < oldPos) {
        Assert(_direction == -1);
        Assert(_nCheckpointsToGo <= 0);
        for (std::set<int>::const_iterator c = _checkpoints.upper_bound(pos); c != _checkpoints.end() && *c <= oldPos;
             ++c) {
            _nCheckpointsToGo = std::min(_nCheckpointsToGo + 1, 0);
        }
    }

    if (_direction == 0 && _prevDirection == 1) {
        if (_nCheckpointsToGo > 0) {
            pos = oldPos + steps;
            for (std::set<int>::const_iterator c = _checkpoints.upper_bound(oldPos); c != _checkpoints.end() && *c <= pos;
                 ++c) {
                --_nCheckpointsToGo;
                if (_nCheckpointsToGo == 0) {
                    pos = *c;
                    break;
                }
            }
            pos = std::min(pos, LastCheckpoint());
        } else {
            Assert(_nCheckpointsToGo == 0);
            Assert(_checkpoints.find(pos) != _checkpoints.end());
        }
    } else if (_direction == 0 && _prevDirection == -1) {
        if (_nCheckpointsToGo < 0) {
            pos = oldPos - steps;
            for (std::set<int>::const_reverse_iterator c(_checkpoints.lower_bound(oldPos)); c != _checkpoints.rend() && *c >= pos;
                 ++c) {
                ++_nCheckpointsToGo;
                if (_nCheckpointsToGo == 0) {
                    pos = *c;
                    break;
                }
            }
            pos = std::max(pos, FirstCheckpoint());
        } else {
            Assert(_nCheckpointsToGo == 0);
            Assert(_checkpoints.find(pos) != _checkpoints.end());
        }
    }
    ReportPosition(pos == FirstCheckpoint(), pos == LastCheckpoint());
    SetPos(pos);
    FixedChildrenListControl::Update(dt);
}

void CommonScrollPanelControl::ReportPosition(bool atMin, bool atMax) {
    if (_dispatcherName.empty()) {
        const std::string text1 = atMin ? "position minimal" : "position not minimal";
        if (text1 != _lastMinReport) {
            _lastMinReport = text1;
            SendMessage(_maxButtonName, text1);
        }
        const std::string text2 = atMax ? "position maximal" : "position not maximal";
        if (text2 != _lastMaxReport) {
            _lastMaxReport = text2;
            SendMessage(_minButtonName, text2);
        }
        return;
    }
    const std::string text = std::string(atMin ? "pos min, " : "pos not min, ") + (atMax ? "max" : "not max");
    if (text != _lastDispatcherReport) {
        _lastDispatcherReport = text;
        SendMessage(_dispatcherName, text);
    }
}
