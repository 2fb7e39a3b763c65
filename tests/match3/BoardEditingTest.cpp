// The level editor's board work: tool rules, reshaping, trimming, level letters and the level
// file's entries.
#include <gtest/gtest.h>

#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "match3/board/BoardEditing.h"
#include "tests/match3/BoardTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using board_test::BoardFixture;
using testing_support::LogCapture;

struct Values {
    bool born;
    int color;
    int painted;
    int locks;
    bool operator==(const Values& o) const {
        return born == o.born && color == o.color && painted == o.painted && locks == o.locks;
    }
};

std::ostream& operator<<(std::ostream& out, const Values& v) {
    return out << "{" << v.born << ", " << v.color << ", " << v.painted << ", " << v.locks << "}";
}

Values Apply(int tool, bool erase, Values v, bool* applied = nullptr) {
    const bool result = ApplyEditorTool(tool, erase, v.born, v.color, v.painted, v.locks);
    if (applied != nullptr) *applied = result;
    return v;
}

TEST(BoardEditingTest, ToolsPaintAndErase) {
    const Values hole{false, NO_CELL, 0, 0};
    const Values piece{false, 3, 1, 2};
    struct Case {
        int tool;
        bool erase;
        Values before;
        Values after;
    } cases[] = {
        // Painting makes a cell of the board without a piece and sets the tool's one property.
        {0, false, hole, {false, EMPTY_CELL, 0, 0}},
        {0, false, piece, {false, EMPTY_CELL, 1, 2}},
        {1, false, hole, {true, EMPTY_CELL, 0, 0}},
        {2, false, piece, {false, EMPTY_CELL, 1, 2}},
        {3, false, hole, {false, EMPTY_CELL, 2, 0}},
        {4, false, piece, {false, EMPTY_CELL, 1, 1}},
        {5, false, hole, {false, EMPTY_CELL, 0, 2}},
        {6, false, piece, piece},
        {15, false, hole, hole},
        // Erasing: one paint level, then the hole; locks one by one; the birth flag.
        {2, true, {true, EMPTY_CELL, 2, 1}, {true, EMPTY_CELL, 1, 1}},
        {3, true, {true, EMPTY_CELL, 0, 1}, hole},
        {0, true, hole, hole},
        {1, true, {true, 4, 0, 0}, {false, 4, 0, 0}},
        {4, true, piece, {false, 3, 1, 1}},
        {5, true, {false, 3, 1, 0}, {false, 3, 1, 0}},
        {9, true, piece, piece},
    };
    for (const Case& c : cases) {
        bool applied = false;
        EXPECT_EQ(c.after, Apply(c.tool, c.erase, c.before, &applied)) << "tool " << c.tool << " erase " << c.erase;
        EXPECT_TRUE(applied);
    }
    for (bool erase : {false, true}) {
        bool applied = true;
        EXPECT_EQ(piece, Apply(16, erase, piece, &applied));
        EXPECT_FALSE(applied);
    }
}

TEST(BoardEditingTest, SilverOnAHoleThenErasedTwice) {
    Values v{false, NO_CELL, 0, 0};
    v = Apply(2, false, v);
    EXPECT_EQ((Values{false, EMPTY_CELL, 1, 0}), v);
    v = Apply(2, true, v);
    EXPECT_EQ((Values{false, EMPTY_CELL, 0, 0}), v);
    v = Apply(2, true, v);
    EXPECT_EQ((Values{false, NO_CELL, 0, 0}), v);
}

TEST(BoardEditingTest, ReshapeMovesCellsAndFillsHoles) {
    BoardFixture f;
    f.Load({"ab", "dg"}, {"11", "22"});
    ASSERT_TRUE(ReshapeBoard(f.board, 3, 3, 1, 1));
    EXPECT_EQ(3, f.board.GetSizeX());
    EXPECT_EQ(3, f.board.GetSizeY());
    EXPECT_EQ((std::vector<std::string>{"000", "0ab", "0dg"}), BoardLevelLines(f.board));
    ASSERT_TRUE(ReshapeBoard(f.board, 2, 2, -1, -1));
    EXPECT_EQ((std::vector<std::string>{"ab", "dg"}), BoardLevelLines(f.board));
    LogCapture log;
    EXPECT_FALSE(ReshapeBoard(f.board, 16, 2, 0, 0));
    EXPECT_EQ(1, log.ErrorCount());
    EXPECT_EQ(2, f.board.GetSizeX());
}

TEST(BoardEditingTest, TrimRemovesOuterLinesOfHolesAndStopsAtTheEmptyBoard) {
    BoardFixture f;
    f.Load({"00000", "00a00", "0000d", "00000"}, {".....", ".....", ".....", "....."});
    TrimBoard(f.board);
    EXPECT_EQ((std::vector<std::string>{"a00", "00d"}), BoardLevelLines(f.board));

    BoardFixture holes;
    holes.Load({"000", "000"}, {"...", "..."});
    TrimBoard(holes.board);
    EXPECT_EQ(0, holes.board.GetSizeX());
    EXPECT_EQ(0, holes.board.GetSizeY());
    TrimBoard(holes.board);  // an empty board stays empty
    EXPECT_EQ(0, holes.board.GetSizeY());
}

TEST(BoardEditingTest, LevelLettersFollowTheFileTable) {
    BoardFixture f;
    const std::vector<std::string> lines = {"0aAbBcC", "dDeEfFg", "GhHiI00"};
    f.Load(lines, {"1212121", "2121212", "1212121"});
    EXPECT_EQ(lines, BoardLevelLines(f.board));

    FieldCell odd;
    odd._color = EMPTY_CELL;
    odd._painted = 3;
    char letter = '?';
    EXPECT_FALSE(LevelCellLetter(odd, letter));
    EXPECT_EQ('a', letter);
}

TEST(BoardEditingTest, LevelsAreAppendedAndSortedByIdInByteOrder) {
    const std::string text = "<Levels><Level id=\"b\" time=\"1\"/><Level id=\"\xC0\" time=\"2\"/>"
                             "<Level id=\"B\" time=\"3\"/><Level id=\"b\" time=\"4\"/></Levels>";
    ObjectSmartPointer<XmlDocument> doc(new XmlDocumentRead(text.data(), text.data() + text.size()));
    const ObjectWeakPointer<XmlElement> root = doc->GetRoot();
    AppendLevel(root, "a", 30, "0123", {"aA", "d0"});
    SortLevelsById(root);
    std::vector<std::string> order;
    for (ObjectWeakPointer<XmlElement> l = root->GetFirstChildElement(); l != NULL; l = l->GetNextElement()) {
        order.push_back(l->GetStringAttribute("id") + ":" + l->GetStringAttribute("time"));
    }
    // Capitals before small letters, the byte 0xC0 last, the two "b" in their old order.
    EXPECT_EQ((std::vector<std::string>{"B:3", "a:30", "b:1", "b:4", "\xC0:2"}), order);
    const ObjectWeakPointer<XmlElement> added = root->GetFirstChildElement()->GetNextElement();
    EXPECT_EQ("0123", added->GetStringAttribute("chips"));
    const ObjectWeakPointer<XmlElement> line = added->GetFirstChildElement("Line");
    ASSERT_NE(nullptr, line.Get());
    EXPECT_EQ("aA", line->GetText());
    EXPECT_EQ("d0", line->GetNextElement("Line")->GetText());
}

}  // namespace
