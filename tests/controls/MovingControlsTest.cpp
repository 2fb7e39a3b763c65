// Movers through a real container: arrival reports, timing, sounds, truncation, reports sent on
// re-routing and destruction, and the configuration checks.

#include "controls/MovingControl.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

using controls_test::RecordingReceiver;

std::string Mover(int x, int y, const std::string& positions, int speed = 100) {
    return "<MovingControl speed=\"" + std::to_string(speed) + "\">" + Pos(x, y) + Receiver("mover") +
           "<namedPositions>" + positions + "</namedPositions><children>" + RecorderXml("panel", 0, 0, 10, 10) +
           "</children></MovingControl>";
}

std::string Named(const std::string& name, int x, int y) {
    return "<position name=\"" + name + "\" x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"/>";
}

std::string InOut(int x, int y, const std::string& positions, const std::string& extra = "") {
    return "<InOutMovingControl time=\"0.5\">" + Pos(x, y) + Receiver("slider") + extra + "<namedPositions>" +
           positions + "</namedPositions><path templateName=\"flat path\"/><children>" +
           RecorderXml("panel", 0, 0, 10, 10) + "</children></InOutMovingControl>";
}

class MovingControlsTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        AddTemplate("flat path", "<path/>");
    }
    Point Where() { return container->GetRoot()->GetInParentPos(); }
    void Arm(const std::string& mover, const std::string& receiver, const std::string& text, const std::string& to) {
        SendMessage(mover, "report arrival to " + receiver);
        SendMessage(mover, "set arrival message " + text);
        SendMessage(mover, "move to " + to);
    }
};

TEST_F(MovingControlsTest, MovingControlArrivesAtConstantSpeedAndReportsInTheArrivalFrame) {
    LogCapture log;
    RecordingReceiver r("R");
    Build(Mover(0, 0, Named("a", 50, 0) + Named("home", 0, 0)));
    Arm("mover", "R", "arrived", "a");
    EXPECT_EQ(SamplesPlayed(), 0u);
    container->Update(0.25f);
    EXPECT_EQ(Where(), Point(25, 0));
    EXPECT_TRUE(Messages().empty());
    Trace().clear();
    container->Update(0.25f);
    EXPECT_EQ(Where(), Point(50, 0));
    EXPECT_EQ(std::count(Trace().begin(), Trace().end(), "R < arrived"), 1);
    const ObjectWeakPointer<CommonMovingControl> mover = Root<CommonMovingControl>();
    EXPECT_FALSE(mover->IsMoving());
    EXPECT_EQ(mover->GetReportArrivalTo(), "");
    EXPECT_EQ(mover->GetArrivalMessage(), "");

    // The receiver starts the next move from inside its report.
    r.onMessage = [](const std::string&) { SendMessage("mover", "noreply move to home"); };
    Arm("mover", "R", "back", "a");
    container->Update(0.1f);
    EXPECT_TRUE(mover->IsMoving());
    container->Update(0.5f);
    EXPECT_EQ(Where(), Point(0, 0));
    EXPECT_FALSE(mover->IsMoving());
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(MovingControlsTest, MovingControlTruncatesTowardsZero) {
    RecordingReceiver r("R");
    Build(Mover(0, 0, Named("corner", -10, -10), 10));
    Arm("mover", "R", "there", "corner");
    container->Update(0.35f);
    const FPoint exact = Root<MovingControl>()->GetFloatPos();
    EXPECT_LT(exact._x, -2.0f);
    EXPECT_GT(exact._x, -3.0f);
    EXPECT_EQ(Where(), Point(-2, -2));
}

TEST_F(MovingControlsTest, MovingControlStopAndUnknownNamesLeaveItIdle) {
    LogCapture log;
    RecordingReceiver r("R");
    RecordingReceiver s("S");
    Build(Mover(0, 0, Named("a", 100, 0)));
    Arm("mover", "R", "first", "a");
    container->Update(0.105f);
    EXPECT_EQ(Where(), Point(10, 0));
    // Re-routing ends the move with its report; the mover stays where it is drawn.
    SendMessage("mover", "report arrival to S");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"R < first"}));
    for (int i = 0; i < 3; ++i) container->Update(0.1f);
    EXPECT_EQ(Where(), Point(10, 0));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();

    SendMessage("mover", "set arrival message second");
    SendMessage("mover", "move to nowhere");
    EXPECT_TRUE(log.Contains("i != _positions.end()"));
    EXPECT_FALSE(Root<MovingControl>()->IsMoving());
    const int errors = log.ErrorCount();
    container->Update(0.1f);
    EXPECT_EQ(Where(), Point(10, 0));
    EXPECT_EQ(log.ErrorCount(), errors);
    // The pending report still works with a known name.
    SendMessage("mover", "move to a");
    for (int i = 0; i < 10; ++i) container->Update(0.1f);
    EXPECT_EQ(Messages().back(), "S < second");
}

