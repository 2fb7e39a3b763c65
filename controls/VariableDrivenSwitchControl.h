#pragma once
// Shows the template of the current value of a persistent variable and rebuilds its child
// whenever the value changes. A value without a template of its own shows the default template;
// when there is none either, the old child stays.

#include <map>
#include <string>

#include "controls/SingleChildControl.h"
#include "core/PermanentVariable.h"

template <class Scope, class T>
class VariableDrivenSwitchControl : public SingleChildControl {
public:
    VariableDrivenSwitchControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
    ~VariableDrivenSwitchControl() override;

    void Update(float dt) override;

private:
    void Refresh();

    std::map<T, std::string> _templateNames;
    std::string _defaultTemplateName;
    ObjectSmartPointer<PermanentVariableOrDef<Scope, T>> _variable;
};

// Creates the instance that the child "variable" names by its "type" and "scope"; another
// combination is reported and gives no control.
ObjectSmartPointer<Control> CreateVariableDrivenSwitchControl(const ObjectWeakPointer<Control>& parent,
                                                              const ObjectWeakPointer<XmlElement>& xml);
