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
#include <utility>
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

// A press at one point, carried in steps to another and released there, from the frame on.
std::string Carry(int frame, int fromX, int fromY, int toX, int toY) {
    const auto at = [](int f, const std::string& what) { return std::to_string(f) + " " + what + "\n"; };
    const auto point = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
    std::string events = at(frame, "move " + point(fromX, fromY)) + at(frame + 1, "move " + point(fromX + 1, fromY)) +
                         at(frame + 3, "down");
    for (int step = 1; step <= 6; ++step) {
        events += at(frame + 3 + 2 * step,
                     "move " + point(fromX + (toX - fromX) * step / 6, fromY + (toY - fromY) * step / 6));
    }
    return events + at(frame + 17, "move " + point(toX + 1, toY)) + at(frame + 20, "up");
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
// The neon's buy arrow on the shop's fish shelf, its sell arrow under it, its picture beside them.
const int NEON_BUY_X = 205;
const int NEON_BUY_Y = 422;
const int NEON_SELL_Y = 452;
const int NEON_PICTURE_X = 160;
// The weed's icon on the plants shelf.
const int WEED_X = 70;
const int WEED_Y = 501;
// The equipment shelf: the compressor, the thermoregulator, the aqua filter, the sunlight, the fish
// feeder.
const int ICON_Y = 556;
const int COMPRESSOR_X = 64;
const int SUNLIGHT_X = 340;
const int FEEDER_X = 432;

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

    // Play: the first hint is sent away with a click, and a few swaps win the level (a click beside
    // the board sends each hint box away; tools/make-level-script.py found them). On the statistics a
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

    // The shop: the weed's icon is carried onto the sand at the back, above the shop panel, and
    // bought for 20, then the neon's up arrow buys one for 60.
    std::string carry = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y);
    carry += Carry(150, WEED_X, WEED_Y, 300, 370);
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

// Last on the played profile: the weed is moved about in the aquarium (both panels slide out
// and back), then carried into the shop's basket and sold after the question.
TEST_F(GameRunTest, ThePlantIsSoldThroughTheBasket) {
    if (!TheGame().played) GTEST_SKIP() << "the play-through did not run";
    const int money = StoredInt(Stored(), "Money");
    const std::string before = Stored();
    RunGame("move", Click(40, MENU_X, MENU_AQUARIUM_Y) + Carry(100, 299, 358, 340, 358), 160);
    const std::string after = Stored();
    const auto weedX = [](const std::string& stored) {
        const std::size_t weed = stored.find("<shopItem tankItemId=\"Weed\"/>");
        const std::size_t position = stored.rfind("<position x=\"", weed);
        return weed == std::string::npos || position == std::string::npos ? -1 : std::stoi(stored.substr(position + 13));
    };
    EXPECT_EQ(weedX(before) + 41, weedX(after)) << after;
    std::string events = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y);
    events += Carry(150, 340, 358, 720, 510);
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

// A first start types "Иван José" as UTF-8, the way the window receives it: the name box and then
// the main menu show the Cyrillic letters and "_" for the letter the code page lacks, and the profile
// keeps the name's Windows-1251 bytes.
TEST_F(GameRunTest, ATypedCyrillicNameIsShownAndStoredAndALetterWithoutItsByteIsReplaced) {
    const std::string root = OwnGame("cyrillic", ReadFile(MARIVEL_SOURCE_DIR "/data/Storage.xml"), false);
    const std::string typed = "60 utf8 \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD Jos\xC3\xA9\n";
    const testing_support::PixelRegion box = {210, 260, 380, 38};
    const testing_support::PixelRegion greeting = {290, 205, 220, 35};
    const std::string boxShot = RunOwn(root, typed, 100);
    ExpectLooksLike(boxShot, "name-cyrillic.png");
    EXPECT_TRUE(CompareWithReference(boxShot, FixturePath("game/fixtures/name-cyrillic.png"), 8, 10, box).matches);
    const std::string menuShot = RunOwn(root, typed + "62 key 13\n", 110);
    ExpectLooksLike(menuShot, "menu-cyrillic.png");
    EXPECT_TRUE(CompareWithReference(menuShot, FixturePath("game/fixtures/menu-cyrillic.png"), 8, 10, greeting).matches);
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_NE(std::string::npos, stored.find("<ActivePlayer name=\"\xC8\xE2\xE0\xED Jos_\"/>")) << stored;
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
    // The fan plant costs 45: pressed at frame 160 and again at 180, its notice is up by the last
    // frame, and the second press only keeps it up.
    ExpectLooksLike(RunOwn(root, shop + "160 move 162 501\n161 move 163 501\n163 down\n164 up\n180 down\n181 up\n", 200),
                    "shop-too-dear.png");
    stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(30, StoredInt(stored, "Money"));
}

