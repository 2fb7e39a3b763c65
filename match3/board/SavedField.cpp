#include "match3/board/SavedField.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/Bool.h"
#include "core/Float.h"
#include "core/Int.h"

namespace {

// Parsers that refuse what the strict readers would report: only the text the writers give.

bool ParseInt(const std::string& text, int& value) {
    if (text.empty() || text.size() > 11) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return Int::ToString(value) == text;
}

bool ParseBool(const std::string& text, bool& value) {
    if (text != "true" && text != "false") return false;
    value = text == "true";
    return true;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The exact form "<%e text>/0x<eight hex digits>", or a plain decimal of at most seven digits.
bool ParseFloat(const std::string& text, float& value) {
    const std::string::size_type bits = text.find("/0x");
    if (bits != std::string::npos) {
        const std::string hex = text.substr(bits + 3);
        if (hex.size() != 8 || !std::all_of(hex.begin(), hex.end(), IsHexDigit)) return false;
        const std::uint32_t pattern = static_cast<std::uint32_t>(std::strtoul(hex.c_str(), nullptr, 16));
        float exact = 0.0f;
        std::memcpy(&exact, &pattern, sizeof exact);
        if (!std::isfinite(exact) || text.substr(0, bits) != Float::ToStringE(exact)) return false;
        value = exact;
        return true;
    }
    std::string::size_type i = text.empty() || text[0] != '-' ? 0 : 1;
    int digits = 0;
    int before = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (!point) ++before;
        } else if (c == '.' && !point && before > 0) {
            point = true;
        } else {
            return false;
        }
    }
    if (!point || digits == before || digits > 7) return false;
    value = Float::Parse(text);
    return std::isfinite(value);
}

class Reader {
public:
    Reader(const ObjectWeakPointer<XmlElement>& element, std::string& problem) : _element(element), _problem(problem) {}

    bool Text(const char* name, std::string& value) {
        if (!_element->HasAttribute(name)) return Fail(std::string("no \"") + name + "\"");
        value = _element->GetStringAttribute(name);
        return true;
    }
    bool ReadInt(const char* name, int& value, int low, int high) {
        std::string text;
        if (!Text(name, text)) return false;
        if (!ParseInt(text, value) || value < low || value > high) return Fail(Bad(name, text));
        return true;
    }
    bool ReadBool(const char* name, bool& value) {
        std::string text;
        if (!Text(name, text)) return false;
        return ParseBool(text, value) || Fail(Bad(name, text));
    }
    bool ReadFloat(const char* name, float& value) {
        std::string text;
        if (!Text(name, text)) return false;
        return ParseFloat(text, value) || Fail(Bad(name, text));
    }
    bool Fail(const std::string& what) {
        _problem = _where + what;
        return false;
    }
    void SetWhere(const std::string& where) { _where = where; }

private:
    static std::string Bad(const char* name, const std::string& text) {
        return std::string("\"") + name + "\" is \"" + text + "\"";
    }

    ObjectWeakPointer<XmlElement> _element;
    std::string& _problem;
    std::string _where;
};

bool IsPieceColor(int color) {
    return (color >= 0 && color < CHIP_COLOR_COUNT) ||
           (color > BONUS_COLOR_BASE && color <= BONUS_COLOR_BASE + LIGHTNING);
}

// The colours of the "chips" text: one character each, "0".."9" or the code - 55, as in a chip set.
bool ReadChips(const std::string& text, std::vector<int>& chips) {
    chips.clear();
    for (char c : text) {
        const int color = (c >= '0' && c <= '9') ? c - '0' : static_cast<unsigned char>(c) - 55;
        if (color < 0 || color >= CHIP_COLOR_COUNT) return false;
        chips.push_back(color);
    }
    std::vector<int> distinct = chips;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    return distinct.size() >= 3;
}

bool ReadCell(const ObjectWeakPointer<XmlElement>& element, int x, int y, SavedCell& cell, std::string& problem) {
    Reader r(element, problem);
    r.SetWhere("cell " + std::to_string(x) + "," + std::to_string(y) + ": ");
    if (!r.ReadInt("color", cell.color, NO_CELL, BONUS_COLOR_BASE + LIGHTNING) || !r.ReadBool("born", cell.born)) return false;
    if (cell.color != NO_CELL && cell.color != EMPTY_CELL && !IsPieceColor(cell.color)) {
        return r.Fail("no piece has colour " + std::to_string(cell.color));
    }
    cell.painted = 0;
    cell.locks = 0;
    cell.bonus = NO_BONUS;
    if (cell.color == NO_CELL) return true;
    if (!r.ReadInt("painted", cell.painted, 0, 2)) return false;
    if (cell.color == EMPTY_CELL) return true;
    if (!r.ReadInt("locked", cell.locks, 0, 2) || !r.ReadInt("bonus", cell.bonus, NO_BONUS, LIGHTNING)) return false;
    const int expected = cell.color > BONUS_COLOR_BASE ? cell.color - BONUS_COLOR_BASE : NO_BONUS;
    if (cell.bonus != expected) {
        return r.Fail("bonus " + std::to_string(cell.bonus) + " with colour " + std::to_string(cell.color));
    }
    return true;
}

