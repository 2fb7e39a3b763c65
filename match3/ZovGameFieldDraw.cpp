// Drawing of the game field: its border, cells with paint and glow, decor, pieces, locks,
// effects and particles in their layers, the move hint, the level timer and the darkening after
// a win; and the effects made from the board's events.
#include <algorithm>
#include <cmath>

#include "content/ResourceManager.h"
#include "controls/FadeControls.h"
#include "core/Assert.h"
#include "core/Math.h"
#include "core/PermanentStorage.h"
#include "match3/FieldTextEffect.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/effects/BreakingUpEffect.h"
#include "match3/effects/EffectDrawing.h"
#include "match3/effects/PieceEffects.h"
#include "match3/effects/SplashEffect.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"

namespace {

constexpr float PI_F = 3.1415925f;
constexpr float TWO_PI = 2.0f * PI_F;
// The glow around a painted cell reaches this far beyond the cell on every side.
constexpr float GLOW_MARGIN = 11.0f;
// The square over the selected cell.
constexpr float SELECTION_ALPHA = 0.4f;
constexpr float MOVE_HINT_FADE = 0.2f;
// The darkening after a win reaches a quarter (of 255) at the end of its flare.
constexpr float AFTER_WIN_DARKEST = 63.75f;

}  // namespace

using effect_drawing::ADDITIVE_BLEND;
using effect_drawing::NORMAL_BLEND;
using effect_drawing::Unit;

void ZovGameFieldControl::AddBoardEffect(const BoardEvent& e) {
    EffectBase* effect = nullptr;
    const int cx = e.cell.x;
    const int cy = e.cell.y;
    if (e.name == "FloatingTextEffect") {
        effect = new FieldTextEffect(e.pos.x, e.pos.y, e.text, e.rise, e.duration, e.resource, e.alphaPeak,
                                        e.sizeFactor);
    } else if (e.name == "BreakingUpEffect") {
        effect = new BreakingUpEffect(e.pos.x, e.pos.y, 700.0f, 700.0f, ResourceManager::GetTextureOrFrame(e.resource),
                                      32, _lockPieces, PI_F / 6.0f, e.value != 0);
    } else if (e.name == "ClearPieceEffect") {
        effect = new ClearPieceEffect(e.pos.x, e.pos.y, ResourceManager::GetTextureOrFrame(e.resource),
                                      ResourceManager::GetTextureOrFrame(e.text), e.duration);
    } else if (e.name == "HidePieceEffect") {
        effect = new HidePieceEffect(e.pos.x, e.pos.y, CopyPicture(cx, cy), e.duration);
    } else if (e.name == "BoomTextEffect") {
        const float size =
            1.5f * 50.0f / static_cast<float>(std::max(1, Render::fonts.GetFontHeight(e.resource)));
        effect = new BoomTextEffect(e.pos.x, e.pos.y, e.text, e.rise, e.duration, size);
    } else if (e.name == "SplashEffect") {
        effect = new SplashEffect(e.path, e.times);
    } else if (e.name == "SplashRemoverEffect") {
        effect = new SplashRemoverEffect(e.pos.x, e.pos.y, CopyPicture(cx, cy), e.duration);
    } else if (e.name == "CreateBombEffect") {
        effect = new CreateBombEffect(static_cast<int>(e.pos.x), static_cast<int>(e.pos.y));
    } else if (e.name == "ReplacePieceEffect" && e.path.size() == 2) {
        ObjectSmartPointer<AnimationService> from;
        ObjectSmartPointer<AnimationService> to;
        const int ox = e.other.x;
        const int oy = e.other.y;
        if (ox >= 0 && ox < MAX_FIELD_X && oy >= 0 && oy < MAX_FIELD_Y && _snapshot[ox][oy].Get() != nullptr) {
            from = ObjectSmartPointer<AnimationService>(new AnimationService(*_snapshot[ox][oy].Get()));
        }
        if (e.value != 0) to = CopyPicture(cx, cy);
        effect = new ReplacePieceEffect(e.path[0].x - 21.0f, e.path[0].y - 21.0f, e.path[1].x - 21.0f,
                                        e.path[1].y - 21.0f, from, to, e.duration, 0.0f);
    }
    if (effect != nullptr) _effects.Add(e.layer, ObjectSmartPointer<EffectBase>(effect));
}

// An effect keeps its own copy of a piece's picture, so it shows the frame the piece had and runs
// on its own clock.
ObjectSmartPointer<AnimationService> ZovGameFieldControl::CopyPicture(int x, int y) {
    const ObjectSmartPointer<AnimationService> own = _pieces.At(x, y).GetPicture();
    if (own.Get() == nullptr) return ObjectSmartPointer<AnimationService>();
    return ObjectSmartPointer<AnimationService>(new AnimationService(*own.Get()));
}

