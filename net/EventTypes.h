#pragma once
// The message types: every type id (0 to 316) with its name, its payload
// layout class and size, and whether it may travel between machines; the
// layout classes with their payload fields; the layouts of the messages of
// class COVDataEvent; the factory that rebuilds a message in the class of
// its type id.
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

// Every message type, once, in id order:
//   X(enum name without "EVT_", id, name text or nullptr, layout class (EventLayout),
//     payload size, local only)
// The size is the payload's fixed size, or for a variable layout its size
// with no entries. A local-only type never travels: the receiving factory
// refuses it.
#define ORV_EVENT_TYPES(X)                                                                         \
    X(APPMSG_CHATSTRING, 0, "APPMSG_CHATSTRING", Chat, 30, false)                                  \
    X(APPMSG_LOADGAME, 1, "APPMSG_LOADGAME", Simple, 20, false)                                    \
    X(APPMSG_SCENARIO, 2, "APPMSG_SCENARIO", Scenario, 160, false)                                 \
    X(APPMSG_COUNTRY, 3, "APPMSG_COUNTRY", Data, 32, false)                                        \
    X(UNNAMED_4, 4, nullptr, LocalOnly, 0, true)                                                   \
    X(APPSET_VICTORY, 5, "APPSET_VICTORY", Data, 36, false)                                        \
    X(APPSET_OPTIONS, 6, "APPSET_OPTIONS", Data, 76, false)                                        \
    X(UNNAMED_7, 7, nullptr, LocalOnly, 0, true)                                                   \
    X(PLAYER_DATA, 8, "_COVEVT_PLAYER_DATA_", Data, 108, false)                                    \
    X(PLAYER_REMOVE, 9, "_COVEVT_PLAYER_REMOVE_", Data, 24, false)                                 \
    X(SESSION_REMOVED, 10, "_COVEVT_SESSION_REMOVED_", Simple, 20, false)                          \
    X(BOOTUP_READY, 11, "_COVEVT_BOOTUP_READY_", Data, 24, false)                                  \
    X(UNNAMED_12, 12, nullptr, LocalOnly, 0, true)                                                 \
    X(MOUSEMOVE, 13, "_COVEVT_MOUSEMOVE_", LocalOnly, 0, true)                                     \
    X(MOUSELBUP, 14, "_COVEVT_MOUSELBUP_", LocalOnly, 0, true)                                     \
    X(MOUSERBUP, 15, "_COVEVT_MOUSERBUP_", LocalOnly, 0, true)                                     \
    X(UNNAMED_16, 16, nullptr, LocalOnly, 0, true)                                                 \
    X(MOUSELBDOWN, 17, "_COVEVT_MOUSELBDOWN_", LocalOnly, 0, true)                                 \
    X(MOUSELBHELD, 18, "_COVEVT_MOUSELBHELD_", LocalOnly, 0, true)                                 \
    X(MOUSELBDOUBLECLICK, 19, "_COVEVT_MOUSELBDOUBLECLICK_", LocalOnly, 0, true)                   \
    X(KEYUP, 20, "_COVEVT_KEYUP_", LocalOnly, 0, true)                                             \
    X(TIMER_MONTH, 21, "_COVEVT_TIMER_MONTH_", Timer, 28, false)                                   \
    X(TIMER_YEAR, 22, "_COVEVT_TIMER_YEAR_", Timer, 28, false)                                     \
    X(TIMER_TICK_LOOP, 23, "_COVEVT_TIMER_TICK_LOOP_", Simple, 20, false)                          \
    X(TICK_ANIMATIONS, 24, "_COVEVT_TICK_ANIMATIONS_", LocalOnly, 0, true)                         \
    X(COMBAT_CREATE, 25, "_COVEVT_COMBAT_CREATE_", Combat, 40, false)                              \
    X(COMBAT_DELETE, 26, "_COVEVT_COMBAT_DELETE_", Combat, 40, false)                              \
    X(COMBAT_REMOVE_UNIT, 27, "_COVEVT_COMBAT_REMOVE_UNIT_", Combat, 40, false)                    \
    X(COMBAT_REMOVE_UNIT_2, 28, "_COVEVT_COMBAT_REMOVE_UNIT_", Combat, 40, false)                  \
    X(COMBAT_REMOVE_UNIT_3, 29, "_COVEVT_COMBAT_REMOVE_UNIT_", Combat, 40, false)                  \
    X(COMBAT_PHASE, 30, "_COVEVT_COMBAT_PHASE_", Combat, 40, false)                                \
    X(COMBAT_STARTED, 31, "_COVEVT_COMBAT_STARTED_", Combat, 40, false)                            \
    X(COMBAT_ENDED, 32, "_COVEVT_COMBAT_ENDED_", Combat, 40, false)                                \
    X(SIEGE_ASSAULT, 33, "_COVEVT_SIEGE_ASSAULT_", Combat, 40, false)                              \
    X(SIEGE_CHANGEMODE, 34, "_COVEVT_SIEGE_CHANGEMODE_", Combat, 40, false)                        \
    X(COMBAT_RETREAT, 35, "_COVEVT_COMBAT_RETREAT_", Data, 36, false)                              \
    X(COMBAT_RETREAT_NOW, 36, "_COVEVT_COMBAT_RETREAT_NOW_", Data, 36, false)                      \
    X(COMBAT_RESULT, 37, "_COVEVT_COMBAT_RESULT_", Data, 44, false)                                \
    X(SIEGE_RESULT, 38, "_COVEVT_SIEGE_RESULT_", Data, 36, false)                                  \
    X(CREATE_FORTRESS_UNIT, 39, "_COVEVT_CREATE_FORTRESS_UNIT_", Data, 60, false)                  \
    X(FORTRESS_DAMAGE, 40, "_COVEVT_FORTRESS_DAMAGE_", Data, 24, false)                            \
    X(CITY_DAMAGE, 41, "_COVEVT_CITY_DAMAGE_", Data, 24, false)                                    \
    X(UNIT_ADD_DESTINATION, 42, "_COVEVT_UNIT_ADD_DESTINATION_", Data, 32, false)                  \
    X(UNIT_PATROL, 43, "_COVEVT_UNIT_PATROL_", Data, 32, false)                                    \
    X(UNNAMED_44, 44, nullptr, LocalOnly, 0, true)                                                 \
    X(UNITMOVE, 45, "_COVEVT_UNITMOVE_", Data, 32, false)                                          \
    X(UNITMOVECANCEL, 46, "_COVEVT_UNITMOVECANCEL_", Data, 28, false)                              \
    X(UNITMOVE_INVALID, 47, "_COVEVT_UNITMOVE_INVALID_", Data, 28, false)                          \
    X(UNITCONTINUE, 48, "_COVEVT_UNITCONTINUE_", Data, 28, false)                                  \
    X(UNITMOVEPATH, 49, "_COVEVT_UNITMOVEPATH_", UnitMovePath, 38, false)                          \
    X(UNITMOVE_ADD_DEST, 50, "_COVEVT_UNITMOVE_ADD_DEST_", Data, 32, false)                        \
    X(UNITDELETE, 51, "_COVEVT_UNITDELETE_", Data, 28, false)                                      \
    X(UNITLOSSES, 52, "_COVEVT_UNITLOSSES_", Data, 36, false)                                      \
    X(SET_RETREAT_MORALE, 53, "_COVEVT_SET_RETREAT_MORALE_", Data, 24, false)                      \
    X(GOTO_FRIENDLY_PROVINCE, 54, "_COVEVT_GOTO_FRIENDLY_PROVINCE_", Data, 28, false)              \
    X(SET_IN_PROVINCE, 55, "_COVEVT_SET_IN_PROVINCE_", Province, 24, false)                        \
    X(RENAME_OBJECT, 56, "_COVEVT_RENAME_OBJECT_", Data, 92, false)                                \
    X(UNNAMED_57, 57, nullptr, Data, 32, false)                                                    \
    X(UNNAMED_58, 58, nullptr, Province, 24, false)                                                \
    X(BUILD_FACILITY, 59, "_COVEVT_BUILD_FACILITY_", Province, 24, false)                          \
    X(REQUEST_SPLIT_ARMY, 60, "_COVEVT_REQUEST_SPLIT_ARMY_", Data, 28, false)                      \
    X(REQUEST_CREATE_DETACHMENT, 61, "_COVEVT_REQUEST_CREATE_DETACHMENT_", Data, 28, false)        \
    X(REQUEST_CREATE_WARSHIPS_DETACHMENT, 62, "_COVEVT_REQUEST_CREATE_WARSHIPS_DETACHMENT_", Data, \
      28, false)                                                                                   \
    X(REQUEST_CREATE_GALLEYS_DETACHMENT, 63, "_COVEVT_REQUEST_CREATE_GALLEYS_DETACHMENT_", Data,   \
      28, false)                                                                                   \
    X(REQUEST_CREATE_TRANSPORTS_DETACHMENT, 64, "_COVEVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT_",   \
      Data, 28, false)                                                                             \
    X(REQUEST_DETACH_SIEGE_FORCE, 65, "_COVEVT_REQUEST_DETACH_SIEGE_FORCE_", Data, 28, false)      \
    X(REQUEST_DETACH_COVER_FORCE, 66, "_COVEVT_REQUEST_DETACH_COVER_FORCE_", Data, 28, false)      \
    X(REQUEST_DISBAND_UNIT, 67, "_COVEVT_REQUEST_DISBAND_UNIT_", Data, 28, false)                  \
    X(DISBAND_UNIT, 68, "_COVEVT_DISBAND_UNIT_", Data, 28, false)                                  \
    X(UNIT_HALT, 69, "_COVEVT_UNIT_HALT_", Data, 28, false)                                        \
    X(UNIT_ASSAULT, 70, "_COVEVT_UNIT_ASSAULT_", Data, 28, false)                                  \
    X(UNIT_UNLOADONARRIVAL, 71, "_COVEVT_UNIT_UNLOADONARRIVAL_", Data, 28, false)                  \
    X(UNIT_REMAINONBOARD, 72, "_COVEVT_UNIT_REMAINONBOARD_", Data, 28, false)                      \
    X(UNIT_FINISH, 73, "_COVEVT_UNIT_FINISH_", Data, 28, false)                                    \
    X(REQUEST_MERGE, 74, "_COVEVT_REQUEST_MERGE_", Data, 36, false)                                \
    X(UNNAMED_75, 75, nullptr, Simple, 20, false)                                                  \
    X(REFRESHWINDOWS, 76, "_COVEVT_REFRESHWINDOWS_", Simple, 20, false)                            \
    X(CLOSEALLWINDOWS, 77, "_COVEVT_CLOSEALLWINDOWS_", Simple, 20, false)                          \
    X(GAME_STARTED, 78, "_COVEVT_GAME_STARTED_", Simple, 20, false)                                \
    X(GAME_END, 79, "_COVEVT_GAME_END_", Simple, 20, false)                                        \
    X(GAME_WINNER, 80, "_COVEVT_GAME_WINNER_", Data, 24, false)                                    \
    X(TOGGLE_CONSOLE, 81, "_COVEVT_TOGGLE_CONSOLE_", LocalOnly, 0, true)                           \
    X(CHAT_WINDOW, 82, "_COVEVT_CHAT_WINDOW_", Simple, 20, false)                                  \
    X(CHANGE_PLAYER, 83, "_COVEVT_CHANGE_PLAYER_", Simple, 20, false)                              \
    X(EXCEPTIONAL_TAXES, 84, "_COVEVT_EXCEPTIONAL_TAXES_", Simple, 20, false)                      \
    X(USE_COLONIST, 85, "_COVEVT_USE_COLONIST_", Simple, 20, false)                                \
    X(USE_DIPLOMAT, 86, "_COVEVT_USE_DIPLOMAT_", Simple, 20, false)                                \
    X(USE_MERCHANT, 87, "_COVEVT_USE_MERCHANT_", Simple, 20, false)                                \
    X(GET_COLONIST, 88, "_COVEVT_GET_COLONIST_", Simple, 20, false)                                \
    X(GET_MERCHANT, 89, "_COVEVT_GET_MERCHANT_", Simple, 20, false)                                \
    X(GET_DIPLOMAT, 90, "_COVEVT_GET_DIPLOMAT_", Simple, 20, false)                                \
    X(LOOT_PROVINCE, 91, "_COVEVT_LOOT_PROVINCE_", Simple, 20, false)                              \
    X(UNLOOT_PROVINCE, 92, "_COVEVT_UNLOOT_PROVINCE_", Simple, 20, false)                          \
    X(GAINMONEY, 93, "_COVEVT_GAINMONEY_", Data, 28, false)                                        \
    X(LOSEMONEY, 94, "_COVEVT_LOSEMONEY_", Data, 28, false)                                        \
    X(REQ_GETLOAN, 95, "_COVEVT_REQ_GETLOAN_", Loan, 56, false)                                    \
    X(REQ_CANCELLOAN, 96, "_COVEVT_REQ_CANCELLOAN_", Loan, 56, false)                              \
    X(REQ_PAYLOAN, 97, "_COVEVT_REQ_PAYLOAN_", Loan, 56, false)                                    \
    X(REQ_EXTENDLOAN, 98, "_COVEVT_REQ_EXTENDLOAN_", Loan, 56, false)                              \
    X(EXEC_GETLOAN, 99, "_COVEVT_EXEC_GETLOAN_", Loan, 56, false)                                  \
    X(EXEC_CANCELLOAN, 100, "_COVEVT_EXEC_CANCELLOAN_", Loan, 56, false)                           \
    X(EXEC_PAYLOAN, 101, "_COVEVT_EXEC_PAYLOAN_", Loan, 56, false)                                 \
    X(EXEC_EXTENDLOAN, 102, "_COVEVT_EXEC_EXTENDLOAN_", Loan, 56, false)                           \
    X(ASKEXTENDLOAN, 103, "_COVEVT_ASKEXTENDLOAN_", Loan, 56, false)                               \
    X(OFFERLOAN, 104, "_COVEVT_OFFERLOAN_", Loan, 56, false)                                       \
    X(ACCEPTLOANMSG, 105, "_COVEVT_ACCEPTLOANMSG_", Data, 28, false)                               \
    X(DECLINELOANMSG, 106, "_COVEVT_DECLINELOANMSG_", Data, 28, false)                             \
    X(REQUEST_TRANSFER_INFANTRY, 107, "_COVEVT_REQUEST_TRANSFER_INFANTRY_", Data, 40, false)       \
    X(REQUEST_TRANSFER_ARTILLERY, 108, "_COVEVT_REQUEST_TRANSFER_ARTILLERY_", Data, 40, false)     \
    X(REQUEST_TRANSFER_CAVALRY, 109, "_COVEVT_REQUEST_TRANSFER_CAVALRY_", Data, 40, false)         \
    X(REQUEST_TRANSFER_WARSHIPS, 110, "_COVEVT_REQUEST_TRANSFER_WARSHIPS_", Data, 40, false)       \
    X(REQUEST_TRANSFER_TRANSPORTS, 111, "_COVEVT_REQUEST_TRANSFER_TRANSPORTS_", Data, 40, false)   \
    X(REQUEST_TRANSFER_GALLEYS, 112, "_COVEVT_REQUEST_TRANSFER_GALLEYS_", Data, 40, false)         \
    X(TRANSFER_INFANTRY, 113, "_COVEVT_TRANSFER_INFANTRY_", Data, 40, false)                       \
    X(TRANSFER_ARTILLERY, 114, "_COVEVT_TRANSFER_ARTILLERY_", Data, 40, false)                     \
    X(TRANSFER_CAVALRY, 115, "_COVEVT_TRANSFER_CAVALRY_", Data, 40, false)                         \
    X(TRANSFER_WARSHIPS, 116, "_COVEVT_TRANSFER_WARSHIPS_", Data, 40, false)                       \
    X(TRANSFER_TRANSPORTS, 117, "_COVEVT_TRANSFER_TRANSPORTS_", Data, 40, false)                   \
    X(TRANSFER_GALLEYS, 118, "_COVEVT_TRANSFER_GALLEYS_", Data, 40, false)                         \
    X(TRANSFER_ALL_ARMIES, 119, "_COVEVT_TRANSFER_ALL_ARMIES_", Data, 40, false)                   \
    X(TRANSFER_ALL_LEADERS, 120, "_COVEVT_TRANSFER_ALL_LEADERS_", Data, 40, false)                 \
    X(REQUEST_TRANSFER_OVERLOAD_FIX, 121, "_COVEVT_REQUEST_TRANSFER_OVERLOAD_FIX_", Data, 40,      \
      false)                                                                                       \
    X(TRANSFER_ONE_LEADER, 122, "_COVEVT_TRANSFER_ONE_LEADER_", Data, 44, false)                   \
    X(UNNAMED_123, 123, nullptr, Province, 24, false)                                              \
    X(REQ_BUILD_FACILITY, 124, "_COVEVT_REQ_BUILD_FACILITY_", Data, 44, false)                     \
    X(EXEC_BUILD_FACILITY, 125, "_COVEVT_EXEC_BUILD_FACILITY_", Data, 44, false)                   \
    X(BUILDFACILITY_FAILED, 126, "_COVEVT_BUILDFACILITY_FAILED_", Data, 44, false)                 \
    X(INCREASE_STABILITY, 127, "_COVEVT_INCREASE_STABILITY_", Data, 44, false)                     \
    X(DECREASE_STABILITY, 128, "_COVEVT_DECREASE_STABILITY_", Data, 44, false)                     \
    X(REQ_BOOST_INVESTMENT, 129, "_COVEVT_REQ_BOOST_INVESTMENT_", Data, 32, false)                 \
    X(EXEC_BOOST_INVESTMENT, 130, "_COVEVT_EXEC_BOOST_INVESTMENT_", Data, 32, false)               \
    X(CREATE_ARMY, 131, "_COVEVT_CREATE_ARMY_", Army, 88, false)                                   \
    X(BUILD_ARMY, 132, "_COVEVT_BUILD_ARMY_", Army, 88, false)                                     \
    X(CREATE_ARMY_ON_FLEET, 133, "_COVEVT_CREATE_ARMY_ON_FLEET_", CreateArmyOnFleet, 80, false)    \
    X(BUILD_FLEET, 134, "_COVEVT_BUILD_FLEET_", Fleet, 84, false)                                  \
    X(CREATE_FLEET, 135, "_COVEVT_CREATE_FLEET_", Fleet, 84, false)                                \
    X(PROVCHANGECONTROL, 136, "_COVEVT_PROVCHANGECONTROL_", Province, 24, false)                   \
    X(PROVBATTLEWON, 137, "_COVEVT_PROVBATTLEWON_", ProvinceBattle, 38, false)                     \
    X(PROVBATTLELOST, 138, "_COVEVT_PROVBATTLELOST_", ProvinceBattle, 38, false)                   \
    X(PROVSIEGEWON, 139, "_COVEVT_PROVSIEGEWON_", ProvinceBattle, 38, false)                       \
    X(PROVSIEGELOST, 140, "_COVEVT_PROVSIEGELOST_", ProvinceBattle, 38, false)                     \
    X(DISCOVERPROVINCE, 141, "_COVEVT_DISCOVERPROVINCE_", Province, 24, false)                     \
    X(SEND_STATUS, 142, "_COVEVT_SEND_STATUS_", Data, 36, false)                                   \
    X(UNNAMED_143, 143, nullptr, Data, 24, false)                                                  \
    X(LOSE_TRADELEVEL, 144, "_COVEVT_LOSE_TRADELEVEL_", Data, 52, false)                           \
    X(SEND_COLONIST, 145, "_COVEVT_SEND_COLONIST_", Colonist, 60, false)                           \
    X(COLONISE, 146, "_COVEVT_COLONISE_", Colonist, 60, false)                                     \
    X(COLONIST_ARRIVED, 147, "_COVEVT_COLONIST_ARRIVED_", Colonist, 60, false)                     \
    X(COLONISATION_FAILED, 148, "_COVEVT_COLONISATION_FAILED_", Colonist, 60, false)               \
    X(COLONISATION_BOUNCED, 149, "_COVEVT_COLONISATION_BOUNCED_", Colonist, 60, false)             \
    X(SEND_TRADER, 150, "_COVEVT_SEND_TRADER_", Colonist, 60, false)                               \
    X(TRADER_ARRIVED, 151, "_COVEVT_TRADER_ARRIVED_", Colonist, 60, false)                         \
    X(ESTABLISH_TRADEPOST, 152, "_COVEVT_ESTABLISH_TRADEPOST_", Colonist, 60, false)               \
    X(ESTABLISH_TRADEPOST_FAILED, 153, "_COVEVT_ESTABLISH_TRADEPOST_FAILED_", Colonist, 60, false) \
    X(ESTABLISH_TRADEPOST_BOUNCED, 154, "_COVEVT_ESTABLISH_TRADEPOST_BOUNCED_", Colonist, 60,      \
      false)                                                                                       \
    X(SEND_MERCHANT, 155, "_COVEVT_SEND_MERCHANT_", Merchant, 64, false)                           \
    X(REQ_MERCHANT_SUCCESS, 156, "_COVEVT_REQ_MERCHANT_SUCCESS_", Merchant, 64, false)             \
    X(EXEC_MERCHANT_SUCCESS, 157, "_COVEVT_EXEC_MERCHANT_SUCCESS_", Merchant, 64, false)           \
    X(REQ_START_EXPANDING_FORTRESS, 158, "_COVEVT_REQ_START_EXPANDING_FORTRESS_", Fortress, 36,    \
      false)                                                                                       \
    X(EXEC_START_EXPANDING_FORTRESS, 159, "_COVEVT_EXEC_START_EXPANDING_FORTRESS_", Fortress, 36,  \
      false)                                                                                       \
    X(EXPAND_FORTRESS, 160, "_COVEVT_EXPAND_FORTRESS_", Fortress, 36, false)                       \
    X(GIVECB, 161, "_COVEVT_GIVECB_", Data, 44, false)                                             \
    X(UNNAMED_162, 162, nullptr, Data, 44, false)                                                  \
    X(EXPIRE_CONSTRUCTION, 163, "_COVEVT_EXPIRE_CONSTRUCTION_", Construction, 32, false)           \
    X(CHANGE_MODIFIER, 164, "_COVEVT_CHANGE_MODIFIER_", Data, 28, false)                           \
    X(CREATE_LEADER, 165, "_COVEVT_CREATE_LEADER_", CreateLeader, 140, false)                      \
    X(ACTIVATE_LEADER, 166, "_COVEVT_ACTIVATE_LEADER_", Data, 36, false)                           \
    X(REQUEST_REPLACEMENT_LEADER, 167, "_COVEVT_REQUEST_REPLACEMENT_LEADER_", Data, 40, false)     \
    X(REQUEST_NEW_LEADER, 168, "_COVEVT_REQUEST_NEW_LEADER_", Data, 32, false)                     \
    X(KILL_LEADER, 169, "_COVEVT_KILL_LEADER_", Data, 28, false)                                   \
    X(ARRIVE_LEADER, 170, "_COVEVT_ARRIVE_LEADER_", Data, 28, false)                               \
    X(CREATE_MONARCH, 171, "_COVEVT_CREATE_MONARCH_", CreateMonarch, 92, false)                    \
    X(SET_MONARCH_VALUES, 172, "_COVEVT_SET_MONARCH_VALUES_", Data, 32, false)                     \
    X(REQUEST_REPLACEMENT_MONARCH, 173, "_COVEVT_REQUEST_REPLACEMENT_MONARCH_", Data, 32, false)   \
    X(ACTIVATE_MONARCH, 174, "_COVEVT_ACTIVATE_MONARCH_", Data, 32, false)                         \
    X(REQUEST_INVESTMENT_CHANGE, 175, "_COVEVT_REQUEST_INVESTMENT_CHANGE_", Data, 48, false)       \
    X(INVESTMENT_CHANGE, 176, "_COVEVT_INVESTMENT_CHANGE_", Data, 48, false)                       \
    X(UNNAMED_177, 177, nullptr, Simple, 20, false)                                                \
    X(UNNAMED_178, 178, nullptr, Simple, 20, false)                                                \
    X(UNNAMED_179, 179, nullptr, Simple, 20, false)                                                \
    X(UNNAMED_180, 180, nullptr, LocalOnly, 0, true)                                               \
    X(INVITE_TO_WARPACT, 181, "_COVEVT_INVITE_TO_WARPACT_", WarPact, 36, false)                    \
    X(MERGE_WAR, 182, "_COVEVT_MERGE_WAR_", MergeWar, 40, false)                                   \
    X(DECLINE_WARPACT, 183, "_COVEVT_DECLINE_WARPACT_", Simple, 20, false)                         \
    X(UNNAMED_184, 184, nullptr, LocalOnly, 0, true)                                               \
    X(EXECUTE_EVENT, 185, "_COVEVT_EXECUTE_EVENT_", Data, 40, false)                               \
    X(MISSION_ACTIVATED, 186, "_COVEVT_MISSION_ACTIVATED_", Data, 36, false)                       \
    X(MISSION_CHECK, 187, "_COVEVT_MISSION_CHECK_", Simple, 20, false)                             \
    X(REQUEST_NEW_MISSION, 188, "_COVEVT_REQUEST_NEW_MISSION_", Data, 24, false)                   \
    X(MISSION_COMPLETED, 189, "_COVEVT_MISSION_COMPLETED_", Data, 36, false)                       \
    X(MISSION_FAILED, 190, "_COVEVT_MISSION_FAILED_", Data, 36, false)                             \
    X(UNNAMED_191, 191, nullptr, Data, 56, false)                                                  \
    X(CREATE_COUNTRY, 192, "_COVEVT_CREATE_COUNTRY_", CreateCountry, 38, false)                    \
    X(INFLATION, 193, "_COVEVT_INFLATION_", Data, 24, false)                                       \
    X(REQUEST_CONQUISTADOR_TEST, 194, "_COVEVT_REQUEST_CONQUISTADOR_TEST_", Province, 24, false)   \
    X(REQUEST_NATIVE_ATTACK, 195, "_COVEVT_REQUEST_NATIVE_ATTACK_", Province, 24, false)           \
    X(REQUEST_PERHAPS_NATIVE_ATTACK, 196, "_COVEVT_REQUEST_PERHAPS_NATIVE_ATTACK_", Province, 24,  \
      false)                                                                                       \
    X(SET_NATIVES, 197, "_COVVT_SET_NATIVES_", Data, 24, false)                                    \
    X(PACIFY_NATIVE, 198, "_COVEVT_PACIFY_NATIVE_", Data, 28, false)                               \
    X(SET_SEND_DATE, 199, "_COVEVT_SET_SEND_DATE_", SendDate, 32, false)                           \
    X(SWITCH_ALLEGIANCE, 200, "_COVEVT_SWITCH_ALLEGIANCE_", Data, 28, false)                       \
    X(ENABLE_GODMODE, 201, "_COVEVT_ENABLE_GODMODE_", Simple, 20, false)                           \
    X(DISABLE_GODMODE, 202, "_COVEVT_DISABLE_GODMODE_", Simple, 20, false)                         \
    X(AI_TICK, 203, "_COVEVT_AI_TICK_", LocalOnly, 0, true)                                        \
    X(KILL, 204, "_COVEVT_KILL_", Data, 28, false)                                                 \
    X(PAUSE, 205, "_COVEVT_PAUSE_", Pause, 24, false)                                              \
    X(UNPAUSE, 206, "_COVEVT_UNPAUSE_", Pause, 24, false)                                          \
    X(PAUSEADD, 207, "_COVEVT_PAUSEADD_", Pause, 24, false)                                        \
    X(ECOTYPEGOODS, 208, "_COVEVT_ECOTYPEGOODS_", Data, 24, false)                                 \
    X(UNNAMED_209, 209, nullptr, Data, 36, false)                                                  \
    X(UNNAMED_210, 210, nullptr, Data, 84, false)                                                  \
    X(TICK_RESOURCE, 211, "_COVEVT_TICK_RESOURCE_", Data, 24, false)                               \
    X(REQUEST_SET_MAINTENANCE, 212, "_COVEVT_REQUEST_SET_MAINTENANCE_", Data, 32, false)           \
    X(SET_MAINTENANCE, 213, "_COVEVT_SET_MAINTENANCE_", Data, 32, false)                           \
    X(CREATE_ALLIANCE, 214, "_COVEVT_CREATE_ALLIANCE_", CreateAlliance, 52, false)                 \
    X(ALLIANCE_ADD_OFFER, 215, "_COVEVT_ALLIANCE_ADD_OFFER_", Alliance, 36, false)                 \
    X(ALLIANCE_SUB_OFFER, 216, "_COVEVT_ALLIANCE_SUB_OFFER_", Alliance, 36, false)                 \
    X(UNNAMED_217, 217, nullptr, Data, 36, false)                                                  \
    X(UNNAMED_218, 218, nullptr, Data, 84, false)                                                  \
    X(WE_DECLARE_WAR, 219, "_COVEVT_WE_DECLARE_WAR_", War, 52, false)                              \
    X(THEY_DECLARE_WAR, 220, "_COVEVT_THEY_DECLARE_WAR_", War, 52, false)                          \
    X(REQUEST_HONOR_ALLIANCE, 221, "_COVEVT_REQUEST_HONOR_ALLIANCE_", Data, 56, false)             \
    X(JOIN_WAR, 222, "_COVEVT_JOIN_WAR_", War, 52, false)                                          \
    X(OFFER_PEACE, 223, "_COVEVT_OFFER_PEACE_", Peace, 36, false)                                  \
    X(REQ_OFFER_ANNEXATION, 224, "_COVEVT_REQ_OFFER_ANNEXATION_", Annexation, 28, false)           \
    X(REQ_SET_ANNEXATION, 225, "_COVEVT_REQ_SET_ANNEXATION_", Annexation, 28, false)               \
    X(REQ_DECLINE_ANNEXATION, 226, "_COVEVT_REQ_DECLINE_ANNEXATION_", Annexation, 28, false)       \
    X(REQ_DESTROY_ALLIANCE, 227, "_COVEVT_REQ_DESTROY_ALLIANCE_", Alliance, 36, false)             \
    X(REQ_JOIN_ALLIANCE, 228, "_COVEVT_REQ_JOIN_ALLIANCE_", Alliance, 36, false)                   \
    X(REQ_LEAVE_ALLIANCE, 229, "_COVEVT_REQ_LEAVE_ALLIANCE_", Alliance, 36, false)                 \
    X(REQ_INVITE_ALLIANCE, 230, "_COVEVT_REQ_INVITE_ALLIANCE_", Alliance, 36, false)               \
    X(REQ_ASKJOIN_ALLIANCE, 231, "_COVEVT_REQ_ASKJOIN_ALLIANCE_", Alliance, 36, false)             \
    X(REQ_BANNED_FROM_ALLIANCE, 232, "_COVEVT_REQ_BANNED_FROM_ALLIANCE_", Alliance, 36, false)     \
    X(REQ_DECLINE_ALLIANCE_OFFER, 233, "_COVEVT_REQ_DECLINE_ALLIANCE_OFFER_", Alliance, 36, false) \
    X(REQ_DECLINE_ALLIANCE_JOIN, 234, "_COVEVT_REQ_DECLINE_ALLIANCE_JOIN_", Alliance, 36, false)   \
    X(REQ_ACCEPT_PEACE, 235, "_COVEVT_REQ_ACCEPT_PEACE_", Peace, 36, false)                        \
    X(REQ_DECLINE_PEACE, 236, "_COVEVT_REQ_DECLINE_PEACE_", Peace, 36, false)                      \
    X(REQ_CREATE_PEACE_OFFER, 237, "_COVEVT_REQ_CREATE_PEACE_OFFER_", Peace, 36, false)            \
    X(REQ_SETUP_WAR, 238, "_COVEVT_REQ_SETUP_WAR_", War, 52, false)                                \
    X(REQ_DISHONOR_ALLIANCE, 239, "_COVEVT_REQ_DISHONOR_ALLIANCE_", Data, 56, false)               \
    X(REQ_HONOR_ALLIANCE, 240, "_COVEVT_REQ_HONOR_ALLIANCE_", Data, 56, false)                     \
    X(UNNAMED_241, 241, nullptr, LocalOnly, 0, true)                                               \
    X(REQ_REFUSETRADE, 242, "_COVEVT_REQ_REFUSETRADE_", Data, 28, false)                           \
    X(REQ_UNREFUSETRADE, 243, "_COVEVT_REQ_UNREFUSETRADE_", Data, 28, false)                       \
    X(EXEC_OFFER_ANNEXATION, 244, "_COVEVT_EXEC_OFFER_ANNEXATION_", Annexation, 28, false)         \
    X(EXEC_SET_ANNEXATION, 245, "_COVEVT_EXEC_SET_ANNEXATION_", Annexation, 28, false)             \
    X(EXEC_DECLINE_ANNEXATION, 246, "_COVEVT_EXEC_DECLINE_ANNEXATION_", Annexation, 28, false)     \
    X(EXEC_DESTROY_ALLIANCE, 247, "_COVEVT_EXEC_DESTROY_ALLIANCE_", Alliance, 36, false)           \
    X(EXEC_JOIN_ALLIANCE, 248, "_COVEVT_EXEC_JOIN_ALLIANCE_", Alliance, 36, false)                 \
    X(EXEC_LEAVE_ALLIANCE, 249, "_COVEVT_EXEC_LEAVE_ALLIANCE_", Alliance, 36, false)               \
    X(EXEC_INVITE_ALLIANCE, 250, "_COVEVT_EXEC_INVITE_ALLIANCE_", Alliance, 36, false)             \
    X(EXEC_ASKJOIN_ALLIANCE, 251, "_COVEVT_EXEC_ASKJOIN_ALLIANCE_", Alliance, 36, false)           \
    X(EXEC_BANNED_FROM_ALLIANCE, 252, "_COVEVT_EXEC_BANNED_FROM_ALLIANCE_", Alliance, 36, false)   \
    X(EXEC_DECLINE_ALLIANCE_OFFER, 253, "_COVEVT_EXEC_DECLINE_ALLIANCE_OFFER_", Alliance, 36,      \
      false)                                                                                       \
    X(EXEC_DECLINE_ALLIANCE_JOIN, 254, "_COVEVT_EXEC_DECLINE_ALLIANCE_JOIN_", Alliance, 36, false) \
    X(EXEC_ACCEPT_PEACE, 255, "_COVEVT_EXEC_ACCEPT_PEACE_", Peace, 36, false)                      \
    X(EXEC_DECLINE_PEACE, 256, "_COVEVT_EXEC_DECLINE_PEACE_", Peace, 36, false)                    \
    X(EXEC_CREATE_PEACE_OFFER, 257, "_COVEVT_EXEC_CREATE_PEACE_OFFER_", Peace, 36, false)          \
    X(EXEC_SETUP_WAR, 258, "_COVEVT_EXEC_SETUP_WAR_", War, 52, false)                              \
    X(EXEC_DISHONOR_ALLIANCE, 259, "_COVEVT_EXEC_DISHONOR_ALLIANCE_", Data, 56, false)             \
    X(EXEC_HONOR_ALLIANCE, 260, "_COVEVT_EXEC_HONOR_ALLIANCE_", Data, 56, false)                   \
    X(UNNAMED_261, 261, nullptr, LocalOnly, 0, true)                                               \
    X(EXEC_REFUSETRADE, 262, "_COVEVT_EXEC_REFUSETRADE_", Data, 28, false)                         \
    X(EXEC_UNREFUSETRADE, 263, "_COVEVT_EXEC_UNREFUSETRADE_", Data, 28, false)                     \
    X(REQ_CHANGE_TOLERANCE, 264, "_COVEVT_REQ_CHANGE_TOLERANCE_", Data, 32, false)                 \
    X(EXEC_CHANGE_TOLERANCE, 265, "_COVEVT_EXEC_CHANGE_TOLERANCE_", Data, 32, false)               \
    X(REQ_CHANGE_RELIGION, 266, "_COVEVT_REQ_CHANGE_RELIGION_", Data, 28, false)                   \
    X(EXEC_CHANGE_RELIGION, 267, "_COVEVT_EXEC_CHANGE_RELIGION_", Data, 28, false)                 \
    X(CHANGE_RELIGION_PROVINCE, 268, "_COVEVT_CHANGE_RELIGION_PROVINCE_", Data, 24, false)         \
    X(ASK_SHARE_EXPLORATION, 269, "_COVEVT_ASK_SHARE_EXPLORATION_", Data, 28, false)               \
    X(ACCEPT_SHARE_EXPLORATION, 270, "_COVEVT_ACCEPT_SHARE_EXPLORATION_", Data, 28, false)         \
    X(DECLINE_SHARE_EXPLORATION, 271, "_COVEVT_DECLINE_SHARE_EXPLORATION_", Data, 28, false)       \
    X(STEAL_EXPLORATION, 272, "_COVEVT_STEAL_EXPLORATION_", Data, 28, false)                       \
    X(DISCOVERCOUNTRY, 273, "_COVEVT_DISCOVERCOUNTRY_", Data, 28, false)                           \
    X(SENDGIFT, 274, "_COVEVT_SENDGIFT_", Data, 28, false)                                         \
    X(REQ_DESTROY_TPOST, 275, "_COVEVT_REQ_DESTROY_TPOST_", Province, 24, false)                   \
    X(EXEC_DESTROY_TPOST, 276, "_COVEVT_EXEC_DESTROY_TPOST_", Province, 24, false)                 \
    X(COUNTRY_BROKEN, 277, "_COVEVT_COUNTRY_BROKEN_", Simple, 20, false)                           \
    X(SETEVENTFLAG, 278, "_COVEVT_SETEVENTFLAG_", Data, 28, false)                                 \
    X(NEW_EMPEROR, 279, "_COVEVT_NEW_EMPEROR_", Simple, 20, false)                                 \
    X(REQUEST_CANCEL_CONSTRUCTION, 280, "_COVEVT_REQUEST_CANCEL_CONSTRUCTION_", Data, 28, false)   \
    X(CANCEL_CONSTRUCTION, 281, "_COVEVT_CANCEL_CONSTRUCTION_", Data, 28, false)                   \
    X(CHANGE_INCOME_PROVINCE, 282, "_COVEVT_CHANGE_INCOME_PROVINCE_", Data, 24, false)             \
    X(REQ_START_BUILD_IMPROVEMENT, 283, "_COVEVT_REQ_START_BUILD_IMPROVEMENT_", Improvement, 40,   \
      false)                                                                                       \
    X(EXEC_START_BUILD_IMPROVEMENT, 284, "_COVEVT_EXEC_START_BUILD_IMPROVEMENT_", Improvement, 40, \
      false)                                                                                       \
    X(FINISH_BUILD_IMPROVEMENT, 285, "_COVEVT_FINISH_BUILD_IMPROVEMENT_", Improvement, 40, false)  \
    X(CREATE_PRODUCTION_FACILITY, 286, "_COVEVT_CREATE_PRODUCTION_FACILITY_", Data, 24, false)     \
    X(UNNAMED_287, 287, nullptr, LocalOnly, 0, true)                                               \
    X(CHANGE_TE, 288, "_COVEVT_CHANGE_TE_", Data, 24, false)                                       \
    X(CHANGE_PE, 289, "_COVEVT_CHANGE_PE_", Data, 24, false)                                       \
    X(TRADE_RESTRICTIONS, 290, "_COVEVT_TRADE_RESTRICTIONS_", Simple, 20, false)                   \
    X(CREATE_COT, 291, "_COVEVT_CREATE_COT_", Data, 24, false)                                     \
    X(CREATE_BANK, 292, "_COVEVT_CREATE_BANK_", Simple, 20, false)                                 \
    X(CREATE_STOCK, 293, "_COVEVT_CREATE_STOCK_", Simple, 20, false)                               \
    X(GOLD_LOST, 294, "_COVEVT_GOLD_LOST_", Simple, 20, false)                                     \
    X(ADD_OWNERAREA, 295, "_COVEVT_ADD_OWNERAREA_", Simple, 20, false)                             \
    X(REQ_RELATION, 296, "_COVEVT_REQ_RELATION_", Data, 40, false)                                 \
    X(EXEC_RELATION, 297, "_COVEVT_EXEC_RELATION_", Data, 40, false)                               \
    X(SET_MINISTER, 298, "_COVEVT_SET_MINISTER_", Data, 108, false)                                \
    X(REMOVE_MINISTER, 299, "_COVEVT_REMOVE_MINISTER_", Simple, 20, false)                         \
    X(START_EVENT, 300, "_COVEVT_START_EVENT_", Data, 116, false)                                  \
    X(START_GAME_TIMER, 301, "_COVEVT_START_GAME_TIMER_", Simple, 20, false)                       \
    X(PLAYER_START, 302, "_COVEVT_PLAYER_START_", Data, 24, false)                                 \
    X(UNNAMED_303, 303, nullptr, Data, 28, false)                                                  \
    X(WHITE_PEACE, 304, "_COVEVT_WHITE_PEACE_", Data, 28, false)                                   \
    X(UNNAMED_305, 305, nullptr, LocalOnly, 0, true)                                               \
    X(UNNAMED_306, 306, nullptr, LocalOnly, 0, true)                                               \
    X(UNNAMED_307, 307, nullptr, TimerDate, 24, false)                                             \
    X(TIMER_DATE, 308, "_COVEVT_TIMER_DATE_", TimerDate, 24, false)                                \
    X(PING, 309, "_COVEVT_PING_", TimerDate, 24, false)                                            \
    X(UNNAMED_310, 310, nullptr, TimerDate, 24, false)                                             \
    X(UNNAMED_311, 311, nullptr, Data, 28, false)                                                  \
    X(UNNAMED_312, 312, nullptr, Data, 16412, false)                                               \
    X(UNNAMED_313, 313, nullptr, TimerDate, 24, false)                                             \
    X(UNNAMED_314, 314, nullptr, Data, 28, false)                                                  \
    X(CHECK_ECO_DATA, 315, "_COVEVT_CHECK_ECO_DATA_", TimerDate, 24, false)                        \
    X(UNITSIZELOSSES, 316, "_COVEVT_UNITSIZELOSSES_", Data, 44, false)

