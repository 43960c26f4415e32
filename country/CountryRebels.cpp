// Rebel armies, the collapse of a country, scandals, annexation and the
// scenario mission's progress.
#include "country/CountryRebels.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/Relations.h"
#include "country/War.h"
#include "engine/Random.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/Territory.h"
#include "world/TradingPost.h"

bool g_noRevolts = false;
ReplacedCountryPair g_replacedCountry;
int32_t (*g_revoltRiskOf)(const CProvince& province) = [](const CProvince& province) {
    return province.GetRevoltRisk();
};

namespace {

constexpr const char* kScandalKeys[] = {"SCANDALTYPESEX", "SCANDALTYPEMONEY", "SCANDALTYPEFAMILY",
                                        "SCANDALTYPECORRUPTION", "SCANDALTYPEBETRAYAL"};

// The items of a list, head to tail, so that the walk survives changes of
// the list made on the way.
template <class Item> std::vector<Item> Items(const TListBase<Item>& list) {
    std::vector<Item> items;
    typename TListBase<Item>::CListPosition position;
    list.GetHeadPosition(position);
    for (; position; position = position->next)
        if (!position->removed)
            items.push_back(position->item);
    return items;
}

bool HeldByRebels(int32_t provinceId) {
    const CProvince* province = GetProvince(provinceId);
    return province && province->GetControllerNumber() == static_cast<int32_t>(kRebelCountry);
}

bool IsRebelOrOutlaw(int64_t number) {
    return number >= 96 && number <= 98;
}

// A count of men or guns for a message: truncated, held within 0..UINT32_MAX.
uint32_t ToCount(double value) {
    if (!(value > 0.0))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(value);
}

// Holland, whose absence lets its provinces rise in force.
constexpr uint32_t kHolland = 4;

bool IsChristian(uint32_t religion) {
    return religion <= RELIGION_ORTHODOX;
}

bool IsMuslim(uint32_t religion) {
    return religion == RELIGION_SUNNI || religion == RELIGION_SHIITE;
}

// The numbers of the countries whose armies are three parts foot and one
// part horse.
bool RaisesHorse(uint32_t number) {
    constexpr uint32_t kNumbers[] = {7,  10, 13, 14, 15, 16, 17, 23, 24, 32, 34,
                                     35, 39, 40, 45, 48, 53, 54, 58, 59, 94};
    return std::find(std::begin(kNumbers), std::end(kNumbers), number) != std::end(kNumbers);
}

std::vector<CUnit*> UnitsOf(const CLinkedList<CUnit>& list) {
    std::vector<CUnit*> units;
    for (CUnit* unit : Items(list))
        if (unit)
            units.push_back(unit);
    return units;
}

bool FactsOf(const CUnit& unit, UnitFacts& facts) {
    if (!g_countryMilitary.describeUnit)
        return false;
    g_countryMilitary.describeUnit(unit, facts);
    return true;
}

void SendSwitchAllegiance(const ObjectId& unit, uint32_t country) {
    auto event = std::make_unique<COVDataEvent>(EVT_SWITCH_ALLEGIANCE, MakeCountryId(country));
    event->Payload().Set(SwitchAllegiancePayload::kUnit, unit);
    ExecuteAndSendEvent(std::move(event));
}

std::unique_ptr<COVEvent> ControlChange(uint32_t controller, int32_t province) {
    return std::make_unique<COVProvinceEvent>(EVT_PROVCHANGECONTROL, MakeCountryId(controller),
                                              static_cast<uint32_t>(province));
}

std::unique_ptr<COVEvent> MonarchValues(const CCountry& country, const int32_t (&values)[3]) {
    auto event = std::make_unique<COVDataEvent>(EVT_SET_MONARCH_VALUES, country.GetId());
    event->Payload().Set(MonarchValuesPayload::kAdm, values[0]);
    event->Payload().Set(MonarchValuesPayload::kDip, values[1]);
    event->Payload().Set(MonarchValuesPayload::kMil, values[2]);
    return event;
}

void AddToTotal(int32_t& total, int32_t amount) {
    const int64_t sum = static_cast<int64_t>(total) + amount;
    total = static_cast<int32_t>(std::clamp<int64_t>(sum, 0, std::numeric_limits<int32_t>::max()));
}

template <class T> void Erase(std::vector<T>& values, const T& value) {
    values.erase(std::remove(values.begin(), values.end(), value), values.end());
}

// Country n leaves every war and alliance: the peace dates between it and
// the other side are stamped, and a war whose side it leaves empty ends.
void LeaveTreaties(CCountry& leaving) {
    const uint32_t n = leaving.GetNumber();
    for (size_t i = 0; i < g_wars.size();) {
        CWar& war = *g_wars[i];
        const bool attacking = war.IsAttacker(n);
        if (!attacking && !war.IsDefender(n)) {
            ++i;
            continue;
        }
        CAlliance* own = attacking ? war.attackers.get() : war.defenders.get();
        const CAlliance* other = attacking ? war.defenders.get() : war.attackers.get();
        if (other)
            for (uint32_t enemy : other->participants) {
                leaving.EndWarWith(enemy);
                if (CCountry* country = CountryOfNumber(enemy))
                    country->EndWarWith(n);
            }
        Erase(own->participants, n);
        Erase(own->candidates, n);
        if (own->participants.empty())
            g_wars.erase(g_wars.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    for (const std::unique_ptr<CAlliance>& alliance : g_alliances) {
        Erase(alliance->participants, n);
        Erase(alliance->candidates, n);
    }
}

// A province changes owner to the country: its settlement follows it from
// the old owner's lists, and the territories follow where they are formed.
void TakeOwnership(CProvince& province, CCountry& country, CCountry& oldOwner) {
    const bool hadTerritory = province.territory != nullptr;
    province.SetOwner(&country);
    if (CCity* city = province.GetCity()) {
        oldOwner.m_cities.Remove(city);
        if (!country.m_cities.Contains(city))
            country.m_cities.AddTail(city);
    }
    if (CTradingPost* post = province.GetTradingPost()) {
        oldOwner.m_tradingPosts.Remove(post);
        if (!country.m_tradingPosts.Contains(post))
            country.m_tradingPosts.AddTail(post);
    }
    if (hadTerritory)
        UpdateTerritories(province, &country, &oldOwner, false);
}

// The army's men that stay home when a released nation takes it over from
// the rebels: a tenth.
constexpr float kDesertersOnRelease = 0.1f;

} // namespace

const char* GetScandalTypeKey(int32_t kind) {
    if (kind < 0 || kind >= static_cast<int32_t>(std::size(kScandalKeys)))
        return nullptr;
    return kScandalKeys[kind];
}

std::string GetScandalTypeText(int32_t kind) {
    const char* key = GetScandalTypeKey(kind);
    return key ? std::string(g_textDatabase.GetText(key)) : std::string();
}

// ---------------------------------------------------------------------------
// Revolts

int32_t CCountry::GetCivilWarChance(int32_t stabilityLevel, int32_t ownedProvinces, uint32_t number,
                                    bool major) {
    if (stabilityLevel >= 2)
        return 0;
    const int32_t n = std::max(ownedProvinces, 0);
    int32_t chance;
    switch (stabilityLevel) {
    case 1:
        chance = n / 10 + 2;
        break;
    case 0:
        chance = n / 9 + 3;
        break;
    case -1:
        chance = n / 8 + 5;
        break;
    case -2:
        chance = n / 6 + 9;
        break;
    default:
        chance = n / 5 + 10;
        break;
    }
    if (number == 2)
        chance *= 2;
    else if (number == 8)
        chance /= 2;
    if (!major)
        chance /= 10;
    return chance;
}

void CCountry::RevoltPass(int32_t bonus) {
    if (CScenario::IsTutorial() || !IsOrdinaryCountry(m_number))
        return;
    const std::vector<int32_t> controlled = Items(m_controlledProvinces);
    if (controlled.size() > 1) {
        for (int32_t id : controlled) {
            const CProvince* province = GetProvince(id);
            if (!province)
                continue;
            if (GameRand() % 175 < g_revoltRiskOf(*province) + bonus)
                RaiseRevolt(id);
        }
    }

    if (controlled.size() <= 4 || IsAtWar())
        return;
    const int32_t level = static_cast<int32_t>(std::floor(GetStability()));
    if (level >= 2)
        return;
    const int32_t chance = GetCivilWarChance(
        level, static_cast<int32_t>(m_ownedProvinces.GetCount()), m_number, m_major != 0);
    if (GameRand() % 10000 >= chance)
        return;

    // Civil war: half the armies and a quarter of the provinces go over.
    std::vector<ObjectId> armies;
    for (CUnit* unit : UnitsOf(m_units)) {
        UnitFacts facts;
        if (FactsOf(*unit, facts) && !facts.fleet)
            armies.push_back(facts.id);
    }
    for (const ObjectId& army : armies)
        if (GameRand() % 100 < 50)
            SendSwitchAllegiance(army, kRebelCountry);
    for (int32_t id : Items(m_ownedProvinces)) {
        const CProvince* province = GetProvince(id);
        if (!province || province->GetControllerNumber() != static_cast<int32_t>(m_number))
            continue;
        if (GameRand() % 100 < 25)
            ExecuteAndSendEvent(ControlChange(kRebelCountry, id));
    }
    if (IsLocalHuman())
        PostGameMessage0(kNoticeCivilWarOwn, m_number);
    else
        PostGameMessage1(kNoticeCivilWarOther, m_number, GetName(), GetName());
}

void CCountry::RaiseRevolt(int32_t provinceId) {
    if (g_noRevolts || provinceId == 0)
        return;
    CProvince* province = GetProvince(provinceId);
    if (!province || HeldByRebels(provinceId))
        return;
    const CCity* city = province->GetCity();
    const int32_t risk = g_revoltRiskOf(*province);
    const int32_t sizeValue = city ? TruncateToInt(city->GetFortress().level) : 0;

    double base = province->GetTotalIncome() + GameRand() % 10 - GetStability();
    if (city)
        base += sizeValue / 2 + 2 * city->GetSizeLevel();

    double countryFactor = m_major ? 1.0 : 0.5;
    const uint32_t religion = m_religion.stateReligion;
    if (IsMuslim(religion))
        countryFactor = 1.4;
    else if (m_number == 6 || m_number == 9)
        countryFactor = 0.5;
    else if (m_number == 7 || m_number == 10 || m_number == 13)
        countryFactor = 1.4;

    double landFactor = province->continent == 2 ? 1.0 : 0.75;
    if (province->region == 6)
        landFactor = 0.5;
    else if (province->region == 12 || province->region == 20 || province->region == 24)
        landFactor = 1.1;

    const double size = base * countryFactor * landFactor * 500.0;
    double infantry = size;
    double cavalry = 0.0;
    if (RaisesHorse(m_number)) {
        infantry = 0.75 * size;
        cavalry = 0.25 * size;
    }
    double artillery = (GetGameDate().year - 1550) / 25;

    if (city) {
        if (!city->IsLargeCity())
            infantry = std::min(infantry, static_cast<double>(city->GetPopulation()));
        else
            infantry = std::max(infantry, 5000.0 * sizeValue + 2500.0);
    }
    if (province->IsDutchProvince() && g_globals.EventFlag(2) && !CountryOfNumber(kHolland) &&
        risk > 10) {
        infantry = std::max(infantry, 5000.0 * sizeValue + 1000.0);
        cavalry = infantry / 3.0;
        artillery = (sizeValue + 2) * 5.0;
    }
    if (city && city->manufactory != CCity::MANUFACTORY_NONE && sizeValue == 0 && IsHost() &&
        GameRand() % 100 < 50) {
        if (const CCountry* owner = province->GetOwner())
            PostAndSendEventNow(std::make_unique<COVProvinceEvent>(
                EVT_UNNAMED_123, owner->GetId(), static_cast<uint32_t>(provinceId)));
    }
    infantry = std::max(infantry, 100.0);
    cavalry = std::max(cavalry, 0.0);
    artillery = std::max(artillery, 0.0);

    if (city && province->GetControllerNumber() == province->GetOwnerNumber() &&
        GameRand() % 100 < std::min(40, 4 * risk) + 1) {
        PostAndSendEventNow(ControlChange(kRebelCountry, provinceId));
        // The halving keeps the army at its least size.
        infantry = std::max(infantry / 2.0, 100.0);
        cavalry /= 2.0;
        artillery /= 2.0;
    }

    auto event = std::make_unique<COVArmyEvent>(EVT_CREATE_ARMY, MakeCountryId(kRebelCountry));
    COVEventData& payload = event->Payload();
    const CDate today = GetGameDate();
    payload.Set(NewUnitHead::kProvince, static_cast<uint32_t>(provinceId));
    payload.Set(NewUnitHead::kDate, today);
    payload.Set(NewUnitHead::kUnit, NewObjectId());
    payload.Set(NewUnitHead::kReady, today);
    payload.Set(NewUnitHead::kCountry, MakeCountryId(kRebelCountry));
    payload.Set(COVArmyEvent::kInfantry, ToCount(infantry));
    payload.Set(COVArmyEvent::kCavalry, ToCount(cavalry));
    payload.Set(COVArmyEvent::kArtillery, ToCount(artillery));
    PostAndSendEventNow(std::move(event));
}

// ---------------------------------------------------------------------------
// Released nations and the break-up

bool CCountry::ReleasePass(bool quiet) {
    const CDate today = GetGameDate();
    for (int32_t id : Items(m_ownedProvinces)) {
        const CProvince* province = GetProvince(id);
        if (!province)
            continue;
        const int32_t claim = province->revoltCountry;
        if (claim <= 0 || claim >= static_cast<int32_t>(kCountrySlots) || CountryOfNumber(claim))
            continue;
        const uint32_t c = static_cast<uint32_t>(claim);
        const CCountryDefinition* definition = g_globals.RevoltDefinition(c);
        if (!definition || !today.IsNotBefore(definition->date))
            continue;
        // A definition without an expiry date does not expire.
        if (definition->expiryDate.year > 0 && today.IsAfter(definition->expiryDate))
            continue;
        if (c == 73) {
            const CCountry* first = CountryOfNumber(1);
            if (first && first->m_religion.stateReligion != RELIGION_REFORMED)
                continue;
        }
        if ((c == 74 && !g_globals.EventFlag(2)) || (c == 75 && !g_globals.EventFlag(1)))
            continue;
        // A nation rises only with provinces of its own.
        const std::vector<int32_t> minimum = Items(definition->minimum);
        if (minimum.empty() || !std::all_of(minimum.begin(), minimum.end(), HeldByRebels))
            continue;
        if (!quiet && GameRand() % 100 >= 50)
            continue;

        std::vector<uint32_t> provinces(minimum.begin(), minimum.end());
        for (int32_t extra : Items(definition->extra))
            if (HeldByRebels(extra))
                provinces.push_back(static_cast<uint32_t>(extra));
        auto create = std::make_unique<COVCreateCountryEvent>(GetId(), provinces);
        create->Payload().Set(COVCreateCountryEvent::kCountry, c);
        create->Payload().Set(COVCreateCountryEvent::kReleaser, m_number);
        ExecuteAndSendEvent(std::move(create));

        for (uint32_t released : provinces) {
            const int32_t at = static_cast<int32_t>(released);
            if (!HeldByRebels(at))
                continue;
            ExecuteAndSendEvent(ControlChange(c, at));
            CCountry* rebels = CountryOfNumber(kRebelCountry);
            if (!rebels)
                continue;
            std::vector<std::pair<CUnit*, UnitFacts>> standing;
            for (CUnit* unit : UnitsOf(rebels->m_units)) {
                UnitFacts facts;
                if (FactsOf(*unit, facts) && facts.province == at)
                    standing.emplace_back(unit, facts);
            }
            for (auto& [unit, facts] : standing) {
                if (!facts.fleet && g_countryMilitary.sendUnitLosses)
                    g_countryMilitary.sendUnitLosses(
                        *unit,
                        static_cast<float>(facts.troops[0] + facts.troops[1]) * kDesertersOnRelease,
                        0);
                SendSwitchAllegiance(facts.id, c);
            }
        }

        CCountry* nation = CountryOfNumber(c);
        if (nation && !quiet) {
            nation->SendGetDiplomat(1);
            CDate expiry = today;
            expiry.AddYears(1);
            auto cb = std::make_unique<COVDataEvent>(EVT_GIVECB, nation->GetId());
            cb->Payload().Set(CasusBelliPayload::kExpiry, expiry);
            cb->Payload().Set(CasusBelliPayload::kAgainst, GetId());
            cb->Payload().Set(CasusBelliPayload::kFlags[0], 1);
            cb->Payload().Set(CasusBelliPayload::kFlags[1], 0);
            ExecuteAndSendEvent(std::move(cb));
            nation->SendSetupWar(m_number);
        }
        // Only a nation that now exists counts: a pass whose message made
        // none would find the same province again and again.
        return nation != nullptr;
    }
    return false;
}

void CCountry::CheckCollapse() {
    RevoltPass(0);
    ReleasePass(false);
    if (CountRebelProvinces() > CountProvincesWithoutColony())
        Break();
}

void CCountry::Break() {
    if (m_major && g_gameType == 3)
        return;
    // Each release makes a country of a number that had none, so the
    // passes end by themselves; the bound is only a guard.
    for (uint32_t pass = 0; pass < kCountrySlots && ReleasePass(true); ++pass) {
    }
    ExecuteAndSendEvent(std::make_unique<COVSimpleEvent>(EVT_COUNTRY_BROKEN, GetId()));
}

// ---------------------------------------------------------------------------
// Annexation

void CCountry::Annex(uint32_t n) {
    CCountry* annexed = CountryOfNumber(n);
    if (!annexed || annexed == this)
        return;

    // 1. The world takes note.
    const std::vector<int32_t> owned = Items(annexed->m_ownedProvinces);
    const uint32_t ownReligion = m_religion.stateReligion;
    const uint32_t theirReligion = annexed->m_religion.stateReligion;
    const bool acrossTheDivide = (IsChristian(ownReligion) && IsMuslim(theirReligion)) ||
                                 (IsMuslim(ownReligion) && IsChristian(theirReligion));
    AddToTotal(m_badBoy, static_cast<int32_t>(owned.size()) + (acrossTheDivide ? 0 : 5));

    // 2. Its provinces, their control (but where an enemy of ours holds them)
    // and its claims on them.
    for (int32_t id : owned) {
        CProvince* province = GetProvince(id);
        if (!province)
            continue;
        const int32_t controller = province->GetControllerNumber();
        TakeOwnership(*province, *this, *annexed);
        const bool enemyHolds = controller >= 0 && controller != static_cast<int32_t>(n) &&
                                controller != static_cast<int32_t>(m_number) &&
                                !IsRebelOrOutlaw(controller) && IsHostileTo(controller);
        if (!enemyHolds)
            province->SetControllerField(this);
        if (annexed->m_nationalProvinces.Contains(id) && !m_nationalProvinces.Contains(id))
            m_nationalProvinces.AddTail(id);
    }

    // 3. What it holds of others goes back to their owners; what it knows
    // we learn.
    for (int32_t id : Items(annexed->m_controlledProvinces)) {
        CProvince* province = GetProvince(id);
        if (!province)
            continue;
        CCountry* owner = province->GetOwner();
        province->SetControllerField(owner && owner != annexed ? owner : this);
    }
    for (int32_t id : Items(annexed->m_knownProvinces)) {
        if (!m_knownProvinces.Contains(id))
            m_knownProvinces.AddTail(id);
        if (CProvince* province = GetProvince(id); province && m_number < kCountrySlots)
            province->discoveredBy[m_number] = 1;
    }

    // 4. Its merchants come home to us; its loans and missions end.
    for (int32_t slot = 0; slot < CCotCalc::kSlotCount; ++slot) {
        CCentreOfTrade* centre = g_cotCalc.GetSlot(slot);
        if (!centre || !centre->GetMerchant(n))
            continue;
        centre->RemoveMerchant(n);
        centre->RecountTotal();
        AddMerchants(1.0f);
    }
    annexed->m_loans.clear();
    for (CKeptBlock& mission : annexed->m_missions)
        mission.Clear();
    annexed->m_activeMissionIds.fill(g_nullId);
    annexed->m_activeMissionCount = 0;
    annexed->m_missionArea.RemoveAll();

    // 5. Its armies and fleets serve us.
    if (g_countryMilitary.setUnitOwner) {
        for (bool developing : {false, true}) {
            CLinkedList<CUnit>& from =
                developing ? annexed->m_unitsInDevelopment : annexed->m_units;
            for (CUnit* unit : UnitsOf(from)) {
                annexed->RemoveUnit(unit);
                g_countryMilitary.setUnitOwner(*unit, *this);
                if (developing)
                    m_unitsInDevelopment.AddTail(unit);
                else
                    AddUnit(unit);
                UnitFacts facts;
                if (FactsOf(*unit, facts) && !facts.fleet) {
                    AddToTotal(m_infantryTotal, facts.troops[0]);
                    AddToTotal(m_cavalryTotal, facts.troops[1]);
                    AddToTotal(m_artilleryTotal, facts.troops[2]);
                }
            }
        }
    }

    // 6. It leaves its wars and alliances.
    LeaveTreaties(*annexed);

    // 7. Messages still on their way to it go nowhere.
    g_replacedCountry = {annexed->GetId(), GetId()};
    const ObjectId gone = annexed->GetId();
    g_scheduler.ForEachEvent([&gone](COVEvent* event) {
        if (event && event->GetReceiver() == gone)
            event->Payload().SetReceiver(g_nullId);
    });
    if (annexed->GetStability() > 0 && annexed->GetStability() > GetStability())
        IncreaseStability(1);

    // 8. It is gone.
    g_countryList.RemoveAndDelete(annexed);
    SendRefreshWindows();
    for (CCountry* country : g_countries)
        if (country)
            country->RecountProvinces();
    RebuildDiplomaticStatus();
}

// ---------------------------------------------------------------------------
// Scandals

void CCountry::PostScandal(int32_t kind, int32_t amount, int32_t months) {
    if (!m_monarch || kind < 0 || kind > 2)
        return;
    const int32_t values[3] = {GetMonarchAdm(), GetMonarchDip(), GetMonarchMil()};
    int32_t lowered[3] = {values[0], values[1], values[2]};
    const int32_t value = values[kind];
    lowered[kind] = std::min(value, std::max(value - std::max(amount, 0), 1));
    PostAndSendEventNow(MonarchValues(*this, lowered));
    CDate restore = GetGameDate();
    restore.AddMonths(std::max(months, 0));
    PostEventAtAndSend(MonarchValues(*this, values), restore);
}

// ---------------------------------------------------------------------------
// Mission progress

void CCountry::UpdateMissionProgress(int32_t kind) {
    if (!m_major || g_gameType != 3)
        return;
    if (kind != -1 && kind != m_missionType)
        return;
    const std::vector<int32_t> goals = Items(m_missionArea);
    const float n = static_cast<float>(goals.size());
    const int32_t self = static_cast<int32_t>(m_number);
    const auto count = [&goals](auto&& test) {
        return static_cast<float>(std::count_if(goals.begin(), goals.end(), test));
    };
    const auto owns = [self](int32_t id) {
        const CProvince* province = GetProvince(id);
        return province && province->GetOwnerNumber() == self;
    };
    const auto controls = [self](int32_t id) {
        const CProvince* province = GetProvince(id);
        return province && province->GetControllerNumber() == self;
    };
    const CProvince* target = GetProvince(m_missionProvince);

    switch (m_missionType) {
    case 0:
        if (n > 0)
            m_missionPercentage +=
                20.1f / (12.0f * n) * count([&](int32_t id) { return owns(id) && controls(id); });
        break;
    case 1:
        if (n > 0)
            m_missionPercentage += 10.1f / (12.0f * n) * count(controls);
        break;
    case 2:
        if (n > 0)
            m_missionPercentage +=
                101.0f / n * count([&](int32_t id) { return id == m_missionProvince && owns(id); });
        break;
    case 3:
        if (n > 0)
            m_missionPercentage +=
                101.0f / n * count([&](int32_t id) { return id == m_missionProvince; });
        break;
    case 4: {
        int32_t centres = 0;
        for (int32_t slot = 0; slot < CCotCalc::kSlotCount; ++slot)
            if (const CCentreOfTrade* centre = g_cotCalc.GetSlot(slot))
                if (const CCotMerchant* merchant = centre->GetMerchant(m_number);
                    merchant && merchant->level > 5.0f)
                    ++centres;
        m_missionPercentage = 10.0f * static_cast<float>(centres);
        break;
    }
    case 5:
        // The city must be one of ours, held by us: a young settlement.
        if (target && target->GetCity() && owns(m_missionProvince) && controls(m_missionProvince) &&
            target->GetCity()->GetPopulation() < 800.0f)
            m_missionPercentage += 10.0f;
        break;
    case 6:
        if (target && target->GetTradingPost() && target->GetTradingPost()->level > 5.0f)
            m_missionPercentage += 5.0f;
        break;
    case 7:
        m_missionPercentage += 20.0f;
        break;
    case 8:
        // Exploration: the goal provinces the country has discovered.
        if (n > 0 && m_number < kCountrySlots)
            m_missionPercentage += 10.1f / (12.0f * n) * count([this](int32_t id) {
                                       const CProvince* province = GetProvince(id);
                                       return province && province->discoveredBy[m_number] != 0;
                                   });
        break;
    default:
        break;
    }
}
