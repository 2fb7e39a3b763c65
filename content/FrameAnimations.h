#pragma once
// The kinds of frame animation and the factory that builds them from their elements.

#include <string>
#include <vector>

#include "content/Animation.h"
#include "core/XmlElement.h"
#include "shell/Texture.h"

// Owns one texture per frame and keeps them all in use while the animation is in use.
class OwningAnimation : public Animation {
public:
    void StartUsing() override;
    void StopUsing() override;
    UsingPointer<Texture> GetFrame(int index) override;
    int size() override;

    int GetTextureCount() const { return static_cast<int>(_textures.size()); }

protected:
    OwningAnimation() = default;
    // Checks "size > 0" once the kind has made its frames.
    void CheckFramesMade();

    std::vector<ObjectSmartPointer<Texture>> _textures;
    std::vector<UsingPointer<Texture>> _using;
};

// Frame i from the "texture" child with "[frameId]" := start + i * step, zero-padded.
class TextureSetAnimation : public OwningAnimation {
public:
    explicit TextureSetAnimation(const ObjectWeakPointer<XmlElement>& xml);
    // The frame numbers as text, padded with zeros to the longest of them.
    static std::vector<std::string> FrameIds(int start, int step, int count);
};

// Cells of frameWidth x frameHeight cut from one texture, rows from the top, left to right.
class OneTextureAnimation : public OwningAnimation {
public:
    explicit OneTextureAnimation(const ObjectWeakPointer<XmlElement>& xml);
    // The cells (lower-left corners, y up) of a w x h picture, at most count of them.
    static std::vector<Rect> Cells(int w, int h, int frameWidth, int frameHeight, int count);
};

// Frames of a packed picture described by the side file next to it (picture name with ".xml").
class PackedOneTextureAnimation : public OwningAnimation {
public:
    explicit PackedOneTextureAnimation(const ObjectWeakPointer<XmlElement>& xml);
};

// Frames start ... start + count - 1 of another animation.
class SubsetAnimation : public Animation {
public:
    explicit SubsetAnimation(const ObjectWeakPointer<XmlElement>& xml);
    void StartUsing() override;
    void StopUsing() override;
    UsingPointer<Texture> GetFrame(int index) override;
    int size() override;

private:
    ObjectWeakPointer<Animation> _base;
    int _start = 0;
    int _count = 0;
    UsingPointer<Animation> _using;
};

// Frame ranges of several animations joined in order.
class CutJoinAnimation : public Animation {
public:
    explicit CutJoinAnimation(const ObjectWeakPointer<XmlElement>& xml);
    void StartUsing() override;
    void StopUsing() override;
    UsingPointer<Texture> GetFrame(int index) override;
    int size() override;

private:
    struct Part {
        ObjectWeakPointer<Animation> base;
        int start = 0;
        int count = 0;
    };
    std::vector<Part> _parts;
    std::vector<UsingPointer<Texture>> _using;
};

// The kind is chosen by the element's name; any other name is reported and gives an empty pointer.
ObjectSmartPointer<Animation> CreateAnimation(const ObjectWeakPointer<XmlElement>& xml);
