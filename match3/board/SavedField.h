#pragma once
// The player's saved level, the XML value "Game field": a running level cell by cell, or the name
// of the level to play next. The value lives in a profile the player may edit, so reading checks
// every size, count and code and refuses the whole running level on the first inconsistency.

#include <string>
#include <vector>

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"
#include "match3/board/BoardTypes.h"

struct SavedCell {
    int color = NO_CELL;
    bool born = false;
    int painted = 0;
    int locks = 0;
    int bonus = NO_BONUS;
};

// The hint box that was open, pointing at (x, y).
struct SavedHint {
    bool present = false;
    std::string message;
    int x = 0;
    int y = 0;
    float angle = 0.0f;
};

struct SavedField {
    int matchCounter = 0;
    int sizeX = 0;
    int sizeY = 0;
    std::string levelName;
    int levelTime = 0;
    float timeLeft = 0.0f;
    std::vector<int> chips;
    SavedHint hint;
    // [y][x], the top row first.
    std::vector<std::vector<SavedCell>> cells;
};

enum class SavedFieldForm {
    Running,    // every member of SavedField is filled
    NextLevel,  // only levelName: the level to load (empty: the first level)
    Broken,     // refused; levelName holds the stored name when there was one
};

// The running level. Colours are written one digit each, as in a chip set.
ObjectSmartPointer<XmlElement> WriteRunningField(const SavedField& field);
// The level to play next.
ObjectSmartPointer<XmlElement> WriteNextLevel(const std::string& levelName);

// Reads either form; for Broken, problem says what was wrong. Nothing is reported here.
SavedFieldForm ReadSavedField(const ObjectWeakPointer<XmlElement>& element, SavedField& field, std::string& problem);
