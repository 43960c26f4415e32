#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/Audio.h"
#include "platform/AudioResample.h"
#include "platform/EventPump.h"
#include "platform/Music.h"
#include "platform/MusicDecoder.h"
#include "tests/TestSupport.h"
#include "tests/platform/MusicTestSupport.h"

namespace {

using platform::MessageType;
using platform::MusicDecoder;
using platform::MusicDevice;
namespace audio = platform::audio;

// Decodes the whole file; the frames it gave.
std::vector<int16_t> DecodeAll(MusicDecoder& decoder) {
    std::vector<int16_t> out;
    while (decoder.Decode(out)) {
    }
    return out;
}

std::vector<int16_t> Ramp(size_t count) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(static_cast<int32_t>(i * 37 % 20000) - 10000);
    return samples;
}

class MusicDecoderTest : public ::testing::Test {
protected:
    test::ScopedGameDir dir;
};

TEST_F(MusicDecoderTest, SameFormatPassesSamplesThroughUnchanged) {
    const std::vector<int16_t> samples = Ramp(2 * 11025);
    dir.WriteFile("a.wav", demo::MakeWav(44100, 2, 16, samples));
    MusicDecoder decoder;
    ASSERT_TRUE(decoder.Open("a.wav", 44100, 2));
    EXPECT_DOUBLE_EQ(decoder.LengthSeconds(), 0.25);
    EXPECT_EQ(DecodeAll(decoder), samples);
    std::vector<int16_t> more;
    EXPECT_FALSE(decoder.Decode(more));
    EXPECT_TRUE(more.empty());
}

