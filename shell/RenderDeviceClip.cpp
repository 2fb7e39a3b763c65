// Clip rectangles of the render device: up to four world-space user clip planes per rectangle.
#include "core/Assert.h"
#include "shell/RenderDevice.h"

void RenderDevice::OrientClipPlane(float* plane, float x, float y, float z) {
    const float s = plane[0] * x + plane[1] * y + plane[2] * z + plane[3];
    if (s < 0) {
        for (int i = 0; i < 4; ++i) plane[i] = -plane[i];
    }
    Assert(plane[0] * x + plane[1] * y + plane[2] * z + plane[3] > 0);
}

void RenderDevice::SetClipPlaneMask() {
    // Pushes beyond the reported limit must not shift past the mask's width.
    const DWORD mask = _nClipPlanes >= 32 ? 0xFFFFFFFFu : (DWORD)((1ull << _nClipPlanes) - 1);
    Assert(_d3dDevice->SetRenderState(D3DRS_CLIPPLANEENABLE, mask) == D3D_OK);
}

void RenderDevice::PushClipRect(const Rect& window, ClipSides sides) {
    Assert(window.width > 0);
    Assert(window.height > 0);
    if (_d3dDevice == NULL) {
        _clipPlanesStack.push(_nClipPlanes);
        return;
    }
    D3DXMATRIX view;
    _d3dDevice->GetTransform(D3DTS_VIEW, &view);
    Assert(view._11 == 1);
    Assert(view._12 == 0);
    Assert(view._13 == 0);
    Assert(view._14 == 0);
    Assert(view._21 == 0);
    Assert(view._22 == 1);
    Assert(view._23 == 0);
    Assert(view._24 == 0);
    Assert(view._31 == 0);
    Assert(view._32 == 0);
    Assert(view._33 == 1);
    Assert(view._34 == 0);
    Assert(view._41 == 0);
    Assert(view._42 == 0);
    Assert(view._43 == 0);
    Assert(view._44 == 1);
    D3DXMATRIX world;
    _d3dDevice->GetTransform(D3DTS_WORLD, &world);
    Assert(world._14 == 0);
    Assert(world._24 == 0);
    Assert(world._34 == 0);
    Assert(world._44 == 1);
    Assert(world._13 == 0);
    Assert(world._23 == 0);
    Assert(world._31 == 0);
    Assert(world._32 == 0);

    const float px[4] = {(float)window.x, (float)window.x, (float)(window.x + window.width),
                         (float)(window.x + window.width)};
    const float py[4] = {(float)window.y, (float)(window.y + window.height), (float)(window.y + window.height),
                         (float)window.y};
    float X[4];
    float Y[4];
    for (int i = 0; i < 4; ++i) {
        X[i] = world._11 * px[i] + world._21 * py[i] + world._41;
        Y[i] = world._12 * px[i] + world._22 * py[i] + world._42;
    }
    // The plane through edge a -> b, turned so that corner c lies inside.
    auto makePlane = [&](float* plane, int a, int b, int c) {
        plane[0] = Y[b] - Y[a];
        plane[1] = X[a] - X[b];
        plane[2] = 0;
        plane[3] = X[b] * Y[a] - Y[b] * X[a];
        OrientClipPlane(plane, X[c], Y[c], 0);
    };
    float plane12[4];
    float plane23[4];
    float plane34[4];
    float plane41[4];
    makePlane(plane12, 0, 1, 2);
    makePlane(plane23, 1, 2, 3);
    makePlane(plane34, 2, 3, 0);
    makePlane(plane41, 3, 0, 1);

    _clipPlanesStack.push(_nClipPlanes);
    if (sides.left) {
        Assert(_nClipPlanes < MAX_CLIP_PLANES);
        Assert(_d3dDevice->SetClipPlane(_nClipPlanes, plane12) == D3D_OK);
        ++_nClipPlanes;
    }
    if (sides.top) {
        Assert(_nClipPlanes < MAX_CLIP_PLANES);
        Assert(_d3dDevice->SetClipPlane(_nClipPlanes, plane23) == D3D_OK);
        ++_nClipPlanes;
    }
    if (sides.right) {
        Assert(_nClipPlanes < MAX_CLIP_PLANES);
        Assert(_d3dDevice->SetClipPlane(_nClipPlanes, plane34) == D3D_OK);
        ++_nClipPlanes;
    }
    if (sides.bottom) {
        Assert(_nClipPlanes < MAX_CLIP_PLANES);
        Assert(_d3dDevice->SetClipPlane(_nClipPlanes, plane41) == D3D_OK);
        ++_nClipPlanes;
    }
    Assert(_clipPlanesStack.top() < _nClipPlanes && _nClipPlanes <= _clipPlanesStack.top() + 4);
    SetClipPlaneMask();
}

void RenderDevice::PopClipRect() {
    Assert(_clipPlanesStack.size() > 0);
    if (_clipPlanesStack.empty()) return;
    Assert(_clipPlanesStack.top() < _nClipPlanes && _nClipPlanes <= _clipPlanesStack.top() + 4);
    _nClipPlanes = _clipPlanesStack.top();
    _clipPlanesStack.pop();
    if (_d3dDevice) SetClipPlaneMask();
}
