// A screen of 60 message buttons on a picture: pointer moves through the container (hit tests,
// hover looks, cross-fades) and whole frames (update and draw) on the recording device.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "content/ResourceManager.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/PictureControlClasses.h"
#include "core/DataFolder.h"
#include "core/XmlRead.h"
#include "platform/render/PngFile.h"
#include "platform/render/RecordingBackend.h"
#include "shell/RenderDevice.h"

namespace {

ObjectSmartPointer<XmlElement> Parse(const std::string& text) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(text.data(), text.data() + text.size()));
    return ObjectSmartPointer<XmlElement>(new XmlElement(document->GetRoot()));
}

void WritePicture(const std::string& path, unsigned width, unsigned height) {
    render_layer::PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * height, 0xFF3070A0u);
    render_layer::WritePng(path, picture, true, nullptr);
}

class Screen {
public:
    Screen() {
        char folder[] = "/tmp/bench_buttonsXXXXXX";
        if (mkdtemp(folder) == nullptr || chdir(folder) != 0) return;
        _folder = folder;
        dataFolder = _folder + "/";
        auto* d3d = new render_layer::RecordingDirect3D();
        d3d->setup.caps.TextureCaps = 0;
        Render::device.UseDirect3D(d3d);
        Render::device.CreateDevice(nullptr, false, 800, 600);
        _recording = d3d->lastDevice;
        RegisterControlFrameworkClasses();
        RegisterPictureControlClasses();
        WritePicture("b.png", 60, 30);
        WritePicture("panel.png", 256, 256);
        ResourceManager::LoadResources(Parse(
            "<Resources><Textures upload='refcount' storage='memory-keeping'><texture id='n' path='b.png'/>"
            "<texture id='a' path='b.png'/><texture id='p' path='b.png'/><texture id='panel' path='panel.png'/>"
            "</Textures></Resources>"));
        std::string buttons;
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 10; ++column) {
                buttons += "<MessageButtonControl><position x='" + std::to_string(20 + column * 76) + "' y='" +
                           std::to_string(100 + row * 70) +
                           "'/><textures normalId='n' activeId='a' pressedId='p'/>"
                           "<sounds activeId='null' pressedId='null'/><message value='m' receiver='null'/>"
                           "</MessageButtonControl>";
            }
        }
        ObjectSmartPointer<XmlElement> root = Parse(
            "<ControlContainer><StaticTextureControl><position x='0' y='0'/><texture textureId='panel'/><children>" +
            buttons + "</children></StaticTextureControl></ControlContainer>");
        container = ObjectSmartPointer<ControlContainer>(new ControlContainer(root));
    }
    ~Screen() {
        container = nullptr;
        ResourceManager::ReleaseAll();
        Render::device.Release();
        if (!_folder.empty() && chdir("/tmp") == 0) std::filesystem::remove_all(_folder);
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

void BM_PointerMovesOverButtons(benchmark::State& state) {
    Screen screen;
    int step = 0;
    for (auto _ : state) {
        step = (step + 7) % 760;
        screen.container->MouseMove(step, 100 + (step * 3) % 420);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_FramesOfAButtonScreen(benchmark::State& state) {
    Screen screen;
    int step = 0;
    for (auto _ : state) {
        step = (step + 7) % 760;
        screen.container->MouseMove(step, 300);
        screen.container->Update(0.016f);
        screen.container->Draw();
        screen.ClearRecording();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

}  // namespace

BENCHMARK(BM_PointerMovesOverButtons);
BENCHMARK(BM_FramesOfAButtonScreen);
BENCHMARK_MAIN();
