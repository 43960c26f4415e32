// Fuzz target: arbitrary bytes as the fields of a message addressed to a
// province with a town, a port-less coast and natives. The first byte picks
// the message type among those the province takes, the rest fills the
// payload after its head. Whatever a peer sends, the province's figures stay
// within their ranges.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/City.h"
#include "world/Province.h"

namespace {

using fuzz::Check;

constexpr uint32_t kTypes[] = {
    EVT_TIMER_MONTH,
    EVT_TIMER_TICK_LOOP,
    EVT_COMBAT_CREATE,
    EVT_COMBAT_DELETE,
    EVT_FORTRESS_DAMAGE,
    EVT_CITY_DAMAGE,
    EVT_GAME_STARTED,
    EVT_LOOT_PROVINCE,
    EVT_UNLOOT_PROVINCE,
    EVT_EXPIRE_CONSTRUCTION,
    EVT_SET_NATIVES,
    EVT_UNNAMED_209,
    EVT_CHANGE_RELIGION_PROVINCE,
    EVT_CHANGE_INCOME_PROVINCE,
    EVT_CREATE_PRODUCTION_FACILITY,
};

constexpr int32_t kProvince = 40;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::AnswerBoxesWithIgnore();
    if (size < 1)
        return 0;
    CProvince& province = *GetProvince(kProvince);
    if (!province.GetCity()) {
        auto city = std::make_unique<CCity>();
        city->SetPopulation(3000.0f);
        province.SetCity(std::move(city));
        province.maxNatives = 40;
    }
    const uint32_t type = kTypes[data[0] % std::size(kTypes)];
    COVDataEvent event(type, ObjectId(kProvinceIdType, kProvince));
    COVEventData& payload = event.Payload();
    const size_t room = payload.Size() - EVENT_HEAD_SIZE;
    std::memcpy(payload.Bytes() + EVENT_HEAD_SIZE, data + 1, std::min(room, size - 1));

    const int answer = province.HandleMessage(event);
    Check(answer == EVENT_NOT_HANDLED || answer == EVENT_CONSUMED);
    Check(province.religion >= RELIGION_PROTESTANT && province.religion <= RELIGION_PAGAN);
    Check(province.natives >= 0 && province.natives <= province.maxNatives);
    const CCity* city = province.GetCity();
    Check(city != nullptr);
    const float level = city->GetFortress().level;
    Check(level >= 0.0f && level <= 6.0f);
    Check(city->GetPopulation() >= 0.0f && city->GetPopulation() <= CCity::kMaxPopulation);
    Check(city->manufactory >= CCity::MANUFACTORY_NONE &&
          city->manufactory <= CCity::MANUFACTORY_GOODS);
    g_scheduler.Clear();
    return 0;
}
