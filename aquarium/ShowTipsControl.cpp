#include "aquarium/ShowTipsControl.h"

#include <cmath>

#include "aquarium/SpecialMessageSettings.h"
#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"
#include "shell/SoundSystem.h"
#include "widgets/TextCuter.h"

namespace {
const char* const TIP_FONT = "white_text_14";
const char* const CURRENT_TIP = "Current Tip";

bool IsLocalDefinedTrue(const std::string& name) {
    return PermanentStorage::IsLocalNameDefined(name) && PermanentStorage::GetLocalBool(name);
}

std::string LocalStringOrEmpty(const std::string& name) {
    return PermanentStorage::IsLocalNameDefined(name) ? PermanentStorage::GetLocalString(name) : std::string();
}

// Seconds truncated towards zero, kept inside the int range.
int Truncated(float seconds) {
    if (!(seconds > -2.0e9f && seconds < 2.0e9f)) return 0;
    return static_cast<int>(seconds);
}
}  // namespace

ShowTipsControl::ShowTipsControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    _currentTip = PermanentStorage::GetLocalStringOrDef(CURRENT_TIP, "");
    _messagesFile = xml->GetFirstChildElement("messagesFile")->GetStringAttribute("name");
    const ObjectWeakPointer<XmlElement> options = xml->GetFirstChildElement("options");
    _showTipsName = options->GetStringAttribute("varShowTips");
    _showNextName = options->GetStringAttribute("varShowNext");

    const bool isDue = PermanentStorage::GetLocalBoolOrDef(_showTipsName, true) &&
                       !IsLocalDefinedTrue("Want tutorial") && PermanentStorage::IsLocalNameDefined("LevelNumber") &&
                       PermanentStorage::GetLocalInt("LevelNumber") > 2 &&
                       PermanentStorage::GetLocalBoolOrDef(_showNextName, false);
    if (isDue) {
        _pauseBeforeShow = options->GetFloatAttribute("pauseBeforeShow");
        _visibleTime = options->GetFloatAttributeOrDef("visibleTime", 0.0f);
        _x = options->GetIntAttribute("x");
        _y = options->GetIntAttribute("y");
        _textWidth = options->GetIntAttribute("textWidth");
        std::string text;
        if (ChooseSpecialTip(text)) {
            TextCuter::CutText(_textWidth, TIP_FONT, text, _lines);
            PermanentStorage::SetLocalString("SpecialTips", "none");
        } else {
            std::string name;
            if (!NextOrderTip(name, text)) {
                _pauseBeforeShow = 0.0f;  // the order is used up
            } else if (_pauseBeforeShow != 0.0f) {
                _currentTip = name;
                TextCuter::CutText(_textWidth, TIP_FONT, text, _lines);
            }
        }
    }
    xml->MarkVisitedTree();
    PermanentStorage::SetLocalBool(_showNextName, false);
}

bool ShowTipsControl::IsBelowHalfOfBoth(float x, float a, float b) { return x < 0.5f * a && x < 0.5f * b; }

