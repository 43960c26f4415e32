#include "engine/SoundPattern.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "tests/TestSupport.h"
#include "tests/engine/DirectSoundSupport.h"

using namespace soundtest;

namespace {

PatternStep Sound(uint8_t count, uint32_t id, int8_t alternatives = 0, uint32_t id2 = 0,
                  uint32_t id3 = 0) {
    return PatternStep{7, count, {id, id2, id3}, 0, 0, alternatives};
}
PatternStep Wait(uint8_t count) {
    return PatternStep{kPatternWait, count, {}, 0, 0, 0};
}
PatternStep Jump(uint8_t to) {
    return PatternStep{kPatternJump, to, {}, 0, 0, 0};
}
PatternStep End() {
    return PatternStep{kPatternEnd, 0, {}, 0, 0, 0};
}

// A player of the test's own with sound effects that count the plays.
class SoundPatternTest : public ::testing::Test {
protected:
    SoundPatternTest() { g_sound = &sound; }
    ~SoundPatternTest() override { g_sound = nullptr; }

    // Ticks n times; answers the number of patterns left on the list.
    uint32_t Tick(int n) {
        for (int i = 0; i < n; ++i)
            player.Tick();
        return player.Count();
    }

    RecordingOutput output;
    CountingSound sound;
    PatternPlayer player;
};

} // namespace

TEST_F(SoundPatternTest, SoundOnTheFirstTickFinishedOnTheSeventh) {
    const PatternStep steps[] = {Sound(2, 42), End()};
    auto pattern = std::make_unique<CSoundPattern>(steps, 3, 1000, 1000);
    player.PublishViewCentre(1000, 1000);
    player.Add(pattern.get());
    EXPECT_EQ(Tick(1), 1u);
    EXPECT_EQ(sound.Plays(), std::vector<uint32_t>{42});
    EXPECT_EQ(Tick(5), 1u);
    EXPECT_FALSE(pattern->IsFinished());
    EXPECT_EQ(sound.Plays().size(), 1u);
    EXPECT_EQ(Tick(1), 0u);
    EXPECT_TRUE(pattern->IsFinished());
    // The owner still holds it: removing a finished pattern is harmless.
    player.Remove(pattern.get());
    pattern->Restart();
    EXPECT_FALSE(pattern->IsFinished());
    player.Add(pattern.get());
    Tick(1);
    EXPECT_EQ(sound.Plays(), (std::vector<uint32_t>{42, 42}));
}

TEST_F(SoundPatternTest, SoundsAreHeardOnlyNearTheViewCentre) {
    const PatternStep steps[] = {Sound(1, 5), Jump(0)};
    CSoundPattern pattern(steps, 1, 4000, 3000);
    player.Add(&pattern);
    player.PublishViewCentre(6000, 3000); // 2000 pixels away
    EXPECT_EQ(Tick(4), 1u);
    EXPECT_TRUE(sound.Plays().empty());
    EXPECT_EQ(pattern.LastSound(), 5u);   // stepped silently
    player.PublishViewCentre(4900, 4200); // 1500 pixels away
    Tick(3);
    EXPECT_EQ(sound.Plays().size(), 3u);
    player.Remove(&pattern);
}

