#include "aquarium/SceneryEffects.h"

#include <algorithm>
#include <cmath>

#include "aquarium/SceneryDrawing.h"
#include "aquarium/TankRecords.h"
#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/Math.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

// Crab.

CrabControl::CrabControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> animation = scenery::Child(xml, "animation");
    _animation = scenery::UseAnimation(animation, "animationId");
    _background = ResourceManager::GetTextureOrFrame(animation->GetStringAttribute("staticFonId"));
    const float time = animation->GetFloatAttribute("time");
    const float minPause = animation->GetFloatAttribute("minPause");
    const float maxPause = animation->GetFloatAttribute("maxPause");
    const float firstPlay = animation->GetFloatAttribute("firstPlay");
    _playTimer = std::make_shared<FlarePosition>(time, false, minPause, maxPause, firstPlay);
    _animationPos = scenery::ReadPoint(xml, "animationPos");
}

int CrabControl::GetFrame() const {
    const int n = scenery::FrameCount(_animation);
    return static_cast<int>(_playTimer->GetProgress() * static_cast<float>(n - 1));
}

void CrabControl::Update(float dt) {
    // A play time of 0 never plays: the crab rests on its last frame.
    if (_playTimer->_flareLife > 0.0f) _playTimer->Update(dt);
}

void CrabControl::Draw() {
    const Point a = GetAbsolutePos();
    if (_background != NULL) _background->Draw(a);
    scenery::DrawFrame(_animation, GetFrame(), a + _animationPos);
}

// Mill.

MillControl::MillControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> animation = scenery::Child(xml, "animation");
    _animation = scenery::UseAnimation(animation, "animationId");
    const float time = animation->GetFloatAttribute("time");
    _turn = CyclicFloat(time);
    _isTurning = time > 0.0f;
    if (!_isTurning) ReportError("MillControl: the turn time must be above 0");
}

int MillControl::GetFrame() const {
    if (!_isTurning) return 0;
    const int n = scenery::FrameCount(_animation);
    return std::min(static_cast<int>(_turn.GetPhase() * static_cast<float>(n)), std::max(n - 1, 0));
}

void MillControl::Update(float dt) {
    if (_isTurning) _turn.Update(std::max(dt, 0.0f));
}

void MillControl::Draw() { scenery::DrawFrame(_animation, GetFrame(), GetAbsolutePos()); }

// Caustics.

CausticControl::CausticControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    _raysScroll = CyclicFloat(_raysScrollPeriod);
    _floorScroll = CyclicFloat(_floorScrollPeriod);
    _animation = scenery::UseAnimation(scenery::Child(xml, "animation"), "animationId");
    UsingPointer<Texture> first;
    if (scenery::FrameCount(_animation) > 0) first = _animation->GetFrame(0);

    const ObjectWeakPointer<XmlElement> bottom = scenery::Child(xml, "causticBottom");
    const float wb = static_cast<float>(bottom->GetIntAttribute("widthBottom"));
    const float h = bottom->GetFloatAttribute("height");
    _floorLight = static_cast<std::uint8_t>(bottom->GetIntAttribute("light"));
    _floorMesh.reset(new TextureMesh(first.GetPointer(), 1, 1, 3.0f, 1.0f));
    _floorMesh->GetVertexOffset(0, 0) = FPoint((800.0f - wb) / 2.0f, 0.0f);
    _floorMesh->GetVertexOffset(1, 0) = FPoint((800.0f + wb) / 2.0f, 0.0f);
    _floorMesh->GetVertexOffset(0, 1) = FPoint(0.0f, h);
    _floorMesh->GetVertexOffset(1, 1) = FPoint(800.0f, h);
    _floorMesh->GetVertexAlpha(0, 1) = 0;
    _floorMesh->GetVertexAlpha(1, 1) = 0;

    const ObjectWeakPointer<XmlElement> top = scenery::Child(xml, "causticTop");
    const float o = static_cast<float>(top->GetIntAttribute("offset"));
    const float wt = static_cast<float>(top->GetIntAttribute("widthTop"));
    const float rb = static_cast<float>(top->GetIntAttribute("widthBottom"));
    const float rh = top->GetFloatAttribute("height");
    _raysLight = static_cast<std::uint8_t>(top->GetIntAttribute("light"));
    _raysMesh.reset(new TextureMesh(first.GetPointer(), 3, 1, 2.0f, 1.0f));
    for (int i = 0; i <= 3; ++i) {
        const float k = static_cast<float>(i) / 3.0f;
        _raysMesh->GetVertexOffset(i, 1) = FPoint(o + wt * k, 600.0f);
        _raysMesh->GetVertexOffset(i, 0) = FPoint(o + (wt - rb) / 2.0f + rb * k, 600.0f - rh);
    }
    _raysMesh->SetAllVertexAlphas(0);
}