bool ShowTipsControl::ChooseSpecialTip(std::string& text) {
    const std::string tank = PermanentStorage::GetLocalStringOrDef("Current Tank", "1");
    const float fish = PermanentStorage::GetLocalFloat(tank + " Fish indicator value");
    const float beauty = PermanentStorage::GetLocalFloat(tank + " Beauty indicator value");
    const float comfort = PermanentStorage::GetLocalFloat(tank + " Comfort indicator value");
    const float now = PermanentStorage::GetLocalFloatOrDef("Player in game time", 0.0f);
    // An unknown spam time starts now, so the first indicator tip waits ten minutes.
    if (!PermanentStorage::IsLocalNameDefined("Spam Time")) PermanentStorage::SetLocalInt("Spam Time", Truncated(now));
    const int spam = PermanentStorage::GetLocalInt("Spam Time");

    std::string key;
    if (now - static_cast<float>(spam) > 600.0f) {
        PermanentStorage::SetLocalInt("Spam Time", Truncated(now));
        if (IsBelowHalfOfBoth(fish, beauty, comfort)) {
            key = "fish";
        } else if (IsBelowHalfOfBoth(beauty, comfort, fish)) {
            key = "beauty";
        } else if (IsBelowHalfOfBoth(comfort, fish, beauty)) {
            key = "comfort";
        }
    } else if (LocalStringOrEmpty("1 Cup") == "Bronze" && !PermanentStorage::IsLocalNameDefined("tipFirstCup")) {
        key = "firstCup";
        PermanentStorage::SetLocalBool("tipFirstCup", true);
    } else if (PermanentStorage::IsLocalNameDefined("firstLigthning") &&
               PermanentStorage::GetLocalInt("firstLigthning") == 1) {
        key = "firstLigthning";
        PermanentStorage::SetLocalInt("firstLigthning", 2);
    } else if (PermanentStorage::IsLocalNameDefined("Levels lost") && PermanentStorage::GetLocalInt("Levels lost") == 1 &&
               !PermanentStorage::IsLocalNameDefined("tipFirstLosing")) {
        key = "firstLosing";
        PermanentStorage::SetLocalBool("tipFirstLosing", true);
    } else if (LocalStringOrEmpty("1 Cup") == "Silver" && LocalStringOrEmpty("2 Cup") == "None" &&
               !PermanentStorage::IsLocalNameDefined("tipTwoCup")) {
        key = "twoCup";
        PermanentStorage::SetLocalBool("tipTwoCup", true);
    }
    if (key.empty()) return false;
    return TipMessages::GetSpecial(_messagesFile, key, text);
}

bool ShowTipsControl::NextOrderTip(std::string& name, std::string& text) {
    XmlDocumentRead document(_messagesFile);
    const ObjectWeakPointer<XmlElement> root = document.GetRoot();
    Assert(root != NULL);
    if (root == NULL) return false;
    root->MarkVisitedTree();
    const ObjectWeakPointer<XmlElement> order = root->GetFirstChildElement("Order");
    Assert(order != NULL);
    if (order == NULL) return false;
    ObjectWeakPointer<XmlElement> tip = order->GetFirstChildElement();
    if (!_currentTip.empty()) {
        const ObjectWeakPointer<XmlElement> current = order->GetFirstChildElement(_currentTip);
        if (current == NULL) {
            ReportError("The current tip \"" + _currentTip + "\" is not in " + _messagesFile);
            return false;
        }
        tip = current->GetNextElement();
    }
    if (tip == NULL) return false;
    name = tip->GetName();
    text = tip->GetText();
    return true;
}

void ShowTipsControl::Update(float dt) {
    if (_isPaused || !(_pauseBeforeShow > 0.0f)) return;
    _pauseBeforeShow -= dt;
    if (_pauseBeforeShow >= 0.0f) return;

    TipPanel panel;
    panel.templateName = "ShopTipsTemplate";
    panel.receiver = "ShopTipsScreen";
    panel.parentText = "ShopTipsScreen";
    panel.lines = _lines;
    panel.isTip = true;
    panel.x = _x;
    panel.y = _y;
    panel.visibleTime = _visibleTime;
    if (panel.Show()) {
        SendMessage("ShopTips", "show");
        Sound::soundSystem.PlaySample("tip_show");
    }
    for (const char* name : {"nemb-template", "nemb-template-text"}) {
        if (TemplateLib::HasTemplate(name)) TemplateLib::RemoveTemplate(name);
    }
    PermanentStorage::SetLocalString(CURRENT_TIP, _currentTip);
}

void ShowTipsControl::OnMessage(std::string message) {
    if (message == "Pause") {
        _isPaused = true;
    } else if (message == "Continue") {
        _isPaused = false;
    } else {
        MessageReceiver::OnMessage(message);
    }
}
