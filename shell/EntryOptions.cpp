#include "shell/EntryOptions.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "shell/WindowInput.h"

namespace {

std::string Absolute(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) return path;
    return std::string(buffer) + "/" + path;
}

bool ParseInt(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end && *end == '\0' && value >= low && value <= high;
}

}  // namespace

bool ParseEntryOptions(int argc, const char* const* argv, EntryOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        const bool known = arg == "--frames" || arg == "--screenshot" || arg == "--fixed-step" || arg == "--events" ||
                           arg == "--seed" || arg == "--frame-times";
        if (!known) {
            if (arg.rfind("--", 0) == 0) {
                error = "unknown option " + arg;
                return false;
            }
            continue;
        }
        if (i + 1 >= argc || argv[i + 1] == nullptr) {
            error = arg + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        long number = 0;
        if (arg == "--frames") {
            if (!ParseInt(value, 1, INT_MAX, number)) {
                error = "--frames needs a positive number";
                return false;
            }
            options.frames = static_cast<int>(number);
        } else if (arg == "--fixed-step") {
            if (!ParseInt(value, 1, 1000000, number)) {
                error = "--fixed-step needs a positive number of milliseconds";
                return false;
            }
            options.fixedStepMs = static_cast<float>(number);
        } else if (arg == "--seed") {
            if (!ParseInt(value, 0, INT_MAX, number)) {
                error = "--seed needs a number from 0";
                return false;
            }
            options.seed = number;
        } else if (arg == "--screenshot") {
            options.screenshot = Absolute(value);
        } else if (arg == "--frame-times") {
            options.frameTimes = Absolute(value);
        } else {
            options.events = Absolute(value);
        }
    }
    return true;
}

bool ParseInputScript(const std::string& text, std::multimap<int, WindowMessage>& events, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string frameText;
        std::string name;
        if (!(words >> frameText)) continue;
        long frame = 0;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!ParseInt(frameText, 1, INT_MAX, frame) || !(words >> name)) {
            error = where + "expected <frame> <event>";
            return false;
        }
        std::vector<std::string> args;
        std::string word;
        while (words >> word) args.push_back(word);
        auto number = [&](size_t index, long low, long high, long& value) {
            return index < args.size() && ParseInt(args[index], low, high, value);
        };
        WindowMessage m;
        long a = 0;
        long b = 0;
        const int at = static_cast<int>(frame);
        if (name == "move") {
            if (!number(0, -100000, 100000, a) || !number(1, -100000, 100000, b)) {
                error = where + "move X Y";
                return false;
            }
            m.type = WindowMessage::MOUSEMOVE;
            m.x = static_cast<int>(a);
            m.y = static_cast<int>(b);
        } else if (name == "down" || name == "up" || name == "dblclick" || name == "rdown" || name == "rup" ||
                   name == "rdblclick" || name == "paint" || name == "close" || name == "activate" ||
                   name == "deactivate") {
            static const std::map<std::string, WindowMessage::Type> types = {
                {"down", WindowMessage::LBUTTONDOWN},    {"up", WindowMessage::LBUTTONUP},
                {"dblclick", WindowMessage::LBUTTONDBLCLK}, {"rdown", WindowMessage::RBUTTONDOWN},
                {"rup", WindowMessage::RBUTTONUP},       {"rdblclick", WindowMessage::RBUTTONDBLCLK},
                {"paint", WindowMessage::PAINT},         {"close", WindowMessage::CLOSE},
                {"activate", WindowMessage::ACTIVATE},   {"deactivate", WindowMessage::ACTIVATE}};
            m.type = types.at(name);
            if (name == "activate") m.code = WA_ACTIVE;
            if (name == "deactivate") m.code = WA_INACTIVE;
        } else if (name == "wheel") {
            if (!number(0, -1000000, 1000000, a)) {
                error = where + "wheel DELTA [ctrl]";
                return false;
            }
            m.type = WindowMessage::MOUSEWHEEL;
            m.code = static_cast<int>(a);
            m.shiftOrControl = args.size() > 1 && (args[1] == "ctrl" || args[1] == "shift");
        } else if (name == "key" || name == "syskey") {
            if (!number(0, 1, 255, a)) {
                error = where + name + " VK (1..255)";
                return false;
            }
            m.type = name == "key" ? WindowMessage::KEYDOWN : WindowMessage::SYSKEYDOWN;
            m.code = static_cast<int>(a);
            events.emplace(at, m);
            m.type = WindowMessage::KEYUP;
        } else if (name == "char") {
            if (!number(0, 0, 255, a)) {
                error = where + "char CODE (0..255)";
                return false;
            }
            m.type = WindowMessage::CHAR;
            m.code = static_cast<int>(a);
        } else if (name == "text") {
            const size_t start = line.find("text") + 4;
            std::string typed = start < line.size() ? line.substr(start + 1) : std::string();
            for (unsigned char c : typed) {
                WindowMessage ch;
                ch.type = WindowMessage::CHAR;
                ch.code = c;
                events.emplace(at, ch);
            }
            continue;
        } else if (name == "utf8") {
            // Typed text as the window receives it, through the same conversion.
            const size_t start = line.find("utf8") + 4;
            for (const WindowMessage& c : CharMessagesFromUtf8(start < line.size() ? line.substr(start + 1) : std::string())) {
                events.emplace(at, c);
            }
            continue;
        } else {
            error = where + "unknown event " + name;
            return false;
        }
        events.emplace(at, m);
    }
    return true;
}
