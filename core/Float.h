#pragma once
// Conversions between single-precision floats and text.

#include <string>

class Float {
public:
    // The "%e" text with a three-digit exponent: 1.0 gives "1.000000e+000".
    static std::string ToStringE(float value);
    // The exact form: ToStringE, "/0x" and the eight hexadecimal digits of the bits.
    static std::string ToString(float value);
    // The exact form when the text holds "/0x", else the strict decimal form ("-"? digits "." digits).
    static float Parse(const std::string& image);

private:
    static float ParseExact(const std::string& image);
    static float ParseDecimal(const std::string& image);
};
