#include "aquarium/BottomControl.h"

#include <algorithm>
#include <cmath>

#include "aquarium/AquariumDispatcherControl.h"
#include "aquarium/ZOrderControl.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Bool.h"
#include "core/Math.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"

BottomControl::BottomControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : ZOrderClientControl(parent, xml) {
    _home = _position;
    _glide = FPoint(_position.x, _position.y);
    _fogRate = {{60, 0.0f}, {107, 0.1f}, {132, 0.2f}, {140, 0.3f}, {152, 0.4f}, {172, 0.5f}, {187, 0.6f}, {198, 0.7f}};
    _shopItemId = xml->GetFirstChildElement("shopItem")->GetStringAttribute("tankItemId");
    _groundLine = xml->GetFirstChildElement("ground")->GetIntAttribute("groundLine");
    _isFogEnabled = xml->GetFirstChildElement("fog")->GetBoolAttribute("enabled");
    _iconTextureId = xml->GetFirstChildElement("icon")->GetStringAttribute("textureId");
}

BottomControl::~BottomControl() = default;

// Depth, scale and fog.

float BottomControl::GetZ() {
    const Point p = _position;
    Assert(-2048 <= p.x && p.x < 2048);
    Assert(-2048 <= p.y && p.y < 2048);
    if (p.y <= FLOOR_MIN_Y) return 0.9975f;
    if (p.y >= FLOOR_MAX_Y) return 0.0025f;
    const int k = static_cast<int>(static_cast<float>(FLOOR_MAX_Y - p.y) * 1.1055556f);
    return 0.0025f + 0.005f * static_cast<float>(k);
}

float BottomControl::GetScale() {
    if (!_isFogEnabled) return 1.0f;
    const float y = static_cast<float>(_position.y);
    const float scale = 1.0f + (MIN_SCALE - 1.0f) * (y - FLOOR_MIN_Y) / (FLOOR_MAX_Y - FLOOR_MIN_Y);
    return std::min(1.0f, std::max(MIN_SCALE, scale));
}

FPoint BottomControl::ToLocalCoords(int x, int y) {
    const Point a = GetAbsolutePos();
    const float scale = GetScale();
    return FPoint(static_cast<float>(x - a.x) / scale, static_cast<float>(y - a.y) / scale);
}

float BottomControl::GetFogRate() {
    if (!_isFogEnabled) return 0.0f;
    if (_fixedFogRate >= 0.0f) return _fixedFogRate;
    Assert(_fogRate.size() > 0);
    if (_fogRate.empty()) return 0.0f;
    const int y = _position.y;
    if (y < _fogRate.begin()->first) return _fogRate.begin()->second;
    if (y >= _fogRate.rbegin()->first) return _fogRate.rbegin()->second;
    const auto high = _fogRate.upper_bound(y);
    Assert(high != _fogRate.begin());
    const auto low = std::prev(high);
    if (low->first == y) return low->second;
    Assert(low->first < y && y < high->first);
    const float t = static_cast<float>(y - low->first) / static_cast<float>(high->first - low->first);
    return (1.0f - t) * low->second + t * high->second;
}

void BottomControl::SaveCommon(const ObjectWeakPointer<XmlElement>& element) {
    ObjectSmartPointer<XmlElement> position(new XmlElement("position"));
    position->SetIntAttribute("x", _home.x);
    position->SetIntAttribute("y", _home.y);
    element->AppendChild(position);
    ObjectSmartPointer<XmlElement> shopItem(new XmlElement("shopItem"));
    shopItem->SetStringAttribute("tankItemId", _shopItemId);
    element->AppendChild(shopItem);
    ObjectSmartPointer<XmlElement> fog(new XmlElement("fog"));
    fog->SetBoolAttribute("enabled", _isFogEnabled);
    element->AppendChild(fog);
    ObjectSmartPointer<XmlElement> ground(new XmlElement("ground"));
    ground->SetIntAttribute("groundLine", _groundLine);
    element->AppendChild(ground);
    ObjectSmartPointer<XmlElement> icon(new XmlElement("icon"));
    icon->SetStringAttribute("textureId", _iconTextureId);
    element->AppendChild(icon);
}

// The screen and the drop targets.

ObjectWeakPointer<AquariumDispatcherControl> BottomControl::GetDispatcher() {
    ObjectWeakPointer<Control> parent = GetParent();
    for (;;) {
        Assert(parent != NULL);
        if (parent == NULL) return ObjectWeakPointer<AquariumDispatcherControl>();
        if (parent.InstanceOf<AquariumDispatcherControl>()) return parent.Cast<AquariumDispatcherControl>();
        parent = parent->GetParent();
    }
}

