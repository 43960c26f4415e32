#include "military/server/Natives.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "country/Country.h"
#include "engine/CriticalError.h"
#include "engine/GameTimer.h"
#include "engine/Random.h"
#include "military/server/HostDispatcher.h"
#include "military/server/RequestSupport.h"
#include "military/units/LandUnit.h"
#include "military/units/Leader.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/PayloadRoles.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/CentreOfTrade.h"
#include "world/Province.h"

bool g_nativesAsleep = false;

namespace {

constexpr const char* kServer = "Natives";

// Regions that change the natives' ways.
constexpr int32_t kNorthAmerica = 1;
constexpr int32_t kCentralAmerica = 2;
constexpr int32_t kCarribean = 3;
constexpr int32_t kSouthAmerica = 4;
constexpr int32_t kSiberia = 13;
constexpr int32_t kIndia = 14;
constexpr int32_t kChina = 15;
constexpr int32_t kIndochina = 16;
constexpr int32_t kIndonesia = 17;
constexpr int32_t kJapan = 18;
constexpr int32_t kAustralia = 19;
constexpr int32_t kEastAfrica = 21;
constexpr int32_t kWestAfrica = 22;
constexpr int32_t kPacific = 23;
constexpr int32_t kSunni = 5;

// The countries whose leaders fare better (Spain) or worse (France) among
// the natives.
constexpr uint32_t kSpain = 8;
constexpr uint32_t kFrance = 2;

// A native army stays this many days unless it fights.
constexpr int32_t kPacifyDays = 5;

const bool g_nativesRegistered = [] {
    g_hostServers[HOST_NATIVES] = HandleNativesRequest;
    return true;
}();

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// The province the request names; null, with a log line, for none.
CProvince* RequestedProvince(const COVEvent& event, uint32_t id) {
    CProvince* province = IsPayloadProvince(id) ? GetProvince(id) : nullptr;
    if (!province)
        LogRefusedRequest(event, kServer, ("province " + std::to_string(id)).c_str());
    return province;
}

// The natives a province holds, within its maximum.
int32_t NativesOf(const CProvince& province) {
    return std::clamp(province.natives, 0, std::max(province.maxNatives, 0));
}

int32_t MonthlyGrowth(int32_t group) {
    if (group <= 2)
        return 1;
    if (group <= 4 || group == 9)
        return 3;
    return 5;
}

void GrowNatives() {
    for (uint32_t id = 1; id <= kLastPayloadProvince; ++id) {
        const CProvince* province = GetProvince(id);
        if (!province || province->natives <= 0 || province->natives >= province->maxNatives)
            continue;
        SendSetNatives(id, province->natives + MonthlyGrowth(GetProvinceCultureGroup(id)));
    }
}

// The settlement attacks: it empties and becomes an army of the natives'
// country, to be disbanded after a few days unless it fights.
void NativeAttack(const COVEvent& event, CProvince& province) {
    const float size = static_cast<float>(NativesOf(province)) * 100.0f;
    if (size <= 0.0f)
        return;
    CCountry* natives = CountryOfNumber(kNativesCountry);
    if (!natives) {
        LogRefusedRequest(event, kServer, "the natives' country does not exist");
        return;
    }
    const uint32_t id = province.GetNumber();
    float infantryShare = 1.0f;
    float cavalryShare = 0.0f;
    const int32_t group = GetProvinceCultureGroup(id);
    if (group == 4) {
        infantryShare = cavalryShare = 0.5f;
    } else if (group >= 5 && group <= 8) {
        infantryShare = 0.8f;
        cavalryShare = 0.2f;
    } else if (group == 9) {
        infantryShare = 0.75f;
        cavalryShare = 0.25f;
    }
    const auto infantry = static_cast<uint32_t>(size * infantryShare);
    const auto cavalry = static_cast<uint32_t>(size * cavalryShare);
    SendSetNatives(id, 0);

    const ObjectId army = NewObjectId();
    auto create = std::make_unique<COVArmyEvent>(EVT_CREATE_ARMY, natives->GetId());
    COVEventData& payload = create->Payload();
    payload.Set(NewUnitHead::kProvince, id);
    payload.Set(NewUnitHead::kDate, Today());
    payload.Set(NewUnitHead::kUnit, army);
    payload.Set(NewUnitHead::kReady, Today());
    payload.Set(NewUnitHead::kCountry, natives->GetId());
    payload.Set(COVArmyEvent::kInfantry, infantry);
    payload.Set(COVArmyEvent::kCavalry, cavalry);
    PostAndSendEventNow(std::move(create));

    auto pacify = std::make_unique<COVDataEvent>(EVT_PACIFY_NATIVE, g_nativesRequestsId);
    pacify->Payload().Set(PacifyNativePayload::kArmy, army);
    CDate due = Today();
    due.AddDays(kPacifyDays);
    PostEventAt(std::move(pacify), due);
}

// Whether the natives attack the arrivals: the worse their hostility and
// the fewer the men the likelier, less so against a skilled commander.
bool NativesAttack(const CProvince& province) {
    if (g_nativesAsleep || province.natives <= 0)
        return false;
    int32_t base = 10 * province.tolerance;
    int32_t best = 9999;
    int32_t size = 0;
    const CLeader* leader = nullptr;
    ForEachUnitIn(province.GetNumber(), [&](CUnit& unit) {
        const CLeader* commander = unit.GetMovementCommander();
        if (!commander || commander->rank >= best || !unit.IsArmy())
            return;
        best = commander->rank;
        leader = commander;
        size += unit.GetSize();
    });
    if (leader) {
        base -= 10 * leader->manoeuvre;
        if (leader->GetCountryNumber() == kSpain)
            base += 20;
        if (leader->GetCountryNumber() == kFrance)
            base -= 20;
        if (leader->category == LEADER_CONQUISTADOR)
            base -= 30;
    }
    const int32_t roll = GameRand() % 100;
    const float chance =
        static_cast<float>(size / 1000 - NativesOf(province) / 10 + base + 25) * province.ferocity;
    return std::isfinite(chance) && roll < static_cast<int32_t>(chance);
}

// A conquistador's first meeting with the natives kills part of them.
void ConquistadorTest(CProvince& province) {
    if (province.conquistadorTested)
        return;
    int32_t percent = 40 - GameRand() % 20;
    const CLeader* leader = nullptr;
    ForEachUnitIn(province.GetNumber(), [&leader](CUnit& unit) {
        const CLeader* commander = unit.GetMovementCommander();
        if (commander && commander->category == LEADER_CONQUISTADOR &&
            (!leader || commander->rank < leader->rank))
            leader = commander;
    });
    if (leader) {
        percent += leader->manoeuvre + leader->GetShock() + leader->GetFire();
        if (leader->GetCountryNumber() == kSpain || leader->GetCountryNumber() == kFrance)
            percent += 2;
    }
    if (province.region == kCentralAmerica || province.region == kCarribean ||
        province.region == kSouthAmerica)
        percent += 5;
    province.conquistadorTested = 1;
    // A province without natives has nothing to lose (and nothing to tell).
    if (NativesOf(province) > 0)
        SendSetNatives(province.GetNumber(),
                       static_cast<int32_t>(static_cast<float>(percent) * 0.01f *
                                            static_cast<float>(NativesOf(province))));
}

void Pacify(const COVEvent& event) {
    const ObjectId id = event.Payload().Get(PacifyNativePayload::kArmy);
    if (const CUnit* army = dynamic_cast<CUnit*>(ResolveId(id)))
        DisbandUnitIfIdle(*army);
}

void DestroyTradingPost(const COVEvent& event, const CProvince& province) {
    const CCentreOfTrade* centre = province.centreOfTrade;
    if (!province.GetTradingPost() ||
        (centre && centre->GetProvinceId() == static_cast<int32_t>(province.GetNumber())))
        return;
    const CCountry* owner = province.GetOwner();
    if (!owner) {
        LogRefusedRequest(event, kServer, "a trading post without an owner");
        return;
    }
    PostAndSendEventNow(std::make_unique<COVProvinceEvent>(EVT_EXEC_DESTROY_TPOST, owner->GetId(),
                                                           province.GetNumber()));
}

} // namespace

