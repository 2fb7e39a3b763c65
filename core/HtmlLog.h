#pragma once
// The HTML log "log.htm" in the data folder, opened and closed again for every entry.

#include <ctime>
#include <functional>
#include <string>

class HtmlLog {
public:
    static void WriteLine(const std::string& text);
    static void WriteLineColor(const std::string& text, const std::string& color);
    static void WriteError(const std::string& text);
    static void WriteLabelled(const std::string& label, const std::string& text);
    static void WriteRaw(const std::string& text);
    static void Open(bool recreate);
    static void Close();
    static std::string Escape(const std::string& text);

    static std::string FileName();

    // Entries that could not be written (the first one is also said on stderr).
    static int FailedWrites() { return _failedWrites; }

    // The first error entry of the run (its text), which the entry function repeats on the
    // standard error stream; false when there was none.
    static bool FirstError(std::string* text);

    // The local time used for stamps; tests install a fixed clock. An empty function restores the real one.
    using Clock = std::function<std::tm()>;
    static void SetClock(Clock clock);
    static std::string TimeStamp();
    // The local time of that clock.
    static std::tm LocalTime();

private:
    static void Append(const std::string& text);

    static int _failedWrites;
};
