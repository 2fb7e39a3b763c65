#include <gtest/gtest.h>

#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "platform/audio/MixerAudioBackend.h"
#include "tests/platform/WavFile.h"
#include "tests/support/TestSupport.h"

using testing_support::MakeTempDir;
using testing_support::WriteFile;
using testing_support::WriteToneWav;

namespace {

class MixerBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        dir = MakeTempDir("audio");
        WriteToneWav(dir + "tone.wav", 440, 0.5);
        WriteToneWav(dir + "low.wav", 220, 0.5);
        ASSERT_EQ(TRUE, audio.Init(1, 44100, 0, nullptr, nullptr));
    }
    void TearDown() override { audio.Free(); }

    std::string File(const std::string& name) const { return dir + name; }

    std::string dir;
    MixerAudioBackend audio;
};

TEST(MixerBackendDevices, DefaultDeviceOpensOnceAndFreesOnce) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    MixerAudioBackend audio;
    ASSERT_NE(nullptr, audio.GetDeviceDescription(1));
    EXPECT_EQ(nullptr, audio.GetDeviceDescription(0));
    EXPECT_EQ(nullptr, audio.GetDeviceDescription(1000));
    EXPECT_EQ(FALSE, audio.Init(1000, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ERROR_DEVICE, audio.ErrorGetCode());
    // Nothing loads before the output is open.
    EXPECT_EQ(0u, audio.SampleLoad(FALSE, "x.wav", 0, 0, 1, 0));
    EXPECT_EQ(BASS_ERROR_INIT, audio.ErrorGetCode());

    ASSERT_EQ(TRUE, audio.Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(FALSE, audio.Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ERROR_ALREADY, audio.ErrorGetCode());
    EXPECT_EQ(TRUE, audio.Free());
    EXPECT_EQ(FALSE, audio.Free());
    EXPECT_EQ(BASS_ERROR_INIT, audio.ErrorGetCode());
    // It opens again after being freed.
    ASSERT_EQ(TRUE, audio.Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(TRUE, audio.Free());
}

TEST(MixerBackendPaths, ContentPathsFindFilesWhateverTheirCase) {
    const std::string dir = MakeTempDir("paths");
    WriteFile(dir + "tone.wav", "x");
    std::filesystem::create_directories(dir + "Sound/Music");
    WriteFile(dir + "Sound/Music/Theme.wav", "x");
    EXPECT_EQ(dir + "Sound/Music/Theme.wav", ResolveAudioPath(dir + "sound\\MUSIC\\theme.WAV"));
    EXPECT_EQ(dir + "tone.wav", ResolveAudioPath(dir + "TONE.wav"));
    // A missing file keeps the name it was given.
    EXPECT_EQ(dir + "Sound/none.wav", ResolveAudioPath(dir + "sound\\none.wav"));
}

TEST_F(MixerBackendTest, FilesThatCannotBeReadGiveNoHandle) {
    EXPECT_EQ(0u, audio.SampleLoad(FALSE, File("missing.wav").c_str(), 0, 0, 1, 0));
    EXPECT_EQ(BASS_ERROR_FILEOPEN, audio.ErrorGetCode());
    EXPECT_EQ(0u, audio.StreamCreateFile(FALSE, File("missing.wav").c_str(), 0, 0, BASS_SAMPLE_LOOP));
    EXPECT_EQ(BASS_ERROR_FILEOPEN, audio.ErrorGetCode());
    WriteFile(File("text.wav"), "not a sound at all");
    EXPECT_EQ(0u, audio.SampleLoad(FALSE, File("text.wav").c_str(), 0, 0, 1, 0));
    EXPECT_EQ(BASS_ERROR_FILEFORM, audio.ErrorGetCode());
    EXPECT_EQ(0u, audio.StreamCreateFile(FALSE, File("text.wav").c_str(), 0, 0, BASS_SAMPLE_LOOP));
    EXPECT_EQ(BASS_ERROR_FILEFORM, audio.ErrorGetCode());
    EXPECT_EQ(0u, audio.SampleLoad(FALSE, File("tone.wav").c_str(), 0, 0, 0, 0));
    EXPECT_EQ(BASS_ERROR_ILLPARAM, audio.ErrorGetCode());
}

TEST_F(MixerBackendTest, SamplePlaysAtMostMaxTimesAtOnceAndStopsEverywhere) {
    const HSAMPLE sample = audio.SampleLoad(FALSE, File("tone.wav").c_str(), 0, 0, 2, 0);
    ASSERT_NE(0u, sample);
    BASS_SAMPLE info;
    ASSERT_EQ(TRUE, audio.SampleGetInfo(sample, &info));
    EXPECT_EQ(2u, info.max);
    EXPECT_EQ(44100u, info.freq);
    EXPECT_GT(info.length, 0u);

    const HCHANNEL first = audio.SamplePlayEx(sample, 0, -1, 75, -101, TRUE);
    const HCHANNEL second = audio.SamplePlayEx(sample, 0, -1, 75, 50, TRUE);
    ASSERT_NE(0u, first);
    ASSERT_NE(0u, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, audio.SamplePlayEx(sample, 0, -1, 75, -101, TRUE));
    EXPECT_EQ(BASS_ERROR_NOCHAN, audio.ErrorGetCode());
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(first));
    EXPECT_EQ(TRUE, audio.ChannelSetAttributes(first, -1, 20, -101));

    EXPECT_EQ(TRUE, audio.SampleStop(sample));
    EXPECT_EQ(BASS_ACTIVE_STOPPED, audio.ChannelIsActive(first));
    EXPECT_EQ(BASS_ACTIVE_STOPPED, audio.ChannelIsActive(second));
    // A finished playback's channel is gone, even when its mixer channel is reused.
    const HCHANNEL third = audio.SamplePlayEx(sample, 0, -1, 75, -101, TRUE);
    ASSERT_NE(0u, third);
    EXPECT_EQ(FALSE, audio.ChannelSetAttributes(first, -1, 20, -101));
    EXPECT_EQ(BASS_ERROR_HANDLE, audio.ErrorGetCode());
    EXPECT_EQ(FALSE, audio.SampleStop(0));
}

TEST_F(MixerBackendTest, ChannelsGrowWhenAllAreBusy) {
    const HSAMPLE sample = audio.SampleLoad(FALSE, File("tone.wav").c_str(), 0, 0, 100, 0);
    ASSERT_NE(0u, sample);
    std::set<HCHANNEL> channels;
    for (int i = 0; i < 40; ++i) channels.insert(audio.SamplePlayEx(sample, 0, -1, 10, -101, TRUE));
    EXPECT_EQ(40u, channels.size());
    EXPECT_EQ(0u, channels.count(0));
    EXPECT_GE(audio.ChannelCount(), 40);
}

TEST_F(MixerBackendTest, StreamsKeepTheirChannelAndSoundTogether) {
    const HSTREAM a = audio.StreamCreateFile(FALSE, File("tone.wav").c_str(), 0, 0, BASS_SAMPLE_LOOP);
    const HSTREAM b = audio.StreamCreateFile(FALSE, File("low.wav").c_str(), 0, 0, BASS_SAMPLE_LOOP);
    ASSERT_NE(0u, a);
    ASSERT_NE(0u, b);
    EXPECT_EQ(BASS_ACTIVE_STOPPED, audio.ChannelIsActive(a));
    ASSERT_EQ(TRUE, audio.StreamPlay(a, TRUE, BASS_SAMPLE_LOOP));
    ASSERT_EQ(TRUE, audio.StreamPlay(b, TRUE, BASS_SAMPLE_LOOP));
    EXPECT_EQ(TRUE, audio.ChannelSetAttributes(a, -1, 30, -101));
    EXPECT_EQ(TRUE, audio.ChannelSetAttributes(b, -1, 60, -101));
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(a));
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(b));

    // Sample playbacks never take a stream's channel.
    const HSAMPLE sample = audio.SampleLoad(FALSE, File("tone.wav").c_str(), 0, 0, 100, 0);
    for (int i = 0; i < 40; ++i) ASSERT_NE(0u, audio.SamplePlayEx(sample, 0, -1, 10, -101, TRUE));
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(a));

    EXPECT_EQ(TRUE, audio.ChannelStop(a));
    EXPECT_EQ(BASS_ACTIVE_STOPPED, audio.ChannelIsActive(a));
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(b));
    // A stopped stream stays valid and plays again.
    EXPECT_EQ(TRUE, audio.ChannelSetAttributes(a, -1, 0, -101));
    EXPECT_EQ(TRUE, audio.StreamPlay(a, TRUE, 0));
    EXPECT_EQ(FALSE, audio.StreamPlay(12345, TRUE, 0));
    EXPECT_EQ(BASS_ERROR_HANDLE, audio.ErrorGetCode());
}

