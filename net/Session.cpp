#include "net/Session.h"

#include <algorithm>
#include <limits>

#include "engine/CriticalError.h"
#include "engine/File.h"
#include "engine/Format.h"
#include "engine/GameState.h"
#include "engine/TextDatabase.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Posting.h"
#include "net/SessionHolder.h"

CNetSession* g_netSession = nullptr;
uint32_t g_netDataChecksum = 0;
SessionCountryHooks g_sessionCountries;

namespace {

using platform::net::Message;
using platform::net::MessageKind;
using platform::net::Network;
using platform::net::PlayerId;
using platform::net::Provider;
using platform::net::SessionDesc;

constexpr const char* kDefaultSessionName = "Orvandel";
// The sender of the chat lines the session makes itself.
constexpr uint32_t kSessionSender = 0xFFFFFFFF;
// Messages handled by one Poll; what arrives beyond waits for the next.
constexpr int kMaxMessagesPerPoll = 4096;
constexpr int32_t kLagLimit = 1000;
constexpr int32_t kPingRelief = 100;

using PlayerData = PlayerDataPayload;
static_assert(PlayerData::kName.size == kNetSlotNameSize);

// A chat line of the session itself, run here and, with send, at the others.
void PostSessionLine(const std::string& text, bool send) {
    auto line = std::make_unique<COVChatEvent>(text, kSessionSender, g_broadcastId);
    if (send)
        PostAndSendEventNow(std::move(line));
    else
        PostEventNow(std::move(line));
}

std::string CountryTagText(int32_t country) {
    if (country < 0 || static_cast<uint32_t>(country) >= kNetCountrySlots ||
        !g_sessionCountries.tag)
        return {};
    const char* tag = g_sessionCountries.tag(static_cast<uint32_t>(country));
    return tag ? tag : "";
}

const char* DropReasonText(platform::net::DropReason reason) {
    using platform::net::DropReason;
    switch (reason) {
    case DropReason::None:
        return "none";
    case DropReason::Closed:
        return "closed";
    case DropReason::TimedOut:
        return "timed out";
    case DropReason::BadFrame:
        return "bad frame";
    case DropReason::TooLong:
        return "frame too long";
    case DropReason::CutFrame:
        return "cut frame";
    case DropReason::Flood:
        return "flood";
    case DropReason::Backlog:
        return "backlog";
    case DropReason::Removed:
        return "removed";
    }
    return "?";
}

} // namespace

// ---- Construction ---------------------------------------------------------

CNetSession::CNetSession() : CNetSession(platform::net::CreateTcpNetwork()) {}

CNetSession::CNetSession(std::unique_ptr<Network> network) : m_network(std::move(network)) {
    ResetRefusedEventLog();
}

CNetSession::~CNetSession() {
    if (m_network) {
        if (m_active)
            DestroyPlayer(m_localPlayerId);
        Close();
    }
}

void CNetSession::ReleaseNetwork() {
    if (m_network) {
        m_network->Close();
        m_network.reset();
    }
}

// ---- Providers and addresses ----------------------------------------------

bool CNetSession::EnumConnections() {
    m_connectionMask = 0;
    if (!m_network)
        return false;
    for (uint32_t index = 0; index < platform::net::kProviderCount; ++index)
        if (platform::net::IsProviderPresent(static_cast<Provider>(index)))
            m_connectionMask |= 1u << index;
    return true;
}

bool CNetSession::InitializeConnection(uint32_t index, uint32_t kind, const char* address) {
    ResetSlots();
    if (!m_network)
        return false;
    if (index >= platform::net::kProviderCount)
        return false;
    if (kind == kNetConnectionQuery)
        return (m_connectionMask >> index) & 1u;
    if (kind != kNetConnectionOpen)
        return false;
    const bool opened =
        ((m_connectionMask >> index) & 1u) != 0 &&
        m_network->OpenProvider(static_cast<Provider>(index), address ? address : m_defaultAddress);
    m_lastResult = opened ? 0 : 1;
    return opened;
}

// ---- Sessions ---------------------------------------------------------------

