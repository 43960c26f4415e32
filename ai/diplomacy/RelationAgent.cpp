#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/diplomacy/DiplomacyFigures.h"
#include "ai/diplomacy/DiplomaticPlans.h"
#include "ai/king/King.h"
#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryRebels.h"
#include "country/PeaceOffer.h"
#include "country/War.h"
#include "data/ScenarioHeader.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "net/Senders.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/ProvinceDistance.h"

namespace {

// A roll of rand() % 100 against the chance, truncated to an integer.
bool Roll(double chance) {
    return RollChance(chance);
}

const CAlliance* MilitaryAllianceOf(const CCountry& country) {
    return FindAlliance(country.m_diplomacy.GetMilitaryAllianceId());
}

// The member limit of an alliance the computer player agrees to.
int32_t AllianceMemberLimit(const CAlliance& alliance) {
    int32_t limit = 4;
    bool holdsLocal = false;
    for (uint32_t member : alliance.participants)
        if (const CCountry* country = ExistingCountry(member))
            holdsLocal = holdsLocal || country->IsLocalHuman();
    if (!holdsLocal && !IsGameOfSeveralPlayers())
        limit += AIAggressiveness();
    return limit;
}

// Strength figures 1 and 3 summed over the participants.
double SumFigures13(const std::vector<uint32_t>& members) {
    double sum = 0.0;
    for (uint32_t member : members)
        if (const CCountry* country = ExistingCountry(member))
            sum += StrengthFigure(*country, 1) + StrengthFigure(*country, 3);
    return sum;
}

double SumFigures123(const CCountry& country) {
    return StrengthFigure(country, 1) + StrengthFigure(country, 2) + StrengthFigure(country, 3);
}

// The income of the owned provinces the country does not control over the
// income of all it owns, and how many those are.
void Occupation(const CCountry& country, double& share, int32_t& count) {
    double occupied = 0.0;
    double total = 0.0;
    count = 0;
    for (int32_t id : IdsOf(country.m_ownedProvinces)) {
        const CProvince* province = GetProvince(id);
        if (!province)
            continue;
        const double income = province->GetTotalIncome();
        total += income;
        if (province->GetControllerNumber() != static_cast<int32_t>(country.GetNumber())) {
            occupied += income;
            ++count;
        }
    }
    share = total != 0.0 ? occupied / total : 0.0;
}

// Own country is the stronger of the two.
bool IsStronger(const CCountry& own, const CCountry& other) {
    if (StrengthFigure(own, 1) > StrengthFigure(other, 1))
        return true;
    return ColonialBase(own) + ColonialBase(other) > 1.0f &&
           StrengthFigure(own, 3) > StrengthFigure(other, 3);
}

float ArmyPower(const CCountry& country) {
    return static_cast<float>(country.GetInfantryCount() + country.GetCavalryCount() +
                              100 * country.GetArtilleryCount());
}

int32_t CountAlliancesHolding(uint32_t type, uint32_t country) {
    int32_t count = 0;
    for (const std::unique_ptr<CAlliance>& alliance : g_alliances)
        if (alliance && alliance->type == type && alliance->HasMember(country))
            ++count;
    return count;
}

} // namespace

int32_t PowerRatioStep(float a, float b) {
    if (b == 0.0f)
        return 1;
    const float q = a / b;
    static constexpr struct {
        float at;
        int32_t step;
    } kSteps[] = {{4.0f, 7},  {3.0f, 6},   {2.0f, 5},   {1.7f, 4},   {1.5f, 3},
                  {1.25f, 2}, {1.0f, 1},   {0.8f, 0},   {0.66f, -1}, {0.58f, -2},
                  {0.5f, -3}, {0.33f, -4}, {0.25f, -5}, {0.2f, -6}};
    for (const auto& step : kSteps)
        if (q >= step.at)
            return step.step;
    return -7;
}

