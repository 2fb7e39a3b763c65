#include "shell/ScriptApi.h"

#include <luabind/luabind.hpp>

#include "core/Assert.h"
#include "core/Color.h"
#include "core/Message.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Point.h"
#include "shell/LuaSupport.h"
#include "shell/ScriptMap.h"
#include "shell/ScriptServices.h"
#include "shell/ScriptStandIns.h"
#include "shell/SoundSystem.h"

namespace {

// Global functions that reach other parts of the program through the connected services.
void RunExecutable(const std::string& fileName) {
    const auto& run = GetScriptServices().runExecutable;
    if (!run) return ReportNotLoaded("RunExecutable", "shell commands are");
    run(fileName);
}

void ShellExecuteOpen(const std::string& fileName) {
    const auto& open = GetScriptServices().shellExecuteOpen;
    if (!open) return ReportNotLoaded("ShellExecuteOpen", "shell commands are");
    open(fileName);
}

void Pause() {}

void ReleaseResourceGroup(const std::string& group) {
    const auto& release = GetScriptServices().releaseResourceGroup;
    if (!release) return ReportNotLoaded("ReleaseResourceGroup", "resources are");
    release(group);
}

void UploadResourceGroup(const std::string& group) {
    const auto& upload = GetScriptServices().uploadResourceGroup;
    if (!upload) return ReportNotLoaded("UploadResourceGroup", "resources are");
    upload(group);
}

bool IsScreensaverEnabled() {
    const auto& enabled = GetScriptServices().isScreensaverEnabled;
    if (!enabled) {
        ReportNotLoaded("IsScreensaverEnabled", "screensaver commands are");
        return false;
    }
    return enabled();
}

void UninstallScreensaver() {
    const auto& uninstall = GetScriptServices().uninstallScreensaver;
    if (!uninstall) return ReportNotLoaded("UninstallScreensaver", "screensaver commands are");
    uninstall();
}

void InstallScreensaver() {
    const auto& install = GetScriptServices().installScreensaver;
    if (!install) return ReportNotLoaded("InstallScreensaver", "screensaver commands are");
    install();
}

float Ease(float t, float a, float b) {
    const auto& ease = GetScriptServices().ease;
    if (!ease) {
        ReportNotLoaded("ease", "splines are");
        return 0.0f;
    }
    return ease(t, a, b);
}

void CloseApplication() {
    const auto& close = GetScriptServices().closeApplication;
    if (!close) return ReportNotLoaded("CloseApplication", "the application is");
    close();
}

void CommitStorage() { PermanentStorage::Commit(); }

// "Commit", with the game timer paused for its duration.
void Commit() {
    const auto& runPaused = GetScriptServices().runPaused;
    if (runPaused) {
        runPaused(&CommitStorage);
    } else {
        CommitStorage();
    }
}

void RegisterSplineStandIn(lua_State* L) {
    using ScriptStandIn::Spline;
    luabind::module(L)[luabind::class_<Spline>("Spline")
                           .def(luabind::constructor<>())
                           .def("addKey", &Spline::addKey)
                           .def("getFrame", &Spline::getFrame)
                           .def("getGlobalFrame", &Spline::getGlobalFrame)
                           .def("getGradient", &Spline::getGradient)
                           .def("getSectors", &Spline::getSectors)
                           .def("Clear", &Spline::Clear)
                           .def("CalculateGradient", &Spline::CalculateGradient)];
}

void RegisterEffectStandIn(lua_State* L) {
    luabind::module(L)[luabind::class_<ScriptStandIn::Effect>("Effect")];
}

void RegisterControllersStandIn(lua_State* L) {
    using ScriptStandIn::ControllerManager;
    luabind::module(L)[luabind::class_<ScriptStandIn::IController>("IController"),
                       luabind::class_<ControllerManager>("ControllerManager")
                           .def("addController", &ControllerManager::addController)];
}

void SetKernelStandIn(lua_State* L) {
    luabind::globals(L)["kernel"] = &ScriptStandIn::GetControllerManager();
}

// Calls the connected registration, or the stand-in while none is connected.
void RegisterWith(const std::function<void(lua_State*)>& connected, void (*standIn)(lua_State*),
                  lua_State* L) {
    if (connected) {
        connected(L);
    } else {
        standIn(L);
    }
}

}  // namespace