enum EventType : uint32_t {
#define ORV_EVENT_ENUM(name, id, text, layout, size, localOnly) EVT_##name = id,
    ORV_EVENT_TYPES(ORV_EVENT_ENUM)
#undef ORV_EVENT_ENUM
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
// message, which keeps the payload size the source answers. Each declares
// its payload fields after the head (kFields lists them) and its size.

// A fixed-size payload whose fields after the head belong to its builder and
// its receiver; the size is the table's size of the type. The layouts of
// these messages follow the classes below.
class COVDataEvent : public COVEvent {
public:
    COVDataEvent(uint32_t type, const ObjectId& receiver);
    explicit COVDataEvent(const COVEvent& m) : COVEvent(m) {}
};

class COVProvinceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadFieldInfo kFields[] = {kProvince};

    COVProvinceEvent(uint32_t type, const ObjectId& receiver, uint32_t province);
    explicit COVProvinceEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetProvince() const { return Payload().Get(kProvince); }
};

class COVPauseEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    static constexpr PayloadField<uint32_t> kValue{"value", 20};
    static constexpr PayloadFieldInfo kFields[] = {kValue};

    COVPauseEvent(uint32_t type, const ObjectId& receiver, uint32_t value);
    explicit COVPauseEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetValue() const { return Payload().Get(kValue); }
};

