#include "ai/AICountry.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ai/diplomacy/DiplomacyAgents.h"
#include "ai/king/King.h"
#include "country/Alliance.h"
#include "country/CountryReligion.h"
#include "country/CountryVariants.h"
#include "country/HandlerSupport.h"
#include "country/Loan.h"
#include "country/PeaceOffer.h"
#include "country/War.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "engine/Random.h"
#include "military/server/GameServer.h"
#include "military/server/UnitServer.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/Territory.h"

namespace {

const char* NameOf(uint32_t number) {
    const CCountry* country = number < kCountrySlots ? g_countries[number] : nullptr;
    return country ? country->GetName() : "";
}

uint32_t ConfigWord(size_t offset, uint32_t fallback) {
    return g_config ? g_config->GetWord(offset) : fallback;
}

} // namespace

CAICountry::CAICountry(uint32_t number) : CCountry(number) {
    king = new CAIKing(this);
    // The agents live on the host alone: their ids leave the game's alone.
    king->AssignMachineId();
}

CAICountry::~CAICountry() {
    delete king;
    king = nullptr;
}

bool CAICountry::Guarded() const {
    return king && king->IsActive();
}

CAIRelationAgent* CAICountry::AgentFor(uint32_t number) const {
    return king ? king->GetRelationAgent(number) : nullptr;
}

// ---------------------------------------------------------------------------
// Lifecycle

int CAICountry::SetAIPersonalityFile() {
    if (king && !king->IsActive() && !aiShutdown && IsGameStarted())
        king->Start();
    return CCountry::SetAIPersonalityFile();
}

void CAICountry::StopAI() {
    if (king) {
        CAIKing* stopping = king;
        king = nullptr;
        stopping->Fail();
    }
    m_units.ForEach([](CUnit* unit) { unit->SetAIAgent(nullptr); });
}

int CAICountry::DestroyAI() {
    aiShutdown = 1;
    delete king;
    king = nullptr;
    m_units.ForEach([](CUnit* unit) {
        unit->aiRejectedBy.clear();
        unit->SetAIAgent(nullptr);
    });
    return 0;
}

void CAICountry::Release() {
    DestroyAI();
    CCountry::Release();
}

// ---------------------------------------------------------------------------
// Reports to the King

void CAICountry::AddToCappedReserve(float amount) {
    const float before = m_manpower;
    CCountry::AddToCappedReserve(amount);
    const float gain = m_manpower - before;
    if (Guarded() && gain > 0.0f)
        king->AddManpower(gain);
}

void CAICountry::AddToTreasury(float amount) {
    if (amount == 0.0f)
        return;
    CCountry::AddToTreasury(amount);
    if (!Guarded())
        return;
    if (amount < 0.0f)
        king->TakeMoney(-amount);
    else
        king->AddMoney(amount);
}

void CAICountry::AddMerchants(float amount) {
    const float before = m_merchants;
    CCountry::AddMerchants(amount);
    if (Guarded() && m_merchants - before > 0.0f)
        king->AddMerchants(m_merchants - before);
}

void CAICountry::AddColonists(float amount) {
    const float before = m_colonists;
    CCountry::AddColonists(amount);
    if (Guarded() && m_colonists - before > 0.0f)
        king->AddColonists(m_colonists - before);
}

void CAICountry::AddDiplomats(float amount) {
    const float before = m_diplomats;
    CCountry::AddDiplomats(amount);
    if (Guarded() && m_diplomats - before > 0.0f)
        king->AddDiplomats(m_diplomats - before);
}

void CAICountry::DeleteUnit(const ObjectId& id) {
    CCountry::DeleteUnit(id);
    if (!king)
        return;
    if (CUnit* unit = FindUnitById(id)) {
        if (unit->IsFleet())
            king->RemoveFleet(unit);
        else
            king->RemoveArmy(unit);
    }
}

void CAICountry::AddTerritory(CLandTerritory* territory) {
    if (territory && Guarded()) {
        king->CreateGeneral(territory);
    }
    CCountry::AddTerritory(territory);
}

