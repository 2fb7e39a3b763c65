#pragma once
// Hard (owning), weak and using references to Objects, every step checked.

#include <cstddef>
#include <cstdint>

#include "core/Assert.h"
#include "core/Object.h"

namespace PointerDetail {
// Reached after a failed check where going on would touch a missing or dead object.
[[noreturn, gnu::cold, gnu::noinline]] void RefuseAccess(const char* what);
}  // namespace PointerDetail

template <class T>
class ObjectPointerBase {
public:
    // Checked access; an empty or dead pointer is reported and never dereferenced.
    T* operator->() const {
        CheckAlive();
        return _object;
    }

    T& operator*() const { return *operator->(); }

    template <class U>
    bool InstanceOf() const {
        if (_object == nullptr) {
            return true;
        }
        if (!IsReachable()) {
            return false;
        }
        return dynamic_cast<const U*>(_object) != nullptr;
    }

    // Only comparisons with NULL are offered.
    bool operator==(const void* second) const {
        Assert(second == NULL);
        return _object == nullptr;
    }
    bool operator!=(const void* second) const {
        Assert(second == NULL);
        return _object != nullptr;
    }

    template <class U>
    bool operator<(const ObjectPointerBase<U>& other) const {
        return reinterpret_cast<std::uintptr_t>(AsObjectAddress()) <
               reinterpret_cast<std::uintptr_t>(other.AsObjectAddress());
    }

    // The raw address, unchecked: for ordering and identity only, never for access.
    const void* AsObjectAddress() const { return _object; }
    LinkInfo* GetLinkInfo() const { return _info; }

protected:
    template <class>
    friend class ObjectPointerBase;
    template <class>
    friend class ObjectSmartPointer;
    template <class>
    friend class ObjectWeakPointer;

    // Checks "_info != NULL", "_info->_hardLinkCount >= 0" and the object's marker.
    bool IsReachable() const {
        Assert(_info != NULL);
        if (_info == nullptr) return false;
        Assert(_info->_hardLinkCount >= 0);
        if (_info->_hardLinkCount < 0) return false;
        const Object* object = _object;
        object->CheckState();
        return object->IsStateOk();
    }

    void CheckAlive() const {
        Assert(_object != NULL);
        if (_object == nullptr) PointerDetail::RefuseAccess("empty pointer");
        if (!IsReachable()) PointerDetail::RefuseAccess("dead object");
    }

    T* _object = nullptr;
    LinkInfo* _info = nullptr;
};

template <class T>
class ObjectSmartPointer : public ObjectPointerBase<T> {
    using Base = ObjectPointerBase<T>;

public:
    ObjectSmartPointer() = default;
    ObjectSmartPointer(std::nullptr_t) {}

    // Adopts a freshly created object.
    explicit ObjectSmartPointer(T* object) { Adopt(object); }

    ObjectSmartPointer(const ObjectSmartPointer& copy) : Base() { CopyFrom(copy); }

    template <class U>
    ObjectSmartPointer(const ObjectSmartPointer<U>& copy) {
        CopyFrom(copy);
    }

    // Takes over the source's hold: the count stays, the source is left empty.
    ObjectSmartPointer(ObjectSmartPointer&& source) noexcept : Base() { Steal(source); }

    template <class U>
    ObjectSmartPointer(ObjectSmartPointer<U>&& source) noexcept {
        Steal(source);
    }

    ~ObjectSmartPointer() { Release(); }

    ObjectSmartPointer& operator=(const ObjectSmartPointer& copy) {
        AssignFrom(copy);
        return *this;
    }

    template <class U>
    ObjectSmartPointer& operator=(const ObjectSmartPointer<U>& copy) {
        AssignFrom(copy);
        return *this;
    }

    ObjectSmartPointer& operator=(ObjectSmartPointer&& source) noexcept {
        MoveFrom(source);
        return *this;
    }

    template <class U>
    ObjectSmartPointer& operator=(ObjectSmartPointer<U>&& source) noexcept {
        MoveFrom(source);
        return *this;
    }

    ObjectSmartPointer& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }

    // Drops the hold (the object goes with the last one).
    void Reset() {
        Release();
        this->_object = nullptr;
        this->_info = nullptr;
    }

    // A hard pointer of class U to the same object; empty if this one is empty.
    template <class U>
    ObjectSmartPointer<U> Cast() const {
        ObjectSmartPointer<U> result;
        if (this->_object == nullptr) {
            return result;
        }
        U* object = dynamic_cast<U*>(this->_object);
        Assert(object != NULL);
        Assert(this->_info != NULL);
        if (object == nullptr || this->_info == nullptr) {
            return result;
        }
        const std::int32_t prevHardLinkCount = this->_info->_hardLinkCount;
        Assert(prevHardLinkCount > 0);
        result._object = object;
        result._info = this->_info;
        ++result._info->_hardLinkCount;
        Assert(result._info->_hardLinkCount > 0);
        return result;
    }

    T* Get() const { return this->_object; }

