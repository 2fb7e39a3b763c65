#pragma once
// Rich static text: blocks ("div") of lines ("line") whose markup is cut into spans, links and
// pictures. Blocks choose font, scales and alignment; nested blocks and lines may override them.
// The tree is built once; only the texts of spans bound to player values change.

#include <string>
#include <vector>

#include "core/FPoint.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "widgets/InscribableControl.h"
#include "widgets/StaticTextRuns.h"
#include "widgets/TextFormat.h"

class XmlElement;

// A block or a line. The pen is where the element's top edge starts; drawing and the other
// passes lower it by the element's height.
class StaticTextDivOrLine : public Interface {
public:
    virtual void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) = 0;
    virtual void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) = 0;
    virtual int GetHeight() const = 0;
    // How far below its entry drawing leaves the pen: a line its height; a block its offset, when
    // every nested block in it lowers the pen by its own height.
    virtual int GetPenDrop() const = 0;
    // Hit-tests the runs where drawing puts them, last run first.
    virtual void OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event) = 0;
    virtual void Draw(Point& pen) = 0;
    virtual void AddBoundingPoints(std::vector<FPoint>& points, Point& pen) = 0;
};

class StaticTextLine : public StaticTextDivOrLine {
public:
    // The element's text, or the text resource named by "resourceName"; with neither an empty line.
    StaticTextLine(const ObjectWeakPointer<XmlElement>& xml, const ObjectSmartPointer<TextFormat>& parentFormat);
    // A line of the given markup in the format as it stands.
    StaticTextLine(const std::string& markup, const ObjectSmartPointer<TextFormat>& format);

    // Appends the runs of the markup. A fault is reported once; the rest of the text from the
    // faulty piece on then becomes one plain span of its text without the markup.
    void Parse(const std::string& markup);
    // The text with every tag ("{" up to the next "}") and stray brace left out.
    static std::string WithoutMarkup(const std::string& text);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    int GetHeight() const override { return _format->GetHeight(); }
    int GetPenDrop() const override { return GetHeight(); }
    void OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw(Point& pen) override;
    void AddBoundingPoints(std::vector<FPoint>& points, Point& pen) override;

    const std::vector<ObjectSmartPointer<StaticTextSpanOrLink>>& GetRuns() const { return _runs; }
    const ObjectSmartPointer<TextFormat>& GetFormat() const { return _format; }

private:
    // Prepares every run; how far the runs start left of the pen and their total width.
    int PrepareRuns(int& total);
    void AddRun(const std::string& tag, const std::string& text, const std::string& attributes);
    void AddLiteral(const std::string& text);

    std::vector<ObjectSmartPointer<StaticTextSpanOrLink>> _runs;
    ObjectSmartPointer<TextFormat> _format;
};

class StaticTextDiv : public StaticTextDivOrLine {
public:
    // A top-level block: "fontName" (required), "fontScale", "heightScale", "align", "valign".
    explicit StaticTextDiv(const ObjectWeakPointer<XmlElement>& xml);
    // A nested block: "fontName", "fontScale" and "heightScale" override the parent's format.
    StaticTextDiv(const ObjectWeakPointer<XmlElement>& xml, const ObjectSmartPointer<TextFormat>& parentFormat);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    int GetHeight() const override { return _height; }
    int GetPenDrop() const override { return _penDrop; }
    void OnMouseMove(Point& pen, ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw(Point& pen) override;
    void AddBoundingPoints(std::vector<FPoint>& points, Point& pen) override;

    // How far below its entry the block leaves the pen: 0 for "top", the height for "bottom",
    // half of it for "middle".
    int GetOffset() const;

    const std::vector<ObjectSmartPointer<StaticTextDivOrLine>>& GetLines() const { return _lines; }
    const ObjectSmartPointer<TextFormat>& GetFormat() const { return _format; }

private:
    // Reads the children, then fixes the height and the pen drop (the tree never changes).
    void ReadContent(const ObjectWeakPointer<XmlElement>& xml);

    std::vector<ObjectSmartPointer<StaticTextDivOrLine>> _lines;
    ObjectSmartPointer<TextFormat> _format;
    int _height = 0;
    int _penDrop = 0;
};

class StaticTextControl : public InscribableControl {
public:
    // Attribute "valign" (bool, default false): centre the text vertically on the position;
    // one or more "div" children.
    StaticTextControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;
    void AddBoundingPoints(std::vector<FPoint>& points) override;

    int GetTotalHeight() const { return _totalHeight; }
    const std::vector<ObjectSmartPointer<StaticTextDiv>>& GetDivs() const { return _divs; }

private:
    // Where each top-level block starts, in document order.
    std::vector<Point> BlockPens();

    std::vector<ObjectSmartPointer<StaticTextDiv>> _divs;
    bool _centerVertically = false;
    int _totalHeight = 0;
};
