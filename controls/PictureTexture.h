#pragma once
// The texture of a picture control by its content id ("animation_frame:" ids included). An unknown
// id is reported by the registry and gives an empty pointer.

#include <string>

#include "core/ObjectSmartPointer.h"
#include "shell/Texture.h"

class XmlElement;

UsingPointer<Texture> GetPictureTexture(const std::string& textureId);

// The child element of that name; a missing one is the failed pointer check, and empty.
ObjectWeakPointer<XmlElement> GetNeededChild(const ObjectWeakPointer<XmlElement>& xml, const std::string& name);
