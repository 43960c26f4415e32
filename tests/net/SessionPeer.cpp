#include "tests/net/SessionPeer.h"

#include <filesystem>
#include <sstream>

#include "dialogs/GameMenu.h"
#include "engine/TextDatabase.h"
#include "frontend/FrontEnd.h"
#include "military/GameServer.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "net/SessionHolder.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "world/Scenario.h"

namespace sessiontest {

namespace {

constexpr uint32_t kPostType = EVT_UNNAMED_143; // travels, carries a number
constexpr PayloadField<uint32_t> kPostValue{"value", EVENT_HEAD_SIZE};
constexpr uint32_t kEnumerationMs = 3000;

} // namespace

// Sees every broadcast message of its machine first (as the open in-game
// menu) and plays the lobby's and the game's part around the session.
class SessionPeer::Recorder : public CGameMenu {
public:
    explicit Recorder(SessionPeer& peer) : m_peer(peer) {}

    int HandleMessage(COVEvent& event) override {
        CNetSession& session = *m_peer.m_session;
        switch (event.GetType()) {
        case EVT_APPMSG_CHATSTRING: {
            const auto& chat = static_cast<const COVChatEvent&>(event);
            m_peer.Say("chat " + std::to_string(static_cast<int32_t>(chat.GetSender())) + " " +
                       chat.GetText());
            break;
        }
        case kPostType:
            m_peer.Say("post " + std::to_string(event.Payload().Get(kPostValue)));
            break;
        case EVT_APPMSG_LOADGAME:
            m_peer.Say("loadgame");
            m_peer.StartGame();
            break;
        case EVT_PLAYER_DATA:
            session.UpdateSlot(event);
            break;
        case EVT_GAME_STARTED: {
            m_peer.Say("started");
            ClearNetStartPending();
            auto start = std::make_unique<COVDataEvent>(EVT_PLAYER_START, g_broadcastId);
            start->Payload().Set(PlayerStartPayload::kSlot,
                                 static_cast<uint32_t>(session.m_localSlot));
            PostAndSendEventNow(std::move(start));
            break;
        }
        case EVT_START_GAME_TIMER:
            m_peer.Say("timer");
            break;
        case EVT_SESSION_REMOVED:
            m_peer.Say("removed");
            break;
        default:
            break;
        }
        // The host lobby refreshes the slots on every message.
        if (IsInFrontEnd() && session.IsHost())
            EnumNetPlayers();
        return EVENT_NOT_HANDLED;
    }

private:
    SessionPeer& m_peer;
};

// The game globals of one machine, in place only while it runs.
struct SessionPeer::Globals {
    explicit Globals(SessionPeer& peer) : recorder(peer) {}
    Recorder recorder;
    CFrontEnd frontEnd;
    CGameServer gameServer;
    std::unique_ptr<CScenario> scenario;
    uint8_t inFrontEnd = 1;
    uint8_t gameStarted = 0;
};

SessionPeer::SessionPeer(std::unique_ptr<platform::net::Network> network)
    : m_session(std::make_unique<CNetSession>(std::move(network))),
      m_globals(std::make_unique<Globals>(*this)) {}

SessionPeer::~SessionPeer() {
    Enter();
    m_session.reset();
    g_netSession = nullptr;
    Leave();
}

void SessionPeer::Enter() {
    g_netSession = m_session.get();
    g_openGameMenu = &m_globals->recorder;
    g_frontEnd = &m_globals->frontEnd;
    g_gameServer = &m_globals->gameServer;
    g_scenario = std::move(m_globals->scenario);
    g_inFrontEnd = m_globals->inFrontEnd;
    g_gameStarted = m_globals->gameStarted;
}

void SessionPeer::Leave() {
    m_globals->scenario = std::move(g_scenario);
    m_globals->inFrontEnd = g_inFrontEnd;
    m_globals->gameStarted = g_gameStarted;
    g_netSession = nullptr;
    g_openGameMenu = nullptr;
    g_frontEnd = nullptr;
    g_gameServer = nullptr;
    g_inFrontEnd = 0;
    g_gameStarted = 0;
}

// What a frame does with the scheduler; nothing stays queued between
// machines.
void SessionPeer::RunMessages() {
    g_scheduler.RunDue();
    g_scheduler.FlushSend();
}

void SessionPeer::StartGame() {
    g_inFrontEnd = 0;
    g_gameStarted = 1;
    g_scenario = std::make_unique<CScenario>();
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
