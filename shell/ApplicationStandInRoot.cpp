#include "shell/ApplicationStandInRoot.h"

#include <memory>

#include "core/MessageServer.h"
#include "core/Point.h"
#include "core/XmlElement.h"
#include "shell/Application.h"
#include "shell/ApplicationRoot.h"
#include "shell/BitmapFont.h"
#include "shell/OldTexture.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/ScriptServices.h"

namespace {

class StandInRoot : public RootContainerPort {
public:
    explicit StandInRoot(const ObjectWeakPointer<XmlElement>& root) {
        ObjectWeakPointer<XmlElement> screen = root->GetFirstChildElement("StandInScreen");
        if (screen == NULL) return;
        const std::string background = screen->GetStringAttributeOrDef("background", "");
        _font = screen->GetStringAttributeOrDef("font", "");
        _text = screen->GetStringAttributeOrDef("text", "");
        _textX = screen->GetIntAttributeOrDef("textX", 400);
        _textY = screen->GetIntAttributeOrDef("textY", 300);
        if (!background.empty()) {
            _background.Load(background);
            _background.Upload();
            _hasBackground = true;
        }
        if (!_font.empty()) {
            if (!Render::fonts.DoesFontExist(_font)) Render::fonts.AddFont(BitmapFont(_font, 1, -1));
            if (!Render::fonts.DoesFontExist("boom")) Render::fonts.AddFontAlias("boom", _font);
        }
    }
    ~StandInRoot() override { _background.Release(); }

    void Update(float) override {
        if (Core::appInstance) Core::appInstance->_isShowingSplashes = false;
        ProcessPostedMessages();
    }
    void Draw() override {
        if (_hasBackground) {
            _background.Bind();
            _background.Draw(Point(0, 0));
        }
        if (!_font.empty() && !_text.empty()) {
            Render::fonts.SetFont(_font);
            Render::fonts.DrawString(_textX, _textY, _text, 1.0f, 2, true);
        }
        ProcessPostedMessages();
    }
    void MouseMove(int, int) override { ProcessPostedMessages(); }
    void MouseDown(int, int) override { ProcessPostedMessages(); }
    void MouseUp(int, int) override { ProcessPostedMessages(); }
    void MouseDoubleClick(int, int) override { ProcessPostedMessages(); }
    void RightButtonDown(int, int) override { ProcessPostedMessages(); }
    void RightButtonUp(int, int) override { ProcessPostedMessages(); }
    void RightButtonDouble(int, int) override { ProcessPostedMessages(); }
    void AcceptMessage(const Message&) override { ProcessPostedMessages(); }

private:
    RectangleTexture _background;
    bool _hasBackground = false;
    std::string _font;
    std::string _text;
    int _textX = 400;
    int _textY = 300;
};

std::unique_ptr<StandInRoot>& Current() {
    static std::unique_ptr<StandInRoot> root;
    return root;
}

}  // namespace

void ConnectStandInRoot() {
    GetScriptServices().setRootContainer = [](const ObjectWeakPointer<XmlElement>& root) {
        Current().reset();
        Current().reset(new StandInRoot(root));
    };
    ApplicationRoot::Connect([]() -> RootContainerPort* { return Current().get(); }, [] { Current().reset(); });
}

void ReleaseStandInRoot() { Current().reset(); }
