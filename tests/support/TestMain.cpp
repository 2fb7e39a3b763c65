// Test entry: every test program writes its log and files into a fresh folder of its own.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "core/DataFolder.h"
#include "tests/support/TestSupport.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    dataFolder = testing_support::MakeTempDir("data");
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (result == 0) {
        std::error_code ignored;
        std::filesystem::remove_all(dataFolder, ignored);
    }
    return result;
}
