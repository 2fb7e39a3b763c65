#include "match3/FieldPieces.h"

#include "content/ResourceManager.h"

namespace {

ObjectSmartPointer<ZovPiece> Prototype(const std::string& animationId) {
    ObjectSmartPointer<AnimationService> picture;
    if (ResourceManager::HasAnimation(animationId)) {
        picture = ObjectSmartPointer<AnimationService>(new AnimationService(ResourceManager::GetAnimation(animationId)));
    } else {
        ResourceManager::GetAnimation(animationId);  // reports the missing id
    }
    return ObjectSmartPointer<ZovPiece>(new ZovPiece(picture, Point(0, 0)));
}

}  // namespace

void FieldPieces::LoadPrototypes() {
    _bonusPieces.clear();
    _chipPieces.clear();
    for (const char* id : {"fire_cracker_ani", "black_bomb_ani", "dynamit_ani", "nuke_ani", "lightning_ani"}) {
        _bonusPieces.push_back(Prototype(id));
    }
    for (int c = 0; c < CHIP_COLOR_COUNT; ++c) _chipPieces.push_back(Prototype("chip_anim" + std::to_string(c)));
}

void FieldPieces::Ensure(int x, int y) {
    if (_pieces[x][y].Get() == nullptr) _pieces[x][y] = ObjectSmartPointer<ZovPiece>(new ZovPiece());
}

ZovPiece& FieldPieces::At(int x, int y) {
    if (!Inside(x, y)) return _outside;
    Ensure(x, y);
    return *_pieces[x][y].Get();
}

const ZovPiece& FieldPieces::At(int x, int y) const {
    if (!Inside(x, y) || _pieces[x][y].Get() == nullptr) return _outside;
    return *_pieces[x][y].Get();
}

ObjectSmartPointer<ZovPiece> FieldPieces::Ptr(int x, int y) const {
    return Inside(x, y) ? _pieces[x][y] : ObjectSmartPointer<ZovPiece>();
}

ObjectSmartPointer<ZovPiece> FieldPieces::BonusPrototype(int kind) const {
    if (kind < 1 || kind > static_cast<int>(_bonusPieces.size())) return ObjectSmartPointer<ZovPiece>();
    return _bonusPieces[kind - 1];
}

bool FieldPieces::IsMoving(int x, int y) const { return At(x, y).IsMoving(); }

bool FieldPieces::IsBusy(int x, int y) const { return At(x, y).IsBusy(); }

void FieldPieces::StartMove(int x, int y, const PieceMove& m) {
    At(x, y).StartMove(m.x0, m.y0, m.x1, m.y1, m.scaleFrom, m.scaleTo, m.duration, m.mode, m.xSpeed, m.ySpeed, m.spin);
}

void FieldPieces::Stop(int x, int y) { At(x, y).Stop(); }

void FieldPieces::PlayAnimation(int x, int y, int firstFrame, int lastFrame, int mode, float param, float fps) {
    At(x, y).PlayAnimation(firstFrame, lastFrame, mode, param, fps);
}

void FieldPieces::ResetPiece(int x, int y) {
    if (Inside(x, y)) _pieces[x][y] = ObjectSmartPointer<ZovPiece>(new ZovPiece());
}

void FieldPieces::SetChipPicture(int x, int y, int color) {
    if (color < 0 || color >= static_cast<int>(_chipPieces.size())) return;
    At(x, y).SetFrom(_chipPieces[color]);
}

void FieldPieces::SetBonusPicture(int x, int y, int kind) { At(x, y).SetFrom(BonusPrototype(kind)); }

void FieldPieces::SwapPieces(int x0, int y0, int x1, int y1) {
    if (!Inside(x0, y0) || !Inside(x1, y1)) return;
    std::swap(_pieces[x0][y0], _pieces[x1][y1]);
}
