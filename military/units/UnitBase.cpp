// The unit's leaders and commander, its sizes, morale and the figures the
// base owns.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "country/Country.h"
#include "country/Technology.h"
#include "engine/Pixel.h"
#include "engine/Saturate.h"
#include "engine/TextDatabase.h"
#include "military/units/Leader.h"
#include "military/units/Unit.h"

namespace {

constexpr uint32_t kNativesCountry = 97;

// The listed leaders in list order (the walk itself changes nothing).
std::vector<CLeader*> ListedLeaders(const CLinkedList<CLeader>& list) {
    std::vector<CLeader*> leaders;
    CLinkedList<CLeader>::CListPosition position = nullptr;
    for (list.GetHeadPosition(position); position; CLinkedList<CLeader>::MoveNext(position))
        if (!position->removed && position->item)
            leaders.push_back(position->item);
    return leaders;
}

bool IsExplorerCategory(int32_t category) {
    return category == LEADER_CONQUISTADOR || category == LEADER_EXPLORER;
}

} // namespace

int64_t WholeStrength(float value) {
    constexpr float kMost = 1.0e9f;
    if (std::isnan(value))
        return 0;
    return static_cast<int64_t>(std::ceil(std::clamp(value, -kMost, kMost)));
}

// ------------------------------------------------------------------ morale

const char* MoraleLevelKeyOf(float morale) {
    struct Level {
        float atLeast;
        const char* key;
    };
    static constexpr std::array<Level, 6> kLevels = {{{4.5f, "INVINCIBLE"},
                                                      {3.5f, "VERYSTRONG"},
                                                      {2.5f, "STRONG"},
                                                      {1.5f, "DISCIPLINED"},
                                                      {0.75f, "WEAK"},
                                                      {0.25f, "BREAKING"}}};
    for (const Level& level : kLevels)
        if (morale >= level.atLeast)
            return level.key;
    return "PANIC";
}

int32_t MoraleBandOf(float fraction) {
    if (std::isnan(fraction) || fraction >= 0.8f)
        return 0;
    if (fraction >= 0.6f)
        return 1;
    if (fraction >= 0.4f)
        return 2;
    if (fraction >= 0.2f)
        return 3;
    return 4;
}

std::string CUnit::GetMoraleLevelKey(float morale) {
    return g_textDatabase.GetText(MoraleLevelKeyOf(morale));
}

float CUnit::GetFullMorale() const {
    if (!m_owner)
        return 0.0f;
    Technology& track = IsFleet() ? m_owner->GetNavalTech() : m_owner->GetLandTech();
    return track.table ? track.CurrentRow().morale : 0.0f;
}

int32_t CUnit::GetMoraleColourIndex() const {
    const float full = GetFullMorale();
    // Without a full morale there is nothing to fall short of.
    if (!(full > 0.0f))
        return 0;
    return MoraleBandOf(morale / full);
}

uint16_t CUnit::GetMoraleColour() const {
    static constexpr std::array<std::array<int32_t, 3>, 5> kColours = {
        {{0, 255, 0}, {128, 255, 0}, {255, 255, 0}, {255, 128, 0}, {255, 0, 0}}};
    const auto& c = kColours[static_cast<size_t>(GetMoraleColourIndex())];
    return CGraphicsBase::RgbToPixel(c[0], c[1], c[2]);
}

// ----------------------------------------------------------------- leaders

void CUnit::SetCountry(CCountry* country) {
    SetOwner(country);
    m_defaultLeader.SetCountry(country);
    const uint32_t number = country ? country->GetNumber() : 0;
    m_defaultLeader.SetAbilities(number);
    isNative = country && number == kNativesCountry;
    for (CLeader* leader : ListedLeaders(m_leaders))
        leader->SetCountry(country);
    m_retreating = 0;
    ShowOwnFlag();
    UpdateFigureCulture();
    UpdateSpriteLevel();
}

CLeader* CUnit::GetCommander() {
    CLinkedList<CLeader>::Node* best = nullptr;
    CLinkedList<CLeader>::CListPosition position = nullptr;
    for (m_leaders.GetHeadPosition(position); position; CLinkedList<CLeader>::MoveNext(position)) {
        if (position->removed || !position->item)
            continue;
        if (!best || position->item->rank < best->item->rank)
            best = position;
    }
    if (!best)
        return &m_defaultLeader;
    CLeader* commander = best->item;
    CLinkedList<CLeader>::CListPosition head = nullptr;
    m_leaders.GetHeadPosition(head);
    if (head != best) {
        m_leaders.RemoveNode(best);
        m_leaders.AddHead(commander);
    }
    return commander;
}

CLeader* CUnit::GetBestSiegeLeader() {
    CLeader* best = &m_defaultLeader;
    for (CLeader* leader : ListedLeaders(m_leaders))
        if (leader->siege > best->siege)
            best = leader;
    return best;
}

CLeader* CUnit::FindLeaderOfCategory(int32_t category) {
    CLeader* found = nullptr;
    for (CLeader* leader : ListedLeaders(m_leaders))
        if (leader->category == category && leader->manoeuvre >= 0)
            found = leader;
    return found;
}

bool CUnit::HasExplorerLeader() const {
    return IsExplorerCategory(m_defaultLeader.category) || FindExplorerLeader() != nullptr;
}

CLeader* CUnit::FindExplorerLeader() const {
    for (CLeader* leader : ListedLeaders(m_leaders))
        if (IsExplorerCategory(leader->category))
            return leader;
    return nullptr;
}

void CUnit::DetachLeader(const ObjectId& id) {
    CLeader* leader = FindLeaderById(id);
    if (leader && m_leaders.Remove(leader) && leader->GetUnit() == this)
        leader->SetUnit(nullptr);
}

void CUnit::TakeLeadersFrom(CUnit& other) {
    if (&other == this)
        return;
    for (CLeader* leader : ListedLeaders(other.m_leaders)) {
        if (FindLeaderById(leader->GetId()) != leader || m_leaders.Contains(leader))
            continue;
        AttachLeader(leader);
    }
    other.m_leaders.RemoveAll();
}

// ------------------------------------------------------------------- sizes

float CUnit::GetStrength() const {
    if (IsFleet())
        return m_strength[0] + m_strength[1];
    return m_strength[2] + m_strength[1] + 100.0f * m_strength[0];
}

float CUnit::GetTotalStrength() const {
    if (IsFleet())
        return m_strength[0] + m_strength[1] + m_strength[2];
    return GetStrength();
}

int32_t CUnit::GetCombatSize() const {
    if (IsFleet())
        return SaturateToInt32(WholeStrength(m_strength[0]) + WholeStrength(m_strength[1]));
    return SaturateToInt32(WholeStrength(m_strength[2]) + WholeStrength(m_strength[1]) +
                           100 * WholeStrength(m_strength[0]));
}

int32_t CUnit::GetSize() const {
    if (IsFleet())
        return SaturateToInt32(WholeStrength(m_strength[0]) + WholeStrength(m_strength[1]) +
                               WholeStrength(m_strength[2]));
    return GetCombatSize();
}

int32_t CUnit::GetSizeInMen() const {
    if (IsFleet())
        return SaturateToInt32(int64_t{5000} * GetSize());
    return GetCombatSize();
}

float CUnit::GetMonthlyAttrition() const {
    const float rate = GetAttritionRate();
    if (!(rate > 0.0f))
        return 0.0f;
    return static_cast<float>(GetSize()) * rate;
}
