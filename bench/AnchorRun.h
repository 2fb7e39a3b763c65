#pragma once
// Runs the quad-scene anchors (the gl-limit program and the LÖVE scene, from /work/shared/anchors
// or MARIVEL_ANCHORS) as child processes with this process's environment, QUADS and SECONDS_RUN
// set, and takes their own report line, CPU time (all threads) and peak resident size, through a
// small launcher process so that those are the anchor's alone.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace anchor_run {

struct Result {
    bool ok = false;
    int frames = 0;
    double fps = 0.0;     // as the anchor reports it: finished frames over its own timed run
    double cpu = 0.0;     // seconds, user and system, of all its threads, start-up included
    double peakMb = 0.0;  // largest resident size
    std::string error;
};

// User and system time in seconds.
inline double CpuSeconds(const struct rusage& ru) {
    return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

inline std::string Folder() {
    const char* dir = std::getenv("MARIVEL_ANCHORS");
    return dir != nullptr && *dir != '\0' ? dir : "/work/shared/anchors";
}

inline std::string TempFolder() {
    char pattern[] = "/tmp/marivel-anchor-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? std::string(made) + "/" : std::string("/tmp/");
}

// This process's own peak resident size in MB (since its start or its last exec).
inline double OwnPeakMegabytes() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f) != nullptr) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
    }
    std::fclose(f);
    return static_cast<double>(kb) / 1024.0;
}

// The number after "name=" in a report line; 0 when missing.
inline double ReportedValue(const std::string& line, const char* name) {
    const std::string key = std::string(" ") + name + "=";
    const std::size_t at = line.find(key);
    return at == std::string::npos ? 0.0 : std::atof(line.c_str() + at + key.size());
}

struct Finished {
    bool started = false;
    int status = 0;
    struct rusage usage = {};
    std::string output;
};

// Runs argv to its end with the environment of this process, the entries of extra replacing those
// of the same name; takes its standard output, its standard error goes nowhere.
inline Finished Run(const std::vector<std::string>& argv, const std::vector<std::string>& extra) {
    Finished finished;
    std::vector<std::string> env = extra;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& x : extra) {
            const std::size_t eq = x.find('=');
            replaced = replaced || entry.compare(0, eq + 1, x, 0, eq + 1) == 0;
        }
        if (!replaced) env.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(&e[0]);
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (std::string& a : args) argp.push_back(&a[0]);
    argp.push_back(nullptr);

    const std::string folder = TempFolder();
    const std::string out = folder + "out.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (started == 0 && wait4(pid, &finished.status, 0, &finished.usage) == pid) {
        finished.started = true;
        std::ifstream file(out);
        finished.output.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::remove(out.c_str());
    if (folder != "/tmp/") rmdir(folder.c_str());
    return finished;
}

// The small program the anchors are started through (bench/anchor-launch.cpp).
inline std::string Launcher() {
#ifdef MARIVEL_ANCHOR_LAUNCHER
    return MARIVEL_ANCHOR_LAUNCHER;
#else
    return "anchor-launch";
#endif
}

// An anchor run: its report line, and the CPU time and peak resident size of the anchor alone, as
// the launcher between this process and the anchor takes them.
inline Result Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extra) {
    Result result;
    std::vector<std::string> launched = {Launcher()};
    launched.insert(launched.end(), argv.begin(), argv.end());
    const Finished finished = Run(launched, extra);
    const std::size_t line = finished.output.rfind("anchor-launch exit=");
    if (!finished.started || line == std::string::npos) {
        result.error = "could not run " + argv[0] + " through " + Launcher();
        return result;
    }
    const std::string report = " " + finished.output.substr(line);
    result.cpu = ReportedValue(report, "user_s") + ReportedValue(report, "system_s");
    result.peakMb = ReportedValue(report, "maxrss_kb") / 1024.0;
    const std::string output = finished.output.substr(0, line);
    result.frames = static_cast<int>(ReportedValue(output, "frames"));
    result.fps = ReportedValue(output, "fps");
    const bool exited = report.find(" exit=0 ") != std::string::npos;
    result.ok = exited && result.frames > 0 && result.fps > 0;
    if (!result.ok) result.error = argv[0] + " did not report its frames";
    return result;
}

// True when argv ran and exited with 0.
inline bool Succeeds(const Finished& finished) {
    return finished.started && WIFEXITED(finished.status) && WEXITSTATUS(finished.status) == 0;
}

// The gl-limit program, built once; empty when it does not build.
inline const std::string& GlLimitProgram() {
    static const std::string program = [] {
        const Finished flags = Run({"sdl2-config", "--cflags", "--libs"}, {});
        if (!Succeeds(flags)) return std::string();
        const std::string path = TempFolder() + "quads";
        std::vector<std::string> build = {"gcc", "-O2", Folder() + "/gl-limit/quads.c"};
        std::istringstream words(flags.output);
        for (std::string word; words >> word;) build.push_back(word);
        for (const char* tail : {"-lGL", "-lm", "-o"}) build.push_back(tail);
        build.push_back(path);
        return Succeeds(Run(build, {})) ? path : std::string();
    }();
    return program;
}

inline std::vector<std::string> SceneEnvironment(int quads, double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return {"QUADS=" + std::to_string(quads), std::string("SECONDS_RUN=") + text};
}

inline Result GlLimit(int quads, double seconds) {
    if (GlLimitProgram().empty()) {
        Result failed;
        failed.error = "gl-limit did not build";
        return failed;
    }
    return Spawn({GlLimitProgram()}, SceneEnvironment(quads, seconds));
}

inline Result Love(int quads, double seconds) {
    // Without its scene LÖVE shows its own screen and never ends.
    if (access((Folder() + "/love-quads/main.lua").c_str(), R_OK) != 0) {
        Result failed;
        failed.error = "no LÖVE scene in " + Folder();
        return failed;
    }
    return Spawn({"love", Folder() + "/love-quads"}, SceneEnvironment(quads, seconds));
}

}  // namespace anchor_run
