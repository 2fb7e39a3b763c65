#pragma once
// The reader's byte cursor over a whole XML text with normalised line ends.

#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/Assert.h"
#include "core/Object.h"
#include "core/XmlUtil.h"

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
    // Returned as the current byte at the end; carriage returns never remain in the text, so one
    // stands after its end and every run of a byte class stops there.
    static constexpr unsigned char END = 13;
    // How many END bytes follow the text: enough for a sixteen-byte read at the last position.
    static constexpr unsigned END_PADDING = 16;

    class Position {
    public:
        explicit Position(unsigned pos) : _pos(pos) {}
        unsigned Get() const { return _pos; }

    private:
        unsigned _pos = 0;
    };

    explicit XmlInText(const std::string& fileName);
    XmlInText(const char* begin, const char* end);
    ~XmlInText() override;

    unsigned char GetCurrent() const { return static_cast<unsigned char>(_text[_pos]); }
    unsigned char GetNext() const { return _pos < _size ? static_cast<unsigned char>(_text[_pos + 1]) : END; }
    void MoveNext() {
        if (_pos < _size) ++_pos;
    }
    void Skip(unsigned char c) {
        if (__builtin_expect(GetCurrent() != c, 0)) SkipFailed();
        ++_pos;
    }
    void Skip(const char* text);

    bool IsSpace() const { return XmlUtil::IsSpace(GetCurrent()); }
    bool IsQuote() const {
        const unsigned char c = GetCurrent();
        return c == '"' || c == '\'';
    }
    bool IsFirstEncodingLetter() const;
    bool IsEncodingLetter() const;
    bool IsFirstNameLetter() const { return XmlUtil::IsFirstNameLetter(GetCurrent()); }
    bool IsSecondNameLetter() const { return XmlUtil::IsSecondNameLetter(GetCurrent()); }
    bool IsHex() const;
    bool IsDec() const;
    bool IsChar() const { return XmlUtil::IsChar(GetCurrent()); }
    int GetHexValue() const;
    int GetDecValue() const;

    Position GetPosition() const { return Position(_pos); }
    std::string GetSubText(Position begin, Position end) const;
    // Skips a name at the cursor, checked; the result is where it began.
    unsigned SkipName() {
        XmlReadCheck(IsFirstNameLetter(), "IsFirstNameLetter()");
        const unsigned begin = _pos;
        ++_pos;
        while (XmlUtil::IsSecondNameLetter(static_cast<unsigned char>(_text[_pos]))) ++_pos;
        return begin;
    }
    std::string ReadName();
    // Skips the maximal run of blanks, tabs and line feeds; the result is where it began.
    unsigned SkipSpaceRun() {
        const unsigned begin = _pos;
        while (XmlUtil::IsSpace(static_cast<unsigned char>(_text[_pos]))) ++_pos;
        return begin;
    }
    std::string ReadSpaceRun() {
        const unsigned begin = SkipSpaceRun();
        return _text.substr(begin, _pos - begin);
    }
    // Skips the maximal run of characters other than "<", "&" and the stop byte.
    void SkipCharDataRun(unsigned char stop) {
#ifdef __SSE2__
        // Sixteen bytes at a time: the END bytes after the text stop every run before the reads end.
        const char* data = _text.data();
        const char* at = data + _pos;
        const __m128i less = _mm_set1_epi8('<');
        const __m128i ampersand = _mm_set1_epi8('&');
        const __m128i stopByte = _mm_set1_epi8(static_cast<char>(stop));
        const __m128i tab = _mm_set1_epi8('\t');
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i lastControl = _mm_set1_epi8(31);
        for (;;) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            const __m128i control = _mm_andnot_si128(
                _mm_or_si128(_mm_cmpeq_epi8(bytes, tab), _mm_cmpeq_epi8(bytes, lineFeed)),
                _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes));
            const __m128i ends = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(bytes, less), _mm_cmpeq_epi8(bytes, ampersand)),
                _mm_or_si128(_mm_cmpeq_epi8(bytes, stopByte), control));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
            if (mask != 0) {
                _pos = static_cast<unsigned>(at - data) + static_cast<unsigned>(__builtin_ctz(mask));
                return;
            }
            at += 16;
        }
#else
        for (;;) {
            const unsigned char c = static_cast<unsigned char>(_text[_pos]);
            if (XmlUtil::EndsCharData(c) || c == stop) break;
            ++_pos;
        }
#endif
    }
    const char* Data() const { return _text.data(); }

    // Elements open around the cursor; the reader refuses nesting deeper than MAX_DEPTH.
    static constexpr int MAX_DEPTH = 256;
    int& Depth() { return _depth; }

    void SetSevenBitEncoding();
    bool IsSevenBitEncoding() const { return _isSevenBitEncoding; }
    const std::string& GetFileName() const { return _fileName; }
    // The line of the cursor, counted when asked.
    int GetLine() const;

private:
    void Normalise();
    [[noreturn, gnu::cold, gnu::noinline]] void SkipFailed() const;

    std::string _fileName;
    // The text and the END bytes after it.
    std::string _text;
    unsigned _size = 0;
    unsigned _pos = 0;
    bool _isSevenBitEncoding = false;
    int _depth = 0;
};
