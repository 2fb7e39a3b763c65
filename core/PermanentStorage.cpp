#include "core/PermanentStorage.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "core/Assert.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "core/PlayerChangeListener.h"
#include "core/PlayerNotice.h"
#include "core/XmlDocument.h"
#include "core/XmlFileOps.h"
#include "core/XmlRead.h"
#include "platform/FilePort.h"

bool PermanentStorage::_isLoaded = false;
bool PermanentStorage::_isSaveBlocked = false;
bool PermanentStorage::_isSaveFailureTold = false;
std::unique_ptr<PermanentStorageReader> PermanentStorage::_reader;
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

namespace {

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) return path;
    return std::string(buffer) + "/" + path;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::FILE* f = FilePort::Open(path, "rb");
    if (f == nullptr) return false;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
    return true;
}

// Said to the player in the game and on the standard error stream (the log may be as full as the disk).
void Tell(const std::string& text) {
    PlayerNotice::Post(text);
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
}

}  // namespace

void PermanentStorage::Load() {
    Assert(!_isLoaded);
    const std::string fileName = GetFileName();
    _reader = std::make_unique<PermanentStorageReader>(fileName);
    PermanentStorageReader::Profile profile;
    std::string unreadableCopy;
    bool isSalvaged = false;
    {
        ObjectSmartPointer<XmlDocument> storage(new XmlDocumentRead(fileName));
        const ObjectWeakPointer<XmlElement> storageXml = storage->GetRoot();
        if (storageXml == NULL) {
            // Neither the file nor its backup could be read: they are moved out of the way first,
            // so that no save replaces them, and what can be read of them is salvaged.
            bool keptAll = true;
            const std::string keptFile = KeepAsideIfPresent(fileName, keptAll);
            const std::string keptBackup = KeepAsideIfPresent(fileName + ".bak", keptAll);
            _isSaveBlocked = !keptAll;
            unreadableCopy = !keptFile.empty() ? keptFile : keptBackup;
            std::string text;
            ObjectSmartPointer<XmlElement> salvaged;
            if (!unreadableCopy.empty() && ReadWholeFile(unreadableCopy, text)) salvaged = _reader->Salvage(text);
            if (salvaged.Get() != nullptr) {
                ReportError("Storage " + fileName + " could not be read whole; every player and value that can be "
                            "read of it is kept (the whole file is in " + unreadableCopy + ")");
                _reader->Read(salvaged, profile);
                isSalvaged = true;
            } else {
                ReportError("Storage " + fileName + " could not be read; starting with an empty store");
            }
        } else {
            _reader->Read(storageXml, profile);
        }
    }
    _globals = std::move(profile.globals);
    _players = std::move(profile.players);
    if (profile.hasActivePlayer) {
        _activePlayerName = profile.activePlayerName;
    } else {
        ReadActivePlayerFromGameInfo();
    }
    MendLoadedValues();
    _isLoaded = true;

    const std::string keptIn = _reader->KeepPending();
    std::string setAside;
    if (_reader->PartCount() > 0) {
        setAside = " What was set aside is kept in " + AbsolutePath(keptIn.empty() ? fileName : keptIn) +
                   " (the log beside it names each part).";
    }
    if (isSalvaged) {
        Tell("Your profile could not be read whole; everything that could be read was loaded. The whole file is kept "
             "as " + AbsolutePath(unreadableCopy) + "." + setAside);
    } else if (!setAside.empty()) {
        Tell("Part of your profile could not be read; everything else was loaded." + setAside);
    } else if (!unreadableCopy.empty()) {
        Tell("Your profile could not be read; the game starts with an empty one. The unreadable file is kept as " +
             AbsolutePath(unreadableCopy) + ".");
    }
}

std::string PermanentStorage::KeepAsideIfPresent(const std::string& path, bool& keptAll) {
    if (!FilePort::Exists(path)) return std::string();
    const std::string kept = XmlFileOps::KeepAside(path);
    if (kept.empty()) keptAll = false;
    return kept;
}

void PermanentStorage::MendLoadedValues() {
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

void PermanentStorage::TellSaveFailed(const std::string& why) {
    if (_isSaveFailureTold) return;
    _isSaveFailureTold = true;
    Tell("Your progress could not be saved (" + why + "). Your profile is " + AbsolutePath(GetFileName()) +
         "; the game tries again at its next save and keeps everything until then.");
}

bool PermanentStorage::Save() {
    Assert(_isLoaded);
    if (!_isLoaded) {
        return false;  // an empty store must never replace the file
    }
    if (_isSaveBlocked) {
        ReportError("Storage " + GetFileName() + " is not saved: the unreadable profile is still in its place");
        TellSaveFailed("the unreadable profile could not be moved aside");
        return false;
    }
    // What the reader set aside goes beside the profile before a save can drop it.
    std::string failure;
    if (_reader != nullptr && _reader->HasPending() && _reader->KeepPending(&failure).empty()) {
        TellSaveFailed(failure);
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
    if (!document->Save(GetFileName(), &failure)) {
        TellSaveFailed(failure);
        return false;
    }
    if (_isSaveFailureTold) HtmlLog::WriteLineColor("Storage " + GetFileName() + " is saved again", "Green");
    _isSaveFailureTold = false;
    return true;
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
    _isSaveFailureTold = false;
    _reader.reset();
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
