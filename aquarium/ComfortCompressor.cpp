#include "aquarium/ComfortEquipment.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"
#include "shell/Texture.h"

namespace {

const char* const WORK_SOUND = "compressor_work";
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};

void Translate(const Point& at) {
    Render::device.MatrixTranslate(static_cast<float>(at.x), static_cast<float>(at.y), 0.0f);
}

void DrawWithAlpha(float alpha, void (CompressorControl::*draw)(), CompressorControl& control) {
    Render::device.PushAlpha(alpha);
    (control.*draw)();
    Render::device.PopAlpha();
}

}  // namespace

// Compressor.

CompressorControl::CompressorControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : BaseComfortControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> textures = xml->GetFirstChildElement("textures");
    _usualTexture = comfort::ReadTexture(textures, "usual");
    _upgradedTexture = comfort::ReadTexture(textures, "upgraded");
    _upgradedPosition = comfort::ReadPoint(xml->GetFirstChildElement("upgradedPosition"), "x", "y");
    AfterPlayerChange();
}

CompressorControl::~CompressorControl() { AllowDestructor(); }

void CompressorControl::PlayWork() {
    // A piece reset by the developer key and bought again is still working.
    if (_isWorking) return;
    _isWorking = true;
    Sound::soundSystem.PlaySampleEx(WORK_SOUND, comfort::OWN_PAN, true);
}

void CompressorControl::StopWork() {
    if (_isWorking) Sound::soundSystem.StopSample(WORK_SOUND);
    _isWorking = false;
    comfort::FinishNow(_usualEffects);
    comfort::FinishNow(_upgradedEffects);
}

void CompressorControl::Buy() {
    BaseComfortControl::Buy();
    if (_isWorking) StopWork();
    const EffectHandle steady = _usualEffects.StartEffect("Compressor");
    const EffectHandle burst = comfort::StartEffectAt(_usualEffects, "CompressorBuy", FPoint(50.0f, 20.0f));
    comfort::PreRun(steady);
    comfort::PreRun(burst);
    _buyFlare = comfort::MakeFlare(2.0f);
    PlayWork();
}

void CompressorControl::Upgrade() {
    BaseComfortControl::Upgrade();
    const EffectHandle steady = _upgradedEffects.StartEffect("UpgradedCompressor");
    const EffectHandle burst = _upgradedEffects.StartEffect("CompressorUpgrade");
    comfort::PreRun(steady);
    comfort::PreRun(burst);
    _upgradeFlare = comfort::MakeFlare(2.0f);
}

void CompressorControl::AfterPlayerChange() {
    BaseComfortControl::AfterPlayerChange();
    if (!_isBought) return;
    comfort::PreRun(_usualEffects.StartEffect("Compressor"));
    if (_upgrade != 0) comfort::PreRun(_upgradedEffects.StartEffect("UpgradedCompressor"));
    PlayWork();
}

void CompressorControl::BeforePlayerChange() { StopWork(); }

void CompressorControl::Update(float dt) {
    comfort::Advance(_buyFlare, dt);
    comfort::Advance(_upgradeFlare, dt);
}

void CompressorControl::DrawUsual() {
    RenderDevice& device = Render::device;
    device.PushMatrix();
    Translate(GetAbsolutePos());
    comfort::DrawAt(_usualTexture, Point(0, 0));
    _usualEffects.DrawAll();
    device.PopMatrix();
}

void CompressorControl::DrawUpgraded() {
    RenderDevice& device = Render::device;
    device.PushMatrix();
    Translate(_upgradedPosition);
    comfort::DrawAt(_upgradedTexture, Point(0, 0));
    _upgradedEffects.DrawAll();
    device.PopMatrix();
}

void CompressorControl::Draw() {
    if (!_isBought) return;
    if (comfort::IsFlaring(_buyFlare)) {
        const float p = _buyFlare->GetProgress();
        DrawWithAlpha(p < 0.5f ? 2.0f * p : 1.0f, &CompressorControl::DrawUsual, *this);
    } else if (comfort::IsFlaring(_upgradeFlare)) {
        const float p = _upgradeFlare->GetProgress();
        DrawUsual();
        DrawWithAlpha(p < 0.5f ? 2.0f * p : 1.0f, &CompressorControl::DrawUpgraded, *this);
    } else {
        DrawUsual();
        if (_upgrade != 0) DrawUpgraded();
    }
}

