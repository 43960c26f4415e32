// Random leaders and random monarchs: their names from the per-country
// lists, their default abilities, and their making on the host.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryTags.h"
#include "country/CsvRows.h"
#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/Monarch.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"

std::array<CGrowArray<std::string>, 99> g_randomLeaderNames;

namespace {

constexpr const char* kRandomLeadersFile = "db\\leaders\\randomleaders.csv";

std::unique_ptr<COVEvent> MakeCreateLeaderEvent(const CLeader& leader, const ObjectId& receiver) {
    auto event = std::make_unique<COVCreateLeaderEvent>(EVT_CREATE_LEADER, receiver);
    COVEventData& payload = event->Payload();
    payload.Set(COVCreateLeaderEvent::kRank, static_cast<uint32_t>(leader.rank));
    payload.Set(COVCreateLeaderEvent::kManoeuvre, static_cast<uint32_t>(leader.manoeuvre));
    payload.Set(COVCreateLeaderEvent::kFire, static_cast<uint32_t>(leader.fire));
    payload.Set(COVCreateLeaderEvent::kShock, static_cast<uint32_t>(leader.shock));
    payload.Set(COVCreateLeaderEvent::kSiege, static_cast<uint32_t>(leader.siege));
    payload.Set(COVCreateLeaderEvent::kCategory, static_cast<uint32_t>(leader.category));
    payload.Set(COVCreateLeaderEvent::kLeader, leader.GetId());
    payload.Set(COVCreateLeaderEvent::kName, leader.GetName());
    payload.Set(COVCreateLeaderEvent::kEndDate, leader.endDate);
    payload.Set(COVCreateLeaderEvent::kStartDate, leader.startDate);
    return event;
}

uint8_t Byte(int32_t value) {
    return static_cast<uint8_t>(value);
}

std::unique_ptr<COVEvent> MakeCreateMonarchEvent(const CMonarch& monarch,
                                                 const ObjectId& receiver) {
    const CLeader& leader = monarch.GetLeader();
    auto event = std::make_unique<COVCreateMonarchEvent>(EVT_CREATE_MONARCH, receiver);
    COVEventData& payload = event->Payload();
    payload.Set(COVCreateMonarchEvent::kRank, Byte(leader.rank));
    payload.Set(COVCreateMonarchEvent::kManoeuvre, Byte(leader.manoeuvre));
    payload.Set(COVCreateMonarchEvent::kFire, Byte(leader.fire));
    payload.Set(COVCreateMonarchEvent::kShock, Byte(leader.shock));
    payload.Set(COVCreateMonarchEvent::kSiege, Byte(leader.siege));
    payload.Set(COVCreateMonarchEvent::kSpecial, Byte(leader.special));
    payload.Set(COVCreateMonarchEvent::kCategory, static_cast<uint32_t>(leader.category));
    payload.Set(COVCreateMonarchEvent::kLeader, leader.GetId());
    payload.Set(COVCreateMonarchEvent::kName, leader.GetName());
    payload.Set(COVCreateMonarchEvent::kEndDate, leader.endDate);
    payload.Set(COVCreateMonarchEvent::kStartDate, leader.startDate);
    payload.Set(COVCreateMonarchEvent::kMil, Byte(monarch.mil));
    payload.Set(COVCreateMonarchEvent::kDip, Byte(monarch.dip));
    payload.Set(COVCreateMonarchEvent::kAdm, Byte(monarch.adm));
    return event;
}

// An end date of day and month 0 gets a random day and month.
void DrawEndDayAndMonth(CLeader& leader) {
    if (leader.endDate.day != 0 || leader.endDate.month != 0)
        return;
    leader.endDate.day = static_cast<uint8_t>(GameRand() % 30);
    leader.endDate.month = static_cast<uint8_t>(GameRand() % 12);
}

} // namespace

bool LoadRandomLeaderNames() {
    for (auto& list : g_randomLeaderNames)
        list.Clear();
    CCsvReader reader(kRandomLeadersFile);
    if (!reader.IsOpen())
        return false; // the reader has shown the missing file
    std::vector<std::string> cells;
    for (int line = 1; ReadCsvRow(reader, cells); ++line) {
        const std::string tag = CsvCell(cells, 1);
        const std::string name = CsvCell(cells, 2);
        const int32_t country = FindCountryByTag(tag.c_str());
        if (country <= 0 || name.empty()) {
            DebugPrint("%s line %d: %s, skipped\n", kRandomLeadersFile, line,
                       country <= 0 ? "unknown country tag" : "no name");
            continue;
        }
        g_randomLeaderNames[static_cast<size_t>(country)].Add(name);
    }
    return true;
}

std::string GetRandomLeaderName(uint32_t country, int32_t seed) {
    if (country >= g_randomLeaderNames.size() || g_randomLeaderNames[country].IsEmpty())
        return GetCountryDisplayName(country);
    const CGrowArray<std::string>& names = g_randomLeaderNames[country];
    const int64_t r = seed != 0 ? seed : GameRand();
    return names.At(r < 0 ? r : r % names.GetCount());
}

CRandomLeader* CreateRandomLeader(uint32_t country, const ObjectId& unit, int32_t category) {
    CCountry* owner = CountryOfNumber(country);
    if (!owner || !g_leaderRegistry)
        return nullptr;
    auto leader = std::make_unique<CRandomLeader>();
    leader->SetName(GetRandomLeaderName(country, 0));
    leader->SetId(NewObjectId());
    if (category == -1) {
        const auto* found = dynamic_cast<const CUnit*>(ResolveId(unit));
        category = found && found->IsFleet() ? LEADER_ADMIRAL : LEADER_GENERAL;
    }
    leader->category = category;
    leader->SetAbilities(country);
    leader->SetCountry(owner);
    SendEventOnly(MakeCreateLeaderEvent(*leader, owner->GetId()));
    return g_leaderRegistry->Keep(std::move(leader));
}

CMonarch* CreateRandomMonarch(CCountry& country) {
    auto monarch = std::make_unique<CMonarch>();
    CLeader& leader = monarch->GetLeader();
    leader.SetName(GetRandomLeaderName(country.GetNumber(), 0));
    leader.SetId(NewObjectId());
    leader.category = LEADER_MONARCH;
    monarch->SetRandomReign();
    leader.SetCountry(&country);
    // The reign is complete before the other machines hear of it.
    DrawEndDayAndMonth(leader);
    SendEventOnly(MakeCreateMonarchEvent(*monarch, country.GetId()));
    CMonarch* made = monarch.get();
    country.m_monarch.reset(monarch.release());

    auto replacement =
        std::make_unique<COVDataEvent>(EVT_REQUEST_REPLACEMENT_MONARCH, g_leaderRequestsId);
    replacement->Payload().Set(ReplacementMonarchPayload::kMonarch, made->GetId());
    replacement->Payload().Set(ReplacementMonarchPayload::kCountry, country.GetNumber());
    PostEventAt(std::move(replacement), made->GetLeader().endDate);
    return made;
}
