// The country's handlers of colonists, traders and merchants: the stock of
// colonists, merchants and diplomats, the journey of a colonist or trader,
// its arrival and the colony or trading post it founds or grows, the
// merchants placed in a centre of trade and the competition that drives
// other countries' merchants out, and the start of a manufactory.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/PayloadChecks.h"
#include "country/Relations.h"
#include "data/ScenarioHeader.h"
#include "engine/CriticalError.h"
#include "engine/Format.h"
#include "engine/Random.h"
#include "engine/Saturate.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/City.h"
#include "world/Construction.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/MapView.h"
#include "world/Mecenat.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/ScenarioSteps.h"
#include "world/TradingPost.h"

void (*g_raiseDemarcationEvent)(int32_t randomNumber) = nullptr;

namespace {

constexpr uint32_t kEconomyPoints = 0;       // BVPECO
constexpr uint32_t kEstablishmentPoints = 4; // BVPEST

constexpr uint32_t kLedgerColonist = 5;
constexpr uint32_t kLedgerTrader = 6;
constexpr uint32_t kLedgerMerchant = 7;
constexpr uint32_t kLedgerManufactory = 11;

constexpr uint32_t kConstructionTrader = 8;
constexpr uint32_t kConstructionColonist = 9;
constexpr uint32_t kConstructionManufactory = 10;

constexpr int32_t kNoticeMerchantPlaced = 21; // "MERCSUCC"
constexpr int32_t kNoticeMerchantLost = 23;   // "MERCLOSS"
constexpr int32_t kNoticeMerchantOusted = 24; // "MERCOLOSS"
constexpr int32_t kNoticeMonopoly = 35;       // "MONOPOLY"
constexpr int32_t kNoticeMonopolyOther = 36;  // "MONOPOLYOTHER"

constexpr float kStockCap = 6.0f;
constexpr float kMaxShare = 6.0f;
constexpr float kColonyGrowth = 100.0f;
constexpr float kSettledPopulation = 600.0f;

bool IsTutorialGame() {
    return g_scenarioInfo && g_scenarioInfo->tutorial;
}

int32_t LocalPlayer() {
    return g_scenarioSteps.localPlayerCountry ? g_scenarioSteps.localPlayerCountry() : -1;
}

// The province a message names; null, with a log line, for an id outside
// 1..1472.
CProvince* NamedProvince(const COVEvent& event, uint32_t id) {
    if (IsPayloadProvince(id))
        if (CProvince* province = GetProvince(static_cast<int32_t>(id)))
            return province;
    AppendToLog("Country message " + std::to_string(event.GetType()) + " dropped: province " +
                std::to_string(id));
    return nullptr;
}

// The land province a colonist or trader message names; null, with a log
// line, for a sea zone or lake, which nobody settles or owns.
CProvince* NamedLandProvince(const COVEvent& event, uint32_t id) {
    CProvince* province = NamedProvince(event, id);
    if (province && province->IsSea()) {
        AppendToLog("Country message " + std::to_string(event.GetType()) +
                    " dropped: no land in province " + std::to_string(id));
        return nullptr;
    }
    return province;
}

// A country number a message names; false, with a log line, outside 0..98.
bool IsCountryNumber(const COVEvent& event, uint32_t number) {
    if (IsPayloadCountry(number))
        return true;
    AppendToLog("Country message " + std::to_string(event.GetType()) + " dropped: country " +
                std::to_string(number));
    return false;
}

// The merchant count a message carries: -1 counts as 1; a count beyond 98
// (or below -1) is no count.
bool MerchantCountOf(const COVEvent& event, int32_t& count) {
    const auto value = static_cast<int32_t>(event.Payload().Get(COVMerchantEvent::kValue));
    count = value == -1 ? 1 : value;
    if (count >= 0 && count <= static_cast<int32_t>(kMaxPayloadEntries))
        return true;
    AppendToLog("Merchant message dropped: count " + std::to_string(value));
    return false;
}

float Capped(float value, float cap) {
    return std::clamp(value, 0.0f, cap);
}

// The colonist and trader messages each carry one; the doubling flag counts
// it twice.
int32_t JourneyCount(const CCountry& country) {
    return country.m_alternativeBanner == 1 ? 2 : 1;
}

std::unique_ptr<COVColonistEvent> Journey(const CCountry& country, uint32_t type, uint32_t province,
                                          uint32_t success) {
    return std::make_unique<COVColonistEvent>(type, country.GetId(), country.GetNumber(), province,
                                              success, 0);
}

std::unique_ptr<COVMerchantEvent> MerchantMessage(const CCountry& country, uint32_t type,
                                                  uint32_t province, int32_t count, uint8_t success,
                                                  const CDate& arrival) {
    auto event = std::make_unique<COVMerchantEvent>(type, country.GetId());
    COVEventData& payload = event->Payload();
    payload.Set(COVMerchantEvent::kCentre, province);
    payload.Set(COVMerchantEvent::kArrival, arrival);
    payload.Set(COVMerchantEvent::kCountry, country.GetId());
    payload.Set(COVMerchantEvent::kValue, static_cast<uint32_t>(count));
    payload.Set(COVMerchantEvent::kProvince, ObjectId(kProvinceIdType, province));
    payload.Set(COVMerchantEvent::kSuccess, success);
    return event;
}

// The host's spending reaches every machine.
void ExecuteLoseMoney(const CCountry& country, float amount, uint32_t kind) {
    auto event = std::make_unique<COVDataEvent>(EVT_LOSEMONEY, country.GetId());
    event->Payload().Set(MoneyPayload::kAmount, amount);
    event->Payload().Set(MoneyPayload::kKind, kind);
    ExecuteAndSendEvent(std::move(event));
}

// The stock change of a step every machine runs stays on this machine; the
// host's own steps send theirs.
void ExecuteSimple(const CCountry& country, uint32_t type) {
    ExecuteEvent(std::make_unique<COVSimpleEvent>(type, country.GetId()));
}
void ExecuteAndSendSimple(const CCountry& country, uint32_t type) {
    ExecuteAndSendEvent(std::make_unique<COVSimpleEvent>(type, country.GetId()));
}

// Every neighbour of the province owned by another country likes the new
// settler one point less.
void OffendNeighbours(const CCountry& country, const CProvince& province) {
    for (const ProvinceNeighbour& link : province.neighbours) {
        const CProvince* neighbour = GetProvince(link.id);
        if (!neighbour)
            continue;
        const int32_t owner = neighbour->GetOwnerNumber();
        if (neighbour->GetOwner() && owner != static_cast<int32_t>(country.GetNumber()))
            ChangeRelationMutual(country.GetNumber(), static_cast<uint32_t>(owner), -1.0f);
    }
}

float ShareOf(const CCentreOfTrade& centre, uint32_t country) {
    const CCotMerchant* entry = centre.GetMerchant(country);
    return entry ? entry->level : 0.0f;
}

// The month, day and year of the arrival as one word (day in the lowest
// byte, month in the next, year in the upper half).
uint32_t DateWord(const CDate& date) {
    return static_cast<uint32_t>(static_cast<uint8_t>(date.day)) |
           static_cast<uint32_t>(static_cast<uint8_t>(date.month)) << 8 |
           static_cast<uint32_t>(static_cast<uint16_t>(date.year)) << 16;
}

// The computer player hears of a settlement or a merchant (on the host).
void NotifyAI(uint32_t kind, uint32_t country, uint32_t province) {
    if (IsHost() && g_countryAI.notifyListeners)
        g_countryAI.notifyListeners(kind, country, province);
}

// The settled province's map, screens and computer player follow.
void AfterSettling(CCountry& country, const CProvince& province) {
    country.RecountProvinces();
    RecolourMap(g_viewingCountry, g_mapMode);
    SendRefreshWindows();
    NotifyAI(22, country.GetNumber(), static_cast<uint32_t>(province.GetNumber()));
    NotifyAI(23, country.GetNumber(), static_cast<uint32_t>(province.GetNumber()));
}

bool IsCatholicPower(uint32_t number, uint32_t settler) {
    const CCountry* country = CountryOfNumber(number);
    return country && number != settler &&
           (country->m_religion.stateReligion == RELIGION_CATHOLIC ||
            country->m_religion.stateReligion == RELIGION_COUNTERREFORM);
}

// A colony outside Europe while Spain, Portugal and the Papacy are all
// catholic raises the demarcation treaty once it is not yet recorded.
void RaiseDemarcation(const CCountry& country, const CProvince& province) {
    if (!IsHost() || !g_raiseDemarcationEvent || province.continent == 2 ||
        g_globals.EventFlag(0) || g_gameType == 2)
        return;
    for (uint32_t power : {8u, 5u, 46u})
        if (!IsCatholicPower(power, country.GetNumber()))
            return;
    g_raiseDemarcationEvent(GameRand());
}

} // namespace

