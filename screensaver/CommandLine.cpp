#include "screensaver/CommandLine.h"

namespace screensaver {

namespace {

bool IsLead(char c) { return c == '-' || c == '/'; }

// c is a lower-case letter; the switch accepts it in either case.
bool IsLetter(char c, char lower) { return c == lower || c == lower - ('a' - 'A'); }

// "/x" then a blank or ":" and a handle text from the fourth character on.
bool ParseHandleSwitch(const std::string& line, const char* letters, WindowHandle& handle) {
    if (line.size() < 4 || !IsLead(line[0])) return false;
    bool letter = false;
    for (const char* l = letters; *l; ++l) letter = letter || IsLetter(line[1], *l);
    if (!letter || (line[2] != ' ' && line[2] != ':')) return false;
    return ParseWindowHandle(line.substr(3), handle);
}

}  // namespace

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc && argv[i]; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

bool ParseWindowHandle(const std::string& text, WindowHandle& handle) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    WindowHandle value = static_cast<WindowHandle>(text[0] - '0');
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9' || value == 0 || value >= 100000000) return false;
        value = value * 10 + static_cast<WindowHandle>(c - '0');
    }
    handle = value;
    return true;
}

bool ParseConfigSwitch(const std::string& line, WindowHandle& handle) {
    if (line.empty() || (line.size() == 2 && IsLead(line[0]) && IsLetter(line[1], 'c'))) {
        handle = 0;
        return true;
    }
    return ParseHandleSwitch(line, "c", handle);
}

bool IsRunSwitch(const std::string& line) { return line.size() == 2 && IsLead(line[0]) && IsLetter(line[1], 's'); }

bool ParsePreviewSwitch(const std::string& line, WindowHandle& handle) { return ParseHandleSwitch(line, "pl", handle); }

bool ParsePasswordSwitch(const std::string& line, WindowHandle& handle) { return ParseHandleSwitch(line, "a", handle); }

}  // namespace screensaver
