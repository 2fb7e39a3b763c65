#include <gtest/gtest.h>

#include <unistd.h>

#include "core/Assert.h"
#include "core/CurrentDirectory.h"
#include "core/FileAttributesCondition.h"
#include "core/FileWrapper.h"
#include "core/HtmlLog.h"
#include "core/ObjectSmartPointer.h"
#include "tests/core/CheckReports.h"

using check_reports::ErrorReported;
using check_reports::Reported;
using testing_support::LogCapture;
using testing_support::MakeTempDir;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {
// The messages as the program writes them, in the Windows-1251 code page.
const std::string CANNOT_OPEN = "\xcd\xe5 \xf3\xe4\xe0\xeb\xee\xf1\xfc \xee\xf2\xea\xf0\xfb\xf2\xfc \xf4\xe0\xe9\xeb ";
const std::string IN_MODE = " \xe2 \xf0\xe5\xe6\xe8\xec\xe5 ";
const std::string WANTED_READ = "\xd5\xee\xf2\xe5\xeb\xe8 \xef\xf0\xee\xf7\xe8\xf2\xe0\xf2\xfc ";
const std::string WANTED_WRITE = "\xd5\xee\xf2\xe5\xeb\xe8 \xe7\xe0\xef\xe8\xf1\xe0\xf2\xfc ";
const std::string MANAGED = ", \xf3\xe4\xe0\xeb\xee\xf1\xfc ";
}  // namespace

TEST(FileWrapperTest, MissingFileReportsOpenErrorAndOperationsOnlyReport) {
    const std::string name = MakeTempDir("fw") + "missing.xml";
    LogCapture capture;
    ObjectSmartPointer<FileWrapper> file(new FileWrapper(name, "rb"));
    EXPECT_FALSE(file->IsOpen());
    EXPECT_TRUE(ErrorReported(capture, CANNOT_OPEN + name + IN_MODE + "rb"));
    file->Seek(0, 2);
    EXPECT_TRUE(Reported(capture, "fseek(_file, offset, origin) == 0"));
    EXPECT_EQ(file->Tell(), -1);
    EXPECT_TRUE(Reported(capture, "answer >= 0"));
    std::vector<char> buffer(4);
    file->Read(buffer);
    EXPECT_TRUE(ErrorReported(capture, WANTED_READ + "4" + MANAGED + "0"));
    file = nullptr;  // closing without a stream reports nothing more
    EXPECT_EQ(capture.ErrorCount(), 4);
}

TEST(FileWrapperTest, OpenErrorThrowsUnderGuard) {
    const std::string name = MakeTempDir("fw") + "missing.xml";
    AssertThrowGuard guard;
    EXPECT_THROW(ObjectSmartPointer<FileWrapper>(new FileWrapper(name, "rb")), AssertionFailedException);
}

TEST(FileWrapperTest, WholeFileReadAndShortRead) {
    const std::string dir = MakeTempDir("fw");
    WriteFile(dir + "ten.bin", "0123456789");
    LogCapture capture;
    ObjectSmartPointer<FileWrapper> file(new FileWrapper(dir + "TEN.BIN", "rb"));
    file->Seek(0, 2);
    EXPECT_EQ(file->Tell(), 10);
    file->Seek(0, 0);
    std::vector<char> buffer(12, 'x');
    file->Read(buffer);
    EXPECT_TRUE(ErrorReported(capture, WANTED_READ + "12" + MANAGED + "10"));
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "0123456789xx");
    EXPECT_EQ(capture.ErrorCount(), 1);
}

TEST(FileWrapperTest, TextModeWritesCrLfBinaryModeKeepsBytes) {
    const std::string dir = MakeTempDir("fw");
    LogCapture capture;
    {
        ObjectSmartPointer<FileWrapper> file(new FileWrapper(dir + "text.xml", "w"));
        file->Write(std::string("<a>\n</a>\r\n"));
    }
    {
        ObjectSmartPointer<FileWrapper> file(new FileWrapper(dir + "raw.bin", "wb"));
        file->Write(std::string("a\nb"));
    }
    EXPECT_EQ(ReadFile(dir + "text.xml"), "<a>\r\n</a>\r\n");
    EXPECT_EQ(ReadFile(dir + "raw.bin"), "a\nb");
    EXPECT_EQ(capture.ErrorCount(), 0);
}

TEST(FileWrapperTest, ShortWriteReportsBothCounts) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    LogCapture capture;
    {
        ObjectSmartPointer<FileWrapper> file(new FileWrapper("/dev/full", "wb"));
        std::vector<char> buffer(100000, 'z');  // more than the stream buffers
        file->Write(buffer);
    }
    const std::string text = capture.Text();
    EXPECT_NE(text.find(HtmlLog::Escape(WANTED_WRITE + "100000" + MANAGED)), std::string::npos);
}

TEST(FileWrapperTest, FileExists) {
    const std::string dir = MakeTempDir("fw");
    WriteFile(dir + "empty.txt", "");
    WriteFile(dir + "locked.txt", "x");
    chmod((dir + "locked.txt").c_str(), 0);
    EXPECT_TRUE(FileExists(dir + "empty.txt"));
    EXPECT_TRUE(FileExists(dir + "EMPTY.TXT"));
    EXPECT_FALSE(FileExists(dir + "missing.txt"));
    EXPECT_FALSE(FileExists(dir));  // a folder is not a file
    if (geteuid() != 0) {
        EXPECT_FALSE(FileExists(dir + "locked.txt"));
    }
}

TEST(FileAttributesConditionTest, PlainVisibleFilesOnly) {
    const FileAttributesCondition plain = FileAttributesCondition(0, 0).AndNotDirectory().AndNotHidden();
    EXPECT_TRUE(plain.Test(0x20));
    EXPECT_TRUE(plain.Test(0x1));
    EXPECT_TRUE(plain.Test(FILE_ATTRIBUTE_NORMAL));
    for (std::uint32_t bad : {0x10u, 0x2u, 0x12u, 0x31u, 0x23u}) EXPECT_FALSE(plain.Test(bad)) << bad;
    EXPECT_TRUE(FileAttributesCondition(0x10, 0x10).Test(0x30));

    LogCapture capture;
    FileAttributesCondition(0, 0).AndNotDirectory().AndNotDirectory();
    EXPECT_TRUE(Reported(capture, "(_and & FILE_ATTRIBUTE_DIRECTORY) == 0"));
    plain.AndNotHidden();
    EXPECT_TRUE(Reported(capture, "(_and & FILE_ATTRIBUTE_HIDDEN) == 0"));
    FileAttributesCondition(0x10, 0x12);
    EXPECT_TRUE(Reported(capture, "(eq & ~and) == 0"));
    EXPECT_EQ(capture.ErrorCount(), 3);
}

TEST(CurrentDirectoryTest, KeepsTheStartUpDirectory) {
    char now[4096];
    ASSERT_NE(getcwd(now, sizeof now), nullptr);
    const std::string startUp = CurrentDirectory::Get();
    EXPECT_EQ(startUp, now);  // nothing has changed the working directory yet
    const std::string elsewhere = MakeTempDir("cwd");
    ASSERT_EQ(chdir(elsewhere.c_str()), 0);
    EXPECT_EQ(CurrentDirectory::Get(), startUp);
    ASSERT_EQ(chdir(now), 0);
}
