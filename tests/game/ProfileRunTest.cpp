// The profile under hostile conditions, in headless runs of the game program: killed inside its
// saves, a save cut short at an earlier start, a disk that takes no more, floods of bad content
// and a script that never ends. Each run has a game folder and a profile of its own.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/HtmlLog.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SaveKillRound.h"
#include "tests/support/ScreenCompare.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::Click;
using testing_support::NEON_PRICE;
using testing_support::NeonBuyerProfile;
using testing_support::NeonBuyingEvents;
using testing_support::ProfileFolder;
using testing_support::ReadFile;
using testing_support::WriteFile;

// A game folder (a copy of the content) and a data home holding the profile files given.
struct OwnGame {
    std::string root;
    std::string data;
    std::string profile;
};

OwnGame MakeGame(const std::string& hint, const std::vector<std::pair<std::string, std::string>>& profileFiles) {
    OwnGame game;
    game.root = testing_support::MakeTempDir(hint);
    game.data = game.root + "data/";
    std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", game.data, std::filesystem::copy_options::recursive);
    game.profile = ProfileFolder(game.root);
    std::filesystem::create_directories(game.profile);
    for (const auto& file : profileFiles) WriteFile(game.profile + file.first, file.second);
    return game;
}

// Window pixels of the menu's Play, Options and Quit.
const int MENU_X = 400;
const int MENU_PLAY_Y = 275;
const int MENU_OPTIONS_Y = 455;
const int MENU_QUIT_Y = 515;

std::vector<std::string> Arguments(const OwnGame& game, const std::string& events, int frames,
                                   const std::string& shot = std::string()) {
    WriteFile(game.root + "events.txt", events);
    std::vector<std::string> args = {"--fixed-step", "20", "--seed", "5", "--frames", std::to_string(frames),
                                     "--events", game.root + "events.txt"};
    if (!shot.empty()) {
        args.push_back("--screenshot");
        args.push_back(shot);
    }
    return args;
}

// The error entries of a log, each text once per entry.
std::vector<std::string> ErrorEntries(const std::string& log) {
    std::vector<std::string> entries;
    const std::string label = ">ERROR : <";
    for (std::size_t at = log.find(label); at != std::string::npos; at = log.find(label, at + 1)) {
        const std::string text = "Color = Black Face = Verdana>";
        const std::size_t from = log.find(text, at) + text.size();
        entries.push_back(log.substr(from, log.find("</Font>", from) - from));
    }
    return entries;
}

class ProfileRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(testing_support::ProgramPath())) {
            GTEST_SKIP() << "not built: " << testing_support::ProgramPath();
        }
    }
};

}  // namespace

// A profile folder holding only the backup of a save cut short by an earlier program: the game
// starts with that player and money, and the first-start profile is not copied over it.
TEST_F(ProfileRunTest, TheBackupOfACutSaveComesBackWithItsMoney) {
    const OwnGame game = MakeGame("leftover", {{"Storage.xml.bak", NeonBuyerProfile("777")}});
    EXPECT_EQ(0, testing_support::RunProgram(game.data, game.root, {"--fixed-step", "20", "--frames", "30"}));
    const std::string stored = ReadFile(game.profile + "Storage.xml");
    EXPECT_EQ(777, testing_support::ReadNeonProfile(stored).money) << stored;
    EXPECT_EQ(std::string::npos, stored.find("name=\"Player\"")) << stored;
    EXPECT_EQ(std::string::npos, ReadFile(game.profile + "log.htm").find("ERROR"));
}

// The game killed right after a random file operation of its saves (buying neons in the shop,
// leaving the shop and the aquarium, ending): every next start loads at least the last save
// completed before the kill, with the money and the neons agreeing. bench_game_saves runs hundreds.
TEST_F(ProfileRunTest, AKillInsideASaveNeverLosesAnEarlierSave) {
    const int START_MONEY = 100000;
    const OwnGame game = MakeGame("kill", {});
    const std::string events = NeonBuyingEvents({150, 162, 174}, 200);
    std::mt19937 random(52);
    // Each save makes about seven operations: create, write, flush and close the new text, the
    // backup's removal and new name, the rename.
    std::uniform_int_distribution<int> operation(1, 40);
    int bought = 0;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::filesystem::remove_all(game.profile);
        std::filesystem::create_directories(game.profile);
        WriteFile(game.profile + "Storage.xml", NeonBuyerProfile(std::to_string(START_MONEY)));
        const testing_support::KillRound r =
            testing_support::RunKillRound(game.data, game.root, Arguments(game, events, 250), operation(random));
        EXPECT_EQ("", r.problem);
        EXPECT_EQ(0, r.restartExit);
        EXPECT_FALSE(r.restartLogged) << ReadFile(game.profile + "log.htm");
        ASSERT_TRUE(r.after.read);
        EXPECT_GE(r.after.neons, r.lastSaved.neons) << "killed after operation " << r.killedAfter;
        EXPECT_EQ(START_MONEY, r.after.money + NEON_PRICE * r.after.neons);
        EXPECT_EQ(r.after.neons, r.after.fishInTank);
        bought += r.after.neons;
    }
    EXPECT_GT(bought, 0);
}

