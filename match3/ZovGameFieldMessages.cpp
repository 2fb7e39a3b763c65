// The commands of the receiver "GameField": pause and continue, the timer's shine and value,
// restart, the lightning's cell clearing, the reshuffle, the end-of-level dialog buttons and the
// hint requests. The level editor's commands are in ZovGameFieldEditor.cpp.
#include <cstdlib>

#include "content/ControllerManager.h"
#include "core/Assert.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/String.h"
#include "match3/ZovGameFieldControl.h"
#include "shell/SoundSystem.h"

namespace {

// The text after a leading phrase ending in a blank.
bool HeadCut(const std::string& message, const std::string& head, std::string& rest) {
    if (message.compare(0, head.size(), head) != 0) return false;
    rest = message.substr(head.size());
    return true;
}

}  // namespace

void ZovGameFieldControl::OnMessage(std::string message) {
    std::string arg;
    const float hintPause = _board.Tuning().HINT_PAUSE;
    if (message == "Pause" || HeadCut(message, "Pause ", arg)) {
        _paused = true;
        if (arg == "hint") {
            SetHintOpen(true);
        } else {
            _particles.PauseAll();
        }
        _fallParticles.PauseAll();
    } else if (message == "Continue" || HeadCut(message, "Continue ", arg)) {
        _hintBoxShown = false;
        // A box still open keeps the field waiting; its own "Continue hint" lets it go.
        _paused = arg != "hint" && IsHintOpen();
        if (arg == "hint") {
            SetHintOpen(false);
        } else {
            _particles.ResumeAll();
        }
        _fallParticles.ResumeAll();
    } else if (HeadCut(message, "Set timer shine ", arg)) {
        if (arg == "on") {
            if (_timer.Get() != nullptr) _timer->shining = true;
        } else if (arg == "off") {
            StopTimerShine();
        } else {
            Assert(false);
        }
    } else if (HeadCut(message, "Set timer ", arg)) {
        if (_timer.Get() != nullptr) _timer->SetProgress(Float::Parse(arg));
    } else if (message == "Restart") {
        Restart();
    } else if (message == "ContinueTimer") {
        _board.SetTimerStopped(false);
    } else if (HeadCut(message, "Clear cell ", arg)) {
        _board.ClearCellCommand(arg);
    } else if (message == "Reshufle") {
        SendMessage("fieldReminder", "set delay 1.0");
        SendMessage("fieldReminder", "set message ContinueTimer");
        SendMessage("fieldReminder", "report to GameField");
        _board.NoMovesReshuffle(false, false);
        _board.SetReshufflePending(false);
    } else if (EditorCommand(message)) {
        // a command of the level editor or its dialogs
    } else if (message == "StatButtonOk") {
        SendMessage("Statistics modal dialog", "hide");
        SendExit();
    } else if (message == "Lose money ok") {
        SendMessage("Game field modal dialog", "hide");
        SendExit();
    } else if (message == "three_hint") {
        if (_board.GetAllPaints() <= 0 || PermanentStorage::GetLocalBoolOrDef("three_hint", false)) return;
        if (_hintWait > 0.0f || _stillTime <= 0.4f) _delayedMessages.Add("GameField", message, 1.0f);
    } else if (_board.GetAllPaints() <= 0) {
        return;
    } else if (message == "timer_hint") {
        if (HintMayShow()) {
            AfterHint(ShowHint(400, 300, "timer", 770, 260, 0.0f));
        } else {
            _delayedMessages.Add("GameField", message, hintPause);
        }
    } else if (message == "eye_hint") {
        if (HintMayShow()) {
            AfterHint(ShowHint(200, 300, "eye", 30, 570, 135.0f));
        } else {
            _delayedMessages.Add("GameField", message, hintPause);
        }
    } else if (message == "double_hint") {
        CellHint(message, "double", 2, -1);
    } else if (message == "lock_hint") {
        CellHint(message, "lock", -1, 1);
    } else if (message == "double_lock_hint") {
        CellHint(message, "double_lock", -1, 2);
    } else if (HeadCut(message, "bomb_hint ", arg)) {
        BombHint(arg);
    }
}

void ZovGameFieldControl::AfterHint(bool shown) {
    _hintBoxShown = shown;
    _hintWait = _board.Tuning().HINT_PAUSE;
}

void ZovGameFieldControl::CellHint(const std::string& command, const std::string& hintName, int painted, int locks) {
    std::vector<BoardPoint> cells;
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            if (cell._color == NO_CELL) continue;
            if ((painted >= 0 && cell._painted == painted) || (locks >= 0 && cell._locks == locks)) {
                cells.push_back({x, y});
            }
        }
    }
    if (cells.empty()) return;
    const BoardPoint c = cells[static_cast<std::size_t>(_random.Modulo(static_cast<int>(cells.size())))];
    const Point centre = CellCentre(c.x, c.y);
    const int boxX = centre.x - 350 < 0 ? centre.x + 60 : centre.x - 350;
    if (HintMayShow()) {
        AfterHint(ShowHint(boxX, 300, hintName, centre.x, centre.y, 0.0f));
    } else {
        _delayedMessages.Add("GameField", command, _board.Tuning().HINT_PAUSE);
    }
}

bool ZovGameFieldControl::LocateBonus(const std::string& name, Point& point) {
    int kind = 0;
    if (name == "black_bomb") kind = BLACK_BOMB;
    if (name == "fire_cracker") kind = FIRE_CRACKER;
    if (name == "dynamit") kind = DYNAMITE;
    if (name == "nuke") kind = NUKE;
    if (name == "lighting") kind = LIGHTNING;
    if (kind == 0) return false;
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            if (cell._color != NO_CELL && cell._bonus == kind && !_pieces.At(x, y).IsMoving()) {
                point = CellCentre(x, y);
                return true;
            }
        }
    }
    return false;
}

void ZovGameFieldControl::BombHint(const std::string& kind) {
    Point p;
    if (HintMayShow() && LocateBonus(kind, p)) {
        const int boxX = p.x - 350 < 0 ? p.x + 60 : p.x - 350;
        AfterHint(ShowHint(boxX, 300, kind, p.x, p.y, 0.0f));
    } else {
        _delayedMessages.Add("GameField", "bomb_hint " + kind, _board.Tuning().HINT_PAUSE);
    }
}

void ZovGameFieldControl::Restart() {
    _fieldStartLeft = _fieldStart;
    _readyGoLeft = _readyGoEffectStart;
    _effects.Clear();
    _particles.ResumeAll();
    _fallParticles.ResumeAll();
    _particles.FinishAll();
    _fallParticles.FinishAll();
    Core::GetControllerManager().Update(0.0f);
    std::string name = _levelName;
    if (TryLoadLevel(name) == LevelLoad::Broken) GiveUpLevel();
}
