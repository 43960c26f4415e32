#include "ai/diplomacy/DiplomaticPlans.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/diplomacy/DiplomacyFigures.h"
#include "ai/king/King.h"
#include "country/Alliance.h"
#include "country/Country.h"
#include "country/PeaceOffer.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Senders.h"
#include "world/CentreOfTrade.h"
#include "world/Province.h"

namespace {

CAIDiplomacyMinister* MinisterOf(CAIAgent& plan) {
    CAIKing* king = plan.GetKing();
    return CAIKing::IsLive(king) ? king->GetDiplomacyMinister() : nullptr;
}

const char* CountryName(int64_t number) {
    const CCountry* country = ExistingCountry(number);
    return country ? country->GetName() : "";
}

// Own relation record toward the goal names a casus belli.
bool HoldsCasusBelli(const CCountry& own, uint32_t goal) {
    const CRelation* relation = own.m_diplomacy.GetRelation(goal);
    return relation && (!relation->casusBelli.empty() || relation->hasCasusBelli);
}

// The goal's merchant level in the centre seated in the province (0 when
// none).
float MerchantLevelIn(int32_t province, uint32_t goal, bool& centre, bool& present) {
    centre = false;
    present = false;
    const CCentreOfTrade* seat = g_cotCalc.FindSeatedIn(province);
    if (!seat)
        return 0.0f;
    centre = true;
    const CCotMerchant* merchant = seat->GetMerchant(goal);
    present = merchant != nullptr;
    return merchant ? merchant->level : 0.0f;
}

} // namespace

// ---------------------------------------------------------------------------
// The life cycle

void CAIDiplomaticPlan::SetGoal(CAIAgent* manager, uint32_t goalCountry) {
    Init(manager);
    goal = goalCountry;
}

void CAIDiplomaticPlan::Start() {
    CAIPlan::Start();
    if (CAIKing::IsLive(owner))
        owner->RequestDiplomats(this, 1.0f);
}

void CAIDiplomaticPlan::Check() {
    if (!active)
        return;
    if (diplomats - 1.0f <= 0.05f) {
        if (IsReady())
            Execute();
        else
            Cancel();
        return;
    }
    CAIResourceRequest* request = RequestSlot(AIRES_DIPLOMATS);
    if (!request || request->IsSatisfied())
        Cancel();
}

void CAIDiplomaticPlan::Execute() {
    Send();
    const char* word = GetSendWord();
    if (word)
        DebugPrint("%s sends a '%s' to %s\n", country ? country->GetName() : "", word,
                   CountryName(goal));
    CAIDiplomacyMinister* minister = MinisterOf(*this);
    DebugPrint("%s  King %.2f   Country %.2f  Plans %d  [%s]\n", country ? country->GetName() : "",
               CAIKing::IsLive(owner) ? owner->GetDiplomats() : 0.0,
               country ? country->m_diplomats : 0.0,
               minister ? static_cast<int>(minister->GetPlanCount()) : 0, GetName());
    diplomats = 0.0f;
    if (minister)
        minister->StampLastAction(goal);
    Succeed();
}

// ---------------------------------------------------------------------------
// The war declaration