CAIRelationAgent::CAIRelationAgent(CAIKing* king, uint32_t other)
    : CAIStandingAgent(king), m_other(other) {}

CCountry* CAIRelationAgent::Other() const {
    return ExistingCountry(m_other);
}

void CAIRelationAgent::Start() {
    warReason = 0;
    state = 0;
    active = true;
    Update();
}

void CAIRelationAgent::Update() {
    state = 0;
    if (!Other())
        return;
    state = 3;
}

bool CAIRelationAgent::CanActNow() {
    if (!Other() || !country)
        return false;
    const int32_t period = country->m_diplomacy.IsAtWarWith(m_other) ? 1 : 12;
    CDate first = lastAction;
    first.AddMonths(period);
    CDate second = lastAction;
    second.AddMonths(2 * period);
    const CDate today = GetGameDate();
    if (!today.IsNotBefore(first))
        return false;
    if (today.IsNotBefore(second))
        return true;
    return GameRand() % 100 < 50;
}

float CAIRelationAgent::GetAllianceValue(uint32_t enemy) const {
    const CCountry* other = Other();
    if (!other || !country)
        return 0.0f;
    float v = RelationToward(*country, m_other) *
              (StrengthFigure(*other, 1) + StrengthFigure(*other, 3)) * 0.1f;
    if (BordersCountry(*country, m_other))
        v += 30.0f;
    if (enemy != 0 && BordersCountry(*other, enemy))
        v += 40.0f;
    if (country->IsHREMember() && other->IsHREMember())
        v += 100.0f;
    if (enemy != 0) {
        v *= BorderShareWith(*other, enemy) + 0.1f;
        if (!BordersCountry(*country, m_other) && BordersCountry(*country, enemy) &&
            (ColonialBase(*country) == 0.0f || ColonialBase(*other) == 0.0f))
            v = -1.0f;
    }
    return v;
}

float CAIRelationAgent::GetRivalry() const {
    if (!country || !Other())
        return 0.0f;
    float r = RelationToward(*country, m_other) * 0.1f;
    if (BordersCountry(*country, m_other))
        r -= 10.0f;
    if (country->IsDiplomaticPauseWith(m_other))
        r += 10.0f;
    const int32_t startYear = g_scenarioInfo ? g_scenarioInfo->startYear : 0;
    if (startYear > 0)
        r += static_cast<float>(GetGameDate().year - startYear);
    return r * BorderShareWith(*country, m_other);
}

// ---------------------------------------------------------------------------
// Answers

bool CAIRelationAgent::AnswerLoanRequest(int32_t amount, int32_t interestPercent) {
    const CCountry* other = Other();
    if (!other || !country)
        return false;
    const double rate = interestPercent * 0.01;
    if (rate < 0.01)
        return true;
    if (rate * amount > 0.05 * country->m_monthlyTaxIncome)
        return false;
    const double income = country->m_ledger.GetTotalIncome();
    const double expense = country->m_ledger.GetTotalExpense();
    double d = 1.0;
    if (income + expense >= 1.0) {
        d = (50.0 - (income - expense) / (income + expense) * 50.0) * -10.0;
        if (d < 1.0)
            d = 1.0;
    }
    const double worth = std::trunc(((income - expense) * 4.0 + (country->m_treasury - expense)) /
                                    d * 1.0 / (rate * rate + 1.0));
    double chance = (RelationToward(*other, country->GetNumber()) * 0.25 + 1.0) * worth;
    chance = std::clamp(chance, 1.0, 99.0);
    return Roll(chance);
}

