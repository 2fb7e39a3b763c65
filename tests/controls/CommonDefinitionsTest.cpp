// The small definitions, the common definition factory and definitions held in a control tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/CommonDefinitionClasses.h"
#include "content/CommonDefinitions.h"
#include "controls/ControlFactory.h"
#include "core/MessageReceiver.h"
#include "core/PermanentStorage.h"
#include "platform/audio/FakeAudioBackend.h"
#include "shell/SoundSystem.h"
#include "tests/content/ContentTestSupport.h"
#include "tests/core/CheckReports.h"
#include "tests/core/StorageFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using content_test::Parse;
using testing_support::LogCapture;
using Journal = std::vector<std::string>;

// Writes down every message it gets.
class RecordingReceiver : public MessageReceiver {
public:
    RecordingReceiver(const std::string& name, Journal& journal) : MessageReceiver(name), _journal(journal) {}
    void OnMessage(std::string message) override { _journal.push_back(GetReceiverName() + ": " + message); }

private:
    Journal& _journal;
};

void RegisterClasses() {
    RegisterControlFrameworkClasses();
    RegisterCommonDefinitionClasses();
}

const char* const SCREEN = R"(
<FixedChildrenListControl>
  <position x="10" y="20"/>
  <children>
    <CreationMessageDefinition>
      <construction receiver="screen" message="shown A"/>
      <destruction receiver="screen" message="gone A"/>
    </CreationMessageDefinition>
    <DefinitionContainerControl>
      <position x="0" y="0"/>
      <children>
        <CreationMessageDefinition>
          <construction receiver="screen" message="shown B"/>
          <destruction receiver="screen" message="gone B"/>
        </CreationMessageDefinition>
        <CreationMessageDefinition>
          <construction receiver="panel" message="shown C"/>
          <destruction receiver="panel" message="gone C"/>
        </CreationMessageDefinition>
      </children>
    </DefinitionContainerControl>
  </children>
</FixedChildrenListControl>)";

TEST(CommonDefinitionsTest, ControlTreeSendsConstructionAndDestructionMessagesInDocumentOrder) {
    RegisterClasses();
    LogCapture capture;
    Journal journal;
    ObjectSmartPointer<RecordingReceiver> screen(new RecordingReceiver("screen", journal));
    ObjectSmartPointer<RecordingReceiver> panel(new RecordingReceiver("panel", journal));
    {
        ObjectSmartPointer<XmlElement> xml = Parse(SCREEN);
        ObjectSmartPointer<Control> tree = ControlFactory::CreateControl(ObjectWeakPointer<Control>(), xml);
        ASSERT_TRUE(tree != NULL);
        EXPECT_EQ((Journal{"screen: shown A", "screen: shown B", "panel: shown C"}), journal);
        journal.clear();
        xml->CheckVisited();
        tree = nullptr;
        EXPECT_EQ((Journal{"screen: gone A", "screen: gone B", "panel: gone C"}), journal);
    }
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

TEST(CommonDefinitionsTest, ConstructionMessageGoesAfterBothChildrenAreRead) {
    LogCapture capture;
    Journal journal;
    ObjectSmartPointer<RecordingReceiver> screen(new RecordingReceiver("screen", journal));
    // The destruction part is missing: reported while reading, before anything is sent.
    ObjectSmartPointer<XmlElement> xml =
        Parse(R"(<CreationMessageDefinition><construction receiver="screen" message="hello"/></CreationMessageDefinition>)");
    {
        ObjectSmartPointer<Definition> definition = CreateCommonDefinition(xml);
        ASSERT_TRUE(definition != NULL);
        EXPECT_TRUE(check_reports::Reported(capture, "_object != NULL"));
        EXPECT_EQ((Journal{"screen: hello"}), journal);
    }
    EXPECT_EQ((Journal{"screen: hello"}), journal);  // nothing to send when it goes
}

TEST(CommonDefinitionsTest, FactoryKnowsItsSevenNamesOnly) {
    LogCapture capture;
    for (const char* name : {"StaticTextureControl", "Resources", "template", "base"}) {
        ObjectSmartPointer<XmlElement> xml(new XmlElement(name));
        EXPECT_TRUE(CreateCommonDefinition(xml) == NULL) << name;
    }
    EXPECT_TRUE(CreateCommonDefinition(ObjectWeakPointer<XmlElement>()) == NULL);
    EXPECT_EQ(0, capture.ErrorCount());
}

class VariableDefinitionsTest : public StorageFixture {};

TEST_F(VariableDefinitionsTest, DefUndefOverwritesAndRemovesUndefRemovesWhenItGoes) {
    LoadEmpty();
    LogCapture capture;
    PermanentStorage::SetLocalString("mode", "old");
    {
        ObjectSmartPointer<Definition> def = CreateCommonDefinition(
            Parse(R"(<DefUndefVariableDefinition><variable name="mode" value="shop"/></DefUndefVariableDefinition>)"));
        EXPECT_EQ("shop", PermanentStorage::GetLocalString("mode"));
    }
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("mode"));

    {
        ObjectSmartPointer<Definition> undef = CreateCommonDefinition(
            Parse(R"(<UndefVariableDefinition><variable name="hint"/></UndefVariableDefinition>)"));
        PermanentStorage::SetLocalString("hint", "set by someone else");
        EXPECT_TRUE(PermanentStorage::IsLocalNameDefined("hint"));
    }
    EXPECT_FALSE(PermanentStorage::IsLocalNameDefined("hint"));
    EXPECT_EQ(0, capture.ErrorCount()) << capture.Text();
}

TEST(PlaySampleDefinitionTest, PlaysOnceWhenMadeAndNothingWhenGone) {
    FakeAudioBackend fake;
    ScopedAudioBackend scope{fake};
    int window = 0;
    Sound::soundSystem.Init(&window);
    Sound::soundSystem.AddSample("click", "click.wav", 4);
    fake.ClearCalls();
    {
        ObjectSmartPointer<Definition> play = CreateCommonDefinition(Parse(R"(<PlaySampleDefinition name="click"/>)"));
        EXPECT_EQ(1u, fake.Calls().size());
        ObjectSmartPointer<Definition> silent = CreateCommonDefinition(Parse(R"(<PlaySampleDefinition name="null"/>)"));
        EXPECT_EQ(1u, fake.Calls().size());
    }
    EXPECT_EQ(1u, fake.Calls().size());
    Sound::soundSystem.Shutdown();
}

TEST(HelpTimesTest, ReshowMustLieBetweenZeroAndInitial) {
    struct Case {
        const char* xml;
        bool reported;
    };
    const Case cases[] = {
        {R"(<help initial="1.5" reshow="0.5"/>)", false},
        {R"(<help initial="1.5" reshow="1.5"/>)", false},
        {R"(<help initial="1.0" reshow="0.0"/>)", false},
        {R"(<help initial="1.0" reshow="2.0"/>)", true},
        {R"(<help initial="1.0" reshow="-0.5"/>)", true},
    };
    for (const Case& c : cases) {
        LogCapture capture;
        ObjectSmartPointer<HelpTimes> times(new HelpTimes(Parse(c.xml)));
        EXPECT_EQ(c.reported, check_reports::Reported(capture, "0.0f <= reshowTime && reshowTime <= initialTime"))
            << c.xml;
    }
    ObjectSmartPointer<HelpTimes> times(new HelpTimes(Parse(R"(<help initial="2.5" reshow="0.5"/>)")));
    EXPECT_FLOAT_EQ(2.5f, times->GetInitialTime());
    EXPECT_FLOAT_EQ(0.5f, times->GetReshowTime());
}

}  // namespace
