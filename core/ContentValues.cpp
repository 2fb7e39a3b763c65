#include "core/ContentValues.h"

#include "core/Assert.h"

namespace {

// The log keeps each fault and place once; a check that fails again at its place is not even
// handed to it, so that it throws no second time inside a guard either.
void ReportOnce(const char* check, const char* path, int line) {
    if (!IsFailureWritten("Assertion failed", check, path, line)) ReportCheckFailure(check, path, line);
}

}  // namespace

int CheckedInt(int value, int low, int high, const char* check, const char* path, int line) {
    if (low <= value && value <= high) return value;
    ReportOnce(check, path, line);
    return value < low ? low : high;
}

float CheckedFloat(float value, float low, float high, float fallback, const char* check, const char* path,
                   int line) {
    if (low <= value && value <= high) return value;
    ReportOnce(check, path, line);
    if (value != value) return fallback;
    return value < low ? low : high;
}

bool CheckOnce(bool condition, const char* check, const char* path, int line) {
    if (!condition) ReportOnce(check, path, line);
    return condition;
}
