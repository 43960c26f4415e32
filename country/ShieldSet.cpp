#include "country/ShieldSet.h"

#include <string>

#include "country/Banners.h"
#include "country/Country.h"
#include "engine/Display.h"
#include "engine/Palette.h"
#include "world/map/MapSprite.h"

namespace {

std::unique_ptr<SpriteWorld> MapPicture(const std::string& fileName, const char* palette) {
    auto sprite = std::make_unique<SpriteWorld>(fileName);
    sprite->DrawOntoMapImage();
    sprite->SetPalette(GetPalette(palette));
    return sprite;
}

void LoadMapPicture(SpriteWorld& sprite, const std::string& fileName, const char* palette) {
    sprite.Load(fileName);
    sprite.DrawOntoMapImage();
    sprite.SetPalette(GetPalette(palette));
}

} // namespace

CShieldSet::CShieldSet() {
    const char* const kCrest = "crest_palette.bmp";
    dynasticAlliance = MapPicture("gfx\\map\\shields\\shield_dynastic_alliance.bmp", kCrest);
    militaryCoop = MapPicture("gfx\\map\\shields\\shield_millitary_coop.bmp", kCrest);
    defensiveAlliance = MapPicture("gfx\\map\\shields\\shield_defensive_alliance.bmp", kCrest);
    warPact = MapPicture("gfx\\map\\shields\\shield_warpact.bmp", kCrest);
    vassal = MapPicture("gfx\\map\\shields\\shield_vassal.bmp", kCrest);
    war = MapPicture("gfx\\map\\shields\\shield_war.bmp", "yellow_red_p.bmp");
    war->SetFrameCount(kWarFrames);
    war->SetFrame(0);
    war->SetSpeed(kWarFrameStep);
    war->CSprite::speed = kWarFrameStep;
    casusBelli = MapPicture("gfx\\map\\shields\\shield_casus_belli.bmp", kCrest);
    shield = std::make_unique<SpriteWorld>();
    smallShield = std::make_unique<SpriteWorld>();
}

CShieldSet::~CShieldSet() = default;

void CShieldSet::LoadForCountry(uint32_t countryNumber) {
    LoadMapPicture(*shield, GetCountryShieldPath(countryNumber), "shield palette.bmp");
    LoadMapPicture(*smallShield, GetCountrySmallShieldPath(countryNumber), "shield palette.bmp");
}

// ---------------------------------------------------------------------------
// The country's shields

void CCountry::LoadShields() {
    if (!g_screen)
        return;
    if (!m_shields)
        m_shields = std::make_unique<CShieldSet>();
    m_shields->LoadForCountry(m_number);
}
