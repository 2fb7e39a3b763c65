#pragma once
// Character classes and name rules shared by the XML model, reader and writer.

#include <string>

#include "core/Assert.h"

namespace XmlUtil {

// Byte classes, one bit each, looked up in one table.
enum ByteClass : unsigned char {
    CHAR_CLASS = 1,         // tab, line feed, 32..127 and every byte from 128 up
    FIRST_NAME_CLASS = 2,   // letters, "_" and ":"
    SECOND_NAME_CLASS = 4,  // those, digits, "." and "-"
    SPACE_CLASS = 8,        // blank, tab, line feed
    RUN_END_CLASS = 16,     // ends character data whatever the stop byte: "<", "&", no character
    OUT_MARKUP_CLASS = 32,  // needs the writer's care in markup: "<", line feed, no character
    OUT_CONTENT_CLASS = 64, // needs the writer's care in content: line feed, no character
};

struct ByteClasses {
    unsigned char of[256] = {};
    constexpr ByteClasses() {
        for (int c = 0; c < 256; ++c) {
            const bool isChar = c == 9 || c == 10 || c >= 32;
            const bool isFirst = ('A' <= c && c <= 'Z') || ('a' <= c && c <= 'z') || c == '_' || c == ':';
            const bool isSecond = isFirst || ('0' <= c && c <= '9') || c == '.' || c == '-';
            const bool isSpace = c == ' ' || c == '\t' || c == '\n';
            const bool endsRun = !isChar || c == '<' || c == '&';
            const bool isOutContent = !isChar || c == '\n';
            const bool isOutMarkup = isOutContent || c == '<';
            of[c] = static_cast<unsigned char>((isChar ? CHAR_CLASS : 0) | (isFirst ? FIRST_NAME_CLASS : 0) |
                                               (isSecond ? SECOND_NAME_CLASS : 0) | (isSpace ? SPACE_CLASS : 0) |
                                               (endsRun ? RUN_END_CLASS : 0) | (isOutMarkup ? OUT_MARKUP_CLASS : 0) |
                                               (isOutContent ? OUT_CONTENT_CLASS : 0));
        }
    }
};

inline constexpr ByteClasses BYTE_CLASSES{};

inline bool IsOfClass(unsigned char c, ByteClass byteClass) { return (BYTE_CLASSES.of[c] & byteClass) != 0; }

// Tab, line feed, 32..127 and every byte from 128 up; carriage return is not a character.
inline bool IsChar(unsigned char c) { return IsOfClass(c, CHAR_CLASS); }

inline bool IsFirstNameLetter(unsigned char c) { return IsOfClass(c, FIRST_NAME_CLASS); }

inline bool IsSecondNameLetter(unsigned char c) { return IsOfClass(c, SECOND_NAME_CLASS); }

inline bool IsSpace(unsigned char c) { return IsOfClass(c, SPACE_CLASS); }

// A byte that ends a run of character data whatever its stop byte: "<", "&" or no character.
inline bool EndsCharData(unsigned char c) { return IsOfClass(c, RUN_END_CLASS); }

// 0..15 as one upper-case hexadecimal digit.
inline char HexDigit(int value) { return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10); }

// Reports every character that breaks the name rules; the caller stores the name all the same.
void CheckName(const std::string& name);

// Logs a failure like ReportFailure but never throws; silent while an exception unwinds.
void LogFailure(const std::string& title, const std::string& text, const char* path, int line);

// A check made in a destructor: logged like a failed check, never thrown, silent while unwinding.
void CheckInDestructor(bool condition, const char* expression, const char* path, int line);

}  // namespace XmlUtil

#define XmlDestructorCheck(expr)                                                              \
    do {                                                                                      \
        if (__builtin_expect(!(expr), 0)) ::XmlUtil::CheckInDestructor(false, #expr, __FILE__, __LINE__); \
    } while (false)

// A check whose reported text is given, for conditions spelled differently in code.
#define XmlCheck(condition, text)                                                   \
    do {                                                                           \
        if (__builtin_expect(!(condition), 0)) ::ReportCheckFailure((text), __FILE__, __LINE__); \
    } while (false)
