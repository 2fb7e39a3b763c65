#include "shell/TextureRegistry.h"

#include "core/Assert.h"

std::map<std::string, ObjectSmartPointer<Texture>>& TextureRegistry::Textures() {
    static std::map<std::string, ObjectSmartPointer<Texture>> textures;
    return textures;
}

ObjectSmartPointer<Texture> TextureRegistry::GetTexture(const std::string& id) {
    auto found = Textures().find(id);
    if (found == Textures().end()) {
        ReportError("Texture '" + id + "' not found");
        return ObjectSmartPointer<Texture>();
    }
    return found->second;
}

void TextureRegistry::Register(const std::string& id, const ObjectSmartPointer<Texture>& texture) {
    if (Textures().find(id) != Textures().end()) {
        ReportError("Texture '" + id + "' already loaded");
        return;
    }
    Textures()[id] = texture;
}

void TextureRegistry::UploadGroup(const std::string& groupName) { Texture::UploadGroup(groupName); }

void TextureRegistry::ReleaseGroup(const std::string& groupName) { Texture::ReleaseGroup(groupName); }

void TextureRegistry::Clear() {
    // Each texture goes after it has left the map, so its destruction sees the map consistent.
    while (!Textures().empty()) {
        ObjectSmartPointer<Texture> texture = Textures().begin()->second;
        Textures().erase(Textures().begin());
    }
}
