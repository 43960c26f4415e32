#pragma once
// The message types: every type id (0 to 316) with its name, its payload
// layout class and size, and whether it may travel between machines; the
// layout classes; the factory that rebuilds a message in the class of its
// type id.
//
// Names come in three families: "APPMSG_" (application messages), "APPSET_"
// (game settings) and "_COVEVT_" (game messages, between the prefix and a
// closing "_"). 33 ids have no name; GetEventTypeName answers
// "Uknown event <id>" for them and for ids above 316.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Date.h"
#include "net/Event.h"

enum EventType : uint32_t {
    EVT_APPMSG_CHATSTRING = 0,
    EVT_APPMSG_LOADGAME = 1,
    EVT_APPMSG_SCENARIO = 2,
    EVT_APPMSG_COUNTRY = 3,
    EVT_UNNAMED_4 = 4,
    EVT_APPSET_VICTORY = 5,
    EVT_APPSET_OPTIONS = 6,
    EVT_UNNAMED_7 = 7,
    EVT_PLAYER_DATA = 8,
    EVT_PLAYER_REMOVE = 9,
    EVT_SESSION_REMOVED = 10,
    EVT_BOOTUP_READY = 11,
    EVT_UNNAMED_12 = 12,
    EVT_MOUSEMOVE = 13,
    EVT_MOUSELBUP = 14,
    EVT_MOUSERBUP = 15,
    EVT_UNNAMED_16 = 16,
    EVT_MOUSELBDOWN = 17,
    EVT_MOUSELBHELD = 18,
    EVT_MOUSELBDOUBLECLICK = 19,
    EVT_KEYUP = 20,
    EVT_TIMER_MONTH = 21,
    EVT_TIMER_YEAR = 22,
    EVT_TIMER_TICK_LOOP = 23,
    EVT_TICK_ANIMATIONS = 24,
    EVT_COMBAT_CREATE = 25,
    EVT_COMBAT_DELETE = 26,
    EVT_COMBAT_REMOVE_UNIT = 27,
    EVT_COMBAT_REMOVE_UNIT_2 = 28,
    EVT_COMBAT_REMOVE_UNIT_3 = 29,
    EVT_COMBAT_PHASE = 30,
    EVT_COMBAT_STARTED = 31,
    EVT_COMBAT_ENDED = 32,
    EVT_SIEGE_ASSAULT = 33,
    EVT_SIEGE_CHANGEMODE = 34,
    EVT_COMBAT_RETREAT = 35,
    EVT_COMBAT_RETREAT_NOW = 36,
    EVT_COMBAT_RESULT = 37,
    EVT_SIEGE_RESULT = 38,
    EVT_CREATE_FORTRESS_UNIT = 39,
    EVT_FORTRESS_DAMAGE = 40,
    EVT_CITY_DAMAGE = 41,
    EVT_UNIT_ADD_DESTINATION = 42,
    EVT_UNIT_PATROL = 43,
    EVT_UNNAMED_44 = 44,
    EVT_UNITMOVE = 45,
    EVT_UNITMOVECANCEL = 46,
    EVT_UNITMOVE_INVALID = 47,
    EVT_UNITCONTINUE = 48,
    EVT_UNITMOVEPATH = 49,
    EVT_UNITMOVE_ADD_DEST = 50,
    EVT_UNITDELETE = 51,
    EVT_UNITLOSSES = 52,
    EVT_SET_RETREAT_MORALE = 53,
    EVT_GOTO_FRIENDLY_PROVINCE = 54,
    EVT_SET_IN_PROVINCE = 55,
    EVT_RENAME_OBJECT = 56,
    EVT_UNNAMED_57 = 57,
    EVT_UNNAMED_58 = 58,
    EVT_BUILD_FACILITY = 59,
    EVT_REQUEST_SPLIT_ARMY = 60,
    EVT_REQUEST_CREATE_DETACHMENT = 61,
    EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT = 62,
    EVT_REQUEST_CREATE_GALLEYS_DETACHMENT = 63,
    EVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT = 64,
    EVT_REQUEST_DETACH_SIEGE_FORCE = 65,
    EVT_REQUEST_DETACH_COVER_FORCE = 66,
    EVT_REQUEST_DISBAND_UNIT = 67,
    EVT_DISBAND_UNIT = 68,
    EVT_UNIT_HALT = 69,
    EVT_UNIT_ASSAULT = 70,
    EVT_UNIT_UNLOADONARRIVAL = 71,
    EVT_UNIT_REMAINONBOARD = 72,
    EVT_UNIT_FINISH = 73,
    EVT_REQUEST_MERGE = 74,
    EVT_UNNAMED_75 = 75,
    EVT_REFRESHWINDOWS = 76,
    EVT_CLOSEALLWINDOWS = 77,
    EVT_GAME_STARTED = 78,
    EVT_GAME_END = 79,
    EVT_GAME_WINNER = 80,
    EVT_TOGGLE_CONSOLE = 81,
    EVT_CHAT_WINDOW = 82,
    EVT_CHANGE_PLAYER = 83,
    EVT_EXCEPTIONAL_TAXES = 84,
    EVT_USE_COLONIST = 85,
    EVT_USE_DIPLOMAT = 86,
    EVT_USE_MERCHANT = 87,
    EVT_GET_COLONIST = 88,
    EVT_GET_MERCHANT = 89,
    EVT_GET_DIPLOMAT = 90,
    EVT_LOOT_PROVINCE = 91,
    EVT_UNLOOT_PROVINCE = 92,
    EVT_GAINMONEY = 93,
    EVT_LOSEMONEY = 94,
    EVT_REQ_GETLOAN = 95,
    EVT_REQ_CANCELLOAN = 96,
    EVT_REQ_PAYLOAN = 97,
    EVT_REQ_EXTENDLOAN = 98,
    EVT_EXEC_GETLOAN = 99,
    EVT_EXEC_CANCELLOAN = 100,
    EVT_EXEC_PAYLOAN = 101,
    EVT_EXEC_EXTENDLOAN = 102,
    EVT_ASKEXTENDLOAN = 103,
    EVT_OFFERLOAN = 104,
    EVT_ACCEPTLOANMSG = 105,
    EVT_DECLINELOANMSG = 106,
    EVT_REQUEST_TRANSFER_INFANTRY = 107,
    EVT_REQUEST_TRANSFER_ARTILLERY = 108,
    EVT_REQUEST_TRANSFER_CAVALRY = 109,
    EVT_REQUEST_TRANSFER_WARSHIPS = 110,
    EVT_REQUEST_TRANSFER_TRANSPORTS = 111,
    EVT_REQUEST_TRANSFER_GALLEYS = 112,
    EVT_TRANSFER_INFANTRY = 113,
    EVT_TRANSFER_ARTILLERY = 114,
    EVT_TRANSFER_CAVALRY = 115,
    EVT_TRANSFER_WARSHIPS = 116,
    EVT_TRANSFER_TRANSPORTS = 117,
    EVT_TRANSFER_GALLEYS = 118,
    EVT_TRANSFER_ALL_ARMIES = 119,
    EVT_TRANSFER_ALL_LEADERS = 120,
    EVT_REQUEST_TRANSFER_OVERLOAD_FIX = 121,
    EVT_TRANSFER_ONE_LEADER = 122,
    EVT_UNNAMED_123 = 123,
    EVT_REQ_BUILD_FACILITY = 124,
    EVT_EXEC_BUILD_FACILITY = 125,
    EVT_BUILDFACILITY_FAILED = 126,
    EVT_INCREASE_STABILITY = 127,
    EVT_DECREASE_STABILITY = 128,
    EVT_REQ_BOOST_INVESTMENT = 129,
    EVT_EXEC_BOOST_INVESTMENT = 130,
    EVT_CREATE_ARMY = 131,
    EVT_BUILD_ARMY = 132,
    EVT_CREATE_ARMY_ON_FLEET = 133,
    EVT_BUILD_FLEET = 134,
    EVT_CREATE_FLEET = 135,
    EVT_PROVCHANGECONTROL = 136,
    EVT_PROVBATTLEWON = 137,
    EVT_PROVBATTLELOST = 138,
    EVT_PROVSIEGEWON = 139,
    EVT_PROVSIEGELOST = 140,
    EVT_DISCOVERPROVINCE = 141,
    EVT_SEND_STATUS = 142,
    EVT_UNNAMED_143 = 143,
    EVT_LOSE_TRADELEVEL = 144,
    EVT_SEND_COLONIST = 145,
    EVT_COLONISE = 146,
    EVT_COLONIST_ARRIVED = 147,
    EVT_COLONISATION_FAILED = 148,
    EVT_COLONISATION_BOUNCED = 149,
    EVT_SEND_TRADER = 150,
    EVT_TRADER_ARRIVED = 151,
    EVT_ESTABLISH_TRADEPOST = 152,
    EVT_ESTABLISH_TRADEPOST_FAILED = 153,
    EVT_ESTABLISH_TRADEPOST_BOUNCED = 154,
    EVT_SEND_MERCHANT = 155,
    EVT_REQ_MERCHANT_SUCCESS = 156,
    EVT_EXEC_MERCHANT_SUCCESS = 157,
    EVT_REQ_START_EXPANDING_FORTRESS = 158,
    EVT_EXEC_START_EXPANDING_FORTRESS = 159,
    EVT_EXPAND_FORTRESS = 160,
    EVT_GIVECB = 161,
    EVT_UNNAMED_162 = 162,
    EVT_EXPIRE_CONSTRUCTION = 163,
    EVT_CHANGE_MODIFIER = 164,
    EVT_CREATE_LEADER = 165,
    EVT_ACTIVATE_LEADER = 166,
    EVT_REQUEST_REPLACEMENT_LEADER = 167,
    EVT_REQUEST_NEW_LEADER = 168,
    EVT_KILL_LEADER = 169,
    EVT_ARRIVE_LEADER = 170,
    EVT_CREATE_MONARCH = 171,
    EVT_SET_MONARCH_VALUES = 172,
    EVT_REQUEST_REPLACEMENT_MONARCH = 173,
    EVT_ACTIVATE_MONARCH = 174,
    EVT_REQUEST_INVESTMENT_CHANGE = 175,
    EVT_INVESTMENT_CHANGE = 176,
    EVT_UNNAMED_177 = 177,
    EVT_UNNAMED_178 = 178,
    EVT_UNNAMED_179 = 179,
    EVT_UNNAMED_180 = 180,
    EVT_INVITE_TO_WARPACT = 181,
    EVT_MERGE_WAR = 182,
    EVT_DECLINE_WARPACT = 183,
    EVT_UNNAMED_184 = 184,
    EVT_EXECUTE_EVENT = 185,
    EVT_MISSION_ACTIVATED = 186,
    EVT_MISSION_CHECK = 187,
    EVT_REQUEST_NEW_MISSION = 188,
    EVT_MISSION_COMPLETED = 189,
    EVT_MISSION_FAILED = 190,
    EVT_UNNAMED_191 = 191,
    EVT_CREATE_COUNTRY = 192,
    EVT_INFLATION = 193,
    EVT_REQUEST_CONQUISTADOR_TEST = 194,
    EVT_REQUEST_NATIVE_ATTACK = 195,
    EVT_REQUEST_PERHAPS_NATIVE_ATTACK = 196,
    EVT_SET_NATIVES = 197,
    EVT_PACIFY_NATIVE = 198,
    EVT_SET_SEND_DATE = 199,
    EVT_SWITCH_ALLEGIANCE = 200,
    EVT_ENABLE_GODMODE = 201,
    EVT_DISABLE_GODMODE = 202,
    EVT_AI_TICK = 203,
    EVT_KILL = 204,
    EVT_PAUSE = 205,
    EVT_UNPAUSE = 206,
    EVT_PAUSEADD = 207,
    EVT_ECOTYPEGOODS = 208,
    EVT_UNNAMED_209 = 209,
    EVT_UNNAMED_210 = 210,
    EVT_TICK_RESOURCE = 211,
    EVT_REQUEST_SET_MAINTENANCE = 212,
    EVT_SET_MAINTENANCE = 213,
    EVT_CREATE_ALLIANCE = 214,
    EVT_ALLIANCE_ADD_OFFER = 215,
    EVT_ALLIANCE_SUB_OFFER = 216,
    EVT_UNNAMED_217 = 217,
    EVT_UNNAMED_218 = 218,
    EVT_WE_DECLARE_WAR = 219,
    EVT_THEY_DECLARE_WAR = 220,
    EVT_REQUEST_HONOR_ALLIANCE = 221,
    EVT_JOIN_WAR = 222,
    EVT_OFFER_PEACE = 223,
    EVT_REQ_OFFER_ANNEXATION = 224,
    EVT_REQ_SET_ANNEXATION = 225,
    EVT_REQ_DECLINE_ANNEXATION = 226,
    EVT_REQ_DESTROY_ALLIANCE = 227,
    EVT_REQ_JOIN_ALLIANCE = 228,
    EVT_REQ_LEAVE_ALLIANCE = 229,
    EVT_REQ_INVITE_ALLIANCE = 230,
    EVT_REQ_ASKJOIN_ALLIANCE = 231,
    EVT_REQ_BANNED_FROM_ALLIANCE = 232,
    EVT_REQ_DECLINE_ALLIANCE_OFFER = 233,
    EVT_REQ_DECLINE_ALLIANCE_JOIN = 234,
    EVT_REQ_ACCEPT_PEACE = 235,
    EVT_REQ_DECLINE_PEACE = 236,
    EVT_REQ_CREATE_PEACE_OFFER = 237,
    EVT_REQ_SETUP_WAR = 238,
    EVT_REQ_DISHONOR_ALLIANCE = 239,
    EVT_REQ_HONOR_ALLIANCE = 240,
    EVT_UNNAMED_241 = 241,
    EVT_REQ_REFUSETRADE = 242,
    EVT_REQ_UNREFUSETRADE = 243,
    EVT_EXEC_OFFER_ANNEXATION = 244,
    EVT_EXEC_SET_ANNEXATION = 245,
    EVT_EXEC_DECLINE_ANNEXATION = 246,
    EVT_EXEC_DESTROY_ALLIANCE = 247,
    EVT_EXEC_JOIN_ALLIANCE = 248,
    EVT_EXEC_LEAVE_ALLIANCE = 249,
    EVT_EXEC_INVITE_ALLIANCE = 250,
    EVT_EXEC_ASKJOIN_ALLIANCE = 251,
    EVT_EXEC_BANNED_FROM_ALLIANCE = 252,
    EVT_EXEC_DECLINE_ALLIANCE_OFFER = 253,
    EVT_EXEC_DECLINE_ALLIANCE_JOIN = 254,
    EVT_EXEC_ACCEPT_PEACE = 255,
    EVT_EXEC_DECLINE_PEACE = 256,
    EVT_EXEC_CREATE_PEACE_OFFER = 257,
    EVT_EXEC_SETUP_WAR = 258,
    EVT_EXEC_DISHONOR_ALLIANCE = 259,
    EVT_EXEC_HONOR_ALLIANCE = 260,
    EVT_UNNAMED_261 = 261,
    EVT_EXEC_REFUSETRADE = 262,
    EVT_EXEC_UNREFUSETRADE = 263,
    EVT_REQ_CHANGE_TOLERANCE = 264,
    EVT_EXEC_CHANGE_TOLERANCE = 265,
    EVT_REQ_CHANGE_RELIGION = 266,
    EVT_EXEC_CHANGE_RELIGION = 267,
    EVT_CHANGE_RELIGION_PROVINCE = 268,
    EVT_ASK_SHARE_EXPLORATION = 269,
    EVT_ACCEPT_SHARE_EXPLORATION = 270,
    EVT_DECLINE_SHARE_EXPLORATION = 271,
    EVT_STEAL_EXPLORATION = 272,
    EVT_DISCOVERCOUNTRY = 273,
    EVT_SENDGIFT = 274,
    EVT_REQ_DESTROY_TPOST = 275,
    EVT_EXEC_DESTROY_TPOST = 276,
    EVT_COUNTRY_BROKEN = 277,
    EVT_SETEVENTFLAG = 278,
    EVT_NEW_EMPEROR = 279,
    EVT_REQUEST_CANCEL_CONSTRUCTION = 280,
    EVT_CANCEL_CONSTRUCTION = 281,
    EVT_CHANGE_INCOME_PROVINCE = 282,
    EVT_REQ_START_BUILD_IMPROVEMENT = 283,
    EVT_EXEC_START_BUILD_IMPROVEMENT = 284,
    EVT_FINISH_BUILD_IMPROVEMENT = 285,
    EVT_CREATE_PRODUCTION_FACILITY = 286,
    EVT_UNNAMED_287 = 287,
    EVT_CHANGE_TE = 288,
    EVT_CHANGE_PE = 289,
    EVT_TRADE_RESTRICTIONS = 290,
    EVT_CREATE_COT = 291,
    EVT_CREATE_BANK = 292,
    EVT_CREATE_STOCK = 293,
    EVT_GOLD_LOST = 294,
    EVT_ADD_OWNERAREA = 295,
    EVT_REQ_RELATION = 296,
    EVT_EXEC_RELATION = 297,
    EVT_SET_MINISTER = 298,
    EVT_REMOVE_MINISTER = 299,
    EVT_START_EVENT = 300,
    EVT_START_GAME_TIMER = 301,
    EVT_PLAYER_START = 302,
    EVT_UNNAMED_303 = 303,
    EVT_WHITE_PEACE = 304,
    EVT_UNNAMED_305 = 305,
    EVT_UNNAMED_306 = 306,
    EVT_UNNAMED_307 = 307,
    EVT_TIMER_DATE = 308,
    EVT_PING = 309,
    EVT_UNNAMED_310 = 310,
    EVT_UNNAMED_311 = 311,
    EVT_UNNAMED_312 = 312,
    EVT_UNNAMED_313 = 313,
    EVT_UNNAMED_314 = 314,
    EVT_CHECK_ECO_DATA = 315,
    EVT_UNITSIZELOSSES = 316,
};

