#include "widgets/ProgressBarControl.h"

#include <algorithm>
#include <cmath>

#include "core/ContentValues.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/Math.h"
#include "core/PermanentVariable.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

namespace {

// Far more state changes than one update can need (a change takes three); only a broken value
// (not a number) could keep the walk going.
const int MAX_STEPS_PER_UPDATE = 64;

float ToUnit(float value) { return std::min(1.0f, std::max(0.0f, value)); }

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.length(), prefix) == 0; }

}  // namespace

ProgressBarControl::ProgressBarControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> textures = GetNeededChild(xml, "textures");
    if (textures != NULL) {
        _backgroundTexture = GetPictureTexture(textures->GetStringAttribute("backgroundId"));
        _fillingTexture = GetPictureTexture(textures->GetStringAttribute("fillingId"));
        _shadowTexture = GetPictureTexture(textures->GetStringAttribute("shadowId"));
        _maskTexture = GetPictureTexture(textures->GetStringAttribute("maskId"));
        _frameTexture = GetPictureTexture(textures->GetStringAttribute("frameId"));
    }
    const ObjectWeakPointer<XmlElement> variable = GetNeededChild(xml, "variable");
    if (variable != NULL) {
        const std::string name = variable->GetStringAttribute("name");
        if (variable->HasAttribute("defaultValue")) {
            const float defaultValue = CHECKED_FLOAT(variable->GetFloatAttribute("defaultValue"), 0.0f, 1.0f, 0.0f,
                                                     "0.0f <= defaultValue && defaultValue <= 1.0f");
            _variable = ObjectSmartPointer<Variable<float>>(new PermanentVariableOrDef<Local, float>(name, defaultValue));
        } else {
            _variable = ObjectSmartPointer<Variable<float>>(new PermanentVariable<Local, float>(name));
        }
    }
    const ObjectWeakPointer<XmlElement> flash = GetNeededChild(xml, "flash");
    if (flash != NULL) {
        _flashColor = flash->GetColorAttribute("color");
        _flashPeriod = flash->GetFloatAttribute("period");
        _flashMaxAlpha = flash->GetFloatAttribute("maxAlpha");
    }
    Assert(_flashPeriod > 0.0f);
    if (!(_flashPeriod > 0.0f)) _flashPeriod = 1.0f;  // every timing is divided by it
    _flashPeriod = CHECKED_FLOAT(_flashPeriod, 0.001f, MAX_CONTENT_SECONDS, 1.0f, "_flashPeriod <= 3600.0f");
    _flashMaxAlpha =
        CHECKED_FLOAT(_flashMaxAlpha, 0.0f, 1.0f, 1.0f, "0.0f <= _flashMaxAlpha && _flashMaxAlpha <= 1.0f");
    const ObjectWeakPointer<XmlElement> change = GetNeededChild(xml, "change");
    if (change != NULL) {
        _changeSpeed = CHECKED_FLOAT(change->GetFloatAttribute("speed"), 0.0f, 1000.0f, 1.0f,
                                     "0.0f <= _changeSpeed && _changeSpeed <= 1000.0f");
        _noHintDelay = CHECKED_FLOAT(change->GetFloatAttribute("noHintDelay"), 0.0f, MAX_CONTENT_SECONDS, 0.0f,
                                     "0.0f <= noHintDelay && noHintDelay <= 3600.0f") /
                       _flashPeriod;
    }
    const ObjectWeakPointer<XmlElement> verticalLine =
        xml != NULL ? xml->GetFirstChildElement("verticalLine") : ObjectWeakPointer<XmlElement>();
    if (verticalLine != NULL) {
        _verticalLineTexture = GetPictureTexture(verticalLine->GetStringAttribute("textureId"));
        _verticalLineStartOffset =
            CHECKED_INT(verticalLine->GetIntAttribute("startOffset"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE,
                        "-100000 <= _verticalLineStartOffset && _verticalLineStartOffset <= 100000");
        _verticalLineFlashOffset =
            CHECKED_INT(verticalLine->GetIntAttribute("flashOffset"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE,
                        "-100000 <= _verticalLineFlashOffset && _verticalLineFlashOffset <= 100000");
    }
    _shownValue = GetValue();
    if (_backgroundTexture == NULL || _fillingTexture == NULL || _shadowTexture == NULL || _maskTexture == NULL ||
        _frameTexture == NULL) {
        return;  // reported by the texture lookup; the bar is not drawn
    }
    const Rect backgroundRect = _backgroundTexture->GetRectangle();
    const Rect fillingRect = _fillingTexture->GetRectangle();
    const Rect shadowRect = _shadowTexture->GetRectangle();
    const Rect maskRect = _maskTexture->GetRectangle();
    const Rect frameRect = _frameTexture->GetRectangle();
    Assert(backgroundRect.IsEqualToHW(fillingRect));
    Assert(backgroundRect.IsEqualToHW(frameRect));
    Assert(shadowRect.IsEqualToHW(maskRect));
    Assert(backgroundRect.height == maskRect.height);
    // The frame's window: its columns run from the first transparent pixel right of an opaque one
    // to the last transparent pixel left of an opaque one.
    _minTransparentX = frameRect.width;
    for (int x = frameRect.width - 1; x >= 1; --x) {
        for (int y = 0; y < frameRect.height; ++y) {
            if (_frameTexture->IsPointTransparent(Point(x, y)) && _frameTexture->IsPointOpaque(Point(x - 1, y))) {
                _minTransparentX = x;
            }
        }
    }
    Assert(_minTransparentX < frameRect.width);
    _maxTransparentX = -1;
    for (int x = 0; x <= frameRect.width - 2; ++x) {
        for (int y = 0; y < frameRect.height; ++y) {
            if (_frameTexture->IsPointTransparent(Point(x, y)) && _frameTexture->IsPointOpaque(Point(x + 1, y))) {
                _maxTransparentX = x;
            }
        }
    }
    Assert(_maxTransparentX > -1);
    Assert(_minTransparentX <= _maxTransparentX);
    _isComplete = _minTransparentX <= _maxTransparentX;
}

ProgressBarControl::~ProgressBarControl() = default;

float ProgressBarControl::GetValue() {
    if (_freezeValue != -1.0f) return _freezeValue;
    const float value = _variable != NULL ? _variable->GetValue() : 0.0f;
    if (0.0f <= value && value <= 1.0f) return value;
    // A value off the bar (an edited profile, a script) is reported once and shown at the nearer end.
    CHECK_ONCE(false, "0.0f <= value && value <= 1.0f");
    return value > 1.0f ? 1.0f : 0.0f;
}

int ProgressBarControl::ValueToX(float value) const {
    Assert(0.0f <= value && value <= 1.0f);
    const float columns = static_cast<float>(_maxTransparentX - _minTransparentX + 1);
    return _minTransparentX + static_cast<int>(columns * ToUnit(value));
}

void ProgressBarControl::OnMessage(std::string message) {
    static const std::string HINT_VALUE = "hint value ";
    static const std::string FREEZE = "freeze ";
    if (StartsWith(message, HINT_VALUE)) {
        const float previous = _newHintValue;
        _newHintValue = Float::Parse(message.substr(HINT_VALUE.length()));
        Assert(0.0f <= _newHintValue && _newHintValue <= 1.0f);
        // A hint off the bar is refused: the previous one stays.
        if (!(0.0f <= _newHintValue && _newHintValue <= 1.0f)) {
            _newHintValue = previous;
            return;
        }
        if (_freezeValue == -1.0f && _variable != NULL) {
            const float variableValue = _variable->GetValue();
            Assert(_newHintValue >= variableValue);
        }
    } else if (message == "no hint") {
        _newHintValue = -1.0f;
        _noHintTime = 0.0f;
    } else if (StartsWith(message, FREEZE)) {
        Assert(_freezeValue == -1);
        const float previous = _freezeValue;
        _freezeValue = Float::Parse(message.substr(FREEZE.length()));
        Assert(0.0f <= _freezeValue && _freezeValue <= 1.0f);
        // A frozen value off the bar is refused.
        if (!(0.0f <= _freezeValue && _freezeValue <= 1.0f)) _freezeValue = previous;
    } else if (message == "unfreeze") {
        Assert(_freezeValue >= 0.0f);
        _freezeValue = -1.0f;
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void ProgressBarControl::Update(float dt) {
    Assert(dt > 0.0f);
    Advance(dt / _flashPeriod);
}

void ProgressBarControl::Advance(float dt) {
    Assert(dt >= 0.0f);
    for (int step = 0; step < MAX_STEPS_PER_UPDATE; ++step) {
        const float value = GetValue();
        switch (_state) {
            case IDLE:
                if (value != _shownValue) {
                    _time = 0.0f;
                    if (ValueToX(value) == ValueToX(_shownValue)) {
                        _state = SETTLE_FLASH;
                    } else {
                        _state = CHANGE_SWEEP;
                        _previousValue = _shownValue;
                    }
                    _shownValue = value;
                    continue;
                }
                if (HasHint() && _freezeValue == -1.0f) {
                    const float variableValue = value;
                    Assert(_newHintValue >= variableValue);
                    // A hint that does not move the front by a pixel is not shown.
                    if (_newHintValue >= variableValue && ValueToX(_newHintValue) > ValueToX(value)) {
                        _time = 0.0f;
                        _state = HINT;
                        _hintFront = value;
                        _hintTarget = _newHintValue;
                        continue;
                    }
                }
                return;
            case CHANGE_SWEEP:
            case SETTLE_FLASH:
                Assert(0.0f <= _time && _time < 1.0f);
                _time += dt;
                if (_time < 1.0f) return;
                dt = _time - 1.0f;
                _time = 0.0f;
                _state = _state == CHANGE_SWEEP ? SETTLE_FLASH : IDLE;
                continue;
            case HINT: {
                Assert(0.0f <= _time && _time < 1.0f);
                if (!HasHint()) {
                    _noHintTime += dt;
                    if (_noHintTime >= _noHintDelay) _hintTarget = value;
                } else if (value == _shownValue) {
                    _hintTarget = _newHintValue;
                }
                const float move = _changeSpeed * dt;
                if (_hintFront < _hintTarget) {
                    _hintFront = std::min(_hintFront + move, _hintTarget);
                } else if (_hintFront > _hintTarget) {
                    _hintFront = std::max(_hintFront - move, _hintTarget);
                }
                _time += dt;
                if (_time < 1.0f) return;
                const float excess = _time - 1.0f;
                _time = 0.0f;
                if (value != _shownValue) {
                    // The sweep starts from where the band ended.
                    if (ValueToX(value) == ValueToX(_hintFront)) {
                        _state = SETTLE_FLASH;
                    } else {
                        _state = CHANGE_SWEEP;
                        _previousValue = _hintFront;
                    }
                    _shownValue = value;
                    dt = excess;
                    continue;
                }
                if (!HasHint() && _hintFront == value) {
                    _state = IDLE;
                    dt = excess;
                    continue;
                }
                return;
            }
            default:
                Assert(false);
                _state = IDLE;
                return;
        }
    }
}

void ProgressBarControl::Draw() {
    if (!_isComplete) return;
    int staticX = 0, flashX = 0;
    float flashTime = 0.0f;
    if (_state != IDLE) Assert(0.0f <= _time && _time <= 1.0f);
    switch (_state) {
        case IDLE:
            staticX = flashX = ValueToX(_shownValue);
            break;
        case CHANGE_SWEEP:
            staticX = ValueToX(0.0f);
            flashX = ValueToX(ToUnit(_previousValue + (_shownValue - _previousValue) * _time));
            flashTime = _time;
            break;
        case SETTLE_FLASH:
            staticX = ValueToX(0.0f);
            flashX = ValueToX(_shownValue);
            flashTime = _time;
            break;
        case HINT:
            staticX = ValueToX(_shownValue);
            flashX = ValueToX(_hintFront);
            flashTime = _time;
            break;
        default:
            Assert(false);
            return;
    }
    DrawBar(staticX, flashX, flashTime);
}

void ProgressBarControl::DrawBar(int staticX, int flashX, float flashTime) {
    RenderDevice& device = Render::device;
    const Point p = GetAbsolutePos();
    const Rect back = _backgroundTexture->GetRectangle();
    const int left = p.x + back.x;
    const int bottom = p.y + back.y;
    flashX = std::max(flashX, staticX);
    const int staticRange = staticX - _minTransparentX;
    const int flashRange = flashX - _minTransparentX;
    Assert(0 <= staticRange && staticRange <= flashRange);
    Assert(0.0f <= flashTime && flashTime <= 1.0f);
    // Clips on the left and right edges only; an empty part draws nothing.
    const auto clip = [&](int x0, int x1) {
        if (x1 <= x0) return false;
        device.PushClipRect(Rect(x0, bottom, x1 - x0, std::max(1, back.height)), CLIP_LEFT_RIGHT);
        return true;
    };
    if (clip(left + flashX, left + back.width)) {
        _backgroundTexture->Draw(p);
        device.PopClipRect();
    }
    const int fullStart = left + _minTransparentX - 1;
    if (clip(fullStart, left + flashX)) {
        _fillingTexture->Draw(p);
        device.PopClipRect();
    }
    if (staticX < flashX && clip(left + staticX, left + flashX)) {
        device.PushAlpha((0.5f - 0.5f * std::cos(2.0f * Math::PI * flashTime)) * _flashMaxAlpha);
        device.PushColor(_flashColor);
        device.SetBlendMode(2);  // additive: source alpha, one
        _fillingTexture->DrawSilhouette(p);
        device.SetBlendMode(0);
        device.PopColor();
        device.PopAlpha();
        device.PopClipRect();
    }
    if (clip(fullStart, left + flashX)) {
        const Point edge(left + flashX - _maskTexture->GetRectangle().width, bottom);
        _shadowTexture->Draw(edge);
        _maskTexture->Draw(edge);
        device.PopClipRect();
    }
    _frameTexture->Draw(p);
    if (_verticalLineTexture != NULL && staticX >= _verticalLineStartOffset &&
        flashX >= staticX + _verticalLineTexture->GetRectangle().width + _verticalLineFlashOffset) {
        _verticalLineTexture->Draw(Point(p.x + staticX, p.y));
    }
}
