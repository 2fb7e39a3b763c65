#include <algorithm>
#include <cmath>
#include <limits>

#include "aquarium/ComfortEquipment.h"
#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

namespace {

const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};
constexpr float DEGREES = comfort::PI / 180.0f;

bool FitsAnInt(float value) {
    return std::isfinite(value) && std::fabs(value) < static_cast<float>(std::numeric_limits<int>::max() / 2);
}

}  // namespace

SunlightControl::SunlightControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : BaseComfortControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> rays = xml->GetFirstChildElement("rays");
    _minAngle = rays->GetFloatAttribute("minAngle");
    _maxAngle = rays->GetFloatAttribute("maxAngle");
    _minX = rays->GetFloatAttribute("minX");
    _maxX = rays->GetFloatAttribute("maxX");
    _minY = rays->GetFloatAttribute("minY");
    const ObjectWeakPointer<XmlElement> usual = rays->GetFirstChildElement("usual");
    _usualMaxCount = usual->GetIntAttribute("maxCount");
    _usualMaxY = usual->GetFloatAttribute("maxY");
    const ObjectWeakPointer<XmlElement> upgraded = rays->GetFirstChildElement("upgraded");
    _upgradedMaxCount = upgraded->GetIntAttribute("maxCount");
    _upgradedMaxY = upgraded->GetFloatAttribute("maxY");
    _ray = ResourceManager::GetTextureOrFrame("ray");
    _hole = ResourceManager::GetTextureOrFrame("hole");
    const float a = std::tan((_maxAngle + 90.0f) * DEGREES);
    const float b = std::tan((90.0f - _minAngle) * DEGREES);
    CheckLimits(a, b);
    AfterPlayerChange();
}

SunlightControl::~SunlightControl() { AllowDestructor(); }

void SunlightControl::CheckLimits(float a, float b) {
    // The apex needs a + b, the brightness the band up to the upgraded top, and every ray's
    // angle a top that is not at the apex height.
    _isValid = false;
    if (!(std::isfinite(a + b) && a + b != 0.0f)) {
        ReportError("SunlightControl " + _name + ": minAngle and maxAngle give no apex; no rays");
        return;
    }
    const float x0 = -(_minX + _maxX) / (a + b);
    if (!FitsAnInt(x0)) {
        ReportError("SunlightControl " + _name + ": the apex lies too far away; no rays");
        return;
    }
    _x0 = static_cast<int>(x0);
    const float y0 = 600.0f - static_cast<float>(_x0 - _minX) * b;
    if (!FitsAnInt(y0)) {
        ReportError("SunlightControl " + _name + ": the apex lies too far away; no rays");
        return;
    }
    _y0 = static_cast<int>(y0);
    if (!(_upgradedMaxY > _minY)) {
        ReportError("SunlightControl " + _name + ": the upgraded maxY must lie above minY; no rays");
        return;
    }
    const float low = std::min({_minY, _usualMaxY, _upgradedMaxY});
    const float high = std::max({_minY, _usualMaxY, _upgradedMaxY});
    const float apexY = static_cast<float>(_y0);
    if (low <= apexY && apexY <= high) {
        ReportError("SunlightControl " + _name + ": the rays reach the apex height; no rays");
        return;
    }
    _isValid = true;
}

void SunlightControl::AddRay() {
    if (!_isValid || static_cast<int>(_rays.size()) >= _currentMaxCount) return;
    _rays.emplace_back();
    Ray& ray = _rays.back();
    const int n = 3 + Random::Next() % (_keyCountBase - 3);
    ray.life = (RandomFloatRange(-0.5f, 0.5f) * _lifeSpread + _lifeBase) / static_cast<float>(_keyCountBase) *
               static_cast<float>(n);
    ray.time = 0.0f;
    ray.topY = RandomFloatRange(_minY, _currentMaxY);
    for (int k = 1; k <= n; ++k) {
        ray.x.addKey(RandomFloatRange(_minX, _maxX));
        ray.alpha.addKey(k == 1 || k == n ? 0.0f : _peakAlpha);
        ray.scale.addKey(1.2f + RandomFloat(0.8f));
    }
    ray.x.CalculateGradient(false);
    ray.scale.CalculateGradient(false);
    ray.alpha.CalculateGradient(false);
    ray.normal = !(_upgrade != 0 && Random::Next() % 2 == 0);
    if (comfort::IsFlaring(_flare) && (_upgrade == 0 || !ray.normal)) {
        comfort::StartEffectAt(ray.effects, "BuySunlight", FPoint(0.0f, -20.0f));
    }
}

void SunlightControl::Buy() {
    BaseComfortControl::Buy();
    AddRay();
    _currentMaxCount = _usualMaxCount;
    _currentMaxY = _usualMaxY;
    _flare = comfort::MakeFlare(2.0f);
}

void SunlightControl::Upgrade() {
    BaseComfortControl::Upgrade();
    _currentMaxCount = _upgradedMaxCount;
    _currentMaxY = _upgradedMaxY;
    _flare = comfort::MakeFlare(2.0f);
}

void SunlightControl::AfterPlayerChange() {
    BaseComfortControl::AfterPlayerChange();
    if (!_isBought) return;
    _currentMaxCount = _upgrade != 0 ? _upgradedMaxCount : _usualMaxCount;
    _currentMaxY = _upgrade != 0 ? _upgradedMaxY : _usualMaxY;
    AddRay();
    _flare = nullptr;
}

void SunlightControl::Update(float dt) {
    if (!_isBought) return;
    comfort::Advance(_flare, dt);
    for (auto it = _rays.begin(); it != _rays.end();) {
        it->time += dt;
        if (it->time > it->life) {
            it = _rays.erase(it);
        } else {
            ++it;
        }
    }
    AddRay();
}

void SunlightControl::DrawRay(Ray& ray) {
    RenderDevice& device = Render::device;
    const float p = ray.time / ray.life;
    const float x = ray.x.getGlobalFrame(p / 30.0f);
    const float angle = std::atan((x - static_cast<float>(_x0)) / (ray.topY - static_cast<float>(_y0))) / DEGREES;
    device.PushMatrix();
    if (!ray.normal) {
        device.MatrixTranslate(800.0f, 0.0f, 0.0f);
        device.MatrixScale(-1.0f, 1.0f, 1.0f);
    }
    device.SetBlendMode(2);
    const float k = std::min((ray.topY - _minY + 10.0f) / (_upgradedMaxY - _minY), 1.0f);
    device.PushAlpha(ray.alpha.getGlobalFrame(p) * k);
    device.MatrixTranslate(x, ray.topY, 0.0f);
    device.MatrixScaleUniform(ray.scale.getGlobalFrame(p));
    const Rect raySize = comfort::Size(_ray);
    // The sine is taken of the angle in degrees, as the rays have always been drawn.
    device.MatrixTranslate(0.0f, 0.2f * std::fabs(std::sin(angle) * static_cast<float>(raySize.width)), 0.0f);
    device.MatrixRotate(Z_AXIS, 180.0f);
    comfort::DrawAt(_hole, Point(comfort::Size(_hole).width / -2, 0));
    device.MatrixRotate(Z_AXIS, -angle);
    comfort::DrawAt(_ray, Point(raySize.width / -2, 0));
    ray.effects.DrawAll();
    device.PopAlpha();
    device.SetBlendMode(0);
    device.PopMatrix();
}

void SunlightControl::Draw() {
    if (!_isBought || !_isValid) return;
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    for (Ray& ray : _rays) DrawRay(ray);
    device.PopMatrix();
}
