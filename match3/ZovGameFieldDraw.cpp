// Drawing of the game field (kept plain: cells, paint, locks, pieces, selection, move hint,
// effects) and the effects made from the board's events.
#include <algorithm>
#include <cmath>

#include "match3/FieldTextEffect.h"
#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "match3/ZovGameFieldControl.h"
#include "match3/effects/BreakingUpEffect.h"
#include "match3/effects/PieceEffects.h"
#include "match3/effects/SplashEffect.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"

namespace {

constexpr float PI_F = 3.1415925f;

}  // namespace

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
        effect = new HidePieceEffect(e.pos.x, e.pos.y, _pieces.At(cx, cy).GetPicture(), e.duration);
    } else if (e.name == "BoomTextEffect") {
        const float size =
            1.5f * 50.0f / static_cast<float>(std::max(1, Render::fonts.GetFontHeight(e.resource)));
        effect = new BoomTextEffect(e.pos.x, e.pos.y, e.text, e.rise, e.duration, size);
    } else if (e.name == "SplashEffect") {
        effect = new SplashEffect(e.path, e.times);
    } else if (e.name == "SplashRemoverEffect") {
        effect = new SplashRemoverEffect(e.pos.x, e.pos.y, _pieces.At(cx, cy).GetPicture(), e.duration);
    } else if (e.name == "CreateBombEffect") {
        effect = new CreateBombEffect(static_cast<int>(e.pos.x), static_cast<int>(e.pos.y));
    } else if (e.name == "ReplacePieceEffect" && e.path.size() == 2) {
        ObjectSmartPointer<AnimationService> from;
        ObjectSmartPointer<AnimationService> to;
        const int ox = e.other.x;
        const int oy = e.other.y;
        if (ox >= 0 && ox < MAX_FIELD_X && oy >= 0 && oy < MAX_FIELD_Y) from = _snapshot[ox][oy];
        if (e.value != 0) to = _pieces.At(cx, cy).GetPicture();
        effect = new ReplacePieceEffect(e.path[0].x - 21.0f, e.path[0].y - 21.0f, e.path[1].x - 21.0f,
                                        e.path[1].y - 21.0f, from, to, e.duration, 0.0f);
    }
    if (effect != nullptr) _effects.Add(e.layer, ObjectSmartPointer<EffectBase>(effect));
}

void ZovGameFieldControl::TakeSnapshot() {
    for (int x = 0; x < MAX_FIELD_X; ++x) {
        for (int y = 0; y < MAX_FIELD_Y; ++y) {
            ObjectSmartPointer<AnimationService> picture;
            if (_board.InField(x, y) && _board.Cell(x, y)._color >= 0) {
                const ObjectSmartPointer<AnimationService> own = _pieces.At(x, y).GetPicture();
                if (own.Get() != nullptr) picture = ObjectSmartPointer<AnimationService>(new AnimationService(*own.Get()));
            }
            _snapshot[x][y] = picture;
        }
    }
}

float ZovGameFieldControl::FieldAlpha() const {
    if (_fieldStartLeft > 0.0f) return 0.0f;
    if (_shine.Get() == nullptr || _shine->_done) return _levelTime != 0 ? 1.0f : 0.0f;
    const float p = _shine->GetProgress();
    return _levelTime != 0 ? p : 1.0f - p;
}

void ZovGameFieldControl::DrawPicture(const char* id, float x, float y) {
    const auto found = _pictures.find(id);
    if (found == _pictures.end() || found->second == NULL) return;
    found->second->Draw(FPoint(x, y));
}

