#include "aquarium/SceneryDrawing.h"

#include <algorithm>

#include "content/ResourceManager.h"
#include "core/Assert.h"
#include "core/XmlElement.h"
#include "shell/RenderDevice.h"
#include "shell/Texture.h"

namespace scenery {

int FrameCount(const UsingPointer<Animation>& animation) { return animation != NULL ? animation->size() : 0; }

void DrawFrame(const UsingPointer<Animation>& animation, int k, const Point& at) {
    const int n = FrameCount(animation);
    if (n <= 0) return;
    const UsingPointer<Texture> frame = animation->GetFrame(std::min(std::max(k, 0), n - 1));
    if (frame != NULL) frame->Draw(at);
}

UsingPointer<Animation> UseAnimation(const ObjectWeakPointer<XmlElement>& xml, const std::string& attribute) {
    return ResourceManager::UseAnimation(xml->GetStringAttribute(attribute));
}

ObjectWeakPointer<XmlElement> Child(const ObjectWeakPointer<XmlElement>& xml, const std::string& name) {
    const ObjectWeakPointer<XmlElement> element = xml->GetFirstChildElement(name);
    if (element != NULL) return element;
    ReportError("Element '" + name + "' not found in '" + xml->NameRef() + "'");
    static ObjectSmartPointer<XmlElement> empty(new XmlElement("missing"));
    return ObjectWeakPointer<XmlElement>(empty);
}

Point ReadPoint(const ObjectWeakPointer<XmlElement>& xml, const std::string& child) {
    const ObjectWeakPointer<XmlElement> element = Child(xml, child);
    return Point(element->GetIntAttribute("x"), element->GetIntAttribute("y"));
}

void NormalBlend() { Render::device.SetBlendMode(0); }

}  // namespace scenery
