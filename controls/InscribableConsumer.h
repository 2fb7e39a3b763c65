#pragma once
// A children list that learns, while its children are built, which of its descendants are text
// controls: every text control announces itself through AddGlobalChild during construction.

#include <vector>

#include "controls/FixedChildrenListControl.h"
#include "core/FPoint.h"

class InscribableConsumer : public FixedChildrenListControl {
public:
    InscribableConsumer(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~InscribableConsumer() override;

    // Called by each text control from its constructor; collected only while a consumer is built.
    static void AddGlobalChild(const ObjectWeakPointer<Control>& child);

    // The text controls built among the children, in construction order.
    const std::vector<ObjectWeakPointer<Control>>& GetInscribableChildren() const { return _inscribableChildren; }

    // Empties the list and appends the bounding points of every collected control still alive.
    void CollectPoints(std::vector<FPoint>& points);

    // Entries of the registration list now (tests: 0 outside any construction).
    static std::size_t GetGlobalChildrenCount();

private:
    // Runs before the children list is built; passes the element through.
    static const ObjectWeakPointer<XmlElement>& OpenGlobalChildren(const ObjectWeakPointer<XmlElement>& xml);
    // Ends this consumer's collection: the entries after its marker, or nothing when nested.
    static std::vector<ObjectWeakPointer<Control>> CloseGlobalChildren();
    // A construction that failed: the list as it was before this consumer opened.
    static void AbortGlobalChildren();

    std::vector<ObjectWeakPointer<Control>> _inscribableChildren;
};
