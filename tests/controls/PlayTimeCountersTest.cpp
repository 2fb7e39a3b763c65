// Play-time counters: the timer control, the simple counter with its log lines, the summary logger.

#include "controls/PlayerTimeLogger.h"
#include "controls/SimpleTimeCounter.h"
#include "controls/TimerControl.h"
#include "core/HtmlLog.h"
#include "core/PermanentStorage.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/core/StorageFixture.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

class PlayTimeTest : public StorageFixture {
protected:
    void SetUp() override {
        StorageFixture::SetUp();
        RegisterControlFrameworkClasses();
        LoadEmpty("P");
    }
    void TearDown() override {
        _trees.clear();
        StorageFixture::TearDown();
    }

    ObjectSmartPointer<ControlContainer> Build(const std::string& root) {
        const std::string text = TreeXml(root);
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
        ObjectSmartPointer<ControlContainer> container(new ControlContainer(document->GetRoot()));
        document->GetRoot()->CheckVisited();
        _trees.push_back(container);
        return container;
    }

    static std::string CounterXml(const std::string& name, const std::string& onCreate = "",
                                  const std::string& onDestroy = "", const std::string& def = "0.0") {
        return "<SimpleTimeCounter><position x=\"0\" y=\"0\"/><variable name=\"" + name + "\" defaultValue=\"" + def +
               "\"/><logMessages onCreate=\"" + onCreate + "\" onDestroy=\"" + onDestroy + "\"/></SimpleTimeCounter>";
    }

    static void Run(const ObjectSmartPointer<ControlContainer>& c, int steps, float dt) {
        for (int i = 0; i < steps; ++i) c->Update(dt);
    }

    static float Local(const std::string& name) { return PermanentStorage::GetLocalFloat(name); }

    std::vector<ObjectSmartPointer<ControlContainer>> _trees;
};

const char* const IN_GAME = "Player in game time";

TEST_F(PlayTimeTest, TimerControlHandsItsTimeOverWhenItGoes) {
    ObjectSmartPointer<ControlContainer> c = Build("<TimerControl><position x=\"0\" y=\"0\"/></TimerControl>");
    Run(c, 5, 0.5f);
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined(IN_GAME));
    c = nullptr;
    _trees.clear();
    EXPECT_FLOAT_EQ(Local(IN_GAME), 2.5f);
}

TEST_F(PlayTimeTest, TimerControlSplitsTimeAtPlayerChangesAndCommits) {
    PermanentStorage::CreatePlayer("Q");
    PermanentStorage::SetActivePlayer("P");
    PermanentStorage::SetLocalFloat(IN_GAME, 10.0f);
    ObjectSmartPointer<ControlContainer> c = Build("<TimerControl><position x=\"0\" y=\"0\"/></TimerControl>");
    Run(c, 3, 1.0f);
    PermanentStorage::SetActivePlayer("Q");
    Run(c, 1, 1.0f);
    // A commit: before and after without a change.
    PlayerChangeServer::NotifyBeforeChange();
    PlayerChangeServer::NotifyAfterChange();
    EXPECT_FLOAT_EQ(Local(IN_GAME), 1.0f);
    Run(c, 2, 1.0f);
    c = nullptr;
    _trees.clear();
    EXPECT_FLOAT_EQ(Local(IN_GAME), 3.0f);
    PermanentStorage::SetActivePlayer("P");
    EXPECT_FLOAT_EQ(Local(IN_GAME), 13.0f);
}

TEST_F(PlayTimeTest, CountersDoNotDriftOverHours) {
    // Two hours of frames at 60 per second.
    const int frames = 2 * 3600 * 60;
    ObjectSmartPointer<ControlContainer> c = Build(
        ListXml("<TimerControl><position x=\"0\" y=\"0\"/></TimerControl>" + CounterXml("Total time", "", "", "100.0")));
    Run(c, frames, 1.0f / 60.0f);
    EXPECT_NEAR(Local("Total time"), 7300.0f, 0.01f);
    c = nullptr;
    _trees.clear();
    EXPECT_NEAR(Local(IN_GAME), 7200.0f, 0.01f);
}

TEST_F(PlayTimeTest, SimpleTimeCounterTable) {
    struct Case {
        std::string name;
        bool defined;       // the player has a value before
        float stored;       // that value
        std::string def;    // the counter's default
        float expected;     // after 4 steps of 0.25 s
    };
    const std::vector<Case> cases = {
        {"Shop time", false, 0.0f, "0.0", 1.0f},
        {"Cup time", false, 0.0f, "5.5", 6.5f},
        {"Game field time", true, 20.0f, "5.5", 21.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.defined) PermanentStorage::SetLocalFloat(c.name, c.stored);
        LogCapture log;
        ObjectSmartPointer<ControlContainer> tree = Build(CounterXml(c.name, "", "", c.def));
        Run(tree, 4, 0.25f);
        EXPECT_FLOAT_EQ(Local(c.name), c.expected);
        EXPECT_EQ(log.ErrorCount(), 0);
    }
}

