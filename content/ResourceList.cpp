// The resource list readers of the resource manager: one per section of a "Resources" element.
#include "content/FrameAnimations.h"
#include "content/ResourceListDirectory.h"
#include "content/ResourceManager.h"
#include "content/ResourceManagerServices.h"
#include "content/Template.h"
#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/Bool.h"
#include "core/FileWrapper.h"
#include "core/String.h"
#include "shell/BitmapFont.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"
#include "shell/TextureFactory.h"

namespace {
using Element = ObjectWeakPointer<XmlElement>;

// The child elements of a section, each announced to the entry observer before it is read.
template <class F>
void ForEachEntry(const Element& section, F f) {
    for (Element child = section->GetFirstChildElement(); child != NULL; child = child->GetNextElement()) {
        ContentLoad::EntryStarted(child);
        f(child);
    }
}
}  // namespace

void ResourceManager::LoadResources(const ObjectWeakPointer<XmlElement>& root) {
    Assert(root != NULL);
    if (root == NULL) return;
    root->ResetVisitedTree();
    root->MarkVisited();
    Assert(root->GetName() == "Resources");
    for (Element section = root->GetFirstChildElement(); section != NULL; section = section->GetNextElement()) {
        ContentLoad::EntryStarted(section);
        const std::string name = section->GetName();
        if (name == "Fonts") {
            LoadFonts(section);
        } else if (name == "Textures") {
            LoadTextures(section);
        } else if (name == "Animations") {
            LoadAnimations(section);
        } else if (name == "Music") {
            LoadMusic(section);
        } else if (name == "Sounds") {
            LoadSounds(section);
        } else if (name == "Strings") {
            LoadStrings(section);
        } else if (name == "ForEachFile") {
            LoadForEachFile(section);
        } else if (name == "Textures2D") {
            LoadTextures2D(section);
        } else if (name == "FrameAnimations") {
            LoadFrameAnimations(section);
        } else if (name == "OldAnimations") {
            LoadOldAnimations(section);
        } else {
            Assert(false);
        }
    }
    ContentLoad::EntryStarted(root);
    root->CheckVisited();
    // Reported once: the tree's destruction must not report the unread parts again.
    root->MarkVisitedTree();
}

void ResourceManager::LoadFonts(const ObjectWeakPointer<XmlElement>& section) {
    ForEachEntry(section, [](const Element& fontXml) {
        Assert(fontXml->GetName() == "font");
        const std::string name = fontXml->GetStringAttribute("name");
        if (fontXml->HasAttribute("aliasOf")) {
            Render::fonts.AddFontAlias(name, fontXml->GetStringAttribute("aliasOf"));
            return;
        }
        const int track = fontXml->GetIntAttribute("track");
        const int spaceSize = fontXml->GetIntAttributeOrDef("spaceSize", -1);
        Render::fonts.AddFont(BitmapFont(name, track, spaceSize));
        ContentLoad::Step();
    });
}

void ResourceManager::LoadTextures(const ObjectWeakPointer<XmlElement>& section) {
    auto& textures = Self()._textures;
    for (Element textureXml = section->GetFirstChildElement("texture"); textureXml != NULL;
         textureXml = textureXml->GetNextElement("texture")) {
        ContentLoad::EntryStarted(textureXml);
        const std::string id = textureXml->GetStringAttribute("id");
        if (textures.find(id) != textures.end()) ReportError("Texture '" + id + "' already loaded");
        if (textureXml->HasAttribute("aliasOf")) {
            const std::string aliasOf = textureXml->GetStringAttribute("aliasOf");
            Assert(textures.find(aliasOf) != textures.end());
            // An alias of nothing registers nothing.
            if (textures.find(aliasOf) != textures.end()) {
                textures[id] = textures[aliasOf];
                MirrorTexture(id);
            }
            continue;
        }
        for (ObjectWeakPointer<XmlAttribute> a = section->GetFirstAttribute(); a != NULL; a = a->GetNextAttribute()) {
            a->MarkVisited();
            const std::string attributeName = a->GetName();
            Assert(!textureXml->HasAttribute(attributeName));
            if (textureXml->HasAttribute(attributeName)) {
                textureXml->ReplaceAttribute(attributeName, a->GetValue());
            } else {
                textureXml->AddAttribute(ObjectSmartPointer<XmlAttribute>(new XmlAttribute(attributeName, a->GetValue())));
            }
        }
        if ((id == "vrn_logo_active" || id == "vrn_logo_normal") &&
            !FileExists(textureXml->GetStringAttribute("path"))) {
            textureXml->MarkVisitedTree();  // an optional picture that is not there
        } else {
            ObjectSmartPointer<Texture> texture = TextureFactory::Create(textureXml);
            // The replaced texture leaves the map before it goes.
            ObjectSmartPointer<Texture> old = textures[id];
            textures[id] = texture;
            MirrorTexture(id);
        }
        ContentLoad::Step();
    }
}

