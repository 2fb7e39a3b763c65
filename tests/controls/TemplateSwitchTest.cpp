// Template instance and XML file controls, and the variable-driven switch over the persistent
// storage: building, changes, missing templates and files, rebuilding on a change of value or of
// the active player.

#include <unistd.h>

#include "controls/TemplateInstanceControl.h"
#include "controls/VariableDrivenSwitchControl.h"
#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "tests/controls/FlowTestSupport.h"

using testing_support::LogCapture;

namespace flow_test {
namespace {

class TemplateSwitchTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        _savedFolder = dataFolder;
        dataFolder = dir;
        testing_support::WriteFile(dataFolder + "Storage.xml", "<Storage><Globals/><ActivePlayer name=\"p\"/></Storage>");
        PermanentStorage::Load();
        PermanentStorage::SetLocalInt("screen", 2);
        PermanentStorage::CreatePlayer("q");
        PermanentStorage::SetActivePlayer("p");
        AddTemplate("one", RecorderXml("one", 0, 0, 1, 1));
        AddTemplate("two", RecorderXml("two", 0, 0, 1, 1));
        AddTemplate("other", RecorderXml("other", 0, 0, 1, 1));
        AddTemplate("named", "<Recorder name=\"[name]\" width=\"1\" height=\"1\">" + Pos(0, 0) + "</Recorder>");
    }
    void TearDown() override {
        container = nullptr;
        if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
        dataFolder = _savedFolder;
        FlowTest::TearDown();
    }
    std::string Switch(const std::string& scope, const std::string& type, const std::string& def,
                       const std::string& states) {
        return "<VariableDrivenSwitchControl>" + Pos(0, 0) + "<variable type=\"" + type + "\" scope=\"" + scope +
               "\" name=\"screen\" defaultValue=\"" + def + "\"/><states>" + states +
               "</states></VariableDrivenSwitchControl>";
    }
    static std::string State(const std::string& value, const std::string& name) {
        return "<state variableValue=\"" + value + "\" templateName=\"" + name + "\"/>";
    }
    static std::string Default(const std::string& name) {
        return "<state default=\"true\" templateName=\"" + name + "\"/>";
    }
    int Made(const std::string& name) { return static_cast<int>(std::count(Trace().begin(), Trace().end(), name + " made")); }

    std::string _savedFolder;
};

TEST_F(TemplateSwitchTest, TemplateInstanceBuildsFromTheTemplateOrAChangedCopy) {
    LogCapture log;
    Build("<TemplateInstanceControl>" + Pos(0, 0) + "<base templateName=\"one\"/></TemplateInstanceControl>");
    EXPECT_EQ(Made("one"), 1);
    Build("<TemplateInstanceControl>" + Pos(0, 0) +
          "<base templateName=\"named\"/><changes name=\"changed\"/>"
          "</TemplateInstanceControl>");
    EXPECT_EQ(Made("changed"), 1);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();

    // A parameter left in the template is reported.
    Build("<TemplateInstanceControl>" + Pos(0, 0) + "<base templateName=\"named\"/></TemplateInstanceControl>");
    EXPECT_TRUE(log.Contains("not-fully-instantiated.xml") || log.ErrorCount() > 0);
}

TEST_F(TemplateSwitchTest, AMissingTemplateOrFileGivesAControlWithoutAChild) {
    for (const std::string& xml :
         {"<TemplateInstanceControl>" + Pos(0, 0) + "<base templateName=\"absent\"/></TemplateInstanceControl>",
          "<TemplateInstanceControl>" + Pos(0, 0) +
              "<base templateName=\"absent\"/><changes name=\"b\"/>"
              "</TemplateInstanceControl>",
          "<XmlFileControl>" + Pos(0, 0) + "<file name=\"absent.xml\"/></XmlFileControl>"}) {
        LogCapture log;
        Build(xml);
        EXPECT_GE(log.ErrorCount(), 1);
        EXPECT_TRUE(Root<SingleChildControl>()->GetChild() == NULL);
        const int errors = log.ErrorCount();
        Click(0, 0);
        container->AcceptMessage(Message("KeyPress", "-27"));
        container->Update(0.1f);
        container->Draw();
        EXPECT_EQ(log.ErrorCount(), errors) << log.Text();
    }
}

