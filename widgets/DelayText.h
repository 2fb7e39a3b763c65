#pragma once
// Text lines that fade in one after another at fixed places (the level-complete statistics):
// DelayText is one line with its own clock, DelayTextGroup a positioned group of them that starts
// the lines' clocks after its own start time. The owner advances the clocks, adds pictures and
// hides lines; both are plain records kept by value.

#include <string>
#include <vector>

#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "shell/Texture.h"

class XmlElement;

class DelayText {
public:
    struct Picture {
        UsingPointer<Texture> texture;
        Point position;
    };

    // Attributes "x", "y", "font", "text", "startTime", "time" (required), "align" ("Left",
    // "Center", "Right"; default "Left") and "vertical" (default true).
    explicit DelayText(const ObjectWeakPointer<XmlElement>& xml);

    // 0 before the start time, rising linearly over the fade time to 1; a fade time that is not
    // positive makes the line opaque from its start time.
    float GetAlpha() const;
    // The pictures, then the text, under the line's opacity; nothing while it is 0 or hidden.
    void Draw();

    Point _position;
    std::string _font;
    std::string _text;
    int _align = 0;  // as the render device takes it: 0 left, 1 right, 2 centre
    bool _vertical = true;
    std::vector<Picture> _pictures;
    float _startTime = 0.0f;
    float _fadeTime = 0.0f;
    float _elapsed = 0.0f;
    bool _isVisible = true;
};

class DelayTextGroup {
public:
    // Int attributes "x", "y", float "startTime"; every child "line" is one DelayText.
    explicit DelayTextGroup(const ObjectWeakPointer<XmlElement>& xml);

    // The group's clock runs until it reaches the start time; from then on the lines' clocks run.
    void Update(float dt);
    // Nothing before the start time; then every line, translated by the group's position.
    void Draw();
    // Replaces the first occurrence of the placeholder in the first line that holds it; that
    // line's index, or -1 (reported) when no line holds it.
    int Replace(const std::string& placeholder, const std::string& replacement);

    float _startTime = 0.0f;
    Point _position;
    std::vector<DelayText> _lines;
    float _elapsed = 0.0f;
};
