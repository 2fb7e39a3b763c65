// 20 particle effects of 300 particles each (the largest system size), advanced and drawn once a
// frame through the render device and the drawing layer onto OpenGL, headless with
// SDL_VIDEODRIVER=offscreen. Reports the milliseconds of a frame spent in update and in drawing
// (drawing includes presenting, so GL has finished the frame). With GL_LIMIT_ANCHOR naming the
// built gl-limit anchor, the anchor then runs in the same process run with as many quads
// (6,000), for a ratio against this machine's practical limit.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <spawn.h>
#include <sys/wait.h>
#include <tinyxml.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "content/ParticleEffect.h"
#include "content/ParticleLibrary.h"
#include "core/DataFolder.h"
#include "core/Random.h"
#include "shell/RenderDevice.h"

extern char** environ;

namespace {

constexpr int EFFECTS = 20;
constexpr int PARTICLES = 300;

// A fountain that keeps emitting: velocity mode, curves on size and alpha, additive.
const char* const SYSTEM =
    "<ParticleSystem texture='spark.png' numOfParticles='300' lifeInitial='1.5' lifeVariation='0.5' startTime='1.5'"
    " isVelocity='true' emitterAngle='90.0' emitterRange='90.0' orientParticles='true'>"
    "<Param name='v' initial='150.0' variation='50.0' d='-60.0'/><Param name='spin' d='-20.0' dVariation='20.0'/>"
    "<Param name='size'><spline><key initial='3.0'/><key initial='8.0' variation='2.0'/><key initial='1.0'/></spline></Param>"
    "<Param name='red' initial='255.0'/><Param name='green' initial='180.0' variation='60.0' d='-50.0'/>"
    "<Param name='blue' initial='80.0' variation='40.0'/>"
    "<Param name='alpha'><spline><key initial='255.0'/><key initial='200.0'/><key initial='0.0'/></spline></Param>"
    "</ParticleSystem>";

struct Scene {
    HWND window = nullptr;
    std::vector<ParticleEffect> effects;

    bool Start() {
        if (dataFolder.empty()) dataFolder = std::filesystem::temp_directory_path().string() + "/";
        // The texture path is relative to the demo content.
        if (chdir(MARIVEL_SOURCE_DIR "/data") != 0) return false;
        window = CreateDeviceWindow("bench", 800, 600, false, true);
        if (window == nullptr) return false;
        RenderDevice& device = Render::device;
        device.UseDirect3D(Direct3DCreate8(D3D_SDK_VERSION));
        device.CreateDevice(window, false, 800, 600);
        if (!device.IsCreated()) return false;
        Random::Seed(1);
        TiXmlDocument document;
        document.Parse(SYSTEM);
        ParticleSystem system;
        system.Load(document.RootElement(), "bench");
        if (system.GetParticleCount() != PARTICLES) return false;
        ParticleEffect prototype;
        prototype.systems.push_back(system);
        for (int i = 0; i < EFFECTS; ++i) {
            effects.push_back(prototype);
            effects.back().x = 60.0f + 170.0f * (i % 5);
            effects.back().y = 60.0f + 140.0f * (i / 5);
            effects.back().Reset();
        }
        // Into the steady state: every particle born.
        for (int i = 0; i < 120; ++i) Update();
        return true;
    }

    void Update() {
        for (ParticleEffect& e : effects) e.Update(1.0f / 60.0f);
    }

    void Draw() {
        RenderDevice& device = Render::device;
        device._d3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 64), 1.0f, 0);
        device._d3dDevice->BeginScene();
        device.SetPictureViewport();
        device.Enter2DMode();
        device.EnableAlphaBlend(true);
        device.SetBlendMode(0);
        for (ParticleEffect& e : effects) e.Draw();
        device.Leave2DMode();
        device.EndFrame();
    }

    void Stop() {
        effects.clear();
        ParticleTextures::ReleaseAll();
        Render::device.Release();
        SDL_DestroyWindow(window);
    }
};

void BM_TwentyEffectsUpdateAndDraw(benchmark::State& state) {
    Scene scene;
    if (!scene.Start()) {
        state.SkipWithError("no device or no demo content");
        return;
    }
    double update = 0;
    double draw = 0;
    int frames = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        scene.Update();
        const auto t1 = std::chrono::steady_clock::now();
        scene.Draw();
        const auto t2 = std::chrono::steady_clock::now();
        update += std::chrono::duration<double>(t1 - t0).count();
        draw += std::chrono::duration<double>(t2 - t1).count();
        ++frames;
    }
    state.counters["update_ms"] = frames ? 1000.0 * update / frames : 0;
    state.counters["draw_ms"] = frames ? 1000.0 * draw / frames : 0;
    state.counters["fps"] = benchmark::Counter((double)frames, benchmark::Counter::kIsRate);
    std::printf("particles: %d effects x %d particles: update %.3f ms, draw %.3f ms per frame\n", EFFECTS, PARTICLES,
                frames ? 1000.0 * update / frames : 0, frames ? 1000.0 * draw / frames : 0);
    scene.Stop();
}
BENCHMARK(BM_TwentyEffectsUpdateAndDraw)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// Update alone, without a device: the CPU side of the particle engine.
void BM_TwentyEffectsUpdateOnly(benchmark::State& state) {
    Random::Seed(2);
    TiXmlDocument document;
    document.Parse(SYSTEM);
    ParticleSystem system;
    system.Load(document.RootElement(), "bench");
    std::vector<ParticleEffect> effects(EFFECTS);
    for (ParticleEffect& e : effects) {
        e.systems.push_back(system);
        e.Reset();
    }
    for (auto _ : state) {
        for (ParticleEffect& e : effects) e.Update(1.0f / 60.0f);
        benchmark::DoNotOptimize(effects[0].systems[0].particles[0].params[PARAM_ALPHA].value);
    }
}
BENCHMARK(BM_TwentyEffectsUpdateOnly)->Unit(benchmark::kMicrosecond);

void RunAnchor() {
    const char* anchor = std::getenv("GL_LIMIT_ANCHOR");
    if (anchor == nullptr || *anchor == '\0') return;
    std::vector<std::string> env = {"QUADS=6000", "SECONDS_RUN=3"};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QUADS=", 0) != 0 && entry.rfind("SECONDS_RUN=", 0) != 0) env.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(&e[0]);
    envp.push_back(nullptr);
    std::string program = anchor;
    char* argv[] = {&program[0], nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, anchor, nullptr, nullptr, argv, envp.data()) != 0) {
        std::printf("gl-limit anchor %s could not be started\n", anchor);
        return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::fflush(stdout);
    RunAnchor();
    return 0;
}