bool CAICountry::RemoveTerritory(CLandTerritory* territory) {
    if (territory && king)
        king->KillGeneral(territory);
    return CCountry::RemoveTerritory(territory);
}

// ---------------------------------------------------------------------------
// Colonisation limits

bool CAICountry::PassesColonyLimits(int32_t id) const {
    const CProvince* province =
        id >= kFirstProvinceId && id <= kLastProvinceId ? GetProvince(id) : nullptr;
    if (!province)
        return false;
    const auto self = static_cast<int32_t>(GetNumber());
    auto bordersOwn = [&]() {
        const int32_t leading = std::min(province->neighbourCount, province->GetNeighbourTotal());
        for (int32_t i = 0; i < leading; ++i) {
            const CProvince* next = GetProvince(province->neighbours[static_cast<size_t>(i)].id);
            if (next && next->GetOwnerNumber() == self)
                return true;
        }
        return false;
    };
    if (GetNumber() == 8 && !province->IsInSpanishZone())
        return false;
    if (GetNumber() == 5 && !province->IsInPortugueseZone())
        return false;
    if (GetNumber() == 82) {
        if (!bordersOwn())
            return false;
        const CProvince* key = GetProvince(357);
        const int32_t owner = key ? key->GetOwnerNumber() : 0;
        if (owner > 0 && owner != self) {
            const CRelation* relation = m_diplomacy.GetRelation(owner);
            if (!relation || relation->GetValue() < 100.0f)
                return false;
        }
    }
    if (GetNumber() == 7) {
        if (!m_figures.easternHoldings && (province->region != 13 || !bordersOwn()))
            return false;
    }
    const uint32_t religion = m_religion.stateReligion;
    if ((religion == RELIGION_SUNNI || religion == RELIGION_SHIITE) && province->continent != 5 &&
        province->continent != 3)
        return false;
    return true;
}

bool CAICountry::MayPlaceColonist(int32_t province) const {
    return PassesColonyLimits(province) && CCountry::MayPlaceColonist(province);
}

bool CAICountry::MayPlaceTradingPost(int32_t province) const {
    return PassesColonyLimits(province) && CCountry::MayPlaceTradingPost(province);
}

// ---------------------------------------------------------------------------
// The religion schedule and the mission points

namespace {

struct ReligionStep {
    uint32_t country;
    uint32_t religion;
    int32_t year;
    int32_t flaggedReligion; // -1: the same row with the event flag
    int32_t flaggedYear;
};

constexpr ReligionStep kReligionSchedule[] = {
    {1, 0, 1531, 1, 1534},  {3, 2, 1536, -1, 0},  {4, 0, 1530, 1, 1566}, {6, 0, 1525, -1, 0},
    {27, 0, 1525, -1, 0},   {56, 0, 1525, -1, 0}, {8, 2, 1535, -1, 0},   {9, 0, 1527, -1, 0},
    {20, 0, 1534, -1, 0},   {21, 0, 1540, -1, 0}, {22, 2, 1530, -1, 0},  {46, 2, 1530, -1, 0},
    {25, 0, 1536, -1, 0},   {26, 2, 1545, -1, 0}, {28, 0, 1526, -1, 0},  {29, 0, 1526, 1, 1536},
    {31, 0, 1524, 1, 1545}, {37, 0, 1539, -1, 0}, {50, 0, 1539, -1, 0},  {49, 0, 1527, 1, 1541},
    {52, 0, 1547, 1, 1560}, {61, 0, 1522, -1, 0}, {83, 0, 1535, -1, 0},
};

constexpr float kMissionPoints[] = {30, 20, 20, 30, 15, 50, 5, 5, 5, 10, 2};

} // namespace

