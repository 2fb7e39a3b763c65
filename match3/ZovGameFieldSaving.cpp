// The player's place in the game: before the active player changes (and when the field goes) the
// level is saved into the player value "Game field", a running level cell by cell, an ended one as
// the name of the level to play next; after the change it is read back. Also the won levels' log.
#include <cstdio>

#include "core/Assert.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "core/PermanentStorage.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/board/LevelLog.h"
#include "match3/board/LevelResults.h"
#include "platform/FilePort.h"
#include "platform/shell/Desktop.h"
#include "shell/ScriptMap.h"

namespace {

const char* const GAME_FIELD = "Game field";

bool IsBetaLog() { return PermanentStorage::GetGlobalBoolOrDef("betaLog", false); }

// The active player's value, or the default when there is none (which is not stored).
int PeekLocal(const char* name, int defaultValue) {
    return PermanentStorage::IsLocalNameDefined(name) ? PermanentStorage::GetLocalIntOrDef(name, defaultValue) : defaultValue;
}
bool PeekLocal(const char* name, bool defaultValue) {
    return PermanentStorage::IsLocalNameDefined(name) ? PermanentStorage::GetLocalBoolOrDef(name, defaultValue) : defaultValue;
}

// A bomb hint flag that is 0 becomes 1 once a won level is left; -1 stays.
void MarkLevelDone(const char* name) {
    if (PermanentStorage::GetLocalIntOrDef(name, -1) == 0) PermanentStorage::SetLocalInt(name, 1);
}

}  // namespace

ObjectWeakPointer<XmlElement> ZovGameFieldControl::StoredPlayerXml(const std::string& name, std::string& problem) {
    const PermanentVariableSet* player = PermanentStorage::FindPlayer(PermanentStorage::GetActivePlayerName());
    if (player == nullptr) return ObjectWeakPointer<XmlElement>();
    const auto found = player->GetValues().find(name);
    if (found == player->GetValues().end()) return ObjectWeakPointer<XmlElement>();
    if (found->second.GetType() != PermanentValue::XML_TYPE) {
        problem = "the value is not XML";
        return ObjectWeakPointer<XmlElement>();
    }
    return found->second.GetXml();
}

float ZovGameFieldControl::TimerProgress() const {
    if (_timer.Get() != nullptr) return _timer->GetProgress();
    if (_waitFirstClick || _levelTime <= 0) return 0.0f;
    return _timeLeft / static_cast<float>(_levelTime);
}

// A level counts as running from the moment its timer shows until it is won or its time runs out.
bool ZovGameFieldControl::IsLevelRunning() {
    return _board.GetAllPaints() > 0 && _board.GetSizeX() > 0 && _board.GetSizeY() > 0 && _levelTime > 0 &&
           !_timedOut && (TimerProgress() > 0.0f || _restoredRunning);
}

SavedField ZovGameFieldControl::SaveRunningLevel() {
    SavedField saved;
    saved.matchCounter = _matchCounter;
    saved.sizeX = _board.GetSizeX();
    saved.sizeY = _board.GetSizeY();
    saved.levelName = _levelName;
    saved.levelTime = _levelTime;
    saved.timeLeft = _timeLeft;
    saved.chips = _board.GetChips();
    const ShownHint& hint = GetShownHint();
    if (IsHintOpen() && !hint.name.empty()) {
        saved.hint.present = true;
        saved.hint.message = hint.name;
        saved.hint.x = hint.arrowX;
        saved.hint.y = hint.arrowY;
        saved.hint.angle = hint.angle;
    }
    saved.cells.resize(static_cast<std::size_t>(saved.sizeY));
    for (int y = 0; y < saved.sizeY; ++y) {
        for (int x = 0; x < saved.sizeX; ++x) {
            const FieldCell& cell = _board.Cell(x, y);
            SavedCell c;
            c.color = cell._color;
            c.born = cell._born;
            c.painted = cell._painted;
            c.locks = cell._locks;
            c.bonus = cell._bonus;
            saved.cells[static_cast<std::size_t>(y)].push_back(c);
        }
    }
    return saved;
}

