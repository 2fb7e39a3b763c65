#pragma once
// Resizable grid: rows of equal length; the first index selects the row. Every index is checked.

#include "core/DynamicArray.h"

template <class T>
class DynamicArray2D {
public:
    using Row = DynamicArray<T>;

    DynamicArray2D() = default;
    DynamicArray2D(int size, int innerSize, const T& value = T()) { Resize(size, innerSize, value); }
    DynamicArray2D(const DynamicArray2D& other) { *this = other; }
    ~DynamicArray2D() { delete[] _data; }

    // Copies every row; self-assignment does nothing.
    DynamicArray2D& operator=(const DynamicArray2D& other) {
        if (this == &other) {
            return *this;
        }
        Resize(other._size, 0, T());
        for (int i = 0; i < _size; ++i) {
            _data[i] = other._data[i];
        }
        _innerSize = other._innerSize;
        return *this;
    }

    // Releases the old rows, then makes size rows of innerSize elements, each equal to value.
    void Resize(int size, int innerSize, const T& value = T()) {
        delete[] _data;
        _data = nullptr;
        _size = 0;
        _innerSize = 0;
        if (size == 0) {
            return;
        }
        Assert(size > 0);
        if (size < 0) {
            return;
        }
        _data = new Row[size];
        _size = size;
        for (int i = 0; i < size; ++i) {
            _data[i].Resize(innerSize, value);
        }
        _innerSize = _data[0].GetSize();
    }

    Row& operator[](int pos) {
        Assert(0 <= pos && pos < _size);
        if (0 <= pos && pos < _size) return _data[pos];
        return StrayRow();
    }

    const Row& operator[](int pos) const {
        Assert(0 <= pos && pos < _size);
        if (0 <= pos && pos < _size) return _data[pos];
        return StrayRow();
    }

    int GetSize() const { return _size; }
    int GetInnerSize() const { return _innerSize; }

private:
    // A row of the usual length outside the grid, so that only the bad row index is reported.
    Row& StrayRow() const {
        Row& row = ArrayDetail::Stray<Row>();
        row.Resize(_innerSize, T());
        return row;
    }

    Row* _data = nullptr;
    int _size = 0;
    int _innerSize = 0;
};
