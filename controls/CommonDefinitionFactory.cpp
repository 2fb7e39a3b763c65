#include "controls/CommonDefinitionClasses.h"
#include "content/CommonDefinitions.h"
#include "content/Template.h"
#include "controls/TemplateCollections.h"
#include "core/XmlElement.h"

ObjectSmartPointer<Definition> CreateCommonDefinition(const ObjectWeakPointer<XmlElement>& xe) {
    if (xe == NULL) {
        return ObjectSmartPointer<Definition>();
    }
    const std::string name = xe->GetName();
    if (name == "Template") return ObjectSmartPointer<Definition>(new Template(xe));
    if (name == "AbstractTemplateCollection") return ObjectSmartPointer<Definition>(new AbstractTemplateCollection(xe));
    if (name == "FinalTemplateCollection") return ObjectSmartPointer<Definition>(new FinalTemplateCollection(xe));
    if (name == "CreationMessageDefinition") return ObjectSmartPointer<Definition>(new CreationMessageDefinition(xe));
    if (name == "PlaySampleDefinition") return ObjectSmartPointer<Definition>(new PlaySampleDefinition(xe));
    if (name == "UndefVariableDefinition") return ObjectSmartPointer<Definition>(new UndefVariableDefinition(xe));
    if (name == "DefUndefVariableDefinition") {
        return ObjectSmartPointer<Definition>(new DefUndefVariableDefinition(xe));
    }
    return ObjectSmartPointer<Definition>();
}
