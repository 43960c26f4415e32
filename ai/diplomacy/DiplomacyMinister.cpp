#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ai/AINotify.h"
#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/diplomacy/DiplomacyFigures.h"
#include "ai/diplomacy/DiplomaticPlans.h"
#include "ai/king/King.h"
#include "country/Alliance.h"
#include "country/Country.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "engine/Random.h"
#include "military/units/UnitList.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kMinisterNotices[] = {17, 18, 19, 20, 23, 24, 25, 27,
                                         28, 14, 29, 30, 31, 32, 33, 34};

bool Roll(double chance) {
    return RollChance(chance);
}

int32_t CountAlliancesHolding(uint32_t type, uint32_t country) {
    int32_t count = 0;
    for (const std::unique_ptr<CAlliance>& alliance : g_alliances)
        if (alliance && alliance->type == type && alliance->HasMember(country))
            ++count;
    return count;
}

double SideSum1(const CAlliance* side) {
    double sum = 0.0;
    if (side)
        for (uint32_t member : side->participants)
            if (const CCountry* c = ExistingCountry(member))
                sum += StrengthFigure(*c, 1);
    return std::max(sum, 1.0);
}

double RebelShare(const CCountry& country) {
    const int32_t owned = OwnedCount(country);
    return owned > 0 ? static_cast<double>(country.CountRebelProvinces()) / owned : 0.0;
}

bool HasCapitalDiscovered(const CCountry& own, const CCountry& other) {
    const CProvince* capital = other.GetCapital();
    return capital && capital->discoveredBy[own.GetNumber()] != 0;
}

} // namespace

bool g_aiNoWarPlans = false;

// ---------------------------------------------------------------------------
// The plan creators of the relation agent

void CAIRelationAgent::Adopt(CAIDiplomaticPlan* plan) {
    CAIKing* king = GetKing();
    CAIDiplomacyMinister* minister = CAIKing::IsLive(king) ? king->GetDiplomacyMinister() : nullptr;
    if (!minister) {
        delete plan;
        return;
    }
    minister->AdoptPlan(plan);
}

namespace {

template <typename Plan> Plan* MakePlan(CAIRelationAgent& agent, uint32_t goal) {
    CAIKing* king = agent.GetKing();
    auto* plan = new Plan(king);
    plan->SetGoal(king ? static_cast<CAIAgent*>(king->GetDiplomacyMinister()) : nullptr, goal);
    return plan;
}

} // namespace

template <typename Plan> void CAIRelationAgent::EvaluateAndAdopt() {
    auto* plan = MakePlan<Plan>(*this, m_other);
    plan->Evaluate();
    Adopt(plan);
}

template <typename Plan> void CAIRelationAgent::PlanWhenFree() {
    if (Other() && country && CanActNow())
        EvaluateAndAdopt<Plan>();
}

void CAIRelationAgent::PlanDeclareWar(uint32_t reason, float value) {
    CCountry* other = Other();
    CAIKing* king = GetKing();
    if (!other || !country || !king || m_other == country->GetNumber())
        return;
    if (country->m_diplomacy.IsAtWarWith(m_other) || g_aiNoWarPlans || king->GetWarGoal() != 0)
        return;
    if (!g_fantasyMode && country->IsNonWesternNation() && other->IsNonWesternNation())
        return;
    const int32_t cities = country->m_figures.cities;
    if (country->CountRebelProvinces() > std::min(cities / 10, 4))
        return;
    const uint32_t own = country->GetNumber();
    if (own == 7) {
        const bool first = ExistingCountry(35) != nullptr;
        const bool second = ExistingCountry(54) != nullptr;
        if (first && m_other != 35)
            return;
        if (!first && second && m_other != 54)
            return;
    }
    if (own == 10 && ExistingCountry(39) && m_other != 39)
        return;
    if (!BordersCountry(*country, m_other) &&
        (ColonialBase(*country) <= 0.0f || ColonialBase(*other) <= 0.0f))
        return;
    auto* plan = MakePlan<CAIPlanDeclareWar>(*this, m_other);
    plan->Init(value, reason);
    Adopt(plan);
}

