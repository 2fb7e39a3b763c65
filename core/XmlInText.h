#pragma once
// The reader's byte cursor over a whole XML text with normalised line ends.

#include <string>

#include "core/Assert.h"
#include "core/Object.h"

// Thrown by the reader after a failed check when no assert-throw scope is open,
// so that reading stops at the first rejected byte.
struct XmlReadAbandoned {};

// A reader check: reported with the given text, then reading stops (or the report throws).
#define XmlReadCheck(condition, text)                                                 \
    do {                                                                              \
        if (__builtin_expect(!(condition), 0)) ::XmlReadFailed((text), __FILE__, __LINE__); \
    } while (false)

// Reports the failed reader check, then throws XmlReadAbandoned.
[[noreturn, gnu::cold, gnu::noinline]] void XmlReadFailed(const char* text, const char* path, int line);

class XmlInText : public Interface {
public:
    // Returned as the current byte at the end; carriage returns never remain in the text.
    static constexpr unsigned char END = 13;

    class Position {
    public:
        explicit Position(unsigned pos) : _pos(pos) {}
        unsigned Get() const { return _pos; }

    private:
        unsigned _pos = 0;
    };

    explicit XmlInText(const std::string& fileName);
    XmlInText(const char* begin, const char* end);

    unsigned char GetCurrent() const { return _pos < _text.size() ? static_cast<unsigned char>(_text[_pos]) : END; }
    unsigned char GetNext() const {
        return _pos + 1 < _text.size() ? static_cast<unsigned char>(_text[_pos + 1]) : END;
    }
    void MoveNext();
    void Skip(unsigned char c);
    void Skip(const char* text);

    bool IsSpace() const;
    bool IsQuote() const;
    bool IsFirstEncodingLetter() const;
    bool IsEncodingLetter() const;
    bool IsFirstNameLetter() const;
    bool IsSecondNameLetter() const;
    bool IsHex() const;
    bool IsDec() const;
    bool IsChar() const;
    int GetHexValue() const;
    int GetDecValue() const;

    Position GetPosition() const { return Position(_pos); }
    std::string GetSubText(Position begin, Position end) const;
    std::string ReadName();
    // Reads the maximal run of blanks, tabs and line feeds.
    std::string ReadSpaceRun();
    // Reads the maximal run of characters other than "<", "&" and the stop byte.
    std::string ReadCharDataRun(unsigned char stop);
    // The same, leaving the run where it is.
    void SkipCharDataRun(unsigned char stop);
    const char* Data() const { return _text.data(); }

    // Elements open around the cursor; the reader refuses nesting deeper than MAX_DEPTH.
    static constexpr int MAX_DEPTH = 256;
    int& Depth() { return _depth; }

    void SetSevenBitEncoding();
    bool IsSevenBitEncoding() const { return _isSevenBitEncoding; }
    const std::string& GetFileName() const { return _fileName; }
    int GetLine() const { return _line; }

private:
    void Normalise();

    std::string _fileName;
    int _line = 1;
    std::string _text;
    unsigned _pos = 0;
    bool _isSevenBitEncoding = false;
    int _depth = 0;
};
