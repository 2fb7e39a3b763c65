// Textured, rotated, scaled, tinted quads at alpha 0.8 per frame (QUADS in the environment,
// 10,000 by default) through the render device and the drawing layer onto OpenGL: the scene of
// the gl-limit and LÖVE anchors (32 x 32 disc, linear filtering, 800 x 600), headless with
// SDL_VIDEODRIVER=offscreen. Frames count when finished (the backend keeps at most two frames
// in flight). Peak resident sizes in MB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/AnchorRun.h"
#include "core/DataFolder.h"
#include "platform/render/PngFile.h"
#include "shell/RenderDevice.h"

namespace {

int QuadCount() {
    const char* text = std::getenv("QUADS");
    const int count = text != nullptr ? std::atoi(text) : 0;
    return count > 0 ? count : 10000;
}


struct Quad {
    float x, y, angle, scale;
    Color tint;
};

struct Scene {
    HWND window = nullptr;
    IDirect3DTexture8* disc = nullptr;
    std::vector<Quad> quads;

    bool Start() {
        // The device's log lines go to the temporary folder.
        if (dataFolder.empty()) dataFolder = std::filesystem::temp_directory_path().string() + "/";
        window = CreateDeviceWindow("bench", 800, 600, false, true);
        if (window == nullptr) return false;
        RenderDevice& device = Render::device;
        device.UseDirect3D(Direct3DCreate8(D3D_SDK_VERSION));
        device.CreateDevice(window, false, 800, 600);
        if (!device.IsCreated()) return false;
        std::vector<D3DCOLOR> pixels(32 * 32);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const double d = std::sqrt((x - 16) * (x - 16) + (y - 16) * (y - 16));
                pixels[y * 32 + x] = D3DCOLOR_ARGB(d < 15 ? 255 : 0, 255, x * 8, y * 8);
            }
        }
        device.UploadTexture(&disc, 32, 32, true, pixels.data());
        std::srand(1);
        auto next = [] { return std::rand() / (float)RAND_MAX; };
        const int count = QuadCount();
        for (int i = 0; i < count; ++i) {
            Quad q;
            q.x = next() * 800;
            q.y = next() * 600;
            q.angle = next() * 6.28f;
            q.scale = 0.5f + next();
            q.tint = Color((uint8_t)(next() * 255), (uint8_t)(next() * 255), (uint8_t)(next() * 255), 204);
            quads.push_back(q);
        }
        return true;
    }

    void Stop() {
        Render::device.ReleaseTexture(disc);
        Render::device.Release();
        if (window) SDL_DestroyWindow(window);
        window = nullptr;
    }
};

// A cleared frame in 2D mode with the disc bound for alpha blending.
void BeginQuads(const Scene& scene) {
    RenderDevice& device = Render::device;
    IDirect3DDevice8* d3d = device._d3dDevice;
    d3d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 64), 1.0f, 0);
    d3d->BeginScene();
    device.SetPictureViewport();
    device.Enter2DMode();
    device.EnableAlphaBlend(true);
    device.SetBlendMode(0);
    device.BindTexture(scene.disc, 1, 1, 1);
}

// The scene the game's way: every quad pushes a matrix and a colour and draws one rectangle.
void DrawQuads(const Scene& scene, int frame) {
    RenderDevice& device = Render::device;
    static const float zAxis[3] = {0, 0, 1};
    BeginQuads(scene);
    for (const Quad& q : scene.quads) {
        device.PushMatrix();
        device.MatrixTranslate(q.x, q.y, 0);
        device.MatrixRotate(zAxis, (q.angle + frame * 0.01f) * 57.29578f);
        device.MatrixScaleUniform(q.scale);
        device.PushColor(q.tint);
        device.DrawRect(-16, -16, 32, 32);
        device.PopColor();
        device.PopMatrix();
    }
    device.Leave2DMode();
}

// A frame, presented: presenting waits while two frames are still in flight.
void DrawFrame(const Scene& scene, int frame) {
    DrawQuads(scene, frame);
    Render::device.EndFrame();
}

double CpuSeconds() {
    struct rusage ru = {};
    getrusage(RUSAGE_SELF, &ru);
    return anchor_run::CpuSeconds(ru);
}

double SecondsRun() {
    const char* text = std::getenv("SECONDS_RUN");
    const double seconds = text != nullptr ? std::atof(text) : 0.0;
    return seconds > 0 ? seconds : 3.0;
}

