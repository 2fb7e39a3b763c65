#pragma once
// Typed values that holders read, write and poll for change, wherever the value lives.

#include <string>

#include "core/ObjectSmartPointer.h"

template <class T>
class ReadVariable : public virtual Interface {
public:
    virtual T GetValue() = 0;
    // True when GetValue may now give another value than the one last handed out.
    virtual bool IsChanged() = 0;
};

template <class T>
class Variable : public ReadVariable<T> {
public:
    virtual void SetValue(T value) = 0;
};

// A value kept in memory; changed from construction until the first read.
template <class T>
class SimpleVariable : public Variable<T> {
public:
    explicit SimpleVariable(T initialValue) : _value(initialValue) {}

    T GetValue() override {
        _isChanged = false;
        return _value;
    }

    bool IsChanged() override { return _isChanged; }

    void SetValue(T value) override {
        if (value == _value) {
            return;
        }
        _value = value;
        _isChanged = true;
    }

private:
    T _value = T();
    bool _isChanged = true;
};

// An int variable seen as its decimal text.
class IntImageVariable : public Variable<std::string> {
public:
    explicit IntImageVariable(ObjectSmartPointer<Variable<int>> intVariable);

    std::string GetValue() override;
    bool IsChanged() override;
    void SetValue(std::string value) override;

private:
    ObjectSmartPointer<Variable<int>> _intVariable;
};
