#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/MovieDecoder.h"
#include "tests/TestSupport.h"
#include "tools/AviWriter.h"

namespace {

using platform::MovieDecoder;
using platform::MoviePixelFormat;

// Frame k is filled with the colour (k * 60, 255 - k * 60, 128) except its
// top-left pixel, which is white, so that a picture upside down shows.
demo::AviMovie TestMovie(int32_t width, int32_t height, uint32_t fps, int32_t frames,
                         double soundSeconds) {
    demo::AviMovie movie;
    movie.width = width;
    movie.height = height;
    movie.framesPerSecond = fps;
    for (int32_t k = 0; k < frames; ++k) {
        std::vector<demo::Rgb> pixels(
            static_cast<size_t>(width) * height,
            {static_cast<uint8_t>(k * 60), static_cast<uint8_t>(255 - k * 60), 128});
        pixels[0] = {255, 255, 255};
        movie.frames.push_back(pixels);
    }
    movie.sampleRate = 22050;
    movie.channels = 1;
    for (int i = 0; i < static_cast<int>(soundSeconds * movie.sampleRate); ++i)
        movie.samples.push_back(static_cast<int16_t>(8000 * std::sin(i * 0.05)));
    return movie;
}

std::string Bytes(const demo::AviMovie& movie) {
    std::vector<uint8_t> bytes = demo::MakeAvi(movie);
    return std::string(bytes.begin(), bytes.end());
}

uint16_t Rgb565(int r, int g, int b) {
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
}
uint16_t Rgb555(int r, int g, int b) {
    return static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
}

class MovieDecoderTest : public ::testing::Test {
protected:
    test::ScopedGameDir dir;
};

TEST_F(MovieDecoderTest, DecodesEveryFrameWithItsTimeAndColours) {
    dir.WriteFile("avi/Test.avi", Bytes(TestMovie(8, 6, 5, 4, 0)));
    for (MoviePixelFormat format : {MoviePixelFormat::Rgb565, MoviePixelFormat::Rgb555}) {
        SCOPED_TRACE(format == MoviePixelFormat::Rgb565 ? "565" : "555");
        MovieDecoder decoder;
        ASSERT_TRUE(decoder.Open("AVI\\test.avi", format)); // matched without regard to case
        EXPECT_EQ(decoder.Width(), 8);
        EXPECT_EQ(decoder.Height(), 6);
        EXPECT_DOUBLE_EQ(decoder.FrameRate(), 5.0);
        EXPECT_FALSE(decoder.HasAudio());
        for (int k = 0; k < 4; ++k) {
            ASSERT_TRUE(decoder.NextFrame()) << "frame " << k;
            EXPECT_EQ(decoder.FrameTimeMs(), k * 200);
            const std::vector<uint16_t>& pixels = decoder.Pixels();
            ASSERT_EQ(pixels.size(), 48u);
            const int r = k * 60;
            const int g = 255 - k * 60;
            const uint16_t expected =
                format == MoviePixelFormat::Rgb565 ? Rgb565(r, g, 128) : Rgb555(r, g, 128);
            const uint16_t white = format == MoviePixelFormat::Rgb565 ? 0xFFFF : 0x7FFF;
            EXPECT_EQ(pixels[0], white);
            EXPECT_EQ(pixels[1], expected);
            EXPECT_EQ(pixels[47], expected);
        }
        EXPECT_FALSE(decoder.NextFrame());
        EXPECT_FALSE(decoder.NextFrame());
    }
}

TEST_F(MovieDecoderTest, SoundComesAsStereoAt44100) {
    // 0.8 s of 22050 Hz mono sound with 4 frames at 5 fps.
    dir.WriteFile("avi/sound.avi", Bytes(TestMovie(8, 6, 5, 4, 0.8)));
    MovieDecoder decoder;
    ASSERT_TRUE(decoder.Open("avi\\sound.avi", MoviePixelFormat::Rgb565));
    EXPECT_TRUE(decoder.HasAudio());
    std::vector<int16_t> pcm;
    size_t frames = 0;
    while (decoder.NextFrame())
        frames += decoder.TakeAudio(pcm);
    frames += decoder.TakeAudio(pcm);
    EXPECT_EQ(decoder.TakeAudio(pcm), 0u);
    ASSERT_EQ(pcm.size(), frames * 2);
    EXPECT_NEAR(static_cast<double>(frames), 0.8 * 44100, 0.01 * 44100);
    int peak = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
        EXPECT_EQ(pcm[i], pcm[i + 1]) << "frame " << i / 2;
        peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
    }
    EXPECT_NEAR(peak, 8000, 400);
}

