// Instancing a template as the screens do: copy, apply a "changes" element, check the result.
// The template is a list item of 60 elements with text and element parameters.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

#include <string>

#include "content/TemplateLib.h"
#include "core/DataFolder.h"
#include "core/XmlRead.h"

namespace {

ObjectSmartPointer<XmlElement> Parse(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    ObjectSmartPointer<XmlElement> copy(new XmlElement(document->GetRoot()));
    copy->MarkVisitedTree();
    return copy;
}

void Register() {
    if (TemplateLib::HasTemplate("item")) return;
    std::string text = "<Item name='[name]' price='[price]'>";
    for (int i = 0; i < 20; ++i) {
        const std::string n = std::to_string(i);
        text += "<Picture textureId='[icon]' x='" + n + "' y='[y]'><position x='" + n + "' y='0'/></Picture>";
        text += "<Text>[name] costs [price]</Text>";
    }
    text += "<_extra_/></Item>";
    TemplateLib::AddTemplate(Parse(text), "item");
}

void BM_InstantiateTemplate(benchmark::State& state) {
    Register();
    ObjectSmartPointer<XmlElement> changes =
        Parse("<changes name='Shell' price='12' icon='shell_icon' y='4'>"
              "<defineElement template='_extra_'><Badge text='new'/></defineElement></changes>");
    for (auto _ : state) {
        ObjectSmartPointer<XmlElement> copy = TemplateLib::CopyTemplate("item");
        TemplateLib::ApplyChanges(copy, changes);
        TemplateLib::CheckFullyInstantiated(copy);
        copy->MarkVisitedTree();
        benchmark::DoNotOptimize(copy.Get());
    }
}
BENCHMARK(BM_InstantiateTemplate);

}  // namespace

int main(int argc, char** argv) {
    char folder[] = "/tmp/bench-content-XXXXXX";
    if (mkdtemp(folder) != nullptr) dataFolder = std::string(folder) + "/";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    TemplateLib::RemoveTemplate("item");
    return 0;
}
