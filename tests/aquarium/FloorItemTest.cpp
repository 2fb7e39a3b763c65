// Floor items: depth, scale and fog by height, every drop road with its messages and the
// dispatcher's drag start and end paired once, the glide home, mirroring, and a drag cut short
// by a storage commit.
#include <gtest/gtest.h>

#include <algorithm>

#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

// Stands for the shop's icon: when armed takes the press and holds the mouse while "holding",
// plus the given number of further moves.
class TestHolder : public Control {
public:
    TestHolder(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : Control(parent, xml) {
        Self() = this;
    }
    ~TestHolder() override {
        if (Self() == this) Self() = nullptr;
    }
    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override {
        if (event->IsMouseCaptured() || !armed) return;
        event->CaptureMouse();
        holding = true;
    }
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent>) override {}
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override {
        if (!event->IsMouseCaptured()) return;
        if (holding) {
            event->ConfirmCapture();
        } else if (extraMoves > 0) {
            --extraMoves;
            event->ConfirmCapture();
        }
    }
    void Draw() override {}
    void Update(float) override {}

    static TestHolder*& Self() {
        static TestHolder* self = nullptr;
        return self;
    }

    bool armed = false;
    bool holding = false;
    int extraMoves = 0;
};

const Texts START_OWNED = {"Shop mover < move to out", "Sell mover < move to in", "Sell target < show help",
                           "Move help < show help"};
const Texts END_OWNED = {"Shop mover < move to in", "Sell mover < move to out", "Sell target < hide help",
                         "Move help < hide help"};
const Texts START_NEW = {"Shop mover < move to out", "Buy cancel mover < move to in",
                         "Buy cancel target < show help", "Buy help < show help"};
const Texts END_NEW = {"Shop mover < move to in", "Buy cancel mover < move to out", "Buy cancel target < hide help",
                       "Buy help < hide help"};

class FloorItemTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        if (!ControlFactory::IsControlRegistered("TestHolder")) {
            ControlFactory::RegisterControl("TestHolder", ControlFactory::Make<TestHolder>());
        }
    }
    // A shop-open screen with the tank holding the layout; the fern of the layout stands at
    // in-parent (100, 50), absolute (100, 150).
    void BuildFloor(const std::string& layout, bool useStorage = false) {
        AddScreenReceivers(true);
        AddReceiver("Shop icon");
        AddReceiver("Fern dispatcher");
        const std::string tankXml =
            useStorage ? TankXml("") : TankXml("useStorage=\"false\"", "<defaultLayout>" + layout + "</defaultLayout>");
        BuildScreen(DispatcherXml("<TestHolder><position x=\"0\" y=\"0\"/></TestHolder>" + tankXml));
        ASSERT_TRUE(tank != NULL);
        Trace().clear();
    }
    // The messages the receivers got, without the movers' arrival bookkeeping.
    static Texts Messages() {
        Texts messages;
        for (const std::string& entry : Trace()) {
            if (entry.find(" < ") == std::string::npos) continue;
            if (entry.find("arrival") != std::string::npos) continue;
            messages.push_back(entry);
        }
        return messages;
    }
    // A bought fern taken out of the shop at the point: the holder keeps the mouse until the
    // item's first move.
    void Buy(int x, int y) {
        if (!TemplateLib::HasTemplate("NewFern")) {
            AddTemplate("NewFern", FloorItemXml("bought", 0, 0,
                                         "<createInDragging x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
                                                    "\" replyTo=\"Shop icon\"/>"));
        }
        TestHolder::Self()->armed = true;
        Move(x, y);
        Down(x, y);
        Send("add NewFern");
        TestHolder::Self()->holding = false;
        TestHolder::Self()->extraMoves = 1;
    }
    void SetActive(const std::string& name, bool active) {
        for (const ObjectSmartPointer<Receiver>& r : receivers) {
            if (r->GetReceiverName() == name) r->active = active;
        }
    }
};

