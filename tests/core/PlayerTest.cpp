#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/ActivePlayerNameString.h"
#include "core/PermanentStorage.h"
#include "core/PlayerChangeListener.h"
#include "tests/core/StorageFixture.h"

using testing_support::LogCapture;

namespace {

std::vector<std::string> trace;

// Keeps a per-player counter like the game's objects: saves it before a change, reads it after.
struct Recorder : public PlayerChangeListener {
    explicit Recorder(std::string tag) : _tag(std::move(tag)) {}
    ~Recorder() override { AllowDestructor(); }

    void BeforePlayerChange() override {
        trace.push_back(_tag + " before " + PermanentStorage::GetActivePlayerName());
        if (PermanentStorage::IsLoaded()) PermanentStorage::SetLocalInt("score", score);
        if (onBefore) onBefore();
    }
    void AfterPlayerChange() override {
        trace.push_back(_tag + " after " + PermanentStorage::GetActivePlayerName());
        score = PermanentStorage::GetLocalIntOrDef("score", 0);
    }

    std::string _tag;
    int score = 0;
    std::function<void()> onBefore;
};

using Trace = std::vector<std::string>;

class PlayerTest : public StorageFixture {
protected:
    void SetUp() override {
        StorageFixture::SetUp();
        trace.clear();
        Seed("<Storage><Globals/>"
             "<Player name=\"Ann\"><Variable name=\"score\" type=\"int\" value=\"10\"/>"
             "<Variable name=\"temp:hint\" type=\"bool\" value=\"true\"/></Player>"
             "<Player name=\"Bob\"><Variable name=\"score\" type=\"int\" value=\"20\"/></Player>"
             "<ActivePlayer name=\"Ann\"/></Storage>");
        PermanentStorage::Load();
    }
};

}  // namespace

TEST_F(PlayerTest, EachOperationNotifiesItsListeners) {
    ObjectSmartPointer<Recorder> r(new Recorder("r"));
    r->score = 11;  // Ann's progress in memory
    LogCapture log;

    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_EQ(trace, (Trace{"r before Ann", "r after Bob"}));
    EXPECT_EQ(r->score, 20);
    trace.clear();

    PermanentStorage::CreatePlayer("Cid");
    EXPECT_EQ(trace, (Trace{"r before Bob", "r after Cid"}));
    EXPECT_EQ(r->score, 0);  // defaults for the empty player
    trace.clear();

    PermanentStorage::RenamePlayer("Ann", "Anna");  // inactive: no notification
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Cid");
    PermanentStorage::RenamePlayer("Cid", "Cyd");  // active: stays active under the new name
    EXPECT_EQ(trace, (Trace{"r before Cid", "r after Cyd"}));
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Cyd");
    trace.clear();

    PermanentStorage::SetActivePlayer("Anna");
    EXPECT_EQ(r->score, 11);
    trace.clear();
    PermanentStorage::BackupActivePlayer("-copy");
    EXPECT_EQ(trace, (Trace{"r before Anna", "r after Anna"}));
    trace.clear();

    PermanentStorage::DeletePlayer("Bob");
    PermanentStorage::DeleteInactivePlayers();
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(PermanentStorage::GetPlayerNames(), (std::set<std::string>{"Anna"}));
    PermanentStorage::DeleteInactivePlayers();  // only the active one left: nothing to do
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();

    r = nullptr;  // the last save, through AllowDestructor
    EXPECT_EQ(trace, (Trace{"r before Anna"}));
}

TEST_F(PlayerTest, CommitSavesWhatTheListenersHoldAndKeepsTheActivePlayer) {
    ObjectSmartPointer<Recorder> r(new Recorder("r"));
    r->score = 15;  // in memory only so far
    PermanentStorage::Commit();
    EXPECT_EQ(trace, (Trace{"r before Ann", "r after Ann"}));
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Ann");
    EXPECT_NE(StorageText().find("<Variable name=\"score\" type=\"int\" value=\"15\"/>"), std::string::npos)
        << StorageText();
    r = nullptr;

    PermanentStorage::Discard();
    const std::string before = StorageText();
    LogCapture log;
    PermanentStorage::Commit();  // a store never loaded is not written
    EXPECT_TRUE(log.Contains("_isLoaded"));
    EXPECT_EQ(StorageText(), before);
}

TEST_F(PlayerTest, BackupCopiesAllButTemporaryValuesAndKeepsTheActivePlayer) {
    PermanentStorage::SetLocalString("tank", "blue");
    ObjectSmartPointer<XmlElement> shelf(new XmlElement("Shelf"));
    PermanentStorage::SetLocalXml("shelf", shelf);
    PermanentStorage::BackupActivePlayer(".bak1");
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Ann");
    PermanentStorage::SetActivePlayer("Ann.bak1");
    EXPECT_EQ(PermanentStorage::GetLocalInt("score"), 10);
    EXPECT_EQ(PermanentStorage::GetLocalString("tank"), "blue");
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("temp:hint"));
    const ObjectWeakPointer<XmlElement> copy = PermanentStorage::GetLocalXml("shelf");
    ASSERT_TRUE(copy != NULL);
    EXPECT_NE(copy.Get(), shelf.Get());
    EXPECT_EQ(copy->GetName(), "Shelf");
}

