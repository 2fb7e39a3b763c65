#pragma once
// A sway offset that circles at a randomly varying speed: swaying plants, decorations and other
// moving pictures add it to their place.

struct RandomCircleMotion {
    float radius = 0.0f;
    // Radians, kept in [0, 2 pi] up to one step.
    float angle = 0.0f;
    // Radians per second.
    float minSpeed = 0.0f;
    float maxSpeed = 0.0f;
    // (-sin(angle) * radius, cos(angle) * radius).
    float offsetX = 0.0f;
    float offsetY = 0.0f;

    RandomCircleMotion() = default;
    // A random angle and a random radius in [minRadius, max(minRadius, maxRadius)).
    RandomCircleMotion(float minRadius, float maxRadius, float minSpeed_, float maxSpeed_);

    // Turns by a speed drawn anew at every call; a step above 0.1 s does not turn (a long frame).
    void Update(float dt);

private:
    void UpdateOffsets();
};
