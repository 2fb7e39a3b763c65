#pragma once
// The single player of sound samples and music tracks, over the audio library of platform/audio.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Sound {

constexpr int MIN_VOLUME = 0;
constexpr int MAX_VOLUME = 100;
constexpr int DEFAULT_VOLUME = -1;
constexpr int MIN_PAN = -100;
constexpr int MAX_PAN = 100;
constexpr int DEFAULT_PAN = -101;

struct Sample {
    std::string name;
    std::uint32_t handle = 0;
};

struct SampleEx : Sample {
    int volume = DEFAULT_VOLUME;
    int pan = DEFAULT_PAN;
    float panFactor = 1.0f;

    SampleEx() = default;
    // A plain sample seen as an extended one: default volume and pan, full pan factor.
    explicit SampleEx(const Sample& sample) : Sample(sample) {}
};

enum TrackState { FADING_IN = 0, FADING_OUT = 1, PLAYING = 2, WAITING = 3, STOPPED = 4 };

struct Track {
    std::string name;
    std::string tag;
    std::uint32_t handle = 0;
    unsigned int volume = 0;
    unsigned int fadeFrom = 0;
    int state = STOPPED;
    bool isPlaying = false;
    bool loop = false;
    float time = 0.0f;
    float fadeTime = 0.0f;
    float delay = 0.0f;

    // Starts the stream at the track's volume, looping when loop is set.
    void Start();
    // Silences and stops the stream.
    void Stop();
};

bool operator==(const Sample& sample, const std::string& name);
bool operator==(const Track& track, const std::string& name);

class SoundSystemImpl {
public:
    static constexpr float TIME_OUT = 0.5f;
    static constexpr float TIME_IN = 1.5f;

    SoundSystemImpl() = default;
    SoundSystemImpl(const SoundSystemImpl&) = delete;
    SoundSystemImpl& operator=(const SoundSystemImpl&) = delete;

    // Opens the first output device that works; without one the system is failed and silent.
    void Init(void* window);
    void Shutdown();
    // Carries out the music fades, delayed starts and the low-volume envelope.
    void Update(float dt);
    void PauseOutput();
    void ResumeOutput();

    void AddTrack(const std::string& trackName, const std::string& tag, const std::string& path);
    void AddSample(const std::string& sampleName, const std::string& path, int mix);
    void AddSampleEx(const std::string& sampleName, const std::string& path, int mix, int volume, int pan,
                     float panFactor);
    void AddSampleAlias(const std::string& sampleName, const std::string& aliasOf);

    // The script methods of "Sound".
    void PlaySample(const std::string& name);
    void PlaySampleEx(const std::string& name, int pan, bool loop);
    void PlayTrack(const std::string& name, bool loop);
    void FadeInTrack(const std::string& name, float time, bool loop);
    void FadeOutTrack(const std::string& name, float time);
    void FadeOutAllTracks(float time);
    void DelayPlayTrack(const std::string& name, float delayTime, float fadeTime, bool loop);
    void SetSoundVolume(int volume);
    void SetMusicVolume(int volume);
    void SetLowVolumeTime(float time, float level);

    void StopSample(const std::string& name);

    // The record of that name; a missing one is a failed check and gives null.
    Sample* FindSample(const std::string& name);
    Track* FindTrack(const std::string& name);

    bool IsFailed() const { return _failed; }
    int GetSoundVolume() const { return _soundVolume; }
    int GetMusicVolume() const { return _musicVolume; }

private:
    // The extended record of that name, or the plain one seen as extended; false when neither exists.
    bool FindAnySample(const std::string& name, SampleEx& sample);
    void StartFadeOut(Track& track, float time);
    void UpdateTrack(Track& track, float dt);

    std::vector<Sample> _samples;
    std::vector<SampleEx> _samplesEx;
    std::vector<Track> _tracks;
    float _lowVolumeTime = 0.0f;
    float _lowVolumeTimeCounter = 0.0f;
    float _lowLevelVolume = 0.0f;
    std::map<std::string, std::uint32_t> _channels;
    int _soundVolume = 75;
    int _musicVolume = 75;
    bool _failed = false;
};

// The program's sound system.
extern SoundSystemImpl soundSystem;

}  // namespace Sound
