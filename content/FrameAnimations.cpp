#include "content/FrameAnimations.h"

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "core/Assert.h"
#include "core/Int.h"
#include "core/XmlDocument.h"
#include "core/XmlRead.h"
#include "shell/PartialTexture.h"
#include "shell/TextureFactory.h"

// OwningAnimation

void OwningAnimation::CheckFramesMade() {
    const int size = static_cast<int>(_textures.size());
    Assert(size > 0);
}

void OwningAnimation::StartUsing() {
    Assert(_using.size() == 0);
    _using.clear();
    for (const ObjectSmartPointer<Texture>& texture : _textures) {
        _using.push_back(UsingPointer<Texture>(ObjectWeakPointer<Texture>(texture)));
    }
}

void OwningAnimation::StopUsing() {
    Assert(_using.size() > 0);
    _using.clear();
}

UsingPointer<Texture> OwningAnimation::GetFrame(int index) {
    Assert(_using.size() > 0);
    Assert(0 <= index && index < static_cast<int>(_using.size()));
    if (index < 0 || index >= static_cast<int>(_using.size())) return UsingPointer<Texture>();
    return _using[static_cast<std::size_t>(index)];
}

int OwningAnimation::size() {
    Assert(_using.size() > 0);
    return static_cast<int>(_textures.size());
}

// TextureSetAnimation

std::vector<std::string> TextureSetAnimation::FrameIds(int start, int step, int count) {
    std::size_t len = 0;
    for (int i = 0; i < count; ++i) {
        const int frameId = start + i * step;
        Assert(frameId >= 0);
        len = std::max(len, Int::ToString(frameId).length());
    }
    Assert(len > 0);
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) {
        std::string frameId = Int::ToString(start + i * step);
        while (frameId.length() < len) frameId = "0" + frameId;
        Assert(frameId.length() == len);
        result.push_back(frameId);
    }
    return result;
}

TextureSetAnimation::TextureSetAnimation(const ObjectWeakPointer<XmlElement>& xml) {
    const int start = xml->GetIntAttribute("start");
    Assert(start >= 0);
    const int step = xml->GetIntAttribute("step");
    Assert(step != 0);
    const int count = xml->GetIntAttribute("count");
    Assert(count > 0);
    ObjectWeakPointer<XmlElement> textureXml = xml->GetFirstChildElement("texture");
    Assert(textureXml != NULL);
    if (textureXml == NULL) return;
    textureXml->MarkVisitedTree();
    for (const std::string& frameId : FrameIds(start, step, count)) {
        ObjectSmartPointer<XmlElement> copy(new XmlElement(textureXml));
        TemplateLib::DefineText(copy, "[frameId]", frameId);
        copy->ResetVisitedTree();
        ObjectSmartPointer<Texture> texture = TextureFactory::Create(copy);
        copy->CheckVisited();
        if (texture != NULL) _textures.push_back(texture);
    }
    CheckFramesMade();
}

// OneTextureAnimation

std::vector<Rect> OneTextureAnimation::Cells(int w, int h, int frameWidth, int frameHeight, int count) {
    std::vector<Rect> cells;
    if (frameWidth <= 0 || frameHeight <= 0) return cells;
    for (int y = h - frameHeight; y >= 0 && static_cast<int>(cells.size()) < count; y -= frameHeight) {
        for (int x = 0; x <= w - frameWidth && static_cast<int>(cells.size()) < count; x += frameWidth) {
            cells.push_back(Rect(x, y, frameWidth, frameHeight));
        }
    }
    return cells;
}

namespace {
// The picture's size, read while the texture is in use.
Rect UsedRectangle(const ObjectSmartPointer<Texture>& texture) {
    if (texture == NULL) return Rect();
    UsingPointer<Texture> use{ObjectWeakPointer<Texture>(texture)};
    return texture->GetRectangle();
}
}  // namespace

OneTextureAnimation::OneTextureAnimation(const ObjectWeakPointer<XmlElement>& xml) {
    ObjectWeakPointer<XmlElement> textureXml = xml->GetFirstChildElement("texture");
    Assert(textureXml != NULL);
    const int frameWidth = xml->GetIntAttribute("frameWidth");
    Assert(frameWidth > 0);
    const int frameHeight = xml->GetIntAttribute("frameHeight");
    Assert(frameHeight > 0);
    const int count = xml->GetIntAttribute("count");
    Assert(count > 0);
    if (textureXml == NULL) return;
    ObjectSmartPointer<Texture> base = TextureFactory::Create(textureXml);
    if (base == NULL) return;
    const Rect picture = UsedRectangle(base);
    const std::vector<Rect> cells = Cells(picture.width, picture.height, frameWidth, frameHeight, count);
    for (const Rect& cell : cells) _textures.push_back(ObjectSmartPointer<Texture>(new PartialTexture(base, cell)));
    const int i = static_cast<int>(cells.size());
    Assert(i == count);
    CheckFramesMade();
}

// PackedOneTextureAnimation

