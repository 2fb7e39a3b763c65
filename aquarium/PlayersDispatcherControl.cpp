#include "aquarium/PlayersDispatcherControl.h"

#include <set>

#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/PermanentStorage.h"
#include "core/PermanentVariable.h"
#include "core/String.h"
#include "shell/SoundSystem.h"
#include "widgets/EditControl.h"

namespace {
const char* const LISTBOX = "Players listbox";
const char* const LIST_MOVER = "Players list mover";
const char* const MODAL = "Players modal dialog";
const char* const EDIT_HOLDER = "Player name edit holder";
const char* const EDIT = "Player name edit";
const char* const NAME_MOVER = "Player name mover";
const char* const SELF = "Players dispatcher";
}  // namespace

PlayersDispatcherControl::PlayersDispatcherControl(const ObjectWeakPointer<Control>& parent,
                                                   const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml),
      MessageReceiver(xml),
      _currentTank(new PermanentVariableOrDef<Local, std::string>("Current Tank", "1")) {
    Assert(GetReceiverName() == SELF);
}

PlayersDispatcherControl::~PlayersDispatcherControl() = default;

void PlayersDispatcherControl::Move(const std::string& mover, const std::string& where) {
    SendMessage(mover, "report arrival to null");
    SendMessage(mover, "set arrival message null");
    SendMessage(mover, "move to " + where);
}

void PlayersDispatcherControl::MoveReporting(const std::string& mover, const std::string& arrivalMessage) {
    SendMessage(mover, std::string("report arrival to ") + SELF);
    SendMessage(mover, "set arrival message " + arrivalMessage);
    SendMessage(mover, "move to out");
}

void PlayersDispatcherControl::NamePanelOut() {
    MoveReporting(NAME_MOVER, "Player name out");
    SendMessage("Screen", "template ZGlassTemplate");
    SendMessage("Screen", "create top instance");
}

void PlayersDispatcherControl::FillPlayersList() {
    SendMessage(LISTBOX, "clear");
    const std::set<std::string> allPlayerNames = PermanentStorage::GetPlayerNames();
    Assert(allPlayerNames.size() > 0);
    for (const std::string& name : allPlayerNames) SendMessage(LISTBOX, "add normal " + name);
    SendMessage(LISTBOX, "set active " + PermanentStorage::GetActivePlayerName());
}

void PlayersDispatcherControl::MenuMusic(bool isIn) {
    const std::string track = "Menu" + _currentTank->GetValue();
    if (isIn) {
        Sound::soundSystem.FadeInTrack(track, 1.0f, true);
    } else {
        Sound::soundSystem.FadeOutTrack(track, 1.0f);
    }
}

void PlayersDispatcherControl::SaveStorage() {
    if (!PermanentStorage::Save()) ReportError("The players could not be saved");
}

void PlayersDispatcherControl::FinishDialog() {
    Assert(!_reportFinishTo.empty());
    Assert(!_finishMessage.empty());
    if (!_reportFinishTo.empty()) SendMessage(_reportFinishTo, _finishMessage);
    _reportFinishTo.clear();
    _finishMessage.clear();
}

void PlayersDispatcherControl::Select() {
    const std::string name = SendMessageReply(LISTBOX, "get active");
    if (!PermanentStorage::DoesPlayerExist(name)) {
        ReportError("The players list names no stored player: \"" + name + "\"");
        return;
    }
    MenuMusic(false);
    PermanentStorage::SetActivePlayer(name);
    MenuMusic(true);
    Move(LIST_MOVER, "out");
    FinishDialog();
}

bool PlayersDispatcherControl::IsTypeableName(const std::string& name) const {
    std::string disallowed;
    if (IsReceiver(EDIT)) {
        const auto* edit = dynamic_cast<const EditControl*>(MessageServer::GetReceiver(EDIT).Get());
        if (edit != nullptr) disallowed = edit->GetDisallowedSymbols();
    }
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || disallowed.find(c) != std::string::npos) {
            ReportError("A player name with a character the name box does not take: \"" + name + "\"");
            return false;
        }
    }
    return true;
}

void PlayersDispatcherControl::AskForName() {
    SendMessage(MODAL, "instantiate PlayerNameNeededTemplate");
    SendMessage(EDIT, "disable cursor");
}

