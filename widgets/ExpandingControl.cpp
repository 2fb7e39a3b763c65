#include "widgets/ExpandingControl.h"

#include <algorithm>

#include "content/ResourceManager.h"
#include "core/ContentValues.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

namespace {

ObjectWeakPointer<XmlElement> Needed(const ObjectWeakPointer<XmlElement>& xml, const char* name) {
    const ObjectWeakPointer<XmlElement> child = xml->GetFirstChildElement(name);
    Assert(child != NULL);
    return child;
}

ObjectSmartPointer<FlarePosition> OneShot(float seconds) {
    return ObjectSmartPointer<FlarePosition>(new FlarePosition(seconds, true, 0.0f, 0.0f, 0.0f));
}

}  // namespace

void TextureContainer::Read(const ObjectWeakPointer<XmlElement>& xml) {
    if (xml == NULL) return;
    for (ObjectWeakPointer<XmlElement> e = xml->GetFirstChildElement("texture"); e != NULL; e = e->GetNextElement()) {
        Entry entry;
        entry.texture = ResourceManager::GetTextureOrFrame(e->GetStringAttribute("textureId"));
        entry.x = e->GetIntAttribute("x");
        entry.y = e->GetIntAttribute("y");
        entries.push_back(entry);
    }
}

void TextureContainer::Draw() {
    for (Entry& entry : entries) {
        if (entry.texture != NULL) entry.texture->Draw(Point(entry.x, entry.y));
    }
}

bool TextureContainer::IsMouseInside(const Point& relative) {
    for (Entry& entry : entries) {
        if (entry.texture != NULL && entry.texture->IsPointOpaque(Point(relative.x - entry.x, relative.y - entry.y))) {
            return true;
        }
    }
    return false;
}

ExpandingControl::ExpandingControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml), MessageReceiver(xml) {
    _movable = xml->GetBoolAttributeOrDef("movable", true) ? 1.0f : 0.0f;
    _clickCloses = xml->GetBoolAttributeOrDef("clickCloses", false);
    _visibleTimeSetting = CHECKED_FLOAT(xml->GetFloatAttributeOrDef("visibleTime", 0.0f), -MAX_CONTENT_SECONDS,
                                        MAX_CONTENT_SECONDS, 0.0f, "_visibleTime <= 3600.0f");
    _container.Read(xml->GetFirstChildElement("TextureContainer"));
    _path = InPlacePath(Needed(xml, "PathMover"));
    const ObjectWeakPointer<XmlElement> alpha = Needed(xml, "AlphaChanger");
    if (alpha != NULL) _alpha = ObjectSmartPointer<AlphaChanger>(new AlphaChanger(alpha));
    const ObjectWeakPointer<XmlElement> scale = Needed(xml, "ScaleChanger");
    if (scale != NULL) _scale = ObjectSmartPointer<ScaleChanger>(new ScaleChanger(scale));
    const ObjectWeakPointer<XmlElement> frame = Needed(xml, "resizeable");
    if (frame != NULL) {
        _top = ResourceManager::GetTextureOrFrame(frame->GetStringAttribute("textureTopId"));
        _bottom = ResourceManager::GetTextureOrFrame(frame->GetStringAttribute("textureBottomId"));
        _height = CHECKED_INT(frame->GetIntAttribute("height"), 0, MAX_CONTENT_SIZE, "0 <= _height && _height <= 100000");
    }
    if (_top != NULL) {
        // The bottom cap fills 0 .. b, the top's lower half stretches up to H - t/2, its upper
        // half keeps its size.
        _topMesh = ObjectSmartPointer<TextureMesh>(new TextureMesh(_top.GetPointer(), 1, 2, 1.0f, 1.0f));
        const Rect top = _top->GetRectangle();
        const float b = _bottom == NULL ? 0.0f : static_cast<float>(_bottom->GetRectangle().height);
        const float rows[3] = {b, static_cast<float>(_height) - top.height / 2.0f, static_cast<float>(_height)};
        for (int j = 0; j < 3; ++j) {
            for (int i = 0; i < 2; ++i) {
                _topMesh->GetVertexOffset(i, j) = FPoint(_topMesh->GetVertexPosition(i, j)._x, rows[j]);
            }
        }
    }
    const ObjectWeakPointer<XmlElement> times = xml->GetFirstChildElement("actionsTime");
    if (times != NULL) {
        _showTime = CHECKED_FLOAT(times->GetFloatAttribute("showTime"), 0.001f, MAX_CONTENT_SECONDS, 0.5f,
                                  "0.0f < showTime && showTime <= 3600.0f");
        _hideTime = CHECKED_FLOAT(times->GetFloatAttribute("hideTime"), 0.001f, MAX_CONTENT_SECONDS, 0.5f,
                                  "0.0f < hideTime && hideTime <= 3600.0f");
        _waitTime = CHECKED_FLOAT(times->GetFloatAttribute("waitTime"), -MAX_CONTENT_SECONDS, MAX_CONTENT_SECONDS,
                                  1.333f, "waitTime <= 3600.0f");
    }
    _arrow = ObjectSmartPointer<DirectArrow>(new DirectArrow(Needed(xml, "directArrow")));
    const ObjectWeakPointer<XmlElement> onClose = Needed(xml, "onClose");
    if (onClose != NULL) {
        _closeReceiver = onClose->GetStringAttribute("receiver");
        _closeMessage = onClose->GetStringAttribute("message");
    }
    const ObjectWeakPointer<XmlElement> pause = xml->GetFirstChildElement("pause");
    _hasPauseReceiver = pause != NULL;
    if (_hasPauseReceiver) _pauseReceiver = pause->GetStringAttribute("name");
    _timer = OneShot(_showTime);
}

