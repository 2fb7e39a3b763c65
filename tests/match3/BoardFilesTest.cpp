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
    // One report for both unusable sets, naming the file and the first one's line.
    EXPECT_EQ(log.ErrorCount(), 1) << log.Text();
    EXPECT_TRUE(log.Contains("ChipSets.xml, line 3: 2 chip sets not usable")) << log.Text();
}

TEST(ChipSetFileTest, AHugeSetIsCutAndTooManySetsAreLeftOutWithOneReportEach) {
    std::string text = "<ChipSets><set chips=\"0123" + std::string(1000000, '4') + "\"/>";
    for (int i = 0; i < MAX_CHIP_SETS + 5; ++i) text += "<set chips=\"567\"/>";
    const std::string path = WriteTemp("ChipSets.xml", text + "</ChipSets>");
    LogCapture log;
    std::vector<std::string> sets;
    EXPECT_TRUE(LoadChipSetsFile(path, sets));
    ASSERT_EQ(sets.size(), static_cast<std::size_t>(MAX_CHIP_SETS));
    EXPECT_EQ(sets[0], "012344444");
    EXPECT_EQ(log.ErrorCount(), 2) << log.Text();
    EXPECT_TRUE(log.Contains("cut after 9 entries of 1000004")) << log.Text();
    EXPECT_TRUE(log.Contains("6 chip sets beyond the first 256 left out")) << log.Text();
    // The unchanged file is not read again (nor reported); a changed one is.
    sets.clear();
    EXPECT_TRUE(LoadChipSetsFile(path, sets));
    EXPECT_EQ(sets.size(), static_cast<std::size_t>(MAX_CHIP_SETS));
    EXPECT_EQ(log.ErrorCount(), 2);
    testing_support::WriteFile(path, "<ChipSets><set chips=\"876\"/></ChipSets>");
    sets.clear();
    EXPECT_TRUE(LoadChipSetsFile(path, sets));
    EXPECT_EQ(sets, (std::vector<std::string>{"876"}));
}

TEST(ChipSetFileTest, FilesWithoutSetsFailWithAReport) {
    const char* bad[] = {"<ChipSets/>", "<ChipSets><other chips=\"012\"/></ChipSets>",
                         "<ChipSets><set chips=\"00\"/></ChipSets>", "<ChipSets><set", "<ChipSets><set/></ChipSets>"};
    for (const char* text : bad) {
        LogCapture log;
        std::vector<std::string> sets;
        std::string failure;
        EXPECT_FALSE(LoadChipSetsFile(WriteTemp("ChipSets.xml", text), sets, &failure)) << text;
        EXPECT_TRUE(sets.empty());
        EXPECT_GE(log.ErrorCount(), 1) << text;
        EXPECT_NE(failure.find("ChipSets.xml"), std::string::npos) << failure;
    }
    // A broken file is told with the line where it breaks.
    std::vector<std::string> sets;
    std::string failure;
    EXPECT_FALSE(LoadChipSetsFile(WriteTemp("ChipSets.xml", "<ChipSets>\r\n<set chips=\"012\"/>\r\n<set"), sets, &failure));
    EXPECT_NE(failure.find("ChipSets.xml, line 3: the file is broken"), std::string::npos) << failure;
    LogCapture log;
    EXPECT_FALSE(LoadChipSetsFile(testing_support::MakeTempDir("none") + "ChipSets.xml", sets, &failure));
    EXPECT_GE(log.ErrorCount(), 1);
    EXPECT_NE(failure.find("cannot be read"), std::string::npos) << failure;
}

TEST(LevelElementTest, LinesOfALevel) {
    ObjectSmartPointer<XmlDocument> d =
        ReadText("<Levels><Level id=\"1\" time=\"90\"><Line>aA0</Line><Line>dgb</Line></Level>"
                 "<Level id=\"2\"><Line>aaa</Line><Line/></Level></Levels>");
    const ObjectWeakPointer<XmlElement> first = d->GetRoot()->GetFirstChildElement("Level");
    LevelShape shape;
    LevelProblem problem;
    EXPECT_TRUE(ReadLevelShape(first, shape, problem));
    EXPECT_EQ(shape.sizeX, 3);
    EXPECT_EQ(shape.sizeY, 2);
    EXPECT_TRUE(shape.cells[0][1].born);
    EXPECT_EQ(shape.cells[1][1].painted, 2);
    EXPECT_FALSE(ReadLevelShape(first->GetNextElement("Level"), shape, problem));
    EXPECT_EQ(problem.line, 1);
}

TEST(CupTableTest, LaterEntriesReplaceEarlierOnes) {
    ObjectSmartPointer<XmlDocument> d = ReadText(
        "<Costs><CupBonus><c n=\"11\" s=\"5\"/><c n=\"12\" s=\"7\"/><d n=\"11\" s=\"6\"/></CupBonus></Costs>");
    const std::map<std::string, int> table = ReadCupBonusTable(d->GetRoot()->GetFirstChildElement("CupBonus"));
    EXPECT_EQ(table.size(), 2u);
    const int levels[3] = {2, 0, 0};
    EXPECT_EQ(CupBonus(table, levels), 4 * (6 + 7));
}
