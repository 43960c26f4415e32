#include "ai/king/MerchantAgent.h"

#include <cmath>

#include "ai/king/King.h"
#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/Random.h"
#include "world/CentreOfTrade.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kNoticeWar = 19;
// Held or wanted amounts closer than this count as equal.
constexpr float kAmountTolerance = 0.01f;

const char* CountryName(const CCountry* country) {
    return country ? country->GetName() : "";
}

// The centre seated in the province, else the one it trades with.
const CCentreOfTrade* CentreOf(int32_t province) {
    if (const CCentreOfTrade* seated = g_cotCalc.FindSeatedIn(province))
        return seated;
    const CProvince* found = GetProvince(province);
    return found ? found->centreOfTrade : nullptr;
}

} // namespace

int32_t DrawWeightedIndex(const std::vector<AIWeightedProvince>& entries, int32_t draw) {
    for (size_t i = 0; i < entries.size(); ++i) {
        draw -= entries[i].weight;
        if (draw < 0)
            return static_cast<int32_t>(i);
    }
    return -1;
}

// ---------------------------------------------------------------------------
// The merchant agent

void CAIMerchantAgent::Start() {
    CAIStandingAgent::Start();
    ConsiderMerchantPlan();
    PostTimer(AIRandomDelay(30, 30), 0);
}

void CAIMerchantAgent::OnTimer(uint32_t value) {
    (void)value;
    PostTimer(AIRandomDelay(30, 30), 0);
    if (!active)
        return;
    if (children.IsEmpty()) {
        ConsiderMerchantPlan();
        return;
    }
    // Checking may end a plan (and start the next): walk a copy.
    std::vector<CAIAgent*> plans;
    children.ForEach([&plans](CAIAgent* child) { plans.push_back(child); });
    for (CAIAgent* child : plans) {
        if (!children.Contains(child))
            continue;
        if (auto* plan = dynamic_cast<CAISendMerchantPlan*>(child))
            plan->Check();
    }
}

void CAIMerchantAgent::OnMerchantPlanFinished(int32_t province) {
    (void)province;
    if (active)
        ConsiderMerchantPlan();
}

void CAIMerchantAgent::OnMerchantPlanCancelled(int32_t province) {
    (void)province;
    if (active)
        ConsiderMerchantPlan();
}

std::vector<AIWeightedProvince> CAIMerchantAgent::MerchantCandidates() const {
    std::vector<AIWeightedProvince> entries;
    if (!country)
        return entries;
    for (int32_t slot = 0; slot < CCotCalc::kSlotCount; ++slot) {
        const CCentreOfTrade* centre = g_cotCalc.GetSlot(slot);
        if (!centre || centre->GetProvinceId() == 0)
            continue;
        const float weight = RateCentreOfTrade(centre->GetProvinceId());
        if (weight >= 1.0f)
            entries.push_back({centre->GetProvinceId(),
                               static_cast<int32_t>(std::min(std::trunc(weight), 1.0e9f))});
    }
    const CProvince* capital = country->GetCapital();
    if (capital && capital->centreOfTrade && capital->centreOfTrade->GetProvinceId() != 0)
        entries.push_back({capital->centreOfTrade->GetProvinceId(), 1});
    return entries;
}

void CAIMerchantAgent::ConsiderMerchantPlan() {
    if (!country || !owner)
        return;
    if (GameRand() % 100 > static_cast<int32_t>(country->m_aiPrefs.traders))
        return;
    DebugPrint("Considering a new merchant plan for %s!\n", country->GetName());
    const std::vector<AIWeightedProvince> entries = MerchantCandidates();
    int64_t total = 0;
    for (const AIWeightedProvince& entry : entries)
        total += entry.weight;
    if (total <= 0)
        return;
    total = std::min<int64_t>(total, INT32_MAX);
    const int32_t index = DrawWeightedIndex(entries, GameRand() % static_cast<int32_t>(total));
    if (index < 0)
        return;
    auto* plan = new CAISendMerchantPlan(owner);
    plan->SetUp(this, entries[static_cast<size_t>(index)].province);
    AddChild(plan);
    plan->Start();
}

float CAIMerchantAgent::RateCentreOfTrade(int32_t province) const {
    if (!country || !country->MayPlaceMerchant(province))
        return -1.0f;
    const CCentreOfTrade* centre = CentreOf(province);
    if (!centre)
        return -1.0f;
    float value = centre->value;
    if (value == 0.0f) {
        for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
            const CProvince* assigned = GetProvince(id);
            if (assigned && assigned->centreOfTrade == centre)
                value += assigned->GetTradingPostValue();
        }
    }
    const CCotMerchant* own = centre->GetMerchant(country->GetNumber());
    const int32_t others =
        centre->total - 2 * (own ? static_cast<int32_t>(std::trunc(own->level)) : 0);
    if (others < 6)
        value *= 1.5f;
    if (others < 2)
        value *= 1.5f;
    const CProvince* seat = GetProvince(province);
    if (seat && seat->GetOwnerNumber() == static_cast<int32_t>(country->GetNumber()))
        return value * 5.0f;
    const int32_t capital = country->GetCapitalId();
    if (capital < kFirstProvinceId || capital > kLastProvinceId)
        return value;
    const float distance = centre->DistanceSquaredTo(capital);
    return distance >= 1.0f ? value / distance : value;
}

