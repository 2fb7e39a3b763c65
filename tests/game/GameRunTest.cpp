// The whole game as a player plays it, headless, over one profile folder and several starts of the
// program: the first start asks for a name, level 1 is won by scripted swaps
// and its statistics clicked through, the money goes to the aquarium, a plant and a fish are
// bought in the shop, and the next start finds them, the money and the next level; then the
// screensaver shows the player's tank and the plant is sold through the basket. Each run checks
// Storage.xml, most their last frame against a reference picture, and every log is free of
// errors. Apart: the menu's dialogs, F12 and the developer menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::Click;
using testing_support::CompareWithReference;
using testing_support::FixturePath;
using testing_support::ReadFile;
using testing_support::ScreenComparison;

// The game folder and the profile home shared by the runs of this process.
struct Game {
    std::string root;
    std::string data;
    bool played = false;
};

Game& TheGame() {
    static Game game;
    if (game.root.empty()) {
        game.root = testing_support::MakeTempDir("game");
        game.data = game.root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", game.data, std::filesystem::copy_options::recursive);
    }
    return game;
}

std::string Profile() { return TheGame().root + "Tornvik Entertainment/Marivel/"; }
std::string Stored() { return ReadFile(Profile() + "Storage.xml"); }

// The value of a variable of the player (or of the globals) in the stored text, empty when missing.
std::string StoredValue(const std::string& stored, const std::string& name) {
    const std::size_t at = stored.find("<Variable name=\"" + name + "\" ");
    if (at == std::string::npos) return std::string();
    const std::size_t value = stored.find(" value=\"", at);
    if (value == std::string::npos) return std::string();
    const std::size_t from = value + 8;
    return stored.substr(from, stored.find('"', from) - from);
}

int StoredInt(const std::string& stored, const std::string& name) {
    const std::string value = StoredValue(stored, name);
    return value.empty() ? -1 : std::stoi(value);
}

// The frame of a script's last event.
int LastFrame(const std::string& script) {
    int last = 0;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        last = std::max(last, std::stoi(line));
    }
    return last;
}

// The program's arguments for a seeded run at a fixed step: the first ones, then the frames, the
// scripted events and the screenshot.
std::vector<std::string> RunArguments(const std::vector<std::string>& first, int frames, const std::string& events,
                                      const std::string& shot) {
    std::vector<std::string> arguments = first;
    for (const std::string& a : {std::string("--fixed-step"), std::string("20"), std::string("--seed"), std::string("5"),
                                 std::string("--frames"), std::to_string(frames), std::string("--events"), events,
                                 std::string("--screenshot"), shot}) {
        arguments.push_back(a);
    }
    return arguments;
}

// Runs the game on the shared profile with 20 ms frames and a fixed seed and gives the last frame's picture; the
// log of the run must hold no error.
std::string RunGame(const std::string& name, const std::string& events, int frames,
                const std::vector<std::string>& first = {}) {
    Game& game = TheGame();
    const std::string eventsPath = game.root + name + ".txt";
    const std::string shot = game.root + name + ".png";
    testing_support::WriteFile(eventsPath, events);
    EXPECT_EQ(0, testing_support::RunProgram(game.data, game.root, RunArguments(first, frames, eventsPath, shot)))
        << name;
    const std::string log = ReadFile(Profile() + "log.htm");
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << name << "\n" << log;
    return shot;
}

void ExpectLooksLike(const std::string& shot, const std::string& reference) {
    const ScreenComparison comparison = CompareWithReference(shot, FixturePath("game/fixtures/" + reference), 16, 600);
    EXPECT_TRUE(comparison.matches) << reference << ": " << comparison.report;
}

