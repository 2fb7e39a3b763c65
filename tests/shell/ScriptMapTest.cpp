#include <gtest/gtest.h>

#include <luabind/luabind.hpp>

#include "core/Assert.h"
#include "core/Color.h"
#include "core/DataFolder.h"
#include "tests/shell/ScriptTestSupport.h"
#include "tests/support/TestSupport.h"

using script_test::Eval;
using script_test::Fixture;
using script_test::RunLua;
using testing_support::LogCapture;

namespace {

int destroyedGuards = 0;

struct Guard {
    ~Guard() { ++destroyedGuards; }
};

// Bound test functions: one ends the script with a C++ exception while an object is alive, one
// calls back into a script function by name.
void ThrowScriptError(const std::string& text) {
    Guard guard;
    std::string alive = "kept " + text;
    throw ScriptError(alive);
}

void CallBack(const std::string& name) {
    Guard guard;
    ScriptMap::CallFunction(name);
}

void RegisterTestFunctions() {
    static bool done = false;
    if (done) return;
    done = true;
    luabind::module(script_test::State())[luabind::def("ThrowScriptError", &ThrowScriptError),
                                          luabind::def("CallBack", &CallBack)];
}

class ScriptMapTest : public testing::Test {
protected:
    void SetUp() override { script_test::State(); }
};

}  // namespace

TEST_F(ScriptMapTest, OpensOnlyTheAllowedLibraries) {
    for (const char* open : {"string", "math", "coroutine", "print", "pcall"}) {
        EXPECT_NE(Eval(open), "nil") << open;
    }
    for (const char* closed : {"table", "io", "os", "debug", "package", "require"}) {
        EXPECT_EQ(Eval(closed), "nil") << closed;
    }
    EXPECT_EQ(Eval("string.format('%d', 7)"), "7");
    EXPECT_EQ(Eval("math.floor(2.5)"), "2");
}

