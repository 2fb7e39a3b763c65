#pragma once
// A template registered while this definition lives: written out, derived from a base with
// changes, or a "div" element of a string list.

#include <string>

#include "content/Definition.h"
#include "core/XmlElement.h"

class Template : public Definition {
public:
    explicit Template(const ObjectWeakPointer<XmlElement>& xml);
    ~Template() override;

    const std::string& GetTemplateName() const { return _templateName; }

private:
    std::string _templateName;
    ObjectWeakPointer<XmlElement> _registered;  // what this definition put into the registry
};
