#include "aquarium/ShopUtilityMeters.h"

#include <algorithm>

#include "core/Assert.h"
#include "core/Bool.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/MessageServer.h"
#include "core/ReceiverAndMessage.h"
#include "core/String.h"
#include "core/XmlElement.h"
#include "shell/SoundSystem.h"

namespace {

constexpr int OWN_PAN = -101;
enum { FISH = 0, BEAUTY = 1, COMFORT = 2 };

bool IsCupName(const std::string& cup) {
    return cup == "None" || cup == "Bronze" || cup == "Silver" || cup == "Gold";
}

// A count from a message: strict decimal, not negative (a bad one counts as 0).
int ParseCount(const std::string& text) {
    int n = Int::Parse(text);
    Assert(n >= 0 && "difference >= 0");
    return std::max(n, 0);
}

}  // namespace

// Ranges.

void UtilityDispatcherDefinition::Meter::GetBounds(const std::string& cup, int& low, int& high) const {
    if (cup == "None") {
        low = 0;
        high = bronze;
    } else if (cup == "Bronze") {
        low = bronze;
        high = silver;
    } else if (cup == "Silver" || cup == "Gold") {
        low = silver;
        high = gold;
    } else {
        Assert(false);
        low = 0;
        high = bronze;
    }
    Assert(low < high);
}

float UtilityDispatcherDefinition::Meter::GetFraction(int value, const std::string& cup) const {
    int low = 0;
    int high = 0;
    GetBounds(cup, low, high);
    if (high <= low) return 0.0f;
    const float f = static_cast<float>(value - low) / static_cast<float>(high - low);
    return std::min(std::max(f, 0.0f), 1.0f);
}

int UtilityDispatcherDefinition::CalculatePercent(int value, int lowValue, int highValue) {
    Assert(value >= 0 && lowValue >= 0 && highValue >= 0);
    Assert(lowValue < highValue);
    const int v = std::min(value, highValue);
    const int num = (v - lowValue) * 100;
    const int den = highValue - lowValue;
    Assert(den > 0);
    if (den <= 0) return 0;
    int answer = num / den;
    if (num % den != 0 && num < 0) --answer;
    Assert(answer * den <= num);
    Assert(answer <= 100);
    return answer;
}

std::string UtilityDispatcherDefinition::GetPercentColor(int percent) {
    if (percent == 100) return "green";
    if (percent < 0) return "red";
    Assert(0 <= percent && percent < 100);
    return "white";
}

// Construction.

UtilityDispatcherDefinition::UtilityDispatcherDefinition(const ObjectWeakPointer<XmlElement>& xml)
    : Definition(xml), MessageReceiver(xml) {
    _cup = ObjectSmartPointer<Variable<std::string>>(new PermanentVariableOrDef<Local, std::string>(
        xml->GetFirstChildElement("cup")->GetStringAttribute("variableName"), "None"));
    _wonCup = ObjectSmartPointer<ReceiverAndMessage>(new ReceiverAndMessage(xml->GetFirstChildElement("wonCup")));
    const ObjectWeakPointer<XmlElement> first100 = xml->GetFirstChildElement("first100Percents");
    _first100Receiver = first100->GetStringAttribute("receiver");
    _first100Message = first100->GetStringAttribute("message");
    _has100Percents =
        ObjectSmartPointer<Variable<bool>>(new PermanentVariableOrDef<Local, bool>("Has 100 percents reached", false));
    const char* elements[3] = {"fish", "beauty", "comfort"};
    const char* kinds[3] = {"Fish", "Beauty", "Comfort"};
    const char* samples[3] = {"fish_buy", "beauty_buy", ""};
    for (int k = 0; k < 3; ++k) {
        Meter& m = _meters[k];
        const ObjectWeakPointer<XmlElement> e = xml->GetFirstChildElement(elements[k]);
        m.kindName = kinds[k];
        m.sample = samples[k];
        m.bronze = e->GetIntAttribute("bronzeCupLevel");
        m.silver = e->GetIntAttribute("silverCupLevel");
        m.gold = e->GetIntAttribute("goldCupLevel");
        m.level = ObjectSmartPointer<Variable<int>>(
            new PermanentVariableOrDef<Local, int>(e->GetStringAttribute("utilityLevelVariable"), 0));
        m.indicator = ObjectSmartPointer<Variable<float>>(
            new PermanentVariable<Local, float>(e->GetStringAttribute("indicatorVariable")));
        m.percent = ObjectSmartPointer<Variable<int>>(
            new PermanentVariable<Local, int>(e->GetStringAttribute("percentVariable")));
        m.percentColor = ObjectSmartPointer<Variable<std::string>>(
            new PermanentVariable<Local, std::string>(e->GetStringAttribute("percentColorVariable")));
        m.indicatorName = e->GetStringAttribute("indicatorName");
        m.effectName = e->GetStringAttribute("effect100");
        m.flashName = e->GetStringAttribute("flash");
        Assert(0 < m.bronze);
        Assert(m.bronze < m.silver);
        Assert(m.silver < m.gold);
    }
    AfterPlayerChange();
}