bool CNetSession::HostSession(const char* name) {
    if (!m_network)
        return false;
    m_desc = {};
    m_desc.name = name ? name : kDefaultSessionName;
    m_desc.flags = platform::net::kSessionKeepAlive;
    m_desc.maxPlayers = kNetMaxSlots;
    m_desc.user1 = g_netDataChecksum;
    m_desc.user2 = kNetVersionValue;
    const bool hosted = m_network->Host(m_desc, name ? name : "");
    m_lastResult = hosted ? 0 : 1;
    if (!hosted) {
        Close();
        return false;
    }
    m_localPlayerId = m_network->LocalPlayer();
    ResetSlotsForSession();
    m_isHost = 1;
    m_active = 1;
    m_playersChanged = 0;
    return true;
}

int32_t CNetSession::JoinSession(const char* name, uint32_t sessionIndex) {
    if (!m_network)
        return 1;
    m_isHost = 0;
    if (sessionIndex >= m_sessionCount || sessionIndex >= kNetMaxSessions) {
        DebugPrint("Join: no session %u in the list\n", sessionIndex);
        return 1;
    }
    const SessionDesc& entry = m_sessions[sessionIndex].desc;
    m_desc = {};
    m_desc.instance = entry.instance;
    m_desc.user1 = g_netDataChecksum;
    m_desc.user2 = kNetVersionValue;
    const platform::net::JoinResult result =
        m_network->Join(entry.address, entry.instance, name ? name : "");
    m_lastResult = static_cast<int32_t>(result);
    if (result != platform::net::JoinResult::Joined) {
        Close();
        return 1;
    }
    m_desc = m_network->Session();
    m_localPlayerId = m_network->LocalPlayer();
    ResetSlotsForSession();
    m_isHost = 0;
    m_active = 1;
    m_playersChanged = 0;
    return 0;
}

uint32_t CNetSession::EnumSessions() {
    if (!m_network)
        return 0;
    const bool ok = m_network->EnumSessions([this](const SessionDesc* session, bool timedOut) {
        if (timedOut || !session || m_sessionCount >= kNetMaxSessions)
            return false;
        if (session->flags & platform::net::kSessionJoinDisabled)
            return true;
        NetSessionEntry& entry = m_sessions[m_sessionCount];
        entry.desc = *session;
        entry.joinable = session->user1 == g_netDataChecksum && session->user2 == kNetVersionValue;
        ++m_sessionCount;
        return true;
    });
    m_lastResult = ok ? 0 : 1;
    return ok ? 0 : 2;
}

void CNetSession::Close() {
    ReleaseNetwork();
    m_active = 0;
    m_isHost = 0;
    m_playersChanged = 0;
}

bool CNetSession::DestroyPlayer(uint32_t playerId) {
    if (!m_active)
        return true;
    m_lastResult = m_network && m_network->DestroyPlayer(playerId) ? 0 : 1;
    return m_lastResult == 0;
}

// ---- Players ----------------------------------------------------------------

void CNetSession::ResetSlots() {
    for (NetSlot& slot : m_slots) {
        slot.name.reset();
        slot.country = -1;
        slot.ready = 0;
        slot.started = 0;
    }
    m_slotCount = m_active ? 0 : 1;
}

void CNetSession::ResetSlotsForSession() {
    for (NetSlot& slot : m_slots) {
        slot.playerId = 0;
        slot.name.reset();
        slot.country = -1;
    }
}

void CNetSession::FindLocalSlot() {
    for (int32_t i = 0; i < m_slotCount; ++i) {
        if (m_slots[i].playerId == m_localPlayerId) {
            m_localSlot = i;
            return;
        }
    }
}

bool CNetSession::EnumPlayers() {
    if (!m_isHost) {
        FindLocalSlot();
        return false;
    }
    if (!m_active || !m_network)
        return false;
    const std::vector<platform::net::PlayerInfo> players = m_network->Players();
    // The host's own player first, then the others in the order of their ids.
    for (const auto& player : players)
        if (player.id == m_localPlayerId)
            AddEnumeratedPlayer(player.id, player.name);
    for (const auto& player : players)
        if (player.id != m_localPlayerId)
            AddEnumeratedPlayer(player.id, player.name);
    FindLocalSlot();
    return true;
}

void CNetSession::AddEnumeratedPlayer(uint32_t playerId, const std::string& name) {
    for (int32_t i = 0; i < m_slotCount; ++i)
        if (m_slots[i].playerId == playerId && m_slots[i].name == name)
            return;
    if (m_slotCount < 0 || static_cast<uint32_t>(m_slotCount) >= kNetMaxSlots) {
        DebugPrint("No free slot for player %u\n", playerId);
        return;
    }
    const uint32_t index = static_cast<uint32_t>(m_slotCount);
    NetSlot& slot = m_slots[index];
    slot.playerId = playerId;
    slot.country = -1;
    slot.secondWord = 0;
    slot.name = name.substr(0, kNetSlotNameSize - 1);
    slot.flags = 0;
    slot.present = 1;
    ++m_slotCount;
    BroadcastSlots(index);
    m_playersChanged = 1;
}