void CAIRelationAgent::PlanOfferPeace() {
    CCountry* other = Other();
    if (!other || !country || !country->m_diplomacy.IsAtWarWith(m_other) ||
        !country->EvaluatePeaceWith(m_other) || !CanActNow() || IsTutorialRunning())
        return;
    const CWar* war = country->m_diplomacy.FindWarWith(m_other);
    if (!war)
        return;
    const uint32_t own = country->GetNumber();
    const int32_t score = WarScoreOf(*war, own);
    const CDate today = GetGameDate();
    double chance = std::abs(score) * 25.0;
    if (score < 0 && WholeMonthsBetween(country->m_warDate, today) < 6) {
        if (StrengthFigure(*country, 1) > StrengthFigure(*other, 1) ||
            (ColonialBase(*country) + ColonialBase(*other) > 1.0f &&
             StrengthFigure(*other, 3) < StrengthFigure(*country, 3)))
            chance = 0.0;
    }
    if (war->IsAttacker(own))
        chance -= 5.0 * std::max(0, 32 - WholeMonthsBetween(war->startDate, today));
    const double ownSum = SideSum1(SideOf(*war, own));
    const double enemySum = SideSum1(OtherSideOf(*war, own));
    chance += 10.0 * std::max(ownSum, enemySum) / std::min(ownSum, enemySum);
    if (score > 0 && OwnedCount(*other) > 0)
        chance += 50.0 * (OwnedCount(*other) - ControlledCount(*other)) / OwnedCount(*other);
    const CAlliance* ownSide = SideOf(*war, own);
    const CAlliance* enemySide = OtherSideOf(*war, own);
    if (!ownSide || ownSide->GetLeader() != static_cast<int32_t>(own))
        chance -= 50.0;
    if (!enemySide || enemySide->GetLeader() != static_cast<int32_t>(m_other))
        chance -= 20.0;
    const double rebels = RebelShare(*country);
    chance += 10.0 * rebels;
    if (IsWinningWar(*war) && score < 1 && rebels < 0.25)
        return;
    if (!Roll(chance))
        return;
    CPeaceOffer* offer = BuildPeaceOffer(*war);
    if (!offer)
        return;
    if (IsHeldOccupier(*offer)) {
        delete offer;
        return;
    }
    auto* plan = MakePlan<CAIPlanOfferPeace>(*this, m_other);
    plan->SetOffer(offer);
    plan->Evaluate();
    Adopt(plan);
}

void CAIRelationAgent::PlanRoyalMarriage() {
    if (!Other() || !country)
        return;
    const uint32_t own = country->GetNumber();
    if (!country->m_diplomacy.GetDynasticAllianceWith(m_other).IsNull() || own == 46 || own == 22 ||
        !CanActNow())
        return;
    const double chance = 50.0 - 15.0 * CountAlliancesHolding(ALLIANCE_DYNASTIC, m_other) -
                          5.0 * CountAlliancesHolding(ALLIANCE_DYNASTIC, own);
    if (!Roll(chance))
        return;
    EvaluateAndAdopt<CAIPlanRoyalMarriage>();
}

void CAIRelationAgent::PlanInviteToAlliance() {
    PlanWhenFree<CAIPlanInviteToAlliance>();
}

void CAIRelationAgent::PlanNewAlliance() {
    PlanWhenFree<CAIPlanNewAlliance>();
}

void CAIRelationAgent::PlanVassalization() {
    PlanWhenFree<CAIPlanVassalization>();
}

void CAIRelationAgent::PlanAnnexation() {
    PlanWhenFree<CAIPlanAnnexation>();
}

void CAIRelationAgent::PlanCancelVassalization() {
    PlanWhenFree<CAIPlanCancelVassalization>();
}

void CAIRelationAgent::PlanGift() {
    PlanWhenFree<CAIPlanGift>();
}

void CAIRelationAgent::PlanLeaveAlliance() {
    CCountry* other = Other();
    if (!other || !country)
        return;
    if (other->IsComputerControlled() && RelationToward(*country, m_other) >= -150.0f)
        return;
    if (other->GetMonarchDip() < GameRand() % 10)
        return;
    auto* plan = MakePlan<CAIPlanLeaveAlliance>(*this, m_other);
    plan->SetAlliance(country->m_diplomacy.GetMilitaryAllianceId());
    plan->Evaluate();
    Adopt(plan);
}

void CAIRelationAgent::PlanAskToJoinAlliance() {
    CCountry* other = Other();
    if (!other || !country || !CanActNow())
        return;
    const CAlliance* alliance = FindAlliance(other->m_diplomacy.GetMilitaryAllianceId());
    if (!alliance || alliance->participants.size() > 5)
        return;
    EvaluateAndAdopt<CAIPlanAskToJoinAlliance>();
}