UtilityDispatcherDefinition::~UtilityDispatcherDefinition() {
    AllowDestructor();
    Assert(_meters[FISH].hintSet.size() == 0);
    Assert(_meters[BEAUTY].hintSet.size() == 0);
    Assert(_meters[COMFORT].hintSet.size() == 0);
}

void UtilityDispatcherDefinition::AfterPlayerChange() { UpdateIndicators(); }

std::string UtilityDispatcherDefinition::GetCup() {
    std::string cup = _cup->GetValue();
    Assert(IsCupName(cup));
    return IsCupName(cup) ? cup : "None";
}

void UtilityDispatcherDefinition::UpdateIndicators() {
    int levels[3];
    for (int k = 0; k < 3; ++k) {
        levels[k] = _meters[k].level->GetValue();
        Assert(levels[k] >= 0);
    }
    const std::string oldCup = GetCup();
    std::string cup = oldCup;
    const auto all = [&](int Meter::*threshold) {
        for (int k = 0; k < 3; ++k) {
            if (levels[k] < _meters[k].*threshold) return false;
        }
        return true;
    };
    if (cup == "None" && all(&Meter::bronze)) cup = "Bronze";
    if (cup == "Bronze" && all(&Meter::silver)) cup = "Silver";
    if (cup == "Silver" && all(&Meter::gold)) cup = "Gold";
    for (int k = 0; k < 3; ++k) {
        Meter& m = _meters[k];
        int low = 0;
        int high = 0;
        m.GetBounds(cup, low, high);
        m.indicator->SetValue(m.GetFraction(levels[k], cup));
        const int percent = CalculatePercent(std::max(levels[k], 0), low, high);
        m.percent->SetValue(percent);
        m.percentColor->SetValue(GetPercentColor(percent));
    }
    _cup->SetValue(cup);
    if (cup != oldCup) _wonCup->Send();
}

void UtilityDispatcherDefinition::OnFirst100Percents(const std::string& kind) {
    if (_has100Percents->GetValue()) return;
    _has100Percents->SetValue(true);
    SendMessage(_first100Receiver, _first100Message + kind);
}

// Changes of a level.

void UtilityDispatcherDefinition::Add(Meter& meter, int n, const std::string& sample, bool isNamedSample) {
    const std::string cup = GetCup();
    const int level = meter.level->GetValue() + n;
    Assert(level >= 0 && "value >= 0");
    meter.level->SetValue(level);
    UpdateIndicators();
    int low = 0;
    int high = 0;
    meter.GetBounds(cup, low, high);
    if (level - n < high && level >= high) {
        SendMessage(meter.effectName, "restart");
        OnFirst100Percents(meter.kindName);
    } else if (isNamedSample) {
        Sound::soundSystem.PlaySample(sample);
    } else {
        Sound::soundSystem.PlaySampleEx(sample, OWN_PAN, false);
    }
    SendMessage(meter.flashName, "flash");
}

void UtilityDispatcherDefinition::Sub(Meter& meter, int n) {
    int level = meter.level->GetValue() - n;
    if (level < 0) {
        // A level never goes below 0.
        ReportError("The " + meter.kindName + " level would fall below 0 (by " + Int::ToString(n) + "); kept at 0");
        level = 0;
    }
    meter.level->SetValue(level);
    UpdateIndicators();
}

void UtilityDispatcherDefinition::HintAdd(Meter& meter, const std::string& argument) {
    const std::string::size_type slashPos = argument.find('/');
    Assert(slashPos != std::string::npos);
    if (slashPos == std::string::npos) return;
    const int v = ParseCount(argument.substr(0, slashPos));
    const std::string name = argument.substr(slashPos + 1);
    if (meter.hintSet.size() >= 2 || std::find(meter.hintSet.begin(), meter.hintSet.end(), name) != meter.hintSet.end()) {
        ReportError("A " + meter.kindName + " preview for " + name + " is refused: " +
                    (meter.hintSet.size() >= 2 ? "two are open" : "it is open already"));
        return;
    }
    meter.hintSet.push_back(name);
    const int level = meter.level->GetValue() + v;
    Assert(level >= 0);
    SendMessage(meter.indicatorName, "hint value " + Float::ToString(meter.GetFraction(level, GetCup())));
}

void UtilityDispatcherDefinition::HintRemove(Meter& meter, const std::string& name) {
    const std::vector<std::string>::iterator i = std::find(meter.hintSet.begin(), meter.hintSet.end(), name);
    if (i == meter.hintSet.end()) return;  // not open: nothing to withdraw
    meter.hintSet.erase(i);
    if (meter.hintSet.empty()) SendMessage(meter.indicatorName, "no hint");
}