bool CNetSession::UpdateSlot(const COVEvent& record) {
    // The slot table is the host's: a record from any other machine (a
    // client may forge every slot and the count) is refused, and the host
    // takes none from the network at all, whatever sender it names.
    const uint32_t sender = record.GetNetSender();
    if (sender != COVEvent::kMadeHere && (m_isHost || sender != HostPlayer())) {
        DebugPrint("Player data from player %u refused: only the host sends the slots\n", sender);
        return false;
    }
    const COVEventData& data = record.Payload();
    const uint32_t index = data.Get(PlayerData::kSlot);
    if (index >= kNetMaxSlots) {
        DebugPrint("Player data for slot %u refused: only %u slots\n", index, kNetMaxSlots);
        return false;
    }
    NetSlot& slot = m_slots[index];
    slot.playerId = data.Get(PlayerData::kPlayer);
    slot.secondWord = data.Get(PlayerData::kSecondWord);
    // The field holds a terminated name: 63 characters at most.
    slot.name = data.Get(PlayerData::kName).substr(0, kNetSlotNameSize - 1);
    slot.flags = data.Get(PlayerData::kFlags);
    slot.country = data.Get(PlayerData::kCountry);
    slot.ready = 0;
    slot.started = 0;
    slot.present = 1;
    // The host's count is the truth (it also shrinks after a departure);
    // the record's own slot is always counted.
    const int32_t count = data.Get(PlayerData::kSlotCount);
    m_slotCount = std::clamp<int32_t>(count, static_cast<int32_t>(index) + 1, kNetMaxSlots);
    FindLocalSlot();
    return true;
}

void CNetSession::RemoveSlot(uint32_t index) {
    if (!m_isHost || m_slotCount <= 0 || index >= static_cast<uint32_t>(m_slotCount))
        return;
    --m_slotCount;
    for (uint32_t i = index; i < static_cast<uint32_t>(m_slotCount); ++i)
        m_slots[i] = m_slots[i + 1];
    m_slots[m_slotCount] = NetSlot{};
    for (int32_t i = 0; i < m_slotCount; ++i)
        BroadcastSlots(static_cast<uint32_t>(i));
    FindLocalSlot();
}

void CNetSession::BroadcastSlots(uint32_t index) {
    if (index >= kNetMaxSlots || !m_slots[index].name)
        return;
    const NetSlot& slot = m_slots[index];
    auto event = std::make_unique<COVDataEvent>(EVT_PLAYER_DATA, g_broadcastId);
    COVEventData& data = event->Payload();
    data.Set(PlayerData::kSlot, index);
    data.Set(PlayerData::kPlayer, slot.playerId);
    data.Set(PlayerData::kSecondWord, slot.secondWord);
    data.Set(PlayerData::kName, *slot.name);
    data.Set(PlayerData::kFlags, slot.flags);
    data.Set(PlayerData::kCountry, slot.country);
    data.Set(PlayerData::kSlotCount, m_slotCount);
    SendEventOnly(std::move(event));
}

namespace {

void SendCountry(uint32_t playerId, int32_t country) {
    auto event = std::make_unique<COVDataEvent>(EVT_APPMSG_COUNTRY, g_broadcastId);
    event->Payload().Set(CountryChoicePayload::kPlayer, playerId);
    event->Payload().Set(CountryChoicePayload::kCountry, country);
    event->Payload().Set(CountryChoicePayload::kFromHost, IsHost() ? 1 : 0);
    SendEventOnly(std::move(event));
}

} // namespace

void CNetSession::SendLocalSlot() {
    if (!m_active || m_localSlot < 0 || static_cast<uint32_t>(m_localSlot) >= kNetMaxSlots)
        return;
    SendCountry(m_slots[m_localSlot].playerId, m_slots[m_localSlot].country);
}

void CNetSession::SendSlotOf(uint32_t playerId) {
    if (!m_isHost || !m_active)
        return;
    for (int32_t i = 0; i < m_slotCount; ++i) {
        if (m_slots[i].playerId == playerId) {
            SendCountry(playerId, m_slots[i].country);
            return;
        }
    }
}

