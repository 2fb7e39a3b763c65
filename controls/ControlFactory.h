#pragma once
// Builds controls and definitions from XML elements by element name. Each subsystem registers the
// classes it makes at start-up; the element name is the class name. An element that no control
// creator knows is a definition placed among controls and is held by a DefinitionContainerControl.

#include <functional>
#include <string>

#include "controls/Control.h"
#include "core/ObjectSmartPointer.h"

class Definition;
class XmlElement;

class ControlFactory {
public:
    // A creator may give an empty pointer: the element then goes on to the definition fallback.
    using ControlCreator = std::function<ObjectSmartPointer<Control>(const ObjectWeakPointer<Control>& parent,
                                                                     const ObjectWeakPointer<XmlElement>& xml)>;
    using DefinitionCreator = std::function<ObjectSmartPointer<Definition>(const ObjectWeakPointer<XmlElement>& xml)>;

    static ObjectSmartPointer<Control> CreateControl(const ObjectWeakPointer<Control>& parent,
                                                     const ObjectWeakPointer<XmlElement>& xe);
    static ObjectSmartPointer<Definition> CreateDefinition(const ObjectWeakPointer<XmlElement>& xe);

    // A name can be registered once.
    static void RegisterControl(const std::string& elementName, ControlCreator creator);
    static void RegisterDefinition(const std::string& elementName, DefinitionCreator creator);
    static bool IsControlRegistered(const std::string& elementName);
    static bool IsDefinitionRegistered(const std::string& elementName);
    // For tests: forgets one registration.
    static void UnregisterControl(const std::string& elementName);
    static void UnregisterDefinition(const std::string& elementName);

    // The creator of the usual shape: a class built from (parent, xml) or from (xml).
    template <class T>
    static ControlCreator Make() {
        return [](const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml) {
            return ObjectSmartPointer<Control>(new T(parent, xml));
        };
    }
    template <class T>
    static DefinitionCreator MakeDefinition() {
        return [](const ObjectWeakPointer<XmlElement>& xml) { return ObjectSmartPointer<Definition>(new T(xml)); };
    }
};

// Registers the controls and definitions of the control framework itself (once; later calls do nothing).
void RegisterControlFrameworkClasses();
