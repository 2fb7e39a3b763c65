#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "core/MessageReceiver.h"
#include "core/MessageServer.h"
#include "core/ReceiverAndMessage.h"
#include "core/XmlElement.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;

namespace {

std::vector<std::string> trace;

struct Recorder : public MessageReceiver {
    explicit Recorder(const std::string& name) : MessageReceiver(name) {}
    void OnMessage(std::string message) override {
        trace.push_back(GetReceiverName() + "<" + message);
        if (onMessage) onMessage(message);
    }
    std::string OnMessageReply(std::string message) override { return GetReceiverName() + "?" + message; }
    std::function<void(const std::string&)> onMessage;
};

// A receiver that does not override the handlers.
struct Deaf : public MessageReceiver {
    explicit Deaf(const std::string& name) : MessageReceiver(name) {}
};

class MessageServerTest : public testing::Test {
protected:
    void SetUp() override {
        trace.clear();
        MessageServer::SetScriptCall([](const std::string& function, const std::string& text) {
            trace.push_back("lua " + function + "(" + text + ")");
        });
    }
    void TearDown() override {
        ProcessPostedMessages();
        MessageServer::SetScriptCall(nullptr);
        MessageServer::CheckNoReceivers();
    }
};

}  // namespace

TEST(Message, IsComparesNameAndParameter) {
    const Message key("KeyPress", "27");
    EXPECT_TRUE(key.is("KeyPress"));
    EXPECT_TRUE(key.is("KeyPress", "27"));
    EXPECT_FALSE(key.is("KeyPress", "28"));
    EXPECT_FALSE(key.is("keypress"));
    const Message wheel("MouseWheel", 3);
    EXPECT_EQ(wheel.GetNumber(), 3);
    EXPECT_EQ(wheel.GetParameter(), "");
    EXPECT_TRUE(wheel.is("MouseWheel", ""));
}

TEST_F(MessageServerTest, PrefixTable) {
    ObjectSmartPointer<Recorder> x(new Recorder("x"));
    ObjectSmartPointer<Recorder> postX(new Recorder("post:x"));
    struct Case {
        std::string receiver;
        std::vector<std::string> atOnce;
        std::vector<std::string> afterProcessing;
    };
    const std::vector<Case> cases = {
        {"null", {}, {}},
        {"x", {"x<m"}, {}},
        {"post:x", {}, {"x<m"}},
        {"lua:f", {"lua f(m)"}, {}},
        {"post:lua:f", {}, {"lua f(m)"}},
        {"lua:post:f", {"lua post:f(m)"}, {}},
        // Posted once more at delivery, and delivered in the same call.
        {"post:post:x", {}, {"x<m"}},
        {"post:null", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.receiver);
        LogCapture log;
        trace.clear();
        const std::string message = c.receiver.find("null") != std::string::npos ? "null" : "m";
        SendMessage(c.receiver, message);
        EXPECT_EQ(trace, c.atOnce);
        trace.clear();
        ProcessPostedMessages();
        EXPECT_EQ(trace, c.afterProcessing);
        EXPECT_EQ(log.ErrorCount(), 0);
    }
}

TEST_F(MessageServerTest, NullWithAnotherMessageIsAFailedCheck) {
    LogCapture log;
    SendMessage("null", "hello");
    EXPECT_TRUE(log.Contains("message == \"null\""));
    EXPECT_EQ(log.ErrorCount(), 1);
}

TEST_F(MessageServerTest, PostedMessagesKeepTheirOrderAndLatePostsJoinTheSameCall) {
    ObjectSmartPointer<Recorder> a(new Recorder("a"));
    ObjectSmartPointer<Recorder> b(new Recorder("b"));
    a->onMessage = [](const std::string& message) {
        if (message == "1") SendMessage("post:b", "late");
    };
    SendMessage("post:a", "1");
    SendMessage("post:b", "2");
    SendMessage("post:a", "3");
    EXPECT_TRUE(trace.empty());
    ProcessPostedMessages();
    EXPECT_EQ(trace, (std::vector<std::string>{"a<1", "b<2", "a<3", "b<late"}));
    trace.clear();
    ProcessPostedMessages();
    EXPECT_TRUE(trace.empty());
}

TEST_F(MessageServerTest, UnknownNamesAreReportedAndNothingRuns) {
    LogCapture log;
    SendMessage("nobody", "m");
    EXPECT_EQ(SendMessageReply("nobody", "q"), "");
    EXPECT_TRUE(log.Contains("Message receiver 'nobody' not found"));
    EXPECT_EQ(log.ErrorCount(), 1);  // one fault, written once
    // Replies interpret no prefix.
    ObjectSmartPointer<Recorder> odd(new Recorder("lua:f"));
    EXPECT_EQ(SendMessageReply("lua:f", "q"), "lua:f?q");
    EXPECT_TRUE(trace.empty());
}

