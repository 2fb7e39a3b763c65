#pragma once
// The picture that follows the cursor while the player carries something. Others tell it by
// message what to show ("show " + texture id) and whom to tell ("reply to " + receiver); it sends
// "mouse up" there when the player drops the picture.

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/MousePosRememberer.h"
#include "shell/Texture.h"

class McMovableTextureControl : public Control, public MessageReceiver, public MousePosRememberer {
public:
    McMovableTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~McMovableTextureControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;

    bool IsShown() const { return _texture != NULL; }

private:
    // Sends "mouse up" to the reply receiver and hides the picture.
    void Drop();

    UsingPointer<Texture> _texture;
    Point _showMousePos;
    bool _hasMoved = false;
    std::string _replyTo;
    float MOVE_THRESHOLD = 3.0f;
};
