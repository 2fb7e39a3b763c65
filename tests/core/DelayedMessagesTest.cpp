#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/DelayedMessages.h"
#include "core/MessageReceiver.h"
#include "core/MessageServer.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;
using Texts = std::vector<std::string>;

namespace {

// Records what it is sent and runs a handler after recording.
struct Step : public MessageReceiver {
    explicit Step(const std::string& name) : MessageReceiver(name) {}
    void OnMessage(std::string message) override {
        received.push_back(message);
        if (onMessage) onMessage(message);
    }
    Texts received;
    std::function<void(const std::string&)> onMessage;
};

class DelayedMessagesTest : public testing::Test {
protected:
    void TearDown() override { MessageServer::CheckNoReceivers(); }
    ObjectSmartPointer<Step> step{new Step("step")};
};

TEST_F(DelayedMessagesTest, EqualDelaysGoInTheirOrderAndLaterOnesWait) {
    DelayedMessages list;
    list.Add("step", "first", 0.5f);
    list.Add("step", "second", 0.5f);
    list.Add("step", "third", 1.0f);
    list.Update(0.5f);
    EXPECT_EQ((Texts{"first", "second"}), step->received);
    EXPECT_EQ(1u, list.GetCount());
    list.Update(0.5f);
    EXPECT_EQ((Texts{"first", "second", "third"}), step->received);
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(DelayedMessagesTest, AnEntryAddedByAReceiverIsCountedDownInTheSameCall) {
    DelayedMessages list;
    step->onMessage = [&list](const std::string& message) {
        if (message == "one") list.Add("step", "two", 0.3f);
        if (message == "two") list.Add("step", "three", 1.5f);
    };
    list.Add("step", "one", 0.2f);
    list.Update(1.0f);
    EXPECT_EQ((Texts{"one", "two"}), step->received);
    // "three" was counted down by 1.0 already.
    list.Update(0.5f);
    EXPECT_EQ((Texts{"one", "two", "three"}), step->received);
}

TEST_F(DelayedMessagesTest, AReceiverThatEmptiesTheListStopsTheRestButKeepsWhatItAddsAfterwards) {
    DelayedMessages list;
    step->onMessage = [&list](const std::string& message) {
        if (message != "reset") return;
        list.Clear();
        list.Add("step", "after reset", 0.1f);
        list.Add("step", "later", 2.0f);
    };
    list.Add("step", "reset", 0.5f);
    list.Add("step", "dropped", 0.5f);
    list.Update(0.5f);
    EXPECT_EQ((Texts{"reset", "after reset"}), step->received);
    ASSERT_EQ(1u, list.GetCount());
    list.Update(1.5f);
    EXPECT_EQ((Texts{"reset", "after reset", "later"}), step->received);
}

TEST_F(DelayedMessagesTest, AReceiverMayDestroyTheListsOwner) {
    auto owner = std::make_unique<DelayedMessages>();
    step->onMessage = [&owner](const std::string& message) {
        if (message == "close") owner.reset();
    };
    owner->Add("step", "close", 0.1f);
    owner->Add("step", "never", 0.1f);
    owner->Update(0.5f);
    EXPECT_EQ(nullptr, owner);
    EXPECT_EQ((Texts{"close"}), step->received);
}

TEST_F(DelayedMessagesTest, AnUpdateFromInsideAReceiverDoesNothing) {
    DelayedMessages list;
    step->onMessage = [&list](const std::string&) { list.Update(10.0f); };
    list.Add("step", "a", 0.1f);
    list.Add("step", "b", 5.0f);
    list.Update(0.1f);
    EXPECT_EQ((Texts{"a"}), step->received);
    EXPECT_EQ(1u, list.GetCount());
}

TEST_F(DelayedMessagesTest, AnUnknownReceiverIsReportedAndTheEntryGoes) {
    LogCapture log;
    DelayedMessages list;
    list.Add("nobody", "hello", 0.0f);
    list.Add("step", "hello", 0.0f);
    list.Update(0.0f);
    EXPECT_EQ(1, log.ErrorCount());
    EXPECT_TRUE(log.Contains("nobody"));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ((Texts{"hello"}), step->received);
}

}  // namespace