TEST_F(MixerBackendTest, StreamPlayedOnceEndsByItselfWhileALoopGoesOn) {
    WriteToneWav(File("short.wav"), 330, 0.2);
    const HSTREAM once = audio.StreamCreateFile(FALSE, File("short.wav").c_str(), 0, 0, BASS_SAMPLE_LOOP);
    const HSTREAM loop = audio.StreamCreateFile(FALSE, File("short.wav").c_str(), 0, 0, BASS_SAMPLE_LOOP);
    ASSERT_NE(0u, once);
    ASSERT_NE(0u, loop);
    ASSERT_EQ(TRUE, audio.StreamPlay(once, TRUE, 0));
    ASSERT_EQ(TRUE, audio.StreamPlay(loop, TRUE, BASS_SAMPLE_LOOP));
    ASSERT_EQ(TRUE, audio.ChannelSetAttributes(once, -1, 50, -101));
    ASSERT_EQ(TRUE, audio.ChannelSetAttributes(loop, -1, 50, 100));
    const auto start = std::chrono::steady_clock::now();
    while (audio.ChannelIsActive(once) == BASS_ACTIVE_PLAYING &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(BASS_ACTIVE_STOPPED, audio.ChannelIsActive(once));
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(loop));
    // Played again, the ended stream starts over.
    EXPECT_EQ(TRUE, audio.StreamPlay(once, TRUE, 0));
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(once));
}

