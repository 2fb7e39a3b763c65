// Drawing the game field on the recording device: the border around the field's shape, the
// shine wave that brings a field into view and takes it away, the glow over painted cells, the
// decor of the outline, the move hint, the darkening after a win and the order of the layers.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "shell/SoundSystem.h"
#include "tests/match3/FieldTestSupport.h"

namespace field_test {
namespace {

using effects_test::Quad;

constexpr int CELL = 44;

// "golden" (44 x 44) comes with the effect tests.
const effects_test::TestPicture PICTURES[] = {
    {"scope", 308, 256},         {"locks", 132, 256},         {"blue", 44, 44},           {"silver", 44, 44},
    {"cell_glow", 66, 66},       {"left_arrow", 16, 16},      {"right_arrow", 16, 16},    {"up_arrow", 16, 16},
    {"down_arrow", 16, 16},      {"scope_decor1", 96, 36},    {"scope_decor12", 88, 30},  {"scope_decor7", 24, 104},
    {"scope_decor6", 26, 30},    {"scope_decor62", 24, 20},   {"scope_decor2", 30, 30},   {"scope_decor22", 28, 20},
    {"scope_decor3", 30, 40},    {"scope_decor32", 26, 34},   {"scope_decor4", 34, 22},   {"scope_decor42", 32, 20},
    {"scope_decor5", 60, 24},    {"scope_decor52", 56, 28},
};

// What a recorded quad shows, told by its size and its part of the picture.
enum Kind { BORDER, CELL_PICTURE, SELECTION, GLOW, DECOR, PIECE, LOCK, ARROW, OTHER };

bool Near(float a, float b) { return std::fabs(a - b) < 0.01f; }

Kind KindOf(const Quad& q) {
    const float u = q.uRight - q.uLeft;
    if (Near(q.Width(), 44) && Near(q.Height(), 44)) {
        if (Near(u, 44.0f / 308.0f)) return BORDER;
        if (Near(u, 44.0f / 132.0f)) return LOCK;
        return q.textured ? CELL_PICTURE : SELECTION;
    }
    if (Near(q.Width(), 42) && Near(q.Height(), 42)) return PIECE;
    if (Near(q.Width(), 66) && Near(q.Height(), 66)) return GLOW;
    if (Near(q.Width(), 16) && Near(q.Height(), 16)) return ARROW;
    for (const effects_test::TestPicture& p : PICTURES) {
        if (std::string(p.id).rfind("scope_decor", 0) == 0 && Near(q.Width(), static_cast<float>(p.width)) &&
            Near(q.Height(), static_cast<float>(p.height))) {
            return DECOR;
        }
    }
    return OTHER;
}

std::vector<Quad> Only(const std::vector<Quad>& quads, Kind kind) {
    std::vector<Quad> found;
    for (const Quad& q : quads) {
        if (KindOf(q) == kind) found.push_back(q);
    }
    return found;
}

std::string Level(const std::string& id, const std::vector<std::string>& lines, int time = 100) {
    std::string text = "<Level id=\"" + id + "\" time=\"" + std::to_string(time) + "\">";
    for (const std::string& line : lines) text += "<Line>" + line + "</Line>";
    return text + "</Level>";
}

class FieldDrawTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        AddPictures(std::vector<effects_test::TestPicture>(std::begin(PICTURES), std::end(PICTURES)));
        // Handle 110, after the effect and field tests' samples.
        Sound::soundSystem.AddSample("show_help", "show_help.wav", 2);
        audio.ClearCalls();
    }

    // Levels in the level-file alphabet; the field is built and the first one shown.
    void Show(const std::vector<std::string>& lines, const Point& home = Point(400, 300)) {
        WriteLevels("<Levels>" + Level("L", lines) + "</Levels>");
        field = ObjectSmartPointer<ZovGameFieldControl>();
        MakeField("", "", home);
        Load("L");
    }

    std::vector<Quad> DrawField() {
        return DrawnQuads([this] { field->Draw(); });
    }

