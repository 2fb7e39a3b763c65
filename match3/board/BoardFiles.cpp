#include "match3/board/BoardFiles.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/Assert.h"
#include "core/XmlRead.h"
#include "platform/FilePort.h"

ChipSetReading CollectChipSets(const ObjectWeakPointer<XmlElement>& parent) {
    ChipSetReading reading;
    if (parent == NULL) return reading;
    int index = 0;
    for (ObjectWeakPointer<XmlElement> set = parent->GetFirstChildElement("set"); set != NULL;
         set = set->GetNextElement("set"), ++index) {
        if (static_cast<int>(reading.sets.size()) >= MAX_CHIP_SETS) {
            ++reading.beyond;
            continue;
        }
        std::string usable;
        std::string note;
        const bool ok = UsableChipSet(set->GetStringAttributeOrDef("chips", ""), usable, note);
        if (ok) reading.sets.push_back(usable);
        if (!note.empty() && reading.faulty++ == 0) {
            reading.firstFaulty = index;
            reading.firstFault = ok ? note : "refused, " + note;
        }
    }
    return reading;
}

void ReportChipSetFaults(const ChipSetReading& reading, const std::string& fileName) {
    if (reading.faulty > 0) {
        const int line = ContentLine(fileName, {{"set", reading.firstFaulty}});
        ReportError(fileName + (line > 0 ? ", line " + std::to_string(line) : std::string()) + ": " +
                    std::to_string(reading.faulty) + " chip set" + (reading.faulty > 1 ? "s" : "") +
                    " not usable as written; the first: " + reading.firstFault);
    }
    if (reading.beyond > 0) {
        ReportError(fileName + ": " + std::to_string(reading.beyond) + " chip sets beyond the first " +
                    std::to_string(MAX_CHIP_SETS) + " left out");
    }
}

namespace {
bool ReadChipSetsFile(const std::string& fileName, std::vector<std::string>& sets, std::string& failure);
}  // namespace

bool LoadChipSetsFile(const std::string& fileName, std::vector<std::string>& sets, std::string* failure) {
    // The last reading, used again while its file is unchanged: a long file costs one reading.
    static struct {
        FileStamp stamp;
        bool ok = false;
        std::vector<std::string> sets;
        std::string failure;
    } last;
    const FileStamp stamp = StampOf(fileName);
    if (stamp.found && stamp == last.stamp) {
        sets.insert(sets.end(), last.sets.begin(), last.sets.end());
        if (!last.ok && failure != nullptr) *failure = last.failure;
        return last.ok;
    }
    last.stamp = stamp;
    last.sets.clear();
    last.ok = ReadChipSetsFile(fileName, last.sets, last.failure);
    sets.insert(sets.end(), last.sets.begin(), last.sets.end());
    if (!last.ok && failure != nullptr) *failure = last.failure;
    return last.ok;
}

namespace {

bool ReadChipSetsFile(const std::string& fileName, std::vector<std::string>& sets, std::string& failure) {
    ObjectSmartPointer<XmlDocumentRead> document(new XmlDocumentRead(fileName));
    const ObjectWeakPointer<XmlElement> root = document->GetRoot();
    std::string fault;
    if (root == NULL) {
        const int line = document->GetFailedLine();
        fault = fileName + (line > 0 ? ", line " + std::to_string(line) + ": the file is broken"
                                     : ": the file cannot be read");
    } else {
        root->MarkVisitedTree();
        const ChipSetReading reading = CollectChipSets(root);
        ReportChipSetFaults(reading, fileName);
        if (!reading.sets.empty()) {
            sets.insert(sets.end(), reading.sets.begin(), reading.sets.end());
            return true;
        }
        const int line = reading.firstFaulty >= 0 ? ContentLine(fileName, {{"set", reading.firstFaulty}}) : 0;
        fault = fileName + (line > 0 ? ", line " + std::to_string(line) : std::string()) + ": no usable chip set" +
                (reading.firstFault.empty() ? std::string() : " (" + reading.firstFault + ")");
    }
    ReportError(fault);
    failure = fault;
    return false;
}

}  // namespace

