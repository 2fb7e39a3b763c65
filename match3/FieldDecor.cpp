#include "match3/FieldDecor.h"

#include "match3/board/GameBoard.h"
#include "match3/effects/EffectDrawing.h"
#include "shell/RenderDevice.h"

namespace {

// Pieces whose top lies this close to the point over the top middle of the screen are dropped.
constexpr int CLEAR_X = 400;
constexpr int CLEAR_Y = 733;
constexpr int CLEAR_RADIUS = 200;
// Distance of a piece from the border line it stands by.
constexpr int GAP = 8;

class DecorRules {
public:
    DecorRules(const GameBoard& board, const Point& origin, BoardRandom& random, const DecorPictures& pictures)
        : _board(board),
          _p(origin.x - 1, origin.y - 1),
          _random(random),
          _pictures(pictures),
          _c(board.GetCellSize()),
          _w(board.GetSizeX()),
          _h(board.GetSizeY()) {}

    std::vector<FieldDecor> Build() {
        TopEdge();
        Sides();
        RowTops();
        HolesAndCorners();
        return std::move(_decor);
    }

private:
    bool In(int x, int y) const { return _board.InField(x, y); }
    float CellX(int x) const { return _board.CellX(x); }
    float CellY(int y) const { return _board.CellY(y); }

    // The id itself on an odd draw, its second variant on an even one.
    std::string Variant(const std::string& id) { return _random.Modulo(2) == 1 ? id : id + "2"; }
    bool Mirroring() { return _random.Modulo(2) == 1; }

    // place: the piece's x from its picture's width.
    void Add(const std::string& id, const std::function<int(int)>& place, int y, bool mirrored) {
        UsingPointer<Texture> picture = _pictures(id);
        if (picture == NULL) return;
        const int w = picture->GetRectangle().width;
        FieldDecor piece;
        piece.x = place(w);
        piece.y = y;
        piece.mirrored = mirrored;
        piece.picture = picture;
        piece.id = id;
        _decor.push_back(piece);
    }

    void TopEdge() {
        int j = 0;
        while (j < _w && !In(j, 0)) ++j;
        int k = j + 1;
        while (k < _w && In(k, 0)) ++k;
        if (j >= _w || k - j <= 2 || k + j != _w) return;
        const bool mirrored = Mirroring();
        const std::string id = Variant("scope_decor1");
        const int x = static_cast<int>((CellX(k) + CellX(j)) * 0.5f + static_cast<float>(_p.x));
        Add(id, [x](int) { return x; }, static_cast<int>(CellY(0) + static_cast<float>(_p.y + _c + GAP)), mirrored);
    }

    // The first run of cells down a column: rows m (first with a cell) to j (first without after it).
    void ColumnRun(int column, int& m, int& j) const {
        m = 0;
        while (m < _h && !In(column, m)) ++m;
        j = m + 1;
        while (j < _h && In(column, j)) ++j;
        if (m >= _h) j = m;
    }

    void Sides() {
        int m = 0;
        int j = 0;
        ColumnRun(0, m, j);
        if (j - m > 3) {
            const int y = static_cast<int>(static_cast<float>(_p.y) + (CellY(j) + CellY(m)) * 0.5f);
            Add("scope_decor7",
                [this](int w) { return static_cast<int>(CellX(0) + static_cast<float>(_p.x - GAP - w / 2)); }, y, true);
        }
        ColumnRun(_w - 1, m, j);
        if (_w > 0 && j - m > 3) {
            const int y = static_cast<int>(static_cast<float>(_p.y) + (CellY(j) + CellY(m)) * 0.5f);
            Add("scope_decor7",
                [this](int w) { return static_cast<int>(static_cast<float>(w / 2) + CellX(_w - 1) +
                                                        static_cast<float>(_c + _p.x + GAP)); },
                y, false);
        }
    }

    void RowTops() {
        for (int m = 0; m < _h; ++m) {
            int j = 0;
            while (j < _w && !In(j, m)) ++j;
            if (j >= _w) j = _w - 1;
            int n = j + 1;
            while (n < _w && In(n, m)) ++n;
            bool clearAbove = true;
            for (int x = j - 1; x <= n + 1; ++x) clearAbove = clearAbove && !In(x, m - 1);
            if (!clearAbove || !(n - j == 2 || (n - j > 2 && j + n != _w))) continue;
            const bool mirrored = Mirroring();
            const std::string id = Variant("scope_decor5");
            const int x = static_cast<int>((CellX(n) + CellX(j)) * 0.5f + static_cast<float>(_p.x));
            Add(id, [x](int) { return x; }, static_cast<int>(static_cast<float>(_p.y) + CellY(m) + static_cast<float>(_c + GAP)),
                mirrored);
        }
    }

