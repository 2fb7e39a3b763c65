#pragma once
// The working directory of the process as it was when the program started.

#include <string>

class CurrentDirectory {
public:
    // Captures the working directory; the one instance is built before main.
    CurrentDirectory();

    // A copy of the directory captured at start-up, without a terminating separator.
    static std::string Get();

private:
    std::string _directory;
};