class COVTimerDateEvent : public COVEvent {
public:
    static constexpr size_t kSize = 24;
    // The days to advance for EVT_TIMER_DATE; the sender's slot for EVT_PING.
    static constexpr PayloadField<uint32_t> kCount{"count", 20};
    static constexpr PayloadFieldInfo kFields[] = {kCount};

    COVTimerDateEvent(uint32_t type, const ObjectId& receiver, uint32_t count);
    explicit COVTimerDateEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetCount() const { return Payload().Get(kCount); }
};

class COVTimerEvent : public COVEvent {
public:
    static constexpr size_t kSize = 28;
    // The new current date of the month and year ticks.
    static constexpr PayloadField<CDate> kDate{"date", 20};
    static constexpr PayloadFieldInfo kFields[] = {kDate};

    COVTimerEvent(uint32_t type, const ObjectId& receiver, const CDate& date);
    explicit COVTimerEvent(const COVEvent& m) : COVEvent(m) {}
    CDate GetDate() const { return Payload().Get(kDate); }
};

// The annexation offer and its answers; +20 names the offering country in
// all three. The extra id is that country.
class COVAnnexationEvent : public COVEvent {
public:
    static constexpr size_t kSize = 28;
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<uint32_t> kOther{"other", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kOther};

    COVAnnexationEvent(uint32_t type, const ObjectId& receiver, uint32_t country, uint32_t other);
    explicit COVAnnexationEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// The expiry of a construction order: the order's id and its province.
class COVConstructionEvent : public COVEvent {
public:
    static constexpr size_t kSize = 32;
    static constexpr PayloadField<ObjectId> kOrder{"order", 20};
    static constexpr PayloadField<uint32_t> kProvince{"province", 28};
    static constexpr PayloadFieldInfo kFields[] = {kOrder, kProvince};

