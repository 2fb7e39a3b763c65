#pragma once
// Options for people and tests, outside the program's own command line:
//   --frames N        draw N frames, then close as if the window were closed
//   --screenshot FILE write the last frame as a PNG picture
//   --fixed-step MS   a fixed time step of MS milliseconds instead of the clock
//   --events FILE     replay scripted input (see ReplayEvent)
//   --seed N          seed the random draws with N instead of the clock
//   --frame-times FILE write the main thread's CPU time of every presented frame (see Entry.cpp)

#include <map>
#include <string>
#include <vector>

#include "shell/WindowMessage.h"

struct EntryOptions {
    int frames = 0;
    std::string screenshot;
    float fixedStepMs = 0.0f;
    std::string events;
    // Negative: seeded from the clock.
    long seed = -1;
    std::string frameTimes;
};

// Reads the options anywhere on the command line; other arguments are left alone. False with a
// reason when an option is malformed. Paths become absolute against the current folder.
bool ParseEntryOptions(int argc, const char* const* argv, EntryOptions& options, std::string& error);

// An input script: one event a line, "<frame> <event> [arguments]", "#" starts a comment.
// Events (positions in window pixels, origin top-left):
//   move X Y | down | up | dblclick | rdown | rup | rdblclick | wheel DELTA [ctrl]
//   key VK (down and up) | syskey VK | char CODE | text WORDS | activate | deactivate | paint | close
// Each event is handed to the window before frame <frame> is drawn.
bool ParseInputScript(const std::string& text, std::multimap<int, WindowMessage>& events, std::string& error);
