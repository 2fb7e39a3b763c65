#pragma once
// A picture that, when clicked on an opaque pixel, sends its message and plays a sample.
// "show" and "hide" switch it on and off.

#include <string>

#include "controls/SingleTextureControl.h"
#include "core/MessageReceiver.h"

class McStaticTextureControl : public SingleTextureControl, public MessageReceiver {
public:
    McStaticTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~McStaticTextureControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;

    bool IsShown() const { return _doShow; }

private:
    std::string _message;
    std::string _receiver;
    bool _doShow = true;
};
