#include "aquarium/BackGroundDefinition.h"

#include <algorithm>
#include <map>

#include "aquarium/ShopCatalogue.h"
#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/MessageReceiver.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/XmlElement.h"

namespace {

using Catalogue = BackGroundDefinition::Catalogue;

constexpr int TANK_COUNT = 3;

Catalogue FishOfTank(int tank) {
    const ObjectWeakPointer<MessageReceiver> receiver =
        MessageServer::GetReceiver(Int::ToString(tank) + " Fish Database");
    if (receiver == NULL) return Catalogue();
    Assert(receiver.InstanceOf<ShopContentDefinition>());
    if (!receiver.InstanceOf<ShopContentDefinition>()) return Catalogue();
    return receiver.Cast<ShopContentDefinition>()->GetAllFish();
}

// The range of the first catalogue that lists the kind; null when none does.
ShopContentDefinition::FishRange* FindRange(std::vector<Catalogue>& catalogues, const std::string& kind) {
    for (Catalogue& catalogue : catalogues) {
        const Catalogue::iterator found = catalogue.find(kind);
        if (found != catalogue.end()) return &found->second;
    }
    return nullptr;
}

}  // namespace

void BackGroundDefinition::ReduceTo(std::vector<std::string>& kinds, std::size_t count) {
    while (kinds.size() > count) {
        const std::size_t i = static_cast<std::size_t>(RandomIntRange(0, static_cast<int>(kinds.size())));
        kinds[i] = kinds.back();
        kinds.pop_back();
    }
}

BackGroundDefinition::BackGroundDefinition(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
    xml->MarkVisitedTree();
    std::vector<Catalogue> catalogues;
    for (int t = 1; t <= TANK_COUNT; ++t) catalogues.push_back(FishOfTank(t));
    Stock(xml, catalogues);
}

void BackGroundDefinition::Stock(const ObjectWeakPointer<XmlElement>& xml, std::vector<Catalogue> catalogues) {
    xml->MarkVisitedTree();
    const ObjectWeakPointer<XmlElement> variables = xml->GetFirstChildElement("variables");
    const ObjectWeakPointer<XmlElement> options = xml->GetFirstChildElement("options");
    if (variables == NULL || options == NULL) {
        ReportError("BackGroundDefinition needs 'variables' and 'options'");
        return;
    }
    const std::string zOrder = variables->GetStringAttribute("zOrder");
    const int fishKindMin = options->GetIntAttribute("fishKindMin");
    const int fishKindMax = options->GetIntAttribute("fishKindMax");

    std::vector<std::string> kinds;
    if (options->HasAttribute("only")) {
        const std::string only = options->GetStringAttribute("only");
        kinds.push_back(only);
        ShopContentDefinition::FishRange* range = FindRange(catalogues, only);
        if (range == nullptr) {
            ReportFailure("Assertion failed", "false", __FILE__, __LINE__);
        } else {
            range->minInGameField = 1;
            range->maxInGameField = 1;
        }
    } else {
        std::vector<std::string> minimum;
        const ObjectWeakPointer<XmlElement> fallback = xml->GetFirstChildElement("minimum");
        if (fallback == NULL) {
            ReportError("BackGroundDefinition needs 'minimum' without 'only'");
        } else {
            for (int i = 1; fallback->HasAttribute("fish" + Int::ToString(i)); ++i) {
                minimum.push_back(fallback->GetStringAttribute("fish" + Int::ToString(i)));
            }
        }
        for (std::size_t t = 0; t < catalogues.size(); ++t) {
            const std::string prefix = Int::ToString(static_cast<int>(t) + 1) + " ";
            for (const auto& entry : catalogues[t]) {
                if (PermanentStorage::GetLocalIntOrDef(prefix + entry.first + " amount", 0) > 0) {
                    kinds.push_back(entry.first);
                }
            }
        }
        for (const std::string& kind : minimum) {
            if (static_cast<int>(kinds.size()) >= fishKindMin) break;
            if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
        }
        ReduceTo(kinds, static_cast<std::size_t>(std::max(fishKindMax, 0)));
        const int n = static_cast<int>(kinds.size());
        // At least one kind always goes when there are three or more.
        if (n >= 3) ReduceTo(kinds, static_cast<std::size_t>(RandomIntRange(std::max(n / 2, 2), n)));
    }

    const ObjectWeakPointer<XmlElement> record =
        PermanentStorage::GetLocalXmlOrDef(zOrder, ObjectSmartPointer<XmlElement>(new XmlElement("ZOrderControlState")));
    if (record == NULL) return;
    record->MarkVisited();
    while (record->GetFirstChildElement() != NULL) record->GetFirstChildElement()->Remove();

    for (const std::string& kind : kinds) {
        // A kind that no catalogue lists has no range and gets no fish.
        const ShopContentDefinition::FishRange* range = FindRange(catalogues, kind);
        if (range == nullptr) continue;
        const int count = RandomIntRange(range->minInGameField, range->maxInGameField + 1);
        for (int i = 0; i < count; ++i) {
            const ObjectSmartPointer<XmlElement> fish = TemplateLib::CopyTemplate(kind + "ControlTemplate");
            if (fish != NULL) record->AppendChild(fish);
        }
    }

    const std::string order = variables->GetStringAttributeOrDef("order", "null");
    if (order == "null") return;
    const int amount = variables->GetIntAttribute("amount");
    const std::string n = PermanentStorage::GetLocalString(order);
    const ObjectWeakPointer<XmlElement> layout = TemplateLib::GetTemplate("BackGround" + n + "Template");
    if (layout != NULL) {
        layout->MarkVisitedTree();
        for (ObjectWeakPointer<XmlElement> child = layout->GetFirstChildElement(); child != NULL;
             child = child->GetNextElement()) {
            record->AppendChild(ObjectSmartPointer<XmlElement>(new XmlElement(child)));
        }
    }
    int next = Int::Parse(n) + 1;
    if (next > amount) next = 1;
    PermanentStorage::SetLocalString(order, Int::ToString(next));
}

BackGroundDefinition::~BackGroundDefinition() = default;
