// Hostile tank records in a player's profile, through the game program headless: the main menu's
// Aquarium, then the aquarium's Shop. Whatever the records hold, the game ends well, both screens
// open (the shop's panel looks as it does over a sound tank), each broken record is named once in
// the log and kept aside in the profile, the sound records stay in the tank, and the other
// player's values are written back byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "aquarium/TankRecords.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::CountOf;
using testing_support::ReadFile;
using testing_support::WriteFile;

// Window pixels: the menu's Aquarium button, then the aquarium's Shop button.
const char* const EVENTS =
    "40 move 400 335\n41 move 401 335\n43 down\n44 up\n"
    "80 move 400 572\n81 move 401 572\n83 down\n84 up\n";
const int FRAMES = 110;
// The shop's bar above the tank and its panel below it.
const testing_support::PixelRegion SHOP_PARTS[] = {{0, 0, 800, 48}, {0, 400, 800, 200}};

// The text of the player's element in a stored profile.
std::string PlayerText(const std::string& stored, const std::string& name) {
    const std::size_t at = stored.find("<Player name=\"" + name + "\">");
    if (at == std::string::npos) return std::string();
    return stored.substr(at, stored.find("</Player>", at) - at);
}

// The text of one variable of a player, empty when missing.
std::string VariableText(const std::string& player, const std::string& name) {
    const std::size_t at = player.find("<Variable name=\"" + name + "\"");
    if (at == std::string::npos) return std::string();
    const std::size_t lineEnd = player.find('\n', at);
    if (player.compare(lineEnd - 2, 2, "/>") == 0 || player.compare(lineEnd - 3, 3, "/>\r") == 0) {
        return player.substr(at, player.find("/>", at) + 2 - at);
    }
    const std::string closing = "</Variable>";
    return player.substr(at, player.find(closing, at) + closing.size() - at);
}

// The text with the value of the first attribute of that name after the mark replaced.
std::string WithValue(std::string text, const std::string& mark, const std::string& attribute,
                      const std::string& value) {
    const std::size_t at = text.find(" " + attribute + "=\"", text.find(mark)) + attribute.size() + 3;
    text.replace(at, text.find('"', at) - at, value);
    return text;
}

class TankRecordRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(testing_support::ProgramPath())) {
            GTEST_SKIP() << "not built: " << testing_support::ProgramPath();
        }
        root = testing_support::MakeTempDir("records");
        data = root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
        WriteFile(data + "settings.ini",
                  "path=.\nuseAppData=true\nrecreateLog=true\ndev=false\nadvertisement=false\nadVisible=true\n");
        WriteFile(root + "events.txt", EVENTS);
        // The sound profile, written once by the game itself, is where every hostile one starts.
        ASSERT_EQ(0, Run("sound", ReadFile(testing_support::FixturePath("aquarium/fixtures/two-players.xml"))));
        sound = Stored("sound");
        ASSERT_NE(std::string(), PlayerText(sound, "Bo"));
        plant = Between(sound, "<ExtendedWaterPlantControl", "</ExtendedWaterPlantControl>");
        fish = Between(sound, "<FishControl>", "</FishControl>");
        ASSERT_FALSE(plant.empty() || fish.empty()) << sound;
    }
    void TearDown() override {
        std::error_code ignored;
        if (!root.empty()) std::filesystem::remove_all(root, ignored);
    }

    static std::string Between(const std::string& text, const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        if (at == std::string::npos) return std::string();
        return text.substr(at, text.find(to, at) + to.size() - at);
    }
    std::string Home(const std::string& name) { return root + name + "/"; }
    std::string Profile(const std::string& name) { return Home(name) + "Tornvik Entertainment/Marivel/"; }
    std::string Stored(const std::string& name) { return ReadFile(Profile(name) + "Storage.xml"); }
    std::string Log(const std::string& name) { return ReadFile(Profile(name) + "log.htm"); }
    int Run(const std::string& name, const std::string& storage) {
        std::filesystem::create_directories(Profile(name));
        WriteFile(Profile(name) + "Storage.xml", storage);
        return testing_support::RunProgram(
            data, Home(name),
            {"--fixed-step", "20", "--seed", "5", "--frames", std::to_string(FRAMES), "--events", root + "events.txt",
             "--screenshot", root + name + ".png"});
    }
    // The sound profile with Ann's tank record replaced by these records.
    std::string WithAnnsTank(const std::vector<std::string>& records) {
        const std::string ann = PlayerText(sound, "Ann");
        const std::string state = Between(ann, "<ZOrderControlState>", "</ZOrderControlState>");
        std::string hostile = "<ZOrderControlState>";
        for (const std::string& r : records) hostile += r;
        hostile += "</ZOrderControlState>";
        std::string changed = ann;
        changed.replace(changed.find(state), state.size(), hostile);
        std::string stored = sound;
        stored.replace(stored.find(ann), ann.size(), changed);
        return stored;
    }
    // The run ended well, the shop opened as over the sound tank and Bo is written back unchanged.
    void ExpectSoundRun(const std::string& name) {
        for (const testing_support::PixelRegion& part : SHOP_PARTS) {
            const testing_support::ScreenComparison shop =
                testing_support::ComparePictures(root + name + ".png", root + "sound.png", 40, 400, part);
            EXPECT_TRUE(shop.matches) << name << ": the shop did not open as it does over a sound tank: " << shop.report;
        }
        EXPECT_EQ(PlayerText(sound, "Bo"), PlayerText(Stored(name), "Bo")) << name;
        const std::string log = Log(name);
        EXPECT_EQ(std::string::npos, log.find("script")) << log;
        EXPECT_EQ(std::string::npos, log.find("Refused access")) << log;
    }

    std::string root;
    std::string data;
    std::string sound;
    std::string plant;
    std::string fish;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST_F(TankRecordRunTest, EveryBrokenRecordIsNamedOnceAndKeptAsideWhileTheRestOfTheTankShows) {
    const std::string nested = "<a><b><c><d><e/></d></c></b></a>";
    // What each record is, what makes it broken, and a piece of the report that names it.
    const struct {
        const char* name;
        std::string record;
        const char* told;
    } cases[] = {
        {"a tank in the tank",
         "<ZOrderControl minZ=\"0.3\" minY=\"20\" maxY=\"330\" minX=\"20\" maxX=\"780\"><position x=\"0\" y=\"0\"/>"
         "<messageReceiver name=\"1 Aquarium bottom\"/></ZOrderControl>",
         "<ZOrderControl> is no tank item"},
        {"unknown kind", "<Shark x=\"1\"/>", "<Shark> is no tank item"},
        {"a screen control", "<MoneyControl><position x=\"0\" y=\"0\"/></MoneyControl>", "<MoneyControl> is no tank item"},
        {"plant without shopItem", Replaced(plant, "<shopItem tankItemId=\"Weed\"/>", ""), "<shopItem> is missing"},
        {"plant without icon", Replaced(plant, "<icon textureId=\"home_icon_weed\"/>", ""), "<icon> is missing"},
        {"plant made under the mouse", Replaced(plant, "<disallowed", "<createInDragging x=\"1\" y=\"1\" replyTo=\"x\"/><disallowed"),
         "holds <createInDragging>"},
        {"a 2000 x 2000 mesh", Replaced(plant, "meshWidth=\"2\" meshHeight=\"6\"", "meshWidth=\"2000\" meshHeight=\"2000\""),
         "'meshWidth' of <mesh> is out of range"},
        {"plant far off the floor", WithValue(plant, "<position", "x", "900000"), "'x' of <position> is 900000, out of range"},
        {"fish entering", Replaced(fish, "stateId=\"1\"", "stateId=\"17\""), "'stateId' 17 holds a state"},
        {"fish sold", Replaced(fish, "stateId=\"1\"", "stateId=\"65\""), "'stateId' 65 holds a state"},
        {"NaN position", WithValue(fish, "<state", "x", "nan/0x7FC00000"), "is nan/0x7FC00000, no finite number"},
        {"1e30 position", WithValue(fish, "<state", "x", "1.000000e+030/0x7149F2CA"),
         "is 1.000000e+030/0x7149F2CA, out of range"},
        {"negative frame", WithValue(fish, "<state", "nFrame", "-3"), "'nFrame' of <state> is below 0"},
        {"huge count", Replaced(fish, "minAction=\"12\"", "minAction=\"2000000000\""), "'minAction' of <fishInfo> is 2000000000"},
        {"depth out of range", WithValue(fish, "<state", "z", "9000"), "'z' of <position> is out of range"},
        {"5 MB string", Replaced(fish, "templateId=\"Neon\"", "templateId=\"" + std::string(5 << 20, 'N') + "\""),
         "'templateId' of <fishInfo> is 5242880 bytes long"},
        {"wrong type", Replaced(fish, "stateId=\"1\"", "stateId=\"one\""), "cannot be built"},
        {"unknown pictures", Replaced(fish, "side=\"fish_neon_side\"", "side=\"no_such_fish\""), "cannot be built"},
        {"nested without end", Replaced(fish, "</FishControl>", nested + "</FishControl>"), "nested deeper than"},
    };
    // The sound plant and fish first, a copy of the fish (two records alike are two fish), every
    // broken one, then more neons than the tank's limit of swimming fish allows (each is a school
    // of four).
    std::vector<std::string> records = {plant, fish, fish};
    for (const auto& c : cases) records.push_back(c.record);
    const int kept = TankLimits::MAX_FISH / 4;
    const int past = 30;
    for (int i = 2; i < kept + past; ++i) records.push_back(fish);
    ASSERT_EQ(0, Run("broken", WithAnnsTank(records)));
    ExpectSoundRun("broken");

    const std::string log = Log("broken");
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const std::string index = "record " + std::to_string(i + 4) + " ";
        EXPECT_EQ(1, CountOf(log, "Tank '1 Aquarium bottom': " + index)) << cases[i].name << "\n" << log.substr(0, 20000);
        const std::size_t at = log.find("Tank '1 Aquarium bottom': " + index);
        const std::size_t end = log.find('\n', at);
        const std::string line = at == std::string::npos ? std::string() : log.substr(at, end - at);
        std::string told = cases[i].told;
        for (std::size_t p = told.find('<'); p != std::string::npos; p = told.find('<', p)) told.replace(p, 1, "&lt;");
        for (std::size_t p = told.find('>'); p != std::string::npos; p = told.find('>', p)) told.replace(p, 1, "&gt;");
        EXPECT_TRUE(line.find(cases[i].told) != std::string::npos || line.find(told) != std::string::npos)
            << cases[i].name << ": " << line;
    }
    EXPECT_EQ(1, CountOf(log, std::to_string(past) + " records past its limits (" +
                                   std::to_string(TankLimits::MAX_FISH) + " fish)"))
        << log.substr(0, 20000);
    EXPECT_LT(log.size(), 200000u) << "a 5 MB value went into the log";

    const std::string ann = PlayerText(Stored("broken"), "Ann");
    const std::string tank = Between(ann, "<ZOrderControlState>", "</ZOrderControlState>");
    EXPECT_EQ(1, CountOf(tank, "<ExtendedWaterPlantControl"));
    EXPECT_EQ(kept, CountOf(tank, "<FishControl>"));
    const std::string aside = Between(ann, "<BrokenTankRecords>", "</BrokenTankRecords>");
    EXPECT_EQ(static_cast<int>(sizeof cases / sizeof cases[0]) + past, CountOf(aside, "\n\t\t\t\t<") - CountOf(aside, "\n\t\t\t\t</"))
        << "every record set aside is kept";
    EXPECT_EQ(1, CountOf(aside, std::string(5 << 20, 'N')));
    EXPECT_EQ(1, CountOf(aside, "<ZOrderControl "));
}

