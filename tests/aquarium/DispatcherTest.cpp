// The aquarium screen dispatcher: which panels and help texts move around a drag, in order.
#include <gtest/gtest.h>

#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace aquarium_test;
using testing_support::LogCapture;
using Texts = std::vector<std::string>;

Texts Moved(const std::string& mover, const std::string& where) {
    return {mover + " < report arrival to null", mover + " < set arrival message null", mover + " < move to " + where};
}

class DispatcherTest : public AquariumTest {
protected:
    ObjectWeakPointer<AquariumDispatcherControl> Build(bool isShopOpen) {
        AddScreenReceivers(isShopOpen);
        BuildScreen(DispatcherXml(""));
        Trace().clear();
        return container->GetRoot().Cast<AquariumDispatcherControl>();
    }
};

TEST_F(DispatcherTest, ADragMovesTheShopsPanelsOrTheMainScreensAndBringsThemBack) {
    const std::string shop = ScreenNames::shopMover;
    struct Case {
        const char* name;
        bool isShopOpen, isNew;
        Texts start, end;
    } cases[] = {
        {"shop open, new item", true, true,
         Join({Moved(shop, "out"), Moved(ScreenNames::buyCancelMover, "in"), {"Buy cancel target < show help"},
               {"Buy help < show help"}}),
         Join({Moved(shop, "in"), Moved(ScreenNames::buyCancelMover, "out"), {"Buy cancel target < hide help"},
               {"Buy help < hide help"}})},
        {"shop open, tank item", true, false,
         Join({Moved(shop, "out"), Moved(ScreenNames::sellMover, "in"), {"Sell target < show help"},
               {"Move help < show help"}}),
         Join({Moved(shop, "in"), Moved(ScreenNames::sellMover, "out"), {"Sell target < hide help"},
               {"Move help < hide help"}})},
        {"shop closed", false, false,
         Join({{"Move help < show help"}, Moved("Main screen blue panel mover", "out"),
               Moved("Main screen bottom panel mover", "out")}),
         Join({{"Move help < hide help"}, Moved("Main screen blue panel mover", "in"),
               Moved("Main screen bottom panel mover", "in")})},
    };
    for (const Case& c : cases) {
        LogCapture log;
        const ObjectWeakPointer<AquariumDispatcherControl> dispatcher = Build(c.isShopOpen);
        ASSERT_TRUE(dispatcher != NULL);
        dispatcher->OnDragStart(c.isNew);
        EXPECT_EQ(Trace(), c.start) << c.name;
        Trace().clear();
        dispatcher->OnDragEnd(c.isNew);
        EXPECT_EQ(Trace(), c.end) << c.name;
        EXPECT_EQ(log.ErrorCount(), 0) << c.name << log.Text();
        container = nullptr;
        receivers.clear();
    }
}

TEST_F(DispatcherTest, ANewItemWithTheShopClosedIsReportedAndMovesLikeATankItem) {
    const ObjectWeakPointer<AquariumDispatcherControl> dispatcher = Build(false);
    LogCapture log;
    dispatcher->OnDragStart(true);
    EXPECT_TRUE(log.Contains("!buy"));
    EXPECT_EQ(Trace().front(), "Move help < show help");
    EXPECT_EQ(dispatcher->GetDropTargetName(true), ScreenNames::buyCancelTarget);
    EXPECT_EQ(dispatcher->GetDropTargetName(false), ScreenNames::sellTarget);
}

}  // namespace
