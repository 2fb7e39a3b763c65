// The control framework inside the shell: the factories pause the frame timer, the main loop and
// the mouse record drive the root container, the shutdown drops the tree.

#include <deque>

#include "controls/ControlFramework.h"
#include "controls/FixedChildrenListControl.h"
#include "shell/Application.h"
#include "shell/ScriptServices.h"
#include "shell/TimePauser.h"
#include "shell/WindowInput.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/core/StorageFixture.h"

using namespace controls_test;
using testing_support::LogCapture;

namespace {

using Lines = std::vector<std::string>;

class QuietPorts : public ApplicationPorts {
public:
    bool PeekMessage(WindowMessage&) override { return false; }
    void WaitMessage(WindowMessage&) override {}
    void DispatchMessage(const WindowMessage&) override {}
    bool TestCooperativeLevel() override { return true; }
    bool HasPendingControllers() override { return false; }
    void MergeControllers() override {}
    void UpdateControllers(float) override {}
    void AddEffectObserver() override {}
    void UpdateSound(float) override {}
    void PauseSound() override {}
    void ResumeSound() override {}
    void BeginFrame() override {}
    void DrawPauseOverlay() override {}
    void WidenForCursor() override {}
    void ApplyCursor(CursorChoice, bool) override {}
    bool IsFullscreen() override { return false; }
    bool IsCursorInClient() override { return true; }
    void EndFrame() override {}
    void ResetCursorPicture() override {}
};

// Records whether the frame timer was paused, and how many pausers lived, while it was built.
class PauseProbe : public MouseTransparentControl {
public:
    PauseProbe(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
        : MouseTransparentControl(parent, xml) {
        Trace().push_back(std::string(Core::appInstance->GetTimer().IsPaused() ? "paused " : "running ") +
                          std::to_string(TimePauser::GetCounter()));
    }
    void Draw() override {}
    void Update(float) override {}
};

class ShellConnectionTest : public StorageFixture {
protected:
    void SetUp() override {
        StorageFixture::SetUp();
        LoadEmpty("P");
        PermanentStorage::SetGlobalBool("temp:ScreensaverMode", false);
        StartControlFramework();
        if (!ControlFactory::IsControlRegistered("Recorder")) {
            ControlFactory::RegisterControl("Recorder", ControlFactory::Make<Recorder>());
        }
        ControlFactory::RegisterControl("PauseProbe", ControlFactory::Make<PauseProbe>());
        _app = ObjectSmartPointer<Application>(new Application(std::make_unique<QuietPorts>()));
        MouseInput::Reset();
        Trace().clear();
    }
    void TearDown() override {
        ApplicationRoot::Release();
        _app = nullptr;
        _documents.clear();
        ControlFactory::UnregisterControl("PauseProbe");
        GetScriptServices() = ScriptServices();
        Trace().clear();
        StorageFixture::TearDown();
    }

    void Load(const std::string& text) {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
        GetScriptServices().setRootContainer(document->GetRoot());
        document->GetRoot()->CheckVisited();
        _documents.push_back(document);
    }

    ObjectSmartPointer<Application> _app;
    std::vector<ObjectSmartPointer<XmlDocument>> _documents;
};

const std::string PROBE = "<PauseProbe><position x=\"0\" y=\"0\"/></PauseProbe>";

TEST_F(ShellConnectionTest, FactoriesPauseTheFrameTimerWhileTheyBuild) {
    ASSERT_FALSE(_app->GetTimer().IsPaused());
    // The probe at the root, and one built inside a list's constructor: the pausers nest.
    Load(TreeXml(PROBE));
    Load(TreeXml(ListXml(PROBE)));
    EXPECT_EQ(Trace(), (Lines{"paused 1", "paused 2"}));
    EXPECT_FALSE(_app->GetTimer().IsPaused());
    EXPECT_EQ(TimePauser::GetCounter(), 0);

    Trace().clear();
    ObjectSmartPointer<XmlElement> element(new XmlElement("RecordingDefinition"));
    element->SetStringAttribute("name", "d");
    ControlFactory::RegisterDefinition("Probe", [this](const ObjectWeakPointer<XmlElement>& xml) {
        Trace().push_back(_app->GetTimer().IsPaused() ? "definition paused" : "definition running");
        return ObjectSmartPointer<Definition>(new RecordingDefinition(xml));
    });
    ObjectSmartPointer<XmlElement> probe(new XmlElement("Probe"));
    probe->SetStringAttribute("name", "d");
    ObjectSmartPointer<Definition> made = ControlFactory::CreateDefinition(probe);
    ControlFactory::UnregisterDefinition("Probe");
    EXPECT_EQ(Trace(), (Lines{"definition paused", "d defined"}));
    EXPECT_FALSE(_app->GetTimer().IsPaused());
}

TEST_F(ShellConnectionTest, MainLoopAndMouseRecordDriveTheRootContainer) {
    LogCapture log;
    Load(TreeXml(ListXml(RecorderXml("button", 10, 10, 50, 50))));
    Trace().clear();
    _app->Tick(false, false);
    ASSERT_GE(Trace().size(), 3u);
    EXPECT_EQ(Trace()[0].substr(0, 14), "button update ");
    EXPECT_EQ(Trace()[1], "button move 0,0 --");
    EXPECT_EQ(Trace()[2], "button draw");

    auto list = rootContainer->GetRoot().Cast<FixedChildrenListControl>();
    bool clicked = false;
    dynamic_cast<Recorder&>(*list->GetChildren()[0].Get()).onClick = [&clicked] { clicked = true; };
    MouseInput::x = 20;
    MouseInput::y = 20;
    ApplicationRoot::Get().MouseMove(20, 20);
    MouseInput::MouseDown();
    MouseInput::MouseDown();  // a second press without release reaches the tree once
    MouseInput::MouseUp();
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(rootContainer->IsLeftButtonDown());

    Trace().clear();
    ApplicationRoot::Release();
    EXPECT_TRUE(rootContainer == NULL);
    EXPECT_EQ(Trace(), (Lines{"button gone"}));
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
}

}  // namespace
