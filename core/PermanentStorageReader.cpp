#include "core/PermanentStorageReader.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/Assert.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "platform/FilePort.h"

namespace StoredNumber {

namespace {

bool IsDigit(char c) { return '0' <= c && c <= '9'; }

// A decimal number of any length: sign, digits, an optional fraction and exponent. Its value is
// kept as its first significant digits and a power of ten, which is all a clamp needs.
struct Decimal {
    bool negative = false;
    long double mantissa = 0.0L;  // 0.d1d2... of the first significant digits
    long long exponent = 0;       // value = mantissa * 10^exponent
    bool isZero = true;
};

bool ScanDecimal(const std::string& text, Decimal& d) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
    const std::size_t intBegin = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    const std::size_t intEnd = i;
    std::size_t fracBegin = i;
    std::size_t fracEnd = i;
    if (i < text.size() && text[i] == '.') {
        fracBegin = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        fracEnd = i;
    }
    if (intEnd == intBegin && fracEnd == fracBegin) return false;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negativeExponent = text[i++] == '-';
        if (i == text.size() || !IsDigit(text[i])) return false;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (exponent < 1000000000LL) exponent = exponent * 10 + (text[i] - '0');
        }
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return false;
    // The significant digits: the whole part without its leading zeros, then the fraction.
    std::size_t first = intBegin;
    while (first < intEnd && text[first] == '0') ++first;
    long long position = static_cast<long long>(intEnd - first);  // digits before the point
    std::string digits = text.substr(first, intEnd - first);
    if (digits.empty()) {
        std::size_t f = fracBegin;
        while (f < fracEnd && text[f] == '0') {
            ++f;
            --position;
        }
        digits = text.substr(f, fracEnd - f);
    } else {
        digits += text.substr(fracBegin, fracEnd - fracBegin);
    }
    long double mantissa = 0.0L;
    long double scale = 0.1L;
    for (std::size_t k = 0; k < digits.size() && k < 24; ++k, scale /= 10.0L) mantissa += (digits[k] - '0') * scale;
    d.isZero = mantissa == 0.0L;
    d.mantissa = mantissa;
    d.exponent = position + exponent;
    return true;
}

long double ValueOf(const Decimal& d, long double limit) {
    if (d.isZero) return 0.0L;
    // Past the limit whatever the digits: no power of ten is computed for it.
    if (d.exponent > 60) return d.negative ? -limit * 2 : limit * 2;
    if (d.exponent < -60) return 0.0L;
    const long double magnitude = d.mantissa * std::pow(10.0L, static_cast<long double>(d.exponent));
    return d.negative ? -magnitude : magnitude;
}

bool IsOwnIntForm(const std::string& text) {
    if (text.empty() || text.size() > 11) return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (std::size_t k = i; k < text.size(); ++k) {
        if (!IsDigit(text[k])) return false;
    }
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return value >= Int::MIN_VALUE && value <= Int::MAX_VALUE && Int::ToString(static_cast<int>(value)) == text;
}

bool IsHexText(const std::string& text) {
    std::size_t significant = 0;
    bool leading = true;
    if (text.empty()) return false;
    for (char c : text) {
        const bool hex = IsDigit(c) || ('a' <= c && c <= 'f') || ('A' <= c && c <= 'F');
        if (!hex) return false;
        if (leading && c == '0') continue;
        leading = false;
        ++significant;
    }
    return significant <= 8;
}

// The short decimal form the program reads: digits, a point, digits, seven digits at most.
bool IsOwnDecimalForm(const std::string& text) {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    int digits = 0;
    const std::size_t intBegin = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (i == intBegin || i == text.size() || text[i] != '.') return false;
    const std::size_t fracBegin = ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    const bool negativeZero = text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos;
    return i == text.size() && i > fracBegin && digits <= 7 && !negativeZero;
}

}  // namespace

Reading ReadInt(const std::string& text, int& value) {
    if (IsOwnIntForm(text)) {
        value = Int::Parse(text);
        return Reading::EXACT;
    }
    Decimal d;
    if (!ScanDecimal(text, d)) return Reading::REFUSED;
    const long double v = std::round(ValueOf(d, Int::MAX_VALUE));
    if (v > Int::MAX_VALUE) {
        value = Int::MAX_VALUE;
    } else if (v < Int::MIN_VALUE) {
        value = Int::MIN_VALUE;
    } else {
        value = static_cast<int>(v);
    }
    return Reading::CHANGED;
}

