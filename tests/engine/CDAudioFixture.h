#pragma once
// Fixtures of the music tests: the game folder with the recording mixer and
// the music player, and the music choice ready to play.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/CDAudio.h"
#include "engine/GameTimer.h"
#include "platform/Audio.h"
#include "platform/EventPump.h"
#include "tests/TestSupport.h"
#include "tests/platform/MusicTestSupport.h"

namespace cdtest {

// The game folder with the recording mixer; the music player, once made, is
// g_cdAudio.
class CDAudioFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::audio::OpenAudio(platform::audio::Backend::Recording));
        platform::ClearWindowMessages();
    }
    void TearDown() override {
        delete g_cdAudio;
        g_cdAudio = nullptr;
        DeleteMusicState();
        platform::audio::CloseAudio();
        platform::ClearWindowMessages();
    }

    // Tracks first..last, each of the frames at the mixer's rate; track n
    // plays at the level n x 1000.
    void WriteTracks(uint32_t first, uint32_t last, uint32_t frames = 441) {
        for (uint32_t n = first; n <= last; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, "music/track%02u.wav", n);
            dir.WriteFile(name, test::LevelWav(frames, static_cast<int16_t>(n * 1000)));
        }
    }

    CCDAudio& Make() {
        g_cdAudio = new CCDAudio;
        return *g_cdAudio;
    }

    test::ScopedGameDir dir;
};

// The music choice ready to play: tracks 1 to 6, the player, the music
// state and a game clock.
class MusicChoiceFixture : public CDAudioFixture {
protected:
    void SetUp() override {
        CDAudioFixture::SetUp();
        WriteTracks(1, 6);
        Make();
        CreateMusicState();
        g_gameTimer = std::make_unique<CGameTimer>(15);
    }
    void TearDown() override {
        g_gameTimer.reset();
        CDAudioFixture::TearDown();
    }

    // The tracks of the next count choices (0 when none played).
    static std::vector<uint16_t> Next(int count) {
        std::vector<uint16_t> played;
        for (int i = 0; i < count; ++i) {
            PlayNextMusicTrack(g_musicState.get());
            played.push_back(g_cdAudio->currentTrack);
        }
        return played;
    }
};

} // namespace cdtest