void CAIRelationAgent::PlanAllowTrade() {
    if (!Other() || !country || !CanActNow())
        return;
    double p = 100.0 - static_cast<double>(country->m_aiPrefs.monopoly);
    const float relation = RelationToward(*country, m_other);
    if (relation >= -150.0f) {
        if (Roll((relation + 100.0f) * 0.25f))
            p *= 2.0;
        else
            p *= 0.5;
    } else {
        p *= 0.5;
    }
    if (GameRand() % 1000 >= p)
        return;
    EvaluateAndAdopt<CAIPlanAllowTrade>();
}

void CAIRelationAgent::PlanRefuseTrade() {
    if (!Other() || !country || !CanActNow())
        return;
    double p = static_cast<double>(country->m_aiPrefs.monopoly);
    const float relation = RelationToward(*country, m_other);
    if (relation >= -150.0f && Roll((relation + 100.0f) * 0.25f))
        p *= 0.5;
    if (country->IsTradingNation())
        p *= 0.5;
    if (GameRand() % 1000 >= p)
        return;
    EvaluateAndAdopt<CAIPlanRefuseTrade>();
}

void CAIRelationAgent::PlanExchangeDiscoveries() {
    if (!Other() || !country || RelationToward(*country, m_other) < 100.0f)
        return;
    // The countries keep no date of their last exchange: the last action
    // toward the country stands for it.
    CDate due = lastAction;
    due.AddYears(1);
    if (!GetGameDate().IsNotBefore(due))
        return;
    auto* plan = MakePlan<CAIPlanExchangeDiscoveries>(*this, m_other);
    plan->Evaluate();
    if (plan->GetPriority() <= 0.0f) {
        delete plan;
        return;
    }
    Adopt(plan);
}

// ---------------------------------------------------------------------------
// The minister

uint32_t CAIDiplomacyMinister::Self() const {
    return country ? country->GetNumber() : 0;
}

CAIRelationAgent* CAIDiplomacyMinister::AgentFor(int64_t number) const {
    if (number < 0 || number >= static_cast<int64_t>(kCountrySlots))
        return nullptr;
    CAIKing* king = owner;
    return CAIKing::IsLive(king) ? king->GetRelationAgent(static_cast<uint32_t>(number)) : nullptr;
}

int32_t CAIDiplomacyMinister::NextTimerDelay() {
    const int32_t k = 6 - AIAggressiveness();
    const int32_t first = (GameRand() % 3 + 2) * k * 5;
    return first + GameRand() % (k * 12);
}

void CAIDiplomacyMinister::Start() {
    active = true;
    for (uint32_t type : kMinisterNotices)
        Subscribe(type, false);
    const int32_t first = 1 + GameRand() % 2;
    PostTimer(first + (GameRand() % 3) * 2, 0);
}

void CAIDiplomacyMinister::Stop() {
    for (uint32_t type : kMinisterNotices)
        Unsubscribe(type);
    CAIStandingAgent::Stop();
}

void CAIDiplomacyMinister::AdoptPlan(CAIDiplomaticPlan* plan) {
    if (!plan)
        return;
    if (!active || plan->GetPriority() <= 0.001f || GetPlanCount() >= kMaxPlans) {
        delete plan;
        return;
    }
    AddChild(plan);
    plan->Start();
}

void CAIDiplomacyMinister::StampLastAction(uint32_t number) {
    if (CAIRelationAgent* agent = AgentFor(number))
        agent->lastAction = GetGameDate();
}

uint32_t CAIDiplomacyMinister::FindRival() const {
    if (!country)
        return 0;
    uint32_t rival = 0;
    float lowest = 0.0f;
    for (uint32_t n = 1; n < kCountrySlots; ++n) {
        if (!IsOrdinaryCountry(n) || n == Self())
            continue;
        const CCountry* other = ExistingCountry(n);
        const CAIRelationAgent* agent = AgentFor(n);
        if (!other || !agent || !HasCapitalDiscovered(*country, *other))
            continue;
        const float rivalry = agent->GetRivalry();
        if (rivalry < lowest) {
            lowest = rivalry;
            rival = n;
        }
    }
    return rival;
}

