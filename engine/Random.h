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

// The generator's state, for saving and checking.
uint32_t GameRandState();
