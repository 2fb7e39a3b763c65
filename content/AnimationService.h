#pragma once
// The frame player: steps through a frame range at a fixed frame rate, once, looping or back and forth.

#include "content/Animation.h"
#include "shell/Texture.h"

class AnimationService : public Interface {
public:
    static const int MODE_ONCE = 0;
    static const int MODE_PINGPONG = 2;
    static const int MODE_LOOP = 4;
    static const int MODE_PINGPONG_LOOP = 6;

    // Plays the whole animation, forward, once, at 50 frames a second; keeps it in use.
    explicit AnimationService(const ObjectWeakPointer<Animation>& animation);
    AnimationService(const AnimationService& other);
    AnimationService& operator=(const AnimationService&) = delete;

    void SetCurrentFrame(int i);
    void SetFirstFrame(int i);
    void SetLastFrame(int i);
    void SetFps(float fps);
    // mode 0, 2, 4 or 6; restarts at the first frame.
    void Start(int mode);
    void Update(float dt);

    int GetCurrentFrame() const { return _currentFrame; }
    int GetFirstFrame() const { return _firstFrame; }
    int GetLastFrame() const { return _lastFrame; }
    float GetAccumulatedTime() const { return _time; }
    // The current frame's texture.
    UsingPointer<Texture> GetTexture();
    const UsingPointer<Animation>& GetAnimation() const { return _animation; }

    bool playing = true;

private:
    int _currentFrame = 0;
    int _firstFrame = 0;
    int _lastFrame = 0;
    float _time = 0.0f;
    float _oneFrameTime = 0.02f;
    bool _forward = true;
    bool _loop = false;
    bool _pingPong = false;
    UsingPointer<Animation> _animation;
};