TEST(SoundPatternVolume, FallsWithTheDistance) {
    const MapDistanceX savedMapDx = g_patternMapDx;
    g_patternMapDx = nullptr;
    const PatternStep steps[] = {PatternStep{7, 1, {1}, 77, 0, 0}, End()};
    CSoundPattern placed(steps, 1, 5000, 2000);
    struct Case {
        int32_t x, y;
        uint32_t volume;
    } cases[] = {
        {5000, 2000, 192}, {5000, 2008, 191}, {6500, 2000, 5}, {5000, 500, 5},
        {6535, 2000, 1},   {6536, 2000, 0},   {7000, 2000, 0}, {-2000000000, 2000000000, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placed.VolumeAndPan(c.x, c.y) & 0xFFFF, c.volume) << c.x << "," << c.y;
    CSoundPattern unplaced(steps, 1, kNoPosition, kNoPosition);
    EXPECT_EQ(unplaced.VolumeAndPan(9999, 9999) & 0xFFFF, 77u);
    // Without the map the plain difference counts: 18800 pixels. The map
    // measures the horizontal distance from the plain difference (the short
    // way round: tests/world/SoundPatternMapTest).
    CSoundPattern atTheEdge(steps, 1, 18900, 2000);
    EXPECT_EQ(atTheEdge.VolumeAndPan(100, 2000) & 0xFFFF, 0u);
    static int64_t asked = 0;
    g_patternMapDx = [](int64_t dx) {
        asked = dx;
        return int32_t{144};
    };
    EXPECT_EQ(atTheEdge.VolumeAndPan(100, 2000) & 0xFFFF, 174u);
    EXPECT_EQ(asked, -18800);
    g_patternMapDx = savedMapDx;
}

TEST_F(SoundPatternTest, WaitsJumpsAndAlternatives) {
    // Without a position the volume is the byte of the step current when
    // the interval ends.
    PatternStep steps[] = {Wait(2), Sound(1, 11, 3, 12, 13), Jump(1)};
    for (PatternStep& step : steps)
        step.volume = 100;
    CSoundPattern audible(steps, 1, kNoPosition, kNoPosition);
    player.Add(&audible);
    EXPECT_EQ(Tick(2), 1u);
    EXPECT_TRUE(sound.Plays().empty()); // waiting two intervals
    Tick(4);
    std::vector<uint32_t> plays = sound.Plays();
    ASSERT_EQ(plays.size(), 4u);
    for (uint32_t id : plays)
        EXPECT_TRUE(id >= 11 && id <= 13) << id;
    player.Remove(&audible);
}

TEST(SoundPatternSteps, TablesThatNeverWaitEndThePattern) {
    const PatternStep selfJump[] = {Jump(0)};
    const PatternStep silentLoop[] = {Sound(0, 1), Wait(0), Jump(0)};
    const PatternStep offTheTable[] = {Jump(9)};
    const PatternStep runsOff[] = {Wait(1)};
    for (std::span<const PatternStep> steps :
         {std::span<const PatternStep>(selfJump), std::span<const PatternStep>(silentLoop),
          std::span<const PatternStep>(offTheTable)}) {
        CSoundPattern pattern(steps, 1, kNoPosition, kNoPosition);
        EXPECT_FALSE(pattern.Advance(0, 0));
    }
    CSoundPattern pattern(runsOff, 1, kNoPosition, kNoPosition);
    EXPECT_TRUE(pattern.Advance(0, 0));
    EXPECT_FALSE(pattern.Advance(0, 0));
}

TEST_F(SoundPatternTest, AddingTwiceKeepsOne) {
    const PatternStep steps[] = {Wait(100)};
    CSoundPattern a(steps, 1, 0, 0);
    CSoundPattern b(steps, 1, 0, 0);
    player.Add(&a);
    player.Add(&a);
    player.Add(&b);
    EXPECT_EQ(player.Count(), 2u);
    player.Remove(&a);
    player.Remove(&a);
    EXPECT_EQ(player.Count(), 1u);
    player.Remove(&b);
    EXPECT_EQ(player.Count(), 0u);
    EXPECT_EQ(Tick(1), 0u);
}

// The timer thread ticks while the main thread adds, restarts, removes and
// deletes patterns, some of which end by themselves; the sounds go through
// real sound effects to the mixer, which a third thread renders.
TEST(SoundPatternThreads, TickWhileTheMainThreadAddsAndDeletes) {
    test::ScopedGameDir dir;
    RecordingOutput output;
    dir.WriteFile("sfx/wave/land_cannon1.wav", MonoWav(200));
    CDirectSound sound;
    ASSERT_TRUE(sound.LoadSound(20, "sfx\\wave\\land_cannon1.wav", 1));
    g_sound = &sound;
    PatternPlayer player;
    player.PublishViewCentre(100, 100);

    const PatternStep endless[] = {Sound(1, 20), Wait(1), Jump(0)};
    const PatternStep brief[] = {Sound(1, 20, 2, 20), End()};
    std::atomic<bool> done{false};
    std::thread timer([&] {
        while (!done)
            player.Tick();
    });
    std::thread mixer([&] {
        std::vector<int16_t> out;
        while (!done)
            platform::audio::RenderRecording(64, out);
    });

    std::vector<std::unique_ptr<CSoundPattern>> live;
    for (int i = 0; i < 3000; ++i) {
        auto pattern = std::make_unique<CSoundPattern>(i % 3 ? std::span<const PatternStep>(endless)
                                                             : std::span<const PatternStep>(brief),
                                                       1, 100 + i % 50, 100);
        player.Add(pattern.get());
        live.push_back(std::move(pattern));
        if (i % 7 == 0)
            live[live.size() / 2]->Restart();
        if (live.size() > 20) {
            // The owner's end of a combat: take it off the list, then delete.
            size_t k = static_cast<size_t>(i) % live.size();
            player.Remove(live[k].get());
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(k));
        }
        if (i % 5 == 0)
            player.PublishViewCentre(i % 2000, 100);
    }
    for (auto& pattern : live)
        player.Remove(pattern.get());
    done = true;
    timer.join();
    mixer.join();
    EXPECT_EQ(player.Count(), 0u);
    live.clear();
    g_sound = nullptr;
}