// Window pixels of the buttons: the main menu's column, the aquarium's bottom row.
const int MENU_X = 400;
const int MENU_PLAY_Y = 275;
const int MENU_AQUARIUM_Y = 335;
const int MENU_PLAYERS_Y = 395;
const int MENU_OPTIONS_Y = 455;
const int MENU_QUIT_Y = 515;
const int PANEL_Y = 572;
const int PANEL_MENU_X = 130;
const int PANEL_SHOP_X = 400;
// The neon's buy arrow on the shop's panel.
const int NEON_BUY_X = 370;
const int NEON_BUY_Y = 229;
// The compressor's and the thermoregulator's icons in the shop panel.
const int ICON_Y = 78;
const int COMPRESSOR_X = 596;
const int THERMOREGULATOR_X = 638;

// Every run needs the game program.
class GameRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(testing_support::ProgramPath())) {
            GTEST_SKIP() << "not built: " << testing_support::ProgramPath();
        }
    }
};

TEST_F(GameRunTest, FirstStartWinsLevelOneBuysAPlantAndAFishAndFindsItAllAgain) {
    // The first start: the name panel is open over the menu; the name and Enter make the player,
    // who replaces the stand-in of the seeded storage.
    ExpectLooksLike(RunGame("first", "60 text Ann\n62 key 13\n", 110), "menu-first.png");
    std::string stored = Stored();
    EXPECT_EQ(1, testing_support::CountOf(stored, "<Player name="));
    EXPECT_NE(std::string::npos, stored.find("<ActivePlayer name=\"Ann\"/>")) << stored;
    EXPECT_EQ("false", StoredValue(stored, "First start"));
    EXPECT_EQ(0, StoredInt(stored, "Money"));

    // Play: the first hint is sent away with a click, and eight swaps win the level (a click before
    // each sends an open hint away; tools/make-level-script.py found them). On the statistics a
    // click counts every figure up at once and the next goes to the aquarium, where the money
    // counts up to what the level brought.
    const std::string moves = ReadFile(FixturePath("game/fixtures/level1_win.txt"));
    const int banner = LastFrame(moves) + 320;
    ExpectLooksLike(RunGame("level", moves + Click(banner, 400, 355) + Click(banner + 20, 400, 355), banner + 120),
                    "aquarium-won.png");
    stored = Stored();
    const int won = StoredInt(stored, "Level money");
    EXPECT_GE(won, 80);
    EXPECT_EQ(won, StoredInt(stored, "Money"));
    EXPECT_EQ(2, StoredInt(stored, "LevelNumber"));

    // The shop: the weed's icon is carried onto the sand and bought for 20, then the neon's up
    // arrow buys one for 60.
    std::string carry = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y);
    carry += "150 move 66 122\n151 move 67 122\n153 down\n155 move 80 160\n157 move 120 220\n159 move 180 300\n"
             "161 move 240 380\n163 move 280 430\n165 move 300 450\n167 move 301 450\n170 up\n";
    carry += Click(200, NEON_BUY_X, NEON_BUY_Y);
    ExpectLooksLike(RunGame("shop", carry, 300), "shop-bought.png");
    stored = Stored();
    EXPECT_EQ(won - 80, StoredInt(stored, "Money"));
    EXPECT_EQ(1, StoredInt(stored, "Weed amount"));
    EXPECT_EQ(20, StoredInt(stored, "1 beauty level"));
    EXPECT_EQ(1, StoredInt(stored, "Neon amount"));
    EXPECT_EQ(60, StoredInt(stored, "1 fish level"));
    const std::size_t tank = stored.find("<Variable name=\"1 Aquarium bottom\" type=\"xml\">");
    ASSERT_NE(std::string::npos, tank) << stored;
    EXPECT_NE(std::string::npos, stored.find("<shopItem tankItemId=\"Weed\"/>", tank)) << stored;
    EXPECT_NE(std::string::npos, stored.find("<fishInfo templateId=\"Neon\"", tank)) << stored;

    // The next start: the aquarium holds the plant, the money and the next level.
    ExpectLooksLike(RunGame("again", Click(40, MENU_X, MENU_AQUARIUM_Y), 100), "aquarium-again.png");
    // The next level: its own board, and the field's panel shows its number.
    ExpectLooksLike(RunGame("next", Click(40, MENU_X, MENU_PLAY_Y), 220), "level-two.png");
    // Quit in the menu ends the game (long before the last frame) with everything kept.
    RunGame("quit", Click(60, MENU_X, MENU_QUIT_Y), 100000);
    EXPECT_NE(std::string::npos, ReadFile(Profile() + "log.htm").find("The player quits"));
    stored = Stored();
    EXPECT_EQ(won - 80, StoredInt(stored, "Money"));
    EXPECT_EQ(2, StoredInt(stored, "LevelNumber"));
    EXPECT_EQ(1, StoredInt(stored, "Weed amount"));
    EXPECT_EQ(1, StoredInt(stored, "Neon amount"));
    TheGame().played = true;
}

