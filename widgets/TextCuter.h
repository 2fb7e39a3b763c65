#pragma once
// Word wrap: breaks a text into lines that fit a width in a font, at blanks or at every '|'.

#include <string>
#include <vector>

class TextCuter {
public:
    // Appends the lines to out. A text holding '|' is cut at every '|' and nothing is measured;
    // otherwise a line stays strictly narrower than maxWidth unless one word alone is wider.
    static void CutText(int maxWidth, const std::string& fontName, const std::string& text,
                        std::vector<std::string>& out);
};
