#pragma once
// Connects the content definitions, the template collections and the layered animations to the
// control factory and to the script API. Call once before control trees are built and before the
// script API is registered; later calls only connect the script classes again.

#include "content/Definition.h"
#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"

void RegisterCommonDefinitionClasses();

// Builds the definitions named "Template", "AbstractTemplateCollection", "FinalTemplateCollection",
// "CreationMessageDefinition", "PlaySampleDefinition", "UndefVariableDefinition" and
// "DefUndefVariableDefinition"; any other name gives an empty pointer without a report.
ObjectSmartPointer<Definition> CreateCommonDefinition(const ObjectWeakPointer<XmlElement>& xe);
