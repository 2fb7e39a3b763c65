#pragma once
// A picture stretched over the whole screen. Takes no input.

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "shell/Texture.h"

class StretchBackgroundControl : public MouseTransparentControl, public MessageReceiver {
public:
    // Reads the child "texture" with its attribute "id".
    StretchBackgroundControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~StretchBackgroundControl() override;

    void Draw() override;
    void Update(float dt) override;

private:
    UsingPointer<Texture> _texture;
};
