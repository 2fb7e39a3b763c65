#pragma once
// The template registry and the macro operations on element trees: copies, text parameters
// "[name]", element parameters "_name_", "changes" elements and the full-instantiation check.

#include <string>

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"

namespace TemplateLib {

void AddTemplate(const ObjectSmartPointer<XmlElement>& element, const std::string& templateName);
void RemoveTemplate(const std::string& templateName);
// The registered element itself; empty after the Error "Template <name> not found".
ObjectWeakPointer<XmlElement> GetTemplate(const std::string& templateName);
// A deep copy owned by the caller; empty after the Error "Template <name> not found".
ObjectSmartPointer<XmlElement> CopyTemplate(const std::string& templateName);
bool HasTemplate(const std::string& templateName);
// Empties the registry at shutdown, after the control tree, so the leak check sees no template.
void RemoveAllTemplates();

void DefineText(const ObjectWeakPointer<XmlElement>& where, const std::string& what, const std::string& value);
void DefineElement(const ObjectWeakPointer<XmlElement>& where, const std::string& what,
                   const ObjectWeakPointer<XmlElement>& value);
void RemoveElement(const ObjectWeakPointer<XmlElement>& where, const std::string& what);
void ApplyChanges(const ObjectSmartPointer<XmlElement>& where, const ObjectWeakPointer<XmlElement>& changes);

void CheckTemplate(const ObjectWeakPointer<XmlElement>& xe);
// On a leftover parameter writes the tree to "not-fully-instantiated.xml" and reports it.
void CheckFullyInstantiated(const ObjectWeakPointer<XmlElement>& xe);

bool IsElementParameter(const std::string& name);
bool IsTextParameter(const std::string& name);

// Registers the first child element of every "Template" child of the file's root.
void LoadTemplateFile(const std::string& fileName);
// The same for the root element of a template file read already.
void LoadTemplates(const ObjectWeakPointer<XmlElement>& root);

}  // namespace TemplateLib