    void HolesAndCorners() {
        for (int l = 0; l < _w; ++l) {
            for (int m = 0; m < _h; ++m) {
                const int x0 = static_cast<int>(CellX(l) + static_cast<float>(_c / 2 + _p.x));
                const int y0 = static_cast<int>(CellY(m) + static_cast<float>(_p.y)) + GAP;
                // Against the wall on its right, or (mirrored) on its left.
                auto right = [this, x0](int w) { return x0 + _c / 2 - w / 2 - GAP; };
                auto left = [this, x0](int w) { return x0 + w / 2 - _c / 2 + GAP; };
                if (!In(l, m)) {
                    if (In(l - 1, m) && In(l + 1, m) && In(l, m - 1) && In(l, m + 1)) {
                        const bool mirrored = l < _w / 2;
                        const std::string id = Variant("scope_decor6");
                        if (mirrored) {
                            Add(id, right, y0, true);
                        } else {
                            Add(id, left, y0, false);
                        }
                    } else if (!In(l, m - 1) && In(l, m + 1) && In(l + 1, m - 1) && In(l + 1, m)) {
                        Add(Variant("scope_decor2"), right, y0, false);
                    } else if (!In(l, m - 1) && In(l, m + 1) && In(l - 1, m - 1) && In(l - 1, m)) {
                        Add(Variant("scope_decor2"), left, y0, true);
                    } else if (In(l, m + 1) && !In(l, m - 1) && !In(l - 1, m) && In(l + 1, m)) {
                        Add(Variant("scope_decor3"), right, y0, false);
                    } else if (In(l, m + 1) && !In(l, m - 1) && !In(l + 1, m) && In(l - 1, m)) {
                        Add(Variant("scope_decor3"), left, y0, true);
                    } else if (In(l, m + 1) && !In(l, m - 1) && !In(l - 1, m) && !In(l + 1, m) &&
                               !In(l - 1, m + 1) && !In(l + 1, m + 1)) {
                        Add(Variant("scope_decor4"), [x0](int) { return x0; }, y0, false);
                    }
                }
                // A pillar that reaches the top row gets its piece over the field.
                if (m == 0 && In(l, 0) && !In(l - 1, 0) && !In(l + 1, 0)) {
                    Add(Variant("scope_decor4"), [x0](int) { return x0; },
                        static_cast<int>(CellY(-1) + static_cast<float>(_p.y)) + GAP, false);
                }
            }
        }
    }

    const GameBoard& _board;
    Point _p;
    BoardRandom& _random;
    const DecorPictures& _pictures;
    int _c = 0;
    int _w = 0;
    int _h = 0;
    std::vector<FieldDecor> _decor;
};

}  // namespace

std::vector<FieldDecor> BuildFieldDecor(const GameBoard& board, const Point& origin, BoardRandom& random,
                                        const DecorPictures& pictures) {
    std::vector<FieldDecor> decor = DecorRules(board, origin, random, pictures).Build();
    DropCrowdedDecor(decor, board.GetCellSize());
    return decor;
}

void DropCrowdedDecor(std::vector<FieldDecor>& decor, int cellSize) {
    std::vector<FieldDecor> kept;
    for (const FieldDecor& piece : decor) {
        const int height = piece.picture != NULL ? piece.picture->GetRectangle().height : 0;
        const long dx = piece.x - CLEAR_X;
        const long dy = piece.y + height - CLEAR_Y;
        if (dx * dx + dy * dy <= static_cast<long>(CLEAR_RADIUS) * CLEAR_RADIUS) continue;
        kept.push_back(piece);
    }
    const long spacing = 2L * cellSize;
    decor.clear();
    for (const FieldDecor& piece : kept) {
        bool crowded = false;
        for (const FieldDecor& earlier : decor) {
            const long dx = piece.x - earlier.x;
            const long dy = piece.y - earlier.y;
            crowded = crowded || dx * dx + dy * dy < spacing * spacing;
        }
        if (!crowded) decor.push_back(piece);
    }
}

void DrawFieldDecor(const std::vector<FieldDecor>& decor) {
    RenderDevice& device = Render::device;
    for (const FieldDecor& piece : decor) {
        if (piece.picture == NULL) continue;
        device.PushMatrix();
        device.MatrixTranslate(static_cast<float>(piece.x), static_cast<float>(piece.y), 0.0f);
        if (piece.mirrored) device.MatrixRotate(effect_drawing::Y_AXIS, 180.0f);
        piece.picture->Draw(Point(piece.picture->GetRectangle().width / -2, 0));
        device.PopMatrix();
    }
}
