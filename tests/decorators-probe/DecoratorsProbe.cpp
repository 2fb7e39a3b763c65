// Draws the demo "decorators" screen headless through OpenGL and writes the frame as a PNG; with
// --reference it compares the frame with a PNG within a per-channel tolerance. Then it clicks the
// rotated button where it is drawn and checks that its message reached the script receiver.
//   decorators-probe <out.png> --data <data folder> [--reference <ref.png>] [--tolerance N] [--outliers N]

#include <unistd.h>

#include <cstdio>
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
#include "shell/RenderDevice.h"
#include "shell/SoundSystem.h"
#include "shell/tools/ProbeSupport.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: decorators-probe <out.png> --data <folder> [--reference <ref.png>]"
                             " [--tolerance N] [--outliers N]\n");
        return 2;
    }
    probe_support::ProbeArguments arguments = probe_support::ParseProbeArguments(argc, argv);
    probe_support::StartProbeLog(probe_support::FolderOf(arguments.outPath));
    arguments.referencePath = probe_support::AbsoluteFromHere(arguments.referencePath);
    if (!arguments.dataPath.empty() && chdir(arguments.dataPath.c_str()) != 0) {
        std::fprintf(stderr, "decorators-probe: no folder %s\n", arguments.dataPath.c_str());
        return 1;
    }
    HWND window = probe_support::CreateProbeDevice("decorators-probe");
    if (window == nullptr) return 1;

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

        probe_support::BeginProbeFrame();
        container->Draw();
        read = probe_support::EndProbeFrame(&frame);

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
    probe_support::CloseProbeDevice(window);
    const int errors = probe_support::CountLogErrors();
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
    if (!probe_support::WriteProbeFrame("decorators-probe", read, frame, arguments.outPath)) return 1;
    return arguments.referencePath.empty() ||
                   probe_support::MatchesReference("decorators-probe", frame, arguments.referencePath,
                                                   arguments.tolerance, arguments.outliers)
               ? 0
               : 1;
}
