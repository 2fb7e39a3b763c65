#include "shell/NativeTextureStrategies.h"

#include "core/Assert.h"

NativeTextureStrategy::NativeTextureStrategy() : _device(TextureDevice::DeviceAddress()) {}

void NativeTextureStrategy::SetStage(D3DTEXTURESTAGESTATETYPE type, DWORD value) const {
    IDirect3DDevice8* device = Device();
    if (device != nullptr) device->SetTextureStageState(0, type, value);
}

void NativeTexturePointFilter::Apply() {
    SetStage(D3DTSS_MAGFILTER, D3DTEXF_POINT);
    SetStage(D3DTSS_MINFILTER, D3DTEXF_POINT);
    SetStage(D3DTSS_MIPFILTER, D3DTEXF_NONE);
}

void NativeTextureLinearFilter::Apply() {
    SetStage(D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    SetStage(D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    SetStage(D3DTSS_MIPFILTER, D3DTEXF_NONE);
}

void NativeTextureWrapAddress::Apply() {
    SetStage(D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
    SetStage(D3DTSS_ADDRESSV, D3DTADDRESS_WRAP);
    SetStage(D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
}

void NativeTextureWrapAddress::CheckUV(float, float) {}

void NativeTextureClampAddress::Apply() {
    SetStage(D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    SetStage(D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    SetStage(D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
}

void NativeTextureClampAddress::CheckUV(float u, float v) {
    Assert(0.0f <= u && u <= 1.0f + 1.0f / 2048);
    Assert(0.0f <= v && v <= 1.0f + 1.0f / 2048);
}

void NativeTextureModulateColorOp::Apply() {
    SetStage(D3DTSS_COLOROP, D3DTOP_MODULATE);
    SetStage(D3DTSS_ALPHAOP, D3DTOP_MODULATE);
}

void NativeTextureAddColorOp::Apply() {
    SetStage(D3DTSS_COLOROP, D3DTOP_ADD);
    SetStage(D3DTSS_ALPHAOP, D3DTOP_MODULATE);
}

void NativeTextureNoAlphaColorOp::Apply() {
    SetStage(D3DTSS_COLOROP, D3DTOP_MODULATE);
    SetStage(D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
}
