#include "net/Senders.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"

CDate GetGameDate() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

void SendDestroyTradingPost(uint32_t province) {
    PostRequestNow(
        std::make_unique<COVProvinceEvent>(EVT_REQ_DESTROY_TPOST, g_nativesRequestsId, province));
}

namespace {

void SendUnitRequest(uint32_t type, const ObjectId& unit) {
    auto event = std::make_unique<COVDataEvent>(type, g_unitRequestsId);
    event->Payload().Set(UnitRequestPayload::kUnit, unit);
    PostAndSendEventNow(std::move(event));
}

} // namespace

void SendDisbandUnit(const ObjectId& unit) {
    SendUnitRequest(EVT_REQUEST_DISBAND_UNIT, unit);
}
void SendRequestSplitArmy(const ObjectId& unit) {
    SendUnitRequest(EVT_REQUEST_SPLIT_ARMY, unit);
}
void SendRequestCreateDetachment(const ObjectId& unit) {
    SendUnitRequest(EVT_REQUEST_CREATE_DETACHMENT, unit);
}
void SendRequestCreateWarshipsDetachment(const ObjectId& unit) {
    SendUnitRequest(EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT, unit);
}
void SendRequestDetachCoverForce(const ObjectId& unit) {
    SendUnitRequest(EVT_REQUEST_DETACH_COVER_FORCE, unit);
}
void SendRequestDetachSiegeForce(const ObjectId& unit) {
    SendUnitRequest(EVT_REQUEST_DETACH_SIEGE_FORCE, unit);
}

void SendRequestMerge(const std::vector<ObjectId>& units) {
    for (size_t i = 1; i < units.size(); ++i) {
        auto event = std::make_unique<COVDataEvent>(EVT_REQUEST_MERGE, g_unitRequestsId);
        event->Payload().Set(MergeRequestPayload::kUnit, units[0]);
        event->Payload().Set(MergeRequestPayload::kJoining, units[i]);
        ExecuteAndSendEvent(std::move(event));
    }
}

void SendRefreshWindows() {
    PostEventNow(std::make_unique<COVSimpleEvent>(EVT_REFRESHWINDOWS, g_broadcastId));
}

void SendDeclineWarPact(uint32_t inviting) {
    PostAndSendEventNow(
        std::make_unique<COVSimpleEvent>(EVT_DECLINE_WARPACT, MakeCountryId(inviting)));
}

int32_t TruncateToInt(float value) {
    if (std::isnan(value))
        return 0;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    return static_cast<int32_t>(value);
}

int GetMerchantChance(float tradeEfficiency, float stability, int adm) {
    const int64_t chance =
        ((int64_t{TruncateToInt(tradeEfficiency)} + 1) * 10 + TruncateToInt(stability)) * 5 +
        3 * int64_t{adm};
    return static_cast<int>(std::clamp<int64_t>(chance, 1, 99));
}
