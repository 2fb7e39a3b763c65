#pragma once
// A sequence of frames (groups of controls) shown one after another, each for its own time, with
// a cross-fade into the next; a click skips a skippable frame and is swallowed while one runs.

#include <vector>

#include "controls/Control.h"
#include "controls/FixedChildrenListControl.h"

class FrameChangerControl : public Control {
public:
    // Attributes "replaceTime" (default 0) and "stayLastFrame" (default false); from the first
    // element "frame" on, every element is a frame ("pause", "skiped", its position and children).
    FrameChangerControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~FrameChangerControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    int GetCurrent() const { return _current; }
    int GetFrameCount() const { return static_cast<int>(_frames.size()); }
    float GetPause(int frame) const { return _parameters[static_cast<std::size_t>(frame)].pause; }

private:
    struct FrameParameters {
        float pause = 0.0f;
        bool skippable = false;
    };
    bool IsStayingOnLast() const { return _stayLastFrame && _current == GetFrameCount() - 1; }
    void AdvanceFrame(int frame, float dt);

    std::vector<ObjectSmartPointer<FixedChildrenListControl>> _frames;
    std::vector<FrameParameters> _parameters;
    int _current = 0;
    float _replaceTime = 0.0f;
    bool _stayLastFrame = false;
    bool _changed = false;
};
