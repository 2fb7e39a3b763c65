#pragma once
// What the checked arrays hand back for an index outside their range.

namespace ArrayDetail {

// A default value outside every array; reset at each use, so writes through it go nowhere lasting.
template <class T>
T& Stray() {
    static T stray{};
    stray = T();
    return stray;
}

}  // namespace ArrayDetail
