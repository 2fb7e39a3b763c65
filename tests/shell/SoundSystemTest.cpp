#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/FakeAudioBackend.h"
#include "shell/SoundSystem.h"
#include "tests/support/TestSupport.h"

using testing_support::LogCapture;
using Calls = std::vector<std::string>;

namespace {

// A sound system started on the recording backend, with two tracks and a sample.
struct Rig {
    FakeAudioBackend fake;
    ScopedAudioBackend scope{fake};
    Sound::SoundSystemImpl sound;
    int window = 0;

    Rig() {
        sound.Init(&window);
        sound.AddTrack("menu", "Common", "menu.wav");  // stream 201
        sound.AddTrack("game", "Common", "game.wav");  // stream 202
        sound.AddSample("click", "click.wav", 4);      // sample 101
        fake.ClearCalls();
    }
    Sound::Track& Track(const std::string& name) { return *sound.FindTrack(name); }
};

class SoundTest : public ::testing::Test {
protected:
    LogCapture log;
    Rig rig;
    FakeAudioBackend& fake = rig.fake;
    Sound::SoundSystemImpl& sound = rig.sound;
};

TEST_F(SoundTest, FadeInReachesHalfWayAfterHalfTheTimeAndThenTheMusicVolume) {
    sound.FadeInTrack("menu", 2.0f, true);
    EXPECT_EQ((Calls{"BASS_StreamPlay(201, TRUE, 4)", "BASS_ChannelSetAttributes(201, -1, 0, -101)"}),
              fake.Calls());
    sound.Update(0.5f);
    EXPECT_EQ(18, fake.Volume(201));
    sound.Update(0.5f);
    EXPECT_EQ(37, fake.Volume(201));
    EXPECT_EQ(37u, rig.Track("menu").volume);
    EXPECT_EQ(Sound::FADING_IN, rig.Track("menu").state);
    sound.Update(0.5f);
    sound.Update(0.5f);
    EXPECT_EQ(Sound::PLAYING, rig.Track("menu").state);
    EXPECT_EQ(75u, rig.Track("menu").volume);
    EXPECT_EQ("BASS_ChannelSetAttributes(201, -1, 75, -101)", fake.Calls().back());
    fake.ClearCalls();
    sound.Update(1.0f);
    EXPECT_TRUE(fake.Calls().empty());
    EXPECT_EQ(0, log.ErrorCount());
}

TEST_F(SoundTest, FadeOutDuringFadeInStartsFromTheCurrentVolume) {
    sound.FadeInTrack("menu", 2.0f, true);
    sound.Update(1.0f);
    ASSERT_EQ(37, fake.Volume(201));
    sound.FadeOutTrack("menu", 1.0f);
    EXPECT_EQ(Sound::FADING_OUT, rig.Track("menu").state);
    EXPECT_EQ(37u, rig.Track("menu").fadeFrom);
    sound.Update(0.5f);
    EXPECT_EQ(18, fake.Volume(201));
    fake.ClearCalls();
    sound.Update(0.5f);
    EXPECT_EQ((Calls{"BASS_ChannelSetAttributes(201, -1, 0, -101)", "BASS_ChannelStop(201)"}), fake.Calls());
    EXPECT_EQ(Sound::STOPPED, rig.Track("menu").state);
    EXPECT_FALSE(rig.Track("menu").isPlaying);
    EXPECT_EQ(0u, rig.Track("menu").volume);
    fake.ClearCalls();
    sound.FadeOutTrack("menu", 1.0f);  // not playing: left alone
    sound.Update(1.0f);
    EXPECT_TRUE(fake.Calls().empty());
}

TEST_F(SoundTest, TracksLoopAsTheCallThatStartsThemSays) {
    sound.FadeInTrack("menu", 1.0f, false);
    sound.FadeInTrack("game", 1.0f, true);
    EXPECT_EQ((Calls{"BASS_StreamPlay(201, TRUE, 0)", "BASS_StreamPlay(202, TRUE, 4)"}),
              fake.CallsOf("BASS_StreamPlay"));
    sound.FadeOutAllTracks(0.5f);
    sound.Update(0.5f);
    fake.ClearCalls();
    sound.PlayTrack("menu", true);
    sound.PlayTrack("game", false);
    EXPECT_EQ((Calls{"BASS_StreamPlay(201, TRUE, 4)", "BASS_StreamPlay(202, TRUE, 0)"}),
              fake.CallsOf("BASS_StreamPlay"));
}

TEST_F(SoundTest, PlayTrackStartsAtTheMusicVolume) {
    sound.SetMusicVolume(60);
    sound.PlayTrack("menu", true);
    EXPECT_EQ((Calls{"BASS_StreamPlay(201, TRUE, 4)", "BASS_ChannelSetAttributes(201, -1, 60, -101)"}),
              fake.Calls());
    EXPECT_EQ(Sound::PLAYING, rig.Track("menu").state);
    fake.ClearCalls();
    sound.PlayTrack("menu", true);  // already playing
    sound.Update(1.0f);
    EXPECT_TRUE(fake.Calls().empty());
    sound.SetMusicVolume(30);
    EXPECT_EQ(30, fake.Volume(201));
    EXPECT_EQ(30u, rig.Track("menu").volume);
}

TEST_F(SoundTest, DelayedStartStopsAtOnceThenFadesFromItsOwnVolume) {
    sound.PlayTrack("menu", true);
    fake.ClearCalls();
    sound.DelayPlayTrack("menu", 3.0f, 2.0f, true);
    EXPECT_EQ((Calls{"BASS_ChannelSetAttributes(201, -1, 0, -101)", "BASS_ChannelStop(201)"}), fake.Calls());
    EXPECT_EQ(Sound::WAITING, rig.Track("menu").state);
    fake.ClearCalls();
    sound.SetMusicVolume(40);  // reaches playing tracks only
    sound.Update(1.5f);
    sound.Update(1.5f);
    EXPECT_TRUE(fake.Calls().empty());
    sound.Update(0.25f);
    EXPECT_EQ((Calls{"BASS_StreamPlay(201, TRUE, 4)", "BASS_ChannelSetAttributes(201, -1, 75, -101)"}),
              fake.Calls());
    EXPECT_EQ(Sound::FADING_IN, rig.Track("menu").state);
    sound.Update(1.0f);
    EXPECT_EQ(57, fake.Volume(201));
    sound.Update(1.0f);
    EXPECT_EQ(40, fake.Volume(201));
    EXPECT_EQ(Sound::PLAYING, rig.Track("menu").state);
}

TEST_F(SoundTest, FadingOutAWaitingTrackCancelsItWithoutLibraryCalls) {
    sound.DelayPlayTrack("menu", 1.0f, 1.0f, true);
    sound.FadeOutTrack("menu", 1.0f);
    EXPECT_EQ(Sound::STOPPED, rig.Track("menu").state);
    sound.PlayTrack("game", true);
    sound.DelayPlayTrack("menu", 1.0f, 1.0f, true);
    fake.ClearCalls();
    sound.FadeOutAllTracks(0.5f);
    EXPECT_TRUE(fake.Calls().empty());
    EXPECT_EQ(Sound::STOPPED, rig.Track("menu").state);
    EXPECT_EQ(Sound::FADING_OUT, rig.Track("game").state);
    sound.Update(2.0f);
    EXPECT_EQ((Calls{"BASS_ChannelSetAttributes(202, -1, 0, -101)", "BASS_ChannelStop(202)"}), fake.Calls());
    EXPECT_FALSE(fake.IsPlaying(201));
}

TEST_F(SoundTest, LowVolumeEnvelopeRampsDownHoldsAndRampsUp) {
    sound.PlayTrack("menu", true);
    sound.SetLowVolumeTime(5.0f, 0.3f);
    // The channel volume set by the frame that finds the counter at each value; -1: none set.
    for (int frame = 0; frame <= 24; ++frame) {
        const float counter = 5.0f - 0.25f * frame;
        int expected = -1;
        if (counter == 4.75f || counter == 0.75f) expected = 49;
        if (counter >= 1.5f && counter <= 4.5f) expected = 23;
        if (counter == 1.25f) expected = 31;
        if (counter == 1.0f) expected = 40;
        fake.ClearCalls();
        sound.Update(0.25f);
        SCOPED_TRACE("counter " + std::to_string(counter));
        if (counter == 0.5f || counter == 0.25f) continue;
        if (expected < 0) {
            EXPECT_TRUE(fake.Calls().empty());
        } else {
            EXPECT_EQ((Calls{"BASS_ChannelSetAttributes(201, -1, " + std::to_string(expected) + ", -101)"}),
                      fake.Calls());
        }
    }
    EXPECT_EQ(75u, rig.Track("menu").volume);
    EXPECT_EQ(0, log.ErrorCount());
}

TEST_F(SoundTest, ExtendedSamplesScaleVolumeAndPan) {
    struct Row {
        int volume, pan;
        float panFactor;
        int argumentPan, soundVolume;
        int playedVolume, playedPan;
    };
    const Row rows[] = {
        {100, -101, 1.0f, -101, 75, 74, -101},  // 75 x 100 x 0.01f, truncated
        {-1, -101, 1.0f, -101, 75, 75, -101},   {33, -101, 1.0f, -101, 75, 24, -101},
        {-1, -101, 0.5f, 50, 75, 75, 25},       {-1, -40, 0.5f, -101, 75, 75, -20},
        {-1, -40, 0.5f, 60, 75, 75, 30},        {-1, 100, 1.0f, -101, 40, 40, 100},
    };
    int index = 0;
    for (const Row& row : rows) {
        const std::string name = "ex" + std::to_string(index++);
        SCOPED_TRACE(name);
        sound.AddSampleEx(name, "ex.wav", 1, row.volume, row.pan, row.panFactor);
        sound.SetSoundVolume(row.soundVolume);
        fake.ClearCalls();
        sound.PlaySampleEx(name, row.argumentPan, true);
        ASSERT_EQ(1u, fake.Calls().size());
        const std::string tail = ", 0, -1, " + std::to_string(row.playedVolume) + ", " +
                                 std::to_string(row.playedPan) + ", TRUE)";
        EXPECT_EQ(tail, fake.Calls()[0].substr(fake.Calls()[0].find(',')));
    }
    // A plain sample seen as extended: sound volume, the argument's pan unscaled.
    fake.ClearCalls();
    sound.PlaySampleEx("click", 30, false);
    sound.PlaySampleEx("click", -101, false);
    EXPECT_EQ((Calls{"BASS_SamplePlayEx(101, 0, -1, 40, 30, FALSE)", "BASS_SamplePlayEx(101, 0, -1, 40, -101, FALSE)"}),
              fake.Calls());
    EXPECT_EQ(0, log.ErrorCount());
}

TEST_F(SoundTest, SamplesPlayByNameAndAliasesShareTheirSample) {
    sound.AddSampleAlias("tap", "click");
    sound.AddSampleEx("bubble", "bubble.wav", 2, 100, -101, 1.0f);
    sound.AddSampleAlias("fizz", "bubble");
    fake.ClearCalls();
    sound.PlaySample("tap");
    sound.PlaySampleEx("fizz", -101, false);
    sound.PlaySample("null");
    sound.PlaySampleEx("null", 0, false);
    sound.StopSample("null");
    EXPECT_EQ((Calls{"BASS_SamplePlayEx(101, 0, -1, 75, -101, FALSE)", "BASS_SamplePlayEx(102, 0, -1, 74, -101, FALSE)"}),
              fake.Calls());
    EXPECT_EQ(0, log.ErrorCount());

    fake.ClearCalls();
    sound.PlaySample("unknown");
    EXPECT_TRUE(log.Contains("i != _samples.end()"));
    EXPECT_TRUE(fake.Calls().empty());
    EXPECT_FALSE(sound.IsFailed());
}

TEST_F(SoundTest, SoundVolumeReachesLatestChannelsAndSkipsFinishedOnes) {
    sound.AddSample("pop", "pop.wav", 1);  // sample 102
    sound.PlaySample("click");             // channel 301
    sound.PlaySample("pop");               // channel 302
    sound.PlaySample("click");             // channel 303, now the one remembered for "click"
    fake.FinishChannel(302);
    fake.ClearCalls();
    sound.SetSoundVolume(40);
    EXPECT_EQ((Calls{"BASS_ChannelSetAttributes(303, -1, 40, -101)"}), fake.CallsOf("BASS_ChannelSetAttributes"));
    EXPECT_FALSE(sound.IsFailed());
    EXPECT_EQ(0, log.ErrorCount());

    fake.ClearCalls();
    sound.StopSample("click");
    EXPECT_EQ((Calls{"BASS_SampleStop(101)"}), fake.Calls());
    EXPECT_FALSE(fake.IsPlaying(303));
    fake.ClearCalls();
    sound.SetSoundVolume(50);  // both channels forgotten
    EXPECT_TRUE(fake.CallsOf("BASS_ChannelSetAttributes").empty());

    // A playback the library refuses is simply not heard.
    fake.noFreeChannel = true;
    sound.PlaySample("click");
    EXPECT_FALSE(sound.IsFailed());
    EXPECT_EQ(0, log.ErrorCount());
}

TEST_F(SoundTest, MissingFilesAndZeroStepsLeaveTheRestPlaying) {
    fake.missingFiles = {"sound\\gone.wav", "sound\\lost.wav"};
    sound.AddTrack("gone", "Common", "gone.wav");
    sound.AddSample("lost", "lost.wav", 1);
    EXPECT_TRUE(log.Contains("Cannot load sound\\gone.wav"));
    EXPECT_TRUE(log.Contains("Cannot load sound\\lost.wav"));
    EXPECT_EQ(2, log.ErrorCount());
    fake.ClearCalls();

    sound.FadeInTrack("gone", 1.0f, true);
    sound.Update(0.5f);
    sound.SetMusicVolume(50);
    sound.Update(0.0f);
    sound.Update(-1.0f);
    sound.FadeOutTrack("gone", 1.0f);
    sound.Update(2.0f);
    sound.PlayTrack("gone", true);
    sound.DelayPlayTrack("gone", 1.0f, 1.0f, true);
    sound.Update(2.0f);
    sound.PlaySample("lost");
    sound.PlaySampleEx("lost", 10, true);
    sound.StopSample("lost");
    EXPECT_TRUE(fake.Calls().empty());
    EXPECT_EQ(2, log.ErrorCount());
    EXPECT_FALSE(sound.IsFailed());

    // A step of 0 changes nothing: the fade goes on from where it was.
    sound.FadeInTrack("menu", 2.0f, true);
    sound.Update(1.0f);
    sound.Update(0.0f);
    EXPECT_EQ(25, fake.Volume(201));  // half way to the music volume of 50
    sound.Update(1.0f);
    EXPECT_EQ(Sound::PLAYING, rig.Track("menu").state);
    EXPECT_EQ(2, log.ErrorCount());
    EXPECT_FALSE(sound.IsFailed());
}

TEST_F(SoundTest, WrongArgumentsAreReportedWithoutSwitchingSoundOff) {
    struct Case {
        std::function<void(Sound::SoundSystemImpl&)> action;
        const char* check;
        int errors = 1;
    };
    const Case cases[] = {
        {[](auto& s) { s.AddTrack("menu", "Common", "again.wav"); },
         "std::find(_tracks.begin(), _tracks.end(), trackName) == _tracks.end()"},
        {[](auto& s) { s.AddSample("null", "n.wav", 1); }, "sampleName != \"null\""},
        // The library refuses a sample that may play no time at once.
        {[](auto& s) { s.AddSample("zero", "z.wav", 0); }, "mix > 0", 2},
        {[](auto& s) { s.AddSample("click", "c.wav", 1); },
         "std::find(_samples.begin(), _samples.end(), sampleName) == _samples.end()"},
        {[](auto& s) { s.AddSample("ex", "c.wav", 1); },
         "std::find(_samplesEx.begin(), _samplesEx.end(), sampleName) == _samplesEx.end()"},
        {[](auto& s) { s.AddSampleEx("v", "v.wav", 1, 101, -101, 1.0f); },
         "(MIN_VOLUME <= volume && volume <= MAX_VOLUME) || volume == DEFAULT_VOLUME"},
        {[](auto& s) { s.AddSampleEx("p", "p.wav", 1, -1, -102, 1.0f); },
         "(MIN_PAN <= pan && pan <= MAX_PAN) || pan == DEFAULT_PAN"},
        {[](auto& s) { s.AddSampleEx("f", "f.wav", 1, -1, -101, 1.5f); }, "0.f <= panFactor && panFactor <= 1.f"},
        {[](auto& s) { s.AddSampleAlias("alias", "unknown"); }, "false"},
        {[](auto& s) { s.AddSampleAlias("ex", "click"); },
         "std::find(_samplesEx.begin(), _samplesEx.end(), sampleName) == _samplesEx.end()"},
        {[](auto& s) { s.FadeInTrack("nothing", 1.0f, true); }, "i != _tracks.end()"},
        {[](auto& s) { s.FadeInTrack("menu", 0.0f, true); }, "time > 0"},
        {[](auto& s) { s.FadeOutAllTracks(-1.0f); }, "time > 0"},
        {[](auto& s) { s.DelayPlayTrack("menu", 0.0f, 1.0f, true); }, "delayTime > 0"},
        {[](auto& s) { s.DelayPlayTrack("menu", 1.0f, 0.0f, true); }, "fadeTime > 0"},
        {[](auto& s) { s.SetSoundVolume(101); }, "0 <= volume && volume <= 100"},
        {[](auto& s) { s.SetMusicVolume(-1); }, "0 <= volume && volume <= 100"},
        {[](auto& s) { s.StopSample("unknown"); }, "i != _samples.end()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        LogCapture caseLog;
        Rig fresh;
        fresh.sound.AddSampleEx("ex", "ex.wav", 1, -1, -101, 1.0f);
        c.action(fresh.sound);
        EXPECT_EQ(c.errors, caseLog.ErrorCount());
        EXPECT_TRUE(caseLog.Contains(std::string("Assertion failed: ") + c.check));
        EXPECT_FALSE(fresh.sound.IsFailed());
    }
}

// Every operation of the system, for checking that a failed system makes no library call.
void EveryOperation(Sound::SoundSystemImpl& s) {
    s.Init(nullptr);
    s.AddTrack("more", "Common", "more.wav");
    s.AddSample("more", "more.wav", 1);
    s.AddSampleEx("moreEx", "more.wav", 1, 50, 0, 1.0f);
    s.AddSampleAlias("alias", "click");
    s.PlaySample("click");
    s.PlaySampleEx("click", 0, false);
    s.StopSample("click");
    s.PlayTrack("menu", true);
    s.FadeInTrack("game", 1.0f, true);
    s.FadeOutTrack("menu", 1.0f);
    s.FadeOutAllTracks(1.0f);
    s.DelayPlayTrack("menu", 1.0f, 1.0f, true);
    s.SetSoundVolume(10);
    s.SetMusicVolume(10);
    s.SetLowVolumeTime(1.0f, 0.5f);
    s.Update(0.5f);
    s.PauseOutput();
    s.ResumeOutput();
    s.Shutdown();
}

TEST(SoundFailure, AFailedLibraryCallSwitchesSoundOffForTheRun) {
    struct Case {
        std::function<void(Sound::SoundSystemImpl&, FakeAudioBackend&)> action;
        const char* check;
    };
    auto failing = [](FakeAudioBackend& f, const char* call) { f.failingCalls.insert(call); };
    const Case cases[] = {
        {[&](auto& s, auto& f) { failing(f, "BASS_StreamPlay"); s.PlayTrack("menu", true); },
         "BASS_StreamPlay(handle, TRUE, BASS_SAMPLE_LOOP)"},
        {[&](auto& s, auto& f) { failing(f, "BASS_StreamPlay"); s.FadeInTrack("menu", 1.0f, false); },
         "BASS_StreamPlay(handle, TRUE, 0)"},
        {[&](auto& s, auto& f) { failing(f, "BASS_ChannelSetAttributes"); s.FadeInTrack("menu", 1.0f, true); },
         "BASS_ChannelSetAttributes(handle, -1, volume, -101)"},
        {[&](auto& s, auto& f) {
             s.FadeInTrack("menu", 1.0f, true);
             failing(f, "BASS_ChannelSetAttributes");
             s.Update(0.5f);
         },
         "BASS_ChannelSetAttributes(track.handle, -1, track.volume, -101)"},
        {[&](auto& s, auto& f) {
             s.FadeInTrack("menu", 1.0f, true);
             failing(f, "BASS_ChannelSetAttributes");
             s.Update(1.5f);
         },
         "BASS_ChannelSetAttributes(track.handle, -1, _musicVolume, -101)"},
        {[&](auto& s, auto& f) {
             s.PlayTrack("menu", true);
             s.SetLowVolumeTime(5.0f, 0.3f);
             s.Update(0.25f);
             failing(f, "BASS_ChannelSetAttributes");
             s.Update(0.25f);
         },
         "BASS_ChannelSetAttributes(track.handle, -1, Math::round(track.volume * math::lerp(1.f, "
         "_lowLevelVolume, (_lowVolumeTime - _lowVolumeTimeCounter) / TIME_OUT)), -101)"},
        {[&](auto& s, auto& f) {
             s.PlayTrack("menu", true);
             s.SetLowVolumeTime(2.0f, 0.3f);
             s.Update(1.0f);
             failing(f, "BASS_ChannelSetAttributes");
             s.Update(0.5f);
         },
         "BASS_ChannelSetAttributes(track.handle, -1, Math::round(track.volume * math::lerp(1.f, "
         "_lowLevelVolume, _lowVolumeTimeCounter / TIME_IN)), -101)"},
        {[&](auto& s, auto& f) {
             s.PlayTrack("menu", true);
             s.SetLowVolumeTime(5.0f, 0.3f);
             s.Update(1.0f);
             failing(f, "BASS_ChannelSetAttributes");
             s.Update(1.0f);
         },
         "BASS_ChannelSetAttributes(track.handle, -1, Math::round(track.volume * _lowLevelVolume), -101)"},
        {[&](auto& s, auto& f) {
             s.PlayTrack("menu", true);
             failing(f, "BASS_ChannelSetAttributes");
             s.SetMusicVolume(50);
         },
         "BASS_ChannelSetAttributes(track.handle, -1, volume, -101)"},
        {[&](auto& s, auto& f) {
             s.PlaySample("click");
             failing(f, "BASS_ChannelSetAttributes");
             s.SetSoundVolume(50);
         },
         "BASS_ChannelSetAttributes(it->second, -1, volume, -101)"},
        {[&](auto& s, auto& f) {
             s.PlayTrack("menu", true);
             failing(f, "BASS_ChannelStop");
             s.DelayPlayTrack("menu", 1.0f, 1.0f, true);
         },
         "BASS_ChannelStop(handle)"},
        {[&](auto& s, auto& f) { failing(f, "BASS_SampleStop"); s.StopSample("click"); },
         "BASS_SampleStop(sample.handle)"},
        {[&](auto& s, auto& f) { failing(f, "BASS_Pause"); s.PauseOutput(); }, "BASS_Pause()"},
        {[&](auto& s, auto& f) { failing(f, "BASS_Start"); s.ResumeOutput(); }, "BASS_Start()"},
        {[&](auto& s, auto& f) { failing(f, "BASS_Free"); s.Shutdown(); }, "BASS_Free()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        LogCapture log;
        Rig rig;
        c.action(rig.sound, rig.fake);
        EXPECT_TRUE(rig.sound.IsFailed());
        EXPECT_EQ(1, log.ErrorCount());
        EXPECT_TRUE(log.Contains(std::string("Assertion failed: ") + c.check));
        rig.fake.failingCalls.clear();
        rig.fake.ClearCalls();
        EveryOperation(rig.sound);
        EXPECT_EQ(Calls{}, rig.fake.Calls());
        EXPECT_EQ(1, log.ErrorCount());
    }
}

TEST(SoundDevices, FirstWorkingDeviceIsUsed) {
    LogCapture log;
    FakeAudioBackend fake;
    ScopedAudioBackend scope(fake);
    fake.devices = {"Card A", "Card B"};
    fake.initErrors = {{1, BASS_ERROR_DRIVER}};
    Sound::SoundSystemImpl sound;
    int window = 0;
    sound.Init(&window);
    EXPECT_EQ((Calls{"BASS_GetDeviceDescription(1)", "BASS_Init(1, 44100, 0, window, null)", "BASS_ErrorGetCode()",
                     "BASS_GetDeviceDescription(2)", "BASS_Init(2, 44100, 0, window, null)"}),
              fake.Calls());
    EXPECT_FALSE(sound.IsFailed());
    EXPECT_EQ(0, log.ErrorCount());
    sound.PauseOutput();
    sound.ResumeOutput();
    sound.Shutdown();
    EXPECT_EQ((Calls{"BASS_Pause()", "BASS_Start()", "BASS_Free()"}),
              Calls(fake.Calls().end() - 3, fake.Calls().end()));
    EXPECT_FALSE(fake.IsOpen());
    EXPECT_FALSE(sound.IsFailed());
}

TEST(SoundDevices, NoWorkingDeviceSwitchesSoundOffWithTheReasons) {
    struct Case {
        std::vector<std::string> devices;
        std::map<int, int> errors;
        std::string text;
    };
    const Case cases[] = {
        {{}, {}, "Error: Sound devices not found"},
        {{"Card A", "Card B"},
         {{1, BASS_ERROR_DRIVER}, {2, 42}},
         "Error: Sound device initialization error:\nCard A: BASS_ERROR_DRIVER\nCard B: BASS_ERROR_42\n\n"},
        {{"C"}, {{1, 1}}, "C: BASS_ERROR_MEM\n"},
        {{"C"}, {{1, 6}}, "C: BASS_ERROR_FORMAT\n"},
        {{"C"}, {{1, 14}}, "C: BASS_ERROR_ALREADY\n"},
        {{"C"}, {{1, 21}}, "C: BASS_ERROR_NO3D\n"},
        {{"C"}, {{1, 23}}, "C: BASS_ERROR_DEVICE\n"},
        {{"C"}, {{1, -1}}, "C: BASS_ERROR_UNKNOWN\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LogCapture log;
        FakeAudioBackend fake;
        ScopedAudioBackend scope(fake);
        fake.devices = c.devices;
        fake.initErrors = c.errors;
        Sound::SoundSystemImpl sound;
        sound.Init(nullptr);
        EXPECT_TRUE(sound.IsFailed());
        EXPECT_EQ(1, log.ErrorCount());
        EXPECT_TRUE(log.Contains(c.text));
        fake.ClearCalls();
        sound.AddSample("click", "click.wav", 1);
        sound.PlaySample("click");
        EXPECT_TRUE(fake.Calls().empty());
    }
}

}  // namespace
