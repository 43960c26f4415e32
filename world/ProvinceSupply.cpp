// Supply and attrition. For one country at a time, every province holds in
// supplyLevel the number of supply sources reachable from it through the
// provinces that let that country's supply pass.
#include <algorithm>
#include <vector>

#include "engine/Format.h"
#include "engine/TextDatabase.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/ProvinceControl.h"

namespace {

// Attrition terms, in percent.
constexpr int32_t kSeaAttrition = 15;
constexpr int32_t kBaseAttrition = 10;
constexpr int32_t kLandLevelsPerPoint = 5;
constexpr int32_t kUnsuppliedAttrition = 10;
constexpr int32_t kWinterAttrition = 10;
constexpr int32_t kHarshClimateAttrition = 5; // climates 4 and 6
constexpr int32_t kLootedAttrition = 5;
constexpr int32_t kMarshAttrition = 2;
constexpr int32_t kMountainAttrition = 5;
constexpr int32_t kDesertClimateAttrition = 8; // climate 1
constexpr int32_t kTerrainMountain = 2;
constexpr int32_t kTerrainMarsh = 4;
constexpr int32_t kTerrainSea = 5;
// Naval levels from which storms and ice no longer trouble a fleet.
constexpr int32_t kStormNavalLevel = 34;
constexpr int32_t kIceNavalLevel = 38;

// A supply level being recomputed.
constexpr int32_t kLevelPending = -1;

int32_t NumberOf(const CCountry& country) {
    return g_provinceCountries.numberOf ? g_provinceCountries.numberOf(country) : -1;
}

// The giver gives the country access: itself, a country on its side of a
// war, its overlord.
bool GivesAccess(int32_t giver, int32_t country) {
    if (giver < 0 || country < 0)
        return false;
    if (g_provinceControl.hasAccessTo)
        return g_provinceControl.hasAccessTo(giver, country);
    return giver == country;
}

bool IsHostile(int32_t country, int32_t other) {
    return country >= 0 && other >= 0 && g_provinceControl.isHostileTo &&
           g_provinceControl.isHostileTo(country, other);
}

bool OnSameSide(int32_t country, int32_t other) {
    return country >= 0 && other >= 0 &&
           (country == other || (g_provinceControl.isCobelligerentWith &&
                                 g_provinceControl.isCobelligerentWith(country, other)));
}

// The country of the commander besieging the province's city, -1 when none.
int32_t BesiegerOf(const CProvince& p) {
    return p.GetCity() && g_provinceControl.siegeCommanderCountry
               ? g_provinceControl.siegeCommanderCountry(p)
               : -1;
}

// The country that holds the province: the besieger's commander's while a
// siege with a commander is on, else the controller.
int32_t HolderOf(const CProvince& p) {
    const int32_t besieger = BesiegerOf(p);
    return besieger >= 0 ? besieger : p.GetControllerNumber();
}

bool LetsSupplyPass(const CProvince& p, int32_t country) {
    const int32_t owner = p.GetOwnerNumber();
    return p.GetControllerNumber() >= 0 &&
           (GivesAccess(owner, country) || IsHostile(owner, country)) &&
           GivesAccess(HolderOf(p), country);
}

bool IsSupplySource(const CProvince& p, int32_t country) {
    const CCity* city = p.GetCity();
    if (p.GetControllerNumber() < 0 || p.GetOwnerNumber() < 0 || !city ||
        !GivesAccess(p.GetControllerNumber(), country) || city->IsUnderSiege() ||
        BesiegerOf(p) >= 0)
        return false;
    return GivesAccess(p.GetOwnerNumber(), country) || (p.GetPort() && !p.blockaded);
}

// The leading neighbours that are provinces.
template <class Province, class Function> void ForLeading(Province& p, Function&& function) {
    const int32_t count = std::min<int32_t>(p.neighbourCount, p.GetNeighbourTotal());
    for (int32_t i = 0; i < count; ++i)
        if (CProvince* n = GetProvince(p.neighbours[static_cast<size_t>(i)].id);
            n && n->GetNumber() > 0)
            function(*n);
}

// The supply sources of the region reached from the province through
// unmarked provinces that let the supply pass; every province reached is
// marked (the caller clears the marks). A walk of its own, not recursion:
// a region may span the whole map.
int32_t CountSupply(CProvince& start, int32_t country) {
    int32_t count = 0;
    std::vector<CProvince*> pending{&start};
    start.supplyMark = 1;
    while (!pending.empty()) {
        CProvince& p = *pending.back();
        pending.pop_back();
        if (IsSupplySource(p, country))
            ++count;
        ForLeading(p, [&](CProvince& n) {
            if (!n.supplyMark && LetsSupplyPass(n, country)) {
                n.supplyMark = 1;
                pending.push_back(&n);
            }
        });
    }
    return count;
}

// Every marked leading neighbour of the province, and the marked region
// beyond each, is unmarked and gets the level.
void SpreadLevel(CProvince& from, int32_t level) {
    std::vector<CProvince*> pending;
    ForLeading(from, [&](CProvince& n) {
        if (n.supplyMark) {
            n.supplyMark = 0;
            n.supplyLevel = level;
            pending.push_back(&n);
        }
    });
    while (!pending.empty()) {
        CProvince& p = *pending.back();
        pending.pop_back();
        ForLeading(p, [&](CProvince& n) {
            if (n.supplyMark) {
                n.supplyMark = 0;
                n.supplyLevel = level;
                pending.push_back(&n);
            }
        });
    }
}

bool HasSuppliedLevel(const CProvince& p, int32_t country, int32_t atLeast) {
    return p.supplyLevel >= atLeast && LetsSupplyPass(p, country);
}

std::string Text(const char* key) {
    return g_textDatabase.GetText(key);
}

std::string Formatted(const char* key, FormatArg value) {
    return FormatDataText(g_textDatabase.GetText(key), {value});
}

// The terms of the attrition, in the order they are added and shown.
struct AttritionTerm {
    const char* key;
    int32_t value;
};

std::vector<AttritionTerm> AttritionTerms(const CProvince& p, int32_t country, bool fleet) {
    const int32_t landLevel =
        g_provinceControl.landLevelOf && country >= 0 ? g_provinceControl.landLevelOf(country) : 0;
    std::vector<AttritionTerm> terms;
    terms.push_back({"PROV_ATTRITION_2", kBaseAttrition - landLevel / kLandLevelsPerPoint});
    if (fleet) {
        if (!p.GetPort() || p.blockaded)
            terms.push_back({"PROV_ATTRITION_3", kUnsuppliedAttrition});
        return terms;
    }
    const bool supplied =
        p.GetNumber() != 0 && (p.area == kSeaArea || HasSuppliedLevel(p, country, 1) || [&] {
            bool any = false;
            ForLeading(p,
                       [&](const CProvince& n) { any = any || HasSuppliedLevel(n, country, 1); });
            return any;
        }());
    if (!supplied)
        terms.push_back({"PROV_ATTRITION_3", kUnsuppliedAttrition});
    if (p.winter)
        terms.push_back({"PROV_ATTRITION_4", kWinterAttrition});
    if (p.climate == 4 || p.climate == 6)
        terms.push_back({"PROV_ATTRITION_5", kHarshClimateAttrition});
    if (p.looted)
        terms.push_back({"PROV_ATTRITION_6", kLootedAttrition});
    if (p.terrain == kTerrainMarsh)
        terms.push_back({"PROV_ATTRITION_7", kMarshAttrition});
    if (p.terrain == kTerrainMountain)
        terms.push_back({"PROV_ATTRITION_8", kMountainAttrition});
    if (p.climate == 1)
        terms.push_back({"PROV_ATTRITION_9", kDesertClimateAttrition});
    return terms;
}

} // namespace

