#pragma once
// The entry function of the game program: start-up before the application, its run, and the
// shutdown after it. Returns 0, 1 when "start.lua" could not be run, 2 for malformed options of
// EntryOptions.h. When the log got an error entry, the first one and the log's path are written
// to the standard error stream.

int EntryMain(int argc, const char* const* argv);
