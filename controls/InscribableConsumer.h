#pragma once
// A children list that learns, while its children are built, which of its descendants are text
// controls: every text control announces itself through AddGlobalChild during construction.

#include <vector>

#include "controls/FixedChildrenListControl.h"

class InscribableConsumer : public FixedChildrenListControl {
public:
    InscribableConsumer(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~InscribableConsumer() override;

    // Called by each text control from its constructor; collected only while a consumer is built.
    static void AddGlobalChild(const ObjectWeakPointer<Control>& child);

    // The text controls built among the children, in construction order.
    const std::vector<ObjectWeakPointer<Control>>& GetInscribableChildren() const { return _inscribableChildren; }

private:
    // Runs before the children list is built; passes the element through.
    static const ObjectWeakPointer<XmlElement>& OpenGlobalChildren(const ObjectWeakPointer<XmlElement>& xml);

    std::vector<ObjectWeakPointer<Control>> _inscribableChildren;
};
