#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/PermanentVariable.h"
#include "tests/core/StorageFixture.h"

using testing_support::LogCapture;

namespace {

template <class Scope, class T>
std::string State(const ObjectSmartPointer<CommonPermanentVariable<Scope, T>>& v) {
    if (v == NULL) return "gone";
    if (!v->HasCachedValue()) return "New";
    return v->IsCachedValueValid() ? "Cached" : "Stale";
}

std::size_t RecordsOn(const PermanentVariableSet* set, const std::string& name) {
    if (set == nullptr) return 0;
    const auto i = set->GetValues().find(name);
    return i == set->GetValues().end() ? 0 : i->second.GetListenerCount();
}

std::string Text(bool b) { return b ? "true" : "false"; }

class PermanentVariableTest : public StorageFixture {};

}  // namespace

TEST_F(PermanentVariableTest, CacheTransitionsOfTwoVariablesOfOneNameAcrossAPlayerChange) {
    Seed("<Storage><Globals/>"
         "<Player name=\"Ann\"><Variable name=\"n\" type=\"int\" value=\"1\"/></Player>"
         "<Player name=\"Bob\"><Variable name=\"n\" type=\"int\" value=\"2\"/></Player>"
         "<ActivePlayer name=\"Ann\"/></Storage>");
    PermanentStorage::Load();
    using Var = CommonPermanentVariable<Local, int>;
    ObjectSmartPointer<Var> a(new PermanentVariableOrDef<Local, int>("n", 7));
    ObjectSmartPointer<Var> b(new PermanentVariableOrDef<Local, int>("n", 7));
    auto number = [](int n) { return std::to_string(n); };

    struct Step {
        const char* what;
        std::function<std::string()> act;
        std::string result, stateA, stateB;
    };
    const std::vector<Step> steps = {
        {"a polls while new", [&] { return Text(a->IsChanged()); }, "true", "New", "New"},
        {"a reads", [&] { return number(a->GetValue()); }, "1", "Cached", "New"},
        {"a polls", [&] { return Text(a->IsChanged()); }, "false", "Cached", "New"},
        {"b reads", [&] { return number(b->GetValue()); }, "1", "Cached", "Cached"},
        {"a writes what it holds", [&] { a->SetValue(1); return std::string(); }, "", "Cached", "Cached"},
        {"a writes 5", [&] { a->SetValue(5); return std::string(); }, "", "Stale", "Stale"},
        {"b polls", [&] { return Text(b->IsChanged()); }, "true", "Stale", "Stale"},
        {"b reads", [&] { return number(b->GetValue()); }, "5", "Stale", "Cached"},
        {"a reads its own write", [&] { return number(a->GetValue()); }, "5", "Cached", "Cached"},
        {"the same value written from outside",
         [&] { PermanentStorage::SetLocalInt("n", 5); return std::string(); }, "", "Stale", "Stale"},
        {"a polls and finds it equal", [&] { return Text(a->IsChanged()); }, "false", "Cached", "Stale"},
        {"b polls and finds it equal", [&] { return Text(b->IsChanged()); }, "false", "Cached", "Cached"},
        {"player change", [&] { PermanentStorage::SetActivePlayer("Bob"); return std::string(); }, "", "Stale",
         "Stale"},
        {"a polls: Bob's 2 against Ann's 5", [&] { return Text(a->IsChanged()); }, "true", "Stale", "Stale"},
        {"b reads Bob's value", [&] { return number(b->GetValue()); }, "2", "Stale", "Cached"},
        {"the name is undefined", [&] { PermanentStorage::UndefLocalName("n"); return std::string(); }, "",
         "Stale", "Stale"},
        {"b polls: the default 7 is stored", [&] { return Text(b->IsChanged()); }, "true", "Stale", "Stale"},
        {"b reads", [&] { return number(b->GetValue()); }, "7", "Stale", "Cached"},
        {"a goes while stale", [&] { a = nullptr; return std::string(); }, "", "gone", "Cached"},
    };
    LogCapture log;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.act(), step.result);
        EXPECT_EQ(State(a), step.stateA);
        EXPECT_EQ(State(b), step.stateB);
        const std::size_t cached = (State(a) == "Cached") + (State(b) == "Cached");
        EXPECT_EQ(RecordsOn(PermanentStorage::FindPlayer(PermanentStorage::GetActivePlayerName()), "n"), cached);
    }
    EXPECT_EQ(PermanentStorage::GetLocalInt("n"), 7);
    b = nullptr;  // unregisters
    EXPECT_EQ(RecordsOn(PermanentStorage::FindPlayer("Bob"), "n"), 0u);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(PermanentVariableTest, DefaultIsStoredOnTheFirstReadOnly) {
    LoadEmpty();
    ObjectSmartPointer<Variable<int>> n(new PermanentVariableOrDef<Global, int>("n", 7));
    EXPECT_TRUE(n->IsChanged());
    EXPECT_FALSE(PermanentStorage::IsGlobalNameDefined("n"));
    EXPECT_EQ(n->GetValue(), 7);
    EXPECT_EQ(PermanentStorage::GetGlobalInt("n"), 7);
    // Undefined again: the next poll stores the default, equal to what was read.
    PermanentStorage::UndefGlobalName("n");
    EXPECT_FALSE(n->IsChanged());
    EXPECT_TRUE(PermanentStorage::IsGlobalNameDefined("n"));
    PermanentStorage::Save();
    EXPECT_NE(StorageText().find("<Variable name=\"n\" type=\"int\" value=\"7\"/>"), std::string::npos);
}

