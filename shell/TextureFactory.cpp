#include "shell/TextureFactory.h"

#include "core/Assert.h"
#include "shell/PartialTexture.h"
#include "shell/TextureDevice.h"
#include "shell/TextureKinds.h"

namespace {
template <class T>
ObjectSmartPointer<Texture> CreateNative(const ObjectWeakPointer<XmlElement>& element, const std::string& upload) {
    if (upload == "always") return ObjectSmartPointer<Texture>(new AlwaysLoadedTexture<T>(element));
    if (upload == "manual") return ObjectSmartPointer<Texture>(new GroupLoadingTexture<T>(element));
    if (upload == "refcount") return ObjectSmartPointer<Texture>(new ReferenceCountingTexture<T>(element));
    Assert(false);
    return ObjectSmartPointer<Texture>();
}
}  // namespace

ObjectSmartPointer<Texture> TextureFactory::Create(const ObjectWeakPointer<XmlElement>& element) {
    const std::string kind = element->GetStringAttributeOrDef("kind", "native");
    if (kind == "partial") return ObjectSmartPointer<Texture>(new PartialTexture(element));
    if (kind == "extension") return ObjectSmartPointer<Texture>(new TransparentExtensionTexture(element));
    const std::string upload = element->GetStringAttribute("upload");
    if (TextureDevice::NeedPow2Textures()) return CreateNative<Pow2NativeTexture>(element, upload);
    return CreateNative<AsIsNativeTexture>(element, upload);
}
