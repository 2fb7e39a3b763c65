// Frames of the demo game screen with a full 15 x 13 field kept at its busiest (bombs going off,
// pieces falling, a lightning run and their effects and particles every 0.8 s), beside frames of
// the demo menu, drawn through OpenGL headless (SDL_VIDEODRIVER=offscreen): the CPU time of the
// program's own thread per frame (the rasteriser's threads are not counted).
// Counters (thread CPU, mean per frame): "update_ms" (controllers, particles, the tree),
// "draw_ms" (the drawing calls), "present_ms" (the present, where the driver waits for the frames
// in flight); "worst_ms": the field's longest update and drawing of one frame, "warmup_worst_ms"
// that of the warm-up (first pictures, programs and particles), "restart_worst_ms" that of the
// first frames after a restart; "draws": draws handed to OpenGL a frame.
// Content beyond what a level can use: the game screen built with its level loaded ("load_ms",
// thread CPU per load; "first_ms" the first load of the run, which reads the files) and frames
// with the first hint box open, with the demo content (0), a hint text of 10 MB (1) and a chip set
// of 10 MB (2); "peak_mb" is the process's largest resident size.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/ControllerManager.h"
#include "content/EffectObserver.h"
#include "content/ParticleLibrary.h"
#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "controls/CommonDefinitionClasses.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/DecoratorControlClasses.h"
#include "controls/EffectControls.h"
#include "controls/FlowControlClasses.h"
#include "controls/MouseEvents.h"
#include "controls/PictureControlClasses.h"
#include "core/DataFolder.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlRead.h"
#include "match3/Match3Classes.h"
#include "match3/ZovGameFieldControl.h"
#include "platform/audio/FakeAudioBackend.h"
#include "platform/shell/HeapSettings.h"
#include "shell/LuaSupport.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/ScriptMap.h"
#include "shell/SoundSystem.h"
#include "widgets/AnimatedWidgetClasses.h"
#include "widgets/ListWidgetClasses.h"
#include "widgets/ValueWidgetClasses.h"
#include "widgets/WidgetClasses.h"

namespace {

namespace fs = std::filesystem;

constexpr float STEP = 0.02f;
constexpr int FRAMES_BETWEEN_BLASTS = 40;

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The demo content in a scratch folder (links into data/) with one 15 x 13 silver level, the
// recording device, a silent sound system and a player without hint boxes.
class Content {
public:
    Content() {
        char folder[] = "/tmp/bench_fieldXXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        _folder = std::string(folder) + "/";
        const fs::path data = MARIVEL_SOURCE_DIR "/data";
        for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
            const std::string name = entry.path().filename().string();
            if (name == "PlLevels.xml" || name == "Storage.xml") continue;
            fs::create_symlink(entry.path(), _folder + name);
        }
        std::string level = "<Levels><Level id=\"Big\" time=\"100000\"><Line>AAAAAAAAAAAAAAA</Line>";
        for (int row = 1; row < 13; ++row) level += "<Line>ddddddddddddddd</Line>";
        WriteText(_folder + "PlLevels.xml", level + "</Level></Levels>");
        fs::create_directory(_folder + "home");
        WriteText(_folder + "home/Storage.xml",
                  "<Storage><Globals/><Player name=\"Bench\"><Variable name=\"Show game field hints\" type=\"bool\" "
                  "value=\"false\"/></Player><ActivePlayer name=\"Bench\"/></Storage>");
        if (chdir(_folder.c_str()) != 0) return;
        dataFolder = _folder + "home/";
        PermanentStorage::Load();

        _window = CreateDeviceWindow("bench", 800, 600, false, true);
        if (_window == nullptr) return;
        Render::device.UseDirect3D(Direct3DCreate8(D3D_SDK_VERSION));
        Render::device.CreateDevice(_window, false, 800, 600);
        if (!Render::device.IsCreated()) return;
        ready = true;
        _audio = std::make_unique<ScopedAudioBackend>(audio);
        static int window = 0;
        Sound::soundSystem.Init(&window);
        MessageServer::SetScriptCall([](const std::string&, const std::string&) {});
        // The level time and bonus functions the field calls, as the demo's game.lua has them.
        ScriptMap::Open();
        luaL_dostring(ScriptMap::state,
                      "function LevelTime(t) return t end function TimeBonusK(t) return 0.5 end "
                      "function ScoreBonusK(t) return 0.02 end");

        RegisterCommonDefinitionClasses();
        RegisterEffectControls();
        RegisterControlFrameworkClasses();
        RegisterPictureControlClasses();
        RegisterDecoratorControlClasses();
        RegisterFlowControlClasses();
        RegisterWidgetClasses();
        RegisterValueWidgetClasses();
        RegisterListWidgetClasses();
        RegisterAnimatedWidgetClasses();
        RegisterMatch3Classes();

