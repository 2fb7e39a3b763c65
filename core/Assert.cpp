#include "core/Assert.h"

#include <exception>
#include <map>
#include <utility>

#include "core/HtmlLog.h"

namespace {
int assertThrowDepth = 0;

// Reports written per place of the source. A place that reports ever new texts (one per character
// of a long bad value) is cut off after MAX_REPORTS_PER_PLACE, with one line saying so.
constexpr int MAX_REPORTS_PER_PLACE = 100;
std::map<std::pair<std::string, int>, int>& ReportsPerPlace() {
    static std::map<std::pair<std::string, int>, int> places;
    return places;
}

// Source paths are relative to the project (the build maps the source folder away). A build whose
// compiler was handed paths relative to its build folder (a compiler cache with a base folder does
// that) gives "../../core/X.cpp": the leading steps up are dropped too.
const char* ProjectPath(const char* path) {
    if (path == nullptr) return "";
    for (;;) {
        if (path[0] == '.' && path[1] == '/') {
            path += 2;
        } else if (path[0] == '.' && path[1] == '.' && path[2] == '/') {
            path += 3;
        } else {
            return path;
        }
    }
}
}  // namespace

std::string ComposeFailureText(const std::string& title, const std::string& text, const char* path,
                               int line) {
    std::string result = title;
    result += ": ";
    result += text;
    result += "\n\n";
    result += ProjectPath(path);
    result += ", line ";
    result += std::to_string(line);
    return result;
}

void ReportFailure(const std::string& title, const std::string& text, const char* path, int line) {
    if (std::uncaught_exceptions() > 0) {
        return;
    }
    const std::string composed = ComposeFailureText(title, text, path, line);
    if (!HtmlLog::IsBounded()) {
        HtmlLog::WriteError(composed);
    } else {
        int& reports = ReportsPerPlace()[std::make_pair(std::string(ProjectPath(path)), line)];
        if (reports < MAX_REPORTS_PER_PLACE) {
            if (HtmlLog::WriteError(composed)) ++reports;
        } else if (reports == MAX_REPORTS_PER_PLACE && !HtmlLog::IsErrorWritten(composed)) {
            ++reports;
            HtmlLog::WriteError("Further reports from " + std::string(ProjectPath(path)) + ", line " +
                                std::to_string(line) + " are left out");
        }
    }
    if (assertThrowDepth > 0) {
        throw AssertionFailedException(composed);
    }
}

bool IsFailureWritten(const std::string& title, const std::string& text, const char* path, int line) {
    return HtmlLog::IsErrorWritten(ComposeFailureText(title, text, path, line));
}

void ReportCheckFailure(const char* text, const char* path, int line) {
    ReportFailure("Assertion failed", text, path, line);
}

void ReportCheckFailure(const std::string& text, const char* path, int line) {
    ReportFailure("Assertion failed", text, path, line);
}

void ForgetReportedFailures() {
    ReportsPerPlace().clear();
    HtmlLog::ForgetWrittenErrors();
}

AssertThrowGuard::AssertThrowGuard() { ++assertThrowDepth; }

AssertThrowGuard::~AssertThrowGuard() { --assertThrowDepth; }

int AssertThrowGuard::Depth() { return assertThrowDepth; }
