#include "platform/audio/StreamedMusic.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/audio/AudioLibrary.h"

namespace {

constexpr int DECODE_FRAMES = 2048;

}  // namespace

std::unique_ptr<StreamedMusic> StreamedMusic::Open(const std::string& path, int outputRate, int& error) {
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (probe == nullptr) {
        error = BASS_ERROR_FILEOPEN;
        return nullptr;
    }
    std::fclose(probe);
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr || info.channels < 1 || info.channels > 8 || info.samplerate < 1) {
        if (file != nullptr) sf_close(file);
        error = BASS_ERROR_FILEFORM;
        return nullptr;
    }
    // Read as floats in -1..1 whatever the file holds (16-bit, float, Vorbis...).
    SDL_AudioStream* converter = SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(info.channels),
                                                    info.samplerate, AUDIO_S16SYS, 2, outputRate);
    if (converter == nullptr) {
        sf_close(file);
        error = BASS_ERROR_FILEFORM;
        return nullptr;
    }
    std::unique_ptr<StreamedMusic> music(new StreamedMusic());
    music->_file = file;
    music->_channels = info.channels;
    music->_frames = info.frames;
    music->_converter = converter;
    music->_decoded.resize(static_cast<size_t>(DECODE_FRAMES) * static_cast<size_t>(info.channels));
    music->UpdateGains();
    error = BASS_OK;
    return music;
}

StreamedMusic::~StreamedMusic() {
    if (_converter) SDL_FreeAudioStream(_converter);
    if (_file) sf_close(_file);
}

void StreamedMusic::Play(bool loop) {
    sf_seek(_file, 0, SEEK_SET);
    SDL_AudioStreamClear(_converter);
    _loop = loop;
    _ended = false;
    _playing = true;
}

void StreamedMusic::Stop() { _playing = false; }

void StreamedMusic::SetVolume(int volume) {
    _volume = std::clamp(volume, 0, 100);
    UpdateGains();
}

void StreamedMusic::SetPan(int pan) {
    _pan = std::clamp(pan, -100, 100);
    UpdateGains();
}

// The scale of a mixer channel: its volume in 128 steps, each side of the pan in 255.
void StreamedMusic::UpdateGains() {
    const float level = static_cast<float>((_volume * 128 + 50) / 100) / 128.0f;
    const int left = _pan <= 0 ? 255 : 255 * (100 - _pan) / 100;
    const int right = _pan >= 0 ? 255 : 255 * (100 + _pan) / 100;
    _leftGain = level * static_cast<float>(left) / 255.0f;
    _rightGain = level * static_cast<float>(right) / 255.0f;
}

void StreamedMusic::DecodeBlock() {
    const sf_count_t frames = sf_readf_float(_file, _decoded.data(), DECODE_FRAMES);
    if (frames > 0) {
        SDL_AudioStreamPut(_converter, _decoded.data(),
                           static_cast<int>(frames) * _channels * static_cast<int>(sizeof(float)));
        return;
    }
    // At the end: a looping track starts over unless it has nothing to play at all.
    if (_loop && _frames > 0 && sf_seek(_file, 0, SEEK_SET) == 0) return;
    SDL_AudioStreamFlush(_converter);
    _ended = true;
}

void StreamedMusic::MixInto(std::int16_t* output, int frames) {
    if (!_playing || frames <= 0) return;
    const int wanted = frames * 4;
    while (!_ended && SDL_AudioStreamAvailable(_converter) < wanted) DecodeBlock();
    if (_converted.size() < static_cast<size_t>(frames) * 2) _converted.resize(static_cast<size_t>(frames) * 2);
    const int got = SDL_AudioStreamGet(_converter, _converted.data(), wanted);
    if (got <= 0) {
        if (_ended) _playing = false;
        return;
    }
    const int samples = got / 2;
    for (int i = 0; i < samples; ++i) {
        const float gain = (i & 1) == 0 ? _leftGain : _rightGain;
        const float mixed = static_cast<float>(output[i]) + static_cast<float>(_converted[static_cast<size_t>(i)]) * gain;
        output[i] = static_cast<std::int16_t>(std::clamp(mixed, -32768.0f, 32767.0f));
    }
    if (_ended && got < wanted && SDL_AudioStreamAvailable(_converter) == 0) _playing = false;
}
