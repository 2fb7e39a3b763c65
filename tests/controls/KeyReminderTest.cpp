// Key listening, the reminder, the drag sensor and effect showing.

#include "controls/KeyListeningControl.h"
#include "controls/ReminderControl.h"
#include "core/Message.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

using controls_test::RecordingReceiver;

class KeyReminderTest : public FlowTest {
protected:
    void Key(int code) { container->AcceptMessage(Message("KeyPress", std::to_string(-code))); }
    int Count(const std::string& line) { return static_cast<int>(std::count(Trace().begin(), Trace().end(), line)); }
    static std::string Listener(const std::string& keys) {
        return "<KeyListeningControl>" + Pos(0, 0) + "<keys>" + keys + "</keys></KeyListeningControl>";
    }
    static std::string KeyXml(const std::string& value, const std::string& message) {
        return "<key value=\"" + value + "\" receiver=\"R\" message=\"" + message + "\"/>";
    }
};

TEST_F(KeyReminderTest, KeyListenersSendForUnhandledKeysOnly) {
    LogCapture log;
    RecordingReceiver r("R");
    Build(controls_test::ListXml(Listener(KeyXml("VK_ESCAPE", "first escape") + KeyXml("VK_F1", "help")) +
                                 Listener(KeyXml("27", "second escape") + KeyXml("VK_A", "letter a"))));
    Key(27);
    Key(0x70);
    Key(0x41);
    Key(0x42);
    container->AcceptMessage(Message("KeyPress", "27"));  // the character, not the key
    Click(0, 0);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"R < first escape", "R < help", "R < letter a"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(KeyReminderTest, KeyNameTableAndBadKeys) {
    EXPECT_EQ(KeyListeningControl::GetKeyCode("VK_RETURN"), 0x0D);
    EXPECT_EQ(KeyListeningControl::GetKeyCode("VK_9"), 0x39);
    EXPECT_EQ(KeyListeningControl::GetKeyCode("VK_Z"), 0x5A);
    EXPECT_EQ(KeyListeningControl::GetKeyCode("VK_NUMPAD7"), 0x67);
    EXPECT_EQ(KeyListeningControl::GetKeyCode("VK_F12"), 0x7B);
    EXPECT_EQ(KeyListeningControl::GetKeyCode("VK_SCROLL"), 0x91);
    LogCapture log;
    EXPECT_EQ(KeyListeningControl::GetKeyCode("VK_NOTHING"), 0);
    EXPECT_TRUE(log.Contains("map.find(image) != map.end()"));
    Build(Listener(KeyXml("VK_SPACE", "a") + KeyXml("32", "b")));
    EXPECT_TRUE(log.Contains("_map.find(iValue) == _map.end()"));
}

TEST_F(KeyReminderTest, ReminderSendsOnceWhenItsDelayHasRunOut) {
    LogCapture log;
    RecordingReceiver r("R");
    r.onMessage = [](const std::string& m) {
        if (m == "wake") {
            // Armed again from inside the report.
            SendMessage("reminder", "set delay 0.2");
            SendMessage("reminder", "set message again");
            SendMessage("reminder", "report to R");
        }
    };
    Build("<ReminderControl>" + Pos(0, 0) + Receiver("reminder") + "</ReminderControl>");
    SendMessage("reminder", "set delay 0.5");
    SendMessage("reminder", "set message wake");
    SendMessage("reminder", "report to R");
    container->Update(0.2f);
    container->Update(0.2f);
    EXPECT_TRUE(Trace().empty());
    container->Update(0.2f);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"R < wake"}));
    container->Update(0.1f);
    container->Update(0.1f);
    EXPECT_EQ(Trace().back(), "R < again");
    container->Update(1.0f);
    EXPECT_EQ(Trace().size(), 2u);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(KeyReminderTest, ReminderFaults) {
    RecordingReceiver r("R");
    Build("<ReminderControl>" + Pos(0, 0) + Receiver("reminder") + "</ReminderControl>");
    {
        LogCapture log;
        SendMessage("reminder", "set delay 2");
        EXPECT_GE(log.ErrorCount(), 1);
        EXPECT_EQ(Root<ReminderControl>()->GetTimeToSend(), 0.0f);
    }
    {
        LogCapture log;
        SendMessage("reminder", "set delay 0.5");
        SendMessage("reminder", "set delay 0.7");
        EXPECT_TRUE(log.Contains("_timeToSend == 0"));
        EXPECT_FLOAT_EQ(Root<ReminderControl>()->GetTimeToSend(), 0.5f);
    }
    {
        // Expired before it was armed: reported, and nothing goes out.
        LogCapture log;
        SendMessage("reminder", "set message lost");
        container->Update(0.6f);
        EXPECT_GE(log.ErrorCount(), 1);
        EXPECT_TRUE(Trace().empty());
        EXPECT_EQ(Root<ReminderControl>()->GetTimeToSend(), 0.0f);
    }
}

TEST_F(KeyReminderTest, DragSensorReportsTheFirstUnhandledDragOnce) {
    LogCapture log;
    RecordingReceiver r("R");
    // The recorder in front captures presses over it; the sensor stands behind.
    Build(controls_test::ListXml(RecorderXml("piece", 0, 0, 50, 50) + "<DragSensorControl>" + Pos(0, 0) +
                                 Receiver("sensor") + "</DragSensorControl>"));
    SendMessage("sensor", "on R/drag/over");
    container->MouseMove(10, 10);  // no drag yet
    EXPECT_EQ(Count("R < drag/over"), 0);
    container->MouseDown(10, 10);
    container->MouseMove(20, 10);
    container->MouseMove(200, 10);
    EXPECT_EQ(Count("R < drag/over"), 1);
    container->MouseUp(210, 10);

    SendMessage("sensor", "on R/again");
    LogCapture faults;
    SendMessage("sensor", "off S");
    EXPECT_TRUE(faults.Contains("message == _receiverName"));
    SendMessage("sensor", "off R");
    container->MouseMove(10, 10);
    container->MouseDown(10, 10);
    container->MouseMove(200, 10);
    EXPECT_EQ(Count("R < again"), 0);
    EXPECT_EQ(log.ErrorCount(), faults.ErrorCount());
}

}  // namespace
}  // namespace flow_test