uint32_t CAIDiplomacyMinister::FindAllianceCandidate() const {
    if (!country)
        return 0;
    const uint32_t rival = FindRival();
    uint32_t best = 0;
    float bestValue = 0.0f;
    for (uint32_t n = 1; n < kCountrySlots; ++n) {
        if (!IsOrdinaryCountry(n) || n == Self())
            continue;
        const CCountry* other = ExistingCountry(n);
        const CAIRelationAgent* agent = AgentFor(n);
        if (!other || !agent || other->m_diplomacy.IsInMilitaryAlliance() ||
            !HasCapitalDiscovered(*country, *other))
            continue;
        float value = agent->GetAllianceValue(rival);
        if (country->m_diplomacy.IsOverlordOf(n))
            value += 100000.0f;
        if (value > bestValue) {
            bestValue = value;
            best = n;
        }
    }
    return best;
}

void CAIDiplomacyMinister::ChooseAllianceAction() {
    if (!country || country->m_diplomacy.IsVassal())
        return;
    const uint32_t rival = FindRival();
    const int32_t aggressiveness = AIAggressiveness();
    const CAlliance* own = FindAlliance(country->m_diplomacy.GetMilitaryAllianceId());
    if (!own) {
        const uint32_t candidate = FindAllianceCandidate();
        if (candidate != 0) {
            const double chance = OwnedCount(*country) + (country->m_major ? 55.0 : 5.0);
            if (Roll(chance))
                if (CAIRelationAgent* agent = AgentFor(candidate))
                    agent->PlanNewAlliance();
            return;
        }
        if (GameRand() % 100 > static_cast<int32_t>(g_alliances.size()) + 10)
            return;
        const CAlliance* chosen = nullptr;
        float bestValue = 20.0f;
        for (const std::unique_ptr<CAlliance>& alliance : g_alliances) {
            if (!alliance || alliance->type != ALLIANCE_MILITARY || !alliance->IsValid())
                continue;
            const auto members = static_cast<int32_t>(alliance->participants.size());
            if (members < 1 || members > 3 + aggressiveness)
                continue;
            const CAIRelationAgent* agent = AgentFor(alliance->GetLeader());
            if (!agent)
                continue;
            const float value = agent->GetAllianceValue(rival);
            if (value > bestValue) {
                bestValue = value;
                chosen = alliance.get();
            }
        }
        if (chosen && Roll(bestValue))
            if (CAIRelationAgent* agent = AgentFor(chosen->GetLeader()))
                agent->PlanAskToJoinAlliance();
        return;
    }
    const std::vector<uint32_t> members = own->participants;
    for (uint32_t member : members)
        if (member != Self() && GameRand() % 100 > 92)
            ImproveRelation(member);
    if (own->GetLeader() == static_cast<int32_t>(Self())) {
        if (static_cast<int32_t>(members.size()) < 4 + aggressiveness) {
            const uint32_t candidate = FindAllianceCandidate();
            CAIRelationAgent* agent = candidate != 0 ? AgentFor(candidate) : nullptr;
            if (agent && Roll(agent->GetAllianceValue(rival)))
                agent->PlanInviteToAlliance();
        }
    } else if (own->GetLeader() > 0 && RelationToward(*country, own->GetLeader()) < -100.0f) {
        if (CAIRelationAgent* agent = AgentFor(own->GetLeader()))
            agent->PlanLeaveAlliance();
    }
}

void CAIDiplomacyMinister::ImproveRelation(uint32_t number) {
    if (!country || number == Self())
        return;
    const CCountry* other = ExistingCountry(number);
    if (!other || other->IsLocalHuman())
        return;
    if (RelationToward(*country, number) >= StartingRelationValue(Self(), number))
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_EXEC_RELATION, country->GetId());
    event->Payload().Set(ExecRelationPayload::kChange, static_cast<float>(GameRand() % 20 + 10));
    event->Payload().Set(ExecRelationPayload::kAmount, 0.0f);
    event->Payload().Set(ExecRelationPayload::kKind, 25u);
    event->Payload().Set(ExecRelationPayload::kCountry, Self());
    event->Payload().Set(ExecRelationPayload::kOther, number);
    ExecuteAndSendEvent(std::move(event));
}

bool CAIDiplomacyMinister::CanAttack(uint32_t number) const {
    const CCountry* other = ExistingCountry(number);
    if (!other || !country || country->IsAtWar() || country->m_diplomacy.IsAtWarWith(number) ||
        country->IsDiplomaticPauseWith(number))
        return false;
    if (country->GetLandTechLevel() < other->GetLandTechLevel())
        return false;
    auto power = [](const CCountry& c) {
        return static_cast<float>(c.GetInfantryCount() + c.GetCavalryCount() +
                                  100 * c.GetArtilleryCount());
    };
    return power(*other) <= power(*country);
}

