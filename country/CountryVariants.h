#pragma once
// The country variants that the layers above make. CCountry::Create makes
// the country of a number by its controller kind (g_countryController):
//
//   0  the computer-controlled country on the host, a plain CCountry on
//      other machines
//   1  the human at this machine: the tutorial screen while the running
//      scenario is the tutorial, else the main game screen
//   4, 5, 6  CCountryType4, CCountryType5, CCountryType6
//   2, 3, 7 and above  a plain CCountry
//
// The computer player (ai/) fills computer and type4..type6, the main game
// screen (ui/) mainScreen and the tutorial (dialogs/) tutorialScreen, each
// once by a static registration. A null entry makes a plain CCountry.
#include <cstdint>
#include <memory>
#include <string>

class CCountry;

struct CountryVariantHooks {
    std::unique_ptr<CCountry> (*computer)(uint32_t number) = nullptr;
    std::unique_ptr<CCountry> (*mainScreen)(uint32_t number) = nullptr;
    // The tutorial screen loads its script from the file the scenario
    // information names.
    std::unique_ptr<CCountry> (*tutorialScreen)(uint32_t number,
                                                const std::string& scriptFile) = nullptr;
    std::unique_ptr<CCountry> (*type4)(uint32_t number) = nullptr;
    std::unique_ptr<CCountry> (*type5)(uint32_t number) = nullptr;
    std::unique_ptr<CCountry> (*type6)(uint32_t number) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern CountryVariantHooks g_countryVariants;

// The object CCountry::Create makes for the number and controller kind,
// before it is filed anywhere.
std::unique_ptr<CCountry> MakeCountryOfKind(uint32_t number, uint32_t kind);