int HandleNativesRequest(COVEvent& event) {
    if (!IsHost())
        return 0;
    const uint32_t type = event.GetType();
    switch (type) {
    case EVT_TIMER_MONTH:
        GrowNatives();
        return 0;
    case EVT_PACIFY_NATIVE:
        if (IsSoundRequest(event, kServer))
            Pacify(event);
        return 0;
    case EVT_REQUEST_CONQUISTADOR_TEST:
    case EVT_REQUEST_NATIVE_ATTACK:
    case EVT_REQUEST_PERHAPS_NATIVE_ATTACK:
    case EVT_REQ_DESTROY_TPOST:
        break;
    default:
        return 0;
    }
    CProvince* province =
        RequestedProvince(event, event.Payload().Get(COVProvinceEvent::kProvince));
    if (!province)
        return 0;
    switch (type) {
    case EVT_REQUEST_CONQUISTADOR_TEST:
        ConquistadorTest(*province);
        break;
    case EVT_REQUEST_NATIVE_ATTACK:
        NativeAttack(event, *province);
        break;
    case EVT_REQUEST_PERHAPS_NATIVE_ATTACK:
        if (NativesAttack(*province))
            NativeAttack(event, *province);
        break;
    default:
        DestroyTradingPost(event, *province);
        break;
    }
    return 0;
}

void SendSetNatives(uint32_t province, int32_t count) {
    if (!IsHost() || province == 0)
        return;
    auto event =
        std::make_unique<COVDataEvent>(EVT_SET_NATIVES, ObjectId(kProvinceIdType, province));
    event->Payload().Set(ProvinceValuePayload::kValue, count);
    ExecuteAndSendEvent(std::move(event));
}

int32_t GetProvinceCultureGroup(uint32_t id) {
    const CProvince* province = GetProvince(id);
    if (!province)
        return 4;
    switch (province->region) {
    case kNorthAmerica:
        return 2;
    case kCentralAmerica:
    case kCarribean:
        return 1;
    case kSouthAmerica:
        return 0;
    case kSiberia:
        return 9;
    case kIndia:
        return 5;
    case kChina:
        return 6;
    case kIndochina:
    case kIndonesia:
    case kAustralia:
    case kPacific:
        return 8;
    case kJapan:
        return 7;
    case kEastAfrica:
    case kWestAfrica:
        return province->GetReligion() == kSunni ? 4 : 3;
    default:
        return 4;
    }
}

void RollCityEvent(uint32_t province, int32_t percent) {
    if (!IsHost())
        return;
    const CProvince* place = GetProvince(province);
    if (GameRand() % 100 >= percent || !place || !place->GetOwner())
        return;
    ExecuteAndSendEvent(
        std::make_unique<COVProvinceEvent>(EVT_UNNAMED_123, place->GetOwner()->GetId(), province));
}

void DisbandUnitIfIdle(const CUnit& unit) {
    if (!unit.IsInCombat())
        SendDisbandUnit(unit.GetId());
}
