#pragma once
// Template collections: a tree of templates, nested collections and resource lists, taken from a
// registered template or written inline and changed. An abstract collection registers the tree
// as a template of its own while it lives; a final one builds what the tree holds, once or once
// per "foreach" entry, and keeps the definitions it built.

#include <string>
#include <vector>

#include "content/Definition.h"

class CommonTemplateCollection : public Definition {
public:
    // The child "base" (named by "collectionName" or written inline) with the child "changes" applied.
    explicit CommonTemplateCollection(const ObjectWeakPointer<XmlElement>& xml);

    // Hands the tree over; the collection keeps none.
    ObjectSmartPointer<XmlElement> TakeCollectionXml();

protected:
    ObjectSmartPointer<XmlElement> _collectionXml;
};

class AbstractTemplateCollection : public CommonTemplateCollection {
public:
    // Registers the tree under "collectionName".
    explicit AbstractTemplateCollection(const ObjectWeakPointer<XmlElement>& xml);
    // Removes the name while the registry still holds this collection's tree.
    ~AbstractTemplateCollection() override;

    const std::string& GetCollectionName() const { return _collectionName; }

private:
    std::string _collectionName;
    ObjectWeakPointer<XmlElement> _registered;
};

class FinalTemplateCollection : public CommonTemplateCollection {
public:
    explicit FinalTemplateCollection(const ObjectWeakPointer<XmlElement>& xml);
    // Releases the built definitions in order; loaded resources stay.
    ~FinalTemplateCollection() override;

    // Builds one instance of the tree's content.
    void Build(const ObjectWeakPointer<XmlElement>& tree);

    const std::vector<ObjectSmartPointer<Definition>>& GetDefinitions() const { return _definitions; }

private:
    std::vector<ObjectSmartPointer<Definition>> _definitions;
};
