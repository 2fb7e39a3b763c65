#pragma once
// A music track read from its file while it sounds: decoded (libsndfile) a little ahead of the
// output and converted to the output's rate and channels (SDL_AudioStream), so that a track costs
// a few kilobytes however long it is. The audio thread mixes it into the output; every other call
// comes from the program's thread, and the owner keeps the two apart with one lock.

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _SDL_AudioStream;

class StreamedMusic {
public:
    // Opens a sound file for 16-bit stereo output at the rate. Null when it cannot be opened
    // (error BASS_ERROR_FILEOPEN) or is no sound file this can decode (BASS_ERROR_FILEFORM).
    static std::unique_ptr<StreamedMusic> Open(const std::string& path, int outputRate, int& error);
    ~StreamedMusic();
    StreamedMusic(const StreamedMusic&) = delete;
    StreamedMusic& operator=(const StreamedMusic&) = delete;

    // From the start, looping or once.
    void Play(bool loop);
    void Stop();
    // True from Play until Stop or the end of a track played once.
    bool IsPlaying() const { return _playing; }
    // Volume 0..100, pan -100 (left) .. 100 (right): the scale of a mixer channel.
    void SetVolume(int volume);
    void SetPan(int pan);

    // Adds the next frames of the track to 16-bit stereo output, clipped (the audio thread).
    void MixInto(std::int16_t* output, int frames);

private:
    StreamedMusic() = default;
    void UpdateGains();
    // Decodes the next block into the converter; at the end it starts over or closes the stream.
    void DecodeBlock();

    SNDFILE* _file = nullptr;
    int _channels = 0;
    sf_count_t _frames = 0;
    _SDL_AudioStream* _converter = nullptr;
    std::vector<float> _decoded;
    std::vector<std::int16_t> _converted;
    bool _playing = false;
    bool _loop = false;
    bool _ended = false;
    int _volume = 0;
    int _pan = 0;
    float _leftGain = 0.0f;
    float _rightGain = 0.0f;
};