void PlayersDispatcherControl::EnterName() {
    const std::string name = SendMessageReply(EDIT, "get value");
    if (name.empty() || (name != _nameToEdit && !IsTypeableName(name))) {
        AskForName();
        return;
    }
    if (name == _nameToEdit) {
        NamePanelOut();
        return;
    }
    if (PermanentStorage::DoesPlayerExist(name)) {
        SendMessage(MODAL, "instantiate PlayerAlreadyExistsTemplate");
        SendMessage(EDIT, "disable cursor");
        return;
    }
    if (_nameToEdit.empty()) {
        MenuMusic(false);
        PermanentStorage::CreatePlayer(name);
        MenuMusic(true);
        SendMessage("post:lua:GameFunc", "Start intro");
        return;
    }
    PermanentStorage::RenamePlayer(_nameToEdit, name);
    // The renamed player plays from now on, as when he is chosen.
    if (PermanentStorage::GetActivePlayerName() != name) {
        MenuMusic(false);
        PermanentStorage::SetActivePlayer(name);
        MenuMusic(true);
    }
    SaveStorage();
    FillPlayersList();
    NamePanelOut();
}

void PlayersDispatcherControl::OnMessage(std::string message) {
    if (String::IsHeadCut(message, "report finish to ")) {
        Assert(_reportFinishTo.empty());
        _reportFinishTo = message;
        Assert(!_reportFinishTo.empty());
    } else if (String::IsHeadCut(message, "set finish message ")) {
        Assert(_finishMessage.empty());
        _finishMessage = message;
        Assert(!_finishMessage.empty());
    } else if (message == "Show dialog") {
        Assert(!_reportFinishTo.empty());
        Assert(!_finishMessage.empty());
        FillPlayersList();
        Move(LIST_MOVER, "in");
    } else if (message == "Players dialog select pressed" || message == "Players listbox double click") {
        Select();
    } else if (message == "Players dialog cancel pressed") {
        Move(LIST_MOVER, "out");
        FinishDialog();
    } else if (message == "Players dialog delete pressed") {
        const std::string name = SendMessageReply(LISTBOX, "get active");
        if (name == PermanentStorage::GetActivePlayerName()) {
            SendMessage(MODAL, "instantiate CannotDeleteActivePlayerTemplate");
        } else {
            SendMessage(MODAL, "instantiate DeletePlayerDialogTemplate");
        }
    } else if (message == "Cannot delete active player ok" || message == "Delete player cancel") {
        SendMessage(MODAL, "hide");
    } else if (message == "Delete player ok") {
        const std::string activeValue = SendMessageReply(LISTBOX, "get active");
        Assert(activeValue != PermanentStorage::GetActivePlayerName());
        if (activeValue == PermanentStorage::GetActivePlayerName()) {
            // The active player is never deleted: the notice instead.
            SendMessage(MODAL, "hide");
            SendMessage(MODAL, "instantiate CannotDeleteActivePlayerTemplate");
            return;
        }
        if (PermanentStorage::DoesPlayerExist(activeValue)) {
            PermanentStorage::DeletePlayer(activeValue);
            SaveStorage();
        }
        SendMessage(LISTBOX, "remove active");
        SendMessage(MODAL, "hide");
    } else if (message == "Delete all players") {
        if (PermanentStorage::GetGlobalBoolOrDef("dev", true)) {
            PermanentStorage::DeleteInactivePlayers();
            SaveStorage();
            FillPlayersList();
        }
    } else if (message == "Players dialog new pressed") {
        MoveReporting(LIST_MOVER, "Players list out");
        _nameToEdit.clear();
    } else if (message == "Players dialog rename pressed") {
        MoveReporting(LIST_MOVER, "Players list out");
        _nameToEdit = SendMessageReply(LISTBOX, "get active");
        Assert(!_nameToEdit.empty());
    } else if (message == "Players list out") {
        SendMessage(EDIT_HOLDER, "template PlayerNameEditTemplate");
        SendMessage(EDIT_HOLDER, "create top instance");
        SendMessage(EDIT, "set value " + _nameToEdit);
        Move(NAME_MOVER, "in");
    } else if (message == "Enter your name cancel pressed") {
        // The first start has no player yet: the name is asked again.
        if (PermanentStorage::GetGlobalBoolOrDef("First start", false)) {
            AskForName();
        } else {
            NamePanelOut();
        }
    } else if (message == "Player name out") {
        SendMessage(std::string("post:") + EDIT_HOLDER, "clear children list");
        Move(LIST_MOVER, "in");
        SendMessage("post:Screen", "erase top child");
    } else if (message == "Enter your name ok pressed") {
        EnterName();
    } else if (message == "Player already exists ok pressed" || message == "Player name needed ok pressed") {
        SendMessage(MODAL, "hide");
        SendMessage(EDIT, "enable cursor");
    } else {
        MessageReceiver::OnMessage(message);
    }
}
