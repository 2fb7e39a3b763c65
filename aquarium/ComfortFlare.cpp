#include "aquarium/ComfortFlare.h"

#include "content/ResourceManager.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

namespace comfort {

std::shared_ptr<FlarePosition> MakeFlare(float life) {
    if (!(life > 0.0f)) return nullptr;
    return std::make_shared<FlarePosition>(life, true, 0.0f, 0.0f, 0.0f);
}

bool IsFlaring(const std::shared_ptr<FlarePosition>& flare) {
    return flare != nullptr && flare->IsFlaring() && !flare->_done;
}

void Advance(const std::shared_ptr<FlarePosition>& flare, float dt) {
    if (flare != nullptr && dt > 0.0f) flare->Update(dt);
}

void AppearanceFlare::Update(float dt) {
    Advance(_buy, dt);
    Advance(_upgrade, dt);
}

namespace {

void Glow(float p, const std::function<void()>& set) {
    RenderDevice& device = Render::device;
    device.SetBlendMode(2);
    device.PushAlpha(4.0f * p * (1.0f - p));
    set();
    device.PopAlpha();
    device.SetBlendMode(0);
}

void DrawWithAlpha(float alpha, const std::function<void()>& set) {
    Render::device.PushAlpha(alpha);
    set();
    Render::device.PopAlpha();
}

}  // namespace

void AppearanceFlare::Draw(bool isUpgraded, const std::function<void()>& usual,
                           const std::function<void()>& upgraded) const {
    if (IsFlaring(_buy)) {
        const float p = _buy->GetProgress();
        DrawWithAlpha(p < 0.5f ? 2.0f * p : 1.0f, usual);
        Glow(p, usual);
    } else if (IsFlaring(_upgrade)) {
        const float p = _upgrade->GetProgress();
        if (p < 0.5f) {
            DrawWithAlpha(1.0f - 2.0f * p, usual);
            DrawWithAlpha(2.0f * p, upgraded);
        } else {
            upgraded();
        }
        Glow(p, upgraded);
    } else if (isUpgraded) {
        upgraded();
    } else {
        usual();
    }
}

Rect Size(const UsingPointer<Texture>& texture) { return texture != NULL ? texture->GetRectangle() : Rect(); }

UsingPointer<Texture> ReadTexture(const ObjectWeakPointer<XmlElement>& xml, const std::string& attribute) {
    return ResourceManager::GetTextureOrFrame(xml->GetStringAttribute(attribute));
}

Point ReadPoint(const ObjectWeakPointer<XmlElement>& xml, const std::string& x, const std::string& y) {
    return Point(xml->GetIntAttribute(x), xml->GetIntAttribute(y));
}

void DrawAt(const UsingPointer<Texture>& texture, const Point& at) {
    if (texture != NULL) texture->Draw(at);
}

EffectHandle StartEffectAt(EffectOwner& owner, const std::string& name, const FPoint& at) {
    EffectHandle effect = owner.StartEffect(name);
    if (effect) {
        effect->x = at._x;
        effect->y = at._y;
        effect->Reset();
    }
    return effect;
}

void PreRun(const EffectHandle& effect) {
    ParticleEffect* running = effect.Get();
    if (running == nullptr) return;
    for (float t = 0.0f; t < 2.0f; t += 0.1f) running->Update(0.1f);
}

void FinishNow(EffectOwner& owner) {
    owner.FinishAll();
    Core::GetEffectObserver().Update(0.0f);
}

}  // namespace comfort