TEST_F(GameRunTest, ScreensaverShowsThePlayersTankAndKeepsTheProfile) {
    if (!TheGame().played) GTEST_SKIP() << "the play-through did not run";
    const std::string before = Stored();
    const std::string shot = RunGame("screensaver", "", 60, {"/screensaver"});
    ExpectLooksLike(shot, "screensaver.png");
    // The bought weed on the sand and the neons swimming, closely (the full screen is 1024 x 768
    // here).
    const testing_support::PixelRegion weed = {360, 490, 50, 170};
    const testing_support::PixelRegion neons = {280, 140, 90, 50};
    for (const testing_support::PixelRegion& region : {weed, neons}) {
        const ScreenComparison close =
            CompareWithReference(shot, FixturePath("game/fixtures/screensaver.png"), 8, 20, region);
        EXPECT_TRUE(close.matches) << close.report;
    }
    EXPECT_EQ(before, Stored());
}

// Last on the played profile: the weed is carried into the basket and sold after the question.
TEST_F(GameRunTest, ThePlantIsSoldThroughTheBasket) {
    if (!TheGame().played) GTEST_SKIP() << "the play-through did not run";
    const int money = StoredInt(Stored(), "Money");
    std::string events = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y);
    events += "150 move 300 480\n151 move 301 480\n153 down\n155 move 350 480\n157 move 450 490\n159 move 550 500\n"
              "161 move 650 505\n163 move 710 505\n165 move 720 510\n167 move 721 510\n175 up\n";
    events += Click(230, 270, 325);  // Sell
    RunGame("sell", events, 300);
    const std::string stored = Stored();
    EXPECT_EQ(money + 10, StoredInt(stored, "Money"));
    EXPECT_EQ(0, StoredInt(stored, "1 beauty level"));
    EXPECT_EQ(std::string::npos, stored.find("<shopItem tankItemId=\"Weed\"/>")) << stored;
}

// A fresh game folder with its own profile; gives the folder's root.
std::string OwnGame(const std::string& hint, const std::string& storage, bool dev) {
    const std::string root = testing_support::MakeTempDir(hint);
    const std::string data = root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", data, std::filesystem::copy_options::recursive);
    testing_support::WriteFile(data + "Storage.xml", storage);
    testing_support::WriteFile(data + "settings.ini", std::string("path=.\nuseAppData=true\nrecreateLog=true\ndev=") +
                                                          (dev ? "true" : "false") + "\nadvertisement=false\nadVisible=true\n");
    return root;
}

// Runs the game of OwnGame with the events and gives the last frame; the log holds no error.
std::string RunOwn(const std::string& root, const std::string& events, int frames,
                   const std::vector<std::string>& first = {}) {
    testing_support::WriteFile(root + "events.txt", events);
    const std::string shot = root + "shot.png";
    EXPECT_EQ(0,
              testing_support::RunProgram(root + "data/", root, RunArguments(first, frames, root + "events.txt", shot)));
    const std::string log = ReadFile(root + "Tornvik Entertainment/Marivel/log.htm");
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;
    return shot;
}

