// Fuzz target: arbitrary bytes as a movement message that a peer sends to
// the host's unit server (move orders, returns home, steps) or that reaches
// a unit (its path, a step, a stop, a jump). The first byte picks the type,
// the second the unit it names or reaches (an army or a fleet of a small
// map), the rest fills the payload after its head (a path message takes the
// length the input gives). Forty days then run. Whatever arrives, every unit
// stands in a province of the map or aboard, and every path step is a
// province.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "country/Country.h"
#include "engine/GameTimer.h"
#include "military/server/HostDispatcher.h"
#include "military/server/UnitServer.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/Province.h"

namespace {

using fuzz::Check;

constexpr uint32_t kServerTypes[] = {EVT_UNITMOVE_ADD_DEST, EVT_GOTO_FRIENDLY_PROVINCE,
                                     EVT_UNNAMED_57, EVT_TIMER_MONTH};
constexpr uint32_t kUnitTypes[] = {EVT_UNITMOVEPATH, EVT_UNITMOVE, EVT_UNITMOVECANCEL,
                                   EVT_SET_IN_PROVINCE};
constexpr int32_t kLand[] = {101, 102, 103, 104};
constexpr int32_t kSea[] = {1301, 1302};

struct Stage {
    CLandUnit* army = nullptr;
    CNavalUnit* fleet = nullptr;
};

void Link(int32_t a, int32_t b) {
    GetProvince(a)->AddNeighbour({b, 0, 0});
    GetProvince(b)->AddNeighbour({a, 0, 0});
}

Stage& MakeStage() {
    static Stage stage = [] {
        Stage made;
        InitIdRegistries(g_nullId);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = CDate(1, 0, 1600);
        for (int32_t id : kLand) {
            GetProvince(id)->terrain = 0;
            GetProvince(id)->region = 1;
        }
        for (int32_t id : kSea) {
            GetProvince(id)->terrain = 5;
            GetProvince(id)->area = kSeaArea;
        }
        Link(101, 102);
        Link(102, 103);
        Link(103, 104);
        Link(104, 1301);
        Link(1301, 1302);
        GetProvince(1301)->coastal = 1;
        AddCountry(std::make_unique<CCountry>(1));
        CCountry* owner = CountryOfNumber(1);
        made.army = new CLandUnit(owner);
        made.army->SetId(ObjectId(kFirstPlayerIdType, 1));
        made.army->SetStrength(2, 3000.0f);
        owner->AddUnit(made.army);
        made.fleet = new CNavalUnit(owner);
        made.fleet->SetId(ObjectId(kFirstPlayerIdType, 2));
        made.fleet->SetStrength(1, 3.0f);
        made.fleet->SetStrength(2, 4.0f);
        owner->AddUnit(made.fleet);
        g_hostDispatcher = new CHostDispatcher;
        g_unitServer = new UnitServer;
        return made;
    }();
    return stage;
}

void CheckUnit(const CUnit& unit) {
    Check(unit.GetLocation() >= 0 && unit.GetLocation() <= kLastProvinceId);
    CIntList::CListPosition position = nullptr;
    for (unit.GetPath().GetHeadPosition(position); position; CIntList::MoveNext(position))
        Check(position->removed ||
              (position->item >= kFirstProvinceId && position->item <= kLastProvinceId));
}

// Both units still, back at their places, nothing waiting.
void Reset(Stage& stage) {
    for (CUnit* unit : {static_cast<CUnit*>(stage.army), static_cast<CUnit*>(stage.fleet)}) {
        unit->CancelMovement();
        unit->pendingStep = nullptr;
    }
    if (stage.army->GetCarrier())
        stage.army->GetCarrier()->UnloadArmy(stage.army);
    stage.army->SetLocation(101);
    stage.fleet->SetLocation(1301);
    g_scheduler.Clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::AnswerBoxesWithIgnore();
    if (size < 2)
        return 0;
    Stage& stage = MakeStage();
    Reset(stage);
    CUnit* unit = data[1] % 2 ? static_cast<CUnit*>(stage.fleet) : stage.army;
    const uint8_t pick = data[0] % (std::size(kServerTypes) + std::size(kUnitTypes));
    const bool toServer = pick < std::size(kServerTypes);
    const uint32_t type =
        toServer ? kServerTypes[pick] : kUnitTypes[pick - std::size(kServerTypes)];
    const ObjectId receiver = toServer ? g_unitServerId : unit->GetId();

    // The payload: the type's size, or for a path the size the input gives.
    size_t payloadSize = GetEventPayloadSize(type);
    if (type == EVT_UNITMOVEPATH)
        payloadSize = std::max(payloadSize, std::min<size_t>(EVENT_HEAD_SIZE + size - 2, 512));
    auto bytes = std::make_unique<COVEventData>(payloadSize);
    std::memcpy(bytes->Bytes() + EVENT_HEAD_SIZE, data + 2,
                std::min(payloadSize - EVENT_HEAD_SIZE, size - 2));
    bytes->SetTypeId(type);
    bytes->SetReceiver(receiver);
    const COVEvent raw(std::move(bytes));
    std::unique_ptr<COVEvent> event = CreateEventCopy(raw);
    if (!event)
        return 0;
    ExecuteEvent(std::move(event));

    for (int day = 0; day < 40; ++day) {
        g_gameTimer->currentDate.AddDays(1);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }
    CheckUnit(*stage.army);
    CheckUnit(*stage.fleet);
    return 0;
}
