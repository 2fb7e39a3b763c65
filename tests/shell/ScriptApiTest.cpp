#include <gtest/gtest.h>

#include <luabind/luabind.hpp>

#include "core/Color.h"
#include "core/Message.h"
#include "core/Point.h"
#include "shell/ScriptServices.h"
#include "shell/ScriptStandIns.h"
#include "shell/SoundSystem.h"
#include "tests/shell/ScriptTestSupport.h"
#include "tests/support/TestSupport.h"

using script_test::Eval;
using script_test::RunLua;
using testing_support::LogCapture;

namespace {

class ScriptApiTest : public testing::Test {
protected:
    void SetUp() override { L = script_test::State(); }

    template <class T>
    T Global(const char* name) {
        return luabind::object_cast<T>(luabind::globals(L)[name]);
    }

    // "class", "object", "function", "table" or Lua's own type name.
    std::string KindOf(const std::string& expression) {
        const std::string code = "return " + expression;
        if (luaL_loadstring(L, code.c_str()) != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK) {
            return "error: " + LuaSupport::PopErrorText(L);
        }
        std::string kind = luaL_typename(L, -1);
        if (lua_type(L, -1) == LUA_TUSERDATA) {
            kind = luabind::detail::get_instance(L, -1) != nullptr ? "object" : "class";
        }
        lua_pop(L, 1);
        return kind;
    }

    lua_State* L = nullptr;
};

const char* const GLOBAL_FUNCTIONS[] = {
    "RunExecutable", "ShellExecuteOpen", "WriteToLogColor", "WriteToLog", "IsReceiver",
    "SendMessageReply", "SendMessage", "Pause", "ReleaseResourceGroup", "UploadResourceGroup",
    "IsScreensaverEnabled", "UninstallScreensaver", "InstallScreensaver", "getPeriod", "ease",
    "lerp", "LoadEffects", "LoadParticles", "CloseApplication", "LoadTemplate", "LoadResource",
    "LoadControlTree",
};

const char* const STORAGE_FUNCTIONS[] = {
    "DeleteInactivePlayers", "RenamePlayer", "CreatePlayer", "Commit", "BackupActivePlayer",
    "SetActivePlayer", "DoesPlayerExist", "GetActivePlayerName", "UndefLocalName",
    "IsLocalNameDefined", "GetLocalStringOrDef", "GetLocalFloatOrDef", "GetLocalBoolOrDef",
    "GetLocalIntOrDef", "GetLocalString", "GetLocalFloat", "GetLocalBool", "GetLocalInt",
    "SetLocalString", "SetLocalFloat", "SetLocalBool", "SetLocalInt", "UndefGlobalName",
    "IsGlobalNameDefined", "GetGlobalStringOrDef", "GetGlobalFloatOrDef", "GetGlobalBoolOrDef",
    "GetGlobalIntOrDef", "GetGlobalString", "GetGlobalFloat", "GetGlobalBool", "GetGlobalInt",
    "SetGlobalString", "SetGlobalFloat", "SetGlobalBool", "SetGlobalInt",
};

}  // namespace

TEST_F(ScriptApiTest, EveryNameExistsAsTheRightKind) {
    for (const char* name : GLOBAL_FUNCTIONS) {
        EXPECT_EQ(KindOf(name), "function") << name;
    }
    EXPECT_EQ(std::size(GLOBAL_FUNCTIONS), 22u);

    EXPECT_EQ(KindOf("PermanentStorage"), "table");
    for (const char* name : STORAGE_FUNCTIONS) {
        EXPECT_EQ(KindOf(std::string("PermanentStorage.") + name), "function") << name;
    }
    EXPECT_EQ(Eval("(function() local n = 0 for _ in pairs(PermanentStorage) do n = n + 1 end return n end)()"),
              "36");

    for (const char* name : {"Spline", "Point", "Color", "Message", "Effect", "IController",
                             "ControllerManager", "SoundSystem"}) {
        EXPECT_EQ(KindOf(name), "class") << name;
    }
    EXPECT_EQ(KindOf("Sound"), "object");
    EXPECT_EQ(KindOf("kernel"), "object");
    EXPECT_EQ(Eval("type(kernel.addController)"), "function");
    EXPECT_EQ(Eval("type(Sound.PlaySample)"), "function");
}

