#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/CDAudio.h"
#include "engine/GameTimer.h"
#include "platform/Audio.h"
#include "platform/EventPump.h"
#include "tests/TestSupport.h"
#include "tests/engine/CDAudioFixture.h"
#include "tests/platform/MusicTestSupport.h"

namespace {

namespace audio = platform::audio;

class CDAudioTest : public cdtest::CDAudioFixture {};

TEST_F(CDAudioTest, TrackLengthsInMinutesSecondsAndFrames) {
    // 61.5 s at 8000 Hz, 8-bit mono, keeps the file small.
    dir.WriteFile("music/track03.wav",
                  demo::MakeWav(8000, 1, 8, std::vector<int16_t>(8000 * 61 + 4000, 2560)));
    WriteTracks(1, 1);
    CCDAudio& cd = Make();
    EXPECT_NE(GetCDAudioDeviceId(), 0u);
    EXPECT_EQ(cd.trackCount, 3);
    EXPECT_EQ(cd.tracks[3].length, 61);
    EXPECT_EQ(cd.tracks[3].minutes, 1);
    EXPECT_EQ(cd.tracks[3].seconds, 1);
    EXPECT_EQ(cd.tracks[3].frames, 37);
    EXPECT_EQ(cd.tracks[1].length, 0);
    EXPECT_EQ(cd.tracks[1].frames, 0); // 441 frames: 0.01 s, under a frame of 1/75 s
    EXPECT_EQ(cd.tracks[2].length + cd.tracks[2].frames, 0); // missing
    EXPECT_EQ(cd.ReadTracks(), 3);
}

// Past 65535 s the whole seconds stop there; the frames still come from
// the part of a second the track runs on.
// (A track that long at a sound rate the decoders accept would be a file of
// hundreds of megabytes: the entry is checked from the length.)
TEST(CDTrackLengthTest, ATrackLongerThanTheSecondsHoldKeepsItsFrames) {
    const CDTrackLength entry = MakeTrackLength(70000.5);
    EXPECT_EQ(entry.length, 65535);
    EXPECT_EQ(entry.minutes, 1092);
    EXPECT_EQ(entry.seconds, 15);
    EXPECT_EQ(entry.frames, 37);
}

TEST_F(CDAudioTest, WithoutMusicEveryCommandFailsQuietly) {
    dir.WriteFile("music/readme.txt", "no tracks here");
    CCDAudio& cd = Make();
    EXPECT_EQ(GetCDAudioDeviceId(), 0u);
    EXPECT_EQ(cd.trackCount, 0);
    EXPECT_EQ(cd.ReadTracks(), 0);
    EXPECT_FALSE(cd.PlayTrack(2));
    cd.TogglePause();
    EXPECT_EQ(cd.paused, 0);
    cd.Stop();
    EXPECT_EQ(cd.currentTrack, 0);
    EXPECT_TRUE(audio::RecordedCalls().empty());
}

TEST_F(CDAudioTest, PlayTrackRefusesTracksOutsideTheDisc) {
    WriteTracks(1, 1);
    CCDAudio& cd = Make();
    ASSERT_EQ(cd.trackCount, 1);
    EXPECT_FALSE(cd.PlayTrack(2));
    EXPECT_FALSE(cd.PlayTrack(0));
    EXPECT_EQ(cd.currentTrack, 0);
    EXPECT_TRUE(cd.PlayTrack(1));
    EXPECT_EQ(cd.currentTrack, 1);
    cd.Stop();
    EXPECT_EQ(cd.currentTrack, 0);
}

TEST_F(CDAudioTest, TogglePausePausesAndResumes) {
    WriteTracks(2, 2, 22050);
    CCDAudio& cd = Make();
    cd.TogglePause(); // nothing plays: nothing to pause
    EXPECT_EQ(cd.paused, 0);
    ASSERT_TRUE(cd.PlayTrack(2));
    test::MusicRun run;
    ASSERT_TRUE(run.RenderUntilSound(4410));
    cd.TogglePause();
    EXPECT_EQ(cd.paused, 1);
    const size_t before = run.positiveFrames;
    run.Render(4410);
    EXPECT_EQ(run.positiveFrames, before);
    cd.TogglePause();
    EXPECT_EQ(cd.paused, 0);
    EXPECT_EQ(cd.pauseTime, 0u);
    ASSERT_TRUE(run.RenderUntilNotice());
    EXPECT_EQ(run.positiveFrames, 22050u);
    // A track that has ended cannot pause; a new play clears a pause.
    cd.TogglePause();
    EXPECT_EQ(cd.paused, 0);
    ASSERT_TRUE(cd.PlayTrack(2));
    cd.TogglePause();
    ASSERT_EQ(cd.paused, 1);
    ASSERT_TRUE(cd.PlayTrack(2));
    EXPECT_EQ(cd.paused, 0);
    EXPECT_EQ(cd.pauseTime, 0u);
}

// The demo world's music: tracks 2 to 6, a few seconds each.
TEST(CDAudioDemoWorldTest, TheDemoWorldHasTracksTwoToSix) {
    ASSERT_TRUE(audio::OpenAudio(audio::Backend::Recording));
    {
        test::InFolder inDemo(test::DemoWorldDir());
        CCDAudio cd;
        ASSERT_EQ(cd.trackCount, 6);
        EXPECT_EQ(cd.tracks[1].length + cd.tracks[1].frames, 0);
        for (uint32_t track = 2; track <= 6; ++track) {
            SCOPED_TRACE(track);
            EXPECT_GE(cd.tracks[track].length, 2);
            EXPECT_LE(cd.tracks[track].length, 10);
            EXPECT_TRUE(cd.PlayTrack(track));
        }
    }
    audio::CloseAudio();
}

// What PlayNextMusicTrack asks of the game, as the test answers it: the
// front end's game-started flag and the music group of the local player's
// country (none when negative); the clock is the engine's own.
bool g_inGame = false;
int32_t g_localMusicGroup = -1;

// The choice with the test's answers in the hooks.
class MusicChoiceTest : public cdtest::MusicChoiceFixture {
protected:
    void SetUp() override {
        MusicChoiceFixture::SetUp();
        g_inGame = false;
        g_localMusicGroup = 0;
        g_musicChoice.isGameStarted = [] { return g_inGame; };
        g_musicChoice.localCountryMusicGroup = [](int32_t& group) {
            group = g_localMusicGroup;
            return g_localMusicGroup >= 0;
        };
    }
    void TearDown() override {
        g_musicChoice = m_savedHooks;
        MusicChoiceFixture::TearDown();
    }