// --- the stock of colonists, merchants and diplomats ---

int CCountry::OnUseColonist(COVEvent&) {
    m_colonists = Capped(m_colonists - 1.0f, kStockCap);
    return EVENT_CONSUMED;
}

int CCountry::OnUseDiplomat(COVEvent&) {
    m_diplomats = Capped(m_diplomats - 1.0f, kStockCap);
    return EVENT_CONSUMED;
}

int CCountry::OnUseMerchant(COVEvent&) {
    m_merchants = Capped(m_merchants - 1.0f, GetMerchantCap());
    return EVENT_CONSUMED;
}

int CCountry::OnGetColonist(COVEvent&) {
    AddColonists(1.0f);
    return EVENT_CONSUMED;
}

int CCountry::OnGetMerchant(COVEvent&) {
    AddMerchants(1.0f);
    return EVENT_CONSUMED;
}

int CCountry::OnGetDiplomat(COVEvent&) {
    AddDiplomats(1.0f);
    return EVENT_CONSUMED;
}

// --- colonists and traders ---

namespace {

// The journey of a colonist or trader leaving for the province.
void SendOff(CCountry& country, COVEvent& event, bool trader) {
    const COVEventData& payload = event.Payload();
    const uint32_t id = payload.Get(COVColonistEvent::kProvince);
    if (!NamedLandProvince(event, id))
        return;
    const CDate arrival = payload.Get(COVColonistEvent::kArrival);
    const uint32_t success = payload.Get(COVColonistEvent::kSuccess) != 0 ? 1 : 0;
    if (IsHost()) {
        ExecuteAndSendSimple(country, EVT_USE_COLONIST);
        // The message carries no price: the country's own rule gives it.
        const auto province = static_cast<int32_t>(id);
        const float price =
            trader ? country.GetTraderCost(province) : country.GetColonistCost(province);
        ExecuteLoseMoney(country, static_cast<float>(TruncateToInt(price)),
                         trader ? kLedgerTrader : kLedgerColonist);
        uint32_t type = 0;
        if (trader)
            type = success ? EVT_TRADER_ARRIVED : EVT_ESTABLISH_TRADEPOST_FAILED;
        else
            type = success ? EVT_COLONIST_ARRIVED : EVT_COLONISATION_FAILED;
        PostEventAtAndSend(Journey(country, type, id, success), arrival);
    }
    ScheduleExpireConstruction(country.GetNumber(),
                               trader ? kConstructionTrader : kConstructionColonist, id, arrival);
    if (CMecenatList* list = GetTravellerList()) {
        const int32_t source = country.GetCapitalId();
        auto traveller = std::make_unique<CMecenat>();
        traveller->Create(static_cast<int32_t>(country.GetNumber()),
                          static_cast<uint32_t>(std::max(source, 0)), id, trader ? 1 : 0,
                          DateWord(arrival), static_cast<uint8_t>(success), trader ? 1 : 0);
        list->AddTail(traveller.release());
    }
    SendRefreshWindows();
}

void RemoveTraveller(const CCountry& country, uint32_t province) {
    if (CMecenatList* list = GetTravellerList())
        list->Remove(static_cast<int32_t>(country.GetNumber()), province);
}

} // namespace

