// The tab set: clicks bring rear tabs to the front, the order kept per player in its stored
// form, bad stored orders, the one-shot change report and the tabs' looks.
#include <gtest/gtest.h>

#include "controls/ControlFactory.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/widgets/ListWidgetTestSupport.h"
#include "widgets/TabSetControl.h"

namespace list_widgets_test {
namespace {

using pictures_test::Listener;
using testing_support::LogCapture;

const std::uint32_t OPAQUE = 0xFF3080C0u;

std::string Tabs(int count) {
    std::string tabs;
    for (int k = 0; k < count; ++k) {
        tabs += "<OneTabControl>" + Pos(50 * k, 0) + "<textures frontId='tf' rearId='tr' activeId='ta'/></OneTabControl>";
    }
    return "<TabSetControl>" + Pos(100, 100) + "<messageReceiver name='tabs'/><tabs>" + tabs + "</tabs></TabSetControl>";
}

class TabSetTest : public ListWidgetTest {
protected:
    void SetUp() override {
        ListWidgetTest::SetUp();
        for (const char* id : {"tf", "tr", "ta"}) WritePixels(std::string(id) + ".png", 40, 20, [](int, int) { return OPAQUE; });
        LoadTextures({"tf", "tr", "ta"});
        Played();
    }
    ObjectWeakPointer<TabSetControl> T() { return Only<TabSetControl>(); }
    void ClickTab(int index) {
        Move(100 + 50 * index + 10, 110);
        Click(100 + 50 * index + 10, 110);
        Move(700, 500);
    }
    std::vector<int> States() {
        std::vector<int> states;
        for (int k = 0; k < T()->GetTabCount(); ++k) states.push_back(T()->GetTab(k)->GetState());
        return states;
    }
};

TEST_F(TabSetTest, ClicksBringRearTabsForwardAndTheOrderIsStoredAtThePlayerChange) {
    LogCapture log;
    BuildOne(Tabs(3));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), T()->GetOrder());
    EXPECT_EQ((std::vector<int>{0, 1, 1}), States());
    ClickTab(2);
    EXPECT_EQ((std::vector<int>{2, 0, 1}), T()->GetOrder());
    EXPECT_EQ((std::vector<int>{1, 1, 0}), States());
    EXPECT_EQ(std::vector<std::string>{"tab_change"}, Played());
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("tabs tab order"));
    PermanentStorage::SetActivePlayer("q");
    PermanentStorage::SetActivePlayer("p");
    EXPECT_EQ("2 0 1", PermanentStorage::GetLocalString("tabs tab order"));
    ClickTab(1);
    EXPECT_EQ((std::vector<int>{1, 2, 0}), T()->GetOrder());
    container = nullptr;
    EXPECT_EQ("1 2 0", PermanentStorage::GetLocalString("tabs tab order"));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(TabSetTest, ClickingTheFrontTabChangesNothing) {
    LogCapture log;
    BuildOne(Tabs(3));
    ClickTab(0);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), T()->GetOrder());
    EXPECT_TRUE(Played().empty());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(TabSetTest, AStoredOrderThatIsNoPermutationGivesTheDefault) {
    const std::string stored[] = {"0 0 1", "0 1", "0 1 2 0", "1 2 3", "x y z", "", "2  0 1"};
    for (const std::string& text : stored) {
        SCOPED_TRACE(text);
        PermanentStorage::SetLocalString("tabs tab order", text);
        BuildOne(Tabs(3));
        EXPECT_EQ((std::vector<int>{0, 1, 2}), T()->GetOrder());
        EXPECT_EQ((std::vector<int>{0, 1, 1}), States());
        container = nullptr;
    }
    LogCapture log;
    PermanentStorage::SetLocalString("tabs tab order", "2 1 0");
    BuildOne(Tabs(3));
    EXPECT_EQ((std::vector<int>{2, 1, 0}), T()->GetOrder());
    EXPECT_EQ((std::vector<int>{1, 1, 0}), States());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(TabSetTest, TwoPlayersKeepTheirOwnOrderAndLooks) {
    LogCapture log;
    BuildOne(Tabs(3));
    ClickTab(2);
    PermanentStorage::SetActivePlayer("q");
    EXPECT_EQ((std::vector<int>{0, 1, 2}), T()->GetOrder());
    EXPECT_EQ((std::vector<int>{0, 1, 1}), States());
    ClickTab(1);
    PermanentStorage::SetActivePlayer("p");
    EXPECT_EQ((std::vector<int>{2, 0, 1}), T()->GetOrder());
    // The tab that was in front for q shows its rear look at once.
    EXPECT_EQ((std::vector<int>{1, 1, 0}), States());
    PermanentStorage::SetActivePlayer("q");
    EXPECT_EQ((std::vector<int>{1, 0, 2}), T()->GetOrder());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(TabSetTest, TheChangeReportIsSentOnce) {
    LogCapture log;
    Listener owner("owner");
    BuildOne(Tabs(3));
    SendMessage("tabs", "report tab change to owner");
    SendMessage("tabs", "set change message tabs changed");
    ClickTab(1);
    ClickTab(2);
    EXPECT_EQ(std::vector<std::string>{"tabs changed"}, owner.messages);
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    SendMessage("tabs", "set change message again");
    EXPECT_TRUE(check_reports::Reported(log, "!_reportTo.empty()"));
}

TEST_F(TabSetTest, TheOrderChecks) {
    LogCapture log;
    BuildOne(Tabs(3));
    T()->SetDefaultOrder();
    EXPECT_TRUE(T()->IsOrderValid());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), T()->GetOrder());
    container = nullptr;
    BuildOne("<TabSetControl>" + Pos(0, 0) + "<messageReceiver name='tabs'/><tabs/></TabSetControl>");
    EXPECT_TRUE(check_reports::Reported(log, "oneTabXml != NULL"));
    EXPECT_TRUE(check_reports::Reported(log, "_tabCount > 0"));
    EXPECT_FALSE(T()->IsOrderValid());
}

