// The screensaver command line: every request is told from the line as one whole text.
#include <gtest/gtest.h>

#include "screensaver/CommandLine.h"

using screensaver::WindowHandle;

namespace {

enum class Request { None, Options, Run, Preview, Password };

const char* Name(Request r) {
    switch (r) {
        case Request::Options: return "options";
        case Request::Run: return "run";
        case Request::Preview: return "preview";
        case Request::Password: return "password";
        default: return "none";
    }
}

// Which parsers accept the line (at most one may), and the handle the accepting one wrote.
struct Answer {
    Request request = Request::None;
    WindowHandle handle = 77;
    int accepted = 0;
};

Answer Ask(const std::string& line) {
    Answer answer;
    WindowHandle handle = 77;
    auto note = [&answer](bool accepted, Request request) {
        if (!accepted) return;
        answer.request = request;
        ++answer.accepted;
    };
    note(screensaver::ParseConfigSwitch(line, handle), Request::Options);
    note(screensaver::IsRunSwitch(line), Request::Run);
    note(screensaver::ParsePreviewSwitch(line, handle), Request::Preview);
    note(screensaver::ParsePasswordSwitch(line, handle), Request::Password);
    answer.handle = handle;
    return answer;
}

}  // namespace

TEST(CommandLineTest, EachLineIsOneRequestOrNone) {
    struct Case {
        const char* line;
        Request request;
        WindowHandle handle;  // 77: left as it was
    };
    const Case cases[] = {
        {"", Request::Options, 0},
        {"/c", Request::Options, 0},
        {"-C", Request::Options, 0},
        {"/c:1234", Request::Options, 1234},
        {"/c 1234", Request::Options, 1234},
        {"-C:0", Request::Options, 0},
        {"/c:", Request::None, 77},
        {"/cx", Request::None, 77},
        {"/c:12a", Request::None, 77},
        {"/c:1234 ", Request::None, 77},
        {"/s", Request::Run, 77},
        {"-S", Request::Run, 77},
        {"/s ", Request::None, 77},
        {"/screensaver", Request::None, 77},
        {"s", Request::None, 77},
        {"/p 4567", Request::Preview, 4567},
        {"/P:4567", Request::Preview, 4567},
        {"-l 4567", Request::Preview, 4567},
        {"/p 999999999", Request::Preview, 999999999},
        {"/p 4567 ", Request::None, 77},
        {"/p 04567", Request::None, 77},
        {"/p 0123", Request::None, 77},
        {"/p ", Request::None, 77},
        {"/p  ", Request::None, 77},
        {"/p 1234567890", Request::None, 77},
        {"/p-4567", Request::None, 77},
        {"+p 4567", Request::None, 77},
        {"/a 12", Request::Password, 12},
        {"/A:12", Request::Password, 12},
        {"/a", Request::None, 77},
        {"/x 12", Request::None, 77},
    };
    for (const Case& c : cases) {
        const Answer answer = Ask(c.line);
        EXPECT_LE(answer.accepted, 1) << '"' << c.line << '"';
        EXPECT_EQ(Name(c.request), std::string(Name(answer.request))) << '"' << c.line << '"';
        EXPECT_EQ(c.handle, answer.handle) << '"' << c.line << '"';
    }
}

TEST(CommandLineTest, WindowHandleIsAStrictDecimalOfAtMostNineDigits) {
    const std::pair<const char*, WindowHandle> good[] = {
        {"0", 0}, {"7", 7}, {"4567", 4567}, {"100000000", 100000000}, {"999999999", 999999999}};
    for (const auto& g : good) {
        WindowHandle handle = 77;
        EXPECT_TRUE(screensaver::ParseWindowHandle(g.first, handle)) << g.first;
        EXPECT_EQ(g.second, handle) << g.first;
    }
    for (const char* bad : {"", "00", "01", "1000000000", "9999999999", "12a", "-1", "+1", " 1", "1 ", "0x10"}) {
        WindowHandle handle = 77;
        EXPECT_FALSE(screensaver::ParseWindowHandle(bad, handle)) << '"' << bad << '"';
        EXPECT_EQ(77u, handle) << '"' << bad << '"';
    }
}

TEST(CommandLineTest, ArgumentsAreJoinedWithSingleBlanks) {
    const char* none[] = {"marivel-screensaver"};
    const char* trailing[] = {"marivel-screensaver", "/s", ""};
    const char* handle[] = {"marivel-screensaver", "/p", "4567"};
    EXPECT_EQ("", screensaver::JoinCommandLine(1, none));
    EXPECT_EQ("", screensaver::JoinCommandLine(0, none));
    EXPECT_EQ("/s ", screensaver::JoinCommandLine(3, trailing));
    EXPECT_EQ("/p 4567", screensaver::JoinCommandLine(3, handle));
}
