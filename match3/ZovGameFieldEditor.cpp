// The level editor inside the field (a developer tool): entering and leaving it, presses on the
// panel, painting and erasing cells with its tools, growing and trimming the board, the editor's
// keys, commands and dialogs, and saving the edited level into "PlLevels.xml".
#include <cctype>

#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/Bool.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/board/BoardEditing.h"
#include "shell/RenderDevice.h"

namespace {

constexpr int KEY_F2 = 0x71;
constexpr int KEY_F3 = 0x72;
constexpr int KEY_F5 = 0x74;
const char* const LEVELS_FILE = "PlLevels.xml";
const char* const DIALOG = "Game field modal dialog";
const char* const OVERWRITE_DIALOG = "Overwrite confirmation modal dialog";
const char* const PANEL_MOVER = "Game field panel mover";
// Holds the level list and its arrows, off the screen unless editing.
const char* const LIST_MOVER = "Editor list mover";
constexpr int CHIP_COLOURS = 9;

void Move(const char* mover, const std::string& position) {
    SendMessage(mover, "report arrival to null");
    SendMessage(mover, "set arrival message null");
    SendMessage(mover, "move to " + position);
}

// A level time typed by the developer: a positive decimal without sign or leading zero.
bool IsLevelTime(const std::string& text) {
    if (text.empty() || text.size() > 9 || text[0] == '0') return false;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

}  // namespace

bool ZovGameFieldControl::IsEditing() const { return _editor != NULL && _editor->_editing; }

void ZovGameFieldControl::CentreField() {
    const int size = _board.GetCellSize();
    SetAbsolutePos(Point(_homePos.x - _board.GetSizeX() * size / 2, _homePos.y - _board.GetSizeY() * size / 2));
    _board.SetAbsolutePos({GetAbsolutePos().x, GetAbsolutePos().y});
}

void ZovGameFieldControl::MoveField(int dx, int dy) {
    const Point a = GetAbsolutePos();
    SetAbsolutePos(Point(a.x + dx, a.y + dy));
    _board.SetAbsolutePos({a.x + dx, a.y + dy});
}

// Entering and leaving.

void ZovGameFieldControl::EnterEditor() {
    Move(PANEL_MOVER, "out");
    Move(LIST_MOVER, "in");
    _editor->_editing = true;
    Restart();
    _fieldShown = true;
    _shine->Update(999.0f);
}

void ZovGameFieldControl::LeaveEditor() {
    Move(PANEL_MOVER, "in");
    Move(LIST_MOVER, "out");
    SaveLevel(false);
    _editor->_editing = false;
    Restart();
}

// Input while editing.

void ZovGameFieldControl::EditorPress(ObjectWeakPointer<MouseDownEvent> event) {
    _editor->_pressed = true;
    event->CaptureMouse();
    _editor->OnPress();
    _isInDragging = true;
}

void ZovGameFieldControl::EditorRelease() {
    _editor->_pressed = false;
    CentreField();
}

void ZovGameFieldControl::EditorPaint(int lx, int ly, int cx, int cy) {
    const bool inField = _board.InField(cx, cy);
    bool born = false;
    int color = NO_CELL;
    int painted = 0;
    int locks = 0;
    if (inField) {
        const FieldCell& cell = _board.Cell(cx, cy);
        born = cell._born;
        color = cell._color;
        painted = cell._painted;
        locks = cell._locks;
    }
    if (!_editor->Apply(born, color, painted, locks, false)) return;
    bool changed = !inField || _board.Cell(cx, cy)._color != color;
    const int sizeX = _board.GetSizeX();
    const int sizeY = _board.GetSizeY();
    const int size = _board.GetCellSize();
    if (ly < 0) --cy;
    // Growing at the top or the left moves the old cells down or right in the grid; the field
    // moves left for new columns, so the old cells keep their place on the screen.
    if (cy < 0 && sizeY - cy < MAX_FIELD_Y) {
        ReshapeBoard(_board, sizeX, sizeY - cy, 0, -cy);
        cy = 0;
        changed = true;
    }
    if (lx < 0) --cx;
    if (cx < 0 && _board.GetSizeX() - cx < MAX_FIELD_X) {
        ReshapeBoard(_board, _board.GetSizeX() - cx, _board.GetSizeY(), -cx, 0);
        MoveField(size * cx, 0);
        cx = 0;
        changed = true;
    }
    if (cx >= 0 && cx < MAX_FIELD_X && cy >= 0 && cy < MAX_FIELD_Y) {
        if (_board.GetSizeX() <= cx) {
            ReshapeBoard(_board, cx + 1, _board.GetSizeY(), 0, 0);
            changed = true;
        }
        if (_board.GetSizeY() <= cy) {
            MoveField(0, -(cy - _board.GetSizeY() + 1) * size);
            ReshapeBoard(_board, _board.GetSizeX(), cy + 1, 0, 0);
            changed = true;
        }
        FieldCell& cell = _board.Cell(cx, cy);
        cell._born = born;
        cell._color = color;
        cell._painted = painted;
        cell._locks = locks;
    }
    if (changed) _board.ResetBornPoints();
}

void ZovGameFieldControl::EditorErase(int cx, int cy) {
    if (!_board.InField(cx, cy)) return;
    FieldCell& cell = _board.Cell(cx, cy);
    bool born = cell._born;
    int color = cell._color;
    int painted = cell._painted;
    int locks = cell._locks;
    _editor->Apply(born, color, painted, locks, true);
    const bool changed = cell._color != color;
    cell._born = born;
    cell._color = color;
    cell._painted = painted;
    cell._locks = locks;
    TrimBoard(_board);
    if (changed) _board.ResetBornPoints();
    CentreField();
}

void ZovGameFieldControl::EditorInput(ObjectWeakPointer<MouseMoveEvent> event, int cx, int cy) {
    if (event.InstanceOf<RightButtonDownEvent>()) {
        EditorErase(cx, cy);
        return;
    }
    if (!event.InstanceOf<KeyDownEvent>()) return;
    const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
    if (key->IsKeyHandled()) return;
    if (key->GetKey() == KEY_F5) {
        LeaveEditor();
        key->SetKeyHandled();
    } else if (key->GetKey() == KEY_F2) {
        OnMessage("Editor save level");
        key->SetKeyHandled();
    } else if (key->GetKey() == KEY_F3) {
        ShowLevelList(_levelName);
        key->SetKeyHandled();
    }
}

void ZovGameFieldControl::ShowLevelList(const std::string& active) {
    SendMessage("File listbox", "clear");
    for (const std::string& id : LevelIds()) SendMessage("File listbox", "add normal " + id);
    if (!active.empty()) SendMessage("File listbox", "set active " + active);
}

void ZovGameFieldControl::DrawEditorMarks() {
    if (_editor->_bornPicture == NULL) return;
    const Point a = GetAbsolutePos();
    const int size = _board.GetCellSize();
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            if (cell._color == NO_CELL || !cell._born) continue;
            _editor->_bornPicture->Draw(Point(a.x + x * size, a.y + (_board.GetSizeY() - y - 1) * size));
        }
    }
}