void CAIDiplomacyMinister::PlanHistoricalWars() {
    struct Goal {
        uint32_t target;
        float value;
        int32_t afterYear;
        std::vector<uint32_t> gone;
    };
    std::vector<Goal> goals;
    switch (Self()) {
    case 1:
        goals = {{73, 400.0f, 0, {}}, {52, 50.0f, 1550, {}}, {70, 500.0f, 0, {}}};
        break;
    case 7:
        goals = {{35, 200.0f, 0, {}},
                 {86, 50.0f, 0, {}},
                 {54, 400.0f, 0, {35}},
                 {17, 400.0f, 0, {35, 54}},
                 {53, 400.0f, 0, {17, 35, 54}}};
        break;
    case 8:
        goals = {{65, 400.0f, 0, {}}, {66, 400.0f, 0, {}}};
        break;
    case 10:
        goals = {{39, 300.0f, 0, {}}, {32, 200.0f, 0, {}}};
        break;
    default:
        return;
    }
    for (const Goal& goal : goals) {
        if (goal.afterYear != 0 && GetGameDate().year <= goal.afterYear)
            continue;
        bool waiting = false;
        for (uint32_t gone : goal.gone)
            waiting = waiting || ExistingCountry(gone) != nullptr;
        if (waiting || !CanAttack(goal.target))
            continue;
        if (CAIRelationAgent* agent = AgentFor(goal.target))
            agent->PlanDeclareWar(3, goal.value);
        return;
    }
}

void CAIDiplomacyMinister::OnTimer(uint32_t) {
    if (!country) {
        PostTimer(NextTimerDelay(), 0);
        return;
    }
    const uint32_t self = Self();
    const bool atWar = country->IsAtWar();
    const bool vassal = country->m_diplomacy.IsVassal();
    if (!atWar && !vassal) {
        // a. A royal marriage for the best friend without one.
        uint32_t best = 0;
        float bestValue = 0.0f;
        for (uint32_t n = 1; n < kCountrySlots; ++n) {
            if (!IsOrdinaryCountry(n) || n == self || !ExistingCountry(n) ||
                !country->m_diplomacy.GetDynasticAllianceWith(n).IsNull())
                continue;
            float value = RelationToward(*country, n) * (BordersCountry(*country, n) ? 2.0f : 1.0f);
            if (best == 0 || value > bestValue) {
                best = n;
                bestValue = value;
            }
        }
        if (CAIRelationAgent* agent = best != 0 ? AgentFor(best) : nullptr)
            agent->PlanRoyalMarriage();
        // b. A vassal.
        best = 0;
        for (uint32_t n = 1; n < kCountrySlots; ++n) {
            if (!IsOrdinaryCountry(n) || n == self || !ExistingCountry(n) ||
                !country->CanOfferVassalization(n))
                continue;
            float value = RelationToward(*country, n) * (BordersCountry(*country, n) ? 2.0f : 1.0f);
            if (best == 0 || value > bestValue) {
                best = n;
                bestValue = value;
            }
        }
        if (CAIRelationAgent* agent = best != 0 ? AgentFor(best) : nullptr)
            agent->PlanVassalization();
        // c. Alliances.
        if (GameRand() % 100 < 5)
            ChooseAllianceAction();
        // d. Each country.
        const uint32_t rival = FindRival();
        const float ownIncome = country->GetYearlyTaxIncome();
        for (uint32_t n = 1; n < kCountrySlots; ++n) {
            const CCountry* other = ExistingCountry(n);
            CAIRelationAgent* agent = AgentFor(n);
            if (!IsOrdinaryCountry(n) || n == self || !other || !agent)
                continue;
            const CRelation* record = country->m_diplomacy.GetRelation(n);
            if (n == rival || (record && record->claimHeld))
                agent->PlanDeclareWar(4, 0.0f);
            if (country->m_diplomacy.RefusesTradeWith(n))
                agent->PlanAllowTrade();
            const int32_t r =
                static_cast<int32_t>(std::trunc(RelationToward(*country, n) - 100.0f));
            if (r > 0 && ownIncome > 100.0f) {
                const int32_t p = std::max(r, 25);
                if (other->IsAtWar() && ownIncome * p * 0.01f > other->GetYearlyTaxIncome())
                    agent->PlanGift();
            }
            if (country->GetYearlyColonists() > 0.5f && other->GetYearlyColonists() > 0.5f)
                agent->PlanExchangeDiscoveries();
            if (country->m_diplomacy.IsOverlordOf(n))
                agent->PlanAnnexation();
        }
    } else if (!atWar) {
        const int32_t overlord = country->m_diplomacy.GetOverlord();
        if (overlord > 0 && ExistingCountry(overlord) &&
            RelationToward(*country, overlord) < 150.0f)
            if (CAIRelationAgent* agent = AgentFor(overlord))
                agent->PlanCancelVassalization();
    } else {
        int32_t m = WholeMonthsBetween(country->m_warDate, GetGameDate());
        for (uint32_t n = 1; n < kCountrySlots; ++n) {
            CAIRelationAgent* agent = AgentFor(n);
            if (!agent || !country->m_diplomacy.IsAtWarWith(n))
                continue;
            const CWar* war = country->m_diplomacy.FindWarWith(n);
            if (!war)
                continue;
            if (war->IsAttacker(self))
                m -= 18;
            const int32_t warMonths = WholeMonthsBetween(war->startDate, GetGameDate());
            if (warMonths > 3)
                m += 5 * warMonths;
            if (ControlledCount(*country) == 0) {
                if (OwnedCount(*country) < 2) {
                    m += 50;
                } else {
                    agent->PlanOfferPeace();
                    m = 0;
                }
            }
            if (agent->HasFewRebels() || Roll(m))
                agent->PlanOfferPeace();
        }
    }
    PlanHistoricalWars();

    // Every held plan checks; those that end leave the list as they go.
    std::vector<CAIAgent*> held;
    children.ForEach([&held](CAIAgent* child) { held.push_back(child); });
    for (CAIAgent* child : held) {
        if (!children.Contains(child))
            continue;
        if (CAIPlan* plan = child->AsPlan())
            if (auto* diplomatic = dynamic_cast<CAIDiplomaticPlan*>(plan))
                diplomatic->Check();
    }

    for (uint32_t n = 1; n < kCountrySlots; ++n) {
        const CCountry* other = ExistingCountry(n);
        if (!other || n == self || !other->IsComputerControlled())
            continue;
        if ((BordersCountry(*country, n) || other->m_major) && GameRand() % 13 == 0)
            ImproveRelation(n);
    }
    PostTimer(NextTimerDelay(), 0);
}

