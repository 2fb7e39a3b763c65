#pragma once
// Writes one summary line of the player's total, shop, game-field and cup time before every
// player change and when it goes ("betaLog" only).

#include "content/Definition.h"
#include "core/PlayerChangeListener.h"

class PlayerTimeLogger : public Definition, public PlayerChangeListener {
public:
    explicit PlayerTimeLogger(const ObjectWeakPointer<XmlElement>& xml);
    ~PlayerTimeLogger() override;

    void BeforePlayerChange() override;
    void AfterPlayerChange() override {}
};
