// Draws the demo "decorators" screen headless through OpenGL and writes the frame as a PNG; with
// --reference it compares the frame with a PNG within a per-channel tolerance. Then it clicks the
// rotated button where it is drawn and checks that its message reached the script receiver.
//   decorators-probe <out.png> --data <data folder> [--reference <ref.png>] [--tolerance N] [--outliers N]

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "controls/FlowControlClasses.h"
#include "content/ResourceManager.h"
#include "controls/ControlContainer.h"
#include "controls/ControlFactory.h"
#include "controls/DecoratorControlClasses.h"
#include "controls/PictureControlClasses.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "core/MessageServer.h"
#include "core/XmlRead.h"
#include "platform/render/DriverLeaks.h"
#include "platform/render/PngFile.h"
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"

namespace {

RenderDevice& device = Render::device;

int CountErrors() {
    std::FILE* f = std::fopen(HtmlLog::FileName().c_str(), "rb");
    if (f == nullptr) return 0;
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) text.append(buffer, n);
    std::fclose(f);
    int count = 0;
    for (std::size_t pos = text.find(">ERROR : <"); pos != std::string::npos; pos = text.find(">ERROR : <", pos + 1)) {
        ++count;
    }
    return count;
}

bool Compare(const render_layer::PngPicture& frame, const std::string& referencePath, int tolerance,
             size_t outliers) {
    render_layer::PngPicture reference;
    std::string error;
    if (!render_layer::ReadPng(referencePath, &reference, &error)) {
        std::fprintf(stderr, "decorators-probe: reference: %s\n", error.c_str());
        return false;
    }
    if (reference.width != frame.width || reference.height != frame.height) {
        std::fprintf(stderr, "decorators-probe: size %ux%u, reference %ux%u\n", frame.width, frame.height,
                     reference.width, reference.height);
        return false;
    }
    size_t outside = 0;
    int worst = 0;
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        int difference = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((frame.pixels[i] >> shift) & 0xFF);
            const int b = static_cast<int>((reference.pixels[i] >> shift) & 0xFF);
            difference = std::max(difference, std::abs(a - b));
        }
        worst = std::max(worst, difference);
        if (difference > tolerance) ++outside;
    }
    std::printf("decorators-probe: %zu pixels beyond tolerance %d (largest difference %d)\n", outside, tolerance,
                worst);
    return outside <= outliers;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: decorators-probe <out.png> --data <folder> [--reference <ref.png>]"
                             " [--tolerance N] [--outliers N]\n");
        return 2;
    }
    const std::string outPath = argv[1];
    const size_t slash = outPath.find_last_of('/');
    dataFolder = slash == std::string::npos ? std::string() : outPath.substr(0, slash + 1);
    std::string referencePath;
    std::string contentFolder;
    int tolerance = 8;
    size_t outliers = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--reference") == 0) referencePath = argv[i + 1];
        if (std::strcmp(argv[i], "--data") == 0) contentFolder = argv[i + 1];
        if (std::strcmp(argv[i], "--tolerance") == 0) tolerance = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--outliers") == 0) outliers = static_cast<size_t>(std::atol(argv[i + 1]));
    }
    char here[4096];
    if (!referencePath.empty() && referencePath[0] != '/' && getcwd(here, sizeof(here)) != nullptr) {
        referencePath = std::string(here) + "/" + referencePath;
    }
    if (!contentFolder.empty() && chdir(contentFolder.c_str()) != 0) {
        std::fprintf(stderr, "decorators-probe: no folder %s\n", contentFolder.c_str());
        return 1;
    }
    HWND window = CreateDeviceWindow("decorators-probe", 800, 600, false, true);
    if (window == nullptr) return 1;
    device.CreateDevice(window, false, 800, 600);
    if (!device.IsCreated()) {
        std::fprintf(stderr, "decorators-probe: no device\n");
        return 1;
    }

    // The buttons' hover and press samples, which the game's common content registers.
    Sound::soundSystem.Init(window);
    Sound::soundSystem.AddSample("button_active", "click.wav", 2);
    Sound::soundSystem.AddSample("button_pressed", "click.wav", 2);

    RegisterControlFrameworkClasses();
    RegisterPictureControlClasses();
    RegisterDecoratorControlClasses();
    RegisterFlowControlClasses();  // the demo screens listen for keys
    std::vector<std::string> calls;
    MessageServer::SetScriptCall([&calls](const std::string& function, const std::string& text) {
        calls.push_back(function + "(" + text + ")");
    });

    render_layer::PngPicture frame;
    HRESULT read = D3D_OK;
    {
        ResourceManager::LoadResourceFile("screens\\decorators_resources.xml");
        ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(std::string("screens\\decorators.xml")));
        ObjectSmartPointer<ControlContainer> container(new ControlContainer(document->GetRoot()));
        document->GetRoot()->CheckVisited();
        container->Update(0.1f);

        device.BeginFrame();
        device.SetPictureViewport();
        device.Enter2DMode();
        device.EnableAlphaBlend(true);
        device.SetBlendMode(0);
        container->Draw();
        device.Leave2DMode();
        read = device._d3dDevice->ReadBackBuffer(&frame.pixels, &frame.width, &frame.height);
        device.EndFrame();

        // A click on the rotated button, above the place it would have unturned.
        container->MouseMove(445, 408);
        container->MouseDown(445, 408);
        container->MouseUp(445, 408);
        container = nullptr;
        document = nullptr;
    }
    MessageServer::SetScriptCall(MessageServer::ScriptCall());
    ResourceManager::ReleaseAll();
    Sound::soundSystem.Shutdown();
    device.Release();
    {
        [[maybe_unused]] render_layer::DriverLeakScope driver;
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
    const int errors = CountErrors();
    if (errors != 0) {
        std::fprintf(stderr, "decorators-probe: %d errors in the log %s\n", errors, HtmlLog::FileName().c_str());
        return 1;
    }
    if (calls != std::vector<std::string>{"OnDecoratorsButton(rotated)"}) {
        std::fprintf(stderr, "decorators-probe: the rotated button's click sent %zu script calls\n", calls.size());
        for (const std::string& call : calls) std::fprintf(stderr, "  %s\n", call.c_str());
        return 1;
    }
    std::printf("decorators-probe: the click on the rotated button sent OnDecoratorsButton(rotated)\n");
    if (read != D3D_OK) {
        std::fprintf(stderr, "decorators-probe: the frame cannot be read back\n");
        return 1;
    }
    for (D3DCOLOR& c : frame.pixels) c |= 0xFF000000u;
    std::string error;
    if (!render_layer::WritePng(outPath, frame, false, &error)) {
        std::fprintf(stderr, "decorators-probe: %s\n", error.c_str());
        return 1;
    }
    return referencePath.empty() || Compare(frame, referencePath, tolerance, outliers) ? 0 : 1;
}
