#pragma once
// The preview request: the 152 x 112 preview picture stretched over a window until it closes.

#include "screensaver/CommandLine.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

namespace screensaver {

// The picture built into the program; the caller frees it. Null when it cannot be read.
SDL_Surface* LoadPreviewPicture();

// Stretches the whole picture over the renderer's whole output and presents it. False when the
// output is empty or a step fails: the preview then ends.
bool PaintPreview(SDL_Renderer* renderer, SDL_Texture* picture);

// With the X11 video driver and a parent window id, draws into that window; otherwise into a window
// of its own. Returns when the window closes, the program is asked to quit or painting fails; any
// failure before that returns at once, quietly.
void ShowPreview(WindowHandle parent);

}  // namespace screensaver
