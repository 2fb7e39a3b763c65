#pragma once
// Small drawing steps the match-three effects share: axes, blend modes, alpha limits and drawing
// a picture or a piece's current frame.

#include "content/AnimationService.h"
#include "core/Point.h"
#include "shell/Texture.h"

namespace effect_drawing {

extern const float Z_AXIS[3];
extern const float Y_AXIS[3];
// RenderDevice::SetBlendMode: source alpha onto the destination, added or blended.
constexpr int ADDITIVE_BLEND = 2;
constexpr int NORMAL_BLEND = 0;

// Limited to [0, 1], as the alpha stack takes it.
float Unit(float value);
// The picture with its lower-left corner at (w / -2, h / -2), the halves truncated.
void DrawCentred(const UsingPointer<Texture>& picture);
// The piece's current frame with its lower-left corner at the point, under the alpha.
void DrawFrameAt(AnimationService& picture, const Point& corner, float alpha);

}  // namespace effect_drawing
