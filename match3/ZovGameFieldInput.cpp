// Field input: presses select pieces, drags and neighbour presses swap them, the first press
// starts the level timer, a double click sets a bomb off, the right button drops the selection,
// and the developer keys (only while the global "dev" is true). While the level editor is on,
// presses, drags, the right button and the keys go to the editor.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/effects/PieceEffects.h"
#include "match3/effects/SplashEffect.h"
#include "shell/SoundSystem.h"

namespace {

constexpr int KEY_F1 = 0x70;
constexpr int KEY_F2 = 0x71;
constexpr int KEY_F3 = 0x72;
constexpr int KEY_F4 = 0x73;
constexpr int KEY_F5 = 0x74;
constexpr int KEY_F6 = 0x75;
constexpr int KEY_C = 0x43;
constexpr int KEY_H = 0x48;
constexpr int KEY_Q = 0x51;
constexpr int KEY_R = 0x52;
constexpr int KEY_T = 0x54;

}  // namespace

Point ZovGameFieldControl::FieldPoint(const Point& mouse) {
    const Point a = GetAbsolutePos();
    // However far away the pointer is, the field's arithmetic stays within the int range: a point
    // this far off is outside the field either way.
    static constexpr long long FAR_AWAY = 1 << 20;
    auto bounded = [](long long v) { return static_cast<int>(std::max(-FAR_AWAY, std::min(v, FAR_AWAY))); };
    return Point(bounded(static_cast<long long>(mouse.x) - a.x),
                 bounded(static_cast<long long>(_board.GetSizeY()) * _board.GetCellSize() -
                         (static_cast<long long>(mouse.y) - a.y)));
}

bool ZovGameFieldControl::IsMouseOverField() {
    const Point p = FieldPoint(GetMousePos());
    const int size = _board.GetCellSize();
    return p.x > 0 && p.y > 0 && _board.InField(p.x / size, p.y / size) && _board.GetAllPaints() > 0;
}

void ZovGameFieldControl::OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) {
    if (_paused || _board.IsTimerStopped() || _levelBroken) return;
    const Point p = FieldPoint(GetMousePos());
    _pressPoint = p;
    const int size = _board.GetCellSize();
    const int cx = p.x / size;
    const int cy = p.y / size;
    bool mayDoubleClick = true;
    if (!event->IsMouseCaptured()) {
        Assert(!_isInDragging);
        if (_levelTime > 0 && (!_shine->_done || !_fieldShown)) FinishAppearance();
        if (IsEditing()) {
            EditorPress(event);
            return;
        }
        if (IsMouseOverField()) {
            if (_board.GetAllPaints() <= 0) return;
            Sound::soundSystem.PlaySampleEx("item_click", _board.ColumnPan(cx), false);
            if (_waitFirstClick) {
                _firstHintDue = true;
                _waitFirstClick = false;
                _particles.FinishAll();
                _timerRising = 0.0f;
                if (_timer.Get() != nullptr && _levelTime > 0) {
                    _timer->SetProgress(std::min(_timeLeft / static_cast<float>(_levelTime), 1.0f));
                }
            }
            event->CaptureMouse();
            _isInDragging = true;
            if (p.x > 0 && p.y > 0) SelectCell(cx, cy);
        } else if (_waitFirstClick) {
            _particles.FinishAll();
        }
    }
    if (!mayDoubleClick) return;
    if (event.InstanceOf<MouseDoubleClickEvent>() && _board.InField(cx, cy) && _board.GetAllPaints() > 0) {
        const FieldCell& cell = _board.Cell(cx, cy);
        if (cell._bonus != NO_BONUS && cell._bonus != LIGHTNING && !_pieces.At(cx, cy).IsMoving()) {
            _board.Detonate(cx, cy, cell._bonus, NO_CELL);
            _board.Selection().clear();
        }
    }
}

bool ZovGameFieldControl::HintMayShow() const {
    static constexpr float BOARD_AT_REST = 0.4f;
    return _hintWait <= 0.0f && !_isInDragging && _stillTime > BOARD_AT_REST;
}

void ZovGameFieldControl::ShowFirstHint() {
    if (_board.GetAllPaints() <= 0 || PermanentStorage::GetLocalBoolOrDef("first_hint", false)) return;
    if (_idleTime == _tuning.TIME_BEFORE_HELP || _idleTime == 0.0f) return;
    if (!_board.HasMove()) return;
    const BoardPoint p0 = _board.GetHintMove().first;
    const BoardPoint p1 = _board.GetHintMove().second;
    if (std::abs(p1.x - p0.x) + std::abs(p1.y - p0.y) != 1) return;
    const Point a = GetAbsolutePos();
    const int half = _board.GetCellSize() / 2;
    const int tx = a.x + static_cast<int>(_board.CellX(p1.x) + _board.CellX(p0.x)) / 2 + half;
    const int ty = a.y + static_cast<int>(_board.CellY(p1.y) + _board.CellY(p0.y)) / 2 + half;
    const int boxX = tx - 350 < 0 ? tx + 60 : tx - 350;
    ShowHint(boxX, 300, "first", tx, ty, p0.x != p1.x ? -90.0f : 0.0f);
    _hintWait = _board.Tuning().HINT_PAUSE;
    _hintBoxShown = false;
    _idleTime = _tuning.TIME_BEFORE_HELP;
}

