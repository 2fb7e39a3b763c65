#pragma once
// Decodes JPEG, PNG and TGA files (or their JPEG forms) into the process-wide picture buffer.

#include <string>

#include "shell/Image.h"

class ImageLoader {
public:
    // Loads the picture into the picture buffer and describes it in image.
    static void Load(Image& image, const std::string& fileName);
    // Reads only the file header.
    static void LoadInfo(Image& image, const std::string& fileName);

    // True when the last picture came in its JPEG form; that form is then tried first.
    static bool _preferJpegForm;

private:
    enum Kind { KIND_JPEG, KIND_PNG, KIND_TGA };

    ImageLoader(Image& image, const std::string& fileName);

    bool ChooseKind(Kind& kind) const;
    void Run();
    bool Attempt(bool jpegForm, std::string& message);
    void LoadNamedForm();
    void LoadJpegForm();

    void LoadOneJpeg(const std::string& name);
    void LoadJpegPair(const std::string& colorName, const std::string& alphaName);
    void LoadPng(const std::string& name);
    void LoadTga(const std::string& name);

    Image* _image = nullptr;
    std::string _filename;
    Kind _kind = KIND_PNG;
};
