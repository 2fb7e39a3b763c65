// The field's frame: start delays, appearance, pieces, swap resolution, falls, landings, the
// level timer with hurry-up and time-out, the texts, the idle wave and the level's end.
#include <algorithm>
#include <cmath>

#include "content/ControllerManager.h"
#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "core/Math.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "match3/ZovGameFieldControl.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "match3/board/BoardFiles.h"
#include "match3/board/LevelResults.h"
#include "shell/SoundSystem.h"

void ZovGameFieldControl::Update(float dt) {
    if (_levelBroken) return;
    if (_afterWinTimer.Get() != nullptr) {
        _afterWinTimer->Update(dt);
        _afterWinElapsed += dt;
    }
    dt = std::min(dt, MAX_DT);
    _timeScale = 1.0f;
    if (_slowMotion.Get() != nullptr) {
        _slowMotion->Update(dt);
        _timeScale = std::max(_slowMotionCurve.getValueAt(_slowMotion->GetProgress()), 0.0f);
        dt *= _timeScale;
        if (_slowMotion->_done) {
            _slowMotion = ObjectSmartPointer<FlarePosition>();
            HtmlLog::WriteLine("Slow motion ends");
        }
    }
    for (auto& column : _movingMap) column.fill(false);
    if (_hintFlare.Get() != nullptr && (!_paused || _hintFlare->GetProgress() < 0.5f)) {
        _hintFlare->Update(dt);
        if (_hintFlare->_done) _hintFlare = ObjectSmartPointer<FlarePosition>();
    }
    if (_shine->_done && (!_paused || IsHintOpen())) {
        if (_idleTime < 0.0f && _idleTime + dt >= 0.0f) _moveHintShown = false;
        if (!_hintBoxShown) {
            _idleTime += dt;
            _hintAnimTime += dt;
        }
    }
    if (_paused || IsEditing()) return;

    _hintWait -= dt;
    _delayedMessages.Update(dt);
    if (_readyGoLeft > 0.0f) {
        _readyGoLeft -= dt;
        if (_readyGoLeft <= 0.0f) {
            EffectHandle start = _particles.StartEffect("MarivelStartLevel");
            if (start) {
                start->x = 400.0f;
                start->y = 300.0f;
                start->Reset();
            }
            _timerRising = TIMER_RISE_TIME;
            Sound::soundSystem.PlaySample("level_start");
            Sound::soundSystem.PlaySample("timer_rising");
            Sound::soundSystem.SetLowVolumeTime(4.0f, 0.4f);
        }
    }
    if (_timerRising > 0.0f && _timer.Get() != nullptr && _levelTime > 0) {
        if (_waitFirstClick) {
            _timerRising = std::max(_timerRising - dt, 0.0f);
            _timer->SetProgress((1.0f - _timerRising / TIMER_RISE_TIME) * std::min(_timeLeft / _levelTime, 1.0f));
        } else {
            _timerRising = 0.0f;
            _timer->SetProgress(std::min(_timeLeft / _levelTime, 1.0f));
        }
    }
    if (_fieldStartLeft > 0.0f) {
        _fieldStartLeft -= dt;
        if (_fieldStartLeft <= 0.0f) Sound::soundSystem.PlaySample("field_appear");
        return;
    }
    _effects.Update(dt);
    _shine->Update(dt);
    // The frame stops only while the wave runs; before it starts the pieces already move.
    if (_shine->IsFlaring()) {
        AdvanceShine(dt);
        return;
    }
    if (_shine->_done) _fieldShown = _levelTime != 0;

    bool arrived = false;
    bool busy = false;
    UpdatePieces(dt, arrived, busy);
    if (busy) {
        _stillTime = 0.0f;
    } else {
        _stillTime += dt;
        if (_firstHintDue && HintMayShow()) {
            _firstHintDue = false;
            ShowFirstHint();
        }
        ShowClearHint();
    }
    const float progress = _timer.Get() != nullptr ? _timer->GetProgress() : 1.0f;
    const bool exploded = progress > 0.0f && _board.UpdateExplosions(dt);
    if (arrived) ResolveArrivals(busy, exploded);
    PlayLandings();

    if (_board.GetAllPaints() < 0 && _stillTime > 0.1f && _levelTime > 0) CompleteWin();
    if (_board.GetAllPaints() == 0) StartWin();

    if (_fieldShown && _fewPaintsFlare.Get() != nullptr) {
        _fewPaintsFlare->Update(dt);
    } else if (_board.GetAllPaints() <= _tuning.TOO_LITTLE_PIECES && _fewPaintsFlare.Get() == nullptr &&
               PermanentStorage::GetLocalIntOrDef("LevelNumber", 1) != 1) {
        _fewPaintsFlare = ObjectSmartPointer<FlarePosition>(new FlarePosition(2.0f, false, 4.0f, 4.0f, 2.0f));
    }
    if (_board.GetAllPaints() > 0) {
        if (_board.IsTimerStopped() || _levelTime <= 0 || _waitFirstClick) return;
        UpdateLevelTimer(dt);
    }
    _pieceClock += dt;
    _pieceFlare->Update(dt);
    UpdateTexts(dt);
    UpdateIdleWave(dt);
    if (_comboTime > 0.0f) {
        _comboTime -= dt;
    } else {
        _comboTime = _tuning.TIME_FOR_NEXT;
        _combo = 0;
    }
}

