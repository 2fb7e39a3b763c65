// The edit box: the character and key tables with their handled flags, the messages and the
// query through the message server, the cursor placed by the mouse and the blinking cursor.
#include <gtest/gtest.h>

#include "core/MessageServer.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/ValueWidgetTestSupport.h"
#include "widgets/EditControl.h"

namespace value_widgets_test {
namespace {

using testing_support::LogCapture;

// Virtual-key codes.
const int BACK = 8, TAB = 9, ENTER = 13, ESCAPE = 27, END = 35, HOME = 36, LEFT = 37, UP = 38, RIGHT = 39,
          DELETE = 46;

// A box centred at (400, 100), 50 units wide: five glyphs of the test font fit exactly.
std::string Box(const std::string& disallowed, int width = 50) {
    return "<EditControl>" + Pos(400, 100) +
           "<messageReceiver name='edit'/><width value='" + std::to_string(width) +
           "'/><font name='edit'/><cursor width='2' color='#FFFFFF'/><disallowedSymbols " + disallowed +
           "/></EditControl>";
}

const char* const NONE = "template='false' textFormat='false' dos='false'";

class EditControlTest : public ValueWidgetTest {
protected:
    ObjectWeakPointer<EditControl> Edit() { return Only<EditControl>(); }

    // Sets the text and puts the cursor at the position; both checked.
    void Start(const std::string& value, unsigned int cursor) {
        SendMessage("edit", "set value " + value);
        Key(HOME);
        for (unsigned int i = 0; i < cursor; ++i) Key(RIGHT);
        ASSERT_EQ(value, Edit()->GetValue());
        ASSERT_EQ(cursor, Edit()->GetCursorPos());
    }

    // One key or character handed to the box alone; whether the box marked it handled.
    bool SendKey(int code) {
        ObjectSmartPointer<KeyDownEvent> event(new KeyDownEvent(0, 0, false, code));
        Edit()->OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(event));
        return event->IsKeyHandled();
    }
    bool SendChar(int code) {
        ObjectSmartPointer<CharEvent> event(new CharEvent(0, 0, false, code));
        Edit()->OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(event));
        return event->IsCharHandled();
    }
};

