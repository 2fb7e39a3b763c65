#pragma once
// Helpers shared by the test programs.

#include <string>

namespace testing_support {

// A fresh folder under the process's temporary folder, ending with '/'.
std::string MakeTempDir(const std::string& hint = "t");
// Makes a fresh temporary folder the working folder and gives it ("" when the change fails); the
// folder worked in before goes to *previous.
std::string EnterTempDir(const std::string& hint, std::string* previous);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// How often what stands in text (overlapping places counted).
int CountOf(const std::string& text, const std::string& what);

// Folder of the source tree's test fixtures for a subsystem ("core", "shell", ...).
std::string FixturePath(const std::string& relative);

// Empties the log and returns what is written to it from now on.
class LogCapture {
public:
    LogCapture();
    std::string Text() const;
    // How many ERROR entries were written since construction.
    int ErrorCount() const;
    bool Contains(const std::string& text) const;
};

}  // namespace testing_support
