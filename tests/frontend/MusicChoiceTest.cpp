// The music choice as the game answers it: the front end's game-started
// flag, the local player's slot of the session and the countries.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "country/Country.h"
#include "engine/CDAudio.h"
#include "engine/GameTimer.h"
#include "frontend/FrontEnd.h"
#include "net/Session.h"
#include "tests/engine/CDAudioFixture.h"

namespace {

// The music choice ready to play, with the front end, the session with the
// local player's slot and the countries.
class MusicChoiceTest : public cdtest::MusicChoiceFixture {
protected:
    void SetUp() override {
        MusicChoiceFixture::SetUp();
        g_frontEnd = &frontEnd;
        g_netSession = &session;
        AddCountry(std::make_unique<CCountry>(kCountry));
        session.m_localSlot = 1;
        session.GetSlot(1).country = kCountry;
    }
    void TearDown() override {
        DeleteAllCountries();
        g_netSession = nullptr;
        g_frontEnd = nullptr;
        MusicChoiceFixture::TearDown();
    }

    void StartGame(int year, int32_t musicGroup = 0) {
        frontEnd.gameStarted = 1;
        g_gameTimer->currentDate = CDate(0, 0, year);
        g_countries[kCountry]->m_musicGroup = musicGroup;
    }

    static constexpr uint32_t kCountry = 7;
    CFrontEnd frontEnd;
    CNetSession session{nullptr};
};

TEST_F(MusicChoiceTest, OutsideAGameEveryChoiceIsTrackTwo) {
    *g_musicState = kMusicEraTrack;
    EXPECT_EQ(Next(3), (std::vector<uint16_t>{2, 2, 2}));
    EXPECT_EQ(*g_musicState, kMusicCountryTrack);
    g_frontEnd = nullptr;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{2}));
}

TEST_F(MusicChoiceTest, InAGameTheEraAndCountryTracksAlternate) {
    StartGame(1600);
    EXPECT_EQ(Next(4), (std::vector<uint16_t>{5, 2, 5, 2}));
    StartGame(1600, 10);
    EXPECT_EQ(Next(4), (std::vector<uint16_t>{5, 3, 5, 3}));
    // Back in the front end the choice starts again from the country track.
    frontEnd.gameStarted = 0;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{2}));
    frontEnd.gameStarted = 1;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{5}));
}

TEST_F(MusicChoiceTest, WithoutTheLocalPlayersCountryTheCountryTurnPlaysNothing) {
    StartGame(1600);
    *g_musicState = kMusicEraTrack;
    for (int32_t country : {-1, 3, 99, 1000}) { // none chosen, an empty slot, out of the table
        SCOPED_TRACE(country);
        session.GetSlot(1).country = country;
        ASSERT_TRUE(g_cdAudio->PlayTrack(4));
        *g_musicState = kMusicEraTrack;
        EXPECT_EQ(Next(1), (std::vector<uint16_t>{0})); // the playing track was stopped
    }
    session.GetSlot(1).country = kCountry;
    session.m_localSlot = -1;
    *g_musicState = kMusicEraTrack;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{0}));
    g_netSession = nullptr;
    *g_musicState = kMusicEraTrack;
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{0}));
    // The era turn still plays.
    EXPECT_EQ(Next(1), (std::vector<uint16_t>{5}));
}

} // namespace
