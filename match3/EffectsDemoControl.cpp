#include "match3/EffectsDemoControl.h"

#include <algorithm>

#include "content/AnimationService.h"
#include "content/ResourceManager.h"
#include "core/Math.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlElement.h"
#include "match3/effects/BreakingUpEffect.h"
#include "match3/effects/PieceEffects.h"
#include "match3/effects/SplashEffect.h"
#include "match3/effects/StatisticsEffects.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

const char* const LABEL_FONT = "demo";
constexpr float LABEL_ALPHA = 0.7f;

ObjectSmartPointer<AnimationService> Piece(int colour) {
    return ObjectSmartPointer<AnimationService>(
        new AnimationService(ResourceManager::GetAnimation("chip_anim" + std::to_string(colour))));
}

// Tiles of the 96 x 64 lock atlas, as the field's "lockPieces" option lists them.
const std::vector<Point>& LockPieces() {
    static const std::vector<Point> pieces{{26, 10}, {-6, 10}, {-38, 10}, {26, -22}, {-6, -22}, {-38, -22}};
    return pieces;
}

}  // namespace

Match3EffectsDemoControl::Match3EffectsDemoControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    if (xml != NULL) {
        _period = xml->GetFloatAttributeOrDef("period", _period);
        if (xml->HasAttribute("seed")) Random::Seed(static_cast<std::uint32_t>(xml->GetIntAttribute("seed")));
    }
    BuildSchedule();
}

void Match3EffectsDemoControl::Add(int layer, EffectBase* effect) {
    _effects.Add(layer, ObjectSmartPointer<EffectBase>(effect));
}

void Match3EffectsDemoControl::BuildSchedule() {
    _labels = {{140, 400, "CreateBombEffect"}, {340, 400, "ReplacePieceEffect"}, {640, 400, "SplashEffect"},
               {100, 230, "ClearPieceEffect"}, {260, 230, "HidePieceEffect"},     {480, 230, "BreakingUpEffect"},
               {700, 230, "BoomTextEffect"},   {160, 40, "TimerBonusEffect"},    {420, 40, "RotateInEffect"},
               {660, 40, "FlyTextEffect"}};
    _schedule = {
        {0.1f, [this] { Add(1, new FlyTextEffect(560, 90, 740, 150, "+150", 0.56f, "boom", 1.4f, 0.3f, false)); }},
        {0.2f, [this] { Add(1, new RotateInEffect(420, 120, "Cup", 2.0f, "boom", 1.2f, 0.5f)); }},
        {0.3f,
         [this] { Add(1, new TimerBonusEffect(110, 100, 210, 140, 0, 500, "$", "", "boom", 1.25f, 0.25f, false)); }},
        {0.5f, [this] { Add(1, new CreateBombEffect(140, 470)); }},
        {0.5f,
         [this] {
             PermanentStorage::SetLocalInt("BombCounter", 2);
             PermanentStorage::SetLocalInt("MultipleBomb", 50);
             const float size = 1.5f * 50.0f / static_cast<float>(Math::max(1, Render::fonts.GetFontHeight("boom")));
             Add(2, new BoomTextEffect(700, 290, "boom x", 22.0f, 1.0f, size));
         }},
        {0.45f, [this] { Add(-1, new ReplacePieceEffect(280, 440, 400, 500, Piece(0), ObjectSmartPointer<AnimationService>(), 1.1f, 0.35f)); }},
        {0.45f, [this] { Add(-1, new ReplacePieceEffect(400, 440, 280, 500, ObjectSmartPointer<AnimationService>(), Piece(1), 1.1f, 0.35f)); }},
        {0.9f,
         [this] {
             std::vector<FPoint> points{{560, 470}, {604, 514}, {648, 470}, {604, 426},
                                        {692, 514}, {736, 470}, {692, 426}};
             std::vector<float> times;
             Add(2, new SplashEffect(2.0f, points, times));
             for (std::size_t i = 0; i < points.size(); ++i) {
                 Add(-1, new SplashRemoverEffect(points[i]._x, points[i]._y, Piece(2), times[i]));
             }
         }},
        {0.7f,
         [this] {
             Add(1, new BreakingUpEffect(430, 300, 700, 700, ResourceManager::GetTextureOrFrame("lock_pieces"), 32,
                                         LockPieces(), Math::PI / 6.0f, false));
             Add(1, new BreakingUpEffect(540, 300, 700, 700, ResourceManager::GetTextureOrFrame("lock_pieces"), 32,
                                         LockPieces(), Math::PI / 6.0f, true));
         }},
        {0.7f, [] {
             PermanentStorage::SetLocalInt("BombCounter", 3);
             PermanentStorage::SetLocalInt("MultipleBomb", 100);
         }},
        {0.75f,
         [this] {
             Add(-1, new ClearPieceEffect(130, 300, ResourceManager::GetTextureOrFrame("silver"),
                                          ResourceManager::GetTextureOrFrame("silver_glow"), 0.4f));
             Add(-1, new HidePieceEffect(300, 300, Piece(1), 0.3f));
         }},
        {0.8f,
         [this] {
             Add(-1, new ClearPieceEffect(70, 300, ResourceManager::GetTextureOrFrame("golden"),
                                          ResourceManager::GetTextureOrFrame("golden_glow"), 0.4f));
         }},
        {0.9f, [this] { Add(-1, new HidePieceEffect(230, 300, Piece(0), 0.3f)); }},
    };
    std::stable_sort(_schedule.begin(), _schedule.end(),
                     [](const Start& a, const Start& b) { return a.time < b.time; });
}

void Match3EffectsDemoControl::Update(float dt) {
    _effects.Update(dt);
    _clock += dt;
    if (_clock >= _period) {
        _clock -= _period;
        _effects.Clear();
        _next = 0;
    }
    while (_next < _schedule.size() && _schedule[_next].time <= _clock) _schedule[_next++].make();
}

void Match3EffectsDemoControl::Draw() {
    RenderDevice& device = Render::device;
    device.PushAlpha(LABEL_ALPHA);
    Render::fonts.SetFont(LABEL_FONT);
    for (const Label& label : _labels) Render::fonts.DrawString(label.x, label.y, label.text, 1.0f, 2, false);
    device.PopAlpha();
    _effects.Draw(-1);
    _effects.Draw(1);
    _effects.Draw(2);
}
