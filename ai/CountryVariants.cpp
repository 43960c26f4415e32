#include "ai/CountryVariants.h"

#include <algorithm>
#include <memory>
#include <string>

#include "country/CountryVariants.h"
#include "data/CountryNumbers.h"
#include "data/ScenarioHeader.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/Random.h"
#include "military/server/GameServer.h"
#include "military/units/LandUnit.h"
#include "military/units/Unit.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/CountryDefinition.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

constexpr int32_t kReferenceLevel = 21;
constexpr uint32_t kEngland = 1;
constexpr uint32_t kFrance = 2;
constexpr uint32_t kHolland = 4;
constexpr int32_t kNoticeNatives = 115;
constexpr int32_t kNoticeNativesKill = 116;
constexpr uint8_t kReformedEventFlag = 2;
// Unit combat types (UnitCombatType) in which a unit still counts as free:
// a siege in cover or in siege mode.
constexpr int32_t kCoverCombat = 3;
constexpr int32_t kSiegeCombat = 4;

// The sea zones whose raid rating counts double.
constexpr int32_t kRichRaidZones[] = {965,  966,  967,  969,  1009, 1043, 1044, 1045,
                                      1046, 1047, 1048, 1185, 1188, 1325, 1378};

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

int32_t ThisYear() {
    return Today().year;
}

bool Exists(uint32_t number) {
    return CountryOfNumber(number) != nullptr;
}

// The units of every country standing in the province, in its order.
std::vector<CUnit*> UnitsStandingIn(int32_t province) {
    std::vector<CUnit*> units;
    ForEachUnitIn(province, [&units](CUnit& unit) { units.push_back(&unit); });
    return units;
}

std::vector<CUnit*> UnitsOfIn(const CCountry& country, int32_t province) {
    std::vector<CUnit*> units;
    ForEachUnitIn(province, [&](CUnit& unit) {
        if (unit.GetOwner() == &country)
            units.push_back(&unit);
    });
    return units;
}

std::vector<CUnit*> UnitsOf(CCountry& country) {
    std::vector<CUnit*> units;
    country.m_units.ForEach([&units](CUnit* unit) {
        if (unit)
            units.push_back(unit);
    });
    return units;
}

// The unit is not held by a field combat: in none, or in a siege it covers
// or presses.
bool IsFreeOfFieldCombat(const CUnit& unit) {
    if (!unit.IsInCombat())
        return true;
    const int32_t type = UnitCombatType(unit);
    return type == kCoverCombat || type == kSiegeCombat;
}

// Orders the units to the province through a list of their own.
void MoveUnitsTo(const std::vector<CUnit*>& units, int32_t goal) {
    CUnitList list;
    for (CUnit* unit : units)
        list.AddTail(unit);
    list.MoveTo(goal);
    list.RemoveAll();
}

int32_t LeadingNeighbourCount(const CProvince& province) {
    return std::clamp(province.neighbourCount, 0, province.GetNeighbourTotal());
}

void SetTrackLevel(Technology& track, int32_t level) {
    track.SetLevel(std::max(level, 0));
}

// Over the ordinary countries that take part in the reference: the
// smallest (or largest) of their land levels and 21.
int32_t ReferenceLandLevel(bool highest) {
    int32_t level = kReferenceLevel;
    for (uint32_t number = 0; number < kCountrySlots; ++number) {
        CCountry* country = CountryOfNumber(number);
        if (!country || !IsOrdinaryCountry(number))
            continue;
        if (!g_fantasyMode && country->m_religion.stateReligion > RELIGION_SHIITE)
            continue;
        const int32_t own = country->GetLandTech().GetLevel();
        level = highest ? std::max(level, own) : std::min(level, own);
    }
    return level;
}

} // namespace

int32_t GetPirateRaidChance(int32_t year) {
    if (year < 1680)
        return 100;
    if (year < 1730)
        return (1730 - year) * 2;
    return 1;
}

