// Level and chip-set files: loading a level from "PlLevels.xml" with colours from the player's
// chip-set cycle, the level ids, deleting a level and the level that follows another. A level is
// checked whole before anything of the field or the player's values changes.
#include <algorithm>

#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/board/BoardFiles.h"
#include "match3/board/LevelLines.h"
#include "platform/shell/Desktop.h"
#include "shell/ScriptMap.h"

namespace {

const char* const LEVELS_FILE = "PlLevels.xml";
const char* const CHIP_SETS_FILE = "ChipSets.xml";
const char* const LEVELS_CAPTION = "File PlLevels.xml error!";
const char* const CHIP_SETS_CAPTION = "File ChipSets.xml error!";
// The longest level time a file may give, in seconds.
constexpr double MAX_LEVEL_TIME = 1000000.0;

// Read afresh every time; the editor's "chips" and anything else unread are content, not faults.
ObjectSmartPointer<XmlDocumentRead> ReadLevels() {
    ObjectSmartPointer<XmlDocumentRead> doc(new XmlDocumentRead(LEVELS_FILE));
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

// "PlLevels.xml, line N" for the level at that position (1-based) and one of its lines (0-based).
std::string LevelPlace(int order, int line) {
    std::vector<std::pair<std::string, int>> path{{"Level", order - 1}};
    if (line >= 0) path.emplace_back("Line", line);
    const int at = ContentLine(LEVELS_FILE, path);
    return std::string(LEVELS_FILE) + (at > 0 ? ", line " + std::to_string(at) : std::string());
}

// The player's chip sets as stored, without making the value.
ObjectWeakPointer<XmlElement> StoredChipSets() {
    std::string problem;
    ObjectWeakPointer<XmlElement> x = ZovGameFieldControl::StoredPlayerXml("ChipSets", problem);
    return x != NULL && x->GetName() == "Sets" ? x : ObjectWeakPointer<XmlElement>();
}

}  // namespace

bool ZovGameFieldControl::PendingChipSets(std::vector<std::string>& sets, bool& fromFile, std::string& failure) {
    sets.clear();
    fromFile = false;
    const ObjectWeakPointer<XmlElement> stored = StoredChipSets();
    if (stored != NULL) {
        // Sets stored before they were cut to what a level uses are taken as cut.
        sets = CollectChipSets(stored).sets;
        if (!sets.empty()) return true;
    }
    fromFile = true;
    return LoadChipSetsFile(CHIP_SETS_FILE, sets, &failure);
}

void ZovGameFieldControl::CommitChipSets(const std::vector<std::string>& sets, bool fromFile, const std::string& taken) {
    ObjectWeakPointer<XmlElement> x = StoredChipSets();
    if (x == NULL) {
        PermanentStorage::SetLocalXml("ChipSets", ObjectSmartPointer<XmlElement>(new XmlElement("Sets")));
        x = PermanentStorage::GetLocalXml("ChipSets");
    }
    if (fromFile) {
        // A new cycle: every set of the file comes back.
        for (const std::string& chips : sets) {
            ObjectSmartPointer<XmlElement> set(new XmlElement("set"));
            set->SetStringAttribute("chips", chips);
            x->AppendChild(set);
        }
    }
    _chipSets = sets;
    if (taken.empty()) return;
    for (ObjectWeakPointer<XmlElement> set = x->GetFirstChildElement("set"); set != NULL; set = set->GetNextElement("set")) {
        std::string usable;
        std::string note;
        if (UsableChipSet(set->GetStringAttributeOrDef("chips", ""), usable, note) && usable == taken) {
            set->Remove();
            break;
        }
    }
    const auto found = std::find(_chipSets.begin(), _chipSets.end(), taken);
    if (found != _chipSets.end()) _chipSets.erase(found);
}

void ZovGameFieldControl::LoadChipSets() {
    std::vector<std::string> sets;
    bool fromFile = false;
    std::string failure;
    PendingChipSets(sets, fromFile, failure);
    CommitChipSets(sets, fromFile, std::string());
}

bool ZovGameFieldControl::LoadLevel(std::string& name) { return TryLoadLevel(name) == LevelLoad::Loaded; }

ZovGameFieldControl::LevelLoad ZovGameFieldControl::TryLoadLevel(std::string& name) {
    _loadFailure = LoadFailure();
    auto broken = [this](const char* caption, const std::string& text) {
        _loadFailure = LoadFailure{caption, text};
        ReportError(std::string(caption) + " " + text);
        return LevelLoad::Broken;
    };
    ObjectSmartPointer<XmlDocumentRead> doc = ReadLevels();
    if (doc->GetRoot() == NULL) {
        const int line = doc->GetFailedLine();
        return broken(LEVELS_CAPTION, std::string(LEVELS_FILE) + (line > 0 ? ", line " + std::to_string(line) +
                                                                                  ": the file is broken."
                                                                            : ": the file cannot be read."));
    }
    int order = 0;
    ObjectWeakPointer<XmlElement> levelXml = FindLevel(doc, name, order);
    if (levelXml == NULL) {
        if (!name.empty()) {
            Assert(levelXml != NULL);
            _loadFailure = LoadFailure{LEVELS_CAPTION, std::string(LEVELS_FILE) + ": level \"" + name + "\" not found."};
            return LevelLoad::NotFound;
        }
        return broken(LEVELS_CAPTION, std::string(LEVELS_FILE) + ": the file holds no level.");
    }
    const std::string id = levelXml->GetStringAttributeOrDef("id", "");
    LevelShape shape;
    LevelProblem problem;
    if (!ReadLevelShape(levelXml, shape, problem)) {
        return broken(LEVELS_CAPTION, LevelPlace(order, problem.line) + ": level \"" + id + "\": " + problem.text + ".");
    }
    std::vector<std::string> sets;
    bool fromFile = false;
    std::string failure;
    if (!PendingChipSets(sets, fromFile, failure)) return broken(CHIP_SETS_CAPTION, failure + ".");
    if (shape.unknownLetters > 0) {
        ::ReportFailure("Assertion failed",
                        "false (" + LevelPlace(order, shape.firstUnknown.line) + ": level \"" + id + "\": " +
                            shape.firstUnknown.text + "; " + std::to_string(shape.unknownLetters) +
                            " letter(s) outside the cell table play as plain cells)",
                        __FILE__, __LINE__);
    }
    const int fileTime =
        static_cast<int>(ReadBoundedNumber(levelXml, LevelPlace(order, -1), "time", 0.0, MAX_LEVEL_TIME, 0.0));

    // The level is usable: from here on the field and the player's values change.
    const int i = _random.RandomIntRange(0, static_cast<int>(sets.size()));
    const std::string s = sets[static_cast<std::size_t>(std::min(i, static_cast<int>(sets.size()) - 1))];
    std::vector<int> chips;
    ParseChipSet(s, chips);
    CommitChipSets(sets, fromFile, s);
    ResetHintReports();

    if (name.empty()) name = id;
    _levelName = name;
    const int levelNumber = PermanentStorage::GetLocalIntOrDef("LevelNumber", 1);
    if (!_levelId.empty()) PermanentStorage::SetLocalString(_levelId, _levelPrefix + std::to_string(levelNumber));
    if (!_scoreId.empty()) PermanentStorage::SetLocalString(_scoreId, "0");
    if (!_moneyId.empty()) PermanentStorage::SetLocalString(_moneyId, _moneyPrefix + "0" + _moneySuffix);
    _timerRising = 0.0f;
    _waitFirstClick = true;
    _firstHintDue = false;
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
    _levelBroken = false;
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
    return LevelLoad::Loaded;
}

std::vector<std::string> ZovGameFieldControl::LevelIds() {
    std::vector<std::string> ids;
    ObjectSmartPointer<XmlDocumentRead> doc = ReadLevels();
    if (doc->GetRoot() == NULL) return ids;
    for (ObjectWeakPointer<XmlElement> level = doc->GetRoot()->GetFirstChildElement(); level != NULL;
         level = level->GetNextElement()) {
        Assert(level->GetName() == "Level");
        ids.push_back(level->GetStringAttributeOrDef("id", ""));
    }
    return ids;
}

void ZovGameFieldControl::DeleteLevel(const std::string& id) {
    ObjectSmartPointer<XmlDocumentRead> doc = ReadLevels();
    int order = 0;
    ObjectWeakPointer<XmlElement> level = id.empty() ? ObjectWeakPointer<XmlElement>() : FindLevel(doc, id, order);
    if (level == NULL) {
        ReportError(std::string(LEVELS_CAPTION) + " Level not found!");
        Desktop::ShowErrorBox(LEVELS_CAPTION, "Level not found!");
        return;
    }
    level->Remove();
    doc->Save(LEVELS_FILE);
}

std::string ZovGameFieldControl::NextLevelName(const std::string& current) {
    ObjectSmartPointer<XmlDocumentRead> doc = ReadLevels();
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
