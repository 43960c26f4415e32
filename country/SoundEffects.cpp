#include "country/SoundEffects.h"

#include "country/Country.h"
#include "engine/DirectSound.h"

void PlaySoundEffect(uint32_t effect) {
    if (g_sound)
        g_sound->Play(effect);
}

void PlayCountrySound(const CCountry& country, uint32_t effect) {
    if (country.IsLocalHuman())
        PlaySoundEffect(effect);
}

void PlayCountrySoundAmong(const std::vector<uint32_t>& countries, uint32_t effect) {
    for (uint32_t n : countries)
        if (const CCountry* country = CountryOfNumber(n); country && country->IsLocalHuman()) {
            PlaySoundEffect(effect);
            return;
        }
}