void CAIPlanDeclareWar::Init(float value, uint32_t reason) {
    m_reason = reason;
    CAIPlan::Evaluate();
    lastScore = 0;
    lastDivisor = 0;
    const CCountry* own = country;
    const CCountry* target = ExistingCountry(goal);
    if (!own || !target) {
        priority = -1.0f;
        return;
    }
    const uint32_t self = own->GetNumber();
    const int32_t aggressiveness = AIAggressiveness();
    const bool ownAtWar = own->IsAtWar();
    const bool goalAtWar = target->IsAtWar();
    const int32_t badboy = target->m_badBoy;
    const int32_t warPreference = static_cast<int32_t>(own->m_aiPrefs.war);

    // a. The divisor.
    const int32_t x =
        target->IsLocalHuman() && !IsGameOfSeveralPlayers() ? (aggressiveness - 3) * 50 : 0;
    int32_t b = std::max(10, 200 - static_cast<int32_t>(std::trunc(value)) - x);
    if (ownAtWar)
        b *= 2;
    const int32_t d = std::max(80, 3 * (2 * b - warPreference));

    // b. The motive.
    const CRelation* record = own->m_diplomacy.GetRelation(goal);
    const bool claim = record && record->claimHeld;
    bool motive = false;
    if (!ownAtWar && !goalAtWar) {
        if (target->m_rankPlace == 1 ||
            (target->m_rankPlace < own->m_rankPlace && own->m_major && target->m_major) || claim)
            motive = true;
        else if (!own->IsColonialNation())
            motive = GameRand() % 100 < warPreference;
        else
            motive = HoldsCasusBelli(*own, goal);
    } else {
        motive = goalAtWar && StrengthFigure(*target, 1) * 0.5f <= StrengthFigure(*own, 1) &&
                 BordersCountry(*own, goal);
    }

    // c. The gate.
    const bool outlaw = !target->IsComputerControlled() && badboy > 7 - aggressiveness;
    int32_t a = 0;
    int32_t r = 0;
    int32_t f = 0;
    int32_t n = 0;
    if (outlaw || motive || value > 0.0f) {
        // d. A.
        if (HoldsCasusBelli(*own, goal))
            a += 5;
        if (target->GetStability() < 0.0)
            a += std::abs(static_cast<int32_t>(std::trunc(target->GetStability())));
        if (own->GetLandTechLevel() > target->GetLandTechLevel())
            a += 2;
        if (target->GetLandMorale() < own->GetLandMorale())
            a += 5;
        a += target->GetYearlyTaxIncome() < own->GetYearlyTaxIncome() ? 5 : -5;
        if (own->GetStability() < 0.0)
            a -= 5;
        if (own->IsDiplomaticPauseWith(goal))
            a -= 50;
        const CProvince* ownCapital = own->GetCapital();
        const CProvince* goalCapital = target->GetCapital();
        if (ownCapital && goalCapital && ownCapital->continent != goalCapital->continent &&
            value < 1.0f)
            a -= 10;
        if (ownAtWar)
            a -= 50;
        if (OwnedCount(*own) < 4)
            a -= 25;
        const float wealth = own->m_treasury + own->GetYearlyTaxIncome();
        if (wealth < 150.0f)
            a -= 10;
        else if (wealth < 300.0f)
            a -= 5;
        else if (wealth < 500.0f)
            a -= 2;
        if (OwnedCount(*own) < OwnedCount(*target) / 4)
            a -= 5;

        // e. R.
        if (target->m_rankScore > own->m_rankScore)
            r += 2;
        if (claim)
            r += 5;
        const float relation = RelationToward(*own, goal);
        if (relation >= 0.0f)
            r = static_cast<int32_t>(std::trunc(static_cast<float>(r) - 1.0f - 0.04f * relation));
        else
            r = static_cast<int32_t>(std::trunc(static_cast<float>(r) + 1.0f - 0.04f * relation));
        const bool sameReligion =
            !IsDifferentReligion(own->m_religion.stateReligion, target->m_religion.stateReligion);
        if (sameReligion)
            r -= 5;
        if (own->m_diplomacy.IsOverlordOf(goal))
            r -= 25;
        if (record && record->dynastic)
            r -= 10;
        if (own->IsHREMember() && target->IsHREMember() && sameReligion)
            r -= 30;

        // f. F.
        auto sideOf = [](const CCountry& c) {
            std::vector<uint32_t> members;
            const CAlliance* alliance = FindAlliance(c.m_diplomacy.GetMilitaryAllianceId());
            if (alliance && !alliance->participants.empty())
                members = alliance->participants;
            else
                members.push_back(c.GetNumber());
            return members;
        };
        std::vector<uint32_t> ownSide{self};
        if (const CAlliance* alliance = FindAlliance(own->m_diplomacy.GetMilitaryAllianceId()))
            if (alliance->GetLeader() == static_cast<int32_t>(self))
                ownSide = alliance->participants;
        const std::vector<uint32_t> goalSide = sideOf(*target);
        auto sums = [](const std::vector<uint32_t>& members, float& p, float& t) {
            p = 0.0f;
            t = 0.0f;
            for (uint32_t member : members)
                if (const CCountry* c = ExistingCountry(member)) {
                    p += StrengthFigure(*c, 1);
                    t += static_cast<float>(c->GetInfantryCount() + c->GetCavalryCount());
                }
        };
        float ownP = 0.0f;
        float ownT = 0.0f;
        float goalP = 0.0f;
        float goalT = 0.0f;
        sums(ownSide, ownP, ownT);
        sums(goalSide, goalP, goalT);
        f += ownP > goalP ? 10 : -10;
        f += ownT > goalT ? 10 : -10;
        f -= 10 * own->CountRebelProvinces();
        if (ownT < 5000.0f)
            f -= 20;
        else if (ownT < 10000.0f)
            f -= 10;
        // Provinces won in the last thirty years are not yet safe.
        const int32_t year = GetGameDate().year;
        for (int32_t id : IdsOf(own->m_ownedProvinces)) {
            const CProvince* province = GetProvince(id);
            if (!province || province->nationalismDate.year <= 0)
                continue;
            const int32_t since = year - province->nationalismDate.year;
            if (since >= 0 && since < 30)
                f -= 15 - 5 * (since / 10);
        }

        // g. N.
        n = BordersCountry(*own, goal) ? 2 : 0;
    }

    // h - k.
    int32_t s = n + r + f + a;
    const bool near =
        BordersCountry(*own, goal) || own->m_capitalDistances[static_cast<size_t>(goal)] < 9.0f;
    if (outlaw && near) {
        s += badboy;
        if (r > 0)
            s += 2 * r;
        if (goalAtWar && s > 0)
            s *= badboy;
    }
    if (f + a < -1 && !goalAtWar)
        s = -1;
    if (self == 5 && goal == 8)
        s /= 10;
    if (self == 8 && goal == 5 && own->IsComputerControlled() && target->IsComputerControlled())
        s -= 100;
    lastScore = s;
    lastDivisor = d;
    // l.
    priority = GameRand() % d <= s ? 10.0f : -1.0f;
}

