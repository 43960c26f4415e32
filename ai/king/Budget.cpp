#include "ai/king/Budget.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>

#include "ai/AINotify.h"
#include "ai/diplomacy/DiplomacyFigures.h"
#include "ai/king/King.h"
#include "country/Country.h"
#include "country/CountryReligion.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/City.h"
#include "world/Goods.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kNoticeWar = 19;

// The three expense entries of last month that make the monthly upkeep.
float MonthlyUpkeep(const CCountry& country) {
    const auto& expense = country.m_ledger.lastMonthExpense;
    return expense[EXPENSE_ARMY_MAINTENANCE] + expense[EXPENSE_FLEET_MAINTENANCE] +
           expense[EXPENSE_INTEREST];
}

// The cost modifier of the human player's country at this machine; none
// without such a country.
bool LocalPlayerCostModifier(float& modifier) {
    for (const CCountry* country : g_countries)
        if (country && country->IsLocalHuman()) {
            modifier = country->GetCostModifier();
            return true;
        }
    return false;
}

bool TechnologyAllows(const CCountry& country, int32_t kind) {
    const TechBase& tech = country.m_technology;
    switch (kind) {
    case 1:
        return tech.AllowsArtsManufactory();
    case 2:
        return tech.AllowsWeaponsManufactory();
    case 3:
        return tech.AllowsNavalManufactory();
    case 4:
        return tech.AllowsRefinery();
    case 5:
        return tech.AllowsGoodsManufactory();
    default:
        return false;
    }
}

} // namespace

int32_t DrawManufactoryKind(const int32_t (&weights)[6], int32_t firstDraw, int32_t fallbackDraw) {
    int32_t kind = -1;
    int32_t r = firstDraw;
    for (int32_t i = 0; i < 6; ++i) {
        r -= weights[i];
        if (r <= 0) {
            kind = i;
            break;
        }
    }
    if (kind <= 0) {
        static constexpr int32_t kFallback[] = {2, 3, 4, 5, 1};
        kind = kFallback[((fallbackDraw % 5) + 5) % 5];
    }
    return kind;
}

// ---------------------------------------------------------------------------
// The budget