Reading ReadFloat(const std::string& text, float& value) {
    const std::size_t bitsAt = text.find("/0x");
    if (bitsAt != std::string::npos) {
        const std::string hex = text.substr(bitsAt + 3);
        if (!IsHexText(hex)) return Reading::REFUSED;
        const std::uint32_t bits = Int::ParseHex(hex);
        float read = 0.0f;
        std::memcpy(&read, &bits, sizeof read);
        if (std::isnan(read)) {
            value = 0.0f;
            return Reading::CHANGED;
        }
        value = read;
        return text.compare(0, bitsAt, Float::ToStringE(read)) == 0 ? Reading::EXACT : Reading::CHANGED;
    }
    if (IsOwnDecimalForm(text)) {
        value = Float::Parse(text);
        return Reading::EXACT;
    }
    Decimal d;
    if (!ScanDecimal(text, d)) return Reading::REFUSED;
    const long double v = ValueOf(d, FLT_MAX);
    value = v > FLT_MAX ? FLT_MAX : v < -FLT_MAX ? -FLT_MAX : static_cast<float>(v);
    return Reading::CHANGED;
}

}  // namespace StoredNumber

namespace {

// Values quoted in reports are cut: a report never carries a whole long value.
std::string Quoted(const std::string& text) {
    const std::size_t MAX = 64;
    if (text.size() <= MAX) return "\"" + text + "\"";
    return "\"" + text.substr(0, MAX) + "...\" (" + std::to_string(text.size()) + " characters)";
}

bool IsSignificantText(XmlNode* node) {
    auto* text = dynamic_cast<XmlText*>(node);
    return text != nullptr && !text->IsSpaceOnly();
}

// Parts of a "Variable" element beyond its name, type and value (and for an XML value its one element).
bool HasUnknownParts(XmlElement& variable, bool isXml) {
    for (XmlAttribute* a = variable.FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        const std::string& name = a->NameRef();
        if (name != "name" && name != "type" && !(name == "value" && !isXml)) return true;
    }
    int elements = 0;
    for (XmlNode* node = variable.FirstChildRaw(); !node->IsBarrier(); node = node->NextRaw()) {
        if (dynamic_cast<XmlElement*>(node) != nullptr) ++elements;
        if (IsSignificantText(node)) return true;
    }
    return elements > (isXml ? 1 : 0);
}

// The text of a well-formed element alone; null (with the reader's reason) when it is refused.
ObjectSmartPointer<XmlElement> ParseElement(const std::string& text, std::string& why) {
    AssertThrowGuard guard;
    try {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
        const ObjectWeakPointer<XmlElement> root = document->GetRoot();
        if (root == NULL) {
            why = "no element";
            return ObjectSmartPointer<XmlElement>();
        }
        ObjectSmartPointer<XmlElement> copy(new XmlElement(root));
        root->MarkVisitedTree();
        return copy;
    } catch (const AssertionFailedException& e) {
        why = e.GetText();
    } catch (const XmlReadAbandoned&) {
        why = "the XML reader refused it";
    }
    return ObjectSmartPointer<XmlElement>();
}

// An element of the text: its start tag, its end and whether the text holds all of it.
struct Span {
    std::size_t begin = 0;
    std::size_t tagEnd = 0;      // after the start tag's ">"
    std::size_t closeBegin = 0;  // where its end tag begins
    std::size_t end = 0;         // after its end tag
    bool isEmpty = false;
    bool isWhole = false;
    std::string name;
};

// Where a tag that starts at `at` ends (at its ">"): quotes are skipped, and a "<" that no tag may
// hold ends a broken one, so that the next element is still found. npos when the text ends first.
std::size_t TagEnd(const std::string& text, std::size_t at, std::size_t to) {
    char quote = 0;
    for (std::size_t i = at + 1; i < to; ++i) {
        const char c = text[i];
        if (c == '<') return i - 1;
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return std::string::npos;
}

bool StartsWith(const std::string& text, std::size_t at, const char* head) {
    return text.compare(at, std::strlen(head), head) == 0;
}

// The next element in [from, to); comments, declarations, texts and stray end tags are passed over.
// Nesting is counted, never recursed into, so any depth costs no stack.
bool NextElement(const std::string& text, std::size_t from, std::size_t to, Span& span) {
    std::size_t p = from;
    int depth = 0;
    for (;;) {
        const std::size_t lt = text.find('<', p);
        if (lt == std::string::npos || lt >= to) break;
        std::size_t after = std::string::npos;
        if (StartsWith(text, lt, "<!--")) {
            const std::size_t e = text.find("-->", lt + 4);
            after = e == std::string::npos || e + 3 > to ? std::string::npos : e + 3;
        } else if (StartsWith(text, lt, "<?") || StartsWith(text, lt, "<!")) {
            const std::size_t e = text.find('>', lt);
            after = e == std::string::npos || e >= to ? std::string::npos : e + 1;
        } else if (StartsWith(text, lt, "</")) {
            const std::size_t e = TagEnd(text, lt, to);
            after = e == std::string::npos ? std::string::npos : e + 1;
            if (after != std::string::npos && depth > 0 && --depth == 0) {
                span.closeBegin = lt;
                span.end = after;
                span.isWhole = true;
                return true;
            }
        } else {
            const std::size_t e = TagEnd(text, lt, to);
            if (e == std::string::npos) {
                if (depth == 0) return false;
                break;
            }
            after = e + 1;
            // A tag cut off by a "<" counts as empty: it is refused alone and the next one is found.
            const bool isEmpty = text[e] != '>' || text[e - 1] == '/';
            if (depth == 0) {
                span.begin = lt;
                span.tagEnd = after;
                span.isEmpty = isEmpty;
                std::size_t nameEnd = lt + 1;
                while (nameEnd < after && XmlUtil::IsSecondNameLetter(static_cast<unsigned char>(text[nameEnd]))) {
                    ++nameEnd;
                }
                span.name = text.substr(lt + 1, nameEnd - lt - 1);
                if (isEmpty) {
                    span.closeBegin = lt;
                    span.end = after;
                    span.isWhole = true;
                    return true;
                }
            }
            if (!isEmpty) ++depth;
        }
        if (after == std::string::npos) break;
        p = after;
    }
    if (depth == 0) return false;
    // The text ends inside the element: all the rest is its.
    span.closeBegin = to;
    span.end = to;
    span.isWhole = false;
    return true;
}

// The "name" attribute as the start tag writes it, for reports.
std::string NameInTag(const std::string& tag) {
    const std::size_t at = tag.find(" name=\"");
    if (at == std::string::npos) return std::string();
    const std::size_t from = at + 7;
    const std::size_t end = tag.find('"', from);
    return end == std::string::npos ? std::string() : tag.substr(from, end - from);
}

std::string Labelled(const std::string& element, const std::string& name) {
    return name.empty() ? element : element + " " + Quoted(name);
}

}  // namespace

PermanentStorageReader::PermanentStorageReader(const std::string& fileName) : _fileName(fileName) {}

void PermanentStorageReader::SetAside(const std::string& element, const std::string& attribute,
                                      const std::string& reason, const std::string& check,
                                      const ObjectWeakPointer<XmlElement>& source, bool isMended) {
    Part part;
    part.element = element;
    part.attribute = attribute;
    part.reason = reason;
    part.check = check;
    part.copy = ObjectSmartPointer<XmlElement>(new XmlElement(source));
    part.copy->MarkVisitedTree();
    part.isMended = isMended;
    source->MarkVisitedTree();
    _pending.push_back(part);
    ++_partCount;
}

void PermanentStorageReader::SetAsideText(const std::string& element, const std::string& reason,
                                          const std::string& text) {
    Part part;
    part.element = element;
    part.reason = reason;
    part.text = text;
    _pending.push_back(part);
    ++_partCount;
}

void PermanentStorageReader::ReadVariable(const std::string& where, const ObjectWeakPointer<XmlElement>& variable,
                                          PermanentVariableSet& set) {
    XmlElement& v = *variable;
    if (v.NameRef() != "Variable") {
        SetAside(where + " / " + v.NameRef(), "", "is not a Variable element", "variableXml->GetName() == \"Variable\"",
                 variable);
        return;
    }
    const ObjectWeakPointer<XmlAttribute> nameAttribute = v.GetAttribute("name");
    if (nameAttribute == NULL) {
        SetAside(where + " / Variable", "name", "has no name", "_object != NULL", variable);
        return;
    }
    const std::string name = nameAttribute->GetValue();
    const std::string here = where + " / Variable " + Quoted(name);
    if (set.IsDefined(name)) {
        SetAside(here, "name", "is a second value of this name; the first one is read",
                 "_variables.find(variableName) == _variables.end()", variable);
        return;
    }
    const ObjectWeakPointer<XmlAttribute> typeAttribute = v.GetAttribute("type");
    const std::string type = typeAttribute == NULL ? std::string() : typeAttribute->GetValue();
    if (type == "xml") {
        const ObjectWeakPointer<XmlElement> source = v.GetFirstChildElement();
        if (source == NULL) {
            SetAside(here, "", "is an xml value without an element", "source != NULL", variable);
            return;
        }
        ObjectSmartPointer<XmlElement> copy(new XmlElement(source));
        set.SetXml(name, copy);
        if (HasUnknownParts(v, true)) {
            SetAside(here, "", "holds more than one element or other parts; its first element is read", "", variable,
                     true);
        }
        v.MarkVisitedTree();
        return;
    }
    if (type != "int" && type != "bool" && type != "float" && type != "string") {
        SetAside(here, "type", typeAttribute == NULL ? "has no type" : "has the unknown type " + Quoted(type), "false",
                 variable);
        return;
    }
    const ObjectWeakPointer<XmlAttribute> valueAttribute = v.GetAttribute("value");
    if (valueAttribute == NULL) {
        SetAside(here, "value", "has no value", "_object != NULL", variable);
        return;
    }
    const std::string text = valueAttribute->GetValue();
    if (type == "string") {
        set.SetString(name, text);
    } else if (type == "bool") {
        if (text != "true" && text != "false") {
            SetAside(here, "value", Quoted(text) + " is no bool (true or false)", "", variable);
            return;
        }
        set.SetBool(name, text == "true");
    } else {
        const bool isInt = type == "int";
        int intValue = 0;
        float floatValue = 0.0f;
        const StoredNumber::Reading reading =
            isInt ? StoredNumber::ReadInt(text, intValue) : StoredNumber::ReadFloat(text, floatValue);
        if (reading == StoredNumber::Reading::REFUSED) {
            SetAside(here, "value", Quoted(text) + " is no number", "", variable);
            return;
        }
        if (isInt) {
            set.SetInt(name, intValue);
        } else {
            set.SetFloat(name, floatValue);
        }
        if (reading == StoredNumber::Reading::CHANGED) {
            const std::string wanted = isInt ? "an int of the range " + Int::ToString(Int::MIN_VALUE) + " to " +
                                                   Int::ToString(Int::MAX_VALUE) + " in its plain form"
                                             : std::string("a float in the program's form or range");
            const std::string readAs = isInt ? Int::ToString(intValue) : Float::ToStringE(floatValue);
            SetAside(here, "value", Quoted(text) + " is not " + wanted + "; read as " + readAs, "", variable, true);
        }
    }
    if (HasUnknownParts(v, false)) {
        SetAside(here, "", "has attributes or content the reader does not know; they are left out", "", variable, true);
    }
    v.MarkVisitedTree();
}

void PermanentStorageReader::ReadVariables(const std::string& where, const ObjectWeakPointer<XmlElement>& parent,
                                           PermanentVariableSet& set) {
    for (ObjectWeakPointer<XmlElement> variable = parent->GetFirstChildElement(); variable != NULL;
         variable = variable->GetNextElement()) {
        ReadVariable(where, variable, set);
    }
}

void PermanentStorageReader::Read(const ObjectWeakPointer<XmlElement>& root, Profile& profile) {
    XmlElement& storage = *root;
    if (storage.NameRef() != "Storage") {
        ReportFailure("Assertion failed",
                      "storageXml->GetName() == \"Storage\"\n" + _fileName + ": the root element is " +
                          Quoted(storage.NameRef()) + ", not Storage; it is read all the same",
                      __FILE__, __LINE__);
    }
    bool hasGlobals = false;
    for (ObjectWeakPointer<XmlElement> child = storage.GetFirstChildElement(); child != NULL;
         child = child->GetNextElement()) {
        const std::string& name = child->NameRef();
        if (name == "Globals" && !hasGlobals) {
            hasGlobals = true;
            ReadVariables("Globals", child, profile.globals);
        } else if (name == "Player") {
            const ObjectWeakPointer<XmlAttribute> nameAttribute = child->GetAttribute("name");
            const std::string playerName = nameAttribute == NULL ? std::string() : nameAttribute->GetValue();
            const std::string where = "Player " + Quoted(playerName);
            if (profile.players.find(playerName) != profile.players.end()) {
                SetAside(where, "name", "is a second player of this name; the first one is read",
                         "_players.find(playerName) == _players.end()", child);
                continue;
            }
            ReadVariables(where, child, profile.players[playerName]);
        } else if (name == "ActivePlayer" && !profile.hasActivePlayer && child->HasAttribute("name")) {
            profile.activePlayerName = child->GetStringAttribute("name");
            profile.hasActivePlayer = true;
        } else {
            std::string reason = "is an element the reader does not know";
            if (name == "Globals" || (name == "ActivePlayer" && profile.hasActivePlayer)) {
                reason = "is a second " + name + " element";
            } else if (name == "ActivePlayer") {
                reason = "has no name";
            }
            SetAside(name, "", reason, "", child);
        }
    }
    if (!hasGlobals) {
        ReportFailure("Assertion failed", "globals != NULL\n" + _fileName + " has no Globals element", __FILE__,
                      __LINE__);
    }
    storage.MarkVisitedTree();
}

void PermanentStorageReader::SalvageChildren(const std::string& text, std::size_t from, std::size_t to,
                                             const std::string& where, const ObjectSmartPointer<XmlElement>& parent,
                                             int depth) {
    Span span;
    for (std::size_t p = from; NextElement(text, p, to, span); p = span.end) {
        const std::string tag = text.substr(span.begin, span.tagEnd - span.begin);
        const std::string label = (where.empty() ? "" : where + " / ") + Labelled(span.name, NameInTag(tag));
        std::string why;
        if (depth == 1 && (span.name == "Globals" || span.name == "Player") && !span.isEmpty) {
            // The element from its start tag alone, then its values one by one.
            std::string alone = tag;
            alone.insert(alone.size() - 1, "/");
            ObjectSmartPointer<XmlElement> element = ParseElement(alone, why);
            if (element.Get() == nullptr) {
                SetAsideText(label, "the XML reader refuses its start tag: " + why,
                             text.substr(span.begin, span.end - span.begin));
                continue;
            }
            SalvageChildren(text, span.tagEnd, span.closeBegin, label, element, depth + 1);
            parent->AppendChild(element);
            continue;
        }
        const std::string part = text.substr(span.begin, span.end - span.begin);
        ObjectSmartPointer<XmlElement> element =
            span.isWhole ? ParseElement(part, why) : ObjectSmartPointer<XmlElement>();
        if (element.Get() == nullptr) {
            SetAsideText(label, span.isWhole ? "the XML reader refuses it: " + why : "the file ends inside it", part);
            continue;
        }
        parent->AppendChild(element);
    }
}

ObjectSmartPointer<XmlElement> PermanentStorageReader::Salvage(const std::string& text) {
    Span root;
    if (!NextElement(text, 0, text.size(), root)) return ObjectSmartPointer<XmlElement>();
    ObjectSmartPointer<XmlElement> storage(new XmlElement(root.name.empty() ? std::string("Storage") : root.name));
    if (!root.isEmpty) SalvageChildren(text, root.tagEnd, root.closeBegin, std::string(), storage, 1);
    return storage;
}

void PermanentStorageReader::Report(const Part& part, const std::string& keptIn) {
    std::string detail = _fileName + ", element " + part.element;
    if (!part.attribute.empty()) detail += ", attribute " + part.attribute;
    detail += ": " + part.reason + (part.isMended ? "; the original is kept in " : "; it is set aside in ") + keptIn;
    if (part.check.empty()) {
        ReportError(detail);
    } else {
        ReportFailure("Assertion failed", part.check + "\n" + detail, __FILE__, __LINE__);
    }
}

std::string PermanentStorageReader::KeepPending(std::string* failure) {
    if (_pending.empty()) return _keptIn;
    std::string name;
    for (int n = 1; n <= 10000; ++n) {
        const std::string candidate = _fileName + ".set-aside-" + std::to_string(n);
        if (!FilePort::Exists(candidate) && !FilePort::Exists(candidate + ".new")) {
            name = candidate;
            break;
        }
    }
    std::string why = "no free name";
    if (!name.empty()) {
        ObjectSmartPointer<XmlElement> root(new XmlElement("SetAside"));
        root->SetStringAttribute("file", _fileName);
        for (const Part& part : _pending) {
            ObjectSmartPointer<XmlElement> kept(new XmlElement("Part"));
            kept->SetStringAttribute("element", part.element);
            if (!part.attribute.empty()) kept->SetStringAttribute("attribute", part.attribute);
            kept->SetStringAttribute("reason", part.reason);
            kept->SetBoolAttribute("read", part.isMended);
            if (part.copy.Get() != nullptr) {
                const ObjectWeakPointer<XmlElement> copy(part.copy);
                kept->AppendChild(ObjectSmartPointer<XmlNode>(new XmlElement(copy)));
            } else {
                kept->AppendChild(ObjectSmartPointer<XmlNode>(new XmlText(part.text)));
            }
            root->AppendChild(kept);
        }
        ObjectSmartPointer<XmlDocument> document(new XmlDocument(root));
        if (document->Save(name, &why)) {
            for (const Part& part : _pending) Report(part, name);
            _pending.clear();
            _keptIn = name;
            return name;
        }
    }
    if (failure != nullptr) *failure = why;
    return std::string();
}