// A tank value of another type, its aside key of another type, and counts of goods below 0 and
// far above any real one: each is kept under its name + " broken", named once, and mended.
TEST_F(TankRecordRunTest, ValuesOfTheWrongTypeAndCountsOutOfRangeAreKeptAsideAndMended) {
    std::string stored = sound;
    const std::string ann = PlayerText(sound, "Ann");
    std::string changed = ann;
    const std::string tank = VariableText(ann, "1 Aquarium bottom");
    ASSERT_FALSE(tank.empty()) << ann;
    changed.replace(changed.find(tank), tank.size(), "<Variable name=\"1 Aquarium bottom\" type=\"int\" value=\"5\"/>");
    changed = Replaced(changed, "<Variable name=\"Neon amount\" type=\"int\" value=\"1\"/>",
                       "<Variable name=\"Neon amount\" type=\"int\" value=\"-5\"/>");
    changed = Replaced(changed, "<Variable name=\"Goldfish amount\" type=\"int\" value=\"0\"/>",
                       "<Variable name=\"1 Aquarium bottom broken\" type=\"string\" value=\"old\"/>"
                       "<Variable name=\"Goldfish amount\" type=\"int\" value=\"2147483647\"/>");
    stored.replace(stored.find(ann), ann.size(), changed);
    ASSERT_EQ(0, Run("types", stored));
    ExpectSoundRun("types");
    const std::string log = Log("types");
    EXPECT_EQ(1, CountOf(log, "its stored value is no tank record")) << log;
    EXPECT_EQ(1, CountOf(log, "Stored count 'Neon amount' is -5")) << log;
    EXPECT_EQ(1, CountOf(log, "Stored count 'Goldfish amount' is 2147483647")) << log;
    const std::string after = PlayerText(Stored("types"), "Ann");
    EXPECT_NE(std::string::npos, after.find("<Variable name=\"1 Aquarium bottom\" type=\"int\" value=\"5\"/>")) << after;
    EXPECT_NE(std::string::npos, after.find("<Variable name=\"1 Aquarium bottom broken\" type=\"string\" value=\"old\"/>"))
        << after;
    EXPECT_NE(std::string::npos, after.find("<Variable name=\"Neon amount broken\" type=\"int\" value=\"-5\"/>")) << after;
    EXPECT_NE(std::string::npos, after.find("<Variable name=\"Neon amount\" type=\"int\" value=\"0\"/>")) << after;
    EXPECT_NE(std::string::npos, after.find("<Variable name=\"Goldfish amount\" type=\"int\" value=\"10000\"/>")) << after;
    EXPECT_NE(std::string::npos, after.find("<Variable name=\"1 Aquarium bottom\" type=\"xml\">")) << after;
}

}  // namespace
