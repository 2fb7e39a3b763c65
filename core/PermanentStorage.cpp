#include "core/PermanentStorage.h"

#include <cmath>
#include <vector>

#include "core/Assert.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "core/PlayerChangeListener.h"
#include "core/XmlDocument.h"
#include "core/XmlFileOps.h"
#include "core/XmlRead.h"
#include "platform/FilePort.h"

bool PermanentStorage::_isLoaded = false;
bool PermanentStorage::_isSaveBlocked = false;
PermanentVariableSet PermanentStorage::_globals;
std::map<std::string, PermanentVariableSet> PermanentStorage::_players;
std::string PermanentStorage::_activePlayerName;

std::string PermanentStorage::GetFileName() { return dataFolder + "Storage.xml"; }

void PermanentStorage::CheckLoaded() { Assert(_isLoaded); }

PermanentVariableSet& PermanentStorage::GetLocalSet() { return _players[_activePlayerName]; }

const PermanentVariableSet* PermanentStorage::FindPlayer(const std::string& playerName) {
    const auto i = _players.find(playerName);
    return i == _players.end() ? nullptr : &i->second;
}

// Values.

void PermanentStorage::SetGlobalInt(const std::string& name, int value) { Set<Global>(name, value); }
void PermanentStorage::SetGlobalBool(const std::string& name, bool value) { Set<Global>(name, value); }
void PermanentStorage::SetGlobalFloat(const std::string& name, float value) { Set<Global>(name, value); }
void PermanentStorage::SetGlobalString(const std::string& name, const std::string& value) {
    Set<Global>(name, value);
}
void PermanentStorage::SetLocalInt(const std::string& name, int value) { Set<Local>(name, value); }
void PermanentStorage::SetLocalBool(const std::string& name, bool value) { Set<Local>(name, value); }
void PermanentStorage::SetLocalFloat(const std::string& name, float value) { Set<Local>(name, value); }
void PermanentStorage::SetLocalString(const std::string& name, const std::string& value) {
    Set<Local>(name, value);
}

int PermanentStorage::GetGlobalInt(const std::string& name) { return Get<Global, int>(name); }
bool PermanentStorage::GetGlobalBool(const std::string& name) { return Get<Global, bool>(name); }
float PermanentStorage::GetGlobalFloat(const std::string& name) { return Get<Global, float>(name); }
std::string PermanentStorage::GetGlobalString(const std::string& name) { return Get<Global, std::string>(name); }
int PermanentStorage::GetLocalInt(const std::string& name) { return Get<Local, int>(name); }
bool PermanentStorage::GetLocalBool(const std::string& name) { return Get<Local, bool>(name); }
float PermanentStorage::GetLocalFloat(const std::string& name) { return Get<Local, float>(name); }
std::string PermanentStorage::GetLocalString(const std::string& name) { return Get<Local, std::string>(name); }

int PermanentStorage::GetGlobalIntOrDef(const std::string& name, int defaultValue) {
    return GetOrDef<Global>(name, defaultValue);
}
bool PermanentStorage::GetGlobalBoolOrDef(const std::string& name, bool defaultValue) {
    return GetOrDef<Global>(name, defaultValue);
}
float PermanentStorage::GetGlobalFloatOrDef(const std::string& name, float defaultValue) {
    return GetOrDef<Global>(name, defaultValue);
}
std::string PermanentStorage::GetGlobalStringOrDef(const std::string& name, const std::string& defaultValue) {
    return GetOrDef<Global>(name, defaultValue);
}
int PermanentStorage::GetLocalIntOrDef(const std::string& name, int defaultValue) {
    return GetOrDef<Local>(name, defaultValue);
}
bool PermanentStorage::GetLocalBoolOrDef(const std::string& name, bool defaultValue) {
    return GetOrDef<Local>(name, defaultValue);
}
float PermanentStorage::GetLocalFloatOrDef(const std::string& name, float defaultValue) {
    return GetOrDef<Local>(name, defaultValue);
}
std::string PermanentStorage::GetLocalStringOrDef(const std::string& name, const std::string& defaultValue) {
    return GetOrDef<Local>(name, defaultValue);
}

