#include "aquarium/ShopBuyHints.h"

#include <vector>

#include "core/Assert.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/Random.h"
#include "core/String.h"
#include "core/XmlElement.h"

namespace {

const char* const KIND_WORDS[3] = {"fish ", "beauty ", "comfort "};

}  // namespace

BuyHintServerDefinition::BuyHintServerDefinition(const ObjectWeakPointer<XmlElement>& xml)
    : Definition(xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> variables = xml->GetFirstChildElement("variables");
    _fish = ObjectSmartPointer<Variable<float>>(new PermanentVariable<Local, float>(variables->GetStringAttribute("fish")));
    _beauty =
        ObjectSmartPointer<Variable<float>>(new PermanentVariable<Local, float>(variables->GetStringAttribute("beauty")));
    _comfort = ObjectSmartPointer<Variable<float>>(
        new PermanentVariable<Local, float>(variables->GetStringAttribute("comfort")));
    _fish->GetValue();
    _beauty->GetValue();
    _comfort->GetValue();
    _money = ObjectSmartPointer<Variable<int>>(new PermanentVariable<Local, int>("Money"));
    _threshold = Float::Parse(xml->GetFirstChildElement("threshold")->GetStringAttribute("value"));
}

// Entries still registered unregister later, from nothing.
BuyHintServerDefinition::~BuyHintServerDefinition() = default;

void BuyHintServerDefinition::Refresh(const std::string& name, Purchase& purchase) {
    purchase.cost = Int::Parse(SendMessageReply(name, "get cost"));
    purchase.utility = Float::Parse(SendMessageReply(name, "get utility"));
    Assert(purchase.cost > 0 && "cost > 0");
    Assert(purchase.utility >= 0.0f);
}

void BuyHintServerDefinition::Register(const std::string& name, int kind) {
    const std::map<std::string, Purchase>::iterator i = _purchases.find(name);
    Assert(i == _purchases.end());
    if (i != _purchases.end()) return;
    Purchase purchase;
    purchase.kind = kind;
    Refresh(name, purchase);
    _purchases[name] = purchase;
}

void BuyHintServerDefinition::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "register fish ")) {
        Register(message, 0);
    } else if (String::IsHeadCut(message, "register beauty ")) {
        Register(message, 1);
    } else if (String::IsHeadCut(message, "register comfort ")) {
        Register(message, 2);
    } else if (String::IsHeadCut(message, "unregister ")) {
        const std::size_t erased = _purchases.erase(message);
        Assert(erased == 1 && "_purchases.erase(name) == 1");
    } else if (message == "update") {
        for (std::pair<const std::string, Purchase>& entry : _purchases) Refresh(entry.first, entry.second);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string BuyHintServerDefinition::OnMessageReply(std::string message) {
    if (message == "get hint icon") return GetHintIcon();
    return MessageReceiver::OnMessageReply(message);
}

std::string BuyHintServerDefinition::GetHintIcon() {
    const std::string tutorialPlant = "1 Waterplant11 dispatcher";
    if (PermanentStorage::GetLocalBoolOrDef("Want tutorial", false) && IsReceiver(tutorialPlant) &&
        SendMessageReply(tutorialPlant, "amount 0?") == "true") {
        return "beauty " + SendMessageReply(tutorialPlant, "get icon");
    }
    const int money = _money->GetValue();
    std::vector<std::pair<std::string, Purchase>> candidates;
    float best = 0.0f;
    for (const std::pair<const std::string, Purchase>& entry : _purchases) {
        if (entry.second.cost > money) continue;
        if (SendMessageReply(entry.first, "amount 0?") != "true") continue;
        candidates.push_back(entry);
        if (entry.second.utility > best) best = entry.second.utility;
    }
    const float limit = 0.8f * best;
    std::vector<std::pair<std::string, Purchase>> chosen;
    for (const std::pair<std::string, Purchase>& c : candidates) {
        if (c.second.utility > limit) chosen.push_back(c);
    }
    if (chosen.empty()) return "";
    const int k = RandomIntRange(0, static_cast<int>(chosen.size()));
    if (best < _threshold && !PermanentStorage::GetLocalBoolOrDef("FirstFishWish", false)) return "";
    const std::pair<std::string, Purchase>& pick = chosen[static_cast<std::size_t>(k)];
    return KIND_WORDS[pick.second.kind] + SendMessageReply(pick.first, "get icon");
}

void UnregisterFromBuyHints(const std::string& server, const std::string& entry) {
    if (IsReceiver(server)) SendMessage(server, "unregister " + entry);
}