PackedOneTextureAnimation::PackedOneTextureAnimation(const ObjectWeakPointer<XmlElement>& xml) {
    ObjectWeakPointer<XmlElement> textureXml = xml->GetFirstChildElement("texture");
    Assert(textureXml != NULL);
    if (textureXml == NULL) return;
    const std::string path = textureXml->GetStringAttribute("path");
    const std::size_t dotPos = path.rfind('.');
    Assert(dotPos != std::string::npos);
    const std::string sideFile = (dotPos == std::string::npos ? path : path.substr(0, dotPos)) + ".xml";
    ObjectSmartPointer<Texture> base = TextureFactory::Create(textureXml);
    if (base == NULL) return;
    const int pictureHeight = UsedRectangle(base).height;
    ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(sideFile));
    ObjectWeakPointer<XmlElement> root = document->GetRoot();
    if (root == NULL) return;
    root->MarkVisited();
    const int count = root->GetIntAttribute("count");
    Assert(count > 0);
    int i = 0;
    for (ObjectWeakPointer<XmlElement> frame = root->GetFirstChildElement("frame"); frame != NULL;
         frame = frame->GetNextElement("frame"), ++i) {
        const int x = frame->GetIntAttribute("x");
        const int y = frame->GetIntAttribute("y");
        const int width = frame->GetIntAttribute("width");
        const int height = frame->GetIntAttribute("height");
        const int frameWidth = frame->GetIntAttribute("frameWidth");
        const int frameHeight = frame->GetIntAttribute("frameHeight");
        const int innerX = frame->GetIntAttribute("innerX");
        const int innerY = frame->GetIntAttribute("innerY");
        ObjectSmartPointer<Texture> part(new PartialTexture(base, Rect(x, pictureHeight - y - height, width, height)));
        _textures.push_back(ObjectSmartPointer<Texture>(new TransparentExtensionTexture(
            part, Rect(innerX, frameHeight - innerY - height, width, height), Rect(0, 0, frameWidth, frameHeight))));
    }
    Assert(i == count);
    root->CheckVisited();
    CheckFramesMade();
}

// SubsetAnimation

SubsetAnimation::SubsetAnimation(const ObjectWeakPointer<XmlElement>& xml) {
    _base = ResourceManager::GetAnimation(xml->GetStringAttribute("base"));
    _start = xml->GetIntAttribute("start");
    Assert(_start >= 0);
    _count = xml->GetIntAttribute("count");
    Assert(_count > 0);
}

void SubsetAnimation::StartUsing() {
    Assert(_using == NULL);
    _using = UsingPointer<Animation>(_base);
}

void SubsetAnimation::StopUsing() {
    Assert(_using != NULL);
    _using = UsingPointer<Animation>();
}

UsingPointer<Texture> SubsetAnimation::GetFrame(int index) {
    Assert(0 <= index && index < _count);
    if (_using == NULL || index < 0 || index >= _count) return UsingPointer<Texture>();
    return _using->GetFrame(_start + index);
}

int SubsetAnimation::size() {
    Assert(_using != NULL);
    return _count;
}

// CutJoinAnimation

CutJoinAnimation::CutJoinAnimation(const ObjectWeakPointer<XmlElement>& xml) {
    for (ObjectWeakPointer<XmlElement> partXml = xml->GetFirstChildElement("part"); partXml != NULL;
         partXml = partXml->GetNextElement("part")) {
        Part part;
        part.base = ResourceManager::GetAnimation(partXml->GetStringAttribute("base"));
        part.start = partXml->GetIntAttribute("start");
        Assert(part.start >= 0);
        part.count = partXml->GetIntAttribute("count");
        Assert(part.count > 0);
        _parts.push_back(part);
    }
    Assert(_parts.size() > 0);
}

void CutJoinAnimation::StartUsing() {
    Assert(_using.size() == 0);
    _using.clear();
    for (const Part& part : _parts) {
        if (part.base == NULL) continue;  // reported when it was looked up
        UsingPointer<Animation> base(part.base);
        const int baseSize = base->size();
        for (int k = part.start; k < part.start + part.count; ++k) {
            Assert(0 <= k && k < baseSize);
            if (0 <= k && k < baseSize) _using.push_back(base->GetFrame(k));
        }
    }
    Assert(_using.size() > 0);
}

void CutJoinAnimation::StopUsing() {
    Assert(_using.size() > 0);
    _using.clear();
}

UsingPointer<Texture> CutJoinAnimation::GetFrame(int index) {
    Assert(0 <= index && index < (int)_using.size());
    if (index < 0 || index >= static_cast<int>(_using.size())) return UsingPointer<Texture>();
    return _using[static_cast<std::size_t>(index)];
}

int CutJoinAnimation::size() {
    Assert(_using.size() > 0);
    return static_cast<int>(_using.size());
}

ObjectSmartPointer<Animation> CreateAnimation(const ObjectWeakPointer<XmlElement>& xml) {
    const std::string name = xml->GetName();
    if (name == "SubsetAnimation") return ObjectSmartPointer<Animation>(new SubsetAnimation(xml));
    if (name == "TextureSetAnimation") return ObjectSmartPointer<Animation>(new TextureSetAnimation(xml));
    if (name == "OneTextureAnimation") return ObjectSmartPointer<Animation>(new OneTextureAnimation(xml));
    if (name == "PackedOneTextureAnimation") return ObjectSmartPointer<Animation>(new PackedOneTextureAnimation(xml));
    if (name == "CutJoinAnimation") return ObjectSmartPointer<Animation>(new CutJoinAnimation(xml));
    Assert(false);
    return ObjectSmartPointer<Animation>();
}