    void StartGame(int year, int32_t musicGroup = 0) {
        g_inGame = true;
        g_gameTimer->currentDate = CDate(0, 0, year);
        g_localMusicGroup = musicGroup;
    }

private:
    MusicChoiceHooks m_savedHooks = g_musicChoice;
};

TEST_F(MusicChoiceTest, OutsideAGameEveryChoiceIsTrackTwo) {
    *g_musicState = kMusicEraTrack;
    EXPECT_EQ(Next(3), (std::vector<uint16_t>{2, 2, 2}));
    EXPECT_EQ(*g_musicState, kMusicCountryTrack);
    // Without the front end's answer no game runs either.
    g_inGame = true;
    g_musicChoice.isGameStarted = nullptr;
    *g_musicState = kMusicEraTrack;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{2}));
    EXPECT_EQ(*g_musicState, kMusicCountryTrack);
}

TEST_F(MusicChoiceTest, InAGameTheEraAndCountryTracksAlternate) {
    StartGame(1600);
    EXPECT_EQ(Next(4), (std::vector<uint16_t>{5, 2, 5, 2}));
    StartGame(1600, 10);
    EXPECT_EQ(Next(4), (std::vector<uint16_t>{5, 3, 5, 3}));
    // The year turns: the next era track is 6.
    StartGame(1675, 10);
    EXPECT_EQ(Next(2), (std::vector<uint16_t>{6, 3}));
    // Back in the front end the choice starts again from the country track.
    g_inGame = false;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{2}));
    g_inGame = true;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{6}));
}

TEST_F(MusicChoiceTest, TheEraTrackFollowsTheYear) {
    const struct {
        int year;
        uint16_t track;
    } cases[] = {{1419, 4}, {1574, 4}, {1575, 5}, {1674, 5},
                 {1675, 6}, {1792, 6}, {1793, 2}, {1820, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        StartGame(c.year);
        *g_musicState = kMusicCountryTrack;
        EXPECT_EQ(Next(1), (std::vector<uint16_t>{c.track}));
    }
}

TEST_F(MusicChoiceTest, WithoutTheLocalPlayersCountryTheCountryTurnPlaysNothing) {
    StartGame(1600, -1); // the game answers no country
    ASSERT_TRUE(g_cdAudio->PlayTrack(4));
    *g_musicState = kMusicEraTrack;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{0})); // the playing track was stopped
    // Without the country's answer the same.
    g_localMusicGroup = 10;
    g_musicChoice.localCountryMusicGroup = nullptr;
    ASSERT_TRUE(g_cdAudio->PlayTrack(4));
    *g_musicState = kMusicEraTrack;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{0}));
    // The era turn still plays.
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{5}));
}

TEST_F(MusicChoiceTest, NothingHappensWithoutAStateOrAPlayer) {
    ASSERT_TRUE(g_cdAudio->PlayTrack(4));
    PlayNextMusicTrack(nullptr);
    EXPECT_EQ(g_cdAudio->currentTrack, 4);
    delete g_cdAudio;
    g_cdAudio = nullptr;
    EXPECT_EQ(GetCDAudioDeviceId(), 0u);
    PlayNextMusicTrack(g_musicState.get());
    EXPECT_EQ(*g_musicState, kMusicCountryTrack);
}

// As the window procedure does: each end notice of the device chooses the
// next track, which plays to its end in turn.
TEST_F(MusicChoiceTest, EndNoticesDriveTheChoice) {
    StartGame(1600);
    ASSERT_TRUE(g_cdAudio->PlayTrack(2));
    test::MusicRun run;
    std::vector<uint16_t> played;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(run.RenderUntilNotice());
        const platform::WindowMessage& notice = run.notices.back();
        ASSERT_EQ(notice.code, 1u);
        ASSERT_EQ(notice.data, GetCDAudioDeviceId());
        PlayNextMusicTrack(g_musicState.get());
        played.push_back(g_cdAudio->currentTrack);
    }
    EXPECT_EQ(played, (std::vector<uint16_t>{5, 2, 5}));
    EXPECT_EQ(run.notices.size(), 3u);
}

} // namespace
