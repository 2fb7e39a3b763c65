// The tank's contents in the active player's storage: saved before a player change or a commit,
// rebuilt after it (or from the default layout), and the fish destinations near plants.
#include "aquarium/BottomControl.h"
#include "aquarium/ZOrderControl.h"
#include "controls/ControlFactory.h"
#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"

namespace {
const char* const WATER_PLANT = "WaterPlant";
const char* const STATE_ELEMENT = "ZOrderControlState";
}  // namespace

ObjectSmartPointer<ZOrderClientControl> ZOrderControl::CreateChild(const ObjectWeakPointer<XmlElement>& element) {
    const ObjectSmartPointer<Control> control = ControlFactory::CreateControl(ObjectWeakPointer<Control>(this), element);
    if (control == NULL) return ObjectSmartPointer<ZOrderClientControl>();
    // Another class is reported by the cast and left out.
    return control.Cast<ZOrderClientControl>();
}

void ZOrderControl::SaveState() {
    if (!_useStorage) return;
    ObjectSmartPointer<XmlElement> state(new XmlElement(STATE_ELEMENT));
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _children) {
        const ObjectSmartPointer<XmlElement> saved = child->SaveToXml();
        if (saved != NULL) state->AppendChild(saved);
    }
    PermanentStorage::SetLocalXml(_stateName, state);
}

void ZOrderControl::LoadState() {
    PermanentStorage::SetLocalBool("inLove", !_wishesEnabled);
    PermanentStorage::SetLocalBool("FishWishVisible", false);

    ObjectWeakPointer<XmlElement> source;
    if (_useStorage) {
        source = PermanentStorage::GetLocalXmlOrDef(_stateName,
                                                    ObjectSmartPointer<XmlElement>(new XmlElement(STATE_ELEMENT)));
    } else {
        Assert(_defaultLayout != NULL);
        source = _defaultLayout;
    }

    // The old contents go; an item still under the mouse ends its drag first.
    ChildList old;
    old.swap(_children);
    _fishMap.clear();
    _fishToRemove.clear();
    _fishCount = 0;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : old) {
        if (child.InstanceOf<BottomControl>()) child.Cast<BottomControl>()->AbandonDrag();
    }
    old.clear();

    if (source != NULL) {
        source->ResetVisitedTree();
        source->MarkVisited();
        for (ObjectWeakPointer<XmlElement> element = source->GetFirstChildElement(); element != NULL;
             element = element->GetNextElement()) {
            const ObjectSmartPointer<ZOrderClientControl> child = CreateChild(element);
            if (child == NULL) continue;
            _children.push_back(child);
            const std::string kind = child->GetKindName();
            if (kind != WATER_PLANT) {
                _fishMap[kind].push_back(child);
                ++_fishCount;
            }
        }
        source->CheckVisited();
        // Reported once; the stored value is not reported again when it is replaced.
        source->MarkVisitedTree();
    }
    RebuildPlantPoints();
}

void ZOrderControl::RebuildPlantPoints() {
    _plantPoints.clear();
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _children) {
        if (child->GetKindName() != WATER_PLANT) continue;
        _plantPoints.emplace_back(child->GetX() + child->GetWidth() / 2.0f, _minY, child->GetZ());
    }
    if (PermanentStorage::IsLocalNameDefined("Fish feeder bought") &&
        PermanentStorage::GetLocalBool("Fish feeder bought")) {
        _plantPoints.emplace_back(-70.0f, 300.0f, 15.0f);
    }
}