void ZovGameFieldControl::TakeSnapshot() {
    for (int x = 0; x < MAX_FIELD_X; ++x) {
        for (int y = 0; y < MAX_FIELD_Y; ++y) {
            _snapshot[x][y] = _board.InField(x, y) && _board.Cell(x, y)._color >= 0 ? CopyPicture(x, y)
                                                                                      : ObjectSmartPointer<AnimationService>();
        }
    }
}

void ZovGameFieldControl::DrawPicture(const char* id, float x, float y) {
    const auto found = _pictures.find(id);
    if (found == _pictures.end() || found->second == NULL) return;
    found->second->Draw(FPoint(x, y));
}

void ZovGameFieldControl::DrawAtlasTile(const char* atlasId, const AtlasTile& tile, int x, int y) {
    const auto found = _pictures.find(atlasId);
    if (found == _pictures.end() || found->second == NULL) return;
    const Rect size = found->second->GetRectangle();
    const int c = _board.GetCellSize();
    found->second->Draw(Rect(x, y, c, c), AtlasTileSource(tile, c, size.width, size.height));
}

void ZovGameFieldControl::Draw() {
    if (_levelBroken) return;
    const bool hintWasShown = _moveHintShown;
    const Point a = GetAbsolutePos();
    const bool editing = IsEditing();
    const bool flaring = !editing && _shine->IsFlaring();
    ReshowSavedHint();
    if (IsPausedByPlayer()) {
        // The board is hidden while the player pauses; only the timer shows.
        if (_timer.Get() != nullptr) _timer->Draw();
        return;
    }
    DrawBorder(a, flaring);
    DrawCells(a, flaring);
    if (editing) {
        // The board changes shape under the editor: its marks instead of the effects and the decor.
        DrawEditorMarks();
    } else if (flaring) {
        _effects.Draw(-1);
        const float p = _shine->GetProgress();
        const float decorAlpha = _levelTime != 0 ? 5.0f * p - 4.0f : 1.0f - 5.0f * p;
        Render::device.PushAlpha(Unit(decorAlpha));
        DrawFieldDecor(_decor);
        Render::device.PopAlpha();
    } else {
        _effects.Draw(-1);
        if (_fieldShown) DrawFieldDecor(_decor);
    }
    if (!editing) DrawPieces(a, flaring);
    DrawLocks(a, flaring);
    if (!editing) {
        if ((_idleTime >= _tuning.TIME_BEFORE_HELP || _idleTime < 0.0f) && _board.GetAllPaints() > 0 && _levelTime != 0) {
            DrawMoveHint(a.x, a.y);
        }
        _particles.DrawAll();
        _effects.Draw(1);
        _effects.Draw(2);
        _fallParticles.DrawAll();
    }
    if (_timer.Get() != nullptr) _timer->Draw();
    if (editing) _editor->Draw();
    if (!hintWasShown && _moveHintShown) Sound::soundSystem.PlaySampleEx("show_help", -101, false);
    if (_afterWinTimer.Get() != nullptr) {
        DrawVeil(Point(0, 0), static_cast<float>(Math::round(_afterWinTimer->GetProgress() * AFTER_WIN_DARKEST)) / 255.0f);
    }
}

void ZovGameFieldControl::DrawBorder(const Point& a, bool flaring) {
    if (!flaring && !_fieldShown) return;
    const int c = _board.GetCellSize();
    const int sizeY = _board.GetSizeY();
    RenderDevice& device = Render::device;
    for (int x = 0; x <= _board.GetSizeX(); ++x) {
        for (int y = 0; y <= sizeY; ++y) {
            const std::vector<AtlasTile> tiles = BorderTiles(_board.InField(x - 1, y - 1), _board.InField(x, y - 1),
                                                             _board.InField(x - 1, y), _board.InField(x, y));
            if (tiles.empty()) continue;
            // While the wave runs a corner is as far in view as the least shown cell around it.
            float alpha = 1.0f;
            if (flaring) {
                for (int dx = -1; dx <= 0; ++dx) {
                    for (int dy = -1; dy <= 0; ++dy) {
                        if (_board.InField(x + dx, y + dy)) alpha = std::min(alpha, GetShineOffset(x + dx, y + dy));
                    }
                }
                device.PushAlpha(Unit(alpha));
            }
            for (const AtlasTile& tile : tiles) DrawAtlasTile("scope", tile, a.x + c * x - c / 2, a.y + c * (sizeY - y) - c / 2);
            if (flaring) device.PopAlpha();
        }
    }
}