void CAIKing::AllocateBudget() {
    if (!country)
        return;
    const float income = country->m_monthlyTaxIncome;
    const float upkeep = MonthlyUpkeep(*country);
    const auto stability = static_cast<float>(country->GetStability());
    const float treasury = country->m_treasury;
    const bool atWar = country->IsAtWar();
    float m = 1.0f;
    float s = 0.0f;
    float land = 0.0f;
    float naval = 0.0f;
    float pe = 0.0f;

    if (income > 0.00001f) {
        const float b = std::max(0.0f, -static_cast<float>(country->GetBudgetBoostBase()));
        float x = std::min(b / income, 1.0f);
        if (stability < 2.0f) {
            x = std::max(x, 0.05f);
            if (stability < 0.0f) {
                x = stability < -2.0f ? 1.0f : 0.75f;
                if (!m_stabilityBoostRunning) {
                    auto* boost = new CAIBoostPlan(this, AIPLAN_BOOST_STABILITY);
                    boost->Init(this);
                    AddChild(boost);
                    boost->SetPriority((7.0f - stability) * 6.0f);
                    m_stabilityBoostRunning = true;
                    boost->Start();
                }
            } else {
                x *= 1.25f;
            }
        }
        s = x;
        m = 1.0f - x;
    } else if (stability < 0.0f) {
        s = 0.2f;
        m = 0.8f;
    }

    if (income > 0.0f) {
        if (country->GetYearlyTaxIncome() < treasury && upkeep < income * m)
            m = upkeep / income;
        m = std::min(m, 0.66f);
        if (income * m < upkeep)
            m = upkeep / income;
        m = std::min(m, 1.0f);
    }

    if (!atWar) {
        const float rest = (1.0f - m) * 0.5f;
        const float colonial = ColonialBase(*country);
        naval = colonial * rest;
        land = (1.0f - colonial) * rest;
        pe = (1.0f - m) * 0.25f;
        if (!m_otherBoostRunning && GameRand() % 1000 <= 24 &&
            country->GetYearlyTaxIncome() > 100.0f) {
            int32_t type = -1;
            if (land > 0.0f && GameRand() % 100 <= 39)
                type = AIPLAN_BOOST_LANDTECH;
            else if (naval > 0.0f && GameRand() % 100 <= 39)
                type = AIPLAN_BOOST_NAVALTECH;
            else if (pe > 0.0f && GameRand() % 100 <= 49)
                type = AIPLAN_BOOST_TRADE;
            else if (pe > 0.0f)
                type = AIPLAN_BOOST_PRODUCTION;
            if (type >= 0) {
                auto* boost = new CAIBoostPlan(this, type);
                boost->Init(this);
                AddChild(boost);
                boost->SetPriority(100.0f);
                m_otherBoostRunning = true;
                boost->Start();
            }
        }
    }

    // Inflation of a country dearer than the player's.
    float playerModifier = 0.0f;
    const float modifier = country->GetCostModifier();
    if (modifier > 0.03f &&
        (!LocalPlayerCostModifier(playerModifier) || modifier > playerModifier) &&
        GameRand() % 100 < 10) {
        auto inflation = std::make_unique<COVDataEvent>(EVT_INFLATION, country->GetId());
        inflation->Payload().Set(InflationPayload::kChange, -0.005f);
        ExecuteAndSendEvent(std::move(inflation));
    }

    // A loan when the urgent requests outrun the money and it can be paid.
    float wanted = 0.0f;
    m_queues[AIRES_MONEY].ForEach([&wanted](CAIResourceRequest* request) {
        if (request && request->requester && !request->IsSatisfied() &&
            request->requester->GetRequestPriority() > 40.0f)
            wanted += request->GetAmount();
    });
    float spare = country->m_treasuryShare * income - upkeep;
    if (atWar) {
        wanted *= 2.0f;
        spare *= 2.0f;
    }
    const bool mayBorrow = country->CanTakeLoan();
    if (country->GetYearlyTaxIncome() + treasury < wanted && mayBorrow &&
        country->GetLoanAmount() *
                (static_cast<float>(country->GetLoanInterest()) *
                 static_cast<float>(country->CountLoans() + 1)) *
                0.01f * 0.083333336f <
            spare)
        country->SendRequestLoan();

    // Bankruptcy aid for a country that can neither pay its upkeep nor
    // borrow.
    if (treasury < upkeep && !mayBorrow) {
        auto aid = std::make_unique<COVDataEvent>(EVT_GAINMONEY, country->GetId());
        aid->Payload().Set(MoneyPayload::kAmount, upkeep * 5.0f + 10.0f);
        aid->Payload().Set(MoneyPayload::kKind, 6u);
        ExecuteAndSendEvent(std::move(aid));
    }

    DebugPrint("%24s budget l %5.2f n %5.2f s%5.2f pe %5.2f te %5.2f $ %5.2f\n", country->GetName(),
               static_cast<double>(land), static_cast<double>(naval), static_cast<double>(s),
               static_cast<double>(pe), static_cast<double>(pe), static_cast<double>(m));

    // Nothing to share out (no share at all): the shares stay as they are.
    const float total = 2.0f * pe + s + naval + land + m;
    if (!(total > 0.0f) || !std::isfinite(total))
        return;
    const float shares[6] = {land / total, naval / total, pe / total,
                             pe / total,   s / total,     m / total};
    if (shares[0] != country->m_landShare || shares[1] != country->m_navalShare ||
        shares[2] != country->m_peShare || shares[4] != country->m_stabilityShare ||
        shares[3] != country->m_teShare) {
        std::array<uint32_t, 6> values{};
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = std::bit_cast<uint32_t>(shares[i]);
        country->SendInvestmentChange(values);
    }
}

// ---------------------------------------------------------------------------
// The manufactory chooser

