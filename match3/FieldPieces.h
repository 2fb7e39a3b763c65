#pragma once
// The pieces of the game field, one per cell, and the prototype pictures they are made from;
// the board moves and repaints them through the piece-motion interface.

#include <array>
#include <string>
#include <vector>

#include "match3/ZovPiece.h"
#include "match3/board/BoardTypes.h"
#include "match3/board/PieceMotion.h"

class FieldPieces : public PieceMotion {
public:
    // Prototypes of the chips "chip_anim0".."chip_anim8" and the five bonus kinds; missing
    // animations are reported by the resource manager and give pieces without a picture.
    void LoadPrototypes();

    bool IsMoving(int x, int y) const override;
    bool IsBusy(int x, int y) const override;
    void StartMove(int x, int y, const PieceMove& move) override;
    void Stop(int x, int y) override;
    void PlayAnimation(int x, int y, int firstFrame, int lastFrame, int mode, float param, float fps) override;
    void ResetPiece(int x, int y) override;
    void SetChipPicture(int x, int y, int color) override;
    void SetBonusPicture(int x, int y, int kind) override;
    void SwapPieces(int x0, int y0, int x1, int y1) override;

    // The piece of a cell; an empty piece outside the grid.
    ZovPiece& At(int x, int y);
    const ZovPiece& At(int x, int y) const;
    ObjectSmartPointer<ZovPiece> Ptr(int x, int y) const;
    ObjectSmartPointer<ZovPiece> BonusPrototype(int kind) const;

private:
    static bool Inside(int x, int y) { return x >= 0 && x < MAX_FIELD_X && y >= 0 && y < MAX_FIELD_Y; }
    void Ensure(int x, int y);

    std::array<std::array<ObjectSmartPointer<ZovPiece>, MAX_FIELD_Y>, MAX_FIELD_X> _pieces;
    std::vector<ObjectSmartPointer<ZovPiece>> _chipPieces;
    std::vector<ObjectSmartPointer<ZovPiece>> _bonusPieces;
    ZovPiece _outside;
};