ExpandingControl::~ExpandingControl() {
    if (_destroyedFlag != nullptr) *_destroyedFlag = true;
}

void ExpandingControl::OnMessage(std::string message) {
    if (message == "show") {
        // Every showing stays its visible time; a panel that is up already stays up that long
        // again, and one on its way out comes back.
        _visibleTime = _visibleTimeSetting;
        if (_state == APPEARING_STATE || _state == SHOWN_STATE) return;
        _state = APPEARING_STATE;
        _timer = OneShot(_showTime);
        if (_hasPauseReceiver) SendMessage(_pauseReceiver, "Pause hint");
    } else if (message == "hide") {
        if (_state == SHOWN_STATE) {
            _state = DISAPPEARING_STATE;
            _timer = OneShot(_hideTime);
            if (_hasPauseReceiver) SendMessage(_pauseReceiver, "Continue hint");
        }
        _delayedMessages.Add(_closeReceiver, _closeMessage, _hideTime);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void ExpandingControl::Update(float dt) {
    // A receiver of the closing message may destroy this panel.
    bool destroyed = false;
    _destroyedFlag = &destroyed;
    _delayedMessages.Update(dt);
    if (destroyed) return;
    _destroyedFlag = nullptr;
    if (_state == INVISIBLE_STATE) return;
    _waitTime -= dt;
    _timer->Update(dt);
    if (_state == APPEARING_STATE && _timer->_done) {
        _state = SHOWN_STATE;
    } else if (_state == DISAPPEARING_STATE && _timer->_done) {
        _state = INVISIBLE_STATE;
    }
    FixedChildrenListControl::Update(dt);
    _arrow->Update(dt);
    if (_visibleTime > 0.0f) {
        _visibleTime -= dt;
        // At exactly 0 too: the count stops there and would never hide.
        if (_visibleTime <= 0.0f) SendMessage(GetReceiverName(), "hide");
    }
}

Rect ExpandingControl::GetPanelRect() {
    const Point position = GetAbsolutePos();
    const Rect bottom = _bottom == NULL ? Rect() : _bottom->GetRectangle();
    return Rect(position.x, position.y, bottom.width, bottom.height);
}

void ExpandingControl::DrawPanel() {
    const Point position = GetAbsolutePos();
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(position.x), static_cast<float>(position.y), 0.0f);
    if (_topMesh != NULL) _topMesh->Draw();
    if (_bottom != NULL) _bottom->Draw(Point(0, 0));
    _container.Draw();
    Render::device.PopMatrix();
}

void ExpandingControl::Draw() {
    if (_state == INVISIBLE_STATE) return;
    Render::device.PushMatrix();
    float alpha = 1.0f;
    float scale = 1.0f;
    if (_state != SHOWN_STATE) {
        const float p = _timer->GetProgress();
        const float q = _state == APPEARING_STATE ? p : 1.0f - p;
        alpha = std::min(1.0f, std::max(0.0f, _alpha == NULL ? 1.0f : _alpha->GetAlpha(q)));
        scale = _scale == NULL ? 1.0f : _scale->GetScale(q);
        // A curve of no numbers or of infinities was reported when first drawn.
        if (!CHECK_ONCE(-16.0f <= scale && scale <= 16.0f, "-16.0f <= scale && scale <= 16.0f")) scale = 1.0f;
        const FPoint offset = _path.GetPosition(q);
        Render::device.MatrixTranslate(offset._x, offset._y, 0.0f);
    }
    Render::device.PushAlpha(alpha);
    _arrow->Draw();
    const Rect panel = GetPanelRect();
    const float cx = panel.x + panel.width / 2.0f;
    const float cy = panel.y + panel.height / 2.0f;
    Render::device.MatrixTranslate(cx, cy, 0.0f);
    Render::device.MatrixScale(scale, scale, 1.0f);
    Render::device.MatrixTranslate(-cx, -cy, 0.0f);
    DrawPanel();
    FixedChildrenListControl::Draw();
    Render::device.PopAlpha();
    Render::device.PopMatrix();
}

bool ExpandingControl::IsMouseInside() {
    if (_movable == 0.0f) return false;
    const Point position = GetAbsolutePos();
    const Point mouse = GetMousePos();
    const Point m(mouse.x - position.x, mouse.y - position.y);
    if (_container.IsMouseInside(m)) return true;
    const int t = _top == NULL ? 0 : _top->GetRectangle().height;
    if (_top != NULL && _top->IsPointOpaque(Point(m.x, m.y - (_height - t)))) return true;
    if (_bottom == NULL) return false;
    if (_bottom->IsPointOpaque(m)) return true;
    const Rect bottom = _bottom->GetRectangle();
    return 0 <= m.x && m.x < bottom.width && bottom.height <= m.y && m.y <= _height - t;
}

void ExpandingControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (_state != SHOWN_STATE) return;
    FixedChildrenListControl::OnMouseDown(event);
    if (event->IsMouseCaptured()) return;
    Assert(!_isInDragging);
    if (IsMouseInside()) {
        event->CaptureMouse();
        _isInDragging = true;
        const Point mouse = GetMousePos();
        const Point position = GetAbsolutePos();
        _dragOffset = Point(mouse.x - position.x, mouse.y - position.y);
        _dragStartMousePos = mouse;
        _moved = false;
    } else if (_waitTime <= 0.0f && _movable != 0.0f) {
        SendMessage(GetReceiverName(), "hide");
    }
}

void ExpandingControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (_state != SHOWN_STATE) return;
    FixedChildrenListControl::OnMouseMove(event);
    if (event->IsMouseCaptured()) {
        if (_isInDragging) {
            event->ConfirmCapture();
            event->SetPressedCursor();
            const Point mouse = event->GetMousePos();
            SetAbsolutePos(Point(mouse.x - _dragOffset.x, mouse.y - _dragOffset.y));
            if (!(mouse == _dragStartMousePos)) _moved = true;
        } else if (!event->IsMouseHandled() && IsMouseInside()) {
            event->SetMouseHandled();
        }
        return;
    }
    Assert(!_isInDragging);
    if (!event->IsMouseHandled() && IsMouseInside()) {
        event->SetMouseHandled();
        event->SetActiveCursor();
    }
}

void ExpandingControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (_state != SHOWN_STATE) return;
    FixedChildrenListControl::OnMouseUp(event);
    if (event->IsMouseCaptured()) {
        if (!_isInDragging) return;
        if (_moved || _clickCloses) {
            event->ReleaseCapture();
            _isInDragging = false;
            if (!_moved && _waitTime <= 0.0f) SendMessage(GetReceiverName(), "hide");
        } else {
            Assert(_dragStartMousePos == GetMousePos());
        }
        return;
    }
    Assert(!_isInDragging);
}