void CNetSession::DumpSlots() {
    // Stands for ResetCountryMarks until the front end provides it.
    if (g_sessionCountries.clearMarks)
        g_sessionCountries.clearMarks();
    DebugPrint("%d\n", m_slotCount);
    for (int32_t i = 0; i < m_slotCount; ++i) {
        const int32_t country = m_slots[i].country;
        DebugPrint("%d %d\n", i, country);
        if (country >= 0 && static_cast<uint32_t>(country) < kNetCountrySlots &&
            g_sessionCountries.setMark)
            g_sessionCountries.setMark(static_cast<uint32_t>(country), i == m_localSlot ? 1 : 2);
    }
}

// ---- Receiving and sending ----------------------------------------------------

void CNetSession::Poll() {
    Message message;
    for (int i = 0; i < kMaxMessagesPerPoll && m_network && m_network->Receive(message); ++i)
        HandleNetworkMessage(message);
}

void CNetSession::HandleNetworkMessage(const Message& message) {
    if (message.kind != MessageKind::Data) {
        HandleSystemMessage(message);
        return;
    }
    // Player 0 is never a player: a message from it would pass for one made
    // here.
    if (message.data.size() < 4 || message.player == COVEvent::kMadeHere)
        return;
    std::unique_ptr<COVEvent> event =
        ReceiveEvent(message.data.data(), message.data.size(), message.player);
    if (!event)
        return;
    if (event->GetType() == EVT_APPMSG_CHATSTRING && !NameChatSender(*event))
        return;
    PostEventNow(std::move(event));
}

uint32_t CNetSession::HostPlayer() const {
    if (m_isHost)
        return m_localPlayerId;
    return m_network ? m_network->HostPlayer() : 0;
}

int32_t CNetSession::SlotOfPlayer(uint32_t playerId) const {
    for (int32_t i = 0; i < m_slotCount && i < static_cast<int32_t>(kNetMaxSlots); ++i)
        if (m_slots[i].playerId == playerId && m_slots[i].present)
            return i;
    return -1;
}

// A received chat line shows the slot of the machine it came from, whatever
// its payload claims; only the host's own session lines keep the session's
// sender. A line from a player without a slot yet is dropped.
bool CNetSession::NameChatSender(COVEvent& line) {
    const uint32_t from = line.GetNetSender();
    COVEventData& data = line.Payload();
    if (data.Get(COVChatEvent::kSender) == kSessionSender && !m_isHost && from == HostPlayer())
        return true;
    const int32_t slot = SlotOfPlayer(from);
    if (slot < 0) {
        DebugPrint("Chat line of player %u without a slot dropped\n", from);
        return false;
    }
    data.Set(COVChatEvent::kSender, static_cast<uint32_t>(slot));
    return true;
}

void CNetSession::HandleSystemMessage(const Message& message) {
    const std::string name = message.name.empty() ? std::string("unknown") : message.name;
    switch (message.kind) {
    case MessageKind::PlayerCreated:
        HandleCreation(false, name);
        return;
    case MessageKind::PlayerDestroyed:
        DebugPrint("Player %u (%s) left: %s\n", message.player, name.c_str(),
                   DropReasonText(message.reason));
        HandleDeparture(message);
        return;
    case MessageKind::SessionLost:
        DebugPrint("Session lost: %s\n", DropReasonText(message.reason));
        // Through the broadcast chain, so that the open lobby learns of it.
        if (HasFrontEnd())
            PostEventNow(std::make_unique<COVSimpleEvent>(EVT_SESSION_REMOVED, g_broadcastId));
        return;
    case MessageKind::Data:
        return;
    }
}

// A player joined, or a chat group was made (the network makes groups on
// this machine only, so CreateChatGroup reports its own).
void CNetSession::HandleCreation(bool group, const std::string& name) {
    const std::string line =
        group ? FormatText("%s\n", "%%707Group Created") : "<" + name + " has joined>";
    if (IsInFrontEnd()) {
        PostSessionLine(line, false);
        DebugPrint("%s joined\n", line.c_str());
    }
    if (m_isHost && HasFrontEnd()) {
        PostEventNow(std::make_unique<COVSimpleEvent>(EVT_UNNAMED_7, g_broadcastId));
        if (m_active)
            SendLocalSlot();
        if (!group)
            for (uint32_t i = 0; i < kNetMaxSlots; ++i)
                BroadcastSlots(i);
    }
}