    int ShowHelpPlays() { return SamplePlays(110); }

    // The border tiles by grid corner (column, row of the corner), in drawing order.
    std::map<std::pair<int, int>, std::vector<AtlasTile>> Border(const std::vector<Quad>& quads) {
        std::map<std::pair<int, int>, std::vector<AtlasTile>> corners;
        const Point a = field->GetAbsolutePos();
        const int sizeY = field->Board().GetSizeY();
        for (const Quad& q : Only(quads, BORDER)) {
            const int x = static_cast<int>(std::lround((q.left + CELL / 2 - a.x) / CELL));
            const int y = sizeY - static_cast<int>(std::lround((q.bottom + CELL / 2 - a.y) / CELL));
            EXPECT_FLOAT_EQ(q.left, static_cast<float>(a.x + CELL * x - CELL / 2));
            const AtlasTile tile{static_cast<int>(std::lround(q.uLeft * 308.0f / CELL)),
                                 static_cast<int>(std::lround((256.0f - q.vTop * 256.0f) / CELL))};
            corners[{x, y}].push_back(tile);
        }
        return corners;
    }
};

// Border.

TEST_F(FieldDrawTest, TheBorderClosesARectangleWithCornersAndSides) {
    // Painted cells keep the level running (a level without paint is won at once).
    Show({"AAA", "ddd", "aaa"});
    const auto border = Border(DrawField());
    const std::map<std::pair<int, int>, std::vector<AtlasTile>> expected = {
        {{0, 0}, {{1, 1}}}, {{1, 0}, {{2, 1}}}, {{2, 0}, {{2, 1}}}, {{3, 0}, {{3, 1}}},
        {{0, 1}, {{1, 2}}}, {{3, 1}, {{3, 2}}}, {{0, 2}, {{1, 2}}}, {{3, 2}, {{3, 2}}},
        {{0, 3}, {{1, 3}}}, {{1, 3}, {{2, 3}}}, {{2, 3}, {{2, 3}}}, {{3, 3}, {{3, 3}}},
    };
    EXPECT_EQ(expected, border);
}

TEST_F(FieldDrawTest, HolesGetInnerCornersAndCornersBetweenTwoHolesGetTwoTiles) {
    // A single hole at (1, 1); holes (2, 2) and (4, 2) touch (3, 3) at a corner each.
    Show({"AAAAAA", "d0dddd", "dd0d0d", "ddd0dd", "aaaaaa"});
    const auto border = Border(DrawField());
    using Tiles = std::vector<AtlasTile>;
    EXPECT_EQ((Tiles{{5, 0}}), border.at({1, 1}));
    EXPECT_EQ((Tiles{{6, 0}}), border.at({2, 1}));
    EXPECT_EQ((Tiles{{5, 1}}), border.at({1, 2}));
    // Cells above right and below left of the corner; then above left and below right.
    EXPECT_EQ((Tiles{{5, 0}, {6, 1}}), border.at({3, 3}));
    EXPECT_EQ((Tiles{{6, 0}, {5, 1}}), border.at({4, 3}));
    EXPECT_EQ(0u, border.count({4, 1}));
}

// The shine wave.

TEST(FieldShineTest, DistancesGoRoundHolesWithDiagonalSteps) {
    // '#' a hole: the open middle column leads down to the bottom row; the three cells at the
    // upper right lie apart.
    const std::vector<std::string> rows = {"#.#..", "#.##.", "..."};
    auto inField = [&rows](int x, int y) {
        if (y < 0 || y >= static_cast<int>(rows.size()) || x < 0 || x >= static_cast<int>(rows[y].size())) return false;
        return rows[y][x] != '#';
    };
    const ShineGrid d = ShineDistances(inField, 1, 0);
    const float r2 = std::sqrt(2.0f);
    EXPECT_FLOAT_EQ(0.0f, d[1][0]);
    EXPECT_FLOAT_EQ(1.0f, d[1][1]);
    EXPECT_FLOAT_EQ(1.0f + r2, d[2][2]);
    EXPECT_FLOAT_EQ(1.0f + r2, d[0][2]);
    EXPECT_FLOAT_EQ(SHINE_UNREACHED, d[0][0]);
    EXPECT_FLOAT_EQ(2.0f, d[1][2]);
    EXPECT_FLOAT_EQ(SHINE_UNREACHED, d[3][0]) << "no path through the holes";
    EXPECT_FLOAT_EQ(SHINE_UNREACHED, d[4][1]);
    EXPECT_FLOAT_EQ(SHINE_UNREACHED, d[14][12]);
    EXPECT_FLOAT_EQ(SHINE_UNREACHED, ShineDistances(inField, 0, 0)[1][0]) << "an origin outside the field";
}

