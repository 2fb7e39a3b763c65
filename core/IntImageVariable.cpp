#include "core/Assert.h"
#include "core/Int.h"
#include "core/Variable.h"

IntImageVariable::IntImageVariable(ObjectSmartPointer<Variable<int>> intVariable) : _intVariable(intVariable) {
    Assert(intVariable != NULL);
}

std::string IntImageVariable::GetValue() { return Int::ToString(_intVariable->GetValue()); }

bool IntImageVariable::IsChanged() { return _intVariable->IsChanged(); }

void IntImageVariable::SetValue(std::string value) { _intVariable->SetValue(Int::Parse(value)); }