void CAIKing::ChooseManufactory() {
    if (!country || m_manufactoryPlanRunning || !active || country->IsAtWar())
        return;
    const int32_t counters =
        country->m_figures.manufactories + country->m_figures.manufactoriesBuilding;
    const int32_t limit = country->GetYearScaledLimit();
    if (counters >= limit)
        return;
    const auto stability = static_cast<float>(country->GetStability());
    const float colonial = ColonialBase(*country);
    const bool colonialTrade = country->IsColonialNation();
    int32_t weights[6] = {0, 1, 1, 1, 1, 1};
    if (country->GetBudgetBoostBase() < 3) {
        if (stability < 3.0f)
            weights[1] += 1;
        if (stability < 0.0f)
            weights[1] += 1;
    }
    if (country->GetYearlyMerchants() > 2.0f)
        weights[4] += 3;
    if (colonial < 0.25f && colonialTrade)
        weights[2] += 2;
    if (colonial > 0.5f)
        weights[3] += 1;
    else
        weights[2] += 1;
    if (colonial > 0.75f && colonialTrade)
        weights[3] += 2;
    if (country->m_figures.totalIncome > 100) {
        weights[5] += 2;
        weights[2] += 1;
    }
    int32_t total = 0;
    for (int32_t weight : weights)
        total += weight;
    const int32_t first = total != 0 ? GameRand() % total : 0;
    int32_t kind = DrawManufactoryKind(weights, first, GameRand() % 5);

    const auto self = static_cast<int32_t>(country->GetNumber());
    const uint32_t religion = country->m_religion.stateReligion;
    int32_t bestProvince = 0;
    int32_t bestKind = kind;
    int32_t bestScore = 0;
    for (int32_t id : IdsOf(country->m_ownedProvinces)) {
        const CProvince* province = GetProvince(id);
        if (!province || !country->CanBuildInProvince(id))
            continue;
        int32_t provinceKind = kind;
        int32_t score = 0;
        if (const CCity* city = province->GetCity()) {
            score += city->IsColony() ? -3 : city->GetSizeLevel();
            if (city->IsCapital())
                score += 5;
            score += static_cast<int32_t>(std::trunc(city->GetPopulation() / 1000.0f));
        }
        if (province->IsInOwnProvinceSet(self))
            score += 5;
        if (province->zoneFlag != 0)
            score -= 2;
        if (IsDifferentReligion(static_cast<uint32_t>(province->GetReligion()), religion))
            score -= 3;
        for (const ProvinceNeighbour& next : province->neighbours) {
            const CProvince* neighbour = GetProvince(next.id);
            if (neighbour && neighbour->GetOwnerNumber() > 0 && neighbour->GetOwnerNumber() != self)
                score -= 2;
        }
        const uint32_t goods = province->goods ? province->goods->id : 0;
        auto favours = [&score, provinceKind](int32_t wanted) {
            score += provinceKind == wanted ? 10 : -5;
        };
        switch (goods) {
        case 1:
        case 3:
        case 16:
            provinceKind = 5;
            score += 10;
            break;
        case 4:
        case 11:
            favours(3);
            break;
        case 8:
        case 9:
            favours(2);
            break;
        case 15:
        case 17:
            favours(4);
            break;
        default:
            break;
        }
        if (score > bestScore) {
            bestScore = score;
            bestProvince = id;
            bestKind = provinceKind;
        }
    }
    if (bestProvince == 0 || !TechnologyAllows(*country, bestKind))
        return;
    auto* plan = new CAIManufactoryPlan(this);
    plan->SetUp(this, bestProvince, bestKind);
    AddChild(plan);
    plan->SetPriority(static_cast<float>(country->m_figures.cities) *
                          static_cast<float>(limit - counters) +
                      30.0f);
    m_manufactoryPlanRunning = true;
    plan->Start();
}

void CAIKing::OnManufactoryFinished() {
    m_manufactoryPlanRunning = false;
    ChooseManufactory();
}

void CAIKing::OnManufactoryCancelled() {
    m_manufactoryPlanRunning = false;
    ChooseManufactory();
}

// ---------------------------------------------------------------------------
// Boosts

void CAIBoostPlan::Start() {
    CAIPlan::Start();
    m_wanted = 200.0f;
    if (CAIKing::IsLive(owner))
        owner->RequestMoney(this, 200.0f);
}

