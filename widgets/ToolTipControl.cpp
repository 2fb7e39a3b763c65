#include "widgets/ToolTipControl.h"

#include <cmath>

#include "content/ResourceManager.h"
#include "core/ContentValues.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/XmlElement.h"

namespace {

const char* const MODES[] = {"mouse-moving-down-right", "parent-center-middle", "parent-center-bottom",
                             "parent-right-top"};

}  // namespace

class ToolTipControl::ExtraScope {
public:
    explicit ExtraScope(ToolTipControl& tip) : _tip(tip), _saved(tip._textPosition) {
        _tip._textPosition = _tip._extraPosition;
    }
    ~ExtraScope() { _tip._textPosition = _saved; }
    ExtraScope(const ExtraScope&) = delete;
    ExtraScope& operator=(const ExtraScope&) = delete;

private:
    ToolTipControl& _tip;
    Point _saved;
};

ToolTipControl::ToolTipControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : InscribableConsumer(parent, xml) {
    _mode = xml->GetStringAttribute("mode");
    bool isKnownMode = false;
    for (const char* mode : MODES) isKnownMode = isKnownMode || _mode == mode;
    Assert(isKnownMode);
    const ObjectWeakPointer<XmlElement> texture = GetNeededChild(xml, "texture");
    if (texture != NULL) {
        _texture = ResourceManager::GetTextureOrFrame(texture->GetStringAttribute("textureId"));
    }
    const ObjectWeakPointer<XmlElement> indent = GetNeededChild(xml, "indent");
    // Sizes beyond the screen are reported and brought back, so the frame's sums never overflow.
    auto size = [](const ObjectWeakPointer<XmlElement>& element, const char* name) {
        return CHECKED_INT(element->GetIntAttribute(name), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE,
                           "-100000 <= size && size <= 100000");
    };
    if (indent != NULL) {
        _indentLeft = size(indent, "left");
        _indentRight = size(indent, "right");
        _indentTop = size(indent, "top");
        _indentBottom = size(indent, "bottom");
    }
    const ObjectWeakPointer<XmlElement> fixed = GetNeededChild(xml, "fixed");
    if (fixed != NULL) {
        _fixedLeft = size(fixed, "left");
        _fixedRight = size(fixed, "right");
        _fixedTop = size(fixed, "top");
        _fixedBottom = size(fixed, "bottom");
    }
    if (_texture != NULL) {
        const Rect rect = _texture->GetRectangle();
        const int textureWidth = rect.width;
        const int textureHeight = rect.height;
        // A help template is built again for every help: its faults are told once.
        CHECK_ONCE(0 < _fixedLeft && _fixedLeft < textureWidth, "0 < _fixedLeft && _fixedLeft < textureWidth");
        CHECK_ONCE(0 < _fixedRight && _fixedRight < textureWidth, "0 < _fixedRight && _fixedRight < textureWidth");
        CHECK_ONCE(0 < _fixedTop && _fixedTop < textureHeight, "0 < _fixedTop && _fixedTop < textureHeight");
        CHECK_ONCE(0 < _fixedBottom && _fixedBottom < textureHeight, "0 < _fixedBottom && _fixedBottom < textureHeight");
        CHECK_ONCE(_fixedLeft + _fixedRight < textureWidth, "_fixedLeft + _fixedRight < textureWidth");
        CHECK_ONCE(_fixedTop + _fixedBottom < textureHeight, "_fixedTop + _fixedBottom < textureHeight");
        if (textureWidth > 0 && textureHeight > 0) {
            const float tw = static_cast<float>(textureWidth);
            const float th = static_cast<float>(textureHeight);
            _u[0] = 0.0f;
            _u[1] = static_cast<float>(_fixedLeft) / tw;
            _u[2] = 1.0f - static_cast<float>(_fixedRight) / tw;
            _u[3] = 1.0f;
            _v[0] = 0.0f;
            _v[1] = static_cast<float>(_fixedBottom) / th;
            _v[2] = 1.0f - static_cast<float>(_fixedTop) / th;
            _v[3] = 1.0f;
        }
        CHECK_ONCE(_u[0] < _u[1] && _u[1] < _u[2] && _u[2] < _u[3], "_u[0] < _u[1] && _u[1] < _u[2] && _u[2] < _u[3]");
        CHECK_ONCE(_v[0] < _v[1] && _v[1] < _v[2] && _v[2] < _v[3], "_v[0] < _v[1] && _v[1] < _v[2] && _v[2] < _v[3]");
    }
    // Built after the collection, so text inside it is never framed.
    const ObjectWeakPointer<XmlElement> extra = xml->GetFirstChildElement("extra");
    if (extra != NULL) {
        const ObjectWeakPointer<XmlElement> element = extra->GetFirstChildElement();
        Assert(element != NULL);
        if (element != NULL) {
            _extra = ControlFactory::CreateControl(ObjectWeakPointer<Control>(this), element);
        }
    }
}

ToolTipControl::~ToolTipControl() {
    _extra = nullptr;
    _texture = nullptr;
}

Point ToolTipControl::GetAbsolutePos() { return _textPosition; }