// A size limit on the game's files (as a full disk): the purchase fails to save, the player is
// told in the game where the profile lives, and once the limit is gone everything is saved.
TEST_F(ProfileRunTest, AFailedSaveIsShownInTheGameAndEverythingIsSavedOnceThereIsRoom) {
    const OwnGame game = MakeGame("full", {{"Storage.xml", NeonBuyerProfile("1000")}});
    const std::string shot = game.root + "shot.png";
    const std::string errors = game.root + "stderr.txt";
    testing_support::ProgramRun run(game.data, game.root,
                                          Arguments(game, NeonBuyingEvents({150, 400}, 440), 470, shot), errors);
    ASSERT_TRUE(run.Started());
    const rlimit limited = {1024, RLIM_INFINITY};
    ASSERT_EQ(0, prlimit(run.Pid(), RLIMIT_FSIZE, &limited, nullptr));
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (ReadFile(errors).find("could not be saved") == std::string::npos &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const rlimit room = {RLIM_INFINITY, RLIM_INFINITY};
    ASSERT_EQ(0, prlimit(run.Pid(), RLIMIT_FSIZE, &room, nullptr));
    EXPECT_EQ(0, run.Wait(120));
    const std::string told = ReadFile(errors);
    EXPECT_NE(std::string::npos, told.find("Your progress could not be saved (File too large). Your profile is " +
                                           game.profile + "Storage.xml"))
        << told;
    EXPECT_EQ(1, testing_support::CountOf(told, "could not be saved"));
    const testing_support::NeonProfile saved = testing_support::ReadNeonProfile(ReadFile(game.profile + "Storage.xml"));
    EXPECT_EQ(2, saved.neons);
    EXPECT_EQ(2, saved.fishInTank);
    EXPECT_EQ(1000 - 2 * NEON_PRICE, saved.money);
    // The notice over the aquarium; its second line holds the folder, which differs from run to run.
    for (const testing_support::PixelRegion& region :
         {testing_support::PixelRegion{0, 0, 800, 40}, testing_support::PixelRegion{0, 64, 800, 536}}) {
        const testing_support::ScreenComparison comparison = testing_support::CompareWithReference(
            shot, testing_support::FixturePath("game/fixtures/aquarium-save-failed.png"), 16, 600, region);
        EXPECT_TRUE(comparison.matches) << comparison.report;
    }
}

// A chip set of 10 MB of bad characters, a ten-million-digit number in the profile and a font
// whose files are missing: the game plays on, each fault is in the log once, the log stays small.
TEST_F(ProfileRunTest, FloodsOfBadContentLeaveOneReportEach) {
    const OwnGame game = MakeGame("flood", {{"Storage.xml", NeonBuyerProfile(std::string(10000000, '9'))}});
    WriteFile(game.data + "ChipSets.xml",
              "<ChipSets>\n\t<set chips=\"01234\"/>\n\t<set chips=\"" + std::string(10 * 1024 * 1024, 'z') +
                  "\"/>\n</ChipSets>");
    std::filesystem::remove(game.data + "fonts/boom.png");
    std::filesystem::remove(game.data + "fonts/boom.txt");
    EXPECT_EQ(0, testing_support::RunProgram(game.data, game.root,
                                             Arguments(game, Click(40, MENU_X, MENU_PLAY_Y), 200)));
    const std::string log = ReadFile(game.profile + "log.htm");
    EXPECT_LT(log.size(), 200000u);
    EXPECT_LT(log.size(), static_cast<std::size_t>(HtmlLog::MAX_FILE_SIZE));
    const std::vector<std::string> entries = ErrorEntries(log);
    EXPECT_EQ(entries.size(), std::set<std::string>(entries.begin(), entries.end()).size());
    for (const char* fault : {"1 chip set not usable as written; the first: refused",
                              "Variable \"Money\", attribute value: \"9999", "Assertion failed: f != NULL"}) {
        int found = 0;
        for (const std::string& entry : entries) found += entry.find(fault) != std::string::npos ? 1 : 0;
        EXPECT_EQ(1, found) << fault << "\n" << log.substr(0, 20000);
    }
    EXPECT_EQ(2147483647, testing_support::ReadNeonProfile(ReadFile(game.profile + "Storage.xml")).money);
}

// A script function that never ends (the menu's command, as the Options button sends it) is
// stopped with a report naming the script and the line; the menu works on and Quit ends the game.
TEST_F(ProfileRunTest, AnEndlessLoopInAScriptIsStoppedAndTheGameGoesOn) {
    const OwnGame game = MakeGame("endless", {{"Storage.xml", NeonBuyerProfile("10")}});
    std::string script = ReadFile(game.data + "main.lua");
    const std::string head = "function MainCommand(text)\n";
    const std::size_t at = script.find(head);
    ASSERT_NE(std::string::npos, at);
    script.insert(at + head.size(), "\tif text == \"options\" then while true do end end\n");
    const int line = 1 + static_cast<int>(std::count(script.begin(), script.begin() + at + head.size(), '\n'));
    WriteFile(game.data + "main.lua", script);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, testing_support::RunProgram(
                     game.data, game.root,
                     Arguments(game, Click(40, MENU_X, MENU_OPTIONS_Y) + Click(80, MENU_X, MENU_QUIT_Y), 100000)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    const std::string log = ReadFile(game.profile + "log.htm");
    EXPECT_EQ(1, testing_support::CountOf(log, "main.lua:" + std::to_string(line) +
                                                   ": the script ran past its limit of 200000000 instructions"))
        << log;
    EXPECT_NE(std::string::npos, log.find("The player quits"));
}
