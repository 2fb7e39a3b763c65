#pragma once
// The game's character set: single bytes in the Windows-1251 code page (Cyrillic in its upper
// half). Typed text arrives as UTF-8 and is turned into these bytes; the program's own text goes
// out as UTF-8. The fonts draw every byte as the character it stands for here.

#include <cstdint>
#include <string>
#include <vector>

// What a typed character without a byte of its own becomes: visible, and accepted by every
// filter of the edit boxes (which refuse '?' in names, being a file-name character).
constexpr char WINDOWS_1251_REPLACEMENT = '_';

// The Windows-1251 byte of a code point; -1 when it has none.
int Windows1251FromCodePoint(std::uint32_t codePoint);
// The code point a byte stands for; 0 for the one byte without a character (0x98).
std::uint32_t CodePointFromWindows1251(unsigned char byte);
// The Windows-1251 bytes of UTF-8 text, one per character; a character outside the code page and
// every byte of a broken sequence become WINDOWS_1251_REPLACEMENT.
std::vector<int> Windows1251FromUtf8(const std::string& text);
// Windows-1251 text as UTF-8; the byte without a character becomes '?'.
std::string Utf8FromWindows1251(const std::string& text);
