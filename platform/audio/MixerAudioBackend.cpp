#include "platform/audio/MixerAudioBackend.h"

#include "platform/FilePort.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

namespace {

constexpr int INITIAL_CHANNELS = 32;
constexpr int CHANNEL_GROWTH = 16;
constexpr int CHUNK_FRAMES = 1024;

}  // namespace

std::string ResolveAudioPath(const std::string& path) { return FilePort::NormalizePath(path); }

MixerAudioBackend& MixerAudioBackend::Instance() {
    static MixerAudioBackend backend;
    return backend;
}

MixerAudioBackend::~MixerAudioBackend() {
    if (_open) Free();
    if (_subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

BOOL MixerAudioBackend::Fail(int code) {
    _error = code;
    return FALSE;
}

bool MixerAudioBackend::EnsureSubsystem() {
    if (!_subsystem && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) _subsystem = true;
    return _subsystem;
}

const char* MixerAudioBackend::GetDeviceDescription(int device) {
    if (device < 1) return nullptr;
    if (device == 1 || _devices.empty()) {
        _devices.clear();
        if (!EnsureSubsystem()) return nullptr;
        const char* driver = SDL_GetCurrentAudioDriver();
        _devices.push_back(std::string("Default output (") + (driver ? driver : "unknown") + ")");
        const int count = SDL_GetNumAudioDevices(0);
        for (int i = 0; i < count; ++i) {
            const char* name = SDL_GetAudioDeviceName(i, 0);
            if (name != nullptr) _devices.push_back(name);
        }
    }
    if (device > static_cast<int>(_devices.size())) return nullptr;
    return _devices[device - 1].c_str();
}

BOOL MixerAudioBackend::Init(int device, DWORD freq, DWORD, void*, const void*) {
    if (_open) return Fail(BASS_ERROR_ALREADY);
    if (_devices.empty() && GetDeviceDescription(1) == nullptr) return Fail(BASS_ERROR_DRIVER);
    if (device < 1 || device > static_cast<int>(_devices.size())) return Fail(BASS_ERROR_DEVICE);
    const char* name = device == 1 ? nullptr : _devices[device - 1].c_str();
    if (Mix_OpenAudioDevice(static_cast<int>(freq), AUDIO_S16SYS, 2, CHUNK_FRAMES, name, 0) != 0) {
        return Fail(BASS_ERROR_DRIVER);
    }
    Mix_Init(MIX_INIT_OGG);
    Mix_AllocateChannels(INITIAL_CHANNELS);
    _slots.assign(INITIAL_CHANNELS, Slot());
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        _streamsPaused = false;
    }
    Mix_HookMusic(&MixerAudioBackend::MixStreams, this);
    _open = true;
    _paused = false;
    _error = BASS_OK;
    return TRUE;
}

int MixerAudioBackend::ErrorGetCode() { return _error; }

BOOL MixerAudioBackend::Free() {
    if (!_open) return Fail(BASS_ERROR_INIT);
    // Once the hook is off, the audio thread no longer reaches the streams.
    Mix_HookMusic(nullptr, nullptr);
    Mix_HaltChannel(-1);
    for (auto& entry : _samples) Mix_FreeChunk(entry.second.chunk);
    _samples.clear();
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        _streams.clear();
    }
    _slots.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    _subsystem = false;
    _devices.clear();
    _open = false;
    _paused = false;
    _error = BASS_OK;
    return TRUE;
}

BOOL MixerAudioBackend::Pause() {
    if (!_open) return Fail(BASS_ERROR_INIT);
    Mix_Pause(-1);
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        _streamsPaused = true;
    }
    _paused = true;
    _error = BASS_OK;
    return TRUE;
}

BOOL MixerAudioBackend::Start() {
    if (!_open) return Fail(BASS_ERROR_INIT);
    Mix_Resume(-1);
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        _streamsPaused = false;
    }
    _paused = false;
    _error = BASS_OK;
    return TRUE;
}

Mix_Chunk* MixerAudioBackend::LoadChunk(const void* file) {
    if (file == nullptr) {
        Fail(BASS_ERROR_FILEOPEN);
        return nullptr;
    }
    const std::string path = ResolveAudioPath(static_cast<const char*>(file));
    if (!FilePort::Exists(path)) {
        Fail(BASS_ERROR_FILEOPEN);
        return nullptr;
    }
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (chunk == nullptr) Fail(BASS_ERROR_FILEFORM);
    return chunk;
}