void ZovGameFieldControl::BeforePlayerChange() {
    // A field that could load no level leaves the player's place as it was.
    if (!PermanentStorage::IsLoaded() || _levelBroken) return;
    ObjectSmartPointer<XmlElement> root;
    if (IsLevelRunning()) {
        PermanentStorage::SetLocalInt("levelScore", _board.LevelScore().GetRealScore());
        PermanentStorage::SetLocalInt("levelMoney", _board.LevelMoney().GetRealScore());
        root = WriteRunningField(SaveRunningLevel());
        if (IsBetaLog()) HtmlLog::WriteLine("Leaved game field level " + _levelName + " interrupt");
        PermanentStorage::SetLocalBool("Need restart/continue level dialog", true);
    } else {
        PermanentStorage::SetLocalBool("Need restart/continue level dialog", false);
        if (_board.GetSizeX() > 0 && _board.GetSizeY() > 0 && _board.GetAllPaints() <= 0) {
            MarkLevelDone("haveCrakerLastLevelFallIn");
            MarkLevelDone("haveBlackBombLastLevelDone");
            if (IsBetaLog()) HtmlLog::WriteLine("Leaved game field level " + _levelName + " success");
            _levelName = NextLevelName(_levelName);
        } else if (_timedOut) {
            if (IsBetaLog()) HtmlLog::WriteLine("Leaved game field level " + _levelName + " lose");
            TimeMultiplierAdjust();
        }
        // Otherwise the level has not started (or there is no board): it is played again as it is.
        root = WriteNextLevel(_levelName);
    }
    PermanentStorage::SetLocalXml(GAME_FIELD, root);
}

void ZovGameFieldControl::AfterPlayerChange() {
    if (!PermanentStorage::IsLoaded()) return;
    BoardPlayerValues& p = _board.Player();
    p.activePlayerName = PermanentStorage::GetActivePlayerName();
    // Read without being made: the values are made once a level has loaded (MakePlayerValues).
    p.haveCrakerLastLevelFallIn = PeekLocal("haveCrakerLastLevelFallIn", -1);
    p.haveBlackBombLastLevelDone = PeekLocal("haveBlackBombLastLevelDone", -1);
    p.firstLigthning = PeekLocal("firstLigthning", 0);
    p.threeHint = PeekLocal("three_hint", false);
    p.definedHints.clear();
    for (const char* name : {"fire_cracker_hint", "black_bomb_hint", "dynamit_hint", "nuke_hint", "lighting_hint"}) {
        if (PermanentStorage::IsLocalNameDefined(name)) p.definedHints.insert(name);
    }
    _paused = false;
    _combo = 0;
    _idleWaveIndex = -1;
    _board.LevelScore().SetAtRest(PeekLocal("levelScore", 0));
    _board.LevelMoney().SetAtRest(PeekLocal("levelMoney", 0));

    _levelBroken = false;
    std::string problem;
    const ObjectWeakPointer<XmlElement> stored = StoredPlayerXml(GAME_FIELD, problem);
    if (stored == NULL && problem.empty()) {
        // A new player starts at the first level.
        _levelName.clear();
        if (!LoadLevel(_levelName)) {
            GiveUpLevel();
            return;
        }
        MakePlayerValues();
        return;
    }
    SavedField saved;
    const SavedFieldForm form = stored == NULL ? SavedFieldForm::Broken : ReadSavedField(stored, saved, problem);
    if (form == SavedFieldForm::Running) {
        RestoreRunningLevel(saved);
    } else {
        if (form == SavedFieldForm::Broken) {
            ReportError("The saved game field of " + p.activePlayerName + " is refused (" + problem +
                        "); its level starts again");
        }
        _delayedMessages.Clear();
        LoadLevelOrFirst(saved.levelName);
        if (_levelBroken) return;
    }
    MakePlayerValues();
    _board.SetHasMove(_board.FindAvailableMove());
    _board.Costs()["timeBonus"] = ScriptMap::CallFloatFunction("TimeBonusK", static_cast<float>(_levelTime));
    _board.Costs()["levelScoreBonusMul"] = ScriptMap::CallFloatFunction("ScoreBonusK", 0.0f);
    if (IsBetaLog()) HtmlLog::WriteLine("Entered game field");
    // Below a quarter of the time left the hurry-up has been seen already.
    _hurryShown = _levelTime > 0 && _timeLeft / static_cast<float>(_levelTime) < 0.25f;
}

