#include "core/XmlRead.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>
#include <unordered_set>

#include "core/Int.h"
#include "core/String.h"
#include "core/XmlFileOps.h"
#include "core/XmlMessages.h"
#include "core/XmlOutText.h"
#include "core/XmlUtil.h"

namespace {

void WriteSpace(const ObjectSmartPointer<XmlSpaceRead>& space, const ObjectWeakPointer<XmlOutText>& out) {
    if (space.Get() != nullptr) space.Get()->Write(out);
}

// Reads a character reference at the cursor ("&#x..;", "&#..;" or one of the five named ones)
// and appends the character it stands for.
void ReadReference(XmlInText& text, std::string& value) {
    text.Skip('&');
    char c = 0;
    if (text.GetCurrent() == '#') {
        text.MoveNext();
        int code = 0;
        if (text.GetCurrent() == 'x') {
            text.MoveNext();
            XmlReadCheck(text.IsHex(), "in->IsHex()");
            code = text.GetHexValue();
            text.MoveNext();
            while (text.IsHex()) {
                code = code * 16 + text.GetHexValue();
                XmlReadCheck(0 <= code && code <= 255, "0 <= value && value <= 255");
                text.MoveNext();
            }
        } else {
            XmlReadCheck(text.IsDec(), "in->IsDec()");
            code = text.GetDecValue();
            text.MoveNext();
            while (text.IsDec()) {
                code = code * 10 + text.GetDecValue();
                XmlReadCheck(0 <= code && code <= 255, "0 <= value && value <= 255");
                text.MoveNext();
            }
        }
        c = static_cast<char>(code & 0xFF);
    } else {
        const unsigned begin = text.SkipName();
        const std::string_view name(text.Data() + begin, text.GetPosition().Get() - begin);
        if (name == "lt") {
            c = '<';
        } else if (name == "gt") {
            c = '>';
        } else if (name == "amp") {
            c = '&';
        } else if (name == "quot") {
            c = '"';
        } else if (name == "apos") {
            c = '\'';
        } else {
            XmlReadCheck(false, "false");
        }
    }
    text.Skip(';');
    value += c;
}

// Reads character data and references up to the stop byte, what they stand for into value (empty
// before); true when a reference makes the value differ from the source.
bool ReadCharacters(XmlInText& text, unsigned char stop, std::string& value) {
    const unsigned begin = text.GetPosition().Get();
    // Most values are one run: taken whole.
    text.SkipCharDataRun(stop);
    if (text.GetCurrent() == stop) {
        value.append(text.Data() + begin, text.GetPosition().Get() - begin);
        return false;
    }
    bool hasReference = false;
    while (text.GetCurrent() != stop) {
        const unsigned char c = text.GetCurrent();
        if (c == '&') {
            if (!hasReference) value.assign(text.Data() + begin, text.GetPosition().Get() - begin);
            hasReference = true;
            ReadReference(text, value);
        } else if (c != '<' && text.IsChar()) {
            const unsigned run = text.GetPosition().Get();
            text.SkipCharDataRun(stop);
            if (hasReference) value.append(text.Data() + run, text.GetPosition().Get() - run);
        } else {
            XmlReadCheck(false, "false");
        }
    }
    if (!hasReference) value.assign(text.Data() + begin, text.GetPosition().Get() - begin);
    return hasReference;
}

// The text from begin to the cursor into a target still empty (appending costs less than assigning).
void AssignFrom(std::string& target, const XmlInText& text, unsigned begin) {
    target.append(text.Data() + begin, text.GetPosition().Get() - begin);
}


// Counts the element being read as open; refuses one nested too deep before it recurses further.
class DepthScope {
public:
    explicit DepthScope(XmlInText& text) : _depth(text.Depth()) {
        XmlReadCheck(_depth < XmlInText::MAX_DEPTH, "depth < MAX_DEPTH");
        ++_depth;
    }
    ~DepthScope() { --_depth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

private:
    int& _depth;
};

// Attributes past this count are checked for duplicates through a set of names.
constexpr std::size_t LINEAR_ATTRIBUTE_CHECKS = 8;


}  // namespace

// XmlSpaceRead

XmlSpaceRead::XmlSpaceRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    XmlReadCheck(text.IsSpace(), "in->IsSpace()");
    _value = text.ReadSpaceRun();
}

