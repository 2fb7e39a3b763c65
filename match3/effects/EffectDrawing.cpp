#include "match3/effects/EffectDrawing.h"

#include <algorithm>

#include "shell/RenderDevice.h"

namespace effect_drawing {

const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};
const float Y_AXIS[3] = {0.0f, 1.0f, 0.0f};

float Unit(float value) { return std::min(1.0f, std::max(0.0f, value)); }

void DrawCentred(const UsingPointer<Texture>& picture) {
    if (picture == NULL) return;
    const Rect r = picture->GetRectangle();
    picture->Draw(Point(r.width / -2, r.height / -2));
}

void DrawFrameAt(AnimationService& picture, const Point& corner, float alpha) {
    UsingPointer<Texture> frame = picture.GetTexture();
    if (frame == NULL) return;
    Render::device.PushAlpha(Unit(alpha));
    frame->Draw(corner);
    Render::device.PopAlpha();
}

}  // namespace effect_drawing