CausticControl::~CausticControl() = default;

void CausticControl::Update(float dt) {
    const int n = scenery::FrameCount(_animation);
    _floorFrameTimer += dt;
    if (_floorFrameTimer > _floorFrameTime) {
        _floorFrame = n > 0 ? (_floorFrame + 1) % n : 0;
        _floorFrameTimer = 0.0f;
    }
    _raysFrameTimer += dt;
    if (_raysFrameTimer > _raysFrameTime) {
        _raysFrame = n > 0 ? (_raysFrame + 1) % n : 0;
        _raysFrameTimer = 0.0f;
    }
    _raysScroll.Update(std::max(dt, 0.0f));
    _floorScroll.Update(std::max(dt, 0.0f));
}

void CausticControl::DrawPasses(TextureMesh& mesh, int frame, float t, std::uint8_t light,
                                const std::vector<std::pair<int, int>>& lit) {
    const int n = scenery::FrameCount(_animation);
    if (n <= 0) return;
    const std::uint8_t zero = 0;
    mesh.SetTexture(_animation->GetFrame(frame % n).GetPointer());
    for (const auto& v : lit) mesh.GetVertexAlpha(v.first, v.second) = math::lerp(light, zero, t);
    mesh.Draw();
    mesh.SetTexture(_animation->GetFrame((frame + 1) % n).GetPointer());
    for (const auto& v : lit) mesh.GetVertexAlpha(v.first, v.second) = math::lerp(zero, light, t);
    mesh.Draw();
}

void CausticControl::Draw() {
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    device.SetBlendMode(2);
    device.SetMatrixMode(1);
    device.PushMatrix();
    device.MatrixTranslate(0.0f, -_raysScroll.GetPhase(), 0.0f);
    DrawPasses(*_raysMesh, _raysFrame, _raysFrameTimer / _raysFrameTime, _raysLight, {{1, 1}, {2, 1}});
    device.PopMatrix();
    device.PushMatrix();
    device.MatrixTranslate(0.0f, _floorScroll.GetPhase(), 0.0f);
    DrawPasses(*_floorMesh, _floorFrame, _floorFrameTimer / _floorFrameTime, _floorLight, {{0, 0}, {1, 0}});
    device.PopMatrix();
    device.SetMatrixMode(0);
    scenery::NormalBlend();
    device.PopMatrix();
}

// Bubbles.

BubblesBackGround::BubblesBackGround(const ObjectWeakPointer<Control>& parent,
                                     const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> d = scenery::Child(xml, "description");
    _texture = ResourceManager::GetTextureOrFrame(d->GetStringAttribute("textureId"));
    _width = d->GetIntAttribute("width");
    _height = d->GetIntAttribute("height");
    _minPause = d->GetFloatAttribute("minPause");
    _maxPause = d->GetFloatAttribute("maxPause");
    _minSpeed = d->GetFloatAttribute("minSpeed");
    _maxSpeed = d->GetFloatAttribute("maxSpeed");
    _amplitude = d->GetFloatAttribute("amplitude");
    _period = d->GetFloatAttribute("period");
    const std::string blend = d->GetStringAttribute("blendMode");
    if (blend == "add") {
        _blendMode = 2;
    } else if (blend == "alpha") {
        _blendMode = 0;
    } else {
        Assert(false);
    }
    int emitters = std::max(d->GetIntAttribute("emitters"), 0);
    if (emitters > TankLimits::MAX_BUBBLE_EMITTERS) {
        ReportError("BubblesBackGround: " + std::to_string(emitters) + " bubble columns are cut to " +
                    std::to_string(TankLimits::MAX_BUBBLE_EMITTERS));
        emitters = TankLimits::MAX_BUBBLE_EMITTERS;
    }
    const ObjectWeakPointer<XmlElement> scale = scenery::Child(xml, "scale");
    for (ObjectWeakPointer<XmlElement> range = scale->GetFirstChildElement("range"); range != NULL;
         range = range->GetNextElement("range")) {
        const float max = range->GetFloatAttribute("max");
        const float min = range->GetFloatAttribute("min");
        _scaleRanges.emplace_back(min, max);
    }
    _pauses.assign(static_cast<std::size_t>(emitters), 0.0f);
    _speeds.resize(_pauses.size());
    _heights.resize(_pauses.size());
    _scaleCurves.resize(_pauses.size());
    if (!(_minSpeed > 0.0f && _maxSpeed > 0.0f && _minPause > 0.0f && _maxPause > 0.0f)) {
        // A bubble that never rises or a column without pauses would never fill.
        ReportError("BubblesBackGround: speeds and pauses must be above 0; no bubbles");
        _pauses.clear();
        _speeds.clear();
        _heights.clear();
        _scaleCurves.clear();
        return;
    }
    for (std::size_t i = 0; i < _pauses.size(); ++i) {
        AddBubble(i, 0.0f, RandomFloatRange(_minSpeed, _maxSpeed));
        _pauses[i] = RandomFloatRange(_minPause, _maxPause);
        while (_heights[i].size() < MAX_PREFILL && _heights[i].front() + _speeds[i].front() * _pauses[i] <
                                                       static_cast<float>(_height)) {
            for (std::size_t k = 0; k < _heights[i].size(); ++k) _heights[i][k] += _speeds[i][k] * _pauses[i];
            AddBubble(i, 0.0f, RandomFloatRange(_minSpeed, _maxSpeed));
            _pauses[i] = RandomFloatRange(_minPause, _maxPause);
        }
        const float t = RandomFloatRange(0.0f, _minPause);
        for (std::size_t k = 0; k < _heights[i].size(); ++k) _heights[i][k] += _speeds[i][k] * t;
        _pauses[i] -= t;
    }
}