void XmlSpaceRead::Write(const ObjectWeakPointer<XmlOutText>& out) { out->PutString(_value); }

// XmlEqRead

XmlEqRead::XmlEqRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    if (text.IsSpace()) _spaceBefore = ObjectSmartPointer<XmlSpaceRead>(new XmlSpaceRead(in));
    XmlReadCheck(text.GetCurrent() == '=', "in->GetCurrent() == '='");
    text.MoveNext();
    if (text.IsSpace()) _spaceAfter = ObjectSmartPointer<XmlSpaceRead>(new XmlSpaceRead(in));
}

void XmlEqRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    WriteSpace(_spaceBefore, out);
    out->PutChar('=');
    WriteSpace(_spaceAfter, out);
}

// XmlDeclarationRead

XmlDeclarationRead::XmlDeclarationRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    if (text.GetCurrent() == '<' && text.GetNext() == '?') {
        SetDeclarationPresent();
        text.Skip("<?xml");
        _versionSpace = ObjectSmartPointer<XmlSpaceRead>(new XmlSpaceRead(in));
        text.Skip("version");
        _versionEq = ObjectSmartPointer<XmlEqRead>(new XmlEqRead(in));
        XmlReadCheck(text.IsQuote(), "in->IsQuote()");
        _versionQuote = static_cast<char>(text.GetCurrent());
        text.MoveNext();
        text.Skip("1.0");
        XmlReadCheck(text.GetCurrent() == static_cast<unsigned char>(_versionQuote),
                     "in->GetCurrent() == _versionQuote");
        text.MoveNext();
        if (text.GetCurrent() == '?') {
            text.Skip("?>");
        } else {
            ObjectSmartPointer<XmlSpaceRead> space(new XmlSpaceRead(in));
            if (text.GetCurrent() == '?') {
                _endSpace = space;
                text.Skip("?>");
            } else {
                _encodingSpace = space;
                text.Skip("encoding");
                _encodingEq = ObjectSmartPointer<XmlEqRead>(new XmlEqRead(in));
                XmlReadCheck(text.IsQuote(), "in->IsQuote()");
                _encodingQuote = static_cast<char>(text.GetCurrent());
                text.MoveNext();
                const XmlInText::Position begin = text.GetPosition();
                XmlReadCheck(text.IsFirstEncodingLetter(), "in->IsFirstEncodingLetter()");
                while (text.IsEncodingLetter()) text.MoveNext();
                const XmlInText::Position end = text.GetPosition();
                XmlReadCheck(text.GetCurrent() == static_cast<unsigned char>(_encodingQuote),
                             "in->GetCurrent() == _encodingQuote");
                text.MoveNext();
                SetEncodingName(text.GetSubText(begin, end));
                if (text.IsSpace()) _endSpace = ObjectSmartPointer<XmlSpaceRead>(new XmlSpaceRead(in));
                text.Skip("?>");
            }
        }
    }
    if (ToLower(_encodingName) == "us-ascii") text.SetSevenBitEncoding();
}

void XmlDeclarationRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    if (!_doesDeclarationPresent) return;
    XmlOutText& text = *out;
    text.PutString("<?xml");
    WriteSpace(_versionSpace, out);
    text.PutString("version");
    _versionEq->Write(out);
    text.PutChar(_versionQuote);
    text.PutString("1.0");
    text.PutChar(_versionQuote);
    if (_encodingSpace.Get() != nullptr) {
        WriteSpace(_encodingSpace, out);
        text.PutString("encoding");
        _encodingEq->Write(out);
        text.PutChar(_encodingQuote);
        text.PutString(_encodingName);
        text.PutChar(_encodingQuote);
    }
    WriteSpace(_endSpace, out);
    text.PutString("?>");
    text.SetDeclaration();
}

// XmlMiscRead

XmlMiscRead::XmlMiscRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    XmlReadCheck(_components.size() == 0, "_components.size() == 0");
    for (;;) {
        if (text.IsSpace()) {
            _components.push_back(ObjectSmartPointer<XmlMiscReadUnit>(new XmlSpaceRead(in)));
        } else if (text.GetCurrent() == '<' && text.GetNext() == '!') {
            ObjectSmartPointer<XmlComment> comment(new XmlComment(in));
            _components.push_back(comment);
            AddComment(comment);
        } else {
            break;
        }
    }
}

void XmlMiscRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    for (const auto& unit : _components) unit.Get()->Write(out);
}

// XmlComment, read

XmlComment::XmlComment(const ObjectWeakPointer<XmlInText>& in) {
    _isVisited = true;
    XmlInText& text = *in;
    text.Skip("<!--");
    const XmlInText::Position begin = text.GetPosition();
    while (!(text.GetCurrent() == '-' && text.GetNext() == '-')) {
        XmlReadCheck(text.IsChar(), "false");
        text.MoveNext();
    }
    const XmlInText::Position end = text.GetPosition();
    text.MoveNext();
    text.MoveNext();
    text.Skip('>');
    _comment = text.GetSubText(begin, end);
}

// XmlKeptText

void XmlKeptText::Assign(const char* first, std::size_t firstLength, const char* second, std::size_t secondLength) {
    const std::size_t length = firstLength + secondLength;
    const std::uint32_t size = static_cast<std::uint32_t>(length);
    const std::size_t blockSize = std::max(sizeof size + length, sizeof(void*));
#ifdef MARIVEL_NO_POOL
    char* block = static_cast<char*>(std::malloc(blockSize));
    if (block == nullptr) throw std::bad_alloc();
#else
    char* block = static_cast<char*>(Pool::Allocate(blockSize));
#endif
    std::memcpy(block, &size, sizeof size);
    if (firstLength > 0) std::memcpy(block + sizeof size, first, firstLength);
    if (secondLength > 0) std::memcpy(block + sizeof size + firstLength, second, secondLength);
    Free();
    _block = block;
}

void XmlKeptText::Free() {
    if (_block == nullptr) return;
#ifdef MARIVEL_NO_POOL
    std::free(_block);
#else
    Pool::Release(_block, std::max(sizeof(std::uint32_t) + Size(), sizeof(void*)));
#endif
    _block = nullptr;
}

// XmlAttributeRead

// The reader's name rule is the model's, so the name is not checked again.
XmlAttributeRead::XmlAttributeRead(XmlInText& text, unsigned spaceBegin, unsigned nameBegin)
    : XmlAttribute(text.Data() + nameBegin, text.GetPosition().Get() - nameBegin) {
    const unsigned nameEnd = text.GetPosition().Get();
    text.SkipSpaceRun();
    XmlReadCheck(text.GetCurrent() == '=', "in->GetCurrent() == '='");
    text.MoveNext();
    text.SkipSpaceRun();
    const unsigned eqEnd = text.GetPosition().Get();
    const char* data = text.Data();
    if (nameBegin - spaceBegin != 1 || data[spaceBegin] != ' ' || eqEnd - nameEnd != 1) {
        _layout.Assign(data + spaceBegin, nameBegin - spaceBegin, data + nameEnd, eqEnd - nameEnd);
        _eqAt = nameBegin - spaceBegin;
    }
    XmlReadCheck(text.IsQuote(), "in->IsQuote()");
    _quote = static_cast<char>(text.GetCurrent());
    text.MoveNext();
    const unsigned valueBegin = text.GetPosition().Get();
    if (ReadCharacters(text, static_cast<unsigned char>(_quote), _value)) {
        _source.Assign(data + valueBegin, text.GetPosition().Get() - valueBegin);
    }
    text.MoveNext();
}

void XmlAttributeRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    XmlOutText& text = *out;
    if (_layout.IsEmpty()) {
        text.PutChar(' ');
        text.PutString(_name);
        text.PutChar('=');
    } else {
        text.PutString(_layout.Data(), _eqAt);
        text.PutString(_name);
        text.PutString(_layout.Data() + _eqAt, _layout.Size() - _eqAt);
    }
    text.PutChar(_quote);
    if (_source.IsEmpty()) {
        text.PutContent(_value);
    } else {
        text.PutContent(_source.Data(), _source.Size());
    }
    text.PutChar(_quote);
    _isVisited = true;
}

