#include "shell/RenderDeviceFonts.h"

#include "core/Assert.h"
#include "shell/CheckText.h"

namespace Render {
RenderDeviceFonts fonts;
}

void RenderDeviceFonts::AddFont(const BitmapFont& font) {
    const BitmapFont::Info info = font.GetInfo();
    const std::string& fontName = info.name;
    Assert(_fonts.find(fontName) == _fonts.end());
    if (_fonts.find(fontName) != _fonts.end()) return;
    DeviceFont& d3dFont = _fonts[fontName];
    d3dFont.texture = info.texture;
    d3dFont.height = info.height;
    d3dFont.tracking = info.tracking;
    d3dFont.spaceSize = info.spaceSize;
    d3dFont.yOffset = info.yOffset;
    const float texW = static_cast<float>(info.texture->image.width);
    const float texH = static_cast<float>(info.texture->image.height);
    const int cell = info.height + 2 * info.yOffset;
    for (int n = 0; n < font.GetNumChars(); ++n) {
        const CharInfo c = font.GetCharInfo(n);
        const int code = c.code;
        Assert(!d3dFont.IsCharSet(code));
        Assert(code != 32);
        Assert(code >= 0);
        if (d3dFont.IsCharSet(code) || code == 32 || code < 0 || code > BitmapFont::MAX_CODE) continue;
        if (code + 1 > static_cast<int>(d3dFont.charOffsets.size())) d3dFont.charOffsets.resize(code + 1, -1);
        d3dFont.charOffsets[code] = static_cast<int>(d3dFont.chars.size());
        Glyph glyph;
        glyph.aWidth = c.aWidth;
        glyph.bWidth = c.bWidth;
        glyph.cWidth = c.cWidth;
        glyph.uLeft = texW > 0 ? static_cast<float>(c.x) / texW : 0.0f;
        glyph.uRight = texW > 0 ? static_cast<float>(c.x + c.bWidth) / texW : 0.0f;
        glyph.vBottom = texH > 0 ? static_cast<float>(c.y) / texH : 0.0f;
        glyph.vTop = texH > 0 ? static_cast<float>(c.y + cell) / texH : 0.0f;
        d3dFont.chars.push_back(glyph);
    }
}

void RenderDeviceFonts::AddFontAlias(const std::string& newName, const std::string& oldName) {
    Assert(_fonts.find(newName) == _fonts.end());
    Assert(_fonts.find(oldName) != _fonts.end());
    if (_fonts.find(newName) != _fonts.end() || _fonts.find(oldName) == _fonts.end()) return;
    const DeviceFont copy = _fonts[oldName];
    _fonts[newName] = copy;
}

bool RenderDeviceFonts::DoesFontExist(const std::string& name) const { return _fonts.find(name) != _fonts.end(); }

void RenderDeviceFonts::SetFont(const std::string& font_name) {
    auto found = _fonts.find(font_name);
    Assert(_fonts.find(font_name) != _fonts.end());
    if (found == _fonts.end()) return;
    _currentFont = &found->second;
    _currentFont->texture->Bind();
    _currentFont->texture->_linearFilter = 1;
}

void RenderDeviceFonts::SetFontAsMask(const std::string& fontName) {
    auto found = _fonts.find(fontName);
    if (found == _fonts.end()) return;
    _currentFont = &found->second;
    _currentFont->texture->BindAsMask();
    _currentFont->texture->_linearFilter = 1;
}

int RenderDeviceFonts::DecodeChar(const std::string& s, std::size_t& i) const {
    Assert(i < s.length());
    if (i >= s.length()) return 0;
    const unsigned ch = static_cast<unsigned char>(s[i]);
    ++i;
    if (!TextureDevice::UseUtf8()) return static_cast<int>(ch);
    int code = 0;
    int continuation = 0;
    if (ch < 0x80) {
        return static_cast<int>(ch);
    } else if ((ch & 0xE0) == 0xC0) {
        code = ch & 0x1F;
        continuation = 1;
    } else if ((ch & 0xF0) == 0xE0) {
        code = ch & 0x0F;
        continuation = 2;
    } else if ((ch & 0xF8) == 0xF0) {
        code = ch & 0x07;
        continuation = 3;
    } else {
        ReportError("unknown UTF8 prefix");
        return 0;
    }
    for (int k = 0; k < continuation; ++k) {
        Assert(i < s.length());
        if (i >= s.length()) break;  // cut off by the end of the text
        const unsigned next = static_cast<unsigned char>(s[i]);
        ++i;
        CHECK_TEXT((next & 0xC0) == 0x80, "(ch & _1100_0000) == _1000_0000");
        code = (code << 6) | static_cast<int>(next & 0x3F);
    }
    return code;
}

