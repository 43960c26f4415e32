#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/MessagePump.h"
#include "engine/MoviePlayer.h"
#include "engine/Palette.h"
#include "platform/Audio.h"
#include "platform/System.h"
#include "tests/TestSupport.h"
#include "tools/AviWriter.h"

namespace {

namespace audio = platform::audio;

// Frame k is filled with the colour of FrameColour(k); the sound is a soft
// tone of the given length.
demo::Rgb FrameColour(int32_t k) {
    return {static_cast<uint8_t>(k * 20), static_cast<uint8_t>(250 - k * 20), 128};
}

std::string TestMovie(int32_t width, int32_t height, uint32_t fps, int32_t frames,
                      double soundSeconds, bool imaAdpcm = false) {
    demo::AviMovie movie;
    movie.width = width;
    movie.height = height;
    movie.framesPerSecond = fps;
    for (int32_t k = 0; k < frames; ++k)
        movie.frames.emplace_back(static_cast<size_t>(width) * height, FrameColour(k));
    movie.sampleRate = 22050;
    for (int i = 0; i < static_cast<int>(soundSeconds * movie.sampleRate); ++i)
        movie.samples.push_back(static_cast<int16_t>(6000 * std::sin(i * 0.06)));
    movie.imaAdpcm = imaAdpcm;
    std::vector<uint8_t> bytes = demo::MakeAvi(movie);
    return std::string(bytes.begin(), bytes.end());
}

uint16_t PixelOf(demo::Rgb c) {
    return CGraphicsBase::RgbToPixel(c.r, c.g, c.b);
}

uint16_t ScreenAt(int32_t x, int32_t y) {
    return LoadPixel(g_screen->pixels + y * g_screen->pitch + x * 2);
}

bool Logged(const std::string& prefix) {
    std::vector<std::string> calls = audio::RecordedCalls();
    return std::any_of(calls.begin(), calls.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// The id of the first stream opened since the log was cleared; 0: none.
uint32_t OpenedStream() {
    for (const std::string& line : audio::RecordedCalls())
        if (line.rfind("OpenStream ", 0) == 0)
            return static_cast<uint32_t>(std::stoul(line.substr(11)));
    return 0;
}

// The movie player over the null display (640 x 480) and the recording
// sound output, in a game folder of its own.
class MoviePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartDisplay(false);
        ASSERT_TRUE(audio::OpenAudio(audio::Backend::Recording));
        g_moviePlayer = &player;
    }
    void TearDown() override {
        g_moviePlayer = nullptr;
        SetMessagePump(nullptr);
        player.Close();
        audio::CloseAudio();
        ShutdownGraphics();
        SetPixelFormat(kPixelFormat565);
        RebuildPalettePixels();
        g_appActive = 0;
        g_displayConfig = platform::DisplayConfigFromEnvironment();
    }
    void StartDisplay(bool force555) {
        ShutdownGraphics();
        g_displayConfig = {};
        g_displayConfig.backend = platform::DisplayBackend::Null;
        g_displayConfig.force555 = force555;
        g_appActive = 1;
        CGraphicsBase::InitDisplay(false);
        ASSERT_TRUE(g_directDrawReady);
        ASSERT_TRUE(SetDisplayMode(640, 480, 16, true));
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes; // "palette.act" is missing here
    CMoviePlayer player;
};

TEST_F(MoviePlayerTest, DemoIntroPlaysToItsEndInItsOwnLoop) {
    std::ifstream in(test::DemoWorldDir() / "avi" / "ovintro.avi", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 10000u);
    dir.WriteFile("avi/ovintro.avi", bytes);

    const uint32_t start = platform::Milliseconds();
    EXPECT_TRUE(player.PlayMovie("avi\\ovintro.avi", true));
    const uint32_t took = platform::Milliseconds() - start;
    EXPECT_FALSE(player.IsOpen());
    EXPECT_GE(took, 2900u); // 30 frames at 10 a second; the last one stays 0.1 s
    EXPECT_LT(took, 8000u);
    // The 160 x 120 movie filled the screen: the last frame is shown.
    const std::vector<uint16_t>& shown = g_directDraw->display->Shown();
    ASSERT_EQ(shown.size(), 640u * 480u);
    EXPECT_GT(std::count_if(shown.begin(), shown.end(), [](uint16_t p) { return p != 0; }),
              600 * 400);
    const uint32_t stream = OpenedStream();
    ASSERT_NE(stream, 0u);
    EXPECT_TRUE(Logged("OpenStream " + std::to_string(stream) + " 44100Hz 2ch"));
    EXPECT_TRUE(Logged("CloseStream " + std::to_string(stream)));
}

TEST_F(MoviePlayerTest, OwnLoopScalesTheMovieToFitTheScreenCentred) {
    dir.WriteFile("wide.avi", TestMovie(16, 6, 25, 3, 0));
    for (bool rgb555 : {false, true}) {
        SCOPED_TRACE(rgb555 ? "555" : "565");
        StartDisplay(rgb555);
        g_screen->Fill(0xFFFF);
        ASSERT_TRUE(player.PlayMovie("wide.avi", true));
        EXPECT_FALSE(player.IsOpen());
        // 16 x 6 becomes 640 x 240, rows 120 to 359; black above and below.
        EXPECT_EQ(player.destRect.top, 120);
        EXPECT_EQ(player.destRect.bottom, 360);
        EXPECT_EQ(player.sourceRect.right, 16);
        EXPECT_EQ(player.sourceRect.bottom, 6);
        EXPECT_EQ(ScreenAt(320, 119), 0);
        EXPECT_EQ(ScreenAt(320, 360), 0);
        EXPECT_EQ(ScreenAt(0, 120), PixelOf(FrameColour(2)));
        EXPECT_EQ(ScreenAt(320, 240), PixelOf(FrameColour(2)));
        EXPECT_EQ(ScreenAt(639, 359), PixelOf(FrameColour(2)));
    }
}

TEST_F(MoviePlayerTest, SteppedMovieShowsEachFrameOnTimeAndCloses) {
    // Without a sound device the movie plays on in silence.
    audio::OpenAudio(audio::Backend::Null);
    constexpr int32_t kFrames = 5;
    constexpr int32_t kFrameMs = 100;
    dir.WriteFile("avi/step.avi", TestMovie(8, 6, 10, kFrames, 0.5));

    const uint32_t start = platform::Milliseconds();
    ASSERT_TRUE(player.PlayMovie("avi\\step.avi", false));
    const uint32_t opened = platform::Milliseconds();
    ASSERT_TRUE(player.IsOpen()); // it returned at once
    EXPECT_EQ(player.soundStream, 0u);
    ASSERT_NE(player.frameImage, nullptr);
    EXPECT_EQ(player.frameImage->kind, kImageLockedSurface);
    EXPECT_EQ(player.frameImage->width, 8);
    EXPECT_EQ(player.frameImage->height, 6);
    EXPECT_EQ(player.destRect.left, 316);
    EXPECT_EQ(player.destRect.top, 237);
    EXPECT_EQ(player.destRect.right, 324);
    EXPECT_EQ(player.destRect.bottom, 243);

    // Frame k is first seen no sooner than k / fps after the start, within a
    // second after that time (loose: sanitizers and parallel tests slow the
    // loop), and no frame is passed over.
    std::vector<uint32_t> seenAt;
    int updates = 0;
    while (player.UpdateFrame()) {
        ASSERT_LT(++updates, 100000);
        const uint16_t pixel = [&] {
            player.frameImage->Lock();
            uint16_t p =
                LoadPixel(player.frameImage->pixels + 3 * player.frameImage->pitch + 4 * 2);
            player.frameImage->Unlock();
            return p;
        }();
        const size_t next = seenAt.size();
        if (next < kFrames && pixel == PixelOf(FrameColour(static_cast<int32_t>(next))))
            seenAt.push_back(platform::Milliseconds() - start);
        platform::SleepMilliseconds(1);
    }
    const uint32_t took = platform::Milliseconds() - start;
    ASSERT_EQ(seenAt.size(), static_cast<size_t>(kFrames));
    for (int32_t k = 0; k < kFrames; ++k) {
        EXPECT_GE(seenAt[k], static_cast<uint32_t>(k * kFrameMs)) << "frame " << k;
        EXPECT_LT(seenAt[k] - (opened - start), static_cast<uint32_t>(k * kFrameMs + 1000))
            << "frame " << k;
    }
    EXPECT_GE(took, static_cast<uint32_t>(kFrames * kFrameMs));
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.frameImage, nullptr);
    EXPECT_FALSE(player.UpdateFrame());
}

TEST_F(MoviePlayerTest, SoundStreamLivesWithTheMovie) {
    dir.WriteFile("sound.avi", TestMovie(8, 6, 10, 10, 1.0));
    dir.WriteFile("silent.avi", TestMovie(8, 6, 10, 10, 0));

    ASSERT_TRUE(player.PlayMovie("sound.avi", false));
    ASSERT_NE(player.soundStream, 0u);
    EXPECT_TRUE(Logged("OpenStream " + std::to_string(player.soundStream) + " 44100Hz 2ch"));
    EXPECT_GT(audio::StreamQueuedFrames(player.soundStream), 0u);
    std::vector<int16_t> mixed;
    audio::RenderRecording(2000, mixed);
    EXPECT_GT(*std::max_element(mixed.begin(), mixed.end()), 3000);

    // Another movie closes the first with its sound; one without sound opens
    // no stream.
    const uint32_t first = player.soundStream;
    audio::ClearRecordedCalls();
    ASSERT_TRUE(player.PlayMovie("silent.avi", false));
    EXPECT_TRUE(Logged("CloseStream " + std::to_string(first)));
    EXPECT_FALSE(Logged("OpenStream"));
    EXPECT_EQ(player.soundStream, 0u);

    ASSERT_TRUE(player.PlayMovie("sound.avi", false));
    const uint32_t second = player.soundStream;
    audio::ClearRecordedCalls();
    player.Close();
    EXPECT_TRUE(Logged("CloseStream " + std::to_string(second)));
    EXPECT_EQ(player.soundStream, 0u);
    EXPECT_FALSE(player.IsOpen());
}

// The sound device is played by the test: one device buffer each time a
// buffer's time has passed. Where the stream holds less than a buffer then,
// the sound breaks up. The ADPCM sound comes in blocks of 2041 samples
// (93 ms), each in the file by the picture of its start, so that the sound
// read up to the next picture often ends just after it.
TEST_F(MoviePlayerTest, SoundStaysAheadOfThePicturesWithoutGaps) {
    constexpr double kSeconds = 3.0;
    dir.WriteFile("adpcm.avi", TestMovie(16, 12, 15, 45, kSeconds, true));
    const uint32_t start = platform::Milliseconds();
    ASSERT_TRUE(player.PlayMovie("adpcm.avi", false));
    const uint32_t stream = player.soundStream;
    ASSERT_NE(stream, 0u);
    constexpr size_t kBuffer = audio::kDeviceBufferFrames;
    const size_t soundFrames = static_cast<size_t>(kSeconds * audio::kMixRate);
    size_t pulls = 0;
    int gaps = 0;
    std::vector<int16_t> mixed;
    while (player.UpdateFrame()) {
        const uint64_t elapsedMs = platform::Milliseconds() - start;
        if (elapsedMs * audio::kMixRate >= uint64_t{pulls} * kBuffer * 1000) {
            if ((pulls + 1) * kBuffer <= soundFrames && audio::StreamQueuedFrames(stream) < kBuffer)
                ++gaps;
            audio::RenderRecording(kBuffer, mixed);
            ++pulls;
        }
        platform::SleepMilliseconds(1);
    }
    EXPECT_EQ(gaps, 0);
    EXPECT_GT(pulls, soundFrames / kBuffer / 3); // the device ran (loosely: a loaded machine lags)
}

TEST_F(MoviePlayerTest, MoviesThatCannotPlayAnswerFalseAndStartNothing) {
    const std::string good = TestMovie(8, 6, 10, 4, 0.4);
    std::string garbage(3000, '\0');
    uint32_t state = 7;
    for (char& c : garbage) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    dir.WriteFile("avi/truncated.avi", good.substr(0, 150));
    dir.WriteFile("avi/corrupt.avi", good.substr(0, 12) + garbage);
    dir.WriteFile("avi/noframes.avi", good.substr(0, good.find("movi") + 4));
    for (const char* file :
         {"avi\\missing.avi", "avi\\truncated.avi", "avi\\corrupt.avi", "avi\\noframes.avi"})
        for (bool ownLoop : {true, false}) {
            SCOPED_TRACE(std::string(file) + (ownLoop ? " own loop" : " stepped"));
            g_screen->Fill(0x1234);
            audio::ClearRecordedCalls();
            EXPECT_FALSE(player.PlayMovie(file, ownLoop));
            EXPECT_FALSE(player.IsOpen());
            EXPECT_EQ(player.frameImage, nullptr);
            EXPECT_FALSE(player.UpdateFrame());
            EXPECT_FALSE(Logged("OpenStream"));
            EXPECT_EQ(ScreenAt(320, 240), 0x1234);
        }

    // A movie cut short plays the frames it holds and ends.
    size_t cut = good.find("00db");
    cut = good.find("00db", cut + 4);
    dir.WriteFile("avi/cut.avi", good.substr(0, cut + 30));
    EXPECT_TRUE(player.PlayMovie("avi\\cut.avi", true));
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(ScreenAt(320, 240), PixelOf(FrameColour(0)));
}

// A message pump of a test: once the screen shows the frame the "user" waits
// for, Escape reaches the "window procedure", which closes the movie.
uint16_t g_escapeOnPixel = 0;
int g_pumped = 0;
int PumpEscape() {
    ++g_pumped;
    if (!g_moviePlayer || !g_moviePlayer->IsOpen() || ScreenAt(320, 240) != g_escapeOnPixel)
        return 0;
    g_moviePlayer->Close();
    return 1;
}

TEST_F(MoviePlayerTest, CloseFromTheWindowProcedureEndsTheOwnLoop) {
    dir.WriteFile("long.avi", TestMovie(8, 6, 10, 30, 3.0));
    g_pumped = 0;
    g_escapeOnPixel = PixelOf(FrameColour(3));
    SetMessagePump(&PumpEscape);
    const uint32_t start = platform::Milliseconds();
    EXPECT_TRUE(player.PlayMovie("long.avi", true));
    const uint32_t took = platform::Milliseconds() - start;
    EXPECT_FALSE(player.IsOpen());
    EXPECT_GE(took, 300u);
    EXPECT_LT(took, 2900u); // the whole movie runs 3 s
    EXPECT_GT(g_pumped, 4);
    // No frame was drawn after the close; the sound stopped with the movie.
    EXPECT_EQ(ScreenAt(320, 240), g_escapeOnPixel);
    const uint32_t stream = OpenedStream();
    ASSERT_NE(stream, 0u);
    EXPECT_TRUE(Logged("CloseStream " + std::to_string(stream)));
    EXPECT_EQ(audio::StreamQueuedFrames(stream), 0u);
}

} // namespace
