#pragma once
// A hint panel that slides, fades and grows in on "show", stays, and plays the same backwards on
// "hide"; it can pause the game, points with a pulsing arrow, can be dragged, and sends a closing
// message when each hiding is over.

#include <string>
#include <vector>

#include "content/MotionChangers.h"
#include "content/MotionFlare.h"
#include "content/MotionTextures.h"
#include "controls/FixedChildrenListControl.h"
#include "core/DelayedMessages.h"
#include "core/MessageReceiver.h"
#include "core/MousePosRememberer.h"
#include "core/Rect.h"
#include "shell/Texture.h"
#include "widgets/DirectArrow.h"
#include "widgets/InPlacePath.h"

// Pictures at fixed places relative to an owner's position.
class TextureContainer {
public:
    struct Entry {
        int x = 0;
        int y = 0;
        UsingPointer<Texture> texture;
    };

    // From the first child "texture" on, every element ("textureId", "x", "y"); none for a null
    // element or one without a "texture".
    void Read(const ObjectWeakPointer<XmlElement>& xml);
    void Draw();
    // The first entry opaque at the point (relative to the owner).
    bool IsMouseInside(const Point& relative);

    std::vector<Entry> entries;
};

class ExpandingControl : public FixedChildrenListControl, public MousePosRememberer, public MessageReceiver {
public:
    enum State { INVISIBLE_STATE = 0, APPEARING_STATE = 1, SHOWN_STATE = 2, DISAPPEARING_STATE = 3 };

    // Attributes "movable" (default true) and "visibleTime" (default 0); children
    // "TextureContainer", "PathMover", "AlphaChanger", "ScaleChanger", "resizeable"
    // ("textureTopId", "textureBottomId", "height"), "actionsTime" (optional: "showTime",
    // "hideTime", "waitTime"), "directArrow", "onClose" ("receiver", "message"), "pause" ("name",
    // optional), besides "position", "messageReceiver" and "children".
    ExpandingControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ExpandingControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;
    // "show" and "hide".
    void OnMessage(std::string message) override;

    int GetState() const { return _state; }
    bool IsInDragging() const { return _isInDragging; }
    bool IsMouseInside();
    Rect GetPanelRect();

private:
    void DrawPanel();

    DelayedMessages _delayedMessages;
    ObjectSmartPointer<TextureMesh> _topMesh;
    UsingPointer<Texture> _top;
    UsingPointer<Texture> _bottom;
    TextureContainer _container;
    InPlacePath _path;
    ObjectSmartPointer<AlphaChanger> _alpha;
    ObjectSmartPointer<ScaleChanger> _scale;
    int _height = 0;
    bool _isInDragging = false;
    Point _dragOffset;
    Point _dragStartMousePos;
    bool _moved = false;
    bool _hasPauseReceiver = false;
    std::string _pauseReceiver;
    ObjectSmartPointer<DirectArrow> _arrow;
    int _state = INVISIBLE_STATE;
    float _showTime = 0.5f;
    float _hideTime = 0.5f;
    float _waitTime = 1.333f;
    ObjectSmartPointer<FlarePosition> _timer;
    std::string _closeReceiver;
    std::string _closeMessage;
    // Seconds a showing stays before the panel hides itself (0: until "hide"), and what is left of them.
    float _visibleTimeSetting = 0.0f;
    float _visibleTime = 0.0f;
    float _movable = 1.0f;
    // A click on the panel itself (a press and release without motion) sends it away.
    bool _clickCloses = false;
    // Set while the delayed messages are sent; the destructor marks it.
    bool* _destroyedFlag = nullptr;
};
