// The list box: filling and the sorted order, the visible row of the active value, the keys,
// clicks and double clicks on items, the selection dragged by scrolling, refused requests.
#include <gtest/gtest.h>

#include "controls/MouseEvents.h"
#include "controls/MutableChildrenListControl.h"
#include "core/MessageServer.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/ListWidgetTestSupport.h"
#include "widgets/ListboxControl.h"
#include "widgets/ScrollPanelControls.h"

namespace list_widgets_test {
namespace {

using pictures_test::Listener;
using testing_support::LogCapture;

const std::uint32_t OPAQUE = 0xFF3080C0u;

const char* const BUTTONS =
    "<MinScrollButtonControl><position x='300' y='0'/><textures normalId='n' activeId='a' pressedId='p' "
    "disabledId='d'/><messageReceiver name='[vScrollName] min button'/></MinScrollButtonControl>"
    "<MaxScrollButtonControl><position x='300' y='100'/><textures normalId='n' activeId='a' pressedId='p' "
    "disabledId='d'/><messageReceiver name='[vScrollName] max button'/></MaxScrollButtonControl>";

std::string ScrollTemplate(const std::string& checkpoints, const std::string& listX) {
    return std::string("<FixedChildrenListControl><position x='0' y='0'/><children>") + BUTTONS +
           "<VScrollPanelControl speed='300' storageMode='object'><position x='0' y='[scrollY]'/>"
           "<messageReceiver name='[vScrollName]'/>" + checkpoints +
           "<children><MutableChildrenListControl><position x='" + listX + "' y='0'/>"
           "<messageReceiver name='[mutableListName]'/></MutableChildrenListControl></children>"
           "</VScrollPanelControl></children></FixedChildrenListControl>";
}

std::string ItemTemplate(const std::string& texture) {
    return "<MessageButtonControl><position x='0' y='[y]'/><textures normalId='" + texture +
           "' activeId='a' pressedId='p'/><message value='click on [value]' receiver='[listboxId]'/>"
           "</MessageButtonControl>";
}

class ListboxTest : public ListWidgetTest {
protected:
    void SetUp() override {
        ListWidgetTest::SetUp();
        for (const char* id : {"n", "a", "p", "d", "sel"}) {
            WritePixels(std::string(id) + ".png", 100, 30, [](int, int) { return OPAQUE; });
        }
        LoadTextures({"n", "a", "p", "d", "sel"});
        AddTemplate("scroll", ScrollTemplate("<checkpoints base='0' difference='[difference]' amount='[amount]'/>", "0"));
        // A panel that reaches further than the list: the drag of the selection meets the end.
        AddTemplate("long scroll",
                    ScrollTemplate("<checkpoints base='0' difference='[difference]' amount='10'/>", "[amount]"));
        AddTemplate("item", ItemTemplate("n"));
        AddTemplate("active item", ItemTemplate("sel"));
    }
    void BuildList(const std::string& scroll = "scroll") {
        BuildOne("<ListboxControl>" + Pos(100, 400) + "<messageReceiver name='lb'/><templates activeItemTemplate="
                 "'active item' normalItemTemplate='item' scrollTemplate='" + scroll +
                 "'/><dimensions itemDistance='-30' minActiveIndex='0' maxActiveIndex='4'/>"
                 "<doubleClickMessage value='open it' receiver='owner'/></ListboxControl>");
    }
    ObjectWeakPointer<ListboxControl> L() { return Only<ListboxControl>(); }
    void Fill(int count) {
        SendMessage("lb", "clear");
        for (int k = 0; k < count; ++k) SendMessage("lb", "add normal v" + std::to_string(k));
    }
    int ScrollY() { return std::stoi(SendMessageReply("lb vScroll", "get Y")); }
    std::size_t Amount() {
        auto panel = MessageServer::GetReceiver("lb vScroll").Cast<CommonScrollPanelControl>();
        return panel->GetCheckpoints().size();
    }
    // The key as an event of its own, to see whether the list box marked it.
    bool KeyHandled(int code) {
        ObjectSmartPointer<MouseMoveEvent> event(new KeyDownEvent(0, 0, false, code));
        L()->OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(event));
        return event.Cast<KeyDownEvent>()->IsKeyHandled();
    }
    // The number of item instances in the mutable list.
    std::size_t ItemCount() {
        auto list = MessageServer::GetReceiver("lb mutable").Cast<MutableChildrenListControl>();
        return list == NULL ? 0 : list->GetChildren().size();
    }
};

TEST_F(ListboxTest, ValuesAreSortedBytewiseAndShownFromTheFirstSetActive) {
    LogCapture log;
    BuildList();
    EXPECT_EQ("true", SendMessageReply("lb", "is empty"));
    SendMessage("lb", "add normal beta");
    SendMessage("lb", "add normal Bravo");
    SendMessage("lb", "add normal alpha");
    EXPECT_EQ(0u, ItemCount());
    SendMessage("lb", "set active beta");
    EXPECT_EQ(3u, ItemCount());
    EXPECT_EQ((std::set<std::string>{"Bravo", "alpha", "beta"}), L()->GetValues());
    EXPECT_EQ("Bravo", *L()->GetValues().begin());
    EXPECT_EQ("beta", SendMessageReply("lb", "get active"));
    EXPECT_EQ("false", SendMessageReply("lb", "is empty"));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ListboxTest, TheActiveValueStandsInTheChosenRow) {
    LogCapture log;
    BuildList();
    // index, scrollY (row = index - scrollY / 30)
    const int cases[][2] = {{9, 150}, {0, 0}, {5, 90}, {2, 0}, {7, 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        Fill(10);
        SendMessage("lb", "set active v" + std::to_string(c[0]));
        EXPECT_EQ(c[1], ScrollY());
        EXPECT_EQ(6u, Amount());
        Frame(0.02f);
        EXPECT_EQ(c[1], ScrollY());
        EXPECT_EQ("v" + std::to_string(c[0]), L()->GetActiveValue());
    }
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ListboxTest, KeysMoveTheSelectionAndOnlyPageKeysLeaveTheKeyUnhandled) {
    LogCapture log;
    BuildList();
    Fill(10);
    SendMessage("lb", "set active v0");
    struct Step {
        int key;
        const char* active;
        bool handled;
    };
    const Step steps[] = {
        {0x26, "v0", true},   // Up on the first
        {0x28, "v1", true},   // Down
        {0x22, "v5", false},  // Page Down: two, show, two more
        {0x21, "v1", false},  // Page Up
        {0x23, "v9", true},   // End
        {0x28, "v9", true},   // Down on the last
        {0x24, "v0", true},   // Home
        {0x41, "v0", false},  // another key
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.key);
        EXPECT_EQ(step.handled, KeyHandled(step.key));
        EXPECT_EQ(step.active, L()->GetActiveValue());
        for (int k = 0; k < 10; ++k) Frame(0.02f);
        EXPECT_EQ(step.active, L()->GetActiveValue());
    }
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ListboxTest, DownBelowTheWindowScrollsOneRowAndKeepsTheSelection) {
    LogCapture log;
    BuildList();
    Fill(10);
    SendMessage("lb", "set active v0");
    for (int k = 0; k < 5; ++k) {
        Key(0x28);
        for (int f = 0; f < 10; ++f) Frame(0.02f);
    }
    EXPECT_EQ("v5", L()->GetActiveValue());
    EXPECT_EQ(30, ScrollY());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ListboxTest, ADoubleClickActivatesTheItemThenSendsTheMessageOnce) {
    LogCapture log;
    Listener owner("owner");
    BuildList();
    Fill(4);
    SendMessage("lb", "set active v0");
    Frame(0.02f);
    Click(110, 350);  // the row of v2
    EXPECT_EQ("v2", L()->GetActiveValue());
    EXPECT_TRUE(owner.messages.empty());
    Move(110, 320);
    DoubleClick(110, 320);
    Up(110, 320);
    EXPECT_EQ("v3", L()->GetActiveValue());
    EXPECT_EQ(std::vector<std::string>{"open it"}, owner.messages);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(ListboxTest, ScrollingDragsTheSelectionAlongAndStopsAtTheLastValue) {
    {
        LogCapture log;
        BuildList();
        Fill(10);
        SendMessage("lb", "set active v0");
        SendMessage("lb vScroll", "min pressed");
        SendMessage("lb vScroll", "min not pressed");
        for (int k = 0; k < 10; ++k) Frame(0.02f);
        EXPECT_EQ(30, ScrollY());
        EXPECT_EQ("v1", L()->GetActiveValue());
        EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    }
    container = nullptr;
    LogCapture log;
    BuildList("long scroll");
    Fill(3);
    SendMessage("lb", "set active v2");
    for (int n = 0; n < 3; ++n) {
        SendMessage("lb vScroll", "min pressed");
        SendMessage("lb vScroll", "min not pressed");
        for (int k = 0; k < 10; ++k) Frame(0.02f);
    }
    EXPECT_EQ("v2", L()->GetActiveValue());
    EXPECT_TRUE(check_reports::Reported(log, "i != _values.end()"));
}

TEST_F(ListboxTest, RemoveActiveTakesTheNextValueAndRefusesTheLastOne) {
    BuildList();
    Fill(3);
    SendMessage("lb", "set active v1");
    SendMessage("lb", "remove active");
    EXPECT_EQ("v2", L()->GetActiveValue());
    SendMessage("lb", "remove active");
    EXPECT_EQ("v0", L()->GetActiveValue());
    LogCapture log;
    SendMessage("lb", "remove active");
    EXPECT_TRUE(check_reports::Reported(log, "_values.size() > 1"));
    EXPECT_EQ("v0", L()->GetActiveValue());
    EXPECT_EQ(1u, L()->GetValues().size());
    EXPECT_EQ(1u, ItemCount());
}

TEST_F(ListboxTest, RequestsWithoutAnActiveValueAreReported) {
    BuildList();
    LogCapture log;
    EXPECT_EQ("", SendMessageReply("lb", "get active"));
    EXPECT_TRUE(check_reports::Reported(log, "!_activeValue.empty()"));
    Fill(2);
    SendMessage("lb", "set active v7");
    EXPECT_TRUE(check_reports::Reported(log, "_values.find(newActiveValue) != _values.end()"));
    EXPECT_EQ("", L()->GetActiveValue());
    SendMessage("lb", "add normal v0");
    EXPECT_TRUE(check_reports::Reported(log, "_values.find(newValue) == _values.end()"));
    EXPECT_EQ(2u, L()->GetValues().size());
}

}  // namespace
}  // namespace list_widgets_test