// Thermoregulator.

namespace {

// Pictures by the ids of the attributes, at the points of the attribute pairs, all moved by the
// offset; the first picture lies at the offset itself.
std::vector<ComfortPicture> ReadPictures(const ObjectWeakPointer<XmlElement>& xml,
                                         const std::vector<std::string>& ids,
                                         const std::vector<std::pair<std::string, std::string>>& points,
                                         const Point& offset) {
    std::vector<ComfortPicture> pictures;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ComfortPicture picture;
        picture.texture = comfort::ReadTexture(xml, ids[i]);
        picture.at = offset;
        if (i > 0) picture.at = offset + comfort::ReadPoint(xml, points[i - 1].first, points[i - 1].second);
        pictures.push_back(picture);
    }
    return pictures;
}

}  // namespace

ThermoregulatorControl::ThermoregulatorControl(const ObjectWeakPointer<Control>& parent,
                                               const ObjectWeakPointer<XmlElement>& xml)
    : BaseComfortControl(parent, xml), _sway(3.0f, 0.0f, comfort::PI / 6.0f, comfort::PI / 2.0f) {
    _usual = ReadPictures(xml->GetFirstChildElement("usual"), {"base", "red", "up"},
                          {{"redX", "redY"}, {"upX", "upY"}}, Point(0, 0));
    const Point p = comfort::ReadPoint(xml->GetFirstChildElement("upgradedPosition"), "x", "y");
    _upgraded = ReadPictures(xml->GetFirstChildElement("upgraded"), {"base", "red", "up", "arr"},
                             {{"redX", "redY"}, {"upX", "upY"}, {"arrX", "arrY"}}, p);
    _effectPoint = comfort::ReadPoint(xml->GetFirstChildElement("EffPoint"), "x", "y");
    AfterPlayerChange();
}

ThermoregulatorControl::~ThermoregulatorControl() { AllowDestructor(); }

void ThermoregulatorControl::Buy() {
    BaseComfortControl::Buy();
    _flare.StartBuy(_buyFlareLife);
    comfort::StartEffectAt(_effects, "BuyTermoregulator", FPoint(_effectPoint.x, _effectPoint.y));
}

void ThermoregulatorControl::Upgrade() {
    BaseComfortControl::Upgrade();
    _flare.StartUpgrade(_upgradeFlareLife);
    comfort::StartEffectAt(_effects, "UpgradeTermoregulator", FPoint(_effectPoint.x, _effectPoint.y));
}

void ThermoregulatorControl::Update(float dt) {
    _flare.Update(dt);
    _sway.Update(dt * 0.52f);
}

void ThermoregulatorControl::DrawSet(const std::vector<ComfortPicture>& pictures) {
    RenderDevice& device = Render::device;
    device.PushMatrix();
    Translate(GetAbsolutePos());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const ComfortPicture& picture = pictures[i];
        if (i == 1) {
            // The column shows 6 units less at the bottom of the sway, all of it at the top.
            const Rect size = comfort::Size(picture.texture);
            const int height = size.height + static_cast<int>(_sway.offsetY) - 3;
            if (size.width > 0 && height > 0) {
                device.PushClipRect(Rect(picture.at.x, picture.at.y, size.width, height), CLIP_ALL);
                comfort::DrawAt(picture.texture, picture.at);
                device.PopClipRect();
            }
        } else if (i == 3) {
            device.PushMatrix();
            device.MatrixTranslate(static_cast<float>(picture.at.x) + 0.5f, static_cast<float>(picture.at.y) + 0.5f,
                                   0.0f);
            device.MatrixRotate(Z_AXIS, _sway.offsetY * 15.0f + 45.0f);
            comfort::DrawAt(picture.texture, Point(-1, 0));
            device.PopMatrix();
        } else {
            comfort::DrawAt(picture.texture, picture.at);
        }
    }
    device.PopMatrix();
}

void ThermoregulatorControl::Draw() {
    if (!_isBought) return;
    _flare.Draw(_upgrade != 0, [this] { DrawSet(_usual); }, [this] { DrawSet(_upgraded); });
    _effects.DrawAll();
}
