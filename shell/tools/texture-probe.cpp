// Draws the texture and text reference scene with the demo content and writes it as a PNG; with
// --reference it also compares the frame with a PNG within a per-channel tolerance.
//   texture-probe <out.png> --data <data folder> [--reference <ref.png>] [--tolerance N]
// Runs headless with SDL_VIDEODRIVER=offscreen.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/DataFolder.h"
#include "core/XmlElement.h"
#include "shell/BitmapFont.h"
#include "shell/NativeTextureLoader.h"
#include "shell/OldTexture.h"
#include "shell/PartialTexture.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/TextureFactory.h"
#include "shell/TextureRegistry.h"
#include "shell/tools/ProbeSupport.h"

namespace {

RenderDevice& device = Render::device;

ObjectSmartPointer<XmlElement> Element(std::initializer_list<std::pair<const char*, const char*>> attributes) {
    ObjectSmartPointer<XmlElement> e(new XmlElement("texture"));
    for (const auto& a : attributes) e->SetStringAttribute(a.first, a.second);
    return e;
}

void Background(const Rect& cell, const Color& color) {
    device.EnableTexture(false);
    device.PushColor(color);
    device.DrawRect(cell);
    device.PopColor();
}

struct Scene {
    ObjectSmartPointer<Texture> fish, bubble, sand, tile, pebble, fishHead, bubbleFrame;
    RectangleTexture stone;
};

void Build(Scene& s) {
    // One texture of each kind and storage; content paths as the resource lists write them.
    s.fish = TextureFactory::Create(Element({{"upload", "refcount"}, {"storage", "memory-reverse"}, {"path", "textures\\fish.png"}}));
    s.bubble = TextureFactory::Create(Element({{"upload", "always"}, {"storage", "memory-keeping"}, {"path", "textures\\Bubble.png"}}));
    s.tile = TextureFactory::Create(Element(
        {{"upload", "refcount"}, {"address", "wrap"}, {"filter", "point"}, {"storage", "disk-onquery"}, {"path", "textures\\tile.png"}}));
    s.pebble = TextureFactory::Create(
        Element({{"upload", "refcount"}, {"colorOp", "add"}, {"storage", "disk-preload"}, {"path", "textures\\pebble.tga"}}));
    TextureRegistry::Register("fish", s.fish);
    s.fishHead = TextureFactory::Create(
        Element({{"kind", "partial"}, {"x", "50"}, {"y", "0"}, {"width", "50"}, {"height", "50"}, {"base", "fish"}}));
    s.bubbleFrame = ObjectSmartPointer<Texture>(new TransparentExtensionTexture(s.bubble, Rect(32, 32, 64, 64), Rect(0, 0, 128, 128)));
    s.stone.Load("textures\\stone.tga");
    s.stone.Upload();
    // The sand ships only as a JPEG pair: its load costs one failed attempt at the PNG and turns the
    // form switch, so the tile, loaded on query while drawing, costs one at its JPEG pair.
    s.sand = TextureFactory::Create(Element(
        {{"upload", "manual"}, {"groups", "probe"}, {"storage", "disk-onquery"}, {"path", "textures\\sand.png"}}));
    Texture::UploadGroup("probe");
}

void Draw(Scene& s) {
    const Rect cells[8] = {Rect(0, 300, 200, 300), Rect(200, 300, 200, 300), Rect(400, 300, 200, 300),
                           Rect(600, 300, 200, 300), Rect(0, 100, 200, 200),   Rect(200, 100, 200, 200),
                           Rect(400, 100, 200, 200), Rect(600, 100, 200, 200)};
    const Color backgrounds[8] = {Color(40, 60, 90), Color(30, 50, 80), Color(40, 60, 90), Color(30, 50, 80),
                                  Color(30, 50, 80), Color(40, 60, 90), Color(30, 50, 80), Color(40, 60, 90)};
    for (int i = 0; i < 8; ++i) Background(cells[i], backgrounds[i]);
    Background(Rect(0, 0, 800, 100), Color(20, 20, 30));

    UsingPointer<Texture> fish{ObjectWeakPointer<Texture>(s.fish)};
    UsingPointer<Texture> tile{ObjectWeakPointer<Texture>(s.tile)};
    UsingPointer<Texture> pebble{ObjectWeakPointer<Texture>(s.pebble)};
    UsingPointer<Texture> head{ObjectWeakPointer<Texture>(s.fishHead)};
    UsingPointer<Texture> frame{ObjectWeakPointer<Texture>(s.bubbleFrame)};

    // Top row: reference-counted fish at picture size and stretched, the always-loaded bubble in
    // a tint, the wrapped tile repeated three times each way, the grouped JPEG-pair sand.
    s.fish->Draw(Point(50, 500));
    s.fish->Draw(FRect(20.0f, 180.0f, 330.0f, 450.0f), FRect(0.0f, 1.0f, 0.0f, 1.0f));
    device.PushColor(Color(255, 200, 120));
    s.bubble->Draw(Point(236, 460));
    device.PopColor();
    s.bubble->DrawSilhouette(Rect(236, 330, 128, 96), FRect(0.0f, 1.0f, 0.0f, 1.0f));
    s.tile->Draw(Rect(420, 320, 160, 260), FRect(0.0f, 3.0f, 0.0f, 3.0f));
    s.sand->Draw(Point(636, 500));
    s.sand->DrawQuad(FPoint(620.0f, 330.0f), FPoint(780.0f, 350.0f), FPoint(640.0f, 450.0f), FPoint(760.0f, 430.0f),
                     FRect(0.0f, 1.0f, 0.0f, 1.0f));

    // Middle row: the run-length TGA added to its cell, a partial texture, an extension texture,
    // and an old rectangle texture with a coloured quad and a triangle of the fish.
    device.PushColor(Color(90, 40, 0));
    s.pebble->Draw(Point(68, 184));
    device.PopColor();
    head->Draw(Point(275, 150));
    frame->Draw(Point(436, 136));
    s.stone.Bind();
    s.stone.Draw(Point(620, 120));
    s.fish->DrawColoredQuad(ColoredPoint(680.0f, 200.0f, Color(255, 0, 0)), ColoredPoint(780.0f, 200.0f, Color(0, 255, 0)),
                            ColoredPoint(680.0f, 280.0f, Color(0, 0, 255)), ColoredPoint(780.0f, 280.0f, Color(255, 255, 255, 128)),
                            FRect(0.0f, 1.0f, 0.0f, 1.0f));
    s.fish->DrawTriangle(680.0f, 110.0f, 780.0f, 110.0f, 730.0f, 190.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.5f, 1.0f);

    // Bottom strip: one line of text, left, centre and right aligned.
    device.PushColor(Color(255, 240, 200));
    Render::fonts.SetFont("demo");
    Render::fonts.DrawString(10, 60, "Left: Hello World", 1.0f, 0, true);
    Render::fonts.DrawString(400, 60, "Centre \xEC\xEE\xF0\xE5 123", 1.0f, 2, true);
    Render::fonts.DrawString(790, 60, "Right aligned!", 1.0f, 1, true);
    Render::fonts.DrawString(400, 22, "Scaled to three quarters", 0.75f, 2, true);
    device.PopColor();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: texture-probe <out.png> --data <folder> [--reference <ref.png>] [--tolerance N]\n");
        return 2;
    }
    probe_support::ProbeArguments arguments = probe_support::ParseProbeArguments(argc, argv);
    if (arguments.dataPath.empty()) arguments.dataPath = "data";
    char logFolder[] = "/tmp/marivel-texture-probe-XXXXXX";
    if (mkdtemp(logFolder) == nullptr) return 1;
    probe_support::StartProbeLog(std::string(logFolder) + "/");
    if (chdir(arguments.dataPath.c_str()) != 0) {
        std::fprintf(stderr, "texture-probe: no data folder %s\n", arguments.dataPath.c_str());
        return 1;
    }

    HWND window = probe_support::CreateProbeDevice("texture-probe");
    if (window == nullptr) return 1;
    device._useUtf8 = false;
    Render::fonts.AddFont(BitmapFont("demo", 1, -1));
    render_layer::PngPicture picture;
    HRESULT read = D3D_OK;
    {
        Scene scene;
        Build(scene);
        probe_support::BeginProbeFrame();
        Draw(scene);
        read = probe_support::EndProbeFrame(&picture);
        Texture::ReleaseGroup("probe");
        scene.stone.Release();
        TextureRegistry::Clear();
    }
    Render::fonts.ReleaseAll();
    NativeTextureLoader::ReportMaxVideoMemory();
    probe_support::CloseProbeDevice(window);
    const int errors = probe_support::CountLogErrors();
    std::printf("texture-probe: %d errors in the log (2 expected: the first attempts of sand and tile)\n", errors);

    if (!probe_support::WriteProbeFrame("texture-probe", read, picture, arguments.outPath)) return 1;
    if (errors != 2) return 1;
    return arguments.referencePath.empty() ||
                   probe_support::MatchesReference("texture-probe", picture, arguments.referencePath,
                                                   arguments.tolerance, 0)
               ? 0
               : 1;
}