TEST_F(FieldDrawTest, TheShineWaveStartsAtOneCellAndEndsAboutTwoAndAHalfSecondsLater) {
    WriteLevels("<Levels>" + Level("L", {"AAAA", "d0dd", "dd0d", "aaaa"}) + "</Levels>");
    MakeField();
    std::string name = "L";
    ASSERT_TRUE(field->LoadLevel(name));
    const GameBoard& board = field->Board();
    std::vector<BoardPoint> origins;
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            if (board.InField(x, y) && field->GetShineOffset(x, y) == 0.0f) origins.push_back({x, y});
        }
    }
    ASSERT_EQ(1u, origins.size());
    const ShineGrid d =
        ShineDistances([&board](int x, int y) { return board.InField(x, y); }, origins[0].x, origins[0].y);
    float farthest = 0.0f;
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            if (board.InField(x, y)) farthest = std::max(farthest, d[x][y]);
        }
    }
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            const float expected = board.InField(x, y) ? -d[x][y] * 0.5f : -farthest * 0.5f;
            EXPECT_FLOAT_EQ(expected, field->GetShineOffset(x, y)) << x << ", " << y;
        }
    }
    const float life = (farthest + 1.0f) * 0.5f * 0.3f;
    EXPECT_FLOAT_EQ(life, field->GetShine()._flareLife);
    EXPECT_FLOAT_EQ(2.5f, field->GetShine()._remaining);
    // Nothing moves before the wave starts; then every cell comes nearer by a third of a unit per 0.1 s.
    Run(0.1f, 10);
    const float before = field->GetShineOffset(origins[0].x, origins[0].y);
    EXPECT_FLOAT_EQ(0.0f, before);
    int frames = 0;
    while (!field->IsFieldShown() && frames < 40) {
        field->Update(0.1f);
        ++frames;
    }
    EXPECT_TRUE(field->IsFieldShown());
    EXPECT_NEAR(2.5f, 1.0f + 0.1f * static_cast<float>(frames), 0.11f);
    EXPECT_GT(field->GetShineOffset(origins[0].x, origins[0].y), life / 0.3f - 0.4f);
}

TEST_F(FieldDrawTest, CellsZoomIntoPlaceAndPiecesFadeInAsTheWaveComes) {
    WriteLevels("<Levels>" + Level("L", {"AAAA", "dddd", "aaaa", "aaaa"}) + "</Levels>");
    MakeField();
    std::string name = "L";
    ASSERT_TRUE(field->LoadLevel(name));
    EXPECT_TRUE(DrawField().empty()) << "nothing before the wave starts";
    // Into the wave: some cells part way in.
    while (!field->GetShine().IsFlaring()) field->Update(0.05f);
    field->Update(0.15f);
    const std::vector<Quad> quads = DrawField();
    const Point a = field->GetAbsolutePos();
    int partWay = 0;
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            const float shown = std::min(std::max(field->GetShineOffset(x, y), 0.0f), 1.0f);
            const float size = CELL * (1.8f - 0.8f * shown);
            const float cx = static_cast<float>(a.x + CELL * x + CELL / 2);
            const float cy = static_cast<float>(a.y + CELL * (3 - y) + CELL / 2);
            bool found = false;
            for (const Quad& q : quads) {
                if (std::fabs(q.CentreX() - cx) < 0.01f && std::fabs(q.CentreY() - cy) < 0.01f &&
                    std::fabs(q.Width() - size) < 0.01f) {
                    EXPECT_NEAR(255.0f * shown, static_cast<float>(q.alpha), 1.0f);
                    found = true;
                }
            }
            EXPECT_TRUE(found) << x << ", " << y;
            if (shown > 0.0f && shown < 1.0f) ++partWay;
        }
    }
    EXPECT_GT(partWay, 0);
    for (const Quad& q : Only(quads, PIECE)) {
        const int x = static_cast<int>((q.left - static_cast<float>(a.x)) / CELL);
        const int y = 3 - static_cast<int>((q.bottom - static_cast<float>(a.y)) / CELL);
        const float shown = std::min(std::max(field->GetShineOffset(x, y), 0.0f), 1.0f);
        EXPECT_NEAR(255.0f * shown * shown, static_cast<float>(q.alpha), 1.0f);
    }
}