// The shop's equipment icons: the compressor's is pressed three times (bought, upgraded, then
// nothing more), the fish feeder's double-clicked (bought only), the sunlight's with too little
// money left; the prices are the catalogue's, and so is what each adds to the comfort. The next
// start's aquarium and the screensaver show the upgraded compressor.
TEST_F(GameRunTest, ShopBuysAndUpgradesEquipmentOnceEach) {
    const std::string root = OwnGame("equipment",
                                     "<Storage><Globals/><Player name=\"Di\">"
                                     "<Variable name=\"LevelNumber\" type=\"int\" value=\"2\"/>"
                                     "<Variable name=\"Money\" type=\"int\" value=\"165\"/>"
                                     "</Player><ActivePlayer name=\"Di\"/></Storage>",
                                     false);
    const std::string shop = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y) +
                             Click(150, COMPRESSOR_X, ICON_Y) + Click(170, COMPRESSOR_X, ICON_Y) +
                             Click(190, COMPRESSOR_X, ICON_Y) + Click(210, FEEDER_X, ICON_Y) +
                             "216 dblclick\n217 up\n" + Click(230, SUNLIGHT_X, ICON_Y);
    ExpectLooksLike(RunOwn(root, shop, 260), "shop-equipment.png");
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(165 - 40 - 60 - 25, StoredInt(stored, "Money"));
    EXPECT_EQ("Upgraded", StoredValue(stored, "1 Compressor"));
    EXPECT_EQ("Bought", StoredValue(stored, "1 Fish feeder"));
    EXPECT_EQ(40 + 60 + 25, StoredInt(stored, "1 comfort level"));
    const std::string sunlight = StoredValue(stored, "1 Sunlight");
    EXPECT_TRUE(sunlight.empty() || sunlight == "None") << sunlight;

    ExpectLooksLike(RunOwn(root, Click(40, MENU_X, MENU_AQUARIUM_Y), 100), "aquarium-equipment.png");
    ExpectLooksLike(RunOwn(root, "", 60, {"/screensaver"}), "screensaver-equipment.png");
}