bool CAIRelationAgent::AnswerCallToArms(const ObjectId& allianceId, const ObjectId& warId,
                                        uint32_t enemy) {
    const CCountry* other = Other();
    const CWar* war = FindWar(warId);
    if (enemy == 0 && war) {
        const CAlliance* side = OtherSideOf(*war, m_other);
        if (side && side->GetLeader() > 0)
            enemy = static_cast<uint32_t>(side->GetLeader());
    }
    const CCountry* foe = enemy != 0 ? ExistingCountry(enemy) : nullptr;
    if (!other || !foe || !country)
        return false;
    const CProvince* capital = foe->GetCapital();
    if (!capital || !capital->discoveredBy[country->GetNumber()])
        return false;
    const float toUs = RelationToward(*other, country->GetNumber());
    if (toUs >= 180.0f)
        return true;
    if (!BordersCountry(*country, enemy) && !BordersCountry(*other, enemy) &&
        (ColonialBase(*foe) < 0.001f || ColonialBase(*country) < 0.001f))
        return false;
    double chance = 80.0 - country->GetStability() * 10.0;
    const CAlliance* alliance = FindAlliance(allianceId);
    if (!alliance || !war)
        return false;
    const CAlliance* friendSide = SideOf(*war, m_other);
    const CAlliance* foeSide = OtherSideOf(*war, m_other);
    if (!friendSide || !foeSide)
        return false;
    double friendly = 0.0;
    for (uint32_t member : friendSide->participants)
        if (const CCountry* c = ExistingCountry(member))
            friendly += SumFigures123(*c);
    for (uint32_t member : alliance->participants)
        if (!friendSide->HasMember(member))
            if (const CCountry* c = ExistingCountry(member))
                friendly += SumFigures123(*c);
    double hostile = 0.0;
    for (uint32_t member : foeSide->participants)
        if (const CCountry* c = ExistingCountry(member))
            hostile += SumFigures123(*c);
    // An enemy side without strength is no reason to refuse: the ratio
    // counts as one.
    const double ratio = hostile > 0.0 ? friendly / hostile : 1.0;
    chance = (toUs * 0.25 + 1.0) * ratio * chance;
    if (EmperorOverMember(*other, *country))
        chance *= 2.0;
    if (toUs >= 170.0f)
        chance += 25.0;
    if (toUs >= 160.0f)
        chance += 25.0;
    if (toUs > 150.0f)
        chance += 25.0;
    return Roll(chance);
}

bool CAIRelationAgent::AnswerJoinRequest(const ObjectId& allianceId) {
    const CCountry* other = Other();
    const CAlliance* alliance = FindAlliance(allianceId);
    if (!other || !alliance || !country)
        return false;
    double chance = RelationToward(*other, country->GetNumber()) * 0.25 + 50.0;
    const auto members = static_cast<int32_t>(alliance->participants.size());
    const int32_t limit = AllianceMemberLimit(*alliance);
    if (members > limit)
        chance -= 33.0 * (members - limit);
    if (EmperorOverMember(*other, *country))
        chance *= 2.0;
    return Roll(chance);
}

bool CAIRelationAgent::AnswerAnnexationOffer() {
    const CCountry* other = Other();
    if (!other || !country)
        return false;
    if (RelationToward(*country, m_other) < -150.0f)
        return false;
    const double a = 25.0 - 2.0 * country->GetStability();
    const double b = std::clamp(
        ((100.0 - country->m_treasury) + other->m_ledger.GetTotalIncome()) * 0.01, -10.0, 10.0);
    double score = (RelationToward(*other, country->GetNumber()) * 0.0025 + 1.0) * (a + b);
    if (EmperorOverMember(*other, *country))
        score *= 2.0;
    const bool accepted = Roll(score);
    return accepted && OwnedCount(*other) >= OwnedCount(*country);
}

bool CAIRelationAgent::AnswerWarPact() {
    return Other() != nullptr;
}