void CAIPlanDeclareWar::Start() {
    if (CAIKing::IsLive(owner))
        owner->SetWarGoal(goal);
    CAIDiplomaticPlan::Start();
}

void CAIPlanDeclareWar::Check() {
    if (!active)
        return;
    const CDate started = GetStartDate();
    const int32_t days = GetGameDate().GetDayCount() - started.GetDayCount();
    if (GameRand() % 150 < days) {
        CAIDiplomaticPlan::Check();
        return;
    }
    PostTimer(7, 0);
}

void CAIPlanDeclareWar::OnTimer(uint32_t) {
    Check();
}

bool CAIPlanDeclareWar::IsReady() {
    return country && country->CanDeclareWarOn(goal) && priority > 0.001f;
}

void CAIPlanDeclareWar::Send() {
    country->SendSetupWar(goal);
}

void CAIPlanDeclareWar::Execute() {
    if (CAIKing::IsLive(owner)) {
        owner->SetWarGoal(0);
        if (CAIRelationAgent* agent = owner->GetRelationAgent(goal))
            agent->warReason = m_reason;
    }
    CAIDiplomaticPlan::Execute();
}

void CAIPlanDeclareWar::Stop() {
    if (active && CAIKing::IsLive(owner) && owner->GetWarGoal() == goal)
        owner->SetWarGoal(0);
    CAIDiplomaticPlan::Stop();
}

void CAIPlanDeclareWar::Cancel() {
    if (CAIKing::IsLive(owner))
        owner->SetWarGoal(0);
    CAIDiplomaticPlan::Cancel();
}

// ---------------------------------------------------------------------------
// The peace offer

void CAIPlanOfferPeace::OfferDeleter::operator()(CPeaceOffer* offer) const {
    delete offer;
}

CAIPlanOfferPeace::~CAIPlanOfferPeace() = default;

void CAIPlanOfferPeace::SetOffer(CPeaceOffer* offer) {
    m_offer.reset(offer);
}

bool CAIPlanOfferPeace::IsReady() {
    return m_offer && country && country->EvaluatePeaceWith(goal);
}

void CAIPlanOfferPeace::Send() {
    const CPeaceOffer& offer = *m_offer;
    std::array<uint32_t, 16> terms{};
    terms[PeaceOfferTerms::kWarType] = offer.war.type;
    terms[PeaceOfferTerms::kWarNumber] = offer.war.number;
    terms[PeaceOfferTerms::kTo] = offer.to;
    terms[PeaceOfferTerms::kDemanding] = offer.demanding;
    const uint32_t count = std::min(offer.provinceCount, kMaxPeaceProvinces);
    terms[PeaceOfferTerms::kProvinceCount] = count;
    terms[PeaceOfferTerms::kColonies] = static_cast<uint32_t>(offer.colonies);
    for (uint32_t i = 0; i < count; ++i) {
        terms[PeaceOfferTerms::kProvinces + i] = offer.provinces[i];
        terms[PeaceOfferTerms::kNewOwners + i] = offer.newOwners[i];
    }
    terms[PeaceOfferTerms::kCash] = std::bit_cast<uint32_t>(offer.cash);
    terms[PeaceOfferTerms::kValue] = static_cast<uint32_t>(offer.value);
    terms[PeaceOfferTerms::kFlags] =
        static_cast<uint32_t>(offer.separateFrom) | static_cast<uint32_t>(offer.separateTo) << 8 |
        static_cast<uint32_t>(offer.isBetter) << 16 | static_cast<uint32_t>(offer.annexation) << 24;
    terms[PeaceOfferTerms::kReligion] = offer.religion;
    country->SendCreatePeaceOffer(goal, terms);
}

