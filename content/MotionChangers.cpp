#include "content/MotionChangers.h"

#include "core/MessageServer.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

namespace {

void ReadValueKeys(const ObjectWeakPointer<XmlElement>& xe, SplinePath<float>& path) {
    for (ObjectWeakPointer<XmlElement> key = xe->GetFirstChildElement(); key != NULL; key = key->GetNextElement()) {
        path.addKey(key->GetFloatAttribute("value"));
    }
}

float ValueAt(const SplinePath<float>& path, float p, float none) {
    Assert(0 <= p && p <= 1);
    if (path.keys.empty()) return none;
    return path.getGlobalFrame(p);
}

}  // namespace

ScaleChanger::ScaleChanger(const ObjectWeakPointer<XmlElement>& xe) {
    ReadValueKeys(xe, _value);
    Assert(_value.keys.size() >= 2);
    _value.CalculateGradient(false);
}

float ScaleChanger::GetScale(float p) const { return ValueAt(_value, p, 1.0f); }

AlphaChanger::AlphaChanger(const ObjectWeakPointer<XmlElement>& xe) {
    ReadValueKeys(xe, _value);
    Assert(_value.keys.size() >= 2);
    _value.CalculateGradient(false);
}

float AlphaChanger::GetAlpha(float p) const { return ValueAt(_value, p, 1.0f); }

AngleChanger::AngleChanger(const ObjectWeakPointer<XmlElement>& xe) {
    ReadValueKeys(xe, _value);
    Assert(_value.keys.size() >= 2);
    _value.CalculateGradient(false);
}

float AngleChanger::GetAngle(float p) const { return ValueAt(_value, p, 0.0f); }

PathMover::PathMover(const ObjectWeakPointer<XmlElement>& xe) {
    for (ObjectWeakPointer<XmlElement> key = xe->GetFirstChildElement(); key != NULL; key = key->GetNextElement()) {
        _path.addKey(FPoint(key->GetIntAttribute("x"), key->GetIntAttribute("y")));
    }
    const FPoint p = _path.keys.empty() ? FPoint(1.0f, 1.0f) : _path.keys[0].value;
    Assert(_path.keys.size() >= 2 && p == FPoint(0, 0));
    _path.CalculateGradient(false);
}

FPoint PathMover::GetPosition(float p) const {
    Assert(0 <= p && p <= 1);
    if (_path.keys.empty()) return FPoint(0.0f, 0.0f);
    return _path.getGlobalFrame(p);
}

IntoBasketMover::IntoBasketMover(const ObjectWeakPointer<XmlElement>& xe) {
    _wholeTime = xe->GetFloatAttribute("wholeTime");
    Assert(_wholeTime > 0.0f);
    _range = xe->GetFloatAttribute("range");
    Assert(0.0f < _range && _range < 1.0f);
    _x.addKey(0.0f, 0.0f);
    _y.addKey(0.0f, 0.0f);
    _size.addKey(0.0f, 1.0f);
    float prevTime = 0.0f;
    for (ObjectWeakPointer<XmlElement> key = xe->GetFirstChildElement("key"); key != NULL;
         key = key->GetNextElement("key")) {
        const float time = key->GetFloatAttribute("time");
        Assert(time > prevTime);
        const float size = key->GetFloatAttribute("size");
        Assert(size > 0);
        _x.addKey(time, key->GetFloatAttribute("x"));
        _y.addKey(time, key->GetFloatAttribute("y"));
        _size.addKey(time, size);
        prevTime = time;
    }
    Assert(prevTime == 1.0f);
    // x and y keep flat tangents, so the picture eases in and out at every key.
    _size.CalculateGradient(false);
}

IntoBasketMover::~IntoBasketMover() = default;

void IntoBasketMover::SetTexture(const ObjectWeakPointer<Texture>& texture) { _texture = UsingPointer<Texture>(texture); }

void IntoBasketMover::Start(const UsingPointer<Texture>& texture, const FPoint& start, const std::string& receiver,
                            const std::string& message) {
    Assert(_texture == NULL);
    Assert(texture != NULL);
    if (texture == NULL) return;
    _texture = texture;
    // Only the start moves; x and y keep their flat tangents.
    if (!_x.keys.empty()) _x.keys[0].value = start._x;
    if (!_y.keys.empty()) _y.keys[0].value = start._y;
    _size.CalculateGradient(false);
    _first = receiver;
    _second = message;
    _time = 0.0f;
}

void IntoBasketMover::Update(float dt) {
    if (_texture == NULL) return;
    _time += dt / _wholeTime;
    if (_time < 1.0f) return;
    _time = 1.0f;
    _texture = UsingPointer<Texture>();
    const std::string receiver = _first;
    const std::string message = _second;
    _first.clear();
    _second.clear();
    SendMessage(receiver, message);
}

void IntoBasketMover::Draw(const FPoint& position) {
    Assert(0.0f <= _time && _time <= 1.0f);
    if (_texture == NULL) return;
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(position._x + _x.getValueAt(_time), position._y + _y.getValueAt(_time), 0.0f);
    const float size = _size.getValueAt(_time);
    Render::device.MatrixScale(size, size, 1.0f);
    _texture->Draw(Point(0, 0));
    Render::device.PopMatrix();
}