private:
    template <class>
    friend class ObjectSmartPointer;

    void Adopt(T* object) {
        if (object == nullptr) {
            return;
        }
        const Object* asObject = object;
        asObject->CheckState();
        this->_object = object;
        this->_info = asObject->GetLinkInfo();
        Assert(this->_info != NULL);
        if (this->_info == nullptr) {
            this->_object = nullptr;
            return;
        }
        Assert(this->_info->_hardLinkCount == 0);
        ++this->_info->_hardLinkCount;
        Assert(this->_info->_hardLinkCount > 0);
    }

    template <class U>
    void CopyFrom(const ObjectSmartPointer<U>& copy) {
        if (copy._object == nullptr) {
            Assert(copy._info == NULL);
            this->_object = nullptr;
            this->_info = nullptr;
            return;
        }
        Assert(copy._info != NULL);
        if (copy._info == nullptr) {
            this->_object = nullptr;
            this->_info = nullptr;
            return;
        }
        Assert(copy._info->_hardLinkCount >= 0);
        this->_object = copy._object;
        this->_info = copy._info;
        ++this->_info->_hardLinkCount;
        Assert(this->_info->_hardLinkCount > 0);
    }

    void Release() {
        if (this->_object == nullptr) {
            Assert(this->_info == NULL);
            return;
        }
        Assert(this->_info != NULL);
        if (this->_info == nullptr) return;
        Assert(this->_info->_hardLinkCount > 0);
        if (this->_info->_hardLinkCount <= 0) return;
        if (--this->_info->_hardLinkCount == 0) {
            const Object* asObject = this->_object;
            asObject->CheckState();
            delete this->_object;
        }
    }

    template <class U>
    void AssignFrom(const ObjectSmartPointer<U>& copy) {
        T* converted = copy._object;
        if (this->_object != converted) {
            Assert(this->_info != copy._info);
            // The source is held before the old target goes: the old target may own it.
            ObjectSmartPointer<T> old;
            old._object = this->_object;
            old._info = this->_info;
            CopyFrom(copy);
        } else {
            Assert(this->_info == copy._info);
        }
    }

    template <class U>
    void Steal(ObjectSmartPointer<U>& source) {
        this->_object = source._object;
        this->_info = source._info;
        source._object = nullptr;
        source._info = nullptr;
    }

    template <class U>
    void MoveFrom(ObjectSmartPointer<U>& source) {
        T* converted = source._object;
        if (this->_object == converted) {
            Assert(this->_info == source._info);
            // Two holds of one object become one.
            if (static_cast<void*>(this) != static_cast<void*>(&source)) source.Reset();
            return;
        }
        ObjectSmartPointer<T> old;
        old._object = this->_object;
        old._info = this->_info;
        Steal(source);
    }
};

template <class T>
class ObjectWeakPointer : public ObjectPointerBase<T> {
    using Base = ObjectPointerBase<T>;

public:
    ObjectWeakPointer() = default;
    ObjectWeakPointer(std::nullptr_t) {}

    // Any live object, also one that no hard pointer holds.
    explicit ObjectWeakPointer(T* object) { FromRaw(object); }

    ObjectWeakPointer(const ObjectWeakPointer& copy) : Base() { CopyFrom(copy); }

    template <class U>
    ObjectWeakPointer(const ObjectWeakPointer<U>& copy) {
        CopyFrom(copy);
    }

    template <class U>
    ObjectWeakPointer(const ObjectSmartPointer<U>& copy) {
        CopyFrom(copy);
    }

    ObjectWeakPointer(ObjectWeakPointer&& source) noexcept : Base() { Steal(source); }

    template <class U>
    ObjectWeakPointer(ObjectWeakPointer<U>&& source) noexcept {
        Steal(source);
    }

    ~ObjectWeakPointer() { Release(); }

    ObjectWeakPointer& operator=(const ObjectWeakPointer& copy) {
        AssignFrom(copy);
        return *this;
    }

    template <class U>
    ObjectWeakPointer& operator=(const ObjectPointerBase<U>& copy) {
        AssignFrom(copy);
        return *this;
    }

    ObjectWeakPointer& operator=(ObjectWeakPointer&& source) noexcept {
        MoveFrom(source);
        return *this;
    }

    template <class U>
    ObjectWeakPointer& operator=(ObjectWeakPointer<U>&& source) noexcept {
        MoveFrom(source);
        return *this;
    }

    ObjectWeakPointer& operator=(std::nullptr_t) {
        Release();
        return *this;
    }