// The payload layout class of a type id. Types whose fields after the head
// are written by their builder alone (and read by their receiver) share the
// class COVDataEvent, sized from the table.
enum class EventLayout : uint8_t {
    LocalOnly, // never travels; has no class of its own here
    Data,
    Simple,
    Province,
    Pause,
    TimerDate,
    Timer,
    Annexation,
    Construction,
    SendDate,
    Fortress,
    WarPact,
    Alliance,
    Peace,
    Combat,
    MergeWar,
    Improvement,
    CreateAlliance,
    War,
    Loan,
    Colonist,
    Merchant,
    CreateArmyOnFleet,
    Fleet,
    Army,
    CreateMonarch,
    CreateLeader,
    Scenario,
    Chat,           // variable size: text length + 30
    UnitMovePath,   // variable size: 2 x steps + 38
    ProvinceBattle, // variable size: 4 x entries + 38
    CreateCountry,  // variable size: 4 x entries + 38
};

struct EventTypeInfo {
    const char* name; // null for an id without a name
    EventLayout layout;
    uint16_t payloadSize; // the fixed size; for a variable layout its size with no entries
    bool localOnly;       // never sent: the receiving factory refuses it
};

// The whole table, indexed by type id.
const std::array<EventTypeInfo, EVENT_TYPE_COUNT>& GetEventTypeTable();
// The entry of a type id; null above 316.
const EventTypeInfo* GetEventTypeInfo(uint32_t type);

