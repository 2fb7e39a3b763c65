#pragma once
// Ends the active player's tutorial when the screen that holds it is closed: "Want tutorial"
// becomes false if the player has it.

#include "content/Definition.h"

class SkipTutorialGuard : public Definition {
public:
    explicit SkipTutorialGuard(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {}
    ~SkipTutorialGuard() override;
};
