#pragma once
// Services of other parts of the program that the script functions reach. Each part connects its
// own before the script API is registered; a part left unconnected keeps a stand-in that reports
// that its kind of content is not loaded.

#include <functional>
#include <string>

#include "core/ObjectSmartPointer.h"

class XmlElement;

struct lua_State;

struct ScriptServices {
    // What the content loaders hand over once they have read their file: the root element of a
    // control tree (built into a new root container that replaces the previous tree), one
    // template by name, and the root element of a resource list.
    std::function<void(const ObjectWeakPointer<XmlElement>&)> setRootContainer;
    std::function<void(const std::string&, const ObjectSmartPointer<XmlElement>&)> addTemplate;
    std::function<void(const ObjectWeakPointer<XmlElement>&)> loadResources;
    // Particle and effect files by name, resource groups by name.
    std::function<void(const std::string&)> loadParticles;
    std::function<void(const std::string&)> loadEffects;
    std::function<void(const std::string&)> uploadResourceGroup;
    std::function<void(const std::string&)> releaseResourceGroup;
    // The ease-in/ease-out curve of the spline code: (t, a, b).
    std::function<float(float, float, float)> ease;

    // Application and shell commands.
    // Runs the work with the game timer paused for its duration; unconnected, runs it directly.
    std::function<void(const std::function<void()>&)> runPaused;
    std::function<void()> closeApplication;
    std::function<void(const std::string&)> runExecutable;
    std::function<void(const std::string&)> shellExecuteOpen;
    std::function<bool()> isScreensaverEnabled;
    std::function<void()> installScreensaver;
    std::function<void()> uninstallScreensaver;

    // Class registrations, each called at its place in the registration order.
    std::function<void(lua_State*)> registerSpline;             // class "Spline"
    std::function<void(lua_State*)> registerEffect;             // class "Effect"
    std::function<void(lua_State*)> registerControllers;        // "IController", "ControllerManager"
    std::function<void(lua_State*)> registerLayeredAnimations;  // the layered-animation classes
    std::function<void(lua_State*)> setKernel;                  // the global "kernel"
};

// The one set of connected services.
ScriptServices& GetScriptServices();

// Reports that a script function reached a service that is not connected.
void ReportNotLoaded(const std::string& function, const std::string& kind);