int32_t PirateFleetLimitOf(int32_t base, int32_t year) {
    if (year < 1550)
        return base / 2;
    if (year < 1600)
        return base + 1;
    if (year < 1700)
        return 2 * base + 2;
    if (year < 1770)
        return std::max(2, base / 2);
    return std::max(1, base / 4);
}

int32_t GetPirateFleetLimit() {
    int32_t warships = 0;
    int32_t shipyards = 0;
    for (uint32_t number = 0; number < kCountrySlots; ++number) {
        if (CCountry* country = CountryOfNumber(number)) {
            warships += country->GetWarshipCount();
            shipyards += country->m_figures.shipyards;
        }
    }
    return PirateFleetLimitOf(shipyards + warships / 100, ThisYear());
}

int32_t GetHighestReferenceLandLevel() {
    return ReferenceLandLevel(true);
}

int32_t GetLowestReferenceLandLevel() {
    return ReferenceLandLevel(false);
}

bool CanAssaultFortress(CCountry& country, const std::vector<CUnit*>& units) {
    if (units.empty() || country.GetLandTech().GetLevel() < 1)
        return false;
    CUnitList list;
    for (CUnit* unit : units)
        list.AddTail(unit);
    const int32_t infantry = list.TotalInfantry();
    list.RemoveAll();
    if (infantry < 1)
        return false;
    const bool besieging = std::any_of(units.begin(), units.end(), [](const CUnit* unit) {
        return UnitCombatType(*unit) == kSiegeCombat;
    });
    const CUnit& first = *units.front();
    return besieging && !first.GetSiegeCombat().IsNull() && first.GetCombatSide() == 1 &&
           first.morale >= GetLandMorale(country) * 0.5f;
}

// ---------------------------------------------------------------------------
// The rebels

int CCountryType4::OnProvChangeControl(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVProvinceEvent::kProvince);
    const CProvince* province = IsProvinceLocation(id) && id != 0 ? GetProvince(id) : nullptr;
    // The disbanding is a request: the host alone asks for it.
    if (province && IsHost() && province->GetOwnerNumber() != province->GetControllerNumber()) {
        for (CUnit* unit : UnitsOfIn(*this, province->GetNumber()))
            SendDisbandUnit(unit->GetId());
    }
    return CCountry::OnProvChangeControl(event);
}

int CCountryType4::OnTimerMonth(COVEvent& event) {
    AfterLoad();
    SetTrackLevel(GetLandTech(), GetLowestReferenceLandLevel() - 1);
    SetTrackLevel(GetNavalTech(), 0);
    SetTrackLevel(GetInfraTech(), 0);
    SetTrackLevel(GetTradeTech(), 0);
    return CCountry::OnTimerMonth(event);
}

int32_t CCountryType4::ChooseRebelGoal(const CProvince& province) const {
    int32_t best = 0;
    int32_t bestScore = 0;
    const auto consider = [&](int32_t id, int32_t score) {
        if (score > bestScore) {
            best = id;
            bestScore = score;
        }
    };
    const auto heldByOthers = [this](const CProvince& other) {
        return other.GetOwnerNumber() >= 0 &&
               other.GetControllerNumber() != static_cast<int32_t>(GetNumber());
    };

    // The provinces of a nation no longer in play that rises here.
    const int32_t nation = province.revoltCountry;
    if (nation > 0 && nation < static_cast<int32_t>(kCountrySlots) && !Exists(nation)) {
        if (const CCountryDefinition* record = g_globals.RevoltDefinition(nation)) {
            const auto rate = [&](const CIntList& list, int32_t bonus) {
                const_cast<CIntList&>(list).ForEach([&](int32_t id) {
                    const CProvince* listed = GetProvince(id);
                    if (!listed || id == 0 || !heldByOthers(*listed))
                        return;
                    int32_t score = static_cast<int32_t>(listed->GetTotalIncome()) + bonus;
                    if (province.IsNeighbour(id))
                        score += 1000;
                    consider(id, score);
                });
            };
            rate(record->minimum, 1000);
            rate(record->extra, 500);
        }
    }
    if (best == 0) {
        const int32_t leading = LeadingNeighbourCount(province);
        for (int32_t i = 0; i < leading; ++i) {
            const int32_t id = province.neighbours[static_cast<size_t>(i)].id;
            const CProvince* neighbour = GetProvince(id);
            if (!neighbour || id == 0 || !heldByOthers(*neighbour))
                continue;
            int32_t score = static_cast<int32_t>(neighbour->GetTotalIncome());
            if (neighbour->GetOwnerNumber() == province.GetOwnerNumber())
                score += 100;
            consider(id, score);
        }
    }
    if (best == 0) {
        if (const CCountry* owner = province.GetOwner())
            best = owner->GetCapitalId();
    }
    return best;
}