void CAICountry::ApplyHistoricalReligion() {
    const ReligionStep* step = nullptr;
    for (const ReligionStep& row : kReligionSchedule)
        if (row.country == GetNumber())
            step = &row;
    if (!step)
        return;
    uint32_t religion = step->religion;
    int32_t year = step->year;
    if (step->flaggedReligion >= 0 && g_gameServer && g_gameServer->GetEventFlag(2)) {
        religion = static_cast<uint32_t>(step->flaggedReligion);
        year = step->flaggedYear;
    }
    if (religion == m_religion.stateReligion)
        return;
    if (CScenario::GetGameDate().year >= year && IsReligionAvailable(religion))
        SendChangeReligion(religion);
}

void CAICountry::AddMonthlyMissionPoints() {
    if (!m_major || ConfigWord(ConfigOffset::kMissions, 1) == 0)
        return;
    const int32_t roll = GameRand() % 1000;
    const auto difficulty = static_cast<int32_t>(ConfigWord(ConfigOffset::kDifficulty, 2));
    const auto aggressiveness = static_cast<int32_t>(ConfigWord(ConfigOffset::kAggressiveness, 1));
    if (roll >= difficulty / 2 + aggressiveness + 2)
        return;
    // The computer player runs on the host alone: the points go to every
    // machine as a message, so that all of them keep the same base points.
    auto points = std::make_unique<COVDataEvent>(EVT_UNNAMED_314, GetId());
    points->Payload().Set(BaseVictoryPointsPayload::kKind, 6u);
    points->Payload().Set(BaseVictoryPointsPayload::kAmount,
                          std::trunc(kMissionPoints[GameRand() % 11]));
    ExecuteAndSendEvent(std::move(points));
}

int CAICountry::OnTimerMonth(COVEvent& event) {
    AddMonthlyMissionPoints();
    return CCountry::OnTimerMonth(event);
}

int CAICountry::OnTimerYear(COVEvent& event) {
    const int answer = CCountry::OnTimerYear(event);
    if (king)
        ApplyHistoricalReligion();
    return answer;
}

// ---------------------------------------------------------------------------
// Answers to offers

int CAICountry::OnUnhandledMessage(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_ASKEXTENDLOAN:
        AnswerLoanExtension(event);
        break;
    case EVT_OFFERLOAN:
        AnswerLoanOffer(event);
        break;
    case EVT_EXEC_OFFER_ANNEXATION:
        AnswerAnnexation(event);
        break;
    case EVT_INVITE_TO_WARPACT:
        AnswerWarPact(event);
        break;
    case EVT_ASK_SHARE_EXPLORATION:
        AnswerShareExploration(event);
        break;
    default:
        break;
    }
    return CCountry::OnUnhandledMessage(event);
}

void CAICountry::AnswerLoanExtension(COVEvent& event) {
    if (!Guarded() || !event.Payload().Holds(CLoanEvent::kBorrower))
        return;
    const ObjectId loanId = event.Payload().Get(CLoanEvent::kLoan);
    const CLoan* loan = nullptr;
    for (const std::unique_ptr<CLoan>& held : m_loans)
        if (held && held->GetId() == loanId)
            loan = held.get();
    if (!loan) {
        SendPayLoan(
            event.Payload().Get(CLoanEvent::kLender), event.Payload().Get(CLoanEvent::kAmount),
            event.Payload().Get(CLoanEvent::kInterest), event.Payload().Get(CLoanEvent::kDate));
        return;
    }
    const auto amount = static_cast<uint32_t>(std::max(loan->amount, 0));
    if (static_cast<float>(loan->amount) <= m_treasury)
        SendPayLoan(loan->lender, amount, static_cast<uint32_t>(loan->interest), loan->expiryDate);
    else if (loan->IsBankLoan())
        SendExtendLoan(loan->lender, amount, static_cast<uint32_t>(loan->interest),
                       loan->expiryDate);
    else
        SendCancelLoan(loan->lender, amount, static_cast<uint32_t>(loan->interest),
                       loan->expiryDate);
}

