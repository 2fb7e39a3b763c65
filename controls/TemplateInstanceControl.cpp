#include "controls/TemplateInstanceControl.h"

#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "core/XmlRead.h"

TemplateInstanceControl::TemplateInstanceControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> base = xml->GetFirstChildElement("base");
    Assert(base != NULL);
    const ObjectWeakPointer<XmlElement> changes = xml->GetFirstChildElement("changes");
    if (base == NULL) {
        if (changes != NULL) changes->MarkVisitedTree();
        return;
    }
    const std::string templateName = base->GetStringAttribute("templateName");
    if (changes == NULL) {
        const ObjectWeakPointer<XmlElement> element = TemplateLib::GetTemplate(templateName);
        if (element == NULL) {
            return;
        }
        TemplateLib::CheckFullyInstantiated(element);
        CreateChild(element);
        return;
    }
    const ObjectSmartPointer<XmlElement> copy = TemplateLib::CopyTemplate(templateName);
    if (copy == NULL) {
        // Nothing to change: the changes count as read.
        changes->MarkVisitedTree();
        return;
    }
    TemplateLib::ApplyChanges(copy, changes);
    TemplateLib::CheckFullyInstantiated(copy);
    CreateChild(copy);
}

XmlFileControl::XmlFileControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> file = xml->GetFirstChildElement("file");
    Assert(file != NULL);
    if (file == NULL) {
        return;
    }
    const ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(file->GetStringAttribute("name")));
    const ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) {
        return;
    }
    CreateChild(root);
}
