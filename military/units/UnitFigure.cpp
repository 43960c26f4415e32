// What the map shows of a unit: its portrait bar and its flag.
#include <memory>
#include <string>

#include "country/Banners.h"
#include "country/Country.h"
#include "engine/Palette.h"
#include "military/units/Unit.h"
#include "military/units/UnitWidgets.h"
#include "world/map/MapSprite.h"

namespace {

constexpr const char* kRetreatFlag = "gfx\\map\\flags\\flag_retreat.bmp";
constexpr const char* kExiledFlag = "gfx\\map\\flags\\flag_exiled.bmp";
constexpr const char* kFlagPalette = "flag palette.bmp";
constexpr int32_t kFlagFrames = 25;

} // namespace

CUnitPortrait* CUnit::GetPortrait() {
    if (!m_portrait) {
        m_portrait = std::make_unique<CUnitPortrait>(this);
        RefreshFigure();
    }
    return m_portrait.get();
}

void CUnit::RefreshFigure() {
    if (!m_portrait)
        return;
    const int32_t level = IsFleet() ? FleetStatusLevel(GetSize(), m_portrait->GetBarWidth())
                                    : ArmyStatusLevel(GetCombatSize());
    m_portrait->SetFill(level, GetMoraleColourIndex());
}

CSprite* CUnit::GetFlag() {
    if (!m_flag) {
        if (m_flagPath.empty())
            ShowOwnFlag();
        m_flag = std::make_unique<SpriteWorld>(m_flagPath);
        ShowFlag(m_flagPath);
    }
    return m_flag.get();
}

void CUnit::ShowFlag(const std::string& path) {
    m_flagPath = path;
    if (!m_flag)
        return;
    m_flag->LoadImage(path);
    m_flag->SetFrameCount(kFlagFrames);
    m_flag->SetPalette(GetPalette(kFlagPalette));
}

void CUnit::ShowOwnFlag() {
    if (trespassing && !IsInCombat())
        ShowFlag(kExiledFlag);
    else
        ShowFlag(m_owner ? GetCountryFlagPath(m_owner->GetNumber()) : kExiledFlag);
}

void CUnit::RestoreFlag() {
    m_retreating = 0;
    ShowOwnFlag();
}

void CUnit::SetRetreating(int32_t province) {
    m_retreatProvince = province;
    if (m_retreating)
        return;
    m_retreating = 1;
    ShowFlag(kRetreatFlag);
}