TEST_F(EditControlTest, DisallowedSetsAreBuiltInOrder) {
    struct Case {
        const char* attributes;
        const char* symbols;
    } cases[] = {
        {"template='false' textFormat='false' dos='false'", ""},
        {"template='true' textFormat='false' dos='false'", "[]"},
        {"template='false' textFormat='true' dos='false' extra='%'", "#{}%"},
        {"template='true' textFormat='true' dos='true' extra='@!'", "[]#{}\\/:*?\"<>|@!"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        BuildOne(Box(c.attributes));
        EXPECT_EQ(c.symbols, Edit()->GetDisallowedSymbols()) << c.attributes;
        EXPECT_EQ("", Edit()->GetValue());
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
}

TEST_F(EditControlTest, CharacterTable) {
    BuildOne(Box("template='true' textFormat='false' dos='true' extra='%'"));
    struct Case {
        const char* start;
        unsigned int cursor;
        int character;
        const char* value;  // afterwards
        bool handled;
    } cases[] = {
        {"", 0, 'A', "A", true},
        {"Ab", 1, 'c', "Acb", true},
        {"", 0, '[', "", false},   // template parameters
        {"", 0, ']', "", false},
        {"", 0, '#', "#", true},   // markup allowed in this box
        {"", 0, '*', "", false},   // file-name characters
        {"", 0, '"', "", false},
        {"", 0, '%', "", false},   // the box's own
        {"", 0, ' ', "", false},   // a space into an empty box
        {"A", 0, ' ', " A", true}, // once the box holds a letter, even before it
        {"A", 1, '|', "A", false}, // the bar, always
        {"A", 1, 1, "A", false},   // no glyph: no width
        {"A", 1, ENTER, "A", false},
        {"A", 1, 0xC6, "A\xC6", true},  // a Cyrillic letter
        {"ABCD", 4, 'E', "ABCDE", true},   // exactly the width
        {"ABCDE", 5, 'F', "ABCDE", true},  // one past it: dropped but handled
        {"ABCD", 4, ' ', "ABCD ", true},   // a space is narrower
    };
    for (const Case& c : cases) {
        Start(c.start, c.cursor);
        EXPECT_EQ(c.handled, SendChar(c.character)) << c.start << " + " << c.character;
        EXPECT_EQ(c.value, Edit()->GetValue()) << c.start << " + " << c.character;
        const unsigned int expected = c.cursor + (std::string(c.value) != c.start ? 1u : 0u);
        EXPECT_EQ(expected, Edit()->GetCursorPos()) << c.start << " + " << c.character;
    }
}

TEST_F(EditControlTest, TheBarIsRefusedWithoutAnyDisallowedSet) {
    BuildOne(Box(NONE));
    Start("ab", 2);
    EXPECT_FALSE(SendChar('|'));
    EXPECT_TRUE(SendChar('['));
    EXPECT_EQ("ab[", Edit()->GetValue());
}

TEST_F(EditControlTest, KeyTableWithHandledFlags) {
    BuildOne(Box(NONE));
    struct Case {
        int key;
        unsigned int cursor;
        const char* value;  // afterwards, from "abc"
        unsigned int after;
        bool handled;
    } cases[] = {
        {BACK, 3, "ab", 2, true},   {BACK, 1, "bc", 0, true},    {BACK, 0, "abc", 0, true},
        {DELETE, 0, "bc", 0, true}, {DELETE, 2, "ab", 2, true},  {DELETE, 3, "abc", 3, true},
        {LEFT, 2, "abc", 1, true},  {LEFT, 0, "abc", 0, true},   {RIGHT, 1, "abc", 2, true},
        {RIGHT, 3, "abc", 3, true}, {HOME, 2, "abc", 0, true},   {END, 1, "abc", 3, true},
        {ENTER, 1, "abc", 1, false}, {ESCAPE, 1, "abc", 1, false}, {TAB, 1, "abc", 1, false},
        {UP, 1, "abc", 1, false},
    };
    for (const Case& c : cases) {
        Start("abc", c.cursor);
        EXPECT_EQ(c.handled, SendKey(c.key)) << c.key << " at " << c.cursor;
        EXPECT_EQ(c.value, Edit()->GetValue()) << c.key << " at " << c.cursor;
        EXPECT_EQ(c.after, Edit()->GetCursorPos()) << c.key << " at " << c.cursor;
    }
}

TEST_F(EditControlTest, EventsHandledBeforeTheBoxAreLeftAlone) {
    BuildOne(Box(NONE));
    Start("abc", 3);
    ObjectSmartPointer<KeyDownEvent> key(new KeyDownEvent(0, 0, false, BACK));
    key->SetKeyHandled();
    Edit()->OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(key));
    ObjectSmartPointer<CharEvent> character(new CharEvent(0, 0, false, 'x'));
    character->SetCharHandled();
    Edit()->OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(character));
    EXPECT_EQ("abc", Edit()->GetValue());
    EXPECT_EQ(3u, Edit()->GetCursorPos());
}

TEST_F(EditControlTest, TypedTextIsAnsweredThroughTheMessageServer) {
    LogCapture log;
    BuildOne(Box(NONE));
    Type("Ab");
    Key(LEFT);
    Type("c");
    EXPECT_EQ("Acb", SendMessageReply("edit", "get value"));
    EXPECT_EQ(2u, Edit()->GetCursorPos());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    // Any other query is reported and answered with nothing.
    EXPECT_EQ("", SendMessageReply("edit", "get width"));
    EXPECT_EQ(1, log.ErrorCount());
}

TEST_F(EditControlTest, SetValueTakesTheTextUncheckedAndPutsTheCursorAtItsEnd) {
    BuildOne(Box("template='true' textFormat='true' dos='true'"));
    SendMessage("edit", "set value [a|b] is far wider than the box");
    EXPECT_EQ("[a|b] is far wider than the box", Edit()->GetValue());
    EXPECT_EQ(31u, Edit()->GetCursorPos());
    SendMessage("edit", "set value ");
    EXPECT_EQ("", Edit()->GetValue());
    EXPECT_EQ(0u, Edit()->GetCursorPos());
}