void ZovGameFieldControl::UpdatePieces(float dt, bool& arrived, bool& busy) {
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            FieldCell& cell = _board.Cell(x, y);
            if (cell._color == NO_CELL) continue;
            ZovPiece& piece = _pieces.At(x, y);
            cell._speed = piece.GetSpeed();
            _movingMap[x][y] = piece.IsMoving();
            if (!piece.Update(dt)) arrived = true;
            if (piece.IsMoving()) busy = true;
            cell._idleTimer -= dt;
        }
    }
}

void ZovGameFieldControl::ResolveArrivals(bool busy, bool exploded) {
    bool bombed = false;
    bool resolved = false;
    bool matched = false;
    bool swappedBack = false;
    std::vector<BoardPoint>& selection = _board.Selection();
    if (selection.size() == 2 && !_pieces.At(selection[0].x, selection[0].y).IsMoving() &&
        !_pieces.At(selection[1].x, selection[1].y).IsMoving()) {
        const BoardPoint p0 = selection[0];
        const BoardPoint p1 = selection[1];
        bombed = _board.DetonateSwap(p0, p1);
        resolved = true;
        matched = _board.FindAndClearMatches();
        if (matched && _board.IsSwapMatched()) {
            ++_combo;
            _comboTime = _tuning.TIME_FOR_NEXT;
            _idleTime = _moveHintShown ? -0.2f : 0.0f;
            Sound::soundSystem.PlaySample("item_success");
            _board.StartFalls();
            _board.SetSwapMatched(false);
        } else if (!bombed) {
            _board.SwapBack(p0.x, p0.y, p1.x, p1.y);
            swappedBack = true;
        }
        _board.Selection().clear();
    } else if (!busy && _board.IsLightningDue() && _board.GetAllPaints() > 0) {
        _board.PlaceLightning();
    }
    if (_board.HasFillableEmpty()) _board.StartFalls();
    if (!resolved) matched = _board.FindAndClearMatches();
    if (matched || exploded || bombed) _board.StartFalls();
    if (!busy && !_board.HasMove() && !_board.IsReshufflePending()) {
        _board.SetHasMove(_board.FindAvailableMove());
        const float progress = _timer.Get() != nullptr ? _timer->GetProgress() : 1.0f;
        if (!_board.HasMove() && !swappedBack && !bombed && _board.GetAllPaints() > 0 && !_board.HasFillableEmpty() &&
            progress > 0.0f) {
            _board.NoMovesReshuffle(true, false);
        }
    }
    _idleTime = _moveHintShown ? -0.2f : 0.0f;
}

void ZovGameFieldControl::PlayLandings() {
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            if (cell._speed <= PIECE_SPEED || !_movingMap[x][y] || _pieces.At(x, y).IsMoving()) continue;
            if (!_board.InField(x, y + 1) ||
                (_board.Cell(x, y + 1)._color != EMPTY_CELL && !_pieces.At(x, y + 1).IsMoving())) {
                _board.CellAction(x, y, CELL_LANDING);
                Sound::soundSystem.PlaySample("item_fall");
            }
        }
    }
}

void ZovGameFieldControl::UpdateLevelTimer(float dt) {
    const float f = LevelTimeFactor();
    _timeLeft = std::max(_timeLeft - (f > 0.0f ? dt / f : dt), 0.0f);
    const float share = std::min(_timeLeft / static_cast<float>(_levelTime), 1.0f);
    if (_timer.Get() != nullptr) {
        _timer->SetProgress(share);
        _timer->Update(dt);
    }
    if (share < HURRY_SHARE) {
        if (_timer.Get() != nullptr) _timer->shining = true;
        if (!_hurryShown) {
            Sound::soundSystem.PlaySample("time_is_out");
            SendMessage("FieldHurryUpScreen", "template HurryUpTemplate");
            SendMessage("FieldHurryUpScreen", "create top instance");
            _hurryShown = true;
        }
    }
    if (share == 0.0f && _levelTime > 0) TimeOut();
}

