#include "core/Float.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/Assert.h"
#include "core/Int.h"

namespace {

float FromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t ToBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

float Float::ParseExact(const std::string& image) {
    const std::string::size_type bitsPos = image.find("/0x");
    Assert(bitsPos != std::string::npos);
    if (bitsPos == std::string::npos) {
        return 0.0f;
    }
    const float value = FromBits(Int::ParseHex(image.substr(bitsPos + 3)));
    const std::string floatImage = image.substr(0, bitsPos);
    Assert(floatImage == ToStringE(value));
    return value;
}

namespace {

bool IsDigit(char c) { return '0' <= c && c <= '9'; }

}  // namespace

float Float::ParseDecimal(const std::string& image) {
    // Digits beyond what a float holds only scale the value (whole part) or are dropped (fraction),
    // so a long number neither overflows nor costs more than one report.
    constexpr double KEPT = 1e17;
    double n = 0.0;
    int nDigits = 0;
    int fractionDigits = 0;
    int scale = 0;
    bool negative = false;

    const auto value = [&]() {
        const int exponent = scale - fractionDigits;
        const double answer = exponent >= 0 ? n * std::pow(10.0, exponent) : n / std::pow(10.0, -exponent);
        const float cut = answer > FLT_MAX ? FLT_MAX : static_cast<float>(answer);
        return negative ? -cut : cut;
    };
    const auto takeDigit = [&](char c, bool isFraction) {
        ++nDigits;
        if (nDigits == 8) Assert(nDigits <= 7);
        if (n < KEPT) {
            n = n * 10.0 + static_cast<double>(c - '0');
            if (isFraction) ++fractionDigits;
        } else if (!isFraction) {
            ++scale;
        }
    };

    std::string::const_iterator i = image.begin();
    if (i != image.end() && *i == '-') {
        negative = true;
        ++i;
    }
    Assert(i != image.end() && '0' <= *i && *i <= '9');
    if (i == image.end()) return value();
    for (; i != image.end() && IsDigit(*i); ++i) takeDigit(*i, false);

    Assert(i != image.end() && *i == '.');
    if (i == image.end()) return value();
    ++i;  // whatever stands in place of the point is skipped

    Assert(i != image.end() && '0' <= *i && *i <= '9');
    if (i == image.end()) return value();
    for (; i != image.end() && IsDigit(*i); ++i) takeDigit(*i, true);
    Assert(i == image.end());

    const float answer = value();
    if (negative) {
        Assert(answer != 0.0f);
    }
    return answer;
}

// The check compares sprintf's int result with sizeof, as written.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-compare"
std::string Float::ToStringE(float value) {
    char buffer[32];
    Assert(sprintf(buffer, "%e", value) < sizeof(buffer));
    std::string text(buffer);
    // The C library writes at least two exponent digits; the stored form has three.
    const std::string::size_type e = text.find('e');
    if (e != std::string::npos && e + 2 < text.size()) {
        const std::string::size_type digits = e + 2;
        while (text.size() - digits < 3) {
            text.insert(digits, 1, '0');
        }
    }
    return text;
}
#pragma GCC diagnostic pop

std::string Float::ToString(float value) {
    return ToStringE(value) + "/0x" + Int::ToHexString(static_cast<int>(ToBits(value)));
}

float Float::Parse(const std::string& image) {
    if (image.find("/0x") != std::string::npos) {
        return ParseExact(image);
    }
    return ParseDecimal(image);
}
