#pragma once
// The pattern player: steps the sound patterns placed on the map, on the
// timer thread at every call of the game clock's timer, under the named
// mutex "PatternPlayer Mutex" (the main thread adds and removes patterns).
#include <mutex>

class PatternPlayer {
public:
    PatternPlayer();
    PatternPlayer(const PatternPlayer&) = delete;
    PatternPlayer& operator=(const PatternPlayer&) = delete;

    // One step of every pattern (timer thread).
    void Tick();

private:
    std::mutex& m_mutex;
};

// The one pattern player, built before main and destroyed at exit.
extern PatternPlayer g_patternPlayer;