// Ten seconds of sound with one picture, none of it taken while the frames
// are decoded: only the limit of it waits.
TEST_F(MovieDecoderTest, SoundNotTakenIsKeptUpToTheLimit) {
    dir.WriteFile("ahead.avi", Bytes(TestMovie(8, 6, 5, 1, 10.0)));
    MovieDecoder decoder;
    ASSERT_TRUE(decoder.Open("ahead.avi", MoviePixelFormat::Rgb565));
    int frames = 0;
    while (decoder.NextFrame())
        ++frames;
    EXPECT_EQ(frames, 1);
    std::vector<int16_t> pcm;
    EXPECT_EQ(decoder.TakeAudio(pcm), platform::kMovieMaxPendingAudioFrames);
    EXPECT_EQ(pcm.size(), platform::kMovieMaxPendingAudioFrames * 2);
    EXPECT_NE(pcm.back(), 0); // the sound's own samples, not padding
}

// A sound track whose rate lies far outside the sane bounds (a billion Hz,
// 1 Hz) is refused with one line: the movie's pictures play, silent.
TEST_F(MovieDecoderTest, SoundOutsideTheSaneBoundsLeavesTheMovieSilent) {
    for (uint32_t rate : {1'000'000'000u, 1u}) {
        SCOPED_TRACE(rate);
        demo::AviMovie movie = TestMovie(8, 6, 5, 4, 0);
        movie.sampleRate = rate;
        movie.samples.assign(8192, 4000);
        dir.WriteFile("avi/loud.avi", Bytes(movie));
        testing::internal::CaptureStderr();
        MovieDecoder decoder;
        const bool opened = decoder.Open("avi\\loud.avi", MoviePixelFormat::Rgb565);
        int frames = 0;
        size_t sound = 0;
        std::vector<int16_t> pcm;
        while (opened && decoder.NextFrame() && frames < 10) {
            ++frames;
            sound += decoder.TakeAudio(pcm);
        }
        const std::string log = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(opened);
        EXPECT_FALSE(decoder.HasAudio());
        EXPECT_EQ(frames, 4);
        EXPECT_EQ(sound, 0u);
        // FFmpeg may say its own words about the file; ours is one line.
        size_t ours = 0;
        for (size_t at = log.find("movie: "); at != std::string::npos;
             at = log.find("movie: ", at + 1))
            ++ours;
        EXPECT_EQ(ours, 1u) << log;
        EXPECT_NE(log.find("avi\\loud.avi"), std::string::npos) << log;
        EXPECT_NE(log.find("silent"), std::string::npos) << log;
    }
}

TEST_F(MovieDecoderTest, ScalesToTheOutputSize) {
    dir.WriteFile("a.avi", Bytes(TestMovie(8, 6, 5, 2, 0)));
    MovieDecoder decoder;
    ASSERT_TRUE(decoder.Open("a.avi", MoviePixelFormat::Rgb565));
    EXPECT_FALSE(decoder.SetOutputSize(0, 12));
    EXPECT_FALSE(decoder.SetOutputSize(16, 9000));
    ASSERT_TRUE(decoder.SetOutputSize(32, 24));
    ASSERT_TRUE(decoder.NextFrame());
    EXPECT_EQ(decoder.OutputWidth(), 32);
    EXPECT_EQ(decoder.OutputHeight(), 24);
    ASSERT_EQ(decoder.Pixels().size(), 32u * 24u);
    EXPECT_EQ(decoder.Pixels().back(), Rgb565(0, 255, 128)); // far from the white corner
    EXPECT_EQ(decoder.Width(), 8);
}

TEST_F(MovieDecoderTest, RefusesWhatItCannotDecode) {
    const std::string good = Bytes(TestMovie(8, 6, 5, 4, 0.5));
    std::string garbage(4000, '\0');
    uint32_t state = 99;
    for (char& c : garbage) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    std::string badSize = good;
    badSize.replace(good.find("strf") + 12, 4, std::string("\x00\x00\x01\x00", 4)); // width 65536
    std::string soundOnly = good;
    soundOnly.replace(good.find("vids"), 4, "txts");
    // Each gives no frame; most are refused by Open already.
    const struct {
        const char* name;
        std::string bytes;
        bool refused;
    } cases[] = {
        {"empty", "", true},
        {"header cut short", good.substr(0, 100), true},
        {"headers only", good.substr(0, good.find("movi") + 4), false},
        {"garbage", garbage, true},
        {"RIFF head on garbage", good.substr(0, 12) + garbage, true},
        {"frame too wide", badSize, true},
        {"no video stream", soundOnly, true},
        // Files that would have FFmpeg open the movie beside them.
        {"concat list", "ffconcat version 1.0\nfile 'good.avi'\n", true},
        {"HLS playlist", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\ngood.avi\n#EXT-X-ENDLIST\n",
         true},
    };
    dir.WriteFile("good.avi", good);
    // FFmpeg's own lines stay off stderr; ours says, in one line, what failed.
    auto expectOneLineOfOurs = [](const std::string& log, const std::string& file) {
        EXPECT_EQ(log.rfind("movie: " + file + ": ", 0), 0u) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.WriteFile("bad.avi", c.bytes);
        testing::internal::CaptureStderr();
        MovieDecoder decoder;
        const bool opened = decoder.Open("bad.avi", MoviePixelFormat::Rgb565);
        EXPECT_EQ(opened, !c.refused);
        EXPECT_EQ(decoder.IsOpen(), opened);
        EXPECT_FALSE(decoder.NextFrame());
        expectOneLineOfOurs(testing::internal::GetCapturedStderr(), "bad.avi");
    }
    testing::internal::CaptureStderr();
    MovieDecoder decoder;
    EXPECT_FALSE(decoder.Open("avi\\missing.avi", MoviePixelFormat::Rgb565));
    EXPECT_FALSE(decoder.IsOpen());
    expectOneLineOfOurs(testing::internal::GetCapturedStderr(), "avi\\missing.avi");
}

// Sound decoded ahead of the pictures (as the player does to keep a lead of
// it) holds the pictures met on the way: every one still comes, in order and
// on time, and no sound is lost or doubled.
TEST_F(MovieDecoderTest, SoundDecodedAheadKeepsEveryPicture) {
    for (bool adpcm : {false, true}) {
        SCOPED_TRACE(adpcm ? "IMA ADPCM" : "PCM");
        demo::AviMovie movie = TestMovie(8, 6, 5, 4, 0.8);
        movie.imaAdpcm = adpcm;
        dir.WriteFile("ahead.avi", Bytes(movie));
        MovieDecoder decoder;
        ASSERT_TRUE(decoder.Open("ahead.avi", MoviePixelFormat::Rgb565));
        ASSERT_TRUE(decoder.HasAudio());
        std::vector<int16_t> pcm;
        ASSERT_TRUE(decoder.NextFrame());
        size_t sound = decoder.TakeAudio(pcm);
        int reads = 0;
        while (decoder.DecodeMoreAudio())
            ASSERT_LT(++reads, 1000);
        EXPECT_GT(reads, 0);
        sound += decoder.TakeAudio(pcm);
        // All of it is here before the second picture.
        EXPECT_GE(static_cast<double>(sound), 0.8 * 44100 - 50);
        for (int k = 1; k < 4; ++k) {
            ASSERT_TRUE(decoder.NextFrame()) << "frame " << k;
            EXPECT_EQ(decoder.FrameTimeMs(), k * 200);
            EXPECT_EQ(decoder.Pixels()[1], Rgb565(k * 60, 255 - k * 60, 128));
        }
        EXPECT_FALSE(decoder.NextFrame());
        sound += decoder.TakeAudio(pcm);
        // ADPCM's last block is padded with silence.
        EXPECT_NEAR(static_cast<double>(sound), 0.8 * 44100, adpcm ? 2041 * 2 + 50 : 50);
        EXPECT_FALSE(decoder.DecodeMoreAudio());
    }
}

TEST_F(MovieDecoderTest, CutMovieEndsAfterTheFramesItHolds) {
    const std::string good = Bytes(TestMovie(8, 6, 5, 4, 0.5));
    // Cut inside the third frame's chunk: two whole frames remain.
    size_t third = good.find("00db");
    for (int i = 0; i < 2; ++i)
        third = good.find("00db", third + 4);
    dir.WriteFile("cut.avi", good.substr(0, third + 20));
    MovieDecoder decoder;
    ASSERT_TRUE(decoder.Open("cut.avi", MoviePixelFormat::Rgb565));
    int frames = 0;
    while (decoder.NextFrame() && frames < 10)
        ++frames;
    EXPECT_GE(frames, 2);
    EXPECT_LE(frames, 3);
}

} // namespace
