#include "shell/ScriptMap.h"

#include <cmath>

#include <luabind/luabind.hpp>

#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "core/MessageServer.h"
#include "core/XmlRead.h"
#include "platform/FilePort.h"
#include "shell/LuaSupport.h"
#include "shell/ScriptServices.h"

lua_State* ScriptMap::state = nullptr;

namespace {

void PushScriptError(lua_State* L, const ScriptError& error) { lua_pushstring(L, error.what()); }

// A failed check that throws inside a script function (under a caller's guard, or a refused
// pointer access) ends the script with the check's text.
void PushFailedCheck(lua_State* L, const AssertionFailedException& failure) {
    lua_pushstring(L, failure.GetText().c_str());
}

}  // namespace

void ScriptMap::Open() {
    Assert(state == NULL);
    if (state != nullptr) {
        return;
    }
    state = LuaSupport::NewState();
    LuaSupport::OpenLibraries(state);
    luabind::open(state);
    luabind::register_exception_handler<ScriptError>(&PushScriptError);
    luabind::register_exception_handler<AssertionFailedException>(&PushFailedCheck);
    // Messages to "lua:" + name reach the script function of that name.
    MessageServer::SetScriptCall(&ScriptMap::CallFunctionWithString);
}

bool ScriptMap::RunScript(const std::string& fileName) {
    lua_State* L = state;
    Assert(L != NULL);
    if (L == nullptr) {
        return false;
    }
    const std::string path = FilePort::NormalizePath(fileName);
    // Scripts are text; precompiled chunks are refused.
    if (luaL_loadfilex(L, path.c_str(), "t") != LUA_OK) {
        ReportError(LuaSupport::PopErrorText(L));
        return false;
    }
    if (LuaSupport::ProtectedCall(L, 0, 0) != LUA_OK) {
        ReportError(LuaSupport::PopErrorText(L));
    }
    return true;
}

namespace {

// Calls by name share one path: a failed call is one Error with the interpreter's message.
bool CallAndReport(const std::string& name, const LuaSupport::CallArgument& argument, int results) {
    Assert(ScriptMap::state != NULL);
    if (ScriptMap::state == nullptr) {
        return false;
    }
    std::string error;
    if (!LuaSupport::CallGlobal(ScriptMap::state, name, argument, results, &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

}  // namespace

void ScriptMap::CallFunction(const std::string& name) {
    CallAndReport(name, LuaSupport::NoArgument(), 0);
}

void ScriptMap::CallFunctionWithString(const std::string& name, const std::string& text) {
    CallAndReport(name, LuaSupport::StringArgument(text), 0);
}

void ScriptMap::CallFunctionWithFloat(const std::string& name, float value) {
    CallAndReport(name, LuaSupport::NumberArgument(value), 0);
}

float ScriptMap::CallFloatFunction(const std::string& name, float value) {
    if (!CallAndReport(name, LuaSupport::NumberArgument(value), 1)) {
        return 0.0f;
    }
    lua_State* L = state;
    if (lua_type(L, -1) != LUA_TNUMBER) {
        const std::string kind = luaL_typename(L, -1);
        lua_pop(L, 1);
        ReportError("Script function '" + name + "' returned " + kind + ", not a number");
        return 0.0f;
    }
    const float result = LuaSupport::ToFloat(lua_tonumber(L, -1));
    lua_pop(L, 1);
    return result;
}

// The content loaders read their file and hand it to the connected subsystems.
void ScriptMap::LoadControlTree(const std::string& fileName) {
    const auto& setRoot = GetScriptServices().setRootContainer;
    if (!setRoot) return ReportNotLoaded("LoadControlTree", "control trees are");
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(fileName));
    ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) {
        return;  // the reader has reported it
    }
    Assert(root->GetName() == "ControlContainer");
    setRoot(root);
    root->CheckVisited();
}

void ScriptMap::LoadTemplate(const std::string& fileName) {
    const auto& addTemplate = GetScriptServices().addTemplate;
    if (!addTemplate) return ReportNotLoaded("LoadTemplate", "templates are");
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(fileName));
    ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) {
        return;
    }
    for (ObjectWeakPointer<XmlElement> child = root->GetFirstChildElement(); child != NULL;
         child = child->GetNextElement()) {
        Assert(child->GetName() == "Template");
        const std::string templateName = child->GetStringAttribute("templateName");
        ObjectWeakPointer<XmlElement> body = child->GetFirstChildElement();
        // A template without an element has nothing to register.
        Assert(body != NULL);
        if (body == NULL) {
            continue;
        }
        addTemplate(templateName, ObjectSmartPointer<XmlElement>(new XmlElement(body)));
    }
    root->CheckVisited();
}

void ScriptMap::LoadResource(const std::string& fileName) {
    const auto& loadResources = GetScriptServices().loadResources;
    if (!loadResources) return ReportNotLoaded("LoadResource", "resources are");
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(fileName));
    ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) {
        return;
    }
    loadResources(root);
}

void ScriptMap::LoadParticles(const std::string& fileName) {
    const auto& load = GetScriptServices().loadParticles;
    if (!load) return ReportNotLoaded("LoadParticles", "particles are");
    load(fileName);
}

void ScriptMap::LoadEffects(const std::string& fileName) {
    const auto& load = GetScriptServices().loadEffects;
    if (!load) return ReportNotLoaded("LoadEffects", "effects are");
    load(fileName);
}

float ScriptMap::lerp(float a, float b, float t) { return a + (b - a) * t; }

float ScriptMap::getPeriod(float value, float period) {
    // A zero period has no remainder; the value comes back unchanged.
    Assert(period != 0.0f);
    if (period == 0.0f) {
        return value;
    }
    const float q = std::trunc(value / period);
    return value - period * q;
}

void ScriptMap::WriteToLog(const std::string& text) { HtmlLog::WriteLine(text); }

void ScriptMap::WriteToLogColor(const std::string& text, const std::string& color) {
    HtmlLog::WriteLineColor(text, color);
}
