#pragma once
// Growable array whose every index and size is checked; a resize discards the old contents.

#include "core/ArrayCheck.h"
#include "core/Assert.h"

template <class T>
class DynamicArray {
public:
    DynamicArray() = default;
    explicit DynamicArray(int size, const T& value = T()) { Resize(size, value); }
    DynamicArray(const DynamicArray& other) { *this = other; }
    ~DynamicArray() { delete[] _data; }

    // Resizes to the other's size and copies its elements in index order; self-assignment does nothing.
    DynamicArray& operator=(const DynamicArray& other) {
        if (this == &other) {
            return *this;
        }
        Resize(other._size, T());
        for (int i = 0; i < _size; ++i) {
            _data[i] = other._data[i];
        }
        return *this;
    }

    // Releases the old storage, then fills every new element with value. A negative size leaves it empty.
    void Resize(int size, const T& value = T()) {
        delete[] _data;
        _data = nullptr;
        _size = 0;
        if (size == 0) {
            return;
        }
        Assert(size > 0);
        if (size < 0) {
            return;
        }
        _data = new T[size];
        for (int i = 0; i < size; ++i) {
            _data[i] = value;
        }
        _size = size;
    }

    T& operator[](int pos) {
        Assert(0 <= pos && pos < _size);
        if (0 <= pos && pos < _size) return _data[pos];
        return ArrayDetail::Stray<T>();
    }

    const T& operator[](int pos) const {
        Assert(0 <= pos && pos < _size);
        if (0 <= pos && pos < _size) return _data[pos];
        return ArrayDetail::Stray<T>();
    }

    int GetSize() const { return _size; }
    // The storage, null exactly when the array is empty.
    const T* GetData() const { return _data; }
    T* GetData() { return _data; }

private:
    T* _data = nullptr;
    int _size = 0;
};
