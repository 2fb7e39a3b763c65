#pragma once
// A bitmap font read from its glyph picture and its metrics file in the folder "fonts\".

#include <memory>
#include <string>
#include <vector>

#include "shell/OldTexture.h"

struct CharInfo {
    int code = 0;
    int aWidth = 0;
    int bWidth = 0;
    int cWidth = 0;
    int x = 0;
    int y = 0;
};

class BitmapFont {
public:
    BitmapFont(const std::string& name, int tracking, int spaceSize);

    struct Info {
        std::string name;
        std::shared_ptr<OldTexture> texture;
        int height = 0;
        int tracking = 0;
        int spaceSize = 0;
        int yOffset = 0;
    };
    Info GetInfo() const;
    int GetNumChars() const;
    CharInfo GetCharInfo(int index) const;

    // A font with an empty texture whose metrics are read with ReadMetrics.
    static BitmapFont WithoutPicture(const std::string& name, int tracking, int spaceSize);
    // Reads the metrics of a picture of the given size.
    void ReadMetrics(const std::string& path, int bitmapWidth, int bitmapHeight);

    // Highest character code a font may hold.
    static const int MAX_CODE = 0x10FFFF;

private:
    explicit BitmapFont(int tracking, int spaceSize, const std::string& name, bool noLoad);

    std::string _name;
    std::shared_ptr<OldTexture> _texture;
    int _fontHeight = 0;
    int _tracking = 0;
    int _spaceSize = 0;
    int _requestedSpaceSize = 0;
    int _yOffset = 0;
    std::vector<CharInfo> charInfo;
};
