// The demo controls screen in the game program, headless: V on the menu opens it; replayed input
// types into the edit box, clicks the check box and drags the slider. The log holds the edit box's
// answer, the saved storage the new values, and the progress bar's hint band matches its reference.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::ProgramPath;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The text of one element "Variable" of the name inside the storage part that starts with opening.
std::string StoredVariable(const std::string& storage, const std::string& opening, const std::string& name) {
    const size_t part = storage.find(opening);
    if (part == std::string::npos) return "";
    const size_t end = storage.find("</", part);
    const size_t at = storage.find("<Variable name=\"" + name + "\"", part);
    if (at == std::string::npos || at > end) return "";
    return storage.substr(at, storage.find("/>", at) + 2 - at);
}

TEST(ControlsScreenRunTest, TypedTextClickAndDragAreStoredAndTheHintBandFlashes) {
    if (!testing_support::FileExists(ProgramPath())) GTEST_SKIP() << "not built: " << ProgramPath();
    const std::string root = testing_support::MakeTempDir("controls");
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    // The developer menu at once, as the game shows it on F12 when "dev" is true.
    testing_support::WriteFile(data + "start0.lua", "dofile(\"menu.lua\")\n");
    testing_support::WriteFile(data + "start.lua", "ShowMenu()\n");
    const std::string shot = root + "controls.png";
    // Frame 80 catches the hint band near the peak of its flash.
    ASSERT_EQ(0, testing_support::RunProgram(data, root,
                                             {"--fixed-step", "20", "--frames", "80", "--events",
                                              data + "screens/controls_events.txt", "--screenshot", shot}));
    const std::string home = root + "Tornvik Entertainment/Marivel/";
    const std::string log = testing_support::ReadFile(home + "log.htm");
    EXPECT_EQ(1, Count(log, "Edit box value: Acb")) << log;
    EXPECT_EQ(0, Count(log, "ERROR")) << log;

    const std::string storage = testing_support::ReadFile(home + "Storage.xml");
    EXPECT_EQ("<Variable name=\"demoSoundOn\" type=\"bool\" value=\"true\"/>",
              StoredVariable(storage, "<Player name=\"Player\">", "demoSoundOn"))
        << storage;
    // The button dragged 60 units right from the middle: 162 of 204 positions.
    const std::string volume = "<Variable name=\"demoVolume\" type=\"float\" value=\"7.941176e-001/0x3F4B4B4B\"/>";
    EXPECT_EQ(volume, StoredVariable(storage, "<Globals>", "demoVolume")) << storage;
    EXPECT_EQ(volume, StoredVariable(storage, "<Player name=\"Player\">", "demoVolume")) << storage;

    // The progress bar spans window x 280..519, y 406..429.
    const testing_support::ScreenComparison band = testing_support::CompareWithReference(
        shot, MARIVEL_SOURCE_DIR "/tests/widgets/fixtures/controls-progress.png", 12, 20,
        testing_support::PixelRegion{276, 402, 248, 32});
    EXPECT_TRUE(band.matches) << band.report;
}

}  // namespace