void XmlAttributeRead::FetchTexts() const {
    __builtin_prefetch(_name.data());
    __builtin_prefetch(_layout.Data());
    __builtin_prefetch(_source.IsEmpty() ? _value.data() : _source.Data());
}

// XmlTextRead

XmlTextRead::XmlTextRead(XmlInText& text) {
    const unsigned begin = text.GetPosition().Get();
    if (ReadCharacters(text, '<', _value)) _source.Assign(text.Data() + begin, text.GetPosition().Get() - begin);
    XmlReadCheck(_value.size() > 0 || !_source.IsEmpty(), "_components.size() > 0");
    NoteValue();
}

void XmlTextRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    if (_source.IsEmpty()) {
        out->PutContent(_value);
    } else {
        out->PutContent(_source.Data(), _source.Size());
    }
    _isVisited = true;
}

// XmlElementRead

XmlElementRead::XmlElementRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    const DepthScope depth(text);
    text.Skip('<');
    // The reader's name rule is the model's, so the name is not checked again.
    AssignFrom(_name, text, text.SkipName());
    if (text.GetCurrent() != '>') {
        std::size_t count = 0;
        std::unique_ptr<std::unordered_set<std::string>> names;
        do {
            if (text.GetCurrent() == '/') break;
            XmlReadCheck(text.IsSpace(), "in->IsSpace()");
            const unsigned spaceBegin = text.SkipSpaceRun();
            if (text.GetCurrent() == '>' || text.GetCurrent() == '/') {
                _spaces.Assign(text.Data() + spaceBegin, text.GetPosition().Get() - spaceBegin);
                _endTagSpaceAt = text.GetPosition().Get() - spaceBegin;
                break;
            }
            XmlAttributeRead* read = new XmlAttributeRead(text, spaceBegin);
            ObjectSmartPointer<XmlAttribute> attribute(read);
            const std::string& name = read->NameRef();
            bool isNew = true;
            if (++count <= LINEAR_ATTRIBUTE_CHECKS) {
                for (XmlAttribute* a = FirstAttributeRaw(); isNew && !a->IsBarrier(); a = a->NextRaw()) {
                    isNew = a->NameRef() != name;
                }
            } else {
                if (names == nullptr) {
                    names = std::make_unique<std::unordered_set<std::string>>();
                    for (XmlAttribute* a = FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
                        names->insert(a->NameRef());
                    }
                }
                isNew = names->insert(name).second;
            }
            if (isNew) {
                AttributeEnd()->LinkBefore(std::move(attribute));
            } else {
                AddAttribute(attribute);  // reports the duplicate
            }
        } while (text.GetCurrent() != '>');
    }
    if (text.GetCurrent() == '/') {
        _isEmptyTag = true;
        text.Skip('/');
        text.Skip('>');
        return;
    }
    _isEmptyTag = false;
    text.Skip('>');
    XmlNode* end = nullptr;
    auto append = [this, &end](ObjectSmartPointer<XmlNode>&& node) {
        if (end == nullptr) end = ChildEnd();
        end->LinkBefore(std::move(node));
    };
    for (;;) {
        const unsigned char c = text.GetCurrent();
        if (c == '<') {
            const unsigned char next = text.GetNext();
            if (next == '/') break;
            if (next == '!') {
                append(ObjectSmartPointer<XmlNode>(new XmlComment(in)));
            } else {
                append(ObjectSmartPointer<XmlNode>(new XmlElementRead(in)));
            }
        } else if (text.IsChar()) {
            append(ObjectSmartPointer<XmlNode>(new XmlTextRead(text)));
        } else {
            XmlReadCheck(false, "false");
        }
    }
    text.Skip('<');
    text.Skip('/');
    const unsigned endBegin = text.SkipName();
    const std::string_view endName(text.Data() + endBegin, text.GetPosition().Get() - endBegin);
    if (endName != _name) {
        ReportError(XmlMessages::END_TAG_NAME + std::string(endName) + "\n" + XmlMessages::START_TAG_NAME + _name);
    }
    if (text.IsSpace()) {
        const unsigned spaceBegin = text.SkipSpaceRun();
        _spaces.Assign(_spaces.Data(), _endTagSpaceAt, text.Data() + spaceBegin, text.GetPosition().Get() - spaceBegin);
    }
    text.Skip('>');
}

void XmlElementRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    XmlOutText& text = *out;
    text.PutChar('<');
    text.PutString(_name);
    WriteAttributes(out);
    if (!_spaces.IsEmpty()) text.PutString(_spaces.Data(), _endTagSpaceAt);
    if (_isEmptyTag && !HasChildNodes()) {
        text.PutString("/>");
    } else {
        text.PutChar('>');
        text.IncreaseTab();
        WriteChildren(out);
        text.DecreaseTab();
        text.PutString("</");
        text.PutString(_name);
        if (!_spaces.IsEmpty()) text.PutString(_spaces.Data() + _endTagSpaceAt, _spaces.Size() - _endTagSpaceAt);
        text.PutChar('>');
    }
    _isVisited = true;
}

// XmlDocumentRead

void XmlDocumentRead::ReadDocument(const ObjectWeakPointer<XmlInText>& in) {
    _declarationNode = ObjectSmartPointer<XmlDeclaration>(new XmlDeclarationRead(in));
    _miscBefore = ObjectSmartPointer<XmlMisc>(new XmlMiscRead(in));
    _root = ObjectSmartPointer<XmlElement>(new XmlElementRead(in));
    _miscAfter = ObjectSmartPointer<XmlMisc>(new XmlMiscRead(in));
    XmlReadCheck(in->GetCurrent() == XmlInText::END, "in->GetCurrent() == in->END");
}

void XmlDocumentRead::ReadFromFile(const std::string& fileName) {
    ObjectSmartPointer<XmlInText> in;
    {
        AssertThrowGuard guard;
        try {
            in = ObjectSmartPointer<XmlInText>(new XmlInText(fileName));
        } catch (const AssertionFailedException& e) {
            ReportError(XmlMessages::DISK_READ_ERROR + fileName + "\n\n" + e.GetText());
        }
    }
    if (in.Get() == nullptr) return;
    {
        AssertThrowGuard guard;
        try {
            ReadDocument(in);
        } catch (const AssertionFailedException& e) {
            _failedLine = in->GetLine();
            ReportError(XmlMessages::LINE_ERROR + Int::ToString(in->GetLine()) + XmlMessages::OF_FILE +
                        in->GetFileName() + "\n" + e.GetText());
        }
    }
}

void XmlDocumentRead::Discard() {
    if (_root.Get() != nullptr) _root.Get()->MarkVisitedTree();
    _root = nullptr;
    _declarationNode = ObjectSmartPointer<XmlDeclaration>(new XmlDeclaration);
    _miscBefore = ObjectSmartPointer<XmlMisc>(new XmlMisc);
    _miscAfter = ObjectSmartPointer<XmlMisc>(new XmlMisc);
}

XmlDocumentRead::XmlDocumentRead(const std::string& fileName) {
    // A save cut short leaves its text aside; the newest whole one is read.
    RestoreInterruptedSave(fileName);
    std::string first;
    {
        AssertThrowGuard guard;
        try {
            ReadFromFile(fileName);
            return;
        } catch (const AssertionFailedException& e) {
            first = e.GetText();
        }
    }
    Discard();
    const int failedLine = _failedLine;
    std::string second;
    const std::string backup = fileName + ".bak";
    {
        AssertThrowGuard guard;
        try {
            ReadFromFile(backup);
            XmlFileOps::KeepAside(fileName);  // the broken file may hold what the backup lacks
            XmlFileOps::MoveNoReplace(backup, fileName);
            return;
        } catch (const AssertionFailedException& e) {
            second = e.GetText();
        }
    }
    Discard();
    _failedLine = failedLine;
    ReportError(XmlMessages::DOCUMENT_ERROR + first + "\n]\n[\n" + second + "\n]\n(neither " + fileName +
                " nor its backup " + backup + " could be read)");
}

XmlDocumentRead::XmlDocumentRead(const char* begin, const char* end) {
    ObjectSmartPointer<XmlInText> in(new XmlInText(begin, end));
    try {
        ReadDocument(in);
    } catch (const XmlReadAbandoned&) {
        // The document keeps what was read before the rejected byte.
    }
}