bool MixerAudioBackend::SlotPlaying(int slot) const { return Mix_Playing(slot) != 0; }

int MixerAudioBackend::FreeSlot() {
    for (int i = 0; i < static_cast<int>(_slots.size()); ++i) {
        if (!SlotPlaying(i)) return i;
    }
    const int count = static_cast<int>(_slots.size());
    if (Mix_AllocateChannels(count + CHANNEL_GROWTH) != count + CHANNEL_GROWTH) return -1;
    _slots.resize(count + CHANNEL_GROWTH);
    return count;
}

int MixerAudioBackend::SlotOfChannel(HCHANNEL channel) const {
    if (channel == 0) return -1;
    for (int i = 0; i < static_cast<int>(_slots.size()); ++i) {
        if (_slots[i].channel == channel) return i;
    }
    return -1;
}

void MixerAudioBackend::ApplyVolume(int slot, int volume) {
    volume = std::clamp(volume, 0, 100);
    Mix_Volume(slot, (volume * MIX_MAX_VOLUME + 50) / 100);
}

void MixerAudioBackend::ApplyPan(int slot, int pan) {
    pan = std::clamp(pan, -100, 100);
    const int left = pan <= 0 ? 255 : 255 * (100 - pan) / 100;
    const int right = pan >= 0 ? 255 : 255 * (100 + pan) / 100;
    Mix_SetPanning(slot, static_cast<Uint8>(left), static_cast<Uint8>(right));
}

bool MixerAudioBackend::Play(int slot, Mix_Chunk* chunk, bool loop, int volume, int pan) {
    ApplyPan(slot, pan);
    const int level =
        volume < 0 ? Mix_Volume(slot, -1) : (std::clamp(volume, 0, 100) * MIX_MAX_VOLUME + 50) / 100;
    bool started = false;
    if (_paused) {
        // Nothing may sound before the output is started again.
        Mix_Volume(slot, 0);
        started = Mix_PlayChannel(slot, chunk, loop ? -1 : 0) >= 0;
        if (started) Mix_Pause(slot);
    } else {
        Mix_Volume(slot, level);
        started = Mix_PlayChannel(slot, chunk, loop ? -1 : 0) >= 0;
    }
    Mix_Volume(slot, level);
    return started;
}

StreamedMusic* MixerAudioBackend::FindStream(HSTREAM handle) {
    auto it = _streams.find(handle);
    return it == _streams.end() ? nullptr : it->second.get();
}

void MixerAudioBackend::MixStreams(void* backend, std::uint8_t* output, int bytes) {
    auto* self = static_cast<MixerAudioBackend*>(backend);
    std::lock_guard<std::mutex> lock(self->_streamLock);
    if (self->_streamsPaused) return;
    for (auto& entry : self->_streams) {
        entry.second->MixInto(reinterpret_cast<std::int16_t*>(output), bytes / 4);
    }
}

HSTREAM MixerAudioBackend::StreamCreateFile(BOOL mem, const void* file, QWORD, QWORD, DWORD) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (mem) return Fail(BASS_ERROR_ILLPARAM);
    if (file == nullptr) return Fail(BASS_ERROR_FILEOPEN);
    const std::string path = ResolveAudioPath(static_cast<const char*>(file));
    if (!FilePort::Exists(path)) return Fail(BASS_ERROR_FILEOPEN);
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    int error = BASS_OK;
    std::unique_ptr<StreamedMusic> music = StreamedMusic::Open(path, frequency, error);
    if (!music) return Fail(error);
    const HSTREAM handle = _nextStream++;
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        _streams[handle] = std::move(music);
    }
    _error = BASS_OK;
    return handle;
}

BOOL MixerAudioBackend::StreamPlay(HSTREAM handle, BOOL, DWORD flags) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    std::lock_guard<std::mutex> lock(_streamLock);
    StreamedMusic* music = FindStream(handle);
    if (music == nullptr) return Fail(BASS_ERROR_HANDLE);
    music->Play((flags & BASS_SAMPLE_LOOP) != 0);
    _error = BASS_OK;
    return TRUE;
}

