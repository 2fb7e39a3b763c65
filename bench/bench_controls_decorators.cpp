// A pointer move and a frame through nested decorators (zoom, rotation, rectangle mask, frame in
// turn) around one click area: the cost of the position, handled and matrix pushes per level.
#include <benchmark/benchmark.h>

#include <string>

#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/DecoratorControlClasses.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"

namespace {

std::string Nested(int depth) {
    std::string inner =
        "<ClickAreaControl><position x=\"10\" y=\"10\"/><size width=\"40\" height=\"20\"/>"
        "<message receiver=\"null\" message=\"null\"/></ClickAreaControl>";
    for (int level = 0; level < depth; ++level) {
        const std::string children = "<position x=\"1\" y=\"1\"/><children>" + inner + "</children>";
        switch (level % 4) {
            case 0:
                inner = "<ZoomControl zoom=\"1.1\">" + children + "</ZoomControl>";
                break;
            case 1:
                inner = "<RotationControl><center x=\"30\" y=\"20\"/><angle value=\"5.0\" units=\"degrees\"/>" +
                        children + "</RotationControl>";
                break;
            case 2:
                inner = "<RectangleChildrenMaskControl><mask x=\"0\" y=\"0\" width=\"400\" height=\"300\"/>" +
                        children + "</RectangleChildrenMaskControl>";
                break;
            default:
                inner = "<XYZoomControl xZoom=\"0.95\" yZoom=\"1.05\">" + children + "</XYZoomControl>";
                break;
        }
    }
    return "<ControlContainer>" + inner + "</ControlContainer>";
}

ObjectSmartPointer<XmlDocument> Document(int depth) {
    RegisterControlFrameworkClasses();
    RegisterDecoratorControlClasses();
    const std::string text = Nested(depth);
    return ObjectSmartPointer<XmlDocument>(new XmlDocumentRead(text.data(), text.data() + text.size()));
}

void BM_MoveThroughDecorators(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> document = Document(static_cast<int>(state.range(0)));
    ObjectSmartPointer<ControlContainer> container(new ControlContainer(document->GetRoot()));
    int x = 0;
    for (auto _ : state) {
        container->MouseMove(x, 30);
        x = (x + 7) % 100;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MoveThroughDecorators)->Arg(1)->Arg(8)->Arg(32);

void BM_FrameThroughDecorators(benchmark::State& state) {
    ObjectSmartPointer<XmlDocument> document = Document(static_cast<int>(state.range(0)));
    ObjectSmartPointer<ControlContainer> container(new ControlContainer(document->GetRoot()));
    for (auto _ : state) {
        container->Update(1.0f / 60.0f);
        container->Draw();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FrameThroughDecorators)->Arg(1)->Arg(8)->Arg(32);

}  // namespace

BENCHMARK_MAIN();