// A departed player is known by its id; its name only goes into the text.
void CNetSession::HandleDeparture(const Message& message) {
    const std::string name = message.name.empty() ? std::string("unknown") : message.name;
    if (!IsGameRunning()) {
        if (!m_isHost)
            return;
        int32_t found = -1;
        for (int32_t i = 0; i < m_slotCount; ++i)
            if (m_slots[i].playerId == message.player)
                found = i;
        if (found < 0)
            return;
        RemoveSlot(static_cast<uint32_t>(found));
        if (IsInFrontEnd())
            PostSessionLine("<" + name + " has left>", true);
        m_playersChanged = 1;
        return;
    }
    for (int32_t i = 0; i < m_slotCount; ++i) {
        NetSlot& slot = m_slots[i];
        if (slot.playerId != message.player)
            continue;
        if (i == 0) {
            // The host: the game cannot go on with it; the popup that says so
            // ("HOST_DROP_MSG_CLIENT") belongs to the dialogs.
            PostSessionLine(g_textDatabase.GetText("HOSTLEFT"), false);
        } else {
            // Every machine learns of the departure from its network and
            // shows the line itself, once; nothing is sent on.
            const std::string tag = CountryTagText(slot.country);
            PostSessionLine(FormatDataText(g_textDatabase.GetText("CLIENTLEFT"), {name, tag}),
                            false);
            slot.ready = 0;
        }
    }
}

bool CNetSession::Send(const uint8_t* data, uint32_t size) {
    if (!m_active)
        return false;
    std::vector<uint8_t> block(data, data + size);
    block.resize((static_cast<size_t>(size) + 3) & ~size_t{3}, 0);
    if (m_send)
        return m_send(block);
    return m_network && m_network->Send(block.data(), block.size());
}

// ---- Start-up handshake ---------------------------------------------------------

void CNetSession::UpdateStartup() {
    if (!m_startPending || !m_active)
        return;
    if (!m_isHost) {
        auto ready = std::make_unique<COVDataEvent>(EVT_BOOTUP_READY, g_broadcastId);
        ready->Payload().Set(BootupReadyPayload::kPlayer, m_localPlayerId);
        SendEventOnly(std::move(ready));
        m_startPending = 0;
        return;
    }
    for (int32_t i = 0; i < m_slotCount; ++i)
        if (!m_slots[i].ready)
            return;
    PostAndSendEventNow(std::make_unique<COVSimpleEvent>(EVT_GAME_STARTED, g_broadcastId));
    m_startPending = 0;
    // Nobody joins a running game.
    if (m_network) {
        SessionDesc desc = m_network->Session();
        desc.flags |= platform::net::kSessionJoinDisabled;
        m_network->SetSessionDesc(desc);
    }
}

int CNetSession::HandleEvent(COVEvent& event) {
    if (!m_isHost)
        return EVENT_NOT_HANDLED;
    switch (event.GetType()) {
    case EVT_BOOTUP_READY: {
        const uint32_t playerId = event.Payload().Get(BootupReadyPayload::kPlayer);
        for (int32_t i = 0; i < m_slotCount; ++i)
            if (m_slots[i].playerId == playerId)
                m_slots[i].ready = 1;
        return EVENT_CONSUMED;
    }
    case EVT_PLAYER_START: {
        const uint32_t index = event.Payload().Get(PlayerStartPayload::kSlot);
        if (m_slotCount <= 0 || index >= static_cast<uint32_t>(m_slotCount)) {
            DebugPrint("Player start of slot %u refused: %d slots\n", index, m_slotCount);
            return EVENT_CONSUMED;
        }
        m_slots[index].started = 1;
        for (int32_t i = 0; i < m_slotCount; ++i)
            if (!m_slots[i].started)
                return EVENT_CONSUMED;
        PostAndSendEventNow(std::make_unique<COVSimpleEvent>(EVT_START_GAME_TIMER, g_broadcastId));
        return EVENT_CONSUMED;
    }
    default:
        return EVENT_NOT_HANDLED;
    }
}

void CNetSession::SendLoadGame() {
    if (!m_isHost || !m_active)
        return;
    SendEventOnly(std::make_unique<COVSimpleEvent>(EVT_APPMSG_LOADGAME, g_broadcastId));
    for (NetSlot& slot : m_slots)
        slot.ready = 0;
    m_slots[0].ready = 1;
}