TEST_F(FieldDrawTest, AFieldThatLeavesGoesOutAtOnceTheWayItCameIn) {
    WriteLevels("<Levels>" + Level("T", {"AAAAA", "ddddd", "aaaaa"}, 2) + "</Levels>");
    MakeField();
    Load("T");
    const float life = field->GetShine()._flareLife;
    ASSERT_GT(life, 0.0f);
    // Where the appearing wave left the cells: its origin highest, the farthest cell lowest.
    int nearX = 0, nearY = 0, farX = 0, farY = 0;
    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 3; ++y) {
            if (field->GetShineOffset(x, y) > field->GetShineOffset(nearX, nearY)) nearX = x, nearY = y;
            if (field->GetShineOffset(x, y) < field->GetShineOffset(farX, farY)) farX = x, farY = y;
        }
    }
    ASSERT_GT(field->GetShineOffset(nearX, nearY), field->GetShineOffset(farX, farY));
    Press(CellPoint(1, 2));
    Release();
    for (int i = 0; i < 100 && field->GetLevelTime() != 0; ++i) field->Update(0.05f);
    ASSERT_EQ(0, field->GetLevelTime());
    // The leaving wave runs at once, over the life of the wave that brought the field in.
    EXPECT_TRUE(field->GetShine().IsFlaring());
    EXPECT_FLOAT_EQ(life, field->GetShine()._flareLife);
    float elapsed = 0.0f;
    while (field->GetShineOffset(farX, farY) > 0.0f && elapsed < life) {
        field->Update(0.05f);
        elapsed += 0.05f;
    }
    EXPECT_GT(field->GetShineOffset(nearX, nearY), 0.0f);  // the origin goes last
    EXPECT_FALSE(Only(DrawField(), PIECE).empty());
    Run(0.05f, static_cast<int>(life / 0.05f) + 2);
    EXPECT_FALSE(field->IsFieldShown());
    EXPECT_TRUE(Only(DrawField(), CELL_PICTURE).empty());
}

// Cells, glow and locks.

TEST_F(FieldDrawTest, PaintedAndLockedCellsAndTheSelection) {
    Show({"AAAA", "dgba", "aaca", "aaaa"});
    Press(CellPoint(0, 3));
    Release();
    const std::vector<Quad> quads = DrawField();
    const Point a = field->GetAbsolutePos();
    const std::vector<Quad> locks = Only(quads, LOCK);
    ASSERT_EQ(2u, locks.size());
    // Lock tiles (1, 0) and (2, 0) of the 132 x 256 atlas: the top row.
    EXPECT_FLOAT_EQ(static_cast<float>(a.x + 2 * CELL), locks[0].left);
    EXPECT_NEAR(1.0f / 3.0f, locks[0].uLeft, 1e-5f);
    EXPECT_NEAR(212.0f / 256.0f, locks[0].vBottom, 1e-5f);
    EXPECT_NEAR(1.0f, locks[0].vTop, 1e-5f);
    EXPECT_NEAR(2.0f / 3.0f, locks[1].uLeft, 1e-5f);
    const std::vector<Quad> selection = Only(quads, SELECTION);
    ASSERT_EQ(1u, selection.size());
    EXPECT_FLOAT_EQ(static_cast<float>(a.x), selection[0].left);
    EXPECT_FLOAT_EQ(static_cast<float>(a.y), selection[0].bottom);
    EXPECT_EQ(102, selection[0].alpha);
}

