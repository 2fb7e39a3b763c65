#include "core/Assert.h"

#include <exception>

#include "core/HtmlLog.h"

namespace {
int assertThrowDepth = 0;
}

std::string ComposeFailureText(const std::string& title, const std::string& text, const char* path,
                               int line) {
    std::string result = title;
    result += ": ";
    result += text;
    result += "\n\n";
    // A compiler cache may hand the compiler paths relative to the build folder ("../../core/x.cpp"):
    // the report names the file from the project's top either way.
    const char* shown = path ? path : "";
    while (shown[0] == '.' && (shown[1] == '/' || (shown[1] == '.' && shown[2] == '/'))) shown += shown[1] == '/' ? 2 : 3;
    result += shown;
    result += ", line ";
    result += std::to_string(line);
    return result;
}

void ReportFailure(const std::string& title, const std::string& text, const char* path, int line) {
    if (std::uncaught_exceptions() > 0) {
        return;
    }
    const std::string composed = ComposeFailureText(title, text, path, line);
    HtmlLog::WriteError(composed);
    if (assertThrowDepth > 0) {
        throw AssertionFailedException(composed);
    }
}

AssertThrowGuard::AssertThrowGuard() { ++assertThrowDepth; }

AssertThrowGuard::~AssertThrowGuard() { --assertThrowDepth; }

int AssertThrowGuard::Depth() { return assertThrowDepth; }
