#include "aquarium/TankRecords.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "core/XmlAttribute.h"
#include "core/XmlElement.h"

namespace {

struct ItemClass {
    bool isFloorItem = false;
    TankItemRecords::Checker checker;
};

std::map<std::string, ItemClass>& Classes() {
    static std::map<std::string, ItemClass> classes;
    return classes;
}

constexpr std::size_t SHOWN_NAME_LENGTH = 40;

std::string Shown(const std::string& text) {
    return text.size() <= SHOWN_NAME_LENGTH ? text : text.substr(0, SHOWN_NAME_LENGTH) + "...";
}

// The attribute's own problem, or empty.
std::string CheckValue(const XmlElement& element, const XmlAttribute& attribute) {
    const std::string& value = attribute.ValueRef();
    const std::string where = "'" + Shown(attribute.NameRef()) + "' of <" + Shown(element.NameRef()) + ">";
    if (value.size() > TankLimits::MAX_TEXT) {
        return where + " is " + std::to_string(value.size()) + " bytes long (at most " +
               std::to_string(TankLimits::MAX_TEXT) + ")";
    }
    double number = 0.0;
    if (!ReadRecordNumber(value, number)) return std::string();
    if (!std::isfinite(number)) return where + " is " + Shown(value) + ", no finite number";
    if (std::fabs(number) > TankLimits::MAX_NUMBER) return where + " is " + Shown(value) + ", out of range";
    return std::string();
}

}  // namespace

bool ReadRecordNumber(const std::string& text, double& value) {
    const std::size_t bits = text.find("/0x");
    if (bits != std::string::npos) {
        const std::string hex = text.substr(bits + 3);
        if (hex.empty() || hex.size() > 8) return false;
        std::uint32_t word = 0;
        for (const char c : hex) {
            int digit = 0;
            if ('0' <= c && c <= '9') {
                digit = c - '0';
            } else if ('a' <= c && c <= 'f') {
                digit = c - 'a' + 10;
            } else if ('A' <= c && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                return false;
            }
            word = word * 16 + static_cast<std::uint32_t>(digit);
        }
        float f = 0.0f;
        std::memcpy(&f, &word, sizeof f);
        value = f;
        return true;
    }
    if (text.empty()) return false;
    const char* begin = text.c_str();
    const char first = begin[0] == '-' || begin[0] == '+' ? begin[1] : begin[0];
    const bool looksNumeric = (first >= '0' && first <= '9') || first == '.' || first == 'n' || first == 'N' ||
                              first == 'i' || first == 'I';
    if (!looksNumeric) return false;
    char* end = nullptr;
    const double parsed = std::strtod(begin, &end);
    if (end != begin + text.size()) return false;
    value = parsed;
    return true;
}

bool RecordText(const XmlElement& element, const std::string& name, std::string& text) {
    for (XmlAttribute* a = element.FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        if (a->NameRef() == name) {
            text = a->ValueRef();
            return true;
        }
    }
    return false;
}

bool RecordNumber(const XmlElement& element, const std::string& name, double& value) {
    std::string text;
    return RecordText(element, name, text) && ReadRecordNumber(text, value);
}

XmlElement* RecordChild(const XmlElement& element, const std::string& name) {
    for (XmlNode* n = element.FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        XmlElement* child = dynamic_cast<XmlElement*>(n);
        if (child != nullptr && child->NameRef() == name) return child;
    }
    return nullptr;
}

int PlantLayerCells(const XmlElement& layer) {
    double columns = 0.0;
    double rows = 0.0;
    if (layer.NameRef() != "mesh" || !RecordNumber(layer, "meshWidth", columns) || !RecordNumber(layer, "meshHeight", rows)) {
        return 1;
    }
    const double cells = columns * rows;
    if (!(cells >= 1.0)) return 1;
    return cells > 1e6 ? 1000000 : static_cast<int>(cells);
}

std::string CheckRecordRange(const XmlElement& element, const std::string& name, double low, double high) {
    double value = 0.0;
    const std::string where = "'" + name + "' of <" + Shown(element.NameRef()) + ">";
    if (!RecordNumber(element, name, value)) return where + " is missing or no number";
    if (!(low <= value && value <= high)) return where + " is out of range";
    return std::string();
}

std::string CheckRecordTimer(const XmlElement& timer) {
    for (const auto& range : {std::make_pair("flareLife", 1e-6), std::make_pair("minFlarePause", 0.0),
                              std::make_pair("maxFlarePause", 0.0), std::make_pair("beforeFirstFlare", 0.0)}) {
        const std::string problem = CheckRecordRange(timer, range.first, range.second, TankLimits::MAX_NUMBER);
        if (!problem.empty()) return problem;
    }
    return std::string();
}

void TankItemRecords::Register(const std::string& elementName, bool isFloorItem, Checker checker) {
    if (IsRegistered(elementName)) return;
    ItemClass& itemClass = Classes()[elementName];
    itemClass.isFloorItem = isFloorItem;
    itemClass.checker = std::move(checker);
}

bool TankItemRecords::IsRegistered(const std::string& elementName) { return Classes().count(elementName) != 0; }

bool TankItemRecords::IsFloorItem(const std::string& elementName) {
    const auto found = Classes().find(elementName);
    return found != Classes().end() && found->second.isFloorItem;
}

std::string TankItemRecords::ShownName(const XmlElement& element) { return Shown(element.NameRef()); }

std::string TankItemRecords::Check(const ObjectWeakPointer<XmlElement>& record, bool isStored) {
    if (record == NULL) return "no element";
    const auto found = Classes().find(record->NameRef());
    if (found == Classes().end()) return "<" + ShownName(*record) + "> is no tank item";

    // The walk keeps its own stack: a record nested without end is refused at its depth limit.
    std::vector<std::pair<XmlElement*, int>> pending = {{record.Get(), 0}};
    int elements = 0;
    while (!pending.empty()) {
        XmlElement* element = pending.back().first;
        const int depth = pending.back().second;
        pending.pop_back();
        if (++elements > TankLimits::MAX_RECORD_ELEMENTS) {
            return "more than " + std::to_string(TankLimits::MAX_RECORD_ELEMENTS) + " elements";
        }
        if (depth > TankLimits::MAX_RECORD_DEPTH) {
            return "<" + ShownName(*element) + "> nested deeper than " + std::to_string(TankLimits::MAX_RECORD_DEPTH);
        }
        if (element->NameRef().size() > TankLimits::MAX_TEXT) return "an element name is too long";
        for (XmlAttribute* a = element->FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
            const std::string problem = CheckValue(*element, *a);
            if (!problem.empty()) return problem;
        }
        for (XmlNode* n = element->FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
            if (XmlElement* child = dynamic_cast<XmlElement*>(n)) {
                pending.emplace_back(child, depth + 1);
            } else if (dynamic_cast<XmlText*>(n) != nullptr && n->IsSignificant()) {
                return "<" + ShownName(*element) + "> holds text, which no tank item has";
            }
        }
    }
    return found->second.checker ? found->second.checker(record, isStored) : std::string();
}
