#include "core/XmlInText.h"

#include <algorithm>
#include <cstring>

#include "core/FileWrapper.h"
#include "core/ObjectSmartPointer.h"

void XmlReadFailed(const char* text, const char* path, int line) {
    ReportFailure("Assertion failed", text, path, line);
    throw XmlReadAbandoned();
}

namespace {

// The last text's storage, kept for the next reader: a large text read again and again (the
// profile) then neither asks the heap for its room nor touches fresh pages.
thread_local std::string spareText;
constexpr std::size_t MAX_SPARE = 16 * 1024 * 1024;

}  // namespace

XmlInText::XmlInText(const std::string& fileName) : _fileName(fileName) {
    _text.swap(spareText);
    ObjectSmartPointer<FileWrapper> file(new FileWrapper(fileName, "rb"));
    file->Seek(0, 2);
    const long size = file->Tell();
    file->Seek(0, 0);
    // Room for the END bytes, so that adding them never moves the text.
    _text.reserve((size > 0 ? static_cast<std::size_t>(size) : 0) + END_PADDING);
    _text.assign(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    _text.resize(file->Read(&_text[0], _text.size()));
    Normalise();
}

XmlInText::XmlInText(const char* begin, const char* end) : _fileName("std::string") {
    _text.swap(spareText);
    _text.reserve(static_cast<std::size_t>(end - begin) + END_PADDING);
    _text.assign(begin, end);
    Normalise();
}

XmlInText::~XmlInText() {
    if (_text.capacity() > spareText.capacity() && _text.capacity() <= MAX_SPARE) _text.swap(spareText);
}

void XmlInText::Normalise() {
    // A UTF-8 byte-order mark is no part of the text.
    const std::size_t first = _text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    char* data = &_text[0];
    const std::size_t size = _text.size();
    std::size_t out = 0;
    std::size_t in = first;
    // Runs between carriage returns move down whole; CR LF and a lone CR become LF.
    while (in < size) {
        const void* found = std::memchr(data + in, '\r', size - in);
        const std::size_t stop = found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
        if (out != in) std::memmove(data + out, data + in, stop - in);
        out += stop - in;
        in = stop;
        if (in < size) {
            data[out++] = '\n';
            ++in;
            if (in < size && data[in] == '\n') ++in;
        }
    }
    _text.resize(out);
    _text.append(END_PADDING, static_cast<char>(END));
    _size = static_cast<unsigned>(out);
    _pos = 0;
    _isSevenBitEncoding = false;
}

void XmlInText::SkipFailed() const {
    ReportFailure("Assertion failed", "GetCurrent() == c", __FILE__, __LINE__);
    throw XmlReadAbandoned();
}

void XmlInText::Skip(const char* text) {
    for (; *text != 0; ++text) Skip(static_cast<unsigned char>(*text));
}

bool XmlInText::IsFirstEncodingLetter() const {
    const unsigned char c = GetCurrent();
    return ('A' <= c && c <= 'Z') || ('a' <= c && c <= 'z');
}

bool XmlInText::IsEncodingLetter() const {
    const unsigned char c = GetCurrent();
    return IsFirstEncodingLetter() || ('0' <= c && c <= '9') || c == '.' || c == '_' || c == '-';
}

bool XmlInText::IsHex() const {
    const unsigned char c = GetCurrent();
    return ('0' <= c && c <= '9') || ('a' <= c && c <= 'f') || ('A' <= c && c <= 'F');
}

bool XmlInText::IsDec() const {
    const unsigned char c = GetCurrent();
    return '0' <= c && c <= '9';
}

int XmlInText::GetHexValue() const {
    const unsigned char c = GetCurrent();
    if ('0' <= c && c <= '9') return c - '0';
    if ('a' <= c && c <= 'f') return c - 'a' + 10;
    if ('A' <= c && c <= 'F') return c - 'A' + 10;
    Assert(false);
    return 0;
}

int XmlInText::GetDecValue() const {
    const unsigned char c = GetCurrent();
    if ('0' <= c && c <= '9') return c - '0';
    Assert(false);
    return 0;
}

std::string XmlInText::GetSubText(Position begin, Position end) const {
    Assert(begin.Get() <= end.Get());
    if (begin.Get() > end.Get()) return std::string();
    return _text.substr(begin.Get(), end.Get() - begin.Get());
}

std::string XmlInText::ReadName() {
    const unsigned begin = SkipName();
    return _text.substr(begin, _pos - begin);
}

int XmlInText::GetLine() const {
    return 1 + static_cast<int>(std::count(_text.begin(), _text.begin() + _pos, '\n'));
}

void XmlInText::SetSevenBitEncoding() {
    Assert(!_isSevenBitEncoding);
    _isSevenBitEncoding = true;
    bool clean = true;
    for (std::size_t i = 0; i < _size; ++i) {
        if (static_cast<unsigned char>(_text[i]) > 127) {
            ReportFailure("Assertion failed", "0 <= c && c <= 127", __FILE__, __LINE__);
            clean = false;
        }
    }
    if (!clean) throw XmlReadAbandoned();
}
