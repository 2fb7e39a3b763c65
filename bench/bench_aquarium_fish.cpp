// A tank of the demo fish updated and drawn through OpenGL headless (SDL_VIDEODRIVER=offscreen) with
// 10, 50 and 200 fish, each count in a process of its own (this program started again with
// --fish N) so that its peak memory is its own, beside the LÖVE and gl-limit scenes of 10,000
// quads run in the same run through the anchor launcher. One line a fish count:
//   fish=N cpu_ms=X draws=Y peak_mb=Z all_cpu_ms=A worst_ms=W warmup_worst_ms=V
// cpu_ms: main-thread CPU a frame (controllers, the tree's update and drawing, the present);
// draws: draws handed to OpenGL a frame; peak_mb: the process's peak resident size; all_cpu_ms:
// the process's CPU a frame, the rasteriser's threads included; present_ms: the main thread's
// share of cpu_ms in the present (the driver's vertex work and waits); worst_ms: the longest frame of the
// main thread among the measured ones, warmup_worst_ms among the first WARMUP frames (pictures
// uploaded, programs built). Then a line an anchor (cpu_ms and fps as it ran, all threads) and
// the ratios the tank must keep. FRAMES (300) frames are measured after WARMUP (60).
#include <SDL.h>
#include <time.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "aquarium/AquariumClasses.h"
#include "bench/AnchorRun.h"
#include "content/ControllerManager.h"
#include "content/ParticleLibrary.h"
#include "content/ResourceManager.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/PictureControlClasses.h"
#include "core/DataFolder.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlRead.h"
#include "platform/shell/HeapSettings.h"
#include "shell/RenderDevice.h"

namespace {

constexpr float STEP = 0.02f;
const int FISH_COUNTS[] = {10, 50, 200};
const char* const KINDS[] = {"Goldfish", "Angelfish", "SeaHorse"};

int EnvironmentInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int value = text != nullptr ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ProcessSeconds() {
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return anchor_run::CpuSeconds(usage);
}


ObjectSmartPointer<XmlDocument> Read(const std::string& text) {
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
}

// The demo's fish elements by kind, from its templates file.
std::vector<ObjectSmartPointer<XmlElement>> FishElements() {
    ObjectSmartPointer<XmlDocument> templates(new XmlDocumentRead(std::string("screens/fish_templates.xml")));
    std::vector<ObjectSmartPointer<XmlElement>> fish;
    for (const char* kind : KINDS) {
        for (ObjectWeakPointer<XmlElement> t = templates->GetRoot()->GetFirstChildElement("children")->GetFirstChildElement();
             t != NULL; t = t->GetNextElement()) {
            if (t->GetStringAttribute("templateName") == kind) {
                fish.push_back(ObjectSmartPointer<XmlElement>(new XmlElement(t->GetFirstChildElement("FishControl"))));
            }
        }
    }
    return fish;
}

// A tank of fishCount fish on the OpenGL device, in a scratch data folder.
class Tank {
public:
    explicit Tank(int fishCount) {
        char folder[] = "/tmp/bench_fishXXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        _folder = folder;
        dataFolder = _folder + "/";
        if (chdir(MARIVEL_SOURCE_DIR "/data") != 0) return;
        Read("<Storage><Globals/><Player name=\"P\"/><ActivePlayer name=\"P\"/></Storage>")->Save(dataFolder + "Storage.xml");
        PermanentStorage::Load();
        _window = CreateDeviceWindow("bench", 800, 600, false, true);
        if (_window == nullptr) return;
        Render::device.UseDirect3D(Direct3DCreate8(D3D_SDK_VERSION));
        Render::device.CreateDevice(_window, false, 800, 600);
        if (!Render::device.IsCreated()) return;
        RegisterControlFrameworkClasses();
        RegisterPictureControlClasses();
        RegisterAquariumClasses();
        MessageServer::SetScriptCall([](const std::string&, const std::string&) {});
        ResourceManager::LoadResourceFile("screens/fish_resources.xml");
        GetParticleLibrary().LoadEffects("particles/FishEffects.xml");
        Random::Seed(1);
        ObjectSmartPointer<XmlDocument> screen = Read(
            "<ControlContainer><ZOrderControl useStorage=\"false\" gameMode=\"true\" minZ=\"0.3\" minY=\"20\" "
            "maxY=\"330\" minX=\"20\" maxX=\"780\"><position x=\"0\" y=\"56\"/><messageReceiver name=\"Bench tank\"/>"
            "<defaultLayout/></ZOrderControl></ControlContainer>");
        const ObjectWeakPointer<XmlElement> layout =
            screen->GetRoot()->GetFirstChildElement("ZOrderControl")->GetFirstChildElement("defaultLayout");
        const std::vector<ObjectSmartPointer<XmlElement>> fish = FishElements();
        for (int i = 0; i < fishCount && !fish.empty(); ++i) {
            layout->AppendChild(ObjectSmartPointer<XmlElement>(new XmlElement(fish[static_cast<std::size_t>(i) % fish.size()])));
        }
        container = ObjectSmartPointer<ControlContainer>(new ControlContainer(screen->GetRoot()));
        ready = true;
    }
    ~Tank() {
        container = nullptr;
        GetParticleLibrary().Clear();
        ResourceManager::ReleaseAll();
        Render::device.Release();
        if (_window != nullptr) SDL_DestroyWindow(_window);
        if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
        if (!_folder.empty()) std::filesystem::remove_all(_folder);
    }