int CCountry::OnSendColonist(COVEvent& event) {
    SendOff(*this, event, false);
    return EVENT_CONSUMED;
}

int CCountry::OnSendTrader(COVEvent& event) {
    SendOff(*this, event, true);
    return EVENT_CONSUMED;
}

int CCountry::OnColonistArrived(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVColonistEvent::kProvince);
    const CProvince* province = NamedLandProvince(event, id);
    if (!province)
        return EVENT_CONSUMED;
    RemoveTraveller(*this, id);
    if (IsHost()) {
        const CCountry* owner = province->GetOwner();
        const uint32_t type = !owner || owner == this ? EVT_COLONISE : EVT_COLONISATION_BOUNCED;
        ExecuteAndSendEvent(Journey(*this, type, id, 1));
    }
    return EVENT_CONSUMED;
}

int CCountry::OnTraderArrived(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVColonistEvent::kProvince);
    const CProvince* province = NamedLandProvince(event, id);
    if (!province)
        return EVENT_CONSUMED;
    RemoveTraveller(*this, id);
    if (IsHost()) {
        const CCountry* owner = province->GetOwner();
        const bool free = !province->GetCity() && (!owner || owner == this);
        ExecuteAndSendEvent(Journey(
            *this, free ? EVT_ESTABLISH_TRADEPOST : EVT_ESTABLISH_TRADEPOST_BOUNCED, id, 1));
    }
    return EVENT_CONSUMED;
}

