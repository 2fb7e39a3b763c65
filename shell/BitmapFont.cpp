#include "shell/BitmapFont.h"

#include <cstdio>

#include "core/Assert.h"
#include "core/Int.h"
#include "core/String.h"
#include "platform/FilePort.h"
#include "shell/CheckText.h"
#include "shell/ImageLoader.h"

namespace {

// The strict decimal form; false (after the parser's report) for any other text.
bool ParseNumber(const std::string& text, int& value) {
    value = Int::Parse(text);
    return Int::ToString(value) == text;
}

// One "key = value" header line.
bool ReadHeaderValue(std::FILE* f, const char* key, const char* checkText, int& value) {
    std::string line = String::ReadLine(f);
    const bool cut = String::IsHeadCut(line, key);
    CHECK_TEXT(cut, checkText);
    if (!cut) return false;
    return ParseNumber(line, value);
}

// One field of a glyph line: the key, then the number up to the next ";".
bool ReadField(std::string& line, const char* key, const char* checkText, int& value) {
    const bool cut = String::IsHeadCut(line, key);
    CHECK_TEXT(cut, checkText);
    if (!cut) return false;
    const std::size_t semiPos = line.find(';');
    Assert(semiPos != std::string::npos);
    if (semiPos == std::string::npos) return false;
    const bool ok = ParseNumber(line.substr(0, semiPos), value);
    line.erase(0, semiPos + 1);
    return ok;
}

}  // namespace

BitmapFont::BitmapFont(int tracking, int spaceSize, const std::string& name, bool)
    : _name(name), _texture(std::make_shared<OldTexture>()), _tracking(tracking), _requestedSpaceSize(spaceSize) {}

BitmapFont BitmapFont::WithoutPicture(const std::string& name, int tracking, int spaceSize) {
    return BitmapFont(tracking, spaceSize, name, true);
}

BitmapFont::BitmapFont(const std::string& name, int tracking, int spaceSize)
    : _name(name), _texture(std::make_shared<OldTexture>()), _tracking(tracking), _requestedSpaceSize(spaceSize) {
    ImageLoader::Load(_texture->image, "fonts\\" + name + ".png");
    _texture->_linearFilter = 1;
    const int bitmapWidth = _texture->image.width;
    const int bitmapHeight = _texture->image.height;
    Assert(bitmapWidth > 0);
    Assert((bitmapWidth & (bitmapWidth - 1)) == 0);
    Assert(bitmapHeight > 0);
    Assert((bitmapHeight & (bitmapHeight - 1)) == 0);
    // No device texture for a picture that did not load.
    if (bitmapWidth > 0 && bitmapHeight > 0) _texture->Upload();
    ReadMetrics("fonts\\" + name + ".txt", bitmapWidth, bitmapHeight);
}

