// A screen-sized control tree: building it through the factories, one pointer move through it,
// and one frame (update and draw with the move before drawing).
#include <benchmark/benchmark.h>

#include <string>

#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"

namespace {

// groups lists of `perGroup` click areas each, spread over the screen.
std::string TreeText(int groups, int perGroup) {
    std::string children;
    for (int g = 0; g < groups; ++g) {
        std::string areas;
        for (int i = 0; i < perGroup; ++i) {
            areas += "<ClickAreaControl><position x=\"" + std::to_string(i * 7 % 700) + "\" y=\"" +
                     std::to_string(i * 13 % 500) +
                     "\"/><size width=\"40\" height=\"20\"/><message receiver=\"null\" message=\"null\"/>"
                     "</ClickAreaControl>";
        }
        children += "<FixedChildrenListControl><position x=\"" + std::to_string(g) +
                    "\" y=\"0\"/><children>" + areas + "</children></FixedChildrenListControl>";
    }
    return "<ControlContainer><FixedChildrenListControl><position x=\"0\" y=\"0\"/><children>" + children +
           "</children></FixedChildrenListControl></ControlContainer>";
}

ObjectSmartPointer<XmlDocument> Document(int controls) {
    RegisterControlFrameworkClasses();
    const std::string text = TreeText(controls / 20, 20);
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
}

void BM_BuildTree(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> document = Document(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        document->GetRoot()->ResetVisited();
        ObjectSmartPointer<ControlContainer> container(new ControlContainer(document->GetRoot()));
        benchmark::DoNotOptimize(container.Get());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildTree)->Arg(100)->Arg(1000);

void BM_MoveDispatch(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> document = Document(static_cast<int>(state.range(0)));
    ObjectSmartPointer<ControlContainer> container(new ControlContainer(document->GetRoot()));
    int x = 0;
    for (auto _ : state) {
        container->MouseMove(x, 300);
        x = (x + 17) % 800;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MoveDispatch)->Arg(100)->Arg(1000);

void BM_Frame(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> document = Document(static_cast<int>(state.range(0)));
    ObjectSmartPointer<ControlContainer> container(new ControlContainer(document->GetRoot()));
    for (auto _ : state) {
        container->Update(1.0f / 60.0f);
        container->Draw();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Frame)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
