// Typed attribute access of XmlElement.
#include "core/Bool.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/MousePosRememberer.h"
#include "core/XmlDocument.h"
#include "core/XmlUtil.h"

ObjectWeakPointer<XmlAttribute> XmlElement::GetNeededAttribute(const std::string& name) {
    ObjectWeakPointer<XmlAttribute> attribute = GetAttribute(name);
    // The failed check of the pointer access, without touching the missing attribute.
    XmlCheck(attribute.Get() != nullptr, "_object != NULL");
    return attribute;
}

std::string XmlElement::GetStringAttribute(const std::string& name) {
    ObjectWeakPointer<XmlAttribute> a = GetNeededAttribute(name);
    return a.Get() == nullptr ? std::string() : a.Get()->GetValue();
}

int XmlElement::GetIntAttribute(const std::string& name) {
    ObjectWeakPointer<XmlAttribute> a = GetNeededAttribute(name);
    return a.Get() == nullptr ? 0 : Int::Parse(a.Get()->ValueRef());
}

bool XmlElement::GetBoolAttribute(const std::string& name) {
    ObjectWeakPointer<XmlAttribute> a = GetNeededAttribute(name);
    return a.Get() == nullptr ? false : Bool::Parse(a.Get()->ValueRef());
}

float XmlElement::GetFloatAttribute(const std::string& name) {
    ObjectWeakPointer<XmlAttribute> a = GetNeededAttribute(name);
    return a.Get() == nullptr ? 0.0f : Float::Parse(a.Get()->ValueRef());
}

std::string XmlElement::GetStringAttributeOrDef(const std::string& name, const std::string& def) {
    ObjectWeakPointer<XmlAttribute> a = GetAttribute(name);
    return a.Get() == nullptr ? def : a.Get()->GetValue();
}

int XmlElement::GetIntAttributeOrDef(const std::string& name, int def) {
    ObjectWeakPointer<XmlAttribute> a = GetAttribute(name);
    return a.Get() == nullptr ? def : Int::Parse(a.Get()->ValueRef());
}

bool XmlElement::GetBoolAttributeOrDef(const std::string& name, bool def) {
    ObjectWeakPointer<XmlAttribute> a = GetAttribute(name);
    return a.Get() == nullptr ? def : Bool::Parse(a.Get()->ValueRef());
}

float XmlElement::GetFloatAttributeOrDef(const std::string& name, float def) {
    ObjectWeakPointer<XmlAttribute> a = GetAttribute(name);
    return a.Get() == nullptr ? def : Float::Parse(a.Get()->ValueRef());
}

void XmlElement::SetStringAttribute(const std::string& name, const std::string& value) {
    ObjectWeakPointer<XmlAttribute> old = GetAttribute(name);
    ObjectSmartPointer<XmlAttribute> fresh(new XmlAttribute(name, value));
    if (old.Get() == nullptr) {
        AddAttribute(fresh);
    } else {
        old->Replace(fresh);
    }
}

void XmlElement::SetIntAttribute(const std::string& name, int value) { SetStringAttribute(name, Int::ToString(value)); }

void XmlElement::SetBoolAttribute(const std::string& name, bool value) {
    SetStringAttribute(name, Bool::ToString(value));
}

void XmlElement::SetFloatAttribute(const std::string& name, float value) {
    SetStringAttribute(name, Float::ToString(value));
}

ObjectWeakPointer<XmlAttribute> XmlElement::ReplaceAttribute(const std::string& name, const std::string& value) {
    ObjectWeakPointer<XmlAttribute> old = GetNeededAttribute(name);
    if (old.Get() == nullptr) return ObjectWeakPointer<XmlAttribute>();
    return old->Replace(ObjectSmartPointer<XmlAttribute>(new XmlAttribute(name, value)));
}

ObjectSmartPointer<XmlAttribute> XmlElement::RemoveAttribute(const std::string& name) {
    ObjectWeakPointer<XmlAttribute> old = GetNeededAttribute(name);
    if (old.Get() == nullptr) return ObjectSmartPointer<XmlAttribute>();
    return old->Remove();
}

template <>
int XmlElement::GetTypedAttribute<int>(const std::string& name) {
    return GetIntAttribute(name);
}

template <>
bool XmlElement::GetTypedAttribute<bool>(const std::string& name) {
    return GetBoolAttribute(name);
}

template <>
std::string XmlElement::GetTypedAttribute<std::string>(const std::string& name) {
    return GetStringAttribute(name);
}

Rect XmlElement::GetRect() {
    const int x = GetIntAttribute("x");
    const int y = GetIntAttribute("y");
    const int width = GetIntAttribute("width");
    const int height = GetIntAttribute("height");
    return Rect(x, y, width, height);
}

Color XmlElement::GetColorAttribute(const std::string& name) {
    ObjectWeakPointer<XmlAttribute> a = GetNeededAttribute(name);
    return a.Get() == nullptr ? Color() : Color::FromString(a.Get()->ValueRef());
}

void LoadMousePos(MousePosRememberer& rememberer, const ObjectWeakPointer<XmlElement>& element) {
    const int x = element->GetIntAttribute("x");
    const int y = element->GetIntAttribute("y");
    rememberer.SetMousePos(Point(x, y));
}

namespace {

XmlElement* CheckedRoot(const ObjectSmartPointer<XmlDocument>& document) {
    if (document.Get() == nullptr) {
        XmlCheck(false, "_object != NULL");
        return nullptr;
    }
    XmlElement* root = document.Get()->GetRoot().Get();
    XmlCheck(root != nullptr, "_object != NULL");
    return root;
}

}  // namespace

float GetRootFloatAttributeOrDef(const ObjectSmartPointer<XmlDocument>& document, const std::string& name, float def) {
    XmlElement* root = CheckedRoot(document);
    return root == nullptr ? def : root->GetFloatAttributeOrDef(name, def);
}

int GetRootIntAttributeOrDef(const ObjectSmartPointer<XmlDocument>& document, const std::string& name, int def) {
    XmlElement* root = CheckedRoot(document);
    return root == nullptr ? def : root->GetIntAttributeOrDef(name, def);
}
