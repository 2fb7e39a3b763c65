#include "shell/Entry.h"

#include <time.h>
#include <unistd.h>

#include <cfenv>
#include <cstdio>
#include <map>
#include <vector>

#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "core/PermanentStorage.h"
#include "platform/FilePort.h"
#include "platform/render/PngFile.h"
#include "platform/shell/Desktop.h"
#include "platform/shell/StopRequest.h"
#include "shell/Application.h"
#include "shell/EntryOptions.h"
#include "shell/EntrySettings.h"
#include "shell/EntryShutdown.h"
#include "shell/RenderDevice.h"
#include "shell/ScreensaverInstall.h"
#include "shell/WindowInput.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return true;
}

void WriteScreenshot(const std::string& path) {
    if (Render::device._d3dDevice == nullptr) return;
    render_layer::PngPicture frame;
    if (Render::device._d3dDevice->ReadBackBuffer(&frame.pixels, &frame.width, &frame.height) != D3D_OK) {
        std::fprintf(stderr, "Marivel: the frame cannot be read back\n");
        return;
    }
    for (auto& pixel : frame.pixels) pixel |= 0xFF000000u;
    std::string error;
    if (!render_layer::WritePng(path, frame, false, &error)) std::fprintf(stderr, "Marivel: %s\n", error.c_str());
}

// The main thread's CPU time between one present and the next, written as one line a present:
// "<frame> <milliseconds> <phase>", phase "start" (splash and load screens before the main loop)
// or "run"; the frame is the number of the last frame drawn (load screens repeat it).
class FrameTimes {
public:
    void Presented(int frame) {
        const double now = ThreadSeconds();
        if (_last >= 0.0) {
            char line[96];
            std::snprintf(line, sizeof line, "%d %.3f %s\n", frame, 1000.0 * (now - _last), running ? "run" : "start");
            _lines += line;
        }
        _last = now;
    }
    void Write(const std::string& path) const {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            std::fprintf(stderr, "Marivel: cannot write %s\n", path.c_str());
            return;
        }
        std::fwrite(_lines.data(), 1, _lines.size(), f);
        std::fclose(f);
    }
    bool running = false;

private:
    static double ThreadSeconds() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    double _last = -1.0;
    std::string _lines;
};

// A failure report "Title: text\n\nfile, line n" on one line: "Title: text (file, line n)".
std::string OneLine(const std::string& text) {
    auto flatten = [](const std::string& part) {
        std::string line;
        for (char c : part) {
            if (c == '\r') continue;
            if (c == '\n') c = ' ';
            if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
            line += c;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        return line;
    };
    const size_t gap = text.rfind("\n\n");
    if (gap == std::string::npos) return flatten(text);
    return flatten(text.substr(0, gap)) + " (" + flatten(text.substr(gap + 2)) + ")";
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) return path;
    return path == "." ? std::string(buffer) : std::string(buffer) + "/" + path;
}

}  // namespace

int EntryMain(int argc, const char* const* argv) {
    EntryOptions options;
    std::string error;
    if (!ParseEntryOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "Marivel: %s\n", error.c_str());
        return 2;
    }
    std::multimap<int, WindowMessage> events;
    if (!options.events.empty()) {
        std::string script;
        if (!ReadWholeFile(options.events, script)) {
            std::fprintf(stderr, "Marivel: cannot read %s\n", options.events.c_str());
            return 2;
        }
        if (!ParseInputScript(script, events, error)) {
            std::fprintf(stderr, "Marivel: %s: %s\n", options.events.c_str(), error.c_str());
            return 2;
        }
    }
    ProgramArguments::Set(argc, argv);

    // 1. Settings and data folder first: the one-instance lock lies in the data folder, so that
    // "useAppData = false" leaves nothing in the user's folders. A later start brings the first
    // window forward.
    const EntrySettings settings = ReadSettingsFile("settings.ini", &SetCurrentDirectory);
    const std::string folder = PrepareDataFolder(settings);
    SingleInstanceLock instance;
    if (!instance.Acquire(folder + "Marivel.lock")) return 0;
    // 2. Drawing must be possible.
    if (!Desktop::CanMakeGlContext()) {
        Desktop::ShowErrorBox("DirectX Version:", "Required DirectX 8.0 or latest");
        return 0;
    }
    // 3. Floating-point traps in developer builds only, never for underflow.
#ifdef MARIVEL_DEVELOPER
    feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
#endif
    // 4. to 6. The log in the data folder.
    dataFolder = folder;
    HtmlLog::Open(settings.recreateLog);
    SeedDataFolder(folder);

    // 7. and 8. Storage and start-up values.
    PermanentStorage::Load();
    PermanentStorage::SetGlobalBool("dev", settings.dev);
    bool fullScreen = PermanentStorage::GetGlobalBoolOrDef("isFullScreen", false);
    const bool screensaverMode = IsScreensaverCommandLine(argc, argv);
    PermanentStorage::SetGlobalBool("temp:ScreensaverMode", screensaverMode);
    if (screensaverMode) fullScreen = true;
    if (PermanentStorage::GetGlobalBoolOrDef("Use UTF-8", false)) Render::device._useUtf8 = true;
    PermanentStorage::SetGlobalBool("temp:advertisement", settings.advertisement);
    PermanentStorage::SetGlobalBool("temp:adVisible", settings.adVisible);

    // 9. The application's whole life.
    bool startScriptRan = true;
    {
        ApplicationOptions appOptions;
        appOptions.frames = options.frames;
        appOptions.fixedStep = options.fixedStepMs / 1000.0f;
        appOptions.seed = options.seed;
        const std::string screenshot = options.screenshot;
        const bool everyFrame = options.frames == 0;
        FrameTimes frameTimes;
        const bool timed = !options.frameTimes.empty();
        if (!screenshot.empty() || timed) {
            appOptions.beforePresent = [screenshot, everyFrame, timed, &frameTimes](int frame, bool last) {
                if (timed) frameTimes.Presented(frame);
                if (!screenshot.empty() && (last || everyFrame)) WriteScreenshot(screenshot);
            };
        }
        appOptions.neverWait = !events.empty();
        if (!events.empty()) {
            appOptions.beforeTick = [&events](int nextFrame) {
                Application* app = Core::appInstance;
                if (!app || app->_mainWindow == NULL) return;
                auto range = events.equal_range(nextFrame);
                for (auto it = range.first; it != range.second; ++it) app->_mainWindow->PostMessage(it->second);
                events.erase(range.first, range.second);
            };
        }
        // A stop asked for during the start-up skips the application and goes on to the saving.
        if (StopRequest::RequestedSignal() == 0) {
            Application application(1, fullScreen, appOptions);
            startScriptRan = application.StartScriptRan();
            frameTimes.running = true;
            application.Run();
            application.Shutdown();
        }
        if (timed) frameTimes.Write(options.frameTimes);
    }

    RunShutdown(ReadShutdownValues(), SystemShutdownPorts());
    // The log lies out of sight in the data folder: its first error and its place go to the
    // terminal as well.
    if (!startScriptRan) std::fprintf(stderr, "Marivel: cannot run start.lua in %s\n", AbsolutePath(".").c_str());
    std::string firstError;
    if (HtmlLog::FirstError(&firstError)) {
        std::fprintf(stderr, "Marivel: %s\nMarivel: see the log %s\n", Utf8FromWindows1251(OneLine(firstError)).c_str(),
                     AbsolutePath(HtmlLog::FileName()).c_str());
    }
    return startScriptRan ? 0 : 1;
}
