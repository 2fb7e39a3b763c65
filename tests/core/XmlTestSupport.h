#pragma once
// Helpers shared by the XML tests.

#include <iconv.h>

#include <string>

#include "core/XmlDocument.h"
#include "core/XmlOutText.h"
#include "core/XmlRead.h"
#include "tests/support/TestSupport.h"

namespace xml_test {

// A UTF-8 text in the Windows-1251 code page of the program's messages.
inline std::string W(const std::string& utf8) {
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    std::string in = utf8;
    std::string out(in.size(), '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

inline const std::string& Dir() {
    static const std::string dir = testing_support::MakeTempDir("xml");
    return dir;
}

inline ObjectSmartPointer<XmlDocument> ReadText(const std::string& text) {
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
}

// The bytes an XmlOutText puts on the disk for what `write` puts into it.
template <class F>
std::string Written(F write) {
    const std::string path = Dir() + "out.xml";
    {
        ObjectSmartPointer<XmlOutText> out(new XmlOutText(path));
        write(ObjectWeakPointer<XmlOutText>(out));
    }
    return testing_support::ReadFile(path);
}

inline std::string WrittenDocument(const ObjectSmartPointer<XmlDocument>& document) {
    return Written([&](const ObjectWeakPointer<XmlOutText>& out) { document->Write(out); });
}

inline std::string WrittenNode(const ObjectWeakPointer<XmlNode>& node) {
    return Written([&](const ObjectWeakPointer<XmlOutText>& out) { node->Write(out); });
}

// LF to CR LF, as the writer puts line ends on the disk.
inline std::string Crlf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

inline ObjectSmartPointer<XmlElement> Element(const std::string& name) {
    return ObjectSmartPointer<XmlElement>(new XmlElement(name));
}

inline ObjectSmartPointer<XmlAttribute> Attribute(const std::string& name, const std::string& value) {
    return ObjectSmartPointer<XmlAttribute>(new XmlAttribute(name, value));
}

inline ObjectSmartPointer<XmlNode> Text(const std::string& value) {
    return ObjectSmartPointer<XmlNode>(new XmlText(value));
}

}  // namespace xml_test
