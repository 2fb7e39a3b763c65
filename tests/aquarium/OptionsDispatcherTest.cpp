// The options dialog: arming and reporting, the settings put back by cancel, and the volumes
// applied on the frame after a change.

#include <gtest/gtest.h>

#include "aquarium/OptionsDispatcherControl.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "shell/SoundSystem.h"
#include "tests/aquarium/AquariumTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace aquarium_test;

namespace {

class OptionsDispatcherTest : public AquariumTest {
protected:
    void SetUp() override {
        AquariumTest::SetUp();
        PermanentStorage::SetGlobalBool("temp:ScreensaverMode", false);
        PermanentStorage::SetGlobalBool("isFullScreen", false);
        PermanentStorage::SetGlobalBool("isCursorCustom", true);
        PermanentStorage::SetGlobalFloat("Sound Volume", 0.5f);
        PermanentStorage::SetGlobalFloat("Music Volume", 0.25f);
        AddReceiver("Options mover");
        AddReceiver("Owner");
        BuildScreen("<OptionsDispatcherControl><position x=\"0\" y=\"0\"/>"
                    "<messageReceiver name=\"Options\"/></OptionsDispatcherControl>");
    }
    void Say(const std::string& message) { SendMessage("Options", message); }
    void Open() {
        Say("report finish to Owner");
        Say("set finish message options closed");
        Say("Show dialog");
    }
};

TEST_F(OptionsDispatcherTest, FirstFrameAppliesBothVolumesRoundingHalvesUp) {
    PermanentStorage::SetGlobalFloat("Sound Volume", 0.125f);
    PermanentStorage::SetGlobalFloat("Music Volume", 1.0f);
    Frame(0.02f);
    EXPECT_EQ(13, Sound::soundSystem.GetSoundVolume());
    EXPECT_EQ(100, Sound::soundSystem.GetMusicVolume());
}

TEST_F(OptionsDispatcherTest, CancelPutsEverySettingBackAndTheVolumeFollowsNextFrame) {
    Frame(0.02f);
    testing_support::LogCapture log;
    Open();
    EXPECT_EQ((std::vector<std::string>{"Options mover < report arrival to null",
                                        "Options mover < set arrival message null", "Options mover < move to in"}),
              TraceOf("Options mover"));
    // The widgets write the variables while the dialog is open.
    PermanentStorage::SetLocalFloat("Sound Volume", 0.9f);
    PermanentStorage::SetLocalBool("isCursorCustom", false);
    PermanentStorage::SetLocalBool("Show game field hints", false);
    PermanentStorage::SetLocalBool("Show shop tips", false);
    Frame(0.02f);
    EXPECT_EQ(90, Sound::soundSystem.GetSoundVolume());
    Say("Options cancel");
    Frame(0.02f);
    EXPECT_EQ(50, Sound::soundSystem.GetSoundVolume());
    EXPECT_FLOAT_EQ(0.5f, PermanentStorage::GetLocalFloat("Sound Volume"));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("isCursorCustom"));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("Show game field hints"));
    EXPECT_TRUE(PermanentStorage::GetLocalBool("Show shop tips"));
    EXPECT_EQ((std::vector<std::string>{"Owner < options closed"}), TraceOf("Owner"));
    EXPECT_EQ("Options mover < move to out", TraceOf("Options mover").back());
    EXPECT_EQ(0, log.ErrorCount()) << log.Text();
}

TEST_F(OptionsDispatcherTest, CancelPutsBackEachOfTheSixSettingsWhicheverValueItHad) {
    const char* const bools[] = {"isFullScreen", "isCursorCustom", "Show game field hints", "Show shop tips"};
    for (const bool start : {true, false}) {
        for (const char* name : bools) PermanentStorage::SetLocalBool(name, start);
        PermanentStorage::SetLocalFloat("Sound Volume", start ? 0.25f : 0.75f);
        PermanentStorage::SetLocalFloat("Music Volume", start ? 0.5f : 0.125f);
        TraceOf("Owner");
        Open();
        for (const char* name : bools) PermanentStorage::SetLocalBool(name, !start);
        PermanentStorage::SetLocalFloat("Sound Volume", 1.0f);
        PermanentStorage::SetLocalFloat("Music Volume", 0.0f);
        Say("Options cancel");
        for (const char* name : bools) EXPECT_EQ(start, PermanentStorage::GetLocalBool(name)) << name << " " << start;
        EXPECT_FLOAT_EQ(start ? 0.25f : 0.75f, PermanentStorage::GetLocalFloat("Sound Volume")) << start;
        EXPECT_FLOAT_EQ(start ? 0.5f : 0.125f, PermanentStorage::GetLocalFloat("Music Volume")) << start;
    }
}

TEST_F(OptionsDispatcherTest, OkKeepsTheSettingsAndDisarms) {
    Open();
    PermanentStorage::SetLocalFloat("Music Volume", 0.75f);
    Say("Options ok");
    Frame(0.02f);
    EXPECT_EQ(75, Sound::soundSystem.GetMusicVolume());
    EXPECT_EQ(1u, TraceOf("Owner").size());
    testing_support::LogCapture log;
    Say("Show dialog");  // not armed again
    EXPECT_EQ(2, log.ErrorCount()) << log.Text();
}

TEST_F(OptionsDispatcherTest, ProtocolErrorsAreReported) {
    struct Case {
        const char* name;
        std::vector<std::string> messages;
        int errors;
    };
    const Case cases[] = {
        {"ok while closed", {"Options ok"}, 1},
        {"arming twice", {"report finish to Owner", "report finish to Owner"}, 1},
        {"empty receiver", {"report finish to "}, 1},
        {"unknown message", {"Options maybe"}, 1},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        testing_support::LogCapture log;
        for (const std::string& m : c.messages) Say(m);
        EXPECT_EQ(c.errors, log.ErrorCount()) << c.name << "\n" << log.Text();
    }
}

}  // namespace
