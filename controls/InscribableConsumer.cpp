#include "controls/InscribableConsumer.h"

#include "controls/BoundingPointsSource.h"
#include "core/ContentValues.h"
#include "core/Assert.h"

namespace {

// Empty while no consumer is being built; else a start marker and the children collected so far.
std::vector<ObjectWeakPointer<Control>>& GlobalChildren() {
    static std::vector<ObjectWeakPointer<Control>> globalChildren;
    return globalChildren;
}

// One entry per consumer under construction: the list size when it opened. Only the outermost
// one (the first entry) collects; nested ones are reported and collect nothing.
std::vector<std::size_t>& OpenSizes() {
    static std::vector<std::size_t> openSizes;
    return openSizes;
}

bool IsAlive(const ObjectWeakPointer<Control>& control) {
    return control != NULL && control.GetLinkInfo() != nullptr && control.GetLinkInfo()->_hardLinkCount >= 0;
}

}  // namespace

const ObjectWeakPointer<XmlElement>& InscribableConsumer::OpenGlobalChildren(const ObjectWeakPointer<XmlElement>& xml) {
    std::vector<ObjectWeakPointer<Control>>& _globalChildren = GlobalChildren();
    Assert(_globalChildren.size() == 0);
    if (OpenSizes().empty()) {
        _globalChildren.clear();
        _globalChildren.push_back(ObjectWeakPointer<Control>());
    }
    OpenSizes().push_back(_globalChildren.size());
    return xml;
}

std::vector<ObjectWeakPointer<Control>> InscribableConsumer::CloseGlobalChildren() {
    std::vector<ObjectWeakPointer<Control>>& _globalChildren = GlobalChildren();
    std::vector<ObjectWeakPointer<Control>> collected;
    Assert(_globalChildren.size() > 0);
    if (OpenSizes().empty()) {
        return collected;
    }
    OpenSizes().pop_back();
    if (!OpenSizes().empty()) {
        // Nested: the outer consumer keeps collecting, this one's text included.
        return collected;
    }
    for (std::size_t i = 1; i < _globalChildren.size(); ++i) {
        collected.push_back(_globalChildren[i]);
    }
    _globalChildren.clear();
    return collected;
}

void InscribableConsumer::AbortGlobalChildren() {
    std::vector<ObjectWeakPointer<Control>>& _globalChildren = GlobalChildren();
    if (OpenSizes().empty()) {
        return;
    }
    const std::size_t size = OpenSizes().back();
    OpenSizes().pop_back();
    if (OpenSizes().empty()) {
        _globalChildren.clear();
    } else if (_globalChildren.size() > size) {
        _globalChildren.resize(size);
    }
}

InscribableConsumer::InscribableConsumer(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml) try
    : FixedChildrenListControl(parent, OpenGlobalChildren(xml)) {
    _inscribableChildren = CloseGlobalChildren();
} catch (...) {
    AbortGlobalChildren();
    throw;
}

InscribableConsumer::~InscribableConsumer() { _inscribableChildren.clear(); }

void InscribableConsumer::AddGlobalChild(const ObjectWeakPointer<Control>& child) {
    std::vector<ObjectWeakPointer<Control>>& _globalChildren = GlobalChildren();
    if (!_globalChildren.empty()) {
        _globalChildren.push_back(child);
    }
}

std::size_t InscribableConsumer::GetGlobalChildrenCount() { return GlobalChildren().size(); }

void InscribableConsumer::CollectPoints(std::vector<FPoint>& points) {
    points.clear();
    for (const ObjectWeakPointer<Control>& child : _inscribableChildren) {
        // A control removed since construction is passed over.
        if (!IsAlive(child)) continue;
        if (!child.InstanceOf<BoundingPointsSource>()) continue;
        child.Cast<BoundingPointsSource>()->AddBoundingPoints(points);
    }
    // A consumer without text would say so on every frame: once is enough.
    CHECK_ONCE(points.size() > 0, "points.size() > 0");
}