std::string UtilityDispatcherDefinition::NewLevel(Meter& meter, const std::string& argument) {
    const int level = meter.level->GetValue() + ParseCount(argument);
    Assert(level >= 0);
    return Float::ToString(meter.GetFraction(level, GetCup()));
}

std::string UtilityDispatcherDefinition::WillBecomeNegative(Meter& meter, const std::string& argument) {
    const int level = meter.level->GetValue();
    Assert(level >= 0);
    const int after = level - ParseCount(argument);
    Assert(after >= 0);
    int low = 0;
    int high = 0;
    meter.GetBounds(GetCup(), low, high);
    return Bool::ToString(after < low && low <= level);
}

// Messages.

void UtilityDispatcherDefinition::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "fish add ")) {
        Add(_meters[FISH], ParseCount(message), _meters[FISH].sample, false);
    } else if (String::IsHeadCut(message, "fish hint add ")) {
        HintAdd(_meters[FISH], message);
    } else if (String::IsHeadCut(message, "no fish hint ")) {
        HintRemove(_meters[FISH], message);
    } else if (String::IsHeadCut(message, "fish sub ")) {
        Sub(_meters[FISH], ParseCount(message));
    } else if (String::IsHeadCut(message, "beauty add ")) {
        Add(_meters[BEAUTY], ParseCount(message), _meters[BEAUTY].sample, false);
    } else if (String::IsHeadCut(message, "beauty hint add ")) {
        HintAdd(_meters[BEAUTY], message);
    } else if (String::IsHeadCut(message, "no beauty hint ")) {
        HintRemove(_meters[BEAUTY], message);
    } else if (String::IsHeadCut(message, "beauty sub ")) {
        Sub(_meters[BEAUTY], ParseCount(message));
    } else if (String::IsHeadCut(message, "comfort add ")) {
        const std::string::size_type soundPos = message.find("/sound ");
        Assert(soundPos != std::string::npos);
        if (soundPos == std::string::npos) return;
        Add(_meters[COMFORT], ParseCount(message.substr(0, soundPos)), message.substr(soundPos + 7), true);
    } else if (String::IsHeadCut(message, "comfort hint add ")) {
        HintAdd(_meters[COMFORT], message);
    } else if (String::IsHeadCut(message, "no comfort hint ")) {
        HintRemove(_meters[COMFORT], message);
    } else {
        MessageReceiver::OnMessage(message);
    }
}

std::string UtilityDispatcherDefinition::OnMessageReply(std::string message) {
    const std::string original = message;
    if (String::IsHeadCut(message, "get new fish level ")) return NewLevel(_meters[FISH], message);
    if (String::IsHeadCut(message, "will fish level become negative ")) {
        return WillBecomeNegative(_meters[FISH], message);
    }
    if (String::IsHeadCut(message, "get new beauty level ")) return NewLevel(_meters[BEAUTY], message);
    if (String::IsHeadCut(message, "will beauty level become negative ")) {
        return WillBecomeNegative(_meters[BEAUTY], message);
    }
    if (String::IsHeadCut(message, "get new comfort level ")) return NewLevel(_meters[COMFORT], message);
    return MessageReceiver::OnMessageReply(original);
}

// Sameness table.

SamenessInfoDefinition::SamenessInfoDefinition(const ObjectWeakPointer<XmlElement>& xml)
    : Definition(xml), MessageReceiver(xml) {
    int prevN = 0;
    int prevValue = 100;
    const ObjectWeakPointer<XmlElement> percents = xml->GetFirstChildElement("percents");
    for (ObjectWeakPointer<XmlAttribute> a = percents->GetFirstAttribute(); a != NULL; a = a->GetNextAttribute()) {
        a->MarkVisited();
        const std::string attributeName = a->GetName();
        Assert(attributeName.length() > 1);
        Assert(attributeName[0] == '_');
        if (attributeName.length() < 2 || attributeName[0] != '_') continue;
        const int n = Int::Parse(attributeName.substr(1));
        Assert(n > prevN);
        const int value = Int::Parse(a->GetValue());
        Assert(0 < value && value < prevValue);
        if (n <= prevN || value <= 0 || value >= prevValue) continue;
        _table.insert(_table.end(), static_cast<std::size_t>(n - prevN), prevValue);
        prevN = n;
        prevValue = value;
    }
    _table.push_back(prevValue);
}

std::string SamenessInfoDefinition::OnMessageReply(std::string message) {
    const int n = std::max(Int::Parse(message), 0);
    const std::size_t i = std::min(static_cast<std::size_t>(n), _table.size() - 1);
    return Int::ToString(_table[i]);
}
