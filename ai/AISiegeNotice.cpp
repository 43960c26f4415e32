// The computer player hears of every new siege (notification 26).
#include "ai/AINotify.h"
#include "military/combat/Battle.h"

namespace {

const bool g_registered = [] {
    g_combatAI.siegeStarted = [](CCombat& siege) {
        NotifyAIListenersWith(
            26, [&siege](CAIEventListener& listener) { listener.OnSiegeStarted(&siege); });
    };
    return true;
}();

} // namespace