void BottomControl::ReportDragStart(bool isNew) {
    const ObjectWeakPointer<AquariumDispatcherControl> dispatcher = GetDispatcher();
    if (dispatcher != NULL) dispatcher->OnDragStart(isNew);
}

void BottomControl::ReportDragEnd(bool isNew) {
    const ObjectWeakPointer<AquariumDispatcherControl> dispatcher = GetDispatcher();
    if (dispatcher != NULL) dispatcher->OnDragEnd(isNew);
}

std::string BottomControl::GetDropTargetName(bool isNew) {
    const ObjectWeakPointer<AquariumDispatcherControl> dispatcher = GetDispatcher();
    return dispatcher != NULL ? dispatcher->GetDropTargetName(isNew) : std::string();
}

bool BottomControl::IsTargetActive(const std::string& target) {
    if (!IsReceiver(target)) return false;
    // A reply other than "true" or "false" is reported by the parse and counts as false.
    return Bool::Parse(SendMessageReply(target, "Is active?"));
}

// Dragging.

Point BottomControl::LocalMousePoint() {
    const Point m = GetMousePos();
    const FPoint local = ToLocalCoords(m.x, m.y);
    return Point(static_cast<int>(local._x), static_cast<int>(local._y));
}

void BottomControl::FollowMouse() {
    const Point m = GetMousePos();
    const Point parent = GetParent() != NULL ? GetParent()->GetAbsolutePos() : Point();
    const float ymin = static_cast<float>(parent.y + FLOOR_MIN_Y) + _grabOffset._y;
    const float ymax = static_cast<float>(parent.y + FLOOR_MAX_Y) + _grabOffset._y * MIN_SCALE;
    const float y = static_cast<float>(m.y);
    float s = 1.0f;
    if (!_isFogEnabled || y < ymin) {
        s = 1.0f;
    } else if (y > ymax) {
        s = MIN_SCALE;
    } else {
        Assert(ymin <= y && y <= ymax);
        // A grab point so high that the band closes: the scale of its front line.
        s = ymax > ymin ? 1.0f + (y - ymin) * (MIN_SCALE - 1.0f) / (ymax - ymin) : 1.0f;
    }
    const int a = Math::round(s * _grabOffset._x);
    const int b = Math::round(s * _grabOffset._y);
    SetAbsolutePos(Point(m.x - a, m.y - b));
}

void BottomControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (event->IsMouseCaptured()) return;
    Assert(!_isInDragging);
    const Point local = LocalMousePoint();
    if (!IsPointInside(local.x, local.y) && _replyTo.empty()) return;
    _grabOffset = FPoint(local.x, local.y);
    event->CaptureMouse();
    _isInDragging = true;
    FollowMouse();
    if (!_replyTo.empty()) {
        ReportDragStart(true);
        _isDragStartReported = true;
    } else {
        _isDragStartReported = false;
    }
}

void BottomControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    _isOverTarget = false;
    bool isHandledHere = false;
    if (event->IsMouseCaptured() && _isInDragging) {
        _glide = FPoint(_position.x, _position.y);
        FollowMouse();
        if (_isFirstDragMove && _replyTo.empty()) _isFirstDragMove = false;
        const float dx = static_cast<float>(_position.x - _home.x);
        const float dy = static_cast<float>(_position.y - _home.y);
        if (!_isDragStartReported && std::sqrt(dx * dx + dy * dy) > _dragThreshold) {
            Assert(_replyTo.empty());
            ReportDragStart(false);
            _isDragStartReported = true;
        }
        if (_isFirstDragMove) {
            // The shop's icon holds this first move of a new item.
            _isFirstDragMove = false;
        } else {
            event->SetPressedCursor();
            event->ConfirmCapture();
        }
        const bool isNew = !_replyTo.empty();
        const std::string target = GetDropTargetName(isNew);
        if (!IsReceiver(target)) {
            if (isNew) {
                // Nowhere to drop a new item: it goes, and the shop hears of it first.
                _isInDragging = false;
                SendMessage(_replyTo, "misplaced");
                ReportDragEnd(true);
                const ObjectWeakPointer<ZOrderControl> tank = FindTank(*this);
                if (tank != NULL) tank->DeleteAfterMouseMove();
            }
        } else if (IsTargetActive(target)) {
            _isOverTarget = true;
            SendMessage(target, "texture " + _iconTextureId);
        }
    } else if (event->IsMouseCaptured()) {
        const Point local = LocalMousePoint();
        if (!event->IsMouseHandled() && IsPointInside(local.x, local.y)) {
            event->SetMouseHandled();
            isHandledHere = true;
        }
    } else {
        Assert(!_isInDragging);
        const Point local = LocalMousePoint();
        if (!event->IsMouseHandled() && IsPointInside(local.x, local.y)) {
            event->SetMouseHandled();
            event->SetActiveCursor();
            isHandledHere = true;
        }
    }
    if (event.InstanceOf<RightButtonDownEvent>()) {
        if (isHandledHere && !event->IsMouseCaptured()) OnText("mirror");
        else if (_isInDragging) OnText("mirror");
    }
}

void BottomControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (!event->IsMouseCaptured()) {
        Assert(!_isInDragging);
        return;
    }
    if (!_isInDragging) return;
    event->ReleaseCapture();
    const Point p = _position;
    _isInDragging = false;
    if (!_replyTo.empty()) {
        DropNewItem(p);
    } else {
        DropOwnedItem(p);
    }
}

void BottomControl::DropNewItem(const Point& p) {
    const std::string target = GetDropTargetName(true);
    const ObjectWeakPointer<ZOrderControl> tank = FindTank(*this);
    if (IsTargetActive(target)) {
        _isBuyCancelling = true;
        if (tank != NULL) tank->MakeThisSelling();
        SendMessage(target, "texture " + _iconTextureId);
        SendMessage(target, "freeze");
        SendMessage(_replyTo, "cancelled");
        _isIconShowing = true;
    } else if (FLOOR_MIN_Y <= p.y && p.y <= FLOOR_MAX_Y) {
        _home = p;
        // Owned from here: the purchase saves the tank with the item in it.
        const std::string replyTo = _replyTo;
        _replyTo.clear();
        SendMessage(replyTo, "placed");
        Assert(_isDragStartReported);
        ReportDragEnd(true);
    } else {
        if (tank != NULL) tank->DeleteAfterMouseUp();
        SendMessage(_replyTo, "misplaced");
        Assert(_isDragStartReported);
        ReportDragEnd(true);
    }
}

void BottomControl::DropOwnedItem(const Point& p) {
    // Every drop road reports the drag start it still owes, so start and end pair up.
    if (!_isDragStartReported) {
        ReportDragStart(false);
        _isDragStartReported = true;
    }
    const std::string target = GetDropTargetName(false);
    if (IsTargetActive(target)) {
        _isSelling = true;
        const ObjectWeakPointer<ZOrderControl> tank = FindTank(*this);
        if (tank != NULL) tank->MakeThisSelling();
        SendMessage(target, "texture " + _iconTextureId);
        SendMessage(target, "freeze");
        SendMessage(_shopItemId + " dispatcher", "show sell dialog on basket");
        Assert(!_isIconShowing);
        _isIconShowing = true;
        return;
    }
    if (FLOOR_MIN_Y <= p.y && p.y <= FLOOR_MAX_Y) _home = p;
    ReportDragEnd(false);
}

void BottomControl::AbandonDrag() {
    if (!_isInDragging) return;
    _isInDragging = false;
    const bool isNew = !_replyTo.empty();
    if (isNew) SendMessage(_replyTo, "misplaced");
    if (_isDragStartReported) ReportDragEnd(isNew);
}

void BottomControl::Update(float dt) {
    if (_isInDragging || _isSelling || _isBuyCancelling) return;
    if (_glide._x == static_cast<float>(_home.x) && _glide._y == static_cast<float>(_home.y)) return;
    Assert(dt > 0);
    if (!(dt > 0)) return;
    const float step = dt * _glideSpeed;
    const float dx = static_cast<float>(_home.x) - _glide._x;
    const float dy = static_cast<float>(_home.y) - _glide._y;
    const float actualDistance = std::sqrt(dx * dx + dy * dy);
    Assert(actualDistance > 0);
    if (actualDistance <= step) {
        _glide = FPoint(_home.x, _home.y);
        _position = _home;
    } else {
        _glide = FPoint(_glide._x + dx / actualDistance * step, _glide._y + dy / actualDistance * step);
        _position = Point(static_cast<int>(_glide._x), static_cast<int>(_glide._y));
    }
}

// Selling.

void BottomControl::OnSellingCancelled() {
    Assert(_isSelling);
    _isSelling = false;
    Assert(_isDragStartReported);
    ReportDragEnd(false);
    if (_isIconShowing) {
        SendMessage(GetDropTargetName(false), "unfreeze");
        _isIconShowing = false;
    }
}

void BottomControl::OnSellingDone() {
    if (!(_isBuyCancelling || _isSelling)) {
        ReportFailure("Assertion failed", "_isSelling", __FILE__, __LINE__);
    }
    Assert(_isDragStartReported);
    const bool isNew = !_replyTo.empty();
    ReportDragEnd(isNew);
    if (_isIconShowing) {
        SendMessage(GetDropTargetName(isNew), "unfreeze");
        _isIconShowing = false;
    }
}
