#pragma once
// How a piece of rich text is drawn: font, glyph scale, line height, vertical shift of runs and
// alignment. A format never changes; an override makes a changed copy and the original stays
// shared by everything that inherits it.

#include <string>

#include "core/ObjectSmartPointer.h"

class TextFormat : public Interface {
public:
    // Content ranges, checked where a value is read: a scale outside 0..16 (or not a number) and
    // a shift beyond 10000 units are reported and replaced, so no measure can overflow.
    static constexpr float MAX_SCALE = 16.0f;
    static constexpr int MAX_DY = 10000;

    // The height is the font's height times heightScale, truncated; dy is 0. align is "left",
    // "center" or "right", valign "top", "middle" or "bottom".
    TextFormat(const std::string& fontName, float fontScale, float heightScale, const std::string& align,
               const std::string& valign);
    // Every field as given, unchecked.
    TextFormat(const std::string& fontName, float fontScale, int height, int dy, const std::string& align,
               const std::string& valign);

    // Keeps the height: it is not measured again for the new font.
    ObjectSmartPointer<TextFormat> CopyWithFontName(const std::string& fontName) const;
    ObjectSmartPointer<TextFormat> CopyWithFontScale(float fontScale) const;
    ObjectSmartPointer<TextFormat> CopyWithDy(int dy) const;
    // Measures the height again from the current font; only a format without a shift takes it.
    ObjectSmartPointer<TextFormat> CopyWithHeightScale(float heightScale) const;

    bool IsCenterAlign() const { return _align == "center"; }
    bool IsMiddleAlign() const { return _valign == "middle"; }

    const std::string& GetFontName() const { return _fontName; }
    float GetFontScale() const { return _fontScale; }
    int GetHeight() const { return _height; }
    int GetDy() const { return _dy; }
    const std::string& GetAlign() const { return _align; }
    const std::string& GetValign() const { return _valign; }

private:
    std::string _fontName;
    float _fontScale = 1.0f;
    int _height = 0;
    int _dy = 0;
    std::string _align;
    std::string _valign;
};
