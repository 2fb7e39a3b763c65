#include "controls/SplashesControl.h"

#include "content/ResourceListDirectory.h"
#include "controls/FlowApplicationHooks.h"
#include "core/Assert.h"
#include "core/Color.h"
#include "shell/OldTexture.h"
#include "shell/RenderDevice.h"

namespace {

const char* const SPLASH_FOLDER = "..\\qzdata";

}  // namespace

SplashesControl::SplashesControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml) {
    const FileAttributesCondition any(0, 0);
    if (!DirectoryListing::GetFileNames(SPLASH_FOLDER, any).empty()) {
        const std::vector<std::string> names =
            DirectoryListing::GetFileNames(std::string(SPLASH_FOLDER) + "\\*.jpg", any.AndNotDirectory());
        for (const std::string& name : names) {
            auto picture = std::make_unique<RectangleTexture>(std::string(SPLASH_FOLDER) + "\\" + name);
            picture->Upload();
            _pictures.insert(_pictures.begin(), std::move(picture));
        }
    }
    _state = STATE_FADING_IN;
    _time = 0.0f;
    _current = 0;
    if (_pictures.empty()) {
        _state = STATE_FADING_OUT;
        _time = FADE_OUT_TIME;
    }
}

SplashesControl::~SplashesControl() {
    for (std::unique_ptr<RectangleTexture>& picture : _pictures) {
        picture->Release();
        picture.reset();
    }
    _pictures.clear();
}

void SplashesControl::Update(float dt) {
    _time += dt;
    switch (_state) {
    case STATE_FADING_IN:
        if (_time >= FADE_IN_TIME) {
            _state = STATE_SHOWING;
            _time = 0.0f;
        }
        break;
    case STATE_SHOWING:
        if (_time >= SHOW_TIME) {
            _state = STATE_FADING_OUT;
            _time = 0.0f;
        }
        break;
    case STATE_FADING_OUT:
        if (_time >= FADE_OUT_TIME) {
            ++_current;
            if (_current < static_cast<int>(_pictures.size())) {
                _state = STATE_FADING_IN;
                _time = 0.0f;
            } else {
                EndSplashLoop();
                --_current;
                _time = FADE_OUT_TIME;
            }
        }
        break;
    default:
        Assert(false);
        break;
    }
}

void SplashesControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent>) {
    if (_state == STATE_SHOWING) {
        _state = STATE_FADING_OUT;
        _time = 0.0f;
    } else if (_state == STATE_FADING_IN) {
        _time = (1.0f - _time / FADE_IN_TIME) * FADE_OUT_TIME;
        _state = STATE_FADING_OUT;
    }
}

void SplashesControl::DrawVeil(float alpha) {
    Assert(0.0f <= alpha && alpha <= 1.0f);
    RenderDevice& device = Render::device;
    device.EnableAlphaBlend(true);
    device.SetBlendMode(0);
    device.EnableTexture(false);
    device.PushAlpha(alpha);
    device.PushColor(Color(0, 0, 0, 255));
    device.DrawRect(0, 0, RenderDevice::LOGICAL_WIDTH, RenderDevice::LOGICAL_HEIGHT);
    device.PopColor();
    device.PopAlpha();
    device.EnableTexture(true);
}

void SplashesControl::Draw() {
    if (_current < 0 || _current >= static_cast<int>(_pictures.size())) {
        return;
    }
    RectangleTexture& picture = *_pictures[static_cast<std::size_t>(_current)];
    picture.Bind();
    picture.Draw(Point(0, 0));
    switch (_state) {
    case STATE_FADING_IN:
        Assert(FADE_IN_TIME > 0.0f);
        DrawVeil(1.0f - _time / FADE_IN_TIME);
        break;
    case STATE_SHOWING:
        break;
    case STATE_FADING_OUT:
        Assert(FADE_OUT_TIME > 0.0f);
        DrawVeil(_time / FADE_OUT_TIME);
        break;
    default:
        Assert(false);
        break;
    }
}