// The newer goods through the shop as a player buys them: the four fish kinds by their buy arrows
// (the shelf scrolled on to each), the four plants and three decorations carried onto the sand;
// the aquarium shows them all among the scenery, and the profile holds one of each at its price.
TEST_F(GameRunTest, ShopSellsEveryNewFishPlantAndDecorationIntoTheTank) {
    const std::string root = OwnGame("goods",
                                     "<Storage><Globals/><Player name=\"Di\">"
                                     "<Variable name=\"LevelNumber\" type=\"int\" value=\"5\"/>"
                                     "<Variable name=\"Money\" type=\"int\" value=\"5000\"/>"
                                     "</Player><ActivePlayer name=\"Di\"/></Storage>",
                                     false);
    // The fifth place of the fish shelf, and the right arrows of the fish and plant shelves.
    const int FIFTH_BUY_X = 481;
    const int FISH_SCROLL_Y = 437;
    const int PLANT_Y = 500;
    const int SCROLL_X = 520;
    std::string shop = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y) +
                       Click(150, FIFTH_BUY_X, NEON_BUY_Y);
    for (int f = 170; f < 320; f += 50) shop += Click(f, SCROLL_X, FISH_SCROLL_Y) + Click(f + 30, FIFTH_BUY_X, NEON_BUY_Y);
    shop += Carry(330, 254, PLANT_Y, 120, 360) + Carry(370, 346, PLANT_Y, 300, 370) + Carry(410, 438, PLANT_Y, 420, 360);
    for (int f = 450; f < 570; f += 30) shop += Click(f, SCROLL_X, PLANT_Y);
    shop += Carry(570, 162, PLANT_Y, 250, 385) + Carry(610, 254, PLANT_Y, 150, 370) +
            Carry(650, 346, PLANT_Y, 360, 365) + Carry(690, 438, PLANT_Y, 560, 370) + Click(730, 680, 25);
    ExpectLooksLike(RunOwn(root, shop, 830), "aquarium-goods.png");
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    for (const char* kind : {"Guppy", "Clownfish", "Discus", "BlueTang", "Grass", "Red weed", "Cabomba", "Sword plant",
                             "Amphora", "Castle", "Wheel"}) {
        EXPECT_EQ(1, StoredInt(stored, std::string(kind) + " amount")) << kind;
    }
    EXPECT_EQ(5000 - (40 + 150 + 250 + 350) - (30 + 55 + 70 + 90) - (60 + 150 + 110), StoredInt(stored, "Money"));
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
    // The question's Sell button.
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
    EXPECT_EQ(40 + 60, StoredInt(stored, "1 comfort level"));  // the catalogue's prices
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

// The size of a PNG picture from its header: width and height.
std::pair<int, int> PictureSize(const std::string& path) {
    const std::string data = ReadFile(path);
    if (data.size() < 24) return {0, 0};
    const auto word = [&data](std::size_t at) {
        int value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = value * 256 + static_cast<unsigned char>(data[at + i]);
        return value;
    };
    return {word(16), word(20)};
}