TEST_F(MessageServerTest, IsReceiverTakesNamesLiterally) {
    EXPECT_FALSE(IsReceiver("null"));
    EXPECT_FALSE(IsReceiver("post:x"));
    ObjectSmartPointer<Recorder> x(new Recorder("x"));
    EXPECT_TRUE(IsReceiver("x"));
    EXPECT_FALSE(IsReceiver("post:x"));
    EXPECT_FALSE(IsReceiver("X"));
    x = nullptr;
    EXPECT_FALSE(IsReceiver("x"));
}

TEST_F(MessageServerTest, BaseHandlersReportUnhandledMessages) {
    ObjectSmartPointer<Deaf> deaf(new Deaf("deaf"));
    LogCapture log;
    SendMessage("deaf", "ping");
    EXPECT_EQ(SendMessageReply("deaf", "ask"), "");
    EXPECT_TRUE(log.Contains("\xd1\xee\xee\xe1\xf9\xe5\xed\xe8\xe5 ping \xed\xe5 \xee\xe1\xf0\xe0\xe1\xee\xf2\xe0\xed\xee \xef\xee\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe5\xec deaf"));
    EXPECT_TRUE(log.Contains("\xd1\xee\xee\xe1\xf9\xe5\xed\xe8\xe5 ask \xed\xe5 \xee\xe1\xf0\xe0\xe1\xee\xf2\xe0\xed\xee \xef\xee\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe5\xec deaf"));
}

TEST_F(MessageServerTest, ReceiverNamedNullIsNeverRegistered) {
    LogCapture log;
    { ObjectSmartPointer<Recorder> silent(new Recorder("null")); }
    EXPECT_FALSE(IsReceiver("null"));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(MessageServerTest, ReceiverDestroyingItselfInsideOnMessage) {
    ObjectSmartPointer<Recorder> self(new Recorder("self"));
    self->onMessage = [&self](const std::string&) { self = nullptr; };
    LogCapture log;
    SendMessage("self", "die");
    EXPECT_TRUE(self == NULL);
    EXPECT_FALSE(IsReceiver("self"));
    EXPECT_EQ(trace, (std::vector<std::string>{"self<die"}));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(MessageServerTest, DestroyingAnEarlierNamesakeKeepsTheLiveReceiver) {
    ObjectSmartPointer<Recorder> first(new Recorder("twin"));
    LogCapture log;
    ObjectSmartPointer<Recorder> second(new Recorder("twin"));
    EXPECT_TRUE(log.Contains("Message receiver 'twin' already registered"));
    SendMessage("twin", "to second");
    first = nullptr;
    EXPECT_TRUE(log.Contains("i->second == receiver"));
    EXPECT_EQ(log.ErrorCount(), 2);
    ASSERT_TRUE(IsReceiver("twin"));
    SendMessage("twin", "still second");
    EXPECT_EQ(trace, (std::vector<std::string>{"twin<to second", "twin<still second"}));
    second = nullptr;
    EXPECT_FALSE(IsReceiver("twin"));
    EXPECT_EQ(log.ErrorCount(), 2);
}

TEST_F(MessageServerTest, CheckNoReceiversReportsSurvivors) {
    ObjectSmartPointer<Recorder> left(new Recorder("left"));
    LogCapture log;
    MessageServer::CheckNoReceivers();
    EXPECT_TRUE(log.Contains("_receivers.empty()"));
}

namespace {

struct ContentRecorder : public MessageReceiver {
    explicit ContentRecorder(const ObjectWeakPointer<XmlElement>& element) : MessageReceiver(element) {}
    void OnMessage(std::string message) override { trace.push_back(GetReceiverName() + "<" + message); }
};

ObjectSmartPointer<XmlElement> ControlElement(const std::string& receiverName) {
    ObjectSmartPointer<XmlElement> control(new XmlElement("Button"));
    ObjectSmartPointer<XmlElement> receiver(new XmlElement("messageReceiver"));
    receiver->SetStringAttribute("name", receiverName);
    control->AppendChild(receiver);
    return control;
}

}  // namespace

TEST_F(MessageServerTest, ContentNamesTheReceiverAndItsEvents) {
    const ObjectSmartPointer<XmlElement> control = ControlElement("shop");
    ObjectSmartPointer<ContentRecorder> shop(new ContentRecorder(control));
    EXPECT_EQ(shop->GetReceiverName(), "shop");
    EXPECT_TRUE(IsReceiver("shop"));

    ObjectSmartPointer<XmlElement> click(new XmlElement("onClick"));
    click->SetStringAttribute("receiver", "post:shop");
    click->SetStringAttribute("message", "buy fish 3");
    ObjectSmartPointer<ReceiverAndMessage> event(new ReceiverAndMessage(click));
    event->Send();
    EXPECT_TRUE(trace.empty());
    ProcessPostedMessages();
    EXPECT_EQ(trace, (std::vector<std::string>{"shop<buy fish 3"}));

    LogCapture log;
    const ObjectSmartPointer<XmlElement> silentControl = ControlElement("null");
    { ObjectSmartPointer<ContentRecorder> silent(new ContentRecorder(silentControl)); }
    EXPECT_EQ(log.ErrorCount(), 0);
}