bool CAIRelationAgent::AnswerShareExploration() {
    const CCountry* other = Other();
    if (!other || !country)
        return false;
    if (RelationToward(*country, m_other) < 0.0f)
        return false;
    int32_t a = 0;
    int32_t b = 0;
    const uint32_t own = country->GetNumber();
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        if (!province)
            continue;
        const bool ours = province->discoveredBy[own] != 0;
        const bool theirs = province->discoveredBy[m_other] != 0;
        a += ours && !theirs;
        b += theirs && !ours;
    }
    if (b == 0)
        return false;
    const double share = static_cast<double>(b) / (a + b) - 0.1 * country->m_explorerCount;
    return Roll(share * 100.0);
}

bool CAIRelationAgent::AnswerMilitaryAllianceOffer(const ObjectId& allianceId) {
    const CCountry* other = Other();
    const CAlliance* alliance = FindAlliance(allianceId);
    if (!other || !country || !alliance)
        return false;
    if (RelationToward(*country, m_other) < -100.0f)
        return false;
    double base =
        IsDifferentReligion(other->m_religion.stateReligion, country->m_religion.stateReligion)
            ? 0.425
            : 0.525;
    const uint32_t theirs = other->m_religion.stateReligion;
    const uint32_t ours = country->m_religion.stateReligion;
    if (theirs <= RELIGION_ORTHODOX && (ours == RELIGION_SUNNI || ours == RELIGION_SHIITE))
        base *= 0.45;
    if (country->m_diplomacy.IsAlliedWith(m_other))
        base *= 2.0;
    base *= (6.0 - country->GetStability()) * 0.1 + 0.8;
    CAIDiplomacyMinister* minister = GetKing() ? GetKing()->GetDiplomacyMinister() : nullptr;
    const uint32_t rival = minister ? minister->FindRival() : 0;
    if (rival != 0 && alliance->HasMember(rival)) {
        const double ours13 = SumFigures13(alliance->participants);
        double theirs13 = 0.0;
        const CCountry* rivalCountry = ExistingCountry(rival);
        if (const CAlliance* rivalAlliance =
                rivalCountry ? MilitaryAllianceOf(*rivalCountry) : nullptr)
            theirs13 = SumFigures13(rivalAlliance->participants);
        else if (rivalCountry)
            theirs13 = StrengthFigure(*rivalCountry, 1) + StrengthFigure(*rivalCountry, 3);
        if (theirs13 > 0.0)
            base *= ours13 / theirs13;
    }
    const auto members = static_cast<int32_t>(alliance->participants.size());
    const int32_t limit = AllianceMemberLimit(*alliance);
    if (members > limit)
        base -= 0.5 * (members - limit);
    if (EmperorOverMember(*other, *country))
        base *= 2.0;
    base *= RelationToward(*other, country->GetNumber()) * 0.25 + 1.0;
    return Roll(base * 100.0);
}

bool CAIRelationAgent::AnswerRoyalMarriageOffer() {
    const CCountry* other = Other();
    if (!other || !country)
        return false;
    const uint32_t own = country->GetNumber();
    if (own == 46 || own == 22 || RelationToward(*country, m_other) < -150.0f)
        return false;
    double chance = 0.0;
    {
        CAIPlanRoyalMarriage trial(GetKing());
        trial.SetGoal(this, m_other);
        trial.Evaluate();
        chance = trial.GetPriority();
    }
    chance -= 15.0 * CountAlliancesHolding(ALLIANCE_DYNASTIC, m_other);
    chance -= 5.0 * CountAlliancesHolding(ALLIANCE_DYNASTIC, own);
    chance -= 25.0 * CountAlliancesHolding(ALLIANCE_VASSALIZATION, m_other);
    chance -= 25.0 * CountAlliancesHolding(ALLIANCE_VASSALIZATION, own);
    if (EmperorOverMember(*other, *country))
        chance *= 2.0;
    chance *= RelationToward(*other, own) * 0.25 + 1.0;
    return Roll(chance);
}

