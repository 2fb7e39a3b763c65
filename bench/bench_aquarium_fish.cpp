// Frames of a tank (update and draw on the recording device) with the demo fish against the same
// tank empty, in the same run: the cost of fish motion and drawing, and of the motion alone. Peak
// memory as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "aquarium/AquariumClasses.h"
#include "content/ParticleLibrary.h"
#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/PictureControlClasses.h"
#include "core/DataFolder.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlRead.h"
#include "platform/render/RecordingBackend.h"
#include "shell/RenderDevice.h"

namespace {

const char* const KINDS[] = {"Goldfish", "Angelfish", "SeaHorse"};

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

class Tank {
public:
    explicit Tank(int fishCount) {
        char folder[] = "/tmp/bench_fishXXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        _folder = folder;
        dataFolder = _folder + "/";
        if (chdir(MARIVEL_SOURCE_DIR "/data") != 0) return;
        {
            ObjectSmartPointer<XmlDocument> storage = Read("<Storage><Globals/><Player name=\"P\"/><ActivePlayer name=\"P\"/></Storage>");
            storage->Save(dataFolder + "Storage.xml");
        }
        PermanentStorage::Load();
        auto* d3d = new render_layer::RecordingDirect3D();
        Render::device.UseDirect3D(d3d);
        Render::device.CreateDevice(nullptr, false, 800, 600);
        _recording = d3d->lastDevice;
        RegisterControlFrameworkClasses();
        RegisterPictureControlClasses();
        RegisterAquariumClasses();
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
    }
    ~Tank() {
        container = nullptr;
        GetParticleLibrary().Clear();
        ResourceManager::ReleaseAll();
        Render::device.Release();
        if (PermanentStorage::IsLoaded()) PermanentStorage::Discard();
        if (!_folder.empty()) std::filesystem::remove_all(_folder);
    }
    void ClearRecording() {
        _recording->draws.clear();
        _recording->calls.clear();
    }

    ObjectSmartPointer<ControlContainer> container;

private:
    std::string _folder;
    render_layer::RecordingDevice* _recording = nullptr;
};

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_TankFrame(benchmark::State& state) {
    Tank tank(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tank.container->Update(0.02f);
        tank.container->Draw();
        tank.ClearRecording();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_TankFrame)->Arg(0)->Arg(50);

// Motion alone.
void BM_TankUpdate(benchmark::State& state) {
    Tank tank(static_cast<int>(state.range(0)));
    for (auto _ : state) tank.container->Update(0.02f);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_TankUpdate)->Arg(0)->Arg(50);

}  // namespace

BENCHMARK_MAIN();