void ZovGameFieldControl::DrawCells(const Point& a, bool flaring) {
    if (!flaring && !_fieldShown) return;
    RenderDevice& device = Render::device;
    const int c = _board.GetCellSize();
    const float size = static_cast<float>(c);
    const bool pieceFlaring = _pieceFlare->IsFlaring();
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            if (cell._color == NO_CELL) continue;
            const float px = static_cast<float>(a.x + c * x);
            const float py = static_cast<float>(a.y + c * (_board.GetSizeY() - y - 1));
            const char* picture = cell._painted == 2 ? "golden" : cell._painted == 1 ? "silver" : "blue";
            if (cell._painted < 0 || cell._painted > 2) Assert(false);
            if (flaring) {
                // A cell zooms from 1.8 times its size into place as it comes into view, and
                // shrinks to nothing as it leaves.
                const float shown = CellShine(x, y);
                const float scale = _levelTime != 0 ? 1.8f - 0.8f * shown : shown;
                device.PushMatrix();
                device.MatrixTranslate(px + size * 0.5f, py + size * 0.5f, 0.0f);
                device.MatrixScaleUniform(scale);
                device.MatrixTranslate(-size * 0.5f, -size * 0.5f, 0.0f);
                device.PushAlpha(shown);
                DrawPicture(picture, 0.0f, 0.0f);
                device.PopAlpha();
                device.PopMatrix();
                continue;
            }
            AnimationService* flare = cell._painted == 2 ? _goldenPieceFlare.Get()
                                      : cell._painted == 1 ? _silverPieceFlare.Get()
                                                           : nullptr;
            UsingPointer<Texture> frame;
            if (pieceFlaring && flare != nullptr) {
                const int frames = flare->GetAnimation() != NULL ? flare->GetAnimation()->size() : 0;
                flare->SetCurrentFrame(Math::round(_pieceFlare->GetProgress() * static_cast<float>(std::max(frames - 1, 0))));
                frame = flare->GetTexture();
            }
            if (frame != NULL) {
                frame->Draw(FPoint(px, py));
            } else {
                DrawPicture(picture, px, py);
            }
            const std::vector<BoardPoint>& selection = _board.Selection();
            if (selection.size() == 1 && selection[0] == BoardPoint{x, y}) {
                device.EnableTexture(false);
                device.PushAlpha(SELECTION_ALPHA);
                device.DrawRect(static_cast<int>(px), static_cast<int>(py), c, c);
                device.PopAlpha();
                device.EnableTexture(true);
            }
        }
    }
    if (!flaring) DrawGlows(a);
}

void ZovGameFieldControl::DrawGlows(const Point& a) {
    if (_fewPaintsFlare.Get() == nullptr && _hintFlare.Get() == nullptr) return;
    RenderDevice& device = Render::device;
    const int c = _board.GetCellSize();
    const int sizeX = _board.GetSizeX();
    const int sizeY = _board.GetSizeY();
    // A board one cell wide or high has its whole width or height at phase 0.
    const float spanX = static_cast<float>(std::max(1, sizeX - 1));
    const float spanY = static_cast<float>(std::max(1, sizeY - 1));
    for (int x = 0; x < sizeX; ++x) {
        for (int y = 0; y < sizeY; ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            if (cell._color == NO_CELL || cell._painted <= 0) continue;
            float alpha = 0.0f;
            if (_fewPaintsFlare.Get() != nullptr) {
                // A double wave runs over the painted cells from the top left.
                const float phase = _fewPaintsFlare->GetProgress() * 2.0f * TWO_PI;
                const float d = phase - TWO_PI * static_cast<float>(x) / spanX * static_cast<float>(y) / spanY;
                if (d < 0.0f || d >= TWO_PI) continue;
                alpha = (1.0f - std::cos(d)) * 0.4f;
            } else {
                alpha = std::sin(PI_F * _hintFlare->GetProgress());
            }
            device.SetBlendMode(ADDITIVE_BLEND);
            device.PushAlpha(Unit(alpha));
            DrawPicture("cell_glow", static_cast<float>(a.x + c * x) - GLOW_MARGIN,
                        static_cast<float>(a.y + c * (sizeY - y - 1)) - GLOW_MARGIN);
            device.PopAlpha();
            device.SetBlendMode(NORMAL_BLEND);
        }
    }
}

