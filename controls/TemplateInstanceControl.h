#pragma once
// Single-child controls that make their child once, at construction: from a registered template,
// optionally changed on the spot, or from the root element of a separate XML file. Without a
// template or a file they have no child, and every call on them does nothing.

#include "controls/SingleChildControl.h"

class TemplateInstanceControl : public SingleChildControl {
public:
    TemplateInstanceControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
};

class XmlFileControl : public SingleChildControl {
public:
    XmlFileControl(const ObjectWeakPointer<Control>& parent, const ObjectWeakPointer<XmlElement>& xml);
};
