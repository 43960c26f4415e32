#pragma once
// The multiplayer session: the one connection to the other machines of a
// network game, reached through g_netSession (null until the session holder
// creates it, net/SessionHolder.h). It keeps the table of player slots that
// the set-up screens show, runs the start-up handshake, carries every game
// message as one network message, announces saved games, tells the players
// when somebody joins or leaves, keeps the lag counters and the console's
// chat groups. Main thread only; the main loop polls it without waiting.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/DirectX.h"
#include "platform/Network.h"

class COVEvent;
class COVNetEvent;

// The compatibility words of a session description: user1 carries the data
// checksum of the main tables (start-up stores it before any session
// exists), user2 the version value.
constexpr uint32_t kNetVersionValue = 112;
extern uint32_t g_netDataChecksum;

constexpr uint32_t kNetMaxSlots = 16;
constexpr uint32_t kNetMaxSessions = 8;
constexpr uint32_t kNetChatGroups = 10;
constexpr uint32_t kNetSlotNameSize = 64; // bytes of a name in the player data message
// Country numbers a slot can hold: 0 to 98, as many as there are country
// slots (country/Country.h).
constexpr uint32_t kNetCountrySlots = 99;

// InitializeConnection's kinds: ask whether a provider was found, open it.
constexpr uint32_t kNetConnectionQuery = 0x10000;
constexpr uint32_t kNetConnectionOpen = 0x10001;

// A player of the session.
struct NetSlot {
    uint32_t playerId = 0;   // 0 when free
    uint32_t secondWord = 0; // carried in the player data message
    std::optional<std::string> name;
    uint32_t flags = 0;
    int32_t country = -1; // -1: none chosen
    uint8_t ready = 0;    // answered the start-up handshake; counts for lag
    uint8_t started = 0;  // reported the start of its game
    uint8_t present = 0;  // 1 once filled
    int32_t wait = 0;     // lag counter in timer ticks, never below 0
};

// A console chat group; open when the group exists in the session.
struct ChatGroupEntry {
    uint32_t groupId = 0;
    uint8_t open = 0;
};

// A session found by enumeration.
struct NetSessionEntry {
    platform::net::SessionDesc desc;
    bool joinable = false; // same data checksum and version value as this machine
};

class CNetSession : public CDirectXObject {
public:
    // Delivers one block to every other player instead of the network; tests
    // record what is sent through it.
    using SendFunction = std::function<bool(const std::vector<uint8_t>& block)>;

    // Over the TCP network of the platform.
    CNetSession();
    // Over the given network (null: no network, as after a failed creation).
    explicit CNetSession(std::unique_ptr<platform::net::Network> network);
    ~CNetSession() override;
    CNetSession(const CNetSession&) = delete;
    CNetSession& operator=(const CNetSession&) = delete;

    bool IsActive() const { return m_active; }
    bool IsHost() const { return m_isHost; }
    // The network, null after Close or a failed host or join.
    platform::net::Network* GetNetwork() const { return m_network.get(); }

    // --- providers and addresses ---
    // Sets a bit of the connection mask for every provider present.
    bool EnumConnections();
    // Resets the slots, then: kind kNetConnectionQuery answers whether the
    // provider of the index was found; kind kNetConnectionOpen opens it with
    // the address (null: the default address). False otherwise.
    bool InitializeConnection(uint32_t index, uint32_t kind, const char* address);

    // --- sessions ---
    // Creates a session named name ("Orvandel" for null) whose local player
    // has the same name. On failure the session is closed and false.
    bool HostSession(const char* name);
    // Joins the session of the session list at the index. Answers 0 when
    // joined and 1 when not (then the session is closed); success also shows
    // in IsActive().
    int32_t JoinSession(const char* name, uint32_t sessionIndex);
    // Asks the opened address for sessions and adds what has answered so far
    // to the session list (up to 8; sessions that take no players are left
    // out). 0 on success, 2 on failure; 0 without a network.
    uint32_t EnumSessions();
    // Leaves the session and lets the network go; the object must be made
    // anew before it can host or join again.
    void Close();
    // The host removes a player (or anybody ends its own). True when not
    // active or when the network did it.
    bool DestroyPlayer(uint32_t playerId);

    // --- players ---
    // Frees the names, country -1, ready and started clear; the slot count
    // becomes 0 when active, else 1.
    void ResetSlots();
    // The host fills the slot table from the network's players (its own
    // first) and answers true; a client only finds its own slot (false).
    bool EnumPlayers();
    // Stores a received player data record (the payload of a
    // _COVEVT_PLAYER_DATA_ message). Refused (false) when it came from
    // another machine than the host, or its slot index is 16 or more. The
    // slot count becomes the host's count (at least the record's own slot).
    bool UpdateSlot(const COVEvent& record);
    // The network player of the host (this machine's own on the host); 0
    // without a session.
    uint32_t HostPlayer() const;
    // The slot of the player; -1 when none holds it.
    int32_t SlotOfPlayer(uint32_t playerId) const;
    // Host only: removes the slot and tells everybody the remaining slots.
    void RemoveSlot(uint32_t index);
    // Sends the slot's player data message when the slot has a name.
    void BroadcastSlots(uint32_t index);
    // "APPMSG_COUNTRY" with the local slot's / the player's country.
    void SendLocalSlot();
    void SendSlotOf(uint32_t playerId);
    // Marks the slots' countries in g_countryController: 1 for the local
    // slot, 2 for the others.
    void DumpSlots();