// ---------------------------------------------------------------------------
// Marriage, vassals and alliances

float RoyalMarriageRating(const CCountry& own, uint32_t goal) {
    const CCountry* target = ExistingCountry(goal);
    if (!target)
        return -1.0f;
    float plus = 0.0f;
    const CRelation* record = own.m_diplomacy.GetRelation(goal);
    if (record && record->casusBelli.empty() && !record->hasCasusBelli)
        plus += 10.0f;
    if (!target->m_major)
        plus += 10.0f;
    const bool different =
        IsDifferentReligion(own.m_religion.stateReligion, target->m_religion.stateReligion);
    if (!different)
        plus += 20.0f;
    if (!target->IsAtWar())
        plus += 2.0f;
    if (BordersCountry(own, goal))
        plus += 5.0f;
    for (int i = 0; i < 5; ++i) {
        const float theirs = StrengthFigure(*target, i);
        if (theirs == 0.0f)
            continue;
        const float ratio = StrengthFigure(own, i) / theirs;
        if (ratio > 1.0f)
            plus += (ratio - 1.0f) * (i == 0 || i == 4 ? 10.0f : 5.0f);
    }
    plus *= RelationToward(own, goal) * 0.25f + 0.5f;
    float minus = different ? 20.0f : 0.0f;
    for (const CRelation& relation : target->m_diplomacy.relations)
        if (relation.dynastic)
            minus += 5.0f;
    return plus - minus;
}

void CAIPlanRoyalMarriage::Evaluate() {
    CAIPlan::Evaluate();
    if (country)
        priority = RoyalMarriageRating(*country, goal);
}

bool CAIPlanRoyalMarriage::IsReady() {
    return country && country->CanProposeDynasticAlliance(goal);
}

void CAIPlanRoyalMarriage::Send() {
    country->SendCreateAlliance(ALLIANCE_DYNASTIC, goal);
}

void CAIPlanVassalization::Evaluate() {
    CAIPlan::Evaluate();
    if (const CCountry* target = ExistingCountry(goal))
        priority = target->m_ledger.lastMonthIncomeTotal * 0.25f;
}

bool CAIPlanVassalization::IsReady() {
    return country && country->CanOfferVassalization(goal);
}

void CAIPlanVassalization::Send() {
    country->SendCreateAlliance(ALLIANCE_VASSALIZATION, goal);
}

bool CAIPlanNewAlliance::IsReady() {
    return country && country->CanInviteToAlliance(goal);
}

void CAIPlanNewAlliance::Send() {
    country->SendCreateAlliance(ALLIANCE_MILITARY, goal);
}

bool CAIPlanAnnexation::IsReady() {
    return country && country->CanAnnexVassal(goal);
}

void CAIPlanAnnexation::Send() {
    country->SendOfferAnnexation(goal);
}

bool CAIPlanCancelVassalization::IsReady() {
    return country && country->m_diplomacy.GetOverlord() == static_cast<int32_t>(goal) &&
           country->CanSendDiplomat(goal);
}

void CAIPlanCancelVassalization::Send() {
    country->LeaveVassalization(goal);
}

bool CAIPlanLeaveAlliance::IsReady() {
    const CAlliance* alliance = FindAlliance(m_alliance);
    return country && alliance && country->CanLeaveAlliance(*alliance);
}

void CAIPlanLeaveAlliance::Send() {
    country->SendLeaveAlliance(m_alliance.number, country->GetNumber());
}

void CAIPlanInviteToAlliance::Evaluate() {
    CAIPlan::Evaluate();
    if (country)
        m_alliance = country->m_diplomacy.GetMilitaryAllianceId();
}

bool CAIPlanInviteToAlliance::IsReady() {
    const CAlliance* alliance = FindAlliance(m_alliance);
    return country && alliance && country->CanInviteIntoAlliance(*alliance, goal);
}

void CAIPlanInviteToAlliance::Send() {
    country->SendInviteAlliance(m_alliance.number, goal);
}

void CAIPlanAskToJoinAlliance::Evaluate() {
    CAIPlan::Evaluate();
    if (const CCountry* target = ExistingCountry(goal))
        m_alliance = target->m_diplomacy.GetMilitaryAllianceId();
}

bool CAIPlanAskToJoinAlliance::IsReady() {
    const CAlliance* alliance = FindAlliance(m_alliance);
    return country && alliance && country->CanJoinAlliance(*alliance);
}