SplinePath<float> BubblesBackGround::MakeSizeCurve() const {
    SplinePath<float> curve;
    for (const auto& range : _scaleRanges) curve.addKey(RandomFloatRange(range.first, range.second));
    curve.CalculateGradient(false);
    return curve;
}

void BubblesBackGround::AddBubble(std::size_t emitter, float y, float speed) {
    _speeds[emitter].push_back(speed);
    _heights[emitter].push_back(y);
    _scaleCurves[emitter].push_back(MakeSizeCurve());
}

float BubblesBackGround::EmitterX(std::size_t i) const {
    const std::size_t e = _pauses.size();
    if (e <= 1) return static_cast<float>(_width) / 2.0f;
    return static_cast<float>(_width) * static_cast<float>(i) / static_cast<float>(e - 1);
}

void BubblesBackGround::Update(float dt) {
    dt = std::min(dt, 0.1f);
    for (std::size_t i = 0; i < _pauses.size(); ++i) {
        std::vector<float>& heights = _heights[i];
        for (std::size_t k = 0; k < heights.size();) {
            heights[k] += dt * _speeds[i][k];
            if (heights[k] >= static_cast<float>(_height)) {
                heights.erase(heights.begin() + static_cast<std::ptrdiff_t>(k));
                _speeds[i].erase(_speeds[i].begin() + static_cast<std::ptrdiff_t>(k));
                _scaleCurves[i].erase(_scaleCurves[i].begin() + static_cast<std::ptrdiff_t>(k));
            } else {
                ++k;
            }
        }
        _pauses[i] -= dt;
        if (_pauses[i] < 0.0f) {
            const float v = RandomFloatRange(_minSpeed, _maxSpeed);
            AddBubble(i, -v * _pauses[i], v);
            _pauses[i] += RandomFloatRange(_minPause, _maxPause);
        }
    }
}

void BubblesBackGround::Draw() {
    if (_pauses.empty() || _texture == NULL) return;
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    const Rect picture = _texture->GetRectangle();
    device.SetBlendMode(_blendMode);
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    for (std::size_t i = 0; i < _pauses.size(); ++i) {
        for (std::size_t k = 0; k < _heights[i].size(); ++k) {
            const float y = _heights[i][k];
            const float sway = _period != 0.0f ? _amplitude * std::sin(y / _period) : 0.0f;
            const float at = _height > 0 ? y / static_cast<float>(_height) : 0.0f;
            device.PushMatrix();
            device.MatrixTranslate(EmitterX(i) + sway, y, 0.0f);
            device.MatrixScaleUniform(_scaleCurves[i][k].getGlobalFrame(at));
            device.MatrixTranslate(-picture.width / 2.0f, -picture.height / 2.0f, 0.0f);
            _texture->Draw(Point(0, 0));
            device.PopMatrix();
        }
    }
    device.PopMatrix();
    scenery::NormalBlend();
}
