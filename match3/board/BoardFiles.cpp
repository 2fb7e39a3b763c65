#include "match3/board/BoardFiles.h"

#include "core/Assert.h"
#include "core/XmlRead.h"

bool CollectChipSets(const ObjectWeakPointer<XmlElement>& parent, std::vector<std::string>& sets) {
    bool any = false;
    if (parent == NULL) return false;
    for (ObjectWeakPointer<XmlElement> set = parent->GetFirstChildElement("set"); set != NULL;
         set = set->GetNextElement("set")) {
        const std::string chips = set->GetStringAttributeOrDef("chips", "");
        std::vector<int> colors;
        if (!ParseChipSet(chips, colors)) continue;
        sets.push_back(chips);
        any = true;
    }
    return any;
}

bool LoadChipSetsFile(const std::string& fileName, std::vector<std::string>& sets) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(fileName));
    const ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) {
        ReportError("Chip sets not loaded from " + fileName);
        return false;
    }
    if (!CollectChipSets(root, sets)) {
        ReportError("File " + fileName + " holds no chip set");
        return false;
    }
    return true;
}

bool ReadLevelShape(const ObjectWeakPointer<XmlElement>& level, LevelShape& shape) {
    std::vector<std::string> lines;
    if (level != NULL) {
        for (ObjectWeakPointer<XmlElement> line = level->GetFirstChildElement("Line"); line != NULL;
             line = line->GetNextElement("Line")) {
            lines.push_back(line->HasChildNodes() ? line->GetText() : std::string());
        }
    }
    return ParseLevelLines(lines, shape);
}

std::map<std::string, int> ReadCupBonusTable(const ObjectWeakPointer<XmlElement>& cupBonus) {
    std::map<std::string, int> table;
    if (cupBonus == NULL) return table;
    for (ObjectWeakPointer<XmlElement> entry = cupBonus->GetFirstChildElement(); entry != NULL;
         entry = entry->GetNextElement()) {
        table[entry->GetStringAttribute("n")] = entry->GetIntAttribute("s");
    }
    return table;
}
