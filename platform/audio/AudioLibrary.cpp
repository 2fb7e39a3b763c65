#include "platform/audio/AudioLibrary.h"

#include "platform/audio/MixerAudioBackend.h"

namespace {

AudioBackend* installed = nullptr;

}  // namespace

AudioBackend& GetAudioBackend() {
    if (installed != nullptr) return *installed;
    return MixerAudioBackend::Instance();
}

AudioBackend* SetAudioBackend(AudioBackend* backend) {
    AudioBackend* previous = installed;
    installed = backend;
    return previous;
}

const char* BASS_GetDeviceDescription(int device) {
    return GetAudioBackend().GetDeviceDescription(device);
}

BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, const void* guid) {
    return GetAudioBackend().Init(device, freq, flags, window, guid);
}

int BASS_ErrorGetCode() { return GetAudioBackend().ErrorGetCode(); }

BOOL BASS_Free() { return GetAudioBackend().Free(); }

BOOL BASS_Pause() { return GetAudioBackend().Pause(); }

BOOL BASS_Start() { return GetAudioBackend().Start(); }

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    return GetAudioBackend().StreamCreateFile(mem, file, offset, length, flags);
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags) {
    return GetAudioBackend().StreamPlay(handle, flush, flags);
}

BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan) {
    return GetAudioBackend().ChannelSetAttributes(handle, freq, volume, pan);
}

BOOL BASS_ChannelStop(DWORD handle) { return GetAudioBackend().ChannelStop(handle); }

DWORD BASS_ChannelIsActive(DWORD handle) { return GetAudioBackend().ChannelIsActive(handle); }

HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD max, DWORD flags) {
    return GetAudioBackend().SampleLoad(mem, file, offset, length, max, flags);
}

BOOL BASS_SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info) {
    return GetAudioBackend().SampleGetInfo(handle, info);
}

HCHANNEL BASS_SamplePlayEx(HSAMPLE handle, DWORD start, int freq, int volume, int pan, BOOL loop) {
    return GetAudioBackend().SamplePlayEx(handle, start, freq, volume, pan, loop);
}

BOOL BASS_SampleStop(HSAMPLE handle) { return GetAudioBackend().SampleStop(handle); }
