#pragma once
// The options dialog's conductor: slides the dialog in and out, keeps the settings it opened with
// for "Options cancel", and every frame applies the window mode and the two volumes.

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/Variable.h"

class OptionsDispatcherControl : public MouseTransparentControl, public MessageReceiver {
public:
    OptionsDispatcherControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~OptionsDispatcherControl() override;

    void Draw() override {}
    void Update(float dt) override;

    void OnMessage(std::string message) override;

    bool IsShowing() const { return _isShowing; }

private:
    void Move(const std::string& where);
    void Finish();
    void ApplyWindowMode();

    bool _isShowing = false;
    float _savedSoundVolume = 0.0f;
    float _savedMusicVolume = 0.0f;
    bool _savedFullScreen = false;
    bool _savedCustomCursor = false;
    bool _savedFieldHints = false;
    bool _savedShopTips = false;
    std::string _reportFinishTo;
    std::string _finishMessage;
    ObjectSmartPointer<Variable<bool>> _screensaverMode;
    ObjectSmartPointer<Variable<bool>> _fullScreen;
    ObjectSmartPointer<Variable<bool>> _customCursor;
    ObjectSmartPointer<Variable<bool>> _fieldHints;
    ObjectSmartPointer<Variable<bool>> _shopTips;
    ObjectSmartPointer<Variable<float>> _soundVolume;
    ObjectSmartPointer<Variable<float>> _musicVolume;
};
