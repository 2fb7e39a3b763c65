#include "controls/PictureTexture.h"

#include "core/Assert.h"
#include "core/XmlElement.h"
#include "content/ResourceManager.h"

UsingPointer<Texture> GetPictureTexture(const std::string& textureId) {
    return ResourceManager::GetTextureOrFrame(textureId);
}

ObjectWeakPointer<XmlElement> GetNeededChild(const ObjectWeakPointer<XmlElement>& xml, const std::string& name) {
    if (xml == NULL) {
        return ObjectWeakPointer<XmlElement>();
    }
    const ObjectWeakPointer<XmlElement> child = xml->GetFirstChildElement(name);
    if (child == NULL) {
        ReportFailure("Assertion failed", "_object != NULL", __FILE__, __LINE__);
    }
    return child;
}