// The type's name, or "Uknown event <id>" for an id without a name or above
// 316.
std::string GetEventTypeName(uint32_t type);
std::string GetEventTypeName(const COVEvent& event);

// The class name of a layout ("COVSimpleEvent" ...).
const char* GetEventLayoutClassName(EventLayout layout);
bool IsVariableLayout(EventLayout layout);
// True for the types that never travel between machines.
bool IsLocalOnlyEvent(uint32_t type);
// The table's payload size of a type; 0 above 316.
uint16_t GetEventPayloadSize(uint32_t type);

// A new message of the class of the source's type id holding a copy of the
// source's payload (GetPayloadSize bytes), send 0, local 1; null for a
// local-only type or an id above 316. The receiving side rebuilds every
// message this way.
std::unique_ptr<COVEvent> CreateEventCopy(const COVEvent& source);

// ---------------------------------------------------------------------------
// Layout classes. Each has a constructor from its fields (type id and
// receiver first; the due date is zero) and a copy constructor from any
// message, which keeps the payload size the source answers. Offsets are
// from the start of the payload.

// A fixed-size payload whose fields after the head belong to its builder and
// its receiver; the size is the table's size of the type.
class COVDataEvent : public COVEvent {
public:
    COVDataEvent(uint32_t type, const ObjectId& receiver);
    explicit COVDataEvent(const COVEvent& m) : COVEvent(m) {}
};

