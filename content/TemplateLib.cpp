#include "content/TemplateLib.h"

#include <map>

#include "content/ResourceManager.h"
#include "content/ResourceManagerServices.h"
#include "core/Assert.h"
#include "core/DataFolder.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "core/XmlUtil.h"

namespace TemplateLib {

namespace {

// "шаблон не полностью инстанциирован - см. [ и ] в not-fully-instantiated.xml"
const char* const NOT_FULLY_INSTANTIATED =
    "\xf8\xe0\xe1\xeb\xee\xed \xed\xe5 \xef\xee\xeb\xed\xee\xf1\xf2\xfc\xfe "
    "\xe8\xed\xf1\xf2\xe0\xed\xf6\xe8\xe8\xf0\xee\xe2\xe0\xed - \xf1\xec. [ \xe8 ] \xe2 "
    "not-fully-instantiated.xml";

const char* const DUMP_FILE = "not-fully-instantiated.xml";

std::map<std::string, ObjectSmartPointer<XmlElement>>& AllTemplates() {
    static std::map<std::string, ObjectSmartPointer<XmlElement>> allTemplates;
    return allTemplates;
}

// The next bracket pair at or after from; false at the end or after a reported syntax fault.
bool NextPair(const std::string& text, std::size_t from, std::size_t& open, std::size_t& close) {
    const std::size_t openPos = text.find('[', from);
    const std::size_t closePos = text.find(']', from);
    if (openPos == std::string::npos && closePos == std::string::npos) return false;
    Assert(openPos != std::string::npos);
    Assert(closePos != std::string::npos);
    Assert(openPos < closePos);
    if (openPos == std::string::npos || closePos == std::string::npos || openPos > closePos) return false;
    open = openPos;
    close = closePos;
    return true;
}

void CheckPairs(const std::string& text) {
    std::size_t open = 0;
    std::size_t close = 0;
    std::size_t from = 0;
    while (NextPair(text, from, open, close)) {
        const std::string param = text.substr(open, close - open + 1);
        Assert(param.length() >= 3);
        from = close + 1;
    }
}

// Replaces every pair equal to what; an inserted value is never scanned again.
bool Substitute(std::string& text, const std::string& what, const std::string& value) {
    bool changed = false;
    std::size_t open = 0;
    std::size_t close = 0;
    std::size_t from = 0;
    while (NextPair(text, from, open, close)) {
        if (text.compare(open, close - open + 1, what) == 0) {
            text.replace(open, close - open + 1, value);
            from = open + value.length();
            changed = true;
        } else {
            from = close + 1;
        }
    }
    return changed;
}

void DefineTextIn(XmlElement& element, const std::string& what, const std::string& value, bool& isChanged) {
    const bool isDefineText = element.NameRef() == "defineText";
    XmlAttribute* attribute = element.FirstAttributeRaw();
    while (!attribute->IsBarrier()) {
        XmlAttribute* next = attribute->NextRaw();
        if (!(isDefineText && attribute->NameRef() == "template")) {
            std::string text = attribute->ValueRef();
            if (Substitute(text, what, value)) {
                attribute->MarkVisited();  // the replaced attribute goes unread
                const std::string name = attribute->NameRef();
                element.ReplaceAttribute(name, text);
                isChanged = true;
            }
        }
        attribute = next;
    }
    XmlNode* node = element.FirstChildRaw();
    while (!node->IsBarrier()) {
        XmlNode* next = node->NextRaw();
        if (auto* child = dynamic_cast<XmlElement*>(node)) {
            DefineTextIn(*child, what, value, isChanged);
        } else if (auto* text = dynamic_cast<XmlText*>(node)) {
            std::string changed = text->ValueRef();
            if (Substitute(changed, what, value)) {
                node->MarkVisitedTree();
                node->Replace(ObjectSmartPointer<XmlNode>(new XmlText(changed)));
                isChanged = true;
            }
        } else if (dynamic_cast<XmlComment*>(node) == nullptr) {
            Assert(false);
        }
        node = next;
    }
}

void DefineElementIn(XmlElement& element, const std::string& what, const ObjectWeakPointer<XmlElement>& value,
                     bool& isChanged) {
    XmlNode* node = element.FirstChildRaw();
    while (!node->IsBarrier()) {
        XmlNode* next = node->NextRaw();
        if (auto* child = dynamic_cast<XmlElement*>(node)) {
            if (child->NameRef() == what) {
                node->MarkVisitedTree();
                node->Replace(ObjectSmartPointer<XmlNode>(new XmlElement(value)));
                isChanged = true;
            } else {
                DefineElementIn(*child, what, value, isChanged);
            }
        }
        node = next;
    }
}

void RemoveElementIn(XmlElement& element, const std::string& what, bool& isChanged) {
    XmlNode* node = element.FirstChildRaw();
    while (!node->IsBarrier()) {
        XmlNode* next = node->NextRaw();
        if (auto* child = dynamic_cast<XmlElement*>(node)) {
            if (child->NameRef() == what) {
                ObjectSmartPointer<XmlNode> removed = node->Remove();
                removed->MarkVisitedTree();
                isChanged = true;
            } else {
                RemoveElementIn(*child, what, isChanged);
            }
        }
        node = next;
    }
}

// Throws at the first leftover parameter (the caller holds an assert-throw scope).
void CheckInstantiated(XmlElement& element) {
    const std::string elementName = element.NameRef();
    Assert(!IsElementParameter(elementName));
    const bool isDefineText = elementName == "defineText";
    for (XmlAttribute* a = element.FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        const std::string attrValue = a->ValueRef();
        if (isDefineText && a->NameRef() == "template") {
            Assert(attrValue.find(']') == attrValue.length() - 1);
            Assert(attrValue.rfind('[') == 0);
            continue;
        }
        const std::size_t startPos = attrValue.rfind('[');
        const std::size_t endPos = attrValue.find(']');
        if (startPos == std::string::npos && endPos == std::string::npos) continue;
        Assert(startPos != std::string::npos && endPos != std::string::npos);
        Assert(startPos < endPos);
        const std::string substr = attrValue.substr(startPos, endPos - startPos + 1);
        Assert(substr == "[frameId]");
    }
    for (XmlNode* n = element.FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        if (auto* child = dynamic_cast<XmlElement*>(n)) {
            CheckInstantiated(*child);
        } else if (auto* text = dynamic_cast<XmlText*>(n)) {
            const std::string textValue = text->ValueRef();
            Assert(textValue.find('[') == std::string::npos);
            Assert(textValue.find(']') == std::string::npos);
        } else if (dynamic_cast<XmlComment*>(n) == nullptr) {
            Assert(false);
        }
    }
}

}  // namespace

bool IsElementParameter(const std::string& name) {
    Assert(name.length() > 0);
    if (name.empty()) return false;
    if (name[0] != '_' && name[name.length() - 1] != '_') return false;
    Assert(name.length() >= 3);
    Assert(name[0] == '_');
    if (name.length() >= 2) {
        Assert(name[1] != '_');
        Assert(name[name.length() - 2] != '_');
    }
    Assert(name[name.length() - 1] == '_');
    return true;
}

bool IsTextParameter(const std::string& name) {
    const std::size_t openPos = name.rfind('[');
    const std::size_t closePos = name.find(']');
    if (openPos == std::string::npos && closePos == std::string::npos) return false;
    Assert(name.length() >= 3);
    Assert(openPos == 0);
    Assert(closePos == name.length() - 1);
    return true;
}

void CheckTemplate(const ObjectWeakPointer<XmlElement>& xe) {
    Assert(xe != NULL);
    if (xe == NULL) return;
    XmlElement& element = *xe;
    if (IsElementParameter(element.NameRef())) {
        XmlCheck(element.FirstAttributeRaw()->IsBarrier(), "xe->GetFirstAttribute() == NULL");
        XmlCheck(!element.HasChildNodes(), "xe->GetFirstChildNode() == NULL");
        return;
    }
    for (XmlAttribute* a = element.FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) CheckPairs(a->ValueRef());
    for (XmlNode* n = element.FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        if (auto* child = dynamic_cast<XmlElement*>(n)) {
            CheckTemplate(ObjectWeakPointer<XmlElement>(child));
        } else if (auto* text = dynamic_cast<XmlText*>(n)) {
            CheckPairs(text->ValueRef());
        } else if (dynamic_cast<XmlComment*>(n) == nullptr) {
            Assert(false);
        }
    }
}

void AddTemplate(const ObjectSmartPointer<XmlElement>& element, const std::string& templateName) {
    auto& _allTemplates = AllTemplates();
    Assert(_allTemplates.find(templateName) == _allTemplates.end());
    Assert(templateName.find('[') == std::string::npos);
    Assert(templateName.find(']') == std::string::npos);
    CheckTemplate(element);
    // Registered templates are read by copying; their own read marks mean nothing.
    if (element != NULL) element->MarkVisitedTree();
    _allTemplates[templateName] = element;
    ContentLoad::Step();
}

void RemoveTemplate(const std::string& templateName) {
    auto& _allTemplates = AllTemplates();
    auto i = _allTemplates.find(templateName);
    Assert(i != _allTemplates.end());
    if (i == _allTemplates.end()) return;
    // The entry leaves the map before the element goes.
    ObjectSmartPointer<XmlElement> element = i->second;
    _allTemplates.erase(i);
}

void RemoveAllTemplates() {
    auto& _allTemplates = AllTemplates();
    // Release one entry at a time: each element leaves the map before it goes.
    while (!_allTemplates.empty()) {
        ObjectSmartPointer<XmlElement> element = _allTemplates.begin()->second;
        _allTemplates.erase(_allTemplates.begin());
    }
}

bool HasTemplate(const std::string& templateName) { return AllTemplates().count(templateName) != 0; }

ObjectWeakPointer<XmlElement> GetTemplate(const std::string& templateName) {
    auto& _allTemplates = AllTemplates();
    auto i = _allTemplates.find(templateName);
    if (i == _allTemplates.end()) {
        ReportError("Template " + templateName + " not found");
        return ObjectWeakPointer<XmlElement>();
    }
    Assert(i->second != NULL);
    return i->second;
}

ObjectSmartPointer<XmlElement> CopyTemplate(const std::string& templateName) {
    auto& _allTemplates = AllTemplates();
    auto i = _allTemplates.find(templateName);
    if (i == _allTemplates.end() || i->second == NULL) {
        ReportError("Template " + templateName + " not found");
        return ObjectSmartPointer<XmlElement>();
    }
    return ObjectSmartPointer<XmlElement>(new XmlElement(ObjectWeakPointer<XmlElement>(i->second)));
}

void DefineText(const ObjectWeakPointer<XmlElement>& where, const std::string& what, const std::string& value) {
    Assert(where != NULL);
    Assert(IsTextParameter(what));
    if (where == NULL) return;
    bool isChanged = false;
    DefineTextIn(*where, what, value, isChanged);
    Assert(isChanged);
}

void DefineElement(const ObjectWeakPointer<XmlElement>& where, const std::string& what,
                   const ObjectWeakPointer<XmlElement>& value) {
    Assert(where != NULL);
    Assert(IsElementParameter(what));
    CheckTemplate(value);
    if (where == NULL || value == NULL) return;
    bool isChanged = false;
    DefineElementIn(*where, what, value, isChanged);
    Assert(isChanged);
}

void RemoveElement(const ObjectWeakPointer<XmlElement>& where, const std::string& what) {
    Assert(where != NULL);
    Assert(IsElementParameter(what));
    if (where == NULL) return;
    bool isChanged = false;
    RemoveElementIn(*where, what, isChanged);
    Assert(isChanged);
}

void ApplyChanges(const ObjectSmartPointer<XmlElement>& where, const ObjectWeakPointer<XmlElement>& changes) {
    if (changes == NULL) return;
    changes->MarkVisited();
    for (ObjectWeakPointer<XmlAttribute> a = changes->GetFirstAttribute(); a != NULL; a = a->GetNextAttribute()) {
        a->MarkVisited();
        DefineText(where, "[" + a->GetName() + "]", a->GetValue());
    }
    for (ObjectWeakPointer<XmlElement> child = changes->GetFirstChildElement(); child != NULL;
         child = child->GetNextElement()) {
        const std::string name = child->GetName();
        if (name == "defineText") {
            const std::string parameter = child->GetStringAttribute("template");
            std::string value;
            if (child->HasAttribute("instance")) {
                value = child->GetStringAttribute("instance");
            } else if (child->HasAttribute("instanceResourceName")) {
                value = ResourceManager::GetString(child->GetStringAttribute("instanceResourceName"));
            } else {
                Assert(false);
            }
            DefineText(where, parameter, value);
        } else if (name == "defineElement") {
            const std::string parameter = child->GetStringAttribute("template");
            if (child->GetBoolAttributeOrDef("remove", false)) {
                RemoveElement(where, parameter);
            } else if (child->HasAttribute("instanceTemplateName")) {
                DefineElement(where, parameter, GetTemplate(child->GetStringAttribute("instanceTemplateName")));
            } else {
                DefineElement(where, parameter, child->GetFirstChildElement());
            }
        } else if (name == "changes") {
            ApplyChanges(where, child);
        } else {
            Assert(false);
        }
    }
}

void CheckFullyInstantiated(const ObjectWeakPointer<XmlElement>& xe) {
    Assert(xe != NULL);
    if (xe == NULL) return;
    try {
        AssertThrowGuard guard;
        CheckInstantiated(*xe);
    } catch (const AssertionFailedException&) {
        ObjectSmartPointer<XmlElement> copy(new XmlElement(xe));
        {
            ObjectSmartPointer<XmlDocument> document(new XmlDocument(copy));
            document->Save(dataFolder + DUMP_FILE);
        }
        copy->MarkVisitedTree();
        // The copy marked the original read; its readers decide about that.
        xe->ResetVisitedTree();
        ReportError(NOT_FULLY_INSTANTIATED);
    }
}

void LoadTemplateFile(const std::string& fileName) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(fileName));
    LoadTemplates(document->GetRoot());
}

void LoadTemplates(const ObjectWeakPointer<XmlElement>& root) {
    if (root == NULL) return;
    root->MarkVisited();
    for (ObjectWeakPointer<XmlElement> child = root->GetFirstChildElement(); child != NULL;
         child = child->GetNextElement()) {
        ContentLoad::EntryStarted(child);
        Assert(child->GetName() == "Template");
        const std::string templateName = child->GetStringAttribute("templateName");
        ObjectWeakPointer<XmlElement> body = child->GetFirstChildElement();
        // A template without an element has nothing to register.
        Assert(body != NULL);
        if (body == NULL) continue;
        AddTemplate(ObjectSmartPointer<XmlElement>(new XmlElement(body)), templateName);
    }
    ContentLoad::EntryStarted(root);
    root->CheckVisited();
    root->MarkVisitedTree();
}

}  // namespace TemplateLib
