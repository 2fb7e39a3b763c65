#include "core/XmlRead.h"

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

// Reads character data and references up to the stop byte into the units.
void ReadTextUnits(XmlInText& text, const ObjectWeakPointer<XmlInText>& in, unsigned char stop,
                   XmlTextReadUnits& components) {
    while (text.GetCurrent() != stop) {
        const unsigned char c = text.GetCurrent();
        if (c == '&') {
            components.push_back(ObjectSmartPointer<XmlTextReadUnit>(new XmlCharReferenceRead(in)));
        } else if (c != '<' && text.IsChar()) {
            components.push_back(ObjectSmartPointer<XmlTextReadUnit>(new XmlCharDataRead(in, stop)));
        } else {
            XmlReadCheck(false, "false");
        }
    }
}

std::string ValueOf(const XmlTextReadUnits& components) {
    std::string value;
    for (const auto& unit : components) unit.Get()->AppendValue(value);
    return value;
}

void WriteUnits(const XmlTextReadUnits& components, const ObjectWeakPointer<XmlOutText>& out) {
    for (const auto& unit : components) unit.Get()->Write(out);
}

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

// XmlCharDataRead

XmlCharDataRead::XmlCharDataRead(const ObjectWeakPointer<XmlInText>& in, unsigned char stop) {
    _value = in->ReadCharDataRun(stop);
    XmlReadCheck(_value.length() > 0, "_value.length() > 0");
}

void XmlCharDataRead::AppendValue(std::string& value) { value += _value; }

void XmlCharDataRead::Write(const ObjectWeakPointer<XmlOutText>& out) { out->PutContent(_value); }

// XmlCharReferenceRead

XmlCharReferenceRead::XmlCharReferenceRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    const XmlInText::Position begin = text.GetPosition();
    text.Skip('&');
    if (text.GetCurrent() == '#') {
        text.MoveNext();
        int value = 0;
        if (text.GetCurrent() == 'x') {
            text.MoveNext();
            XmlReadCheck(text.IsHex(), "in->IsHex()");
            value = text.GetHexValue();
            text.MoveNext();
            while (text.IsHex()) {
                value = value * 16 + text.GetHexValue();
                XmlReadCheck(0 <= value && value <= 255, "0 <= value && value <= 255");
                text.MoveNext();
            }
        } else {
            XmlReadCheck(text.IsDec(), "in->IsDec()");
            value = text.GetDecValue();
            text.MoveNext();
            while (text.IsDec()) {
                value = value * 10 + text.GetDecValue();
                XmlReadCheck(0 <= value && value <= 255, "0 <= value && value <= 255");
                text.MoveNext();
            }
        }
        _char = static_cast<char>(value & 0xFF);
    } else {
        const std::string name = text.ReadName();
        if (name == "lt") {
            _char = '<';
        } else if (name == "gt") {
            _char = '>';
        } else if (name == "amp") {
            _char = '&';
        } else if (name == "quot") {
            _char = '"';
        } else if (name == "apos") {
            _char = '\'';
        } else {
            XmlReadCheck(false, "false");
        }
    }
    text.Skip(';');
    _source = text.GetSubText(begin, text.GetPosition());
}

void XmlCharReferenceRead::AppendValue(std::string& value) { value += _char; }

void XmlCharReferenceRead::Write(const ObjectWeakPointer<XmlOutText>& out) { out->PutContent(_source); }

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

// XmlAttributeRead

XmlAttributeRead::XmlAttributeRead(const ObjectWeakPointer<XmlInText>& in,
                                   const ObjectSmartPointer<XmlSpaceRead>& leadingSpace)
    : _leadingSpace(leadingSpace) {
    XmlInText& text = *in;
    SetName(text.ReadName());
    _eq = ObjectSmartPointer<XmlEqRead>(new XmlEqRead(in));
    XmlReadCheck(text.IsQuote(), "in->IsQuote()");
    _quote = static_cast<char>(text.GetCurrent());
    text.MoveNext();
    XmlReadCheck(_components.size() == 0, "_components.size() == 0");
    ReadTextUnits(text, in, static_cast<unsigned char>(_quote), _components);
    text.MoveNext();
    SetValue(ValueOf(_components));
}

void XmlAttributeRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    XmlOutText& text = *out;
    WriteSpace(_leadingSpace, out);
    text.PutString(_name);
    _eq->Write(out);
    text.PutChar(_quote);
    WriteUnits(_components, out);
    text.PutChar(_quote);
    _isVisited = true;
}

// XmlTextRead

XmlTextRead::XmlTextRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    ReadTextUnits(text, in, '<', _components);
    XmlReadCheck(_components.size() > 0, "_components.size() > 0");
    SetValue(ValueOf(_components));
}

void XmlTextRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    WriteUnits(_components, out);
    _isVisited = true;
}

// XmlElementRead

XmlElementRead::XmlElementRead(const ObjectWeakPointer<XmlInText>& in) {
    XmlInText& text = *in;
    text.Skip('<');
    SetName(text.ReadName());
    if (text.GetCurrent() != '>') {
        do {
            if (text.GetCurrent() == '/') break;
            ObjectSmartPointer<XmlSpaceRead> space(new XmlSpaceRead(in));
            _lastSpace = space;
            if (text.GetCurrent() == '>' || text.GetCurrent() == '/') break;
            ObjectSmartPointer<XmlAttribute> attribute(new XmlAttributeRead(in, space));
            _lastSpace = nullptr;
            AddAttribute(attribute);
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
    for (;;) {
        const unsigned char c = text.GetCurrent();
        if (c == '<' && text.GetNext() == '!') {
            AppendChild(ObjectSmartPointer<XmlNode>(new XmlComment(in)));
        } else if (c == '<' && text.GetNext() == '/') {
            break;
        } else if (c == '<') {
            AppendChild(ObjectSmartPointer<XmlNode>(new XmlElementRead(in)));
        } else if (text.IsChar()) {
            AppendChild(ObjectSmartPointer<XmlNode>(new XmlTextRead(in)));
        } else {
            XmlReadCheck(false, "false");
        }
    }
    text.Skip('<');
    text.Skip('/');
    const std::string endName = text.ReadName();
    if (endName != _name) {
        ReportError(XmlMessages::END_TAG_NAME + endName + "\n" + XmlMessages::START_TAG_NAME + _name);
    }
    if (text.IsSpace()) _endTagSpace = ObjectSmartPointer<XmlSpaceRead>(new XmlSpaceRead(in));
    text.Skip('>');
}

void XmlElementRead::Write(const ObjectWeakPointer<XmlOutText>& out) {
    XmlOutText& text = *out;
    text.PutChar('<');
    text.PutString(_name);
    WriteAttributes(out);
    WriteSpace(_lastSpace, out);
    if (_isEmptyTag && !HasChildNodes()) {
        text.PutString("/>");
    } else {
        text.PutChar('>');
        text.IncreaseTab();
        WriteChildren(out);
        text.DecreaseTab();
        text.PutString("</");
        text.PutString(_name);
        WriteSpace(_endTagSpace, out);
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
    ReportError(XmlMessages::DOCUMENT_ERROR + first + "\n]\n[\n" + second + "\n]");
}

XmlDocumentRead::XmlDocumentRead(const char* begin, const char* end) {
    ObjectSmartPointer<XmlInText> in(new XmlInText(begin, end));
    try {
        ReadDocument(in);
    } catch (const XmlReadAbandoned&) {
        // The document keeps what was read before the rejected byte.
    }
}