        for (const char* list : {"menu_resources.xml", "screens/match3_pieces_resources.xml",
                                 "screens/game_resources.xml"}) {
            ResourceManager::LoadResourceFile(list);
        }
        GetParticleLibrary().LoadEffects("particles/Match3Effects.xml");
        GetParticleLibrary().LoadEffects("particles/FieldEffects.xml");
        LoadTemplates("screens/game_templates.xml");
        Core::GetControllerManager().addController(&Core::GetEffectObserver());
    }
    ~Content() {
        Core::GetEffectObserver().Clear();
        GetParticleLibrary().Clear();
        TemplateLib::RemoveAllTemplates();
        ResourceManager::ReleaseAll();
        Render::fonts.ReleaseAll();
        Render::device.Release();
        if (_window != nullptr) SDL_DestroyWindow(_window);
        Sound::soundSystem.Shutdown();
        _audio.reset();
        PermanentStorage::Discard();
        if (!_folder.empty() && chdir("/tmp") == 0) fs::remove_all(_folder);
    }

    static void LoadTemplates(const std::string& file) {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(file));
        if (document->GetRoot() == NULL) return;
        for (ObjectWeakPointer<XmlElement> t = document->GetRoot()->GetFirstChildElement(); t != NULL;
             t = t->GetNextElement()) {
            TemplateLib::AddTemplate(ObjectSmartPointer<XmlElement>(new XmlElement(t->GetFirstChildElement())),
                                     t->GetStringAttribute("templateName"));
        }
    }

    static ObjectSmartPointer<ControlContainer> Screen(const std::string& file) {
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(file));
        return ObjectSmartPointer<ControlContainer>(new ControlContainer(document->GetRoot()));
    }

    // One frame as the program runs it: controllers and particles, the tree's update and drawing.
    void Frame(ControlContainer& screen) {
        const double start = ThreadSeconds();
        Core::ControllerManager& controllers = Core::GetControllerManager();
        if (controllers.IsPending()) controllers.MergeNewControllers();
        controllers.Update(STEP);
        screen.Update(STEP);
        ProcessPostedMessages();
        const double drawn = ThreadSeconds();
        updateSeconds += drawn - start;
        RenderDevice& device = Render::device;
        device.BeginFrame();
        device.SetPictureViewport();
        device.Enter2DMode();
        device.EnableAlphaBlend(true);
        device.SetBlendMode(0);
        screen.Draw();
        device.Leave2DMode();
        const double presented = ThreadSeconds();
        drawSeconds += presented - drawn;
        lastFrameSeconds = presented - start;
        device.EndFrame();
        presentSeconds += ThreadSeconds() - presented;
        audio.ClearCalls();
    }

    void ResetClocks() { updateSeconds = drawSeconds = presentSeconds = 0.0; }
    void Report(benchmark::State& state) const {
        const double frames = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters["update_ms"] = updateSeconds * 1000.0 / frames;
        state.counters["draw_ms"] = drawSeconds * 1000.0 / frames;
        state.counters["present_ms"] = presentSeconds * 1000.0 / frames;
    }

    bool ready = false;
    FakeAudioBackend audio;
    // Thread CPU seconds of the frames so far: the update, the drawing calls, the present (where
    // the driver waits for the frames in flight); and the update and drawing of the last frame.
    double updateSeconds = 0.0;
    double drawSeconds = 0.0;
    double presentSeconds = 0.0;
    double lastFrameSeconds = 0.0;

private:
    std::string _folder;
    HWND _window = nullptr;
    std::unique_ptr<ScopedAudioBackend> _audio;
};

Content& TheContent() {
    static Content content;
    return content;
}

// Black bombs at three places and a lightning run through random cells, on pieces at rest.
void Blast(ZovGameFieldControl& field) {
    GameBoard& board = field.Board();
    const int places[][2] = {{3, 4}, {7, 8}, {11, 5}};
    for (const auto& p : places) {
        const int x = p[0];
        const int y = p[1];
        FieldCell& cell = board.Cell(x, y);
        if (cell._color < 0 || field.Pieces().At(x, y).IsMoving()) continue;
        cell._bonus = BLACK_BOMB;
        cell._color = BLACK_BOMB + BONUS_COLOR_BASE;
        field.Pieces().SetBonusPicture(x, y, BLACK_BOMB);
        board.Detonate(x, y, BLACK_BOMB, NO_CELL);
    }
    ObjectSmartPointer<KeyDownEvent> lightning(new KeyDownEvent(0, 0, false, 0x51));
    field.OnMouseMove(ObjectWeakPointer<MouseMoveEvent>(lightning));
}

