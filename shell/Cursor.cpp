#include "shell/Cursor.h"

#include <SDL.h>

#include "core/Assert.h"
#include "core/Point.h"
#include "platform/render/DriverLeaks.h"

namespace {
void LoadPicture(RectangleTexture& picture, const char* path) {
    picture.Load(path);
    picture.Upload();
}
}  // namespace

Cursor::Cursor() {
    LoadPicture(_normal, "textures\\cursor_normal.png");
    LoadPicture(_active, "textures\\cursor_active.png");
    LoadPicture(_pressed, "textures\\cursor_pressed.png");
    LoadPicture(_forbidden, "textures\\cursor_forbidden.png");
    _current = &_normal;
    render_layer::DriverLeakScope driver;
    _arrowCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    _handCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    _noCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
}

Cursor::~Cursor() {
    ReleaseTextures();
    render_layer::DriverLeakScope driver;
    if (_arrowCursor) SDL_FreeCursor(_arrowCursor);
    if (_handCursor) SDL_FreeCursor(_handCursor);
    if (_noCursor) SDL_FreeCursor(_noCursor);
}

void Cursor::ReleaseTextures() {
    _normal.Release();
    _active.Release();
    _pressed.Release();
    _forbidden.Release();
}

void Cursor::Draw(int x, int y) {
    HideSystemCursor();
    int dx = -4;
    int dy = 1;
    if (_current == &_active || _current == &_pressed) {
        dx = -7;
    } else if (_current == &_forbidden) {
        dx = -15;
        dy = 15;
    }
    _current->Bind();
    _current->Draw(Point(x + dx, y - _current->_imageHeight + dy));
}

void Cursor::SetSystemCursor(bool inClient) {
    ShowSystemCursor();
    SDL_Cursor* shape = nullptr;
    if (_current == &_normal || !inClient) {
        shape = _arrowCursor;
    } else if (_current == &_active || _current == &_pressed) {
        shape = _handCursor;
    } else if (_current == &_forbidden) {
        shape = _noCursor;
    } else {
        Assert(false);
        return;
    }
    if (shape && SDL_GetCursor() != shape) SDL_SetCursor(shape);
}

void Cursor::ShowSystemCursor() {
    if (SDL_ShowCursor(SDL_QUERY) != SDL_ENABLE) SDL_ShowCursor(SDL_ENABLE);
}

void Cursor::HideSystemCursor() {
    if (SDL_ShowCursor(SDL_QUERY) != SDL_DISABLE) SDL_ShowCursor(SDL_DISABLE);
}

CursorChoice ChooseCursor(bool screensaverMode, bool splashCursor, bool fullScreen, bool isCursorCustom,
                          bool inClient) {
    if (screensaverMode) return CursorChoice::HIDE_SYSTEM;
    if (splashCursor) return fullScreen ? CursorChoice::HIDE_SYSTEM : CursorChoice::SHOW_SYSTEM;
    if (isCursorCustom && (fullScreen || inClient)) return CursorChoice::DRAW_PICTURE;
    return CursorChoice::SET_SYSTEM;
}