    COVConstructionEvent(uint32_t type, const ObjectId& receiver, const ObjectId& order,
                         uint32_t province);
    explicit COVConstructionEvent(const COVEvent& m) : COVEvent(m) {}
};

class COVSendDateEvent : public COVEvent {
public:
    static constexpr size_t kSize = 32;
    static constexpr PayloadField<uint32_t> kValue{"value", 20};
    static constexpr PayloadField<CDate> kDate{"date", 24};
    static constexpr PayloadFieldInfo kFields[] = {kValue, kDate};

    COVSendDateEvent(uint32_t type, const ObjectId& receiver, uint32_t value, const CDate& date);
    explicit COVSendDateEvent(const COVEvent& m) : COVEvent(m) {}
};

// The fortress works: the works' id as two words, type then number.
class COVFortressEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadField<uint32_t> kWorksType{"works type", 24};
    static constexpr PayloadField<uint32_t> kWorksNumber{"works number", 28};
    static constexpr PayloadField<uint32_t> kCountry{"country", 32};
    static constexpr PayloadFieldInfo kFields[] = {kProvince, kWorksType, kWorksNumber, kCountry};

    COVFortressEvent(uint32_t type, const ObjectId& receiver, uint32_t province, uint32_t worksType,
                     uint32_t worksNumber, uint32_t country);
    explicit COVFortressEvent(const COVEvent& m) : COVEvent(m) {}
};

// The extra id is the inviting country.
class COVWarPactEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    static constexpr PayloadField<uint32_t> kFirst{"first", 24};
    static constexpr PayloadField<uint32_t> kSecond{"second", 28};
    static constexpr PayloadField<uint32_t> kCountry{"country", 32};
    static constexpr PayloadFieldInfo kFields[] = {kFirst, kSecond, kCountry};

    COVWarPactEvent(uint32_t type, const ObjectId& receiver);
    explicit COVWarPactEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// The alliance requests; the extra id is the country at +32 (the requests
// carry the sender's number at +20 and there).
class COVAllianceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<uint32_t> kFirst{"first", 24};
    static constexpr PayloadField<uint32_t> kSecond{"second", 28};
    static constexpr PayloadField<uint32_t> kExtraCountry{"extra country", 32};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kFirst, kSecond, kExtraCountry};

    COVAllianceEvent(uint32_t type, const ObjectId& receiver);
    explicit COVAllianceEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// A peace offer's answer; the extra id is the answering country.
class COVPeaceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 36;
    static constexpr PayloadField<uint32_t> kOther{"other", 20};
    static constexpr PayloadField<ObjectId> kOffer{"offer", 24};
    static constexpr PayloadField<uint32_t> kCountry{"country", 32};
    static constexpr PayloadFieldInfo kFields[] = {kOther, kOffer, kCountry};

    COVPeaceEvent(uint32_t type, const ObjectId& receiver, uint32_t other, const ObjectId& offer,
                  uint32_t country);
    explicit COVPeaceEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

class COVCombatEvent : public COVEvent {
public:
    static constexpr size_t kSize = 40;
    static constexpr PayloadField<uint32_t> kCombatType{"combat type", 20};
    static constexpr PayloadField<ObjectId> kCombat{"combat", 24};
    static constexpr PayloadField<CDate> kDate{"date", 32};
    static constexpr PayloadFieldInfo kFields[] = {kCombatType, kCombat, kDate};

    COVCombatEvent(uint32_t type, const ObjectId& receiver, uint32_t combatType,
                   const ObjectId& combat, const CDate& date);
    explicit COVCombatEvent(const COVEvent& m) : COVEvent(m) {}
};

class COVMergeWarEvent : public COVEvent {
public:
    static constexpr size_t kSize = 40;
    static constexpr PayloadArray<uint32_t, 5> kValues{"values", 20};
    static constexpr PayloadFieldInfo kFields[] = {kValues};

    COVMergeWarEvent(uint32_t type, const ObjectId& receiver,
                     const std::array<uint32_t, 5>& values);
    explicit COVMergeWarEvent(const COVEvent& m) : COVEvent(m) {}
};

// The new improvement's id as two words, type then number.
class COVImprovementEvent : public COVEvent {
public:
    static constexpr size_t kSize = 40;
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadField<uint32_t> kKind{"kind", 24};
    static constexpr PayloadField<uint32_t> kImprovementType{"improvement type", 28};
    static constexpr PayloadField<uint32_t> kImprovementNumber{"improvement number", 32};
    static constexpr PayloadField<uint32_t> kCountry{"country", 36};
    static constexpr PayloadFieldInfo kFields[] = {kProvince, kKind, kImprovementType,
                                                   kImprovementNumber, kCountry};