bool CAIRelationAgent::AnswerVassalizationOffer(const ObjectId&) {
    const CCountry* other = Other();
    if (!other || !country)
        return false;
    const int32_t d = other->GetMonarchDip();
    const int32_t own = OwnedCount(*country);
    const double p = OwnedCount(*other) - own;
    double v = 5.0 * d + p / 4.0 + (BordersCountry(*other, country->GetNumber()) ? 20.0 : -10.0);
    v -= 5.0 * own;
    if (own > static_cast<int32_t>(country->m_nationalProvinces.GetCount()))
        v -= 10.0;
    if (ControlledCount(*other) < own)
        v -= 85.0;
    const double chance =
        std::trunc(v - 5.0 * country->GetStability()) + 5.0 * other->GetStability();
    return Roll(chance);
}

bool CAIRelationAgent::IsHeldOccupier(const CPeaceOffer& offer) const {
    if (!country || country->m_missionType + 1 != 1)
        return false;
    const uint32_t own = country->GetNumber();
    const bool taking = offer.demanding ? offer.from == own : offer.to == own;
    auto listed = [&offer](int32_t id) {
        for (uint32_t i = 0; i < std::min(offer.provinceCount, kMaxPeaceProvinces); ++i)
            if (static_cast<int32_t>(offer.provinces[i]) == id)
                return true;
        return false;
    };
    int32_t c1 = 0;
    int32_t c2 = 0;
    for (int32_t id : IdsOf(country->m_missionArea)) {
        const CProvince* province = GetProvince(id);
        if (!province)
            continue;
        if (!taking) {
            if (province->GetOwnerNumber() == static_cast<int32_t>(own) && listed(id))
                return true;
            continue;
        }
        if (province->GetOwnerNumber() == static_cast<int32_t>(m_other) &&
            province->GetControllerNumber() == static_cast<int32_t>(own)) {
            ++c1;
            c2 += listed(id);
        }
    }
    return c2 < c1;
}

bool CAIRelationAgent::IsWinningWar(const CWar& war) const {
    const CCountry* other = Other();
    if (!other || !country)
        return false;
    const int32_t score =
        WarScoreOf(war, country->GetNumber()) +
        PowerRatioStep(ArmyPower(*country), ArmyPower(*other)) +
        PowerRatioStep(country->GetYearlyTaxIncome(), other->GetYearlyTaxIncome()) / 2 +
        PowerRatioStep(static_cast<float>(ControlledCount(*country)),
                       static_cast<float>(OwnedCount(*country)));
    return score > 0;
}

bool CAIRelationAgent::HasFewRebels() const {
    const CCountry* other = Other();
    if (!other || OwnedCount(*other) == 0)
        return false;
    return static_cast<float>(ControlledCount(*other)) / static_cast<float>(OwnedCount(*other)) <
           0.26f;
}

float CAIRelationAgent::RateProvinceForPeace(int32_t id, uint32_t taker, int direction) const {
    const CProvince* province = GetProvince(id);
    const CCountry* takerCountry = ExistingCountry(taker);
    if (!province || !country)
        return 0.0f;
    float v = province->GetTotalIncome();
    if (const CCity* city = province->GetCity())
        v += 5.0f * static_cast<float>(city->GetSizeLevel()) + 5.0f;
    if (direction == 1)
        v = 100.0f - v;
    v = std::min(v, 100.0f);
    const int32_t own = static_cast<int32_t>(country->GetNumber());
    float bonus = 0.0f;
    if (direction == 0 && province->GetOwnerNumber() == own && province->IsInOwnProvinceSet(own))
        bonus += 25.0f;
    if (direction == 1 && province->GetOwnerNumber() == own &&
        province->IsInOwnProvinceSet(static_cast<int32_t>(taker)))
        bonus += 15.0f;
    if (province->coastal) {
        bonus += 1.0f;
    } else {
        bool nextToTaker = false;
        for (const ProvinceNeighbour& next : province->neighbours)
            if (const CProvince* n = GetProvince(next.id))
                nextToTaker = nextToTaker || n->GetOwnerNumber() == static_cast<int32_t>(taker);
        bonus += nextToTaker ? 10.0f : -35.0f;
    }
    float distance = 0.0f;
    if (takerCountry)
        distance = ProvinceDistance(id, takerCountry->GetCapitalId());
    const float rating = bonus - std::min(distance * 0.2f, 10.0f) + v;
    return std::max(rating, 1.0f);
}

