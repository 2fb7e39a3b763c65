#include "controls/ZoomControl.h"

#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

CommonZoomControl::CommonZoomControl(const ObjectWeakPointer<Control>& parent,
                                     const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {}

CommonZoomControl::~CommonZoomControl() = default;

void CommonZoomControl::SetZoom(float xZoom, float yZoom) {
    Assert(xZoom > 0);
    Assert(yZoom > 0);
    _xZoom = xZoom;
    _yZoom = yZoom;
}

void CommonZoomControl::Draw() {
    RenderDevice& device = Render::device;
    device.PushMatrix();
    Assert(_xZoom != 0);
    Assert(_yZoom != 0);
    // A zero factor leaves nothing to see, and its inverse does not exist.
    if (_xZoom != 0 && _yZoom != 0) {
        const Point a = GetAbsolutePos();
        device.MatrixScale(_xZoom, _yZoom, 1.0f);
        device.MatrixTranslate(static_cast<float>(a.x) * (1.0f / _xZoom - 1.0f),
                               static_cast<float>(a.y) * (1.0f / _yZoom - 1.0f), 0.0f);
        FixedChildrenListControl::Draw();
    }
    device.PopMatrix();
}

void CommonZoomControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const FPoint m = event->GetFloatMousePos();
    Assert(_xZoom != 0);
    Assert(_yZoom != 0);
    if (_xZoom == 0 || _yZoom == 0) {
        FixedChildrenListControl::OnMouseMove(event);
        return;
    }
    const Point absolute = GetAbsolutePos();
    const FPoint a(absolute.x, absolute.y);
    event->PushMousePos(a + (m - a) * FPoint(1.0f / _xZoom, 1.0f / _yZoom));
    FixedChildrenListControl::OnMouseMove(event);
    event->PopMousePos();
}

ZoomControl::ZoomControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : CommonZoomControl(parent, xml) {
    const float zoom = xml != NULL ? xml->GetFloatAttribute("zoom") : 1.0f;
    Assert(zoom > 0.0f);
    SetZoom(zoom, zoom);
}

XYZoomControl::XYZoomControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : CommonZoomControl(parent, xml) {
    const float xZoom = xml != NULL ? xml->GetFloatAttribute("xZoom") : 1.0f;
    const float yZoom = xml != NULL ? xml->GetFloatAttribute("yZoom") : 1.0f;
    Assert(xZoom > 0.0f);
    Assert(yZoom > 0.0f);
    SetZoom(xZoom, yZoom);
}
