// A full move search and a recolouring reshuffle on a full 15 x 13 board.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/Random.h"
#include "match3/board/GameBoard.h"

namespace {

// Pieces that never move.
class StillPieces : public PieceMotion {
public:
    bool IsMoving(int, int) const override { return false; }
    bool IsBusy(int, int) const override { return false; }
    void StartMove(int, int, const PieceMove&) override {}
    void Stop(int, int) override {}
    void PlayAnimation(int, int, int, int, int, float, float) override {}
    void ResetPiece(int, int) override {}
    void SetChipPicture(int, int, int) override {}
    void SetBonusPicture(int, int, int) override {}
    void SwapPieces(int, int, int, int) override {}
};

struct FullBoard {
    FullBoard() : board(motion, sink) {
        Random::Seed(42);
        LevelShape shape;
        LevelProblem problem;
        std::vector<std::string> lines(13, std::string(15, 'a'));
        lines[0] = std::string(15, 'A');
        ParseLevelLines(lines, shape, problem);
        board.LoadLevelShape(shape, {0, 1, 2, 3, 4, 5});
    }
    StillPieces motion;
    NullBoardEventSink sink;
    GameBoard board;
};

void BM_FindAvailableMove(benchmark::State& state) {
    FullBoard f;
    for (auto _ : state) {
        f.board.SetHasMove(false);
        benchmark::DoNotOptimize(f.board.FindAvailableMove());
    }
}
BENCHMARK(BM_FindAvailableMove)->Unit(benchmark::kMicrosecond);

void BM_Reshuffle(benchmark::State& state) {
    FullBoard f;
    for (auto _ : state) {
        f.board.NoMovesReshuffle(false, true);
        benchmark::DoNotOptimize(f.board.HasMove());
    }
}
BENCHMARK(BM_Reshuffle)->Unit(benchmark::kMicrosecond);

void BM_AnimatedReshuffle(benchmark::State& state) {
    FullBoard f;
    for (auto _ : state) {
        f.board.NoMovesReshuffle(false, false);
        benchmark::DoNotOptimize(f.board.HasMove());
    }
}
BENCHMARK(BM_AnimatedReshuffle)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
