#include <algorithm>

#include "aquarium/ComfortEquipment.h"
#include "core/Math.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

FeedControl::FeedControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : BaseComfortControl(parent, xml) {
    const RandomCircleMotion sway(3.0f, 0.0f, comfort::PI / 6.0f, comfort::PI / 2.0f);
    for (auto& column : _sways) column.fill(sway);
    const ObjectWeakPointer<XmlElement> usual = xml->GetFirstChildElement("usual");
    _usual.resize(2);
    _usual[0].texture = comfort::ReadTexture(usual, "bubble");
    _usual[0].at = comfort::ReadPoint(usual, "bubbleX", "bubbleY");
    _usual[1].texture = comfort::ReadTexture(usual, "base");
    const ObjectWeakPointer<XmlElement> upgraded = xml->GetFirstChildElement("upgraded");
    _upgraded.resize(3);
    _upgraded[0].texture = comfort::ReadTexture(upgraded, "bubble");
    _upgraded[0].at = comfort::ReadPoint(upgraded, "bubbleX", "bubbleY");
    _upgraded[1].texture = comfort::ReadTexture(upgraded, "base");
    _upgraded[1].at = comfort::ReadPoint(xml->GetFirstChildElement("upgradedPosition"), "x", "y");
    _upgraded[2].texture = comfort::ReadTexture(upgraded, "timeLine");
    _upgraded[2].at = comfort::ReadPoint(upgraded, "timeLineX", "timeLineY");
    _effectPoint = comfort::ReadPoint(xml->GetFirstChildElement("EffPoint"), "x", "y");
    AfterPlayerChange();
}

FeedControl::~FeedControl() { AllowDestructor(); }

std::unique_ptr<TextureMesh> FeedControl::MakeMesh(const UsingPointer<Texture>& texture) {
    return std::unique_ptr<TextureMesh>(new TextureMesh(texture.GetPointer(), 2, 2, 1.0f, 1.0f));
}

void FeedControl::Buy() {
    BaseComfortControl::Buy();
    _flare.StartBuy(_buyFlareLife);
    _bubbleMesh = MakeMesh(_usual[0].texture);
    // The tank adds a feeding point for its fish when it next gathers them.
    PermanentStorage::SetLocalBool("Fish feeder bought", true);
    comfort::StartEffectAt(_effects, "BuyFeed", FPoint(_effectPoint.x, _effectPoint.y));
}

void FeedControl::Upgrade() {
    BaseComfortControl::Upgrade();
    _flare.StartUpgrade(_upgradeFlareLife);
    _bubbleMesh = MakeMesh(_upgraded[0].texture);
    _timeLineMesh = MakeMesh(_upgraded[2].texture);
    comfort::StartEffectAt(_effects, "UpgradeFeed", FPoint(_effectPoint.x, _effectPoint.y));
}

void FeedControl::AfterPlayerChange() {
    BaseComfortControl::AfterPlayerChange();
    if (!_isBought) return;
    if (_upgrade != 0) {
        _bubbleMesh = MakeMesh(_upgraded[0].texture);
        _timeLineMesh = MakeMesh(_upgraded[2].texture);
    } else {
        _bubbleMesh = MakeMesh(_usual[0].texture);
    }
}

void FeedControl::Update(float dt) {
    if (!_isBought) return;
    _flare.Update(dt);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            RandomCircleMotion& sway = _sways[i][j];
            sway.Update(dt);
            if (_bubbleMesh == nullptr) continue;
            const FPoint rest = _bubbleMesh->GetVertexPosition(i, j);
            _bubbleMesh->GetVertexOffset(i, j) = FPoint(rest._x + sway.offsetX, rest._y + sway.offsetY);
        }
    }
    _timeLine.Update(std::max(dt, 0.0f));
}

void FeedControl::DrawBubbleAndBase(const std::vector<ComfortPicture>& pictures) {
    RenderDevice& device = Render::device;
    if (_bubbleMesh != nullptr) {
        device.PushMatrix();
        device.MatrixTranslate(static_cast<float>(pictures[0].at.x), static_cast<float>(pictures[0].at.y), 0.0f);
        _bubbleMesh->Draw();
        device.PopMatrix();
    }
    comfort::DrawAt(pictures[1].texture, pictures[1].at);
}

void FeedControl::DrawTimeLine(const ComfortPicture& timeLine) {
    const Rect size = comfort::Size(timeLine.texture);
    const float phase = _timeLine.GetPhase();
    const float q = (1.0f - phase) * 1.1f;
    const int w = Math::round(static_cast<float>(size.width) * (1.0f - phase) * 1.1f);
    if (w < 1 || size.height < 1) return;
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(timeLine.at.x), static_cast<float>(timeLine.at.y), 0.0f);
    if (q <= 1.0f) {
        device.PushClipRect(Rect(0, 0, w, size.height), CLIP_ALL);
        comfort::DrawAt(timeLine.texture, Point(0, 0));
        device.PopClipRect();
    } else if (_timeLineMesh != nullptr) {
        // The bar fades in from the bottom row up.
        const float v = (q - 1.0f) * 10.0f;
        for (int k = 0; k <= _timeLineMesh->_columns; ++k) {
            if (v < 0.5f) {
                _timeLineMesh->GetVertexAlpha(k, 1) = static_cast<std::uint8_t>(Math::round((1.0f - 2.0f * v) * 255.0f));
                _timeLineMesh->GetVertexAlpha(k, 0) = 255;
            } else {
                _timeLineMesh->GetVertexAlpha(k, 1) = 0;
                _timeLineMesh->GetVertexAlpha(k, 0) = static_cast<std::uint8_t>(Math::round((2.0f - 2.0f * v) * 255.0f));
            }
        }
        _timeLineMesh->Draw();
    }
    device.PopMatrix();
}

void FeedControl::DrawUsual() {
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    DrawBubbleAndBase(_usual);
    device.PopMatrix();
}

void FeedControl::DrawUpgraded() {
    RenderDevice& device = Render::device;
    const Point a = GetAbsolutePos();
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(a.x), static_cast<float>(a.y), 0.0f);
    DrawBubbleAndBase(_upgraded);
    DrawTimeLine(_upgraded[2]);
    device.PopMatrix();
}

void FeedControl::Draw() {
    if (!_isBought) return;
    _flare.Draw(_upgrade != 0, [this] { DrawUsual(); }, [this] { DrawUpgraded(); });
    _effects.DrawAll();
}