TEST_F(FieldDrawTest, TheGlowWaveRunsOverBoardsOneCellWideOrHigh) {
    PermanentStorage::SetLocalInt("LevelNumber", 2);
    WriteLevels("<Levels>" + Level("Row", {"Addadd"}) + Level("Column", {"A", "d", "d", "a", "d", "d"}) + "</Levels>");
    MakeField();
    for (const char* level : {"Row", "Column"}) {
        Load(level);
        // The few-paints flare comes every 4 s for 2 s: look for a frame in its first half.
        std::vector<Quad> glows;
        for (int frame = 0; frame < 80 && (glows.empty() || glows[0].alpha < 20); ++frame) {
            field->Update(0.1f);
            glows = Only(DrawField(), GLOW);
        }
        ASSERT_EQ(4u, glows.size()) << level;
        for (const Quad& glow : glows) {
            EXPECT_TRUE(glow.additive);
            EXPECT_EQ(glows[0].alpha, glow.alpha) << "one phase along the single row or column";
        }
        EXPECT_GE(glows[0].alpha, 20);
    }
}

// The glow over the last painted cells swells to 0.8 of full at the middle of each of its waves.
TEST_F(FieldDrawTest, TheFewPaintsGlowPeaksAtFourFifths) {
    PermanentStorage::SetLocalInt("LevelNumber", 2);
    WriteLevels("<Levels>" + Level("Row", {"Addadd"}) + "</Levels>");
    MakeField();
    Load("Row");
    // The flare comes every 4 s for 2 s; it is sampled finely from its start.
    for (int frame = 0; frame < 200 && Only(DrawField(), GLOW).empty(); ++frame) field->Update(0.05f);
    int peak = 0;
    for (int frame = 0; frame < 80; ++frame) {
        for (const Quad& glow : Only(DrawField(), GLOW)) peak = std::max(peak, glow.alpha);
        field->Update(0.025f);
    }
    EXPECT_NEAR(0.8f * 255.0f, static_cast<float>(peak), 4.0f);
}

// The decor.

TEST_F(FieldDrawTest, AFullNineByNineFieldGetsTheTopPieceAndTwoSides) {
    std::vector<std::string> lines(9, "aaaaaaaaa");
    lines[4] = "ddddddddd";
    Show(lines, Point(400, 250));
    // The field's corner is (202, 52); the decor sits a unit left of and below the formulas.
    const std::vector<FieldDecor>& decor = field->GetDecor();
    ASSERT_EQ(3u, decor.size());
    EXPECT_TRUE(decor[0].id == "scope_decor1" || decor[0].id == "scope_decor12") << decor[0].id;
    EXPECT_EQ(400, decor[0].x);
    EXPECT_EQ(353 + 51 + 44 + 8, decor[0].y);
    EXPECT_EQ("scope_decor7", decor[1].id);
    EXPECT_EQ(1 + 201 - 8 - 12, decor[1].x);
    EXPECT_EQ(51 + (353 - 43) / 2, decor[1].y);
    EXPECT_TRUE(decor[1].mirrored);
    EXPECT_EQ(12 + 353 + 44 + 201 + 8, decor[2].x);
    EXPECT_FALSE(decor[2].mirrored);
    // Fifty units higher the top piece would reach within 200 of the top middle of the screen.
    Show(lines);
    ASSERT_EQ(2u, field->GetDecor().size());
    EXPECT_EQ("scope_decor7", field->GetDecor()[0].id);
}

