#include "core/CodePage.h"

namespace {

// Code points of the bytes 0x80..0xBF (0 where the byte has none); 0xC0..0xFF are U+0410..U+044F.
const std::uint16_t HIGH_HALF[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

void AppendUtf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

int Windows1251FromCodePoint(std::uint32_t codePoint) {
    if (codePoint < 0x80) return static_cast<int>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F) return static_cast<int>(0xC0 + (codePoint - 0x0410));
    for (int i = 0; i < 64; ++i) {
        if (HIGH_HALF[i] != 0 && HIGH_HALF[i] == codePoint) return 0x80 + i;
    }
    return -1;
}

std::uint32_t CodePointFromWindows1251(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0u);
    return HIGH_HALF[byte - 0x80];
}

std::string Utf8FromWindows1251(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        const std::uint32_t code = CodePointFromWindows1251(c);
        AppendUtf8(code != 0 || c == 0 ? code : '?', out);
    }
    return out;
}

std::vector<int> Windows1251FromUtf8(const std::string& text) {
    const int replacement = static_cast<unsigned char>(WINDOWS_1251_REPLACEMENT);
    std::vector<int> bytes;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        std::uint32_t code = lead;
        if (lead >= 0xF8 || (lead >= 0x80 && lead < 0xC0)) {
            // Not the start of a character.
            bytes.push_back(replacement);
            ++i;
            continue;
        } else if (lead >= 0xF0) {
            length = 4;
            code = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            code = lead & 0x1F;
        }
        bool valid = i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const unsigned char c = static_cast<unsigned char>(text[i + k]);
            valid = (c & 0xC0) == 0x80;
            code = (code << 6) | (c & 0x3Fu);
        }
        if (!valid) {
            bytes.push_back(replacement);
            ++i;
            continue;
        }
        i += length;
        const int byte = Windows1251FromCodePoint(code);
        bytes.push_back(byte >= 0 ? byte : replacement);
    }
    return bytes;
}