// ---------------------------------------------------------------------------
// The plans' common part

void CAISettlementPlanBase::SetUp(CAIAgent* newParent, int32_t province) {
    m_province = province;
    Init(newParent);
}

void CAISettlementPlanBase::AddMoney(float amount) {
    m_money += amount;
    Check();
}

void CAISettlementPlanBase::Finish() {
    Succeed();
}

bool CAISettlementPlanBase::AskForPriceRise() {
    const float price = std::trunc(CurrentCost() + 1.0f);
    if (price - std::trunc(m_moneyWanted) <= 0.0f)
        return false;
    if (CAIKing::IsLive(owner))
        owner->RequestMoney(this, price - std::trunc(m_moneyWanted));
    m_moneyWanted = price;
    return true;
}

const char* CAISettlementPlanBase::ProvinceName() const {
    const CProvince* province = GetProvince(m_province);
    return province ? province->name.c_str() : "";
}

// ---------------------------------------------------------------------------
// The merchant plan

void CAISendMerchantPlan::Start() {
    CAIPlan::Start();
    priority = 85.0f;
    m_moneyWanted = std::trunc(CurrentCost());
    m_peopleWanted = 1.0f;
    if (CAIKing::IsLive(owner)) {
        owner->RequestMoney(this, m_moneyWanted);
        owner->RequestMerchants(this, 1.0f);
    }
}

float CAISendMerchantPlan::CurrentCost() const {
    return country ? static_cast<float>(country->GetMerchantCost(m_province)) : 0.0f;
}

void CAISendMerchantPlan::AddMerchants(float amount) {
    m_people += amount;
    Check();
}

void CAISendMerchantPlan::Check() {
    if (!active || !country)
        return;
    if (m_moneyWanted - m_money > kAmountTolerance) {
        if (!RequestSlot(AIRES_MONEY))
            Cancel();
        return;
    }
    if (m_peopleWanted - m_people > kAmountTolerance) {
        if (!RequestSlot(AIRES_MERCHANTS))
            Cancel();
        return;
    }
    if (AskForPriceRise())
        return;
    if (country->CanSendMerchant(m_province) && CurrentCost() <= m_moneyWanted) {
        country->SendMerchant(static_cast<uint32_t>(m_province));
        DebugPrint("%s sends a merchant to %s\n", CountryName(country), ProvinceName());
        Finish();
    } else {
        DebugPrint("%s cant send a merchant to %s as he wanted\n", CountryName(country),
                   ProvinceName());
        Cancel();
    }
}

void CAISendMerchantPlan::Finish() {
    m_people = 0.0f;
    if (auto* agent = dynamic_cast<CAIMerchantAgent*>(parent))
        agent->OnMerchantPlanFinished(m_province);
    CAISettlementPlanBase::Finish();
}

void CAISendMerchantPlan::Cancel() {
    if (auto* agent = dynamic_cast<CAIMerchantAgent*>(parent))
        agent->OnMerchantPlanCancelled(m_province);
    CAISettlementPlanBase::Cancel();
}

// ---------------------------------------------------------------------------
// The colonist and trader plans

void CAISendColonistPlan::Start() {
    CAIPlan::Start();
    m_moneyWanted = std::trunc(CurrentCost());
    m_peopleWanted = 1.0f;
    if (CAIKing::IsLive(owner)) {
        owner->RequestMoney(this, m_moneyWanted);
        owner->RequestColonists(this, 1.0f);
    }
    Subscribe(kNoticeWar, true);
}

void CAISendColonistPlan::Stop() {
    Unsubscribe(kNoticeWar);
    CAISettlementPlanBase::Stop();
}

void CAISendColonistPlan::AddColonists(float amount) {
    m_people += amount;
    Check();
}

void CAISendColonistPlan::TakeMoney(float amount) {
    m_money -= amount;
    if (active && amount > 0.0f && CAIKing::IsLive(owner))
        owner->RequestMoney(this, amount);
}

void CAISendColonistPlan::TakeColonists(float amount) {
    m_people -= amount;
    if (active && amount > 0.0f && CAIKing::IsLive(owner))
        owner->RequestColonists(this, amount);
}

float CAISendColonistPlan::CurrentCost() const {
    return country ? country->GetColonistCost(m_province) : 0.0f;
}

bool CAISendColonistPlan::MaySend() const {
    return country && country->CanSendColonist(m_province);
}

void CAISendColonistPlan::Send() const {
    country->SendColonist(static_cast<uint32_t>(m_province));
}

float CAISendTraderPlan::CurrentCost() const {
    return country ? country->GetTraderCost(m_province) : 0.0f;
}

bool CAISendTraderPlan::MaySend() const {
    return country && country->CanSendTrader(m_province);
}

void CAISendTraderPlan::Send() const {
    country->SendTrader(static_cast<uint32_t>(m_province));
}

void CAISendColonistPlan::Check() {
    if (!active || !country)
        return;
    if (m_moneyWanted - m_money > kAmountTolerance || m_peopleWanted - m_people > kAmountTolerance)
        return;
    if (AskForPriceRise())
        return;
    if (MaySend()) {
        Send();
        DebugPrint(SendLine(), CountryName(country), ProvinceName());
        m_people = 0.0f;
        Finish();
    } else {
        Cancel();
    }
}
