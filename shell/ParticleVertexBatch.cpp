#include "shell/ParticleVertexBatch.h"

namespace {
constexpr int PARTICLE_BATCH_VERTICES = 1800;
}

ParticleVertexBatch& GetParticleVertexBatch() {
    static ParticleVertexBatch batch;
    return batch;
}

void CreateParticleVertexBuffer() {
    ParticleVertexBatch& batch = GetParticleVertexBatch();
    // A buffer of an earlier device is given back before the new one is made.
    if (batch.buffer) batch.buffer->Release();
    batch.buffer = nullptr;
    batch.vertexCount = PARTICLE_BATCH_VERTICES;
    batch.vertices.assign(PARTICLE_BATCH_VERTICES, Render::Vertex());
    Render::device.CreateVertexBuffer(&batch.buffer, PARTICLE_BATCH_VERTICES);
}
