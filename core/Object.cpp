#include "core/Object.h"

#include "core/Assert.h"

const Object* Object::_rootObject = nullptr;

Object::Object(RootTag) : _state(OK_STATE), _linkInfo(new LinkInfo) {
    _prevObject = this;
    _nextObject = this;
    _rootObject = this;
}

Object::Object(LastingTag) : _state(OK_STATE), _linkInfo(new LinkInfo) {}

void Object::DestroyChecked() {
    Assert(_state == OK_STATE);
    _state = 0;
    if (this == _rootObject) {
        // The last object of the process must be alone.
        Assert(_nextObject == this);
        Assert(_prevObject == this);
    } else {
        Assert(_nextObject != this);
        if (_nextObject && _nextObject != this) _nextObject->_prevObject = _prevObject;
        Assert(_prevObject != this);
        if (_prevObject && _prevObject != this) _prevObject->_nextObject = _nextObject;
    }
    Assert(_linkInfo != NULL);
    if (_linkInfo == nullptr) {
        return;
    }
    Assert(_linkInfo->_hardLinkCount == 0);
    Assert(_linkInfo->_weakLinkCount >= 0);
    if (_linkInfo->_weakLinkCount <= 0) {
        delete _linkInfo;
    } else {
        _linkInfo->_hardLinkCount = -1;
    }
    _linkInfo = nullptr;
}

void Object::ReportBadState() const { Assert(_state == OK_STATE); }

void Object::CheckAllDestroyed() {
    Assert(Root()._nextObject == &Root());
    Assert(Root()._prevObject == &Root());
}