// ---------------------------------------------------------------------------
// Notifications

void CAIDiplomacyMinister::OnCombatResult(int32_t a, CCombat*, int32_t kind) {
    if (!country || (kind != 0 && kind != 1) || !ExistingCountry(a) ||
        !country->m_diplomacy.IsAtWarWith(a))
        return;
    if (CAIRelationAgent* agent = AgentFor(a))
        agent->PlanOfferPeace();
}

void CAIDiplomacyMinister::OnRefuseTrade(int32_t refuser, int32_t refused) {
    // The country that refuses trade with us (or with nobody named).
    if (refused != 0 && refused != static_cast<int32_t>(Self()))
        return;
    if (refuser == static_cast<int32_t>(Self()))
        return;
    if (CAIRelationAgent* agent = AgentFor(refuser))
        agent->PlanDeclareWar(4, 0.0f);
}

void CAIDiplomacyMinister::OnPeace(int32_t a, int32_t b) {
    const auto self = static_cast<int32_t>(Self());
    if (!country || (a != self && b != self))
        return;
    if (CAIRelationAgent* agent = AgentFor(a == self ? b : a))
        agent->warReason = 0;
    country->SendSetMaintenance(std::bit_cast<uint32_t>(1.0f), std::bit_cast<uint32_t>(0.5f));
}

