#pragma once
// Fixed-size array whose every index is checked.

#include "core/ArrayCheck.h"
#include "core/Assert.h"

template <class T, int SIZE>
class StaticArray {
public:
    T& operator[](int pos) {
        Assert(0 <= pos && pos < SIZE);
        if (0 <= pos && pos < SIZE) return _data[pos];
        return ArrayDetail::Stray<T>();
    }

    const T& operator[](int pos) const {
        Assert(0 <= pos && pos < SIZE);
        if (0 <= pos && pos < SIZE) return _data[pos];
        return ArrayDetail::Stray<T>();
    }

    static constexpr int GetSize() { return SIZE; }

private:
    T _data[SIZE]{};
};
