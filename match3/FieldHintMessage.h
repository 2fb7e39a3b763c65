#pragma once
// The hint boxes of the game field: hint texts by name, and a box made from the hint template
// with its arrow pointing at a place of the screen.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Object.h"

class FieldHintMessage : public virtual Interface {
public:
    // Reads the hint texts from "local\FieldHints.xml".
    FieldHintMessage();

    // Shows the box of a hint at (x, y) with its arrow at (arrowX, arrowY) turned by angle
    // degrees; false when hints are off, a box holds the field paused, or the hint is unknown or
    // has no text.
    bool ShowHint(int x, int y, const std::string& name, int arrowX, int arrowY, float angle);

    // Box geometry for a hint of n lines in a font of that height.
    static int HintTextY(int fontHeight, int lines);
    static int HintHeight(int fontHeight, int lines);
    // Where the field puts the lower edge of every box; a box grows upwards with its lines.
    static constexpr int BOX_Y = 300;
    // The most lines a box can show between BOX_Y and the top of the 600 units of the screen (some
    // when the height is unknown).
    static int MaxHintLines(int fontHeight);
    // Hint texts are read up to this many bytes: more can never fit a box.
    static constexpr std::size_t MAX_HINT_TEXT = 4096;

    // A hint that cannot be shown is reported once until this is called again (every level load).
    void ResetHintReports() { _reportedHints.clear(); }

    // The last hint shown: its name, the point its arrow points at and the arrow's angle.
    struct ShownHint {
        std::string name;
        int arrowX = 0;
        int arrowY = 0;
        float angle = 0.0f;
    };
    const ShownHint& GetShownHint() const { return _shownHint; }
    void SetShownHint(const ShownHint& hint) { _shownHint = hint; }

    void SetHintOpen(bool open) { _hintOpen = open; }
    bool IsHintOpen() const { return _hintOpen; }
    const std::map<std::string, std::vector<std::string>>& GetHints() const { return _hintsMap; }

protected:
    void LoadHints(const std::string& fileName);

private:
    void ReportHintOnce(const std::string& key, const std::string& text);

    std::map<std::string, std::vector<std::string>> _hintsMap;
    std::set<std::string> _reportedHints;
    bool _hintOpen = false;
    ShownHint _shownHint;
};
