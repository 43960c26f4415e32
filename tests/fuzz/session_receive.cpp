// Fuzz target: arbitrary bytes as a message that arrived from a peer, handed
// to the session of a host with three players. The first byte picks what the
// network reports (a game message, or a player that joined or left, during
// the lobby or a running game); the rest is the message or the player's
// name; with the bit 8 of the first byte the session is a client's. Whatever
// arrives, the slot table stays within its 16 slots, a game message of a
// peer changes no slot's player, name, country or the count (only the host
// sends them, and here it sends none), and a chat line that runs names its
// sender's slot (the session's own sender only on a client, for its host).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/GameMenu.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "platform/Network.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/Scenario.h"

namespace {

using fuzz::Check;

// The lobby's part: player data records go to the slot table; chat lines
// are checked as they would be shown.
class Lobby : public CGameMenu {
public:
    int HandleMessage(COVEvent& event) override {
        if (event.GetType() == EVT_PLAYER_DATA && g_netSession)
            g_netSession->UpdateSlot(event);
        if (event.GetType() == EVT_APPMSG_CHATSTRING && g_netSession) {
            const uint32_t from = event.GetNetSender();
            const uint32_t shown = static_cast<const COVChatEvent&>(event).GetSender();
            // The session's own lines (departures) are made here.
            if (from == COVEvent::kMadeHere)
                return EVENT_NOT_HANDLED;
            if (shown == 0xFFFFFFFFu)
                Check(!g_netSession->IsHost() && from == g_netSession->HostPlayer());
            else
                Check(static_cast<int32_t>(shown) == g_netSession->SlotOfPlayer(from));
        }
        return EVENT_NOT_HANDLED;
    }
};

struct SlotView {
    uint32_t player;
    std::string name;
    int32_t country;
    bool operator==(const SlotView&) const = default;
};

std::vector<SlotView> View(const CNetSession& session) {
    std::vector<SlotView> view;
    for (int32_t i = 0; i < session.m_slotCount; ++i) {
        const NetSlot& slot = session.GetSlot(static_cast<uint32_t>(i));
        view.push_back({slot.playerId, slot.name.value_or(""), slot.country});
    }
    return view;
}

CNetSession& HostSession() {
    static CNetSession* session = [] {
        fuzz::AnswerBoxesWithIgnore();
        auto* made = new CNetSession(nullptr);
        made->SetSendFunction([](const std::vector<uint8_t>&) { return true; });
        return made;
    }();
    return *session;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    static Lobby lobby;
    CNetSession& session = HostSession();
    const bool client = (data[0] & 8) != 0;
    session.m_active = 1;
    session.m_isHost = client ? 0 : 1;
    session.m_localPlayerId = client ? 2 : 1;
    session.m_localSlot = client ? 1 : 0;
    session.m_slotCount = 3;
    for (uint32_t i = 0; i < kNetMaxSlots; ++i) {
        NetSlot& slot = session.GetSlot(i);
        slot = NetSlot{};
        if (i < 3) {
            slot.playerId = i + 1;
            slot.name = i == 0 ? "Ann" : "Player";
            slot.ready = 1;
            slot.present = 1;
        }
    }
    g_netSession = &session;
    g_openGameMenu = &lobby;
    g_gameStarted = (data[0] & 4) ? 1 : 0;

    platform::net::Message message;
    message.player = data[1];
    switch (data[0] & 3) {
    case 1:
        message.kind = platform::net::MessageKind::PlayerCreated;
        message.name.assign(reinterpret_cast<const char*>(data + 2), size - 2);
        break;
    case 2:
        message.kind = platform::net::MessageKind::PlayerDestroyed;
        message.name.assign(reinterpret_cast<const char*>(data + 2), size - 2);
        break;
    default:
        message.kind = platform::net::MessageKind::Data;
        message.data.assign(data + 2, data + size);
        break;
    }
    const std::vector<SlotView> before = View(session);
    session.HandleNetworkMessage(message);
    g_scheduler.RunDue();
    g_scheduler.FlushSend();
    if (message.kind == platform::net::MessageKind::Data)
        Check(View(session) == before);

    Check(session.m_slotCount >= 0 && session.m_slotCount <= static_cast<int32_t>(kNetMaxSlots));
    Check(session.m_localSlot >= 0 && session.m_localSlot < static_cast<int32_t>(kNetMaxSlots));
    for (uint32_t i = 0; i < kNetMaxSlots; ++i)
        Check(!session.GetSlot(i).name || session.GetSlot(i).name->size() < kNetSlotNameSize);

    g_scheduler.Clear();
    g_openGameMenu = nullptr;
    g_netSession = nullptr;
    g_gameStarted = 0;
    return 0;
}