void ResourceManager::LoadAnimations(const ObjectWeakPointer<XmlElement>& section) {
    auto& animations = Self()._animations;
    ForEachEntry(section, [&animations](const Element& animationXml) {
        const std::string id = animationXml->GetStringAttribute("id");
        if (animations.find(id) != animations.end()) ReportError("Animation '" + id + "' already loaded");
        ObjectSmartPointer<Animation> animation = CreateAnimation(animationXml);
        if (animation != NULL) {
            ObjectSmartPointer<Animation> old = animations[id];
            animations[id] = animation;
        }
        ContentLoad::Step();
    });
}

void ResourceManager::LoadMusic(const ObjectWeakPointer<XmlElement>& section) {
    ForEachEntry(section, [](const Element& trackXml) {
        Assert(trackXml->GetName() == "track");
        const std::string id = trackXml->GetStringAttribute("id");
        const std::string path = trackXml->GetStringAttribute("path");
        const std::string tag = trackXml->GetStringAttributeOrDef("tag", "Common");
        Sound::soundSystem.AddTrack(id, tag, path);
    });
}

void ResourceManager::LoadSounds(const ObjectWeakPointer<XmlElement>& section) {
    ForEachEntry(section, [](const Element& sampleXml) {
        const std::string id = sampleXml->GetStringAttribute("id");
        if (sampleXml->HasAttribute("aliasOf")) {
            sampleXml->MarkVisited();
            Sound::soundSystem.AddSampleAlias(id, sampleXml->GetStringAttribute("aliasOf"));
            return;
        }
        const std::string name = sampleXml->GetName();
        if (name != "sample" && name != "sampleEx") {
            Assert(false);
            return;
        }
        const std::string path = sampleXml->GetStringAttribute("path");
        const int mix = sampleXml->GetIntAttribute("mix");
        if (name == "sampleEx") {
            const int volume = sampleXml->GetIntAttribute("volume");
            const int pan = sampleXml->GetIntAttributeOrDef("pan", -101);
            const float panFactor = sampleXml->GetFloatAttributeOrDef("panFactor", 1.0f);
            Sound::soundSystem.AddSampleEx(id, path, mix, volume, pan, panFactor);
        } else {
            Sound::soundSystem.AddSample(id, path, mix);
        }
    });
}

void ResourceManager::LoadStrings(const ObjectWeakPointer<XmlElement>& section) {
    Registry& self = Self();
    ForEachEntry(section, [&self](const Element& stringXml) {
        const std::string name = stringXml->GetName();
        if (name == "string") {
            const std::string stringName = stringXml->GetStringAttribute("name");
            const std::string value = stringXml->GetStringAttribute("value");
            if (self._strings.find(stringName) != self._strings.end()) {
                ReportError("String resource '" + stringName + "' already loaded");
            }
            self._strings[stringName] = value;
        } else if (name == "div") {
            self._stringTemplates.push_back(ObjectSmartPointer<Template>(new Template(stringXml)));
        } else {
            Assert(false);
        }
    });
}

void ResourceManager::LoadForEachFile(const ObjectWeakPointer<XmlElement>& section) {
    const std::string directory = section->GetStringAttribute("directory");
    const std::vector<std::string> files = DirectoryListing::GetFileNames(
        directory + "\\*",
        FileAttributesCondition(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, 0));
    Assert(files.size() != 0);
    Element templateXml = section->GetFirstChildElement();
    Assert(templateXml != NULL);
    if (templateXml == NULL) return;
    templateXml->MarkVisitedTree();
    for (const std::string& file : files) {
        const std::string lower = ToLower(file);
        const std::size_t extPos = lower.rfind('.');
        Assert(extPos != std::string::npos);
        const std::string name = extPos == std::string::npos ? lower : lower.substr(0, extPos);
        const std::string ext = extPos == std::string::npos ? lower : lower.substr(extPos + 1);
        ObjectSmartPointer<XmlElement> copy(new XmlElement(templateXml));
        TemplateLib::DefineText(copy, "[directory]", directory);
        TemplateLib::DefineText(copy, "[name]", name);
        TemplateLib::DefineText(copy, "[ext]", ext);
        TemplateLib::CheckFullyInstantiated(copy);
        LoadResources(copy);
        ContentLoad::EntryStarted(section);
    }
}