// Saving.

void ZovGameFieldControl::SaveLevel(bool confirm) {
    if (_editor == NULL || _board.GetSizeY() == 0) return;
    const std::string name = _editor->_levelName;
    // An empty id would stand for the file's first level when loading.
    if (name.empty()) {
        ReportError("Level not saved: it has no name");
        return;
    }
    _levelName = name;
    ObjectSmartPointer<XmlDocument> doc(new XmlDocumentRead(LEVELS_FILE));
    const ObjectWeakPointer<XmlElement> root = doc->GetRoot();
    // A file that cannot be read is kept as it is rather than replaced by this one level.
    if (root == NULL) {
        ReportError(std::string("Level '") + name + "' not saved: " + LEVELS_FILE + " cannot be read");
        return;
    }
    root->MarkVisitedTree();
    ObjectWeakPointer<XmlElement> old;
    for (ObjectWeakPointer<XmlElement> level = root->GetFirstChildElement("Level"); level != NULL;
         level = level->GetNextElement("Level")) {
        if (level->GetStringAttributeOrDef("id", "") == name) {
            old = level;
            break;
        }
    }
    if (old != NULL && confirm) {
        SendMessage(OVERWRITE_DIALOG, "instantiate OverwriteLevelDialogTemplate");
        return;
    }
    // Replacing without asking: the old level goes in the same write.
    if (old != NULL) old->Remove();
    if (old == NULL && confirm) SendMessage(DIALOG, "hide");
    AppendLevel(root, name, _editor->_levelTime, _editor->_chips, BoardLevelLines(_board));
    SortLevelsById(root);
    doc->Save(LEVELS_FILE);
}

// Commands of the editor's buttons and dialogs; false for any other text.

