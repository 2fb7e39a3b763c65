#pragma once
// The fish, beauty and comfort meters of one tank with its cup, kept in the player's variables,
// and the sameness table that makes a further item of an owned kind worth less.

#include <string>
#include <vector>

#include "content/Definition.h"
#include "core/MessageReceiver.h"
#include "core/PermanentVariable.h"
#include "core/PlayerChangeListener.h"

class ReceiverAndMessage;

class UtilityDispatcherDefinition : public Definition, public MessageReceiver, public PlayerChangeListener {
public:
    explicit UtilityDispatcherDefinition(const ObjectWeakPointer<XmlElement>& xml);
    ~UtilityDispatcherDefinition() override;

    void OnMessage(std::string message) override;
    std::string OnMessageReply(std::string message) override;
    void BeforePlayerChange() override {}
    void AfterPlayerChange() override;

    // Floor of (min(value, high) - low) * 100 / (high - low).
    static int CalculatePercent(int value, int lowValue, int highValue);
    static std::string GetPercentColor(int percent);

    struct Meter {
        std::string kindName;  // "Fish", "Beauty", "Comfort"
        int bronze = 0;
        int silver = 0;
        int gold = 0;
        ObjectSmartPointer<Variable<int>> level;
        ObjectSmartPointer<Variable<float>> indicator;
        ObjectSmartPointer<Variable<int>> percent;
        ObjectSmartPointer<Variable<std::string>> percentColor;
        std::string indicatorName;
        std::string effectName;
        std::string flashName;
        std::string sample;
        std::vector<std::string> hintSet;

        void GetBounds(const std::string& cup, int& low, int& high) const;
        float GetFraction(int level, const std::string& cup) const;
    };

private:
    void UpdateIndicators();
    void OnFirst100Percents(const std::string& kind);
    void Add(Meter& meter, int n, const std::string& sample, bool isNamedSample);
    void Sub(Meter& meter, int n);
    void HintAdd(Meter& meter, const std::string& argument);
    void HintRemove(Meter& meter, const std::string& name);
    std::string NewLevel(Meter& meter, const std::string& argument);
    std::string WillBecomeNegative(Meter& meter, const std::string& argument);
    std::string GetCup();

    Meter _meters[3];
    ObjectSmartPointer<Variable<std::string>> _cup;
    ObjectSmartPointer<Variable<bool>> _has100Percents;
    ObjectSmartPointer<ReceiverAndMessage> _wonCup;
    std::string _first100Receiver;
    std::string _first100Message;
};

class SamenessInfoDefinition : public Definition, public MessageReceiver {
public:
    explicit SamenessInfoDefinition(const ObjectWeakPointer<XmlElement>& xml);

    std::string OnMessageReply(std::string message) override;
    const std::vector<int>& GetTable() const { return _table; }

private:
    std::vector<int> _table;
};