void CProvince::UpdateSupply(CCountry& country) {
    const int32_t k = NumberOf(country);
    if (k < 0 || GetControllerNumber() < 0)
        return;
    ForLeading(*this, [&](CProvince& n) {
        if (LetsSupplyPass(n, k))
            n.supplyLevel = kLevelPending;
    });
    const int32_t own = IsSupplySource(*this, k) ? 1 : 0;
    int32_t total = own;
    ForLeading(*this, [&](CProvince& n) {
        if (n.supplyLevel != kLevelPending)
            return;
        // The region behind this neighbour, not counting back through here.
        supplyMark = 1;
        const int32_t region = CountSupply(n, k);
        supplyMark = 0;
        total += region;
        SpreadLevel(*this, region + own);
    });
    supplyLevel = LetsSupplyPass(*this, k) ? total : 0;
}

void UpdateCountrySupply(CCountry& country) {
    if (!g_provinceCountries.provinceList)
        return;
    const int32_t k = NumberOf(country);
    CIntList* controlled = g_provinceCountries.provinceList(country, true);
    CIntList* owned = g_provinceCountries.provinceList(country, false);
    if (!controlled || !owned)
        return;
    controlled->ForEach([](int32_t id) {
        if (CProvince* p = GetProvince(id))
            p->supplyLevel = 0;
    });
    owned->ForEach([&](int32_t id) {
        CProvince* p = GetProvince(id);
        if (p && p->GetNumber() > 0 && p->GetControllerNumber() == k && p->supplyLevel == 0)
            p->UpdateSupply(country);
    });
}

