// Test entry: every test program writes its log and files into a fresh folder of its own.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "core/Assert.h"
#include "core/DataFolder.h"
#include "tests/support/TestSupport.h"

namespace {

// Reports written once a run are written again in every test.
class ReportedChecksReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { ForgetReportedFailures(); }
};

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    dataFolder = testing_support::MakeTempDir("data");
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ReportedChecksReset);
    const int result = RUN_ALL_TESTS();
    if (result == 0) {
        std::error_code ignored;
        std::filesystem::remove_all(dataFolder, ignored);
    }
    return result;
}
