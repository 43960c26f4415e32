// The country's handlers for its forces and people: troops, ships and
// leaders moved between its units, a unit changing allegiance, and a new
// country released from this one.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/CountryReligion.h"
#include "country/CountryTick.h"
#include "country/Relations.h"
#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Senders.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/Province.h"

namespace {

constexpr int32_t kNoticeNewNation = 98;
constexpr uint32_t kDutchNation = 4;
constexpr uint32_t kFrenchProtestants = 74;
constexpr uint32_t kSwissProtestants = 75;

void SetReligion(CCountry& country, uint32_t religion) {
    country.m_religion = GetDefaultTolerances(religion);
}

// Strength indexes of the unit kinds.
constexpr int32_t kArtillery = 0;
constexpr int32_t kCavalry = 1;
constexpr int32_t kInfantry = 2;
constexpr int32_t kWarships = 0;
constexpr int32_t kGalleys = 1;
constexpr int32_t kTransports = 2;

CUnit* FindUnitOf(const ObjectId& id) {
    return g_countryMilitary.findUnit ? g_countryMilitary.findUnit(id) : nullptr;
}

bool CanMoveTroops() {
    const CountryMilitaryHooks& m = g_countryMilitary;
    return m.findUnit && m.unitStrength && m.setUnitStrength && m.unitMorale && m.setUnitMorale;
}

// Moves n of the strength from unit A to unit B: both counts are first
// raised to the next whole number; B's morale becomes the mean of the two
// weighted by the troops; both recompute their strength. Fleets then share
// one date: the earlier of A's and the mean of the two weighted the same
// way. A count above what A holds drops the message.
void TransferStrength(COVEvent& event, int32_t index, bool ships) {
    if (!CanMoveTroops())
        return;
    const auto& payload = event.Payload();
    CUnit* from = FindUnitOf(payload.Get(UnitTransferPayload::kFrom));
    CUnit* to = FindUnitOf(payload.Get(UnitTransferPayload::kTo));
    if (!from || !to || from == to)
        return;
    const CountryMilitaryHooks& m = g_countryMilitary;
    const float a = std::ceil(m.unitStrength(*from, index));
    const float b = std::ceil(m.unitStrength(*to, index));
    const uint32_t count = payload.Get(UnitTransferPayload::kCount);
    if (static_cast<float>(count) > a) {
        DebugPrint("transfer: %u of %d asked, dropped\n", count, static_cast<int>(a));
        return;
    }
    const float n = static_cast<float>(count);
    m.setUnitStrength(*from, index, a - n);
    m.setUnitStrength(*to, index, b + n);
    if (b > 0.0f || n > 0.0f) {
        m.setUnitMorale(*to, (n * m.unitMorale(*from) + b * m.unitMorale(*to)) / (n + b));
        if (m.recomputeStrength)
            m.recomputeStrength(*to);
    }
    if (m.recomputeStrength)
        m.recomputeStrength(*from);
    if (!ships || !m.fleetDate || !m.setFleetDate || n + b <= 0.0f)
        return;
    const CDate dateA = m.fleetDate(*from);
    const CDate dateB = m.fleetDate(*to);
    const double mean = (n * static_cast<double>(dateA.GetDayCount()) +
                         b * static_cast<double>(dateB.GetDayCount())) /
                        static_cast<double>(n + b);
    CDate shared;
    shared.SetFromDays(std::min(dateA.GetDayCount(), static_cast<int32_t>(mean)));
    m.setFleetDate(*from, shared);
    m.setFleetDate(*to, shared);
}

} // namespace

int CCountry::OnTransferInfantry(COVEvent& event) {
    TransferStrength(event, kInfantry, false);
    return EVENT_CONSUMED;
}

int CCountry::OnTransferCavalry(COVEvent& event) {
    TransferStrength(event, kCavalry, false);
    return EVENT_CONSUMED;
}

int CCountry::OnTransferArtillery(COVEvent& event) {
    TransferStrength(event, kArtillery, false);
    return EVENT_CONSUMED;
}

int CCountry::OnTransferWarships(COVEvent& event) {
    TransferStrength(event, kWarships, true);
    return EVENT_CONSUMED;
}

int CCountry::OnTransferGalleys(COVEvent& event) {
    TransferStrength(event, kGalleys, true);
    return EVENT_CONSUMED;
}

int CCountry::OnTransferTransports(COVEvent& event) {
    TransferStrength(event, kTransports, true);
    return EVENT_CONSUMED;
}

int CCountry::OnTransferOneLeader(COVEvent& event) {
    const auto& payload = event.Payload();
    CUnit* from = FindUnitOf(payload.Get(LeaderTransferPayload::kFrom));
    CUnit* to = FindUnitOf(payload.Get(LeaderTransferPayload::kTo));
    if (from && to && g_countryMilitary.transferLeader)
        g_countryMilitary.transferLeader(*from, *to, payload.Get(LeaderTransferPayload::kLeader));
    return EVENT_CONSUMED;
}