CPeaceOffer* CAIRelationAgent::BuildPeaceOffer(const CWar& war) {
    const CCountry* other = Other();
    if (!other || !country)
        return nullptr;
    const uint32_t own = country->GetNumber();
    auto offer = std::make_unique<CPeaceOffer>();
    offer->id = NewObjectId();
    offer->war = war.id;
    offer->from = own;
    offer->to = m_other;
    offer->value = WarScoreOf(war, own);
    offer->demanding = IsWinningWar(war) ? 1 : 0;
    auto leadsASide = [&war](uint32_t n) {
        return (war.attackers && war.attackers->GetLeader() == static_cast<int32_t>(n)) ||
               (war.defenders && war.defenders->GetLeader() == static_cast<int32_t>(n));
    };
    offer->separateFrom = leadsASide(own) ? 0 : 1;
    offer->separateTo = leadsASide(m_other) ? 0 : 1;
    if (country->CanDemandAnnexation(m_other)) {
        offer->annexation = 1;
        return offer.release();
    }
    if (country->CanDemandConversion(m_other) && own != 10) {
        offer->religion = 1;
        return offer.release();
    }
    const CCountry* giver = offer->demanding ? other : country;
    const uint32_t taker = offer->demanding ? own : m_other;
    offer->cash = offer->demanding || offer->value >= 1 ? 250.0f : 0.0f;

    struct Candidate {
        int32_t province;
        float rating;
    };
    std::vector<Candidate> candidates;
    for (int32_t id : IdsOf(giver->m_ownedProvinces)) {
        const CProvince* province = GetProvince(id);
        if (!province || id == giver->GetCapitalId() ||
            province->GetControllerNumber() != static_cast<int32_t>(taker))
            continue;
        const float rating = RateProvinceForPeace(id, taker, offer->demanding ? 0 : 1);
        if (rating <= 0.0f)
            continue;
        auto at = std::find_if(candidates.begin(), candidates.end(),
                               [rating](const Candidate& c) { return c.rating < rating; });
        candidates.insert(at, Candidate{id, rating});
    }
    int32_t n = GameRand() % 3 + 1;
    if (!offer->demanding)
        n = std::min(n, std::abs(offer->value) / 2);
    if (2 * n < bestScoreSeen)
        n = bestScoreSeen / 2;
    n = std::min(
        {n, static_cast<int32_t>(kMaxPeaceProvinces), static_cast<int32_t>(candidates.size())});
    n = std::max(n, 0);
    offer->provinceCount = static_cast<uint32_t>(n);
    for (int32_t i = 0; i < n; ++i) {
        offer->provinces[static_cast<size_t>(i)] = static_cast<uint32_t>(candidates[i].province);
        offer->newOwners[static_cast<size_t>(i)] = taker;
    }
    if (warReason == 3 && n == 0 && offer->demanding)
        return nullptr;
    return offer.release();
}