int CCountry::OnColonise(COVEvent& event) {
    CProvince* province =
        NamedLandProvince(event, event.Payload().Get(COVColonistEvent::kProvince));
    if (!province)
        return EVENT_CONSUMED;
    const int32_t id = province->GetNumber();
    m_colonialAttempts = 9999;
    province->ChangeOwner(this);

    for (int32_t i = 0; i < JourneyCount(*this); ++i) {
        CCity* city = province->GetCity();
        if (!city) {
            FoundColony(id);
            province->religion = static_cast<int32_t>(m_religion.stateReligion);
            AddBaseVictoryPoints(kEstablishmentPoints, 0.8f);
            const uint32_t slot = g_globals.establishments.Claim(*province);
            if (slot >= 1 && slot <= 4)
                AddBaseVictoryPoints(kEstablishmentPoints, 5.0f);
        } else {
            city->SetPopulation(city->GetPopulation() + kColonyGrowth);
            const int32_t level = province->natives;
            if (level > 0 && city->GetPopulation() > kSettledPopulation) {
                city->SetPopulation(city->GetPopulation() + static_cast<float>(level) * 100.0f);
                province->SetMapSymbolLevel(0);
            } else {
                province->religion = static_cast<int32_t>(m_religion.stateReligion);
            }
        }
        OffendNeighbours(*this, *province);
    }

    AfterSettling(*this, *province);
    UpdateMissionProgress(2);
    UpdateMissionProgress(5);
    RaiseDemarcation(*this, *province);
    return EVENT_CONSUMED;
}

int CCountry::OnEstablishTradepost(COVEvent& event) {
    CProvince* province =
        NamedLandProvince(event, event.Payload().Get(COVColonistEvent::kProvince));
    if (!province)
        return EVENT_CONSUMED;
    const int32_t id = province->GetNumber();
    province->ChangeOwner(this);

    for (int32_t i = 0; i < JourneyCount(*this); ++i) {
        CTradingPost* post = province->GetTradingPost();
        if (!post) {
            FoundTradingPost(id);
            // A new post starts at level 1.
            if (CTradingPost* founded = province->GetTradingPost();
                founded && founded->level < 1.0f)
                founded->level = 1.0f;
            AddBaseVictoryPoints(kEstablishmentPoints, 0.4f);
            const uint32_t slot = g_globals.establishments.Claim(*province);
            if (slot >= 5 && slot <= 7)
                AddBaseVictoryPoints(kEstablishmentPoints, 5.0f);
        } else {
            post->level = std::min(post->level + 1.0f, kMaxShare);
        }
        OffendNeighbours(*this, *province);
    }

    AfterSettling(*this, *province);
    UpdateMissionProgress(6);
    return EVENT_CONSUMED;
}

