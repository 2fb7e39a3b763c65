#include "match3/FieldOutline.h"

#include <cmath>

namespace {

constexpr int UPPER_LEFT = 8;
constexpr int UPPER_RIGHT = 4;
constexpr int LOWER_LEFT = 2;
constexpr int LOWER_RIGHT = 1;
// The sides and outer corners are a 3 x 3 frame in columns 1..3 and rows 1..3 of the atlas; the
// inner corners (three cells of four) lie in columns 5 and 6 of rows 0 and 1.
constexpr AtlasTile INNER_NO_LOWER_RIGHT{5, 0};
constexpr AtlasTile INNER_NO_LOWER_LEFT{6, 0};
constexpr AtlasTile INNER_NO_UPPER_RIGHT{5, 1};
constexpr AtlasTile INNER_NO_UPPER_LEFT{6, 1};

}  // namespace

std::vector<AtlasTile> BorderTiles(bool upperLeft, bool upperRight, bool lowerLeft, bool lowerRight) {
    const int cells = (upperLeft ? UPPER_LEFT : 0) | (upperRight ? UPPER_RIGHT : 0) | (lowerLeft ? LOWER_LEFT : 0) |
                      (lowerRight ? LOWER_RIGHT : 0);
    switch (cells) {
        case UPPER_LEFT: return {{3, 3}};
        case UPPER_RIGHT: return {{1, 3}};
        case LOWER_LEFT: return {{3, 1}};
        case LOWER_RIGHT: return {{1, 1}};
        case UPPER_LEFT | UPPER_RIGHT: return {{2, 3}};
        case LOWER_LEFT | LOWER_RIGHT: return {{2, 1}};
        case UPPER_LEFT | LOWER_LEFT: return {{3, 2}};
        case UPPER_RIGHT | LOWER_RIGHT: return {{1, 2}};
        case UPPER_LEFT | LOWER_RIGHT: return {INNER_NO_LOWER_LEFT, INNER_NO_UPPER_RIGHT};
        case UPPER_RIGHT | LOWER_LEFT: return {INNER_NO_LOWER_RIGHT, INNER_NO_UPPER_LEFT};
        case UPPER_LEFT | UPPER_RIGHT | LOWER_LEFT: return {INNER_NO_LOWER_RIGHT};
        case UPPER_LEFT | UPPER_RIGHT | LOWER_RIGHT: return {INNER_NO_LOWER_LEFT};
        case UPPER_LEFT | LOWER_LEFT | LOWER_RIGHT: return {INNER_NO_UPPER_RIGHT};
        case UPPER_RIGHT | LOWER_LEFT | LOWER_RIGHT: return {INNER_NO_UPPER_LEFT};
        default: return {};
    }
}

FRect AtlasTileSource(const AtlasTile& tile, int tileSize, int width, int height) {
    if (width <= 0 || height <= 0) return FRect();
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float s = static_cast<float>(tileSize);
    return FRect(s * static_cast<float>(tile.column) / w, s * static_cast<float>(tile.column + 1) / w,
                 (256.0f - s * static_cast<float>(tile.row + 1)) / h, (256.0f - s * static_cast<float>(tile.row)) / h);
}

ShineGrid ShineDistances(const std::function<bool(int, int)>& inField, int originX, int originY) {
    ShineGrid d;
    for (auto& column : d) column.fill(SHINE_UNREACHED);
    if (originX < 0 || originX >= MAX_FIELD_X || originY < 0 || originY >= MAX_FIELD_Y || !inField(originX, originY)) {
        return d;
    }
    // Shortest paths, settled nearest first; every step adds to the length of a path from the
    // origin, so the lengths are the same sums a walk outwards from the origin makes.
    std::array<std::array<bool, MAX_FIELD_Y>, MAX_FIELD_X> settled{};
    d[originX][originY] = 0.0f;
    const float diagonal = std::sqrt(2.0f);
    for (;;) {
        int bx = -1;
        int by = -1;
        for (int x = 0; x < MAX_FIELD_X; ++x) {
            for (int y = 0; y < MAX_FIELD_Y; ++y) {
                if (settled[x][y] || d[x][y] >= SHINE_UNREACHED) continue;
                if (bx < 0 || d[x][y] < d[bx][by]) {
                    bx = x;
                    by = y;
                }
            }
        }
        if (bx < 0) break;
        settled[bx][by] = true;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                const int nx = bx + dx;
                const int ny = by + dy;
                if ((dx == 0 && dy == 0) || nx < 0 || nx >= MAX_FIELD_X || ny < 0 || ny >= MAX_FIELD_Y) continue;
                if (!inField(nx, ny)) continue;
                const float step = dx != 0 && dy != 0 ? diagonal : 1.0f;
                if (d[nx][ny] > d[bx][by] + step) d[nx][ny] = d[bx][by] + step;
            }
        }
    }
    return d;
}
