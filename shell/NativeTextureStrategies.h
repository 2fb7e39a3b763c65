#pragma once
// The strategies that set texture stage 0 for a native texture: filter, addressing, colour operation.

#include "core/Object.h"
#include "shell/TextureDevice.h"

class NativeTextureStrategy : public Interface {
protected:
    NativeTextureStrategy();
    IDirect3DDevice8* Device() const { return *_device; }
    void SetStage(D3DTEXTURESTAGESTATETYPE type, DWORD value) const;

private:
    IDirect3DDevice8* const* _device = nullptr;
};

class NativeTextureFilter : public NativeTextureStrategy {
public:
    virtual void Apply() = 0;
};

class NativeTexturePointFilter : public NativeTextureFilter {
public:
    void Apply() override;
};

class NativeTextureLinearFilter : public NativeTextureFilter {
public:
    void Apply() override;
};

class NativeTextureAddress : public NativeTextureStrategy {
public:
    virtual void Apply() = 0;
    virtual void CheckUV(float u, float v) = 0;
};

class NativeTextureWrapAddress : public NativeTextureAddress {
public:
    void Apply() override;
    void CheckUV(float u, float v) override;
};

class NativeTextureClampAddress : public NativeTextureAddress {
public:
    void Apply() override;
    // Coordinates may pass 1 by half a texel of a 1024 texture.
    void CheckUV(float u, float v) override;
};

class NativeTextureColorOp : public NativeTextureStrategy {
public:
    virtual void Apply() = 0;
};

class NativeTextureModulateColorOp : public NativeTextureColorOp {
public:
    void Apply() override;
};

class NativeTextureAddColorOp : public NativeTextureColorOp {
public:
    void Apply() override;
};

// The texture's alpha is not used.
class NativeTextureNoAlphaColorOp : public NativeTextureColorOp {
public:
    void Apply() override;
};
