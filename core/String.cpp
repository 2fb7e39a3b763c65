#include "core/String.h"

#include <cstring>

#include "core/Assert.h"

bool String::IsHeadCut(std::string& line, const char* head) {
    Assert(head != NULL);
    if (head == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(head);
    if (line.compare(0, length, head) != 0 || line.size() < length) {
        return false;
    }
    line.erase(0, length);
    return true;
}

std::string String::ReadLine(std::FILE* f) {
    Assert(f != NULL);
    std::string line;
    if (f == nullptr) {
        return line;
    }
    line.reserve(64);
    for (;;) {
        const int c = std::fgetc(f);
        if (c == EOF || c == 10) {
            break;
        }
        if (c == 13) {
            const int next = std::fgetc(f);
            if (next == 10) {
                break;
            }
            if (next != EOF) {
                std::ungetc(next, f);
            }
        }
        Assert(c != 13);
        line += static_cast<char>(c);
    }
    return line;
}

std::string ToLower(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        if ('A' <= c && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}
