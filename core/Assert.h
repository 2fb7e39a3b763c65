#pragma once
// The one failure reporter: every check and error report of the program goes through it.

#include <string>

// What a failed check throws inside an AssertThrowGuard scope.
class AssertionFailedException {
public:
    explicit AssertionFailedException(const std::string& text) : _text(text) {}
    const std::string& GetText() const { return _text; }

private:
    std::string _text;
};

// Writes the failure to the log as an error; throws AssertionFailedException while a guard is open.
void ReportFailure(const std::string& title, const std::string& text, const char* path, int line);

// Forgets the reports written so far (each fault and place is written once, and a place at most a
// hundred times); a test that empties the log starts afresh.
void ForgetReportedFailures();

// Whether that failure (its text at its place) is in the log already.
bool IsFailureWritten(const std::string& title, const std::string& text, const char* path, int line);

// The composed text: title ": " text "\n\n" path ", line " line.
std::string ComposeFailureText(const std::string& title, const std::string& text, const char* path,
                               int line);

// Scope under which failed checks throw instead of only being logged.
class AssertThrowGuard {
public:
    AssertThrowGuard();
    ~AssertThrowGuard();
    AssertThrowGuard(const AssertThrowGuard&) = delete;
    AssertThrowGuard& operator=(const AssertThrowGuard&) = delete;

    static int Depth();
};

// The failing branch of a check, out of line so that the passing one costs a compare; reports
// "Assertion failed" with the text through ReportFailure.
[[gnu::cold, gnu::noinline]] void ReportCheckFailure(const char* text, const char* path, int line);
[[gnu::cold, gnu::noinline]] void ReportCheckFailure(const std::string& text, const char* path, int line);

#define Assert(expr)                                                               \
    do {                                                                           \
        if (__builtin_expect(!(expr), 0)) ::ReportCheckFailure(#expr, __FILE__, __LINE__); \
    } while (false)

#define ReportError(text) ::ReportFailure("Error", (text), __FILE__, __LINE__)

// The core library's lock. Nothing initialises it: the program runs on one thread.
class CriticalSection {
public:
    void Enter() {}
    void Leave() {}
    bool IsInitialized() const { return _initialized; }

private:
    bool _initialized = false;
};

class CriticalSectionHolder {
public:
    explicit CriticalSectionHolder(CriticalSection& section) : _section(section) { _section.Enter(); }
    ~CriticalSectionHolder() { _section.Leave(); }
    CriticalSectionHolder(const CriticalSectionHolder&) = delete;
    CriticalSectionHolder& operator=(const CriticalSectionHolder&) = delete;

private:
    CriticalSection& _section;
};