bool PermanentStorage::IsGlobalNameDefined(const std::string& name) {
    CheckLoaded();
    return _globals.IsDefined(name);
}

bool PermanentStorage::IsLocalNameDefined(const std::string& name) {
    CheckLoaded();
    return GetLocalSet().IsDefined(name);
}

void PermanentStorage::UndefGlobalName(const std::string& name) {
    CheckLoaded();
    _globals.Undef(name);
}

void PermanentStorage::UndefLocalName(const std::string& name) {
    CheckLoaded();
    GetLocalSet().Undef(name);
}

void PermanentStorage::SetLocalXml(const std::string& name, const ObjectSmartPointer<XmlElement>& value) {
    CheckLoaded();
    GetLocalSet().SetXml(name, value);
}

ObjectWeakPointer<XmlElement> PermanentStorage::GetLocalXml(const std::string& name) {
    CheckLoaded();
    return GetLocalSet().GetXml(name);
}

ObjectWeakPointer<XmlElement> PermanentStorage::GetLocalXmlOrDef(const std::string& name,
                                                                 const ObjectSmartPointer<XmlElement>& defaultValue) {
    CheckLoaded();
    return GetLocalSet().GetXmlOrDef(name, defaultValue);
}

// Loading and saving.

void PermanentStorage::ReadActivePlayerFromGameInfo() {
    const std::string fileName = dataFolder + "GameInfo.xml";
    ObjectSmartPointer<XmlDocument> gameInfo(new XmlDocumentRead(fileName));
    const ObjectWeakPointer<XmlElement> root = gameInfo->GetRoot();
    if (root == NULL) {
        ReportError("No active player: " + fileName + " could not be read");
        return;
    }
    root->MarkVisitedTree();
    const ObjectWeakPointer<XmlElement> activePlayer = root->GetFirstChildElement("ActivePlayer");
    if (activePlayer == NULL) {
        ReportError("No active player: " + fileName + " has no element ActivePlayer");
        return;
    }
    _activePlayerName = activePlayer->GetStringAttribute("name");
}

void PermanentStorage::Load() {
    Assert(!_isLoaded);
    const std::string fileName = GetFileName();
    {
        ObjectSmartPointer<XmlDocument> storage(new XmlDocumentRead(fileName));
        const ObjectWeakPointer<XmlElement> storageXml = storage->GetRoot();
        if (storageXml == NULL) {
            // Neither the file nor its backup could be read: they are moved out of the way first,
            // so that no save of the empty store replaces them.
            const bool keptFile = KeepAsideIfPresent(fileName);
            const bool keptBackup = KeepAsideIfPresent(fileName + ".bak");
            _isSaveBlocked = !keptFile || !keptBackup;
            ReportError("Storage " + fileName + " could not be read; starting with an empty store");
            ReadActivePlayerFromGameInfo();
            _isLoaded = true;
            return;
        }
        Assert(storageXml->GetName() == "Storage");
        const ObjectWeakPointer<XmlElement> globals = storageXml->GetFirstChildElement("Globals");
        Assert(globals != NULL);
        if (globals != NULL) {
            _globals.ReadFromXml(globals);
        }
        for (ObjectWeakPointer<XmlElement> player = storageXml->GetFirstChildElement("Player"); player != NULL;
             player = player->GetNextElement("Player")) {
            const std::string playerName = player->GetStringAttribute("name");
            if (_players.find(playerName) != _players.end()) {
                ReportFailure("Assertion failed", "_players.find(playerName) == _players.end()", __FILE__, __LINE__);
                PermanentVariableSet ignored;
                ignored.ReadFromXml(player);
                continue;
            }
            _players[playerName].ReadFromXml(player);
        }
        const ObjectWeakPointer<XmlElement> activePlayer = storageXml->GetFirstChildElement("ActivePlayer");
        if (activePlayer != NULL) {
            _activePlayerName = activePlayer->GetStringAttribute("name");
        } else {
            ReadActivePlayerFromGameInfo();
        }
    }
    MendLoadedValues();
    _isLoaded = true;
}