void CCountryType4::MoveRebelArmies() {
    if (!IsHost())
        return;
    std::vector<int32_t> provinces;
    m_controlledProvinces.ForEach([&provinces](int32_t id) { provinces.push_back(id); });
    for (const int32_t id : provinces) {
        CProvince* province = id > 0 ? GetProvince(id) : nullptr;
        // Without an owner there is no capital to fall back on.
        if (!province || province->GetOwnerNumber() < 0)
            continue;
        const std::vector<CUnit*> group = UnitsOfIn(*this, id);
        if (group.size() >= 2) {
            const std::vector<const CUnit*> asked(group.begin(), group.end());
            if (CanMergeUnits(asked)) {
                std::vector<ObjectId> ids;
                for (const CUnit* unit : group)
                    ids.push_back(unit->GetId());
                SendRequestMerge(ids);
            } else if (province->IsDutchProvince() && g_gameServer &&
                       g_gameServer->GetEventFlag(kReformedEventFlag) && !Exists(kHolland) &&
                       CanAssaultFortress(*this, group)) {
                CUnitList list;
                for (CUnit* unit : group)
                    list.AddTail(unit);
                SendSiegeAssault(list);
                list.RemoveAll();
            }
        } else if (group.size() == 1) {
            const CUnit& unit = *group.front();
            if (province->GetControllerNumber() != static_cast<int32_t>(GetNumber()) ||
                unit.IsRetreating() || !IsFreeOfFieldCombat(unit))
                continue;
            const int32_t goal = ChooseRebelGoal(*province);
            if (goal > 0 && goal <= kLastProvinceId)
                MoveUnitsTo(group, goal);
        }
    }
}

// ---------------------------------------------------------------------------
// The natives

int CCountryType5::OnGameStarted(COVEvent& event) {
    // The disbanding is a request: the host alone asks for it.
    if (IsHost()) {
        for (CUnit* unit : UnitsOf(*this))
            if (!unit->IsInCombat())
                SendDisbandUnit(unit->GetId());
    }
    return CCountry::OnGameStarted(event);
}

int CCountryType5::OnProvChangeControl(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVProvinceEvent::kProvince);
    CProvince* province = IsProvinceLocation(id) && id != 0 ? GetProvince(id) : nullptr;
    const CCountry* prev = province ? province->GetController() : nullptr;
    CCountry::OnProvChangeControl(event);
    if (province && !CScenario::IsTutorial())
        ReduceSettlement(*province, prev);
    return EVENT_CONSUMED;
}

