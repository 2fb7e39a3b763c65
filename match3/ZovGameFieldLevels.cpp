// Level and chip-set files: loading a level from "PlLevels.xml" with colours from the player's
// chip-set cycle, the level ids, deleting a level and the level that follows another.
#include <algorithm>

#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/board/BoardFiles.h"
#include "match3/board/LevelLines.h"
#include "shell/ScriptMap.h"

namespace {

const char* const LEVELS_FILE = "PlLevels.xml";
const char* const CHIP_SETS_FILE = "ChipSets.xml";

// Read afresh every time; the editor's "chips" and anything else unread are content, not faults.
ObjectSmartPointer<XmlDocument> ReadLevels() {
    ObjectSmartPointer<XmlDocument> doc(new XmlDocumentRead(LEVELS_FILE));
    if (doc->GetRoot() != NULL) doc->GetRoot()->MarkVisitedTree();
    return doc;
}

// The first "Level" with that id (the first level for an empty id) and its 1-based position.
ObjectWeakPointer<XmlElement> FindLevel(const ObjectWeakPointer<XmlDocument>& doc, const std::string& id, int& order) {
    order = 0;
    if (doc->GetRoot() == NULL) return ObjectWeakPointer<XmlElement>();
    for (ObjectWeakPointer<XmlElement> level = doc->GetRoot()->GetFirstChildElement("Level"); level != NULL;
         level = level->GetNextElement("Level")) {
        ++order;
        if (id.empty() || level->GetStringAttributeOrDef("id", "") == id) return level;
    }
    return ObjectWeakPointer<XmlElement>();
}

}  // namespace

void ZovGameFieldControl::LoadChipSets() {
    ObjectWeakPointer<XmlElement> x = PermanentStorage::GetLocalXmlOrDef("ChipSets", ObjectSmartPointer<XmlElement>(new XmlElement("NULL")));
    if (x == NULL || x->GetName() != "Sets") {
        PermanentStorage::SetLocalXml("ChipSets", ObjectSmartPointer<XmlElement>(new XmlElement("Sets")));
        x = PermanentStorage::GetLocalXml("ChipSets");
    }
    _chipSets.clear();
    CollectChipSets(x, _chipSets);
    if (!_chipSets.empty()) return;
    std::vector<std::string> sets;
    ObjectSmartPointer<XmlDocument> doc(new XmlDocumentRead(CHIP_SETS_FILE));
    if (doc->GetRoot() == NULL) {
        ReportError(std::string("Chip sets not loaded from ") + CHIP_SETS_FILE);
        return;
    }
    doc->GetRoot()->MarkVisitedTree();
    if (!CollectChipSets(doc->GetRoot(), sets)) {
        ReportError(std::string("File ") + CHIP_SETS_FILE + " holds no chip set");
        return;
    }
    for (const std::string& chips : sets) {
        _chipSets.push_back(chips);
        ObjectSmartPointer<XmlElement> set(new XmlElement("set"));
        set->SetStringAttribute("chips", chips);
        x->AppendChild(set);
    }
}