TEST_F(FieldDrawTest, SingleHolesGetAPieceMirroredInTheLeftHalf) {
    Show({"aaaaaaa", "ddddddd", "a0aaa0a", "aaaaaaa", "aaaaaaa"}, Point(400, 200));
    std::vector<FieldDecor> holes;
    for (const FieldDecor& piece : field->GetDecor()) {
        if (piece.id.rfind("scope_decor6", 0) == 0) holes.push_back(piece);
    }
    ASSERT_EQ(2u, holes.size());
    const Point p = field->GetAbsolutePos() - Point(1, 1);
    const int bottom = static_cast<int>(field->Board().CellY(2)) + p.y + 8;
    const int w0 = holes[0].picture->GetRectangle().width;
    const int w1 = holes[1].picture->GetRectangle().width;
    EXPECT_TRUE(holes[0].mirrored);
    EXPECT_EQ(1 + 44 + 22 + p.x + 22 - w0 / 2 - 8, holes[0].x);
    EXPECT_EQ(bottom, holes[0].y);
    EXPECT_FALSE(holes[1].mirrored);
    EXPECT_EQ(1 + 5 * 44 + 22 + p.x + w1 / 2 - 22 + 8, holes[1].x);
    // Drawn turned about its centre line, standing on its y.
    bool drawn = false;
    for (const Quad& q : Only(DrawField(), DECOR)) {
        drawn = drawn || (q.mirrored && std::fabs(q.CentreX() - static_cast<float>(holes[0].x)) <= 1.0f &&
                          q.bottom == static_cast<float>(holes[0].y) && q.Width() == static_cast<float>(w0));
    }
    EXPECT_TRUE(drawn);
}

TEST(FieldDecorTest, CrowdingPiecesAreDropped) {
    auto piece = [](int x, int y) {
        FieldDecor d;
        d.x = x;
        d.y = y;
        return d;
    };
    std::vector<FieldDecor> decor = {piece(100, 100), piece(160, 100), piece(100, 188), piece(400, 533),
                                     piece(400, 532), piece(130, 130)};
    DropCrowdedDecor(decor, 44);
    // (160, 100) is 60 from the first; (400, 533) reaches 200 from (400, 733); (130, 130) is near
    // the first and the third.
    ASSERT_EQ(3u, decor.size());
    EXPECT_EQ(100, decor[0].x);
    EXPECT_EQ(188, decor[1].y);
    EXPECT_EQ(532, decor[2].y);
}

