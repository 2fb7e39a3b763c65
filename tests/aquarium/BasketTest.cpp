// The sell basket: its opening frames, hover only with a held mouse over an opaque pixel, the
// icon under the cursor and frozen at the drop, the flight into the basket that reports once,
// and the help shown once per player.
#include <gtest/gtest.h>

#include "aquarium/BasketControl.h"
#include "controls/MouseEvents.h"
#include "core/PermanentStorage.h"
#include "shell/SoundSystem.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using pictures_test::Quad;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

// Pictures are told apart by their widths.
constexpr int FRAME_WIDTH = 60;  // frames 60 to 63
constexpr int BACK_WIDTH = 64;
constexpr int FRONT_WIDTH = 65;
constexpr int ICON_WIDTH = 20;

// The basket's lower-left corner on the screen.
constexpr int BASKET_X = 600;
constexpr int BASKET_Y = 50;

class BasketTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        static bool isSampleAdded = false;
        if (!isSampleAdded) {
            Sound::soundSystem.AddSample("basket_open", "basket_open.wav", 4);
            isSampleAdded = true;
        }
        // Frame 0 is opaque on its left half only, the back on its left 50 units.
        for (int i = 0; i < 4; ++i) {
            WritePicture("basket" + std::to_string(i) + ".png", FRAME_WIDTH + i, 40, i == 0 ? 30 : FRAME_WIDTH + i);
        }
        WritePicture("back.png", BACK_WIDTH, 40, 50);
        WritePicture("front.png", FRONT_WIDTH, 10, FRONT_WIDTH);
        WritePicture("icon.png", ICON_WIDTH, 20, ICON_WIDTH);
        LoadResources(
            "<Textures upload='refcount' storage='memory-keeping'><texture id='basket_back' path='back.png'/>"
            "<texture id='basket_front' path='front.png'/><texture id='fern_icon' path='icon.png'/></Textures>"
            "<Animations><TextureSetAnimation id='basket' start='0' step='1' count='4'>"
            "<texture upload='refcount' storage='memory-keeping' path='basket[frameId].png'/>"
            "</TextureSetAnimation></Animations>");
        AddTemplate("BasketHelp", "<FixedChildrenListControl><position x=\"0\" y=\"0\"/></FixedChildrenListControl>");
        BuildScreen(DispatcherXml(
            "<BasketControl><position x=\"" + std::to_string(BASKET_X) + "\" y=\"" + std::to_string(BASKET_Y) +
            "\"/><messageReceiver name=\"Sell target\"/><animation animationId=\"basket\" time=\"1.0\"/>"
            "<textures backId=\"basket_back\" frontId=\"basket_front\"/>"
            "<placing wholeTime=\"1.0\" range=\"0.5\"><key time=\"0.5\" x=\"10.0\" y=\"30.0\" size=\"0.8\"/>"
            "<key time=\"1.0\" x=\"20.0\" y=\"10.0\" size=\"0.5\"/></placing>"
            "<help templateName=\"BasketHelp\"/></BasketControl>"));
        basket = container->GetRoot().Cast<AquariumDispatcherControl>()->GetChildren()[0].Cast<BasketControl>();
        ASSERT_TRUE(basket != NULL);
        Played();
    }
    void TearDown() override {
        basket = nullptr;
        AquariumTest::TearDown();
    }
    // One move event straight to the basket.
    void Hover(int x, int y, bool captured, bool handled = false) {
        ObjectSmartPointer<MouseMoveEvent> event(new MouseMoveEvent(x, y, captured));
        if (handled) event->SetMouseHandled();
        basket->OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(event));
        if (captured && !event->IsCaptureConfirmed()) event->ConfirmCapture();
    }
    // Draws the basket alone: a draw of the whole screen would move the mouse first.
    std::vector<Quad> DrawBasket() {
        recording->draws.clear();
        basket->Draw();
        return RecordedQuads();
    }
    static std::vector<int> Widths(const std::vector<Quad>& quads) {
        std::vector<int> widths;
        for (const Quad& q : quads) widths.push_back(q.width);
        return widths;
    }

    ObjectWeakPointer<BasketControl> basket;
};

TEST_F(BasketTest, ItOpensOnlyUnderAHeldMouseOverAnOpaquePixel) {
    struct Case {
        const char* name;
        int x, y;
        bool captured, handled, active;
    } cases[] = {
        {"frame 0 opaque", BASKET_X + 5, BASKET_Y + 5, true, false, true},
        {"only the back opaque", BASKET_X + 40, BASKET_Y + 5, true, false, true},
        {"both transparent", BASKET_X + 55, BASKET_Y + 5, true, false, false},
        {"outside", BASKET_X - 5, BASKET_Y + 5, true, false, false},
        {"mouse not held", BASKET_X + 5, BASKET_Y + 5, false, false, false},
        {"handled in front", BASKET_X + 5, BASKET_Y + 5, true, true, false},
    };
    for (const Case& c : cases) {
        Hover(0, 0, true);
        Played();
        Hover(c.x, c.y, c.captured, c.handled);
        EXPECT_EQ(basket->IsActive(), c.active) << c.name;
        EXPECT_EQ(SendMessageReply("Sell target", "Is active?"), c.active ? "true" : "false") << c.name;
        EXPECT_EQ(Played().size(), c.active ? 1u : 0u) << c.name;
    }
    Hover(BASKET_X + 5, BASKET_Y + 5, true);
    Played();
    Hover(BASKET_X + 6, BASKET_Y + 5, true);  // staying open plays nothing
    EXPECT_TRUE(Played().empty());
}