void ZovGameFieldControl::MakePlayerValues() {
    PermanentStorage::GetLocalIntOrDef("LevelNumber", 1);
    PermanentStorage::GetLocalIntOrDef("haveCrakerLastLevelFallIn", -1);
    PermanentStorage::GetLocalIntOrDef("haveBlackBombLastLevelDone", -1);
    PermanentStorage::GetLocalIntOrDef("firstLigthning", 0);
    PermanentStorage::GetLocalBoolOrDef("three_hint", false);
    if (!_scoreId.empty()) PermanentStorage::GetLocalStringOrDef(_scoreId, "0");
    if (!_moneyId.empty()) PermanentStorage::GetLocalStringOrDef(_moneyId, "0");
}

void ZovGameFieldControl::LoadLevelOrFirst(const std::string& name) {
    std::string level = name;
    LevelLoad load = TryLoadLevel(level);
    // Only a level that is gone falls back to the first one; a broken one is not played at all.
    if (load == LevelLoad::NotFound) {
        level.clear();
        load = TryLoadLevel(level);
    }
    if (load != LevelLoad::Loaded) GiveUpLevel();
}

void ZovGameFieldControl::GiveUpLevel() {
    _levelBroken = true;
    Desktop::ShowErrorBox(_loadFailure.caption, _loadFailure.text);
    if (_toMenu.Get() != nullptr) _toMenu->Send();
}

