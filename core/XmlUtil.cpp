#include "core/XmlUtil.h"

#include <exception>

#include "core/Assert.h"
#include "core/HtmlLog.h"

namespace XmlUtil {

void CheckName(const std::string& name) {
    std::string::const_iterator i = name.begin();
    Assert(i != name.end());
    if (i == name.end()) return;
    Assert(IsFirstNameLetter(*i));
    for (++i; i != name.end(); ++i) {
        Assert(IsSecondNameLetter(*i));
    }
}

void LogFailure(const std::string& title, const std::string& text, const char* path, int line) {
    if (std::uncaught_exceptions() > 0) return;
    HtmlLog::WriteError(ComposeFailureText(title, text, path, line));
}

void CheckInDestructor(bool condition, const char* expression, const char* path, int line) {
    if (!condition) LogFailure("Assertion failed", expression, path, line);
}

}  // namespace XmlUtil