    // The values in field order.
    COVImprovementEvent(uint32_t type, const ObjectId& receiver,
                        const std::array<uint32_t, 5>& values);
    explicit COVImprovementEvent(const COVEvent& m) : COVEvent(m) {}
};

// The new alliance's id as two words, type then number.
class COVCreateAllianceEvent : public COVEvent {
public:
    static constexpr size_t kSize = 52;
    static constexpr PayloadField<uint32_t> kAllianceType{"alliance type", 24};
    static constexpr PayloadField<uint32_t> kAllianceNumber{"alliance number", 28};
    static constexpr PayloadField<uint32_t> kCountry{"country", 32};
    static constexpr PayloadField<CDate> kDate{"date", 40};
    static constexpr PayloadField<uint32_t> kKind{"kind", 48};
    static constexpr PayloadFieldInfo kFields[] = {kAllianceType, kAllianceNumber, kCountry, kDate,
                                                   kKind};

    COVCreateAllianceEvent(uint32_t type, const ObjectId& receiver, uint32_t allianceType,
                           uint32_t allianceNumber, uint32_t country, const CDate& date,
                           uint32_t kind);
    explicit COVCreateAllianceEvent(const COVEvent& m) : COVEvent(m) {}
};

// Three alliance ids as word pairs (type, number), the country (the extra
// id) and the other country.
class COVWarEvent : public COVEvent {
public:
    static constexpr size_t kSize = 52;
    static constexpr PayloadArray<uint32_t, 6> kAlliances{"alliances", 20};
    static constexpr PayloadField<uint32_t> kCountry{"country", 44};
    static constexpr PayloadField<uint32_t> kOther{"other", 48};
    static constexpr PayloadFieldInfo kFields[] = {kAlliances, kCountry, kOther};

    // The values in field order: the six alliance words, the country, the
    // other country.
    COVWarEvent(uint32_t type, const ObjectId& receiver, const std::array<uint32_t, 8>& values);
    explicit COVWarEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
};

// A loan between a lender (the null id for the bank) and a borrower; the
// loan's own id where the message names one (the due-date reminder), else
// zero.
class CLoanEvent : public COVEvent {
public:
    static constexpr size_t kSize = 56;
    static constexpr PayloadField<ObjectId> kLoan{"loan", 20};
    static constexpr PayloadField<ObjectId> kLender{"lender", 28};
    static constexpr PayloadField<uint32_t> kAmount{"amount", 36};
    static constexpr PayloadField<uint32_t> kInterest{"interest", 40};
    static constexpr PayloadField<CDate> kDate{"date", 44};
    static constexpr PayloadField<uint32_t> kBorrower{"borrower", 52};
    static constexpr PayloadFieldInfo kFields[] = {kLoan,     kLender, kAmount,
                                                   kInterest, kDate,   kBorrower};

    CLoanEvent(uint32_t type, const ObjectId& receiver, const ObjectId& lender, uint32_t amount,
               uint32_t interest, const CDate& date, uint32_t borrower);
    explicit CLoanEvent(const COVEvent& m) : COVEvent(m) {}
};

// The colonist's and the trader's journey; the arrival date is set by the
// sender.
class COVColonistEvent : public COVEvent {
public:
    static constexpr size_t kSize = 60;
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadField<CDate> kArrival{"arrival", 28};
    static constexpr PayloadField<uint32_t> kCountry{"country", 44};
    static constexpr PayloadField<uint32_t> kSuccess{"success", 52};
    static constexpr PayloadField<uint32_t> kValue{"value", 56};
    static constexpr PayloadFieldInfo kFields[] = {kProvince, kArrival, kCountry, kSuccess, kValue};

    COVColonistEvent(uint32_t type, const ObjectId& receiver, uint32_t country, uint32_t province,
                     uint32_t success, uint32_t value);
    explicit COVColonistEvent(const COVEvent& m) : COVEvent(m) {}
};

// The facility request as its sender builds it (end date and facility id
// set by the sender). Its type's class is COVDataEvent of 44 bytes: the
// receiving side keeps all 60 bytes that arrive, but a payload from a peer
// is only sure to hold the first 44.
class COVFacilityEvent : public COVEvent {
public:
    static constexpr size_t kSize = 60;
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadField<CDate> kEndDate{"end date", 28};
    static constexpr PayloadField<ObjectId> kFacility{"facility", 36};
    static constexpr PayloadField<uint32_t> kKind{"kind", 48};
    static constexpr PayloadField<uint32_t> kCost{"cost", 52};
    static constexpr PayloadField<uint32_t> kCountry{"country", 56};
    static constexpr PayloadFieldInfo kFields[] = {kProvince, kEndDate, kFacility,
                                                   kKind,     kCost,    kCountry};

    COVFacilityEvent(uint32_t type, const ObjectId& receiver, uint32_t province, uint32_t kind,
                     uint32_t cost, uint32_t country);
    explicit COVFacilityEvent(const COVEvent& m) : COVEvent(m) {}
};

class COVMerchantEvent : public COVEvent {
public:
    static constexpr size_t kSize = 64;
    static constexpr PayloadField<uint32_t> kCentre{"centre", 20};
    static constexpr PayloadField<uint32_t> kCost{"cost", 24};
    static constexpr PayloadField<CDate> kArrival{"arrival", 28};
    static constexpr PayloadField<ObjectId> kCountry{"country", 36};
    static constexpr PayloadField<uint32_t> kValue{"value", 44};
    static constexpr PayloadField<ObjectId> kProvince{"province", 52};
    static constexpr PayloadField<uint8_t> kSuccess{"success", 60};
    static constexpr PayloadFieldInfo kFields[] = {kCentre, kCost,     kArrival, kCountry,
                                                   kValue,  kProvince, kSuccess};

    COVMerchantEvent(uint32_t type, const ObjectId& receiver);
    explicit COVMerchantEvent(const COVEvent& m) : COVEvent(m) {}
};

// +20 and +28 stay zero.
class COVCreateArmyOnFleetEvent : public COVEvent {
public:
    static constexpr size_t kSize = 80;
    static constexpr PayloadArray<uint32_t, 9> kValues{"values", 44};
    static constexpr PayloadFieldInfo kFields[] = {kValues};

    COVCreateArmyOnFleetEvent(uint32_t type, const ObjectId& receiver,
                              const std::array<uint32_t, 9>& values);
    explicit COVCreateArmyOnFleetEvent(const COVEvent& m) : COVEvent(m) {}
};

// The head of a new army or fleet (COVArmyEvent, COVFleetEvent): where and
// when it was ordered, its id, the date it is ready and its country.
struct NewUnitHead {
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadField<CDate> kDate{"date", 28};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 36};
    static constexpr PayloadField<CDate> kReady{"ready", 44};
    static constexpr PayloadField<ObjectId> kCountry{"country", 52};
};

// The leader stays null.
class COVFleetEvent : public COVEvent {
public:
    static constexpr size_t kSize = 84;
    static constexpr PayloadField<uint32_t> kWarships{"warships", 60};
    static constexpr PayloadField<uint32_t> kGalleys{"galleys", 64};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 68};
    static constexpr PayloadField<uint32_t> kTransports{"transports", 76};
    static constexpr PayloadFieldInfo kFields[] = {NewUnitHead::kProvince,
                                                   NewUnitHead::kDate,
                                                   NewUnitHead::kUnit,
                                                   NewUnitHead::kReady,
                                                   NewUnitHead::kCountry,
                                                   kWarships,
                                                   kGalleys,
                                                   kLeader,
                                                   kTransports};

    COVFleetEvent(uint32_t type, const ObjectId& receiver);
    explicit COVFleetEvent(const COVEvent& m) : COVEvent(m) {}
};

// The leader stays null.
class COVArmyEvent : public COVEvent {
public:
    static constexpr size_t kSize = 88;
    static constexpr PayloadField<uint32_t> kInfantry{"infantry", 60};
    static constexpr PayloadField<uint32_t> kCavalry{"cavalry", 64};
    static constexpr PayloadField<uint32_t> kArtillery{"artillery", 68};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 80};
    static constexpr PayloadFieldInfo kFields[] = {NewUnitHead::kProvince,
                                                   NewUnitHead::kDate,
                                                   NewUnitHead::kUnit,
                                                   NewUnitHead::kReady,
                                                   NewUnitHead::kCountry,
                                                   kInfantry,
                                                   kCavalry,
                                                   kArtillery,
                                                   kLeader};

    COVArmyEvent(uint32_t type, const ObjectId& receiver);
    explicit COVArmyEvent(const COVEvent& m) : COVEvent(m) {}
};

// The new monarch; its leader part is a leader record of its own.
class COVCreateMonarchEvent : public COVEvent {
public:
    static constexpr size_t kSize = 92;
    static constexpr PayloadField<uint8_t> kRank{"rank", 20};
    static constexpr PayloadField<uint8_t> kManoeuvre{"manoeuvre", 21};
    static constexpr PayloadField<uint8_t> kFire{"fire", 23};
    static constexpr PayloadField<uint8_t> kShock{"shock", 24};
    static constexpr PayloadField<uint8_t> kSiege{"siege", 25};
    static constexpr PayloadField<uint8_t> kSpecial{"special", 26};
    static constexpr PayloadField<uint32_t> kCategory{"category", 28};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 32};
    static constexpr PayloadText kName{"name", 40, 32};
    static constexpr PayloadField<CDate> kEndDate{"end date", 72};
    static constexpr PayloadField<CDate> kStartDate{"start date", 80};
    static constexpr PayloadField<uint8_t> kMil{"MIL", 88};
    static constexpr PayloadField<uint8_t> kDip{"DIP", 89};
    static constexpr PayloadField<uint8_t> kAdm{"ADM", 90};
    static constexpr PayloadFieldInfo kFields[] = {
        kRank,   kManoeuvre, kFire,    kShock,     kSiege, kSpecial, kCategory,
        kLeader, kName,      kEndDate, kStartDate, kMil,   kDip,     kAdm};

    COVCreateMonarchEvent(uint32_t type, const ObjectId& receiver);
    explicit COVCreateMonarchEvent(const COVEvent& m) : COVEvent(m) {}
};

// The peace offer as its sender builds it: COVPeaceEvent's fields, then the
// sixteen terms. Its type's class is COVPeaceEvent: the receiving side
// rebuilds it in that class and keeps all 100 bytes that arrive, but a
// payload from a peer is only sure to hold the first 36.
class COVPeaceOfferEvent : public COVEvent {
public:
    static constexpr size_t kSize = 100;
    static constexpr PayloadArray<uint32_t, 16> kTerms{"terms", 36};
    static constexpr PayloadFieldInfo kFields[] = {COVPeaceEvent::kOther, COVPeaceEvent::kOffer,
                                                   COVPeaceEvent::kCountry, kTerms};

    COVPeaceOfferEvent(uint32_t type, const ObjectId& receiver);
    explicit COVPeaceOfferEvent(const COVEvent& m) : COVEvent(m) {}
};

// --- the peace offer's terms ---
// What each of COVPeaceOfferEvent's sixteen terms holds: the war's id (type,
// number), the receiving country, the demanding flag (0: the offering
// country gives), the province count (at most 3), the colonies, three
// province ids, their three new owners, the cash (the bits of an f32), the
// war score behind the offer, the separate-from, separate-to, is-better and
// annexation flags (one byte each, lowest first) and the conversion flag.
// The offering country is COVPeaceEvent's country.
struct PeaceOfferTerms {
    enum : size_t {
        kWarType = 0,
        kWarNumber = 1,
        kTo = 2,
        kDemanding = 3,
        kProvinceCount = 4,
        kColonies = 5,
        kProvinces = 6,
        kNewOwners = 9,
        kCash = 12,
        kValue = 13,
        kFlags = 14,
        kReligion = 15,
    };
};
// --- end of the peace offer's terms ---