void CCountryType5::ReduceSettlement(CProvince& province, const CCountry* prev) {
    float size = 0.0f;
    for (const CUnit* unit : UnitsOfIn(*this, province.GetNumber()))
        size += static_cast<float>(unit->GetSize()) * 0.025f;
    const float loss = static_cast<float>(province.tolerance) * size;
    // The settlement is wiped out only when its province trades with the
    // centre of another province.
    const bool tradesElsewhere = province.IsAssignedToCentreOfTrade() &&
                                 province.centreOfTrade->GetProvinceId() != province.GetNumber();
    int32_t notice = 0;
    if (CCity* city = province.GetCity()) {
        const float v = city->GetPopulation() - loss;
        if (v < 10.0f && tradesElsewhere) {
            province.Abandon();
            notice = kNoticeNativesKill;
        } else {
            city->SetPopulation(std::max(v, 10.0f));
            notice = kNoticeNatives;
        }
    } else if (CTradingPost* post = province.GetTradingPost()) {
        const float v = post->level - loss * (1.0f / 60.0f);
        if (v < 1.0f && tradesElsewhere) {
            province.Abandon();
            notice = kNoticeNativesKill;
        } else {
            post->level = std::min(static_cast<float>(static_cast<int32_t>(v)), 6.0f);
            notice = kNoticeNatives;
        }
    }
    if (notice != 0 && prev && prev->IsLocalHuman())
        PostGameMessage1At(notice, prev->GetNumber(), "", province.name, province.GetNumber());
}

int CCountryType5::OnTimerMonth(COVEvent& event) {
    const int result = CCountry::OnTimerMonth(event);
    SetTrackLevel(GetLandTech(), 0);
    SetTrackLevel(GetNavalTech(), 0);
    SetTrackLevel(GetInfraTech(), 0);
    SetTrackLevel(GetTradeTech(), 0);
    return result;
}

// ---------------------------------------------------------------------------
// The pirates

int CCountryType6::SetAIPersonalityFile() {
    lastRaidZone = 0;
    // The raid date is not saved: a loaded game raids at once.
    if (g_scenarioInfo && g_scenarioInfo->saved && IsHost())
        ScheduleRaid();
    return 0;
}

int CCountryType6::OnTimerTickLoop(COVEvent& event) {
    // Rolls and orders are the host's; the others get the fleets and moves.
    if (IsHost() && Today().IsAfter(nextRaidDate)) {
        ScheduleRaid();
        MovePirateFleets();
    }
    return CCountry::OnTimerTickLoop(event);
}

int CCountryType6::OnTimerMonth(COVEvent& event) {
    SetTrackLevel(GetNavalTech(), GetHighestReferenceLandLevel() - 2);
    SetTrackLevel(GetLandTech(), 0);
    SetTrackLevel(GetInfraTech(), 0);
    SetTrackLevel(GetTradeTech(), 0);
    return CCountry::OnTimerMonth(event);
}

int32_t CCountryType6::RateRaidZone(const CProvince& zone) const {
    const bool occupied = !UnitsStandingIn(zone.GetNumber()).empty();
    int32_t score = 0;
    const int32_t leading = LeadingNeighbourCount(zone);
    for (int32_t i = 0; i < leading; ++i) {
        const CProvince* neighbour = GetProvince(zone.neighbours[static_cast<size_t>(i)].id);
        if (!occupied && neighbour && neighbour->GetOwnerNumber() >= 0) {
            score -= 8 * zone.piracy;
            const auto income = static_cast<int32_t>(neighbour->GetTotalIncome());
            const CCity* city = neighbour->GetCity();
            const int32_t citySize = city ? city->GetSizeLevel() : 0;
            score += citySize == 0 ? income / 2 : income / (citySize + 4);
            score += static_cast<int32_t>(neighbour->GetTradingPostValue());
            if (neighbour->GetTradingPost())
                score *= 3;
            if (neighbour->continent == 2)
                score /= 2;
            if (city && city->GetFortress().level >= 1.0f &&
                !UnitsStandingIn(neighbour->GetNumber()).empty())
                score /= 10;
        }
        score = std::max(score, 0);
    }
    if (std::find(std::begin(kRichRaidZones), std::end(kRichRaidZones), zone.GetNumber()) !=
        std::end(kRichRaidZones))
        score *= 2;
    return score > 0 ? GameRand() % score : 0;
}

