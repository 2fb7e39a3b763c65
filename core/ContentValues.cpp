#include "core/ContentValues.h"

#include <set>

#include "core/Assert.h"
#include "core/Float.h"

namespace {

std::set<std::string>& Reported() {
    static std::set<std::string> reported;
    return reported;
}

void ReportOnce(const char* check, const char* path, int line, const std::string& value) {
    const std::string key = std::string(path) + ":" + std::to_string(line) + ":" + check + ":" + value;
    if (Reported().insert(key).second) ReportFailure("Assertion failed", check, path, line);
}

}  // namespace

int CheckedInt(int value, int low, int high, const char* check, const char* path, int line) {
    if (low <= value && value <= high) return value;
    ReportOnce(check, path, line, std::to_string(value));
    return value < low ? low : high;
}

float CheckedFloat(float value, float low, float high, float fallback, const char* check, const char* path,
                   int line) {
    if (low <= value && value <= high) return value;
    ReportOnce(check, path, line, Float::ToStringE(value));
    if (value != value) return fallback;
    return value < low ? low : high;
}

bool CheckOnce(bool condition, const char* check, const char* path, int line) {
    if (!condition) ReportOnce(check, path, line, std::string());
    return condition;
}

void ForgetReportedChecks() { Reported().clear(); }
