#include "controls/SingleTextureControl.h"

#include "controls/PictureTexture.h"
#include "core/XmlElement.h"

SingleTextureControl::SingleTextureControl(const ObjectWeakPointer<Control>& parent,
                                           const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> texture = GetNeededChild(xml, "texture");
    if (texture != NULL) {
        _texture = GetPictureTexture(texture->GetStringAttribute("textureId"));
    }
}

SingleTextureControl::~SingleTextureControl() = default;

Rect SingleTextureControl::GetTextureRectangle() {
    if (_texture == NULL) {
        return Rect();
    }
    return _texture->GetRectangle();
}

void SingleTextureControl::DrawTexture() {
    if (_texture != NULL) {
        _texture->Draw(GetAbsolutePos());
    }
}

bool SingleTextureControl::IsMouseInTexture() {
    if (_texture == NULL) {
        return false;
    }
    const Point mouse = GetMousePos();
    const Point absolute = GetAbsolutePos();
    return _texture->IsPointOpaque(Point(mouse.x - absolute.x, mouse.y - absolute.y));
}