int32_t CCountryType6::ChooseRaidZone() {
    int32_t best = kDefaultRaidZone;
    int32_t bestScore = 0;
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        const CProvince* zone = GetProvince(id);
        if (!zone || zone->area != kSeaArea || static_cast<uint32_t>(id) == lastRaidZone)
            continue;
        const int32_t score = RateRaidZone(*zone);
        if (score > bestScore) {
            best = id;
            bestScore = score;
        }
    }
    lastRaidZone = static_cast<uint32_t>(best);
    return best;
}

void CCountryType6::ScheduleRaid() {
    nextRaidDate = Today();
    const int32_t first = GameRand() % 25;
    const int32_t second = GameRand() % 25;
    nextRaidDate.AddDays(25 + first + second);

    const int32_t chance = GetPirateRaidChance(ThisYear());
    if (static_cast<int32_t>(m_units.GetCount()) >= GetPirateFleetLimit())
        return;
    if (GameRand() % 100 >= chance)
        return;
    const int32_t zone = ChooseRaidZone();

    const ObjectId fleet = NewObjectId();
    auto create = std::make_unique<COVFleetEvent>(EVT_CREATE_FLEET, GetId());
    COVEventData& payload = create->Payload();
    payload.Set(NewUnitHead::kProvince, static_cast<uint32_t>(zone));
    payload.Set(NewUnitHead::kDate, Today());
    payload.Set(NewUnitHead::kUnit, fleet);
    payload.Set(NewUnitHead::kReady, Today());
    payload.Set(NewUnitHead::kCountry, GetId());
    payload.Set(COVFleetEvent::kWarships, static_cast<uint32_t>(2 + GameRand() % 3));
    payload.Set(COVFleetEvent::kGalleys, 0u);
    payload.Set(COVFleetEvent::kTransports, 0u);
    PostAndSendEventNow(std::move(create));

    // The naval level follows the great naval powers.
    int32_t naval = GetNavalTech().GetLevel();
    if (CCountry* england = CountryOfNumber(kEngland))
        naval = england->GetNavalTech().GetLevel() - 1;
    else if (CCountry* holland = CountryOfNumber(kHolland))
        naval = holland->GetNavalTech().GetLevel() - 1;
    else if (CCountry* france = CountryOfNumber(kFrance))
        naval = france->GetNavalTech().GetLevel();
    naval = std::max(naval, 1);
    const int32_t before = GetNavalTech().GetLevel();
    GetNavalTech().SetLevel(naval);
    if (naval != before)
        UpdateUnitSpriteLevels(*this);
}

void CCountryType6::MovePirateFleets() {
    for (CUnit* unit : UnitsOf(*this)) {
        if (unit->IsRetreating() || !IsFreeOfFieldCombat(*unit))
            continue;
        const CProvince* here = GetProvince(unit->GetLocation());
        if (!here || unit->GetLocation() == 0)
            continue;
        const int32_t leading = LeadingNeighbourCount(*here);
        // A province without neighbours offers nowhere to go.
        if (leading == 0)
            continue;
        const int32_t to = here->neighbours[static_cast<size_t>(GameRand() % leading)].id;
        const CProvince* next = GetProvince(to);
        if (!next || to == 0)
            continue;
        const int32_t a = RateRaidZone(*next) + 1;
        const int32_t b = RateRaidZone(*here) + 1;
        if (next->area == kSeaArea && a > b)
            MoveUnitsTo({unit}, to);
    }
}

// ---------------------------------------------------------------------------
// The factory's variants

namespace {

template <class T> std::unique_ptr<CCountry> MakeVariant(uint32_t number) {
    return std::make_unique<T>(number);
}

const bool g_variantsRegistered = [] {
    g_countryVariants.type4 = &MakeVariant<CCountryType4>;
    g_countryVariants.type5 = &MakeVariant<CCountryType5>;
    g_countryVariants.type6 = &MakeVariant<CCountryType6>;
    return true;
}();

} // namespace
