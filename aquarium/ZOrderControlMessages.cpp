// The tank's text commands: items added from templates, fish sold, the basket's verdict, its save
// into the store, the shop flag and the hearts of comfort.
#include <algorithm>

#include "aquarium/TankRecords.h"
#include "aquarium/ZOrderControl.h"
#include "content/MotionFlare.h"
#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/Bool.h"
#include "core/Int.h"
#include "core/String.h"
#include "core/XmlElement.h"

namespace {
const char* const WATER_PLANT = "WaterPlant";
const char* const SHOW_HEARTS = "show harts";
// Fish this close to the point show hearts; at least this many fish show them.
constexpr float COMFORT_RADIUS = 250.0f;
constexpr int COMFORT_MIN_COUNT = 4;
}  // namespace

void ZOrderControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "add ")) {
        AddChildFromTemplate(message);
    } else if (String::IsHeadCut(message, "sub ")) {
        SellNearest(message);
    } else if (message == "remove the chosen one") {
        FinishSelling(true);
    } else if (message == "restore the chosen one") {
        FinishSelling(false);
    } else if (message == "save state") {
        SaveState();
    } else if (message == "entered shop") {
        _isInShop = true;
    } else if (message == "leaved shop") {
        _isInShop = false;
    } else if (String::IsHeadCut(message, "comfort ")) {
        ShowComfort(message);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string ZOrderControl::OnMessageReply(std::string message) {
    if (String::IsHeadCut(message, "add ")) return Bool::ToString(AddChildFromTemplate(message));
    return MessageReceiver::OnMessageReply(message);
}

bool ZOrderControl::AddChildFromTemplate(const std::string& templateName) {
    const ObjectWeakPointer<XmlElement> element = TemplateLib::GetTemplate(templateName);
    if (element == NULL) return false;  // reported by the registry
    const std::string refusal = "Tank '" + _stateName + "' cannot add '" + templateName + "': ";
    if (!TankItemRecords::IsRegistered(element->NameRef())) {
        ReportError(refusal + "<" + TankItemRecords::ShownName(*element) + "> is no tank item");
        return false;
    }
    std::string problem = TankItemRecords::Check(element, false);
    if (!problem.empty()) {
        ReportError(refusal + problem);
        return false;
    }
    problem = CheckRoomFor(element->NameRef());
    if (!problem.empty()) {
        ReportError(refusal + "it holds " + problem + " already");
        return false;
    }
    TemplateLib::CheckFullyInstantiated(element);
    element->ResetVisitedTree();
    const ObjectSmartPointer<ZOrderClientControl> child = BuildChild(element, false, problem);
    element->CheckVisited();
    element->MarkVisitedTree();
    if (child == NULL) {
        ReportError(refusal + "the item " + problem);
        return false;
    }
    problem = CheckRoomFor(child);
    if (!problem.empty()) {
        ReportError(refusal + "it would hold more than " + problem);
        return false;
    }
    _children.push_back(child);
    const std::string kind = child->GetKindName();
    if (kind != WATER_PLANT && kind != templateName) {
        // A reload files the fish under its kind, so the school lists would part.
        ReportError("Fish template '" + templateName + "' makes a fish of kind '" + kind + "'");
    }
    _fishMap[templateName].push_back(child);
    _newFishTimer = ObjectSmartPointer<FlarePosition>(new FlarePosition(1.0f, true, 0.0f, 0.0f, 0.0f));
    ++_fishCount;
    return true;
}

void ZOrderControl::SellNearest(const std::string& kindName) {
    float best = GetMaxX() - GetMinX();
    ObjectSmartPointer<ZOrderClientControl> chosen;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : _children) {
        if (child->GetKindName() != kindName) continue;
        const float d = FrontCentreDistance(child);
        if (d < best) {
            best = d;
            chosen = child;
        }
    }
    if (chosen == NULL) return;
    const FishMap::iterator kind = _fishMap.find(kindName);
    const auto isChosen = [&chosen](const ObjectSmartPointer<ZOrderClientControl>& c) { return c.Get() == chosen.Get(); };
    ChildList::iterator r;
    const bool isListed = kind != _fishMap.end() &&
                          (r = std::find_if(kind->second.begin(), kind->second.end(), isChosen)) != kind->second.end();
    if (!isListed) {
        // A fish that its kind list does not hold is not sold.
        ReportFailure("Assertion failed", "r != _fishMap[message].end()", __FILE__, __LINE__);
        return;
    }
    kind->second.erase(r);
    chosen->Sell();
}

void ZOrderControl::FinishSelling(bool isSold) {
    Assert(_sellingControl != NULL);
    if (_sellingControl == NULL) return;
    const ZOrderClientControl* selling = _sellingControl.Get();
    bool found = false;
    const ChildList children = _children;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : children) {
        if (child.Get() != selling) continue;
        Assert(!found);
        found = true;
        if (isSold) {
            child->OnSellingDone();
            EraseChild(selling);
        } else {
            child->OnSellingCancelled();
        }
    }
    Assert(found);
    _sellingControl = nullptr;
}

void ZOrderControl::ShowComfort(std::string point) {
    const std::size_t comma = point.find(',');
    const float x = static_cast<float>(Int::Parse(point.substr(0, comma)));
    const float y = static_cast<float>(Int::Parse(comma == std::string::npos ? std::string() : point.substr(comma + 1)));
    int count = 0;
    const ChildList children = _children;
    for (const ObjectSmartPointer<ZOrderClientControl>& child : children) {
        if (child->GetKindName() == WATER_PLANT) continue;
        if (FVector3(child->GetX() - x, child->GetY() - y, 0.0f).Length() < COMFORT_RADIUS) {
            child->OnText(SHOW_HEARTS);
            ++count;
        }
    }
    for (const ObjectSmartPointer<ZOrderClientControl>& child : children) {
        if (count >= COMFORT_MIN_COUNT) break;
        if (child->GetKindName() == WATER_PLANT) continue;
        child->OnText(SHOW_HEARTS);
        ++count;
    }
}