TEST_F(FloorItemTest, DepthScaleAndFogFollowTheHeightAboveTheFloor) {
    struct Case {
        int y;
        float z, scale, fog;
    } cases[] = {
        {20, 0.9975f, 1.0f, 0.0f},
        {110, 0.4975f, 0.75f, 0.112f},
        {120, 0.4425f, 1.0f - 0.5f * 100.0f / 180.0f, 0.152f},
        {200, 0.0025f, 0.5f, 0.7f},
        {-30, 0.9975f, 1.0f, 0.0f},
        {250, 0.0025f, 0.5f, 0.7f},
    };
    for (const Case& c : cases) {
        BuildFloor(FloorItemXml("fern", 100, c.y) + "<TestFloorItem name=\"plain\" width=\"1\" height=\"1\">"
                   "<position x=\"0\" y=\"" + std::to_string(c.y) + "\"/><shopItem tankItemId=\"Moss\"/>"
                   "<ground groundLine=\"0\"/><fog enabled=\"false\"/><icon textureId=\"moss_icon\"/></TestFloorItem>");
        const ObjectWeakPointer<TestFloorItem> fern = FloorItem("fern");
        const ObjectWeakPointer<TestFloorItem> plain = FloorItem("plain");
        ASSERT_TRUE(fern != NULL && plain != NULL);
        EXPECT_FLOAT_EQ(fern->GetZ(), c.z) << c.y;
        EXPECT_FLOAT_EQ(fern->GetScale(), c.scale) << c.y;
        EXPECT_NEAR(fern->GetFogRate(), c.fog, 1e-6f) << c.y;
        // Without fog: no depth scale and no fog, the depth still follows the height.
        EXPECT_FLOAT_EQ(plain->GetZ(), c.z) << c.y;
        EXPECT_FLOAT_EQ(plain->GetScale(), 1.0f) << c.y;
        EXPECT_FLOAT_EQ(plain->GetFogRate(), 0.0f) << c.y;
        tank = nullptr;
        container = nullptr;
        receivers.clear();
    }
}

