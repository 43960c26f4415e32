// What the map shows of a unit: its portrait bar, its flag and its figure.
#include <memory>
#include <string>

#include "country/Banners.h"
#include "country/Country.h"
#include "engine/Palette.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "military/units/UnitWidgets.h"
#include "world/Province.h"
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

// ------------------------------------------------------------------ figure

namespace {

// The map's width in map units; a step across the seam is the short way
// round.
constexpr int32_t kMapWrapWidth = 18944;
constexpr int32_t kWrapThreshold = 15000;
constexpr int32_t kCoverMode = 3;
constexpr int32_t kSiegeMode = 4;
constexpr int32_t kAssaultMode = 5;
constexpr int32_t kFacingNorth = 1;
constexpr int32_t kFacingSouthWest = 5;

// The province the figure is placed against: an army aboard is where its
// fleet is. Null for no province (0 or out of range).
const CProvince* FigureProvince(const CUnit& unit) {
    int32_t id = unit.GetLocation();
    if (unit.IsArmy())
        if (const CNavalUnit* carrier = static_cast<const CLandUnit&>(unit).GetCarrier())
            id = carrier->GetLocation();
    return id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
}

} // namespace

void (*g_unitAI)(uint32_t type, CUnit& unit) = nullptr;

void CUnit::NotifyAI(EUnitNotice notice) {
    // A unit its owner is deleting tells nobody anything.
    if (g_unitAI && !dying)
        g_unitAI(static_cast<uint32_t>(notice) + (IsFleet() ? 1u : 0u), *this);
}

CMapSprite* CUnit::GetFigure() {
    if (!m_figure) {
        m_figure = std::make_unique<CMapSprite>();
        m_figure->SetKey(m_figureKey.culture, m_figureKey.kind, m_figureKey.action,
                         m_figureKey.direction, m_figureKey.level);
        m_figure->SetPosition(m_figurePosition.x, m_figurePosition.y);
    }
    return m_figure.get();
}

void CUnit::SetFigurePosition(int32_t x, int32_t y) {
    m_figurePosition = {x, y};
    if (m_figure)
        m_figure->SetPosition(x, y);
}

void CUnit::SetFigureKey(const SpriteKey& key) {
    if (key == m_figureKey)
        return;
    m_figureKey = key;
    if (m_figure)
        m_figure->SetKey(key.culture, key.kind, key.action, key.direction, key.level);
}

void CUnit::SetFigurePose(int32_t action, int32_t direction) {
    SpriteKey key = m_figureKey;
    key.action = action;
    key.direction = direction;
    SetFigureKey(key);
}

void CUnit::UpdateFigureCulture() {
    SpriteKey key = m_figureKey;
    if (IsFleet()) {
        key.kind = kFigureKindNavy;
        key.culture = kFleetFigureCulture;
    } else {
        key.kind = kFigureKindArmy;
        key.culture = m_owner ? m_owner->GetSpriteCulture() : kSpriteCultureNone;
    }
    SetFigureKey(key);
}

void CUnit::UpdateSpriteLevel() {
    if (!m_owner)
        return;
    const float value = IsFleet() ? m_owner->GetNavalLevelFigure() : m_owner->GetLandLevelValue();
    SpriteKey key = m_figureKey;
    key.level = static_cast<int32_t>(value);
    SetFigureKey(key);
}

void UpdateUnitSpriteLevels(CCountry& country) {
    country.m_units.ForEach([](CUnit* unit) {
        if (unit)
            unit->UpdateSpriteLevel();
    });
    country.m_unitsInDevelopment.ForEach([](CUnit* unit) {
        if (unit)
            unit->UpdateSpriteLevel();
    });
}

void CUnit::SetMapPlacement(int32_t placement) {
    m_placement = placement;
    const CProvince* province = FigureProvince(*this);
    if (!province)
        return;
    const bool fleetAtPort = IsFleet() && !province->IsSea();
    MapPoint at = province->unitPosition;
    switch (placement) {
    case PLACEMENT_STANDING:
        if (fleetAtPort)
            at = province->portPosition;
        break;
    case PLACEMENT_ATTACKER:
        at.x -= 16;
        at.y += IsFleet() ? -16 : 16;
        break;
    case PLACEMENT_DEFENDER:
        at.x += 16;
        at.y += IsFleet() ? 16 : -16;
        break;
    case PLACEMENT_MOVING:
        if (fleetAtPort) {
            at = province->portPosition;
        } else {
            at.x -= 12;
            at.y += 12;
        }
        break;
    default:
        break;
    }
    SetFigurePosition(at.x, at.y);
}

void CUnit::FaceNextStep() {
    if (m_path.IsEmpty()) {
        if (!IsInCombat())
            StandStill();
        return;
    }
    const int32_t next = GetNextPathProvince();
    const CProvince* from = FigureProvince(*this);
    const CProvince* to =
        next >= kFirstProvinceId && next <= kLastProvinceId ? GetProvince(next) : nullptr;
    if (!from || !to)
        return;
    MapPoint target = to->unitPosition;
    const MapPoint origin = from->unitPosition;
    if (origin.x - target.x > kWrapThreshold)
        target.x += kMapWrapWidth;
    else if (origin.x - target.x < -kWrapThreshold)
        target.x -= kMapWrapWidth;
    SetFigurePose(FIGURE_WALK, DirectionFromPoints(origin.x, origin.y, target.x, target.y));
}

void CUnit::ShowCombatPose(int32_t mode) {
    if (mode == kCoverMode || mode == kSiegeMode) {
        StandStill();
        return;
    }
    const bool north = m_combatSide == 1 || mode == kAssaultMode;
    SetFigurePose(FIGURE_FIRE, north ? kFacingNorth : kFacingSouthWest);
}
