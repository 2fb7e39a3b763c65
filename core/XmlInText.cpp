#include "core/XmlInText.h"

#include "core/FileWrapper.h"
#include "core/ObjectSmartPointer.h"
#include "core/XmlUtil.h"

void XmlReadFailed(const char* text, const char* path, int line) {
    ReportFailure("Assertion failed", text, path, line);
    throw XmlReadAbandoned();
}

XmlInText::XmlInText(const std::string& fileName) : _fileName(fileName) {
    ObjectSmartPointer<FileWrapper> file(new FileWrapper(fileName, "rb"));
    file->Seek(0, 2);
    const long size = file->Tell();
    file->Seek(0, 0);
    _text.assign(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    _text.resize(file->Read(&_text[0], _text.size()));
    Normalise();
}

XmlInText::XmlInText(const char* begin, const char* end) : _fileName("std::string"), _text(begin, end) {
    Normalise();
}

void XmlInText::Normalise() {
    std::size_t out = 0;
    bool afterReturn = false;
    // A UTF-8 byte-order mark is no part of the text.
    const std::size_t first = _text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (std::size_t in = first; in < _text.size(); ++in) {
        const char c = _text[in];
        if (c == '\r') {
            _text[out++] = '\n';
            afterReturn = true;
        } else {
            if (!(c == '\n' && afterReturn)) _text[out++] = c;
            afterReturn = false;
        }
    }
    _text.resize(out);
    _pos = 0;
    _line = 1;
    _isSevenBitEncoding = false;
}

void XmlInText::MoveNext() {
    if (_pos < _text.size()) {
        if (_text[_pos] == '\n') ++_line;
        ++_pos;
    } else {
        Assert(_pos == _text.size());
    }
}

void XmlInText::Skip(unsigned char c) {
    const bool matches = GetCurrent() == c;
    if (!matches) {
        ReportFailure("Assertion failed", "GetCurrent() == c", __FILE__, __LINE__);
        throw XmlReadAbandoned();
    }
    MoveNext();
}

void XmlInText::Skip(const char* text) {
    for (; *text != 0; ++text) Skip(static_cast<unsigned char>(*text));
}

bool XmlInText::IsSpace() const { return XmlUtil::IsSpace(GetCurrent()); }

bool XmlInText::IsQuote() const {
    const unsigned char c = GetCurrent();
    return c == '"' || c == '\'';
}

bool XmlInText::IsFirstEncodingLetter() const {
    const unsigned char c = GetCurrent();
    return ('A' <= c && c <= 'Z') || ('a' <= c && c <= 'z');
}

bool XmlInText::IsEncodingLetter() const {
    const unsigned char c = GetCurrent();
    return IsFirstEncodingLetter() || ('0' <= c && c <= '9') || c == '.' || c == '_' || c == '-';
}

bool XmlInText::IsFirstNameLetter() const { return XmlUtil::IsFirstNameLetter(GetCurrent()); }

bool XmlInText::IsSecondNameLetter() const { return XmlUtil::IsSecondNameLetter(GetCurrent()); }

bool XmlInText::IsHex() const {
    const unsigned char c = GetCurrent();
    return ('0' <= c && c <= '9') || ('a' <= c && c <= 'f') || ('A' <= c && c <= 'F');
}

bool XmlInText::IsDec() const {
    const unsigned char c = GetCurrent();
    return '0' <= c && c <= '9';
}

bool XmlInText::IsChar() const { return XmlUtil::IsChar(GetCurrent()); }

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
    XmlReadCheck(IsFirstNameLetter(), "IsFirstNameLetter()");
    const unsigned begin = _pos;
    ++_pos;
    while (_pos < _text.size() && XmlUtil::IsSecondNameLetter(static_cast<unsigned char>(_text[_pos]))) ++_pos;
    return _text.substr(begin, _pos - begin);
}

std::string XmlInText::ReadSpaceRun() {
    const unsigned begin = _pos;
    while (_pos < _text.size()) {
        const unsigned char c = static_cast<unsigned char>(_text[_pos]);
        if (!XmlUtil::IsSpace(c)) break;
        if (c == '\n') ++_line;
        ++_pos;
    }
    return _text.substr(begin, _pos - begin);
}

std::string XmlInText::ReadCharDataRun(unsigned char stop) {
    const unsigned begin = _pos;
    SkipCharDataRun(stop);
    return _text.substr(begin, _pos - begin);
}

void XmlInText::SkipCharDataRun(unsigned char stop) {
    while (_pos < _text.size()) {
        const unsigned char c = static_cast<unsigned char>(_text[_pos]);
        if (!XmlUtil::IsChar(c) || c == '<' || c == '&' || c == stop) break;
        if (c == '\n') ++_line;
        ++_pos;
    }
}

void XmlInText::SetSevenBitEncoding() {
    Assert(!_isSevenBitEncoding);
    _isSevenBitEncoding = true;
    bool clean = true;
    for (unsigned char c : _text) {
        if (c > 127) {
            ReportFailure("Assertion failed", "0 <= c && c <= 127", __FILE__, __LINE__);
            clean = false;
        }
    }
    if (!clean) throw XmlReadAbandoned();
}
