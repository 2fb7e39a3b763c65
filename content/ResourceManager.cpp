#include "content/ResourceManager.h"

#include "content/ResourceManagerServices.h"
#include "content/Template.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/String.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "shell/TextureRegistry.h"

ResourceManager::Registry::~Registry() {
    // Templates unregister first; textures and animations leave their maps before they go.
    while (!_stringTemplates.empty()) _stringTemplates.pop_back();
    while (!_animations.empty()) {
        ObjectSmartPointer<Animation> animation = _animations.begin()->second;
        _animations.erase(_animations.begin());
    }
    while (!_textures.empty()) {
        ObjectSmartPointer<Texture> texture = _textures.begin()->second;
        _textures.erase(_textures.begin());
    }
}

ResourceManager::Registry& ResourceManager::Self() {
    static Registry registry;
    return registry;
}

ResourceMap<RectangleTexture>& ResourceManager::RectangleTextures() { return Self()._rectangleTextures; }

ResourceMap<FileSequenceAnimation>& ResourceManager::FileSequenceAnimations() {
    return Self()._fileSequenceAnimations;
}

ResourceMap<OldAnimation>& ResourceManager::OldAnimations() { return Self()._oldAnimations; }

ObjectWeakPointer<Texture> ResourceManager::GetTexture(const std::string& id) {
    auto found = Self()._textures.find(id);
    if (found == Self()._textures.end()) {
        ReportError("Texture '" + id + "' not found");
        return ObjectWeakPointer<Texture>();
    }
    return found->second;
}

ObjectWeakPointer<Animation> ResourceManager::GetAnimation(const std::string& id) {
    auto found = Self()._animations.find(id);
    if (found == Self()._animations.end()) {
        ReportError("Animation '" + id + "' not found");
        return ObjectWeakPointer<Animation>();
    }
    return found->second;
}

UsingPointer<Animation> ResourceManager::UseAnimation(const std::string& id) {
    return UsingPointer<Animation>(GetAnimation(id));
}

std::string ResourceManager::GetString(const std::string& name) {
    auto found = Self()._strings.find(name);
    if (found == Self()._strings.end()) {
        ReportError("String resource '" + name + "' not found");
        return std::string();
    }
    return found->second;
}

bool ResourceManager::HasTexture(const std::string& id) { return Self()._textures.count(id) != 0; }

bool ResourceManager::HasAnimation(const std::string& id) { return Self()._animations.count(id) != 0; }

std::vector<std::string> ResourceManager::GetTextureIds() {
    std::vector<std::string> ids;
    for (const auto& item : Self()._textures) ids.push_back(item.first);
    return ids;
}

std::vector<std::string> ResourceManager::GetAnimationIds() {
    std::vector<std::string> ids;
    for (const auto& item : Self()._animations) ids.push_back(item.first);
    return ids;
}

bool ResourceManager::HasString(const std::string& name) { return Self()._strings.count(name) != 0; }

UsingPointer<Texture> ResourceManager::GetTextureOrFrame(const std::string& textureId) {
    std::string rest = textureId;
    if (!String::IsHeadCut(rest, "animation_frame:")) return UsingPointer<Texture>(GetTexture(textureId));
    const std::size_t semicolonPos = rest.find('/');
    Assert(semicolonPos != std::string::npos);
    if (semicolonPos == std::string::npos) return UsingPointer<Texture>();
    const std::string frameText = rest.substr(semicolonPos + 1);
    const int frame = Int::Parse(frameText);
    if (Int::ToString(frame) != frameText) return UsingPointer<Texture>();  // reported by the parser
    UsingPointer<Animation> animation = UseAnimation(rest.substr(0, semicolonPos));
    if (animation == NULL) return UsingPointer<Texture>();
    const int size = animation->size();
    const int index = frame >= 0 ? frame : size + frame;
    Assert(0 <= index && index < size);
    if (index < 0 || index >= size) return UsingPointer<Texture>();
    return animation->GetFrame(index);
}

RectangleTexture* ResourceManager::GetRectangleTexture(const std::string& name) {
    if (!name.empty() && name[0] == '#') return Self()._rectangleTextures.Get(name.substr(1));
    RectangleTexture* texture = new RectangleTexture(name);
    texture->Upload();
    return texture;
}

FileSequenceAnimation* ResourceManager::GetFileSequenceAnimation(const std::string& id) {
    return Self()._fileSequenceAnimations.Get(id);
}

void ResourceManager::UploadGroup(const std::string& groupName) {
    ContentLoad::TimePauser pauser;
    Registry& self = Self();
    self._rectangleTextures.UploadGroup(groupName);
    self._fileSequenceAnimations.UploadGroup(groupName);
    if (Texture::HasGroup(groupName)) {
        Texture::UploadGroup(groupName);  // reports and ignores a group uploaded already
    } else if (!self._rectangleTextures.HasGroup(groupName) && !self._fileSequenceAnimations.HasGroup(groupName)) {
        ReportFailure("Assertion failed", "_groupMembers.find(groupName) != _groupMembers.end()", __FILE__,
                      __LINE__);
    }
}

void ResourceManager::ReleaseGroup(const std::string& groupName) {
    ContentLoad::TimePauser pauser;
    Registry& self = Self();
    self._rectangleTextures.ReleaseGroup(groupName);
    self._fileSequenceAnimations.ReleaseGroup(groupName);
    if (Texture::HasGroup(groupName)) {
        Texture::ReleaseGroup(groupName);  // reports and ignores a group not uploaded
    } else if (!self._rectangleTextures.HasGroup(groupName) && !self._fileSequenceAnimations.HasGroup(groupName)) {
        ReportFailure("Assertion failed", "_groupMembers.find(groupName) != _groupMembers.end()", __FILE__,
                      __LINE__);
    }
}

void ResourceManager::LoadResourceFile(const std::string& fileName) {
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(fileName));
    ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) return;
    LoadResources(root);
}

void ResourceManager::MirrorTexture(const std::string& id) {
    Registry& self = Self();
    auto texture = self._textures.find(id);
    if (texture == self._textures.end()) return;
    auto mirrored = self._mirrored.find(id);
    if (mirrored == self._mirrored.end()) {
        TextureRegistry::Register(id, texture->second);
        self._mirrored[id] = texture->second.Get();
        return;
    }
    if (mirrored->second == texture->second.Get()) return;
    // The texture registry keeps the first of an id: fill it again.
    TextureRegistry::Clear();
    self._mirrored.clear();
    for (const auto& item : self._textures) {
        TextureRegistry::Register(item.first, item.second);
        self._mirrored[item.first] = item.second.Get();
    }
}

void ResourceManager::ReleaseAll() {
    Registry& self = Self();
    TextureRegistry::Clear();
    self._mirrored.clear();
    self._rectangleTextures.ReleaseAll();
    self._fileSequenceAnimations.ReleaseAll();
    // Private pictures of sprite-sheet animations leave the device too.
    self._oldAnimations.ForEach([](const std::string&, ResourceMap<OldAnimation>::Entry& entry) {
        if (entry.resource != nullptr && entry.resource->ownsTexture && entry.resource->texture != nullptr) {
            entry.resource->texture->Release();
        }
    });
    self._oldAnimations.ReleaseAll();
    while (!self._animations.empty()) {
        ObjectSmartPointer<Animation> animation = self._animations.begin()->second;
        self._animations.erase(self._animations.begin());
    }
    while (!self._textures.empty()) {
        ObjectSmartPointer<Texture> texture = self._textures.begin()->second;
        self._textures.erase(self._textures.begin());
    }
    while (!self._stringTemplates.empty()) self._stringTemplates.pop_back();
}