// 24 bytes: +20 u32 province id.
class COVProvinceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    COVProvinceEvent(uint32_t type, const ObjectId& receiver, uint32_t province);
    explicit COVProvinceEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetProvince() const { return Payload().GetU32(20); }
};

// 24 bytes: +20 u32 value.
class COVPauseEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    COVPauseEvent(uint32_t type, const ObjectId& receiver, uint32_t value);
    explicit COVPauseEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetValue() const { return Payload().GetU32(20); }
};

// 24 bytes: +20 u32 count (the days to advance for EVT_TIMER_DATE).
class COVTimerDateEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    COVTimerDateEvent(uint32_t type, const ObjectId& receiver, uint32_t count);
    explicit COVTimerDateEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetCount() const { return Payload().GetU32(20); }
};

// 28 bytes: +20 CDate (the new current date of the month and year ticks).
class COVTimerEvent : public COVEvent {
public:
    static constexpr size_t kSize = 28;
    COVTimerEvent(uint32_t type, const ObjectId& receiver, const CDate& date);
    explicit COVTimerEvent(const COVEvent& m) : COVEvent(m) {}
    CDate GetDate() const { return Payload().GetDate(20); }
};

// 28 bytes: +20 u32 country number, +24 u32. The extra id is that country.
class COVAnnexationEvent : public COVEvent {
public:
    static constexpr size_t kSize = 28;
    COVAnnexationEvent(uint32_t type, const ObjectId& receiver, uint32_t country, uint32_t value);
    explicit COVAnnexationEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// 32 bytes: +20, +24, +28 u32.
class COVConstructionEvent : public COVEvent {
public:
    static constexpr size_t kSize = 32;
    COVConstructionEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                         uint32_t c);
    explicit COVConstructionEvent(const COVEvent& m) : COVEvent(m) {}
};

