#include "core/Color.h"

#include "core/Assert.h"
#include "core/Int.h"

std::uint32_t Color::GetWord() const {
    return (static_cast<std::uint32_t>(alpha) << 24) | (static_cast<std::uint32_t>(red) << 16) |
           (static_cast<std::uint32_t>(green) << 8) | blue;
}

Color Color::FromWord(std::uint32_t word) {
    return Color(static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
                 static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 24));
}

Color Color::FromString(const std::string& value) {
    const auto pair = [&value](std::size_t pos) {
        return static_cast<std::uint8_t>(Int::ParseHex(value.substr(pos, 2)));
    };
    if (value.size() == 7) {
        Assert(value[0] == '#');
        return Color(pair(1), pair(3), pair(5));
    }
    if (value.size() == 9) {
        Assert(value[0] == '#');
        return Color(pair(1), pair(3), pair(5), pair(7));
    }
    Assert(false);
    return Color(255, 255, 255, 255);
}
