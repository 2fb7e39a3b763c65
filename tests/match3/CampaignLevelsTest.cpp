// The game's own levels and hint texts: every level loads with a piece in every cell and paint to
// clear, ids are unique, the file holds the level the laps go back to, and every hint the field can
// show has its text.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/XmlRead.h"
#include "match3/board/BoardFiles.h"
#include "tests/match3/BoardTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

ObjectSmartPointer<XmlDocument> ReadData(const std::string& name) {
    const std::string text = testing_support::ReadFile(MARIVEL_SOURCE_DIR "/data/" + name);
    EXPECT_FALSE(text.empty()) << name;
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
}

TEST(CampaignLevelsTest, EveryLevelStartsWithAPieceInEveryCellAndPaintToClear) {
    ObjectSmartPointer<XmlDocument> levels = ReadData("PlLevels.xml");
    ASSERT_TRUE(levels->GetRoot() != NULL);
    std::set<std::string> ids;
    int count = 0;
    for (ObjectWeakPointer<XmlElement> level = levels->GetRoot()->GetFirstChildElement("Level"); level != NULL;
         level = level->GetNextElement("Level")) {
        ++count;
        const std::string id = level->GetStringAttribute("id");
        EXPECT_TRUE(ids.insert(id).second) << "a second level " << id;
        EXPECT_GT(level->GetIntAttribute("time"), 0) << id;
        LevelShape shape;
        LevelProblem problem;
        ASSERT_TRUE(ReadLevelShape(level, shape, problem)) << id << ": " << problem.text;
        EXPECT_EQ(0, shape.unknownLetters) << id;
        board_test::BoardFixture f;
        ASSERT_TRUE(f.board.LoadLevelShape(shape, {0, 1, 2, 3, 4})) << id;
        EXPECT_GT(f.board.GetAllPaints(), 0) << id;
        for (int y = 0; y < shape.sizeY; ++y) {
            for (int x = 0; x < shape.sizeX; ++x) {
                if (shape.cells[y][x].hole) continue;
                // A cell no birth cell can reach would stay empty for the whole level.
                EXPECT_GE(f.board.Cell(x, y)._color, 0) << id << " cell " << x << "," << y << " starts empty";
            }
        }
    }
    // After the last level the game goes back to the CYCLE_LEVEL-th.
    ObjectSmartPointer<XmlDocument> ini = ReadData("ini.xml");
    ASSERT_TRUE(ini->GetRoot() != NULL);
    const int cycle = ini->GetRoot()->GetIntAttribute("CYCLE_LEVEL");
    EXPECT_GE(cycle, 1);
    EXPECT_LE(cycle, count);
}

TEST(CampaignLevelsTest, EveryHintTheFieldShowsHasItsText) {
    ObjectSmartPointer<XmlDocument> hints = ReadData("local/FieldHints.xml");
    ASSERT_TRUE(hints->GetRoot() != NULL);
    for (const char* name : {"first", "clear", "match", "timer", "eye", "double", "lock", "double_lock", "fire_cracker",
                             "black_bomb", "dynamit", "nuke", "lighting"}) {
        ObjectWeakPointer<XmlElement> hint = hints->GetRoot()->GetFirstChildElement(name);
        ASSERT_TRUE(hint != NULL) << name;
        EXPECT_FALSE(hint->GetText().empty()) << name;
    }
}

}  // namespace