void CAICountry::AnswerLoanOffer(COVEvent& event) {
    if (!Guarded() || !event.Payload().Holds(CLoanEvent::kBorrower))
        return;
    const ObjectId lender = event.Payload().Get(CLoanEvent::kLender);
    const uint32_t amount = event.Payload().Get(CLoanEvent::kAmount);
    const uint32_t interest = event.Payload().Get(CLoanEvent::kInterest);
    CAIRelationAgent* agent = AgentFor(lender.number);
    if (agent &&
        agent->AnswerLoanRequest(static_cast<int32_t>(amount), static_cast<int32_t>(interest))) {
        DebugPrint("%s accepts an offerloan from %s\n", GetName(), NameOf(lender.number));
        SendAcceptLoan(lender.number, amount, interest);
    } else {
        DebugPrint("%s declines an offerloan from %s\n", GetName(), NameOf(lender.number));
        SendDeclineLoan(lender, amount);
    }
}

void CAICountry::AnswerAnnexation(COVEvent& event) {
    if (!Guarded() || !event.Payload().Holds(COVAnnexationEvent::kCountry))
        return;
    const uint32_t other = event.Payload().Get(COVAnnexationEvent::kCountry);
    if (other >= kCountrySlots)
        return;
    CAIRelationAgent* agent = AgentFor(other);
    if (agent && agent->AnswerAnnexationOffer()) {
        DebugPrint("%s accepts an annexation from %s\n", GetName(), NameOf(other));
        SendAcceptAnnexation(other);
    } else {
        DebugPrint("%s declines an annexation from %s\n", GetName(), NameOf(other));
        SendDeclineAnnexation(other);
    }
}

void CAICountry::AnswerWarPact(COVEvent& event) {
    if (!Guarded() || !event.Payload().Holds(COVWarPactEvent::kCountry))
        return;
    const uint32_t inviting = event.Payload().Get(COVWarPactEvent::kCountry);
    if (inviting >= kCountrySlots)
        return;
    CAIRelationAgent* agent = AgentFor(inviting);
    if (agent && agent->AnswerWarPact())
        SendMergeWar(inviting, {event.Payload().Get(COVWarPactEvent::kFirst),
                                event.Payload().Get(COVWarPactEvent::kSecond), GetNumber(), 0, 0});
    else
        SendDeclineWarPact(inviting);
}

void CAICountry::AnswerShareExploration(COVEvent& event) {
    if (!event.Payload().Holds(ExplorationPayload::kCountry))
        return;
    const uint32_t other = event.Payload().Get(ExplorationPayload::kCountry);
    if (other >= kCountrySlots)
        return;
    CAIRelationAgent* agent = AgentFor(other);
    if (king && agent && agent->AnswerShareExploration())
        SendAcceptShareExploration(other);
    else
        SendDeclineShareExploration(other);
}

int CAICountry::OnOfferPeace(COVEvent& event) {
    const int answer = CCountry::OnOfferPeace(event);
    if (!Guarded() || !event.Payload().Holds(COVPeaceEvent::kCountry))
        return answer;
    const ObjectId offerId = event.Payload().Get(COVPeaceEvent::kOffer);
    const uint32_t other = event.Payload().Get(COVPeaceEvent::kCountry);
    if (other >= kCountrySlots)
        return answer;
    CPeaceOffer* offer = nullptr;
    for (const std::unique_ptr<CPeaceOffer>& held : g_peaceOffers)
        if (held && held->id == offerId)
            offer = held.get();
    if (!offer) {
        SendDeclinePeace(other, offerId);
        return answer;
    }
    if (offer->IsAcceptable()) {
        DebugPrint("%s accepts peace(forced) with %s\n", GetName(), NameOf(other));
        SendAcceptPeace(other, offerId);
        return answer;
    }
    CAIRelationAgent* agent = AgentFor(other);
    if (agent && agent->AnswerPeaceOffer(offerId)) {
        DebugPrint("%s accepts peace with %s\n", GetName(), NameOf(other));
        SendAcceptPeace(other, offerId);
    } else {
        DebugPrint("%s declines peace with %s\n", GetName(), NameOf(other));
        SendDeclinePeace(other, offerId);
    }
    return answer;
}

