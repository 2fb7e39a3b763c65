#include "platform/audio/FakeAudioBackend.h"

namespace {

std::string Flag(BOOL value) { return value ? "TRUE" : "FALSE"; }

std::string Text(const void* file) {
    return file == nullptr ? "null" : "\"" + std::string(static_cast<const char*>(file)) + "\"";
}

std::string Number(long long value) { return std::to_string(value); }

}  // namespace

std::vector<std::string> FakeAudioBackend::CallsOf(const std::string& function) const {
    std::vector<std::string> result;
    for (const std::string& call : _calls) {
        if (call.compare(0, function.size() + 1, function + "(") == 0) result.push_back(call);
    }
    return result;
}

void FakeAudioBackend::Record(const std::string& call) { _calls.push_back(call); }

bool FakeAudioBackend::Failing(const char* function) { return failingCalls.count(function) != 0; }

BOOL FakeAudioBackend::Fail(int code) {
    _error = code;
    return FALSE;
}

FakeAudioBackend::Playback* FakeAudioBackend::Find(DWORD handle) {
    auto stream = _streams.find(handle);
    if (stream != _streams.end()) return &stream->second;
    auto channel = _channels.find(handle);
    return channel != _channels.end() ? &channel->second : nullptr;
}

const FakeAudioBackend::Playback* FakeAudioBackend::Find(DWORD handle) const {
    return const_cast<FakeAudioBackend*>(this)->Find(handle);
}

int FakeAudioBackend::Volume(DWORD handle) const {
    const Playback* playback = Find(handle);
    return playback ? playback->volume : -1;
}

int FakeAudioBackend::Pan(DWORD handle) const {
    const Playback* playback = Find(handle);
    return playback ? playback->pan : -101;
}

bool FakeAudioBackend::IsPlaying(DWORD handle) const {
    const Playback* playback = Find(handle);
    return playback && playback->playing;
}

bool FakeAudioBackend::IsLooping(DWORD handle) const {
    const Playback* playback = Find(handle);
    return playback && playback->loop;
}

void FakeAudioBackend::FinishChannel(HCHANNEL channel) {
    auto it = _channels.find(channel);
    if (it != _channels.end()) it->second.playing = false;
}

const char* FakeAudioBackend::GetDeviceDescription(int device) {
    Record("BASS_GetDeviceDescription(" + Number(device) + ")");
    if (device < 1 || device > static_cast<int>(devices.size())) return nullptr;
    return devices[device - 1].c_str();
}

BOOL FakeAudioBackend::Init(int device, DWORD freq, DWORD flags, void* window, const void* guid) {
    Record("BASS_Init(" + Number(device) + ", " + Number(freq) + ", " + Number(flags) + ", " +
           (window ? "window" : "null") + ", " + (guid ? "guid" : "null") + ")");
    if (_open) return Fail(BASS_ERROR_ALREADY);
    if (device < 1 || device > static_cast<int>(devices.size())) return Fail(BASS_ERROR_DEVICE);
    auto error = initErrors.find(device);
    if (error != initErrors.end()) return Fail(error->second);
    _open = true;
    _error = BASS_OK;
    return TRUE;
}

int FakeAudioBackend::ErrorGetCode() {
    Record("BASS_ErrorGetCode()");
    return _error;
}

BOOL FakeAudioBackend::Free() {
    Record("BASS_Free()");
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (Failing("BASS_Free")) return Fail(BASS_ERROR_UNKNOWN);
    _open = false;
    _paused = false;
    _samples.clear();
    _streams.clear();
    _channels.clear();
    return TRUE;
}

BOOL FakeAudioBackend::Pause() {
    Record("BASS_Pause()");
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (Failing("BASS_Pause")) return Fail(BASS_ERROR_UNKNOWN);
    _paused = true;
    return TRUE;
}

BOOL FakeAudioBackend::Start() {
    Record("BASS_Start()");
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (Failing("BASS_Start")) return Fail(BASS_ERROR_UNKNOWN);
    _paused = false;
    return TRUE;
}

HSTREAM FakeAudioBackend::StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                           DWORD flags) {
    Record("BASS_StreamCreateFile(" + Flag(mem) + ", " + Text(file) + ", " + Number(offset) + ", " +
           Number(length) + ", " + Number(flags) + ")");
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (file == nullptr || missingFiles.count(static_cast<const char*>(file))) {
        return Fail(BASS_ERROR_FILEOPEN);
    }
    if (Failing("BASS_StreamCreateFile")) return Fail(BASS_ERROR_UNKNOWN);
    const HSTREAM handle = _nextStream++;
    _streams[handle] = Playback();
    return handle;
}

