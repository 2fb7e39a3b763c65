#pragma once
// Strict conversions between 32-bit integers and text.

#include <climits>
#include <cstdint>
#include <string>

class Int {
public:
    static constexpr int MIN_VALUE = INT_MIN;
    static constexpr int MAX_VALUE = INT_MAX;

    // Decimal text: "-" before negative values, no "+", no leading zeros.
    static std::string ToString(int value);
    // The digits of a positive value; zero gives the empty text.
    static std::string ToStringPositive(int value);
    // The number of characters ToString gives for the value.
    static int GetStringLength(int value);
    // Accepts only the text ToString would give; every other form is one failed check: a value past
    // the range gives the end of the range, a character that is no digit ends the number.
    static int Parse(const std::string& image);
    // Up to eight significant hexadecimal digits of either case, no sign or prefix.
    static std::uint32_t ParseHex(const std::string& image);
    // Exactly eight upper-case hexadecimal digits of the 32-bit pattern.
    static std::string ToHexString(int value);
};
