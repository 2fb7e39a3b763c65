// Costs that must grow with the size of the input, no faster: placing the edit box's cursor with
// the mouse in a long value (one move of a drag), and cutting a line of markup into many spans.
// Each runs at a size and at a tenth of it; "linear" compares the large run with ten small ones
// (1 is exactly linear). Peak memory is the process's largest resident size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "core/DataFolder.h"
#include "core/MessageServer.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "shell/BitmapFont.h"
#include "shell/RenderDeviceFonts.h"
#include "widgets/StaticTextControl.h"
#include "widgets/ValueWidgetClasses.h"

namespace {

// The demo font's measures, without its picture.
void AddFont() {
    if (Render::fonts.DoesFontExist("demo")) return;
    BitmapFont font = BitmapFont::WithoutPicture("demo", 1, 5);
    font.GetInfo().texture->image.width = 256;
    font.GetInfo().texture->image.height = 256;
    font.ReadMetrics(MARIVEL_SOURCE_DIR "/data/fonts/demo.txt", 256, 256);
    Render::fonts.AddFont(font);
}

std::string Letters(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

// The log goes to a folder of its own, never into the folder the benchmark runs in.
void UseTemporaryDataFolder() {
    if (!dataFolder.empty()) return;
    char folder[] = "/tmp/marivel-bench-widgets-XXXXXX";
    if (mkdtemp(folder) == nullptr) return;
    dataFolder = std::string(folder) + "/";
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(dataFolder, ignored);
    });
}

// An edit box at (400, 300) holding a value of the given length, pressed and held by the mouse.
struct HeldEditBox {
    explicit HeldEditBox(int length) : name("bench edit " + std::to_string(length)) {
        UseTemporaryDataFolder();
        AddFont();
        RegisterControlFrameworkClasses();
        RegisterValueWidgetClasses();
        const std::string text =
            "<ControlContainer><EditControl><position x='400' y='300'/><messageReceiver name='" + name + "'/>"
            "<width value='100000'/><font name='demo'/><cursor width='2' color='#FFFFFF'/>"
            "<disallowedSymbols template='false' textFormat='false' dos='false'/></EditControl></ControlContainer>";
        document = ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
        container = ObjectSmartPointer<ControlContainer>(new ControlContainer(document->GetRoot()));
        SendMessage(name, "set value " + Letters(length));
        const std::string value = SendMessageReply(name, "get value");
        if (value.size() != static_cast<std::size_t>(length)) std::fprintf(stderr, "the edit box holds no value\n");
        container->MouseMove(400, 305);
        container->MouseDown(400, 305);
    }
    ~HeldEditBox() {
        container->MouseUp(400, 305);
        container = nullptr;
    }
    std::string name;
    ObjectSmartPointer<XmlDocument> document;
    ObjectSmartPointer<ControlContainer> container;
};

std::string Spans(int count) {
    std::string markup;
    for (int i = 0; i < count; ++i) markup += "{span}ab{/span}";
    return markup;
}

// Seconds for one run of the work, the best of several.
double Seconds(const std::function<void()>& work, int runs) {
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
    }
    return best;
}

double PeakMb() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_CursorPlacement(benchmark::State& state) {
    const int length = static_cast<int>(state.range(0));
    HeldEditBox box(length);
    int x = 0;
    for (auto _ : state) {
        box.container->MouseMove(x, 305);
        x = (x + 37) % 800;
    }
    state.SetItemsProcessed(state.iterations() * length);
    // One move at the size against ten at a tenth of it.
    HeldEditBox small(length / 10);
    auto drag = [](HeldEditBox& held, int moves) {
        return [&held, moves] {
            for (int i = 0; i < moves; ++i) held.container->MouseMove(i * 37 % 800, 305);
        };
    };
    const double large = Seconds(drag(box, 20), 5);
    const double tenSmall = Seconds(drag(small, 200), 5);
    state.counters["linear"] = large / tenSmall;
    state.counters["peakMB"] = PeakMb();
}
BENCHMARK(BM_CursorPlacement)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_ParseSpans(benchmark::State& state) {
    UseTemporaryDataFolder();
    AddFont();
    const int count = static_cast<int>(state.range(0));
    const ObjectSmartPointer<TextFormat> format(new TextFormat("demo", 1.0f, 1.0f, "left", "bottom"));
    const std::string markup = Spans(count);
    for (auto _ : state) {
        StaticTextLine line(markup, format);
        benchmark::DoNotOptimize(line.GetRuns().size());
    }
    state.SetItemsProcessed(state.iterations() * count);
    const std::string small = Spans(count / 10);
    const double large = Seconds([&] { StaticTextLine line(markup, format); }, 5);
    const double tenSmall = Seconds(
        [&] {
            for (int i = 0; i < 10; ++i) StaticTextLine line(small, format);
        },
        5);
    state.counters["linear"] = large / tenSmall;
    state.counters["peakMB"] = PeakMb();
}
BENCHMARK(BM_ParseSpans)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