TEST_F(PlayTimeTest, SimpleTimeCounterFollowsThePlayerAndOtherWriters) {
    PermanentStorage::CreatePlayer("Q");
    PermanentStorage::SetActivePlayer("P");
    ObjectSmartPointer<ControlContainer> c = Build(CounterXml("Shop time"));
    Run(c, 2, 1.0f);
    PermanentStorage::SetActivePlayer("Q");
    Run(c, 3, 1.0f);
    EXPECT_FLOAT_EQ(Local("Shop time"), 3.0f);
    PermanentStorage::SetLocalFloat("Shop time", 100.0f);
    Run(c, 1, 1.0f);
    EXPECT_FLOAT_EQ(Local("Shop time"), 101.0f);
    PermanentStorage::SetActivePlayer("P");
    EXPECT_FLOAT_EQ(Local("Shop time"), 2.0f);
}

TEST_F(PlayTimeTest, SimpleTimeCounterLogLinesNeedBetaLog) {
    {
        LogCapture log;
        ObjectSmartPointer<ControlContainer> c = Build(CounterXml("Shop time", "", ""));
        // An empty line text never reads the flag.
        EXPECT_FALSE(PermanentStorage::IsGlobalNameDefined("betaLog"));
        _trees.clear();
    }
    {
        LogCapture log;
        Build(CounterXml("Shop time", "shop opened", "shop closed"));
        _trees.clear();
        EXPECT_TRUE(PermanentStorage::IsGlobalNameDefined("betaLog"));
        EXPECT_FALSE(PermanentStorage::GetGlobalBool("betaLog"));
        EXPECT_FALSE(log.Contains("shop opened"));
        EXPECT_FALSE(log.Contains("shop closed"));
    }
    PermanentStorage::SetGlobalBool("betaLog", true);
    LogCapture log;
    ObjectSmartPointer<ControlContainer> c = Build(CounterXml("Shop time", "shop opened", "shop closed"));
    EXPECT_TRUE(log.Contains("shop opened"));
    EXPECT_FALSE(log.Contains("shop closed"));
    c = nullptr;
    _trees.clear();
    EXPECT_TRUE(log.Contains("shop closed"));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(PlayTimeTest, SimpleTimeCounterReportsAStepThatIsNotPositive) {
    ObjectSmartPointer<ControlContainer> c = Build(CounterXml("Shop time"));
    ObjectWeakPointer<Control> counter = c->GetRoot();
    LogCapture log;
    counter->Update(-0.5f);
    EXPECT_TRUE(log.Contains("dt > 0"));
    EXPECT_TRUE(log.Contains("SimpleTimeCounter"));
    EXPECT_FLOAT_EQ(Local("Shop time"), -0.5f);
}

TEST_F(PlayTimeTest, LoggerWritesTheSummaryLine) {
    PermanentStorage::SetLocalFloat("Total time", 59.9f);
    PermanentStorage::SetLocalFloat("Shop time", 0.0f);
    PermanentStorage::SetLocalFloat("Game field time", 10.2f);
    ObjectSmartPointer<XmlElement> element(new XmlElement("PlayerTimeLogger"));
    {
        LogCapture log;
        ObjectSmartPointer<Definition> logger = ControlFactory::CreateDefinition(element);
        ASSERT_TRUE(logger.InstanceOf<PlayerTimeLogger>());
        PlayerChangeServer::NotifyBeforeChange();
        PlayerChangeServer::NotifyAfterChange();
        logger = nullptr;
        // "betaLog" read with its default defines it as false: nothing is written.
        EXPECT_FALSE(log.Contains("Player:"));
        EXPECT_TRUE(PermanentStorage::IsGlobalNameDefined("betaLog"));
    }
    PermanentStorage::SetGlobalBool("betaLog", true);
    LogCapture log;
    ObjectSmartPointer<Definition> logger = ControlFactory::CreateDefinition(element);
    PlayerChangeServer::NotifyBeforeChange();
    PlayerChangeServer::NotifyAfterChange();
    const std::string line = "Player: 'P'; total time: 59s; shop time: 0s; game field time: 10s; cup time:0s.";
    EXPECT_TRUE(log.Contains(line));
    // "Cup time" was missing and is now defined as 0.
    EXPECT_FLOAT_EQ(Local("Cup time"), 0.0f);
    // Once more when it goes.
    logger = nullptr;
    const std::string text = log.Text();
    const std::string needle = HtmlLog::Escape(line);
    EXPECT_NE(text.find(needle), text.rfind(needle));
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(PlayTimeTest, LoggerClampsValuesNoIntHolds) {
    PermanentStorage::SetGlobalBool("betaLog", true);
    PermanentStorage::SetLocalFloat("Total time", 1e20f);
    PermanentStorage::SetLocalFloat("Shop time", -3.7f);
    ObjectSmartPointer<XmlElement> element(new XmlElement("PlayerTimeLogger"));
    LogCapture log;
    { ObjectSmartPointer<Definition> logger = ControlFactory::CreateDefinition(element); }
    EXPECT_TRUE(log.Contains("total time: 2147483647s; shop time: -3s;"));
}

}  // namespace
