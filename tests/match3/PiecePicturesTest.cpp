// The piece pictures the game field draws: no two kinds share an outline, so a player who cannot
// tell their colours apart still tells the pieces apart, and every piece stands out from the
// plain, silver, golden and locked cells it may sit on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/render/PngFile.h"

namespace {

using render_layer::PngPicture;

const int PIECE = 42;
const int CELL = 44;
const std::string FOLDER = MARIVEL_SOURCE_DIR "/data/textures/match3/";

struct Rgba {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 0.0;
};

Rgba At(const PngPicture& picture, int x, int y) {
    const std::uint32_t p = picture.pixels[static_cast<std::size_t>(y) * picture.width + static_cast<std::size_t>(x)];
    return Rgba{static_cast<double>((p >> 16) & 0xFF), static_cast<double>((p >> 8) & 0xFF),
                static_cast<double>(p & 0xFF), static_cast<double>(p >> 24) / 255.0};
}

Rgba Over(const Rgba& below, const Rgba& above) {
    return Rgba{below.r + (above.r - below.r) * above.a, below.g + (above.g - below.g) * above.a,
                below.b + (above.b - below.b) * above.a, 1.0};
}

double Luminance(const Rgba& c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

PngPicture Read(const std::string& name) {
    PngPicture picture;
    std::string error;
    EXPECT_TRUE(render_layer::ReadPng(FOLDER + name, &picture, &error)) << name << ": " << error;
    return picture;
}

struct Piece {
    std::string name;
    PngPicture sheet;  // frame 0, the piece at rest, is the top left one
    bool Covers(int x, int y) const { return At(sheet, x, y).a >= 0.5; }
};

std::vector<Piece> AllPieces() {
    std::vector<Piece> pieces;
    for (int c = 0; c < 9; ++c) pieces.push_back({"field_chip" + std::to_string(c) + ".png", PngPicture()});
    for (int k = 1; k <= 5; ++k) pieces.push_back({"field_bonus" + std::to_string(k) + ".png", PngPicture()});
    for (Piece& p : pieces) {
        p.sheet = Read(p.name);
        EXPECT_GE(p.sheet.width, static_cast<unsigned>(PIECE)) << p.name;
        EXPECT_GE(p.sheet.height, static_cast<unsigned>(PIECE)) << p.name;
    }
    return pieces;
}

// Of the pixels either piece covers, the share only one of them covers.
double OutlineDifference(const Piece& a, const Piece& b) {
    int either = 0;
    int one = 0;
    for (int y = 0; y < PIECE; ++y) {
        for (int x = 0; x < PIECE; ++x) {
            const bool inA = a.Covers(x, y);
            const bool inB = b.Covers(x, y);
            either += inA || inB;
            one += inA != inB;
        }
    }
    return either == 0 ? 0.0 : static_cast<double>(one) / either;
}

TEST(PiecePicturesTest, EveryTwoPieceKindsDifferInOutline) {
    const std::vector<Piece> pieces = AllPieces();
    if (HasFailure()) return;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            EXPECT_GE(OutlineDifference(pieces[i], pieces[j]), 0.2) << pieces[i].name << " and " << pieces[j].name;
        }
    }
}

// A cell as the field draws it: the cell picture over the screen's background, and the lock tile
// (if any) over the piece. The piece's contrast is the mean luminance change it makes over the
// pixels it covers.
struct CellKind {
    std::string name;
    std::string picture;
    int lockTile;  // the column of the lock atlas drawn over the piece, 0 for none
    double least;  // the least contrast every piece must reach on it
};

TEST(PiecePicturesTest, EveryPieceStandsOutOnEveryCellKind) {
    const std::vector<Piece> pieces = AllPieces();
    const PngPicture background = Read("field_background.png");
    const PngPicture locks = Read("field_locks.png");
    if (HasFailure()) return;
    // The background's mean colour stands for whatever lies under the translucent plain cell.
    Rgba screen;
    double count = 0.0;
    for (unsigned y = 0; y < background.height; y += 10) {
        for (unsigned x = 0; x < background.width; x += 10) {
            const Rgba c = At(background, static_cast<int>(x), static_cast<int>(y));
            screen.r += c.r;
            screen.g += c.g;
            screen.b += c.b;
            count += 1.0;
        }
    }
    screen = Rgba{screen.r / count, screen.g / count, screen.b / count, 1.0};

    // Paint is bright: pieces need a rim or a body that parts from it. Bars cover part of a
    // locked piece, so less is asked there.
    const CellKind kinds[] = {
        {"plain", "field_cell.png", 0, 30.0},  {"silver", "silver.png", 0, 35.0},
        {"golden", "golden.png", 0, 35.0},     {"locked", "field_cell.png", 1, 20.0},
        {"double locked", "field_cell.png", 2, 20.0},
    };
    for (const CellKind& kind : kinds) {
        const PngPicture cell = Read(kind.picture);
        if (cell.width < static_cast<unsigned>(CELL) || cell.height < static_cast<unsigned>(CELL)) continue;
        for (const Piece& piece : pieces) {
            double change = 0.0;
            int covered = 0;
            for (int y = 0; y < PIECE; ++y) {
                for (int x = 0; x < PIECE; ++x) {
                    if (!piece.Covers(x, y)) continue;
                    // The piece sits centred in its 44-unit cell.
                    Rgba bare = Over(screen, At(cell, x + 1, y + 1));
                    Rgba with = Over(bare, At(piece.sheet, x, y));
                    if (kind.lockTile > 0) {
                        const Rgba bars = At(locks, kind.lockTile * CELL + x + 1, y + 1);
                        bare = Over(bare, bars);
                        with = Over(with, bars);
                    }
                    change += std::fabs(Luminance(with) - Luminance(bare));
                    ++covered;
                }
            }
            ASSERT_GT(covered, 0) << piece.name;
            EXPECT_GE(change / covered, kind.least) << piece.name << " on a " << kind.name << " cell";
        }
    }
}

}  // namespace