void ZovGameFieldControl::RestoreRunningLevel(const SavedField& saved) {
    _levelName = saved.levelName;
    if (!_levelId.empty()) {
        PermanentStorage::SetLocalString(_levelId,
                                         _levelPrefix + std::to_string(PermanentStorage::GetLocalIntOrDef("LevelNumber", 1)));
    }
    _levelTime = saved.levelTime;
    _timeLeft = saved.timeLeft;
    _matchCounter = saved.matchCounter;
    _board.SetChips(saved.chips);
    if (_editor.Get() != nullptr) {
        _editor->_levelName = _levelName;
        _editor->_levelTime = _levelTime;
    }
    _board.Selection().clear();
    _board.ResizeBoard(saved.sizeX, saved.sizeY);
    for (int y = 0; y < saved.sizeY; ++y) {
        for (int x = 0; x < saved.sizeX; ++x) {
            const SavedCell& c = saved.cells[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            _board.LoadCell(x, y, c.color, c.born, c.painted, c.locks, c.bonus);
        }
    }
    const int size = _board.GetCellSize();
    SetAbsolutePos(Point(_homePos.x - saved.sizeX * size / 2, _homePos.y - saved.sizeY * size / 2));
    _board.SetAbsolutePos({GetAbsolutePos().x, GetAbsolutePos().y});
    if (_board.HasFillableEmpty()) _board.StartFalls();
    BuildDecor();
    PermanentStorage::SetLocalString("goldenCount", "x" + std::to_string(_board.GetGoldenCount()));
    PermanentStorage::SetLocalString("silverCount", "x" + std::to_string(_board.GetSilverCount()));
    if (!_scoreId.empty()) PermanentStorage::SetLocalString(_scoreId, std::to_string(_board.LevelScore().GetScore()));
    if (!_moneyId.empty()) {
        PermanentStorage::SetLocalString(_moneyId,
                                         _moneyPrefix + std::to_string(_board.LevelMoney().GetScore()) + _moneySuffix);
    }
    StartShine();
    _timerRising = 0.0f;
    _timedOut = false;
    _restoredRunning = true;
    // A hint the texts no longer know is not shown again.
    _reshowHint = saved.hint.present && GetHints().count(saved.hint.message) > 0;
    if (_reshowHint) SetShownHint(ShownHint{saved.hint.message, saved.hint.x, saved.hint.y, saved.hint.angle});
    if (PermanentStorage::GetLocalBoolOrDef("Restart level", false)) {
        Restart();
        PermanentStorage::SetLocalBool("Restart level", false);
    } else {
        // The saved level comes back at once: no start delays, no appearing wave.
        _fieldShown = false;
        FinishAppearance();
    }
    _delayedMessages.Clear();
    if (!_hidePanelId.empty()) {
        _delayedMessages.Add(_hidePanelId, PermanentStorage::GetLocalIntOrDef("goldenCountInt", 0) > 0 ? "Both" : "Silver only",
                             0.0f);
    }
}

void ZovGameFieldControl::ReshowSavedHint() {
    if (!_reshowHint || !_fieldShown || _board.GetAllPaints() <= 0) return;
    const ShownHint hint = GetShownHint();
    const int boxX = hint.arrowX - 350 < 0 ? hint.arrowX + 60 : hint.arrowX - 350;
    _hintBoxShown = ShowHint(boxX, 300, hint.name, hint.arrowX, hint.arrowY, hint.angle);
    _reshowHint = false;
    _hintWait = _board.Tuning().HINT_PAUSE;
}

// The level log.

std::string ZovGameFieldControl::LevelLogFileName(const std::string& playerName) {
    // The name must not lead out of the data folder.
    std::string name;
    for (std::size_t i = 0; i < playerName.size(); ++i) {
        const char c = playerName[i];
        if (c == '.' && i + 1 < playerName.size() && playerName[i + 1] == '.') {
            name += '_';
            ++i;
        } else if (c == '/' || c == '\\' || c == ':') {
            name += '_';
        } else {
            name += c;
        }
    }
    return dataFolder + name + ".csv";
}

void ZovGameFieldControl::WriteLevelLog() {
    if (!IsBetaLog()) return;
    LevelLogInput in;
    in.levelName = _levelName;
    in.levelTime = _levelTime;
    in.timeFactor = LevelTimeFactor();
    in.timerProgress = TimerProgress();
    in.lightningCount = _board.GetLightningCount();
    in.levelScoreBonusMul = PermanentStorage::GetLocalFloatOrDef("LevelScoreBonusMul", 0.0f);
    in.matchScore = _board.GetMatchScore();
    in.lockScore = _board.GetLockScore();
    in.goldenCountInt = PermanentStorage::GetLocalIntOrDef("goldenCountInt", 0);
    in.goldenCountMul = PermanentStorage::GetLocalFloatOrDef("goldenCountMul", 0.0f);
    in.silverCountInt = PermanentStorage::GetLocalIntOrDef("silverCountInt", 0);
    in.silverCountMul = PermanentStorage::GetLocalFloatOrDef("silverCountMul", 0.0f);
    in.timeCountMul = PermanentStorage::GetLocalFloatOrDef("TimeCountMul", 0.0f);
    in.cupBonus = FieldCupBonus();
    in.levelMoney = PermanentStorage::GetLocalIntOrDef("Level money", 0);
    in.reshuffleCount = _board.GetReshuffleCount();
    in.levelsLost = PermanentStorage::GetLocalIntOrDef("Levels lost", 0);
    const std::string line = LevelLogLine(HtmlLog::LocalTime(), _levelName, ComputeLevelLog(in));

    // A file that cannot be opened loses the line.
    std::FILE* file = FilePort::Open(LevelLogFileName(PermanentStorage::GetActivePlayerName()), "ab");
    if (file == nullptr) return;
    std::fseek(file, 0, SEEK_END);
    const std::string text = std::ftell(file) == 0 ? LevelLogHeader() + line : line;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}
