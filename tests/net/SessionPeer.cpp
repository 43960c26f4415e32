#include "tests/net/SessionPeer.h"

#include <filesystem>
#include <optional>
#include <sstream>

#include "engine/GameState.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "net/SessionHolder.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "tests/net/ScopedSeams.h"

namespace sessiontest {

namespace {

constexpr uint32_t kPostType = EVT_UNNAMED_143; // travels, carries a number
constexpr PayloadField<uint32_t> kPostValue{"value", EVENT_HEAD_SIZE};
constexpr uint32_t kEnumerationMs = 3000;

// The machine that runs now (between Enter and Leave).
SessionPeer* g_current = nullptr;

// The game server's part that the session needs: a ping lowers the lag
// counter of the pinging slot.
class PingServer : public CIdEntity, public CMessageReceiver {
public:
    int HandleMessage(COVEvent& event) override {
        if (event.GetType() != EVT_PING)
            return EVENT_NOT_HANDLED;
        if (g_netSession)
            g_netSession->ReduceWaitTime(event.Payload().Get(COVTimerDateEvent::kCount));
        return EVENT_CONSUMED;
    }
};

} // namespace

// Sees every broadcast message of its machine first (in the open in-game
// menu's slot) and plays the lobby's and the game's part around the session.
class SessionPeer::Recorder {
public:
    static int HandleMessage(COVEvent& event) {
        SessionPeer& peer = *g_current;
        CNetSession& session = *peer.m_session;
        switch (event.GetType()) {
        case EVT_APPMSG_CHATSTRING: {
            const auto& chat = static_cast<const COVChatEvent&>(event);
            peer.Say("chat " + std::to_string(static_cast<int32_t>(chat.GetSender())) + " " +
                     chat.GetText());
            break;
        }
        case kPostType:
            peer.Say("post " + std::to_string(event.Payload().Get(kPostValue)));
            break;
        case EVT_APPMSG_LOADGAME:
            peer.Say("loadgame");
            peer.StartGame();
            break;
        case EVT_PLAYER_DATA:
            session.UpdateSlot(event);
            break;
        case EVT_GAME_STARTED: {
            peer.Say("started");
            ClearNetStartPending();
            auto start = std::make_unique<COVDataEvent>(EVT_PLAYER_START, g_broadcastId);
            start->Payload().Set(PlayerStartPayload::kSlot,
                                 static_cast<uint32_t>(session.m_localSlot));
            PostAndSendEventNow(std::move(start));
            break;
        }
        case EVT_START_GAME_TIMER:
            peer.Say("timer");
            break;
        case EVT_SESSION_REMOVED:
            peer.Say("removed");
            break;
        default:
            break;
        }
        // The host lobby refreshes the slots on every message.
        if (IsInFrontEnd() && session.IsHost())
            EnumNetPlayers();
        return EVENT_NOT_HANDLED;
    }
};

// The game around the session on one machine, in place only while it runs:
// a front end that is the active screen until the game starts, the game
// server, and the receivers in their slots.
struct SessionPeer::Globals {
    Globals() {
        game.inFrontEnd = true;
        game.hasFrontEnd = true;
    }
    nettest::GameFlags game;
    PingServer gameServer;
    std::optional<nettest::ScopedSeams> seams;
};

SessionPeer::SessionPeer(std::unique_ptr<platform::net::Network> network)
    : m_session(std::make_unique<CNetSession>(std::move(network))),
      m_globals(std::make_unique<Globals>()) {}

SessionPeer::~SessionPeer() {
    Enter();
    m_session.reset();
    g_netSession = nullptr;
    Leave();
}

void SessionPeer::Enter() {
    g_current = this;
    m_globals->seams.emplace();
    nettest::g_game = m_globals->game;
    g_broadcastReceivers[kSlotGameMenu] = &Recorder::HandleMessage;
    g_directReceivers.gameServer = []() -> CIdEntity* { return &g_current->m_globals->gameServer; };
    g_netSession = m_session.get();
}

void SessionPeer::Leave() {
    m_globals->game = nettest::g_game;
    g_netSession = nullptr;
    m_globals->seams.reset();
    g_current = nullptr;
}

// What a frame does with the scheduler; nothing stays queued between
// machines.
void SessionPeer::RunMessages() {
    g_scheduler.RunDue();
    g_scheduler.FlushSend();
}

void SessionPeer::StartGame() {
    nettest::g_game.inFrontEnd = false;
    nettest::g_game.running = true;
    SetNetStartPending();
}

void SessionPeer::SayWaits() {
    std::string line = "waits";
    for (int32_t i = 0; i < m_session->m_slotCount; ++i) {
        line += ' ';
        line += std::to_string(m_session->GetSlot(static_cast<uint32_t>(i)).wait);
    }
    Say(line);
}

void SessionPeer::Command(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    Enter();
    CNetSession& session = *m_session;
    if (verb == "host") {
        std::string name;
        in >> name >> g_netDataChecksum;
        EnumNetConnections();
        if (CreateNetSession(name.c_str())) {
            ResetNetSlots();
            EnumNetPlayers();
            Say("hosted " + std::to_string(session.GetNetwork()->Port()));
        } else {
            Say("host failed");
        }
    } else if (verb == "enum" || verb == "join") {
        std::string port;
        in >> port;
        if (verb == "join")
            in >> m_enum.name;
        in >> g_netDataChecksum;
        EnumNetConnections();
        const std::string address = "127.0.0.1:" + port;
        InitNetConnection(1, kNetConnectionOpen, address.c_str());
        m_enum.active = true;
        m_enum.join = verb == "join";
        m_enum.deadline = platform::Milliseconds() + kEnumerationMs;
    } else if (verb == "chat") {
        std::string text;
        std::getline(in >> std::ws, text);
        PostAndSendEventNow(std::make_unique<COVChatEvent>(
            text, static_cast<uint32_t>(session.m_localSlot), g_broadcastId));
    } else if (verb == "forge-slot") {
        // A hostile client: the first slot, every slot counted, for the others only.
        auto record = std::make_unique<COVDataEvent>(EVT_PLAYER_DATA, g_broadcastId);
        COVEventData& data = record->Payload();
        data.Set(PlayerDataPayload::kSlot, 0u);
        data.Set(PlayerDataPayload::kPlayer, session.m_localPlayerId);
        data.Set(PlayerDataPayload::kName, std::string("Mallory"));
        data.Set(PlayerDataPayload::kCountry, 7);
        data.Set(PlayerDataPayload::kSlotCount, static_cast<int32_t>(kNetMaxSlots));
        SendEventOnly(std::move(record));
    } else if (verb == "forge-chat") {
        // A line that claims to be the session's own.
        std::string text;
        std::getline(in >> std::ws, text);
        SendEventOnly(std::make_unique<COVChatEvent>(text, 0xFFFFFFFFu, g_broadcastId));
    } else if (verb == "post") {
        uint32_t value = 0;
        in >> value;
        auto event = std::make_unique<COVDataEvent>(kPostType, g_broadcastId);
        event->Payload().Set(kPostValue, value);
        PostAndSendEventNow(std::move(event));
    } else if (verb == "slots") {
        std::string out = "slots " + std::to_string(session.m_slotCount);
        for (int32_t i = 0; i < session.m_slotCount; ++i) {
            const NetSlot& slot = session.GetSlot(static_cast<uint32_t>(i));
            out += ' ';
            out += std::to_string(slot.playerId) + ":" + slot.name.value_or("-") + ":" +
                   std::to_string(slot.country);
        }
        Say(out);
    } else if (verb == "start") {
        SendNetLoadGame();
        StartGame();
    } else if (verb == "lag") {
        uint32_t ticks = 0;
        in >> ticks;
        session.AddWaitTime(0, ticks);
        SayWaits();
    } else if (verb == "waits") {
        SayWaits();
    } else if (verb == "ping") {
        SendEventOnly(std::make_unique<COVTimerDateEvent>(
            EVT_PING, g_timerDateId, static_cast<uint32_t>(session.m_localSlot)));
    } else {
        Say("unknown command " + verb);
    }
    RunMessages();
    Leave();
}

void SessionPeer::StepEnumeration() {
    SetNetSessionValue(0);
    EnumNetSessions();
    const uint32_t found = GetNetSessionValue();
    const bool timedOut = static_cast<int32_t>(platform::Milliseconds() - m_enum.deadline) > 0;
    if (found == 0 && !timedOut)
        return;
    m_enum.active = false;
    if (!m_enum.join) {
        for (uint32_t i = 0; i < found; ++i) {
            const NetSessionEntry& entry = m_session->GetSessionEntry(i);
            Say("session " + entry.desc.name + (entry.joinable ? " joinable" : " listed"));
        }
        Say("enumerated " + std::to_string(found));
        return;
    }
    if (found == 0 || JoinNetSession(m_enum.name.c_str(), 0) != 0) {
        Say("join failed");
        return;
    }
    Say("joined");
}

void SessionPeer::Step() {
    Enter();
    if (m_enum.active)
        StepEnumeration();
    m_session->Poll();
    UpdateNetStartup();
    RunMessages();
    UpdateNetStartup();
    RunMessages();
    Leave();
}

std::vector<std::string> SessionPeer::TakeLines() {
    return std::exchange(m_lines, {});
}

void LoadDemoTexts(const std::string& gameDir) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(gameDir);
    platform::ForgetPathCache();
    g_textDatabase.Load(0);
    std::filesystem::current_path(previous);
    platform::ForgetPathCache();
}

} // namespace sessiontest
