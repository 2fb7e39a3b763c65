// The tank's contents in the active player's storage: saved before a player change or a commit,
// rebuilt after it (or from the default layout) record by record, and the fish destinations near
// plants.
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "aquarium/BottomControl.h"
#include "aquarium/FishControl.h"
#include "aquarium/TankRecords.h"
#include "aquarium/ZOrderControl.h"
#include "controls/ControlFactory.h"
#include "core/Assert.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"

namespace {
const char* const WATER_PLANT = "WaterPlant";
const char* const STATE_ELEMENT = "ZOrderControlState";
const char* const ASIDE_ELEMENT = "BrokenTankRecords";
const char* const ASIDE_SUFFIX = " broken";
// Broken records named one by one in the log at one load; the rest are counted in one line.
constexpr int NAMED_REPORTS = 20;

// The first line of a failure report: the check's text without its source place.
std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// The records a load leaves out, reported together when it ends.
class LeftOut {
public:
    LeftOut(const std::string& tankName, bool isKept) : _tankName(tankName), _isKept(isKept) {}

    void Broken(int index, const ObjectWeakPointer<XmlElement>& record, const std::string& problem) {
        if (static_cast<int>(_broken.size()) < NAMED_REPORTS) {
            ReportError("Tank '" + _tankName + "': record " + std::to_string(index) + " <" +
                        TankItemRecords::ShownName(*record) + "> " + Verb() + ": " + problem);
        }
        _broken.push_back(record);
    }
    void OverLimit(const ObjectWeakPointer<XmlElement>& record, const std::string& limit) {
        if (_limits.empty() || _limits.back() != limit) _limits.push_back(limit);
        _overLimit.push_back(record);
    }
    // Moves the records out of the source into the store (a stored record) and reports the rest.
    void Finish(const std::function<ObjectWeakPointer<XmlElement>()>& store) {
        if (static_cast<int>(_broken.size()) > NAMED_REPORTS) {
            ReportError("Tank '" + _tankName + "': " + std::to_string(_broken.size() - NAMED_REPORTS) +
                        " more broken records " + Verb());
        }
        if (!_overLimit.empty()) {
            std::string limits;
            for (const std::string& limit : _limits) limits += (limits.empty() ? "" : ", ") + limit;
            ReportError("Tank '" + _tankName + "': " + std::to_string(_overLimit.size()) + " records past its limits (" +
                        limits + ") " + Verb());
        }
        if (!_isKept || (_broken.empty() && _overLimit.empty())) return;
        const ObjectWeakPointer<XmlElement> aside = store();
        for (const std::vector<ObjectWeakPointer<XmlElement>>* records : {&_broken, &_overLimit}) {
            for (const ObjectWeakPointer<XmlElement>& record : *records) {
                record->MarkVisitedTree();
                aside->AppendChild(record->Remove());
            }
        }
    }

private:
    std::string Verb() const {
        return _isKept ? "set aside under '" + _tankName + ASIDE_SUFFIX + "'" : "left out of the tank";
    }

    std::string _tankName;
    bool _isKept = false;
    std::vector<ObjectWeakPointer<XmlElement>> _broken;
    std::vector<ObjectWeakPointer<XmlElement>> _overLimit;
    std::vector<std::string> _limits;
};

}  // namespace

ObjectSmartPointer<ZOrderClientControl> ZOrderControl::CreateChild(const ObjectWeakPointer<XmlElement>& element) {
    const ObjectSmartPointer<Control> control = ControlFactory::CreateControl(ObjectWeakPointer<Control>(this), element);
    if (control == NULL) return ObjectSmartPointer<ZOrderClientControl>();
    // Another class is reported by the cast and left out.
    return control.Cast<ZOrderClientControl>();
}

ObjectSmartPointer<ZOrderClientControl> ZOrderControl::BuildChild(const ObjectWeakPointer<XmlElement>& element,
                                                                  bool isStored, std::string& failure) {
    ObjectSmartPointer<ZOrderClientControl> child;
    try {
        std::unique_ptr<AssertThrowGuard> guard(isStored ? new AssertThrowGuard() : nullptr);
        child = CreateChild(element);
    } catch (const AssertionFailedException& e) {
        child = nullptr;
        failure = "cannot be built: " + FirstLine(e.GetText());
    } catch (const std::exception& e) {
        child = nullptr;
        failure = std::string("cannot be built: ") + e.what();
    }
    if (child == NULL && failure.empty()) failure = "cannot be built";
    return child;
}

int ZOrderControl::CountFish() const {
    int count = 0;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _children) {
        if (child->GetKindName() == WATER_PLANT) continue;
        count += 1;
        if (child.InstanceOf<FishControl>()) count += static_cast<int>(child.Cast<FishControl>()->GetMembers().size());
    }
    return count;
}

