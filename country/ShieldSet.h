#pragma once
// CShieldSet: the pictures a country shows on the map and in the diplomacy
// displays: its own shield and small shield, and the small pictures put
// beside a country for a treaty or a conflict. Each country owns one.
#include <cstdint>
#include <memory>

class SpriteWorld;

class CShieldSet {
public:
    // Loads the seven treaty pictures in this order: dynastic alliance,
    // military cooperation, defensive alliance, war pact, vassal, war,
    // casus belli ("gfx\map\shields\shield_<name>.bmp"), each drawn onto the
    // map picture with the palette "crest_palette.bmp"; the war picture
    // takes "yellow_red_p.bmp" and is an animation of 11 frames from frame
    // 0, stepping every 15 ticks. Then the two shields are made empty. A
    // picture that cannot be loaded leaves an empty sprite (the loader
    // reports it).
    CShieldSet();
    ~CShieldSet();
    CShieldSet(const CShieldSet&) = delete;
    CShieldSet& operator=(const CShieldSet&) = delete;

    // Loads the country's shield (GetCountryShieldPath) and small shield
    // (GetCountrySmallShieldPath), drawn onto the map picture with the
    // palette "shield palette.bmp". Any number is taken (an unknown one
    // gives the "MIN" row's pictures).
    void LoadForCountry(uint32_t countryNumber);

    static constexpr int32_t kWarFrames = 11;
    static constexpr int32_t kWarFrameStep = 15;

    std::unique_ptr<SpriteWorld> shield;
    std::unique_ptr<SpriteWorld> smallShield;
    std::unique_ptr<SpriteWorld> dynasticAlliance;
    std::unique_ptr<SpriteWorld> militaryCoop;
    std::unique_ptr<SpriteWorld> defensiveAlliance;
    std::unique_ptr<SpriteWorld> warPact;
    std::unique_ptr<SpriteWorld> vassal;
    std::unique_ptr<SpriteWorld> war;
    std::unique_ptr<SpriteWorld> casusBelli;
};
