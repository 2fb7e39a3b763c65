#pragma once
// The players dialog's conductor: lists the stored players, selects, creates, renames and
// deletes them, driving the dialog's named controls by message; its receiver is "Players dispatcher".

#include <string>

#include "controls/Control.h"
#include "core/MessageReceiver.h"
#include "core/Variable.h"

class PlayersDispatcherControl : public MouseTransparentControl, public MessageReceiver {
public:
    PlayersDispatcherControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~PlayersDispatcherControl() override;

    void Draw() override {}
    void Update(float) override {}

    void OnMessage(std::string message) override;

    void FillPlayersList();

private:
    void Select();
    void EnterName();
    // The notice that a player needs a name; the name panel stays.
    void AskForName();
    void FinishDialog();
    // False (reported) for a name the name box would not let a player type.
    bool IsTypeableName(const std::string& name) const;
    void MenuMusic(bool isIn);
    void SaveStorage();
    static void Move(const std::string& mover, const std::string& where);
    static void MoveReporting(const std::string& mover, const std::string& arrivalMessage);
    void NamePanelOut();

    std::string _nameToEdit;
    std::string _reportFinishTo;
    std::string _finishMessage;
    ObjectSmartPointer<Variable<std::string>> _currentTank;
};