void CAIBoostPlan::AddMoney(float amount) {
    m_held += amount;
    if (active && m_held >= m_wanted && m_wanted > 0.0f)
        Act();
}

bool CAIBoostPlan::IsAllowed() const {
    if (!country)
        return false;
    switch (m_type) {
    case AIPLAN_BOOST_STABILITY:
        return country->CanBoostStability();
    case AIPLAN_BOOST_TRADE:
        return country->CanBoostTrade();
    case AIPLAN_BOOST_PRODUCTION:
        return country->CanBoostInfrastructure();
    case AIPLAN_BOOST_LANDTECH:
        return country->CanBoostLand();
    case AIPLAN_BOOST_NAVALTECH:
        return country->CanBoostNaval();
    default:
        return false;
    }
}

void CAIBoostPlan::SendBoost() const {
    static constexpr const char* kLines[] = {
        "%s boosts stability\n", "%s boosts trade efficiency\n",
        "%s boosts production efficiency\n", "%s boosts land tech\n", "%s boosts naval tech\n"};
    const int32_t index = m_type - AIPLAN_BOOST_STABILITY;
    if (index < 0 || index > 4)
        return;
    DebugPrint(kLines[index], country->GetName());
    switch (m_type) {
    case AIPLAN_BOOST_STABILITY:
        country->SendBoostStability();
        break;
    case AIPLAN_BOOST_TRADE:
        country->SendBoostTrade();
        break;
    case AIPLAN_BOOST_PRODUCTION:
        country->SendBoostInfrastructure();
        break;
    case AIPLAN_BOOST_LANDTECH:
        country->SendBoostLand();
        break;
    default:
        country->SendBoostNaval();
        break;
    }
}

void CAIBoostPlan::Act() {
    if (IsAllowed()) {
        SendBoost();
        Finish();
    } else {
        Cancel();
    }
}

void CAIBoostPlan::Finish() {
    m_held = 0.0f;
    Succeed();
}

// ---------------------------------------------------------------------------
// The manufactory plan

void CAIManufactoryPlan::SetUp(CAIAgent* newParent, int32_t province, int32_t kind) {
    Init(newParent);
    m_kind = kind;
    m_province = province;
}

void CAIManufactoryPlan::Start() {
    CAIPlan::Start();
    m_cost = country ? static_cast<float>(country->GetFacilityCost(m_province, m_kind)) : 0.0f;
    if (CAIKing::IsLive(owner))
        owner->RequestMoney(this, m_cost);
    Subscribe(kNoticeWar, false);
}

void CAIManufactoryPlan::Stop() {
    Unsubscribe(kNoticeWar);
    CAIPlan::Stop();
}

void CAIManufactoryPlan::AddMoney(float amount) {
    m_held += amount;
    if (!active || m_held < m_cost)
        return;
    if (country && country->CanBuildFacility(m_province, m_kind))
        Finish();
    else
        Cancel();
}

void CAIManufactoryPlan::Finish() {
    const CProvince* province = GetProvince(m_province);
    DebugPrint("%s builds a %d manufacturi in %s\n", country ? country->GetName() : "", m_kind,
               province ? province->name.c_str() : "");
    if (country)
        country->SendBuildFacility(static_cast<uint32_t>(m_province), static_cast<uint32_t>(m_kind),
                                   static_cast<uint32_t>(std::max(m_cost, 0.0f)));
    m_held = 0.0f;
    if (CAIKing* king = parent && parent->IsKing() ? parent->GetKing() : nullptr)
        king->OnManufactoryFinished();
    Succeed();
}

void CAIManufactoryPlan::Cancel() {
    if (CAIKing* king = parent && parent->IsKing() ? parent->GetKing() : nullptr)
        king->OnManufactoryCancelled();
    CAIPlan::Cancel();
}

void CAIManufactoryPlan::OnWar(int32_t a, int32_t b) {
    const auto self = country ? static_cast<int32_t>(country->GetNumber()) : -1;
    if (active && (a == self || b == self))
        Cancel();
}
