#include "match3/GameTimeCounter.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Rect.h"
#include "core/XmlElement.h"
#include "match3/effects/EffectDrawing.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

namespace {

constexpr float TWO_PI = 6.2831853f;
// The bar keeps this many units at and below the hide threshold.
constexpr int BAR_REST = 7;
// The glow's upper rows follow the marker this far below it, while that stays above MESH_LOWEST.
constexpr int MESH_BELOW_MARKER = 29;
constexpr int MESH_LOWEST = -21;
constexpr float MESH_OFFSET_X = -8.0f;
constexpr float MESH_OFFSET_Y = -10.0f;

std::uint8_t Between(std::uint8_t a, std::uint8_t b, float f) {
    return static_cast<std::uint8_t>(std::lround(static_cast<float>(a) + (static_cast<float>(b) - a) * f));
}

Color Lerp(const Color& a, const Color& b, float f) {
    return Color(Between(a.red, b.red, f), Between(a.green, b.green, f), Between(a.blue, b.blue, f),
                 Between(a.alpha, b.alpha, f));
}

}  // namespace

using effect_drawing::ADDITIVE_BLEND;
using effect_drawing::NORMAL_BLEND;
using effect_drawing::Unit;

GameTimeCounter::GameTimeCounter(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    if (xml.Get() != nullptr) {
        _hideProcess = xml->GetFloatAttribute("hideProcess");
        _minScale = xml->GetFloatAttribute("minScale");
        for (ObjectWeakPointer<XmlElement> e = xml->GetFirstChildElement("layer"); e.Get() != nullptr;
             e = e->GetNextElement("layer")) {
            ReadLayer(e);
        }
    }
    EffectHandle bubbles = _owner.StartEffect("TimerBubbles");
    if (bubbles) {
        bubbles->x = 0.0f;
        bubbles->y = 0.0f;
        bubbles->Reset();
    }
    _shineMesh = ObjectSmartPointer<TextureMesh>(
        new TextureMesh(ResourceManager::GetTextureOrFrame("timer_shine").GetPointer(), 1, 3, 1.0f, 1.0f));
}

void GameTimeCounter::ReadLayer(const ObjectWeakPointer<XmlElement>& xml) {
    Layer layer;
    layer.picture = ResourceManager::GetTextureOrFrame(xml->GetStringAttribute("textureId"));
    layer.count = xml->GetIntAttributeOrDef("count", 1);
    if (layer.count > 1) {
        layer.stepX = xml->GetIntAttribute("stepX");
        layer.stepY = xml->GetIntAttribute("stepY");
    }
    layer.progress = xml->GetBoolAttributeOrDef("progress", false);
    layer.canShine = xml->GetBoolAttributeOrDef("canShine", false);
    for (ObjectWeakPointer<XmlElement> p = xml->GetFirstChildElement("point"); p.Get() != nullptr;
         p = p->GetNextElement("point")) {
        layer.points.push_back({Point(p->GetIntAttribute("x"), p->GetIntAttribute("y")), p->GetColorAttribute("color")});
    }
    if (layer.points.empty()) {
        layer.position = Point(xml->GetIntAttribute("x"), xml->GetIntAttribute("y"));
    } else if (layer.points.size() == 1) {
        // A marker needs a line to move along.
        ReportError("GameTimeCounter: a marker layer needs two points or more; drawn as a plain layer");
        layer.position = layer.points.front().position;
        layer.points.clear();
    }
    _layers.push_back(layer);
}

void GameTimeCounter::SetProgress(float p) {
    Assert(0.f <= p && p <= 1.f);
    _progress = p;
}

int GameTimeCounter::BarHeight(int height, float progress, float hide) {
    const float d = std::max(0.0f, progress - hide);
    const float span = 1.0f - hide;
    return (span > 0.0f ? static_cast<int>(static_cast<float>(height - BAR_REST) * d / span) : 0) + BAR_REST;
}

