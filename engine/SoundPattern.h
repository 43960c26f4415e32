#pragma once
// Sound patterns: small scripts of sound steps with waits and jumps that the
// running combats place on the map. The pattern player steps every pattern
// on the timer thread at each call of the game clock's timer, under the
// named mutex "PatternPlayer Mutex" (the main thread adds and removes
// patterns meanwhile). A step's sound is heard only near the view centre,
// which the main thread publishes for the timer thread.
//
// Ownership: the combat that makes a pattern owns it. The player never
// deletes one: a pattern that reaches its end step is taken off the list and
// marked finished, and its owner deletes it (after Remove, which is a no-op
// for a finished pattern).
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

#include "engine/LinkedList.h"

// Step types; any other type is a sound step.
constexpr uint32_t kPatternEnd = 1;
constexpr uint32_t kPatternJump = 2;
constexpr uint32_t kPatternWait = 3;

// One record of a step table (owned by the combat code).
struct PatternStep {
    uint32_t type;
    uint8_t argument;    // jump: the step to go on with; wait, sound: intervals to wait
    uint32_t sounds[3];  // sound: alternative sound ids
    uint8_t volume;      // volume of a pattern without a position
    uint8_t pan;         // pan of a pattern without a position (not used)
    int8_t alternatives; // sound: number of alternatives (0 = the first)
};

// x and y of a pattern without a position.
constexpr uint32_t kNoPosition = 0xFFFFFFFFu;

// The horizontal distance from the view centre to a pattern as the map
// measures it: the map wraps round its width, so the short way round
// counts. The map fills it once, by a static registration; while it is null
// the plain difference counts.
using MapDistanceX = int32_t (*)(int64_t dx);
extern MapDistanceX g_patternMapDx;

class CSoundPattern {
public:
    CSoundPattern(std::span<const PatternStep> steps, uint32_t ticksPerInterval, uint32_t x,
                  uint32_t y);

    // Back to step 0 (under the player's mutex, so that it is safe while the
    // pattern is on the player's list); clears the finished mark.
    void Restart();
    // One timer tick; false when the pattern has reached its end step (or
    // its steps loop without waiting, or run off the table).
    bool Advance(int32_t centreX, int32_t centreY);
    // The volume (0..192 for a positioned pattern) in the low 16 bits.
    uint32_t VolumeAndPan(int32_t centreX, int32_t centreY) const;

    // Set by the player when it took the ended pattern off its list.
    bool IsFinished() const { return m_finished.load(); }
    uint32_t LastSound() const { return m_lastSound; }
    uint32_t CurrentStep() const { return m_step; }

private:
    friend class PatternPlayer;

    std::span<const PatternStep> m_steps;
    uint32_t m_step = 0;
    uint32_t m_intervalsLeft = 1;
    uint32_t m_lastSound = 0;
    uint32_t m_ticksLeft = 1;
    uint32_t m_ticksPerInterval;
    uint32_t m_x;
    uint32_t m_y;
    std::atomic<bool> m_finished{false};
};

class PatternPlayer {
public:
    PatternPlayer();
    PatternPlayer(const PatternPlayer&) = delete;
    PatternPlayer& operator=(const PatternPlayer&) = delete;

    // Main thread. Add appends the pattern unless it is on the list already;
    // Remove takes it off (the caller owns it again and may delete it).
    void Add(CSoundPattern* pattern);
    void Remove(CSoundPattern* pattern);
    // One step of every pattern (timer thread).
    void Tick();

    // The map view's centre in map pixels, published by the main thread
    // whenever the view moves; Tick reads it.
    void PublishViewCentre(int32_t x, int32_t y);

    uint32_t Count();

private:
    std::mutex& m_mutex;
    CLinkedList<CSoundPattern> m_patterns;
    std::atomic<uint64_t> m_viewCentre{0}; // x in the low, y in the high 32 bits
};

// The one pattern player, built before main and destroyed at exit.
extern PatternPlayer g_patternPlayer;