BOOL MixerAudioBackend::ChannelSetAttributes(DWORD handle, int, int volume, int pan) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        if (StreamedMusic* music = FindStream(handle)) {
            if (volume != -1) music->SetVolume(volume);
            if (pan != -101) music->SetPan(pan);
            _error = BASS_OK;
            return TRUE;
        }
    }
    const int slot = SlotOfChannel(handle);
    if (slot < 0 || !SlotPlaying(slot)) return Fail(BASS_ERROR_HANDLE);
    if (volume != -1) ApplyVolume(slot, volume);
    if (pan != -101) ApplyPan(slot, pan);
    _error = BASS_OK;
    return TRUE;
}

BOOL MixerAudioBackend::ChannelStop(DWORD handle) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        if (StreamedMusic* music = FindStream(handle)) {
            music->Stop();
            _error = BASS_OK;
            return TRUE;
        }
    }
    const int slot = SlotOfChannel(handle);
    if (slot < 0) return Fail(BASS_ERROR_HANDLE);
    Mix_HaltChannel(slot);
    _error = BASS_OK;
    return TRUE;
}

DWORD MixerAudioBackend::ChannelIsActive(DWORD handle) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    {
        std::lock_guard<std::mutex> lock(_streamLock);
        if (StreamedMusic* music = FindStream(handle)) {
            _error = BASS_OK;
            if (!music->IsPlaying()) return BASS_ACTIVE_STOPPED;
            return _streamsPaused ? BASS_ACTIVE_PAUSED : BASS_ACTIVE_PLAYING;
        }
    }
    const int slot = SlotOfChannel(handle);
    if (slot < 0) {
        Fail(BASS_ERROR_HANDLE);
        return BASS_ACTIVE_STOPPED;
    }
    _error = BASS_OK;
    if (!SlotPlaying(slot)) return BASS_ACTIVE_STOPPED;
    return Mix_Paused(slot) ? BASS_ACTIVE_PAUSED : BASS_ACTIVE_PLAYING;
}

HSAMPLE MixerAudioBackend::SampleLoad(BOOL mem, const void* file, QWORD, DWORD, DWORD max, DWORD) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (mem || max < 1) return Fail(BASS_ERROR_ILLPARAM);
    Mix_Chunk* chunk = LoadChunk(file);
    if (chunk == nullptr) return 0;
    const HSAMPLE handle = _nextSample++;
    _samples[handle] = SampleRecord{chunk, max};
    _error = BASS_OK;
    return handle;
}

BOOL MixerAudioBackend::SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    auto it = _samples.find(handle);
    if (it == _samples.end()) return Fail(BASS_ERROR_HANDLE);
    if (info == nullptr) return Fail(BASS_ERROR_ILLPARAM);
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    *info = BASS_SAMPLE();
    info->freq = static_cast<DWORD>(frequency);
    info->chans = static_cast<DWORD>(channels);
    info->length = it->second.chunk->alen;
    info->max = it->second.max;
    _error = BASS_OK;
    return TRUE;
}

HCHANNEL MixerAudioBackend::SamplePlayEx(HSAMPLE handle, DWORD, int, int volume, int pan, BOOL loop) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    auto it = _samples.find(handle);
    if (it == _samples.end()) return Fail(BASS_ERROR_HANDLE);
    DWORD playing = 0;
    for (int i = 0; i < static_cast<int>(_slots.size()); ++i) {
        if (_slots[i].sample == handle && SlotPlaying(i)) ++playing;
    }
    if (playing >= it->second.max) return Fail(BASS_ERROR_NOCHAN);
    const int slot = FreeSlot();
    if (slot < 0) return Fail(BASS_ERROR_NOCHAN);
    const HCHANNEL channel = _nextChannel++;
    _slots[slot] = Slot();
    _slots[slot].channel = channel;
    _slots[slot].sample = handle;
    const int level = volume == -1 ? 100 : volume;
    if (!Play(slot, it->second.chunk, loop != FALSE, level, pan == -101 ? 0 : pan)) {
        _slots[slot] = Slot();
        return Fail(BASS_ERROR_START);
    }
    _error = BASS_OK;
    return channel;
}

BOOL MixerAudioBackend::SampleStop(HSAMPLE handle) {
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (_samples.find(handle) == _samples.end()) return Fail(BASS_ERROR_HANDLE);
    for (int i = 0; i < static_cast<int>(_slots.size()); ++i) {
        if (_slots[i].sample == handle) {
            if (SlotPlaying(i)) Mix_HaltChannel(i);
            _slots[i].sample = 0;
        }
    }
    _error = BASS_OK;
    return TRUE;
}
