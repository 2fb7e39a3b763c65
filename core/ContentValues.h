#pragma once
// Content values brought into the range in which the arithmetic that uses them stays exact. A
// value outside its range is reported where it is read, with the check's text; the caller goes on
// with the nearer end of the range (a float that is no number: with the fallback). The same check
// failing at the same place is reported once a run (the log's rule), however often a screen or
// template is built again or a layout fails again, and throws no second time inside a guard.

#include <string>

// Far beyond the screen, yet no sum or product of two such values overflows an int.
constexpr int MAX_CONTENT_SIZE = 100000;
// Longer than any animation or pause of a screen.
constexpr float MAX_CONTENT_SECONDS = 3600.0f;

int CheckedInt(int value, int low, int high, const char* check, const char* path, int line);
float CheckedFloat(float value, float low, float high, float fallback, const char* check, const char* path,
                   int line);
// True when the condition holds; otherwise reports the check, the first time only.
bool CheckOnce(bool condition, const char* check, const char* path, int line);

#define CHECKED_INT(value, low, high, check) CheckedInt((value), (low), (high), (check), __FILE__, __LINE__)
#define CHECKED_FLOAT(value, low, high, fallback, check) \
    CheckedFloat((value), (low), (high), (fallback), (check), __FILE__, __LINE__)
#define CHECK_ONCE(condition, check) CheckOnce((condition), (check), __FILE__, __LINE__)
