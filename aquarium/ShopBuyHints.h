#pragma once
// Chooses what a fish wishes to be bought: every shop entry registers with its kind, and the
// choice is drawn among the affordable, not yet owned entries whose meter gain is near the best.

#include <map>
#include <string>

#include "content/Definition.h"
#include "core/MessageReceiver.h"
#include "core/PermanentVariable.h"

class BuyHintServerDefinition : public Definition, public MessageReceiver {
public:
    struct Purchase {
        int cost = 0;
        float utility = 0.0f;
        int kind = 0;  // 0 fish, 1 beauty, 2 comfort
    };

    explicit BuyHintServerDefinition(const ObjectWeakPointer<XmlElement>& xml);
    ~BuyHintServerDefinition() override;

    void OnMessage(std::string message) override;
    // "get hint icon": kind word + " " + icon, or empty.
    std::string OnMessageReply(std::string message) override;

    const std::map<std::string, Purchase>& GetPurchases() const { return _purchases; }

private:
    void Register(const std::string& name, int kind);
    void Refresh(const std::string& name, Purchase& purchase);
    std::string GetHintIcon();

    ObjectSmartPointer<Variable<float>> _fish;
    ObjectSmartPointer<Variable<float>> _beauty;
    ObjectSmartPointer<Variable<float>> _comfort;
    ObjectSmartPointer<Variable<int>> _money;
    float _threshold = 0.0f;
    std::map<std::string, Purchase> _purchases;
};

// Takes a shop entry off the purchase hints; nothing when the hints are gone already, as they may
// go before the entries that registered with them.
void UnregisterFromBuyHints(const std::string& server, const std::string& entry);
