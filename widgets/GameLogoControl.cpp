#include "widgets/GameLogoControl.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "core/ContentValues.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

namespace {

constexpr float PI = 3.1415925f;
constexpr int OWN_PAN = -101;
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};

UsingPointer<Texture> OptionalTexture(const ObjectWeakPointer<XmlElement>& xml, const char* name) {
    const std::string id = xml->GetStringAttributeOrDef(name, "");
    if (id.empty()) return UsingPointer<Texture>();
    return ResourceManager::GetTextureOrFrame(id);
}

}  // namespace

GameLogoControl::Bubble::Bubble(int x, int y, const UsingPointer<Texture>& bottom, float radius, int letterX,
                                int letterY, const UsingPointer<Texture>& letter, const UsingPointer<Texture>& up)
    : _center(x, y), _bottom(bottom), _letter(letter), _letterPos(0, 0), _up(up) {
    const RandomCircleMotion sway(radius, radius, PI * 0.16666667f, PI * 0.5f);
    for (auto& column : _vertexSways) {
        for (RandomCircleMotion& vertex : column) vertex = sway;
    }
    const UsingPointer<Texture>& base = _bottom != NULL ? _bottom : _up;
    Assert(base != NULL);
    if (base != NULL) {
        _mesh = ObjectSmartPointer<TextureMesh>(new TextureMesh(base.GetPointer(), 2, 2, 1.0f, 1.0f));
        const Rect rect = base->GetRectangle();
        _halfWidth = rect.width / 2;
        _halfHeight = rect.height / 2;
        _letterPos = Point(_halfWidth, _halfHeight);
    }
    if (_letter != NULL) {
        const Rect rect = _letter->GetRectangle();
        _letterPos = Point(_letterPos.x + letterX - rect.width / 2, _letterPos.y + letterY - rect.height / 2);
    }
    _sway = RandomCircleMotion(radius, radius, PI * 0.16666667f, PI * 0.5f);
}

void GameLogoControl::Bubble::Update(float dt) {
    if (_mesh == NULL) return;
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            RandomCircleMotion& sway = _vertexSways[i][j];
            sway.Update(dt);
            const float k = i == 0 ? -1.0f : 1.0f;
            _mesh->GetVertexOffset(i, j) =
                _mesh->GetVertexPosition(i, j) + FPoint(k * sway.offsetX, k * sway.offsetY);
        }
    }
    _sway.Update(dt);
}

void GameLogoControl::Bubble::Draw(float t) {
    if (_mesh == NULL) return;
    t = std::min(1.0f, std::max(0.0f, t));
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(_center.x), static_cast<float>(_center.y), 0.0f);
    Render::device.MatrixScaleUniform((t + 1.0f) * 0.5f);
    Render::device.PushAlpha(t);
    Render::device.MatrixTranslate(0.0f, 200.0f * (std::cos(t - 1.0f) - 1.0f), 0.0f);
    Render::device.MatrixTranslate(static_cast<float>(-_halfWidth), static_cast<float>(-_halfHeight), 0.0f);
    if (_bottom != NULL) {
        _mesh->SetTexture(_bottom.GetPointer());
        _mesh->Draw();
    }
    if (_letter != NULL) {
        Render::device.PushMatrix();
        Render::device.MatrixTranslate(static_cast<float>(_halfWidth), static_cast<float>(_halfHeight), 0.0f);
        Render::device.MatrixRotate(Z_AXIS, _sway.offsetX);
        Render::device.MatrixTranslate(static_cast<float>(-_halfWidth), static_cast<float>(-_halfHeight), 0.0f);
        _letter->Draw(FPoint(static_cast<float>(_letterPos.x), static_cast<float>(_letterPos.y) + _sway.offsetY));
        Render::device.PopMatrix();
    }
    if (_up != NULL) {
        _mesh->SetTexture(_up.GetPointer());
        _mesh->Draw();
    }
    Render::device.PopAlpha();
    Render::device.PopMatrix();
}

GameLogoControl::GameLogoControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    Sound::soundSystem.PlaySampleEx("marivel_sound", OWN_PAN, false);
    Sound::soundSystem.SetLowVolumeTime(3.0f, 0.4f);
    const ObjectWeakPointer<XmlElement> options = xml->GetFirstChildElement("options");
    Assert(options != NULL);
    float showTime = 0.0f;
    if (options != NULL) {
        _delta = CHECKED_FLOAT(options->GetFloatAttribute("delta"), 0.0f, 100.0f, 0.0f, "0.0f <= _delta && _delta <= 100.0f");
        showTime = CHECKED_FLOAT(options->GetFloatAttribute("showTime"), 0.0f, MAX_CONTENT_SECONDS, 0.001f,
                                 "0.0f <= showTime && showTime <= 3600.0f");
    }
    _showTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(showTime, true, 0.0f, 0.0f, 0.0f));
    for (ObjectWeakPointer<XmlElement> bubble = xml->GetFirstChildElement("bubble"); bubble != nullptr;
         bubble = bubble->GetNextElement()) {
        const UsingPointer<Texture> letter = OptionalTexture(bubble, "letter");
        auto place = [&bubble](const char* name) {
            return CHECKED_INT(bubble->GetIntAttribute(name), -MAX_CONTENT_SIZE, MAX_CONTENT_SIZE,
                               "-100000 <= place && place <= 100000");
        };
        const int letterX = letter != NULL ? place("letterX") : 0;
        const int letterY = letter != NULL ? place("letterY") : 0;
        const UsingPointer<Texture> bottom = OptionalTexture(bubble, "bottom");
        const UsingPointer<Texture> up = OptionalTexture(bubble, "up");
        const float radius = CHECKED_FLOAT(bubble->GetFloatAttribute("radius"), 0.0f, 1000.0f, 0.0f,
                                           "0.0f <= radius && radius <= 1000.0f");
        const Bubble built(place("x"), place("y"), bottom, radius, letterX, letterY, letter, up);
        // A bubble without a base picture has nothing to draw: it is left out.
        if (built._mesh != NULL) _logoBubbles.push_back(built);
    }
    _showState = 0;
}

GameLogoControl::~GameLogoControl() {
    _logoBubbles.clear();
    _showTimer = nullptr;
}

float GameLogoControl::BubbleTime(int bubble, float p) const {
    const float n = static_cast<float>(_logoBubbles.size());
    return (1.0f + n * _delta) * p - static_cast<float>(bubble) * _delta;
}

void GameLogoControl::Update(float dt) {
    for (Bubble& bubble : _logoBubbles) bubble.Update(dt);
    if (_showState == 0 && _showTimer != NULL) {
        _showTimer->Update(dt);
        if (_showTimer->_done) {
            _showState = 1;
            _showTimer = nullptr;
        }
    }
}

void GameLogoControl::Draw() {
    const bool appearing = _showState == 0 && _showTimer != NULL && _showTimer->IsFlaring();
    if (!appearing && _showState != 1) return;
    const Point position = GetAbsolutePos();
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(position.x), static_cast<float>(position.y), 0.0f);
    const float p = appearing ? _showTimer->GetProgress() : 1.0f;
    for (std::size_t i = 0; i < _logoBubbles.size(); ++i) {
        _logoBubbles[i].Draw(appearing ? BubbleTime(static_cast<int>(i), p) : 1.0f);
    }
    Render::device.PopMatrix();
}
