#include "content/Template.h"

#include "content/TemplateLib.h"

Template::Template(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
    if (xml == NULL) return;
    _templateName = xml->GetStringAttribute("templateName");
    ObjectSmartPointer<XmlElement> body;
    if (xml->NameRef() == "div") {
        body = ObjectSmartPointer<XmlElement>(new XmlElement(xml));
        ObjectSmartPointer<XmlAttribute> removed = body->RemoveAttribute("templateName");
        if (removed != NULL) removed->MarkVisited();
    } else {
        ObjectWeakPointer<XmlElement> first = xml->GetFirstChildElement();
        Assert(first != NULL);
        if (first != NULL && first->GetName() == "base") {
            if (first->HasAttribute("templateName")) {
                body = TemplateLib::CopyTemplate(first->GetStringAttribute("templateName"));
            } else {
                ObjectWeakPointer<XmlElement> start = first->GetFirstChildElement();
                Assert(start != NULL);
                if (start != NULL) body = ObjectSmartPointer<XmlElement>(new XmlElement(start));
            }
            if (body != NULL) TemplateLib::ApplyChanges(body, xml->GetFirstChildElement("changes"));
        } else if (first != NULL) {
            body = ObjectSmartPointer<XmlElement>(new XmlElement(first));
        }
    }
    TemplateLib::AddTemplate(body, _templateName);
    _registered = body;
}

Template::~Template() {
    // A later definition of the same name took the entry over: the name is that one's now.
    if (_registered == NULL || !TemplateLib::HasTemplate(_templateName) ||
        TemplateLib::GetTemplate(_templateName).Get() != _registered.Get()) {
        return;
    }
    TemplateLib::RemoveTemplate(_templateName);
}
