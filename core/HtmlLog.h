#pragma once
// The HTML log "log.htm" in the data folder, opened and closed again for every entry.

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

class HtmlLog {
public:
    // Past this size the log takes no more entries: one closing entry says so. The header and the
    // footer are still written.
    static constexpr long MAX_FILE_SIZE = 4L * 1024 * 1024;
    // An entry's text is cut to this many bytes, with a note of what was left out.
    static constexpr std::size_t MAX_ENTRY_TEXT = 4096;

    static void WriteLine(const std::string& text);
    static void WriteLineColor(const std::string& text, const std::string& color);
    // An error text already written since the log was opened is not written again: false then.
    static bool WriteError(const std::string& text);
    static bool IsErrorWritten(const std::string& text);
    static void WriteLabelled(const std::string& label, const std::string& text);
    static void WriteRaw(const std::string& text);
    // A tool that reads every report back from its own log (content-check) lifts the bounds: no
    // size limit, and a fault is written each time it is reported.
    static void SetBounded(bool bounded) { _isBounded = bounded; }
    static bool IsBounded() { return _isBounded; }

    // Starts the log; the memory of errors written is cleared.
    static void Open(bool recreate);
    // Forgets which errors were written (a test that empties the log starts afresh).
    static void ForgetWrittenErrors();
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
    // An entry is held to the size limit; raw text (header, footer) is not.
    static void Append(const std::string& text, bool isEntry);
    static std::string Entry(const std::string& text);

    static int _failedWrites;
    // The log's size once its closing line was written; -1 while it takes entries.
    static long _fullSize;
    static bool _isBounded;
};