bool PermanentStorage::KeepAsideIfPresent(const std::string& path) {
    return !FilePort::Exists(path) || !XmlFileOps::KeepAside(path).empty();
}

namespace {

void MendFloats(const std::string& scope, PermanentVariableSet& set) {
    std::vector<std::string> notNumbers;
    for (const auto& entry : set.GetValues()) {
        if (entry.second.GetType() == PermanentValue::FLOAT_TYPE && std::isnan(entry.second.GetFloat())) {
            notNumbers.push_back(entry.first);
        }
    }
    for (const std::string& name : notNumbers) {
        ReportError("Float variable " + name + " of " + scope + " is not a number; read as 0");
        set.SetFloat(name, 0.0f);
    }
}

}  // namespace

void PermanentStorage::MendLoadedValues() {
    MendFloats("the globals", _globals);
    for (auto& player : _players) MendFloats("player " + player.first, player.second);

    // A player without a name cannot be chosen: it gets a free name and keeps its values.
    const auto unnamed = _players.find("");
    if (unnamed != _players.end()) {
        std::string name = "Player";
        for (int n = 2; DoesPlayerExist(name); ++n) name = "Player " + std::to_string(n);
        ReportError("A player without a name is renamed " + name);
        _players[name] = unnamed->second;
        _players.erase(unnamed);
        if (_activePlayerName.empty()) _activePlayerName = name;
    }
    // An active name without values is allowed (the first access of the player's values makes
    // them); they are made now, so that the player list shows the active player from the start.
    if (!_activePlayerName.empty() && !DoesPlayerExist(_activePlayerName)) {
        HtmlLog::WriteLineColor("The active player " + _activePlayerName + " has no values in " + GetFileName() +
                                    "; it starts with none",
                                "DarkOrange");
        _players.emplace(_activePlayerName, PermanentVariableSet());
    }
}

bool PermanentStorage::Save() {
    Assert(_isLoaded);
    if (!_isLoaded) {
        return false;  // an empty store must never replace the file
    }
    if (_isSaveBlocked) {
        ReportError("Storage " + GetFileName() + " is not saved: the unreadable profile is still in its place");
        return false;
    }
    ObjectSmartPointer<XmlElement> root(new XmlElement("Storage"));
    ObjectSmartPointer<XmlElement> globals(new XmlElement("Globals"));
    _globals.WriteToXml(globals);
    root->AppendChild(globals);
    for (const auto& player : _players) {
        ObjectSmartPointer<XmlElement> playerXml(new XmlElement("Player"));
        playerXml->SetStringAttribute("name", player.first);
        player.second.WriteToXml(playerXml);
        root->AppendChild(playerXml);
    }
    ObjectSmartPointer<XmlElement> activePlayer(new XmlElement("ActivePlayer"));
    activePlayer->SetStringAttribute("name", GetActivePlayerName());
    root->AppendChild(activePlayer);
    ObjectSmartPointer<XmlDocument> document(new XmlDocument(root));
    return document->Save(GetFileName());
}

bool PermanentStorage::Commit() {
    if (!_isLoaded) {
        // Saving a store that was never loaded would replace the file with an empty one.
        ReportFailure("Assertion failed", "_isLoaded", __FILE__, __LINE__);
        return false;
    }
    PlayerChangeServer::NotifyBeforeChange();
    const bool saved = Save();
    PlayerChangeServer::NotifyAfterChange();
    return saved;
}

bool PermanentStorage::Unload() {
    Assert(_isLoaded);
    PlayerChangeServer::CheckNoListeners();
    const bool saved = Save();
    Discard();
    return saved;
}

void PermanentStorage::Discard() {
    _players.clear();
    _globals.Clear();
    _activePlayerName.clear();
    _isLoaded = false;
    _isSaveBlocked = false;
}