TEST_F(ScriptApiTest, PauseReturnsNothing) {
    LogCapture log;
    EXPECT_EQ(Eval("select('#', Pause())"), "0");
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ScriptApiTest, ColorAndPointConversions) {
    struct Case {
        const char* constructor;
        int red, green, blue, alpha;
    };
    const Case cases[] = {
        {"Color(300, 0, 0)", 44, 0, 0, 255},     {"Color(1.9, 2, 3, 4)", 1, 2, 3, 4},
        {"Color(255, 128, 1)", 255, 128, 1, 255}, {"Color(-1, 256, 511.99, -0.5)", 255, 0, 255, 0},
        {"Color(10, 20, 30, 1000)", 10, 20, 30, 232},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(RunLua(std::string("value = ") + c.constructor), "") << c.constructor;
        const Color color = Global<Color>("value");
        EXPECT_EQ(color.red, c.red) << c.constructor;
        EXPECT_EQ(color.green, c.green) << c.constructor;
        EXPECT_EQ(color.blue, c.blue) << c.constructor;
        EXPECT_EQ(color.alpha, c.alpha) << c.constructor;
    }
    ASSERT_EQ(RunLua("value = Point(2.7, -3.9)"), "");
    EXPECT_EQ(Global<Point>("value"), Point(2, -3));
    // Wrong argument counts and kinds are the binding's script errors.
    for (const char* bad : {"Color(1, 2)", "Point(1)", "Color('1', 2, 3)", "Point(1, '2')"}) {
        EXPECT_NE(RunLua(std::string("value = ") + bad), "") << bad;
    }
}

TEST_F(ScriptApiTest, MessageConstructorsAndIs) {
    ASSERT_EQ(RunLua("number = Message('KeyPress', 27) text = Message('KeyPress', '27') bare = Message('Go')"),
              "");
    const Message number = Global<Message>("number");
    EXPECT_EQ(number.GetNumber(), 27);
    EXPECT_EQ(number.GetParameter(), "");
    const Message text = Global<Message>("text");
    EXPECT_EQ(text.GetNumber(), 0);
    EXPECT_EQ(text.GetParameter(), "27");
    EXPECT_EQ(Global<Message>("bare").GetName(), "Go");

    struct Case {
        const char* expression;
        const char* expected;
    };
    const Case cases[] = {
        {"number:is('KeyPress')", "true"},       {"number:is('KeyPress', '27')", "false"},
        {"text:is('KeyPress', '27')", "true"},   {"text:is('KeyPress', '28')", "false"},
        {"text:is('keypress')", "false"},        {"bare:is('Go', '')", "true"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Eval(c.expression), c.expected) << c.expression;
    }
}

TEST_F(ScriptApiTest, TextAndNumberParametersTakeOnlyTheirOwnKind) {
    LogCapture log;
    for (const char* bad : {"WriteToLog(5)", "lerp('1', 2, 3)", "getPeriod(1)", "IsReceiver(nil)",
                            "WriteToLogColor('a')", "Pause(1)"}) {
        const std::string error = RunLua(bad);
        EXPECT_NE(error.find("No matching overload"), std::string::npos) << bad << ": " << error;
    }
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_EQ(Eval("lerp(1.5, 2, 0)"), "1.5");
}

TEST_F(ScriptApiTest, MessagesReachReceiversAndScriptFunctions) {
    LogCapture log;
    EXPECT_EQ(Eval("IsReceiver('nobody')"), "false");
    ASSERT_EQ(RunLua("got = nil function Receive(text) got = text end SendMessage('lua:Receive', 'hello')"), "");
    EXPECT_EQ(Eval("got"), "hello");
    EXPECT_EQ(log.ErrorCount(), 0);

    EXPECT_EQ(RunLua("SendMessage('nobody', 'x')"), "");
    EXPECT_EQ(Eval("SendMessageReply('nobody', 'x')"), "");
    EXPECT_EQ(log.ErrorCount(), 1);  // one fault at one place, written once
    EXPECT_TRUE(log.Contains("Message receiver 'nobody' not found"));

    // A failing script function behind "lua:" is reported by the host; the sender goes on.
    ASSERT_EQ(RunLua("function Broken(text) error('broken ' .. text) end SendMessage('lua:Broken', 'm') afterBroken = 1"),
              "");
    EXPECT_EQ(log.ErrorCount(), 2);
    EXPECT_TRUE(log.Contains("broken m"));
    EXPECT_EQ(Eval("afterBroken"), "1");
}