int CAICountry::OnExecInviteAlliance(COVEvent& event) {
    if (Guarded() && event.Payload().Holds(COVAllianceEvent::kExtraCountry)) {
        const uint32_t first = event.Payload().Get(COVAllianceEvent::kFirst);
        const uint32_t second = event.Payload().Get(COVAllianceEvent::kSecond);
        const uint32_t other = event.Payload().Get(COVAllianceEvent::kExtraCountry);
        // The alliance goes by its number alone; the country that offers or
        // asks stands beside it.
        const CAlliance* alliance = handlers::FindAllianceByNumber(first);
        const ObjectId allianceId = alliance ? alliance->id : ObjectId();
        CAIRelationAgent* agent = other < kCountrySlots ? AgentFor(other) : nullptr;
        if (event.GetType() == EVT_EXEC_ASKJOIN_ALLIANCE) {
            if (agent && alliance && agent->AnswerJoinRequest(allianceId)) {
                DebugPrint("%s allows %s to join\n", GetName(), NameOf(other));
                SendAcceptAllianceJoin(first, second);
            } else {
                DebugPrint("%s disallows %s to join\n", GetName(), NameOf(other));
                SendDeclineAllianceJoin(first, second);
            }
        } else {
            bool accept = false;
            if (agent && alliance) {
                if (alliance->type == 1)
                    accept = agent->AnswerRoyalMarriageOffer();
                else if (alliance->type == 2)
                    accept = agent->AnswerVassalizationOffer(allianceId);
                else if (alliance->type == 4)
                    accept = agent->AnswerMilitaryAllianceOffer(allianceId);
            }
            if (accept) {
                DebugPrint("%s accepts alliance with %s\n", GetName(), NameOf(other));
                SendAcceptAllianceOffer(first, second);
            } else {
                DebugPrint("%s declines alliance with %s\n", GetName(), NameOf(other));
                SendDeclineAllianceOffer(first, second);
            }
        }
    }
    return CCountry::OnExecInviteAlliance(event);
}

int CAICountry::OnRequestHonorAlliance(COVEvent& event) {
    const int answer = CCountry::OnRequestHonorAlliance(event);
    if (!Guarded() || !event.Payload().Holds(HonorAlliancePayload::kValues))
        return answer;
    std::array<uint32_t, 8> values{};
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = event.Payload().Get(HonorAlliancePayload::kValues[i]);
    // The war's id at +32, the alliance's at +40, the calling country at +52.
    const ObjectId war(static_cast<uint16_t>(values[2] & 0xFFFF), values[3]);
    const ObjectId alliance(static_cast<uint16_t>(values[4] & 0xFFFF), values[5]);
    const uint32_t caller = values[7];
    CAIRelationAgent* agent = caller < kCountrySlots ? AgentFor(caller) : nullptr;
    if (agent && agent->AnswerCallToArms(alliance, war)) {
        DebugPrint("%s honors an alliance with %s\n", GetName(), NameOf(caller));
        SendHonorAlliance(values);
    } else {
        DebugPrint("%s dishonors an alliance with %s\n", GetName(), NameOf(caller));
        SendDishonorAlliance(values);
    }
    return answer;
}

int CAICountry::OnSwitchAllegiance(COVEvent& event) {
    const int answer = CCountry::OnSwitchAllegiance(event);
    if (!king || !event.Payload().Holds(SwitchAllegiancePayload::kUnit))
        return answer;
    CUnit* unit = FindUnitById(event.Payload().Get(SwitchAllegiancePayload::kUnit));
    if (unit && unit->GetOwner() == this) {
        if (unit->IsFleet())
            king->OfferFleet(unit);
        else
            king->OfferArmy(unit);
    }
    return answer;
}

// ---------------------------------------------------------------------------
// The factory's computer variant

namespace {

std::unique_ptr<CCountry> MakeComputerCountry(uint32_t number) {
    return std::make_unique<CAICountry>(number);
}

const bool g_registered = [] {
    g_countryVariants.computer = &MakeComputerCountry;
    return true;
}();

} // namespace
