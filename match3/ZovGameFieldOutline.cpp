// What the field works out from the outline of a loaded level: the shine wave that carries the
// field into view from a random cell (and out of it when the level ends), and the decor.
#include <algorithm>

#include "content/ResourceManager.h"
#include "match3/ZovGameFieldControl.h"

namespace {

// Seconds the wave takes per unit of distance, and the time from the start of a wave to about
// its end.
constexpr float SHINE_TIME_PER_UNIT = 0.3f;
constexpr float SHINE_END = 2.5f;

}  // namespace

void ZovGameFieldControl::StartShine() {
    for (auto& column : _shineOffsets) column.fill(0.0f);
    const int sizeX = _board.GetSizeX();
    const int sizeY = _board.GetSizeY();
    bool anyCell = false;
    for (int x = 0; x < sizeX; ++x) {
        for (int y = 0; y < sizeY; ++y) anyCell = anyCell || _board.InField(x, y);
    }
    // An empty board has no origin; its wave still runs, over nothing.
    int originX = -1;
    int originY = -1;
    while (anyCell && !_board.InField(originX, originY)) {
        originX = _random.RandomIntRange(0, sizeX);
        originY = _random.RandomIntRange(0, sizeY);
    }
    ShineGrid d = ShineDistances([this](int x, int y) { return _board.InField(x, y); }, originX, originY);
    float farthest = 0.0f;
    for (int x = 0; x < sizeX; ++x) {
        for (int y = 0; y < sizeY; ++y) {
            if (_board.InField(x, y) && d[x][y] < SHINE_UNREACHED) farthest = std::max(farthest, d[x][y]);
        }
    }
    for (int x = 0; x < sizeX; ++x) {
        for (int y = 0; y < sizeY; ++y) d[x][y] = d[x][y] < SHINE_UNREACHED ? d[x][y] * 0.5f : farthest * 0.5f;
    }
    _shineDistance = (farthest + 1.0f) * 0.5f;
    const float life = _shineDistance * SHINE_TIME_PER_UNIT;
    _shineRate = 1.0f / SHINE_TIME_PER_UNIT;
    _shine = ObjectSmartPointer<FlarePosition>(new FlarePosition(life, true, 0.0f, 0.0f, std::max(0.0f, SHINE_END - life)));
    // A field that leaves starts fully shown and goes out from the origin first, as it came in.
    const bool leaving = _levelTime == 0;
    for (int x = 0; x < MAX_FIELD_X; ++x) {
        for (int y = 0; y < MAX_FIELD_Y; ++y) _shineOffsets[x][y] = leaving ? 1.0f + d[x][y] : -d[x][y];
    }
}

void ZovGameFieldControl::StartLeaving() {
    // The cells go out as they came in, over the same time, from where the last wave left them.
    const float life = _shine->_flareLife;
    if (life <= 0.0f) {
        StartShine();
        return;
    }
    _shine = ObjectSmartPointer<FlarePosition>(new FlarePosition(life, true, 0.0f, 0.0f, 0.0f));
}

void ZovGameFieldControl::AdvanceShine(float dt) {
    const float step = _levelTime != 0 ? _shineRate * dt : -_shineRate * dt;
    for (auto& column : _shineOffsets) {
        for (float& offset : column) offset += step;
    }
}

float ZovGameFieldControl::GetShineOffset(int x, int y) const {
    if (x < 0 || x >= MAX_FIELD_X || y < 0 || y >= MAX_FIELD_Y) return 0.0f;
    return _shineOffsets[x][y];
}

float ZovGameFieldControl::CellShine(int x, int y) const { return std::min(std::max(GetShineOffset(x, y), 0.0f), 1.0f); }

void ZovGameFieldControl::BuildDecor() {
    _decor = BuildFieldDecor(_board, GetAbsolutePos(), _random, [](const std::string& id) {
        return ResourceManager::HasTexture(id) ? ResourceManager::GetTextureOrFrame(id) : UsingPointer<Texture>();
    });
}
