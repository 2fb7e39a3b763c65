#include "aquarium/BasketControl.h"

#include <algorithm>

#include "content/Animation.h"
#include "content/MotionChangers.h"
#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "controls/MouseEvents.h"
#include "controls/MutableChildrenListControl.h"
#include "core/Assert.h"
#include "core/Bool.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/String.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"
#include "shell/Texture.h"

namespace {
// The pan that keeps the sample's own.
constexpr int OWN_PAN = -101;

bool IsLocalTrue(const std::string& name) {
    return PermanentStorage::IsLocalNameDefined(name) && PermanentStorage::GetLocalBool(name);
}
}  // namespace

BasketControl::BasketControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> animation = xml->GetFirstChildElement("animation");
    _animation = ResourceManager::UseAnimation(animation->GetStringAttribute("animationId"));
    _animationTime = animation->GetFloatAttribute("time");
    Assert(_animationTime > 0.0f);
    const ObjectWeakPointer<XmlElement> textures = xml->GetFirstChildElement("textures");
    _backTexture = ResourceManager::GetTextureOrFrame(textures->GetStringAttribute("backId"));
    _frontTexture = ResourceManager::GetTextureOrFrame(textures->GetStringAttribute("frontId"));
    _mover = ObjectSmartPointer<IntoBasketMover>(new IntoBasketMover(xml->GetFirstChildElement("placing")));
    _helpShownName = GetReceiverName() + " help shown";
    _helpTemplateName = xml->GetFirstChildElement("help")->GetStringAttribute("templateName");
}

BasketControl::~BasketControl() {
    _help = nullptr;
    _mover = nullptr;
}

// Hover.

void BasketControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    const bool was = _isActive;
    _isActive = false;
    if (event->IsMouseCaptured() && !event->IsMouseHandled()) {
        const Point p = event->GetMousePos() - GetAbsolutePos();
        bool isOver = false;
        if (_animation != NULL && _animation->size() > 0) {
            const UsingPointer<Texture> closed = _animation->GetFrame(0);
            isOver = closed != NULL && closed->IsPointOpaque(p);
        }
        if (!isOver && _backTexture != NULL) isOver = _backTexture->IsPointOpaque(p);
        if (isOver) {
            event->SetMouseHandled();
            _isActive = true;
        }
    }
    if (_isActive && !was) Sound::soundSystem.PlaySampleEx("basket_open", OWN_PAN, false);
}

// Frames.

void BasketControl::Update(float dt) {
    if (_animationTime > 0.0f) {
        if (_isActive) {
            _time = std::min(1.0f, _time + dt / _animationTime);
        } else if (_frozenTexture == NULL) {
            _time = std::max(0.0f, _time - dt / _animationTime);
        }
    }
    if (_hasPendingReport) {
        _hasPendingReport = false;
        SendMessage(_pendingReceiver, _pendingMessage);
    }
    _mover->Update(dt);
    if (_help != NULL) _help->Update(dt);
}

int BasketControl::GetFrameIndex() {
    if (_time <= 0.0f) return 0;
    const int count = _animation != NULL ? _animation->size() : 0;
    if (_time >= 1.0f) return count - 1;
    Assert(0.0f < _time && _time < 1.0f);
    Assert(_animation->size() >= 2);
    const int keyId = 1 + static_cast<int>(static_cast<float>(count - 2) * _time);
    Assert(0 < keyId && keyId < _animation->size());
    return std::min(std::max(keyId, 0), count - 1);
}

void BasketControl::DrawCentred(const UsingPointer<Texture>& texture, const Point& centre) {
    const Rect r = texture->GetRectangle();
    texture->Draw(Point(centre.x - r.width / 2, centre.y - r.height / 2));
}

void BasketControl::Draw() {
    const Point position = GetAbsolutePos();
    UsingPointer<Texture> frame;
    const int index = GetFrameIndex();
    if (_animation != NULL && 0 <= index && index < _animation->size()) frame = _animation->GetFrame(index);

    if (_backTexture != NULL) _backTexture->Draw(position);
    if (_mover->IsMoving()) {
        if (frame != NULL) frame->Draw(position);
        // Past the range the icon has sunk below the rim.
        if (_mover->_time > _mover->_range) {
            _mover->Draw(FPoint(position.x, position.y));
            if (_frontTexture != NULL) _frontTexture->Draw(position);
        } else {
            if (_frontTexture != NULL) _frontTexture->Draw(position);
            _mover->Draw(FPoint(position.x, position.y));
        }
    } else {
        if (_frontTexture != NULL) _frontTexture->Draw(position);
        if (frame != NULL) frame->Draw(position);
        if (_iconTexture != NULL) {
            DrawCentred(_iconTexture, GetMousePos());
            _iconTexture = UsingPointer<Texture>();
        }
        if (_frozenTexture != NULL) DrawCentred(_frozenTexture, _frozenPoint);
    }
    if (_help != NULL) _help->Draw();
}

// Messages.

std::string BasketControl::OnMessageReply(std::string message) {
    if (message == "Is active?") return Bool::ToString(_isActive);
    return MessageReceiver::OnMessageReply(message);
}

void BasketControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "texture ")) {
        _iconTexture = ResourceManager::GetTextureOrFrame(message);
    } else if (message == "freeze") {
        Assert(_iconTexture != NULL);
        Assert(_frozenTexture == NULL);
        _frozenTexture = _iconTexture;
        _frozenPoint = GetMousePos();
    } else if (message == "unfreeze") {
        Assert(_frozenTexture != NULL);
        _frozenTexture = UsingPointer<Texture>();
    } else if (String::IsHeadCut(message, "play animation then ")) {
        PlayAnimationThen(message);
    } else if (message == "show help") {
        ShowHelp();
    } else if (message == "hide help") {
        _help = nullptr;
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void BasketControl::PlayAnimationThen(const std::string& request) {
    const std::size_t slashPos = request.find('/');
    Assert(slashPos != std::string::npos);
    if (slashPos == std::string::npos) return;
    const std::string receiver = request.substr(0, slashPos);
    Assert(!receiver.empty());
    const std::string message = request.substr(slashPos + 1);
    if (_frozenTexture == NULL || _mover->IsMoving()) {
        // Nothing to fly: the waiting sender hears at once, so its input blocker goes.
        Assert(_frozenTexture != NULL);
        Assert(!_mover->IsMoving());
        _pendingReceiver = receiver;
        _pendingMessage = message;
        _hasPendingReport = true;
        return;
    }
    const Rect r = _frozenTexture->GetRectangle();
    const Point corner = Point(_frozenPoint.x - r.width / 2, _frozenPoint.y - r.height / 2) - GetAbsolutePos();
    _mover->Start(_frozenTexture, FPoint(corner.x, corner.y), receiver, message);
}

void BasketControl::ShowHelp() {
    if (IsLocalTrue(_helpShownName) || IsLocalTrue("Want tutorial")) return;
    PermanentStorage::SetLocalBool(_helpShownName, true);
    _help = TemplateCommands::BuildControl(ObjectWeakPointer<Control>(this), TemplateLib::GetTemplate(_helpTemplateName));
}