// After a won level past the second, the shop's guide shows the first tip of the order; a plant
// dearer than the money shows the notice instead of going into the hand.
TEST_F(GameRunTest, ShopShowsATipAfterLevelTwoAndRefusesWhatIsTooDear) {
    const std::string root = OwnGame("tip",
                                     "<Storage><Globals/><Player name=\"Cy\">"
                                     "<Variable name=\"LevelNumber\" type=\"int\" value=\"3\"/>"
                                     "<Variable name=\"Money\" type=\"int\" value=\"30\"/>"
                                     "<Variable name=\"Show next shop tip\" type=\"bool\" value=\"true\"/>"
                                     "</Player><ActivePlayer name=\"Cy\"/></Storage>",
                                     false);
    const std::string shop = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y);
    ExpectLooksLike(RunOwn(root, shop, 160), "shop-tip.png");
    std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ("plants", StoredValue(stored, "Current Tip"));
    EXPECT_EQ("false", StoredValue(stored, "Show next shop tip"));
    // The fan plant costs 45: pressed at frame 160, its notice is up by the last frame.
    ExpectLooksLike(RunOwn(root, shop + "160 move 166 122\n161 move 167 122\n163 down\n164 up\n", 185),
                    "shop-too-dear.png");
    stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(30, StoredInt(stored, "Money"));
}

// The shop's equipment icons: the compressor's is pressed three times (bought, upgraded, then
// nothing more), the thermoregulator's with too little money left; the next start's aquarium
// and the screensaver show the upgraded compressor.
TEST_F(GameRunTest, ShopBuysAndUpgradesEquipmentOnceEach) {
    const std::string root = OwnGame("equipment",
                                     "<Storage><Globals/><Player name=\"Di\">"
                                     "<Variable name=\"LevelNumber\" type=\"int\" value=\"2\"/>"
                                     "<Variable name=\"Money\" type=\"int\" value=\"100\"/>"
                                     "</Player><ActivePlayer name=\"Di\"/></Storage>",
                                     false);
    const std::string shop = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y) +
                             Click(150, COMPRESSOR_X, ICON_Y) + Click(170, COMPRESSOR_X, ICON_Y) +
                             Click(190, COMPRESSOR_X, ICON_Y) + Click(210, THERMOREGULATOR_X, ICON_Y);
    ExpectLooksLike(RunOwn(root, shop, 240), "shop-equipment.png");
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(0, StoredInt(stored, "Money"));  // 40 and 60
    EXPECT_EQ("Upgraded", StoredValue(stored, "1 Compressor"));
    EXPECT_EQ(40, StoredInt(stored, "1 comfort level"));
    const std::string thermoregulator = StoredValue(stored, "1 Thermoregulator");
    EXPECT_TRUE(thermoregulator.empty() || thermoregulator == "None") << thermoregulator;

    ExpectLooksLike(RunOwn(root, Click(40, MENU_X, MENU_AQUARIUM_Y), 100), "aquarium-equipment.png");
    ExpectLooksLike(RunOwn(root, "", 60, {"/screensaver"}), "screensaver-equipment.png");
}