TEST_F(ScriptMapTest, RunScriptFailuresAreOneErrorEach) {
    struct Case {
        std::string file;
        std::string message;
    };
    // Precompiled chunks are refused: the interpreter does not verify them.
    const std::string binary = dataFolder + "binary.lua";
    testing_support::WriteFile(binary, std::string("\x1bLua\x52\x00\x01\x04", 8));
    const Case cases[] = {
        {Fixture("missing.lua"), "cannot open"},
        {Fixture("syntax.lua"), "syntax.lua:3:"},
        {Fixture("halfway.lua"), "halfway stop"},
        {binary, "attempt to load a binary chunk"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        ScriptMap::RunScript(c.file);
        EXPECT_EQ(log.ErrorCount(), 1) << c.file;
        EXPECT_TRUE(log.Contains(c.message)) << c.file << "\n" << log.Text();
        EXPECT_TRUE(log.Contains("ScriptMap.cpp")) << c.file;
        EXPECT_EQ(lua_gettop(ScriptMap::state), 0);
    }
    // The statements before the error keep their effect.
    EXPECT_EQ(Eval("halfwayBefore"), "1");
    EXPECT_EQ(Eval("halfwayAfter"), "nil");
    EXPECT_EQ(Eval("syntaxValue"), "nil");
}

TEST_F(ScriptMapTest, RunScriptAcceptsContentPaths) {
    LogCapture log;
    // Backslashes and another letter case in the content's part of the path.
    std::string path = Fixture("");
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    path[0] = '/';
    path += "FUNCTIONS.Lua";
    ScriptMap::RunScript(path);
    EXPECT_EQ(log.ErrorCount(), 0) << log.Text();
    EXPECT_EQ(Eval("type(Twice)"), "function");
}

TEST_F(ScriptMapTest, CallsPassTheirArgument) {
    ScriptMap::RunScript(Fixture("functions.lua"));
    LogCapture log;
    ScriptMap::CallFunction("Nothing");
    ScriptMap::CallFunctionWithString("Record", "hello");
    ScriptMap::CallFunctionWithFloat("Record", 0.5f);
    EXPECT_EQ(Eval("#calls"), "3");
    EXPECT_EQ(Eval("calls[1]"), "nothing");
    EXPECT_EQ(Eval("calls[2]"), "hello");
    EXPECT_EQ(Eval("type(calls[3]) .. calls[3]"), "number0.5");
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_EQ(lua_gettop(ScriptMap::state), 0);
}

TEST_F(ScriptMapTest, FailedCallsAreOneErrorAndReturn) {
    ScriptMap::RunScript(Fixture("functions.lua"));
    {
        LogCapture log;
        ScriptMap::CallFunction("NeverDefined");
        EXPECT_EQ(log.ErrorCount(), 1);
        EXPECT_TRUE(log.Contains("attempt to call a nil value")) << log.Text();
    }
    {
        LogCapture log;
        ScriptMap::CallFunctionWithString("Fails", "abc");
        EXPECT_EQ(log.ErrorCount(), 1);
        EXPECT_TRUE(log.Contains("fails with abc")) << log.Text();
    }
    {
        LogCapture log;
        ScriptMap::CallFunctionWithFloat("calls", 1.0f);  // a table, not a function
        EXPECT_EQ(log.ErrorCount(), 1);
    }
    EXPECT_EQ(lua_gettop(ScriptMap::state), 0);
}

TEST_F(ScriptMapTest, CallFloatFunctionResults) {
    ScriptMap::RunScript(Fixture("functions.lua"));
    struct Case {
        const char* function;
        float expected;
        int errors;
        const char* message;
    };
    const Case cases[] = {
        {"Twice", 2.5f, 0, ""},
        {"Fails", 0.0f, 1, "fails with 1.25"},
        {"NeverDefined", 0.0f, 1, "attempt to call a nil value"},
        {"GivesText", 0.0f, 1, "'GivesText' returned string, not a number"},
        {"GivesNumericText", 0.0f, 1, "'GivesNumericText' returned string, not a number"},
        {"GivesNothing", 0.0f, 1, "'GivesNothing' returned nil, not a number"},
        {"GivesTable", 0.0f, 1, "'GivesTable' returned table, not a number"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(ScriptMap::CallFloatFunction(c.function, 1.25f), c.expected) << c.function;
        EXPECT_EQ(log.ErrorCount(), c.errors) << c.function;
        EXPECT_TRUE(log.Contains(c.message)) << c.function << "\n" << log.Text();
        EXPECT_EQ(lua_gettop(ScriptMap::state), 0) << c.function;
    }
}

TEST_F(ScriptMapTest, ScriptErrorFromBoundFunctionEndsTheScriptAfterUnwinding) {
    RegisterTestFunctions();
    destroyedGuards = 0;
    LogCapture log;
    const std::string error = RunLua("thrownBefore = 1; ThrowScriptError('x'); thrownAfter = 1");
    EXPECT_EQ(error, "kept x");
    EXPECT_EQ(destroyedGuards, 1);
    EXPECT_EQ(Eval("thrownBefore"), "1");
    EXPECT_EQ(Eval("thrownAfter"), "nil");

    // Through the host: one Error with the exception's text.
    script_test::RunLua("function EndsScript() ThrowScriptError('y') end");
    ScriptMap::CallFunction("EndsScript");
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("kept y")) << log.Text();
    EXPECT_EQ(destroyedGuards, 2);
}

TEST_F(ScriptMapTest, NestedFailingCallIsReportedAndTheOuterScriptGoesOn) {
    RegisterTestFunctions();
    destroyedGuards = 0;
    LogCapture log;
    ScriptMap::RunScript(Fixture("nested.lua"));
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("inner failure")) << log.Text();
    EXPECT_EQ(Eval("nestedAfter"), "reached");
    EXPECT_EQ(destroyedGuards, 1);
    EXPECT_EQ(lua_gettop(ScriptMap::state), 0);
}