void ZovGameFieldControl::DrawPieces(const Point& a, bool flaring) {
    if (!flaring && !_fieldShown) return;
    RenderDevice& device = Render::device;
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            ZovPiece& piece = _pieces.At(x, y);
            // An emptied cell still shows a piece that hides in its move.
            if (cell._color == NO_CELL || (cell._color < 0 && !piece.IsMoving())) continue;
            if (flaring) {
                const float shown = CellShine(x, y);
                device.PushAlpha(shown * shown);
            }
            if (piece.IsMoving()) {
                piece.Draw(static_cast<float>(a.x), static_cast<float>(a.y));
            } else {
                piece.Draw(static_cast<float>(a.x) + _board.CellX(x), static_cast<float>(a.y) + _board.CellY(y));
            }
            if (flaring) device.PopAlpha();
        }
    }
}

void ZovGameFieldControl::DrawLocks(const Point& a, bool flaring) {
    if (!flaring && !_fieldShown) return;
    RenderDevice& device = Render::device;
    const int c = _board.GetCellSize();
    for (int x = 0; x < _board.GetSizeX(); ++x) {
        for (int y = 0; y < _board.GetSizeY(); ++y) {
            const FieldCell& cell = _board.Cell(x, y);
            if (cell._color == NO_CELL || cell._locks < 1) continue;
            if (flaring) device.PushAlpha(CellShine(x, y));
            DrawAtlasTile("locks", AtlasTile{std::min(cell._locks, 2), 0}, a.x + c * x, a.y + c * (_board.GetSizeY() - y - 1));
            if (flaring) device.PopAlpha();
        }
    }
}

void ZovGameFieldControl::DrawMoveHint(int x, int y) {
    if (!_board.HasMove() || _board.GetAllPaints() <= 0) return;
    const std::pair<BoardPoint, BoardPoint>& move = _board.GetHintMove();
    const BoardPoint p0 = move.first;
    const BoardPoint p1 = move.second;
    const int dx = p1.x - p0.x;
    const int dy = p1.y - p0.y;
    // Exactly two neighbouring cells of the field make a move hint.
    const bool pair = std::abs(dx) + std::abs(dy) == 1 && _board.InField(p0.x, p0.y) && _board.InField(p1.x, p1.y);
    if (!pair) {
        Assert(pair);
        return;
    }
    const float help = _tuning.TIME_BEFORE_HELP;
    if (!PermanentStorage::GetLocalBoolOrDef("first_hint", false) && _idleTime != help && _idleTime != 0.0f) {
        const Point a = GetAbsolutePos();
        const int half = _board.GetCellSize() / 2;
        const int targetX = static_cast<int>(_board.CellX(p1.x) + _board.CellX(p0.x)) / 2 + a.x + half;
        const int targetY = static_cast<int>(_board.CellY(p1.y) + _board.CellY(p0.y)) / 2 + a.y + half;
        const int boxX = targetX - 450 < 0 ? targetX + 60 : targetX - 450;
        ShowHint(boxX, 300, "first", targetX, targetY, p0.x != p1.x ? -90.0f : 0.0f);
        _hintBoxShown = false;
        _hintWait = _board.Tuning().HINT_PAUSE;
    }
    _moveHintShown = true;
    float alpha = 1.0f;
    if (_idleTime < 0.0f) {
        alpha = std::fabs(_idleTime / MOVE_HINT_FADE);
    } else if (_idleTime >= help && _idleTime < help + MOVE_HINT_FADE) {
        alpha = std::fabs((_idleTime - help) / MOVE_HINT_FADE);
    }
    const float size = static_cast<float>(_board.GetCellSize());
    // The arrows breathe between 10 units apart and a third of a cell more, once a second.
    const float g = (1.0f - std::fabs(std::sin(PI_F * _hintAnimTime))) * (size * (1.0f / 3.0f)) + 10.0f;
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.PushAlpha(Unit(alpha));
    device.MatrixTranslate(static_cast<float>(x) + static_cast<float>(p0.x) * size,
                           static_cast<float>(y) + static_cast<float>(_board.GetSizeY() - p0.y - 1) * size, 0.0f);
    if (dy == 0) {
        if (dx == -1) device.MatrixTranslate(-size, 0.0f, 0.0f);
        device.MatrixTranslate(g, 6.0f, 0.0f);
        DrawPicture("right_arrow", 0.0f, 0.0f);
        device.MatrixTranslate(size - 2.0f * g, -16.0f, 0.0f);
        DrawPicture("left_arrow", 0.0f, 0.0f);
    } else {
        if (dy == 1) device.MatrixTranslate(0.0f, -size, 0.0f);
        device.MatrixTranslate(8.0f, g, 0.0f);
        DrawPicture("up_arrow", 0.0f, 0.0f);
        device.MatrixTranslate(-16.0f, size - 2.0f * g, 0.0f);
        DrawPicture("down_arrow", 0.0f, 0.0f);
    }
    device.PopAlpha();
    device.PopMatrix();
}
