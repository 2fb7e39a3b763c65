#include "content/ResourceListOldKinds.h"

#include "content/ResourceMap.h"
#include "core/Assert.h"
#include "core/Int.h"

FileSequenceAnimation::FileSequenceAnimation(const std::string& path_, const std::string& prefix_,
                                             const std::string& format_, int keys_, int start_, int step_,
                                             bool needTexturesInMemory)
    : path(path_), prefix(prefix_), format(format_), start(start_), step(step_), keys(keys_) {
    Assert(keys >= 0);
    for (int i = 0; i < keys; ++i) frames.push_back(new RectangleTexture(needTexturesInMemory));
}

FileSequenceAnimation::~FileSequenceAnimation() {
    for (RectangleTexture* frame : frames) delete frame;
}

std::string FileSequenceAnimation::GetFileName(int i) const {
    const std::string base = path + prefix;
    const std::size_t width = (base + Int::ToString(start + keys)).length();
    const std::string number = Int::ToString(start + i * step);
    std::string name = base;
    while ((name + number).length() < width) name += "0";
    return name + number + "." + format;
}

void FileSequenceAnimation::Upload() {
    for (int i = 0; i < keys; ++i) {
        frames[static_cast<std::size_t>(i)]->Load(GetFileName(i));
        frames[static_cast<std::size_t>(i)]->Upload();
    }
}

void FileSequenceAnimation::Release() {
    for (RectangleTexture* frame : frames) frame->Release();
}

OldAnimation::~OldAnimation() {
    if (ownsTexture) delete texture;
}

void OldAnimation::SetFirstFrame(int iFrame) {
    Assert(0 <= iFrame && iFrame < _iFramesCount);
    first = iFrame;
}

void OldAnimation::SetLastFrame(int iFrame) {
    Assert(0 <= iFrame && iFrame < _iFramesCount);
    last = iFrame;
}

void LoadResource(RectangleTexture* resource, const std::string& path) {
    resource->Load(path);
    resource->Upload();
}

void ReleaseResource(RectangleTexture* resource) { resource->Release(); }

void LoadResource(FileSequenceAnimation* resource, const std::string&) { resource->Upload(); }

void ReleaseResource(FileSequenceAnimation* resource) { resource->Release(); }

void DeleteResource(RectangleTexture* resource) { delete resource; }

void DeleteResource(FileSequenceAnimation* resource) { delete resource; }

void DeleteResource(OldAnimation* resource) { delete resource; }
