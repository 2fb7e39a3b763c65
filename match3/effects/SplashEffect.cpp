#include "match3/effects/SplashEffect.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "core/Math.h"
#include "core/Random.h"
#include "match3/board/LightningRun.h"
#include "match3/effects/EffectDrawing.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

namespace {

const char* const RUN_SAMPLE = "lighting_run";
constexpr int OWN_PAN = -101;
// Segments shorter than this are never drawn but count in the path.
constexpr float SHORTEST_SEGMENT = 1.0f;

// As the board rules measure the path, so that the head reaches every piece at its arrival time.
float Distance(const FPoint& a, const FPoint& b) {
    const float dx = b._x - a._x;
    const float dy = b._y - a._y;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

SplashEffect::SplashEffect(float speed, std::vector<FPoint>& points, std::vector<float>& times) {
    Assert(!points.empty());
    std::vector<BoardFPoint> given;
    given.reserve(points.size());
    for (const FPoint& p : points) given.push_back(BoardFPoint{p._x, p._y});
    const bool descending = Random::Next() % 2 != 0;
    const LightningRun run = points.empty() ? LightningRun() : MakeLightningRun(speed, given, descending);
    std::vector<FPoint> ordered;
    ordered.reserve(run.order.size());
    for (int index : run.order) ordered.push_back(points[static_cast<std::size_t>(index)]);
    points = ordered;
    times = run.times;
    Start(run.path, run.totalTime);
}

SplashEffect::SplashEffect(const std::vector<BoardFPoint>& path, const std::vector<float>& times) {
    Assert(!path.empty());
    Assert(times.size() == path.size() + 1);
    Start(path, times.empty() ? 0.0f : times.back());
}

SplashEffect::~SplashEffect() { Sound::soundSystem.StopSample(RUN_SAMPLE); }

void SplashEffect::Start(const std::vector<BoardFPoint>& path, float totalTime) {
    _strip = ResourceManager::GetTextureOrFrame("splash_remover");
    _dot = ResourceManager::GetTextureOrFrame("splash_dot");
    for (const BoardFPoint& p : path) {
        const FPoint point(p.x, p.y);
        if (!_path.empty()) _pathLength += Distance(_path.back(), point);
        _path.push_back(point);
    }
    _totalTime = totalTime;
    _timeLeft = totalTime;
    _phase = RandomFloatRange(0.0f, 1.0f);
    _head = 0.0f;
    _flickerLeft = _flickerPeriod;
    Sound::soundSystem.PlaySampleEx(RUN_SAMPLE, OWN_PAN, true);
}

void SplashEffect::Update(float dt) {
    if (IsFinished()) return;
    _head = _totalTime > 0.0f ? (_pathLength + _tailLength) * (_totalTime - _timeLeft) / _totalTime : 0.0f;
    _timeLeft -= dt;
    _flickerLeft -= dt;
    if (_flickerLeft <= 0.0f) {
        _phase = RandomFloatRange(0.0f, 1.0f);
        _flickerLeft = _flickerPeriod;
    }
}

bool SplashEffect::IsFinished() { return _timeLeft <= 0.0f; }

void SplashEffect::Draw() {
    if (IsFinished() || _strip == NULL || _dot == NULL) return;
    const float w = std::max(0.0f, _head - _tailLength);
    const float e = std::min(_head, _pathLength);
    float a = 0.0f;
    for (std::size_t i = 0; i + 1 < _path.size(); ++i) {
        const float length = Distance(_path[i], _path[i + 1]);
        const float b = a + length;
        if (a <= e && w < b && length >= SHORTEST_SEGMENT) DrawSegment(i, a, length, w, e);
        a = b;
    }
}

void SplashEffect::DrawSegment(std::size_t i, float a, float length, float w, float e) {
    RenderDevice& device = Render::device;
    const Rect strip = _strip->GetRectangle();
    const int halfDot = _dot->GetRectangle().width / 2;
    const FPoint& from = _path[i];
    device.PushMatrix();
    device.MatrixTranslate(from._x, from._y, 0.0f);
    device.MatrixRotate(effect_drawing::Z_AXIS, (_path[i + 1] - from).GetAngle() / Math::PI * 180.0f);
    device.MatrixTranslate(0.0f, static_cast<float>(-(strip.height / 2)), 0.0f);
    device.SetBlendMode(effect_drawing::ADDITIVE_BLEND);
    const float k = strip.width > 0 ? length / static_cast<float>(strip.width) : 0.0f;
    // The dot at a distance along the segment; its two ends are placed from their exact values.
    const auto dotAt = [halfDot](float x) { return static_cast<int>(x - static_cast<float>(halfDot)); };
    const int atEnd = static_cast<int>(length) - halfDot;
    const int atStart = -halfDot;
    float x0 = 0.0f, x1 = 0.0f, u0 = 0.0f, u1 = 0.0f;
    int dot0 = 0, dot1 = 0;
    const float b = a + length;
    if (a <= w && b <= e) {
        // The tail inside the segment.
        const float s = (w - a) / length;
        x0 = s * length;
        x1 = length;
        u0 = _phase - (1.0f - s) * k;
        u1 = _phase;
        dot0 = dotAt(s * length);
        dot1 = atEnd;
    } else if (w < a && e < b) {
        // The head inside the segment.
        const float s = (e - a) / length;
        x1 = s * length;
        u0 = _phase;
        u1 = _phase + s * k;
        dot0 = dotAt(s * length);
        dot1 = atStart;
    } else if (a <= w && e < b) {
        const float s0 = (w - a) / length;
        const float s1 = (e - a) / length;
        x0 = s0 * length;
        x1 = s1 * length;
        u0 = _phase;
        u1 = _phase + (s1 - s0) * k;
        dot0 = dotAt(s0 * length);
        dot1 = dotAt(s1 * length);
    } else {
        x1 = length;
        u0 = _phase;
        u1 = _phase + k;
        dot0 = atEnd;
        dot1 = atStart;
    }
    _strip->Draw(FRect(x0, x1, 0.0f, static_cast<float>(strip.height)), FRect(u0, u1, 0.0f, 1.0f));
    _dot->Draw(Point(dot0, 0));
    _dot->Draw(Point(dot1, 0));
    device.SetBlendMode(effect_drawing::NORMAL_BLEND);
    device.PopMatrix();
}
