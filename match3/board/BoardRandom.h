#pragma once
// The random source of the board: the game's 15-bit generator, injected.

// Next() gives 0..32767, like the game's rand.
class BoardRandom {
public:
    virtual ~BoardRandom() = default;
    virtual int Next() = 0;

    // Next() modulo n (n > 0); 0 for n <= 0.
    int Modulo(int n);
    // Next() / 32767 * (n - 0.001), truncated: 0..n-1, and 0 for n = 0.
    int RandomInt(int n);
    // a + RandomInt(b - a).
    int RandomIntRange(int a, int b);
    // Next() * (m - 0.001) / 32767.
    float RandomFloat(float m);
};

// The game's own generator (core/Random), the board's default.
class GameBoardRandom : public BoardRandom {
public:
    int Next() override;
};
