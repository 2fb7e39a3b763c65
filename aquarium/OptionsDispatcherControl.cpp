#include "aquarium/OptionsDispatcherControl.h"

#include "core/Assert.h"
#include "core/Math.h"
#include "core/MessageServer.h"
#include "core/PermanentVariable.h"
#include "core/String.h"
#include "shell/Application.h"
#include "shell/SoundSystem.h"
#include "shell/Window.h"

namespace {
const char* const MOVER = "Options mover";

// 0..1 as 0..100, halves away from zero; a value out of range is clamped.
int Percent(float volume) {
    if (!(volume > 0.0f)) return 0;
    if (volume > 1.0f) return 100;
    return Math::round(volume * 100.0f);
}
}  // namespace

OptionsDispatcherControl::OptionsDispatcherControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml),
      MessageReceiver(xml),
      _screensaverMode(new PermanentVariable<Global, bool>("temp:ScreensaverMode")),
      _fullScreen(new PermanentGlobalLocalVariable<bool>("isFullScreen")),
      _customCursor(new PermanentGlobalLocalVariable<bool>("isCursorCustom")),
      _fieldHints(new PermanentVariableOrDef<Local, bool>("Show game field hints", true)),
      _shopTips(new PermanentVariableOrDef<Local, bool>("Show shop tips", true)),
      _soundVolume(new PermanentGlobalLocalVariable<float>("Sound Volume")),
      _musicVolume(new PermanentGlobalLocalVariable<float>("Music Volume")) {}

OptionsDispatcherControl::~OptionsDispatcherControl() = default;

void OptionsDispatcherControl::Move(const std::string& where) {
    SendMessage(MOVER, "report arrival to null");
    SendMessage(MOVER, "set arrival message null");
    SendMessage(MOVER, "move to " + where);
}

void OptionsDispatcherControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "report finish to ")) {
        Assert(!_isShowing);
        Assert(_reportFinishTo.empty());
        _reportFinishTo = message;
        Assert(!_reportFinishTo.empty());
    } else if (String::IsHeadCut(message, "set finish message ")) {
        Assert(!_isShowing);
        Assert(_finishMessage.empty());
        _finishMessage = message;
        Assert(!_finishMessage.empty());
    } else if (message == "Show dialog") {
        Assert(!_isShowing);
        Assert(!_reportFinishTo.empty());
        Assert(!_finishMessage.empty());
        _savedSoundVolume = _soundVolume->GetValue();
        _savedMusicVolume = _musicVolume->GetValue();
        _savedFullScreen = _fullScreen->GetValue();
        _savedCustomCursor = _customCursor->GetValue();
        _savedFieldHints = _fieldHints->GetValue();
        _savedShopTips = _shopTips->GetValue();
        Move("in");
        _isShowing = true;
    } else if (message == "Options ok") {
        Assert(_isShowing);
        Finish();
    } else if (message == "Options cancel") {
        Assert(_isShowing);
        _soundVolume->SetValue(_savedSoundVolume);
        _musicVolume->SetValue(_savedMusicVolume);
        _fullScreen->SetValue(_savedFullScreen);
        _customCursor->SetValue(_savedCustomCursor);
        _fieldHints->SetValue(_savedFieldHints);
        _shopTips->SetValue(_savedShopTips);
        Finish();
    } else {
        MessageReceiver::OnMessage(message);
    }
}

void OptionsDispatcherControl::Finish() {
    Move("out");
    if (!_reportFinishTo.empty()) SendMessage(_reportFinishTo, _finishMessage);
    _isShowing = false;
    _reportFinishTo.clear();
    _finishMessage.clear();
}

void OptionsDispatcherControl::ApplyWindowMode() {
    if (_screensaverMode->GetValue()) return;
    if (Core::appInstance == nullptr) return;
    const ObjectWeakPointer<Window> window = Core::appInstance->GetWindow();
    if (window == NULL) return;
    const bool wanted = _fullScreen->GetValue();
    if (wanted == window->IsFullscreen()) return;
    if (wanted) {
        window->SwitchToFullscreen();
    } else {
        window->SwitchToWindowed();
    }
    Assert(window->IsFullscreen() == wanted);
    // A mode that cannot be reached is written back, so the setting tells the truth.
    if (window->IsFullscreen() != wanted) _fullScreen->SetValue(window->IsFullscreen());
}

void OptionsDispatcherControl::Update(float) {
    ApplyWindowMode();
    if (_soundVolume->IsChanged()) Sound::soundSystem.SetSoundVolume(Percent(_soundVolume->GetValue()));
    if (_musicVolume->IsChanged()) Sound::soundSystem.SetMusicVolume(Percent(_musicVolume->GetValue()));
}