TEST_F(BasketTest, TheFrameFollowsTheOpeningPhase) {
    struct Step {
        bool hover;
        float dt, opening;
        int frame;
    } steps[] = {
        {false, 0.25f, 0.0f, 0}, {true, 0.25f, 0.25f, 1}, {true, 0.25f, 0.5f, 2},   {true, 0.25f, 0.75f, 2},
        {true, 0.25f, 1.0f, 3},  {true, 0.25f, 1.0f, 3},  {false, 0.25f, 0.75f, 2}, {false, 1.0f, 0.0f, 0},
    };
    for (const Step& s : steps) {
        Hover(s.hover ? BASKET_X + 5 : 0, BASKET_Y + 5, true);
        basket->Update(s.dt);
        EXPECT_FLOAT_EQ(basket->GetOpening(), s.opening);
        EXPECT_EQ(basket->GetFrameIndex(), s.frame) << s.opening;
        const std::vector<int> widths = Widths(DrawBasket());
        // Back, front, then the frame.
        ASSERT_EQ(widths.size(), 3u);
        EXPECT_EQ(widths, (std::vector<int>{BACK_WIDTH, FRONT_WIDTH, FRAME_WIDTH + s.frame}));
    }
}

TEST_F(BasketTest, TheIconShowsUnderTheCursorOnceAndStaysFrozenWhereItWasDropped) {
    Hover(300, 300, true);
    SendMessage("Sell target", "texture fern_icon");
    std::vector<Quad> quads = DrawBasket();
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_EQ(quads[3].width, ICON_WIDTH);
    EXPECT_EQ(quads[3].x, 300 - ICON_WIDTH / 2);
    EXPECT_EQ(DrawBasket().size(), 3u);  // for one frame only

    Hover(BASKET_X + 5, BASKET_Y + 5, true);
    basket->Update(1.0f);
    SendMessage("Sell target", "texture fern_icon");
    SendMessage("Sell target", "freeze");
    EXPECT_TRUE(basket->HasFrozenIcon());
    EXPECT_EQ(DrawBasket().size(), 5u);  // the icon under the cursor and the frozen one
    Hover(0, 0, false);  // nothing over it any more: it stays open
    basket->Update(1.0f);
    EXPECT_FLOAT_EQ(basket->GetOpening(), 1.0f);
    quads = DrawBasket();
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_EQ(quads[3].x, BASKET_X + 5 - ICON_WIDTH / 2);
    SendMessage("Sell target", "unfreeze");
    EXPECT_FALSE(basket->HasFrozenIcon());
    basket->Update(1.0f);
    EXPECT_FLOAT_EQ(basket->GetOpening(), 0.0f);

    LogCapture log;
    SendMessage("Sell target", "unfreeze");
    SendMessage("Sell target", "freeze");
    EXPECT_TRUE(log.Contains("_frozenTexture != NULL"));
    EXPECT_TRUE(log.Contains("_iconTexture != NULL"));
}

TEST_F(BasketTest, TheFlightIntoTheBasketReportsOnceAtItsEnd) {
    Receiver& shop = AddReceiver("Fern dispatcher");
    Hover(BASKET_X + 5, BASKET_Y + 5, true);
    SendMessage("Sell target", "texture fern_icon");
    SendMessage("Sell target", "freeze");
    SendMessage("Sell target", "play animation then Fern dispatcher/sell animation played");
    // The icon flies above the rim, then shrinks below it.
    DrawBasket();
    EXPECT_EQ(Widths(DrawBasket()), (std::vector<int>{BACK_WIDTH, FRAME_WIDTH, FRONT_WIDTH, ICON_WIDTH}));
    basket->Update(0.75f);
    const std::vector<int> sunk = Widths(DrawBasket());
    ASSERT_EQ(sunk.size(), 4u);
    EXPECT_LT(sunk[2], ICON_WIDTH);
    EXPECT_EQ(sunk[3], FRONT_WIDTH);
    EXPECT_TRUE(TraceOf("Fern dispatcher").empty());
    basket->Update(0.5f);
    basket->Update(0.5f);
    EXPECT_EQ(TraceOf("Fern dispatcher"), (Texts{"Fern dispatcher < sell animation played"}));
    EXPECT_TRUE(basket->HasFrozenIcon());  // until the item's unfreeze
    (void)shop;

    // With no frozen icon the sender still hears, once, at the next update.
    SendMessage("Sell target", "unfreeze");
    Trace().clear();
    LogCapture log;
    SendMessage("Sell target", "play animation then Fern dispatcher/cancel animation played");
    EXPECT_TRUE(log.Contains("_frozenTexture != NULL"));
    EXPECT_TRUE(Trace().empty());
    basket->Update(0.1f);
    basket->Update(0.1f);
    EXPECT_EQ(Trace(), (Texts{"Fern dispatcher < cancel animation played"}));
}

TEST_F(BasketTest, TheHelpShowsOncePerPlayerAndNotDuringTheTutorial) {
    SendMessage("Sell target", "show help");
    EXPECT_TRUE(basket->IsHelpShown());
    SendMessage("Sell target", "hide help");
    EXPECT_FALSE(basket->IsHelpShown());
    SendMessage("Sell target", "show help");
    EXPECT_FALSE(basket->IsHelpShown());
    EXPECT_TRUE(PermanentStorage::GetLocalBool("Sell target help shown"));

    PermanentStorage::SetActivePlayer("Bob");
    PermanentStorage::SetLocalBool("Want tutorial", true);
    SendMessage("Sell target", "show help");
    EXPECT_FALSE(basket->IsHelpShown());
    PermanentStorage::SetLocalBool("Want tutorial", false);
    SendMessage("Sell target", "show help");
    EXPECT_TRUE(basket->IsHelpShown());
}

}  // namespace
