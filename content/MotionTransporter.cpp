#include "content/MotionTransporter.h"

#include <cmath>

#include "core/Math.h"

float GRAVITY = 1200.0f;
float PIECE_SPEED = 250.0f;

Transporter::Transporter(float x0, float y0, float x1, float y1, float scaleFrom, float scaleTo, float duration_,
                         int mode_, float vx_, float vy_, float spin_)
    : x(x0), y(y0), vx(vx_), vy(vy_), mode(mode_), duration(duration_), spin(spin_), scale(scaleFrom) {
    xs[0] = x0;
    xs[1] = x1;
    ys[0] = y0;
    ys[1] = y1;
    scales[0] = scaleFrom;
    scales[1] = scaleTo;
    if (mode == DIAGONAL_FALLING) vx = x0 > x1 ? -1.0f : 1.0f;
    if (mode == HOP) {
        hop.addKey(0.0f);
        hop.addKey(y1);
        hop.CalculateGradient(true);
    }
}

bool Transporter::IsFinished() const {
    if (mode == FALLING || mode == DIAGONAL_FALLING) return y == ys[1];
    return time >= duration;
}

void Transporter::Update(float dt) {
    time += dt;
    if (IsFinished()) return;
    // A zero duration has finished above unless the piece falls.
    const float k = duration != 0.0f ? time / duration : 1.0f;
    switch (mode) {
        case LINEAR:
            x = xs[0] + (xs[1] - xs[0]) * k;
            y = ys[0] + (ys[1] - ys[0]) * k;
            break;
        case EASED: {
            const float e = (std::cos(Math::PI * (k + 1.0f)) + 1.0f) / 2.0f;
            x = xs[0] + (xs[1] - xs[0]) * e;
            y = ys[0] + (ys[1] - ys[0]) * e;
            break;
        }
        case FALLING:
            vy += GRAVITY * dt;
            x += vx * dt;
            y -= vy * dt;
            if (y < ys[1]) y = ys[1];
            break;
        case DIAGONAL_FALLING: {
            const float s = std::sqrt(2.0f);
            vy += GRAVITY / s * dt;
            x += vx / s * vy * dt;
            y -= vy / s * dt;
            if (y < ys[1]) y = ys[1];
            break;
        }
        case HOP: y = ys[0] + hop.getGlobalFrame(k); break;
        default: break;
    }
    scale = time < duration ? scales[0] + (scales[1] - scales[0]) * k : 1.0f;
    angle += spin * dt;
}