TEST_F(FieldDrawTest, EveryLoadedLevelBuildsItsOwnDecor) {
    WriteLevels("<Levels>" + Level("A", {"aaaaa", "ddddd", "a0aaa", "aaaaa", "aaaaa"}) +
                Level("B", {"aaaa", "dddd", "aaaa"}) + "</Levels>");
    MakeField("", "", Point(400, 200));
    Load("A");
    auto holePieces = [this] {
        int n = 0;
        for (const FieldDecor& piece : field->GetDecor()) n += piece.id.rfind("scope_decor6", 0) == 0 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(1, holePieces());
    Load("B");
    EXPECT_EQ(0, holePieces());
    EXPECT_EQ(1u, field->GetDecor().size()) << "the top piece only";
    std::string missing = "none";
    EXPECT_FALSE(field->LoadLevel(missing));
    EXPECT_EQ(1u, field->GetDecor().size());
    Load("A");
    SendMessage("GameField", "Restart");
    EXPECT_EQ(1, holePieces());
}

// Over the pieces.

TEST_F(FieldDrawTest, TheMoveHintPointsAcrossTheBorderOfItsPairAndSoundsOnce) {
    PermanentStorage::SetLocalBool("first_hint", true);
    Show({"AAAAA", "aaaaa", "ddddd", "aaaaa"});
    while (field->GetIdleTime() < 9.3f) field->Update(0.1f);
    ASSERT_TRUE(field->Board().HasMove());
    const std::vector<Quad> arrows = Only(DrawField(), ARROW);
    EXPECT_EQ(1, ShowHelpPlays());
    ASSERT_EQ(2u, arrows.size());
    const BoardPoint p0 = field->Board().GetHintMove().first;
    const BoardPoint p1 = field->Board().GetHintMove().second;
    const Point a = field->GetAbsolutePos();
    // The corner of the upper or left cell of the pair.
    const int cx = a.x + CELL * std::min(p0.x, p1.x);
    const int cy = a.y + CELL * (3 - std::max(p0.y, p1.y));
    if (p0.y == p1.y) {
        EXPECT_FLOAT_EQ(static_cast<float>(2 * cx + CELL), arrows[0].left + arrows[1].left);
        EXPECT_FLOAT_EQ(static_cast<float>(cy + 6), arrows[0].bottom);
        EXPECT_FLOAT_EQ(static_cast<float>(cy - 10), arrows[1].bottom);
    } else {
        EXPECT_FLOAT_EQ(static_cast<float>(2 * cy + CELL), arrows[0].bottom + arrows[1].bottom);
        EXPECT_FLOAT_EQ(static_cast<float>(cx + 8), arrows[0].left);
        EXPECT_FLOAT_EQ(static_cast<float>(cx - 8), arrows[1].left);
    }
    EXPECT_EQ(255, arrows[0].alpha);
    DrawField();
    EXPECT_EQ(0, ShowHelpPlays()) << "only when the hint appears";
}

TEST_F(FieldDrawTest, AHintMoveThatIsNoPairOfNeighbouringCellsDrawsNothing) {
    Show({"AAAAA", "aaaaa", "ddddd", "aaaaa"});
    while (field->GetIdleTime() < 9.3f) field->Update(0.1f);
    ASSERT_TRUE(field->Board().HasMove());
    // The same cell twice, two cells apart, a diagonal, and neighbours of which one lies off the board.
    const BoardPoint cases[][2] = {{{1, 1}, {1, 1}}, {{0, 0}, {2, 0}}, {{1, 1}, {2, 2}}, {{4, 1}, {5, 1}},
                                   {{0, 0}, {0, -1}}, {{2, 3}, {2, 4}}, {{-1, 2}, {0, 2}}, {{-9, 9}, {-9, 10}}};
    for (const auto& c : cases) {
        field->Board().SetHintMove({c[0], c[1]});
        EXPECT_TRUE(Only(DrawField(), ARROW).empty()) << c[0].x << "," << c[0].y << " " << c[1].x << "," << c[1].y;
    }
    EXPECT_EQ(0, ShowHelpPlays());
    const std::vector<std::string> sent = Sent("GameFieldScreen");
    EXPECT_EQ(0, std::count(sent.begin(), sent.end(), "create top instance"));
}

TEST_F(FieldDrawTest, TheFirstMoveHintOpensTheFirstHintBoxOnce) {
    Show({"AAAAA", "aaaaa", "ddddd", "aaaaa"});
    while (field->GetIdleTime() < 9.3f) field->Update(0.1f);
    DrawField();
    DrawField();
    const std::vector<std::string> sent = Sent("GameFieldScreen");
    EXPECT_EQ(1, std::count(sent.begin(), sent.end(), "create top instance"));
    EXPECT_TRUE(PermanentStorage::GetLocalBoolOrDef("first_hint", false));
}

TEST_F(FieldDrawTest, TheFirstPressSwapsAndItsHintBoxWaitsUntilThePressIsOverAndTheBoardRests) {
    Show({"AAAAA", "aaaaa", "ddddd", "aaaaa"});
    Run(0.1f, 20);
    ASSERT_TRUE(field->Board().HasMove());
    const BoardPoint p0 = field->Board().GetHintMove().first;
    const BoardPoint p1 = field->Board().GetHintMove().second;
    auto boxes = [this] {
        const std::vector<std::string> sent = Sent("GameFieldScreen");
        return std::count(sent.begin(), sent.end(), "create top instance");
    };
    const Point a = CellPoint(p0.x, p0.y);
    Press(a);
    Run(0.1f, 10);
    EXPECT_EQ(0, boxes()) << "no box while the press is held";
    Move(Point(a.x + (p1.x - p0.x) * 20, a.y - (p1.y - p0.y) * 20), captured);
    EXPECT_EQ(2u, field->Board().Selection().size()) << "the first press swaps";
    Release();
    field->Update(0.1f);
    EXPECT_EQ(0, boxes()) << "no box while the pieces move";
    EXPECT_FALSE(PermanentStorage::GetLocalBoolOrDef("first_hint", false));
    Run(0.1f, 40);
    EXPECT_LE(1, boxes());
    EXPECT_TRUE(PermanentStorage::GetLocalBoolOrDef("first_hint", false));
}

TEST_F(FieldDrawTest, ThePlayersPauseHidesTheBoardAndContinueLeavesAnOpenHintBoxWaiting) {
    PermanentStorage::SetLocalBool("first_hint", true);
    Show({"AAAAA", "aaaaa", "ddddd", "aaaaa"});
    Run(0.1f, 20);
    ASSERT_FALSE(Only(DrawField(), PIECE).empty());
    SendMessage("GameField", "Pause");
    EXPECT_TRUE(Only(DrawField(), PIECE).empty());
    EXPECT_TRUE(Only(DrawField(), BORDER).empty());
    SendMessage("GameField", "Continue");
    EXPECT_FALSE(Only(DrawField(), PIECE).empty());
    // A box opens, the player pauses and continues: the field still waits for the box.
    SendMessage("GameField", "Pause hint");
    SendMessage("GameField", "Pause");
    SendMessage("GameField", "Continue");
    EXPECT_TRUE(field->IsPaused());
    EXPECT_FALSE(Only(DrawField(), PIECE).empty());
    SendMessage("GameField", "Continue hint");
    EXPECT_FALSE(field->IsPaused());
}

TEST_F(FieldDrawTest, AfterAWinTheScreenDarkensToAQuarter) {
    Show({"AAA", "ddd", "aaa"});
    Press(CellPoint(0, 0));
    Release();
    Key(0x54);  // the developer key that clears every paint
    Run(0.1f, 5);
    ASSERT_GT(field->GetAfterWinTime(), 0.0f);
    for (int step = 0; step < 3; ++step) {
        const std::vector<Quad> quads = DrawField();
        ASSERT_FALSE(quads.empty());
        const Quad& veil = quads.back();
        EXPECT_FLOAT_EQ(800.0f, veil.Width());
        EXPECT_FLOAT_EQ(600.0f, veil.Height());
        EXPECT_EQ(0u, veil.color & 0x00FFFFFFu);
        const float progress = std::min(field->GetAfterWinTime() / 2.0f, 1.0f);
        EXPECT_NEAR(std::lround(progress * 63.75f), veil.alpha, 1);
        Run(0.1f, 10);
    }
}

TEST_F(FieldDrawTest, AShownFieldIsDrawnInItsLayers) {
    PermanentStorage::SetLocalBool("first_hint", true);
    Show({"AA00AA", "abddga", "acddda", "aaaaaa"}, Point(400, 200));
    while (field->GetIdleTime() < 9.3f) field->Update(0.1f);
    const std::vector<Quad> quads = DrawField();
    const Kind order[] = {BORDER, CELL_PICTURE, DECOR, PIECE, LOCK, ARROW};
    std::size_t next = 0;
    for (const Quad& q : quads) {
        const Kind kind = KindOf(q);
        if (kind == OTHER || kind == GLOW) continue;
        while (next < std::size(order) && order[next] != kind) ++next;
        ASSERT_LT(next, std::size(order)) << "kind " << kind << " out of order";
    }
    EXPECT_EQ(std::size(order) - 1, next) << "every layer drawn";
    EXPECT_FALSE(Only(quads, DECOR).empty());
}

}  // namespace
}  // namespace field_test
