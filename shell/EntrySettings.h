#pragma once
// What the entry function reads before the application exists: "settings.ini", the data folder
// and its seed files, and the command line.

#include <functional>
#include <string>

namespace utils {
// Splits "name = value": see EntrySettings.cpp. True when the value is not empty.
bool ReadNvp(const std::string& str, std::string& name, std::string& value);
}  // namespace utils

struct EntrySettings {
    bool fileFound = false;
    std::string path;
    bool useAppData = true;
    bool recreateLog = true;
    bool dev = false;
    bool advertisement = false;
    bool adVisible = true;
};

// Reads the six lines of the settings file (opened through the path normaliser). The "path" line
// is handed to setCurrentDirectory at once, which gives false when the folder cannot be entered.
EntrySettings ReadSettingsFile(const std::string& fileName,
                               const std::function<bool(const std::string&)>& setCurrentDirectory);

// Enters the folder (written with either kind of slash). False when it cannot.
bool SetCurrentDirectory(const std::string& folder);

// The per-user application-data folder of the program, ending with '/':
// <user data folder>/Tornvik Entertainment/Marivel/. Empty (reported) when no user folder is known.
std::string GetApplicationDataFolder();

// Creates every folder along the path (each part before a '/'); results ignored.
void CreateDirectories(const std::string& path);

// Copies a file only when the target does not exist yet; the target appears whole or not at all.
// False when nothing was copied.
bool CopyFileNoReplace(const std::string& from, const std::string& to);

// The data folder the settings choose ("" = the current folder); the application-data folder is
// created.
std::string PrepareDataFolder(const EntrySettings& settings);

// The application-data folder (not "") after the log is open: a "Storage.xml" that a save cut short
// left aside comes back, then "GameInfo.xml" and, into a folder holding no "Storage.xml", ".bak" or
// ".new", the first-start "Storage.xml" are copied from the current folder, never over a file.
void SeedDataFolder(const std::string& folder);

// Whether the command line selects screensaver mode: exactly "/screensaver" or "-screensaver" as
// the first argument.
bool IsScreensaverCommandLine(int argc, const char* const* argv);
