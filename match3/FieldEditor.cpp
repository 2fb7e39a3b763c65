#include "match3/FieldEditor.h"

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/Rect.h"
#include "core/XmlElement.h"
#include "match3/board/BoardEditing.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

const char* const COMMANDS[] = {"Editor new level",  "Editor open level",       "Editor save level",
                                "Editor delete level", "Editor set time",       "Editor select level chips",
                                "Editor reset born point"};
constexpr int COMMAND_COUNT = static_cast<int>(sizeof(COMMANDS) / sizeof(COMMANDS[0]));

Point ReadPosition(const ObjectWeakPointer<XmlElement>& parent) {
    const ObjectWeakPointer<XmlElement> position = parent->GetFirstChildElement("position");
    Assert(position != NULL);
    if (position == NULL) return Point();
    return Point(position->GetIntAttribute("x"), position->GetIntAttribute("y"));
}

}  // namespace

FieldEditor::FieldEditor(const ObjectWeakPointer<XmlElement>& xml) {
    Assert(xml != NULL);
    if (xml == NULL) return;
    _background = ResourceManager::GetTextureOrFrame(xml->GetStringAttribute("backgroundTextureId"));
    _bornPicture = ResourceManager::GetTextureOrFrame(xml->GetStringAttribute("bornTextureId"));
    _position = ReadPosition(xml);
    const ObjectWeakPointer<XmlElement> group = xml->GetFirstChildElement("group");
    Assert(group != NULL);
    if (group == NULL) return;
    const Point first = ReadPosition(group);
    const int stepX = group->GetIntAttribute("stepX");
    const int stepY = group->GetIntAttribute("stepY");
    int k = 0;
    for (ObjectWeakPointer<XmlElement> b = group->GetFirstChildElement("button"); b != NULL;
         b = b->GetNextElement("button"), ++k) {
        Button button;
        button.position = Point(first.x + k * stepX, first.y + k * stepY);
        button.picture = ResourceManager::GetTextureOrFrame(b->GetStringAttribute("textureId"));
        button.value = b->GetIntAttribute("value");
        if (button.value == 0 && _toolPicture == NULL) _toolPicture = button.picture;
        _buttons.push_back(button);
    }
}

std::string FieldEditor::CommandOf(int value) {
    const int i = value - EDITOR_FIRST_COMMAND;
    return i >= 0 && i < COMMAND_COUNT ? COMMANDS[i] : std::string();
}

const FieldEditor::Button* FieldEditor::ButtonAt(const Point& p, bool toolsOnly) const {
    for (const Button& button : _buttons) {
        if (toolsOnly && button.value >= EDITOR_FIRST_COMMAND) continue;
        if (button.picture == NULL) continue;
        const Rect box = button.picture->GetRectangle().MovedTo(button.position.x, button.position.y);
        if (box.Contains(p.x, p.y)) return &button;
    }
    return nullptr;
}

void FieldEditor::OnPress() {
    const Point m = GetMousePos();
    const Button* button = ButtonAt(Point(m.x - _position.x, m.y - _position.y), false);
    if (button == nullptr) return;
    if (button->value < EDITOR_FIRST_COMMAND) {
        _tool = button->value;
        _toolPicture = button->picture;
        return;
    }
    const std::string command = CommandOf(button->value);
    if (!command.empty()) SendMessage("GameField", command);
}

bool FieldEditor::Apply(bool& born, int& color, int& painted, int& locks, bool erase) {
    if (_tool >= EDITOR_FIRST_COMMAND) return false;
    if (!erase) {
        const Point m = GetMousePos();
        const Point q(m.x - _position.x, m.y - _position.y);
        const Button* button = ButtonAt(q, true);
        if (button != nullptr) {
            _tool = button->value;
            _toolPicture = button->picture;
        }
        if (_background != NULL && _background->IsPointOpaque(q)) return false;
    }
    return ApplyEditorTool(_tool, erase, born, color, painted, locks);
}

void FieldEditor::Draw() {
    if (_background != NULL) _background->Draw(_position);
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.MatrixTranslate(static_cast<float>(_position.x), static_cast<float>(_position.y), 0.0f);
    for (const Button& button : _buttons) {
        if (button.picture != NULL) button.picture->Draw(button.position);
    }
    device.PopMatrix();
    Render::fonts.SetFont("arial");
    Render::fonts.DrawString(600, 570, "Level name: " + _levelName, 1.0f, 0, false);
    Render::fonts.DrawString(600, 550, "Level time: " + std::to_string(_levelTime), 1.0f, 0, false);
    if (_pressed || _toolPicture == NULL) return;
    const Rect box = _toolPicture->GetRectangle();
    const Point m = GetMousePos();
    device.PushAlpha(0.6f);
    _toolPicture->Draw(Point(m.x - box.width / 2, m.y - box.height / 2));
    device.PopAlpha();
}
