#pragma once
// Animated decorations of the tank: a chest, a diving helmet, a diver and a cockle shell, each a
// cyclic list of timed states that picks frames of its animations and starts bubble effects.

#include <memory>
#include <string>
#include <vector>

#include "content/Animation.h"
#include "content/EffectObserver.h"
#include "content/MotionFlare.h"
#include "content/Spline.h"
#include "controls/Control.h"
#include "core/FPoint.h"

class Texture;

struct DecorationTimedState {
    DecorationTimedState(int stateIndex_, float minTime_, float maxTime_);

    int stateIndex = 0;
    // A one-shot timer whose flash life is this visit's duration.
    std::shared_ptr<FlarePosition> timer;
    float minTime = 0.0f;
    float maxTime = 0.0f;
};

class DecorationStateCycle {
public:
    void AddState(int stateIndex, float minTime, float maxTime);
    // 0 at the start of the running state, 1 at its end; 1 without states.
    float GetProgress() const;
    // The running state's index; -1 without states.
    int GetStateIndex() const;
    // Moves to the next state once the running one shows progress 1, else advances it.
    void Update(float dt);
    std::size_t GetCount() const { return _states.size(); }

    // Reads the "frame" children of "frames" by the class's state texts.
    void Read(const ObjectWeakPointer<XmlElement>& xml, const std::vector<std::string>& names);
    // minTime of the first frame of that state; -1 when there is none.
    float MinTimeOf(int stateIndex) const;

private:
    std::vector<DecorationTimedState> _states;
    unsigned int _current = 0;
};

// What the four decorations share: the cycle, the effects and the opening animation.
class DecorationControl : public MouseTransparentControl {
public:
    DecorationControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~DecorationControl() override;

    const DecorationStateCycle& GetStates() const { return _states; }

protected:
    // The opening frame in the shared states idle, open, keep_open and close.
    void DrawOpening(const UsingPointer<Animation>& animation, int state, int idle, int open, int keepOpen,
                     int close);
    // Updates the cycle and starts the effect at P + offset on each idle-to-open change.
    void UpdateWithBubbles(float dt, const std::string& effect, const Point& offset);

    DecorationStateCycle _states;
    EffectOwner _effects;
};

class ChestControl : public DecorationControl {
public:
    ChestControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;

private:
    UsingPointer<Animation> _openAnimation;
    UsingPointer<Animation> _flareAnimation;
    Point _bubblesPos;
    Point _flarePos;
};

class HelmetControl : public DecorationControl {
public:
    HelmetControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;
    // The eye frame of a state at a progress, in [0, m - 1].
    int EyeFrame(int state, float p) const;

    int _eyesShowEndFrame = 0;
    int _eyesHideStartFrame = 0;

private:
    UsingPointer<Animation> _openAnimation;
    UsingPointer<Animation> _eyesAnimation;
    Point _eyesPosition;
    Point _eyeDistance;
    FPoint _eyesMoving;
    UsingPointer<Texture> _helmetRing;
    Point _helmetRingPos;
    Point _bubblesPos;
};

class DiverControl : public DecorationControl {
public:
    DiverControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;
    EffectHandle GetBubbles() const { return _bubbles; }

private:
    UsingPointer<Animation> _openAnimation;
    EffectHandle _bubbles;
    TimedSpline _pathX;
    TimedSpline _pathY;
};

class CockleShellControl : public DecorationControl {
public:
    CockleShellControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    void Draw() override;
    void Update(float dt) override;

private:
    UsingPointer<Animation> _animation;
    Point _bubblesPos;
};
