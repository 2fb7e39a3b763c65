#include "core/XmlOutText.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "core/Assert.h"
#include "core/Int.h"
#include "core/XmlMessages.h"
#include "core/XmlUtil.h"
#include "platform/FilePort.h"

namespace {

// The last text's block, kept for the next writer: the next text is likely alike, so its buffer
// neither grows step by step nor touches fresh pages.
struct Spare {
    char* data = nullptr;
    std::size_t capacity = 0;
    ~Spare() { std::free(data); }
};
thread_local Spare spare;
constexpr std::size_t MAX_SPARE = 16 * 1024 * 1024;

}  // namespace

XmlOutText::XmlOutText(const std::string& fileName) : _fileName(fileName) {
    _data = spare.data;
    _capacity = spare.capacity;
    spare.data = nullptr;
    spare.capacity = 0;
    _file = FilePort::Open(fileName, "wb");
    if (_file == nullptr) {
        _errorNumber = errno;
        ReportError(std::string(XmlMessages::CANNOT_OPEN) + fileName + XmlMessages::IN_MODE + "w" +
                    "\n(cannot open " + fileName + " for writing: " + std::strerror(_errorNumber) + ")");
    }
}

XmlOutText::~XmlOutText() {
    XmlDestructorCheck(_tabNumber == 0);
    XmlDestructorCheck(!_isInComment);
    if (!_isClosed) WriteAndClose(true);
    if (_capacity > spare.capacity && _capacity <= MAX_SPARE) {
        std::swap(_data, spare.data);
        std::swap(_capacity, spare.capacity);
    }
    std::free(_data);
}

void XmlOutText::Grow(std::size_t length) {
    std::size_t capacity = std::max<std::size_t>(_capacity * 2, 64 * 1024);
    while (capacity - _size < length) capacity *= 2;
    char* data = static_cast<char*>(std::realloc(_data, capacity));
    if (data == nullptr) throw std::bad_alloc();
    _data = data;
    _capacity = capacity;
}

void XmlOutText::PutLineBreak() {
    const std::size_t tabs = static_cast<std::size_t>(_tabNumber);
    char* to = Room(2 + tabs);
    to[0] = '\r';
    to[1] = '\n';
    std::memset(to + 2, '\t', tabs);
    _size += 2 + tabs;
}

void XmlOutText::PutLineEnd() {
    char* to = Room(2);
    to[0] = '\r';
    to[1] = '\n';
    _size += 2;
}

void XmlOutText::PutMarkupChar(char c) {
    XmlCheck(XmlUtil::IsChar(static_cast<unsigned char>(c)), "XmlUtil::IsChar(c)");
    if (c == '<' && _lastChar == '>' && !_isInComment) PutLineBreak();
    if (c == '\n') {
        PutLineEnd();
    } else {
        *Room(1) = c;
        ++_size;
    }
    _lastChar = c;
}

void XmlOutText::PutContentBytes(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        XmlCheck(XmlUtil::IsChar(static_cast<unsigned char>(text[i])), "XmlUtil::IsChar(c)");
    }
    // The runs between line feeds go whole.
    const char* end = text + length;
    while (text < end) {
        const char* lineFeed = static_cast<const char*>(std::memchr(text, '\n', static_cast<std::size_t>(end - text)));
        const char* stop = lineFeed != nullptr ? lineFeed : end;
        const std::size_t run = static_cast<std::size_t>(stop - text);
        std::memcpy(Room(run), text, run);
        _size += run;
        if (lineFeed == nullptr) break;
        PutLineEnd();
        text = lineFeed + 1;
    }
}

namespace {

// The first byte from `i` on that may need a reference: a control byte, "<", ">", "&" or the quote;
// `length` when there is none.
std::size_t NextToEscape(const char* data, std::size_t i, std::size_t length) {
#ifdef __SSE2__
    const __m128i lastControl = _mm_set1_epi8(31);
    const __m128i less = _mm_set1_epi8('<');
    const __m128i greater = _mm_set1_epi8('>');
    const __m128i ampersand = _mm_set1_epi8('&');
    const __m128i quote = _mm_set1_epi8('"');
    for (; i + 16 <= length; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes);
        const __m128i marks = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, less), _mm_cmpeq_epi8(bytes, greater)),
                                           _mm_or_si128(_mm_cmpeq_epi8(bytes, ampersand), _mm_cmpeq_epi8(bytes, quote)));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(control, marks)));
        if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    for (; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c < 32 || c == '<' || c == '>' || c == '&' || c == '"') return i;
    }
    return length;
}

}  // namespace

