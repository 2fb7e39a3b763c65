#pragma once
// Cubic Hermite curves over equally spaced keys (SplinePath) and over timed keys (TimedSpline),
// and the ease-in/ease-out curve.

#include <cstddef>
#include <vector>

#include "core/Assert.h"
#include "core/FPoint.h"
#include "core/ObjectSmartPointer.h"

class XmlElement;

namespace SplineDetail {

// Hermite basis at local parameter u: value and slope with respect to u.
inline void Basis(float u, float& h00, float& h01, float& h10, float& h11) {
    const float u2 = u * u;
    const float u3 = u2 * u;
    h00 = 2.0f * u3 - 3.0f * u2 + 1.0f;
    h01 = 3.0f * u2 - 2.0f * u3;
    h10 = u3 - 2.0f * u2 + u;
    h11 = u3 - u2;
}

inline void SlopeBasis(float u, float& d00, float& d01, float& d10, float& d11) {
    const float u2 = u * u;
    d00 = 6.0f * (u2 - u);
    d01 = 6.0f * (u - u2);
    d10 = 3.0f * u2 - 4.0f * u + 1.0f;
    d11 = 3.0f * u2 - 2.0f * u;
}

}  // namespace SplineDetail

// T is float or FPoint: anything with T + T, T - T and float * T.
template <class T>
class SplinePath {
public:
    struct Key {
        T value = T();
        T gradient = T();
        Key() = default;
        Key(const T& v, const T& g) : value(v), gradient(g) {}
    };

    std::vector<Key> keys;

    void addKey(const T& value) { keys.push_back(Key(value, value)); }

    void Clear() { keys.clear(); }

    int getSectors() const { return static_cast<int>(keys.size()) - 1; }

    int CalculateGradient(bool cyclic) {
        if (keys.empty()) return -1;
        if (cyclic) {
            keys.push_back(keys[0]);
            const std::size_t n = keys.size();
            // With a single key the copy is its only neighbour.
            const T next = keys[1].value;
            const T prev = keys[n >= 3 ? n - 2 : 0].value;
            keys[0].gradient = 0.5f * (next - prev);
            keys[n - 1].gradient = keys[0].gradient;
        } else if (keys.size() > 1) {
            const std::size_t n = keys.size();
            keys[0].gradient = keys[1].value - keys[0].value;
            keys[n - 1].gradient = keys[n - 1].value - keys[n - 2].value;
        } else {
            keys[0].gradient = T();
        }
        for (std::size_t i = 1; i + 1 < keys.size(); ++i) {
            keys[i].gradient = 0.5f * (keys[i + 1].value - keys[i - 1].value);
        }
        return static_cast<int>(keys.size()) - 1;
    }

    // Value of sector i (key i to key i + 1) at local parameter t. Fewer than two keys give
    // 0 (no keys) or the one key's value.
    T getFrame(int sector, float t) const {
        const Key* a = nullptr;
        const Key* b = nullptr;
        if (!SectorKeys(sector, a, b)) return keys.empty() ? T() : keys.back().value;
        float h00, h01, h10, h11;
        SplineDetail::Basis(t, h00, h01, h10, h11);
        return h00 * a->value + h01 * b->value + h10 * a->gradient + h11 * b->gradient;
    }

    // Slope of sector i with respect to its local parameter; 0 with fewer than two keys.
    T getGradient(int sector, float t) const {
        const Key* a = nullptr;
        const Key* b = nullptr;
        if (!SectorKeys(sector, a, b)) return T();
        float d00, d01, d10, d11;
        SplineDetail::SlopeBasis(t, d00, d01, d10, d11);
        return d00 * a->value + d01 * b->value + d10 * a->gradient + d11 * b->gradient;
    }

    // p in 0..1 over equally spaced keys; p = 1 gives exactly the last value.
    T getGlobalFrame(float p) const {
        const int n = static_cast<int>(keys.size());
        if (n == 0) return T();
        if (n == 1) return keys[0].value;
        const float d = 1.0f / static_cast<float>(n - 1);
        const float k = 1.0f / d;
        const int s = static_cast<int>(k * p);
        if (s < n - 1 && s >= 0) return getFrame(s, k * (p - static_cast<float>(s) * d));
        if (s < 0) return getFrame(0, k * p);
        return keys[n - 1].value;
    }

private:
    bool SectorKeys(int sector, const Key*& a, const Key*& b) const {
        if (keys.size() < 2) return false;
        Assert(0 <= sector && sector < static_cast<int>(keys.size()) - 1);
        if (sector < 0) sector = 0;
        if (sector > static_cast<int>(keys.size()) - 2) sector = static_cast<int>(keys.size()) - 2;
        a = &keys[sector];
        b = &keys[sector + 1];
        return true;
    }
};

class TimedSpline {
public:
    struct Key {
        float value = 0.0f;
        float value2 = 0.0f;  // written by addKey, read by nothing
        float time = 0.0f;
        float inTangent = 0.0f;
        float outTangent = 0.0f;
    };

    std::vector<Key> keys;

    void addKey(float time, float value);
    void Clear() { keys.clear(); }
    int CalculateGradient(bool cyclic);
    // Fewer than two keys: 0 without keys, the one key's value with one.
    float getValueAt(float t) const;
    // Slope with respect to the segment's local parameter; 0 with fewer than two keys.
    float getGradientAt(float t) const;
    // Keys from the "key" children ("time", "value"), then the gradients (not cyclic).
    void Load(const ObjectWeakPointer<XmlElement>& xe);

private:
    // The segment of t and its local parameter.
    std::size_t Segment(float t, float& u) const;
};

// 0..1: accelerating during the first a of the time, constant, decelerating during the last b.
float ease(float t, float a, float b);