TEST_F(ScriptApiTest, ServicesReceiveTheirArgumentsUnchanged) {
    ScriptServices& services = GetScriptServices();
    std::vector<std::string> calls;
    services.loadParticles = [&](const std::string& f) { calls.push_back("particles " + f); };
    services.loadEffects = [&](const std::string& f) { calls.push_back("effects " + f); };
    services.uploadResourceGroup = [&](const std::string& g) { calls.push_back("upload " + g); };
    services.releaseResourceGroup = [&](const std::string& g) { calls.push_back("release " + g); };
    services.ease = [&](float t, float a, float b) { return t + a + b; };
    services.isScreensaverEnabled = [] { return true; };
    LogCapture log;
    EXPECT_EQ(RunLua("LoadParticles('fx\\\\Particles.xml') LoadEffects('e.xml') "
                     "UploadResourceGroup('Menu') ReleaseResourceGroup('Game')"),
              "");
    EXPECT_EQ(Eval("ease(0.25, 0.5, 0.125)"), "0.875");
    EXPECT_EQ(Eval("IsScreensaverEnabled()"), "true");
    const std::vector<std::string> expected = {"particles fx\\Particles.xml", "effects e.xml",
                                               "upload Menu", "release Game"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(log.ErrorCount(), 0);
    services = ScriptServices();
}

TEST_F(ScriptApiTest, UnconnectedServicesReportTheirKindNotLoaded) {
    struct Case {
        const char* call;
        const char* report;
    };
    const Case cases[] = {
        {"LoadControlTree('a.xml')", "'LoadControlTree': control trees are not loaded"},
        {"LoadTemplate('a.xml')", "'LoadTemplate': templates are not loaded"},
        {"LoadResource('a.xml')", "'LoadResource': resources are not loaded"},
        {"LoadParticles('a.xml')", "'LoadParticles': particles are not loaded"},
        {"LoadEffects('a.xml')", "'LoadEffects': effects are not loaded"},
        {"UploadResourceGroup('g')", "'UploadResourceGroup': resources are not loaded"},
        {"ReleaseResourceGroup('g')", "'ReleaseResourceGroup': resources are not loaded"},
        {"value = ease(0.5, 0.25, 0.25)", "'ease': splines are not loaded"},
        {"CloseApplication()", "'CloseApplication': the application is not loaded"},
        {"RunExecutable('a')", "'RunExecutable': shell commands are not loaded"},
        {"ShellExecuteOpen('a')", "'ShellExecuteOpen': shell commands are not loaded"},
        {"value = IsScreensaverEnabled()", "'IsScreensaverEnabled': screensaver commands are not loaded"},
        {"InstallScreensaver()", "'InstallScreensaver': screensaver commands are not loaded"},
        {"UninstallScreensaver()", "'UninstallScreensaver': screensaver commands are not loaded"},
        {"Spline():addKey(1)", "'addKey': splines are not loaded"},
        {"kernel:addController(controller)", "'addController': controllers are not loaded"},
    };
    // Scripts only pass on controllers they are given.
    luabind::globals(L)["controller"] = ScriptStandIn::IController();
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(RunLua(c.call), "") << c.call;
        EXPECT_EQ(log.ErrorCount(), 1) << c.call;
        EXPECT_TRUE(log.Contains(c.report)) << c.call << "\n" << log.Text();
    }
}

TEST_F(ScriptApiTest, CalculateGradientGivesTheScriptNoValue) {
    EXPECT_EQ(Eval("select('#', Spline():CalculateGradient(true))"), "0");
}

TEST_F(ScriptApiTest, SoundIsTheProgramsSoundSystem) {
    const int music = Sound::soundSystem.GetMusicVolume();
    const int sound = Sound::soundSystem.GetSoundVolume();
    LogCapture log;
    EXPECT_EQ(RunLua("Sound:SetMusicVolume(30.9) Sound:SetSoundVolume(12)"), "");
    EXPECT_EQ(Sound::soundSystem.GetMusicVolume(), 30);
    EXPECT_EQ(Sound::soundSystem.GetSoundVolume(), 12);
    EXPECT_NE(RunLua("Sound:PlaySample(5)"), "");
    EXPECT_NE(RunLua("Sound.PlaySample('x')"), "");  // a method needs the object
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    Sound::soundSystem.SetMusicVolume(music);
    Sound::soundSystem.SetSoundVolume(sound);
}
