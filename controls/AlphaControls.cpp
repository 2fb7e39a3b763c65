#include "controls/AlphaControls.h"

#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

ZeroAlphaControl::ZeroAlphaControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {}

void ZeroAlphaControl::Draw() {
    Render::device.PushAlpha(0.0f);
    FixedChildrenListControl::Draw();
    Render::device.PopAlpha();
}

FixedAlphaControl::FixedAlphaControl(const ObjectWeakPointer<Control>& parent,
                                     const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    if (xml != NULL) {
        _alphaMul = xml->GetFloatAttribute("alphaMul");
    }
    Assert(0.0f <= _alphaMul && _alphaMul <= 1.0f);
}

void FixedAlphaControl::Draw() {
    Render::device.PushAlpha(_alphaMul);
    FixedChildrenListControl::Draw();
    Render::device.PopAlpha();
}