GameTimeCounter::MarkerPlace GameTimeCounter::MarkerAt(const std::vector<MarkerPoint>& points, float progress,
                                                       float hide) {
    MarkerPlace place;
    if (points.size() < 2) return place;
    const int last = static_cast<int>(points.size()) - 1;
    const float segment = (1.0f - hide) / static_cast<float>(last);
    const float inverse = segment > 0.0f ? 1.0f / segment : 0.0f;
    const float q = 1.0f - progress;
    // Kept to the existing stretches: a progress outside [hide, 1] extrapolates.
    const int i = std::min(std::max(static_cast<int>(q * inverse), 0), last - 1);
    const float f = (q - static_cast<float>(i) * segment) * inverse;
    const MarkerPoint& a = points[static_cast<std::size_t>(i)];
    const MarkerPoint& b = points[static_cast<std::size_t>(i + 1)];
    place.position = Point(a.position.x + static_cast<int>(static_cast<float>(b.position.x - a.position.x) * f),
                           a.position.y + static_cast<int>(static_cast<float>(b.position.y - a.position.y) * f));
    place.color = Lerp(a.color, b.color, Unit(f));
    return place;
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
    RenderDevice& device = Render::device;
    const Point origin = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(origin.x), static_cast<float>(origin.y), 0.0f);
    for (const Layer& layer : _layers) {
        Point at = layer.position;
        for (int n = 0; n < layer.count; ++n) {
            if (layer.progress) {
                DrawBar(layer, at);
            } else if (!layer.points.empty()) {
                DrawMarker(layer);
            } else if (layer.picture != NULL) {
                layer.picture->Draw(at);
            }
            at = Point(at.x + layer.stepX, at.y + layer.stepY);
        }
    }
    device.PopMatrix();
}

void GameTimeCounter::DrawBar(const Layer& layer, const Point& at) {
    if (layer.picture == NULL) return;
    const Rect size = layer.picture->GetRectangle();
    const int visible = BarHeight(size.height, _progress, _hideProcess);
    if (visible <= 0 || size.width <= 0) return;
    RenderDevice& device = Render::device;
    device.PushClipRect(Rect(at.x, at.y, size.width, visible), CLIP_ALL);
    device.PushAlpha(_hideProcess > 0.0f ? Unit(_progress / _hideProcess) : 1.0f);
    layer.picture->Draw(at);
    device.PopAlpha();
    _owner.DrawAll();
    device.PopClipRect();
}

void GameTimeCounter::DrawMarker(const Layer& layer) {
    RenderDevice& device = Render::device;
    const Rect size = layer.picture != NULL ? layer.picture->GetRectangle() : Rect();
    if (_progress > _hideProcess) {
        const MarkerPlace place = MarkerAt(layer.points, _progress, _hideProcess);
        if (shining && place.position.y - MESH_BELOW_MARKER >= MESH_LOWEST) {
            for (int i = 0; i <= _shineMesh->_columns; ++i) {
                for (int j = 2; j <= _shineMesh->_rows; ++j) {
                    const FPoint base = _shineMesh->GetVertexPosition(i, j);
                    _shineMesh->GetVertexOffset(i, j) =
                        FPoint(base._x, base._y + static_cast<float>(place.position.y - MESH_BELOW_MARKER));
                }
            }
        }
        device.PushColor(place.color);
        if (layer.picture != NULL) layer.picture->Draw(place.position);
        device.PopColor();
    } else {
        // At the last point the marker shrinks to the minimum scale and fades out.
        const MarkerPoint& end = layer.points.back();
        const float w = static_cast<float>(size.width);
        const float h = static_cast<float>(size.height);
        const float scale = _hideProcess > 0.0f ? (1.0f - _minScale) / _hideProcess * _progress + _minScale : _minScale;
        device.PushAlpha(_hideProcess > 0.0f ? Unit(_progress / _hideProcess) : 0.0f);
        device.PushColor(end.color);
        device.PushMatrix();
        device.MatrixTranslate(static_cast<float>(end.position.x) + w * 0.5f, static_cast<float>(end.position.y) + h * 0.5f,
                               0.0f);
        device.MatrixScaleUniform(scale);
        device.MatrixTranslate(-w * 0.5f, -h * 0.5f, 0.0f);
        if (layer.picture != NULL) layer.picture->Draw(Point(0, 0));
        device.PopColor();
        device.PopAlpha();
        device.PopMatrix();
    }
    if (shining && layer.canShine) DrawShine();
}

void GameTimeCounter::DrawShine() {
    RenderDevice& device = Render::device;
    const float phase = shinePeriod > 0.0f ? TWO_PI * shineTime / shinePeriod : 0.0f;
    device.SetBlendMode(ADDITIVE_BLEND);
    device.PushMatrix();
    device.MatrixTranslate(MESH_OFFSET_X, MESH_OFFSET_Y, 0.0f);
    device.PushAlpha(Unit((std::sin(phase) + 1.0f) * 0.5f));
    _shineMesh->Draw();
    device.PopMatrix();
    device.PopAlpha();
    device.SetBlendMode(NORMAL_BLEND);
}
