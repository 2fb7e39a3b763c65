#include "content/ParticleVertices.h"

#include <cmath>

void WriteParticleSquare(Render::Vertex* v, float cx, float cy, float hw, float hh, float rotation, D3DCOLOR color) {
    const float c = std::cos(rotation);
    const float s = std::sin(rotation);
    auto corner = [&](Render::Vertex& out, float dx, float dy, float u, float tv) {
        out.x = cx + dx * c - dy * s;
        out.y = cy + dx * s + dy * c;
        out.z = 0.0f;
        out.color = color;
        out.u = u;
        out.v = tv;
    };
    corner(v[0], -hw, -hh, 0.0f, 0.0f);
    corner(v[1], +hw, -hh, 1.0f, 0.0f);
    corner(v[2], -hw, +hh, 0.0f, 1.0f);
    corner(v[3], +hw, -hh, 1.0f, 0.0f);
    corner(v[4], -hw, +hh, 0.0f, 1.0f);
    corner(v[5], +hw, +hh, 1.0f, 1.0f);
}
