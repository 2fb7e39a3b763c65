#pragma once
// Particle squares in the shared particle vertex batch that the render device creates
// (CreateParticleVertexBuffer, 1800 vertices: 300 squares).

#include "shell/ParticleVertexBatch.h"

// Six vertices (two triangles) of a square with half sides hw, hh turned by rotation (radians)
// about its centre, z = 0, all of one colour.
void WriteParticleSquare(Render::Vertex* v, float cx, float cy, float hw, float hh, float rotation, D3DCOLOR color);
