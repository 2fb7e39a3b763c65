#include "shell/TextureDevice.h"

#include "shell/Image.h"
#include "shell/OldTexture.h"
#include "shell/RenderDevice.h"

namespace TextureDevice {

IDirect3DDevice8* const* DeviceAddress() { return &Render::device._d3dDevice; }

bool NeedPow2Textures() { return Render::device._needPow2Textures; }

bool UseUtf8() { return Render::device._useUtf8; }

D3DCOLOR CurrentColor() { return Render::device.GetCurrentColor(); }

void UploadTexture(OldTexture& texture) {
    // The picture of the last load, as 0xAARRGGBB words, bottom row first.
    Render::device.UploadTexture(&texture._tex, texture.image.width, texture.image.height, texture.image.alphaChannel,
                                 reinterpret_cast<const D3DCOLOR*>(ImageBuffers::Picture()));
}

void BindTexture(OldTexture& texture) {
    Render::device.BindTexture(texture._tex, texture._addressMode, texture._linearFilter, texture._modulate);
}

void BindTextureAsMask(OldTexture& texture) { Render::device.BindTextureAsMask(texture._tex, texture._linearFilter); }

void ReleaseTexture(OldTexture& texture) { Render::device.ReleaseTexture(texture._tex); }

void DrawRectUV(const Rect& rect, float uLeft, float uRight, float vBottom, float vTop) {
    Render::device.DrawRectUV(rect, uLeft, uRight, vBottom, vTop);
}

void PushMatrix() { Render::device.PushMatrix(); }

void PopMatrix() { Render::device.PopMatrix(); }

void MatrixTranslate(float x, float y, float z) { Render::device.MatrixTranslate(x, y, z); }

void MatrixScale(float x, float y, float z) { Render::device.MatrixScale(x, y, z); }

}  // namespace TextureDevice