void RenderDeviceFonts::FillStringBuffer(const std::string& text, const std::function<void(int)>& flush) {
    _stringGlyphCount = 0;
    _stringWidth = 0;
    if (_currentFont == nullptr) return;
    const DeviceFont& f = *_currentFont;
    const D3DCOLOR color = TextureDevice::CurrentColor();
    int pen = 0;
    int glyphCount = 0;
    int inBuffer = 0;
    std::size_t i = 0;
    while (i < text.length()) {
        const int code = DecodeChar(text, i);
        if (code == 32) {
            pen += f.spaceSize + f.tracking;
            continue;
        }
        if (!f.IsCharSet(code)) continue;
        const Glyph& g = f.chars[static_cast<std::size_t>(f.charOffsets[static_cast<std::size_t>(code)])];
        pen += g.aWidth;
        if (inBuffer == STRING_BUFFER_GLYPHS) {
            // A long text is drawn in chunks of the buffer's size.
            if (flush) flush(inBuffer);
            inBuffer = 0;
        }
        TextureVertex* v = &_stringBufferData[inBuffer * 6];
        const float left = static_cast<float>(pen);
        const float right = static_cast<float>(pen + g.bWidth);
        const float bottom = static_cast<float>(-f.yOffset);
        const float top = static_cast<float>(f.height + f.yOffset);
        const TextureVertex corners[6] = {
            {left, bottom, 0.0f, color, g.uLeft, g.vBottom},  {right, bottom, 0.0f, color, g.uRight, g.vBottom},
            {left, top, 0.0f, color, g.uLeft, g.vTop},        {left, top, 0.0f, color, g.uLeft, g.vTop},
            {right, bottom, 0.0f, color, g.uRight, g.vBottom}, {right, top, 0.0f, color, g.uRight, g.vTop},
        };
        for (int k = 0; k < 6; ++k) v[k] = corners[k];
        ++inBuffer;
        pen += f.tracking + g.cWidth + g.bWidth;
        ++glyphCount;
    }
    if (flush && inBuffer > 0) flush(inBuffer);
    _stringWidth = pen > 0 ? pen - f.tracking : pen;
    _stringGlyphCount = glyphCount;
}

void RenderDeviceFonts::DrawString(const FPoint& position, const std::string& text, float scale, int align,
                                   bool centreVertically) {
    if (_currentFont == nullptr) return;
    IDirect3DDevice8* device = *TextureDevice::DeviceAddress();
    TextureDevice::PushMatrix();
    if (device != nullptr) device->SetVertexShader(TEXTURE_VERTEX_FVF);
    TextureDevice::MatrixTranslate(position._x, position._y, 0.0f);
    if (centreVertically) TextureDevice::MatrixTranslate(0.0f, static_cast<float>(_currentFont->height / -2), 0.0f);
    FillStringBuffer(text);
    TextureDevice::MatrixScale(scale, scale, 1.0f);
    if (align == 1) {
        TextureDevice::MatrixTranslate(static_cast<float>(-_stringWidth), 0.0f, 0.0f);
    } else if (align == 2) {
        TextureDevice::MatrixTranslate(static_cast<float>(_stringWidth / -2), 0.0f, 0.0f);
    }
    auto draw = [&](int glyphs) {
        if (device != nullptr && glyphs > 0) {
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(glyphs * 2), _stringBufferData,
                                    sizeof(TextureVertex));
        }
    };
    if (_stringGlyphCount <= STRING_BUFFER_GLYPHS) {
        draw(_stringGlyphCount);
    } else {
        // A text longer than the buffer is laid out again and drawn in chunks.
        FillStringBuffer(text, draw);
    }
    TextureDevice::PopMatrix();
}