bool ReadLevelShape(const ObjectWeakPointer<XmlElement>& level, LevelShape& shape, LevelProblem& problem) {
    std::vector<std::string> lines;
    if (level != NULL) {
        for (ObjectWeakPointer<XmlElement> line = level->GetFirstChildElement("Line"); line != NULL;
             line = line->GetNextElement("Line")) {
            // One line past the grid tells that the level is too high.
            if (lines.size() > static_cast<std::size_t>(MAX_FIELD_Y)) break;
            lines.push_back(line->HasChildNodes() ? line->GetText() : std::string());
        }
    }
    return ParseLevelLines(lines, shape, problem);
}

std::map<std::string, int> ReadCupBonusTable(const ObjectWeakPointer<XmlElement>& cupBonus) {
    std::map<std::string, int> table;
    if (cupBonus == NULL) return table;
    for (ObjectWeakPointer<XmlElement> entry = cupBonus->GetFirstChildElement(); entry != NULL;
         entry = entry->GetNextElement()) {
        const std::string key = entry->GetStringAttribute("n");
        table[key] = static_cast<int>(
            ReadBoundedNumber(entry, "GameplayCost.xml (cup " + key + ")", "s", 0.0, MAX_COST, 0.0));
    }
    return table;
}

double ReadBoundedNumber(const ObjectWeakPointer<XmlElement>& element, const std::string& fileName,
                         const std::string& name, double min, double max, double fallback) {
    if (element == NULL || !element->HasAttribute(name)) return fallback;
    const std::string text = element->GetStringAttribute(name);
    char* end = nullptr;
    const double value = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
    if (!text.empty() && end != nullptr && *end == '\0' && std::isfinite(value) && value >= min && value <= max) {
        return value;
    }
    std::string shown = text.size() > 40 ? text.substr(0, 40) + "..." : text;
    char range[64];
    std::snprintf(range, sizeof range, "%g .. %g", min, max);
    char used[32];
    std::snprintf(used, sizeof used, "%g", fallback);
    ReportError(fileName + ": " + name + " = \"" + shown + "\" is not a number within " + range + "; " + used +
                " is used");
    return fallback;
}

namespace {

// Where the start tag of that name begins at or after from, or npos.
std::size_t FindStartTag(const std::string& text, const std::string& tag, std::size_t from) {
    const std::string open = "<" + tag;
    for (std::size_t at = text.find(open, from); at != std::string::npos; at = text.find(open, at + 1)) {
        const std::size_t after = at + open.size();
        if (after >= text.size()) return std::string::npos;
        const char c = text[after];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/') return at;
    }
    return std::string::npos;
}

}  // namespace

FileStamp StampOf(const std::string& fileName) {
    FileStamp stamp;
    std::error_code error;
    stamp.path = std::filesystem::absolute(FilePort::NormalizePath(fileName), error).string();
    struct stat info {};
    if (::stat(stamp.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return stamp;
    stamp.found = true;
    stamp.size = static_cast<std::uintmax_t>(info.st_size);
    stamp.modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    return stamp;
}

int ContentLine(const std::string& fileName, const std::vector<std::pair<std::string, int>>& path) {
    std::FILE* file = FilePort::Open(fileName, "rb");
    if (file == nullptr) return 0;
    std::string text;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0) text.resize(static_cast<std::size_t>(size));
        std::rewind(file);
    }
    text.resize(std::fread(&text[0], 1, text.size(), file));
    std::fclose(file);
    std::size_t at = 0;
    for (const auto& step : path) {
        for (int i = 0; i <= step.second; ++i) {
            at = FindStartTag(text, step.first, i == 0 ? at : at + 1);
            if (at == std::string::npos) return 0;
        }
    }
    int line = 1;
    for (std::size_t i = 0; i < at; ++i) line += text[i] == '\n' ? 1 : 0;
    return line;
}
