#pragma once
// Reading the board's content from XML: chip sets, a level's lines and the cup bonus table.

#include <map>
#include <string>
#include <vector>

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"
#include "match3/board/LevelLines.h"

// Appends the "chips" of every "set" child whose colours are usable; others are reported and left
// out. True when at least one set was taken.
bool CollectChipSets(const ObjectWeakPointer<XmlElement>& parent, std::vector<std::string>& sets);

// The chip sets of a chip-set file ("ChipSets.xml"). A file that cannot be read, or that holds no
// usable set, is reported and gives false.
bool LoadChipSetsFile(const std::string& fileName, std::vector<std::string>& sets);

// The "Line" children of a "Level" element, parsed (see ParseLevelLines).
bool ReadLevelShape(const ObjectWeakPointer<XmlElement>& level, LevelShape& shape);

// The cup table: each child gives key "n" and value "s"; a later key replaces an earlier one.
std::map<std::string, int> ReadCupBonusTable(const ObjectWeakPointer<XmlElement>& cupBonus);