    // --- receiving and sending ---
    // Receives and handles what has arrived (at most a bounded number of
    // messages per call; the rest waits for the next call).
    void Poll();
    // One message from the network: a game message is rebuilt and posted to
    // run here, carrying the network's sender (COVEvent::GetNetSender); a
    // chat line is shown as from its sender's slot. A notice of the network
    // is handled as a system message.
    void HandleNetworkMessage(const platform::net::Message& message);
    // Sends size bytes of the block from the local player to all players; the
    // length is rounded up to a multiple of 4 (the bytes added are zero).
    // False without an active session or a transport, or when sending failed.
    bool Send(const uint8_t* data, uint32_t size);
    void SetSendFunction(SendFunction send) { m_send = std::move(send); }

    // --- start-up handshake ---
    // Runs while start is pending and the session is active: a client
    // reports ready; the host waits for every slot and then starts the game.
    void UpdateStartup();
    // The session's share of a broadcast message while a game runs (host
    // only): ready reports and player starts. Answers EVENT_NOT_HANDLED or
    // EVENT_CONSUMED.
    int HandleEvent(COVEvent& event);
    // Host: "APPMSG_LOADGAME" to the others; only the host is ready.
    void SendLoadGame();
    // Announces "<saveName>.ovg" with its length and the sum of its bytes
    // (unsigned) plus the start value. Nothing when the file cannot be read.
    void AnnounceSaveGame(const char* saveName, uint32_t startValue);

    // --- lag accounting ---
    // Adds to - from to the counter of every other ready slot; true when one
    // has reached 1000.
    bool AddWaitTime(uint32_t fromTicks, uint32_t toTicks);
    // The slot's counter falls by 100, not below 0; an index out of range is
    // ignored.
    void ReduceWaitTime(uint32_t slotIndex);

    // --- chat groups (indexes 0 to 9; others are ignored) ---
    void CreateChatGroup(const char* name, uint32_t index);
    void AddPlayerToChatGroup(uint32_t playerId, uint32_t index);
    void RemovePlayerFromChatGroup(uint32_t playerId, uint32_t index);
    void DestroyChatGroup(uint32_t index);
    void SendGroupChat(const char* text, uint32_t index);
    const ChatGroupEntry* GetChatGroup(uint32_t index) const;

    const NetSlot& GetSlot(uint32_t index) const { return m_slots.at(index); }
    NetSlot& GetSlot(uint32_t index) { return m_slots.at(index); }
    const NetSessionEntry& GetSessionEntry(uint32_t index) const { return m_sessions.at(index); }

    uint32_t m_sessionCount = 0;   // entries of the session list filled by enumeration
    uint8_t m_startPending = 0;    // the start-up handshake must run
    uint8_t m_isHost = 0;          // 1 on the machine that created the session
    uint8_t m_active = 0;          // 1 while a session is open
    uint32_t m_localPlayerId = 0;  // the network's id of this machine's player
    int32_t m_localSlot = 0;       // index of this machine's slot
    uint32_t m_connectionMask = 0; // bit n: provider n found
    int32_t m_lastResult = 0;      // 0 when the last network call succeeded
    int32_t m_slotCount = 1;       // slots in use
    uint8_t m_playersChanged = 0;  // a slot was added or a player left; the lobby clears it
    std::string m_defaultAddress;  // the address of an open without one

private:
    void ResetSlotsForSession();
    void FindLocalSlot();
    void AddEnumeratedPlayer(uint32_t playerId, const std::string& name);
    void HandleSystemMessage(const platform::net::Message& message);
    void HandleCreation(bool group, const std::string& name);
    bool NameChatSender(COVEvent& line);
    void HandleDeparture(const platform::net::Message& message);
    void ReleaseNetwork();

    std::unique_ptr<platform::net::Network> m_network;
    std::array<NetSessionEntry, kNetMaxSessions> m_sessions;
    std::array<std::unique_ptr<ChatGroupEntry>, kNetChatGroups> m_chatGroups;
    std::array<NetSlot, kNetMaxSlots> m_slots;
    platform::net::SessionDesc m_desc;
    SendFunction m_send;
};

extern CNetSession* g_netSession;

// What the session asks of the countries: the tag that names a departed
// player's country, and the table of who plays each country
// (g_countryController: 0 the computer, 1 a human at this machine, 2 a human
// at another machine), which DumpSlots fills and GetSessionPlayerName reads.
// country/Country.cpp fills it; an empty entry answers as a country without
// a tag and a table of zeros, and a mark is then not kept. The numbers
// handed over are below kNetCountrySlots.
struct SessionCountryHooks {
    const char* (*tag)(uint32_t number) = nullptr;
    void (*clearMarks)() = nullptr;
    void (*setMark)(uint32_t number, uint32_t mark) = nullptr;
    uint32_t (*mark)(uint32_t number) = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern SessionCountryHooks g_sessionCountries;

// True when a session exists and is open.
bool IsSessionActive();
// The session's is-host flag; false without a session.
bool IsSessionHost();
// True when this machine runs the authoritative game logic: always without
// an open multiplayer session, otherwise when this machine hosts it.
bool IsHost();
// SendEvent with g_netSession; false without a session.
bool SendEventToSession(const COVNetEvent& event);
