#pragma once
// The start-up splash: every JPEG picture of the folder "..\qzdata", one after another, each
// fading in from black, staying and fading out; a click skips to the fade-out. After the last
// picture (or at once without pictures) it ends the application's splash loop.

#include <memory>
#include <vector>

#include "controls/Control.h"

class RectangleTexture;

class SplashesControl : public MouseTransparentControl {
public:
    enum State { STATE_FADING_IN = 0, STATE_SHOWING = 1, STATE_FADING_OUT = 2 };

    SplashesControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~SplashesControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    int GetState() const { return _state; }
    float GetTime() const { return _time; }
    int GetCurrent() const { return _current; }
    std::size_t GetPictureCount() const { return _pictures.size(); }

private:
    void DrawVeil(float alpha);

    std::vector<std::unique_ptr<RectangleTexture>> _pictures;
    int _state = STATE_FADING_IN;
    float _time = 0.0f;
    int _current = 0;
    const float FADE_IN_TIME = 1.0f;
    const float SHOW_TIME = 2.0f;
    const float FADE_OUT_TIME = 1.0f;
};
