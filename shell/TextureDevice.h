#pragma once
// What the textures and fonts use of the render device, in one place.

#include "platform/render/D3D8.h"

class OldTexture;
struct Rect;

// The one vertex format: position, diffuse colour, one texture coordinate pair (24 bytes).
struct TextureVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    D3DCOLOR color = 0xFFFFFFFF;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(TextureVertex) == 24, "vertex format is 24 bytes");

constexpr DWORD TEXTURE_VERTEX_FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

namespace TextureDevice {
// The address of the render device's Direct3D device member: read at every use.
IDirect3DDevice8* const* DeviceAddress();
bool NeedPow2Textures();
bool UseUtf8();
D3DCOLOR CurrentColor();

void UploadTexture(OldTexture& texture);
void BindTexture(OldTexture& texture);
void BindTextureAsMask(OldTexture& texture);
void ReleaseTexture(OldTexture& texture);
void DrawRectUV(const Rect& rect, float uLeft, float uRight, float vBottom, float vTop);

void PushMatrix();
void PopMatrix();
void MatrixTranslate(float x, float y, float z);
void MatrixScale(float x, float y, float z);
}  // namespace TextureDevice
