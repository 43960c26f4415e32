// The province's symbols on the map: the natives, the settlement and what
// stands with it, and the province's reset at the end of a game.
#include <algorithm>

#include "world/MapModes.h"
#include "world/Province.h"
#include "world/ProvinceWork.h"
#include "world/Settlement.h"

namespace {

// Map option bits of the symbols.
constexpr uint32_t kShowSettlements = 0x10;
constexpr uint32_t kShowManufactories = 0x8;
constexpr uint32_t kShowPorts = 0x20000;
constexpr uint32_t kShowUnits = 0x1;

// From this many natives on the symbol is the natives' town.
constexpr int32_t kNativesTown = 31;
constexpr int32_t kNativesTownAction = kSpriteActionNone;
constexpr int32_t kNativesTownCultureCap = 15;
constexpr int32_t kNativesAction = 0;

// The natives' look by the row of the province's terrain.
int32_t NativesCulture(int32_t row) {
    switch (row) {
    case 0:
    case 1:
        return 12;
    case 2:
        return 15;
    case 3:
        return 16;
    case 4:
    case 9:
        return 17;
    case 5:
    case 8:
        return 13;
    case 6:
    case 7:
        return 14;
    default:
        return 16;
    }
}

} // namespace

void CProvince::SetMapSymbolLevel(int32_t n) {
    if (n < 1) {
        nativesSprite.PlaceAt(-100, -100);
        natives = 0;
        return;
    }
    natives = std::min(n, maxNatives);
    const int32_t row =
        g_settlementCountries.terrainRowOf ? g_settlementCountries.terrainRowOf(GetNumber()) : -1;
    int32_t culture = NativesCulture(row);
    nativesSprite.SetLevel(1);
    if (natives < kNativesTown) {
        nativesSprite.SetKind(kSpriteKindArmy);
        nativesSprite.SetAction(kNativesAction);
        nativesSprite.SetCulture(culture);
        int32_t halfHeight = 0;
        if (CMapSprite* sprite = nativesSprite.GetSprite())
            halfHeight = sprite->GetSprite().GetHeight() / 2;
        nativesSprite.PlaceAt(symbolPosition.x, symbolPosition.y + halfHeight);
    } else {
        nativesSprite.SetKind(kSpriteKindCity);
        nativesSprite.SetAction(kNativesTownAction);
        if (culture > 16)
            culture = kNativesTownCultureCap;
        nativesSprite.SetCulture(culture);
        nativesSprite.PlaceAt(symbolPosition.x, symbolPosition.y);
    }
    nativesSprite.Show();
}

void CProvince::DrawMapSymbols(int32_t layer) {
    if (!knownToPlayer)
        return;
    const uint32_t options = g_mapModeFlags;
    if (options & kShowSettlements) {
        if (natives > 0)
            nativesSprite.Draw(layer);
        m_constructions.Draw(layer);
        if (looted) {
            lootSprite.PlaceAt(unitPosition.x, unitPosition.y);
            lootSprite.Draw(layer);
        }
        if (CSettlement* settlement = GetSettlement())
            settlement->GetSymbol().Draw(layer);
        if (m_city && m_city->HasImprovement(CCity::IMPROVEMENT_BARRACK))
            const_cast<CSettlementSymbol&>(m_city->GetBarrackSymbol()).Draw(layer);
    }
    if (layer == 0 && (options & kShowManufactories) && m_city &&
        m_city->manufactory != CCity::MANUFACTORY_NONE)
        const_cast<CSettlementSymbol&>(m_city->GetManufactorySymbol()).Draw(layer);
    if ((options & (kShowSettlements | kShowPorts)) != 0)
        if (CPort* port = GetPort()) {
            if (!visible)
                port->dimNext = 1;
            port->Draw(layer);
        }
}

void CProvince::Draw(int32_t param) {
    if (!knownToPlayer)
        return;
    if ((g_mapModeFlags & kShowUnits) && g_provinceWork.drawUnits)
        g_provinceWork.drawUnits(*this, param);
    if ((g_mapModeFlags & kShowSettlements) && m_city && visible && m_city->IsUnderSiege())
        const_cast<CSettlementSymbol&>(m_city->GetSiegeTowerSymbol()).Draw(param);
}

void CProvince::Reset() {
    if (g_provinceWork.releaseUnits)
        g_provinceWork.releaseUnits(*this);
    m_constructions.Clear();
}
