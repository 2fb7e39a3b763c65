#pragma once
// Reading the board's content from XML: chip sets, a level's lines, the cup bonus table and
// bounded numbers, with reports that name the file and its line.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"
#include "match3/board/LevelLines.h"

// A chip-set list as read: the usable sets (each cut to what a level can use) and what was wrong
// with the others, summed up for one report.
struct ChipSetReading {
    std::vector<std::string> sets;
    // Sets refused or changed, the first such set's position among the "set" children (0-based)
    // and what was wrong with it.
    int faulty = 0;
    int firstFaulty = -1;
    std::string firstFault;
    // Sets beyond MAX_CHIP_SETS, not read.
    int beyond = 0;
};

// More sets than any cycle of levels can use.
constexpr int MAX_CHIP_SETS = 256;

// The "chips" of the "set" children, in order, as a level can use them (see UsableChipSet).
ChipSetReading CollectChipSets(const ObjectWeakPointer<XmlElement>& parent);

// One report for what a reading found wrong in that file (nothing when all was well).
void ReportChipSetFaults(const ChipSetReading& reading, const std::string& fileName);

// The chip sets of a chip-set file ("ChipSets.xml"): false, with the failure (naming the file and,
// where there is one, the line), when the file cannot be read or holds no usable set. The failure
// and the sets it refused or cut are reported once: the reading of an unchanged file is used again.
bool LoadChipSetsFile(const std::string& fileName, std::vector<std::string>& sets, std::string* failure = nullptr);

// The "Line" children of a "Level" element, parsed (see ParseLevelLines); a level of more lines
// than the grid holds is refused without reading them all.
bool ReadLevelShape(const ObjectWeakPointer<XmlElement>& level, LevelShape& shape, LevelProblem& problem);

// The cup table: each child gives key "n" and value "s"; a later key replaces an earlier one. A
// value outside 0 .. MAX_COST is reported and counts 0.
std::map<std::string, int> ReadCupBonusTable(const ObjectWeakPointer<XmlElement>& cupBonus);

// The largest cost, score or money a content table may give one thing.
constexpr double MAX_COST = 1000000.0;

// A number attribute of a content file (fileName may name the place within it too), kept within
// [min, max]: a text that is no number, or a value outside, is reported (file, attribute, text,
// range) and gives the fallback, as does a missing attribute (without a report).
double ReadBoundedNumber(const ObjectWeakPointer<XmlElement>& element, const std::string& fileName,
                         const std::string& name, double min, double max, double fallback);

// What the file system tells of a file (absolute path, size, modification time, inode), so that a
// reading made from it is used again only while the file is unchanged.
struct FileStamp {
    std::string path;
    bool found = false;
    std::uintmax_t size = 0;
    long long modifiedNs = 0;
    unsigned long long inode = 0;
    bool operator==(const FileStamp& other) const {
        return path == other.path && found == other.found && size == other.size && modifiedNs == other.modifiedNs &&
               inode == other.inode;
    }
};
FileStamp StampOf(const std::string& fileName);

// The 1-based line of a file where an element begins, found by its tag names: each step is a tag
// and which of its start tags (0-based) to take, counted from where the previous step's tag
// began. 0 when the file cannot be read or the element is not there. For reports only.
int ContentLine(const std::string& fileName, const std::vector<std::pair<std::string, int>>& path);
