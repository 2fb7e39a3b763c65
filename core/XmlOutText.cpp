#include "core/XmlOutText.h"

#include <unistd.h>

#include <cstring>

#include "core/Assert.h"
#include "core/Int.h"
#include "core/XmlMessages.h"
#include "core/XmlUtil.h"
#include "platform/FilePort.h"

XmlOutText::XmlOutText(const std::string& fileName) : _fileName(fileName) {
    // Line feeds are stored as CR LF by the write itself, as a text-mode stream would.
    _file = FilePort::Open(fileName, "wb");
    if (_file == nullptr) {
        ReportError(std::string(XmlMessages::CANNOT_OPEN) + fileName + XmlMessages::IN_MODE + "w");
    }
}

XmlOutText::~XmlOutText() {
    XmlDestructorCheck(_tabNumber == 0);
    XmlDestructorCheck(!_isInComment);
    if (!_isClosed) WriteAndClose(true);
}

void XmlOutText::PutChar(char c) {
    XmlCheck(XmlUtil::IsChar(static_cast<unsigned char>(c)), "XmlUtil::IsChar(c)");
    if (c == '<' && _lastChar == '>' && !_isInComment) {
        _buffer += '\n';
        _buffer.append(static_cast<std::size_t>(_tabNumber), '\t');
    }
    _buffer += c;
    _lastChar = c;
}

void XmlOutText::PutString(const std::string& text) { PutString(text.data(), text.size()); }

void XmlOutText::PutString(const char* text) { PutString(text, std::strlen(text)); }

// PutChar for each byte, appending the runs between line breaks in one piece.
void XmlOutText::PutString(const char* text, std::size_t length) {
    std::size_t from = 0;
    char last = _lastChar;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        XmlCheck(XmlUtil::IsChar(static_cast<unsigned char>(c)), "XmlUtil::IsChar(c)");
        if (c == '<' && last == '>' && !_isInComment) {
            _buffer.append(text + from, i - from);
            _buffer += '\n';
            _buffer.append(static_cast<std::size_t>(_tabNumber), '\t');
            from = i;
        }
        last = c;
    }
    _buffer.append(text + from, length - from);
    _lastChar = last;
}

void XmlOutText::PutContent(const std::string& text) {
    if (text.empty()) return;
    for (char c : text) {
        XmlCheck(XmlUtil::IsChar(static_cast<unsigned char>(c)), "XmlUtil::IsChar(c)");
    }
    _buffer += text;
    _lastChar = text.back() == '>' ? 0 : text.back();
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
    _declaration = _buffer;
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
    std::string bytes;
    bytes.reserve(_buffer.size() + _buffer.size() / 16);
    for (std::size_t from = 0; from < _buffer.size();) {
        const void* found = std::memchr(_buffer.data() + from, '\n', _buffer.size() - from);
        const std::size_t end = found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - _buffer.data())
                                                 : _buffer.size();
        bytes.append(_buffer, from, end - from);
        if (found == nullptr) break;
        bytes += "\r\n";
        from = end + 1;
    }
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), _file);
    // A save waits until the text is on the disk; the diagnostic dumps need not.
    const bool synced = std::fflush(_file) == 0 && (fromDestructor || ::fsync(::fileno(_file)) == 0);
    const bool closed = std::fclose(_file) == 0;
    _file = nullptr;

    auto report = [fromDestructor](const std::string& title, const std::string& text, int line) {
        if (fromDestructor) {
            XmlUtil::LogFailure(title, text, __FILE__, line);
        } else {
            ReportFailure(title, text, __FILE__, line);
        }
    };
    if (written != bytes.size()) {
        report("Error",
               XmlMessages::WANTED_WRITE + Int::ToString(static_cast<int>(bytes.size())) + XmlMessages::MANAGED +
                   Int::ToString(static_cast<int>(written)),
               __LINE__);
    }
    if (!synced) report("Error", XmlMessages::CANNOT_SYNC + _fileName, __LINE__);
    if (!closed) report("Assertion failed", "fclose(_file) == 0", __LINE__);
    return written == bytes.size() && synced && closed;
}
