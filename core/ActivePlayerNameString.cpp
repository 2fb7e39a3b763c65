#include "core/ActivePlayerNameString.h"

#include "core/Assert.h"
#include "core/PermanentStorage.h"

ActivePlayerNameString::ActivePlayerNameString() { AfterPlayerChange(); }

ActivePlayerNameString::~ActivePlayerNameString() { AllowDestructor(); }

void ActivePlayerNameString::BeforePlayerChange() {
    Assert(!_isInPlayerChange);
    _isInPlayerChange = true;
    _isNameValid = false;
}

void ActivePlayerNameString::AfterPlayerChange() {
    Assert(_isInPlayerChange);
    _isInPlayerChange = false;
    Assert(!_isNameValid);
}

std::string ActivePlayerNameString::GetValue() {
    Assert(!_isInPlayerChange);
    if (!_isNameValid) {
        _name = PermanentStorage::GetActivePlayerName();
        _isNameValid = true;
        _wasRead = true;
    }
    Assert(_isNameValid);
    return _name;
}

bool ActivePlayerNameString::IsChanged() {
    if (_isNameValid) {
        return false;
    }
    if (!_wasRead) {
        return true;
    }
    if (_name == PermanentStorage::GetActivePlayerName()) {
        _isNameValid = true;
        return false;
    }
    return true;
}