// A shop visit: three neons bought, one sold through its question, the compressor bought and
// upgraded; the profile holds the money, the amounts, the meters and the fish in the tank, and the
// next start's aquarium keeps them.
TEST_F(GameRunTest, ShopBuysThreeFishSellsOneAndEquipsTheTank) {
    const std::string root = OwnGame("fish-shop",
                                     "<Storage><Globals/><Player name=\"Di\">"
                                     "<Variable name=\"LevelNumber\" type=\"int\" value=\"2\"/>"
                                     "<Variable name=\"Money\" type=\"int\" value=\"500\"/>"
                                     "</Player><ActivePlayer name=\"Di\"/></Storage>",
                                     false);
    // The neon's sell arrow under its buy arrow, the question's Sell button.
    const int NEON_SELL_Y = 263;
    const int SELL_X = 270;
    const int SELL_Y = 325;
    const std::string shop = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y) +
                             Click(150, NEON_BUY_X, NEON_BUY_Y) + Click(170, NEON_BUY_X, NEON_BUY_Y) +
                             Click(190, NEON_BUY_X, NEON_BUY_Y) + Click(230, NEON_BUY_X, NEON_SELL_Y) +
                             Click(250, SELL_X, SELL_Y) + Click(290, COMPRESSOR_X, ICON_Y) +
                             Click(310, COMPRESSOR_X, ICON_Y);
    ExpectLooksLike(RunOwn(root, shop, 360), "shop-fish-sold.png");
    const std::string profile = root + "Tornvik Entertainment/Marivel/Storage.xml";
    std::string stored = ReadFile(profile);
    EXPECT_EQ(500 - 3 * 60 + 30 - 40 - 60, StoredInt(stored, "Money"));
    EXPECT_EQ(2, StoredInt(stored, "Neon amount"));
    // More than one neon's worth, less than three: the same kind again adds less.
    const int fish = StoredInt(stored, "1 fish level");
    EXPECT_LT(60, fish);
    EXPECT_GT(180, fish);
    EXPECT_EQ("Upgraded", StoredValue(stored, "1 Compressor"));
    EXPECT_EQ(40, StoredInt(stored, "1 comfort level"));
    EXPECT_EQ("None", StoredValue(stored, "1 Cup"));
    EXPECT_EQ(2, testing_support::CountOf(stored, "<fishInfo templateId=\"Neon\""));

    RunOwn(root, Click(40, MENU_X, MENU_AQUARIUM_Y), 100);
    stored = ReadFile(profile);
    EXPECT_EQ(250, StoredInt(stored, "Money"));
    EXPECT_EQ(2, testing_support::CountOf(stored, "<fishInfo templateId=\"Neon\""));
}

