#pragma once
// What the headless probe programs share: their arguments, the 800x600 device, the frame read
// back and written as a PNG, and the comparison with a reference picture.

#include <cstddef>
#include <string>

#include "platform/render/PngFile.h"
#include "shell/RenderDevice.h"

namespace probe_support {

//   <out.png> [--data <folder>] [--reference <ref.png>] [--tolerance N] [--outliers N]
struct ProbeArguments {
    std::string outPath;
    std::string dataPath;
    std::string referencePath;
    int tolerance = 8;
    size_t outliers = 0;
};
// The options after the output path, in pairs; unknown ones are passed over.
ProbeArguments ParseProbeArguments(int argc, char** argv);

// The folder of the path with its '/', or "" when it has none (the log goes beside the picture).
std::string FolderOf(const std::string& path);
// A relative path made absolute from the current folder, so that it survives a change of folder.
std::string AbsoluteFromHere(const std::string& path);

// An 800x600 window with the render device on it; null, with a line on stderr, when it fails.
HWND CreateProbeDevice(const char* name);
// Releases the device and closes the window and SDL.
void CloseProbeDevice(HWND window);

// Starts a frame in 2D picture mode with alpha blending.
void BeginProbeFrame();
// Ends the 2D mode, reads the frame back and ends the frame.
HRESULT EndProbeFrame(render_layer::PngPicture* frame);
// Writes the read frame, made opaque, as a PNG; false, with a line on stderr, when it was not read
// or cannot be written.
bool WriteProbeFrame(const char* name, HRESULT read, render_layer::PngPicture& frame, const std::string& outPath);

// Whether no more than outliers pixels differ from the reference by more than tolerance in a colour
// channel; prints the count and the largest difference.
bool MatchesReference(const char* name, const render_layer::PngPicture& frame, const std::string& referencePath,
                      int tolerance, size_t outliers);

// Puts the log into the folder (ending with '/', or "" for the current one) and empties it, so a
// run counts only its own errors.
void StartProbeLog(const std::string& folder);

// ERROR entries in the log.
int CountLogErrors();

}  // namespace probe_support
