#pragma once
// Strict conversions between flags and text.

#include <string>

class Bool {
public:
    static std::string ToString(bool value);
    // Only "true" and "false"; anything else is a failed check and gives false.
    static bool Parse(const std::string& image);
    // Only "0" and "1"; anything else is a failed check and gives false.
    static bool ParseZeroOne(const std::string& image);
};