class COVCreateLeaderEvent : public COVEvent {
public:
    static constexpr size_t kSize = 140;
    static constexpr PayloadField<uint32_t> kRank{"rank", 20};
    static constexpr PayloadField<uint32_t> kManoeuvre{"manoeuvre", 24};
    static constexpr PayloadField<uint32_t> kFire{"fire", 32};
    static constexpr PayloadField<uint32_t> kShock{"shock", 36};
    static constexpr PayloadField<uint32_t> kSiege{"siege", 40};
    static constexpr PayloadField<uint32_t> kCategory{"category", 48};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 52};
    static constexpr PayloadText kName{"name", 60, 64};
    static constexpr PayloadField<CDate> kEndDate{"end date", 124};
    static constexpr PayloadField<CDate> kStartDate{"start date", 132};
    static constexpr PayloadFieldInfo kFields[] = {
        kRank, kManoeuvre, kFire, kShock, kSiege, kCategory, kLeader, kName, kEndDate, kStartDate};

    COVCreateLeaderEvent(uint32_t type, const ObjectId& receiver);
    explicit COVCreateLeaderEvent(const COVEvent& m) : COVEvent(m) {}
};

// Type EVT_APPMSG_SCENARIO for everybody. The file name is cut to 127
// characters and zero-terminated.
class COVScenarioEvent : public COVEvent {
public:
    static constexpr size_t kSize = 160;
    static constexpr PayloadField<uint32_t> kStartValue{"start value", 20};
    static constexpr PayloadText kFileName{"file name", 24, 128};
    static constexpr PayloadField<uint32_t> kFileSize{"file size", 152};
    static constexpr PayloadField<uint32_t> kByteSum{"byte sum", 156};
    static constexpr PayloadFieldInfo kFields[] = {kStartValue, kFileName, kFileSize, kByteSum};
    static constexpr size_t kNameSize = kFileName.size;

    COVScenarioEvent(uint32_t startValue, std::string_view fileName, uint32_t fileSize,
                     uint32_t byteSum);
    explicit COVScenarioEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetStartValue() const { return Payload().Get(kStartValue); }
    std::string GetFileName() const { return Payload().Get(kFileName); }
    uint32_t GetFileSize() const { return Payload().Get(kFileSize); }
    uint32_t GetByteSum() const { return Payload().Get(kByteSum); }
};

// The largest payload a message can have and still travel: the wire form's
// 16-bit length field counts 2 bytes more than the payload. The variable
// layouts below are held to it.
constexpr size_t EVENT_MAX_PAYLOAD_SIZE = 0xFFFF - 2;

// L + 30 bytes, type EVT_APPMSG_CHATSTRING. The sender is a player id
// (0xFFFFFFFF for the session's own lines); the length L counts the text's
// terminating zero. A text too long for the largest payload is cut.
class COVChatEvent : public COVEvent {
public:
    static constexpr size_t kBaseSize = 30;
    static constexpr PayloadField<uint32_t> kSender{"sender", 20};
    static constexpr PayloadField<uint16_t> kLength{"length", 24};
    static constexpr PayloadText kText{"text", 26, 0};
    static constexpr PayloadFieldInfo kFields[] = {kSender, kLength, kText};
    // Characters, without the zero.
    static constexpr size_t kMaxTextLength = EVENT_MAX_PAYLOAD_SIZE - kBaseSize - 1;
    static constexpr size_t SizeFor(size_t textLength) { return textLength + 1 + kBaseSize; }

    COVChatEvent(std::string_view text, uint32_t sender, const ObjectId& receiver);
    explicit COVChatEvent(const COVEvent& m) : COVEvent(m) {}
    uint32_t GetSender() const { return Payload().Get(kSender); }
    // The text, never read past the payload's end.
    std::string GetText() const;
};

// 2n + 38 bytes, type EVT_UNITMOVEPATH for the moving unit: n province ids.
// The extra id is the unit server.
class COVUnitMovePathEvent : public COVEvent {
public:
    static constexpr size_t kBaseSize = 38;
    // 1: the steps replace the unit's path; 0: they are added to its end.
    // The byte after it is written 0.
    static constexpr PayloadField<uint8_t> kValue{"value", 28};
    static constexpr PayloadField<uint16_t> kCount{"count", 30};
    static constexpr PayloadArray<uint16_t> kSteps{"steps", 32};
    static constexpr PayloadFieldInfo kFields[] = {kValue, kCount, kSteps};
    static constexpr size_t kMaxSteps = (EVENT_MAX_PAYLOAD_SIZE - kBaseSize) / 2;
    static constexpr size_t SizeFor(size_t steps) { return 2 * steps + kBaseSize; }

    // Steps beyond kMaxSteps are left out.
    COVUnitMovePathEvent(const ObjectId& receiver, uint8_t value,
                         const std::vector<uint16_t>& provinces);
    explicit COVUnitMovePathEvent(const COVEvent& m) : COVEvent(m) {}
    ObjectId GetExtraId() const override;
    uint8_t GetValue() const { return Payload().Get(kValue); }
    uint16_t GetCount() const { return Payload().Get(kCount); }
    uint16_t GetStep(size_t index) const { return Payload().Get(kSteps[index]); }
    // The count's steps lie within the payload.
    bool CountFits() const {
        return Payload().Holds(kCount) && SizeFor(GetCount()) <= Payload().Size();
    }
};

// The two layouts of a count and n u32 entries: 4n + 38 bytes.
class COVCountedEvent : public COVEvent {
public:
    static constexpr size_t kBaseSize = 38;
    // Two values ahead of the list, each layout's own (zero unless set).
    static constexpr PayloadField<uint32_t> kFirstValue{"first value", 20};
    static constexpr PayloadField<uint32_t> kSecondValue{"second value", 24};
    static constexpr PayloadField<uint16_t> kCount{"count", 28};
    static constexpr PayloadArray<uint32_t> kEntries{"entries", 32};
    static constexpr PayloadFieldInfo kFields[] = {kFirstValue, kSecondValue, kCount, kEntries};
    static constexpr size_t kMaxEntries = (EVENT_MAX_PAYLOAD_SIZE - kBaseSize) / 4;
    static constexpr size_t SizeFor(size_t entries) { return 4 * entries + kBaseSize; }

    uint16_t GetCount() const { return Payload().Get(kCount); }
    uint32_t GetEntry(size_t index) const { return Payload().Get(kEntries[index]); }

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

// A new country (type EVT_CREATE_COUNTRY), addressed to the country that
// releases it: the new country's number, the releasing country's number and
// the provinces the new country takes.
class COVCreateCountryEvent : public COVCountedEvent {
public:
    static constexpr PayloadField<uint32_t> kCountry = kFirstValue;
    static constexpr PayloadField<uint32_t> kReleaser = kSecondValue;

    COVCreateCountryEvent(const ObjectId& receiver, const std::vector<uint32_t>& entries)
        : COVCountedEvent(EVT_CREATE_COUNTRY, receiver, entries) {}
    explicit COVCreateCountryEvent(const COVEvent& m) : COVCountedEvent(m) {}
};

// ---------------------------------------------------------------------------
// Layouts of the messages of class COVDataEvent: kTypes names the types
// built with each; the payload size is the table's size of those types.

// The host's record of one player slot.
struct PlayerDataPayload {
    static constexpr uint32_t kTypes[] = {EVT_PLAYER_DATA};
    static constexpr PayloadField<uint32_t> kSlot{"slot", 20};
    static constexpr PayloadField<uint32_t> kPlayer{"player", 24};
    static constexpr PayloadField<uint32_t> kSecondWord{"second word", 28};
    static constexpr PayloadText kName{"name", 32, 64};
    static constexpr PayloadField<uint32_t> kFlags{"flags", 96};
    static constexpr PayloadField<int32_t> kCountry{"country", 100};
    static constexpr PayloadField<int32_t> kSlotCount{"slot count", 104};
    static constexpr PayloadFieldInfo kFields[] = {kSlot,  kPlayer,  kSecondWord, kName,
                                                   kFlags, kCountry, kSlotCount};
};

// A player's choice of country; the flag is set when the host sends it.
struct CountryChoicePayload {
    static constexpr uint32_t kTypes[] = {EVT_APPMSG_COUNTRY};
    static constexpr PayloadField<uint32_t> kPlayer{"player", 20};
    static constexpr PayloadField<int32_t> kCountry{"country", 24};
    static constexpr PayloadField<uint8_t> kFromHost{"from host", 28};
    static constexpr PayloadFieldInfo kFields[] = {kPlayer, kCountry, kFromHost};
};

// A client is ready to start.
struct BootupReadyPayload {
    static constexpr uint32_t kTypes[] = {EVT_BOOTUP_READY};
    static constexpr PayloadField<uint32_t> kPlayer{"player", 20};
    static constexpr PayloadFieldInfo kFields[] = {kPlayer};
};

// A machine has started its game.
struct PlayerStartPayload {
    static constexpr uint32_t kTypes[] = {EVT_PLAYER_START};
    static constexpr PayloadField<uint32_t> kSlot{"slot", 20};
    static constexpr PayloadFieldInfo kFields[] = {kSlot};
};

struct LeaderArrivalPayload {
    static constexpr uint32_t kTypes[] = {EVT_ARRIVE_LEADER, EVT_KILL_LEADER};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 20};
    static constexpr PayloadFieldInfo kFields[] = {kLeader};
};

// The monarch's leader part and the historical event that starts its reign.
struct MonarchActivationPayload {
    static constexpr uint32_t kTypes[] = {EVT_ACTIVATE_MONARCH};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 20};
    static constexpr PayloadField<int32_t> kEvent2Start{"event2start", 28};
    static constexpr PayloadFieldInfo kFields[] = {kLeader, kEvent2Start};
};

// A unit's next step, for the unit server.
struct MoveStepPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNNAMED_57};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadField<uint16_t> kProvince{"province", 28};
    static constexpr PayloadFieldInfo kFields[] = {kUnit, kProvince};
};

// A unit enters the province; the carrier is the fleet it boards or lands
// from (the null id for a move on its own): an army stepping into a sea zone
// boards it.
struct UnitMovePayload {
    static constexpr uint32_t kTypes[] = {EVT_UNITMOVE};
    static constexpr PayloadField<uint16_t> kProvince{"province", 20};
    static constexpr PayloadField<ObjectId> kCarrier{"carrier", 24};
    static constexpr PayloadFieldInfo kFields[] = {kProvince, kCarrier};
};

// The unit (the receiver) is deleted at once; its id again after the head.
struct KillPayload {
    static constexpr uint32_t kTypes[] = {EVT_KILL};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadFieldInfo kFields[] = {kUnit};
};

// A unit's build or move has finished: two values and a flag for the
// receiver.
struct UnitFinishPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNIT_FINISH};
    static constexpr PayloadField<uint16_t> kFirst{"first", 20};
    static constexpr PayloadField<uint16_t> kSecond{"second", 22};
    static constexpr PayloadField<uint8_t> kFlag{"flag", 24};
    static constexpr PayloadFieldInfo kFields[] = {kFirst, kSecond, kFlag};
};

// A request about one unit.
struct UnitRequestPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_SPLIT_ARMY,
                                          EVT_REQUEST_CREATE_DETACHMENT,
                                          EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT,
                                          EVT_REQUEST_CREATE_GALLEYS_DETACHMENT,
                                          EVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT,
                                          EVT_REQUEST_DETACH_SIEGE_FORCE,
                                          EVT_REQUEST_DETACH_COVER_FORCE,
                                          EVT_REQUEST_DISBAND_UNIT,
                                          EVT_DISBAND_UNIT,
                                          EVT_UNITDELETE};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadFieldInfo kFields[] = {kUnit};
};

// The unit that the other joins, and the other.
struct MergeRequestPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_MERGE};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadField<ObjectId> kJoining{"joining", 28};
    static constexpr PayloadFieldInfo kFields[] = {kUnit, kJoining};
};

// --- host unit and leader requests (military/server/UnitRequests.cpp,
// military/units/LeaderRegistry.cpp) ---

// Troops or ships of one kind (the amount) asked to move from the first
// unit to the second; the overload fix names two fleets and no amount.
struct UnitTransferRequestPayload {
    static constexpr uint32_t kTypes[] = {
        EVT_REQUEST_TRANSFER_INFANTRY,    EVT_REQUEST_TRANSFER_ARTILLERY,
        EVT_REQUEST_TRANSFER_CAVALRY,     EVT_REQUEST_TRANSFER_WARSHIPS,
        EVT_REQUEST_TRANSFER_TRANSPORTS,  EVT_REQUEST_TRANSFER_GALLEYS,
        EVT_REQUEST_TRANSFER_OVERLOAD_FIX};
    static constexpr PayloadField<ObjectId> kFrom{"from", 20};
    static constexpr PayloadField<ObjectId> kTo{"to", 28};
    static constexpr PayloadField<uint32_t> kAmount{"amount", 36};
    static constexpr PayloadFieldInfo kFields[] = {kFrom, kTo, kAmount};
};

