#pragma once
// The interface sound effects of the country's handlers, played for the
// human at this machine through the sound effects (g_sound). A game
// without sound (a server, a test without a player) plays nothing.
#include <cstdint>
#include <vector>

class CCountry;

enum ECountrySound : uint32_t {
    SOUND_LAND_BATTLE_WON = 16,
    SOUND_LAND_BATTLE_LOST = 17,
    SOUND_NAVAL_BATTLE_WON = 18,
    SOUND_NAVAL_BATTLE_LOST = 19,
    SOUND_REFUSAL = 50,
    SOUND_AGREEMENT = 51,
    SOUND_ALLIANCE_BROKEN = 52,
    SOUND_WAR_DECLARED = 54,
    SOUND_PEACE = 55,
    SOUND_IMPROVEMENT_BUILT = 60,
};

// Plays the effect when the country is played at this machine
// (CCountry::IsLocalHuman) and there are sound effects.
void PlayCountrySound(const CCountry& country, uint32_t effect);
// Plays the effect once when one of the countries of the numbers is played
// at this machine.
void PlayCountrySoundAmong(const std::vector<uint32_t>& countries, uint32_t effect);
// Plays the effect when there are sound effects.
void PlaySoundEffect(uint32_t effect);
