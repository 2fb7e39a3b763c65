#pragma once
// What the board needs of the piece objects: moving flags, moves and pictures.
// The owner keeps one piece per cell; the board tells it when pieces change cells.

struct PieceMove {
    float x0 = 0.0f;
    float y0 = 0.0f;
    float x1 = 0.0f;
    float y1 = 0.0f;
    float scaleFrom = 1.0f;
    float scaleTo = 1.0f;
    float duration = 0.0f;
    int mode = 0;
    float xSpeed = 0.0f;
    float ySpeed = 0.0f;
    float spin = 0.0f;
};

class PieceMotion {
public:
    virtual ~PieceMotion() = default;

    // The piece has a main move.
    virtual bool IsMoving(int x, int y) const = 0;
    // The piece has a main move or plays a frame range.
    virtual bool IsBusy(int x, int y) const = 0;

    // Replaces the piece's main move.
    virtual void StartMove(int x, int y, const PieceMove& move) = 0;
    // Picture to frame 0, both moves dropped.
    virtual void Stop(int x, int y) = 0;
    virtual void PlayAnimation(int x, int y, int firstFrame, int lastFrame, int mode, float param,
                               float fps) = 0;

    // The cell gets a new piece without a picture.
    virtual void ResetPiece(int x, int y) = 0;
    // The piece takes the picture of the chip of that colour (0..8), or of the bonus kind (1..5).
    virtual void SetChipPicture(int x, int y, int color) = 0;
    virtual void SetBonusPicture(int x, int y, int kind) = 0;
    // Exchanges the pieces of two cells.
    virtual void SwapPieces(int x0, int y0, int x1, int y1) = 0;
};