TEST_F(PlayerTest, RefusedOperationsChangeNothing) {
    LogCapture log;
    PermanentStorage::RenamePlayer("Bob", "Ann");  // would wipe Ann
    EXPECT_TRUE(log.Contains("!DoesPlayerExist(newName)"));
    PermanentStorage::RenamePlayer("Nobody", "Zed");
    EXPECT_TRUE(log.Contains("DoesPlayerExist(oldName)"));
    PermanentStorage::DeletePlayer("Ann");
    EXPECT_TRUE(log.Contains("playerName != GetActivePlayerName()"));
    PermanentStorage::DeletePlayer("Nobody");
    EXPECT_TRUE(log.Contains("DoesPlayerExist(playerName)"));
    PermanentStorage::CreatePlayer("Bob");  // makes Bob active and keeps his values
    EXPECT_TRUE(log.Contains("!DoesPlayerExist(playerName)"));
    PermanentStorage::BackupActivePlayer("");  // onto itself
    EXPECT_TRUE(log.Contains("!DoesPlayerExist(newName)"));
    EXPECT_EQ(log.ErrorCount(), 6);

    EXPECT_EQ(PermanentStorage::GetPlayerNames(), (std::set<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Bob");
    EXPECT_EQ(PermanentStorage::GetLocalInt("score"), 20);
    PermanentStorage::SetActivePlayer("Ann");
    EXPECT_EQ(PermanentStorage::GetLocalInt("score"), 10);
}

TEST_F(PlayerTest, SetActivePlayerOfAnUnknownNameGoesOnWithAnEmptySet) {
    LogCapture log;
    PermanentStorage::SetActivePlayer("Eve");
    EXPECT_TRUE(log.Contains("DoesPlayerExist(playerName)"));
    EXPECT_EQ(PermanentStorage::GetActivePlayerName(), "Eve");
    EXPECT_EQ(PermanentStorage::GetLocalIntOrDef("score", 3), 3);
    EXPECT_TRUE(PermanentStorage::DoesPlayerExist("Eve"));
}

TEST_F(PlayerTest, ListenersRemovedOrAddedDuringANotification) {
    ObjectSmartPointer<Recorder> a(new Recorder("a"));
    ObjectSmartPointer<Recorder> b(new Recorder("b"));
    ObjectSmartPointer<Recorder> late;
    bool rebuilt = false;
    // Whichever comes first destroys the other and builds a new listener, as a rebuilt screen does.
    auto rebuild = [&](ObjectSmartPointer<Recorder>& other) {
        return [&rebuilt, &late, &other] {
            if (rebuilt) return;
            rebuilt = true;
            other = nullptr;
            late = ObjectSmartPointer<Recorder>(new Recorder("late"));
        };
    };
    a->onBefore = rebuild(b);
    b->onBefore = rebuild(a);
    const bool aFirst = a.Get() < b.Get();
    const std::string first = aFirst ? "a" : "b";
    const std::string second = aFirst ? "b" : "a";
    LogCapture log;
    PermanentStorage::SetActivePlayer("Bob");
    // The destroyed listener saves once through AllowDestructor and is then skipped; the newcomer
    // was not there before the change, but hears its end.
    ASSERT_EQ(trace.size(), 4u);
    EXPECT_EQ(Trace(trace.begin(), trace.begin() + 2), (Trace{first + " before Ann", second + " before Ann"}));
    const std::set<std::string> after(trace.begin() + 2, trace.end());
    EXPECT_EQ(after, (std::set<std::string>{first + " after Bob", "late after Bob"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    trace.clear();
    PermanentStorage::SetActivePlayer("Ann");
    EXPECT_EQ(trace.size(), 4u);
    a = nullptr;
    b = nullptr;
    late = nullptr;
}

TEST_F(PlayerTest, ListenerMisuseIsReported) {
    struct Careless : public PlayerChangeListener {
        void BeforePlayerChange() override {}
        void AfterPlayerChange() override {}
    };
    LogCapture log;
    { ObjectSmartPointer<Careless> c(new Careless); }
    EXPECT_TRUE(log.Contains("_isDestructorAllowed"));

    ObjectSmartPointer<Recorder> r(new Recorder("r"));
    PermanentStorage::Unload();
    EXPECT_TRUE(log.Contains("_listeners.size() == 0"));
    r = nullptr;
}

TEST_F(PlayerTest, ActivePlayerNameStringFollowsTheActivePlayer) {
    ObjectSmartPointer<ActivePlayerNameString> name(new ActivePlayerNameString);
    LogCapture log;
    EXPECT_TRUE(name->IsChanged());
    EXPECT_EQ(name->GetValue(), "Ann");
    EXPECT_FALSE(name->IsChanged());
    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_TRUE(name->IsChanged());
    EXPECT_EQ(name->GetValue(), "Bob");
    // A change back and forth ends where it began: nothing to redraw.
    PermanentStorage::SetActivePlayer("Ann");
    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_FALSE(name->IsChanged());
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    name = nullptr;
}