// Other rates, channel counts and sample sizes come out at the asked rate
// and channels, about as long as the file.
TEST_F(MusicDecoderTest, ConvertsToTheAskedRateAndChannels) {
    struct Case {
        uint32_t rate;
        uint16_t channels;
        uint16_t bits;
        uint32_t outRate;
        uint16_t outChannels;
    };
    const Case cases[] = {
        {22050, 1, 16, 44100, 2},
        {8000, 1, 8, 44100, 2},
        {48000, 2, 16, 44100, 2},
        {44100, 2, 16, 22050, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz " + std::to_string(c.bits) + " bit");
        // Half a second of a constant level.
        dir.WriteFile("b.wav",
                      demo::MakeWav(c.rate, c.channels, c.bits,
                                    std::vector<int16_t>(size_t{c.rate} / 2 * c.channels, 12288)));
        MusicDecoder decoder;
        ASSERT_TRUE(decoder.Open("B.WAV", c.outRate, c.outChannels));
        EXPECT_NEAR(decoder.LengthSeconds(), 0.5, 0.001);
        const std::vector<int16_t> out = DecodeAll(decoder);
        ASSERT_EQ(out.size() % c.outChannels, 0u);
        const double frames = static_cast<double>(out.size() / c.outChannels);
        EXPECT_NEAR(frames, c.outRate / 2.0, c.outRate / 100.0);
        // Away from the edges the level comes through.
        const size_t middle = out.size() / 2 / c.outChannels * c.outChannels;
        for (uint16_t ch = 0; ch < c.outChannels; ++ch)
            EXPECT_NEAR(out[middle + ch], 12288, 100);
    }
}

TEST_F(MusicDecoderTest, UnreadableFilesFailToOpen) {
    dir.WriteFile("text.wav", std::string(400, 'x') + "\nnot a sound at all\n");
    dir.WriteFile("empty.wav", "");
    dir.WriteFile("header.wav", demo::MakeWav(44100, 2, 16, {}).substr(0, 20));
    for (const char* name : {"text.wav", "empty.wav", "header.wav", "missing.wav"}) {
        SCOPED_TRACE(name);
        MusicDecoder decoder;
        EXPECT_FALSE(decoder.Open(name, 44100, 2));
        EXPECT_FALSE(decoder.IsOpen());
        std::vector<int16_t> out;
        EXPECT_FALSE(decoder.Decode(out));
        double seconds = -1.0;
        EXPECT_FALSE(platform::ReadMusicLength(name, seconds));
    }
}

TEST_F(MusicDecoderTest, AFileCutShortGivesWhatItHolds) {
    // The header states a second; a tenth is there.
    const std::vector<int16_t> samples = Ramp(2 * 4410);
    dir.WriteFile("cut.wav", demo::MakeWav(44100, 2, 16, samples, 44100 * 4));
    MusicDecoder decoder;
    ASSERT_TRUE(decoder.Open("cut.wav", 44100, 2));
    EXPECT_EQ(DecodeAll(decoder), samples);
}

// An MP3 file of silent frames (MPEG-1 layer III, 128 kbit/s, 44100 Hz,
// mono, 417 bytes and 1152 samples each) behind a first frame whose "Xing"
// header states the number of frames.
std::string SilentMp3(uint32_t statedFrames, uint32_t frames) {
    auto frame = [] {
        std::string bytes(417, '\0'); // side information and data all zero: silence
        bytes[0] = '\xFF';
        bytes[1] = '\xFB';
        bytes[2] = '\x90';
        bytes[3] = '\xC0';
        return bytes;
    };
    std::string head = frame();
    head.replace(21, 4, "Xing");
    const char flags[4] = {0, 0, 0, 1}; // the frame count is given
    head.replace(25, 4, flags, 4);
    for (int i = 0; i < 4; ++i)
        head[29 + i] = static_cast<char>(statedFrames >> (24 - 8 * i));
    std::string file = head;
    for (uint32_t i = 0; i < frames; ++i)
        file += frame();
    return file;
}

// A track's length is what it holds where its header claims more (a file
// cut short); a whole file keeps the length it states.
TEST_F(MusicDecoderTest, LengthIsWhatDecodesWhereTheHeaderDisagrees) {
    const std::vector<int16_t> samples = Ramp(2 * 4410);
    dir.WriteFile("cut.wav", demo::MakeWav(44100, 2, 16, samples, 44100 * 4));
    dir.WriteFile("whole.wav", demo::MakeWav(22050, 1, 16, Ramp(22050 * 3 / 4)));
    dir.WriteFile("cut.mp3", SilentMp3(200, 20));
    dir.WriteFile("whole.mp3", SilentMp3(40, 40));
    const struct {
        const char* name;
        double seconds;
        double within;
    } cases[] = {
        {"cut.wav", 0.1, 0.001},
        {"whole.wav", 0.75, 0.001},
        {"cut.mp3", 20 * 1152 / 44100.0, 0.03},
        {"whole.mp3", 40 * 1152 / 44100.0, 0.03},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double seconds = 0.0;
        ASSERT_TRUE(platform::ReadMusicLength(c.name, seconds));
        EXPECT_NEAR(seconds, c.seconds, c.within);
    }
    // The header of the MP3 cut short claims its whole length.
    MusicDecoder decoder;
    ASSERT_TRUE(decoder.Open("cut.mp3", 44100, 2));
    EXPECT_NEAR(decoder.LengthSeconds(), 200 * 1152 / 44100.0, 0.03);
}

// A track whose rate, channel count or sample format lies outside the sane
// bounds is skipped with one line in the log (a rate of a billion Hz or of
// 1 Hz made the converter allocate gigabytes); those at the bounds play.
TEST_F(MusicDecoderTest, TracksOutsideTheSaneBoundsAreSkippedWithOneLine) {
    struct Case {
        uint32_t rate;
        uint16_t channels;
        bool taken;
    };
    const Case cases[] = {
        {1'000'000'000, 2, false}, {1, 2, false},   {3999, 1, false},  {192001, 2, false},
        {22050, 9, false},         {4000, 1, true}, {192000, 2, true}, {44100, 8, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channels");
        dir.WriteFile("music/track02.wav",
                      demo::MakeWav(c.rate, c.channels, 16,
                                    std::vector<int16_t>(size_t{c.channels} * 4096, 1000)));
        testing::internal::CaptureStderr();
        MusicDecoder decoder;
        const bool opened = decoder.Open("music\\track02.wav", 44100, 2);
        std::vector<int16_t> out;
        if (opened)
            out = DecodeAll(decoder);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(opened, c.taken);
        if (c.taken) {
            EXPECT_FALSE(out.empty());
            EXPECT_EQ(log, "");
        } else {
            EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
            EXPECT_NE(log.find("music\\track02.wav"), std::string::npos) << log;
            EXPECT_NE(log.find("skipped"), std::string::npos) << log;
            double seconds = 0.0;
            testing::internal::CaptureStderr();
            EXPECT_FALSE(platform::ReadMusicLength("music\\track02.wav", seconds));
            testing::internal::GetCapturedStderr();
        }
    }
}

TEST(AudioTrackBounds, RatesChannelsAndSampleFormats) {
    struct Case {
        int rate;
        int channels;
        int format;
        bool taken;
    };
    const Case cases[] = {
        {44100, 2, AV_SAMPLE_FMT_S16, true},
        {platform::kMinTrackRate, 1, AV_SAMPLE_FMT_FLTP, true},
        {platform::kMaxTrackRate, platform::kMaxTrackChannels, AV_SAMPLE_FMT_U8, true},
        {0, 2, AV_SAMPLE_FMT_S16, false},
        {-44100, 2, AV_SAMPLE_FMT_S16, false},
        {2147483647, 2, AV_SAMPLE_FMT_S16, false},
        {44100, 0, AV_SAMPLE_FMT_S16, false},
        {44100, -1, AV_SAMPLE_FMT_S16, false},
        {44100, 64, AV_SAMPLE_FMT_S16, false},
        {44100, 2, AV_SAMPLE_FMT_NONE, false},
        {44100, 2, AV_SAMPLE_FMT_NB, false},
        {44100, 2, 1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " " + std::to_string(c.channels) + " " +
                     std::to_string(c.format));
        EXPECT_EQ(platform::AudioTrackProblem(c.rate, c.channels, c.format).empty(), c.taken);
    }
    // Before the first frame a decoder may leave the rate, the channels and
    // the format open; what it does state is checked.
    EXPECT_EQ(platform::StatedTrackProblem(0, 0, AV_SAMPLE_FMT_NONE), "");
    EXPECT_NE(platform::StatedTrackProblem(1, 0, AV_SAMPLE_FMT_NONE), "");
    EXPECT_NE(platform::StatedTrackProblem(0, 99, AV_SAMPLE_FMT_NONE), "");
}

// The converter itself refuses a frame outside the bounds (a decoder may
// change its rate in the middle of a stream) and appends nothing.
TEST(AudioTrackBounds, TheConverterRefusesFramesOutsideTheBounds) {
    struct Case {
        int rate;
        int channels;
        bool taken;
    };
    const Case cases[] = {{1, 2, false},
                          {1'000'000'000, 2, false},
                          {22050, 12, false},
                          {22050, 1, true},
                          {48000, 2, true}};
    platform::AudioResampler resampler(44100, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channels");
        AVFrame* frame = av_frame_alloc();
        ASSERT_NE(frame, nullptr);
        frame->format = AV_SAMPLE_FMT_S16;
        frame->sample_rate = c.rate;
        frame->nb_samples = 4410;
        av_channel_layout_default(&frame->ch_layout, c.channels);
        ASSERT_EQ(av_frame_get_buffer(frame, 0), 0);
        std::fill_n(reinterpret_cast<int16_t*>(frame->data[0]), 4410 * c.channels, int16_t{900});
        std::vector<int16_t> out(3, 7);
        EXPECT_EQ(resampler.Convert(*frame, out), c.taken);
        if (c.taken) {
            EXPECT_GT(out.size(), 3u);
        } else {
            EXPECT_EQ(out, std::vector<int16_t>(3, 7));
            EXPECT_NE(resampler.Refusal(), "");
        }
        av_frame_free(&frame);
    }
}

TEST_F(MusicDecoderTest, BadArgumentsAreRefused) {
    dir.WriteFile("a.wav", test::LevelWav(100, 1000));
    MusicDecoder decoder;
    EXPECT_FALSE(decoder.Open("a.wav", 44100, 0));
    EXPECT_FALSE(decoder.Open("a.wav", 44100, 3));
    EXPECT_FALSE(decoder.Open("a.wav", 0, 2));
}

// ---- the music device ----

class MusicDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(audio::OpenAudio(audio::Backend::Recording));
        platform::ClearWindowMessages();
    }
    void TearDown() override {
        device.reset();
        audio::CloseAudio();
        platform::ClearWindowMessages();
    }

    void Open() {
        device = MusicDevice::Open();
        ASSERT_TRUE(device);
    }

    test::ScopedGameDir dir;
    std::unique_ptr<MusicDevice> device;
};

TEST_F(MusicDeviceTest, FindsTracksByNumberWhateverTheCaseAndExtension) {
    dir.WriteFile("Music/track02.wav", test::LevelWav(4410, 1000));
    dir.WriteFile("Music/TRACK05.Ogg", test::LevelWav(22050, 1000)); // a WAV under another name
    dir.WriteFile("Music/track03.flac", "garbage, not sound");
    dir.WriteFile("Music/track7.wav", test::LevelWav(100, 1000));   // not "%02d"
    dir.WriteFile("Music/track006.wav", test::LevelWav(100, 1000)); // not "%02d"
    dir.WriteFile("Music/track09", test::LevelWav(100, 1000));      // no extension
    dir.WriteFile("Music/readme.txt", "tracks");
    Open();
    EXPECT_NE(device->Id(), 0u);
    EXPECT_EQ(device->TrackCount(), 5u);
    double seconds = 0.0;
    EXPECT_TRUE(device->TrackLength(2, seconds));
    EXPECT_NEAR(seconds, 0.1, 0.0001);
    EXPECT_TRUE(device->TrackLength(5, seconds));
    EXPECT_NEAR(seconds, 0.5, 0.0001);
    for (uint32_t missing : {0u, 1u, 3u, 4u, 6u, 7u}) {
        SCOPED_TRACE(missing);
        EXPECT_FALSE(device->TrackLength(missing, seconds));
        EXPECT_FALSE(device->Play(missing));
    }
    EXPECT_TRUE(device->Play(5));
}

TEST_F(MusicDeviceTest, TrackNumbersUpToAHundred) {
    dir.WriteFile("music/track100.wav", test::LevelWav(100, 1000));
    dir.WriteFile("music/track101.wav", test::LevelWav(100, 1000));
    Open();
    EXPECT_EQ(device->TrackCount(), 100u);
    double seconds = 0.0;
    EXPECT_TRUE(device->TrackLength(100, seconds));
}

TEST_F(MusicDeviceTest, NoTracksOrNoSoundOutputGiveNoDevice) {
    EXPECT_FALSE(MusicDevice::Open()); // no music folder
    dir.WriteFile("music/notes.txt", "none");
    EXPECT_FALSE(MusicDevice::Open()); // a music folder without tracks
    dir.WriteFile("music/track02.wav", test::LevelWav(100, 1000));
    ASSERT_TRUE(audio::OpenAudio(audio::Backend::Null));
    EXPECT_FALSE(MusicDevice::Open());
}

TEST_F(MusicDeviceTest, ATrackPlaysWholeAndThenPostsOneNotice) {
    dir.WriteFile("music/track02.wav", test::LevelWav(13230, 8000));
    Open();
    ASSERT_TRUE(device->Play(2));
    test::MusicRun run;
    ASSERT_TRUE(run.RenderUntilNotice());
    EXPECT_EQ(run.positiveFrames, 13230u);
    EXPECT_EQ(run.notices[0].code, platform::kMusicNotifySuccess);
    EXPECT_EQ(run.notices[0].data, device->Id());
    run.Render(8820);
    EXPECT_EQ(run.notices.size(), 1u);
    EXPECT_EQ(run.positiveFrames, 13230u);
    // Once played out there is nothing to pause.
    EXPECT_FALSE(device->Pause());
}

TEST_F(MusicDeviceTest, PauseHoldsThePlaceAndResumeGoesOnFromIt) {
    dir.WriteFile("music/track02.wav", test::LevelWav(13230, 8000));
    Open();
    EXPECT_FALSE(device->Pause());
    EXPECT_FALSE(device->Resume());
    ASSERT_TRUE(device->Play(2));
    EXPECT_FALSE(device->Resume());
    test::MusicRun run;
    ASSERT_TRUE(run.RenderUntilSound(4410));
    ASSERT_TRUE(device->Pause());
    EXPECT_FALSE(device->Pause());
    const size_t before = run.positiveFrames;
    run.Render(44100);
    EXPECT_EQ(run.positiveFrames, before);
    EXPECT_TRUE(run.notices.empty());
    ASSERT_TRUE(device->Resume());
    ASSERT_TRUE(run.RenderUntilNotice());
    EXPECT_EQ(run.positiveFrames, 13230u);
}

TEST_F(MusicDeviceTest, NoNoticeAfterAStop) {
    dir.WriteFile("music/track02.wav", test::LevelWav(13230, 8000));
    Open();
    ASSERT_TRUE(device->Play(2));
    test::MusicRun run;
    ASSERT_TRUE(run.RenderUntilSound(2205));
    EXPECT_TRUE(device->Stop());
    EXPECT_FALSE(device->Stop());
    run.Render(22050);
    EXPECT_TRUE(run.notices.empty());
    EXPECT_LT(run.positiveFrames, 13230u);
    EXPECT_FALSE(device->Pause());
}

// A notice that is already waiting when the track is stopped is taken back.
TEST_F(MusicDeviceTest, AStopTakesBackAWaitingNotice) {
    dir.WriteFile("music/track02.wav", test::LevelWav(441, 8000));
    Open();
    ASSERT_TRUE(device->Play(2));
    std::vector<int16_t> out;
    for (int i = 0; i < 50; ++i) {
        audio::RenderRecording(441, out);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    device->Stop();
    test::MusicRun run;
    run.Collect();
    EXPECT_TRUE(run.notices.empty());
}

TEST_F(MusicDeviceTest, AReplacingPlayEndsTheFirstTrackWithoutANotice) {
    dir.WriteFile("music/track02.wav", test::LevelWav(13230, 8000));
    dir.WriteFile("music/track03.wav", test::LevelWav(8820, -8000));
    Open();
    ASSERT_TRUE(device->Play(2));
    test::MusicRun run;
    ASSERT_TRUE(run.RenderUntilSound(2205));
    ASSERT_TRUE(device->Pause());
    // A new play also ends the pause.
    ASSERT_TRUE(device->Play(3));
    ASSERT_TRUE(run.RenderUntilNotice());
    EXPECT_LT(run.positiveFrames, 13230u);
    EXPECT_EQ(run.negativeFrames, 8820u);
    run.Render(8820);
    EXPECT_EQ(run.notices.size(), 1u);
}

TEST_F(MusicDeviceTest, AFileThatTurnsBadPlaysNothingAndPostsNothing) {
    dir.WriteFile("music/track02.wav", test::LevelWav(4410, 8000));
    Open();
    dir.WriteFile("music/track02.wav", "broken now");
    EXPECT_TRUE(device->Play(2));
    test::MusicRun run;
    run.Render(22050);
    EXPECT_EQ(run.positiveFrames + run.negativeFrames, 0u);
    EXPECT_TRUE(run.notices.empty());
}

// A track that opens but gives no sound ends without a notice: the notice
// would only have it played again at once, and again.
TEST_F(MusicDeviceTest, ATrackWithoutSoundPostsNoNotice) {
    dir.WriteFile("music/track02.wav", test::LevelWav(4410, 8000));
    Open();
    dir.WriteFile("music/track02.wav", demo::MakeWav(audio::kMixRate, audio::kMixChannels, 16, {}));
    ASSERT_TRUE(device->Play(2));
    test::MusicRun run;
    run.Render(22050);
    EXPECT_EQ(run.positiveFrames + run.negativeFrames, 0u);
    EXPECT_TRUE(run.notices.empty());
    EXPECT_FALSE(device->Pause()); // it has ended
}

// Closing the mixer under a playing track ends the playing (its decoder
// stops waiting for a stream that is gone) without a notice.
TEST_F(MusicDeviceTest, AMixerClosedUnderATrackEndsIt) {
    dir.WriteFile("music/track02.wav", test::LevelWav(44100 * 3, 8000));
    Open();
    ASSERT_TRUE(device->Play(2));
    test::MusicRun run;
    ASSERT_TRUE(run.RenderUntilSound(2205));
    ASSERT_TRUE(audio::OpenAudio(audio::Backend::Recording)); // closes the first mixer
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        // Pause answers false once the track has ended; a pause it took is
        // undone at once.
        ended = !device->Pause();
        if (!ended)
            device->Resume();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(ended);
    run.Collect();
    EXPECT_TRUE(run.notices.empty());
}

TEST_F(MusicDeviceTest, EachDeviceHasItsOwnId) {
    dir.WriteFile("music/track02.wav", test::LevelWav(100, 1000));
    Open();
    auto other = MusicDevice::Open();
    ASSERT_TRUE(other);
    EXPECT_NE(other->Id(), device->Id());
    EXPECT_NE(other->Id(), 0u);
}

} // namespace