void BM_MenuFrame(benchmark::State& state) {
    Content& content = TheContent();
    if (!content.ready) {
        state.SkipWithError("no OpenGL device (run with SDL_VIDEODRIVER=offscreen)");
        return;
    }
    ObjectSmartPointer<ControlContainer> menu = Content::Screen("screens/menu.xml");
    for (int i = 0; i < 100; ++i) content.Frame(*menu);  // the buttons have come in
    int step = 0;
    content.ResetClocks();
    const unsigned long long draws = Render::device._d3dDevice->SubmittedDraws();
    for (auto _ : state) {
        step = (step + 7) % 760;
        menu->MouseMove(step, 300);
        content.Frame(*menu);
    }
    content.Report(state);
    state.counters["draws"] = static_cast<double>(Render::device._d3dDevice->SubmittedDraws() - draws) /
                              static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMicrosecond);

void BM_BusiestFieldFrame(benchmark::State& state) {
    Content& content = TheContent();
    if (!content.ready) {
        state.SkipWithError("no OpenGL device (run with SDL_VIDEODRIVER=offscreen)");
        return;
    }
    ObjectSmartPointer<ControlContainer> game = Content::Screen("screens/game.xml");
    ObjectWeakPointer<ZovGameFieldControl> field = MessageServer::GetReceiver("GameField").Cast<ZovGameFieldControl>();
    if (field == NULL || field->Board().GetSizeX() != 15 || field->Board().GetSizeY() != 13) {
        state.SkipWithError("the 15 x 13 level did not load");
        return;
    }
    field->FinishAppearance();
    // The first press starts the level's clock, the texts and the idle animations.
    const BoardPoint first = field->Board().CellCentre(0, 12);
    field->OnMouseMove(ObjectSmartPointer<MouseMoveEvent>(new MouseMoveEvent(first.x, first.y, false)));
    ObjectSmartPointer<MouseDownEvent> down(new MouseDownEvent(false));
    field->OnMouseDown(down);
    field->OnMouseUp(ObjectSmartPointer<MouseUpEvent>(new MouseUpEvent(down->IsMouseCaptured())));
    // Warm-up with blasts: every picture, font and particle texture is uploaded before measuring.
    double warmupWorst = 0.0;
    for (int i = 1; i <= 4 * FRAMES_BETWEEN_BLASTS; ++i) {
        if (i % FRAMES_BETWEEN_BLASTS == 0) Blast(*field);
        content.Frame(*game);
        warmupWorst = std::max(warmupWorst, content.lastFrameSeconds);
    }

    int frame = 0;
    double worst = 0.0;
    double restartWorst = 0.0;
    content.ResetClocks();
    const unsigned long long draws = Render::device._d3dDevice->SubmittedDraws();
    // A restart may bring colours whose pictures are not uploaded yet: the first frames after it
    // count apart.
    int sinceRestart = 4;
    for (auto _ : state) {
        if (field->Board().GetAllPaints() < 60) {
            state.PauseTiming();
            SendMessage("GameField", "Restart");
            field->FinishAppearance();
            sinceRestart = 0;
            state.ResumeTiming();
        }
        if (++frame % FRAMES_BETWEEN_BLASTS == 0) Blast(*field);
        content.Frame(*game);
        double& slot = ++sinceRestart > 3 ? worst : restartWorst;
        slot = std::max(slot, content.lastFrameSeconds);
    }
    state.counters["worst_ms"] = worst * 1000.0;
    state.counters["warmup_worst_ms"] = warmupWorst * 1000.0;
    state.counters["restart_worst_ms"] = restartWorst * 1000.0;
    state.counters["draws"] = static_cast<double>(Render::device._d3dDevice->SubmittedDraws() - draws) /
                              static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    content.Report(state);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_BusiestFieldFrame)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// Oversized content in the scratch folder in place of the demo's files (links into data/).
enum ContentKind { DEMO_CONTENT = 0, LONG_HINT = 1, LONG_CHIP_SET = 2 };
constexpr std::size_t TEN_MB = 10u * 1024u * 1024u;