void BitmapFont::ReadMetrics(const std::string& path, int bitmapWidth, int bitmapHeight) {
    charInfo.clear();
    std::FILE* f = FilePort::Open(path, "rb");
    Assert(f != NULL);
    if (f == nullptr) return;

    int ascent = 0, descent = 0, height = 0, xOffset = 0, numChars = 0;
    if (ReadHeaderValue(f, "ascent = ", "String::IsHeadCut(line, \"ascent = \")", ascent)) {
        CHECK_TEXT(0 < ascent && ascent <= bitmapHeight, "0 < value && value <= bitmapHeight");
    }
    if (ReadHeaderValue(f, "descent = ", "String::IsHeadCut(line, \"descent = \")", descent)) {
        CHECK_TEXT(0 <= descent && descent < bitmapHeight, "0 <= value && value < bitmapHeight");
    }
    if (ReadHeaderValue(f, "height = ", "String::IsHeadCut(line, \"height = \")", height)) {
        CHECK_TEXT(0 < height && height <= bitmapHeight, "0 < value && value <= bitmapHeight");
    }
    if (ReadHeaderValue(f, "xOffset = ", "String::IsHeadCut(line, \"xOffset = \")", xOffset)) {
        CHECK_TEXT(0 <= xOffset && xOffset < bitmapWidth, "0 <= value && value < bitmapWidth");
    }
    if (ReadHeaderValue(f, "yOffset = ", "String::IsHeadCut(line, \"yOffset = \")", _yOffset)) {
        CHECK_TEXT(0 <= _yOffset && _yOffset < bitmapHeight, "0 <= value && value < bitmapHeight");
    }
    if (ReadHeaderValue(f, "numChars = ", "String::IsHeadCut(line, \"numChars = \")", numChars)) {
        CHECK_TEXT(numChars > 0, "value > 0");
    }
    _fontHeight = height;
    Assert(_fontHeight == ascent + descent + 2 * _yOffset);

    for (int n = 0; n < numChars; ++n) {
        std::string line = String::ReadLine(f);
        CharInfo info;
        int a = 0, b = 0, c = 0, x = 0, y = 0;
        bool ok = ReadField(line, "char = ", "String::IsHeadCut(line, \"char = \")", info.code);
        ok = ok && ReadField(line, " A = ", "String::IsHeadCut(line, \" A = \")", a);
        ok = ok && ReadField(line, " B = ", "String::IsHeadCut(line, \" B = \")", b);
        ok = ok && ReadField(line, " C = ", "String::IsHeadCut(line, \" C = \")", c);
        ok = ok && ReadField(line, " x = ", "String::IsHeadCut(line, \" x = \")", x);
        ok = ok && ReadField(line, " y = ", "String::IsHeadCut(line, \" y = \")", y);
        if (ok) {
            Assert(line == " ");
        }
        if (!ok) {
            // A line that does not parse gives no glyph; a file shorter than it says ends here.
            if (std::feof(f)) break;
            continue;
        }
        CHECK_TEXT(info.code >= 0, "value >= 0");
        CHECK_TEXT(info.code != 32, "value != 32");
        CHECK_TEXT(-bitmapWidth < a && a < bitmapWidth, "-bitmapWidth < value && value < bitmapWidth");
        CHECK_TEXT(0 < b && b < bitmapWidth, "0 < value && value < bitmapWidth");
        CHECK_TEXT(-bitmapWidth < c && c < bitmapWidth, "-bitmapWidth < value && value < bitmapWidth");
        CHECK_TEXT(-bitmapWidth < x && x < bitmapWidth, "-bitmapWidth < value && value < bitmapWidth");
        CHECK_TEXT(0 < y && y < bitmapHeight, "0 < value && value < bitmapHeight");
        // Codes the tables cannot hold are left out.
        CHECK_TEXT(info.code <= MAX_CODE, "value <= MAX_CODE");
        if (info.code < 0 || info.code == 32 || info.code > MAX_CODE) continue;
        info.aWidth = a - xOffset;
        info.bWidth = b + 2 * xOffset;
        info.cWidth = c - xOffset;
        info.x = x;
        info.y = bitmapHeight - 2 * _yOffset - descent - y - 1;
        charInfo.push_back(info);
    }
    for (const CharInfo& i : charInfo) {
        CHECK_TEXT(i.x >= 0, "i->x >= 0");
        CHECK_TEXT(i.x + i.bWidth <= bitmapWidth, "i->x + i->bWidth <= bitmapWidth");
        CHECK_TEXT(i.y >= 0, "i->y >= 0");
        CHECK_TEXT(i.y + _fontHeight <= bitmapHeight, "i->y + _fontHeight <= bitmapHeight");
    }
    const std::string last = String::ReadLine(f);
    CHECK_TEXT(last.empty(), "line == \"\"");
    CHECK_TEXT(std::fclose(f) == 0, "fclose(f) == 0");
    _fontHeight = height - 2 * _yOffset;
    _spaceSize = _requestedSpaceSize > 0 ? _requestedSpaceSize : _fontHeight / 4;
}

BitmapFont::Info BitmapFont::GetInfo() const {
    Info info;
    info.name = _name;
    info.texture = _texture;
    info.height = _fontHeight;
    info.tracking = _tracking;
    info.spaceSize = _spaceSize;
    info.yOffset = _yOffset;
    return info;
}

int BitmapFont::GetNumChars() const { return static_cast<int>(charInfo.size()); }

CharInfo BitmapFont::GetCharInfo(int index) const {
    Assert(index >= 0);
    Assert(index < (int)charInfo.size());
    if (index < 0 || index >= static_cast<int>(charInfo.size())) return CharInfo();
    return charInfo[static_cast<std::size_t>(index)];
}
