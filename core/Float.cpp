#include "core/Float.h"

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
    std::uint64_t n = 0;
    int nDigits = 0;
    int fractionDigits = 0;
    bool negative = false;

    // n over 10 to the power of the fraction digits; exact for up to seven digits.
    const auto value = [&]() {
        float divisor = 1.0f;
        for (int k = 0; k < fractionDigits; ++k) divisor *= 10.0f;
        const float answer = static_cast<float>(n) / divisor;
        return negative ? -answer : answer;
    };
    const auto takeDigit = [&](char c) {
        ++nDigits;
        Assert(nDigits <= 7);
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    };

    std::string::const_iterator i = image.begin();
    if (i != image.end() && *i == '-') {
        negative = true;
        ++i;
    }
    Assert(i != image.end() && '0' <= *i && *i <= '9');
    if (i == image.end()) return value();
    for (; i != image.end() && IsDigit(*i); ++i) takeDigit(*i);

    Assert(i != image.end() && *i == '.');
    if (i == image.end()) return value();
    ++i;  // whatever stands in place of the point is skipped

    Assert(i != image.end() && '0' <= *i && *i <= '9');
    if (i == image.end()) return value();
    for (; i != image.end() && IsDigit(*i); ++i) {
        takeDigit(*i);
        ++fractionDigits;
    }
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
