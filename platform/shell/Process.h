#pragma once
// Starting other programs: always with an argument vector, never through a shell.

#include <string>
#include <vector>

namespace ProcessPort {

// Starts argv[0] (searched on PATH when it has no '/') with the arguments, without waiting.
// The child is reaped in the background. False when it cannot be started.
bool SpawnDetached(const std::vector<std::string>& argv);

// Whether the text is an http or https address (letter case of the scheme ignored).
bool IsWebAddress(const std::string& address);

// Opens an http or https address with the desktop's opener (xdg-open). Any other address is
// refused (false) and nothing is started.
bool OpenWebAddress(const std::string& address);

// The address of an Internet shortcut file (the "URL=" line of its "[InternetShortcut]"
// section); empty when there is none.
std::string ReadShortcutAddress(const std::string& fileText);

}  // namespace ProcessPort
