#pragma once
// A framed box around the text controls built inside it: it measures their text and stretches a
// nine-part frame texture around it, placed by the mouse or next to its own position.

#include <string>
#include <vector>

#include "controls/InscribableConsumer.h"
#include "core/Point.h"
#include "core/Rect.h"
#include "shell/Texture.h"

class ToolTipControl : public InscribableConsumer {
public:
    ToolTipControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~ToolTipControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    // Lays the frame out, then passes the move on.
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;
    // Where the children lie: the text's place inside the frame.
    Point GetAbsolutePos() override;

    // The rectangle bounding the collected text, relative to the tooltip's origin. False when
    // there is no text or it has no area.
    bool GetTextRectangle(Rect& r);

    // The frame's lower-left corner for a box of w x h; false for an unknown mode.
    bool PlaceFrame(const Point& mouse, int w, int h, const Rect& text, Point& corner);

    const int* GetX() const { return _x; }
    const int* GetY() const { return _y; }
    const float* GetU() const { return _u; }
    const float* GetV() const { return _v; }
    Point GetExtraPosition() const { return _extraPosition; }
    // True once a layout succeeded and the last one was not skipped.
    bool IsLaidOut() const { return _isLaidOut; }

private:
    // Runs a call on the extra control with the children's origin moved to its place.
    class ExtraScope;

    std::string _mode;
    UsingPointer<Texture> _texture;
    int _indentLeft = 0;
    int _indentRight = 0;
    int _indentTop = 0;
    int _indentBottom = 0;
    int _fixedLeft = 0;
    int _fixedRight = 0;
    int _fixedTop = 0;
    int _fixedBottom = 0;
    int _x[4] = {0, 0, 0, 0};
    int _y[4] = {0, 0, 0, 0};
    float _u[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float _v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    ObjectSmartPointer<Control> _extra;
    // The absolute position reported to the children (the Control's own position stays its place).
    Point _textPosition;
    Point _extraPosition;
    bool _isLaidOut = false;
    std::vector<FPoint> _points;
};
