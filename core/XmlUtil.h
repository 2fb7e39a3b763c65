#pragma once
// Character classes and name rules shared by the XML model, reader and writer.

#include <string>

#include "core/Assert.h"

namespace XmlUtil {

// Tab, line feed, 32..127 and every byte from 128 up; carriage return is not a character.
inline bool IsChar(unsigned char c) { return c == 9 || c == 10 || c >= 32; }

inline bool IsFirstNameLetter(unsigned char c) {
    return ('A' <= c && c <= 'Z') || ('a' <= c && c <= 'z') || c == '_' || c == ':';
}

inline bool IsSecondNameLetter(unsigned char c) {
    return IsFirstNameLetter(c) || ('0' <= c && c <= '9') || c == '.' || c == '-';
}

inline bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n'; }

// A byte that ends a run of character data whatever its stop byte: "<", "&" or no character.
inline bool EndsCharData(unsigned char c) { return c < 32 ? c != 9 && c != 10 : c == '<' || c == '&'; }

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