TEST_F(FloorItemTest, EveryDropRoadPairsTheDragStartWithOneDragEnd) {
    enum Where { BAND, OFF_BAND, TARGET_RESTORED, TARGET_SOLD, SHORT };
    struct Case {
        const char* name;
        bool isNew;
        Where where;
        Texts expected;
        bool remains;
    } cases[] = {
        {"owned on the band", false, BAND, Join({START_OWNED, END_OWNED}), true},
        {"owned off the band", false, OFF_BAND, Join({START_OWNED, END_OWNED}), true},
        {"owned moved less than 3 units", false, SHORT, Join({START_OWNED, END_OWNED}), true},
        {"owned into the basket, kept", false, TARGET_RESTORED,
         // Over the basket from the press on; the drag start after 3 units.
         Join({{"Sell target < texture fern_icon"}, START_OWNED,
               {"Sell target < texture fern_icon", "Sell target < texture fern_icon", "Sell target < texture fern_icon",
                "Sell target < freeze", "Fern dispatcher < show sell dialog on basket"},
               END_OWNED, {"Sell target < unfreeze"}}),
         true},
        {"owned into the basket, sold", false, TARGET_SOLD,
         // Over the basket from the press on; the drag start after 3 units.
         Join({{"Sell target < texture fern_icon"}, START_OWNED,
               {"Sell target < texture fern_icon", "Sell target < texture fern_icon", "Sell target < texture fern_icon",
                "Sell target < freeze", "Fern dispatcher < show sell dialog on basket"},
               END_OWNED, {"Sell target < unfreeze"}}),
         false},
        {"new on the band", true, BAND, Join({START_NEW, {"Shop icon < placed"}, END_NEW}), true},
        {"new off the band", true, OFF_BAND, Join({START_NEW, {"Shop icon < misplaced"}, END_NEW}), false},
        {"new onto the buy-cancel target", true, TARGET_SOLD,
         Join({START_NEW,
               {"Buy cancel target < texture fern_icon", "Buy cancel target < texture fern_icon",
                "Buy cancel target < texture fern_icon", "Buy cancel target < texture fern_icon",
                "Buy cancel target < freeze", "Shop icon < cancelled"},
               END_NEW, {"Buy cancel target < unfreeze"}}),
         false},
    };
    for (const Case& c : cases) {
        LogCapture log;
        BuildFloor(c.isNew ? "" : FloorItemXml("fern", 100, 50));
        const int x = c.where == SHORT ? 111 : c.isNew ? 300 : 150;
        const int y = c.where == SHORT ? 161 : c.where == OFF_BAND ? 420 : c.isNew ? 230 : 240;
        if (c.where == TARGET_RESTORED || c.where == TARGET_SOLD) {
            SetActive(c.isNew ? ScreenNames::buyCancelTarget : ScreenNames::sellTarget, true);
        }
        if (c.isNew) {
            Buy(300, 250);
            Move(x, y);  // the holder keeps this one
        } else {
            Move(110, 160);
            Down(110, 160);
        }
        Move(x, y);
        Up(x, y);
        const std::string name = c.isNew ? "bought" : "fern";
        const ObjectWeakPointer<TestFloorItem> item = FloorItem(name);
        if (c.where == TARGET_RESTORED) {
            ASSERT_TRUE(item != NULL) << c.name;
            EXPECT_TRUE(item->IsSelling()) << c.name;
            EXPECT_TRUE(tank->GetSellingControl() != NULL) << c.name;
            Send("restore the chosen one");
        } else if (c.where == TARGET_SOLD) {
            Send("remove the chosen one");
        }
        EXPECT_EQ(Messages(), c.expected) << c.name;
        EXPECT_EQ(FloorItem(name) != NULL, c.remains) << c.name;
        EXPECT_TRUE(tank->GetSellingControl() == NULL) << c.name;
        if (c.remains) {
            const ObjectWeakPointer<TestFloorItem> kept = FloorItem(name);
            EXPECT_FALSE(kept->IsNewItem()) << c.name;
            EXPECT_EQ(kept->GetHome() != Point(100, 50), c.where == BAND || c.where == SHORT) << c.name;
        }
        EXPECT_EQ(log.ErrorCount(), 0) << c.name << log.Text();
        tank = nullptr;
        container = nullptr;
        receivers.clear();
        TemplateLib::RemoveAllTemplates();
        Trace().clear();
    }
}

TEST_F(FloorItemTest, ANewItemIsPlacedFromHeight20To200AndNowhereElse) {
    const struct {
        int height;
        bool placed;
    } cases[] = {{19, false}, {20, true}, {200, true}, {201, false}};
    for (const auto& c : cases) {
        BuildFloor("");
        Buy(300, 250);
        Move(300, 250);
        // Carried until it stands at the height (a mouse step moves it by at most one unit).
        ObjectWeakPointer<TestFloorItem> item = FloorItem("bought");
        ASSERT_TRUE(item != NULL);
        int y = 0;
        for (; y <= 600; ++y) {
            Move(300, y);
            if (item->GetInParentPos().y == c.height) break;
        }
        ASSERT_EQ(c.height, item->GetInParentPos().y);
        Up(300, y);
        const Texts messages = Messages();
        EXPECT_EQ(c.placed ? 1 : 0, std::count(messages.begin(), messages.end(), "Shop icon < placed")) << c.height;
        EXPECT_EQ(c.placed ? 0 : 1, std::count(messages.begin(), messages.end(), "Shop icon < misplaced")) << c.height;
        tank = nullptr;
        container = nullptr;
        receivers.clear();
        TemplateLib::RemoveAllTemplates();
        Trace().clear();
    }
}

