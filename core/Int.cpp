#include "core/Int.h"

#include "core/Assert.h"


std::string Int::ToString(int value) {
    if (-9 <= value && value <= -1) {
        return std::string("-") + static_cast<char>('0' - value);
    }
    if (0 <= value && value <= 9) {
        return std::string(1, static_cast<char>('0' + value));
    }
    const int remainder = value % 10;
    return ToString(value / 10) + static_cast<char>('0' + (remainder < 0 ? -remainder : remainder));
}

std::string Int::ToStringPositive(int value) {
    if (value <= 0) {
        return std::string();
    }
    return ToStringPositive(value / 10) + static_cast<char>('0' + value % 10);
}

int Int::GetStringLength(int value) {
    if (0 <= value && value <= 9) return 1;
    if (-9 <= value && value <= -1) return 2;
    return 1 + GetStringLength(value / 10);
}

int Int::Parse(const std::string& image) {
    // One report per text, for its first departure: a long bad number costs one line. A value past
    // the range is clamped to its end; a character that is no digit ends the number.
    std::int64_t acc = 0;  // the value so far
    std::string::const_iterator i = image.begin();
    Assert(i != image.end());
    if (i == image.end()) {
        return 0;
    }
    if (*i == '-') {
        ++i;
        Assert(i != image.end());
        if (i == image.end()) {
            return 0;
        }
        Assert('1' <= *i && *i <= '9');
        if (!('1' <= *i && *i <= '9')) return 0;
        acc = -(static_cast<std::int64_t>(*i) - '0');
        for (++i; i != image.end(); ++i) {
            Assert('0' <= *i && *i <= '9');
            if (!('0' <= *i && *i <= '9')) return static_cast<int>(acc);
            const std::int64_t d = static_cast<std::int64_t>(*i) - '0';
            if (acc < (MIN_VALUE + d) / 10) {
                ReportFailure("Assertion failed", "value >= (MIN_VALUE + d) / 10", __FILE__, __LINE__);
                return MIN_VALUE;
            }
            acc = acc * 10 - d;
        }
    } else if (*i == '0') {
        acc = 0;
    } else {
        Assert('1' <= *i && *i <= '9');
        if (!('1' <= *i && *i <= '9')) return 0;
        acc = static_cast<std::int64_t>(*i) - '0';
        for (++i; i != image.end(); ++i) {
            Assert('0' <= *i && *i <= '9');
            if (!('0' <= *i && *i <= '9')) return static_cast<int>(acc);
            const std::int64_t d = static_cast<std::int64_t>(*i) - '0';
            if (acc > (MAX_VALUE - d) / 10) {
                ReportFailure("Assertion failed", "value <= (MAX_VALUE - d) / 10", __FILE__, __LINE__);
                return MAX_VALUE;
            }
            acc = acc * 10 + d;
        }
    }
    const int value = static_cast<int>(acc);
    Assert(image == ToString(value));
    return value;
}

std::uint32_t Int::ParseHex(const std::string& image) {
    std::uint32_t value = 0;
    std::string::const_iterator i = image.begin();
    Assert(i != image.end());
    for (; i != image.end(); ++i) {
        Assert((value & 0xF0000000) == 0);
        std::uint32_t digit = 0;
        const char c = *i;
        if ('0' <= c && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if ('a' <= c && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if ('A' <= c && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            Assert(false);
        }
        value = value * 16 + digit;
    }
    return value;
}

std::string Int::ToHexString(int value) {
    static const char digits[] = "0123456789ABCDEF";
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    std::string result(8, '0');
    for (int k = 0; k < 8; ++k) {
        result[7 - k] = digits[(bits >> (4 * k)) & 0xF];
    }
    return result;
}