void ZovGameFieldControl::UpdateTexts(float dt) {
    if (_board.LevelScore().Update(dt) && !_scoreId.empty()) {
        PermanentStorage::SetLocalString(_scoreId, std::to_string(_board.LevelScore().GetScore()));
    }
    if (_board.LevelMoney().Update(3.0f * dt) && !_moneyId.empty()) {
        PermanentStorage::SetLocalString(_moneyId,
                                         _moneyPrefix + std::to_string(_board.LevelMoney().GetScore()) + _moneySuffix);
    }
}

void ZovGameFieldControl::UpdateIdleWave(float dt) {
    const int sizeX = _board.GetSizeX();
    const int sizeY = _board.GetSizeY();
    if (_idleWaveIndex < 0) {
        if (_idleWaveCountdown < 0.0f) {
            _idleWaveIndex = 0;
            _idleWaveTime = 0.0f;
            _idleWaveCountdown = 45.0f + _random.RandomFloat(1.0f) * (30.0f - 45.0f);
        }
    } else if (_idleWaveIndex < sizeX + sizeY) {
        _idleWaveTime += dt;
        _idleWaveIndex = static_cast<int>(_idleWaveTime * 20.0f / 3.0f);
    } else {
        _idleWaveIndex = -1;
    }
    const int d = _idleWaveIndex;
    for (int i = d; i >= 0; --i) {
        const int x = d - i;
        const int y = i;
        if (!_board.InField(x, y)) continue;
        const FieldCell& cell = _board.Cell(x, y);
        if (cell._color >= 0 && cell._bonus == NO_BONUS && !_pieces.At(x, y).IsBusy()) _board.CellAction(x, y, CELL_IDLE);
    }
    _idleWaveCountdown -= dt;
}

void ZovGameFieldControl::ShowClearHint() {
    if (_stillTime <= 0.1f || _board.GetAllPaints() <= 0) return;
    if (PermanentStorage::GetLocalIntOrDef("LevelNumber", 1) != 1) return;
    if (PermanentStorage::GetLocalBoolOrDef("clear_hint", false)) return;
    if (_board.GetAllPaints() >= PermanentStorage::GetLocalIntOrDef("silverCountInt", 0)) return;
    std::vector<BoardPoint> painted;
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            if (_board.Cell(x, y)._color != NO_CELL && _board.Cell(x, y)._painted > 0) painted.push_back({x, y});
        }
    }
    if (painted.empty()) return;
    const BoardPoint c = painted[static_cast<std::size_t>(_random.Modulo(static_cast<int>(painted.size())))];
    const Point centre = CellCentre(c.x, c.y);
    const int boxX = centre.x - 350 < 0 ? centre.x + 60 : centre.x - 350;
    if (!HintMayShow()) return;
    _hintBoxShown = ShowHint(boxX, 300, "clear", centre.x, centre.y, 0.0f);
    if (_hintBoxShown) {
        _hintFlare = ObjectSmartPointer<FlarePosition>(new FlarePosition(0.5f, true, 0.0f, 0.0f, 0.0f));
        _hintWait = _board.Tuning().HINT_PAUSE;
    }
}

// Level results.

void ZovGameFieldControl::StartWin() {
    SendMessage("FieldHurryUpScreen", "clear children list");
    SendMessage("Statistics modal dialog", "instantiate ZovFieldStatisticTemplate");
    const int lap = PermanentStorage::GetLocalIntOrDef("Lap Number", 0);
    _board.LevelMoney().Add(LapMoneyBonus(lap, _board.Cost("krugMoneyAddon")));
    _board.SetAllPaints(-1);
}

