// Draws a reference scene through the render device and writes it as a PNG; with --reference
// it also compares the frame with a PNG within a per-channel tolerance, allowing a few pixels
// beyond it (rasterisers may round single edge pixels differently).
//   render-probe <out.png> [--reference <ref.png>] [--tolerance N] [--outliers N]
// Runs headless with SDL_VIDEODRIVER=offscreen.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/DataFolder.h"
#include "shell/RenderDevice.h"
#include "shell/tools/ProbeSupport.h"

namespace {

RenderDevice& device = Render::device;

IDirect3DTexture8* MakeTexture(int size, bool alpha, D3DCOLOR (*texel)(int x, int y, int size)) {
    std::vector<D3DCOLOR> pixels(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) pixels[static_cast<size_t>(y) * size + x] = texel(x, y, size);
    }
    IDirect3DTexture8* texture = nullptr;
    device.UploadTexture(&texture, size, size, alpha, pixels.data());
    return texture;
}

// Gradient disc with a checker; soft transparent edge.
D3DCOLOR DiscTexel(int x, int y, int size) {
    const float cx = x + 0.5f - size * 0.5f;
    const float cy = y + 0.5f - size * 0.5f;
    const float d = std::sqrt(cx * cx + cy * cy) / (size * 0.5f);
    const int alpha = d < 0.8f ? 255 : d < 1.0f ? static_cast<int>((1.0f - d) / 0.2f * 255) : 0;
    const unsigned red = static_cast<unsigned>(x * 255 / (size - 1));
    const unsigned green = static_cast<unsigned>(y * 255 / (size - 1));
    const unsigned blue = ((x / 8 + y / 8) % 2) ? 255 : 40;
    return D3DCOLOR_ARGB(static_cast<unsigned>(alpha), red, green, blue);
}

// Checker whose alpha byte is zero: an X8R8G8B8 texture must ignore it.
D3DCOLOR NoAlphaTexel(int x, int y, int) {
    return ((x / 4 + y / 4) % 2) ? D3DCOLOR_ARGB(0, 250, 220, 30) : D3DCOLOR_ARGB(0, 30, 60, 200);
}

// Four quadrants and a marked first row, so the orientation and the wrap both show.
D3DCOLOR TileTexel(int x, int y, int size) {
    if (y == 0) return D3DCOLOR_XRGB(255, 255, 255);
    const bool right = x >= size / 2;
    const bool top = y >= size / 2;
    if (!right && !top) return D3DCOLOR_XRGB(200, 30, 30);
    if (right && !top) return D3DCOLOR_XRGB(30, 200, 30);
    if (!right && top) return D3DCOLOR_XRGB(30, 30, 200);
    return D3DCOLOR_XRGB(220, 220, 220);
}

void Background(const Rect& cell, const Color& color) {
    device.EnableTexture(false);
    device.PushColor(color);
    device.DrawRect(cell);
    device.PopColor();
}

void DrawScene(IDirect3DTexture8* disc, IDirect3DTexture8* noAlpha, IDirect3DTexture8* tile) {
    IDirect3DDevice8* d3d = device._d3dDevice;
    const Rect cells[8] = {Rect(0, 300, 200, 300), Rect(200, 300, 200, 300), Rect(400, 300, 200, 300),
                           Rect(600, 300, 200, 300), Rect(0, 0, 200, 300),   Rect(200, 0, 200, 300),
                           Rect(400, 0, 200, 300),   Rect(600, 0, 200, 300)};
    const Color backgrounds[8] = {Color(60, 60, 60), Color(40, 40, 90), Color(90, 90, 90), Color(20, 70, 20),
                                  Color(50, 50, 50), Color(80, 40, 40), Color(70, 70, 70), Color(30, 30, 30)};
    for (int i = 0; i < 8; ++i) Background(cells[i], backgrounds[i]);

    // Modulated: the texture tinted by the vertex colour.
    device.BindTexture(disc, 1, 1, 1);
    device.PushColor(Color(255, 160, 80));
    device.DrawRect(36, 386, 128, 128);
    device.PopColor();

    // Additive: the same picture added onto a lit background.
    device.SetBlendMode(2);
    device.DrawRect(236, 386, 128, 128);
    device.DrawRect(268, 418, 128, 128);
    device.SetBlendMode(0);

    // Silhouette: diffuse colour with the texture's alpha.
    device.BindTextureAsMask(disc, 1);
    d3d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.PushColor(Color(255, 230, 40));
    device.DrawRect(436, 386, 128, 128);
    device.PopColor();
    d3d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d3d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);

    // No alpha: an X8R8G8B8 texture stays opaque whatever its alpha bytes hold.
    device.BindTexture(noAlpha, 0, 0, 1);
    device.DrawRect(636, 386, 128, 128);

    // Wrapped four times through the texture matrix.
    device.BindTexture(tile, 0, 0, 1);
    device.SetMatrixMode(1);
    device.PushMatrix();
    device.MatrixScaleUniform(4);
    device.DrawRect(20, 60, 160, 160);
    device.PopMatrix();
    device.SetMatrixMode(0);

    // A clip rectangle turned by 30 degrees cuts a textured square.
    const float zAxis[3] = {0, 0, 1};
    device.PushMatrix();
    device.MatrixTranslate(300, 150, 0);
    device.MatrixRotate(zAxis, 30);
    device.PushClipRect(Rect(-70, -40, 140, 80), CLIP_ALL);
    device.PopMatrix();
    device.BindTexture(disc, 1, 1, 1);
    device.DrawRect(220, 70, 160, 160);
    device.PopClipRect();

    // A fogged sprite: depth 0.6 of the way into the fog.
    d3d->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device.PushMatrix();
    device.MatrixTranslate(0, 0, 0.6f * 1999.8f - 999.9f);
    device.DrawRect(436, 86, 128, 128);
    device.PopMatrix();
    d3d->SetRenderState(D3DRS_FOGENABLE, FALSE);

    // Turned a quarter clockwise, at half alpha.
    device.BindTexture(tile, 1, 0, 1);
    device.PushAlpha(0.5f);
    device.DrawRectRotated(Rect(630, 60, 140, 100), 1);
    device.PopAlpha();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: render-probe <out.png> [--reference <ref.png>] [--tolerance N] [--outliers N]\n");
        return 2;
    }
    const probe_support::ProbeArguments arguments = probe_support::ParseProbeArguments(argc, argv);
    probe_support::StartProbeLog(probe_support::FolderOf(arguments.outPath));
    HWND window = probe_support::CreateProbeDevice("render-probe");
    if (window == nullptr) return 1;
    IDirect3DTexture8* disc = MakeTexture(64, true, DiscTexel);
    IDirect3DTexture8* noAlpha = MakeTexture(32, false, NoAlphaTexel);
    IDirect3DTexture8* tile = MakeTexture(16, true, TileTexel);

    probe_support::BeginProbeFrame();
    DrawScene(disc, noAlpha, tile);
    render_layer::PngPicture frame;
    const HRESULT read = probe_support::EndProbeFrame(&frame);

    device.ReleaseTexture(disc);
    device.ReleaseTexture(noAlpha);
    device.ReleaseTexture(tile);
    probe_support::CloseProbeDevice(window);

    if (!probe_support::WriteProbeFrame("render-probe", read, frame, arguments.outPath)) return 1;
    return arguments.referencePath.empty() ||
                   probe_support::MatchesReference("render-probe", frame, arguments.referencePath,
                                                   arguments.tolerance, arguments.outliers)
               ? 0
               : 1;
}