TEST_F(TabSetTest, ARearTabLightsUnderTheMouse) {
    BuildOne(Tabs(2));
    Move(160, 110);
    EXPECT_EQ((std::vector<int>{0, 2}), States());
    Move(300, 300);
    EXPECT_EQ((std::vector<int>{0, 1}), States());
}

TEST_F(TabSetTest, ATabsChildrenAreUpdatedDrawnAndSeeInputFirst) {
    LogCapture log;
    if (!ControlFactory::IsControlRegistered("Recorder")) {
        ControlFactory::RegisterControl("Recorder", ControlFactory::Make<controls_test::Recorder>());
    }
    const std::string tab = "<OneTabControl>" + Pos(50, 0) + "<textures frontId='tf' rearId='tr' activeId='ta'/><children>" +
                            controls_test::RecorderXml("label", 5, 5, 10, 10) + "</children></OneTabControl>";
    BuildOne("<TabSetControl>" + Pos(100, 100) + "<messageReceiver name='tabs'/><tabs><OneTabControl>" + Pos(0, 0) +
             "<textures frontId='tf' rearId='tr' activeId='ta'/></OneTabControl>" + tab + "</tabs></TabSetControl>");
    controls_test::Trace().clear();
    Frame(0.1f);
    EXPECT_EQ((std::vector<std::string>{"label update 0.100000", "label move 0,0 --", "label draw"}),
              controls_test::Trace());
    // Over the rear tab beside the label: the label sees the move first, the tab lights up.
    controls_test::Trace().clear();
    Move(165, 115);
    ASSERT_FALSE(controls_test::Trace().empty());
    EXPECT_EQ(0u, controls_test::Trace()[0].find("label move 165,115"));
    EXPECT_EQ((std::vector<int>{0, 2}), States());
    ClickTab(1);
    EXPECT_EQ((std::vector<int>{1, 0}), T()->GetOrder());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
    ControlFactory::UnregisterControl("Recorder");
}

}  // namespace
}  // namespace list_widgets_test
