#pragma once
// A picture that pops up on "show", stays a few seconds and shrinks away, or goes at the next
// press anywhere. Its children are drawn with it and receive no input.

#include <string>

#include "content/Spline.h"
#include "controls/SingleTextureControl.h"
#include "core/MessageReceiver.h"

class ExpandingTextureControl : public SingleTextureControl, public MessageReceiver {
public:
    ExpandingTextureControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ExpandingTextureControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;

    float GetTime() const { return _time; }
    // The opacity and the scale of the picture now; false while it is hidden.
    bool GetLook(float& alpha, float& scale) const;

private:
    float _time = 0.0f;
    float _expandingStartTime = 0.0f;
    float _expandingFinishTime = 1.0f;
    float _shrinkingStartTime = 4.0f;
    float _shrinkingFinishTime = 5.0f;
    SplinePath<float> _scale;
};
