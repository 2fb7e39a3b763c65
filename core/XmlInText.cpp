#include "core/XmlInText.h"

#include <cstdio>

#include "core/XmlUtil.h"

XmlInText::XmlInText(const std::string& fileName) : _fileName(fileName) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        ReportError("Не удалось открыть файл " + fileName + " в режиме rb");
        return;
    }
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    const bool rewound = std::fseek(file, 0, SEEK_SET) == 0;
    std::size_t got = 0;
    if (size > 0 && rewound) {
        _text.assign(static_cast<std::size_t>(size), '\0');
        got = std::fread(&_text[0], 1, _text.size(), file);
    }
    std::fclose(file);
    XmlCheck(size >= 0 && rewound, "fseek(_file, offset, origin) == 0");
    if (size > 0 && got != static_cast<std::size_t>(size)) {
        ReportError("Хотели прочитать " + std::to_string(size) + ", удалось " + std::to_string(got));
        _text.resize(got);
    }
    Normalise();
}

XmlInText::XmlInText(const char* begin, const char* end) : _fileName("std::string"), _text(begin, end) {
    Normalise();
}

void XmlInText::Normalise() {
    std::size_t out = 0;
    bool afterReturn = false;
    for (std::size_t in = 0; in < _text.size(); ++in) {
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
    while (_pos < _text.size()) {
        const unsigned char c = static_cast<unsigned char>(_text[_pos]);
        if (!XmlUtil::IsChar(c) || c == '<' || c == '&' || c == stop) break;
        if (c == '\n') ++_line;
        ++_pos;
    }
    return _text.substr(begin, _pos - begin);
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