// 32 bytes: +20 u32, +24 CDate.
class COVSendDateEvent : public COVEvent {
public:
    static constexpr size_t kSize = 32;
    COVSendDateEvent(uint32_t type, const ObjectId& receiver, uint32_t value, const CDate& date);
    explicit COVSendDateEvent(const COVEvent& m) : COVEvent(m) {}
};

// 36 bytes: +20, +24, +28, +32 u32.
class COVFortressEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    COVFortressEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b, uint32_t c,
                     uint32_t d);
    explicit COVFortressEvent(const COVEvent& m) : COVEvent(m) {}
};

// 36 bytes; the extra id is the country {3, u32 at +32}.
class COVWarPactEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    COVWarPactEvent(uint32_t type, const ObjectId& receiver);
    explicit COVWarPactEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// 36 bytes; the extra id is the country {3, u32 at +32}.
class COVAllianceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    COVAllianceEvent(uint32_t type, const ObjectId& receiver);
    explicit COVAllianceEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// 36 bytes: +20, +24, +28 u32, +32 u32 country number (the extra id).
class COVPeaceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    COVPeaceEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b, uint32_t c,
                  uint32_t country);
    explicit COVPeaceEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// 40 bytes: +20 u32, +24 ObjectId, +32 CDate.
class COVCombatEvent : public COVEvent {
public:
    static constexpr size_t kSize = 40;
    COVCombatEvent(uint32_t type, const ObjectId& receiver, uint32_t value, const ObjectId& id,
                   const CDate& date);
    explicit COVCombatEvent(const COVEvent& m) : COVEvent(m) {}
};

