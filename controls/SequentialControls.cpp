#include "controls/SequentialControls.h"

#include "core/Assert.h"
#include "core/XmlElement.h"

std::vector<ObjectWeakPointer<SequentialChildControl>>& SequentialParentControl::Registry() {
    static std::vector<ObjectWeakPointer<SequentialChildControl>> children;
    return children;
}

std::vector<std::size_t>& SequentialParentControl::Markers() {
    static std::vector<std::size_t> markers;
    return markers;
}

const ObjectWeakPointer<XmlElement>& SequentialParentControl::BeginSequence(const ObjectWeakPointer<XmlElement>& xml) {
    std::vector<ObjectWeakPointer<SequentialChildControl>>& children = Registry();
    Assert(children.size() == 0);
    // A parent nested in another's subtree keeps its own marker and lays out only what follows it.
    Markers().push_back(children.size());
    children.push_back(ObjectWeakPointer<SequentialChildControl>());
    return xml;
}

SequentialParentControl::SequentialParentControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, BeginSequence(xml)) {
    const std::size_t markerIndex = Markers().back();
    Markers().pop_back();
    std::vector<ObjectWeakPointer<SequentialChildControl>>& children = Registry();
    const ObjectWeakPointer<XmlElement> sequence = xml->GetFirstChildElement("sequence");
    int x1 = 0, y1 = 0, dx = 0, dy = 0;
    if (sequence != NULL) {
        x1 = sequence->GetIntAttribute("x1");
        y1 = sequence->GetIntAttribute("y1");
        dx = sequence->GetIntAttribute("dx");
        dy = sequence->GetIntAttribute("dy");
    } else {
        Assert(sequence != NULL);
    }
    Assert(children.size() > 0);
    int n = 0;
    for (std::size_t i = markerIndex + 1; i < children.size(); ++i) {
        const ObjectWeakPointer<SequentialChildControl>& child = children[i];
        if (child == NULL) {
            continue;
        }
        Assert(child->GetInParentPos() == Point(0, 0));
        child->SetSequencePos(Point(x1 + n * dx, y1 + n * dy));
        ++n;
    }
    if (markerIndex < children.size()) {
        children.resize(markerIndex);
    }
}

SequentialChildControl::SequentialChildControl(const ObjectWeakPointer<Control>& parent,
                                               const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {
    Assert(GetInParentPos() == Point(0, 0));
    std::vector<ObjectWeakPointer<SequentialChildControl>>& children = SequentialParentControl::Registry();
    Assert(children.size() > 0);
    if (children.size() > 0) {
        children.push_back(ObjectWeakPointer<SequentialChildControl>(this));
    }
}
