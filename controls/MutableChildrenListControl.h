#pragma once
// A container whose children are template instances made and removed on text commands. The first
// child is the bottom one (drawn first); the last is the top one (drawn last, gets input first).

#include <string>
#include <vector>

#include "controls/Control.h"
#include "core/MessageReceiver.h"

class MutableChildrenListControl : public Control, public MessageReceiver {
public:
    MutableChildrenListControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~MutableChildrenListControl() override;

    void OnMouseDown(ObjectWeakPointer<MouseDownEvent> event) override;
    void OnMouseUp(ObjectWeakPointer<MouseUpEvent> event) override;
    void OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) override;
    void Draw() override;
    void Update(float dt) override;

    void OnMessage(std::string message) override;

    const std::vector<ObjectSmartPointer<Control>>& GetChildren() const { return _children; }
    bool HasPendingTemplate() const { return _currentTemplate != NULL; }

private:
    class FlowScope;

    // Builds the pending copy into a child at the place; the copy is gone afterwards.
    void CreateInstanceAt(std::size_t index);
    // The place of a strict decimal index among the children (or just after the last one when
    // isEndIncluded); reports and gives false otherwise.
    bool ParseIndex(const std::string& text, bool isEndIncluded, std::size_t& place);

    std::vector<ObjectSmartPointer<Control>> _children;
    ObjectSmartPointer<XmlElement> _currentTemplate;
    bool _isControlFlowInside = false;
};

// The shared part of the controls that build from templates on command.
namespace TemplateCommands {

// "[key] value": the key with its brackets and everything after the one blank; false, reported,
// when the text has another form.
bool ParseDefineText(const std::string& argument, std::string& key, std::string& value);

// The "template <name>" and "defineText [key] value" commands on the pending template copy (the
// parameter keeps the members' name, which the checks report); false for any other message.
bool OnTemplateCommand(std::string message, ObjectSmartPointer<XmlElement>& _currentTemplate);

// Checks the element, clears its read marks, builds the control and checks that all was read.
ObjectSmartPointer<Control> BuildControl(const ObjectWeakPointer<Control>& parent,
                                         const ObjectWeakPointer<XmlElement>& element);

}  // namespace TemplateCommands
