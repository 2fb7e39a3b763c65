#pragma once
// Cup displays: the current tank's cup that a reveal cross-fades into its second picture, and a
// row of cups that light up one after another while the row sits at its place.

#include <memory>
#include <vector>

#include "content/MotionFlare.h"
#include "content/MotionTextures.h"
#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/MousePosRememberer.h"
#include "core/PermanentVariable.h"

class CupRenderControl : public Control, public MessageReceiver, public MousePosRememberer {
public:
    CupRenderControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;
    // "EffectShow".
    void OnMessage(std::string message) override;

    bool IsHit();
    const std::string& GetFlagName() const { return _flagName; }

private:
    void DrawPicture(const PositionedTexture& picture, float alpha);

    bool _isMouseCapturedByThis = false;
    PositionedTexture _pictures[2];
    std::shared_ptr<FlarePosition> _reveal;
    std::string _flagName;
    ObjectSmartPointer<PermanentVariableOrDef<Local, bool>> _flag;
};

class CupAnimationControl : public MouseTransparentControl {
public:
    struct Frame {
        Point position;
        std::shared_ptr<SmoothTextureChanger> changer;
        UsingPointer<Texture> normal;
        UsingPointer<Texture> active;
    };

    CupAnimationControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;
    int GetState() const { return _state; }
    const std::vector<Frame>& GetFrames() const { return _frames; }

private:
    std::vector<Frame> _frames;
    float _stateChangeTime = 0.0f;
    float _time = 0.0f;
    int _state = 0;
    Point _activeScreenPos;
};
