#include "shell/EntryShutdown.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "core/Assert.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "core/Object.h"
#include "core/PermanentStorage.h"
#include "platform/shell/Desktop.h"
#include "shell/NativeTextureLoader.h"
#include "shell/ShellCommands.h"

const char* const DEFAULT_REPORT_TO = "https://tornvik-entertainment.example/marivel/report";

ShutdownValues ReadShutdownValues() {
    ShutdownValues values;
    values.screensaverMode = PermanentStorage::GetGlobalBoolOrDef("temp:ScreensaverMode", false);
    values.zipLog = PermanentStorage::GetGlobalBoolOrDef("zipLog", false);
    values.levelNumber = PermanentStorage::GetLocalIntOrDef("LevelNumber", 1);
    values.reportTo = PermanentStorage::GetGlobalStringOrDef("reportTo", DEFAULT_REPORT_TO);
    return values;
}

std::vector<std::string> BuildArchiveCommand(const std::string& archive, const std::string& folder) {
    return {"7z", "a", archive, folder + "*.csv", folder + "log.htm", folder + "GameInfo.xml", folder + "Storage.xml"};
}

bool ShouldArchiveLogs(const ShutdownValues& values) { return values.zipLog && values.levelNumber - 1 >= 5; }

void RunShutdown(const ShutdownValues& values, ShutdownPorts& ports) {
    if (!values.screensaverMode) {
        ports.UnloadStorage();
    } else {
        // Nothing is saved; the store is emptied so that nothing is alive at the leak check.
        ports.DiscardStorage();
    }
    ports.ReportMaxVideoMemory();
    ports.WriteLogLine("Application shutdown!", "DarkBlue");
    if (ShouldArchiveLogs(values)) {
        try {
            AssertThrowGuard guard;
            const std::string folder = ports.GetDocumentsFolder() + "/Marivel";
            ports.CreateFolder(folder);
            const std::string archive = folder + "/log.zip";
            ports.DeleteFile(archive);
            const bool res = ports.Spawn(BuildArchiveCommand(archive, ports.GetDataFolder()));
            if (!res) ReportFailure("Assertion failed", "res > 31", __FILE__, __LINE__);
            ports.OpenWebAddress(values.reportTo);
        } catch (const AssertionFailedException&) {
        }
    }
    ports.CheckAllDestroyed();
    ports.CloseLog();
    if (!values.screensaverMode) {
        ports.ShellExecuteOpen("../play.url");
        ports.RunExecutable("../fscommand/wgame.exe");
    }
}

namespace {

class SystemPorts : public ShutdownPorts {
public:
    void UnloadStorage() override {
        if (!PermanentStorage::Unload()) {
            std::fprintf(stderr, "Marivel: the profile %s could not be saved (see %s)\n",
                         PermanentStorage::GetFileName().c_str(), HtmlLog::FileName().c_str());
        }
    }
    void DiscardStorage() override { PermanentStorage::Discard(); }
    void ReportMaxVideoMemory() override { NativeTextureLoader::ReportMaxVideoMemory(); }
    void WriteLogLine(const std::string& text, const std::string& color) override {
        HtmlLog::WriteLineColor(text, color);
    }
    std::string GetDocumentsFolder() override { return Desktop::DocumentsFolder(); }
    std::string GetDataFolder() override { return dataFolder; }
    void CreateFolder(const std::string& path) override { mkdir(path.c_str(), 0755); }
    void DeleteFile(const std::string& path) override { unlink(path.c_str()); }
    bool Spawn(const std::vector<std::string>& argv) override { return ShellCommands::Spawn(argv); }
    void OpenWebAddress(const std::string& address) override { ShellCommands::OpenWebAddress(address); }
    void CheckAllDestroyed() override { Object::CheckAllDestroyed(); }
    void CloseLog() override { HtmlLog::Close(); }
    void ShellExecuteOpen(const std::string& path) override { ::ShellExecuteOpen(path); }
    void RunExecutable(const std::string& path) override { ::RunExecutable(path); }
};

}  // namespace

ShutdownPorts& SystemShutdownPorts() {
    static SystemPorts ports;
    return ports;
}
