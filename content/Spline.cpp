#include "content/Spline.h"

#include <utility>

#include "core/XmlElement.h"

void TimedSpline::addKey(float time, float value) {
    Key key;
    key.value = value;
    key.value2 = value;
    key.time = time;
    keys.push_back(key);
}

int TimedSpline::CalculateGradient(bool cyclic) {
    // Insertion sort: stable, and no allocation (particles rebuild their curves at every birth).
    for (std::size_t i = 1; i < keys.size(); ++i) {
        for (std::size_t j = i; j > 0 && keys[j].time < keys[j - 1].time; --j) std::swap(keys[j], keys[j - 1]);
    }
    if (keys.empty()) return -1;
    if (cyclic) keys.push_back(keys[0]);
    const std::size_t n = keys.size();
    if (n < 2) return static_cast<int>(n) - 1;
    keys[0].outTangent = 0.5f * (keys[1].value - keys[0].value) * (keys[1].time - keys[0].time);
    keys[n - 1].inTangent = 0.5f * (keys[n - 1].value - keys[n - 2].value) * (keys[n - 1].time - keys[n - 2].time);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const float c = (keys[i + 1].value - keys[i - 1].value) / 2.0f;
        const float span = keys[i + 1].time - keys[i - 1].time;
        // Two keys at one time share no span: flat tangents instead of a division by zero.
        if (span == 0.0f) {
            keys[i].inTangent = 0.0f;
            keys[i].outTangent = 0.0f;
            continue;
        }
        keys[i].inTangent = 2.0f * (keys[i].time - keys[i - 1].time) / span * c;
        keys[i].outTangent = 2.0f * (keys[i + 1].time - keys[i].time) / span * c;
    }
    return static_cast<int>(n) - 1;
}

std::size_t TimedSpline::Segment(float t, float& u) const {
    std::size_t segment = 0;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        if (keys[i].time < t && t <= keys[i + 1].time) {
            segment = i;
            break;
        }
    }
    const float length = keys[segment + 1].time - keys[segment].time;
    u = length != 0.0f ? (t - keys[segment].time) / length : 0.0f;
    return segment;
}

float TimedSpline::getValueAt(float t) const {
    if (keys.empty()) return 0.0f;
    if (keys.size() == 1) return keys[0].value;
    float u = 0.0f;
    const std::size_t i = Segment(t, u);
    float h00, h01, h10, h11;
    SplineDetail::Basis(u, h00, h01, h10, h11);
    return h00 * keys[i].value + h01 * keys[i + 1].value + h10 * keys[i].outTangent + h11 * keys[i + 1].inTangent;
}

float TimedSpline::getGradientAt(float t) const {
    if (keys.size() < 2) return 0.0f;
    float u = 0.0f;
    const std::size_t i = Segment(t, u);
    float d00, d01, d10, d11;
    SplineDetail::SlopeBasis(u, d00, d01, d10, d11);
    return d00 * keys[i].value + d01 * keys[i + 1].value + d10 * keys[i].outTangent + d11 * keys[i + 1].inTangent;
}

void TimedSpline::Load(const ObjectWeakPointer<XmlElement>& xe) {
    keys.clear();
    for (ObjectWeakPointer<XmlElement> key = xe->GetFirstChildElement("key"); key != NULL; key = key->GetNextElement()) {
        const float time = key->GetFloatAttribute("time");
        const float value = key->GetFloatAttribute("value");
        addKey(time, value);
    }
    CalculateGradient(false);
}

float ease(float t, float a, float b) {
    Assert(0.0f <= t && t <= 1.0f);
    Assert(0.0f <= a && a <= 1.0f);
    Assert(0.0f <= b && b <= 1.0f);
    Assert(a + b <= 1.0f);
    const float k = 1.0f / (2.0f - a - b);
    if (t < a && a > 0.0f) return k * t * t / a;
    if (t > 1.0f - b && b > 0.0f) return 1.0f - k * (1.0f - t) * (1.0f - t) / b;
    return k * (2.0f * t - a);
}
