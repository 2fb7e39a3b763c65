#include "widgets/DirectArrow.h"

#include <cmath>

#include "content/ResourceManager.h"
#include "core/ContentValues.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

namespace {
constexpr float PI = 3.1415925f;
constexpr float PULSE_LIFE = 1.0f;
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};
}  // namespace

DirectArrow::DirectArrow(const ObjectWeakPointer<XmlElement>& xml) {
    _arrow = ResourceManager::GetTextureOrFrame("direct_arrow");
    _shadow = ResourceManager::GetTextureOrFrame("direct_arrow_shadow");
    if (xml == NULL) return;
    _x = CHECKED_INT(xml->GetIntAttribute("x"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE, "-100000 <= _x && _x <= 100000");
    _y = CHECKED_INT(xml->GetIntAttribute("y"), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE, "-100000 <= _y && _y <= 100000");
    _angle = CHECKED_FLOAT(xml->GetFloatAttribute("angle"), -3600.0f, 3600.0f, 0.0f,
                           "-3600.0f <= _angle && _angle <= 3600.0f");
}

DirectArrow::~DirectArrow() = default;

void DirectArrow::Update(float dt) {
    _pulse += dt / PULSE_LIFE;
    if (_pulse >= 1.0f || _pulse < 0.0f) _pulse -= std::floor(_pulse);
}

void DirectArrow::DrawPicture(const UsingPointer<Texture>& picture, float b, float s) {
    Render::device.MatrixRotate(Z_AXIS, _angle);
    Render::device.MatrixScale(s, 2.0f - s, 1.0f);
    if (picture == NULL) return;
    const float h = static_cast<float>(picture->GetRectangle().height);
    picture->Draw(FPoint(-h - _distance * (1.0f + b) / 2.0f, -h / 2.0f));
}

void DirectArrow::Draw() {
    const float b = std::sin(PI * _pulse);
    const float s = 0.9f + 0.2f * b;
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(_x), static_cast<float>(_y), 0.0f);
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(5.0f, -5.0f, 0.0f);
    DrawPicture(_shadow, b, s);
    Render::device.PopMatrix();
    DrawPicture(_arrow, b, s);
    Render::device.PopMatrix();
}