void UseContent(int kind) {
    for (const char* name : {"local", "ChipSets.xml"}) fs::remove_all(name);
    const fs::path data = MARIVEL_SOURCE_DIR "/data";
    if (kind == LONG_HINT) {
        fs::create_directory("local");
        std::string words;
        while (words.size() < TEN_MB) words += "Swap two neighbouring pieces to make a line. ";
        std::string hints = ReadText(data / "local" / "FieldHints.xml");
        const std::size_t first = hints.find("<first>") + 7;
        hints.replace(first, hints.find("</first>") - first, words);
        WriteText("local/FieldHints.xml", hints);
    } else {
        fs::create_symlink(data / "local", "local");
    }
    if (kind == LONG_CHIP_SET) {
        std::string chips;
        while (chips.size() < TEN_MB) chips += "01234";
        // The demo's sets and one of 10 MB that a level can use only the first nine entries of.
        std::string sets = ReadText(data / "ChipSets.xml");
        sets.insert(sets.find("</ChipSets>"), "\t<set chips=\"" + chips + "\"/>\r\n");
        WriteText("ChipSets.xml", sets);
    } else {
        fs::create_symlink(data / "ChipSets.xml", "ChipSets.xml");
    }
}

double PeakMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The player as a new one: the first level loads, and its colours come from the chip-set file.
void FreshPlayer() {
    for (const char* name : {"Game field", "ChipSets", "first_hint"}) {
        if (PermanentStorage::IsLocalNameDefined(name)) PermanentStorage::UndefLocalName(name);
    }
}

void BM_LevelLoad(benchmark::State& state) {
    Content& content = TheContent();
    if (!content.ready) {
        state.SkipWithError("no OpenGL device (run with SDL_VIDEODRIVER=offscreen)");
        return;
    }
    UseContent(static_cast<int>(state.range(0)));
    // The allocator serves blocks below the largest one freed so far from its heap, the others from
    // fresh pages: one large block freed first puts every variant in the same state.
    benchmark::DoNotOptimize(std::vector<char>(16u * 1024u * 1024u, 1).data());
    // Two loads first: every picture and template is in memory before measuring. The first, where
    // the content files are read for the first time, is told apart.
    for (int i = 0; i < 2; ++i) {
        FreshPlayer();
        const double start = ThreadSeconds();
        Content::Screen("screens/game.xml");
        if (i == 0) state.counters["first_ms"] = (ThreadSeconds() - start) * 1000.0;
        ProcessPostedMessages();
    }
    double seconds = 0.0;
    for (auto _ : state) {
        FreshPlayer();
        const double start = ThreadSeconds();
        ObjectSmartPointer<ControlContainer> game = Content::Screen("screens/game.xml");
        seconds += ThreadSeconds() - start;
        state.PauseTiming();
        game = ObjectSmartPointer<ControlContainer>();
        ProcessPostedMessages();
        state.ResumeTiming();
    }
    UseContent(DEMO_CONTENT);
    state.counters["load_ms"] = seconds * 1000.0 / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["peak_mb"] = PeakMb();
}
BENCHMARK(BM_LevelLoad)->Arg(DEMO_CONTENT)->Arg(LONG_HINT)->Arg(LONG_CHIP_SET)->Unit(benchmark::kMillisecond)->Iterations(40);

void BM_FrameWithTheFirstHint(benchmark::State& state) {
    Content& content = TheContent();
    if (!content.ready) {
        state.SkipWithError("no OpenGL device (run with SDL_VIDEODRIVER=offscreen)");
        return;
    }
    UseContent(static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(std::vector<char>(16u * 1024u * 1024u, 1).data());
    FreshPlayer();
    PermanentStorage::SetLocalBool("Show game field hints", true);
    PermanentStorage::SetLocalInt("LevelNumber", 1);
    ObjectSmartPointer<ControlContainer> game = Content::Screen("screens/game.xml");
    ObjectWeakPointer<ZovGameFieldControl> field = MessageServer::GetReceiver("GameField").Cast<ZovGameFieldControl>();
    if (field == NULL) {
        state.SkipWithError("no game field");
        return;
    }
    field->FinishAppearance();
    // The first press opens the first hint box.
    const BoardPoint first = field->Board().CellCentre(0, 12);
    game->MouseMove(first.x, first.y);
    game->MouseDown(first.x, first.y);
    game->MouseUp(first.x, first.y);
    for (int i = 0; i < 50; ++i) content.Frame(*game);
    const bool shown = PermanentStorage::GetLocalBoolOrDef("first_hint", false);
    content.ResetClocks();
    for (auto _ : state) content.Frame(*game);
    content.Report(state);
    state.counters["peak_mb"] = PeakMb();
    game = ObjectSmartPointer<ControlContainer>();
    ProcessPostedMessages();
    PermanentStorage::SetLocalBool("Show game field hints", false);
    UseContent(DEMO_CONTENT);
    if (!shown) state.SkipWithError("the first hint box did not open");
}
BENCHMARK(BM_FrameWithTheFirstHint)->Arg(DEMO_CONTENT)->Arg(LONG_HINT)->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace

int main(int argc, char** argv) {
    // As the game program starts.
    KeepHeapGrown();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