bool CProvince::NeighbourSupplies(CCountry& country) const {
    const int32_t k = NumberOf(country);
    bool any = false;
    ForLeading(*this, [&](const CProvince& n) { any = any || HasSuppliedLevel(n, k, 1); });
    return any;
}

bool CProvince::SuppliesCountry(CCountry& country) const {
    if (GetNumber() == 0)
        return false;
    if (area == kSeaArea)
        return true;
    return HasSuppliedLevel(*this, NumberOf(country), 1) || NeighbourSupplies(country);
}

int32_t CProvince::GetAttrition(CCountry& country, bool fleet) const {
    if (terrain == kTerrainSea)
        return kSeaAttrition;
    int32_t total = 0;
    for (const AttritionTerm& term : AttritionTerms(*this, NumberOf(country), fleet))
        total += term.value;
    return total;
}

bool CProvince::BordersCountry(const CCountry& country) const {
    const int32_t c = NumberOf(country);
    bool any = false;
    ForLeading(*this, [&](const CProvince& n) {
        any = any || (n.GetOwnerNumber() == c && n.GetControllerNumber() == c);
    });
    return c >= 0 && any;
}

bool CProvince::BordersOwner(const CCountry& country) const {
    const int32_t c = NumberOf(country);
    bool any = false;
    ForLeading(*this, [&](const CProvince& n) {
        any = any || (n.GetOwnerNumber() >= 0 &&
                      (n.GetOwnerNumber() == c || n.GetControllerNumber() == c));
    });
    return c >= 0 && any;
}

std::string CProvince::DescribeSupply(CCountry& country) const {
    const int32_t k = NumberOf(country);
    std::string text;
    if (!IsSea()) {
        const int32_t owner = GetOwnerNumber();
        const int32_t controller = GetControllerNumber();
        int32_t m = 1;
        if (owner >= 0) {
            const bool ownerOnSide = OnSameSide(owner, k);
            const bool controllerOnSide = OnSameSide(controller, k);
            m = ownerOnSide ? (controllerOnSide ? 5 : 4) : (controllerOnSide ? 3 : 2);
        }
        text += Formatted("PROV_SUPPLY_1", tax * m);
        if (owner == k && k >= 0) {
            const int32_t fortress = m_city ? static_cast<int32_t>(m_city->GetFortress().level) : 0;
            text += Formatted("PROV_SUPPLY_2", 10 * fortress);
            if (m_city && m_city->HasImprovement(CCity::IMPROVEMENT_BARRACK))
                text += Text("PROV_SUPPLY_3");
        }
        return text;
    }
    const int32_t naval =
        g_provinceControl.navalLevelOf && k >= 0 ? g_provinceControl.navalLevelOf(k) : 0;
    if (storm && naval < kStormNavalLevel)
        text += Text("PROV_SUPPLY_4");
    if (iceZone && winter && naval < kIceNavalLevel)
        text += Text("PROV_SUPPLY_5");
    if (coastalSeaZone) {
        text += Text("PROV_SUPPLY_6");
        bool port = false;
        ForLeading(*this, [&](const CProvince& n) {
            port = port || (n.GetPort() && GivesAccess(n.GetControllerNumber(), k));
        });
        if (port)
            text += Text("PROV_SUPPLY_7");
    }
    return text;
}

std::string CProvince::DescribeAttrition(CCountry& country, bool fleet) const {
    if (terrain == kTerrainSea)
        return Text("PROV_ATTRITION_0");
    std::string text;
    int32_t total = 0;
    for (const AttritionTerm& term : AttritionTerms(*this, NumberOf(country), fleet)) {
        text += Formatted(term.key, term.value);
        total += term.value;
    }
    text += Formatted("PROV_ATTRITION_1", total);
    return text;
}