bool ZovGameFieldControl::SelectCell(int x, int y) {
    std::vector<BoardPoint>& selection = _board.Selection();
    const bool near = !selection.empty() &&
                      (selection.size() > 1 || std::abs(selection[0].x - x) + std::abs(selection[0].y - y) <= 1);
    if (!near && _board.InField(x, y)) {
        const FieldCell& cell = _board.Cell(x, y);
        if (cell._color >= 0 && cell._locks == 0 && !_pieces.At(x, y).IsMoving()) {
            if (selection.size() == 1) {
                _board.CellAction(selection[0].x, selection[0].y, CELL_STOP);
                selection.clear();
            }
            selection.push_back({x, y});
            if (cell._bonus == NO_BONUS) _board.CellAction(x, y, CELL_SELECTED);
            return true;
        }
    }
    if (selection.size() == 1 && selection[0] == BoardPoint{x, y}) {
        _board.CellAction(x, y, CELL_STOP);
        selection.clear();
    }
    return false;
}

void ZovGameFieldControl::TryDragSwap(int x, int y) {
    std::vector<BoardPoint>& selection = _board.Selection();
    if (selection.size() != 1) return;
    const BoardPoint s = selection[0];
    if (std::abs(s.x - x) + std::abs(s.y - y) != 1 || !_board.InField(x, y)) return;
    const FieldCell& cell = _board.Cell(x, y);
    if (cell._color < 0 || cell._locks != 0 || _pieces.At(x, y).IsMoving()) return;
    Sound::soundSystem.PlaySample("item_move");
    _isInDragging = false;
    _board.CellAction(s.x, s.y, CELL_TURN);
    selection.push_back({x, y});
    _board.SwapCells(s.x, s.y, x, y);
    const float time = _board.Tuning().EXCHANGE_TIME;
    _pieces.At(s.x, s.y).StartMove(_board.CellX(x), _board.CellY(y), _board.CellX(s.x), _board.CellY(s.y), 1.0f, 1.0f,
                                   time, 5, 0.0f, 0.0f, 0.0f);
    _pieces.At(x, y).StartMove(_board.CellX(s.x), _board.CellY(s.y), _board.CellX(x), _board.CellY(y), 1.0f, 1.0f,
                               time, 5, 0.0f, 0.0f, 0.0f);
}

void ZovGameFieldControl::OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) {
    if (event->IsMouseCaptured() && _isInDragging) {
        event->ReleaseCapture();
        _isInDragging = false;
        if (IsEditing()) EditorRelease();
    } else if (!event->IsMouseCaptured()) {
        Assert(!_isInDragging);
        _isInDragging = false;
    }
}

void ZovGameFieldControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    SetMousePos(event->GetMousePos());
    if (_editor.Get() != nullptr) _editor->SetMousePos(event->GetMousePos());
    if (_paused || _board.IsTimerStopped() || _levelBroken) {
        _isInDragging = false;
        return;
    }
    Point l = FieldPoint(event->GetMousePos());
    // Both points are field points, so the sums below stay far inside the range of their types.
    const long long ddx = static_cast<long long>(l.x) - _pressPoint.x;
    const long long ddy = static_cast<long long>(l.y) - _pressPoint.y;
    const long long d = static_cast<long long>(std::sqrt(static_cast<double>(ddx * ddx + ddy * ddy)));
    const int size = _board.GetCellSize();
    if (d > 0 && static_cast<float>(d) >= _tuning.CHANGE_CELL_D && _board.Selection().size() == 1 && _isInDragging) {
        l.x = static_cast<int>(_pressPoint.x + size * ddx / d);
        l.y = static_cast<int>(_pressPoint.y + size * ddy / d);
    }
    const int cx = l.x / size;
    const int cy = l.y / size;
    if (IsEditing() && !event->IsMouseHandled()) event->SetMouseHandled();
    if (event->IsMouseCaptured()) {
        if (_isInDragging) {
            event->ConfirmCapture();
            if (IsEditing()) {
                if (_editor->_pressed) EditorPaint(l.x, l.y, cx, cy);
            } else if (_board.Selection().size() == 1) {
                TryDragSwap(cx, cy);
            }
        } else if (!event->IsMouseHandled() && IsMouseOverField()) {
            event->SetMouseHandled();
        }
    } else {
        if (_isInDragging) {
            Assert(!_isInDragging);
            _isInDragging = false;
        }
        if (!event->IsMouseHandled() && IsMouseOverField()) {
            event->SetMouseHandled();
            if (l.x > 0 && l.y > 0 && _board.InField(cx, cy) && _board.Cell(cx, cy)._color >= 0 &&
                _board.Cell(cx, cy)._bonus == NO_BONUS) {
                _board.CellAction(cx, cy, CELL_IDLE);
            }
        }
    }
    if (event.InstanceOf<RightButtonDownEvent>() && _board.Selection().size() == 1) {
        _board.CellAction(_board.Selection()[0].x, _board.Selection()[0].y, CELL_STOP);
        _board.Selection().clear();
    }
    if (!PermanentStorage::GetGlobalBoolOrDef("dev", true)) return;
    if (IsEditing()) {
        EditorInput(event, cx, cy);
    } else {
        DeveloperKey(event, cx, cy);
    }
}

