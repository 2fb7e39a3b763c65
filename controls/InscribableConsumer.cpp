#include "controls/InscribableConsumer.h"

#include "core/Assert.h"

namespace {

// Empty while no consumer is being built; else a start marker and the children collected so far.
std::vector<ObjectWeakPointer<Control>>& GlobalChildren() {
    static std::vector<ObjectWeakPointer<Control>> globalChildren;
    return globalChildren;
}

}  // namespace

const ObjectWeakPointer<XmlElement>& InscribableConsumer::OpenGlobalChildren(const ObjectWeakPointer<XmlElement>& xml) {
    std::vector<ObjectWeakPointer<Control>>& _globalChildren = GlobalChildren();
    Assert(_globalChildren.size() == 0);
    _globalChildren.push_back(ObjectWeakPointer<Control>());
    return xml;
}

InscribableConsumer::InscribableConsumer(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, OpenGlobalChildren(xml)) {
    std::vector<ObjectWeakPointer<Control>>& _globalChildren = GlobalChildren();
    Assert(_globalChildren.size() > 0);
    // After the start marker; a nesting error leaves further markers, which are skipped.
    for (std::size_t i = 1; i < _globalChildren.size(); ++i) {
        if (_globalChildren[i] != NULL) {
            _inscribableChildren.push_back(_globalChildren[i]);
        }
    }
    _globalChildren.clear();
}

InscribableConsumer::~InscribableConsumer() { _inscribableChildren.clear(); }

void InscribableConsumer::AddGlobalChild(const ObjectWeakPointer<Control>& child) {
    std::vector<ObjectWeakPointer<Control>>& _globalChildren = GlobalChildren();
    if (!_globalChildren.empty()) {
        _globalChildren.push_back(child);
    }
}
