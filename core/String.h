#pragma once
// Line operations on single-byte text.

#include <cstdio>
#include <string>

class String {
public:
    // When line begins with head, removes it and gives true; otherwise leaves line as it is.
    static bool IsHeadCut(std::string& line, const char* head);
    // One line without its end: LF, or CR LF as files from other systems have it.
    // The end of the file ends the line without a mark; the caller tests the file for its end.
    static std::string ReadLine(std::FILE* f);
};

// A copy with A to Z made a to z; every other byte is kept.
std::string ToLower(const std::string& text);