TEST_F(MixerBackendTest, StreamsReadOggVorbisAndStereoFilesOfAnyRate) {
    // Written through the decoder library itself: a second of stereo at 48 kHz, as Ogg Vorbis and as
    // WAV of 16-bit and of float samples.
    const struct {
        const char* name;
        int format;
    } files[] = {{"stereo.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
                 {"stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                 {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        SF_INFO info{};
        info.samplerate = 48000;
        info.channels = 2;
        info.format = f.format;
        SNDFILE* out = sf_open(File(f.name).c_str(), SFM_WRITE, &info);
        ASSERT_NE(nullptr, out) << sf_strerror(nullptr);
        std::vector<float> frames(48000 * 2);
        for (size_t i = 0; i < frames.size(); ++i) frames[i] = 0.3f * std::sin(static_cast<float>(i / 2) * 0.05f);
        ASSERT_EQ(48000, sf_writef_float(out, frames.data(), 48000));
        sf_close(out);
        const HSTREAM stream = audio.StreamCreateFile(FALSE, File(f.name).c_str(), 0, 0, BASS_SAMPLE_LOOP);
        ASSERT_NE(0u, stream) << audio.ErrorGetCode();
        ASSERT_EQ(TRUE, audio.StreamPlay(stream, TRUE, 0));
        EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(stream));
    }
}

TEST_F(MixerBackendTest, PauseHoldsEveryPlaybackUntilStart) {
    const HSTREAM stream = audio.StreamCreateFile(FALSE, File("tone.wav").c_str(), 0, 0, BASS_SAMPLE_LOOP);
    const HSAMPLE sample = audio.SampleLoad(FALSE, File("low.wav").c_str(), 0, 0, 4, 0);
    ASSERT_EQ(TRUE, audio.StreamPlay(stream, TRUE, BASS_SAMPLE_LOOP));
    ASSERT_EQ(TRUE, audio.Pause());
    EXPECT_EQ(BASS_ACTIVE_PAUSED, audio.ChannelIsActive(stream));
    const HCHANNEL channel = audio.SamplePlayEx(sample, 0, -1, 50, -101, TRUE);
    ASSERT_NE(0u, channel);
    EXPECT_EQ(BASS_ACTIVE_PAUSED, audio.ChannelIsActive(channel));
    ASSERT_EQ(TRUE, audio.Start());
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(stream));
    EXPECT_EQ(BASS_ACTIVE_PLAYING, audio.ChannelIsActive(channel));
}

TEST_F(MixerBackendTest, DemoSoundsAllLoad) {
    for (const char* name : {"click", "pop", "chime", "splash", "coin", "menu", "game"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(MARIVEL_SOURCE_DIR) + "/data/sound/" + name + ".wav";
        const HSAMPLE sample = audio.SampleLoad(FALSE, path.c_str(), 0, 0, 1, 0);
        ASSERT_NE(0u, sample);
        BASS_SAMPLE info;
        ASSERT_EQ(TRUE, audio.SampleGetInfo(sample, &info));
        EXPECT_GT(info.length, 0u);
    }
}

}  // namespace
