#include "controls/MovingControl.h"

#include <cmath>

#include "content/TemplateLib.h"
#include "controls/FlowApplicationHooks.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/String.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

CommonMovingControl::CommonMovingControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml), MessageReceiver(xml) {}

CommonMovingControl::~CommonMovingControl() {
    if (IsApplicationRunning()) {
        if (!_reportArrivalTo.empty() && !_arrivalMessage.empty()) {
            ReportArrival();
        }
        Assert(_reportArrivalTo.empty() && _arrivalMessage.empty());
    }
}

void CommonMovingControl::ReportArrival() {
    Assert(!_reportArrivalTo.empty());
    Assert(!_arrivalMessage.empty());
    const std::string receiver = _reportArrivalTo;
    const std::string message = _arrivalMessage;
    _reportArrivalTo.clear();
    _arrivalMessage.clear();
    if (receiver.empty() || message.empty()) {
        return;
    }
    SendMessage(receiver, message);
}

void CommonMovingControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "report arrival to ")) {
        if (IsMoving()) {
            ReportArrival();
            Stop();
        }
        Assert(!IsMoving());
        Assert(_reportArrivalTo.empty());
        _reportArrivalTo = message;
        Assert(!_reportArrivalTo.empty());
    } else if (String::IsHeadCut(message, "set arrival message ")) {
        if (IsMoving()) {
            ReportArrival();
            Stop();
        }
        Assert(!IsMoving());
        Assert(_arrivalMessage.empty());
        _arrivalMessage = message;
        Assert(!_arrivalMessage.empty());
    } else if (String::IsHeadCut(message, "move to ")) {
        Assert(!IsMoving());
        Assert(!_reportArrivalTo.empty());
        Assert(!_arrivalMessage.empty());
        Assert(!message.empty());
        MoveTo(message);
    } else if (String::IsHeadCut(message, "noreply move to ")) {
        OnMessage("report arrival to null");
        OnMessage("set arrival message null");
        OnMessage("move to " + message);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

// ---------------------------------------------------------------------------------------------

InOutMovingControl::InOutMovingControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : CommonMovingControl(parent, xml) {
    _totalTime = xml->GetFloatAttribute("time");
    Assert(_totalTime > 0);

    _soundId = "panel_moving";
    if (ObjectWeakPointer<XmlElement> sound = xml->GetFirstChildElement("sound"); sound != NULL) {
        _soundId = sound->GetStringAttribute("soundId");
    }

    std::map<std::string, FPoint> positions;
    if (ObjectWeakPointer<XmlElement> named = xml->GetFirstChildElement("namedPositions"); named != NULL) {
        for (ObjectWeakPointer<XmlElement> p = named->GetFirstChildElement(); p != NULL; p = p->GetNextElement()) {
            Assert(p->GetName() == "position");
            const std::string name = p->GetStringAttribute("name");
            Assert(positions.find(name) == positions.end());
            positions[name] = FPoint(p->GetIntAttribute("x"), p->GetIntAttribute("y"));
        }
    } else {
        Assert(named != NULL);
    }
    Assert(positions.size() == 2);
    if (!positions.empty()) {
        Assert(positions.begin()->first == "in");
        Assert(positions.rbegin()->first == "out");
    }
    const FPoint inPos = positions.count("in") ? positions["in"] : FPoint();
    const FPoint outPos = positions.count("out") ? positions["out"] : FPoint();
    Assert(inPos != outPos);
    _inPos = inPos;
    _outPos = outPos;

    const Point here = GetInParentPos();
    if (here == inPos.Round()) {
        _progress = 0.0f;
    } else if (here == outPos.Round()) {
        _progress = 1.0f;
    } else {
        Assert(false);
        _progress = 0.0f;
    }

    _path.addKey(0.0f, 0.0f);
    _path.addKey(1.0f, 1.0f);
    const ObjectWeakPointer<XmlElement> pathXml = xml->GetFirstChildElement("path");
    if (pathXml != NULL) {
        const ObjectWeakPointer<XmlElement> keys = TemplateLib::GetTemplate(pathXml->GetStringAttribute("templateName"));
        if (keys != NULL) {
            for (ObjectWeakPointer<XmlElement> key = keys->GetFirstChildElement(); key != NULL;
                 key = key->GetNextElement()) {
                Assert(key->GetName() == "key");
                const float time = key->GetFloatAttribute("time");
                Assert(0.0f < time && time < 1.0f);
                _path.addKey(time, key->GetFloatAttribute("value"));
            }
        }
    } else {
        Assert(pathXml != NULL);
    }
    _path.CalculateGradient(false);
    _direction = DIRECTION_NONE;
}

FPoint InOutMovingControl::PositionAt(float progress) const {
    const float share = _path.getValueAt(progress);
    return FPoint(_inPos._x + (_outPos._x - _inPos._x) * share, _inPos._y + (_outPos._y - _inPos._y) * share);
}

bool InOutMovingControl::IsMoving() {
    if (_direction == DIRECTION_IN || _direction == DIRECTION_OUT) {
        return true;
    }
    Assert(_direction == DIRECTION_NONE);
    return false;
}

void InOutMovingControl::Stop() {
    Assert(IsMoving());
    _direction = DIRECTION_NONE;
}

void InOutMovingControl::MoveTo(std::string name) {
    Sound::soundSystem.PlaySample(_soundId);
    if (name == "in") {
        _direction = DIRECTION_IN;
    } else if (name == "out") {
        _direction = DIRECTION_OUT;
    } else {
        Assert(false);
    }
}

void InOutMovingControl::Update(float dt) {
    if (_direction != DIRECTION_NONE) {
        Assert(dt > 0);
        const FPoint currentPos = PositionAt(_progress);
        Assert(currentPos.Round() == GetInParentPos());
        Assert(_totalTime > 0);
        if (_totalTime > 0 && dt > 0) {
            _progress += dt * static_cast<float>(_direction) / _totalTime;
        }
        if (_progress < 0.0f) _progress = 0.0f;
        if (_progress > 1.0f) _progress = 1.0f;
        if ((_direction == DIRECTION_IN && _progress == 0.0f) || (_direction == DIRECTION_OUT && _progress == 1.0f)) {
            _position = PositionAt(_progress).Round();
            _direction = DIRECTION_NONE;
            ReportArrival();
        } else {
            _position = PositionAt(_progress).Round();
        }
    }
    FixedChildrenListControl::Update(dt);
}

// ---------------------------------------------------------------------------------------------

MovingControl::MovingControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : CommonMovingControl(parent, xml) {
    _speed = xml->GetIntAttribute("speed");
    Assert(_speed > 0);
    const ObjectWeakPointer<XmlElement> named = xml->GetFirstChildElement("namedPositions");
    const ObjectWeakPointer<XmlElement> onePositionXml = named == NULL ? named : named->GetFirstChildElement();
    Assert(onePositionXml != NULL);
    for (ObjectWeakPointer<XmlElement> p = onePositionXml; p != NULL; p = p->GetNextElement()) {
        Assert(p->GetName() == "position");
        const std::string name = p->GetStringAttribute("name");
        Assert(_positions.find(name) == _positions.end());
        _positions[name] = Point(p->GetIntAttribute("x"), p->GetIntAttribute("y"));
    }
    _targetPos = GetInParentPos();
    _floatPos = FPoint(_targetPos.x, _targetPos.y);
    _isMoving = false;
}

bool MovingControl::IsMoving() { return _isMoving; }

void MovingControl::TakeFloatPos() {
    _position = Point(static_cast<int>(std::trunc(_floatPos._x)), static_cast<int>(std::trunc(_floatPos._y)));
}

void MovingControl::Stop() {
    Assert(IsMoving());
    _isMoving = false;
    // Settle on the drawn position so that nothing moves until the next "move to".
    TakeFloatPos();
    _targetPos = _position;
    _floatPos = FPoint(_position.x, _position.y);
}

void MovingControl::MoveTo(std::string name) {
    const auto i = _positions.find(name);
    Assert(i != _positions.end());
    if (i == _positions.end()) {
        return;
    }
    _targetPos = i->second;
    TakeFloatPos();
    _isMoving = true;
}

void MovingControl::Update(float dt) {
    const FPoint target(_targetPos.x, _targetPos.y);
    if (_floatPos == target) {
        if (_isMoving) {
            // Idle before the report, so that its receiver may start the next move at once.
            _isMoving = false;
            ReportArrival();
        }
    } else {
        Assert(dt > 0);
    }
    if (_floatPos != target && dt > 0) {
        const float step = static_cast<float>(_speed) * dt;
        const float dx = target._x - _floatPos._x;
        const float dy = target._y - _floatPos._y;
        const float actualDistance = std::sqrt(dx * dx + dy * dy);
        Assert(actualDistance > 0);
        if (actualDistance <= step) {
            _floatPos = target;
            Assert(_isMoving);
            const bool wasMoving = _isMoving;
            _isMoving = false;
            if (wasMoving) {
                ReportArrival();
            }
        } else if (actualDistance > 0) {
            _floatPos = FPoint(_floatPos._x + dx * step / actualDistance, _floatPos._y + dy * step / actualDistance);
        }
    }
    TakeFloatPos();
    FixedChildrenListControl::Update(dt);
}
