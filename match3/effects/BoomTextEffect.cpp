#include <algorithm>
#include <cmath>

#include "core/PermanentStorage.h"
#include "match3/effects/EffectDrawing.h"
#include "match3/effects/PieceEffects.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

const char* const CHAIN_FONT = "boom";
const char* const BONUS_FONT = "20_scores";
constexpr float BONUS_SCALE = 1.25f;
constexpr float BONUS_DROP = -0.8f;
constexpr float FIRST_MULTIPLIER = 0.8f;
// A longer chain grows the text by a sixth per bomb, up to a chain of five.
constexpr int LONGEST_GROWTH = 3;
constexpr float GROWTH_STEP = 6.0f;

}  // namespace

BoomTextEffect::BoomTextEffect(float x, float y, const std::string& prefix, float riseTotal, float duration,
                               float sizeFactor)
    : _x(x), _y(y), _riseTotal(riseTotal), _sizeFactor(sizeFactor), _prefix(prefix), _duration(duration),
      _scaleMultiplier(FIRST_MULTIPLIER) {
    _chainLength = PermanentStorage::GetLocalInt("BombCounter");
    _chainText = _prefix + std::to_string(_chainLength);
    _bonus = PermanentStorage::GetLocalInt("MultipleBomb");
    _bonusText = "+" + std::to_string(_bonus);
    _scale.addKey(0.0f, 0.2f);
    _scale.addKey(0.5f, 0.5f);
    _scale.addKey(0.9f, 0.5f);
    _scale.addKey(1.0f, 0.6f);
    _scale.CalculateGradient(false);
    for (float key : {0.0f, 2.0f, 0.0f}) _alpha.addKey(key);
    _alpha.CalculateGradient(false);
}

void BoomTextEffect::Update(float dt) {
    if (IsFinished()) return;
    _elapsed += dt;
    _riseNow = _duration > 0.0f ? _elapsed * _riseTotal / _duration : _riseTotal;
    const int chainLength = PermanentStorage::GetLocalInt("BombCounter");
    if (chainLength > _chainLength) {
        _chainLength = chainLength;
        _chainText = _prefix + std::to_string(_chainLength);
        _elapsed = _duration * 0.5f;
        _scaleMultiplier =
            FIRST_MULTIPLIER + static_cast<float>(std::min(_chainLength - 2, LONGEST_GROWTH)) / GROWTH_STEP;
    }
    const int bonus = PermanentStorage::GetLocalInt("MultipleBomb");
    if (bonus > _bonus) {
        _bonus = bonus;
        _bonusText = "+" + std::to_string(_bonus);
    }
}

bool BoomTextEffect::IsFinished() { return _elapsed >= _duration; }

void BoomTextEffect::Draw() {
    if (IsFinished()) return;
    const float p = _elapsed / _duration;
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(_x, _y + _riseNow, 0.0f);
    device.PushAlpha(effect_drawing::Unit(_alpha.getGlobalFrame(p)));
    Render::fonts.SetFont(CHAIN_FONT);
    Render::fonts.DrawString(0, 0, _chainText, _scale.getValueAt(p) * _scaleMultiplier * _sizeFactor, 2, false);
    Render::fonts.SetFont(BONUS_FONT);
    const int drop = static_cast<int>(static_cast<float>(Render::fonts.GetFontHeight(BONUS_FONT)) * BONUS_DROP);
    Render::fonts.DrawString(0, drop, _bonusText, BONUS_SCALE, 2, false);
    device.PopAlpha();
    device.PopMatrix();
}
