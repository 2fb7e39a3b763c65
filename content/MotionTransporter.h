#pragma once
// A piece's move: along a line, a fall, a diagonal fall, a hop, an eased path, or standing still.

#include "content/Spline.h"
#include "core/Object.h"

// Set by the game field from its constants; every falling Transporter reads them.
extern float GRAVITY;
extern float PIECE_SPEED;

class Transporter : public Interface {
public:
    enum Mode { LINEAR = 0, FALLING = 1, HOP = 2, DIAGONAL_FALLING = 3, STILL = 4, EASED = 5 };

    Transporter(float x0, float y0, float x1, float y1, float scaleFrom, float scaleTo, float duration, int mode,
                float vx, float vy, float spin);

    // Once finished, position, scale and angle keep the values of the previous update.
    void Update(float dt);
    bool IsFinished() const;

    float xs[2] = {0.0f, 0.0f};
    float ys[2] = {0.0f, 0.0f};
    float x = 0.0f;
    float y = 0.0f;
    float vx = 0.0f;
    float vy = 0.0f;
    int mode = LINEAR;
    float duration = 0.0f;
    float time = 0.0f;
    float angle = 0.0f;
    float spin = 0.0f;
    float scales[2] = {1.0f, 1.0f};
    float scale = 1.0f;
    SplinePath<float> hop;
};
