#pragma once
// Textures by id, as the resource lists register them; stands in for the resource manager's
// texture registry until that exists.

#include <map>
#include <string>

#include "core/ObjectSmartPointer.h"
#include "shell/Texture.h"

class TextureRegistry {
public:
    // Reports "Texture '<id>' not found" and gives an empty pointer for an unknown id.
    static ObjectSmartPointer<Texture> GetTexture(const std::string& id);
    // Reports "Texture '<id>' already loaded" and keeps the first for an id given twice.
    static void Register(const std::string& id, const ObjectSmartPointer<Texture>& texture);
    static void UploadGroup(const std::string& groupName);
    static void ReleaseGroup(const std::string& groupName);
    // Drops every texture.
    static void Clear();

private:
    static std::map<std::string, ObjectSmartPointer<Texture>>& Textures();
};