void ZovGameFieldControl::CompleteWin() {
    PermanentStorage::SetLocalBool("Show next shop tip", true);
    const int lap = PermanentStorage::GetLocalIntOrDef("Lap Number", 0);
    const int silverCountInt = PermanentStorage::GetLocalIntOrDef("silverCountInt", 0);
    const int goldenCountInt = PermanentStorage::GetLocalIntOrDef("goldenCountInt", 0);
    const WinMoney money = ComputeWinMoney(silverCountInt, goldenCountInt, _board.Cost("silver"), _board.Cost("golden"),
                                           lap, _board.Cost("krugMoneyAddon"));
    PermanentStorage::SetLocalFloat("silverCountMul", money.silverCountMul);
    PermanentStorage::SetLocalFloat("goldenCountMul", money.goldenCountMul);
    const float progress = _timer.Get() != nullptr ? _timer->GetProgress() : 0.0f;
    const int score = _board.LevelScore().GetRealScore();
    const int timeCount = TimeCountPercent(progress);
    const int cupBonus = FieldCupBonus();
    PermanentStorage::SetLocalInt("LevelScoreBonusInt", score);
    PermanentStorage::SetLocalInt("TimeCountInt", timeCount);
    PermanentStorage::SetLocalFloat("LevelScoreBonusMul", _board.Cost("levelScoreBonusMul"));
    PermanentStorage::SetLocalFloat("TimeCountMul", _board.Cost("timeBonus"));
    PermanentStorage::SetLocalInt("CupBonusInt", cupBonus);
    PermanentStorage::SetLocalFloat("CupBonusMul", 1.0f);
    PermanentStorage::SetLocalInt("Level time", _levelTime);
    const int levelMoney = LevelMoneyTotal(score, _board.Cost("levelScoreBonusMul"), _board.LevelMoney().GetRealScore(),
                                           timeCount, _board.Cost("timeBonus"), cupBonus, 1.0f);
    PermanentStorage::SetLocalInt("Level money", levelMoney);
    PermanentStorage::SetLocalInt("Money", AddMoney(PermanentStorage::GetLocalIntOrDef("Money", 0), levelMoney));
    WriteLevelLog();
    PermanentStorage::SetLocalInt("Levels lost", 0);
    Sound::soundSystem.PlaySample("field_hide");
    _levelTime = 0;
    StartLeaving();
    TimeMultiplierAdjust();
    StopTimerShine();
    PermanentStorage::SetLocalInt("LevelNumber",
                                  Math::AddClamped(PermanentStorage::GetLocalIntOrDef("LevelNumber", 1), 1));
    // The statistics screen may be absent from the running screen.
    if (IsReceiver("ZovFieldStatistic")) SendMessage("ZovFieldStatistic", "continue");
    _afterWinTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(2.0f, true, 0.0f, 0.0f, 0.0f));
    _afterWinElapsed = 0.0f;
}

void ZovGameFieldControl::TimeOut() {
    Sound::soundSystem.PlaySample("time_out");
    PermanentStorage::SetLocalInt("levelMoney", 0);
    PermanentStorage::SetLocalInt("levelScore", 0);
    // Nothing is paid: the panel's money goes, and so does the hurry-up sign behind the dialog.
    if (!_moneyId.empty()) PermanentStorage::SetLocalString(_moneyId, _moneyPrefix + "0" + _moneySuffix);
    SendMessage("FieldHurryUpScreen", "clear children list");
    SendMessage("Game field modal dialog", "instantiate OutOfTimeDialogTemplate");
    PermanentStorage::SetLocalInt("Levels lost", PermanentStorage::GetLocalIntOrDef("Levels lost", 0) + 1);
    _timedOut = true;
    _levelTime = 0;
    StartLeaving();
    StopTimerShine();
}

void ZovGameFieldControl::TimeMultiplierAdjust() {
    const float progress = _timer.Get() != nullptr ? _timer->GetProgress() : 0.0f;
    const float v = PermanentStorage::GetLocalFloatOrDef("Time Multiplier", 0.0f);
    PermanentStorage::SetLocalFloat(
        "Time Multiplier", ::TimeMultiplierAdjust(v, progress, PermanentStorage::GetLocalIntOrDef("LevelNumber", 1)));
}

int ZovGameFieldControl::FieldCupBonus() {
    std::map<std::string, int> table;
    ObjectSmartPointer<XmlDocument> doc = LoadXmlDocument("GameplayCost.xml");
    if (doc.Get() != nullptr && doc->GetRoot().Get() != nullptr) {
        doc->GetRoot()->MarkVisitedTree();
        ObjectWeakPointer<XmlElement> cups = doc->GetRoot()->GetFirstChildElement("CupBonus");
        if (cups.Get() != nullptr) table = ReadCupBonusTable(cups);
    }
    int levels[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        levels[c] = CupLevel(PermanentStorage::GetLocalStringOrDef(std::to_string(c + 1) + " Cup", ""));
    }
    return CupBonus(table, levels);
}
