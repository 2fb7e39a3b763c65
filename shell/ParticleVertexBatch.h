#pragma once
// The particle library's shared vertex batch, as far as the render device uses it. A stand-in
// until the particle library brings its own.

#include <vector>

#include "shell/RenderDevice.h"

struct ParticleVertexBatch {
    IDirect3DVertexBuffer8* buffer = nullptr;
    int vertexCount = 0;          // FillVertexBuffer copies this many; DrawVertexBuffer draws count / 3 triangles
    int stripTriangleCount = 0;   // triangles DrawVertexBatchStrip draws
    std::vector<Render::Vertex> vertices;
};

// The batch CreateParticleVertexBuffer makes.
ParticleVertexBatch& GetParticleVertexBatch();

// (Re)makes the shared batch with room for 1800 vertices and its vertex buffer on the device.
void CreateParticleVertexBuffer();