// 40 bytes: +20 to +36 five u32.
class COVMergeWarEvent : public COVEvent {
public:
    static constexpr size_t kSize = 40;
    COVMergeWarEvent(uint32_t type, const ObjectId& receiver,
                     const std::array<uint32_t, 5>& values);
    explicit COVMergeWarEvent(const COVEvent& m) : COVEvent(m) {}
};

// 40 bytes: +20 to +36 five u32.
class COVImprovementEvent : public COVEvent {
public:
    static constexpr size_t kSize = 40;
    COVImprovementEvent(uint32_t type, const ObjectId& receiver,
                        const std::array<uint32_t, 5>& values);
    explicit COVImprovementEvent(const COVEvent& m) : COVEvent(m) {}
};

// 52 bytes: +24, +28, +32 u32, +40 CDate, +48 u32.
class COVCreateAllianceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 52;
    COVCreateAllianceEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                           uint32_t c, const CDate& date, uint32_t d);
    explicit COVCreateAllianceEvent(const COVEvent& m) : COVEvent(m) {}
};

// 52 bytes: +20 to +48 eight u32; the extra id is the country {3, u32 at +44}.
class COVWarEvent : public COVEvent {
public:
    static constexpr size_t kSize = 52;
    COVWarEvent(uint32_t type, const ObjectId& receiver, const std::array<uint32_t, 8>& values);
    explicit COVWarEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// 56 bytes: +20 and +24 u32 zero, +28 ObjectId (a country), +36 u32,
// +40 u32, +44 CDate, +52 u32.
class CLoanEvent : public COVEvent {
public:
    static constexpr size_t kSize = 56;
    CLoanEvent(uint32_t type, const ObjectId& receiver, const ObjectId& country, uint32_t a,
               uint32_t b, const CDate& date, uint32_t c);
    explicit CLoanEvent(const COVEvent& m) : COVEvent(m) {}
};

// 60 bytes: +20 u32 (b), +28 CDate (cleared), +44 u32 (a), +52 u32 (c),
// +56 u32 (d).
class COVColonistEvent : public COVEvent {
public:
    static constexpr size_t kSize = 60;
    COVColonistEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b, uint32_t c,
                     uint32_t d);
    explicit COVColonistEvent(const COVEvent& m) : COVEvent(m) {}
};

// 60 bytes, the facility request as its sender builds it: +20 u32 (a),
// +24 u32 zero, +28 CDate, +36 ObjectId (null), +48, +52, +56 u32 (b, c, d).
// The receiving side rebuilds it in the class of its type and keeps all 60
// bytes.
class COVFacilityEvent : public COVEvent {
public:
    static constexpr size_t kSize = 60;
    COVFacilityEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b, uint32_t c,
                     uint32_t d);
    explicit COVFacilityEvent(const COVEvent& m) : COVEvent(m) {}
};

