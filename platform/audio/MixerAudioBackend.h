#pragma once
// The audio library over SDL2_mixer. Samples are decoded whole into mixer chunks and their
// playbacks take the free mixer channels, growing their number when all are busy. Music streams
// are read from their files while they play (StreamedMusic) and mixed in by the mixer's music
// hook, so any number of tracks sound at once (fades cross) at a few kilobytes each. A new stream
// is silent (volume 0) until its volume is set.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/AudioLibrary.h"
#include "platform/audio/StreamedMusic.h"

struct Mix_Chunk;

class MixerAudioBackend : public AudioBackend {
public:
    static MixerAudioBackend& Instance();

    MixerAudioBackend() = default;
    ~MixerAudioBackend() override;
    MixerAudioBackend(const MixerAudioBackend&) = delete;
    MixerAudioBackend& operator=(const MixerAudioBackend&) = delete;

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

    // Mixer channels for sample playbacks, for tests.
    int ChannelCount() const { return static_cast<int>(_slots.size()); }

private:
    struct SampleRecord {
        Mix_Chunk* chunk = nullptr;
        DWORD max = 1;
    };
    // One mixer channel: the latest sample playback on it.
    struct Slot {
        HCHANNEL channel = 0;
        HSAMPLE sample = 0;
    };

    BOOL Fail(int code);
    bool EnsureSubsystem();
    Mix_Chunk* LoadChunk(const void* file);
    int FreeSlot();
    bool SlotPlaying(int slot) const;
    int SlotOfChannel(HCHANNEL channel) const;
    // Starts chunk on slot; a volume of -1 keeps the slot's volume.
    bool Play(int slot, Mix_Chunk* chunk, bool loop, int volume, int pan);
    static void ApplyVolume(int slot, int volume);
    static void ApplyPan(int slot, int pan);
    // The music hook: adds every playing stream to the output (the audio thread).
    static void MixStreams(void* backend, std::uint8_t* output, int bytes);
    StreamedMusic* FindStream(HSTREAM handle);

    bool _subsystem = false;
    bool _open = false;
    bool _paused = false;
    int _error = BASS_OK;
    std::vector<std::string> _devices;
    std::map<HSAMPLE, SampleRecord> _samples;
    // Shared with the audio thread under _streamLock; no mixer call is made while it is held.
    std::mutex _streamLock;
    std::map<HSTREAM, std::unique_ptr<StreamedMusic>> _streams;
    bool _streamsPaused = false;
    std::vector<Slot> _slots;
    DWORD _nextSample = 0x10000001;
    DWORD _nextStream = 0x20000001;
    DWORD _nextChannel = 0x40000001;
};

// A content path ("sound\Click.wav") as a file of this system: separators turned into '/', and each
// part matched regardless of letter case when the exact name does not exist.
std::string ResolveAudioPath(const std::string& path);
