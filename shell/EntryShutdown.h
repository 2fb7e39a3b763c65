#pragma once
// What the entry function does after the application is gone: saving, the last log lines, the
// log archive, the leak check and the hand-off to the shortcut and the companion program.

#include <string>
#include <vector>

// The default of "reportTo": the product's page of its maker.
extern const char* const DEFAULT_REPORT_TO;

struct ShutdownValues {
    bool screensaverMode = false;
    bool zipLog = false;
    int levelNumber = 1;
    std::string reportTo;
};

// Everything the shutdown reaches outside itself; tests record the calls.
class ShutdownPorts {
public:
    virtual ~ShutdownPorts() = default;
    // Saves "Storage.xml" and empties the store.
    virtual void UnloadStorage() = 0;
    // Empties the store without saving.
    virtual void DiscardStorage() = 0;
    virtual void ReportMaxVideoMemory() = 0;
    virtual void WriteLogLine(const std::string& text, const std::string& color) = 0;
    virtual std::string GetDocumentsFolder() = 0;
    virtual std::string GetDataFolder() = 0;
    virtual void CreateFolder(const std::string& path) = 0;
    virtual void DeleteFile(const std::string& path) = 0;
    // Starts a program without waiting; false when it cannot be started.
    virtual bool Spawn(const std::vector<std::string>& argv) = 0;
    virtual void OpenWebAddress(const std::string& address) = 0;
    virtual void CheckAllDestroyed() = 0;
    virtual void CloseLog() = 0;
    virtual void ShellExecuteOpen(const std::string& path) = 0;
    virtual void RunExecutable(const std::string& path) = 0;
};

// The values of the first shutdown step, read from the still loaded storage.
ShutdownValues ReadShutdownValues();

// The archiver's argument vector: "7z", "a", the archive, then the logs and files of the data
// folder to pack.
std::vector<std::string> BuildArchiveCommand(const std::string& archive, const std::string& dataFolder);

// Whether the logs are archived: "zipLog" on and the player past level 5.
bool ShouldArchiveLogs(const ShutdownValues& values);

void RunShutdown(const ShutdownValues& values, ShutdownPorts& ports);

// The ports of the running program.
ShutdownPorts& SystemShutdownPorts();