TEST_F(FloorItemTest, ANewItemWithNoDropTargetOnScreenGoesAndTheShopHearsOfIt) {
    BuildFloor("");
    receivers.erase(std::remove_if(receivers.begin(), receivers.end(),
                                   [](const ObjectSmartPointer<Receiver>& r) {
                                       return r->GetReceiverName() == ScreenNames::buyCancelTarget;
                                   }),
                    receivers.end());
    LogCapture log;
    Buy(300, 250);
    Move(300, 230);
    EXPECT_TRUE(FloorItem("bought") == NULL);
    const Texts messages = Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Shop icon < misplaced"), 1);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Shop mover < move to out"), 1);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Shop mover < move to in"), 1);
    Up(300, 230);
    // Only the dispatcher's help for the missing target is reported: the same fault at the start and
    // the end, written once.
    EXPECT_EQ(log.ErrorCount(), 1) << log.Text();
}

TEST_F(FloorItemTest, ARefusedItemGlidesHomeAtAThousandUnitsASecond) {
    BuildFloor(FloorItemXml("fern", 100, 50));
    Move(100, 150);
    Down(100, 150);  // grabbed at its corner
    Move(100, 350);
    const ObjectWeakPointer<TestFloorItem> fern = FloorItem("fern");
    EXPECT_EQ(fern->GetInParentPos(), Point(100, 250));
    Up(100, 350);
    for (int y : {200, 150, 100, 50, 50}) {
        container->Update(0.05f);
        EXPECT_EQ(fern->GetInParentPos(), Point(100, y));
    }
    EXPECT_EQ(fern->GetHome(), Point(100, 50));
}

TEST_F(FloorItemTest, ARightClickMirrorsTheItemUnderTheMouseOrTheOneDragged) {
    BuildFloor(FloorItemXml("fern", 100, 50));
    Move(500, 500);
    container->RightButtonDown(500, 500);
    EXPECT_TRUE(TraceOf("fern text").empty());
    Move(110, 160);
    container->RightButtonDown(110, 160);
    EXPECT_EQ(TraceOf("fern text"), (Texts{"fern text mirror"}));
    Down(110, 160);
    Move(300, 300);
    container->RightButtonDown(300, 300);
    EXPECT_EQ(TraceOf("fern text").size(), 2u);
    Up(300, 300);
}

TEST_F(FloorItemTest, AnOwnedItemDraggedDuringACommitStaysAtHomeAndANewOneIsGivenBack) {
    PermanentStorage::SetLocalXml(ScreenNames::tank, [] {
        ObjectSmartPointer<XmlElement> state(new XmlElement("ZOrderControlState"));
        return state;
    }());
    BuildFloor("", true);
    AddTemplate("Fern", FloorItemXml("fern", 100, 50));
    Send("add Fern");
    EXPECT_EQ(ChildNames(), (Texts{"fern"}));
    LogCapture log;

    // The owned fern under the mouse, 100 units off its place.
    Move(110, 160);
    Down(110, 160);
    Move(210, 160);
    Trace().clear();
    PermanentStorage::Commit();
    EXPECT_EQ(Messages(), END_OWNED);
    ASSERT_EQ(ChildNames(), (Texts{"fern"}));
    EXPECT_EQ(FloorItem("fern")->GetInParentPos(), Point(100, 50));
    EXPECT_NE(testing_support::ReadFile(dataFolder + "Storage.xml").find("<position x=\"100\" y=\"50\"/>"),
              std::string::npos);
    Move(220, 160);
    Up(220, 160);
    EXPECT_EQ(FloorItem("fern")->GetInParentPos(), Point(100, 50));

    // A bought one not yet placed is left out, and the shop hears it was not placed.
    Buy(300, 250);
    Move(300, 240);
    Trace().clear();
    PermanentStorage::SetActivePlayer("Ann");
    EXPECT_EQ(Messages(), Join({{"Shop icon < misplaced"}, END_NEW}));
    EXPECT_EQ(ChildNames(), (Texts{"fern"}));
    Up(300, 240);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
