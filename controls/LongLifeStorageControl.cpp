#include "controls/LongLifeStorageControl.h"

#include "content/TemplateLib.h"
#include "controls/ControlFactory.h"
#include "controls/MouseEvents.h"
#include "core/Assert.h"
#include "core/MessageServer.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"

LongLifeStorageControl::LongLifeStorageControl(const ObjectWeakPointer<Control>& parent,
                                               const ObjectWeakPointer<XmlElement>& xml)
    : MouseTransparentControl(parent, xml), MessageReceiver(xml) {
    const ObjectWeakPointer<XmlElement> templateXml = xml->GetFirstChildElement("template");
    Assert(templateXml != NULL);
    if (templateXml != NULL) {
        _templateName = templateXml->GetStringAttribute("name");
    }
}

ObjectSmartPointer<Control> LongLifeStorageControl::Take() {
    if (_child != NULL) {
        ObjectSmartPointer<Control> child = _child;
        _child = nullptr;
        _framesToLive = 0;
        return child;
    }
    const ObjectWeakPointer<XmlElement> element = TemplateLib::GetTemplate(_templateName);
    if (element == NULL) {
        return ObjectSmartPointer<Control>();
    }
    TemplateLib::CheckFullyInstantiated(element);
    element->ResetVisited();
    ObjectSmartPointer<Control> control = ControlFactory::CreateControl(ObjectWeakPointer<Control>(), element);
    element->CheckVisited();
    return control;
}

void LongLifeStorageControl::GiveBack(const ObjectSmartPointer<Control>& child) {
    Assert(child != NULL);
    if (child == NULL) {
        return;
    }
    _child = child;
    _framesToLive = 2;
    _child->SetParent(ObjectWeakPointer<Control>());
}

void LongLifeStorageControl::Update(float) {
    Assert(_framesToLive >= 0);
    if (_framesToLive <= 0) {
        Assert(_child == NULL);
        return;
    }
    --_framesToLive;
    if (_framesToLive == 0) {
        Assert(_child != NULL);
        _child = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------

LongLifeParentControl::LongLifeParentControl(const ObjectWeakPointer<Control>& parent,
                                             const ObjectWeakPointer<XmlElement>& xml)
    : SingleChildControl(parent, xml) {
    const ObjectWeakPointer<XmlElement> storage = xml->GetFirstChildElement("storage");
    Assert(storage != NULL);
    if (storage == NULL) {
        return;
    }
    const ObjectWeakPointer<MessageReceiver> receiver =
        MessageServer::GetReceiver(storage->GetStringAttribute("receiverName"));
    _storage = receiver.Cast<LongLifeStorageControl>();
    if (_storage == NULL) {
        return;
    }
    ObjectSmartPointer<Control> child = _storage->Take();
    if (child == NULL) {
        return;
    }
    child->SetParent(ObjectWeakPointer<Control>(this));
    SetChild(child);
}

LongLifeParentControl::~LongLifeParentControl() {
    ObjectSmartPointer<Control> controlPtr = _child;
    _child = nullptr;
    Assert(controlPtr != NULL);
    // A weak pointer outlives its object: the link tells whether the storage still lives.
    const bool isStorageAlive =
        _storage != NULL && _storage.GetLinkInfo() != nullptr && _storage.GetLinkInfo()->_hardLinkCount >= 0;
    if (controlPtr != NULL && isStorageAlive) {
        _storage->GiveBack(controlPtr);
    }
    _storage = nullptr;
}

// ---------------------------------------------------------------------------------------------

SingletonAdapterControl::SingletonAdapterControl(const ObjectWeakPointer<Control>& parent,
                                                 const ObjectWeakPointer<XmlElement>& xml)
    : FixedChildrenListControl(parent, xml) {}

Point SingletonAdapterControl::GetAbsolutePos() { return Point(0, 0); }

Point SingletonAdapterControl::GetRealAbsolutePos() {
    const ObjectWeakPointer<Control> parent = GetParent();
    return (parent == NULL ? Point(0, 0) : parent->GetAbsolutePos()) + GetInParentPos();
}

void SingletonAdapterControl::Draw() {
    const Point p = GetRealAbsolutePos();
    Render::device.PushMatrix();
    Render::device.MatrixTranslate(static_cast<float>(p.x), static_cast<float>(p.y), 0.0f);
    FixedChildrenListControl::Draw();
    Render::device.PopMatrix();
}

void SingletonAdapterControl::OnMouseMove(ObjectWeakPointer<MouseMoveEvent> event) {
    const Point p = GetRealAbsolutePos();
    const FPoint mouse = event->GetFloatMousePos();
    event->PushMousePos(FPoint(mouse._x - static_cast<float>(p.x), mouse._y - static_cast<float>(p.y)));
    FixedChildrenListControl::OnMouseMove(event);
    event->PopMousePos();
}
