// Drawing a fish: its members behind it, fog tinted by height, the picture at its depth scale and
// projected height, mirrored when it swims to the right, tilted by its pitch, the bubble of a
// sold fish, the shadow on the floor line, then its effects and its wish.
#include <algorithm>
#include <cmath>

#include "aquarium/FishControl.h"
#include "aquarium/ZOrderControl.h"
#include "core/Assert.h"
#include "core/Color.h"
#include "core/Math.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

namespace {

const float Y_AXIS[3] = {0.0f, 1.0f, 0.0f};
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};
constexpr float RADIANS_TO_DEGREES = 180.0f / Math::PI;
// Fish near the surface take this fog colour.
const Color SURFACE_FOG(127, 200, 200, 255);
constexpr float SHADOW_FADE_HEIGHT = 130.0f;
constexpr float SOLD_BUBBLE_SCALE = 1.1f;

float Clamp01(float v) { return std::min(std::max(v, 0.0f), 1.0f); }

void Mirror() { Render::device.MatrixRotate(Y_AXIS, 180.0f); }

void Tilt(float radians) { Render::device.MatrixRotate(Z_AXIS, radians * RADIANS_TO_DEGREES); }

// The picture with its bottom centre on the origin.
void DrawPicture(const UsingPointer<Texture>& picture) {
    if (picture == NULL) return;
    picture->Draw(FPoint(-static_cast<float>(picture->GetRectangle().width) / 2.0f, 0.0f));
}

}  // namespace

float FishControl::GetDrawZ() {
    float z = GetZ();
    if (Is(TURN) && _turnDuration > 0.0f) {
        z += static_cast<float>(_pos.depth - _currentDest.depth) * (1.0f - _turnTime / _turnDuration) * 0.005f;
    }
    return z;
}

FPoint FishControl::HeadPoint(float y) {
    return HeadPointAt(_pos.x, y, static_cast<float>(Math::sign(_currentDest.x - _pos.x)));
}

FPoint FishControl::HeadPointAt(float x, float y, float k) {
    const float s = (GetZ() + 1.0f) / 2.0f;
    const float inner = _frame != NULL ? static_cast<float>(_frame->GetInnerRectangle().width) : 0.0f;
    const float h = GetHeight();
    return FPoint(x, y) + FPoint(k * inner * s / 2.0f, h * s * 0.75f).Rotate(-k * _pitch);
}

void FishControl::Draw() {
    if (_tank == NULL) return;
    for (const ObjectSmartPointer<FishControl>& member : _members) member->Draw();
    RenderDevice& device = Render::device;
    const float z = GetDrawZ();
    const float f = (1.0f - z) * (1.0f - z);
    if (!(0.0f <= f && f <= 1.0f)) ReportFailure("Assertion failed", "0.f <= f && f <= 1.f", __FILE__, __LINE__);
    const float d = 0.8f * f;
    const float minY = _tank->GetMinY(true);
    const float maxY = _tank->GetMaxY();

    device.EnableFog(true);
    const Color fog = device.GetFogColor();
    // Above maxY (a start may lie there) the fish keeps the surface colour.
    const float height = maxY != minY ? Clamp01((_pos.y - minY) / (maxY - minY)) : 0.0f;
    device.SetFogColor(math::lerp(fog, SURFACE_FOG, height));

    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), d * 1999.8f - 999.9f);
    device.PushMatrix();
    float y = _pos.y;
    if (Is(SOLD)) {
        // The sold fish rises out of the tank in its bubble.
        const float p = _soldTimer->GetProgress();
        const float bubble = _bubbleBlue != NULL ? static_cast<float>(_bubbleBlue->GetRectangle().height) : 0.0f;
        y += (600.0f + bubble / 2.0f - y) * p * p;
    }
    device.PushMatrix();
    float K = -1.0f;
    float u = 0.0f;
    DrawFish(y, z, K, u);
    if (Is(SOLD)) DrawSoldBubble(K);
    device.PopMatrix();
    device.PopMatrix();
    device.PushMatrix();
    DrawShadow(z, K, u);
    device.PopMatrix();
    if (Is(STUDY) && _love) {
        _love->x = _headAnchor._x;
        _love->y = _headAnchor._y;
    }
    device.PopMatrix();

    // The effects lie in the tank's coordinates, a little nearer than the fish.
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), d * 999.8f - 999.9f);
    _loveOwner.DrawAll();
    device.PushMatrix();
    device.MatrixTranslate(_headAnchor._x, _headAnchor._y, 0.0f);
    _heartsOwner.DrawAll();
    device.PopMatrix();
    if (_wishes != NULL) {
        _wishes->SetAnchor(_headAnchor);
        _wishes->Draw((GetZ() + 1.0f) / 2.0f, _sideValue);
    }
    device.SetFogColor(fog);
    device.EnableFog(false);
    _bubbleTrailOwner.DrawAll();
    device.PopMatrix();
}