void ResourceManager::LoadTextures2D(const ObjectWeakPointer<XmlElement>& section) {
    auto& map = Self()._rectangleTextures;
    ForEachEntry(section, [&map](const Element& textureXml) {
        const std::string id = textureXml->GetStringAttribute("id");
        RectangleTexture* res = new RectangleTexture();
        res->LoadInfo(textureXml->GetStringAttribute("path"));
        res->_needInMemory = textureXml->GetBoolAttributeOrDef("needInMemory", true);
        if (res->_needInMemory) {
            res->_opacityLevel = textureXml->GetIntAttributeOrDef("opacityLevel", 128);
            Assert(0 <= res->_opacityLevel && res->_opacityLevel <= 256);
        }
        Assert(res != NULL);
        const std::string path = textureXml->GetStringAttribute("path");
        const bool upload = textureXml->GetBoolAttributeOrDef("upload", true);
        const std::string group = textureXml->GetStringAttributeOrDef("group", "Common");
        if (map.Add(std::make_pair(id, res), path, group) && upload) map.Upload(id);
    });
}

void ResourceManager::LoadFrameAnimations(const ObjectWeakPointer<XmlElement>& section) {
    auto& map = Self()._fileSequenceAnimations;
    ForEachEntry(section, [&map](const Element& animationXml) {
        const std::string id = animationXml->GetStringAttribute("id");
        FileSequenceAnimation* res = new FileSequenceAnimation(
            animationXml->GetStringAttribute("path"), animationXml->GetStringAttribute("prefix"),
            animationXml->GetStringAttribute("format"), animationXml->GetIntAttribute("keys"),
            animationXml->GetIntAttribute("start"), animationXml->GetIntAttribute("step"),
            animationXml->GetBoolAttributeOrDef("needTexturesInMemory", false));
        Assert(res != NULL);
        const std::string path = animationXml->GetStringAttribute("path");
        const bool upload = animationXml->GetBoolAttributeOrDef("upload", true);
        const std::string group = animationXml->GetStringAttributeOrDef("group", "Common");
        if (map.Add(std::make_pair(id, res), path, group) && upload) map.Upload(id);
    });
}

void ResourceManager::LoadOldAnimations(const ObjectWeakPointer<XmlElement>& section) {
    Registry& self = Self();
    ForEachEntry(section, [&self](const Element& animationXml) {
        const std::string id = animationXml->GetStringAttribute("id");
        OldAnimation* res = new OldAnimation();
        const std::string textureName = animationXml->GetStringAttribute("texture");
        if (!textureName.empty() && textureName[0] == '#') {
            res->texture = GetRectangleTexture(textureName);
            // The shared picture is made resident through its registry entry, never twice.
            self._rectangleTextures.Upload(textureName.substr(1));
        } else {
            res->texture = GetRectangleTexture(textureName);
            res->ownsTexture = true;
        }
        Element frames = animationXml->GetFirstChildElement("frames");
        if (frames != NULL) {
            res->width = frames->GetIntAttribute("width");
            res->height = frames->GetIntAttribute("height");
            res->_iFramesCount = frames->GetIntAttribute("count");
            res->SetLastFrame(frames->GetIntAttribute("last"));
            res->SetFirstFrame(frames->GetIntAttribute("first"));
        }
        Element playback = animationXml->GetFirstChildElement("playback");
        if (playback != NULL) {
            const int fps = playback->GetIntAttribute("fps");
            Assert(fps > 0);
            res->frameTime = fps > 0 ? 1.0f / static_cast<float>(fps) : 0.0f;
            res->play = Bool::ParseZeroOne(playback->GetStringAttribute("play"));
            if (Bool::ParseZeroOne(playback->GetStringAttribute("loop"))) res->flags |= OldAnimation::FLAG_LOOP;
            if (Bool::ParseZeroOne(playback->GetStringAttribute("forward"))) {
                res->direction = 1;
                res->currentFrame = res->first;
            } else {
                res->flags |= OldAnimation::FLAG_BACKWARD;
                res->direction = -1;
                res->currentFrame = res->last;
            }
            if (Bool::ParseZeroOne(playback->GetStringAttribute("pingpong"))) res->flags |= OldAnimation::FLAG_PINGPONG;
        }
        if (res->texture != nullptr && res->texture->_textureWidth > 0 && res->texture->_textureHeight > 0) {
            res->frameWidth = static_cast<float>(res->width) / static_cast<float>(res->texture->_textureWidth);
            res->frameHeight = static_cast<float>(res->height) / static_cast<float>(res->texture->_textureHeight);
        }
        Assert(res != NULL);
        self._oldAnimations.Add(std::make_pair(id, res), "None", "Common");
    });
}
