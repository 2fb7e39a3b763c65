// The players dialog driven through its messages, with stand-ins for the list, the name box and
// the panels; the storage is checked after each change.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "aquarium/PlayersDispatcherControl.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "shell/SoundSystem.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace aquarium_test;

namespace {

// The list box's part of the protocol: names in order and the active one.
class FakeList : public Receiver {
public:
    FakeList() : Receiver("Players listbox") {}
    void OnMessage(std::string message) override {
        Receiver::OnMessage(message);
        if (message == "clear") {
            names.clear();
        } else if (message.rfind("add normal ", 0) == 0) {
            names.push_back(message.substr(11));
        } else if (message.rfind("set active ", 0) == 0) {
            active = message.substr(11);
        } else if (message == "remove active") {
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (names[i] != active) continue;
                names.erase(names.begin() + static_cast<long>(i));
                active = i < names.size() ? names[i] : std::string();
                break;
            }
        }
    }
    std::string OnMessageReply(std::string message) override {
        if (message == "get active") return active;
        return Receiver::OnMessageReply(message);
    }
    std::vector<std::string> names;
    std::string active;
};

class FakeEdit : public Receiver {
public:
    FakeEdit() : Receiver("Player name edit") {}
    void OnMessage(std::string message) override {
        Receiver::OnMessage(message);
        if (message.rfind("set value ", 0) == 0) value = message.substr(10);
    }
    std::string OnMessageReply(std::string message) override {
        if (message == "get value") return value;
        return Receiver::OnMessageReply(message);
    }
    std::string value;
};

class PlayersDialogTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        static bool tracks = false;
        if (!tracks) {
            tracks = true;
            for (const char* t : {"Menu1", "Menu2"}) Sound::soundSystem.AddTrack(t, "Common", std::string(t) + ".wav");
        }
        MessageServer::SetScriptCall([this](const std::string& function, const std::string& text) {
            scriptCalls.push_back(function + ": " + text);
        });
        list = ObjectSmartPointer<FakeList>(new FakeList);
        edit = ObjectSmartPointer<FakeEdit>(new FakeEdit);
        for (const char* name : {"Players list mover", "Players modal dialog", "Player name edit holder",
                                 "Player name mover", "Screen", "Owner"})
            AddReceiver(name);
        BuildScreen("<PlayersDispatcherControl><position x=\"0\" y=\"0\"/>"
                    "<messageReceiver name=\"Players dispatcher\"/></PlayersDispatcherControl>");
    }
    void TearDown() override {
        MessageServer::SetScriptCall(MessageServer::ScriptCall());
        list = nullptr;
        edit = nullptr;
        AquariumTest::TearDown();
    }

    void Say(const std::string& message) {
        SendMessage("Players dispatcher", message);
        ProcessPostedMessages();
    }
    void Open() {
        Say("report finish to Owner");
        Say("set finish message players closed");
        Say("Show dialog");
    }
    // Opens the name panel for a new player (empty) or a rename of the list's active name.
    void OpenNamePanel(bool rename) {
        Say(rename ? "Players dialog rename pressed" : "Players dialog new pressed");
        Say("Players list out");
    }
    std::set<std::string> Players() const { return PermanentStorage::GetPlayerNames(); }
    // The players of the file on disk, read back.
    std::string SavedFile() const { return testing_support::ReadFile(dir + "Storage.xml"); }

    ObjectSmartPointer<FakeList> list;
    ObjectSmartPointer<FakeEdit> edit;
    std::vector<std::string> scriptCalls;
};