// The leader takes command in the unit (to its owner).
struct ActivateLeaderPayload {
    static constexpr uint32_t kTypes[] = {EVT_ACTIVATE_LEADER};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 28};
    static constexpr PayloadFieldInfo kFields[] = {kUnit, kLeader};
};

// The leader's time is up: the registry tells its country to remove it.
// The unit is not read.
struct ReplacementLeaderPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_REPLACEMENT_LEADER};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 24};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 32};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kUnit, kLeader};
};

// A random leader for the unit of the country.
struct NewLeaderRequestPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_NEW_LEADER};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kUnit};
};

// The reign of the monarch of the country ends: a random successor.
struct ReplacementMonarchPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_REPLACEMENT_MONARCH};
    static constexpr PayloadField<ObjectId> kMonarch{"monarch", 20};
    static constexpr PayloadField<uint32_t> kCountry{"country", 28};
    static constexpr PayloadFieldInfo kFields[] = {kMonarch, kCountry};
};
// --- end of the host unit and leader requests ---

// A casus belli against the country named, until the expiry date.
struct CasusBelliPayload {
    static constexpr uint32_t kTypes[] = {EVT_GIVECB};
    static constexpr PayloadField<CDate> kExpiry{"expiry", 24};
    static constexpr PayloadField<ObjectId> kAgainst{"against", 32};
    static constexpr PayloadArray<uint8_t, 2> kFlags{"flags", 40};
    static constexpr PayloadFieldInfo kFields[] = {kExpiry, kAgainst, kFlags};
};

struct BoostInvestmentPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQ_BOOST_INVESTMENT, EVT_EXEC_BOOST_INVESTMENT};
    static constexpr PayloadField<float> kAmount{"amount", 20};
    static constexpr PayloadField<uint32_t> kKind{"kind", 24};
    static constexpr PayloadField<uint32_t> kCountry{"country", 28};
    static constexpr PayloadFieldInfo kFields[] = {kAmount, kKind, kCountry};
};

// A change of the receiving country's treasury.
struct MoneyPayload {
    static constexpr uint32_t kTypes[] = {EVT_GAINMONEY, EVT_LOSEMONEY};
    static constexpr PayloadField<float> kAmount{"amount", 20};
    static constexpr PayloadField<uint32_t> kKind{"kind", 24};
    static constexpr PayloadFieldInfo kFields[] = {kAmount, kKind};
};

// The minister the receiving country takes: its id, values and name; with
// the update flag set only the minister of that id is changed.
struct MinisterPayload {
    static constexpr uint32_t kTypes[] = {EVT_SET_MINISTER};
    static constexpr PayloadField<ObjectId> kMinister{"minister", 20};
    static constexpr PayloadField<int32_t> kAdm{"adm", 28};
    static constexpr PayloadField<int32_t> kMil{"mil", 32};
    static constexpr PayloadField<int32_t> kDip{"dip", 36};
    static constexpr PayloadField<uint32_t> kUpdate{"update", 40};
    static constexpr PayloadText kName{"name", 44, 64};
    static constexpr PayloadFieldInfo kFields[] = {kMinister, kAdm, kMil, kDip, kUpdate, kName};
};

// Base victory points for the receiving country: the amount for the kind
// (0 "BVPECO" .. 6 "BVPMISS").
struct BaseVictoryPointsPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNNAMED_314};
    static constexpr PayloadField<float> kAmount{"amount", 20};
    static constexpr PayloadField<uint32_t> kKind{"kind", 24};
    static constexpr PayloadFieldInfo kFields[] = {kAmount, kKind};
};

struct GiftPayload {
    static constexpr uint32_t kTypes[] = {EVT_SENDGIFT};
    static constexpr PayloadField<float> kAmount{"amount", 20};
    static constexpr PayloadField<uint32_t> kGiver{"giver", 24};
    static constexpr PayloadFieldInfo kFields[] = {kAmount, kGiver};
};

// Two numbers. The loan notices: the borrower, the amount; the trade
// refusals and the change of religion: the country, then the other country
// or the religion; the construction's cancellation: its two values; the
// stolen exploration: the country whose maps are stolen, then 0.
struct PairPayload {
    static constexpr uint32_t kTypes[] = {EVT_ACCEPTLOANMSG,       EVT_DECLINELOANMSG,
                                          EVT_REQ_REFUSETRADE,     EVT_REQ_UNREFUSETRADE,
                                          EVT_REQ_CHANGE_RELIGION, EVT_REQUEST_CANCEL_CONSTRUCTION,
                                          EVT_STEAL_EXPLORATION};
    static constexpr PayloadField<uint32_t> kFirst{"first", 20};
    static constexpr PayloadField<uint32_t> kSecond{"second", 24};
    static constexpr PayloadFieldInfo kFields[] = {kFirst, kSecond};
};

struct MaintenancePayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_SET_MAINTENANCE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<uint32_t> kFirst{"first", 24};
    static constexpr PayloadField<uint32_t> kSecond{"second", 28};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kFirst, kSecond};
};

// The alliance's honour.
struct HonorAlliancePayload {
    static constexpr uint32_t kTypes[] = {EVT_REQ_HONOR_ALLIANCE, EVT_REQ_DISHONOR_ALLIANCE,
                                          EVT_REQUEST_HONOR_ALLIANCE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadArray<uint32_t, 8> kValues{"values", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kValues};
};

// Exploration shared with the receiving country; the flag is 1. A country
// learnt (its capital found) names that country, flag 1.
struct ExplorationPayload {
    static constexpr uint32_t kTypes[] = {EVT_ASK_SHARE_EXPLORATION, EVT_ACCEPT_SHARE_EXPLORATION,
                                          EVT_DECLINE_SHARE_EXPLORATION, EVT_DISCOVERCOUNTRY};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<uint8_t> kFlag{"flag", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kFlag};
};

// A merchant of the country driven out of the centre in the province by
// the other country.
struct LoseTradeLevelPayload {
    static constexpr uint32_t kTypes[] = {EVT_LOSE_TRADELEVEL};
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadField<uint32_t> kCountry{"country", 24};
    static constexpr PayloadField<uint32_t> kOther{"other", 28};
    static constexpr PayloadFieldInfo kFields[] = {kProvince, kCountry, kOther};
};

// The value is 0.
struct RelationRequestPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQ_RELATION};
    static constexpr PayloadField<uint32_t> kValue{"value", 20};
    static constexpr PayloadField<float> kAmount{"amount", 24};
    static constexpr PayloadField<uint32_t> kKind{"kind", 28};
    static constexpr PayloadField<uint32_t> kCountry{"country", 32};
    static constexpr PayloadField<uint32_t> kOther{"other", 36};
    static constexpr PayloadFieldInfo kFields[] = {kValue, kAmount, kKind, kCountry, kOther};
};

// --- the country's budget shares and renaming ---

// The budget shares the receiving country takes, in the order naval, land,
// trade, infrastructure, stability, treasury.
struct InvestmentSharesPayload {
    static constexpr uint32_t kTypes[] = {EVT_INVESTMENT_CHANGE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadArray<float, 6> kShares{"shares", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kShares};
};

// The object of the id (a province: its settlement) takes the name.
struct RenameObjectPayload {
    static constexpr uint32_t kTypes[] = {EVT_RENAME_OBJECT};
    static constexpr PayloadField<ObjectId> kObject{"object", 20};
    static constexpr PayloadText kName{"name", 28, 64};
    static constexpr PayloadFieldInfo kFields[] = {kObject, kName};
};
// --- end of the budget shares and renaming ---

// --- moves between two units of the receiving country ---

// Troops or ships of one kind (the count), all armies aboard or all
// leaders, from the first unit to the second.
struct UnitTransferPayload {
    static constexpr uint32_t kTypes[] = {EVT_TRANSFER_INFANTRY,   EVT_TRANSFER_ARTILLERY,
                                          EVT_TRANSFER_CAVALRY,    EVT_TRANSFER_WARSHIPS,
                                          EVT_TRANSFER_TRANSPORTS, EVT_TRANSFER_GALLEYS,
                                          EVT_TRANSFER_ALL_ARMIES, EVT_TRANSFER_ALL_LEADERS};
    static constexpr PayloadField<ObjectId> kFrom{"from", 20};
    static constexpr PayloadField<ObjectId> kTo{"to", 28};
    static constexpr PayloadField<uint32_t> kCount{"count", 36};
    static constexpr PayloadFieldInfo kFields[] = {kFrom, kTo, kCount};
};

// One leader from the first unit to the second.
struct LeaderTransferPayload {
    static constexpr uint32_t kTypes[] = {EVT_TRANSFER_ONE_LEADER};
    static constexpr PayloadField<ObjectId> kFrom{"from", 20};
    static constexpr PayloadField<ObjectId> kTo{"to", 28};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 36};
    static constexpr PayloadFieldInfo kFields[] = {kFrom, kTo, kLeader};
};
// --- end of the moves between two units ---

struct InvestmentChangePayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_INVESTMENT_CHANGE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadArray<uint32_t, 6> kValues{"values", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kValues};
};

// One byte per tolerance value.
struct TolerancePayload {
    static constexpr uint32_t kTypes[] = {EVT_REQ_CHANGE_TOLERANCE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadArray<uint8_t, 8> kValues{"values", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kValues};
};

// A white peace for a war long over: the war's id.
struct WhitePeacePayload {
    static constexpr uint32_t kTypes[] = {EVT_WHITE_PEACE};
    static constexpr PayloadField<ObjectId> kWar{"war", 20};
    static constexpr PayloadFieldInfo kFields[] = {kWar};
};

// A war split in two at a peace between one attacker and one defender:
// the war, each new war's id with its attackers' and defenders' side ids,
// and the two countries.
struct SplitWarPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNNAMED_218};
    static constexpr PayloadField<ObjectId> kWar{"war", 20};
    static constexpr PayloadField<ObjectId> kFirstWar{"first war", 28};
    static constexpr PayloadField<ObjectId> kFirstAttackers{"first attackers", 36};
    static constexpr PayloadField<ObjectId> kFirstDefenders{"first defenders", 44};
    static constexpr PayloadField<ObjectId> kSecondWar{"second war", 52};
    static constexpr PayloadField<ObjectId> kSecondAttackers{"second attackers", 60};
    static constexpr PayloadField<ObjectId> kSecondDefenders{"second defenders", 68};
    static constexpr PayloadField<uint32_t> kFirstCountry{"first country", 76};
    static constexpr PayloadField<uint32_t> kSecondCountry{"second country", 80};
    static constexpr PayloadFieldInfo kFields[] = {
        kWar,          kFirstWar,        kFirstAttackers,  kFirstDefenders,
        kSecondWar,    kSecondAttackers, kSecondDefenders, kFirstCountry,
        kSecondCountry};
};

// --- rebels, scandals and annexation ---

// The reigning monarch's new ADM, DIP and MIL.
struct MonarchValuesPayload {
    static constexpr uint32_t kTypes[] = {EVT_SET_MONARCH_VALUES};
    static constexpr PayloadField<int32_t> kAdm{"ADM", 20};
    static constexpr PayloadField<int32_t> kDip{"DIP", 24};
    static constexpr PayloadField<int32_t> kMil{"MIL", 28};
    static constexpr PayloadFieldInfo kFields[] = {kAdm, kDip, kMil};
};

// The unit goes over to the receiving country.
struct SwitchAllegiancePayload {
    static constexpr uint32_t kTypes[] = {EVT_SWITCH_ALLEGIANCE};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadFieldInfo kFields[] = {kUnit};
};

// Men a unit lost, addressed to its owner; the cause is the row of the
// owner's loss records (0 attrition, 1 battle, 2 disbanding).
struct UnitLossesPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNITLOSSES};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadField<float> kAmount{"amount", 28};
    static constexpr PayloadField<uint8_t> kCause{"cause", 32};
    static constexpr PayloadFieldInfo kFields[] = {kUnit, kAmount, kCause};
};

// --- unit messages (military/units) ---
// Losses by kind (an army's infantry, cavalry, artillery; a fleet's
// warships, galleys, transports), addressed to the owner.
struct UnitSizeLossesPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNITSIZELOSSES};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadField<float> kFirst{"first", 28};
    static constexpr PayloadField<float> kSecond{"second", 32};
    static constexpr PayloadField<float> kThird{"third", 36};
    static constexpr PayloadField<uint32_t> kCause{"cause", 40};
    static constexpr PayloadFieldInfo kFields[] = {kUnit, kFirst, kSecond, kThird, kCause};
};
// --- end of unit messages ---