// The options dialog from the main menu: the hints box is cleared and the music slider dragged
// down; Cancel puts both back, OK keeps them in the player's values. The players dialog makes a
// new player, who plays from then on.
TEST_F(GameRunTest, TheMenuDialogsWriteWhatIsChangedBack) {
    const std::string storage = "<Storage><Globals/><Player name=\"Bo\"/><ActivePlayer name=\"Bo\"/></Storage>";
    const std::string change = Click(40, MENU_X, MENU_OPTIONS_Y) + Click(100, 224, 276) +
                               "110 move 520 411\n111 move 521 411\n113 down\n115 move 480 411\n117 move 430 411\n"
                               "119 move 420 411\n121 up\n";
    const auto music = [](const std::string& stored) {
        const std::string value = StoredValue(stored, "Music Volume");
        return value.empty() ? -1.0f : std::stof(value);
    };
    const std::string root = OwnGame("options", storage, false);
    const std::string profile = root + "Tornvik Entertainment/Marivel/Storage.xml";
    RunOwn(root, change + Click(130, 520, 465), 200);
    std::string stored = ReadFile(profile);
    EXPECT_NE("false", StoredValue(stored, "Show game field hints")) << stored;
    EXPECT_FLOAT_EQ(0.7f, music(stored)) << stored;
    RunOwn(root, change + Click(130, 300, 465), 200);
    stored = ReadFile(profile);
    EXPECT_EQ("false", StoredValue(stored, "Show game field hints")) << stored;
    EXPECT_GT(0.5f, music(stored)) << stored;

    const std::string other = OwnGame("players", storage, false);
    ExpectLooksLike(RunOwn(other, change, 130), "options-changed.png");
    ExpectLooksLike(RunOwn(other, Click(40, MENU_X, MENU_PLAYERS_Y) + Click(90, 540, 235) + "120 text Di\n122 key 13\n", 220),
                    "menu-di.png");
    stored = ReadFile(other + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(2, testing_support::CountOf(stored, "<Player name="));
    EXPECT_NE(std::string::npos, stored.find("<ActivePlayer name=\"Di\"/>")) << stored;
}

// The players dialog in one run: Di is made (and plays), Bo is renamed Al and chosen again, Di is
// deleted after the question. Al keeps Bo's money; the dialog at the end lists Al alone.
TEST_F(GameRunTest, PlayersAreMadeRenamedChosenAndDeletedThroughTheDialog) {
    const std::string root = OwnGame("players-road",
                                     "<Storage><Globals/><Player name=\"Bo\">"
                                     "<Variable name=\"Money\" type=\"int\" value=\"100\"/>"
                                     "</Player><ActivePlayer name=\"Bo\"/></Storage>",
                                     false);
    // The dialog's list rows and buttons, and the delete question's Delete.
    const int ROW_X = 250;
    const int FIRST_ROW_Y = 186;
    const int SECOND_ROW_Y = 218;
    const int BUTTON_X = 540;
    const int SELECT_Y = 186;
    const int NEW_Y = 235;
    const int RENAME_Y = 286;
    const int DELETE_Y = 336;
    const std::string events =
        Click(40, MENU_X, MENU_PLAYERS_Y) + Click(90, BUTTON_X, NEW_Y) + "120 text Di\n122 key 13\n" +
        Click(220, MENU_X, MENU_PLAYERS_Y) + Click(270, ROW_X, FIRST_ROW_Y) + Click(290, BUTTON_X, RENAME_Y) +
        "340 key 8\n341 key 8\n343 text Al\n345 key 13\n" + Click(440, ROW_X, FIRST_ROW_Y) +
        Click(460, BUTTON_X, SELECT_Y) + Click(560, MENU_X, MENU_PLAYERS_Y) + Click(610, ROW_X, SECOND_ROW_Y) +
        Click(630, BUTTON_X, DELETE_Y) + Click(670, 270, 325);
    ExpectLooksLike(RunOwn(root, events, 730), "players-deleted.png");
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(1, testing_support::CountOf(stored, "<Player name="));
    EXPECT_NE(std::string::npos, stored.find("<Player name=\"Al\">")) << stored;
    EXPECT_NE(std::string::npos, stored.find("<ActivePlayer name=\"Al\"/>")) << stored;
    EXPECT_EQ(100, StoredInt(stored, "Money"));
}

// A level loads its particle effects and their textures; at the end no texture of ours is left on
// the device (the leak report may still name the display driver's own allocations).
TEST_F(GameRunTest, NoDeviceTextureOutlivesTheGame) {
    const std::string root =
        OwnGame("leaks", "<Storage><Globals/><Player name=\"Bo\"/><ActivePlayer name=\"Bo\"/></Storage>", false);
    testing_support::WriteFile(root + "events.txt", Click(40, MENU_X, MENU_PLAY_Y));
    testing_support::ProgramRun run(root + "data/", root,
                                    {"--fixed-step", "20", "--seed", "5", "--frames", "100", "--events", root + "events.txt"},
                                    root + "errors.txt", {"ASAN_OPTIONS=detect_leaks=1"});
    ASSERT_TRUE(run.Started());
    EXPECT_NE(-1, run.Wait(120));
    const std::string errors = ReadFile(root + "errors.txt");
    EXPECT_EQ(std::string::npos, errors.find("NewTexture")) << errors;
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_NE(std::string::npos, stored.find("<Variable name=\"Game field\" ")) << "no level was played";
}

// F12 on the main menu opens the developer menu only when "dev" is true in settings.ini.
TEST_F(GameRunTest, DeveloperMenuOnlyForDevelopers) {
    std::string shots[2];
    for (const bool dev : {false, true}) {
        // A player made already: no first-start prompt.
        const std::string root = OwnGame(dev ? "dev" : "player",
                                         "<Storage><Globals/><Player name=\"Bo\"/><ActivePlayer name=\"Bo\"/></Storage>", dev);
        shots[dev] = RunOwn(root, "30 key 123\n", 80);
    }
    // The main menu's column of five buttons against the developer menu's three.
    const testing_support::PixelRegion column = {290, 250, 220, 300};
    EXPECT_FALSE(testing_support::ComparePictures(shots[0], shots[1], 16, 600, column).matches);
    const ScreenComparison stayed =
        CompareWithReference(shots[0], FixturePath("game/fixtures/menu-bo.png"), 16, 600, column);
    EXPECT_TRUE(stayed.matches) << stayed.report;
}

}  // namespace