// One player's evening with the game's own screens, each step checked in Storage.xml with a clean
// log: a level won, the aquarium lighting the cup the tank has earned, the meters previewing a
// piece of equipment under the mouse, the piece bought at the catalogue's price, a switch to full
// screen cancelled (the window is back at 800 x 600 in the next frame) and the other player
// renamed, who then plays.
TEST_F(GameRunTest, AnEveningWinsALevelLightsACupPreviewsBuysCancelsFullScreenAndRenamesTheOther) {
    // A goldfish swimming in the tank.
    const std::string GOLDFISH_TANK =
        "<Variable name=\"1 Aquarium bottom\" type=\"xml\"><ZOrderControlState><FishControl><position x=\"0\" y=\"0\"/>"
        "<animations side=\"fish_goldfish_side\" front=\"fish_goldfish_front\" back=\"fish_goldfish_back\" "
        "shadow=\"fish_shadow\"/><fishInfo templateId=\"Goldfish\" acceleration=\"120.0\" accTime=\"1.0\" "
        "maxAngle=\"0.25\" minPause=\"2.0\" maxPause=\"5.0\" minSpeed=\"45.0\" minAction=\"8\" hippocampus=\"false\" "
        "study=\"false\" school=\"0.002\" race=\"0.5\" curiosity=\"0.3\"/><state isObject=\"false\" stateId=\"1\" "
        "angle=\"0.0\" turnTime=\"0.0\" nFrame=\"1\"><position x=\"275.0\" y=\"291.0\" z=\"173\"/>"
        "<currentDest x=\"166.0\" y=\"295.0\" z=\"173\"/><oldDest x=\"544.0\" y=\"225.0\" z=\"173\"/></state>"
        "</FishControl></ZOrderControlState></Variable>";
    const std::string root = OwnGame("evening",
                                     "<Storage><Globals/><Player name=\"Ann\">"
                                     "<Variable name=\"LevelNumber\" type=\"int\" value=\"1\"/>"
                                     "<Variable name=\"Money\" type=\"int\" value=\"0\"/>"
                                     "<Variable name=\"1 fish level\" type=\"int\" value=\"200\"/>"
                                     "<Variable name=\"1 beauty level\" type=\"int\" value=\"60\"/>"
                                     "<Variable name=\"1 comfort level\" type=\"int\" value=\"50\"/>" +
                                         GOLDFISH_TANK +
                                         "</Player><Player name=\"Bo\"><Variable name=\"Money\" type=\"int\" value=\"7\"/>"
                                     "</Player><ActivePlayer name=\"Ann\"/></Storage>",
                                     false);
    const std::string profile = root + "Tornvik Entertainment/Marivel/Storage.xml";

    // The level, then the aquarium: the meters give the tank its bronze cup, which lights up, and
    // after six seconds the goldfish wishes for something the shop sells.
    const std::string moves = ReadFile(FixturePath("game/fixtures/level1_win.txt"));
    const int banner = LastFrame(moves) + 320;
    const std::string aquarium =
        RunOwn(root, moves + Click(banner, 400, 355) + Click(banner + 20, 400, 355), banner + 360);
    std::string stored = ReadFile(profile);
    const int won = StoredInt(stored, "Money");
    EXPECT_GE(won, 80);
    EXPECT_EQ(2, StoredInt(stored, "LevelNumber"));
    EXPECT_EQ("Bronze", StoredValue(stored, "1 Cup"));
    EXPECT_EQ("false", StoredValue(stored, "1 Bronze cup dark"));
    EXPECT_EQ("true", StoredValue(stored, "1 Silver cup dark"));
    EXPECT_EQ("false", StoredValue(stored, "FirstFishWish"));
    EXPECT_EQ("true", StoredValue(stored, "FishWishVisible"));
    const testing_support::PixelRegion cups = {470, 0, 130, 48};
    const ScreenComparison lit = CompareWithReference(aquarium, FixturePath("game/fixtures/aquarium-cup.png"), 16, 20, cups);
    EXPECT_TRUE(lit.matches) << lit.report;

    // The shop: the mouse resting on the compressor shows on the comfort meter what it would add.
    const std::string shop = Click(40, MENU_X, MENU_AQUARIUM_Y) + Click(80, PANEL_SHOP_X, PANEL_Y);
    const testing_support::PixelRegion comfort = {545, 566, 240, 24};
    const std::string idle = RunOwn(root, shop + "150 move 700 300\n", 200);
    std::filesystem::copy_file(idle, root + "idle.png", std::filesystem::copy_options::overwrite_existing);
    const std::string preview = RunOwn(root, shop + "150 move 64 556\n151 move 65 556\n", 200);
    EXPECT_FALSE(testing_support::ComparePictures(root + "idle.png", preview, 16, 20, comfort).matches);
    EXPECT_EQ(won, StoredInt(ReadFile(profile), "Money"));

    // Bought at the catalogue's price, which is also what it adds to the comfort.
    RunOwn(root, shop + Click(150, COMPRESSOR_X, ICON_Y), 200);
    stored = ReadFile(profile);
    EXPECT_EQ(won - 40, StoredInt(stored, "Money"));
    EXPECT_EQ("Bought", StoredValue(stored, "1 Compressor"));
    EXPECT_EQ(50 + 40, StoredInt(stored, "1 comfort level"));

    // Full screen ticked (the window becomes 1024 x 768, where the Cancel button lies elsewhere),
    // then Cancel: the next frame is drawn in the window of 800 x 600 again.
    const std::string cancel = Click(40, MENU_X, MENU_OPTIONS_Y) + Click(100, 224, 196) + Click(130, 666, 595);
    const std::string window = RunOwn(root, cancel, 135);
    EXPECT_EQ(std::make_pair(800, 600), PictureSize(window));
    stored = ReadFile(profile);
    EXPECT_EQ("false", StoredValue(stored, "isFullScreen"));
    EXPECT_EQ("7.000000e-001/0x3F333333", StoredValue(stored, "Music Volume"));

    // Bo, who does not play, renamed Cy: he plays from then on, with his money.
    const int ROW_X = 250;
    const int SECOND_ROW_Y = 218;
    const int BUTTON_X = 540;
    const int RENAME_Y = 286;
    RunOwn(root,
           Click(40, MENU_X, MENU_PLAYERS_Y) + Click(90, ROW_X, SECOND_ROW_Y) + Click(110, BUTTON_X, RENAME_Y) +
               "160 key 8\n161 key 8\n163 text Cy\n165 key 13\n",
           220);
    stored = ReadFile(profile);
    EXPECT_NE(std::string::npos, stored.find("<Player name=\"Cy\">")) << stored;
    EXPECT_EQ(std::string::npos, stored.find("<Player name=\"Bo\">")) << stored;
    EXPECT_NE(std::string::npos, stored.find("<ActivePlayer name=\"Cy\"/>")) << stored;
    EXPECT_EQ(7, StoredInt(stored.substr(stored.find("<Player name=\"Cy\">")), "Money"));
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

// The first start needs a name: Cancel and OK with an empty name each show the notice and the name
// panel stays, so no stand-in player is made; a typed name then makes the player.
TEST_F(GameRunTest, TheFirstStartAsksAgainOnCancelAndSaysThatAnEmptyNameIsNoName) {
    const std::string root = OwnGame("name", ReadFile(MARIVEL_SOURCE_DIR "/data/Storage.xml"), false);
    const std::string cancel = Click(60, 520, 345);
    ExpectLooksLike(RunOwn(root, cancel, 100), "name-needed.png");
    const std::string again = cancel + Click(100, 400, 325) + "130 key 13\n" + Click(160, 400, 325) +
                              "190 text Zed\n192 key 13\n";
    const std::string menu = RunOwn(root, again, 240);
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(1, testing_support::CountOf(stored, "<Player name="));
    EXPECT_NE(std::string::npos, stored.find("<ActivePlayer name=\"Zed\"/>")) << stored;
    EXPECT_EQ("false", StoredValue(stored, "First start"));
    ExpectLooksLike(menu, "menu-zed.png");
}

// A level paused with its button hides the board under the pause dialog; Escape asks before the level
// is given up, and giving it up goes back to the menu with nothing paid and the level still to play.
TEST_F(GameRunTest, ThePauseHidesTheBoardAndEscapeAsksBeforeALevelIsGivenUp) {
    const std::string root = OwnGame("pause",
                                     "<Storage><Globals/><Player name=\"Ed\">"
                                     "<Variable name=\"LevelNumber\" type=\"int\" value=\"2\"/>"
                                     "<Variable name=\"Money\" type=\"int\" value=\"30\"/>"
                                     "<Variable name=\"Show game field hints\" type=\"bool\" value=\"false\"/>"
                                     "</Player><ActivePlayer name=\"Ed\"/></Storage>",
                                     false);
    const std::string play = Click(40, MENU_X, MENU_PLAY_Y);
    const int pauseX = 736;
    const int pauseY = 572;
    ExpectLooksLike(RunOwn(root, play + Click(200, pauseX, pauseY), 260), "level-paused.png");
    const std::string ask = play + "200 key 27\n";
    ExpectLooksLike(RunOwn(root, ask, 260), "level-give-up.png");
    const std::string menu = RunOwn(root, ask + Click(260, 280, 355), 340);
    const testing_support::PixelRegion column = {290, 250, 220, 300};
    EXPECT_TRUE(CompareWithReference(menu, FixturePath("game/fixtures/menu-bo.png"), 16, 600, column).matches);
    const std::string stored = ReadFile(root + "Tornvik Entertainment/Marivel/Storage.xml");
    EXPECT_EQ(30, StoredInt(stored, "Money"));
    EXPECT_EQ(2, StoredInt(stored, "LevelNumber"));
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