void CAIDiplomacyMinister::OnWar(int32_t attacker, int32_t defender) {
    const auto self = static_cast<int32_t>(Self());
    if (!country)
        return;
    if (attacker == self || defender == self) {
        if (CAIRelationAgent* agent = AgentFor(attacker == self ? defender : attacker)) {
            agent->bestScoreSeen = 0;
            agent->bestDemandSeen = 0;
        }
        country->SendSetMaintenance(std::bit_cast<uint32_t>(1.0f), std::bit_cast<uint32_t>(1.0f));
        return;
    }
    const CCountry* attacking = ExistingCountry(attacker);
    const CCountry* defending = ExistingCountry(defender);
    if (!attacking || !defending)
        return;
    const float toDefender = RelationToward(*country, defender);
    if (toDefender >= 100.0f && defending->GetYearlyTaxIncome() < attacking->GetYearlyTaxIncome() &&
        !country->IsAtWar())
        if (CAIRelationAgent* agent = AgentFor(defender))
            agent->PlanGift();
    if (!country->m_diplomacy.IsAtWarWith(attacker) && toDefender >= 0.0f)
        if (CAIRelationAgent* agent = AgentFor(attacker))
            agent->PlanDeclareWar(4, std::max(0.0f, toDefender - 100.0f));
}

void CAIDiplomacyMinister::OnThreatReport(int32_t us, int32_t other, int32_t, int32_t) {
    if (!country || us != static_cast<int32_t>(Self()) || other >= 96 ||
        !BordersCountry(*country, other))
        return;
    const CCountry* threat = ExistingCountry(other);
    if (!threat)
        return;
    const float relation = RelationToward(*country, other);
    double chance = 1.0;
    if (relation >= 50.0f)
        chance = -9.0;
    else if (relation < 0.0f)
        chance = 6.0;
    const uint32_t religion = threat->m_religion.stateReligion;
    if (religion == RELIGION_SUNNI || religion == RELIGION_SHIITE)
        chance += 5.0;
    const CRelation* record = country->m_diplomacy.GetRelation(other);
    if (record && (!record->casusBelli.empty() || record->hasCasusBelli))
        chance += 10.0;
    if (Roll(chance))
        if (CAIRelationAgent* agent = AgentFor(other))
            agent->PlanDeclareWar(4, 0.0f);
}

void CAIDiplomacyMinister::OnSettlementChanged(int32_t other, int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!country || other == static_cast<int32_t>(Self()) || !province ||
        province->GetOwnerNumber() <= 0)
        return;
    ChooseAllianceAction();
    bool nextToUs = false;
    for (const ProvinceNeighbour& next : province->neighbours)
        if (const CProvince* n = GetProvince(next.id))
            nextToUs = nextToUs || n->GetOwnerNumber() == static_cast<int32_t>(Self());
    if (nextToUs)
        if (CAIRelationAgent* agent = AgentFor(other))
            agent->PlanDeclareWar(4, 0.0f);
}

void CAIDiplomacyMinister::OnMerchantPlaced(int32_t other, int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!country || other == static_cast<int32_t>(Self()) || !province ||
        province->GetOwnerNumber() != static_cast<int32_t>(Self()))
        return;
    if (CAIRelationAgent* agent = AgentFor(other))
        agent->PlanRefuseTrade();
    if (BordersCountry(*country, other))
        ChooseAllianceAction();
}

void CAIDiplomacyMinister::OnReligionChanged(int32_t other) {
    const CCountry* changed = ExistingCountry(other);
    if (!country || !changed || other == static_cast<int32_t>(Self()))
        return;
    const uint32_t theirs = changed->m_religion.stateReligion;
    const uint32_t ours = country->m_religion.stateReligion;
    if ((theirs == RELIGION_PROTESTANT || theirs == RELIGION_REFORMED) &&
        (ours == RELIGION_CATHOLIC || ours == RELIGION_COUNTERREFORM))
        if (CAIRelationAgent* agent = AgentFor(other))
            agent->PlanDeclareWar(4, 0.0f);
}

void CAIDiplomacyMinister::OnUnitRaised(int32_t id) {
    const CProvince* province = GetProvince(id);
    if (!country || !province)
        return;
    const int32_t owner = province->GetOwnerNumber();
    if (owner <= 0 || owner == static_cast<int32_t>(Self()) || !BordersCountry(*country, owner))
        return;
    if (CAIRelationAgent* agent = AgentFor(owner))
        agent->PlanDeclareWar(5, 0.0f);
}

void CAIDiplomacyMinister::OnCasusBelli(int32_t holder, int32_t opponent) {
    const auto self = static_cast<int32_t>(Self());
    if (!country)
        return;
    if (holder == self) {
        if (CAIRelationAgent* agent = AgentFor(opponent))
            agent->PlanDeclareWar(4, 0.0f);
    } else if (opponent == self && !country->IsAtWar()) {
        if (CAIRelationAgent* agent = AgentFor(holder))
            agent->PlanRoyalMarriage();
        ChooseAllianceAction();
    }
}
