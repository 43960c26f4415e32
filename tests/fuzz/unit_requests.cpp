// Fuzz target: arbitrary bytes as a unit or leader request from a peer to
// the host of a running world, the generated world's small scenario "The
// Amber Coast" (its armies, fleets, leaders and monarchs). The request goes
// through the network's decoding, as every message of another machine
// does, and then to the host's unit requests or its leader registry; what
// they execute and post runs after it.
//
// Input: byte 0 the request (an index into the request types below, modulo
// their count), bytes 1 and 2 the first and the second unit (an index among
// the units that exist, modulo their count; with the top bit set the ids
// stay as the payload gives them), the rest the payload after its head,
// padded with zeros to the type's size. The chosen units' ids go to +20 and
// +28 (the leader requests: the unit to +24), the head's receiver is the
// request's server and its due date today.
//
// The world lives for the whole run, as it does in a game: each input finds
// the world the inputs before it left.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "military/server/UnitRequests.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Scheduler.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

using fuzz::Check;

constexpr size_t kInputHead = 3;
constexpr uint8_t kRawIds = 0x80;

constexpr std::array<uint32_t, 23> kRequests = {
    EVT_REQUEST_SPLIT_ARMY,
    EVT_REQUEST_CREATE_DETACHMENT,
    EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT,
    EVT_REQUEST_CREATE_GALLEYS_DETACHMENT,
    EVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT,
    EVT_REQUEST_DETACH_SIEGE_FORCE,
    EVT_REQUEST_DETACH_COVER_FORCE,
    EVT_REQUEST_DISBAND_UNIT,
    EVT_REQUEST_MERGE,
    EVT_REQUEST_TRANSFER_INFANTRY,
    EVT_REQUEST_TRANSFER_ARTILLERY,
    EVT_REQUEST_TRANSFER_CAVALRY,
    EVT_REQUEST_TRANSFER_WARSHIPS,
    EVT_REQUEST_TRANSFER_TRANSPORTS,
    EVT_REQUEST_TRANSFER_GALLEYS,
    EVT_REQUEST_TRANSFER_OVERLOAD_FIX,
    EVT_REQUEST_CANCEL_CONSTRUCTION,
    EVT_REQUEST_REPLACEMENT_LEADER,
    EVT_REQUEST_NEW_LEADER,
    EVT_ARRIVE_LEADER,
    EVT_REQUEST_REPLACEMENT_MONARCH,
    EVT_REQUEST_SPLIT_ARMY, // the commonest requests twice
    EVT_REQUEST_MERGE,
};

bool IsLeaderRequest(uint32_t type) {
    return type == EVT_REQUEST_REPLACEMENT_LEADER || type == EVT_REQUEST_NEW_LEADER ||
           type == EVT_ARRIVE_LEADER || type == EVT_REQUEST_REPLACEMENT_MONARCH;
}

void EndWorld() {
    g_scenario.reset();
    g_globals.Shutdown();
    g_scheduler.Clear();
    g_gameTimer.reset();
}

bool StartWorld() {
    BuildKeywordIndex();
    test::CopyDemoWorld(std::filesystem::current_path());
    SetCountryTagSource(FindCountryTagOfNumber);
    g_countryController.fill(0);
    g_countryController[1] = 1;
    g_gameType = 0;
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_scheduler.Clear();
    g_globals.Init();
    LoadRandomLeaderNames();
    g_scenario = std::make_unique<CScenario>("scenarios\\amber_coast.ovg", 7);
    g_scheduler.RunDue();
    std::atexit(EndWorld);
    return g_gameStarted == 1;
}

// Every unit of every country, in country and list order.
std::vector<CUnit*> Units() {
    std::vector<CUnit*> units;
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        for (CLinkedList<CUnit>* list : {&country->m_units, &country->m_unitsInDevelopment})
            list->ForEach([&units](CUnit* unit) {
                if (unit)
                    units.push_back(unit);
            });
    }
    return units;
}

// Each unit belongs to the country whose list holds it, its strengths are
// numbers of 0 or more, and the armies aboard a fleet know their carrier.
void CheckWorld() {
    for (CCountry* country : g_countries) {
        if (!country)
            continue;
        country->m_units.ForEach([country](CUnit* unit) {
            Check(!unit || unit->GetOwner() == country);
            if (!unit)
                return;
            for (int i = 0; i < 3; ++i)
                Check(!std::isnan(unit->GetStrength(i)) && unit->GetStrength(i) >= 0.0f);
            if (auto* fleet = dynamic_cast<CNavalUnit*>(unit))
                const_cast<CLinkedList<CLandUnit>&>(fleet->GetCargo())
                    .ForEach(
                        [fleet](CLandUnit* army) { Check(!army || army->GetCarrier() == fleet); });
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kInputHead)
        return 0;
    fuzz::InScratchFolder folder;
    static const bool started = StartWorld();
    Check(started);

    const uint32_t type = kRequests[data[0] % kRequests.size()];
    const bool leaderRequest = IsLeaderRequest(type);

    std::vector<uint8_t> payload(EVENT_HEAD_SIZE, 0);
    payload.insert(payload.end(), data + kInputHead, data + size);
    if (payload.size() < GetEventPayloadSize(type))
        payload.resize(GetEventPayloadSize(type), 0);
    if (payload.size() + 2 > 0xFFFF)
        payload.resize(0xFFFF - 2);
    COVEventData head(payload.data(), payload.size());
    head.SetTypeId(type);
    head.Set(EventHead::kDueDate, g_gameTimer->GetDate());
    head.SetReceiver(leaderRequest ? g_leaderRequestsId : g_unitRequestsId);
    const std::vector<CUnit*> units = Units();
    const size_t first = leaderRequest ? 24 : 20;
    if (!units.empty()) {
        if (!(data[1] & kRawIds) && head.Holds(first, 8))
            head.SetId(first, units[(data[1] & ~kRawIds) % units.size()]->GetId());
        if (!(data[2] & kRawIds) && !leaderRequest && head.Holds(28, 8))
            head.SetId(28, units[(data[2] & ~kRawIds) % units.size()]->GetId());
    }
    std::vector<uint8_t> block(COVNetEvent::kBlockHeadSize + payload.size(), 0);
    block[0] = static_cast<uint8_t>((payload.size() + 2) & 0xFF);
    block[1] = static_cast<uint8_t>((payload.size() + 2) >> 8);
    head.GetBytes(0, block.data() + COVNetEvent::kBlockHeadSize, payload.size());

    if (std::unique_ptr<COVEvent> event = ReceiveEvent(block.data(), block.size())) {
        if (leaderRequest) {
            if (g_leaderRegistry)
                g_leaderRegistry->HandleEvent(*event);
        } else {
            HandleUnitRequest(*event);
        }
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }
    CheckWorld();
    return 0;
}
