#include "core/XmlOutText.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "core/Assert.h"
#include "core/Int.h"
#include "core/XmlMessages.h"
#include "core/XmlUtil.h"
#include "platform/FilePort.h"

namespace {

// The last text's storage, kept for the next writer: the next text is likely alike, so its buffer
// neither grows step by step nor touches fresh pages.
thread_local std::string spareBuffer;
constexpr std::size_t MAX_SPARE = 16 * 1024 * 1024;

// Whether every byte is a character; written without early exits, so the compiler does it in blocks.
bool AreChars(const char* text, std::size_t length) {
    unsigned bad = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        bad |= static_cast<unsigned>(c < 32) & static_cast<unsigned>(c != 9) & static_cast<unsigned>(c != 10);
    }
    return bad == 0;
}

}  // namespace

XmlOutText::XmlOutText(const std::string& fileName) : _fileName(fileName) {
    _buffer.swap(spareBuffer);
    _buffer.clear();
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
    if (_buffer.capacity() > spareBuffer.capacity() && _buffer.capacity() <= MAX_SPARE) _buffer.swap(spareBuffer);
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
    if (!AreChars(text.data(), text.size())) {
        for (char c : text) {
            XmlCheck(XmlUtil::IsChar(static_cast<unsigned char>(c)), "XmlUtil::IsChar(c)");
        }
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
    // Line feeds become CR LF through a block-sized piece, so the text is not copied whole again.
    constexpr std::size_t PIECE = 32 * 1024;
    char piece[PIECE];
    std::size_t pieceSize = 0;
    std::size_t total = 0;
    std::size_t written = 0;
    auto flush = [&]() {
        written += std::fwrite(piece, 1, pieceSize, _file);
        total += pieceSize;
        pieceSize = 0;
    };
    const char* data = _buffer.data();
    const std::size_t size = _buffer.size();
    for (std::size_t from = 0; from < size;) {
        const void* found = std::memchr(data + from, '\n', size - from);
        const std::size_t end = found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
        for (std::size_t at = from; at < end;) {
            if (pieceSize == PIECE) flush();
            const std::size_t length = std::min(end - at, PIECE - pieceSize);
            std::memcpy(piece + pieceSize, data + at, length);
            pieceSize += length;
            at += length;
        }
        if (found == nullptr) break;
        if (PIECE - pieceSize < 2) flush();
        piece[pieceSize++] = '\r';
        piece[pieceSize++] = '\n';
        from = end + 1;
    }
    flush();
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
    if (written != total) {
        report("Error",
               XmlMessages::WANTED_WRITE + Int::ToString(static_cast<int>(total)) + XmlMessages::MANAGED +
                   Int::ToString(static_cast<int>(written)),
               __LINE__);
    }
    if (!synced) report("Error", XmlMessages::CANNOT_SYNC + _fileName, __LINE__);
    if (!closed) report("Assertion failed", "fclose(_file) == 0", __LINE__);
    return written == total && synced && closed;
}
