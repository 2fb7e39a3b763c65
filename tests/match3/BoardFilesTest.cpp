// Chip-set files, level elements and the cup table read through the XML reader.
#include <gtest/gtest.h>

#include "core/XmlRead.h"
#include "match3/board/BoardFiles.h"
#include "match3/board/LevelResults.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

std::string WriteTemp(const std::string& name, const std::string& text) {
    const std::string path = testing_support::MakeTempDir("chips") + name;
    testing_support::WriteFile(path, text);
    return path;
}

ObjectSmartPointer<XmlDocument> ReadText(const std::string& text) {
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
}

}  // namespace

TEST(ChipSetFileTest, UsableSetsInFileOrder) {
    const std::string path = WriteTemp("ChipSets.xml",
                                       "<ChipSets>\r\n <set chips=\"0123\"/>\r\n <set chips=\"01\"/>\r\n"
                                       " <set chips=\"9AB\"/>\r\n <set chips=\"8765\"/>\r\n</ChipSets>\r\n");
    LogCapture log;
    std::vector<std::string> sets;
    EXPECT_TRUE(LoadChipSetsFile(path, sets));
    EXPECT_EQ(sets, (std::vector<std::string>{"0123", "8765"}));
    EXPECT_GE(log.ErrorCount(), 2);  // the two unusable sets
}

TEST(ChipSetFileTest, FilesWithoutSetsFailWithAReport) {
    const char* bad[] = {"<ChipSets/>", "<ChipSets><other chips=\"012\"/></ChipSets>",
                         "<ChipSets><set chips=\"00\"/></ChipSets>", "<ChipSets><set", "<ChipSets><set/></ChipSets>"};
    for (const char* text : bad) {
        LogCapture log;
        std::vector<std::string> sets;
        EXPECT_FALSE(LoadChipSetsFile(WriteTemp("ChipSets.xml", text), sets)) << text;
        EXPECT_TRUE(sets.empty());
        EXPECT_GE(log.ErrorCount(), 1) << text;
    }
    LogCapture log;
    std::vector<std::string> sets;
    EXPECT_FALSE(LoadChipSetsFile(testing_support::MakeTempDir("none") + "ChipSets.xml", sets));
    EXPECT_GE(log.ErrorCount(), 1);
}

TEST(LevelElementTest, LinesOfALevel) {
    ObjectSmartPointer<XmlDocument> d =
        ReadText("<Levels><Level id=\"1\" time=\"90\"><Line>aA0</Line><Line>dgb</Line></Level>"
                 "<Level id=\"2\"><Line>aaa</Line><Line/></Level></Levels>");
    const ObjectWeakPointer<XmlElement> first = d->GetRoot()->GetFirstChildElement("Level");
    LevelShape shape;
    EXPECT_TRUE(ReadLevelShape(first, shape));
    EXPECT_EQ(shape.sizeX, 3);
    EXPECT_EQ(shape.sizeY, 2);
    EXPECT_TRUE(shape.cells[0][1].born);
    EXPECT_EQ(shape.cells[1][1].painted, 2);
    LogCapture log;
    EXPECT_FALSE(ReadLevelShape(first->GetNextElement("Level"), shape));
    EXPECT_EQ(log.ErrorCount(), 1);
}

TEST(CupTableTest, LaterEntriesReplaceEarlierOnes) {
    ObjectSmartPointer<XmlDocument> d = ReadText(
        "<Costs><CupBonus><c n=\"11\" s=\"5\"/><c n=\"12\" s=\"7\"/><d n=\"11\" s=\"6\"/></CupBonus></Costs>");
    const std::map<std::string, int> table = ReadCupBonusTable(d->GetRoot()->GetFirstChildElement("CupBonus"));
    EXPECT_EQ(table.size(), 2u);
    const int levels[3] = {2, 0, 0};
    EXPECT_EQ(CupBonus(table, levels), 4 * (6 + 7));
}
