#pragma once
// The countries in scenarios and saved games: what a country in play adds
// to its nation's entry in the header. Country.cpp registers it with the
// header (data/ScenarioHeader.h).
#include <cstdint>

#include "data/ScenarioHeader.h"

// The running game's country of the number, as its nation's header entry
// shows it: its name with the player who holds it in a network session, its
// cities (colonies and towns counted again apart) and trading posts in the
// owned provinces that have an owner, and its treasury. Nothing without a
// country of the number.
void DescribeRunningCountry(uint32_t number, RunningCountry& out);
