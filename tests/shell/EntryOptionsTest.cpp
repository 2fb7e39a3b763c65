// The options for people and tests: the random seed, and the scripted typing.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shell/EntryOptions.h"
#include "shell/WindowMessage.h"

namespace {

TEST(EntryOptionsTest, TheSeedIsANumberFromZeroAndTheClockWithoutIt) {
    const struct {
        std::vector<const char*> args;
        bool isValid;
        long seed;
    } cases[] = {
        {{"Marivel"}, true, -1},
        {{"Marivel", "--seed", "5"}, true, 5},
        {{"Marivel", "/screensaver", "--seed", "0", "--frames", "3"}, true, 0},
        {{"Marivel", "--seed", "-1"}, false, -1},
        {{"Marivel", "--seed", "x"}, false, -1},
        {{"Marivel", "--seed"}, false, -1},
    };
    for (const auto& c : cases) {
        EntryOptions options;
        std::string error;
        const bool isValid = ParseEntryOptions(static_cast<int>(c.args.size()), c.args.data(), options, error);
        EXPECT_EQ(c.isValid, isValid) << c.args.back() << " " << error;
        if (c.isValid) {
            EXPECT_EQ(c.seed, options.seed) << c.args.back();
        }
    }
}

// "utf8" types as the keyboard does, one Windows-1251 character a letter, "_" for a letter the
// code page lacks; "text" goes on sending its bytes as they stand.
TEST(EntryOptionsTest, ScriptedUtf8TextArrivesAsTheWindowsTypedCharacters) {
    std::multimap<int, WindowMessage> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript("5 utf8 \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD Jos\xC3\xA9\n6 text \xC8x\n", events, error))
        << error;
    std::vector<std::pair<int, int>> typed;
    for (const auto& event : events) {
        EXPECT_EQ(WindowMessage::CHAR, event.second.type);
        typed.emplace_back(event.first, event.second.code);
    }
    const std::vector<std::pair<int, int>> expected = {{5, 0xC8}, {5, 0xE2}, {5, 0xE0}, {5, 0xED}, {5, ' '}, {5, 'J'},
                                                       {5, 'o'},  {5, 's'},  {5, '_'},  {6, 0xC8}, {6, 'x'}};
    EXPECT_EQ(expected, typed);
}

}  // namespace
