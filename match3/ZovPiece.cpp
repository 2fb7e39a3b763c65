#include "match3/ZovPiece.h"

#include "shell/RenderDevice.h"
#include "shell/Texture.h"

ZovPiece::ZovPiece(const ObjectWeakPointer<AnimationService>& picture, const Point& offset) : _offset(offset) {
    if (picture.Get() != nullptr) _picture = ObjectSmartPointer<AnimationService>(new AnimationService(*picture.Get()));
    Stop();
}

void ZovPiece::SetFrom(const ObjectWeakPointer<ZovPiece>& prototype) {
    if (prototype.Get() == nullptr) return;
    const ObjectSmartPointer<AnimationService> picture = prototype->GetPicture();
    _picture = picture.Get() != nullptr ? ObjectSmartPointer<AnimationService>(new AnimationService(*picture.Get()))
                                        : ObjectSmartPointer<AnimationService>();
    _offset = prototype->_offset;
    Stop();
}

void ZovPiece::Stop() {
    if (_picture.Get() != nullptr) {
        _picture->playing = false;
        _picture->SetFirstFrame(0);
        _picture->SetLastFrame(0);
        _picture->SetCurrentFrame(0);
    }
    _animating = false;
    _move = ObjectSmartPointer<Transporter>();
    _hop = ObjectSmartPointer<Transporter>();
}

void ZovPiece::PlayAnimation(int firstFrame, int lastFrame, int mode, float param, float fps) {
    if (mode == 2) {
        _hop = ObjectSmartPointer<Transporter>(
            new Transporter(0.0f, -0.001f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1, 0.0f, -param, 0.0f));
        return;
    }
    if (_picture.Get() == nullptr) return;
    _picture->SetFirstFrame(firstFrame);
    _picture->SetLastFrame(lastFrame);
    _picture->Start(mode);
    _picture->SetFps(fps);
    _picture->playing = true;
    _animating = true;
}

void ZovPiece::StartMove(float x0, float y0, float x1, float y1, float scaleFrom, float scaleTo, float duration,
                         int mode, float xSpeed, float ySpeed, float spin) {
    _move = ObjectSmartPointer<Transporter>(
        new Transporter(x0, y0, x1, y1, scaleFrom, scaleTo, duration, mode, xSpeed, ySpeed, spin));
}

FPoint ZovPiece::GetPosition() const {
    const FPoint offset(static_cast<float>(_offset.x), static_cast<float>(_offset.y));
    if (_move.Get() != nullptr) return FPoint(_move->x + offset._x, _move->y + offset._y);
    if (_hop.Get() != nullptr) return FPoint(_hop->x + offset._x, _hop->y + offset._y);
    return offset;
}

float ZovPiece::GetSpeed() const { return _move.Get() != nullptr ? _move->vy : PIECE_SPEED; }

void ZovPiece::Draw(float x, float y) {
    if (_picture.Get() == nullptr) return;
    UsingPointer<Texture> frame = _picture->GetTexture();
    if (frame == NULL) return;
    RenderDevice& device = Render::device;
    if (_move.Get() != nullptr) {
        device.PushMatrix();
        device.PushAlpha(_move->scale);
        device.MatrixTranslate(x + _move->x + static_cast<float>(_offset.x), y + _move->y + static_cast<float>(_offset.y),
                               0.0f);
        frame->Draw(FPoint(0.0f, 0.0f));
        device.PopAlpha();
        device.PopMatrix();
    } else if (_hop.Get() != nullptr) {
        device.PushMatrix();
        device.MatrixTranslate(x + _hop->x + static_cast<float>(_offset.x), y + _hop->y + static_cast<float>(_offset.y),
                               0.0f);
        frame->Draw(FPoint(0.0f, 0.0f));
        device.PopMatrix();
    } else {
        frame->Draw(FPoint(x + static_cast<float>(_offset.x), y + static_cast<float>(_offset.y)));
    }
}

bool ZovPiece::Update(float dt) {
    if (_picture.Get() != nullptr && _animating) {
        if (_picture->playing) {
            _picture->Update(dt);
        } else {
            _picture->SetFirstFrame(0);
            _picture->SetLastFrame(0);
            _picture->SetCurrentFrame(0);
            _animating = false;
        }
    }
    if (_hop.Get() != nullptr) {
        if (_hop->IsFinished()) {
            _hop = ObjectSmartPointer<Transporter>();
        } else {
            _hop->Update(dt);
        }
    }
    if (_move.Get() == nullptr) return true;
    if (_move->IsFinished()) {
        _move = ObjectSmartPointer<Transporter>();
        return false;
    }
    _move->Update(dt);
    return true;
}