    // A weak pointer of class U to the same object; empty if empty, dead or not a U.
    template <class U>
    ObjectWeakPointer<U> Cast() const {
        if (this->_object == nullptr) {
            return ObjectWeakPointer<U>();
        }
        if (!this->IsReachable()) {
            return ObjectWeakPointer<U>();
        }
        U* object = dynamic_cast<U*>(this->_object);
        Assert(object != NULL);
        return ObjectWeakPointer<U>(object);
    }

    T* Get() const { return this->_object; }

private:
    void FromRaw(T* object) {
        if (object == nullptr) {
            return;
        }
        const Object* asObject = object;
        asObject->CheckState();
        LinkInfo* info = asObject->GetLinkInfo();
        Assert(info != NULL);
        if (info == nullptr) return;
        Assert(info->_hardLinkCount >= 0);
        Assert(info->_weakLinkCount >= 0);
        this->_object = object;
        this->_info = info;
        ++info->_weakLinkCount;
        Assert(this->_info->_weakLinkCount > 0);
    }

    template <class U>
    void CopyFrom(const ObjectPointerBase<U>& copy) {
        if (copy._object == nullptr) {
            Assert(copy._info == NULL);
            return;
        }
        Assert(copy._info != NULL);
        if (copy._info == nullptr) return;
        Assert(copy._info->_weakLinkCount >= 0);
        this->_object = copy._object;
        this->_info = copy._info;
        ++this->_info->_weakLinkCount;
        Assert(this->_info->_weakLinkCount > 0);
    }

    void Release() {
        LinkInfo* info = this->_info;
        if (info == nullptr) {
            return;
        }
        Assert(info->_weakLinkCount > 0);
        --info->_weakLinkCount;
        this->_object = nullptr;
        this->_info = nullptr;
        if (info->_weakLinkCount == 0 && info->_hardLinkCount == -1) {
            delete info;
        }
    }

    template <class U>
    void AssignFrom(const ObjectPointerBase<U>& copy) {
        if (this->_info != copy._info) {
            // The new record is counted before the old one may go.
            ObjectWeakPointer<T> old;
            old._object = this->_object;
            old._info = this->_info;
            this->_object = nullptr;
            this->_info = nullptr;
            CopyFrom(copy);
        } else {
            T* converted = copy._object;
            Assert(this->_object == converted);
        }
    }

    template <class U>
    void Steal(ObjectWeakPointer<U>& source) {
        this->_object = source._object;
        this->_info = source._info;
        source._object = nullptr;
        source._info = nullptr;
    }

    template <class U>
    void MoveFrom(ObjectWeakPointer<U>& source) {
        if (this->_info == source._info) {
            T* converted = source._object;
            Assert(this->_object == converted);
            if (static_cast<void*>(this) != static_cast<void*>(&source)) source.Release();
            return;
        }
        ObjectWeakPointer<T> old;
        old._object = this->_object;
        old._info = this->_info;
        Steal(source);
    }
};

// A weak reference that also counts as one use (AddReference/RemoveReference) of its object.
template <class T>
class UsingPointer {
public:
    UsingPointer() = default;
    UsingPointer(std::nullptr_t) {}

    explicit UsingPointer(const ObjectWeakPointer<T>& pointer) : _pointer(pointer) {
        if (_pointer != NULL) _pointer->AddReference();
    }

    UsingPointer(const UsingPointer& copy) : _pointer(copy._pointer) {
        if (_pointer != NULL) _pointer->AddReference();
    }

    ~UsingPointer() {
        if (_pointer != NULL) {
            _pointer->RemoveReference();
            _pointer = ObjectWeakPointer<T>();
        }
    }

    UsingPointer& operator=(const UsingPointer& copy) {
        if (_pointer.AsObjectAddress() == copy._pointer.AsObjectAddress()) {
            return *this;
        }
        ObjectWeakPointer<T> next = copy._pointer;
        if (_pointer != NULL) _pointer->RemoveReference();
        _pointer = next;
        if (_pointer != NULL) _pointer->AddReference();
        return *this;
    }

    ObjectWeakPointer<T> operator->() const {
        Assert(_pointer != NULL);
        return _pointer;
    }

    const ObjectWeakPointer<T>& GetPointer() const { return _pointer; }

    bool operator==(const void* second) const {
        Assert(second == NULL);
        return _pointer.AsObjectAddress() == nullptr;
    }
    bool operator!=(const void* second) const {
        Assert(second == NULL);
        return _pointer.AsObjectAddress() != nullptr;
    }

    // Ordered by object address, for use in sets.
    bool operator<(const UsingPointer& other) const { return _pointer < other._pointer; }

private:
    ObjectWeakPointer<T> _pointer;
};
