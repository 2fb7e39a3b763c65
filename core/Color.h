#pragma once
// Colour bytes laid out blue, green, red, alpha: read as one little-endian word they are 0xAARRGGBB.

#include <cstdint>
#include <string>

struct Color {
    std::uint8_t blue = 255;
    std::uint8_t green = 255;
    std::uint8_t red = 255;
    std::uint8_t alpha = 255;

    // Opaque white.
    Color() = default;
    Color(std::uint8_t red_, std::uint8_t green_, std::uint8_t blue_)
        : blue(blue_), green(green_), red(red_), alpha(255) {}
    Color(std::uint8_t red_, std::uint8_t green_, std::uint8_t blue_, std::uint8_t alpha_)
        : blue(blue_), green(green_), red(red_), alpha(alpha_) {}

    bool operator==(const Color& other) const { return GetWord() == other.GetWord(); }
    bool operator!=(const Color& other) const { return GetWord() != other.GetWord(); }

    // The colour word 0xAARRGGBB and back.
    std::uint32_t GetWord() const;
    static Color FromWord(std::uint32_t word);

    // "#RRGGBB" (alpha 255) or "#RRGGBBAA"; any other length is a failed check and gives opaque white.
    static Color FromString(const std::string& value);
};

static_assert(sizeof(Color) == 4, "Color must be four bytes");