// --- combat messages (military/combat) ---
// A unit joins (27), is destroyed in (28) or leaves (29) the combat: the
// fields over the 40 bytes of the COVCombatEvent class these types travel in.
struct CombatUnitFields {
    static constexpr uint32_t kTypes[] = {EVT_COMBAT_REMOVE_UNIT, EVT_COMBAT_REMOVE_UNIT_2,
                                          EVT_COMBAT_REMOVE_UNIT_3};
    static constexpr PayloadField<ObjectId> kCombat{"combat", 20};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 28};
    static constexpr PayloadField<uint8_t> kAttacker{"attacker", 36};
    static constexpr PayloadFieldInfo kFields[] = {kCombat, kUnit, kAttacker};
};
// A day's losses of one side, with the phase they come from.
struct CombatResultPayload {
    static constexpr uint32_t kTypes[] = {EVT_COMBAT_RESULT};
    static constexpr PayloadField<ObjectId> kCombat{"combat", 20};
    static constexpr PayloadField<uint32_t> kFire{"fire", 28};
    static constexpr PayloadField<float> kMen{"men", 32};
    static constexpr PayloadField<float> kMorale{"morale", 36};
    static constexpr PayloadField<uint8_t> kAttacker{"attacker", 40};
    static constexpr PayloadFieldInfo kFields[] = {kCombat, kFire, kMen, kMorale, kAttacker};
};
// A side retreats towards the province (0: each unit chooses).
struct CombatRetreatPayload {
    static constexpr uint32_t kTypes[] = {EVT_COMBAT_RETREAT};
    static constexpr PayloadField<ObjectId> kCombat{"combat", 20};
    static constexpr PayloadField<int32_t> kProvince{"province", 28};
    static constexpr PayloadField<uint8_t> kAttacker{"attacker", 32};
    static constexpr PayloadFieldInfo kFields[] = {kCombat, kProvince, kAttacker};
};
// The month's siege roll (1..10); the value beside it is not read.
struct SiegeResultPayload {
    static constexpr uint32_t kTypes[] = {EVT_SIEGE_RESULT};
    static constexpr PayloadField<ObjectId> kSiege{"siege", 20};
    static constexpr PayloadField<int32_t> kRoll{"roll", 28};
    static constexpr PayloadField<int32_t> kValue{"value", 32};
    static constexpr PayloadFieldInfo kFields[] = {kSiege, kRoll, kValue};
};
// The garrison a siege makes: its unit and leader ids and its strengths
// (the timer count is not read).
struct CreateFortressUnitPayload {
    static constexpr uint32_t kTypes[] = {EVT_CREATE_FORTRESS_UNIT};
    static constexpr PayloadField<ObjectId> kSiege{"siege", 20};
    static constexpr PayloadField<uint32_t> kTimer{"timer", 28};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 32};
    static constexpr PayloadField<ObjectId> kLeader{"leader", 40};
    static constexpr PayloadField<int32_t> kInfantry{"infantry", 48};
    static constexpr PayloadField<int32_t> kCavalry{"cavalry", 52};
    static constexpr PayloadField<int32_t> kArtillery{"artillery", 56};
    static constexpr PayloadFieldInfo kFields[] = {kSiege,    kTimer,   kUnit,     kLeader,
                                                   kInfantry, kCavalry, kArtillery};
};
// --- end of combat messages ---

// --- end of rebels, scandals and annexation ---

// A city's new state (type 209, addressed to its province): the sender's
// value, the population, the fortress level and the manufactory (0..5).
struct CityStatePayload {
    static constexpr uint32_t kTypes[] = {EVT_UNNAMED_209};
    static constexpr PayloadField<uint32_t> kValue{"value", 20};
    static constexpr PayloadField<float> kPopulation{"population", 24};
    static constexpr PayloadField<float> kFortressLevel{"fortress level", 28};
    static constexpr PayloadField<int32_t> kManufactory{"manufactory", 32};
    static constexpr PayloadFieldInfo kFields[] = {kValue, kPopulation, kFortressLevel,
                                                   kManufactory};
};

// --- a province's one-value changes (world/ProvinceMessages.cpp) ---
// Addressed to the province: the fortress damage, the city's loss of
// population and the new tax value, each a float.
struct ProvinceAmountPayload {
    static constexpr uint32_t kTypes[] = {EVT_FORTRESS_DAMAGE, EVT_CITY_DAMAGE,
                                          EVT_CHANGE_INCOME_PROVINCE};
    static constexpr PayloadField<float> kAmount{"amount", 20};
    static constexpr PayloadFieldInfo kFields[] = {kAmount};
};
// Addressed to the province: the natives' level, the new religion and the
// manufactory type to set up, each a whole number.
struct ProvinceValuePayload {
    static constexpr uint32_t kTypes[] = {EVT_SET_NATIVES, EVT_CHANGE_RELIGION_PROVINCE,
                                          EVT_CREATE_PRODUCTION_FACILITY};
    static constexpr PayloadField<int32_t> kValue{"value", 20};
    static constexpr PayloadFieldInfo kFields[] = {kValue};
};
// --- end of a province's one-value changes ---

// --- the countries' money, trade and relation messages ---
// The change of the receiving country's inflation.
struct InflationPayload {
    static constexpr uint32_t kTypes[] = {EVT_INFLATION};
    static constexpr PayloadField<float> kChange{"change", 20};
    static constexpr PayloadFieldInfo kFields[] = {kChange};
};
// The refusing (allowing) country, then the other country.
struct TradeRefusalPayload {
    static constexpr uint32_t kTypes[] = {EVT_EXEC_REFUSETRADE, EVT_EXEC_UNREFUSETRADE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<uint32_t> kOther{"other", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kOther};
};
// The country, then its land and naval maintenance levels.
struct SetMaintenancePayload {
    static constexpr uint32_t kTypes[] = {EVT_SET_MAINTENANCE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<float> kLand{"land", 24};
    static constexpr PayloadField<float> kNaval{"naval", 28};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kLand, kNaval};
};
// The country, then its tolerance toward each religion (a signed byte).
struct SetTolerancePayload {
    static constexpr uint32_t kTypes[] = {EVT_EXEC_CHANGE_TOLERANCE};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadArray<uint8_t, 8> kValues{"values", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kValues};
};
// A decided change of the relation between the acting country and the
// other, with the money that goes with it (none when not above 0).
struct ExecRelationPayload {
    static constexpr uint32_t kTypes[] = {EVT_EXEC_RELATION};
    static constexpr PayloadField<float> kChange{"change", 20};
    static constexpr PayloadField<float> kAmount{"amount", 24};
    static constexpr PayloadField<uint32_t> kKind{"kind", 28};
    static constexpr PayloadField<uint32_t> kCountry{"country", 32};
    static constexpr PayloadField<uint32_t> kOther{"other", 36};
    static constexpr PayloadFieldInfo kFields[] = {kChange, kAmount, kKind, kCountry, kOther};
};
// Money invested in the trade (TE) or the infrastructure (PE) track.
struct TrackInvestmentPayload {
    static constexpr uint32_t kTypes[] = {EVT_CHANGE_TE, EVT_CHANGE_PE};
    static constexpr PayloadField<float> kAmount{"amount", 20};
    static constexpr PayloadFieldInfo kFields[] = {kAmount};
};
// The reigning monarch's new name.
struct MonarchNamePayload {
    static constexpr uint32_t kTypes[] = {EVT_UNNAMED_210};
    static constexpr PayloadText kName{"name", 20, 64};
    static constexpr PayloadFieldInfo kFields[] = {kName};
};
// The province of the new centre of trade.
struct CreateCotPayload {
    static constexpr uint32_t kTypes[] = {EVT_CREATE_COT};
    static constexpr PayloadField<uint32_t> kProvince{"province", 20};
    static constexpr PayloadFieldInfo kFields[] = {kProvince};
};
// --- end of the countries' money, trade and relation messages ---

// --- game events, missions, religion and construction ---
// A game event carried out: the event's id, the subject (a country's id)
// and a random value for the event.
struct ExecuteEventPayload {
    static constexpr uint32_t kTypes[] = {EVT_EXECUTE_EVENT};
    static constexpr PayloadField<ObjectId> kEvent{"event", 20};
    static constexpr PayloadField<ObjectId> kSubject{"subject", 28};
    static constexpr PayloadField<uint32_t> kRandom{"random", 36};
    static constexpr PayloadFieldInfo kFields[] = {kEvent, kSubject, kRandom};
};
// A mission of the receiving country activated, completed or failed: the
// date and the mission's id.
struct MissionPayload {
    static constexpr uint32_t kTypes[] = {EVT_MISSION_ACTIVATED, EVT_MISSION_COMPLETED,
                                          EVT_MISSION_FAILED};
    static constexpr PayloadField<CDate> kDate{"date", 20};
    static constexpr PayloadField<ObjectId> kMission{"mission", 28};
    static constexpr PayloadFieldInfo kFields[] = {kDate, kMission};
};
// A new mission of the kind asked for the receiving country.
struct RequestMissionPayload {
    static constexpr uint32_t kTypes[] = {EVT_REQUEST_NEW_MISSION};
    static constexpr PayloadField<int32_t> kKind{"kind", 20};
    static constexpr PayloadFieldInfo kFields[] = {kKind};
};
// The mission a country takes (type 191): its kind, its three goal values,
// the date, the mission's id and the country's number.
struct MissionTakenPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNNAMED_191};
    static constexpr PayloadField<int32_t> kKind{"kind", 20};
    static constexpr PayloadArray<uint32_t, 3> kGoals{"goals", 24};
    static constexpr PayloadField<CDate> kDate{"date", 36};
    static constexpr PayloadField<ObjectId> kMission{"mission", 44};
    static constexpr PayloadField<uint32_t> kCountry{"country", 52};
    static constexpr PayloadFieldInfo kFields[] = {kKind, kGoals, kDate, kMission, kCountry};
};
// The country turns to the religion.
struct ChangeReligionPayload {
    static constexpr uint32_t kTypes[] = {EVT_EXEC_CHANGE_RELIGION};
    static constexpr PayloadField<uint32_t> kCountry{"country", 20};
    static constexpr PayloadField<uint32_t> kReligion{"religion", 24};
    static constexpr PayloadFieldInfo kFields[] = {kCountry, kReligion};
};
// The construction order of the id is cancelled.
struct CancelConstructionPayload {
    static constexpr uint32_t kTypes[] = {EVT_CANCEL_CONSTRUCTION};
    static constexpr PayloadField<ObjectId> kOrder{"order", 20};
    static constexpr PayloadFieldInfo kFields[] = {kOrder};
};
// --- end of game events, missions, religion and construction ---

// --- unit movement and the game server (military/server/UnitServer.cpp) ---
// The unit stops: its path is emptied on every machine.
struct UnitMoveCancelPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNITMOVECANCEL};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadFieldInfo kFields[] = {kUnit};
};
// A move order for the unit server: the destination and whether it
// replaces the path (1) or is added to its end (0).
struct MoveDestinationPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNITMOVE_ADD_DEST};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadField<uint16_t> kDestination{"destination", 28};
    static constexpr PayloadField<uint8_t> kReplace{"replace", 30};
    static constexpr PayloadFieldInfo kFields[] = {kUnit, kDestination, kReplace};
};
// The unit's new morale.
struct UnitMoralePayload {
    static constexpr uint32_t kTypes[] = {EVT_SET_RETREAT_MORALE};
    static constexpr PayloadField<float> kMorale{"morale", 20};
    static constexpr PayloadFieldInfo kFields[] = {kMorale};
};
// The unit that is sent back into its owner's land.
struct GotoFriendlyPayload {
    static constexpr uint32_t kTypes[] = {EVT_GOTO_FRIENDLY_PROVINCE};
    static constexpr PayloadField<ObjectId> kUnit{"unit", 20};
    static constexpr PayloadFieldInfo kFields[] = {kUnit};
};
// One of the game server's six event flags (0..5) set (value above 0) or
// cleared.
struct SetEventFlagPayload {
    static constexpr uint32_t kTypes[] = {EVT_SETEVENTFLAG};
    static constexpr PayloadField<int32_t> kValue{"value", 20};
    static constexpr PayloadField<uint32_t> kFlag{"flag", 24};
    static constexpr PayloadFieldInfo kFields[] = {kValue, kFlag};
};
// The end of the game for the local country, with its result code.
struct GameEndPayload {
    static constexpr uint32_t kTypes[] = {EVT_UNNAMED_303};
    static constexpr PayloadField<uint32_t> kResult{"result", 20};
    static constexpr PayloadFieldInfo kFields[] = {kResult};
};
// --- end of unit movement and the game server ---