// Players.

bool PermanentStorage::DoesPlayerExist(const std::string& playerName) {
    return _players.find(playerName) != _players.end();
}

std::string PermanentStorage::GetActivePlayerName() { return _activePlayerName; }

std::set<std::string> PermanentStorage::GetPlayerNames() {
    std::set<std::string> names;
    for (const auto& player : _players) names.insert(player.first);
    return names;
}

void PermanentStorage::DropActivePlayerListeners() { GetLocalSet().ClearListeners(); }

void PermanentStorage::SetActivePlayer(const std::string& playerName) {
    PlayerChangeServer::NotifyBeforeChange();
    DropActivePlayerListeners();
    Assert(DoesPlayerExist(playerName));
    _activePlayerName = playerName;
    PlayerChangeServer::NotifyAfterChange();
}

void PermanentStorage::CreatePlayer(const std::string& playerName) {
    PlayerChangeServer::NotifyBeforeChange();
    DropActivePlayerListeners();
    Assert(!DoesPlayerExist(playerName));
    _activePlayerName = playerName;
    _players.emplace(playerName, PermanentVariableSet());  // an existing player keeps its values
    Assert(GetActivePlayerName() == playerName);
    PlayerChangeServer::NotifyAfterChange();
}

void PermanentStorage::RenamePlayer(const std::string& oldName, const std::string& newName) {
    Assert(DoesPlayerExist(oldName));
    Assert(!DoesPlayerExist(newName));
    // Renaming onto an existing player would wipe it; a missing player has nothing to rename.
    if (!DoesPlayerExist(oldName) || DoesPlayerExist(newName)) {
        return;
    }
    const std::string rememberedName = _activePlayerName;
    const bool wasActive = oldName == rememberedName;
    if (wasActive) {
        PlayerChangeServer::NotifyBeforeChange();
        DropActivePlayerListeners();
    }
    _activePlayerName = newName;
    PermanentVariableSet& renamed = _players[newName];
    Assert(GetActivePlayerName() == newName);
    renamed = _players[oldName];
    // The old name is no longer active, so it can go.
    DeletePlayer(oldName);
    if (wasActive) {
        PlayerChangeServer::NotifyAfterChange();
    } else {
        _activePlayerName = rememberedName;
    }
}

void PermanentStorage::DeletePlayer(const std::string& playerName) {
    Assert(DoesPlayerExist(playerName));
    Assert(playerName != GetActivePlayerName());
    const auto i = _players.find(playerName);
    if (i == _players.end() || playerName == GetActivePlayerName()) {
        return;
    }
    for (const auto& value : i->second.GetValues()) {
        if (value.second.GetType() == PermanentValue::XML_TYPE) {
            const ObjectWeakPointer<XmlElement> xml = value.second.GetXml();
            if (xml != NULL) xml->MarkVisitedTree();
        }
    }
    _players.erase(i);
}

void PermanentStorage::DeleteInactivePlayers() {
    const std::set<std::string> allPlayerNames = GetPlayerNames();
    Assert(allPlayerNames.size() > 0);
    for (const std::string& name : allPlayerNames) {
        if (name != GetActivePlayerName()) {
            DeletePlayer(name);
        }
    }
}

void PermanentStorage::BackupActivePlayer(const std::string& suffix) {
    const std::string oldName = GetActivePlayerName();
    const std::string newName = oldName + suffix;
    Assert(!DoesPlayerExist(newName));
    if (DoesPlayerExist(newName)) {
        return;  // an existing player is never overwritten
    }
    PlayerChangeServer::NotifyBeforeChange();
    ObjectSmartPointer<XmlElement> playerXml(new XmlElement("Player"));
    GetLocalSet().WriteToXml(playerXml);
    _activePlayerName = newName;
    PermanentVariableSet& backup = _players[newName];
    Assert(GetActivePlayerName() == newName);
    backup.ReadFromXml(playerXml);
    _activePlayerName = oldName;
    PlayerChangeServer::NotifyAfterChange();
}
