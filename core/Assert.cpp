#include "core/Assert.h"

#include <exception>

#include "core/HtmlLog.h"

namespace {
int assertThrowDepth = 0;

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
    HtmlLog::WriteError(composed);
    if (assertThrowDepth > 0) {
        throw AssertionFailedException(composed);
    }
}

AssertThrowGuard::AssertThrowGuard() { ++assertThrowDepth; }

AssertThrowGuard::~AssertThrowGuard() { --assertThrowDepth; }

int AssertThrowGuard::Depth() { return assertThrowDepth; }