TEST_F(PlayersDialogTest, ShowFillsTheSortedListAndSelectChangesPlayerAndReportsOnce) {
    PermanentStorage::SetLocalInt("Money", 10);
    testing_support::LogCapture log;
    Open();
    EXPECT_EQ((std::vector<std::string>{"Ann", "Bob"}), list->names);
    EXPECT_EQ("Ann", list->active);
    EXPECT_EQ((std::vector<std::string>{"Players list mover < move to in"}), TraceOf("Players list mover < move"));
    list->active = "Bob";
    Say("Players dialog select pressed");
    EXPECT_EQ("Bob", PermanentStorage::GetActivePlayerName());
    EXPECT_EQ((std::vector<std::string>{"Owner < players closed"}), TraceOf("Owner"));
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();

    // Each player keeps his own values; a second close without arming is two assertions.
    Say("Players listbox double click");
    EXPECT_EQ(1u, TraceOf("Owner").size());
    list->active = "Ann";
    Say("report finish to Owner");
    Say("set finish message again");
    Say("Players listbox double click");
    EXPECT_EQ(10, PermanentStorage::GetLocalInt("Money"));
}

TEST_F(PlayersDialogTest, ShowWithoutArmingReportsTwice) {
    testing_support::LogCapture log;
    Say("Show dialog");
    EXPECT_EQ(2, log.ErrorCount()) << log.Text();
}

TEST_F(PlayersDialogTest, SelectOfAnUnknownNameIsIgnored) {
    Open();
    list->active = "Nobody";
    testing_support::LogCapture log;
    Say("Players dialog select pressed");
    EXPECT_EQ("Ann", PermanentStorage::GetActivePlayerName());
    EXPECT_TRUE(TraceOf("Owner").empty());
    EXPECT_TRUE(log.Contains("Nobody"));
}

TEST_F(PlayersDialogTest, NewPlayerIsCreatedActiveAndHandsOverToTheScript) {
    Open();
    OpenNamePanel(false);
    EXPECT_EQ("", edit->value);
    EXPECT_EQ((std::vector<std::string>{"Player name edit holder < template PlayerNameEditTemplate",
                                        "Player name edit holder < create top instance"}),
              TraceOf("Player name edit holder"));
    edit->value = "";
    Say("Enter your name ok pressed");  // empty: nothing happens
    EXPECT_EQ((std::set<std::string>{"Ann", "Bob"}), Players());
    edit->value = "Cleo";
    Say("Enter your name ok pressed");
    EXPECT_EQ((std::set<std::string>{"Ann", "Bob", "Cleo"}), Players());
    EXPECT_EQ("Cleo", PermanentStorage::GetActivePlayerName());
    EXPECT_EQ((std::vector<std::string>{"GameFunc: Start intro"}), scriptCalls);
    EXPECT_TRUE(TraceOf("Owner").empty());
}