bool ReadRunning(const ObjectWeakPointer<XmlElement>& element, SavedField& field, std::string& problem) {
    Reader r(element, problem);
    std::string chips;
    if (!r.ReadInt("matchCounter", field.matchCounter, 0, INT_MAX) || !r.ReadInt("sizeX", field.sizeX, 1, MAX_FIELD_X) ||
        !r.ReadInt("sizeY", field.sizeY, 1, MAX_FIELD_Y) || !r.Text("levelName", field.levelName) ||
        !r.ReadInt("levelTime", field.levelTime, 1, INT_MAX) || !r.ReadFloat("levelTimeCounter", field.timeLeft) ||
        !r.Text("chips", chips)) {
        return false;
    }
    if (field.timeLeft < 0.0f || field.timeLeft > static_cast<float>(field.levelTime)) {
        return r.Fail("the time left " + Float::ToStringE(field.timeLeft) + " is outside the level time");
    }
    if (!ReadChips(chips, field.chips)) return r.Fail("the chips \"" + chips + "\" are not a chip set");

    field.hint = SavedHint();
    field.cells.assign(static_cast<std::size_t>(field.sizeY),
                       std::vector<SavedCell>(static_cast<std::size_t>(field.sizeX)));
    int y = 0;
    int paints = 0;
    ObjectWeakPointer<XmlElement> child = element->GetFirstChildElement();
    if (child != NULL && child->NameRef() == "hints") {
        Reader h(child, problem);
        h.SetWhere("hints: ");
        SavedHint& hint = field.hint;
        if (!h.Text("message", hint.message) || !h.ReadInt("x", hint.x, INT_MIN, INT_MAX) ||
            !h.ReadInt("y", hint.y, INT_MIN, INT_MAX) || !h.ReadFloat("angle", hint.angle)) {
            return false;
        }
        hint.present = true;
        child = child->GetNextElement();
    }
    for (; child != NULL; child = child->GetNextElement(), ++y) {
        if (child->NameRef() != "Line") return r.Fail("unexpected element \"" + child->NameRef() + "\"");
        if (y >= field.sizeY) return r.Fail("more than " + std::to_string(field.sizeY) + " lines");
        int x = 0;
        for (ObjectWeakPointer<XmlElement> cell = child->GetFirstChildElement(); cell != NULL;
             cell = cell->GetNextElement(), ++x) {
            if (cell->NameRef() != "Cell") return r.Fail("unexpected element \"" + cell->NameRef() + "\"");
            if (x >= field.sizeX) return r.Fail("line " + std::to_string(y) + " has more than " +
                                                std::to_string(field.sizeX) + " cells");
            SavedCell& saved = field.cells[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            if (!ReadCell(cell, x, y, saved, problem)) return false;
            if (saved.painted > 0) ++paints;
        }
        if (x != field.sizeX) return r.Fail("line " + std::to_string(y) + " has " + std::to_string(x) + " cells");
    }
    if (y != field.sizeY) return r.Fail(std::to_string(y) + " lines instead of " + std::to_string(field.sizeY));
    // A running level always has paint left; without any it would be won on sight.
    if (paints == 0) return r.Fail("no painted cell");
    return true;
}

}  // namespace

ObjectSmartPointer<XmlElement> WriteRunningField(const SavedField& field) {
    ObjectSmartPointer<XmlElement> root(new XmlElement("Field"));
    std::string chips;
    for (int color : field.chips) chips += std::to_string(color);
    root->SetIntAttribute("matchCounter", field.matchCounter);
    root->SetIntAttribute("sizeX", field.sizeX);
    root->SetIntAttribute("sizeY", field.sizeY);
    root->SetStringAttribute("levelName", field.levelName);
    root->SetIntAttribute("levelTime", field.levelTime);
    root->SetFloatAttribute("levelTimeCounter", field.timeLeft);
    root->SetStringAttribute("chips", chips);
    if (field.hint.present) {
        ObjectSmartPointer<XmlElement> hints(new XmlElement("hints"));
        hints->SetStringAttribute("message", field.hint.message);
        hints->SetIntAttribute("x", field.hint.x);
        hints->SetIntAttribute("y", field.hint.y);
        hints->SetFloatAttribute("angle", field.hint.angle);
        root->AppendChild(hints);
    }
    for (const std::vector<SavedCell>& row : field.cells) {
        ObjectSmartPointer<XmlElement> line(new XmlElement("Line"));
        for (const SavedCell& cell : row) {
            ObjectSmartPointer<XmlElement> e(new XmlElement("Cell"));
            e->SetIntAttribute("color", cell.color);
            e->SetBoolAttribute("born", cell.born);
            if (cell.color != NO_CELL) e->SetIntAttribute("painted", cell.painted);
            if (cell.color >= 0) {
                e->SetIntAttribute("locked", cell.locks);
                e->SetIntAttribute("bonus", cell.bonus);
            }
            line->AppendChild(e);
        }
        root->AppendChild(line);
    }
    return root;
}

ObjectSmartPointer<XmlElement> WriteNextLevel(const std::string& levelName) {
    ObjectSmartPointer<XmlElement> root(new XmlElement("Field"));
    ObjectSmartPointer<XmlElement> level(new XmlElement("level"));
    level->SetStringAttribute("name", levelName);
    root->AppendChild(level);
    return root;
}

SavedFieldForm ReadSavedField(const ObjectWeakPointer<XmlElement>& element, SavedField& field, std::string& problem) {
    field = SavedField();
    problem.clear();
    if (element == NULL || element->NameRef() != "Field") {
        problem = "the value is not a \"Field\" element";
        return SavedFieldForm::Broken;
    }
    const ObjectWeakPointer<XmlElement> first = element->GetFirstChildElement();
    if (first != NULL && first->NameRef() == "level" && !element->HasAttribute("sizeX")) {
        if (first->HasAttribute("name")) {
            field.levelName = first->GetStringAttribute("name");
            return SavedFieldForm::NextLevel;
        }
        problem = "the level has no \"name\"";
        return SavedFieldForm::Broken;
    }
    if (ReadRunning(element, field, problem)) return SavedFieldForm::Running;
    const std::string name = element->HasAttribute("levelName") ? element->GetStringAttribute("levelName") : "";
    field = SavedField();
    field.levelName = name;
    return SavedFieldForm::Broken;
}
