#pragma once
// A read-only text variable that follows the active player's name.

#include <string>

#include "core/PlayerChangeListener.h"
#include "core/Variable.h"

class ActivePlayerNameString : public ReadVariable<std::string>, public PlayerChangeListener {
public:
    ActivePlayerNameString();
    ~ActivePlayerNameString() override;

    std::string GetValue() override;
    bool IsChanged() override;

    void BeforePlayerChange() override;
    void AfterPlayerChange() override;

private:
    std::string _name;
    bool _isNameValid = false;
    bool _isInPlayerChange = true;
    bool _wasRead = false;
};
