#include "controls/TemplateCollections.h"

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "core/Assert.h"
#include "core/XmlElement.h"

namespace {

// Stands for the pointer check of an access through an empty element pointer.
void ReportEmptyPointer(const char* path, int line) {
    ReportFailure("Assertion failed", "_object != NULL", path, line);
}

}  // namespace

CommonTemplateCollection::CommonTemplateCollection(const ObjectWeakPointer<XmlElement>& xml) : Definition(xml) {
    if (xml == NULL) {
        return;
    }
    const ObjectWeakPointer<XmlElement> baseXml = xml->GetFirstChildElement("base");
    if (baseXml == NULL) {
        ReportEmptyPointer(__FILE__, __LINE__);
        return;
    }
    if (baseXml->HasAttribute("collectionName")) {
        _collectionXml = TemplateLib::CopyTemplate(baseXml->GetStringAttribute("collectionName"));
        Assert(baseXml->GetName() == "base");
    } else {
        _collectionXml = ObjectSmartPointer<XmlElement>(new XmlElement(baseXml));
    }
    if (_collectionXml != NULL) {
        TemplateLib::ApplyChanges(_collectionXml, xml->GetFirstChildElement("changes"));
    }
}

ObjectSmartPointer<XmlElement> CommonTemplateCollection::TakeCollectionXml() {
    Assert(_collectionXml != NULL);
    ObjectSmartPointer<XmlElement> taken = _collectionXml;
    _collectionXml = nullptr;
    return taken;
}

AbstractTemplateCollection::AbstractTemplateCollection(const ObjectWeakPointer<XmlElement>& xml)
    : CommonTemplateCollection(xml) {
    if (xml == NULL) {
        return;
    }
    _collectionName = xml->GetStringAttribute("collectionName");
    const ObjectSmartPointer<XmlElement> tree = TakeCollectionXml();
    _registered = tree;
    TemplateLib::AddTemplate(tree, _collectionName);
}

AbstractTemplateCollection::~AbstractTemplateCollection() {
    // A later collection of the same name took the entry over (reported when it registered):
    // the name is that collection's now.
    if (!TemplateLib::HasTemplate(_collectionName)) {
        return;
    }
    if (_registered == NULL || TemplateLib::GetTemplate(_collectionName).Get() != _registered.Get()) {
        return;
    }
    TemplateLib::RemoveTemplate(_collectionName);
}

FinalTemplateCollection::FinalTemplateCollection(const ObjectWeakPointer<XmlElement>& xml)
    : CommonTemplateCollection(xml) {
    if (xml == NULL) {
        return;
    }
    const ObjectSmartPointer<XmlElement> tree = TakeCollectionXml();
    if (tree == NULL) {
        ReportEmptyPointer(__FILE__, __LINE__);
        return;
    }
    const ObjectWeakPointer<XmlElement> foreachXml = xml->GetFirstChildElement("foreach");
    if (foreachXml == NULL) {
        Build(tree);
    } else {
        ObjectWeakPointer<XmlElement> changesXml = foreachXml->GetFirstChildElement();
        if (changesXml == NULL) {
            ReportEmptyPointer(__FILE__, __LINE__);
        }
        for (; changesXml != NULL; changesXml = changesXml->GetNextElement()) {
            Assert(changesXml->GetName() == "changes");
            const ObjectSmartPointer<XmlElement> instance(new XmlElement(tree));
            TemplateLib::ApplyChanges(instance, changesXml);
            Build(instance);
        }
    }
    tree->CheckVisited();
}

FinalTemplateCollection::~FinalTemplateCollection() {
    for (ObjectSmartPointer<Definition>& definition : _definitions) {
        definition = nullptr;
    }
}

void FinalTemplateCollection::Build(const ObjectWeakPointer<XmlElement>& tree) {
    if (tree == NULL) {
        ReportEmptyPointer(__FILE__, __LINE__);
        return;
    }
    tree->ResetVisitedTree();
    ObjectWeakPointer<XmlElement> childXml = tree->GetFirstChildElement();
    Assert(childXml != NULL);
    for (; childXml != NULL; childXml = childXml->GetNextElement()) {
        const std::string name = childXml->GetName();
        if (name == "Template" || name == "FinalTemplateCollection" || name == "AbstractTemplateCollection") {
            _definitions.push_back(ControlFactory::CreateDefinition(childXml));
        } else if (name == "Resources") {
            TemplateLib::CheckFullyInstantiated(childXml);
            ResourceManager::LoadResources(childXml);
        } else {
            Assert(false);
        }
    }
    tree->CheckVisited();
}