void RenderDeviceFonts::DrawString(int x, int y, const std::string& text, float scale, int align,
                                   bool centreVertically) {
    DrawString(FPoint(x, y), text, scale, align, centreVertically);
}

int RenderDeviceFonts::GetFontHeight(const std::string& fontName) {
    auto found = _fonts.find(fontName);
    Assert(_fonts.find(fontName) != _fonts.end());
    return found == _fonts.end() ? 0 : found->second.height;
}

int RenderDeviceFonts::GetStringWidth(const std::string& text, const std::string& fontName) {
    auto found = _fonts.find(fontName);
    Assert(_fonts.find(fontName) != _fonts.end());
    return found == _fonts.end() ? 0 : MeasureString(text, found->second);
}

void RenderDeviceFonts::GetPrefixWidths(const std::string& text, const std::string& fontName, std::vector<int>& widths) {
    widths.assign(1, 0);
    widths.reserve(text.length() + 1);
    auto found = _fonts.find(fontName);
    Assert(_fonts.find(fontName) != _fonts.end());
    if (found == _fonts.end()) {
        widths.assign(text.length() + 1, 0);
        return;
    }
    const DeviceFont& f = found->second;
    int width = 0;
    std::size_t i = 0;
    while (i < text.length()) {
        const std::size_t start = i;
        const int code = DecodeChar(text, i);
        for (std::size_t k = start + 1; k < i; ++k) widths.push_back(width);
        if (code == 32) {
            width += f.spaceSize + f.tracking;
        } else if (f.IsCharSet(code)) {
            const Glyph& g = f.chars[static_cast<std::size_t>(f.charOffsets[static_cast<std::size_t>(code)])];
            width += g.aWidth + g.bWidth + g.cWidth + f.tracking;
        }
        widths.push_back(width);
    }
}

int RenderDeviceFonts::MeasureString(const std::string& text, const DeviceFont& f) const {
    int width = 0;
    std::size_t i = 0;
    while (i < text.length()) {
        const int code = DecodeChar(text, i);
        if (code == 32) {
            width += f.spaceSize + f.tracking;
        } else if (f.IsCharSet(code)) {
            const Glyph& g = f.chars[static_cast<std::size_t>(f.charOffsets[static_cast<std::size_t>(code)])];
            width += g.aWidth + g.bWidth + g.cWidth + f.tracking;
        }
    }
    return width;
}

void RenderDeviceFonts::GetGlyphRects(const std::string& text, const std::string& fontName, std::vector<FRect>& out) {
    out.clear();
    out.reserve(text.length());
    auto found = _fonts.find(fontName);
    if (found == _fonts.end()) return;
    const DeviceFont& f = found->second;
    int pen = 0;
    std::size_t i = 0;
    while (i < text.length()) {
        const int code = DecodeChar(text, i);
        if (code == 32) {
            pen += f.spaceSize + f.tracking;
        } else if (f.IsCharSet(code)) {
            const Glyph& g = f.chars[static_cast<std::size_t>(f.charOffsets[static_cast<std::size_t>(code)])];
            out.push_back(FRect(static_cast<float>(pen + g.aWidth), static_cast<float>(pen + g.aWidth + g.bWidth), 0.0f,
                                static_cast<float>(f.height)));
            pen += g.aWidth + g.bWidth + g.cWidth + f.tracking;
        }
    }
}

void RenderDeviceFonts::ReleaseAll() {
    std::vector<OldTexture*> released;
    for (auto& entry : _fonts) {
        OldTexture* texture = entry.second.texture.get();
        bool seen = false;
        for (OldTexture* r : released) seen = seen || r == texture;
        if (!seen && texture != nullptr && texture->_tex != nullptr) {
            texture->Release();
            texture->_tex = nullptr;
            released.push_back(texture);
        }
    }
    _fonts.clear();
    _currentFont = nullptr;
}
