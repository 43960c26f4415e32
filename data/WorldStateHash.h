#pragma once
// The world-state hash: one number that stands for everything a saved game
// holds. The game is written as a saved game into memory through the
// saved-game writer (data/GameFile.h) and its registered block writers, and
// the bytes are hashed with 64-bit FNV-1a (offset basis 0xcbf29ce484222325,
// prime 0x100000001b3, one byte at a time, XOR then multiply). The writers
// walk the world in its own order (ids and numbers, never addresses), so two
// machines holding the same world answer the same hash, in any process, on
// any run.
//
// What a saved game leaves out (the screens, and in multiplayer games the
// interface and the travellers) is not part of the hash, nor is what only
// the host knows: the date of a moving unit's next step ("movetime"), which
// the host's unit server alone schedules.
#include <cstdint>
#include <string>
#include <string_view>

// The 64-bit FNV-1a hash of the bytes.
uint64_t Fnv1a64(std::string_view bytes);

// Writes the whole game as a saved game into text (replacing what it held),
// leaving out what only the host knows: FIELD_WRITTEN, or FIELD_ERROR when
// a writer failed (text is then cut short).
int32_t WriteGameToMemory(std::string& text);

// True while WriteGameToMemory runs: writers leave out host-only state.
bool WritingSharedStateOnly();

// The hash of the saved game WriteGameToMemory writes now.
uint64_t WorldStateHash();

// The short text form for reports and logs: 16 lower-case hexadecimal digits.
std::string WorldStateHashText(uint64_t hash);
