// What a leader lends its unit, the default abilities of built-in and random
// leaders, and the lookup of a leader by its id.
#include <array>

#include "engine/GameTimer.h"
#include "engine/TextDatabase.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/Unit.h"
#include "world/Province.h"

namespace {

struct Abilities {
    uint32_t country;
    int32_t manoeuvre;
    int32_t fire;
    int32_t shock;
    int32_t siege;
};

// Admirals and explorers.
constexpr std::array<Abilities, 11> kNavalAbilities = {{
    {1, 3, 1, 1, 0},  // ENG
    {2, 2, 0, 1, 0},  // FRA
    {9, 2, 0, 1, 0},  // SWE
    {3, 0, 1, 1, 0},  // HAB
    {6, 0, 1, 1, 0},  // PRU
    {4, 2, 1, 1, 0},  // HOL
    {5, 3, 0, 0, 0},  // POR
    {8, 2, 1, 0, 0},  // SPA
    {10, 3, 0, 1, 0}, // TUR
    {11, 3, 1, 0, 0}, // VEN
    {0, 1, 0, 1, 0},  // any other
}};

// Generals, conquistadors and the rest.
constexpr std::array<Abilities, 16> kLandAbilities = {{
    {1, 2, 2, 0, 0},  // ENG
    {2, 2, 1, 1, 0},  // FRA
    {3, 0, 2, 2, 0},  // HAB
    {4, 2, 1, 0, 1},  // HOL
    {5, 2, 0, 1, 1},  // POR
    {6, 1, 3, 0, 0},  // PRU
    {83, 1, 3, 0, 0}, //
    {7, 2, 0, 2, 0},  // RUS
    {8, 1, 1, 2, 0},  // SPA
    {9, 1, 0, 3, 0},  // SWE
    {10, 3, 1, 1, 0}, // TUR
    {11, 1, 1, 1, 1}, // VEN
    {13, 1, 0, 2, 0}, // POL
    {22, 0, 1, 1, 1}, // KNI
    {37, 0, 1, 1, 0}, // LAT
    {0, 1, 0, 1, 0},  // any other
}};

template <size_t N>
const Abilities& AbilitiesOf(const std::array<Abilities, N>& table, uint32_t country) {
    for (const Abilities& row : table)
        if (row.country == country)
            return row;
    return table.back();
}

bool IsSeaLeader(int32_t category) {
    return category == LEADER_ADMIRAL || category == LEADER_EXPLORER;
}

// A conquistador lends nothing to a fight in the New World.
bool LendsNoCombat(const CLeader& leader) {
    if (leader.category != LEADER_CONQUISTADOR || !leader.GetUnit())
        return false;
    const CProvince* province = GetProvince(leader.GetUnit()->GetLocation());
    return province && province->continent == 2;
}

} // namespace

CLeader::~CLeader() {
    m_name = "deleted";
}

CHistoricalLeader::~CHistoricalLeader() {
    if (g_leaderRegistry && GetId().type == kLeaderIdType &&
        g_leaderRegistry->GetSlot(GetId().number) == this)
        g_leaderRegistry->ClearSlot(GetId().number);
}

int32_t CLeader::GetFire() const {
    return LendsNoCombat(*this) ? 0 : fire;
}

int32_t CLeader::GetShock() const {
    return LendsNoCombat(*this) ? 0 : shock;
}

std::string CLeader::GetCategoryKey() const {
    static constexpr std::array<const char*, 6> kKeys = {"GENERAL",  "ADMIRAL", "CONQUISTADOR",
                                                         "EXPLORER", "MONARCH", "PRIVATEER"};
    if (category < 0 || category >= static_cast<int32_t>(kKeys.size()))
        return std::string();
    return g_textDatabase.GetText(kKeys[static_cast<size_t>(category)]);
}

void CLeader::SetAbilities(uint32_t countryNumber) {
    rank = 25;
    special = 0;
    const Abilities& row = IsSeaLeader(category) ? AbilitiesOf(kNavalAbilities, countryNumber)
                                                 : AbilitiesOf(kLandAbilities, countryNumber);
    manoeuvre = row.manoeuvre;
    fire = row.fire;
    shock = row.shock;
    siege = row.siege;
    if (category == LEADER_CONQUISTADOR || category == LEADER_EXPLORER)
        manoeuvre = 3;
    if (IsSeaLeader(category))
        siege = 0;
    startDate = g_gameTimer ? g_gameTimer->GetDate() : CDate();
    endDate = startDate;
    endDate.AddYears(15);
}

CLeader* FindLeaderById(const ObjectId& id) {
    if (id.type == kLeaderIdType) {
        if (!g_leaderRegistry)
            return nullptr;
        return dynamic_cast<CLeader*>(g_leaderRegistry->GetSlot(id.number));
    }
    return dynamic_cast<CLeader*>(ResolveId(id));
}
