#pragma once
// The game field's level editor panel: a background with tool and command buttons, the current
// tool's picture at the mouse, the name and time of the edited level, and the editor's state that
// the field's input and commands read and change. The field owns it and draws it while editing.

#include <string>
#include <vector>

#include "core/MousePosRememberer.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "shell/Texture.h"

class XmlElement;

class FieldEditor : public MousePosRememberer {
public:
    struct Button {
        Point position;
        UsingPointer<Texture> picture;
        int value = 0;
    };

    // Attributes "backgroundTextureId", "bornTextureId"; child "position"; child "group" with its
    // "position", "stepX", "stepY" and one "button" ("textureId", "value") per button.
    explicit FieldEditor(const ObjectWeakPointer<XmlElement>& xml);

    // A press on the panel: a tool button becomes the tool, a command button sends its command to
    // "GameField".
    void OnPress();
    // Applies the current tool to a cell's values (see ApplyEditorTool). Painting first lets a
    // tool button under the mouse become the tool and paints nothing through the panel's opaque
    // background. False when nothing was to be applied.
    bool Apply(bool& born, int& color, int& painted, int& locks, bool erase);
    void Draw();

    // The command a button value stands for; empty for a tool.
    static std::string CommandOf(int value);

    int _tool = 0;
    UsingPointer<Texture> _toolPicture;
    std::vector<Button> _buttons;
    UsingPointer<Texture> _background;
    Point _position;
    UsingPointer<Texture> _bornPicture;
    bool _editing = false;
    bool _pressed = false;
    std::string _levelName;
    int _levelTime = 45;
    std::string _chips = "0123";

private:
    // The first button whose picture, placed at its position, holds the point (panel coordinates).
    const Button* ButtonAt(const Point& p, bool toolsOnly) const;
};
