#include "platform/Audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace audio = platform::audio;

namespace {

// 16-bit samples as the little-endian bytes of a buffer.
std::vector<uint8_t> Bytes16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return bytes;
}

// A square wave of +-amplitude, 50 frames a half period.
std::vector<int16_t> Square(size_t frames, int16_t amplitude, uint16_t channels = 1) {
    std::vector<int16_t> samples;
    for (size_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c)
            samples.push_back((i / 50) % 2 ? static_cast<int16_t>(-amplitude) : amplitude);
    return samples;
}

audio::WaveFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) {
    audio::WaveFormat format;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    return format;
}

uint32_t MakeBuffer(const std::vector<int16_t>& samples, uint16_t channels = 1,
                    uint32_t rate = audio::kMixRate) {
    std::vector<uint8_t> bytes = Bytes16(samples);
    return audio::CreateBuffer(Format(channels, rate, 16), bytes.data(), bytes.size());
}

// Largest magnitude of the left (channel 0) or right (1) samples.
int Peak(const std::vector<int16_t>& mix, int channel) {
    int peak = 0;
    for (size_t i = static_cast<size_t>(channel); i < mix.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(mix[i])));
    return peak;
}

class RecordingAudio : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(audio::OpenAudio(audio::Backend::Recording)); }
    void TearDown() override { audio::CloseAudio(); }

    std::vector<int16_t> Render(size_t frames) {
        std::vector<int16_t> out;
        audio::RenderRecording(frames, out);
        return out;
    }
};

} // namespace

TEST(AudioBackend, NullBackendHasNoBuffersOrStreams) {
    ASSERT_TRUE(audio::OpenAudio(audio::Backend::Null));
    EXPECT_EQ(audio::CurrentBackend(), audio::Backend::Null);
    EXPECT_TRUE(audio::IsAudioOpen());
    EXPECT_EQ(MakeBuffer(Square(100, 1000)), 0u);
    EXPECT_EQ(audio::OpenStream(44100, 2), 0u);
    EXPECT_FALSE(audio::Play(1, false));
    audio::CloseAudio();
    EXPECT_FALSE(audio::IsAudioOpen());
}

TEST(AudioBackend, EnvironmentChoosesTheBackend) {
    setenv("ORVANDEL_AUDIO", "record", 1);
    EXPECT_TRUE(audio::OpenDefaultAudio());
    EXPECT_EQ(audio::CurrentBackend(), audio::Backend::Recording);
    setenv("ORVANDEL_AUDIO", "null", 1);
    EXPECT_TRUE(audio::OpenDefaultAudio());
    EXPECT_EQ(audio::CurrentBackend(), audio::Backend::Null);
    // An SDL device that cannot open falls back to the null back-end.
    unsetenv("ORVANDEL_AUDIO");
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    EXPECT_TRUE(audio::OpenDefaultAudio());
    EXPECT_EQ(audio::CurrentBackend(), audio::Backend::Null);
    unsetenv("SDL_AUDIODRIVER");
    audio::CloseAudio();
}

