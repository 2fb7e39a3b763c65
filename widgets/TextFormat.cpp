#include "widgets/TextFormat.h"

#include "core/ContentValues.h"
#include "core/Assert.h"
#include "shell/CheckText.h"
#include "shell/RenderDeviceFonts.h"

namespace {

float CheckedFontScale(float scale) {
    return CHECKED_FLOAT(scale, 0.0f, TextFormat::MAX_SCALE, 1.0f, "0.0f <= fontScale && fontScale <= 16.0f");
}

}  // namespace

TextFormat::TextFormat(const std::string& fontName, float fontScale, float heightScale, const std::string& align,
                       const std::string& valign)
    : _fontName(fontName), _fontScale(CheckedFontScale(fontScale)), _align(align), _valign(valign) {
    Assert(align == "left" || align == "center" || align == "right");
    heightScale = CHECKED_FLOAT(heightScale, 0.0f, MAX_SCALE, 1.0f, "0.0f <= heightScale && heightScale <= 16.0f");
    Assert(valign == "top" || valign == "middle" || valign == "bottom");
    // Truncated, not rounded: the single-precision 1.55 lies below 1.55, so 20 x 1.55 gives 30.
    _height = static_cast<int>(static_cast<double>(Render::fonts.GetFontHeight(fontName)) *
                               static_cast<double>(heightScale));
}

TextFormat::TextFormat(const std::string& fontName, float fontScale, int height, int dy, const std::string& align,
                       const std::string& valign)
    : _fontName(fontName), _fontScale(fontScale), _height(height), _dy(dy), _align(align), _valign(valign) {}

ObjectSmartPointer<TextFormat> TextFormat::CopyWithFontName(const std::string& fontName) const {
    CHECK_TEXT(Render::fonts.DoesFontExist(fontName), "Render::device.DoesFontExist(newFontName)");
    return ObjectSmartPointer<TextFormat>(new TextFormat(fontName, _fontScale, _height, _dy, _align, _valign));
}

ObjectSmartPointer<TextFormat> TextFormat::CopyWithFontScale(float fontScale) const {
    return ObjectSmartPointer<TextFormat>(
        new TextFormat(_fontName, CheckedFontScale(fontScale), _height, _dy, _align, _valign));
}

ObjectSmartPointer<TextFormat> TextFormat::CopyWithDy(int dy) const {
    dy = CHECKED_INT(dy, -MAX_DY, MAX_DY, "-10000 <= dy && dy <= 10000");
    return ObjectSmartPointer<TextFormat>(new TextFormat(_fontName, _fontScale, _height, dy, _align, _valign));
}

ObjectSmartPointer<TextFormat> TextFormat::CopyWithHeightScale(float heightScale) const {
    Assert(_dy == 0);
    return ObjectSmartPointer<TextFormat>(new TextFormat(_fontName, _fontScale, heightScale, _align, _valign));
}