TEST_F(PlayersDialogTest, RenameKeepsValuesAndSavesAndRefusesTakenOrUntypeableNames) {
    PermanentStorage::SetLocalInt("Money", 42);
    Open();
    OpenNamePanel(true);
    EXPECT_EQ("Ann", edit->value);

    edit->value = "Bob";  // taken: the notice, the cursor hidden
    Say("Enter your name ok pressed");
    EXPECT_EQ((std::vector<std::string>{"Players modal dialog < instantiate PlayerAlreadyExistsTemplate"}),
              TraceOf("Players modal dialog"));
    EXPECT_EQ((std::vector<std::string>{"Player name edit < disable cursor"}), TraceOf("Player name edit < disable"));
    Say("Player already exists ok pressed");
    EXPECT_EQ((std::vector<std::string>{"Player name edit < enable cursor"}), TraceOf("Player name edit < enable"));

    {
        testing_support::LogCapture log;
        edit->value = std::string("A\nB");
        Say("Enter your name ok pressed");
        EXPECT_EQ(1, log.ErrorCount());
        EXPECT_EQ((std::set<std::string>{"Ann", "Bob"}), Players());
    }

    edit->value = "Anna";
    Say("Enter your name ok pressed");
    EXPECT_EQ((std::set<std::string>{"Anna", "Bob"}), Players());
    EXPECT_EQ("Anna", PermanentStorage::GetActivePlayerName());
    EXPECT_EQ(42, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ((std::vector<std::string>{"Anna", "Bob"}), list->names);
    EXPECT_NE(std::string::npos, SavedFile().find("\"Anna\""));
    EXPECT_EQ(std::string::npos, SavedFile().find("\"Ann\""));
    // The panel leaves behind a glass; on arrival the glass goes and the list comes back.
    EXPECT_EQ((std::vector<std::string>{"Screen < template ZGlassTemplate", "Screen < create top instance"}),
              TraceOf("Screen"));
    Say("Player name out");
    EXPECT_EQ("Screen < erase top child", TraceOf("Screen").back());
    EXPECT_EQ("Players list mover < move to in", TraceOf("Players list mover < move").back());
}

TEST_F(PlayersDialogTest, RenamingAnotherPlayerMakesHimThePlayerWhoPlays) {
    PermanentStorage::SetLocalInt("Money", 5);
    PermanentStorage::SetActivePlayer("Bob");
    PermanentStorage::SetLocalInt("Money", 70);
    testing_support::LogCapture log;
    Open();
    list->active = "Ann";
    OpenNamePanel(true);
    edit->value = "Anna";
    Say("Enter your name ok pressed");
    EXPECT_EQ((std::set<std::string>{"Anna", "Bob"}), Players());
    EXPECT_EQ("Anna", PermanentStorage::GetActivePlayerName());
    EXPECT_EQ(5, PermanentStorage::GetLocalInt("Money"));
    EXPECT_EQ("Anna", list->active);
    EXPECT_NE(std::string::npos, SavedFile().find("<ActivePlayer name=\"Anna\"/>")) << SavedFile();
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(PlayersDialogTest, RenameToTheSameNameLeavesTheStorageAlone) {
    Open();
    OpenNamePanel(true);
    Say("Enter your name ok pressed");
    EXPECT_EQ((std::set<std::string>{"Ann", "Bob"}), Players());
    EXPECT_FALSE(testing_support::FileExists(dir + "Storage.xml.bak"));
    EXPECT_EQ(2u, TraceOf("Screen").size());
}

TEST_F(PlayersDialogTest, DeleteRefusesTheActivePlayerAndRemovesAnother) {
    Open();
    Say("Players dialog delete pressed");
    EXPECT_EQ("Players modal dialog < instantiate CannotDeleteActivePlayerTemplate", TraceOf("Players modal").back());
    Say("Cannot delete active player ok");
    {
        // Even a confirmation that names the active player deletes nothing.
        testing_support::LogCapture log;
        Say("Delete player ok");
        EXPECT_EQ((std::set<std::string>{"Ann", "Bob"}), Players());
        EXPECT_EQ("Players modal dialog < instantiate CannotDeleteActivePlayerTemplate",
                  TraceOf("Players modal").back());
    }
    list->active = "Bob";
    Say("Players dialog delete pressed");
    EXPECT_EQ("Players modal dialog < instantiate DeletePlayerDialogTemplate", TraceOf("Players modal").back());
    Say("Delete player ok");
    EXPECT_EQ((std::set<std::string>{"Ann"}), Players());
    EXPECT_EQ((std::vector<std::string>{"Ann"}), list->names);
    EXPECT_EQ(std::string::npos, SavedFile().find("\"Bob\""));
    EXPECT_EQ("Players modal dialog < hide", TraceOf("Players modal").back());
}

TEST_F(PlayersDialogTest, DeleteAllPlayersOnlyForDevelopers) {
    PermanentStorage::SetGlobalBool("dev", false);
    Say("Delete all players");
    EXPECT_EQ((std::set<std::string>{"Ann", "Bob"}), Players());
    PermanentStorage::SetGlobalBool("dev", true);
    Say("Delete all players");
    EXPECT_EQ((std::set<std::string>{"Ann"}), Players());
    EXPECT_EQ((std::vector<std::string>{"Ann"}), list->names);
}

}  // namespace
