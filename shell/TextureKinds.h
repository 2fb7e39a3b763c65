#pragma once
// When a native texture is on the device: while used, always, or while used or a group of it is loaded.

#include <string>

#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/NativeTexture.h"

template <class T>
class ReferenceCountingTexture : public T {
public:
    explicit ReferenceCountingTexture(const ObjectWeakPointer<XmlElement>& element) : T(element) {}
    ~ReferenceCountingTexture() override {
        Assert(_referenceCount == 0);
        // A texture that dies in use still leaves the device.
        if (_referenceCount > 0) {
            _referenceCount = 0;
            this->Unload();
        }
    }

    void AddReference() override {
        Assert(_referenceCount >= 0);
        ++_referenceCount;
        Assert(_referenceCount > 0);
        if (_referenceCount == 1) this->Load();
    }

    void RemoveReference() override {
        Assert(_referenceCount > 0);
        if (_referenceCount <= 0) return;  // never below zero
        --_referenceCount;
        Assert(_referenceCount >= 0);
        if (_referenceCount == 0) this->Unload();
    }

    int GetReferenceCount() const { return _referenceCount; }

private:
    int _referenceCount = 0;
};

template <class T>
class AlwaysLoadedTexture : public T {
public:
    static const int STATE_CONSTRUCTING = 0;
    static const int STATE_LOADED = 1;
    static const int STATE_UNLOADED = 2;

    explicit AlwaysLoadedTexture(const ObjectWeakPointer<XmlElement>& element) : T(element) {
        _state = STATE_CONSTRUCTING;
        this->Load();
        _state = STATE_LOADED;
    }
    ~AlwaysLoadedTexture() override {
        Assert(_state == STATE_LOADED);
        this->Unload();
        _state = STATE_UNLOADED;
    }

    void AddReference() override {}
    void RemoveReference() override {}
    int GetState() const { return _state; }

private:
    int _state = STATE_CONSTRUCTING;
};

template <class T>
class GroupLoadingTexture : public ReferenceCountingTexture<T> {
public:
    explicit GroupLoadingTexture(const ObjectWeakPointer<XmlElement>& element) : ReferenceCountingTexture<T>(element) {
        _groups = element->GetStringAttribute("groups");
        WalkGroups(true);
    }
    ~GroupLoadingTexture() override { WalkGroups(false); }

    const std::string& GetGroups() const { return _groups; }

private:
    void WalkGroups(bool join) {
        std::size_t startPos = 0;
        while (startPos < _groups.length()) {
            std::size_t semiPos = _groups.find(';', startPos);
            if (semiPos == std::string::npos) semiPos = _groups.length();
            Assert(startPos < semiPos);
            const std::string name = _groups.substr(startPos, semiPos - startPos);
            if (join) {
                this->JoinGroup(name);
            } else {
                this->LeaveGroup(name);
            }
            startPos = semiPos + 1;
        }
    }

    std::string _groups;
};
