#include "shell/SoundSystem.h"

#include <algorithm>

#include "core/Assert.h"
#include "core/Math.h"
#include "platform/audio/AudioLibrary.h"

namespace Sound {

SoundSystemImpl soundSystem;

namespace {

const char* const SOUND_FOLDER = "sound\\";
const char* const NO_SOUND = "null";
constexpr DWORD OUTPUT_RATE = 44100;

// Runs body under an assert-throw scope; any failed check in it switches the sound off for good.
template <typename Body>
void Guarded(bool& failed, Body body) {
    try {
        AssertThrowGuard guard;
        body();
    } catch (const AssertionFailedException&) {
        failed = true;
    }
}

std::string ErrorName(int code) {
    switch (code) {
    case BASS_ERROR_MEM: return "BASS_ERROR_MEM";
    case BASS_ERROR_DRIVER: return "BASS_ERROR_DRIVER";
    case BASS_ERROR_FORMAT: return "BASS_ERROR_FORMAT";
    case BASS_ERROR_ALREADY: return "BASS_ERROR_ALREADY";
    case BASS_ERROR_NO3D: return "BASS_ERROR_NO3D";
    case BASS_ERROR_DEVICE: return "BASS_ERROR_DEVICE";
    case BASS_ERROR_UNKNOWN: return "BASS_ERROR_UNKNOWN";
    default: return "BASS_ERROR_" + std::to_string(code);
    }
}

}  // namespace

bool operator==(const Sample& sample, const std::string& name) { return sample.name == name; }

bool operator==(const Track& track, const std::string& name) { return track.name == name; }

// A track whose file could not be loaded keeps its states but makes no library calls; the load
// failure was reported when it was registered.
void Track::Start() {
    Assert(!isPlaying);
    isPlaying = true;
    if (handle == 0) return;
    if (loop) {
        Assert(BASS_StreamPlay(handle, TRUE, BASS_SAMPLE_LOOP));
    } else {
        Assert(BASS_StreamPlay(handle, TRUE, 0));
    }
    Assert(BASS_ChannelSetAttributes(handle, -1, volume, -101));
}

void Track::Stop() {
    Assert(isPlaying);
    if (handle != 0) {
        Assert(BASS_ChannelSetAttributes(handle, -1, 0, -101));
        Assert(BASS_ChannelStop(handle));
    }
    isPlaying = false;
}

void SoundSystemImpl::Init(void* window) {
    if (_failed) return;
    Guarded(_failed, [&] {
        std::string errors;
        for (int device = 1;; ++device) {
            const char* description = BASS_GetDeviceDescription(device);
            if (description == nullptr) {
                ReportError(errors.empty() ? std::string("Sound devices not found")
                                           : "Sound device initialization error:\n" + errors);
                return;
            }
            if (BASS_Init(device, OUTPUT_RATE, 0, window, nullptr)) return;
            errors += std::string(description) + ": " + ErrorName(BASS_ErrorGetCode()) + "\n";
        }
    });
}

void SoundSystemImpl::Shutdown() {
    if (_failed) return;
    Guarded(_failed, [&] { Assert(BASS_Free()); });
}

void SoundSystemImpl::PauseOutput() {
    if (_failed) return;
    Guarded(_failed, [&] { Assert(BASS_Pause()); });
}

void SoundSystemImpl::ResumeOutput() {
    if (_failed) return;
    Guarded(_failed, [&] { Assert(BASS_Start()); });
}

void SoundSystemImpl::Update(float dt) {
    // A step that is not positive (a clock that did not advance) changes nothing.
    if (_failed || !(dt > 0)) return;
    Guarded(_failed, [&] {
        for (Track& track : _tracks) UpdateTrack(track, dt);
    });
    _lowVolumeTimeCounter -= dt;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wtype-limits"

void SoundSystemImpl::UpdateTrack(Track& track, float dt) {
    if (!track.isPlaying && track.state != WAITING) return;
    track.time += dt;
    const float f = track.time / track.fadeTime;
    switch (track.state) {
    case FADING_IN:
        if (track.time < track.fadeTime) {
            track.volume = math::lerp(track.fadeFrom, static_cast<unsigned int>(_musicVolume), f);
            Assert(0 <= track.volume && track.volume <= 100);
            if (track.handle != 0) Assert(BASS_ChannelSetAttributes(track.handle, -1, track.volume, -101));
        } else {
            track.state = PLAYING;
            track.volume = _musicVolume;
            if (track.handle != 0) Assert(BASS_ChannelSetAttributes(track.handle, -1, _musicVolume, -101));
        }
        break;
    case FADING_OUT:
        if (track.time < track.fadeTime) {
            track.volume = math::lerp(track.fadeFrom, 0u, f);
            Assert(0 <= track.volume && track.volume <= 100);
            if (track.handle != 0) Assert(BASS_ChannelSetAttributes(track.handle, -1, track.volume, -101));
        } else {
            track.state = STOPPED;
            track.Stop();
            track.volume = 0;
        }
        break;
    case PLAYING:
    case STOPPED:
        break;
    case WAITING:
        if (track.time > track.delay) {
            track.time = 0;
            track.fadeFrom = track.volume;
            track.state = FADING_IN;
            if (!track.isPlaying) track.Start();
        }
        break;
    default:
        Assert(false);
        break;
    }

    // The low-volume envelope lowers the channel, not the track's own volume.
    if (track.isPlaying && track.handle != 0 && 0 < _lowVolumeTimeCounter &&
        _lowVolumeTimeCounter < _lowVolumeTime) {
        if (_lowVolumeTimeCounter > _lowVolumeTime - TIME_OUT) {
            Assert(BASS_ChannelSetAttributes(track.handle, -1, Math::round(track.volume * math::lerp(1.f, _lowLevelVolume, (_lowVolumeTime - _lowVolumeTimeCounter) / TIME_OUT)), -101));
        } else if (_lowVolumeTimeCounter < TIME_IN) {
            Assert(BASS_ChannelSetAttributes(track.handle, -1, Math::round(track.volume * math::lerp(1.f, _lowLevelVolume, _lowVolumeTimeCounter / TIME_IN)), -101));
        } else {
            Assert(BASS_ChannelSetAttributes(track.handle, -1, Math::round(track.volume * _lowLevelVolume), -101));
        }
    }
}

#pragma GCC diagnostic pop

void SoundSystemImpl::SetLowVolumeTime(float time, float level) {
    _lowVolumeTime = time;
    _lowVolumeTimeCounter = time;
    _lowLevelVolume = level;
}

void SoundSystemImpl::SetSoundVolume(int volume) {
    if (_failed) return;
    Assert(0 <= volume && volume <= 100);
    _soundVolume = volume;
    Guarded(_failed, [&] {
        for (auto it = _channels.begin(); it != _channels.end();) {
            // A playback that has ended has no channel left to set.
            if (BASS_ChannelIsActive(it->second) == BASS_ACTIVE_STOPPED) {
                it = _channels.erase(it);
                continue;
            }
            Assert(BASS_ChannelSetAttributes(it->second, -1, volume, -101));
            ++it;
        }
    });
}

void SoundSystemImpl::SetMusicVolume(int volume) {
    if (_failed) return;
    Assert(0 <= volume && volume <= 100);
    _musicVolume = volume;
    Guarded(_failed, [&] {
        for (Track& track : _tracks) {
            if (!track.isPlaying) continue;
            track.volume = volume;
            if (track.handle != 0) Assert(BASS_ChannelSetAttributes(track.handle, -1, volume, -101));
        }
    });
}

void SoundSystemImpl::PlaySample(const std::string& name) {
    if (_failed || name == NO_SOUND) return;
    const Sample* sample = FindSample(name);
    if (sample == nullptr || sample->handle == 0) return;
    const HCHANNEL channel = BASS_SamplePlayEx(sample->handle, 0, -1, _soundVolume, -101, FALSE);
    if (channel != 0) _channels[name] = channel;
}

void SoundSystemImpl::PlaySampleEx(const std::string& name, int pan, bool loop) {
    if (_failed || name == NO_SOUND) return;
    SampleEx sample;
    if (!FindAnySample(name, sample) || sample.handle == 0) return;
    int playPan = DEFAULT_PAN;
    if (pan != DEFAULT_PAN) {
        playPan = static_cast<int>(pan * sample.panFactor);
    } else if (sample.pan != DEFAULT_PAN) {
        playPan = static_cast<int>(sample.pan * sample.panFactor);
    }
    int volume = _soundVolume;
    if (sample.volume != DEFAULT_VOLUME) {
        // Wider than single precision, as the volume has always been computed: 75 at 100 gives 74.
        volume = static_cast<int>(static_cast<double>(_soundVolume) * sample.volume * static_cast<double>(0.01f));
    }
    const HCHANNEL channel = BASS_SamplePlayEx(sample.handle, 0, -1, volume, playPan, loop ? TRUE : FALSE);
    if (channel != 0) _channels[name] = channel;
}

void SoundSystemImpl::StopSample(const std::string& name) {
    if (_failed || name == NO_SOUND) return;
    SampleEx sample;
    if (!FindAnySample(name, sample)) return;
    Guarded(_failed, [&] {
        if (sample.handle != 0) Assert(BASS_SampleStop(sample.handle));
    });
    _channels.erase(name);
}

void SoundSystemImpl::PlayTrack(const std::string& name, bool loop) {
    if (_failed) return;
    Track* track = FindTrack(name);
    if (track == nullptr) return;
    Guarded(_failed, [&] {
        if (track->isPlaying) return;
        // Played at once at the music volume, not silently at a volume no fade has set.
        track->loop = loop;
        track->volume = _musicVolume;
        track->state = PLAYING;
        track->Start();
    });
}

void SoundSystemImpl::FadeInTrack(const std::string& name, float time, bool loop) {
    if (_failed) return;
    Assert(time > 0);
    Track* track = FindTrack(name);
    if (track == nullptr) return;
    Guarded(_failed, [&] {
        track->time = 0;
        track->fadeFrom = track->volume;
        track->fadeTime = time;
        track->state = FADING_IN;
        track->loop = loop;
        if (!track->isPlaying) track->Start();
    });
}

void SoundSystemImpl::StartFadeOut(Track& track, float time) {
    track.fadeFrom = track.volume;
    track.time = 0;
    track.fadeTime = time;
    track.state = FADING_OUT;
}

void SoundSystemImpl::FadeOutTrack(const std::string& name, float time) {
    if (_failed) return;
    Assert(time > 0);
    Track* track = FindTrack(name);
    if (track == nullptr) return;
    if (track->state == WAITING) {
        track->state = STOPPED;
        track->isPlaying = false;
    } else if (track->isPlaying) {
        StartFadeOut(*track, time);
    }
}

void SoundSystemImpl::FadeOutAllTracks(float time) {
    if (_failed) return;
    Assert(time > 0);
    for (Track& track : _tracks) {
        if (track.isPlaying) StartFadeOut(track, time);
        if (track.state == WAITING) {
            track.state = STOPPED;
            track.isPlaying = false;
        }
    }
}

void SoundSystemImpl::DelayPlayTrack(const std::string& name, float delayTime, float fadeTime, bool loop) {
    if (_failed) return;
    Assert(delayTime > 0);
    Assert(fadeTime > 0);
    Track* track = FindTrack(name);
    if (track == nullptr) return;
    Guarded(_failed, [&] {
        if (track->isPlaying) track->Stop();
        track->fadeTime = fadeTime;
        track->time = 0;
        track->delay = delayTime;
        track->state = WAITING;
        track->loop = loop;
    });
}

void SoundSystemImpl::AddTrack(const std::string& trackName, const std::string& tag, const std::string& path) {
    if (_failed) return;
    const std::string file = SOUND_FOLDER + path;
    Track track;
    track.name = trackName;
    track.tag = tag;
    track.handle = BASS_StreamCreateFile(FALSE, file.c_str(), 0, 0, BASS_SAMPLE_LOOP);
    if (track.handle == 0) ReportError("Cannot load " + file);
    Assert(std::find(_tracks.begin(), _tracks.end(), trackName) == _tracks.end());
    _tracks.push_back(track);
}

void SoundSystemImpl::AddSample(const std::string& sampleName, const std::string& path, int mix) {
    if (_failed) return;
    Assert(sampleName != "null");
    Assert(mix > 0);
    const std::string file = SOUND_FOLDER + path;
    const HSAMPLE sampleHandle = BASS_SampleLoad(FALSE, file.c_str(), 0, 0, mix, 0);
    if (sampleHandle == 0) {
        ReportError("Cannot load " + file);
    } else {
        BASS_SAMPLE sampleInfo;
        Assert(BASS_SampleGetInfo(sampleHandle, &sampleInfo));
    }
    Assert(std::find(_samplesEx.begin(), _samplesEx.end(), sampleName) == _samplesEx.end());
    Assert(std::find(_samples.begin(), _samples.end(), sampleName) == _samples.end());
    Sample sample;
    sample.name = sampleName;
    sample.handle = sampleHandle;
    _samples.push_back(sample);
}

void SoundSystemImpl::AddSampleEx(const std::string& sampleName, const std::string& path, int mix, int volume,
                                  int pan, float panFactor) {
    if (_failed) return;
    Assert(sampleName != "null");
    Assert(mix > 0);
    Assert((MIN_VOLUME <= volume && volume <= MAX_VOLUME) || volume == DEFAULT_VOLUME);
    Assert((MIN_PAN <= pan && pan <= MAX_PAN) || pan == DEFAULT_PAN);
    Assert(0.f <= panFactor && panFactor <= 1.f);
    const std::string file = SOUND_FOLDER + path;
    const HSAMPLE sampleHandle = BASS_SampleLoad(FALSE, file.c_str(), 0, 0, mix, 0);
    if (sampleHandle == 0) {
        ReportError("Cannot load " + file);
    } else {
        BASS_SAMPLE sampleInfo;
        Assert(BASS_SampleGetInfo(sampleHandle, &sampleInfo));
    }
    Assert(std::find(_samples.begin(), _samples.end(), sampleName) == _samples.end());
    Assert(std::find(_samplesEx.begin(), _samplesEx.end(), sampleName) == _samplesEx.end());
    SampleEx sample;
    sample.name = sampleName;
    sample.handle = sampleHandle;
    sample.volume = volume;
    sample.pan = pan;
    sample.panFactor = panFactor;
    _samplesEx.push_back(sample);
}

void SoundSystemImpl::AddSampleAlias(const std::string& sampleName, const std::string& aliasOf) {
    if (_failed) return;
    Assert(std::find(_samplesEx.begin(), _samplesEx.end(), sampleName) == _samplesEx.end());
    Assert(std::find(_samples.begin(), _samples.end(), sampleName) == _samples.end());
    const auto i = std::find(_samples.begin(), _samples.end(), aliasOf);
    const auto iEx = std::find(_samplesEx.begin(), _samplesEx.end(), aliasOf);
    if (i != _samples.end()) {
        Assert(iEx == _samplesEx.end());
        Sample alias = *i;
        alias.name = sampleName;
        _samples.push_back(alias);
    } else if (iEx != _samplesEx.end()) {
        Assert(i == _samples.end());
        SampleEx alias = *iEx;
        alias.name = sampleName;
        _samplesEx.push_back(alias);
    } else {
        Assert(false);
    }
}

Sample* SoundSystemImpl::FindSample(const std::string& name) {
    const auto i = std::find(_samples.begin(), _samples.end(), name);
    Assert(i != _samples.end());
    return i != _samples.end() ? &*i : nullptr;
}

Track* SoundSystemImpl::FindTrack(const std::string& name) {
    const auto i = std::find(_tracks.begin(), _tracks.end(), name);
    Assert(i != _tracks.end());
    return i != _tracks.end() ? &*i : nullptr;
}

bool SoundSystemImpl::FindAnySample(const std::string& name, SampleEx& sample) {
    const auto iEx = std::find(_samplesEx.begin(), _samplesEx.end(), name);
    if (iEx != _samplesEx.end()) {
        sample = *iEx;
        return true;
    }
    const Sample* plain = FindSample(name);
    if (plain == nullptr) return false;
    sample = SampleEx(*plain);
    return true;
}

}  // namespace Sound
