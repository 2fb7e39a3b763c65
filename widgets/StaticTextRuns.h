#pragma once
// The runs a line of rich static text is cut into: spans (text in their own font, scale, shift
// and colour, showing player values named between '#'), links (text that lights up under the
// mouse and sends a message when clicked) and small pictures. A line prepares every run (which
// reports its width), then lets each draw, hit-test or report its corners at a pen that the run
// advances by its width.

#include <map>
#include <string>
#include <vector>

#include "core/Color.h"
#include "core/FPoint.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "core/Variable.h"
#include "shell/Texture.h"
#include "widgets/TextFormat.h"

class MouseDownEvent;
class MouseUpEvent;
class MouseMoveEvent;

// Attribute name to value, as read from the attribute text of a markup tag.
using TextAttributes = std::map<std::string, std::string>;

class StaticTextSpanOrLink : public Interface {
public:
    virtual void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) = 0;
    virtual void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) = 0;
    // The hit pass walks a line from right to left: the pen comes in at the run's right edge and
    // leaves at its left edge. isUnderMouse is set when the mouse is over the run.
    virtual void OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event, bool& isUnderMouse) = 0;
    // Refreshes the run and adds its width; exactly one Draw, OnMouseMove or AddBoundingPoints follows.
    virtual void PrepareDraw(int& width) = 0;
    virtual void Draw(Point& pen) = 0;
    // The four corners of the rectangle the run occupies.
    virtual void AddBoundingPoints(std::vector<FPoint>& points, Point& pen) = 0;

    // The text of a tag after its name, e.g. " color='#FF0000' dy=\"2\"": one blank before each
    // name, '=' right after it, the value in either quote. Reading stops at the first fault,
    // which is reported; the names read so far are kept.
    static TextAttributes ParseAttributes(const std::string& attributes);
    // A run text must not be empty and holds no byte below 32; a refused one is reported when asked.
    static bool IsRunText(const std::string& text, bool report);
};

class StaticTextSpan : public StaticTextSpanOrLink {
public:
    // Attributes "fontName", "fontScale", "dy" and "color".
    StaticTextSpan(const std::string& text, const std::string& attributes, const ObjectSmartPointer<TextFormat>& format);
    // Shows the text as it stands, without references (the rest of a line whose markup is faulty).
    static ObjectSmartPointer<StaticTextSpan> Literal(const std::string& text, const ObjectSmartPointer<TextFormat>& format);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event, bool& isUnderMouse) override;
    void PrepareDraw(int& width) override;
    void Draw(Point& pen) override;
    void AddBoundingPoints(std::vector<FPoint>& points, Point& pen) override;

    // As last prepared.
    const std::string& GetText() const { return _text; }
    int GetWidth() const { return _width; }
    const Color& GetColor() const { return _color; }
    const ObjectSmartPointer<TextFormat>& GetFormat() const { return _format; }

private:
    explicit StaticTextSpan(const ObjectSmartPointer<TextFormat>& format);
    void AddPieces(const std::string& text);
    void AddReference(const std::string& name);

    bool _isDrawReady = false;
    std::string _text;
    int _width = 0;
    ObjectSmartPointer<TextFormat> _format;
    std::vector<ObjectSmartPointer<ReadVariable<std::string>>> _pieces;
    Color _color;
    // An unknown font is reported once; the span then shows nothing.
    bool _hasFont = false;
};

class StaticTextLink : public StaticTextSpanOrLink {
public:
    // Attributes "normalFontName", "activeFontName", "receiver", "message", "activeSound",
    // "pressedSound" (required) and "yShift".
    StaticTextLink(const std::string& text, const std::string& attributes, const ObjectSmartPointer<TextFormat>& format);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event, bool& isUnderMouse) override;
    void PrepareDraw(int& width) override;
    void Draw(Point& pen) override;
    void AddBoundingPoints(std::vector<FPoint>& points, Point& pen) override;

    bool IsActive() const { return _currentSpan.Get() == _activeSpan.Get(); }
    bool IsMouseCapturedByThis() const { return _isMouseCapturedByThis; }
    const ObjectSmartPointer<StaticTextSpan>& GetCurrentSpan() const { return _currentSpan; }

private:
    std::string _receiver;
    std::string _message;
    ObjectSmartPointer<StaticTextSpan> _normalSpan;
    ObjectSmartPointer<StaticTextSpan> _activeSpan;
    ObjectSmartPointer<StaticTextSpan> _currentSpan;
    bool _isMouseCapturedByThis = false;
    std::string _activeSound;
    std::string _pressedSound;
    int _yShift = 0;
};

class StaticTextImage : public StaticTextSpanOrLink {
public:
    // The text is the texture id; attribute "dy".
    StaticTextImage(const std::string& text, const std::string& attributes, const ObjectSmartPointer<TextFormat>& format);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event, bool& isUnderMouse) override;
    void PrepareDraw(int& width) override;
    void Draw(Point& pen) override;
    void AddBoundingPoints(std::vector<FPoint>& points, Point& pen) override;

private:
    ObjectSmartPointer<TextFormat> _format;
    UsingPointer<Texture> _texture;
    int _width = 0;
    int _height = 0;
};
