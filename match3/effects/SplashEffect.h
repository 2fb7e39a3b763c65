#pragma once
// The lightning bolt: a glowing strip with bright dots at its ends that runs along the struck
// pieces once around their centre and trails at most 1000 units behind its head. The looping
// sample "lighting_run" plays from its making until it is destroyed.

#include <vector>

#include "content/EffectBase.h"
#include "core/FPoint.h"
#include "match3/board/BoardTypes.h"
#include "shell/Texture.h"

class SplashEffect : public EffectBase {
public:
    static constexpr float TAIL_LENGTH = 1000.0f;
    static constexpr float FLICKER_PERIOD = 0.04f;

    // Orders the points into the path itself (one draw decides the direction): speed is seconds
    // per 1000 units of path; points (not empty) come back in running order, times with one
    // arrival time per point and then the total time.
    SplashEffect(float speed, std::vector<FPoint>& points, std::vector<float>& times);
    // The path the board rules ordered, in running order, with its arrival times and the total
    // time last (one more than the points).
    SplashEffect(const std::vector<BoardFPoint>& path, const std::vector<float>& times);
    ~SplashEffect() override;

    void Draw() override;
    void Update(float dt) override;
    bool IsFinished() override;

    float _tailLength = TAIL_LENGTH;
    float _flickerPeriod = FLICKER_PERIOD;
    float _flickerLeft = FLICKER_PERIOD;
    UsingPointer<Texture> _strip;
    UsingPointer<Texture> _dot;
    std::vector<FPoint> _path;
    // The texture offset along the strip, re-rolled at every flicker.
    float _phase = 0.0f;
    float _totalTime = 0.0f;
    float _timeLeft = 0.0f;
    // How far the head has run from the path's start.
    float _head = 0.0f;
    float _pathLength = 0.0f;

private:
    void Start(const std::vector<BoardFPoint>& path, float totalTime);
    // Segment from path point i to i + 1, a its distance from the start, shown from w to e.
    void DrawSegment(std::size_t i, float a, float length, float w, float e);
};
