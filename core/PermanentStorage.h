#pragma once
// The persistent store: global values and each player's values, with the active player,
// read from and written to "Storage.xml" in the data folder.

#include <map>
#include <memory>
#include <set>
#include <string>

#include "core/PermanentStorageReader.h"
#include "core/PermanentVariableSet.h"

// Scope tags.
class Global {};
class Local {};

class PermanentStorage {
public:
    // Every player and value that can be read is loaded (PermanentStorageReader): what cannot be
    // read is set aside beside the file and the player is told once. A file the XML reader refuses
    // is kept aside whole (XmlFileOps::KeepAside) and salvaged.
    static void Load();
    // False when the file was not written (reported; the player is told once until a save succeeds).
    static bool Save();
    // Every player-change listener writes its state into the store (told "before"), the store is
    // saved, and the listeners read their state back ("after"); the active player stays. False
    // when the file was not written.
    static bool Commit();
    // Saves, then empties the store; false when the save failed.
    static bool Unload();
    // Empties the store without writing it (a read-only look at a profile).
    static void Discard();
    static bool IsLoaded() { return _isLoaded; }
    static std::string GetFileName();

    static void SetGlobalInt(const std::string& name, int value);
    static void SetGlobalBool(const std::string& name, bool value);
    static void SetGlobalFloat(const std::string& name, float value);
    static void SetGlobalString(const std::string& name, const std::string& value);
    static void SetLocalInt(const std::string& name, int value);
    static void SetLocalBool(const std::string& name, bool value);
    static void SetLocalFloat(const std::string& name, float value);
    static void SetLocalString(const std::string& name, const std::string& value);

    static int GetGlobalInt(const std::string& name);
    static bool GetGlobalBool(const std::string& name);
    static float GetGlobalFloat(const std::string& name);
    static std::string GetGlobalString(const std::string& name);
    static int GetLocalInt(const std::string& name);
    static bool GetLocalBool(const std::string& name);
    static float GetLocalFloat(const std::string& name);
    static std::string GetLocalString(const std::string& name);

    static int GetGlobalIntOrDef(const std::string& name, int defaultValue);
    static bool GetGlobalBoolOrDef(const std::string& name, bool defaultValue);
    static float GetGlobalFloatOrDef(const std::string& name, float defaultValue);
    static std::string GetGlobalStringOrDef(const std::string& name, const std::string& defaultValue);
    static int GetLocalIntOrDef(const std::string& name, int defaultValue);
    static bool GetLocalBoolOrDef(const std::string& name, bool defaultValue);
    static float GetLocalFloatOrDef(const std::string& name, float defaultValue);
    static std::string GetLocalStringOrDef(const std::string& name, const std::string& defaultValue);

    static bool IsGlobalNameDefined(const std::string& name);
    static bool IsLocalNameDefined(const std::string& name);
    static void UndefGlobalName(const std::string& name);
    static void UndefLocalName(const std::string& name);

    static void SetLocalXml(const std::string& name, const ObjectSmartPointer<XmlElement>& value);
    static ObjectWeakPointer<XmlElement> GetLocalXml(const std::string& name);
    static ObjectWeakPointer<XmlElement> GetLocalXmlOrDef(const std::string& name,
                                                          const ObjectSmartPointer<XmlElement>& defaultValue);

    // The generic forms the persistent variables use.
    template <class Scope, class T>
    static T Get(const std::string& name) {
        CheckLoaded();
        return GetSet(Scope()).template Get<T>(name);
    }
    template <class Scope, class T>
    static T GetOrDef(const std::string& name, const T& defaultValue) {
        CheckLoaded();
        return GetSet(Scope()).template GetOrDef<T>(name, defaultValue);
    }
    template <class Scope, class T>
    static void Set(const std::string& name, const T& value) {
        CheckLoaded();
        GetSet(Scope()).template Set<T>(name, value);
    }
    template <class Scope>
    static bool IsDefined(const std::string& name) {
        CheckLoaded();
        return GetSet(Scope()).IsDefined(name);
    }
    template <class Scope>
    static void AddListener(const std::string& name, const ObjectWeakPointer<PermanentValueListener>& listener) {
        CheckLoaded();
        GetSet(Scope()).AddListener(name, listener);
    }
    template <class Scope>
    static void RemoveListener(const std::string& name, const ObjectWeakPointer<PermanentValueListener>& listener) {
        CheckLoaded();
        GetSet(Scope()).RemoveListener(name, listener);
    }

    // Players.
    static bool DoesPlayerExist(const std::string& playerName);
    static std::string GetActivePlayerName();
    static std::set<std::string> GetPlayerNames();
    static void SetActivePlayer(const std::string& playerName);
    static void CreatePlayer(const std::string& playerName);
    static void RenamePlayer(const std::string& oldName, const std::string& newName);
    static void DeletePlayer(const std::string& playerName);
    static void DeleteInactivePlayers();
    static void BackupActivePlayer(const std::string& suffix);

    // Read-only views for tools and tests.
    static const PermanentVariableSet& GetGlobals() { return _globals; }
    static const PermanentVariableSet* FindPlayer(const std::string& playerName);

private:
    static void CheckLoaded();
    static PermanentVariableSet& GetSet(Global) { return _globals; }
    static PermanentVariableSet& GetSet(Local) { return GetLocalSet(); }
    // The active player's set, created when missing.
    static PermanentVariableSet& GetLocalSet();
    static void DropActivePlayerListeners();
    static void ReadActivePlayerFromGameInfo();
    // The name it is kept under; "" when it is not there or (keptAll false then) could not be moved.
    static std::string KeepAsideIfPresent(const std::string& path, bool& keptAll);
    static void MendLoadedValues();
    static void TellSaveFailed(const std::string& why);

    static bool _isLoaded;
    // An unreadable file that could not be kept aside must not be replaced by a save.
    static bool _isSaveBlocked;
    // The player was told that a save failed; cleared by the next save that succeeds.
    static bool _isSaveFailureTold;
    // The reader of the last load, holding what it set aside until that is kept.
    static std::unique_ptr<PermanentStorageReader> _reader;
    static PermanentVariableSet _globals;
    static std::map<std::string, PermanentVariableSet> _players;
    static std::string _activePlayerName;
};
