#include <cmath>

#include "aquarium/ComfortEquipment.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"
#include "shell/Texture.h"

namespace {

const char* const WORK_SOUND = "filter_work";
const float Z_AXIS[3] = {0.0f, 0.0f, 1.0f};

// Base at the offset, fan and layer at the offset plus their attribute pairs.
std::vector<ComfortPicture> ReadSet(const ObjectWeakPointer<XmlElement>& xml, const Point& offset) {
    std::vector<ComfortPicture> pictures(3);
    pictures[0].texture = comfort::ReadTexture(xml, "base");
    pictures[0].at = offset;
    pictures[1].texture = comfort::ReadTexture(xml, "fan");
    pictures[1].at = offset + comfort::ReadPoint(xml, "fanX", "fanY");
    pictures[2].texture = comfort::ReadTexture(xml, "layer");
    pictures[2].at = offset + comfort::ReadPoint(xml, "layerX", "layerY");
    return pictures;
}

}  // namespace

AquaFilterControl::AquaFilterControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : BaseComfortControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> option = xml->GetFirstChildElement("option");
    _showTime = option->GetFloatAttribute("showTime");
    _upgradeTime = option->GetFloatAttribute("upgradeTime");
    _angleSpeed = option->GetFloatAttribute("angleSpeed");
    if (!(_showTime > 0.0f && _upgradeTime > 0.0f)) {
        ReportError("AquaFilterControl " + _name + ": showTime and upgradeTime must be above 0; no flares");
    }
    _usual = ReadSet(xml->GetFirstChildElement("usual"), Point(0, 0));
    const Point p = comfort::ReadPoint(xml->GetFirstChildElement("upgradedPosition"), "x", "y");
    _upgraded = ReadSet(xml->GetFirstChildElement("upgraded"), p);
    _effectPoint = comfort::ReadPoint(xml->GetFirstChildElement("EffPoint"), "x", "y");
    xml->MarkVisitedTree();
    AfterPlayerChange();
}

AquaFilterControl::~AquaFilterControl() { AllowDestructor(); }

void AquaFilterControl::StartWork() {
    // A piece reset by the developer key and bought again is still working.
    if (_isWorking) return;
    _isWorking = true;
    _bubbles.StartEffect("FilterBubbles");
    Sound::soundSystem.PlaySampleEx(WORK_SOUND, comfort::OWN_PAN, true);
}

void AquaFilterControl::StopWork() {
    if (!_isWorking) return;
    _isWorking = false;
    Sound::soundSystem.StopSample(WORK_SOUND);
    comfort::FinishNow(_bubbles);
}

void AquaFilterControl::Buy() {
    BaseComfortControl::Buy();
    _flare.StartBuy(_showTime);
    StartWork();
    comfort::StartEffectAt(_effects, "BuyFilter", FPoint(_effectPoint.x, _effectPoint.y));
}

void AquaFilterControl::Upgrade() {
    BaseComfortControl::Upgrade();
    _flare.StartUpgrade(_upgradeTime);
    comfort::StartEffectAt(_effects, "UpgradeFilter", FPoint(_effectPoint.x, _effectPoint.y));
}

void AquaFilterControl::AfterPlayerChange() {
    BaseComfortControl::AfterPlayerChange();
    if (_isBought) StartWork();
}

void AquaFilterControl::BeforePlayerChange() { StopWork(); }

void AquaFilterControl::Update(float dt) {
    _flare.Update(dt);
    // The same place on the turn, also for a turn against the clock.
    float step = std::fmod(dt * _angleSpeed, 360.0f);
    if (step < 0.0f) step += 360.0f;
    if (step > 0.0f && step < 360.0f) _fanAngle.Update(step);
}

void AquaFilterControl::DrawBody(const std::vector<ComfortPicture>& pictures) {
    RenderDevice& device = Render::device;
    for (std::size_t i = 0; i + 1 < pictures.size(); ++i) {
        const ComfortPicture& picture = pictures[i];
        if (i != 1) {
            comfort::DrawAt(picture.texture, picture.at);
            continue;
        }
        const Rect size = comfort::Size(picture.texture);
        device.PushMatrix();
        device.MatrixTranslate(static_cast<float>(picture.at.x) + static_cast<float>(size.width) / 2.0f,
                               static_cast<float>(picture.at.y) + static_cast<float>(size.height) / 2.0f, 0.0f);
        device.MatrixRotate(Z_AXIS, GetFanAngle());
        comfort::DrawAt(picture.texture, Point(size.width / -2, size.height / -2));
        device.PopMatrix();
    }
}

void AquaFilterControl::Draw() {
    if (!_isBought) return;
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    _bubbles.DrawAll();
    _flare.Draw(_upgrade != 0, [this] { DrawBody(_usual); }, [this] { DrawBody(_upgraded); });
    const bool showsUpgraded = _flare.IsUpgradeFlaring() || _upgrade != 0;
    const ComfortPicture& layer = showsUpgraded ? _upgraded.back() : _usual.back();
    comfort::DrawAt(layer.texture, layer.at);
    _effects.DrawAll();
    device.PopMatrix();
}