TEST_F(ScriptMapTest, LerpAndGetPeriod) {
    struct Case {
        const char* expression;
        const char* expected;
    };
    const Case cases[] = {
        {"getPeriod(7.5, 2)", "1.5"},  {"getPeriod(-7.5, 2)", "-1.5"}, {"getPeriod(7.5, -2)", "1.5"},
        {"getPeriod(4, 2)", "0"},      {"getPeriod(0.5, 2)", "0.5"},   {"lerp(1, 3, 0.25)", "1.5"},
        {"lerp(1, 3, 2)", "5"},        {"lerp(1, 3, -1)", "-1"},       {"lerp(2, 2, 7)", "2"},
    };
    LogCapture log;
    for (const Case& c : cases) {
        EXPECT_EQ(Eval(c.expression), c.expected) << c.expression;
    }
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_FLOAT_EQ(ScriptMap::getPeriod(7.5f, 2.0f), 1.5f);
    EXPECT_FLOAT_EQ(ScriptMap::lerp(1.0f, 3.0f, 0.25f), 1.5f);
}

TEST_F(ScriptMapTest, GetPeriodOfZeroPeriodIsAFailedCheck) {
    LogCapture log;
    EXPECT_EQ(Eval("getPeriod(7.5, 0)"), "7.5");
    EXPECT_EQ(log.ErrorCount(), 1);
    EXPECT_TRUE(log.Contains("period != 0.0f"));
}

TEST_F(ScriptMapTest, WriteToLogFunctions) {
    LogCapture log;
    EXPECT_EQ(RunLua("WriteToLog('plain <line>') WriteToLogColor('blue line', 'Blue')"), "");
    const std::string text = log.Text();
    EXPECT_NE(text.find("Color = Black Face = Verdana>plain &lt;line&gt;</Font>"), std::string::npos) << text;
    EXPECT_NE(text.find("Color = Blue Face = Verdana>blue line</Font>"), std::string::npos) << text;
    EXPECT_EQ(log.ErrorCount(), 0);
}

TEST_F(ScriptMapTest, UserdataBlocksMeetTheBindingsAlignment) {
    // The binding keeps 16-byte aligned objects in userdata; growing blocks keep the alignment.
    lua_State* L = ScriptMap::state;
    for (std::size_t size : {1u, 8u, 24u, 100u, 4096u}) {
        void* block = lua_newuserdata(L, size);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u) << size;
        lua_pop(L, 1);
    }
    EXPECT_EQ(RunLua("local t = {} for i = 1, 1000 do t[i] = Color(i, i, i) end alignedColors = t"), "");
    lua_getglobal(L, "alignedColors");
    lua_rawgeti(L, -1, 1000);
    EXPECT_EQ(luabind::object_cast<Color>(luabind::object(luabind::from_stack(L, -1))).red, 1000 % 256);
    lua_pop(L, 2);
    EXPECT_EQ(RunLua("alignedColors = nil collectgarbage()"), "");
}

// A script in an endless loop is stopped with a report naming the script and the line; the
// next call starts a fresh count, and neither pcall nor a coroutine gets past the stop.
TEST_F(ScriptMapTest, AnEndlessScriptIsStoppedAtItsLimitAndTheNextCallRuns) {
    LuaSupport::SetInstructionLimit(2000000);
    {
        LogCapture log;
        EXPECT_TRUE(ScriptMap::RunScript(Fixture("endless.lua")));
        EXPECT_EQ(log.ErrorCount(), 1);
        EXPECT_TRUE(log.Contains("endless.lua:3: the script ran past its limit of 2000000 instructions")) << log.Text();
        EXPECT_EQ(Eval("endlessBefore"), "1");
        EXPECT_EQ(Eval("endlessAfter"), "nil");
    }
    ScriptMap::RunScript(Fixture("endless_calls.lua"));
    for (const char* name : {"Spin", "SpinCaught", "SpinInCoroutine"}) {
        LogCapture log;
        ScriptMap::CallFunction(name);
        EXPECT_EQ(log.ErrorCount(), 1) << name;
        EXPECT_TRUE(log.Contains("endless_calls.lua:")) << name << "\n" << log.Text();
        EXPECT_TRUE(log.Contains("ran past its limit")) << name;
        EXPECT_EQ(lua_gettop(ScriptMap::state), 0) << name;
        // Every call has its own count.
        for (int i = 0; i < 3; ++i) ScriptMap::CallFunction("Short");
        EXPECT_EQ(log.ErrorCount(), 1) << name;
    }
    EXPECT_EQ(Eval("shortCalls"), "9");
    LuaSupport::SetInstructionLimit(LuaSupport::DEFAULT_INSTRUCTION_LIMIT);
}
