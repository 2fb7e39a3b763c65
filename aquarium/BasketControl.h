#pragma once
// A drop target for dragged tank items (the sell basket): opens under a dragged item, freezes its
// icon where it was dropped, flies it in on request and then tells a receiver; help once per player.

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/MousePosRememberer.h"

class Animation;
class IntoBasketMover;
class Texture;

class BasketControl : public MouseTransparentControl, public MessageReceiver, public MousePosRememberer {
public:
    BasketControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~BasketControl() override;

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;
    // "Is active?": whether a dragged item is over the basket.
    std::string OnMessageReply(std::string message) override;

    bool IsActive() const { return _isActive; }
    // The opening phase, 0 closed to 1 open.
    float GetOpening() const { return _time; }
    // The frame of the basket animation drawn for the opening phase.
    int GetFrameIndex();
    bool HasFrozenIcon() const { return _frozenTexture != NULL; }
    bool IsHelpShown() const { return _help != NULL; }

private:
    void PlayAnimationThen(const std::string& request);
    void ShowHelp();
    // Draws the picture centred on the point.
    static void DrawCentred(const UsingPointer<Texture>& texture, const Point& centre);

    UsingPointer<Animation> _animation;
    float _animationTime = 0.0f;
    UsingPointer<Texture> _backTexture;
    UsingPointer<Texture> _frontTexture;
    bool _isActive = false;
    float _time = 0.0f;
    UsingPointer<Texture> _iconTexture;
    UsingPointer<Texture> _frozenTexture;
    Point _frozenPoint;
    ObjectSmartPointer<IntoBasketMover> _mover;
    // A request that found no icon to fly: answered at the next update.
    std::string _pendingReceiver;
    std::string _pendingMessage;
    bool _hasPendingReport = false;
    std::string _helpShownName;
    std::string _helpTemplateName;
    ObjectSmartPointer<Control> _help;
};