void CAIPlanAskToJoinAlliance::Send() {
    country->SendAskJoinAlliance(m_alliance.number, country->GetNumber());
}

// ---------------------------------------------------------------------------
// Trade, discoveries and gifts

float RefuseTradeRating(const CCountry& own, uint32_t goal) {
    const CCountry* target = ExistingCountry(goal);
    if (!target)
        return 0.0f;
    float rating = 0.0f;
    if (!own.IsAlliedWith(goal))
        rating += 10.0f;
    if (HoldsCasusBelli(own, goal))
        rating += 2.0f;
    if (own.m_diplomacy.IsAtWarWith(goal))
        rating += 10.0f;
    if (StrengthFigure(*target, 0) != 0.0f) {
        const float ratio = StrengthFigure(own, 0) / StrengthFigure(*target, 0);
        if (ratio > 1.0f)
            rating += (ratio - 1.0f) * 10.0f;
    }
    for (int32_t id : IdsOf(own.m_ownedProvinces)) {
        bool centre = false;
        bool present = false;
        const float level = MerchantLevelIn(id, goal, centre, present);
        if (level > 5.0f)
            rating += 15.0f;
        if (level > 3.0f)
            rating += level;
    }
    const float ahead = (own.m_rankScore - target->m_rankScore) * 0.25f;
    if (ahead > 0.0f)
        rating += ahead;
    return rating;
}

float AllowTradeRating(const CCountry& own, uint32_t goal) {
    const CCountry* target = ExistingCountry(goal);
    if (!target)
        return 0.0f;
    float rating = 0.0f;
    const CRelation* record = own.m_diplomacy.GetRelation(goal);
    if (record && record->dynastic)
        rating += 2.0f;
    if (own.m_diplomacy.IsOverlordOf(goal))
        rating += 5.0f;
    if (record && record->military)
        rating += 3.0f;
    if (StrengthFigure(*target, 0) != 0.0f) {
        const float ratio = StrengthFigure(own, 0) / StrengthFigure(*target, 0);
        if (ratio > 1.0f)
            rating += (ratio - 1.0f) * 10.0f;
    }
    for (int32_t id : IdsOf(own.m_ownedProvinces)) {
        bool centre = false;
        bool present = false;
        const float level = MerchantLevelIn(id, goal, centre, present);
        if (!centre)
            continue;
        if (!present)
            rating += 5.0f;
        if (level < 4.0f)
            rating += 2.0f;
    }
    return rating;
}

void CAIPlanAllowTrade::Evaluate() {
    CAIPlan::Evaluate();
    if (country)
        priority = AllowTradeRating(*country, goal) - RefuseTradeRating(*country, goal);
}

bool CAIPlanAllowTrade::IsReady() {
    return country && country->CanAllowTrade(goal);
}

void CAIPlanAllowTrade::Send() {
    country->SendUnrefuseTrade(goal);
}

void CAIPlanRefuseTrade::Evaluate() {
    CAIPlan::Evaluate();
    if (country)
        priority = RefuseTradeRating(*country, goal) - AllowTradeRating(*country, goal);
}

bool CAIPlanRefuseTrade::IsReady() {
    return country && country->CanRefuseTrade(goal);
}

void CAIPlanRefuseTrade::Send() {
    country->SendRefuseTrade(goal);
}

void CAIPlanExchangeDiscoveries::Evaluate() {
    CAIPlan::Evaluate();
    // Friends of long standing are worth the diplomat most.
    if (country)
        priority = RelationToward(*country, goal) * 0.1f - 5.0f;
}

bool CAIPlanExchangeDiscoveries::IsReady() {
    return country && country->CanSendDiplomat(goal);
}

void CAIPlanExchangeDiscoveries::Send() {
    country->SendAskShareExploration(goal);
}

float GiftAmount(const CCountry& own, const CCountry& goal) {
    float amount = std::min(goal.GetYearlyTaxIncome(), own.GetYearlyTaxIncome() / 3.0f);
    return std::max(amount, 50.0f);
}

void CAIPlanGift::Start() {
    const CCountry* target = ExistingCountry(goal);
    m_amount = country && target ? GiftAmount(*country, *target) : 50.0f;
    money = 0.0f;
    CAIDiplomaticPlan::Start();
    if (CAIKing::IsLive(owner))
        owner->RequestMoney(this, m_amount);
}

bool CAIPlanGift::IsReady() {
    return country && money >= m_amount && country->CanSendDiplomat(goal);
}

void CAIPlanGift::Send() {
    country->SendGift(goal, std::trunc(money));
    money = 0.0f;
}
