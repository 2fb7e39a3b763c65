#pragma once
// The one registry of content by name: textures, frame animations, texts, the older picture and
// animation kinds, and the "div" templates of string lists. Fonts go to the render device and
// sounds to the sound system. Filled by resource lists, loaded and released in named groups.

#include <map>
#include <string>
#include <vector>

#include "content/Animation.h"
#include "content/ResourceListOldKinds.h"
#include "content/ResourceMap.h"
#include "core/ObjectSmartPointer.h"
#include "core/XmlElement.h"
#include "shell/Texture.h"

class Template;

class ResourceManager {
public:
    // Lookups: an unknown name is reported as an Error and gives an empty result.
    static ObjectWeakPointer<Texture> GetTexture(const std::string& id);
    static ObjectWeakPointer<Animation> GetAnimation(const std::string& id);
    static UsingPointer<Animation> UseAnimation(const std::string& id);
    static std::string GetString(const std::string& name);
    // A texture id, or "animation_frame:" + animation id + "/" + frame (negative: from the last).
    static UsingPointer<Texture> GetTextureOrFrame(const std::string& textureId);
    // "#" + id: the registered 2D texture; any other name: a new texture from that file, owned by the caller.
    static RectangleTexture* GetRectangleTexture(const std::string& name);
    static FileSequenceAnimation* GetFileSequenceAnimation(const std::string& id);

    static bool HasTexture(const std::string& id);
    static bool HasAnimation(const std::string& id);
    static bool HasString(const std::string& name);
    static std::vector<std::string> GetTextureIds();
    static std::vector<std::string> GetAnimationIds();

    // The 2D textures, file-sequence animations and textures of the named load group.
    static void UploadGroup(const std::string& groupName);
    static void ReleaseGroup(const std::string& groupName);

    // Resource lists.
    static void LoadResources(const ObjectWeakPointer<XmlElement>& root);
    static void LoadResourceFile(const std::string& fileName);

    // At shutdown, before the render device goes: every device texture given back, the
    // registries of textures, animations, templates and older kinds emptied. Texts stay.
    static void ReleaseAll();

    // The registries, for the readers and tests.
    static ResourceMap<RectangleTexture>& RectangleTextures();
    static ResourceMap<FileSequenceAnimation>& FileSequenceAnimations();
    static ResourceMap<OldAnimation>& OldAnimations();

private:
    static void LoadFonts(const ObjectWeakPointer<XmlElement>& section);
    static void LoadTextures(const ObjectWeakPointer<XmlElement>& section);
    static void LoadAnimations(const ObjectWeakPointer<XmlElement>& section);
    static void LoadMusic(const ObjectWeakPointer<XmlElement>& section);
    static void LoadSounds(const ObjectWeakPointer<XmlElement>& section);
    static void LoadStrings(const ObjectWeakPointer<XmlElement>& section);
    static void LoadForEachFile(const ObjectWeakPointer<XmlElement>& section);
    static void LoadTextures2D(const ObjectWeakPointer<XmlElement>& section);
    static void LoadFrameAnimations(const ObjectWeakPointer<XmlElement>& section);
    static void LoadOldAnimations(const ObjectWeakPointer<XmlElement>& section);
    // Keeps the texture system's registry (partial textures find their base there) equal to _textures.
    static void MirrorTexture(const std::string& id);

    struct Registry {
        ResourceMap<RectangleTexture> _rectangleTextures;
        ResourceMap<FileSequenceAnimation> _fileSequenceAnimations;
        ResourceMap<OldAnimation> _oldAnimations;
        std::map<std::string, std::string> _strings;
        std::map<std::string, ObjectSmartPointer<Texture>> _textures;
        std::map<std::string, ObjectSmartPointer<Animation>> _animations;
        std::vector<ObjectSmartPointer<Template>> _stringTemplates;
        std::map<std::string, const Texture*> _mirrored;
        ~Registry();
    };
    static Registry& Self();
};
