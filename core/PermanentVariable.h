#pragma once
// Variables whose value lives in the persistent storage under a name, in the Global scope or
// the Local scope of the active player. Each answers from a cached copy while it is registered
// on the stored value; replacing or removing the stored value drops the registration.

#include <string>

#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/PermanentValueListener.h"
#include "core/Variable.h"

template <class Scope, class T>
class CommonPermanentVariable : public Variable<T>, public PermanentValueListener {
public:
    explicit CommonPermanentVariable(std::string name) : _name(std::move(name)) {}

    ~CommonPermanentVariable() override {
        if (_isCachedValueValid) {
            PermanentStorage::RemoveListener<Scope>(_name, Self());
            Assert(!_isCachedValueValid);
        }
    }

    T GetValue() override {
        if (_isCachedValueValid) {
            return _cachedValue;
        }
        _cachedValue = ReadStoredValue();
        _hasCachedValue = true;
        if (!CanRegister()) {
            return _cachedValue;
        }
        PermanentStorage::AddListener<Scope>(_name, Self());
        _isCachedValueValid = true;
        Assert(_isCachedValueValid);
        return _cachedValue;
    }

    bool IsChanged() override {
        if (_isCachedValueValid) {
            return false;
        }
        if (!_hasCachedValue) {
            return true;
        }
        if (!CanRegister()) {
            return false;  // still nothing stored under the name
        }
        const T stored = ReadStoredValue();
        if (!(stored == _cachedValue)) {
            return true;
        }
        PermanentStorage::AddListener<Scope>(_name, Self());
        _isCachedValueValid = true;
        return false;
    }

    void SetValue(T value) override {
        if (_isCachedValueValid && value == _cachedValue) {
            return;
        }
        WriteStoredValue(value);
        Assert(!_isCachedValueValid);
    }

    std::string GetName() const { return _name; }
    bool IsCachedValueValid() const { return _isCachedValueValid; }
    bool HasCachedValue() const { return _hasCachedValue; }

protected:
    virtual T ReadStoredValue() = 0;
    virtual void WriteStoredValue(T value) = 0;
    // Only a stored value can carry a registration.
    virtual bool CanRegister() { return PermanentStorage::IsDefined<Scope>(_name); }

    void OnUnlinked() override { _isCachedValueValid = false; }

    std::string _name;

private:
    ObjectWeakPointer<PermanentValueListener> Self() {
        return ObjectWeakPointer<PermanentValueListener>(static_cast<PermanentValueListener*>(this));
    }

    T _cachedValue = T();
    bool _isCachedValueValid = false;
    bool _hasCachedValue = false;
};

// Reads a name that must be defined in its scope.
template <class Scope, class T>
class PermanentVariable : public CommonPermanentVariable<Scope, T> {
public:
    explicit PermanentVariable(std::string name) : CommonPermanentVariable<Scope, T>(std::move(name)) {}

protected:
    T ReadStoredValue() override { return PermanentStorage::Get<Scope, T>(this->_name); }
    void WriteStoredValue(T value) override { PermanentStorage::Set<Scope, T>(this->_name, value); }
};

// Stores its default under the name when the name is not defined, then reads it.
template <class Scope, class T>
class PermanentVariableOrDef : public CommonPermanentVariable<Scope, T> {
public:
    PermanentVariableOrDef(std::string name, T defaultValue)
        : CommonPermanentVariable<Scope, T>(std::move(name)), _defaultValue(defaultValue) {}

protected:
    T ReadStoredValue() override { return PermanentStorage::GetOrDef<Scope, T>(this->_name, _defaultValue); }
    void WriteStoredValue(T value) override { PermanentStorage::Set<Scope, T>(this->_name, value); }
    bool CanRegister() override { return true; }

private:
    T _defaultValue = T();
};

// One name kept globally and for the active player, kept equal; the player's value wins,
// and a player without the name inherits the global value.
template <class T>
class PermanentGlobalLocalVariable : public Variable<T> {
public:
    explicit PermanentGlobalLocalVariable(std::string name)
        : _name(std::move(name)),
          _globalVariable(new PermanentVariable<Global, T>(_name)),
          _localVariable(new PermanentVariable<Local, T>(_name)) {}

    PermanentGlobalLocalVariable(std::string name, T defaultValue)
        : _name(std::move(name)),
          _globalVariable(new PermanentVariableOrDef<Global, T>(_name, defaultValue)),
          _localVariable(new PermanentVariable<Local, T>(_name)) {}

    bool IsChanged() override {
        if (_globalVariable->IsChanged()) {
            return true;
        }
        return _localVariable->IsChanged();
    }

    void SetValue(T value) override {
        _localVariable->SetValue(value);
        _globalVariable->SetValue(value);
    }

    T GetValue() override {
        if (!IsChanged()) {
            return _localVariable->GetValue();
        }
        T globalValue = _globalVariable->GetValue();
        _localVariable = ObjectSmartPointer<Variable<T>>(new PermanentVariableOrDef<Local, T>(_name, globalValue));
        T localValue = _localVariable->GetValue();
        if (!(localValue == globalValue)) {
            _globalVariable->SetValue(localValue);
            globalValue = _globalVariable->GetValue();
            _localVariable =
                ObjectSmartPointer<Variable<T>>(new PermanentVariableOrDef<Local, T>(_name, globalValue));
            localValue = _localVariable->GetValue();
            Assert(localValue == globalValue);
        }
        return localValue;
    }

private:
    std::string _name;
    ObjectSmartPointer<Variable<T>> _globalVariable;
    ObjectSmartPointer<Variable<T>> _localVariable;
};