BOOL FakeAudioBackend::StreamPlay(HSTREAM handle, BOOL flush, DWORD flags) {
    Record("BASS_StreamPlay(" + Number(handle) + ", " + Flag(flush) + ", " + Number(flags) + ")");
    auto it = _streams.find(handle);
    if (it == _streams.end()) return Fail(BASS_ERROR_HANDLE);
    if (Failing("BASS_StreamPlay")) return Fail(BASS_ERROR_UNKNOWN);
    it->second.playing = true;
    it->second.loop = (flags & BASS_SAMPLE_LOOP) != 0;
    return TRUE;
}

BOOL FakeAudioBackend::ChannelSetAttributes(DWORD handle, int freq, int volume, int pan) {
    Record("BASS_ChannelSetAttributes(" + Number(handle) + ", " + Number(freq) + ", " + Number(volume) +
           ", " + Number(pan) + ")");
    Playback* playback = Find(handle);
    const bool isChannel = _channels.count(handle) != 0;
    if (playback == nullptr || (isChannel && !playback->playing)) return Fail(BASS_ERROR_HANDLE);
    if (Failing("BASS_ChannelSetAttributes")) return Fail(BASS_ERROR_UNKNOWN);
    if (volume != -1) playback->volume = volume;
    if (pan != -101) playback->pan = pan;
    return TRUE;
}

BOOL FakeAudioBackend::ChannelStop(DWORD handle) {
    Record("BASS_ChannelStop(" + Number(handle) + ")");
    Playback* playback = Find(handle);
    if (playback == nullptr) return Fail(BASS_ERROR_HANDLE);
    if (Failing("BASS_ChannelStop")) return Fail(BASS_ERROR_UNKNOWN);
    playback->playing = false;
    return TRUE;
}

DWORD FakeAudioBackend::ChannelIsActive(DWORD handle) {
    Record("BASS_ChannelIsActive(" + Number(handle) + ")");
    const Playback* playback = Find(handle);
    if (playback == nullptr) {
        Fail(BASS_ERROR_HANDLE);
        return BASS_ACTIVE_STOPPED;
    }
    if (!playback->playing) return BASS_ACTIVE_STOPPED;
    return _paused ? BASS_ACTIVE_PAUSED : BASS_ACTIVE_PLAYING;
}

HSAMPLE FakeAudioBackend::SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max,
                                     DWORD flags) {
    Record("BASS_SampleLoad(" + Flag(mem) + ", " + Text(file) + ", " + Number(offset) + ", " +
           Number(length) + ", " + Number(max) + ", " + Number(flags) + ")");
    if (!_open) return Fail(BASS_ERROR_INIT);
    if (file == nullptr || missingFiles.count(static_cast<const char*>(file))) {
        return Fail(BASS_ERROR_FILEOPEN);
    }
    if (max < 1) return Fail(BASS_ERROR_ILLPARAM);
    if (Failing("BASS_SampleLoad")) return Fail(BASS_ERROR_UNKNOWN);
    const HSAMPLE handle = _nextSample++;
    _samples[handle] = max;
    return handle;
}

BOOL FakeAudioBackend::SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info) {
    Record("BASS_SampleGetInfo(" + Number(handle) + ")");
    auto it = _samples.find(handle);
    if (it == _samples.end()) return Fail(BASS_ERROR_HANDLE);
    if (info == nullptr) return Fail(BASS_ERROR_ILLPARAM);
    if (Failing("BASS_SampleGetInfo")) return Fail(BASS_ERROR_UNKNOWN);
    *info = BASS_SAMPLE();
    info->freq = 44100;
    info->chans = 2;
    info->max = it->second;
    return TRUE;
}

HCHANNEL FakeAudioBackend::SamplePlayEx(HSAMPLE handle, DWORD start, int freq, int volume, int pan,
                                        BOOL loop) {
    Record("BASS_SamplePlayEx(" + Number(handle) + ", " + Number(start) + ", " + Number(freq) + ", " +
           Number(volume) + ", " + Number(pan) + ", " + Flag(loop) + ")");
    if (_samples.count(handle) == 0) return Fail(BASS_ERROR_HANDLE);
    if (noFreeChannel) return Fail(BASS_ERROR_NOCHAN);
    const HCHANNEL channel = _nextChannel++;
    Playback& playback = _channels[channel];
    playback.sample = handle;
    playback.playing = true;
    playback.loop = loop != FALSE;
    playback.volume = volume == -1 ? 100 : volume;
    playback.pan = pan == -101 ? 0 : pan;
    return channel;
}

BOOL FakeAudioBackend::SampleStop(HSAMPLE handle) {
    Record("BASS_SampleStop(" + Number(handle) + ")");
    if (_samples.count(handle) == 0) return Fail(BASS_ERROR_HANDLE);
    if (Failing("BASS_SampleStop")) return Fail(BASS_ERROR_UNKNOWN);
    for (auto& entry : _channels) {
        if (entry.second.sample == handle) entry.second.playing = false;
    }
    return TRUE;
}
