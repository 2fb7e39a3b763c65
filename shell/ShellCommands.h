#pragma once
// Handing things to the desktop: opening a document or shortcut, starting a program.

#include <functional>
#include <string>
#include <vector>

namespace ShellCommands {

// Starts a program from an argument vector without waiting; false when it cannot be started.
using Spawner = std::function<bool(const std::vector<std::string>& argv)>;
// Tests replace the spawner; an empty function restores the real one.
void SetSpawner(Spawner spawner);
bool Spawn(const std::vector<std::string>& argv);

// Opens an http or https address in the browser; any other address does nothing (false).
bool OpenWebAddress(const std::string& address);

}  // namespace ShellCommands

// When the file exists, opens it through the desktop: an Internet shortcut (".url") opens its
// address when that is http or https; any other file goes to the desktop's opener. A missing
// file does nothing.
void ShellExecuteOpen(const std::string& path);

// When the file exists, starts it as a program with no arguments, without waiting. A missing
// file or a failed start does nothing.
void RunExecutable(const std::string& path);
