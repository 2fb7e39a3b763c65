#pragma once
// Pooled, reference-counted objects in one ring of live objects.

#include <cstdint>

#include "core/Pool.h"

// Counts shared by an object and its smart pointers; outlives the object while weak pointers remain.
struct LinkInfo : public Poolable {
    std::int32_t _hardLinkCount = 0;  // -1 once the object died with weak pointers left
    std::int32_t _weakLinkCount = 0;
};

class Object : public Poolable {
public:
    static constexpr std::uint32_t OK_STATE = 0x0132413C;

    Object();
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void CheckState() const {
        if (__builtin_expect(_state != OK_STATE, 0)) ReportBadState();
    }
    bool IsStateOk() const { return _state == OK_STATE; }

    // The leak check: the ring must hold nothing but its head.
    static void CheckAllDestroyed();

    // Read-only views for the pointers and for tests.
    LinkInfo* GetLinkInfo() const { return _linkInfo; }
    const Object* NextObject() const { return _nextObject; }
    const Object* PrevObject() const { return _prevObject; }

protected:
    // For shared objects that last as long as the process: outside the ring, never destroyed.
    struct LastingTag {};
    explicit Object(LastingTag);

private:
    struct RootTag {};
    explicit Object(RootTag);
    friend Object& Root();

    // The failed state check.
    [[gnu::cold, gnu::noinline]] void ReportBadState() const;
    // The destructor's every step checked and reported, for an object that is not plainly sound.
    [[gnu::cold, gnu::noinline]] void DestroyChecked();

    Object* _prevObject = nullptr;
    Object* _nextObject = nullptr;
    std::uint32_t _state = 0;
    LinkInfo* _linkInfo = nullptr;

    static const Object* _rootObject;
};

// Head of the ring of live objects, built on first use.
inline Object& Root() {
    static Object root{Object::RootTag{}};
    return root;
}

inline Object::Object() : _state(OK_STATE), _linkInfo(new LinkInfo) {
    Object& root = Root();
    _nextObject = &root;
    _prevObject = root._prevObject;
    root._prevObject->_nextObject = this;
    root._prevObject = this;
}

inline Object::~Object() {
    LinkInfo* info = _linkInfo;
    if (__builtin_expect(_state != OK_STATE || this == _rootObject || info == nullptr || info->_hardLinkCount != 0 ||
                             info->_weakLinkCount < 0 || _nextObject == nullptr || _nextObject == this ||
                             _prevObject == nullptr || _prevObject == this,
                         0)) {
        DestroyChecked();
        return;
    }
    _state = 0;
    _nextObject->_prevObject = _prevObject;
    _prevObject->_nextObject = _nextObject;
    if (info->_weakLinkCount == 0) {
        delete info;
    } else {
        info->_hardLinkCount = -1;
    }
    _linkInfo = nullptr;
}

// Virtual base of nearly every class, so several bases share one Object part.
class Interface : public virtual Object {
public:
    Interface() = default;
    ~Interface() override = default;
};
