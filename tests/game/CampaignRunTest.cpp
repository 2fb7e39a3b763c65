// The campaign as a newcomer meets it, headless from a fresh profile, by the scripts of real moves
// that tools/make-campaign-scripts.py made (one a level, each run on the profile the one before
// left): the first start asks for a name, level 1 is won by a player who makes one swap every
// 1.5 s, the levels are won in turn with clean logs, and the whole campaign's money buys at least
// half of the shop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::FixturePath;
using testing_support::ReadFile;

// The frames at which the script drags a piece: a press, a move and a release.
std::vector<int> SwapFrames(const std::string& script) {
    std::vector<int> swaps;
    int pressed = -1;
    bool moved = false;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        int frame = 0;
        std::string event;
        words >> frame >> event;
        if (event == "down") {
            pressed = frame;
            moved = false;
        } else if (event == "move" && pressed >= 0) {
            moved = true;
        } else if (event == "up") {
            if (pressed >= 0 && moved) swaps.push_back(pressed);
            pressed = -1;
        }
    }
    return swaps;
}

int StoredInt(const std::string& stored, const std::string& name) {
    const std::size_t at = stored.find("<Variable name=\"" + name + "\" type=\"int\" value=\"");
    if (at == std::string::npos) return -1;
    return std::stoi(stored.substr(stored.find("value=\"", at) + 7));
}

// Everything the first tank's shop sells: every good once, every piece of equipment bought and
// upgraded.
int ShopTotal() {
    const std::string catalogue = ReadFile(MARIVEL_SOURCE_DIR "/data/screens/tank_content.xml");
    int total = 0;
    for (const char* name : {" cost=\"", " buyCost=\"", " upgradeCost=\""}) {
        const std::string key = name;
        for (std::size_t at = catalogue.find(key); at != std::string::npos; at = catalogue.find(key, at + 1)) {
            total += std::stoi(catalogue.substr(at + key.size()));
        }
    }
    return total;
}

class CampaignRunTest : public testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::FileExists(testing_support::ProgramPath())) {
            GTEST_SKIP() << "not built: " << testing_support::ProgramPath();
        }
        _root = testing_support::MakeTempDir("campaign");
        _data = _root + "data/";
        std::filesystem::copy(MARIVEL_SOURCE_DIR "/data", _data, std::filesystem::copy_options::recursive);
    }

    static std::string Script(int level) {
        char name[32];
        std::snprintf(name, sizeof(name), "level%02d.txt", level);
        return FixturePath(std::string("game/fixtures/campaign/") + name);
    }

    // Plays one level's script on the profile the runs before left; gives the stored profile.
    std::string Play(int level) {
        // The script closes the window on the aquarium; the frame count only guards against a hang.
        EXPECT_EQ(0, testing_support::RunProgram(_data, _root,
                                                 {"--fixed-step", "100", "--seed", "5", "--frames", "5000",
                                                  "--events", Script(level)}))
            << "level " << level;
        const std::string log = ReadFile(Folder() + "log.htm");
        EXPECT_EQ(std::string::npos, log.find("ERROR")) << "level " << level << "\n" << log;
        return ReadFile(Folder() + "Storage.xml");
    }

    std::string Folder() const { return _root + "Tornvik Entertainment/Marivel/"; }

    std::string _root;
    std::string _data;
};

TEST_F(CampaignRunTest, Level1IsWonFromAFreshProfileByOneSwapEveryOneAndAHalfSeconds) {
    const std::vector<int> swaps = SwapFrames(ReadFile(Script(1)));
    ASSERT_GE(swaps.size(), 3u);
    // 100 ms frames: fifteen frames or more from one swap to the next.
    for (std::size_t i = 1; i < swaps.size(); ++i) EXPECT_GE(swaps[i] - swaps[i - 1], 15) << "swap " << i;

    const std::string stored = Play(1);
    EXPECT_NE(std::string::npos, stored.find("<ActivePlayer name=\"Ann\"/>")) << stored;
    EXPECT_EQ(2, StoredInt(stored, "LevelNumber")) << stored;
    EXPECT_GT(StoredInt(stored, "Money"), 0) << stored;
    EXPECT_EQ(0, StoredInt(stored, "Levels lost")) << stored;
}

// CI plays the first levels (bonus pieces, gold and the first locks); MARIVEL_CAMPAIGN_LEVELS=all
// (or a count) plays more, and the whole campaign's money must buy at least half of the shop.
TEST_F(CampaignRunTest, LevelsAreWonInTurnAndTheWholeCampaignsMoneyBuysHalfTheShop) {
    const std::string levels = ReadFile(MARIVEL_SOURCE_DIR "/data/PlLevels.xml");
    const int count = testing_support::CountOf(levels, "<Level ");
    ASSERT_GE(count, 15);
    const char* wanted = std::getenv("MARIVEL_CAMPAIGN_LEVELS");
    const std::string chosen = wanted ? wanted : "5";
    const int play = chosen == "all" ? count : std::min(count, std::atoi(chosen.c_str()));
    std::string stored;
    for (int level = 1; level <= play; ++level) {
        ASSERT_TRUE(testing_support::FileExists(Script(level))) << Script(level);
        stored = Play(level);
        ASSERT_EQ(level + 1, StoredInt(stored, "LevelNumber")) << "level " << level << "\n" << stored;
        ASSERT_EQ(0, StoredInt(stored, "Levels lost")) << "level " << level;
    }
    if (play == count) {
        EXPECT_GE(2 * StoredInt(stored, "Money"), ShopTotal()) << stored;
    }
}

}  // namespace
