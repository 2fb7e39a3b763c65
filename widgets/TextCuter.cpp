#include "widgets/TextCuter.h"

#include "shell/RenderDeviceFonts.h"

void TextCuter::CutText(int maxWidth, const std::string& fontName, const std::string& text,
                        std::vector<std::string>& out) {
    if (text.find('|') != std::string::npos) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = text.find('|', start);
            if (bar == std::string::npos) {
                out.push_back(text.substr(start));
                return;
            }
            out.push_back(text.substr(start, bar - start));
            start = bar + 1;
        }
    }
    auto fits = [&](const std::string& candidate) {
        return Render::fonts.GetStringWidth(candidate, fontName) < maxWidth;
    };
    // Every word but the first carries its separating space in front; the first word (and any
    // word while the text has given no blank yet) goes onto the line whole, however wide.
    auto isFirstWord = [](const std::string& word) { return word.empty() || word[0] != ' '; };
    std::string line;
    std::string word;
    for (char c : text) {
        if (c != ' ') {
            word += c;
            continue;
        }
        if (isFirstWord(word) || fits(line + word)) {
            line += word;
        } else {
            out.push_back(line);
            line = word.substr(1);
        }
        word = " ";
    }
    if (isFirstWord(word) || fits(line + word)) {
        out.push_back(line + word);
    } else {
        out.push_back(line);
        out.push_back(word.substr(1));
    }
}
