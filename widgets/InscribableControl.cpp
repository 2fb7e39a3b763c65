#include "widgets/InscribableControl.h"

#include "controls/InscribableConsumer.h"

InscribableControl::InscribableControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : Control(parent, xml) {
    InscribableConsumer::AddGlobalChild(ObjectWeakPointer<Control>(this));
}