// Without a sound device the player reads one line of ours, not the sound
// libraries' own: ALSA with a settings file it cannot read writes a dozen
// lines of errors, whatever sound cards there are.
TEST(AudioBackend, NoDeviceGivesOneLineOfOurs) {
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("ALSA_CONFIG_PATH", "/nonexistent/orvandel-test/asound.conf", 1);
    unsetenv("ORVANDEL_AUDIO");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(audio::OpenDefaultAudio());
    const std::string log = testing::internal::GetCapturedStderr();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("ALSA_CONFIG_PATH");
    EXPECT_EQ(audio::CurrentBackend(), audio::Backend::Null);
    EXPECT_EQ(log.rfind("sound: no sound device could be opened", 0), 0u) << log;
    EXPECT_NE(log.find("the game plays without sound\n"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    // stderr works again afterwards.
    testing::internal::CaptureStderr();
    std::fprintf(stderr, "after\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "after\n");
    audio::CloseAudio();
}

// ORVANDEL_AUDIO names the null and the recording back-ends exactly; any
// other value, as no value, opens SDL's device, and the null back-end when
// that device cannot open.
TEST(AudioBackend, EachSettingOpensItsBackEnd) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const bool dummyOpens = audio::OpenAudio(audio::Backend::Sdl);
    const struct {
        const char* setting;   // ORVANDEL_AUDIO
        const char* sdlDriver; // SDL_AUDIODRIVER
        audio::Backend backend;
    } cases[] = {
        {"record", "no_such_driver", audio::Backend::Recording},
        {"null", "dummy", audio::Backend::Null},
        {"sdl", "dummy", audio::Backend::Sdl},
        {"sdl", "no_such_driver", audio::Backend::Null},
        {"Record", "dummy", audio::Backend::Sdl},
        {"Record", "no_such_driver", audio::Backend::Null},
        {"", "dummy", audio::Backend::Sdl},
    };
    for (const auto& c : cases) {
        if (c.backend == audio::Backend::Sdl && !dummyOpens)
            continue; // SDL has no dummy audio driver here
        setenv("ORVANDEL_AUDIO", c.setting, 1);
        setenv("SDL_AUDIODRIVER", c.sdlDriver, 1);
        EXPECT_TRUE(audio::OpenDefaultAudio()) << c.setting << " " << c.sdlDriver;
        EXPECT_EQ(audio::CurrentBackend(), c.backend) << c.setting << " " << c.sdlDriver;
        EXPECT_TRUE(audio::IsAudioOpen());
    }
    unsetenv("ORVANDEL_AUDIO");
    unsetenv("SDL_AUDIODRIVER");
    audio::CloseAudio();
    EXPECT_EQ(audio::CurrentBackend(), audio::Backend::Null);
}

TEST(AudioBackend, SdlDevicePullsTheMix) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    bool opened = audio::OpenAudio(audio::Backend::Sdl);
    unsetenv("SDL_AUDIODRIVER");
    if (!opened)
        GTEST_SKIP() << "SDL has no dummy audio driver here";
    EXPECT_EQ(audio::CurrentBackend(), audio::Backend::Sdl);
    uint32_t buffer = MakeBuffer(Square(2205, 8000)); // 50 ms
    ASSERT_NE(buffer, 0u);
    ASSERT_TRUE(audio::Play(buffer, false));
    uint32_t stream = audio::OpenStream(22050, 1);
    std::vector<int16_t> samples = Square(2205, 8000);
    EXPECT_EQ(audio::QueueStream(stream, samples.data(), 2205), 2205u);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((audio::IsPlaying(buffer) || audio::StreamQueuedFrames(stream) > 0) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(audio::IsPlaying(buffer));
    EXPECT_EQ(audio::StreamPlayedFrames(stream), 2205u);
    audio::CloseAudio();
    EXPECT_FALSE(audio::IsAudioOpen());
}

TEST_F(RecordingAudio, InvalidFormatsAreRefused) {
    std::vector<uint8_t> bytes(400, 0x80);
    struct Case {
        audio::WaveFormat format;
        size_t bytes;
    } cases[] = {
        {Format(3, 22050, 16), 400}, // three channels
        {Format(1, 22050, 24), 400}, // 24-bit
        {Format(1, 50, 16), 400},    // rate below the range
        {Format(2, 22050, 16), 3},   // less than one frame
        {Format(1, 22050, 8), 0},    // no data
    };
    for (const Case& c : cases)
        EXPECT_EQ(audio::CreateBuffer(c.format, bytes.data(), c.bytes), 0u);
    audio::WaveFormat adpcm = Format(1, 22050, 16);
    adpcm.formatTag = 2;
    EXPECT_EQ(audio::CreateBuffer(adpcm, bytes.data(), bytes.size()), 0u);
}

TEST_F(RecordingAudio, VolumeAttenuatesInDecibels) {
    uint32_t buffer = MakeBuffer(Square(4410, 30000));
    ASSERT_NE(buffer, 0u);
    audio::Play(buffer, true);
    EXPECT_NEAR(Peak(Render(1000), 0), 30000, 1);
    audio::SetVolume(buffer, -600); // -6 dB: about half
    std::vector<int16_t> mix = Render(1000);
    EXPECT_NEAR(Peak(mix, 0), 15036, 60);
    EXPECT_NEAR(Peak(mix, 1), 15036, 60);
    audio::SetVolume(buffer, -20000); // clamped to silence
    EXPECT_EQ(Peak(Render(1000), 0), 0);
}

TEST_F(RecordingAudio, PanSilencesTheOtherSide) {
    uint32_t buffer = MakeBuffer(Square(4410, 20000));
    audio::Play(buffer, true);
    audio::SetPan(buffer, 10000);
    std::vector<int16_t> right = Render(500);
    EXPECT_EQ(Peak(right, 0), 0);
    EXPECT_NEAR(Peak(right, 1), 20000, 1);
    audio::SetPan(buffer, -30000); // clamped to left only
    std::vector<int16_t> left = Render(500);
    EXPECT_NEAR(Peak(left, 0), 20000, 1);
    EXPECT_EQ(Peak(left, 1), 0);
    audio::SetPan(buffer, 600); // the left side 6 dB down
    std::vector<int16_t> half = Render(500);
    EXPECT_NEAR(Peak(half, 0), 10024, 60);
    EXPECT_NEAR(Peak(half, 1), 20000, 1);
}

TEST_F(RecordingAudio, StereoAndEightBitSamplesKeepTheirChannels) {
    // Stereo 16-bit: left loud, right quiet.
    std::vector<int16_t> stereo;
    for (int i = 0; i < 200; ++i) {
        stereo.push_back(12000);
        stereo.push_back(-3000);
    }
    uint32_t two = MakeBuffer(stereo, 2);
    audio::Play(two, false);
    std::vector<int16_t> mix = Render(100);
    EXPECT_EQ(mix[0], 12000);
    EXPECT_EQ(mix[1], -3000);
    audio::Stop(two);
    // Mono 8-bit unsigned: 128 is silence, 255 nearly full, 0 full negative.
    std::vector<uint8_t> eight = {255, 255, 0, 0, 128, 128};
    uint32_t mono = audio::CreateBuffer(Format(1, audio::kMixRate, 8), eight.data(), eight.size());
    ASSERT_NE(mono, 0u);
    audio::Play(mono, false);
    mix = Render(6);
    EXPECT_EQ(mix[0], 127 * 256);
    EXPECT_EQ(mix[1], 127 * 256);
    EXPECT_EQ(mix[4], -128 * 256);
    EXPECT_EQ(mix[8], 0);
}

TEST_F(RecordingAudio, NonLoopingVoiceStopsAtItsEnd) {
    uint32_t buffer = MakeBuffer(Square(1000, 5000));
    audio::Play(buffer, false);
    Render(600);
    EXPECT_TRUE(audio::IsPlaying(buffer));
    EXPECT_EQ(audio::GetPosition(buffer), 1200u); // bytes: 600 frames of 2
    std::vector<int16_t> mix = Render(600);
    EXPECT_FALSE(audio::IsPlaying(buffer));
    EXPECT_EQ(audio::GetPosition(buffer), 0u);
    EXPECT_EQ(Peak(std::vector<int16_t>(mix.begin() + 800, mix.end()), 0),
              0); // silent after the end

    uint32_t looping = MakeBuffer(Square(1000, 5000));
    audio::Play(looping, true);
    Render(2500);
    EXPECT_TRUE(audio::IsPlaying(looping));
    EXPECT_EQ(audio::GetPosition(looping), 1000u); // 2500 mod 1000 frames
}

TEST_F(RecordingAudio, StopKeepsThePosition) {
    uint32_t buffer = MakeBuffer(Square(1000, 5000));
    audio::Play(buffer, false);
    Render(300);
    audio::Stop(buffer);
    Render(300);
    EXPECT_FALSE(audio::IsPlaying(buffer));
    EXPECT_EQ(audio::GetPosition(buffer), 600u);
    audio::SetPosition(buffer, 1001); // rounded down to a frame
    EXPECT_EQ(audio::GetPosition(buffer), 1000u);
    audio::Play(buffer, false);
    Render(100);
    EXPECT_EQ(audio::GetPosition(buffer), 1200u);
}

TEST_F(RecordingAudio, FrequencySetsThePlaybackSpeed) {
    uint32_t buffer = MakeBuffer(Square(4000, 5000), 1, 22050);
    audio::Play(buffer, false);
    Render(1000); // 22050 Hz plays half a frame per output frame
    EXPECT_EQ(audio::GetPosition(buffer), 1000u);
    audio::SetFrequency(buffer, 88200);
    Render(100);
    EXPECT_EQ(audio::GetPosition(buffer), 1400u);
    audio::SetFrequency(buffer, 0); // back to the buffer's own rate
    Render(100);
    EXPECT_EQ(audio::GetPosition(buffer), 1500u);
}

TEST_F(RecordingAudio, DuplicateSharesSamplesWithItsOwnVoice) {
    uint32_t original = MakeBuffer(Square(4410, 10000));
    audio::SetVolume(original, -10000);
    audio::Play(original, true);
    uint32_t copy = audio::DuplicateBuffer(original);
    ASSERT_NE(copy, 0u);
    EXPECT_FALSE(audio::IsPlaying(copy));
    EXPECT_EQ(audio::GetPosition(copy), 0u);
    audio::Play(copy, false);
    EXPECT_NEAR(Peak(Render(200), 0), 10000, 1); // full volume: its own
    audio::ReleaseBuffer(original);
    EXPECT_FALSE(audio::IsPlaying(original));
    EXPECT_NEAR(Peak(Render(200), 0), 10000, 1); // samples outlive the original
    EXPECT_EQ(audio::DuplicateBuffer(original), 0u);
}

TEST_F(RecordingAudio, CallLogShowsBufferOperations) {
    uint32_t buffer = MakeBuffer(Square(100, 1000));
    audio::SetVolume(buffer, -600);
    audio::SetPan(buffer, 128);
    audio::Play(buffer, true);
    audio::Stop(buffer);
    uint32_t copy = audio::DuplicateBuffer(buffer);
    audio::ReleaseBuffer(copy);
    const std::string b = std::to_string(buffer);
    const std::string c = std::to_string(copy);
    std::vector<std::string> expected = {
        "CreateBuffer " + b + " 1ch 16bit 44100Hz 100 frames",
        "SetVolume " + b + " -600",
        "SetPan " + b + " 128",
        "Play " + b + " loop",
        "Stop " + b,
        "DuplicateBuffer " + b + " " + c,
        "ReleaseBuffer " + c,
    };
    EXPECT_EQ(audio::RecordedCalls(), expected);
    audio::ClearRecordedCalls();
    EXPECT_TRUE(audio::RecordedCalls().empty());
}

TEST_F(RecordingAudio, StreamRingTakesWhatFitsAndRunsDrySilently) {
    uint32_t stream = audio::OpenStream(22050, 2);
    ASSERT_NE(stream, 0u);
    std::vector<int16_t> samples = Square(60000, 9000, 2);
    size_t taken = audio::QueueStream(stream, samples.data(), 60000);
    EXPECT_GE(taken, 44100u); // at least 2 seconds
    EXPECT_LT(taken, 60000u);
    EXPECT_EQ(audio::QueueStream(stream, samples.data(), 10), 0u); // full
    EXPECT_EQ(audio::StreamQueuedFrames(stream), taken);

    Render(1000); // 500 frames of the stream
    EXPECT_EQ(audio::StreamPlayedFrames(stream), 500u);
    EXPECT_EQ(audio::StreamQueuedFrames(stream), taken - 500);
    EXPECT_EQ(audio::QueueStream(stream, samples.data(), 1000), 500u); // wraps around

    audio::PauseStream(stream, true);
    EXPECT_EQ(Peak(Render(500), 0), 0);
    EXPECT_EQ(audio::StreamPlayedFrames(stream), 500u);
    audio::PauseStream(stream, false);
    audio::SetStreamVolume(stream, -600);
    EXPECT_NEAR(Peak(Render(500), 1), 4512, 30);

    // Run dry: what was queued plays, then silence.
    std::vector<int16_t> mix = Render(2 * taken + 2000);
    EXPECT_EQ(audio::StreamQueuedFrames(stream), 0u);
    EXPECT_EQ(audio::StreamPlayedFrames(stream), taken + 500);
    EXPECT_EQ(Peak(std::vector<int16_t>(mix.end() - 1000, mix.end()), 0), 0);

    EXPECT_TRUE(audio::StreamExists(stream));
    audio::CloseStream(stream);
    EXPECT_FALSE(audio::StreamExists(stream));
    EXPECT_EQ(audio::QueueStream(stream, samples.data(), 10), 0u);
    EXPECT_EQ(audio::OpenStream(22050, 3), 0u);

    // Reopening the mixer ends the streams it had.
    const uint32_t other = audio::OpenStream(22050, 2);
    ASSERT_NE(other, 0u);
    ASSERT_TRUE(audio::OpenAudio(audio::Backend::Recording));
    EXPECT_FALSE(audio::StreamExists(other));
}

TEST_F(RecordingAudio, CallsFromSeveralThreadsAreSafe) {
    uint32_t stream = audio::OpenStream(44100, 2);
    std::vector<int16_t> samples = Square(512, 3000, 2);
    std::atomic<bool> done{false};
    std::thread mixer([&] {
        std::vector<int16_t> out;
        while (!done)
            audio::RenderRecording(256, out);
    });
    for (int i = 0; i < 2000; ++i) {
        uint32_t buffer = MakeBuffer(Square(200, 1000));
        audio::Play(buffer, i % 2 == 0);
        audio::SetVolume(buffer, -(i % 10000));
        uint32_t copy = audio::DuplicateBuffer(buffer);
        audio::Play(copy, false);
        audio::QueueStream(stream, samples.data(), 512);
        audio::ReleaseBuffer(buffer);
        if (i % 3 == 0)
            audio::ReleaseBuffer(copy);
    }
    done = true;
    mixer.join();
}
