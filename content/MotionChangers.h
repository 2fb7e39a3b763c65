#pragma once
// A value or a point as a function of progress 0..1 read from XML keys, and the three timed curves
// that carry a picture into the basket.

#include <string>

#include "content/Spline.h"
#include "core/FPoint.h"
#include "core/Object.h"
#include "core/ObjectSmartPointer.h"

class XmlElement;
class Texture;

// Keys from the float attribute "value" of every child element; at least two.
class ScaleChanger : public Interface {
public:
    explicit ScaleChanger(const ObjectWeakPointer<XmlElement>& xe);
    // 1.0 without keys.
    float GetScale(float p) const;

    SplinePath<float> _value;
};

class AlphaChanger : public Interface {
public:
    explicit AlphaChanger(const ObjectWeakPointer<XmlElement>& xe);
    // 1.0 without keys.
    float GetAlpha(float p) const;

    SplinePath<float> _value;
};

class AngleChanger : public Interface {
public:
    explicit AngleChanger(const ObjectWeakPointer<XmlElement>& xe);
    // 0 without keys.
    float GetAngle(float p) const;

    SplinePath<float> _value;
};

// Points from the int attributes "x" and "y" of every child element; the first is the origin.
class PathMover : public Interface {
public:
    explicit PathMover(const ObjectWeakPointer<XmlElement>& xe);
    // (0, 0) without keys.
    FPoint GetPosition(float p) const;

    SplinePath<FPoint> _path;
};

class IntoBasketMover : public Interface {
public:
    // "wholeTime", "range" and the "key" children ("time", "x", "y", "size"), the last at time 1.
    explicit IntoBasketMover(const ObjectWeakPointer<XmlElement>& xe);
    ~IntoBasketMover() override;

    // The texture at position + (x, y) of _time, scaled by size of _time.
    void Draw(const FPoint& position);
    void SetTexture(const ObjectWeakPointer<Texture>& texture);

    // Starts a flight of the texture from the start point (relative to the basket); at its end
    // the message goes to the receiver.
    void Start(const UsingPointer<Texture>& texture, const FPoint& start, const std::string& receiver,
               const std::string& message);
    // Advances a flight; the last step drops the texture and sends the message once.
    void Update(float dt);
    bool IsMoving() const { return _texture != NULL; }

    UsingPointer<Texture> _texture;
    TimedSpline _x;
    TimedSpline _y;
    TimedSpline _size;
    float _wholeTime = 0.0f;
    float _range = 0.0f;
    float _time = 0.0f;
    std::string _first;   // receiver of the end message
    std::string _second;  // the end message
};
