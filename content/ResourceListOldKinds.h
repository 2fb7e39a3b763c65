#pragma once
// The older resource kinds: one picture file per frame, and frames cut from one picture.

#include <string>
#include <vector>

#include "shell/OldTexture.h"

class FileSequenceAnimation {
public:
    FileSequenceAnimation(const std::string& path, const std::string& prefix, const std::string& format, int keys,
                          int start, int step, bool needTexturesInMemory);
    ~FileSequenceAnimation();
    FileSequenceAnimation(const FileSequenceAnimation&) = delete;
    FileSequenceAnimation& operator=(const FileSequenceAnimation&) = delete;

    // The file of frame i: numbers padded with zeros to the digits of start + keys.
    std::string GetFileName(int i) const;
    // Reads every frame file and makes its device texture.
    void Upload();
    // Gives back every frame's device texture.
    void Release();

    std::vector<RectangleTexture*> frames;
    std::string path;
    std::string prefix;
    std::string format;
    int start = 0;
    int step = 0;
    int keys = 0;
};

class OldAnimation {
public:
    static const int FLAG_BACKWARD = 1;
    static const int FLAG_PINGPONG = 2;
    static const int FLAG_LOOP = 4;

    OldAnimation() = default;
    ~OldAnimation();
    OldAnimation(const OldAnimation&) = delete;
    OldAnimation& operator=(const OldAnimation&) = delete;

    void SetFirstFrame(int iFrame);
    void SetLastFrame(int iFrame);

    RectangleTexture* texture = nullptr;
    bool ownsTexture = false;  // a private picture, not a registered 2D texture
    int width = 0;
    int height = 0;
    int _iFramesCount = 0;
    int currentFrame = 0;
    int first = 0;
    int last = 0;
    bool play = true;
    float frameTime = 0.0f;
    float frameWidth = 0.0f;
    float frameHeight = 0.0f;
    int direction = 1;
    int flags = 0;
};