int ZOrderControl::CountFloorItems() const {
    int count = 0;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _children) count += child->GetKindName() == WATER_PLANT;
    return count;
}

std::string ZOrderControl::CheckRoomFor(const std::string& elementName) const {
    if (TankItemRecords::IsFloorItem(elementName)) {
        if (CountFloorItems() >= TankLimits::MAX_FLOOR_ITEMS) {
            return std::to_string(TankLimits::MAX_FLOOR_ITEMS) + " floor items";
        }
    } else if (CountFish() >= TankLimits::MAX_FISH) {
        return std::to_string(TankLimits::MAX_FISH) + " fish";
    }
    return std::string();
}

std::string ZOrderControl::CheckRoomFor(const ObjectSmartPointer<ZOrderClientControl>& child) const {
    if (child->GetKindName() == WATER_PLANT) {
        if (CountFloorItems() + 1 > TankLimits::MAX_FLOOR_ITEMS) return std::to_string(TankLimits::MAX_FLOOR_ITEMS) + " floor items";
        return std::string();
    }
    int fish = 1;
    if (child.InstanceOf<FishControl>()) fish += static_cast<int>(child.Cast<FishControl>()->GetMembers().size());
    if (CountFish() + fish > TankLimits::MAX_FISH) return std::to_string(TankLimits::MAX_FISH) + " fish";
    return std::string();
}

ObjectWeakPointer<XmlElement> ZOrderControl::AsideStore() {
    const std::string name = _stateName + ASIDE_SUFFIX;
    ObjectSmartPointer<XmlElement> fresh(new XmlElement(ASIDE_ELEMENT));
    const PermanentVariableSet* values = PermanentStorage::FindPlayer(PermanentStorage::GetActivePlayerName());
    if (values != nullptr) {
        const auto found = values->GetValues().find(name);
        if (found != values->GetValues().end() && found->second.GetType() != PermanentValue::XML_TYPE) {
            // A value of another type under the name stays, inside the store.
            ObjectSmartPointer<XmlElement> old(new XmlElement("Variable"));
            old->SetStringAttribute("name", name);
            found->second.WriteToXml(old);
            fresh->AppendChild(old);
            PermanentStorage::UndefLocalName(name);
        }
    }
    const ObjectWeakPointer<XmlElement> store = PermanentStorage::GetLocalXmlOrDef(name, fresh);
    store->MarkVisitedTree();
    return store;
}

void ZOrderControl::SetAsideValueOfOtherType() {
    const PermanentVariableSet* values = PermanentStorage::FindPlayer(PermanentStorage::GetActivePlayerName());
    if (values == nullptr) return;
    const auto found = values->GetValues().find(_stateName);
    if (found == values->GetValues().end() || found->second.GetType() == PermanentValue::XML_TYPE) return;
    ObjectSmartPointer<XmlElement> old(new XmlElement("Variable"));
    old->SetStringAttribute("name", _stateName);
    found->second.WriteToXml(old);
    old->MarkVisitedTree();
    PermanentStorage::UndefLocalName(_stateName);
    ReportError("Tank '" + _stateName + "': its stored value is no tank record; set aside under '" + _stateName +
                ASIDE_SUFFIX + "'");
    AsideStore()->AppendChild(old);
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
        SetAsideValueOfOtherType();
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
        std::vector<ObjectWeakPointer<XmlElement>> records;
        for (ObjectWeakPointer<XmlElement> element = source->GetFirstChildElement(); element != NULL;
             element = element->GetNextElement()) {
            records.push_back(element);
        }
        LeftOut leftOut(_stateName, _useStorage);
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ObjectWeakPointer<XmlElement>& element = records[i];
            const int index = static_cast<int>(i) + 1;
            std::string problem = TankItemRecords::Check(element);
            if (!problem.empty()) {
                leftOut.Broken(index, element, problem);
                continue;
            }
            std::string limit = CheckRoomFor(element->NameRef());
            if (!limit.empty()) {
                leftOut.OverLimit(element, limit);
                continue;
            }
            const ObjectSmartPointer<ZOrderClientControl> child = BuildChild(element, true, problem);
            if (child == NULL) {
                leftOut.Broken(index, element, problem);
                continue;
            }
            limit = CheckRoomFor(child);
            if (!limit.empty()) {
                leftOut.OverLimit(element, limit);
                continue;
            }
            _children.push_back(child);
            const std::string kind = child->GetKindName();
            if (kind != WATER_PLANT) {
                _fishMap[kind].push_back(child);
                ++_fishCount;
            }
        }
        leftOut.Finish([this]() { return AsideStore(); });
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
