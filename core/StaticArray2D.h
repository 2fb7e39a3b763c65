#pragma once
// Fixed-size grid: SIZE rows of INNER_SIZE elements; the first index selects the row.

#include "core/StaticArray.h"

template <class T, int SIZE, int INNER_SIZE>
class StaticArray2D {
public:
    using Row = StaticArray<T, INNER_SIZE>;

    // The row at pos; the element is then checked against the row's own length.
    Row& operator[](int pos) {
        Assert(0 <= pos && pos < SIZE);
        if (0 <= pos && pos < SIZE) return _data[pos];
        return ArrayDetail::Stray<Row>();
    }

    const Row& operator[](int pos) const {
        Assert(0 <= pos && pos < SIZE);
        if (0 <= pos && pos < SIZE) return _data[pos];
        return ArrayDetail::Stray<Row>();
    }

    static constexpr int GetSize() { return SIZE; }
    static constexpr int GetInnerSize() { return INNER_SIZE; }

private:
    Row _data[SIZE]{};
};