void RegisterScriptApi() {
    using namespace luabind;
    lua_State* L = ScriptMap::state;
    Assert(L != NULL);
    if (L == nullptr) {
        return;
    }
    const ScriptServices& services = GetScriptServices();

    // Values.
    RegisterWith(services.registerSpline, &RegisterSplineStandIn, L);
    {
        // The script numbers are truncated to int; Color keeps the low 8 bits of each.
        module(L)[class_<Color>("Color")
                      .def(constructor<int, int, int, int>())
                      .def(constructor<int, int, int>()),
                  class_<Point>("Point").def(constructor<int, int>())];
    }

    // Messages.
    {
        module(L)[class_<Message>("Message")
                      .def(constructor<std::string>())
                      .def(constructor<std::string, std::string>())
                      .def(constructor<std::string, std::int32_t>())
                      .def("is", static_cast<bool (Message::*)(const std::string&) const>(&Message::is))
                      .def("is", static_cast<bool (Message::*)(const std::string&, const std::string&) const>(
                                     &Message::is))];
    }

    // Effects and controllers.
    RegisterWith(services.registerEffect, &RegisterEffectStandIn, L);
    RegisterWith(services.registerControllers, &RegisterControllersStandIn, L);

    // Global functions.
    module(L)[def("RunExecutable", &RunExecutable),
              def("ShellExecuteOpen", &ShellExecuteOpen),
              def("WriteToLogColor", &ScriptMap::WriteToLogColor),
              def("WriteToLog", &ScriptMap::WriteToLog),
              def("IsReceiver", &IsReceiver),
              def("SendMessageReply", &SendMessageReply),
              def("SendMessage", &SendMessage),
              def("Pause", &Pause),
              def("ReleaseResourceGroup", &ReleaseResourceGroup),
              def("UploadResourceGroup", &UploadResourceGroup),
              def("IsScreensaverEnabled", &IsScreensaverEnabled),
              def("UninstallScreensaver", &UninstallScreensaver),
              def("InstallScreensaver", &InstallScreensaver),
              def("getPeriod", &ScriptMap::getPeriod),
              def("ease", &Ease),
              def("lerp", &ScriptMap::lerp),
              def("LoadEffects", &ScriptMap::LoadEffects),
              def("LoadParticles", &ScriptMap::LoadParticles),
              def("CloseApplication", &CloseApplication),
              def("LoadTemplate", &ScriptMap::LoadTemplate),
              def("LoadResource", &ScriptMap::LoadResource),
              def("LoadControlTree", &ScriptMap::LoadControlTree)];

    // The table "PermanentStorage".
    {
        using Storage = PermanentStorage;
        module(L)[namespace_("PermanentStorage")[
            def("DeleteInactivePlayers", &Storage::DeleteInactivePlayers),
            def("RenamePlayer", &Storage::RenamePlayer),
            def("CreatePlayer", &Storage::CreatePlayer),
            def("Commit", &Commit),
            def("BackupActivePlayer", &Storage::BackupActivePlayer),
            def("SetActivePlayer", &Storage::SetActivePlayer),
            def("DoesPlayerExist", &Storage::DoesPlayerExist),
            def("GetActivePlayerName", &Storage::GetActivePlayerName),
            def("UndefLocalName", &Storage::UndefLocalName),
            def("IsLocalNameDefined", &Storage::IsLocalNameDefined),
            def("GetLocalStringOrDef", &Storage::GetLocalStringOrDef),
            def("GetLocalFloatOrDef", &Storage::GetLocalFloatOrDef),
            def("GetLocalBoolOrDef", &Storage::GetLocalBoolOrDef),
            def("GetLocalIntOrDef", &Storage::GetLocalIntOrDef),
            def("GetLocalString", &Storage::GetLocalString),
            def("GetLocalFloat", &Storage::GetLocalFloat),
            def("GetLocalBool", &Storage::GetLocalBool),
            def("GetLocalInt", &Storage::GetLocalInt),
            def("SetLocalString", &Storage::SetLocalString),
            def("SetLocalFloat", &Storage::SetLocalFloat),
            def("SetLocalBool", &Storage::SetLocalBool),
            def("SetLocalInt", &Storage::SetLocalInt),
            def("UndefGlobalName", &Storage::UndefGlobalName),
            def("IsGlobalNameDefined", &Storage::IsGlobalNameDefined),
            def("GetGlobalStringOrDef", &Storage::GetGlobalStringOrDef),
            def("GetGlobalFloatOrDef", &Storage::GetGlobalFloatOrDef),
            def("GetGlobalBoolOrDef", &Storage::GetGlobalBoolOrDef),
            def("GetGlobalIntOrDef", &Storage::GetGlobalIntOrDef),
            def("GetGlobalString", &Storage::GetGlobalString),
            def("GetGlobalFloat", &Storage::GetGlobalFloat),
            def("GetGlobalBool", &Storage::GetGlobalBool),
            def("GetGlobalInt", &Storage::GetGlobalInt),
            def("SetGlobalString", &Storage::SetGlobalString),
            def("SetGlobalFloat", &Storage::SetGlobalFloat),
            def("SetGlobalBool", &Storage::SetGlobalBool),
            def("SetGlobalInt", &Storage::SetGlobalInt)]];
    }

    // The sound system.
    {
        using Sound::SoundSystemImpl;
        module(L)[class_<SoundSystemImpl>("SoundSystem")
                      .def("PlaySample", &SoundSystemImpl::PlaySample)
                      .def("PlaySampleEx", &SoundSystemImpl::PlaySampleEx)
                      .def("FadeInTrack", &SoundSystemImpl::FadeInTrack)
                      .def("FadeOutTrack", &SoundSystemImpl::FadeOutTrack)
                      .def("FadeOutAllTracks", &SoundSystemImpl::FadeOutAllTracks)
                      .def("DelayPlayTrack", &SoundSystemImpl::DelayPlayTrack)
                      .def("PlayTrack", &SoundSystemImpl::PlayTrack)
                      .def("SetSoundVolume", &SoundSystemImpl::SetSoundVolume)
                      .def("SetMusicVolume", &SoundSystemImpl::SetMusicVolume)
                      .def("SetLowVolumeTime", &SoundSystemImpl::SetLowVolumeTime)];
    }

    // The layered animations of the content subsystem.
    if (services.registerLayeredAnimations) {
        services.registerLayeredAnimations(L);
    }

    // The two global objects.
    globals(L)["Sound"] = &Sound::soundSystem;
    RegisterWith(services.setKernel, &SetKernelStandIn, L);
}
