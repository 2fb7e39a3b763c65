#pragma once
// A row or column laid out once, at construction: every SequentialChildControl built anywhere
// inside a SequentialParentControl gets the place (x1 + n * dx, y1 + n * dy) in its own parent's
// coordinates, n counting in the order in which the children finished building. Afterwards both
// behave as FixedChildrenListControl.

#include <vector>

#include "controls/FixedChildrenListControl.h"

class SequentialChildControl;

class SequentialParentControl : public FixedChildrenListControl {
public:
    SequentialParentControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    // The children registered since the parent under construction put its marker (an empty entry).
    static std::vector<ObjectWeakPointer<SequentialChildControl>>& Registry();

private:
    // Puts the marker before the base builds the subtree; gives xml back.
    static const ObjectWeakPointer<XmlElement>& BeginSequence(const ObjectWeakPointer<XmlElement>& xml);
    // Where the markers of the parents under construction stand, innermost last.
    static std::vector<std::size_t>& Markers();
};

class SequentialChildControl : public FixedChildrenListControl {
public:
    SequentialChildControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void SetSequencePos(const Point& p) { _position = p; }
};
