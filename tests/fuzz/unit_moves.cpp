// Fuzz target: arbitrary bytes as a step ("_COVEVT_UNITMOVE_") or a move
// path ("_COVEVT_UNITMOVEPATH_") from a peer to one of the units of a
// running world, the generated world's small scenario "The Amber Coast". The
// message goes through the network's decoding, as every message of another
// machine does, and then to the unit's step or path receiver.
//
// Input: byte 0 bit 0 chooses the message (0 the step, 1 the path), bit 7
// sends the payload as it came (clear: padded with zeros to the type's
// size); byte 1 the unit (its index among the units of all countries,
// modulo their count); the rest the payload after its head.
//
// The world lives for the whole run: each input finds the units where the
// inputs before it left them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
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

constexpr size_t kInputHead = 2;
constexpr uint8_t kAsItCame = 0x80;

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
    g_scenario = std::make_unique<CScenario>("scenarios\\amber_coast.ovg", 7);
    g_scheduler.RunDue();
    std::atexit(EndWorld);
    return g_gameStarted == 1;
}

std::vector<CUnit*> Units() {
    std::vector<CUnit*> out;
    for (CCountry* country : g_countries)
        if (country)
            country->m_units.ForEach([&out](CUnit* unit) {
                if (unit)
                    out.push_back(unit);
            });
    return out;
}

// Every unit stands in a province or none, a fleet never on land without a
// port, and every path goes through provinces.
void CheckUnits() {
    for (const CUnit* unit : Units()) {
        Check(IsProvinceLocation(unit->GetLocation()));
        const CProvince* here = GetProvince(unit->GetLocation());
        if (unit->IsFleet() && unit->GetLocation() != 0)
            Check(here->IsSea() || here->GetPort() != nullptr);
        CIntList::CListPosition node = nullptr;
        for (unit->GetPath().GetHeadPosition(node); node; CIntList::MoveNext(node))
            Check(node->removed ||
                  (node->item >= kFirstProvinceId && node->item <= kLastProvinceId));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kInputHead)
        return 0;
    fuzz::InScratchFolder folder;
    static const bool started = StartWorld();
    Check(started);

    const std::vector<CUnit*> units = Units();
    if (units.empty())
        return 0;
    const bool path = (data[0] & 1) != 0;
    const uint32_t type = path ? EVT_UNITMOVEPATH : EVT_UNITMOVE;
    CUnit* unit = units[data[1] % units.size()];

    std::vector<uint8_t> payload(EVENT_HEAD_SIZE, 0);
    payload.insert(payload.end(), data + kInputHead, data + size);
    if (!(data[0] & kAsItCame) && payload.size() < GetEventPayloadSize(type))
        payload.resize(GetEventPayloadSize(type), 0);
    if (payload.size() + 2 > 0xFFFF)
        payload.resize(0xFFFF - 2);
    COVEventData head(payload.data(), payload.size());
    head.SetTypeId(type);
    head.Set(EventHead::kDueDate, g_gameTimer->GetDate());
    head.SetReceiver(unit->GetId());
    std::vector<uint8_t> block(COVNetEvent::kBlockHeadSize + payload.size(), 0);
    block[0] = static_cast<uint8_t>((payload.size() + 2) & 0xFF);
    block[1] = static_cast<uint8_t>((payload.size() + 2) >> 8);
    head.GetBytes(0, block.data() + COVNetEvent::kBlockHeadSize, payload.size());

    if (std::unique_ptr<COVEvent> event = ReceiveEvent(block.data(), block.size())) {
        if (path)
            unit->OnMovePath(*event);
        else
            unit->OnUnitMove(*event);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }
    CheckUnits();
    return 0;
}
