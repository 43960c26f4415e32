// Fuzz target: arbitrary bytes as "db\RandomEvents.csv", read as the random
// events are made at the start of a scenario. Whatever the file holds, the
// reading ends, every random and history event has its object, and no
// event name holds a line end.
#include <cstddef>
#include <cstdint>

#include "engine/ObjectId.h"
#include "military/server/RandomEvents.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("db/RandomEvents.csv", data, size);
    InitIdRegistries(g_nullId);
    {
        CRandomEvents events;
        for (uint32_t n : {1u, 2u, 3u, 7u, 50u, 59u, 101u, 401u, 1101u})
            fuzz::Check(CRandomEvents::FindEvent(n) != nullptr);
        for (uint32_t n = 0; n <= CRandomEvents::kEventNumbers + 1; ++n)
            fuzz::Check(events.GetEventName(n).find('\n') == std::string::npos);
    }
    FreeIdRegistries();
    return 0;
}
