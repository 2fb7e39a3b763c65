#include "controls/RotationControl.h"

#include "controls/MouseEvents.h"
#include "controls/PictureTexture.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

namespace {
const float DEGREES_TO_RADIANS = 0.017453292f;
const float RADIANS_TO_DEGREES = 57.29578f;
}  // namespace

RotationControl::RotationControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> center = GetNeededChild(xml, "center");
    if (center != NULL) {
        _center.x = center->GetIntAttribute("x");
        _center.y = center->GetIntAttribute("y");
    }
    const ObjectWeakPointer<XmlElement> angle = GetNeededChild(xml, "angle");
    if (angle != NULL) {
        const float value = angle->GetFloatAttribute("value");
        const std::string units = angle->GetStringAttribute("units");
        if (units == "radians") {
            _angle = value;
        } else if (units == "degrees") {
            _angle = value * DEGREES_TO_RADIANS;
        } else {
            Assert(false);
            _angle = value;
        }
    }
}

RotationControl::~RotationControl() = default;

FPoint RotationControl::GetAbsoluteCenter() {
    const Point a = GetAbsolutePos();
    return FPoint(a.x + _center.x, a.y + _center.y);
}

void RotationControl::Draw() {
    RenderDevice& device = Render::device;
    const FPoint c = GetAbsoluteCenter();
    const float axis[3] = {0.0f, 0.0f, 1.0f};
    device.PushMatrix();
    device.MatrixTranslate(c._x, c._y, 0.0f);
    device.MatrixRotate(axis, _angle * RADIANS_TO_DEGREES);
    device.MatrixTranslate(-c._x, -c._y, 0.0f);
    FixedChildrenListControl::Draw();
    device.PopMatrix();
}

void RotationControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const FPoint c = GetAbsoluteCenter();
    const FPoint r = (event->GetFloatMousePos() - c).Rotate(-_angle);
    event->PushMousePos(c + r);
    FixedChildrenListControl::OnMouseMove(event);
    event->PopMousePos();
}