    // One frame as the program runs it; its main-thread CPU seconds.
    double Frame() {
        const double start = ThreadSeconds();
        Core::ControllerManager& controllers = Core::GetControllerManager();
        if (controllers.IsPending()) controllers.MergeNewControllers();
        controllers.Update(STEP);
        container->Update(STEP);
        RenderDevice& device = Render::device;
        device.BeginFrame();
        device.SetPictureViewport();
        device.Enter2DMode();
        device.EnableAlphaBlend(true);
        device.SetBlendMode(0);
        container->Draw();
        device.Leave2DMode();
        const double drawn = ThreadSeconds();
        device.EndFrame();
        const double end = ThreadSeconds();
        presentSeconds += end - drawn;
        return end - start;
    }

    bool ready = false;
    ObjectSmartPointer<ControlContainer> container;
    // Main-thread CPU seconds in the present (where the frames in flight are waited for).
    double presentSeconds = 0.0;

private:
    std::string _folder;
    HWND _window = nullptr;
};

// The measuring child: one line for its fish count.
int MeasureTank(int fishCount) {
    Tank tank(fishCount);
    if (!tank.ready) {
        std::fprintf(stderr, "no OpenGL device (run with SDL_VIDEODRIVER=offscreen)\n");
        return 1;
    }
    const int warmup = EnvironmentInt("WARMUP", 60);
    const int frames = EnvironmentInt("FRAMES", 300);
    double warmupWorst = 0.0;
    for (int i = 0; i < warmup; ++i) warmupWorst = std::max(warmupWorst, tank.Frame());
    IDirect3DDevice8* device = Render::device._d3dDevice;
    const unsigned long long draws = device->SubmittedDraws();
    const double process = ProcessSeconds();
    tank.presentSeconds = 0.0;
    double main = 0.0;
    double worst = 0.0;
    for (int i = 0; i < frames; ++i) {
        const double frame = tank.Frame();
        main += frame;
        worst = std::max(worst, frame);
    }
    std::printf(
        "fish=%d cpu_ms=%.3f draws=%.1f peak_mb=%.1f all_cpu_ms=%.3f present_ms=%.3f worst_ms=%.2f "
        "warmup_worst_ms=%.2f\n",
        fishCount, 1000.0 * main / frames, static_cast<double>(device->SubmittedDraws() - draws) / frames,
        anchor_run::OwnPeakMegabytes(), 1000.0 * (ProcessSeconds() - process) / frames, 1000.0 * tank.presentSeconds / frames,
        1000.0 * worst, 1000.0 * warmupWorst);
    return 0;
}

struct Line {
    bool ok = false;
    std::string text;
    double cpu = 0.0;
    double draws = 0.0;
};

// This program again, headless, measuring one fish count.
Line RunChild(const std::string& self, int fishCount) {
    Line line;
    const anchor_run::Finished run = anchor_run::Run({self, "--fish", std::to_string(fishCount)}, {"SDL_VIDEODRIVER=offscreen"});
    const std::size_t at = run.output.find("fish=");
    if (!anchor_run::Succeeds(run) || at == std::string::npos) return line;
    line.text = run.output.substr(at, run.output.find('\n', at) - at);
    const std::string spaced = " " + line.text;
    line.cpu = anchor_run::ReportedValue(spaced, "cpu_ms");
    line.draws = anchor_run::ReportedValue(spaced, "draws");
    line.ok = true;
    return line;
}

void PrintAnchor(const char* name, const anchor_run::Result& run) {
    if (!run.ok) {
        std::printf("anchor=%s error: %s\n", name, run.error.c_str());
        return;
    }
    std::printf("anchor=%s quads=10000 cpu_ms=%.3f fps=%.1f peak_mb=%.1f\n", name, 1000.0 * run.cpu / run.frames,
                run.fps, run.peakMb);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--fish") == 0) {
        // As the game program starts.
        KeepHeapGrown();
        return MeasureTank(std::atoi(argv[2]));
    }
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    std::map<int, Line> lines;
    for (const int count : FISH_COUNTS) {
        lines[count] = RunChild(self, count);
        if (lines[count].ok) {
            std::printf("%s\n", lines[count].text.c_str());
        } else {
            std::printf("fish=%d error: the measuring run failed\n", count);
        }
        std::fflush(stdout);
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    PrintAnchor("love", anchor_run::Love(10000, 3.0));
    PrintAnchor("gl-limit", anchor_run::GlLimit(10000, 3.0));
    const Line& few = lines[10];
    const Line& some = lines[50];
    const Line& many = lines[200];
    if (few.ok && some.ok && many.ok && few.draws > 0 && some.cpu > 0) {
        std::printf("draws_200_over_10=%.2f (at most 4) cpu_200_over_50=%.2f (at most 4.5)\n", many.draws / few.draws,
                    many.cpu / some.cpu);
    }
    return few.ok && some.ok && many.ok ? 0 : 1;
}
