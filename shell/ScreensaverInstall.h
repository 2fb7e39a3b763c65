#pragma once
// Making the program's screensaver launcher the desktop's screensaver, and taking it away again.
// The system stores are the file-backed stand-ins in the data folder (platform/shell/ProfileFile.h):
// the registry ("registry.ini"), "system.ini" and the desktop key with "ScreenSaveActive" and
// "ScreenSaveTimeOut".

#include <string>
#include <vector>

// The key the installer writes; its value "InstallPath" names the installation folder.
extern const char* const SETTINGS_REG_KEY;

// The program's own arguments as the entry function received them (the second way of finding
// the screensaver looks beside the program).
namespace ProgramArguments {
void Set(int argc, const char* const* argv);
const std::vector<std::string>& Get();
}  // namespace ProgramArguments

void InstallScreensaver();
void UninstallScreensaver();
bool IsScreensaverEnabled();

std::string GetScreensaverPath();
std::string GetRegistryScreensaverPath();
std::string GetScreensaverPath1();
std::string GetScreensaverPath2();
// The one canonical form of an existing file's path (the stand-in of the short path).
std::string GetShortPath(const std::string& path, const char* secondCheck = nullptr);
