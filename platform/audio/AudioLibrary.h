#pragma once
// Our own audio library interface: output devices, samples with their playback channels, music
// streams, channel attributes, pause and resume. Calls return 0 (FALSE, or a null handle) on failure
// and BASS_ErrorGetCode gives the code of the last failure. Every call goes to the current backend:
// the SDL2_mixer backend unless a test has installed another one.

#include <cstdint>

using DWORD = std::uint32_t;
using QWORD = std::uint64_t;
using BOOL = int;
using HSAMPLE = DWORD;
using HSTREAM = DWORD;
using HCHANNEL = DWORD;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Flags.
constexpr DWORD BASS_SAMPLE_LOOP = 4;

// Failure codes.
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_MEM = 1;
constexpr int BASS_ERROR_FILEOPEN = 2;
constexpr int BASS_ERROR_DRIVER = 3;
constexpr int BASS_ERROR_HANDLE = 5;
constexpr int BASS_ERROR_FORMAT = 6;
constexpr int BASS_ERROR_INIT = 8;
constexpr int BASS_ERROR_START = 9;
constexpr int BASS_ERROR_ALREADY = 14;
constexpr int BASS_ERROR_NOCHAN = 18;
constexpr int BASS_ERROR_ILLPARAM = 20;
constexpr int BASS_ERROR_NO3D = 21;
constexpr int BASS_ERROR_DEVICE = 23;
constexpr int BASS_ERROR_FILEFORM = 41;
constexpr int BASS_ERROR_UNKNOWN = -1;

// Channel states (BASS_ChannelIsActive).
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;

// Volume 0..100; pan -100 (left) .. 100 (right). In calls, -1 keeps a frequency or volume and -101 a pan.
struct BASS_SAMPLE {
    DWORD freq = 0;
    DWORD volume = 100;
    int pan = 0;
    DWORD flags = 0;
    DWORD length = 0;  // bytes of decoded data
    DWORD max = 0;     // playbacks at once
    DWORD chans = 0;
};

// What stands behind the calls.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Description of output device 1, 2, ...; null past the last device.
    virtual const char* GetDeviceDescription(int device) = 0;
    virtual BOOL Init(int device, DWORD freq, DWORD flags, void* window, const void* guid) = 0;
    virtual int ErrorGetCode() = 0;
    virtual BOOL Free() = 0;
    virtual BOOL Pause() = 0;
    virtual BOOL Start() = 0;
    virtual HSTREAM StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                     DWORD flags) = 0;
    virtual BOOL StreamPlay(HSTREAM handle, BOOL flush, DWORD flags) = 0;
    virtual BOOL ChannelSetAttributes(DWORD handle, int freq, int volume, int pan) = 0;
    virtual BOOL ChannelStop(DWORD handle) = 0;
    virtual DWORD ChannelIsActive(DWORD handle) = 0;
    virtual HSAMPLE SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max,
                               DWORD flags) = 0;
    virtual BOOL SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info) = 0;
    virtual HCHANNEL SamplePlayEx(HSAMPLE handle, DWORD start, int freq, int volume, int pan,
                                  BOOL loop) = 0;
    virtual BOOL SampleStop(HSAMPLE handle) = 0;
};

// The backend the calls go to.
AudioBackend& GetAudioBackend();
// Installs a backend (null: the SDL2_mixer backend) and returns the one it replaces.
AudioBackend* SetAudioBackend(AudioBackend* backend);

// Installs a backend for the lifetime of the scope.
class ScopedAudioBackend {
public:
    explicit ScopedAudioBackend(AudioBackend& backend) : _previous(SetAudioBackend(&backend)) {}
    ~ScopedAudioBackend() { SetAudioBackend(_previous); }
    ScopedAudioBackend(const ScopedAudioBackend&) = delete;
    ScopedAudioBackend& operator=(const ScopedAudioBackend&) = delete;

private:
    AudioBackend* _previous = nullptr;
};

const char* BASS_GetDeviceDescription(int device);
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, const void* guid);
int BASS_ErrorGetCode();
BOOL BASS_Free();
BOOL BASS_Pause();
BOOL BASS_Start();
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan);
BOOL BASS_ChannelStop(DWORD handle);
DWORD BASS_ChannelIsActive(DWORD handle);
HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD flags);
BOOL BASS_SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info);
HCHANNEL BASS_SamplePlayEx(HSAMPLE handle, DWORD start, int freq, int volume, int pan, BOOL loop);
BOOL BASS_SampleStop(HSAMPLE handle);
