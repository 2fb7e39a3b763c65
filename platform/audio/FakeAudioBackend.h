#pragma once
// An audio library that plays nothing: it records every call as text, keeps the state the calls
// imply, and fails where a test tells it to. Sample handles count from 101, streams from 201,
// playback channels from 301.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/audio/AudioLibrary.h"

class FakeAudioBackend : public AudioBackend {
public:
    // Output devices in order; the description of device n is devices[n - 1].
    std::vector<std::string> devices{"Fake output"};
    // Devices whose BASS_Init fails, with the failure code it reports.
    std::map<int, int> initErrors;
    // Files (as passed) that cannot be opened.
    std::set<std::string> missingFiles;
    // Functions ("BASS_StreamPlay", ...) that fail with BASS_ERROR_UNKNOWN.
    std::set<std::string> failingCalls;
    // BASS_SamplePlayEx finds no free channel.
    bool noFreeChannel = false;

    const std::vector<std::string>& Calls() const { return _calls; }
    // The recorded calls of one function, in order.
    std::vector<std::string> CallsOf(const std::string& function) const;
    void ClearCalls() { _calls.clear(); }

    bool IsOpen() const { return _open; }
    bool IsPaused() const { return _paused; }
    // Last volume set on a stream or channel; -1 when unknown.
    int Volume(DWORD handle) const;
    int Pan(DWORD handle) const;
    bool IsPlaying(DWORD handle) const;
    bool IsLooping(DWORD handle) const;
    // The channel's playback ends by itself.
    void FinishChannel(HCHANNEL channel);

    const char* GetDeviceDescription(int device) override;
    BOOL Init(int device, DWORD freq, DWORD flags, void* window, const void* guid) override;
    int ErrorGetCode() override;
    BOOL Free() override;
    BOOL Pause() override;
    BOOL Start() override;
    HSTREAM StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) override;
    BOOL StreamPlay(HSTREAM handle, BOOL flush, DWORD flags) override;
    BOOL ChannelSetAttributes(DWORD handle, int freq, int volume, int pan) override;
    BOOL ChannelStop(DWORD handle) override;
    DWORD ChannelIsActive(DWORD handle) override;
    HSAMPLE SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max,
                       DWORD flags) override;
    BOOL SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info) override;
    HCHANNEL SamplePlayEx(HSAMPLE handle, DWORD start, int freq, int volume, int pan, BOOL loop) override;
    BOOL SampleStop(HSAMPLE handle) override;

private:
    struct Playback {
        HSAMPLE sample = 0;
        bool playing = false;
        bool loop = false;
        int volume = 100;
        int pan = 0;
    };

    void Record(const std::string& call);
    bool Failing(const char* function);
    BOOL Fail(int code);
    Playback* Find(DWORD handle);
    const Playback* Find(DWORD handle) const;

    std::vector<std::string> _calls;
    bool _open = false;
    bool _paused = false;
    int _error = BASS_OK;
    std::map<HSAMPLE, DWORD> _samples;  // handle -> playbacks at once
    std::map<HSTREAM, Playback> _streams;
    std::map<HCHANNEL, Playback> _channels;
    DWORD _nextSample = 101;
    DWORD _nextStream = 201;
    DWORD _nextChannel = 301;
};
