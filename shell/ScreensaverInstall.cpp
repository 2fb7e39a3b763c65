#include "shell/ScreensaverInstall.h"

#include <climits>
#include <cstdlib>

#include "core/Assert.h"
#include "core/CurrentDirectory.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "platform/FilePort.h"
#include "platform/shell/ProfileFile.h"

const char* const SETTINGS_REG_KEY = "Software\\Tornvik Entertainment\\Marivel";

namespace ProgramArguments {
namespace {
std::vector<std::string>& Arguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
}  // namespace

void Set(int argc, const char* const* argv) {
    Arguments().clear();
    for (int i = 0; i < argc; ++i) Arguments().push_back(argv[i] ? argv[i] : "");
}

const std::vector<std::string>& Get() { return Arguments(); }
}  // namespace ProgramArguments

namespace {

const char* const SCREENSAVER_FILE = "\\Marivel Screensaver.scr";
const std::string SETTINGS_KEY_PATH = std::string("HKEY_CURRENT_USER\\") + SETTINGS_REG_KEY;

void Trace(const std::string& text) { HtmlLog::WriteLineColor(text, "Green"); }

// The system stores as the calls of the screensaver protocol see them.
bool WriteSystemIniString(const std::string& section, const std::string& key, const std::string& value) {
    ProfileFile ini(SystemStores::SystemIniPath(dataFolder));
    ini.Set(section, key, value);
    return ini.Save();
}

std::string ReadSystemIniString(const std::string& section, const std::string& key, const std::string& def) {
    std::string value;
    return ProfileFile(SystemStores::SystemIniPath(dataFolder)).Get(section, key, value) ? value : def;
}

bool SetDesktopValue(const std::string& name, const std::string& value) {
    ProfileFile registry(SystemStores::RegistryPath(dataFolder));
    registry.Set(SystemStores::DESKTOP_KEY, name, value);
    return registry.Save();
}

bool SetScreenSaveActive(bool active) { return SetDesktopValue("ScreenSaveActive", active ? "1" : "0"); }

bool GetScreenSaveActive(bool& active) {
    std::string value;
    active = ProfileFile(SystemStores::RegistryPath(dataFolder)).Get(SystemStores::DESKTOP_KEY, "ScreenSaveActive",
                                                                     value) &&
             value == "1";
    return true;
}

}  // namespace

std::string GetShortPath(const std::string& path, const char* secondCheck) {
    char resolved[PATH_MAX];
    const bool found = realpath(FilePort::NormalizePath(path).c_str(), resolved) != nullptr;
    const size_t size = found ? std::string(resolved).size() + 1 : 0;
    Assert(size != 0);
    if (size == 0) return std::string();
    const std::string shortPath(resolved);
    if (secondCheck != nullptr && shortPath.size() != size - 1) {
        ReportFailure("Assertion failed", secondCheck, __FILE__, __LINE__);
    }
    return shortPath;
}

std::string GetRegistryScreensaverPath() {
    ProfileFile registry(SystemStores::RegistryPath(dataFolder));
    if (!registry.HasSection(SETTINGS_KEY_PATH)) {
        ReportFailure("Assertion failed",
                      "RegOpenKeyEx(HKEY_CURRENT_USER, SETTINGS_REG_KEY, 0, KEY_QUERY_VALUE, &settingsKey) == "
                      "ERROR_SUCCESS",
                      __FILE__, __LINE__);
        return std::string();
    }
    std::string stored;
    if (!registry.Get(SETTINGS_KEY_PATH, "InstallPath", stored)) {
        ReportFailure("Assertion failed",
                      "RegQueryValueEx(settingsKey, \"InstallPath\", NULL, &type, NULL, &size) == ERROR_SUCCESS",
                      __FILE__, __LINE__);
        return std::string();
    }
    // Values written "dword:..." stand for numbers; only text values name a folder.
    const bool isText = stored.rfind("dword:", 0) != 0;
    Assert(isText);
    const std::string data = stored + '\0';
    Assert(data.size() >= 1);
    const std::string path = data.substr(0, data.size() - 1) + SCREENSAVER_FILE;
    const std::string answer = GetShortPath(path);
    Trace("GetRegistryScreensaverPath: answer == " + answer);
    return answer;
}

std::string GetScreensaverPath1() {
    const std::vector<std::string>& args = ProgramArguments::Get();
    Assert(args.size() >= 1);
    Trace("GetScreensaverPath1: __argc >= 1");
    Assert(!args.empty());
    Trace("GetScreensaverPath1: __argv[0] != NULL");
    std::string path = args.empty() ? std::string() : args[0];
    Trace("GetScreensaverPath1: path == " + path);
    Assert(path.size() > 0);
    Assert(path.empty() || path[0] != '"');
    const size_t slashPos = path.find_last_of("\\/");
    Assert(slashPos != std::string::npos);
    path = (slashPos == std::string::npos ? std::string() : path.substr(0, slashPos)) + SCREENSAVER_FILE;
    const std::string answer = GetShortPath(path);
    Trace("GetScreensaverPath1: answer == " + answer);
    return answer;
}

std::string GetScreensaverPath2() {
    const std::string path = CurrentDirectory::Get() + SCREENSAVER_FILE;
    Trace("GetScreensaverPath2: path == " + path);
    const std::string answer =
        GetShortPath(path, "GetShortPathName(path.c_str(), &shortPath[0], shortPath.size()) == shortPath.size() - 1");
    Trace("GetScreensaverPath2: answer == " + answer);
    return answer;
}

std::string GetScreensaverPath() {
    try {
        AssertThrowGuard guard;
        return GetRegistryScreensaverPath();
    } catch (const AssertionFailedException&) {
    }
    try {
        AssertThrowGuard guard;
        return GetScreensaverPath1();
    } catch (const AssertionFailedException&) {
    }
    return GetScreensaverPath2();
}

void InstallScreensaver() {
    try {
        AssertThrowGuard outer;
        const std::string path = GetScreensaverPath();
        try {
            AssertThrowGuard inner;
            Assert(WriteSystemIniString("boot", "SCRNSAVE.EXE", path));
            Assert(SetScreenSaveActive(true));
            ProfileFile registry(SystemStores::RegistryPath(dataFolder));
            std::string timeOut;
            if (!registry.Get(SystemStores::DESKTOP_KEY, "ScreenSaveTimeOut", timeOut)) {
                if (!SetDesktopValue("ScreenSaveTimeOut", "60")) {
                    HtmlLog::WriteLine("Can't set ScreenSaveTimeOut to 60");
                }
            }
        } catch (const AssertionFailedException&) {
        }
    } catch (const AssertionFailedException&) {
    }
}

void UninstallScreensaver() {
    try {
        AssertThrowGuard guard;
        Assert(WriteSystemIniString("boot", "SCRNSAVE.EXE", ""));
        Assert(SetScreenSaveActive(false));
    } catch (const AssertionFailedException&) {
    }
}

bool IsScreensaverEnabled() {
    bool isActive = false;
    if (!GetScreenSaveActive(isActive)) {
        ReportFailure("Assertion failed", "SystemParametersInfo(SPI_GETSCREENSAVEACTIVE, 0, &isActive, 0) != 0",
                      __FILE__, __LINE__);
    }
    if (!isActive) return false;
    try {
        AssertThrowGuard guard;
        const std::string path = GetScreensaverPath();
        return ReadSystemIniString("boot", "SCRNSAVE.EXE", "") == path;
    } catch (const AssertionFailedException&) {
        return false;
    }
}