bool CAIRelationAgent::AnswerPeaceOffer(const ObjectId& offerId) {
    const CCountry* other = Other();
    CPeaceOffer* offer = nullptr;
    for (const std::unique_ptr<CPeaceOffer>& held : g_peaceOffers)
        if (held && held->id == offerId)
            offer = held.get();
    if (!other || !offer || !country || IsHeldOccupier(*offer))
        return false;
    const CWar* war = FindWar(offer->war);
    if (!war)
        return false;
    const uint32_t own = country->GetNumber();
    double occ = 0.0;
    int32_t q = 0;
    Occupation(*country, occ, q);
    const uint32_t count = std::min(offer->provinceCount, kMaxPeaceProvinces);
    const auto P = static_cast<double>(count);
    const double O = 2.0 * P + 0.004 * offer->cash;
    const int32_t V = offer->value;
    const CDate today = GetGameDate();
    const int32_t m = WholeMonthsBetween(war->startDate, today);
    const int32_t mq = WholeMonthsBetween(war->endDate, today);
    int32_t k = 0;
    for (uint32_t i = 0; i < count; ++i)
        if (const CProvince* province = GetProvince(static_cast<int32_t>(offer->provinces[i])))
            k += province->IsInOwnProvinceSet(static_cast<int32_t>(own));
    const CAlliance* ownSide = SideOf(*war, own);
    const bool stronger = IsStronger(*country, *other);

    if (occ == 0.0 && count == 0 && offer->separateTo && m < 120)
        return false;
    double s = 0.0;
    if (offer->demanding) {
        if (V <= 0)
            return false;
        if (offer->annexation) {
            if (ControlledCount(*country) == 0 && country->m_units.IsEmpty() &&
                OwnedCount(*country) < 2) {
                s = 0.99;
            } else {
                const double t =
                    std::min(0.05 * OwnedCount(*country) + 0.005 * country->m_treasury +
                                 0.1 * ControlledCount(*country),
                             0.66);
                s = 1.0 - t + 0.01 * OwnedCount(*other) + 0.05 * mq;
                if (country->m_diplomacy.FindWarWith(m_other) && ownSide &&
                    ownSide->participants.size() > 2)
                    s /= static_cast<double>(ownSide->participants.size());
            }
        } else {
            if (occ >= 1.0 && country->m_units.IsEmpty())
                return true;
            double w = 2.0 - O / V - 0.2 * k;
            if (V >= O)
                w += 0.05 * mq;
            else
                w *= 0.5;
            s = (0.05 * q + occ + 0.5) * w;
            if (warReason == 3)
                s *= 0.25;
        }
    } else {
        if (O < 1.0) {
            if (mq > 12) {
                bool occupied = false;
                for (int32_t id : IdsOf(other->m_ownedProvinces)) {
                    const CProvince* province = GetProvince(id);
                    if (!province || province->CanColonise())
                        continue;
                    const int32_t controller = province->GetControllerNumber();
                    occupied = occupied || (controller != province->GetOwnerNumber() &&
                                            controller != static_cast<int32_t>(kRebelCountry));
                }
                if (!occupied)
                    return true;
            }
            return !stronger;
        }
        if (V > 0) {
            if (!stronger || mq >= 2)
                return true;
            return V > GameRand() % 10;
        }
        double w = 0.0;
        if (O > -V) {
            w = O / 7.0;
        } else {
            w = 0.1 * O + 0.01 * m - 0.25;
            if (stronger)
                w -= 0.25;
        }
        if (!stronger)
            w += 0.5;
        s = w + 0.05 * mq;
        if (warReason == 3) {
            s *= 0.25;
            if (count == 0)
                s = 0.0;
            if (m < 24)
                s = std::min(s, 0.02);
        }
    }
    if (occ < 0.001 && ownSide && ownSide->GetLeader() != static_cast<int32_t>(own) && count == 0)
        return false;
    int32_t v = static_cast<int32_t>(std::trunc(O));
    if (offer->demanding)
        v = -v;
    if (!offer->annexation) {
        if (!offer->isBetter && v < bestScoreSeen && V >= bestDemandSeen && mq < 4 && occ < 0.66)
            return false;
        bestDemandSeen = std::max(bestDemandSeen, V);
        bestScoreSeen = std::max(bestScoreSeen, v);
    }
    if (offer->isBetter)
        s *= 3.0;
    const int32_t owned = OwnedCount(*country);
    if (owned > 0)
        s += 0.1 * country->CountRebelProvinces() / owned;
    return Roll(s * 100.0);
}