void XmlOutText::PutEscapedContent(const std::string& text, bool isValue) {
    const char* data = text.data();
    const std::size_t length = text.size();
    std::size_t from = 0;
    for (std::size_t i = NextToEscape(data, 0, length); i < length; i = NextToEscape(data, i + 1, length)) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        const char* named = nullptr;
        char code[7] = "&#x00;";
        if (c < 32 && (isValue || (c != '\t' && c != '\n'))) {
            code[3] = XmlUtil::HexDigit(c >> 4);
            code[4] = XmlUtil::HexDigit(c & 15);
            named = code;
        } else if (c == '<') {
            named = "&lt;";
        } else if (c == '>') {
            named = "&gt;";
        } else if (c == '&') {
            named = "&amp;";
        } else if (c == '"' && isValue) {
            named = "&quot;";
        } else {
            continue;
        }
        PutRun(data + from, i - from, isValue);
        PutVerbatim(named, std::strlen(named));
        from = i + 1;
    }
    PutRun(data + from, length - from, isValue);
}

void XmlOutText::PutRun(const char* text, std::size_t length, bool isValue) {
    // Between references a value holds no control byte, so nothing in it needs the layout's care.
    if (isValue) {
        PutVerbatim(text, length);
    } else {
        PutContent(text, length);
    }
}

void XmlOutText::PutVerbatim(const char* text, std::size_t length) {
    if (length == 0) return;
    std::memcpy(Room(length), text, length);
    _size += length;
    _lastChar = text[length - 1];
}

const std::string& XmlOutText::GetBuffer() const {
    _text.clear();
    _text.reserve(_size);
    for (std::size_t i = 0; i < _size; ++i) {
        if (_data[i] == '\r' && i + 1 < _size && _data[i + 1] == '\n') continue;
        _text += _data[i];
    }
    return _text;
}

void XmlOutText::IncreaseTab() {
    Assert(_tabNumber >= 0);
    ++_tabNumber;
    Assert(_tabNumber > 0);
}

void XmlOutText::DecreaseTab() {
    Assert(_tabNumber > 0);
    --_tabNumber;
    Assert(_tabNumber >= 0);
}

void XmlOutText::BeginComment() {
    Assert(!_isInComment);
    _isInComment = true;
}

void XmlOutText::EndComment() {
    Assert(_isInComment);
    _isInComment = false;
}

void XmlOutText::SetDeclaration() {
    Assert(_declaration == std::string());
    _declaration = GetBuffer();
    Assert(_declaration != std::string());
}

bool XmlOutText::Close() {
    Assert(_tabNumber == 0);
    Assert(!_isInComment);
    if (_isClosed) return false;
    return WriteAndClose(false);
}

bool XmlOutText::WriteAndClose(bool fromDestructor) {
    _isClosed = true;
    if (_file == nullptr) return false;
    const std::size_t total = _size;
    const std::size_t written = total == 0 ? 0 : std::fwrite(_data, 1, total, _file);
    if (written != total) _errorNumber = errno;
    // A save waits until the text is on the disk; the diagnostic dumps need not.
    const bool synced = std::fflush(_file) == 0 && (fromDestructor || ::fsync(::fileno(_file)) == 0);
    if (!synced && _errorNumber == 0) _errorNumber = errno;
    const bool closed = std::fclose(_file) == 0;
    if (!closed && _errorNumber == 0) _errorNumber = errno;
    _file = nullptr;

    auto report = [fromDestructor](const std::string& title, const std::string& text, int line) {
        if (fromDestructor) {
            XmlUtil::LogFailure(title, text, __FILE__, line);
        } else {
            ReportFailure(title, text, __FILE__, line);
        }
    };
    if (written != total) {
        report("Error",
               XmlMessages::WANTED_WRITE + Int::ToString(static_cast<int>(total)) + XmlMessages::MANAGED +
                   Int::ToString(static_cast<int>(written)) + "\n(cannot write " + _fileName + ": " +
                   std::strerror(_errorNumber) + ")",
               __LINE__);
    }
    if (!synced) {
        report("Error",
               XmlMessages::CANNOT_SYNC + _fileName + "\n(cannot write " + _fileName + " to the disk: " +
                   std::strerror(_errorNumber) + ")",
               __LINE__);
    }
    if (!closed) report("Assertion failed", "fclose(_file) == 0", __LINE__);
    return written == total && synced && closed;
}
