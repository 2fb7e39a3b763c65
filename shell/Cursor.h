#pragma once
// The mouse pointer's look: one of four pictures drawn at the mouse position, or the system
// cursor in the matching shape.

#include "core/Object.h"
#include "shell/OldTexture.h"

struct SDL_Cursor;

class Cursor : public Interface {
public:
    // Loads and uploads the four pictures, points the current one at the normal picture and
    // makes the three system cursors.
    Cursor();
    ~Cursor() override;

    // Bottom-left corner of the current picture at (x + dx, y - height + dy).
    void Draw(int x, int y);
    void SetSystemCursor(bool inClient);
    static void ShowSystemCursor();
    static void HideSystemCursor();
    // Gives the pictures back to the device (before the device goes).
    void ReleaseTextures();

    RectangleTexture _normal;
    RectangleTexture _active;
    RectangleTexture _pressed;
    RectangleTexture _forbidden;
    RectangleTexture* _current = &_normal;

private:
    SDL_Cursor* _arrowCursor = nullptr;
    SDL_Cursor* _handCursor = nullptr;
    SDL_Cursor* _noCursor = nullptr;
};

// What the main loop does with the pointer in a frame.
enum class CursorChoice { HIDE_SYSTEM, SHOW_SYSTEM, DRAW_PICTURE, SET_SYSTEM };
CursorChoice ChooseCursor(bool screensaverMode, bool splashCursor, bool fullScreen, bool isCursorCustom,
                          bool inClient);
