#pragma once
// A template-made control that outlives the screens showing it: the storage builds it when a
// parent first asks, a LongLifeParentControl borrows it as its only child and gives it back when
// destroyed, and the storage keeps it two more updates for the next parent. A
// SingletonAdapterControl places its children as if it stood at the screen origin.

#include <string>

#include "controls/FixedChildrenListControl.h"
#include "controls/SingleChildControl.h"
#include "core/MessageReceiver.h"

class LongLifeStorageControl : public MouseTransparentControl, public MessageReceiver {
public:
    LongLifeStorageControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void Draw() override {}
    void Update(float dt) override;

    // The kept control, or a new one built from the template.
    ObjectSmartPointer<Control> Take();
    void GiveBack(const ObjectSmartPointer<Control>& child);

    bool HasChild() const { return _child != NULL; }
    int GetFramesToLive() const { return _framesToLive; }

private:
    std::string _templateName;
    ObjectSmartPointer<Control> _child;
    int _framesToLive = 0;
};

class LongLifeParentControl : public SingleChildControl {
public:
    LongLifeParentControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    // Gives the child back; with the storage gone, the child dies here.
    ~LongLifeParentControl() override;

private:
    ObjectWeakPointer<LongLifeStorageControl> _storage;
};

class SingletonAdapterControl : public FixedChildrenListControl {
public:
    SingletonAdapterControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);

    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    // Always the origin.
    Point GetAbsolutePos() override;

private:
    Point GetRealAbsolutePos();
};
