#pragma once
// The entry function of the game program: start-up before the application, its run, and the
// shutdown after it. Always returns 0, except 2 for malformed options of EntryOptions.h.

int EntryMain(int argc, const char* const* argv);