int CCountry::OnTransferAllLeaders(COVEvent& event) {
    const auto& payload = event.Payload();
    CUnit* from = FindUnitOf(payload.Get(UnitTransferPayload::kFrom));
    CUnit* to = FindUnitOf(payload.Get(UnitTransferPayload::kTo));
    if (from && to && from != to && g_countryMilitary.transferAllLeaders)
        g_countryMilitary.transferAllLeaders(*from, *to);
    return EVENT_CONSUMED;
}

int CCountry::OnTransferAllArmies(COVEvent& event) {
    const auto& payload = event.Payload();
    CUnit* from = FindUnitOf(payload.Get(UnitTransferPayload::kFrom));
    CUnit* to = FindUnitOf(payload.Get(UnitTransferPayload::kTo));
    if (!from || !to || from == to || !g_countryMilitary.transferCargo)
        return EVENT_CONSUMED;
    g_countryMilitary.transferCargo(*from, *to);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnSwitchAllegiance(COVEvent& event) {
    CUnit* unit = FindUnitOf(event.Payload().Get(SwitchAllegiancePayload::kUnit));
    if (!unit || !g_countryMilitary.setUnitOwner)
        return EVENT_CONSUMED;
    for (CCountry* owner : g_countries)
        if (owner && owner != this && owner->RemoveUnit(unit))
            break;
    RemoveUnit(unit);
    g_countryMilitary.setUnitOwner(*unit, *this);
    AddUnit(unit);
    return EVENT_CONSUMED;
}

int CCountry::OnCreateCountry(COVEvent& event) {
    const COVCreateCountryEvent create(event);
    const uint32_t number = create.Payload().Get(COVCreateCountryEvent::kCountry);
    // The two countries, the count of provinces and each province, in the
    // ranges every received message is held to.
    if (const std::optional<PayloadFault> fault = CheckPayloadRoles(event.Payload())) {
        DebugPrint("create country: %s out of range, dropped\n",
                   DescribePayloadFault(*fault).c_str());
        return EVENT_CONSUMED;
    }
    if (CountryOfNumber(number)) {
        DebugPrint("create country: country %u exists already, refused\n", number);
        return EVENT_CONSUMED;
    }
    // The provinces the payload really holds; a bad id drops the message.
    const size_t room = event.Payload().Size() > COVCountedEvent::kBaseSize
                            ? (event.Payload().Size() - COVCountedEvent::kBaseSize) / 4
                            : 0;
    const size_t count = create.GetCount();
    if (count > room) {
        DebugPrint("create country: %zu provinces in room for %zu, dropped\n", count, room);
        return EVENT_CONSUMED;
    }
    std::vector<int32_t> provinces;
    for (size_t i = 0; i < count; ++i)
        provinces.push_back(static_cast<int32_t>(create.GetEntry(i)));

    CCountry* released = CCountry::Create(number);
    if (!released) {
        DebugPrint("create country: country %u could not be made\n", number);
        return EVENT_CONSUMED;
    }
    for (int32_t id : provinces)
        if (CProvince* province = GetProvince(id))
            province->ChangeOwner(released);

    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        if (!IsProvinceDiscovered(m_number, id))
            continue;
        if (!released->m_knownProvinces.Contains(id))
            released->m_knownProvinces.AddTail(id);
        DiscoverProvince(number, id);
    }

    if (g_countryTick.createRandomMonarch)
        g_countryTick.createRandomMonarch(*released);
    released->RecomputeCapital();
    const CProvince* capital = GetProvince(released->m_capital);
    if (capital && released->m_capital > 0)
        SetReligion(*released, static_cast<uint32_t>(capital->GetReligion()));
    released->SetAIPersonalityFile();
    released->m_diplomacy.Init(number);
    if (CCountry* french = CountryOfNumber(kFrenchProtestants))
        SetReligion(*french, RELIGION_REFORMED);
    if (CCountry* swiss = CountryOfNumber(kSwissProtestants))
        SetReligion(*swiss, RELIGION_PROTESTANT);

    released->m_technology.land.SetLevel(m_technology.land.GetLevel());
    released->m_technology.infra.SetLevel(m_technology.infra.GetLevel());
    released->m_technology.trade.SetLevel(m_technology.trade.GetLevel());
    released->m_technology.naval.SetLevel(m_technology.naval.GetLevel());

    for (CCountry* other : g_countries) {
        if (!other)
            continue;
        if (CRelation* relation = other->m_diplomacy.GetRelation(number)) {
            relation->country = number;
            relation->owner = other->GetNumber();
        }
    }
    RebuildDiplomaticStatus();

    PostGameMessage2(kNoticeNewNation, number, released->GetName(), released->GetName(), GetName());
    if (number == kDutchNation)
        g_globals.dutch = false;

    CFieldReader leaders;
    released->ReadLeaderHistory(leaders);
    CFieldReader monarchs;
    released->ReadMonarchHistory(monarchs);
    released->ReadAiFile();
    return EVENT_CONSUMED;
}