int CCountry::OnColonisationFailed(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVColonistEvent::kProvince);
    if (NamedProvince(event, id))
        RemoveTraveller(*this, id);
    ++m_colonialAttempts;
    return EVENT_CONSUMED;
}

int CCountry::OnEstablishTradepostFailed(COVEvent& event) {
    const uint32_t id = event.Payload().Get(COVColonistEvent::kProvince);
    if (NamedProvince(event, id))
        RemoveTraveller(*this, id);
    return EVENT_CONSUMED;
}

int CCountry::OnColonisationBounced(COVEvent&) {
    // The colonist comes home.
    AddColonists(1.0f);
    return EVENT_CONSUMED;
}

// --- merchants ---

int CCountry::OnSendMerchant(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t id = payload.Get(COVMerchantEvent::kProvince).number;
    CProvince* province = NamedProvince(event, id);
    int32_t count = 0;
    if (!province || !MerchantCountOf(event, count) ||
        !IsFigureWithin(payload.Get(COVMerchantEvent::kCost), kPaymentRange, "send merchant",
                        m_number))
        return EVENT_CONSUMED;
    CCentreOfTrade* centre = province->centreOfTrade;
    const CDate arrival = payload.Get(COVMerchantEvent::kArrival);
    const uint8_t success = payload.Get(COVMerchantEvent::kSuccess) != 0 ? 1 : 0;
    if (centre) {
        CCotMerchant* entry = centre->GetMerchant(m_number);
        if (!entry) {
            auto made = std::make_unique<CCotMerchant>();
            made->country = static_cast<int32_t>(m_number);
            entry = made.get();
            centre->SetMerchant(std::move(made));
        }
        CMerchantVoyage voyage;
        voyage.location = centre->GetProvinceId();
        voyage.country = static_cast<int32_t>(m_number);
        voyage.success = success;
        voyage.arrival = arrival;
        entry->extra.push_back(voyage);
    }
    if (IsHost()) {
        ExecuteAndSendSimple(*this, EVT_USE_MERCHANT);
        ExecuteLoseMoney(*this, static_cast<float>(payload.Get(COVMerchantEvent::kCost)),
                         kLedgerMerchant);
        PostEventAt(MerchantMessage(*this, EVT_REQ_MERCHANT_SUCCESS, id, count, success, arrival),
                    arrival);
    }
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnReqMerchantSuccess(COVEvent& event) {
    if (!IsHost())
        return EVENT_CONSUMED;
    const COVEventData& payload = event.Payload();
    const uint32_t id = payload.Get(COVMerchantEvent::kProvince).number;
    const CProvince* province = NamedProvince(event, id);
    int32_t count = 0;
    if (!province || !MerchantCountOf(event, count))
        return EVENT_CONSUMED;
    uint8_t success = payload.Get(COVMerchantEvent::kSuccess) != 0 ? 1 : 0;
    if (province->centreOfTrade && ShareOf(*province->centreOfTrade, m_number) > 4.0f &&
        m_technology.trade.GetLevel() < 3)
        success = 0;
    ExecuteAndSendEvent(MerchantMessage(*this, EVT_EXEC_MERCHANT_SUCCESS, id,
                                        static_cast<int32_t>(payload.Get(COVMerchantEvent::kValue)),
                                        success, payload.Get(COVMerchantEvent::kArrival)));
    return EVENT_CONSUMED;
}

namespace {

// The rival whose merchant a refused or failed merchant tries to drive
// out; -1 when none.
int32_t ChooseRival(const CCountry& country, const CCentreOfTrade& centre) {
    int32_t rival = -1;
    for (uint32_t n = 0; n < kCountrySlots; ++n)
        if (n != country.GetNumber() && CountryOfNumber(n) &&
            static_cast<int32_t>(ShareOf(centre, n)) == 6)
            rival = static_cast<int32_t>(n);
    if (rival >= 0)
        return rival;
    int32_t best = -100;
    for (uint32_t n = 0; n < kCountrySlots; ++n) {
        const CCountry* other = CountryOfNumber(n);
        const float share = ShareOf(centre, n);
        if (n == country.GetNumber() || !other || share <= 0.0f)
            continue;
        int32_t v = GameRand() % 10 + 10;
        if (country.m_diplomacy.IsAtWarWith(n))
            v += 20;
        if (other->m_major != 0)
            v -= 10;
        if (other->IsTradingNation())
            v -= 10;
        v += 3 * static_cast<int32_t>(share);
        if (country.m_diplomacy.IsTradeRefusedBy(n))
            v += 4;
        if (!country.IsAlliedWith(n))
            v += 5;
        if (country.m_religion.stateReligion != other->m_religion.stateReligion)
            v += 3;
        v += 10 - other->GetMonarchAdm();
        const float merchants = other->m_merchants;
        v = SaturateToInt32(int64_t{v} - TruncateToInt32(std::trunc(merchants) * merchants));
        const int32_t r = std::max(
            1, TruncateToInt32(static_cast<float>(v) - 20.0f * other->GetTradeEfficiency()));
        if (r > best) {
            best = r;
            rival = static_cast<int32_t>(n);
        }
    }
    return rival;
}

} // namespace

int CCountry::OnExecMerchantSuccess(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t id = payload.Get(COVMerchantEvent::kProvince).number;
    CProvince* province = NamedProvince(event, id);
    int32_t count = 0;
    if (!province || !MerchantCountOf(event, count))
        return EVENT_CONSUMED;
    CCentreOfTrade* centre = province->centreOfTrade;
    if (!centre)
        return EVENT_CONSUMED;
    const bool success = payload.Get(COVMerchantEvent::kSuccess) != 0;
    const int32_t n = count * (m_alternativeBanner == 1 ? 2 : 1);
    if (CCotMerchant* entry = centre->GetMerchant(m_number); entry && n > 0)
        entry->RemoveFirstVoyage();

    const int32_t player = LocalPlayer();
    for (int32_t i = 0; i < n; ++i) {
        if (success && !MayCompeteInCentre(province->GetNumber())) {
            if (IsLocalHuman())
                PostGameMessage1At(kNoticeMerchantPlaced, m_number, province->name, province->name,
                                   province->GetNumber());
            CCotMerchant* entry = centre->GetMerchant(m_number);
            if (!entry) {
                auto made = std::make_unique<CCotMerchant>();
                made->country = static_cast<int32_t>(m_number);
                made->level = 1.0f;
                centre->SetMerchant(std::move(made));
            } else if (entry->level >= kMaxShare) {
                ExecuteSimple(*this, EVT_GET_MERCHANT);
            } else {
                entry->level = std::min(entry->level + 1.0f, kMaxShare);
                if (entry->level > 5.0f) {
                    if (IsLocalHuman())
                        PostGameMessage1At(kNoticeMonopoly, m_number, province->name,
                                           province->name, province->GetNumber());
                    else if (player >= 0 && player < static_cast<int32_t>(kCountrySlots))
                        PostGameMessage2At(kNoticeMonopolyOther, static_cast<uint32_t>(player),
                                           GetName(), GetName(), province->name,
                                           province->GetNumber());
                }
            }
            centre->RecountTotal();
            AddBaseVictoryPoints(kEconomyPoints, 0.05f);
            const CProvince* seat = GetProvince(centre->GetProvinceId());
            const CCountry* owner = seat ? seat->GetOwner() : nullptr;
            const int32_t capital = GetCapitalId();
            if (owner && GetProvince(capital) && capital >= kFirstProvinceId &&
                !IsProvinceDiscovered(owner->GetNumber(), capital))
                ExecuteAndSendEvent(std::make_unique<COVProvinceEvent>(
                    EVT_DISCOVERPROVINCE, owner->GetId(), static_cast<uint32_t>(capital)));
            continue;
        }
        if (!IsHost())
            continue;
        const int32_t rival = ChooseRival(*this, *centre);
        if (rival < 0) {
            if (success)
                PostAndSendEventNow(MerchantMessage(*this, EVT_EXEC_MERCHANT_SUCCESS, id, -1, 0,
                                                    payload.Get(COVMerchantEvent::kArrival)));
            continue;
        }
        const CCountry* other = CountryOfNumber(rival);
        const int chance =
            5 * (10 * (static_cast<int32_t>(GetTradeEfficiency() - other->GetTradeEfficiency()) +
                       1) +
                 static_cast<int32_t>(GetStability() - other->GetStability())) +
            3 * (GetMonarchAdm() - other->GetMonarchAdm());
        if (IsTutorialGame() || RollPercent(chance) >= 2) {
            auto lose = std::make_unique<COVDataEvent>(EVT_LOSE_TRADELEVEL, other->GetId());
            lose->Payload().Set(LoseTradeLevelPayload::kProvince, id);
            lose->Payload().Set(LoseTradeLevelPayload::kCountry, other->GetNumber());
            lose->Payload().Set(LoseTradeLevelPayload::kOther, m_number);
            ExecuteAndSendEvent(std::move(lose));
        }
    }
    UpdateMissionProgress(4);
    NotifyAI(24, m_number, id);
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnLoseTradeLevel(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t id = payload.Get(LoseTradeLevelPayload::kProvince);
    const uint32_t other = payload.Get(LoseTradeLevelPayload::kOther);
    CProvince* province = NamedProvince(event, id);
    if (!province || !IsCountryNumber(event, other))
        return EVENT_CONSUMED;
    CCentreOfTrade* centre = province->centreOfTrade;
    if (!centre)
        return EVENT_CONSUMED;
    if (CCotMerchant* entry = centre->GetMerchant(m_number)) {
        entry->level = std::min(entry->level - 1.0f, kMaxShare);
        const int32_t player = LocalPlayer();
        if (IsLocalHuman())
            PostGameMessage2At(kNoticeMerchantLost, m_number, province->name, province->name,
                               FormatText("%d", static_cast<int32_t>(entry->level)),
                               province->GetNumber());
        else if (player >= 0 && static_cast<uint32_t>(player) == other)
            PostGameMessage2At(kNoticeMerchantOusted, other, province->name, province->name,
                               GetName(), province->GetNumber());
        if (entry->level < 1.0f)
            centre->RemoveMerchant(m_number);
        ChangeRelationMutual(m_number, other, -5.0f);
    }
    centre->RecountTotal();
    return EVENT_CONSUMED;
}

// --- manufactories ---

int CCountry::OnExecBuildFacility(COVEvent& event) {
    const COVEventData& payload = event.Payload();
    const uint32_t id = payload.Get(COVFacilityEvent::kProvince);
    CProvince* province = NamedProvince(event, id);
    if (!province || !payload.Holds(COVFacilityEvent::kCost)) {
        AppendToLog("Facility message dropped: short payload");
        return EVENT_CONSUMED;
    }
    if (!IsFigureWithin(payload.Get(COVFacilityEvent::kCost), kPaymentRange, "build facility",
                        m_number))
        return EVENT_CONSUMED;
    const CDate end = payload.Get(COVFacilityEvent::kEndDate);
    SpendMoney(kLedgerManufactory, static_cast<float>(payload.Get(COVFacilityEvent::kCost)));
    if (CCity* city = province->GetCity())
        city->StartManufactory(static_cast<int32_t>(payload.Get(COVFacilityEvent::kKind)));
    ScheduleExpireConstruction(m_number, kConstructionManufactory, id, end);
    AddBaseVictoryPoints(kEstablishmentPoints, 1.0f);
    if (IsHost())
        PostEventAtAndSend(std::make_unique<COVProvinceEvent>(EVT_BUILD_FACILITY, GetId(), id),
                           end);
    RecountProvinces();
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

int CCountry::OnBuildFacilityFailed(COVEvent&) {
    SendRefreshWindows();
    return EVENT_CONSUMED;
}
