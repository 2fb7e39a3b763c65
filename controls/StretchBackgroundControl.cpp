#include "controls/StretchBackgroundControl.h"

#include "controls/PictureTexture.h"
#include "core/XmlElement.h"

StretchBackgroundControl::StretchBackgroundControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> texture = GetNeededChild(xml, "texture");
    if (texture != NULL) {
        _texture = GetPictureTexture(texture->GetStringAttribute("id"));
    }
}

StretchBackgroundControl::~StretchBackgroundControl() = default;

void StretchBackgroundControl::Draw() {
    if (_texture != NULL) {
        _texture->Draw(Rect(0, 0, 800, 600), FRect(0.0f, 1.0f, 0.0f, 1.0f));
    }
}

void StretchBackgroundControl::Update(float) {}
