#include "content/RandomCircleMotion.h"

#include <algorithm>
#include <cmath>

#include "core/Random.h"

namespace {
constexpr float FULL_TURN_DRAW = 6.2831855f;
constexpr float FULL_TURN_WRAP = 6.283185f;
constexpr float LONGEST_STEP = 0.1f;
}  // namespace

RandomCircleMotion::RandomCircleMotion(float minRadius, float maxRadius, float minSpeed_, float maxSpeed_)
    : minSpeed(minSpeed_), maxSpeed(maxSpeed_) {
    angle = RandomFloatRange(0.0f, FULL_TURN_DRAW);
    radius = RandomFloatRange(minRadius, std::max(minRadius, maxRadius));
    UpdateOffsets();
}

void RandomCircleMotion::Update(float dt) {
    const float speed = RandomFloatRange(minSpeed, maxSpeed);
    angle += speed * (dt > LONGEST_STEP ? 0.0f : dt);
    UpdateOffsets();
    if (angle > FULL_TURN_WRAP) angle -= FULL_TURN_WRAP;
}

void RandomCircleMotion::UpdateOffsets() {
    offsetX = -std::sin(angle) * radius;
    offsetY = std::cos(angle) * radius;
}