void ZovGameFieldControl::DeveloperKey(ObjectWeakPointer<MouseMoveEvent> event, int cx, int cy) {
    if (!event.InstanceOf<KeyDownEvent>()) return;
    const ObjectWeakPointer<KeyDownEvent> key = event.Cast<KeyDownEvent>();
    if (key->IsKeyHandled()) return;
    const int code = key->GetKey();
    const bool inField = _board.InField(cx, cy);
    auto makeBonus = [&](int kind, bool animate) {
        FieldCell& cell = _board.Cell(cx, cy);
        cell._bonus = kind;
        cell._color = kind + BONUS_COLOR_BASE;
        _pieces.SetBonusPicture(cx, cy, kind);
        if (animate) _pieces.PlayAnimation(cx, cy, 0, 31, 4, 0.0f, 40.0f);
        const Point c = CellCentre(cx, cy);
        _effects.Add(1, ObjectSmartPointer<EffectBase>(new CreateBombEffect(c.x, c.y)));
        Sound::soundSystem.PlaySample("create_bonus");
    };
    if (code == KEY_F4) {
        PermanentStorage::SetLocalBool("isFullScreen", !PermanentStorage::GetLocalBoolOrDef("isFullScreen", false));
        key->SetKeyHandled();
    } else if (code == KEY_F1) {
        if (inField) makeBonus(LIGHTNING, true);
        key->SetKeyHandled();
    } else if (code == KEY_F2) {
        if (inField) makeBonus(BLACK_BOMB, false);
        key->SetKeyHandled();
    } else if (code == KEY_T) {
        for (int x = 0; x < _board.GetSizeX(); ++x) {
            for (int y = 0; y < _board.GetSizeY(); ++y) {
                if (_board.Cell(x, y)._color != NO_CELL) _board.Cell(x, y)._painted = 0;
            }
        }
        _board.SetAllPaints(0);
        _board.LevelScore().SetAtRest(4999);
        _board.LevelMoney().SetAtRest(99);
        if (!_scoreId.empty()) PermanentStorage::SetLocalString(_scoreId, "4999");
        if (!_moneyId.empty()) PermanentStorage::SetLocalString(_moneyId, _moneyPrefix + "99" + _moneySuffix);
    } else if (code == KEY_C) {
        const std::vector<int>& chips = _board.GetChips();
        if (inField && !chips.empty()) {
            FieldCell& cell = _board.Cell(cx, cy);
            const int n = static_cast<int>(chips.size());
            const int c = chips[static_cast<std::size_t>(((cell._color + 1) % n + n) % n)];
            _pieces.SetChipPicture(cx, cy, c);
            cell._color = c;
        }
    } else if (code == KEY_H) {
        if (inField) {
            SendMessage("FieldHurryUpScreen", "template HurryUpTemplate");
            SendMessage("FieldHurryUpScreen", "create top instance");
        }
    } else if (code == KEY_Q) {
        const int n = _random.RandomIntRange(5, 15);
        std::vector<FPoint> points;
        for (int i = 0; i < n; ++i) {
            const int x = _random.RandomIntRange(0, _board.GetSizeX());
            const int y = _random.RandomIntRange(0, _board.GetSizeY());
            const Point c = CellCentre(x, y);
            points.push_back(FPoint(static_cast<float>(c.x), static_cast<float>(c.y)));
        }
        std::vector<float> times;
        if (!points.empty()) _effects.Add(2, ObjectSmartPointer<EffectBase>(new SplashEffect(0.4f, points, times)));
    } else if (code == KEY_R) {
        _board.NoMovesReshuffle(true, false);
    } else if (code == KEY_F3) {
        ShowLevelList(_levelName);
        key->SetKeyHandled();
    } else if (code == KEY_F5 && _editor.Get() != nullptr) {
        EnterEditor();
        key->SetKeyHandled();
    } else if (code == KEY_F6 && _editor.Get() != nullptr) {
        _levelTime = 30;
        _fieldShown = true;
        StartShine();
    }
}
