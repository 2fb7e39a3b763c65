// The options for people and tests: the random seed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/EntryOptions.h"

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

}  // namespace