bool ToolTipControl::GetTextRectangle(Rect& r) {
    const Point saved = _textPosition;
    _textPosition = Point(0, 0);
    CollectPoints(_points);
    _textPosition = saved;
    // A tooltip without text is reported at its first layout, then shows nothing.
    if (!CHECK_ONCE(_points.size() != 0, "points.size() != 0")) return false;
    int minX = static_cast<int>(_points[0]._x);
    int maxX = minX;
    int minY = static_cast<int>(_points[0]._y);
    int maxY = minY;
    for (const FPoint& p : _points) {
        const int x = static_cast<int>(p._x);
        const int y = static_cast<int>(p._y);
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
    }
    if (!CHECK_ONCE(minX < maxX, "minX < maxX") || !CHECK_ONCE(minY < maxY, "minY < maxY")) {
        return false;
    }
    r = Rect(minX, minY, maxX - minX, maxY - minY);
    return true;
}

bool ToolTipControl::PlaceFrame(const Point& mouse, int w, int h, const Rect& text, Point& corner) {
    const Point p = Control::GetAbsolutePos();
    if (_mode == "mouse-moving-down-right") {
        corner.x = mouse.x;
        if (mouse.x + w > 790) {
            corner.x = 790 - w;
            CHECK_ONCE(corner.x >= 10, "x0 >= 10");
        }
        corner.y = mouse.y - h - 30;
        if (corner.y < 10) {
            corner.y = mouse.y + 10;
            CHECK_ONCE(corner.y + h < 590, "y0 + drawingHeight < 590");
        }
    } else if (_mode == "parent-center-middle") {
        corner = Point(p.x - w / 2, p.y - h / 2);
        _extraPosition = Point(corner.x + w / 2, corner.y + _indentBottom);
    } else if (_mode == "parent-center-bottom") {
        corner = Point(p.x - w / 2, p.y);
        _extraPosition = Point(corner.x + w / 2 - text.width / 2 - text.x, corner.y + _indentBottom);
    } else if (_mode == "parent-right-top") {
        corner = Point(p.x - w, p.y - h);
    } else {
        // Reported with the mode at construction, and once more at the first layout.
        CHECK_ONCE(false, "false");
        return false;
    }
    return true;
}

void ToolTipControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    _isLaidOut = false;
    Rect r;
    if (GetTextRectangle(r)) {
        const int w = _indentLeft + _indentRight + r.width;
        const int h = _indentTop + _indentBottom + r.height;
        Point corner;
        if (PlaceFrame(event->GetMousePos(), w, h, r, corner)) {
            const int drawingWidth = w;
            const int drawingHeight = h;
            CHECK_ONCE(_fixedLeft + _fixedRight < drawingWidth, "_fixedLeft + _fixedRight < drawingWidth");
            CHECK_ONCE(_fixedBottom + _fixedTop < drawingHeight, "_fixedBottom + _fixedTop < drawingHeight");
            _x[0] = corner.x;
            _x[1] = corner.x + _fixedLeft;
            _x[2] = corner.x + w - _fixedRight;
            _x[3] = corner.x + w;
            _y[0] = corner.y;
            _y[1] = corner.y + _fixedBottom;
            _y[2] = corner.y + h - _fixedTop;
            _y[3] = corner.y + h;
            CHECK_ONCE(_x[0] < _x[1] && _x[1] < _x[2] && _x[2] < _x[3],
                       "_x[0] < _x[1] && _x[1] < _x[2] && _x[2] < _x[3]");
            CHECK_ONCE(_y[0] < _y[1] && _y[1] < _y[2] && _y[2] < _y[3],
                       "_y[0] < _y[1] && _y[1] < _y[2] && _y[2] < _y[3]");
            _textPosition = Point(_indentLeft - r.x + corner.x, _indentBottom - r.y + corner.y);
            _isLaidOut = true;
        }
    }
    InscribableConsumer::OnMouseMove(event);
    if (_extra != NULL) {
        ExtraScope scope(*this);
        _extra->OnMouseMove(event);
    }
}

void ToolTipControl::Draw() {
    // Nothing to frame this frame (no text, or text without area): nothing is drawn.
    if (!_isLaidOut) {
        return;
    }
    if (_texture != NULL) {
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                _texture->Draw(Rect(_x[i], _y[j], _x[i + 1] - _x[i], _y[j + 1] - _y[j]),
                               FRect(_u[i], _u[i + 1], _v[j], _v[j + 1]));
            }
        }
    }
    InscribableConsumer::Draw();
    if (_extra != NULL) {
        ExtraScope scope(*this);
        _extra->Draw();
    }
}

void ToolTipControl::Update(float dt) {
    InscribableConsumer::Update(dt);
    if (_extra != NULL) {
        ExtraScope scope(*this);
        _extra->Update(dt);
    }
}

void ToolTipControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    InscribableConsumer::OnMouseDown(event);
    if (_extra != NULL) {
        ExtraScope scope(*this);
        _extra->OnMouseDown(event);
    }
}

void ToolTipControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    InscribableConsumer::OnMouseUp(event);
    if (_extra != NULL) {
        ExtraScope scope(*this);
        _extra->OnMouseUp(event);
    }
}
