#pragma once
// The screensaver command line: which request a line asks for, tested on the line as one whole
// text (a switch letter in either case, led by "-" or "/"), and the window handle it carries.

#include <cstdint>
#include <string>

namespace screensaver {

using WindowHandle = std::uintptr_t;

// The program's arguments after its own name, joined with single blanks.
std::string JoinCommandLine(int argc, const char* const* argv);

// A strict unsigned decimal of at most nine digits, no leading zero; writes handle only on success.
bool ParseWindowHandle(const std::string& text, WindowHandle& handle);

// Options: the empty line, "/c" alone (handle 0), or "/c" then a blank or ":" and a handle.
bool ParseConfigSwitch(const std::string& line, WindowHandle& handle);
// Run: exactly "/s".
bool IsRunSwitch(const std::string& line);
// Preview: "/p" or "/l", then a blank or ":" and a handle.
bool ParsePreviewSwitch(const std::string& line, WindowHandle& handle);
// Password: "/a", then a blank or ":" and a handle (which nothing uses).
bool ParsePasswordSwitch(const std::string& line, WindowHandle& handle);

}  // namespace screensaver
