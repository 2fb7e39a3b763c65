#pragma once
// The render device's fonts: the registry by name, the current font, and laying out, drawing and
// measuring text with it.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/FPoint.h"
#include "shell/BitmapFont.h"
#include "shell/Texture.h"
#include "shell/TextureDevice.h"

struct Glyph {
    int aWidth = 0;
    int bWidth = 0;
    int cWidth = 0;
    float uLeft = 0.0f;
    float uRight = 0.0f;
    float vBottom = 0.0f;
    float vTop = 0.0f;
};

struct DeviceFont {
    std::shared_ptr<OldTexture> texture;
    int height = 0;
    int tracking = 0;
    int yOffset = 0;
    int spaceSize = 0;
    std::vector<int> charOffsets;
    std::vector<Glyph> chars;

    bool IsCharSet(int code) const {
        return code >= 0 && code < static_cast<int>(charOffsets.size()) && charOffsets[static_cast<std::size_t>(code)] >= 0;
    }
};

class RenderDeviceFonts {
public:
    static const int STRING_BUFFER_GLYPHS = 100;

    void AddFont(const BitmapFont& font);
    void AddFontAlias(const std::string& newName, const std::string& oldName);
    bool DoesFontExist(const std::string& name) const;

    // An unknown name is reported and keeps the current font.
    void SetFont(const std::string& fontName);
    void SetFontAsMask(const std::string& fontName);
    // align 0: left end at the position, 1: right end, 2: middle; other values act as 0.
    void DrawString(const FPoint& position, const std::string& text, float scale = 1.0f, int align = 0,
                    bool centreVertically = false);
    void DrawString(int x, int y, const std::string& text, float scale = 1.0f, int align = 0,
                    bool centreVertically = false);
    int GetFontHeight(const std::string& fontName);
    int GetStringWidth(const std::string& text, const std::string& fontName);
    // widths[i] = GetStringWidth of the first i bytes, for i = 0 .. length, in one pass; a byte
    // inside a character of several (UTF-8) gives the width before that character.
    void GetPrefixWidths(const std::string& text, const std::string& fontName, std::vector<int>& widths);
    void GetGlyphRects(const std::string& text, const std::string& fontName, std::vector<FRect>& out);

    int DecodeChar(const std::string& text, std::size_t& index) const;
    // Lays the text out with the current font; each full buffer (and the rest at the end) goes to
    // flush with its glyph count. Without flush, glyphs beyond the buffer are counted but not kept.
    void FillStringBuffer(const std::string& text, const std::function<void(int)>& flush = nullptr);
    int MeasureString(const std::string& text, const DeviceFont& font) const;

    // Gives every font texture back to the device and forgets all fonts.
    void ReleaseAll();

    const DeviceFont* GetCurrentFont() const { return _currentFont; }
    const TextureVertex* GetStringBuffer() const { return _stringBufferData; }
    int _stringGlyphCount = 0;
    int _stringWidth = 0;

private:
    DeviceFont* _currentFont = nullptr;
    std::map<std::string, DeviceFont> _fonts;
    TextureVertex _stringBufferData[STRING_BUFFER_GLYPHS * 6];
};

namespace Render {
extern RenderDeviceFonts fonts;
}
