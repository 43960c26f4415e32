// Fuzz target: arbitrary bytes as a message from a peer to one of the
// countries of a running world, the generated world's small scenario "The
// Amber Coast" (three realms on one coast, with the natives and outlaws the
// start-up makes). The message goes through the network's decoding, as
// every message of another machine does, and then to the country's
// dispatch and its handlers; what the handlers post runs after it.
//
// Input: bytes 0-1 the message type (little-endian, taken modulo the type
// count), byte 2 the receiving country (its index among the countries that
// exist, modulo their count; the top bit set sends the payload as it came,
// clear pads it with zeros to the type's size so that short inputs reach the
// handlers), the rest the payload after its head. The head's receiver is the
// chosen country, its due date today.
//
// The world lives for the whole run, as it does in a game: each input finds
// the world the inputs before it left.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Scheduler.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/Globals.h"
#include "world/Province.h"
#include "world/Scenario.h"
#include "world/Territory.h"

namespace {

using fuzz::Check;

constexpr size_t kInputHead = 3;
constexpr uint8_t kAsItCame = 0x80;

void EndWorld() {
    g_scenario.reset();
    g_globals.Shutdown();
    g_scheduler.Clear();
    g_gameTimer.reset();
}

// Copies what the start-up reads from the generated world into the current
// folder and starts the scenario, with the first realm played here.
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
    // The world ends before the program's static objects (the image cache
    // its pictures come from) are destroyed.
    std::atexit(EndWorld);
    return g_gameStarted == 1;
}

std::vector<CCountry*> Countries() {
    std::vector<CCountry*> out;
    for (CCountry* country : g_countries)
        if (country)
            out.push_back(country);
    return out;
}

// The countries stay in their slots and their provinces stay on the map; no
// sea zone or lake is owned or lies in a land territory, and every land
// territory a country lists holds provinces that point back to it.
void CheckWorld() {
    for (uint32_t number = 0; number < kCountrySlots; ++number) {
        CCountry* country = g_countries[number];
        Check(!country || country->GetNumber() == number);
        if (!country)
            continue;
        country->m_territories.ForEach([](CLandTerritory* territory) {
            Check(!territory->GetProvinces().IsEmpty());
            territory->GetProvinces().ForEach(
                [territory](CProvince* province) { Check(province->territory == territory); });
        });
    }
    Check(GetProvince(kFirstProvinceId) != nullptr && GetProvince(kLastProvinceId) != nullptr);
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        Check(!province->IsSea() ||
              (!province->GetOwner() && !(province->territory && province->territory->AsLand())));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kInputHead)
        return 0;
    fuzz::InScratchFolder folder;
    static const bool started = StartWorld();
    Check(started);

    const std::vector<CCountry*> countries = Countries();
    if (countries.empty())
        return 0;
    const uint32_t type = (data[0] | (data[1] << 8)) % EVENT_TYPE_COUNT;
    CCountry* country = countries[(data[2] & ~kAsItCame) % countries.size()];

    // The block as it arrives: length, then the payload with its head.
    std::vector<uint8_t> payload(EVENT_HEAD_SIZE, 0);
    payload.insert(payload.end(), data + kInputHead, data + size);
    if (!(data[2] & kAsItCame) && payload.size() < GetEventPayloadSize(type))
        payload.resize(GetEventPayloadSize(type), 0);
    if (payload.size() + 2 > 0xFFFF)
        payload.resize(0xFFFF - 2);
    COVEventData head(payload.data(), payload.size());
    head.SetTypeId(type);
    head.Set(EventHead::kDueDate, g_gameTimer->GetDate());
    head.SetReceiver(country->GetId());
    std::vector<uint8_t> block(COVNetEvent::kBlockHeadSize + payload.size(), 0);
    block[0] = static_cast<uint8_t>((payload.size() + 2) & 0xFF);
    block[1] = static_cast<uint8_t>((payload.size() + 2) >> 8);
    head.GetBytes(0, block.data() + COVNetEvent::kBlockHeadSize, payload.size());

    if (std::unique_ptr<COVEvent> event = ReceiveEvent(block.data(), block.size())) {
        country->HandleMessage(*event);
        g_scheduler.RunDue();
        g_scheduler.FlushSend();
    }
    CheckWorld();
    return 0;
}