TEST_F(PermanentVariableTest, MissingNameIsReportedOnceAndNeverRegistered) {
    LoadEmpty();
    ObjectSmartPointer<CommonPermanentVariable<Global, bool>> flag(new PermanentVariable<Global, bool>("flag"));
    LogCapture log;
    EXPECT_FALSE(flag->GetValue());
    EXPECT_TRUE(log.Contains("Bool variable flag does not exist"));
    EXPECT_EQ(State(flag), "Stale");
    EXPECT_FALSE(flag->IsChanged());
    EXPECT_EQ(log.ErrorCount(), 1);
    PermanentStorage::SetGlobalBool("flag", true);
    EXPECT_TRUE(flag->IsChanged());
    EXPECT_TRUE(flag->GetValue());
    EXPECT_EQ(State(flag), "Cached");
}

TEST_F(PermanentVariableTest, GlobalLocalVariableFollowsThePlayer) {
    Seed("<Storage><Globals><Variable name=\"vol\" type=\"float\" value=\"0.5\"/></Globals>"
         "<Player name=\"Ann\"><Variable name=\"vol\" type=\"float\" value=\"0.8\"/></Player>"
         "<Player name=\"Bob\"/><ActivePlayer name=\"Ann\"/></Storage>");
    PermanentStorage::Load();
    LogCapture log;
    ObjectSmartPointer<Variable<float>> vol(new PermanentGlobalLocalVariable<float>("vol"));
    EXPECT_TRUE(vol->IsChanged());
    EXPECT_FLOAT_EQ(vol->GetValue(), 0.8f);  // the player's value wins
    EXPECT_FLOAT_EQ(PermanentStorage::GetGlobalFloat("vol"), 0.8f);
    EXPECT_FALSE(vol->IsChanged());

    // Bob has no value: he inherits the last global value, and nothing changed.
    PermanentStorage::SetActivePlayer("Bob");
    EXPECT_FALSE(vol->IsChanged());
    EXPECT_FLOAT_EQ(PermanentStorage::GetLocalFloat("vol"), 0.8f);

    PermanentStorage::CreatePlayer("Cid");
    PermanentStorage::SetLocalFloat("vol", 0.25f);
    EXPECT_TRUE(vol->IsChanged());
    EXPECT_FLOAT_EQ(vol->GetValue(), 0.25f);
    EXPECT_FLOAT_EQ(PermanentStorage::GetGlobalFloat("vol"), 0.25f);

    vol->SetValue(0.25f);  // its current value: nothing written
    EXPECT_EQ(RecordsOn(&PermanentStorage::GetGlobals(), "vol"), 1u);
    EXPECT_EQ(RecordsOn(PermanentStorage::FindPlayer("Cid"), "vol"), 1u);
    EXPECT_FALSE(vol->IsChanged());

    vol->SetValue(0.75f);
    EXPECT_FLOAT_EQ(PermanentStorage::GetLocalFloat("vol"), 0.75f);
    EXPECT_FLOAT_EQ(PermanentStorage::GetGlobalFloat("vol"), 0.75f);
    EXPECT_TRUE(vol->IsChanged());
    EXPECT_FLOAT_EQ(vol->GetValue(), 0.75f);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    vol = nullptr;
    EXPECT_EQ(RecordsOn(&PermanentStorage::GetGlobals(), "vol"), 0u);
}

TEST_F(PermanentVariableTest, UnloadingMakesCachedVariablesStale) {
    LoadEmpty();
    ObjectSmartPointer<CommonPermanentVariable<Global, std::string>> s(
        new PermanentVariableOrDef<Global, std::string>("s", "x"));
    EXPECT_EQ(s->GetValue(), "x");
    PermanentStorage::Unload();
    EXPECT_EQ(State(s), "Stale");
    PermanentStorage::Load();
    EXPECT_FALSE(s->IsChanged());
    EXPECT_EQ(State(s), "Cached");
}