TEST_F(EditControlTest, CursorSwitchesAndASecondDisableIsReported) {
    BuildOne(Box(NONE));
    SendMessage("edit", "set value ab");
    container->Update(0.5f);  // cursor fully opaque
    auto cursorDraws = [&]() {
        int n = 0;
        for (const pictures_test::Quad& q : DrawOnly()) n += q.width == 2 && q.height == 13 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(1, cursorDraws());
    LogCapture log;
    SendMessage("edit", "disable cursor");
    EXPECT_FALSE(Edit()->IsCursorEnabled());
    EXPECT_EQ(0, cursorDraws());
    SendMessage("edit", "disable cursor");
    EXPECT_TRUE(check_reports::Reported(log, "_isCursorEnabled"));
    EXPECT_FALSE(Edit()->IsCursorEnabled());
    // Typing still works while the cursor is hidden.
    Type("c");
    EXPECT_EQ("abc", Edit()->GetValue());
    SendMessage("edit", "enable cursor");
    EXPECT_TRUE(Edit()->IsCursorEnabled());
    SendMessage("edit", "enable cursor");
    EXPECT_TRUE(check_reports::Reported(log, "!_isCursorEnabled"));
}

TEST_F(EditControlTest, CursorBlinksAsATriangle) {
    BuildOne(Box(NONE));
    SendMessage("edit", "set value ab");
    EXPECT_FLOAT_EQ(0.0f, Edit()->GetCursorAlpha());
    const float alphas[] = {0.5f, 1.0f, 0.5f, 0.0f};
    for (float alpha : alphas) {
        int drawn = -1;
        for (const pictures_test::Quad& q : Frame(0.25f)) {
            if (q.width == 2 && q.height == 13) drawn = q.alpha;
        }
        EXPECT_FLOAT_EQ(alpha, Edit()->GetCursorAlpha());
        EXPECT_NEAR(alpha * 255.0f, drawn, 1.0f);
    }
}

TEST_F(EditControlTest, CursorStandsAfterTheCharactersBeforeIt) {
    BuildOne(Box(NONE, 100));
    SendMessage("edit", "set value abcd");  // 40 wide: drawn from 380 to 420
    Key(LEFT);
    for (const pictures_test::Quad& q : Frame(0.5f)) {
        if (q.width == 2 && q.height == 13) {
            EXPECT_EQ(410, q.x);
            EXPECT_EQ(100, q.y);
        }
    }
}

TEST_F(EditControlTest, DraggingPlacesTheCursorAtTheNearestBoundaryTheLowerOnATie) {
    BuildOne(Box(NONE, 100));  // hit area x 350..449, y 100..112
    SendMessage("edit", "set value abcd");  // boundaries at 380, 390, 400, 410, 420
    struct Case {
        int x;
        unsigned int cursor;
    } cases[] = {{395, 1}, {396, 2}, {404, 2}, {405, 2}, {406, 3}, {351, 0}, {449, 4}, {600, 4}, {0, 0}};
    Move(384, 105);
    Down(384, 105);
    EXPECT_TRUE(container->IsMouseCaptured());
    EXPECT_EQ(0u, Edit()->GetCursorPos());
    for (const Case& c : cases) {
        Move(c.x, 105);
        EXPECT_EQ(c.cursor, Edit()->GetCursorPos()) << c.x;
    }
    Up(0, 105);
    EXPECT_FALSE(container->IsMouseCaptured());
    // After the release moves no longer place the cursor.
    Move(395, 105);
    EXPECT_EQ(0u, Edit()->GetCursorPos());
}

TEST_F(EditControlTest, APressOutsideTheBoxIsNotCaptured) {
    BuildOne(Box(NONE, 100));
    SendMessage("edit", "set value abcd");
    const int outside[][2] = {{349, 105}, {450, 105}, {400, 99}, {400, 113}};
    for (const auto& p : outside) {
        Move(p[0], p[1]);
        Down(p[0], p[1]);
        EXPECT_FALSE(container->IsMouseCaptured()) << p[0] << "," << p[1];
        Up(p[0], p[1]);
        EXPECT_EQ(4u, Edit()->GetCursorPos());
    }
}

}  // namespace
}  // namespace value_widgets_test