TEST_F(MovingControlsTest, InOutSlidesInItsTimeAlongThePathWithASound) {
    LogCapture log;
    Build(InOut(0, 0, Named("in", 0, 0) + Named("out", 100, 0)));
    SendMessage("slider", "noreply move to out");
    EXPECT_EQ(SamplesPlayed(), 1u);
    container->Update(0.25f);
    EXPECT_EQ(Where(), Point(50, 0));
    EXPECT_TRUE(Root<InOutMovingControl>()->IsMoving());
    container->Update(0.25f);
    EXPECT_EQ(Where(), Point(100, 0));
    EXPECT_FALSE(Root<InOutMovingControl>()->IsMoving());
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(MovingControlsTest, InOutMoveToTheEndItIsAtReportsInTheFirstUpdate) {
    RecordingReceiver r("R");
    Build(InOut(0, 0, Named("in", 0, 0) + Named("out", 0, 200), "<sound soundId=\"panel_moving\"/>"));
    Arm("slider", "R", "done", "in");
    EXPECT_EQ(SamplesPlayed(), 1u);
    EXPECT_TRUE(Messages().empty());
    container->Update(0.01f);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"R < done"}));
    EXPECT_EQ(Root<InOutMovingControl>()->GetReportArrivalTo(), "");
}

TEST_F(MovingControlsTest, InOutReroutedMidwayReportsAtOnceAndStops) {
    LogCapture log;
    RecordingReceiver a("A");
    RecordingReceiver b("B");
    Build(InOut(0, 0, Named("in", 0, 0) + Named("out", 100, 0)));
    Arm("slider", "A", "for A", "out");
    container->Update(0.25f);
    SendMessage("slider", "report arrival to B");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"A < for A"}));
    EXPECT_FALSE(Root<InOutMovingControl>()->IsMoving());
    EXPECT_EQ(Root<InOutMovingControl>()->GetReportArrivalTo(), "B");
    container->Update(0.25f);
    EXPECT_EQ(Where(), Point(50, 0));
    // Back from the middle takes the remaining share of the time.
    SendMessage("slider", "set arrival message for B");
    SendMessage("slider", "move to in");
    container->Update(0.2f);
    EXPECT_EQ(Messages().size(), 1u);
    container->Update(0.06f);
    EXPECT_EQ(Messages().back(), "B < for B");
    EXPECT_EQ(Where(), Point(0, 0));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(MovingControlsTest, APendingReportGoesOutOnDestructionOnlyWhileTheApplicationRuns) {
    RecordingReceiver r("R");
    Build(InOut(0, 0, Named("in", 0, 0) + Named("out", 100, 0)));
    Arm("slider", "R", "gone", "out");
    container = nullptr;
    EXPECT_EQ(Messages().back(), "R < gone");

    Trace().clear();
    bool running = false;
    GetFlowApplicationHooks().isRunning = [&running] { return running; };
    Build(InOut(0, 0, Named("in", 0, 0) + Named("out", 100, 0)));
    Arm("slider", "R", "gone", "out");
    container = nullptr;
    EXPECT_EQ(std::count(Trace().begin(), Trace().end(), "R < gone"), 0);
}

TEST_F(MovingControlsTest, InOutConfigurationChecks) {
    const struct {
        std::string positions;
        int x;
        const char* check;
    } cases[] = {
        {Named("in", 0, 0) + Named("mid", 5, 0) + Named("out", 9, 0), 0, "positions.size() == 2"},
        {Named("in", 0, 0) + Named("outside", 9, 0), 0, "positions.rbegin()->first == \"out\""},
        {Named("in", 3, 3) + Named("out", 3, 3), 3, "inPos != outPos"},
        {Named("in", 0, 0) + Named("out", 9, 0), 4, "false"},
        {Named("in", 0, 0) + Named("in", 9, 0), 0, "positions.find(name) == positions.end()"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        Build(InOut(c.x, 0, c.positions));
        EXPECT_TRUE(log.Contains(c.check)) << c.check << "\n" << log.Text();
        container = nullptr;
    }
}

TEST(FPointRound, RoundsHalfAwayFromZero) {
    EXPECT_EQ(FPoint(2.5f, -2.5f).Round(), Point(3, -3));
    EXPECT_EQ(FPoint(2.49f, -0.5f).Round(), Point(2, -1));
}

}  // namespace
}  // namespace flow_test