void CNetSession::AnnounceSaveGame(const char* saveName, uint32_t startValue) {
    if (!m_active || !saveName)
        return;
    const std::string path = std::string(saveName) + ".ovg";
    CFile file(path);
    if (file.IsFailed())
        return;
    const int32_t length = file.GetSize();
    uint32_t sum = startValue;
    std::vector<uint8_t> buffer(64 * 1024);
    for (int32_t done = 0; done < length;) {
        const uint32_t count = static_cast<uint32_t>(
            std::min<int32_t>(length - done, static_cast<int32_t>(buffer.size())));
        if (!file.Read(buffer.data(), count))
            return;
        for (uint32_t i = 0; i < count; ++i)
            sum += buffer[i];
        done += static_cast<int32_t>(count);
    }
    SendEventOnly(std::make_unique<COVScenarioEvent>(startValue, saveName,
                                                     static_cast<uint32_t>(length), sum));
}

// ---- Lag accounting ------------------------------------------------------------------

bool CNetSession::AddWaitTime(uint32_t fromTicks, uint32_t toTicks) {
    const int64_t added = static_cast<int64_t>(toTicks) - static_cast<int64_t>(fromTicks);
    bool lagging = false;
    for (int32_t i = 0; i < m_slotCount; ++i) {
        NetSlot& slot = m_slots[i];
        if (i == m_localSlot || !slot.ready)
            continue;
        slot.wait = static_cast<int32_t>(
            std::clamp<int64_t>(slot.wait + added, 0, std::numeric_limits<int32_t>::max()));
        if (slot.wait >= kLagLimit)
            lagging = true;
    }
    return lagging;
}

void CNetSession::ReduceWaitTime(uint32_t slotIndex) {
    if (m_slotCount <= 0 || slotIndex >= static_cast<uint32_t>(m_slotCount))
        return;
    NetSlot& slot = m_slots[slotIndex];
    slot.wait = std::max(slot.wait - kPingRelief, 0);
}

// ---- Chat groups ----------------------------------------------------------------------

void CNetSession::CreateChatGroup(const char* name, uint32_t index) {
    if (index >= kNetChatGroups)
        return;
    DestroyChatGroup(index);
    if (!m_active || !m_network)
        return;
    auto entry = std::make_unique<ChatGroupEntry>();
    entry->groupId = m_network->CreateGroup();
    entry->open = entry->groupId != 0;
    const bool created = entry->open;
    m_chatGroups[index] = std::move(entry);
    if (created)
        HandleCreation(true, name ? name : "");
}

void CNetSession::AddPlayerToChatGroup(uint32_t playerId, uint32_t index) {
    if (index < kNetChatGroups && m_chatGroups[index] && m_chatGroups[index]->open && m_network)
        m_network->AddPlayerToGroup(m_chatGroups[index]->groupId, playerId);
}

void CNetSession::RemovePlayerFromChatGroup(uint32_t playerId, uint32_t index) {
    if (index < kNetChatGroups && m_chatGroups[index] && m_chatGroups[index]->open && m_network)
        m_network->DeletePlayerFromGroup(m_chatGroups[index]->groupId, playerId);
}

void CNetSession::DestroyChatGroup(uint32_t index) {
    if (index >= kNetChatGroups || !m_chatGroups[index])
        return;
    if (m_network && m_chatGroups[index]->open)
        m_network->DestroyGroup(m_chatGroups[index]->groupId);
    m_chatGroups[index].reset();
}

void CNetSession::SendGroupChat(const char* text, uint32_t index) {
    if (index < kNetChatGroups && m_chatGroups[index])
        SendChatToGroup(m_chatGroups[index].get(), text ? text : "");
}

const ChatGroupEntry* CNetSession::GetChatGroup(uint32_t index) const {
    return index < kNetChatGroups ? m_chatGroups[index].get() : nullptr;
}

// ---- Free functions ----------------------------------------------------------------------

bool IsSessionActive() {
    return g_netSession && g_netSession->IsActive();
}

bool IsSessionHost() {
    return g_netSession && g_netSession->IsHost();
}

bool IsHost() {
    return !g_netSession || !g_netSession->IsActive() || g_netSession->IsHost();
}

bool SendEventToSession(const COVNetEvent& event) {
    return g_netSession && SendEvent(*g_netSession, event);
}
