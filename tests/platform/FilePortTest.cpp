#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FilePort.h"
#include "tests/support/TestSupport.h"

using testing_support::MakeTempDir;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class FilePortTest : public ::testing::Test {
protected:
    void SetUp() override {
        _dir = MakeTempDir("fileport");
        mkdir((_dir + "textures").c_str(), 0755);
        mkdir((_dir + "textures/sub").c_str(), 0755);
        WriteFile(_dir + "textures/fish.png", "png");
    }
    std::string _dir;
};

}  // namespace

TEST_F(FilePortTest, NormaliserFindsContentPathsInAnyCase) {
    EXPECT_EQ(FilePort::NormalizePath(_dir + "Textures\\Fish.PNG"), _dir + "textures/fish.png");
    EXPECT_EQ(FilePort::NormalizePath(_dir + "TEXTURES/Sub\\"), _dir + "textures/sub/");
    EXPECT_EQ(FilePort::NormalizePath(_dir + "textures//./fish.png"), _dir + "textures//./fish.png");
    // A new name below an existing folder keeps its own spelling.
    EXPECT_EQ(FilePort::NormalizePath(_dir + "Textures\\New\\File.xml"), _dir + "textures/New/File.xml");
    EXPECT_EQ(FilePort::NormalizePath("a\\b"), "a/b");
    EXPECT_EQ(FilePort::NormalizePath(""), "");

    std::FILE* f = FilePort::Open(_dir + "TEXTURES\\FISH.png", "rb");
    ASSERT_NE(f, nullptr);
    char buffer[4] = {};
    EXPECT_EQ(std::fread(buffer, 1, 3, f), 3u);
    EXPECT_STREQ(buffer, "png");
    std::fclose(f);
}

TEST_F(FilePortTest, ExactNameWinsAndTiesTakeTheFirstInByteOrder) {
    WriteFile(_dir + "textures/Fish.png", "upper");
    WriteFile(_dir + "textures/FISH.PNG", "all");
    EXPECT_EQ(FilePort::NormalizePath(_dir + "textures/Fish.png"), _dir + "textures/Fish.png");
    EXPECT_EQ(FilePort::NormalizePath(_dir + "textures/fIsh.png"), _dir + "textures/FISH.PNG");
}

TEST_F(FilePortTest, FolderIsNotOpenedAsFile) {
    errno = 0;
    EXPECT_EQ(FilePort::Open(_dir + "Textures", "rb"), nullptr);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(FilePort::Exists(_dir + "Textures"));
    EXPECT_FALSE(FilePort::Exists(_dir + "missing"));
}

TEST_F(FilePortTest, MoveNeverReplacesAnExistingTarget) {
    WriteFile(_dir + "a.txt", "A");
    WriteFile(_dir + "b.txt", "B");
    errno = 0;
    EXPECT_FALSE(FilePort::Move(_dir + "a.txt", _dir + "B.TXT"));  // B.TXT names b.txt
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadFile(_dir + "b.txt"), "B");
    EXPECT_EQ(ReadFile(_dir + "a.txt"), "A");
    EXPECT_TRUE(FilePort::Move(_dir + "A.txt", _dir + "c.txt"));
    EXPECT_EQ(ReadFile(_dir + "c.txt"), "A");
    EXPECT_FALSE(testing_support::FileExists(_dir + "a.txt"));
    EXPECT_FALSE(FilePort::Move(_dir + "a.txt", _dir + "d.txt"));
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(FilePortTest, CrLfOutput) {
    EXPECT_EQ(FilePort::ToCrLf("a\nb\r\n\n"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(FilePort::ToCrLf("\n"), "\r\n");
    ASSERT_TRUE(FilePort::WriteTextCrLf(_dir + "Out.txt", "<a>\n\t<b/>\n</a>\n"));
    EXPECT_EQ(ReadFile(_dir + "Out.txt"), "<a>\r\n\t<b/>\r\n</a>\r\n");
    EXPECT_FALSE(FilePort::WriteTextCrLf(_dir + "missing/Out.txt", "x"));
}

TEST_F(FilePortTest, SortedListingWithAttributes) {
    WriteFile(_dir + "textures/b.png", "");
    WriteFile(_dir + "textures/A.png", "");
    WriteFile(_dir + "textures/.hidden", "");
    const std::vector<FilePort::DirectoryEntry> entries = FilePort::ListDirectory(_dir + "Textures");
    ASSERT_EQ(entries.size(), 5u);
    const char* names[] = {".hidden", "A.png", "b.png", "fish.png", "sub"};
    for (std::size_t k = 0; k < entries.size(); ++k) EXPECT_EQ(entries[k].name, names[k]);
    EXPECT_EQ(entries[0].attributes & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(entries[1].attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY), 0u);
    EXPECT_EQ(entries[4].attributes & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(FilePort::ListDirectory(_dir + "missing").empty());
    EXPECT_EQ(FilePort::GetAttributes(_dir + "missing"), INVALID_FILE_ATTRIBUTES);
}

TEST(FilePortDirectory, ReportsLengthThenCopies) {
    const std::size_t needed = FilePort::GetCurrentDirectory(nullptr, 0);
    ASSERT_GT(needed, 1u);
    std::vector<char> buffer(needed);
    EXPECT_EQ(FilePort::GetCurrentDirectory(buffer.data(), buffer.size()), needed - 1);
    char expected[4096];
    ASSERT_NE(getcwd(expected, sizeof expected), nullptr);
    EXPECT_STREQ(buffer.data(), expected);
}