void FishControl::DrawFish(float y, float z, float& K, float& u) {
    RenderDevice& device = Render::device;
    const float s = (GetZ() + 1.0f) / 2.0f;
    const float h = GetHeight();
    if (Is(ENTER)) {
        const float Y = Project(_entryY, GetZ());
        const float side = _currentDest.x - _entryX > 0.0f ? 1.0f : -1.0f;
        // Hearts and wishes follow an entering fish from its first frame on, its delay included.
        _headAnchor = HeadPointAt(_entryX, Y, side);
        _turnAnchor = _headAnchor;
        _sideValue = side > 0.0f ? 1.0f : 0.0f;
        if (!_entryTimer->IsFlaring() && !_entryTimer->_done) return;
        device.MatrixTranslate(_entryX, Y, 0.0f);
        device.MatrixScale(s, s, 0.0f);
        if (side > 0.0f) Mirror();
        if (_bubbleTrail) {
            _bubbleTrail->x = _entryX + side * h / 2.0f * std::sin(_pitch);
            _bubbleTrail->y = Y + h / 2.0f * std::cos(_pitch);
        }
        Tilt(_pitch);
        DrawPicture(_frame);
    } else if (Is(SWIM) || Is(STUDY)) {
        const float Y = Project(y, GetZ());
        device.MatrixTranslate(_pos.x, Y, 0.0f);
        device.MatrixScale(s, s, 0.0f);
        if (_currentDest.x - _pos.x > 0.0f) Mirror();
        Tilt(_pitch);
        DrawPicture(_frame);
        _headAnchor = HeadPoint(Y);
        _turnAnchor = _headAnchor;
        _sideValue = Math::sign(_currentDest.x - _pos.x) == 1 ? 1.0f : 0.0f;
    } else if (Is(TURN)) {
        const float turnScale = (z + 1.0f) / 2.0f;
        const float Y = Project(y, z);
        device.MatrixTranslate(_pos.x, Y, 0.0f);
        device.MatrixScale(turnScale, turnScale, 0.0f);
        if (_currentDest.x < _oldDest.x) {
            Mirror();
            K = 1.0f;
        }
        u = _turnDuration > 0.0f ? _turnTime / _turnDuration : 1.0f;
        device.MatrixTranslate(-std::sin(Math::PI * u) * TURN_SHIFT, 0.0f, 0.0f);
        Tilt(_pitch * (1.0f - 2.0f * u));
        DrawPicture(_frame);
        const FPoint head = HeadPoint(Y);
        _headAnchor = FPoint(_turnAnchor._x + (head._x - _turnAnchor._x) * u +
                                 0.75f * K * TURN_SHIFT * std::sin(Math::PI * u),
                             _turnAnchor._y + (head._y - _turnAnchor._y) * u);
        const float g = u < 0.2f ? 5.0f * u : 1.0f;
        _sideValue = _turnAnchor._x <= head._x ? g : 1.0f - g;
    }
}

void FishControl::DrawSoldBubble(float K) {
    if (_bubbleBlue == NULL) return;
    RenderDevice& device = Render::device;
    const Rect bubble = _bubbleBlue->GetRectangle();
    device.SetBlendMode(2);
    device.MatrixTranslate(0.0f, GetHeight() / 2.0f, 0.0f);
    if (bubble.width > 0) device.MatrixScaleUniform(GetWidth() / static_cast<float>(bubble.width) * SOLD_BUBBLE_SCALE);
    device.PushAlpha(std::min(10.0f * _soldTimer->GetProgress(), 1.0f));
    if ((_currentDest.x - _pos.x > 0.0f && Is(SWIM)) || (K > 0.0f && Is(TURN))) Mirror();
    _bubbleBlue->Draw(FPoint(-static_cast<float>(bubble.width) / 2.0f, -static_cast<float>(bubble.height) / 2.0f));
    device.PopAlpha();
    device.SetBlendMode(0);
}

void FishControl::DrawShadow(float z, float K, float u) {
    RenderDevice& device = Render::device;
    const float minY = _tank->GetMinY(true);
    const float s = (z + 1.0f) / 2.0f;
    device.MatrixTranslate(_pos.x, minY + (1.0f - z) * 200.0f, 0.0f);
    device.MatrixScale(s, s, 0.0f);
    device.PushAlpha(1.0f - Clamp01((_pos.y - minY) / SHADOW_FADE_HEIGHT));
    if (Is(TURN)) device.MatrixTranslate(K * std::sin(Math::PI * u) * TURN_SHIFT, 0.0f, 0.0f);
    if (_tank->IsShowShadow()) DrawPicture(_shadow);
    device.PopAlpha();
}
