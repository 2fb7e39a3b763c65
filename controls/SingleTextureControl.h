#pragma once
// Base of the controls that show one picture: a child list with one texture and the last mouse
// position seen. It draws only its children; derived classes draw the texture.

#include "controls/FixedChildrenListControl.h"
#include "core/MousePosRememberer.h"
#include "core/Rect.h"
#include "shell/Texture.h"

class SingleTextureControl : public FixedChildrenListControl, public MousePosRememberer {
public:
    // Reads the child "texture" with its attribute "textureId".
    SingleTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~SingleTextureControl() override;

    Rect GetTextureRectangle();
    void DrawTexture();
    // True only over an opaque pixel of the texture at the remembered mouse position.
    bool IsMouseInTexture();

protected:
    UsingPointer<Texture> _texture;
};