// 64 bytes: +20 u32 centre of trade, +24 u32 cost, +28 CDate arrival,
// +36 ObjectId, +44 u32, +52 ObjectId, +60 u8 success flag.
class COVMerchantEvent : public COVEvent {
public:
    static constexpr size_t kSize = 64;
    static constexpr size_t kOfsCentre = 20, kOfsCost = 24, kOfsArrival = 28, kOfsFirstId = 36,
                            kOfsValue = 44, kOfsSecondId = 52, kOfsSuccess = 60;
    COVMerchantEvent(uint32_t type, const ObjectId& receiver);
    explicit COVMerchantEvent(const COVEvent& m) : COVEvent(m) {}
};

// 80 bytes: +20 u32 and +28 CDate left zero; +44 to +76 nine u32.
class COVCreateArmyOnFleetEvent : public COVEvent {
public:
    static constexpr size_t kSize = 80;
    COVCreateArmyOnFleetEvent(uint32_t type, const ObjectId& receiver,
                              const std::array<uint32_t, 9>& values);
    explicit COVCreateArmyOnFleetEvent(const COVEvent& m) : COVEvent(m) {}
};

// 84 bytes: +20 u32, +28 CDate, +36 ObjectId, +44 CDate, +52 ObjectId,
// +60, +64 u32, +68 ObjectId, +76, +80 u32.
class COVFleetEvent : public COVEvent {
public:
    static constexpr size_t kSize = 84;
    COVFleetEvent(uint32_t type, const ObjectId& receiver);
    explicit COVFleetEvent(const COVEvent& m) : COVEvent(m) {}
};

// 88 bytes: +20 u32, +28 CDate, +36 ObjectId, +44 CDate, +52 ObjectId,
// +60 to +76 u32, +80 ObjectId.
class COVArmyEvent : public COVEvent {
public:
    static constexpr size_t kSize = 88;
    COVArmyEvent(uint32_t type, const ObjectId& receiver);
    explicit COVArmyEvent(const COVEvent& m) : COVEvent(m) {}
};

// 92 bytes: +20 u8 rank, +21 manoeuvre, +23 fire, +24 shock, +25 siege,
// +26 special (u8 each), +28 u32 category, +32 ObjectId of the monarch's
// leader part, +40 char[32] name, +72 CDate end, +80 CDate start, +88 MIL,
// +89 DIP, +90 ADM (u8 each).
class COVCreateMonarchEvent : public COVEvent {
public:
    static constexpr size_t kSize = 92;
    static constexpr size_t kOfsRank = 20, kOfsManoeuvre = 21, kOfsFire = 23, kOfsShock = 24,
                            kOfsSiege = 25, kOfsSpecial = 26, kOfsCategory = 28, kOfsLeaderId = 32,
                            kOfsName = 40, kNameSize = 32, kOfsEndDate = 72, kOfsStartDate = 80,
                            kOfsMil = 88, kOfsDip = 89, kOfsAdm = 90;
    COVCreateMonarchEvent(uint32_t type, const ObjectId& receiver);
    explicit COVCreateMonarchEvent(const COVEvent& m) : COVEvent(m) {}
};

// 100 bytes: the peace offer's terms as its sender builds them. The
// receiving side rebuilds the type in COVPeaceEvent's class and keeps all
// 100 bytes.
class COVPeaceOfferEvent : public COVEvent {
public:
    static constexpr size_t kSize = 100;
    COVPeaceOfferEvent(uint32_t type, const ObjectId& receiver);
    explicit COVPeaceOfferEvent(const COVEvent& m) : COVEvent(m) {}
};

// 140 bytes: +20 u32 rank, +24 manoeuvre, +32 fire, +36 shock, +40 siege,
// +48 category (u32 each), +52 ObjectId of the leader, +60 char[64] name,
// +124 CDate end, +132 CDate start.
class COVCreateLeaderEvent : public COVEvent {
public:
    static constexpr size_t kSize = 140;
    static constexpr size_t kOfsRank = 20, kOfsManoeuvre = 24, kOfsFire = 32, kOfsShock = 36,
                            kOfsSiege = 40, kOfsCategory = 48, kOfsLeaderId = 52, kOfsName = 60,
                            kNameSize = 64, kOfsEndDate = 124, kOfsStartDate = 132;
    COVCreateLeaderEvent(uint32_t type, const ObjectId& receiver);
    explicit COVCreateLeaderEvent(const COVEvent& m) : COVEvent(m) {}
};