void ZovGameFieldControl::Draw() {
    const Point a = GetAbsolutePos();
    RenderDevice& device = Render::device;
    const bool editing = IsEditing();
    const float alpha = editing ? 1.0f : FieldAlpha();
    if (alpha > 0.0f) {
        ReshowSavedHint();
        device.PushAlpha(alpha);
        const int size = _board.GetCellSize();
        for (int x = 0; x < _board.GetSizeX(); ++x) {
            for (int y = 0; y < _board.GetSizeY(); ++y) {
                if (!_board.InField(x, y)) continue;
                const FieldCell& cell = _board.Cell(x, y);
                const float px = static_cast<float>(a.x + x * size);
                const float py = static_cast<float>(a.y + (_board.GetSizeY() - y - 1) * size);
                DrawPicture("blue", px, py);
                if (cell._painted == 1) DrawPicture("silver", px, py);
                if (cell._painted == 2) DrawPicture("golden", px, py);
            }
        }
        if (editing) DrawEditorMarks();
        if (!editing) _effects.Draw(-1);
        for (int x = 0; x < _board.GetSizeX() && !editing; ++x) {
            for (int y = 0; y < _board.GetSizeY(); ++y) {
                if (!_board.InField(x, y) || _board.Cell(x, y)._color < 0) continue;
                _pieces.At(x, y).Draw(static_cast<float>(a.x) + _board.CellX(x), static_cast<float>(a.y) + _board.CellY(y));
            }
        }
        for (int x = 0; x < _board.GetSizeX(); ++x) {
            for (int y = 0; y < _board.GetSizeY(); ++y) {
                if (!_board.InField(x, y) || _board.Cell(x, y)._locks <= 0) continue;
                const float px = static_cast<float>(a.x + x * size);
                const float py = static_cast<float>(a.y + (_board.GetSizeY() - y - 1) * size);
                DrawPicture("locks", px, py);
                if (_board.Cell(x, y)._locks > 1) DrawPicture("locks", px, py + 3.0f);
            }
        }
        const std::vector<BoardPoint>& selection = _board.Selection();
        if (selection.size() == 1) {
            const BoardPoint s = selection[0];
            DrawPicture("cell_glow", static_cast<float>(a.x + s.x * size),
                        static_cast<float>(a.y + (_board.GetSizeY() - s.y - 1) * size));
        }
        if (!editing && _levelTime > 0 && _board.GetAllPaints() > 0 &&
            (_idleTime >= _tuning.TIME_BEFORE_HELP || _idleTime < 0.0f)) {
            DrawMoveHint(a.x, a.y);
        }
        device.PopAlpha();
    }
    if (!editing) {
        _fallParticles.DrawAll();
        _effects.Draw(1);
        _effects.Draw(2);
        _particles.DrawAll();
    }
    if (_timer.Get() != nullptr) _timer->Draw();
    if (editing) _editor->Draw();
}

void ZovGameFieldControl::DrawMoveHint(int x, int y) {
    if (!_board.HasMove() || _board.GetAllPaints() <= 0) return;
    const std::pair<BoardPoint, BoardPoint>& move = _board.GetHintMove();
    const BoardPoint p0 = move.first;
    const BoardPoint p1 = move.second;
    const int dx = p1.x - p0.x;
    const int dy = p1.y - p0.y;
    // Exactly two neighbouring cells make a move hint.
    if (std::abs(dx) + std::abs(dy) != 1) {
        Assert(std::abs(dx) + std::abs(dy) == 1);
        return;
    }
    _moveHintShown = true;
    float alpha = 1.0f;
    const float help = _tuning.TIME_BEFORE_HELP;
    if (_idleTime < 0.0f) {
        alpha = std::fabs(_idleTime / 0.2f);
    } else if (_idleTime >= help && _idleTime < help + 0.2f) {
        alpha = std::fabs((_idleTime - help) / 0.2f);
    }
    const float size = static_cast<float>(_board.GetCellSize());
    const float g = (1.0f - std::fabs(std::sin(PI_F * _hintAnimTime))) * (size * (1.0f / 3.0f)) + 10.0f;
    RenderDevice& device = Render::device;
    device.PushMatrix();
    device.PushAlpha(std::min(alpha, 1.0f));
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
