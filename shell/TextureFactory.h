#pragma once
// Builds any texture from a texture element of the content files.

#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"
#include "shell/Texture.h"

class TextureFactory {
public:
    // Empty when the element names no known upload policy.
    static ObjectSmartPointer<Texture> Create(const ObjectWeakPointer<XmlElement>& element);
};