// 160 bytes, type EVT_APPMSG_SCENARIO for everybody: +20 u32 start value,
// +24 char[128] file name (cut to 127 characters, zero-terminated),
// +152 u32 file size, +156 u32 byte sum.
class COVScenarioEvent : public COVEvent {
public:
    static constexpr size_t kSize = 160;
    static constexpr size_t kNameSize = 128;
    COVScenarioEvent(uint32_t startValue, std::string_view fileName, uint32_t fileSize,
                     uint32_t byteSum);
    explicit COVScenarioEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetStartValue() const { return Payload().GetU32(20); }
    std::string GetFileName() const { return Payload().GetText(24, kNameSize); }
    uint32_t GetFileSize() const { return Payload().GetU32(152); }
    uint32_t GetByteSum() const { return Payload().GetU32(156); }
};

// The largest payload a message can have and still travel: the wire form's
// 16-bit length field counts 2 bytes more than the payload. The variable
// layouts below are held to it.
constexpr size_t EVENT_MAX_PAYLOAD_SIZE = 0xFFFF - 2;

// L + 30 bytes, type EVT_APPMSG_CHATSTRING: +20 u32 sender (a player id;
// 0xFFFFFFFF for the session's own lines), +24 u16 text length L including
// the terminating zero, +26 the text. A text too long for the largest
// payload is cut.
class COVChatEvent : public COVEvent {
public:
    static constexpr size_t kBaseSize = 30;
    // Characters, without the zero.
    static constexpr size_t kMaxTextLength = EVENT_MAX_PAYLOAD_SIZE - kBaseSize - 1;
    static constexpr size_t SizeFor(size_t textLength) { return textLength + 1 + kBaseSize; }
    COVChatEvent(std::string_view text, uint32_t sender, const ObjectId& receiver);
    explicit COVChatEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetSender() const { return Payload().GetU32(20); }
    // The text, never read past the payload's end.
    std::string GetText() const;
};

// 2n + 38 bytes, type EVT_UNITMOVEPATH for the moving unit: +28 u16 value,
// +30 u16 count n, +32 n u16 province ids. The extra id is the unit server.
class COVUnitMovePathEvent : public COVEvent {
public:
    static constexpr size_t kBaseSize = 38;
    static constexpr size_t kMaxSteps = (EVENT_MAX_PAYLOAD_SIZE - kBaseSize) / 2;
    static constexpr size_t SizeFor(size_t steps) { return 2 * steps + kBaseSize; }
    // Steps beyond kMaxSteps are left out.
    COVUnitMovePathEvent(const ObjectId& receiver, uint8_t value,
                         const std::vector<uint16_t>& provinces);
    explicit COVUnitMovePathEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
    uint16_t GetValue() const { return Payload().GetU16(28); }
    uint16_t GetCount() const { return Payload().GetU16(30); }
    uint16_t GetStep(size_t index) const { return Payload().GetU16(32 + 2 * index); }
};

// The two layouts of a u16 count at +28 and n u32 entries from +32:
// 4n + 38 bytes.
class COVCountedEvent : public COVEvent {
public:
    static constexpr size_t kBaseSize = 38;
    static constexpr size_t kMaxEntries = (EVENT_MAX_PAYLOAD_SIZE - kBaseSize) / 4;
    static constexpr size_t SizeFor(size_t entries) { return 4 * entries + kBaseSize; }
    uint16_t GetCount() const { return Payload().GetU16(28); }
    uint32_t GetEntry(size_t index) const { return Payload().GetU32(32 + 4 * index); }

protected:
    // Entries beyond kMaxEntries are left out.
    COVCountedEvent(uint32_t type, const ObjectId& receiver, const std::vector<uint32_t>& entries);
    explicit COVCountedEvent(const COVEvent& m) : COVEvent(m) {}
};

// Battle and siege results of a province (types 137 to 140).
class COVProvinceBattleEvent : public COVCountedEvent {
public:
    COVProvinceBattleEvent(uint32_t type, const ObjectId& receiver,
                           const std::vector<uint32_t>& entries)
        : COVCountedEvent(type, receiver, entries) {}
    explicit COVProvinceBattleEvent(const COVEvent& m) : COVCountedEvent(m) {}
};

// A new country (type EVT_CREATE_COUNTRY).
class COVCreateCountryEvent : public COVCountedEvent {
public:
    COVCreateCountryEvent(const ObjectId& receiver, const std::vector<uint32_t>& entries)
        : COVCountedEvent(EVT_CREATE_COUNTRY, receiver, entries) {}
    explicit COVCreateCountryEvent(const COVEvent& m) : COVCountedEvent(m) {}
};
