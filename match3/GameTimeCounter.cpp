#include "match3/GameTimeCounter.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Rect.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

GameTimeCounter::GameTimeCounter(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    if (xml.Get() == nullptr) return;
    _hideProcess = xml->GetFloatAttributeOrDef("hideProcess", _hideProcess);
    const std::string id = xml->GetStringAttributeOrDef("textureId", "");
    if (!id.empty()) _bar = ResourceManager::GetTextureOrFrame(id);
}

void GameTimeCounter::SetProgress(float p) {
    Assert(0.f <= p && p <= 1.f);
    _progress = p;
}

void GameTimeCounter::Update(float dt) {
    if (!shining || shinePeriod <= 0.0f) return;
    shineTime += dt;
    while (shineTime >= shinePeriod) {
        shineTime -= shinePeriod;
        Sound::soundSystem.PlaySampleEx("time_shine", -101, false);
    }
}

void GameTimeCounter::Draw() {
    if (_bar == NULL) return;
    const Point pos = GetAbsolutePos();
    const Rect box = _bar->GetRectangle();
    const int width = box.width;
    const int height = box.height;
    const float hide = std::min(_hideProcess, 0.999f);
    const float d = std::max(0.0f, _progress - hide);
    const int visible = static_cast<int>(static_cast<float>(height - 7) * d / (1.0f - hide)) + 7;
    if (_progress <= 0.0f || visible <= 0) return;
    RenderDevice& device = Render::device;
    device.PushClipRect(Rect(pos.x, pos.y, width, std::min(visible, height)), CLIP_ALL);
    device.PushAlpha(hide > 0.0f ? std::min(_progress / hide, 1.0f) : 1.0f);
    if (shining) device.PushAlpha(0.75f + 0.25f * std::sin(6.2831853f * shineTime / std::max(shinePeriod, 0.001f)));
    _bar->Draw(pos);
    if (shining) device.PopAlpha();
    device.PopAlpha();
    device.PopClipRect();
}
