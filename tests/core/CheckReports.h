#pragma once
// Helpers for tests that look for a failed check's exact expression in the log.

#include <string>

#include "tests/support/TestSupport.h"

namespace check_reports {

// True when the log holds the failed check "expr" (the whole expression, not a prefix of one).
inline bool Reported(const testing_support::LogCapture& capture, const std::string& expr) {
    return capture.Contains("Assertion failed: " + expr + "\n");
}

inline bool ErrorReported(const testing_support::LogCapture& capture, const std::string& text) {
    return capture.Contains("Error: " + text + "\n");
}

}  // namespace check_reports