TEST_F(TemplateSwitchTest, XmlFileControlReadsItsFileAtEveryBuild) {
    LogCapture log;
    testing_support::WriteFile(dir + "part.xml", RecorderXml("from file", 0, 0, 1, 1));
    const std::string xml = "<XmlFileControl>" + Pos(0, 0) + "<file name=\"part.xml\"/></XmlFileControl>";
    Build(xml);
    EXPECT_EQ(Made("from file"), 1);
    testing_support::WriteFile(dir + "part.xml", RecorderXml("edited", 0, 0, 1, 1));
    Build(xml);
    EXPECT_EQ(Made("edited"), 1);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(TemplateSwitchTest, SwitchRebuildsOnEveryChangeOfItsVariable) {
    LogCapture log;
    Build(Switch("global", "int", "1", State("1", "one") + State("2", "two") + State("3", "two") + Default("other")));
    EXPECT_EQ(Made("one"), 1);
    EXPECT_EQ(PermanentStorage::GetGlobalInt("screen"), 1);
    container->Update(0.1f);
    EXPECT_EQ(Made("one"), 1);

    PermanentStorage::SetGlobalInt("screen", 2);
    container->Update(0.1f);
    EXPECT_EQ(Made("two"), 1);
    EXPECT_EQ(Trace().back(), "two update 0.100000");
    // The same template for the new value still gives a new child.
    PermanentStorage::SetGlobalInt("screen", 3);
    container->Update(0.1f);
    EXPECT_EQ(Made("two"), 2);
    PermanentStorage::SetGlobalInt("screen", 9);
    container->Update(0.1f);
    EXPECT_EQ(Made("other"), 1);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(TemplateSwitchTest, LocalSwitchFollowsTheActivePlayer) {
    LogCapture log;
    Build(Switch("local", "int", "1", State("1", "one") + State("2", "two")));
    EXPECT_EQ(Made("two"), 1);
    PermanentStorage::SetActivePlayer("q");
    container->Update(0.1f);
    EXPECT_EQ(Made("one"), 1);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

TEST_F(TemplateSwitchTest, SwitchWithoutATemplateForTheNewValueKeepsItsChild) {
    Build(Switch("global", "bool", "false", State("false", "one") + State("true", "absent")));
    const ObjectWeakPointer<Control> child = Root<SingleChildControl>()->GetChild();
    PermanentStorage::SetGlobalBool("screen", true);
    LogCapture log;
    container->Update(0.1f);
    EXPECT_TRUE(log.Contains("Template absent not found"));
    EXPECT_EQ(Root<SingleChildControl>()->GetChild().AsObjectAddress(), child.AsObjectAddress());
    EXPECT_TRUE(child != NULL);
}

TEST_F(TemplateSwitchTest, MalformedSwitchesAreReported) {
    const struct {
        std::string xml;
        const char* check;
    } cases[] = {
        {Switch("global", "int", "1", State("1", "one") + State("1", "two")),
         "_templateNames.find(variableValue) == _templateNames.end()"},
        {Switch("global", "int", "1", State("1", "one") + Default("two") + Default("other")),
         "_defaultTemplateName.empty()"},
        {Switch("global", "int", "5", State("1", "one")), "!_defaultTemplateName.empty()"},
        {Switch("global", "float", "1", State("1", "one")), "false"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        Build(c.xml);
        EXPECT_TRUE(log.Contains(c.check)) << c.check << "\n" << log.Text();
    }
}

}  // namespace
}  // namespace flow_test
