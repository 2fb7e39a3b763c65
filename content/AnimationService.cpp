#include "content/AnimationService.h"

#include "core/Assert.h"

AnimationService::AnimationService(const ObjectWeakPointer<Animation>& animation) : _animation(animation) {
    if (_animation != NULL) _lastFrame = _animation->size() - 1;
}

AnimationService::AnimationService(const AnimationService& other)
    : Object(),
      Interface(),
      playing(other.playing),
      _currentFrame(other._currentFrame),
      _firstFrame(other._firstFrame),
      _lastFrame(other._lastFrame),
      _time(other._time),
      _oneFrameTime(other._oneFrameTime),
      _forward(other._forward),
      _loop(other._loop),
      _pingPong(other._pingPong),
      _animation(other._animation) {}

void AnimationService::SetCurrentFrame(int i) {
    _currentFrame = i;
    Assert(_firstFrame <= _currentFrame && _currentFrame <= _lastFrame);
}

void AnimationService::SetFirstFrame(int i) {
    _firstFrame = i;
    Assert(0 <= _firstFrame && _firstFrame < _animation->size());
}

void AnimationService::SetLastFrame(int i) {
    _lastFrame = i;
    Assert(0 <= _lastFrame && _lastFrame < _animation->size());
}

void AnimationService::SetFps(float fps) {
    Assert(fps > 0);
    if (!(fps > 0)) return;
    _oneFrameTime = 1.0f / fps;
    Assert(0 < _oneFrameTime && _oneFrameTime <= 1);
}

void AnimationService::Start(int mode) {
    switch (mode) {
        case MODE_ONCE:
            _pingPong = false;
            _loop = false;
            break;
        case MODE_PINGPONG:
            _pingPong = true;
            _forward = true;
            _loop = false;
            break;
        case MODE_LOOP:
            _pingPong = false;
            _loop = true;
            break;
        case MODE_PINGPONG_LOOP:
            _pingPong = true;
            _forward = true;
            _loop = true;
            break;
        default:
            Assert(false);
            return;
    }
    _currentFrame = _firstFrame;
}

void AnimationService::Update(float dt) {
    // A zero step is an ordinary step; only a negative one is a fault.
    Assert(dt >= 0);
    if (!playing || _firstFrame == _lastFrame) return;
    if (_firstFrame > _lastFrame) Assert(_firstFrame < _lastFrame);
    if (dt > 0) _time += dt;
    Assert(_oneFrameTime > 0);
    if (!(_oneFrameTime > 0)) return;
    while (_time >= _oneFrameTime) {
        if (!playing) break;
        _time -= _oneFrameTime;
        if (_pingPong && _forward) {
            ++_currentFrame;
            Assert(_currentFrame <= _lastFrame);
            if (_currentFrame >= _lastFrame) _forward = false;
        } else if (_pingPong) {
            --_currentFrame;
            Assert(_currentFrame >= _firstFrame);
            if (_currentFrame <= _firstFrame) {
                _forward = true;
                if (!_loop) playing = false;
            }
        } else if (_currentFrame < _lastFrame) {
            ++_currentFrame;
            if (_currentFrame == _lastFrame && !_loop) playing = false;
        } else {
            _currentFrame = _firstFrame;
        }
    }
}

UsingPointer<Texture> AnimationService::GetTexture() {
    if (_animation == NULL) return UsingPointer<Texture>();
    return _animation->GetFrame(_currentFrame);
}
