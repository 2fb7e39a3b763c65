#include "aquarium/FishWishes.h"

#include <algorithm>

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Math.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

namespace {

const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};

constexpr float CLOUD_DELAYS[3] = {0.0f, 0.15f, 0.25f};
constexpr float VANISH_DELAYS[4] = {0.0f, 0.1f, 0.2f, 0.2f};
// Offsets of clouds 1 to 3 facing left and facing right; the icon sits in cloud 3.
const FPoint OFFSETS_LEFT[3] = {FPoint(0.0f, 0.0f), FPoint(-11.0f, 6.0f), FPoint(-40.0f, 42.0f)};
const FPoint OFFSETS_RIGHT[3] = {FPoint(0.0f, 0.0f), FPoint(6.0f, 11.0f), FPoint(-10.0f, 55.0f)};

struct KindTextures {
    const char* kind;
    const char* textures[3];
};
const KindTextures KIND_TEXTURES[] = {
    {"Comfort", {"cloud_purple_2", "cloud_purple_1", "cloud_purple"}},
    {"Fish", {"cloud_red_2", "cloud_red_1", "cloud_red"}},
    {"WaterPlant", {"cloud_green_2", "cloud_green_1", "cloud_green"}},
};

constexpr float SWAY_RADIUS = 2.5f;
constexpr float SWAY_MIN_SPEED = Math::PI / 6.0f;
constexpr float SWAY_MAX_SPEED = Math::PI / 2.0f;
constexpr float LONGEST_STEP = 0.1f;

}  // namespace

FishWishes::Cloud::Cloud(const UsingPointer<Texture>& texture_, const FPoint& left, const FPoint& right, float delay)
    : offsetLeft(left), offsetRight(right), texture(texture_) {
    timer = ObjectSmartPointer<FlarePosition>(new FlarePosition(flareLife, true, 0.0f, 0.0f, delay));
    for (const float key : {0.5f, 1.0f, 1.0f}) scale.addKey(key);
    scale.CalculateGradient(false);
    sway = RandomCircleMotion(SWAY_RADIUS, 0.0f, SWAY_MIN_SPEED, SWAY_MAX_SPEED);
}

void FishWishes::Cloud::Vanish(float delay) {
    timer = ObjectSmartPointer<FlarePosition>(new FlarePosition(flareLife, true, 0.0f, 0.0f, delay));
    isVanishing = true;
}

void FishWishes::Cloud::Draw(float v) {
    const bool isWaiting = !timer->IsFlaring() && !timer->_done;
    if (!isVanishing && isWaiting) return;
    const float p = timer->GetProgress();
    const FPoint at = offsetLeft + v * (offsetRight - offsetLeft);
    RenderDevice& device = Render::device;
    device.PushMatrix();
    if (!isVanishing || isWaiting) {
        device.PushAlpha(p);
        const float k = scale.getGlobalFrame(p);
        device.MatrixScale(k, k, 0.0f);
        device.MatrixTranslate(at._x, at._y, 0.0f);
    } else if (timer->IsFlaring()) {
        device.PushAlpha((1.0f - p) * (1.0f - p));
        device.MatrixTranslate(at._x, at._y, 0.0f);
        device.MatrixScale(1.0f + 0.1f * p * p, 1.0f + 0.3f * p * p, 0.0f);
    } else {
        // Gone; the next update removes it.
        device.PopMatrix();
        return;
    }
    device.MatrixRotate(Z_AXIS, 3.0f * sway.offsetX);
    if (texture != NULL) {
        const Rect r = texture->GetRectangle();
        texture->Draw(FPoint(sway.offsetX - static_cast<float>(r.width) / 2.0f,
                             sway.offsetY - static_cast<float>(r.height) / 2.0f));
    }
    device.PopAlpha();
    device.PopMatrix();
}

FishWishes::FishWishes(const UsingPointer<Texture>& icon, const std::string& kind, float time) : _timeLeft(time) {
    const KindTextures* textures = nullptr;
    for (const KindTextures& k : KIND_TEXTURES) {
        if (kind == k.kind) textures = &k;
    }
    if (textures == nullptr) {
        ReportFailure("Assertion failed", "false", __FILE__, __LINE__);
    } else {
        for (int i = 0; i < 3; ++i) {
            _clouds.emplace_back(ResourceManager::GetTextureOrFrame(textures->textures[i]), OFFSETS_LEFT[i],
                                 OFFSETS_RIGHT[i], CLOUD_DELAYS[i]);
        }
    }
    _clouds.emplace_back(icon, OFFSETS_LEFT[2], OFFSETS_RIGHT[2], CLOUD_DELAYS[2]);
}

void FishWishes::Update(float dt) {
    dt = std::min(dt, LONGEST_STEP);
    _timeLeft -= dt;
    if (_timeLeft < 0.0f && !_isVanishing) {
        // Only the clouds there are: a bubble of an unknown kind holds the icon alone.
        for (std::size_t i = 0; i < _clouds.size() && i < 4; ++i) _clouds[i].Vanish(VANISH_DELAYS[i]);
        _isVanishing = true;
    }
    for (Cloud& cloud : _clouds) {
        cloud.timer->Update(dt);
        cloud.sway.Update(dt);
    }
    _clouds.erase(std::remove_if(_clouds.begin(), _clouds.end(),
                                 [](const Cloud& c) { return c.isVanishing && c.timer->_done; }),
                  _clouds.end());
}

void FishWishes::Draw(float scale, float fromLeft) {
    if (!(0.0f <= fromLeft && fromLeft <= 1.0f)) {
        ReportFailure("Assertion failed", "0.0f <= fromLeft && fromLeft <= 1.0f", __FILE__, __LINE__);
    }
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(_anchor._x, _anchor._y, 0.0f);
    device.MatrixScale(scale, scale, scale);
    for (std::size_t i = 0; i < _clouds.size(); ++i) {
        // The icon moves with the largest cloud.
        if (i + 1 == _clouds.size() && i > 0) _clouds[i].sway = _clouds[i - 1].sway;
        _clouds[i].Draw(fromLeft);
    }
    device.PopMatrix();
}
