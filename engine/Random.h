#pragma once
// The game's own random numbers: the classic 15-bit linear congruential
// generator. Every machine of a network game draws the same sequence from the
// same seed; the C library's rand is never used.
#include <cstdint>

constexpr int OV_RAND_MAX = 0x7FFF;

// Seeds the generator (the state becomes the seed).
void GameSrand(uint32_t seed);

// Next number 0..32767: x = x * 214013 + 2531011, result (x >> 16) & 0x7FFF.
int GameRand();

// The same step on a sequence of the caller's own (for work whose draws
// must not touch the shared sequence, e.g. on another thread).
int NextRand15(uint32_t& state);

// The generator's state, for saving and checking.
uint32_t GameRandState();

// The band of a percentage roll 0..99 against a chance (in percent), with
// tenth = chance / 10: roll <= tenth gives 3, roll <= chance 2, roll <=
// tenth + 90 1, else 0.
int RollPercentBand(int roll, int chance);

// Rolls GameRand() % 100 and answers its band 0..3 against the chance.
int RollPercent(int chance);