bool ZovGameFieldControl::EditorCommand(const std::string& message) {
    if (message == "File listbox double click") {
        std::string name = SendMessageReply("File listbox", "get active");
        const int old = PermanentStorage::GetLocalIntOrDef("LevelFileOrder", 1);
        if (!LoadLevel(name)) {
            Assert(false);
            return true;
        }
        const int number = PermanentStorage::GetLocalIntOrDef("LevelNumber", 1);
        PermanentStorage::SetLocalInt("LevelNumber", number - old + PermanentStorage::GetLocalInt("LevelFileOrder"));
        SendMessage("File listbox", "clear");
        _levelName = name;
        if (_editor != NULL) _editor->_levelName = name;
        if (_timer != NULL) _timer->SetProgress(0.0f);
        _timerRising = TIMER_RISE_TIME;
    } else if (message == "Overwrite level yes pressed") {
        SendMessage(OVERWRITE_DIALOG, "hide");
        if (_editor == NULL) return true;
        DeleteLevel(_editor->_levelName);
        SaveLevel(true);
    } else if (message == "Overwrite level no pressed") {
        SendMessage(OVERWRITE_DIALOG, "hide");
    } else if (message == "Enter level name ok pressed") {
        if (_editor == NULL) return true;
        _editor->_levelName = SendMessageReply("Level name edit", "get value");
        SaveLevel(true);
    } else if (message == "Enter level name cancel pressed") {
        SendMessage(DIALOG, "hide");
    } else if (message == "Editor new level") {
        if (_editor == NULL) return true;
        _editor->_levelName = "noname";
        _board.ResizeBoard(0, 0);
        SetAbsolutePos(_homePos);
        _board.SetAbsolutePos({_homePos.x, _homePos.y});
    } else if (message == "Editor open level") {
        const std::vector<std::string> ids = LevelIds();
        ShowLevelList(ids.empty() ? std::string() : ids.front());
    } else if (message == "Editor save level") {
        if (_editor == NULL) return true;
        SendMessage(DIALOG, "instantiate LevelNameEditTemplate");
        SendMessage("Level name edit", "set value " + _editor->_levelName);
    } else if (message == "Editor delete level") {
        if (Bool::Parse(SendMessageReply("File listbox", "is empty"))) return true;
        SendMessage(DIALOG, "template DeleteLevelDialogTemplate");
        SendMessage(DIALOG, "defineText [filename] " + SendMessageReply("File listbox", "get active"));
        SendMessage(DIALOG, "create instance");
    } else if (message == "Delete level yes pressed") {
        SendMessage(DIALOG, "hide");
        DeleteLevel(SendMessageReply("File listbox", "get active"));
        SendMessage("File listbox", "remove active");
    } else if (message == "Delete level no pressed") {
        SendMessage(DIALOG, "hide");
    } else if (message == "Editor set time") {
        if (_editor == NULL) return true;
        SendMessage(DIALOG, "instantiate SetLevelTimeTemplate");
        SendMessage("Level time edit", "set value " + std::to_string(_editor->_levelTime));
    } else if (message == "Set level time ok pressed") {
        if (_editor == NULL) return true;
        const std::string text = SendMessageReply("Level time edit", "get value");
        // A mistyped time keeps the old one: a level of no time cannot be played.
        if (IsLevelTime(text)) {
            _editor->_levelTime = Int::Parse(text);
        } else {
            ReportError("Level time '" + text + "' is not a positive number of seconds");
        }
        SendMessage(DIALOG, "hide");
    } else if (message == "Set level time cancel pressed") {
        SendMessage(DIALOG, "hide");
    } else if (message == "Editor reset born point") {
        _board.ResetBornPoints();
    } else if (message == "Editor select level chips") {
        if (_editor == NULL) return true;
        SendMessage(DIALOG, "instantiate ChipsDialogSelectTemplate");
        for (int i = 0; i < CHIP_COLOURS; ++i) PermanentStorage::SetLocalBool("editor_chip" + std::to_string(i), false);
        for (const char c : _editor->_chips) PermanentStorage::SetLocalBool(std::string("editor_chip") + c, true);
    } else if (message == "Select level chips ok") {
        if (_editor == NULL) return true;
        std::string chips;
        for (int i = 0; i < CHIP_COLOURS; ++i) {
            if (PermanentStorage::GetLocalBoolOrDef("editor_chip" + std::to_string(i), false)) chips += std::to_string(i);
        }
        _editor->_chips = chips;
        SendMessage(DIALOG, "hide");
    } else {
        return false;
    }
    return true;
}
