#include "engine/Random.h"

namespace {
uint32_t g_randState = 1;
}

void GameSrand(uint32_t seed) {
    g_randState = seed;
}

int NextRand15(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

int GameRand() {
    return NextRand15(g_randState);
}

uint32_t GameRandState() {
    return g_randState;
}

int RollPercentBand(int roll, int chance) {
    int tenth = chance / 10;
    if (roll <= tenth)
        return 3;
    if (roll <= chance)
        return 2;
    if (roll <= tenth + 90)
        return 1;
    return 0;
}

int RollPercent(int chance) {
    return RollPercentBand(GameRand() % 100, chance);
}