bool ZovGameFieldControl::LoadLevel(std::string& name) {
    ObjectSmartPointer<XmlDocument> doc = ReadLevels();
    int order = 0;
    ObjectWeakPointer<XmlElement> levelXml = FindLevel(doc, name, order);
    if (levelXml == NULL) {
        Assert(levelXml != NULL);
        return false;
    }
    LevelShape shape;
    if (!ReadLevelShape(levelXml, shape)) return false;
    LoadChipSets();
    if (_chipSets.empty()) {
        ReportError("Level '" + name + "' not loaded: no chip set");
        return false;
    }
    const int i = _random.RandomIntRange(0, static_cast<int>(_chipSets.size()));
    const std::string s = _chipSets[static_cast<std::size_t>(std::min(i, static_cast<int>(_chipSets.size()) - 1))];
    std::vector<int> chips;
    if (!ParseChipSet(s, chips)) return false;
    ObjectWeakPointer<XmlElement> playerSets = PermanentStorage::GetLocalXml("ChipSets");
    for (ObjectWeakPointer<XmlElement> set = playerSets->GetFirstChildElement("set"); set != NULL;
         set = set->GetNextElement("set")) {
        if (set->GetStringAttributeOrDef("chips", "") == s) {
            set->Remove();
            break;
        }
    }
    _chipSets.erase(std::find(_chipSets.begin(), _chipSets.end(), s));

    if (name.empty()) name = levelXml->GetStringAttributeOrDef("id", "");
    _levelName = name;
    const int levelNumber = PermanentStorage::GetLocalIntOrDef("LevelNumber", 1);
    if (!_levelId.empty()) PermanentStorage::SetLocalString(_levelId, _levelPrefix + std::to_string(levelNumber));
    if (!_scoreId.empty()) PermanentStorage::SetLocalString(_scoreId, "0");
    if (!_moneyId.empty()) PermanentStorage::SetLocalString(_moneyId, _moneyPrefix + "0" + _moneySuffix);
    _timerRising = 0.0f;
    _waitFirstClick = true;
    const int fileTime = levelXml->GetIntAttributeOrDef("time", 0);
    _fieldShown = false;
    PermanentStorage::SetLocalInt("LevelFileOrder", order);
    PermanentStorage::SetLocalInt("LevelFileTime", fileTime);
    if (IsEditing()) {
        // The editor shows the board at once and keeps the file's time.
        _levelTime = fileTime;
        _fieldShown = true;
    } else {
        _levelTime = static_cast<int>(ScriptMap::CallFloatFunction("LevelTime", static_cast<float>(fileTime)));
        // A failed script call or a useless result falls back to the file's time, at least a second.
        if (_levelTime <= 0) _levelTime = std::max(fileTime, 1);
    }
    _timeLeft = static_cast<float>(_levelTime);
    StopTimerShine();
    // The bar rises from empty when the level starts; until then the level has not begun.
    if (_timer.Get() != nullptr) _timer->SetProgress(0.0f);
    _board.LevelScore().Reset();
    _board.LevelMoney().Reset();
    _fewPaintsFlare = ObjectSmartPointer<FlarePosition>();
    _matchCounter = 0;
    _timedOut = false;
    _restoredRunning = false;
    _delayedMessages.Clear();
    _paused = false;
    _board.SetDetonations(0);
    _board.Selection().clear();
    _idleWaveIndex = -1;
    _combo = 0;
    _hurryShown = false;
    _afterWinTimer = ObjectSmartPointer<FlarePosition>();
    _board.SetAbsolutePos({_homePos.x, _homePos.y});
    _board.LoadLevelShape(shape, chips);
    if (_editor.Get() != nullptr) {
        _editor->_levelName = name;
        _editor->_levelTime = _levelTime;
        _editor->_chips = s;
    }

    _board.Costs()["timeBonus"] = ScriptMap::CallFloatFunction("TimeBonusK", static_cast<float>(_levelTime));
    _board.Costs()["levelScoreBonusMul"] = ScriptMap::CallFloatFunction("ScoreBonusK", 0.0f);
    if (_board.GetGoldenCount() > 0 && !PermanentStorage::GetLocalBoolOrDef("double_hint", false)) {
        _delayedMessages.Add("GameField", "double_hint", 4.0f);
    }
    const int highestLock = _board.GetHighestLock();
    if (highestLock == 1 && !PermanentStorage::GetLocalBoolOrDef("lock_hint", false)) {
        _delayedMessages.Add("GameField", "lock_hint", 4.0f);
    } else if (highestLock == 2 && !PermanentStorage::GetLocalBoolOrDef("double_lock_hint", false)) {
        _delayedMessages.Add("GameField", "double_lock_hint", 4.0f);
    }
    _moveHintShown = false;
    _idleTime = levelNumber == 1 ? 8.5f : 0.0f;
    if (levelNumber == 2 && !PermanentStorage::GetLocalBoolOrDef("timer_hint", false)) {
        _delayedMessages.Add("GameField", "timer_hint", 4.5f);
    } else if (levelNumber == 3 && !PermanentStorage::GetLocalBoolOrDef("eye_hint", false)) {
        _delayedMessages.Add("GameField", "eye_hint", 4.5f);
    }
    const int size = _board.GetCellSize();
    SetAbsolutePos(Point(_homePos.x - _board.GetSizeX() * size / 2, _homePos.y - _board.GetSizeY() * size / 2));
    _board.SetAbsolutePos({GetAbsolutePos().x, GetAbsolutePos().y});
    StartShine();
    if (!_board.HasMove()) _board.NoMovesReshuffle(false, true);
    if (!_hidePanelId.empty()) {
        _delayedMessages.Add(_hidePanelId, _board.GetGoldenCount() > 0 ? "Both" : "Silver only", 0.0f);
    }
    BuildDecor();
    return true;
}

std::vector<std::string> ZovGameFieldControl::LevelIds() {
    std::vector<std::string> ids;
    ObjectSmartPointer<XmlDocument> doc = ReadLevels();
    if (doc->GetRoot() == NULL) return ids;
    for (ObjectWeakPointer<XmlElement> level = doc->GetRoot()->GetFirstChildElement(); level != NULL;
         level = level->GetNextElement()) {
        Assert(level->GetName() == "Level");
        ids.push_back(level->GetStringAttributeOrDef("id", ""));
    }
    return ids;
}

void ZovGameFieldControl::DeleteLevel(const std::string& id) {
    ObjectSmartPointer<XmlDocument> doc = ReadLevels();
    int order = 0;
    ObjectWeakPointer<XmlElement> level = id.empty() ? ObjectWeakPointer<XmlElement>() : FindLevel(doc, id, order);
    if (level == NULL) {
        ReportError("File PlLevels.xml error! Level not found!");
        return;
    }
    level->Remove();
    doc->Save(LEVELS_FILE);
}

std::string ZovGameFieldControl::NextLevelName(const std::string& current) {
    ObjectSmartPointer<XmlDocument> doc = ReadLevels();
    std::vector<std::string> ids;
    if (doc->GetRoot() != NULL) {
        for (ObjectWeakPointer<XmlElement> level = doc->GetRoot()->GetFirstChildElement("Level"); level != NULL;
             level = level->GetNextElement("Level")) {
            ids.push_back(level->GetStringAttributeOrDef("id", ""));
        }
    }
    if (ids.empty()) return std::string();
    const auto found = std::find(ids.begin(), ids.end(), current);
    // An unknown level continues at the first one, without a lap.
    if (found == ids.end()) return ids.front();
    if (found + 1 != ids.end()) return *(found + 1);
    PermanentStorage::SetLocalInt("Lap Number", PermanentStorage::GetLocalIntOrDef("Lap Number", 0) + 1);
    const int cycle = std::min(std::max(_tuning.CYCLE_LEVEL, 1), static_cast<int>(ids.size()));
    return ids[static_cast<std::size_t>(cycle - 1)];
}