int Rounds() {
    const char* text = std::getenv("ROUNDS");
    const int rounds = text != nullptr ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : 3;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The scene through the device against both anchors in the same run: ROUNDS rounds (3 by
// default) of SECONDS_RUN seconds (3) each for the gl-limit program, the LÖVE scene and ours, in
// an order that turns round from round to round, all with this process's environment (the
// software rasteriser's LP_NUM_THREADS included). Ours is timed as the anchors time themselves:
// finished frames from the first frame's start to the last one's end. Counters: our frames per
// second and CPU per frame (all threads) as medians; x_gl and x_love, our frame rate over the
// anchor's in the same round (median, with the lowest and highest); the peak resident sizes.
void BM_QuadsThroughDevice(benchmark::State& state) {
    Scene scene;
    if (!scene.Start()) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    const int count = static_cast<int>(scene.quads.size());
    const double seconds = SecondsRun();
    std::vector<double> fps, cpu, xGl, xLove;
    double glPeak = 0, lovePeak = 0;
    std::string error;
    int frame = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds(); ++round) {
            anchor_run::Result gl, love;
            double ours = 0;
            for (int turn = 0; turn < 3; ++turn) {
                switch ((round + turn) % 3) {
                    case 0: gl = anchor_run::GlLimit(count, seconds); break;
                    case 1: love = anchor_run::Love(count, seconds); break;
                    default: {
                        const double cpu0 = CpuSeconds();
                        const auto t0 = std::chrono::steady_clock::now();
                        int frames = 0;
                        double elapsed = 0;
                        while (elapsed < seconds) {
                            DrawFrame(scene, frame++);
                            ++frames;
                            elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
                        }
                        ours = frames / elapsed;
                        fps.push_back(ours);
                        cpu.push_back((CpuSeconds() - cpu0) / frames);
                    }
                }
            }
            if (gl.ok) {
                xGl.push_back(ours / gl.fps);
                glPeak = std::max(glPeak, gl.peakMb);
            } else {
                error = gl.error;
            }
            if (love.ok) {
                xLove.push_back(ours / love.fps);
                lovePeak = std::max(lovePeak, love.peakMb);
            } else {
                error = love.error;
            }
        }
        state.SetIterationTime(1.0 / Median(fps));
    }
    if (!error.empty()) std::fprintf(stderr, "anchor: %s\n", error.c_str());
    state.counters["quads"] = count;
    state.counters["fps"] = Median(fps);
    state.counters["cpu_ms"] = 1000.0 * Median(cpu);
    state.counters["peak_mb"] = anchor_run::OwnPeakMegabytes();
    if (!xGl.empty()) {
        state.counters["x_gl"] = Median(xGl);
        state.counters["x_gl_min"] = *std::min_element(xGl.begin(), xGl.end());
        state.counters["x_gl_max"] = *std::max_element(xGl.begin(), xGl.end());
        state.counters["gl_peak_mb"] = glPeak;
    }
    if (!xLove.empty()) {
        state.counters["x_love"] = Median(xLove);
        state.counters["x_love_min"] = *std::min_element(xLove.begin(), xLove.end());
        state.counters["x_love_max"] = *std::max_element(xLove.begin(), xLove.end());
        state.counters["love_peak_mb"] = lovePeak;
    }
    // BENCH_FRAME_PNG=path keeps one frame to look at.
    if (const char* path = std::getenv("BENCH_FRAME_PNG")) {
        DrawQuads(scene, 0);
        Render::device._d3dDevice->EndScene();
        render_layer::PngPicture picture;
        if (Render::device._d3dDevice->ReadBackBuffer(&picture.pixels, &picture.width, &picture.height) == D3D_OK) {
            render_layer::WritePng(path, picture, false, nullptr);
        }
    }
    scene.Stop();
}
BENCHMARK(BM_QuadsThroughDevice)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The layer alone: the quads' corners turned on the CPU, one DrawPrimitiveUP of a strip each.
void BM_QuadsThroughLayer(benchmark::State& state) {
    Scene scene;
    if (!scene.Start()) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    RenderDevice& device = Render::device;
    IDirect3DDevice8* d3d = device._d3dDevice;
    int frame = 0;
    double building = 0;
    double total = 0;
    static const float cx[4] = {-16, 16, -16, 16}, cy[4] = {-16, -16, 16, 16};
    static const float cu[4] = {0, 1, 0, 1}, cv[4] = {0, 0, 1, 1};
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        BeginQuads(scene);
        d3d->SetVertexShader(Render::VERTEX_FVF);
        for (const Quad& q : scene.quads) {
            const float a = q.angle + frame * 0.01f;
            const float ca = std::cos(a) * q.scale, sa = std::sin(a) * q.scale;
            const D3DCOLOR color = q.tint.GetWord();
            Render::Vertex v[4];
            for (int k = 0; k < 4; ++k) {
                v[k].x = q.x + cx[k] * ca - cy[k] * sa;
                v[k].y = q.y + cx[k] * sa + cy[k] * ca;
                v[k].color = color;
                v[k].u = cu[k];
                v[k].v = cv[k];
            }
            d3d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(Render::Vertex));
        }
        device.Leave2DMode();
        const auto t1 = std::chrono::steady_clock::now();
        device.EndFrame();
        const auto t2 = std::chrono::steady_clock::now();
        building += std::chrono::duration<double>(t1 - t0).count();
        total += std::chrono::duration<double>(t2 - t0).count();
        ++frame;
    }
    state.counters["fps"] = benchmark::Counter((double)frame, benchmark::Counter::kIsRate);
    state.counters["layer_share"] = total > 0 ? building / total : 0;
    state.counters["quads"] = static_cast<double>(scene.quads.size());
    state.counters["peak_mb"] = anchor_run::OwnPeakMegabytes();
    scene.Stop();
}
BENCHMARK(BM_QuadsThroughLayer)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
