#include "net/EventTypes.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::array<EventTypeInfo, EVENT_TYPE_COUNT> kEventTypes = {{
    {"APPMSG_CHATSTRING", EventLayout::Chat, 30, false},                             // 0
    {"APPMSG_LOADGAME", EventLayout::Simple, 20, false},                             // 1
    {"APPMSG_SCENARIO", EventLayout::Scenario, 160, false},                          // 2
    {"APPMSG_COUNTRY", EventLayout::Data, 32, false},                                // 3
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 4
    {"APPSET_VICTORY", EventLayout::Data, 36, false},                                // 5
    {"APPSET_OPTIONS", EventLayout::Data, 76, false},                                // 6
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 7
    {"_COVEVT_PLAYER_DATA_", EventLayout::Data, 108, false},                         // 8
    {"_COVEVT_PLAYER_REMOVE_", EventLayout::Data, 24, false},                        // 9
    {"_COVEVT_SESSION_REMOVED_", EventLayout::Simple, 20, false},                    // 10
    {"_COVEVT_BOOTUP_READY_", EventLayout::Data, 24, false},                         // 11
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 12
    {"_COVEVT_MOUSEMOVE_", EventLayout::LocalOnly, 0, true},                         // 13
    {"_COVEVT_MOUSELBUP_", EventLayout::LocalOnly, 0, true},                         // 14
    {"_COVEVT_MOUSERBUP_", EventLayout::LocalOnly, 0, true},                         // 15
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 16
    {"_COVEVT_MOUSELBDOWN_", EventLayout::LocalOnly, 0, true},                       // 17
    {"_COVEVT_MOUSELBHELD_", EventLayout::LocalOnly, 0, true},                       // 18
    {"_COVEVT_MOUSELBDOUBLECLICK_", EventLayout::LocalOnly, 0, true},                // 19
    {"_COVEVT_KEYUP_", EventLayout::LocalOnly, 0, true},                             // 20
    {"_COVEVT_TIMER_MONTH_", EventLayout::Timer, 28, false},                         // 21
    {"_COVEVT_TIMER_YEAR_", EventLayout::Timer, 28, false},                          // 22
    {"_COVEVT_TIMER_TICK_LOOP_", EventLayout::Simple, 20, false},                    // 23
    {"_COVEVT_TICK_ANIMATIONS_", EventLayout::LocalOnly, 0, true},                   // 24
    {"_COVEVT_COMBAT_CREATE_", EventLayout::Combat, 40, false},                      // 25
    {"_COVEVT_COMBAT_DELETE_", EventLayout::Combat, 40, false},                      // 26
    {"_COVEVT_COMBAT_REMOVE_UNIT_", EventLayout::Combat, 40, false},                 // 27
    {"_COVEVT_COMBAT_REMOVE_UNIT_", EventLayout::Combat, 40, false},                 // 28
    {"_COVEVT_COMBAT_REMOVE_UNIT_", EventLayout::Combat, 40, false},                 // 29
    {"_COVEVT_COMBAT_PHASE_", EventLayout::Combat, 40, false},                       // 30
    {"_COVEVT_COMBAT_STARTED_", EventLayout::Combat, 40, false},                     // 31
    {"_COVEVT_COMBAT_ENDED_", EventLayout::Combat, 40, false},                       // 32
    {"_COVEVT_SIEGE_ASSAULT_", EventLayout::Combat, 40, false},                      // 33
    {"_COVEVT_SIEGE_CHANGEMODE_", EventLayout::Combat, 40, false},                   // 34
    {"_COVEVT_COMBAT_RETREAT_", EventLayout::Data, 36, false},                       // 35
    {"_COVEVT_COMBAT_RETREAT_NOW_", EventLayout::Data, 36, false},                   // 36
    {"_COVEVT_COMBAT_RESULT_", EventLayout::Data, 44, false},                        // 37
    {"_COVEVT_SIEGE_RESULT_", EventLayout::Data, 36, false},                         // 38
    {"_COVEVT_CREATE_FORTRESS_UNIT_", EventLayout::Data, 60, false},                 // 39
    {"_COVEVT_FORTRESS_DAMAGE_", EventLayout::Data, 24, false},                      // 40
    {"_COVEVT_CITY_DAMAGE_", EventLayout::Data, 24, false},                          // 41
    {"_COVEVT_UNIT_ADD_DESTINATION_", EventLayout::Data, 32, false},                 // 42
    {"_COVEVT_UNIT_PATROL_", EventLayout::Data, 32, false},                          // 43
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 44
    {"_COVEVT_UNITMOVE_", EventLayout::Data, 32, false},                             // 45
    {"_COVEVT_UNITMOVECANCEL_", EventLayout::Data, 28, false},                       // 46
    {"_COVEVT_UNITMOVE_INVALID_", EventLayout::Data, 28, false},                     // 47
    {"_COVEVT_UNITCONTINUE_", EventLayout::Data, 28, false},                         // 48
    {"_COVEVT_UNITMOVEPATH_", EventLayout::UnitMovePath, 38, false},                 // 49
    {"_COVEVT_UNITMOVE_ADD_DEST_", EventLayout::Data, 32, false},                    // 50
    {"_COVEVT_UNITDELETE_", EventLayout::Data, 28, false},                           // 51
    {"_COVEVT_UNITLOSSES_", EventLayout::Data, 36, false},                           // 52
    {"_COVEVT_SET_RETREAT_MORALE_", EventLayout::Data, 24, false},                   // 53
    {"_COVEVT_GOTO_FRIENDLY_PROVINCE_", EventLayout::Simple, 20, false},             // 54
    {"_COVEVT_SET_IN_PROVINCE_", EventLayout::Province, 24, false},                  // 55
    {"_COVEVT_RENAME_OBJECT_", EventLayout::Data, 92, false},                        // 56
    {nullptr, EventLayout::Data, 32, false},                                         // 57
    {nullptr, EventLayout::Province, 24, false},                                     // 58
    {"_COVEVT_BUILD_FACILITY_", EventLayout::Province, 24, false},                   // 59
    {"_COVEVT_REQUEST_SPLIT_ARMY_", EventLayout::Data, 28, false},                   // 60
    {"_COVEVT_REQUEST_CREATE_DETACHMENT_", EventLayout::Data, 28, false},            // 61
    {"_COVEVT_REQUEST_CREATE_WARSHIPS_DETACHMENT_", EventLayout::Data, 28, false},   // 62
    {"_COVEVT_REQUEST_CREATE_GALLEYS_DETACHMENT_", EventLayout::Data, 28, false},    // 63
    {"_COVEVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT_", EventLayout::Data, 28, false}, // 64
    {"_COVEVT_REQUEST_DETACH_SIEGE_FORCE_", EventLayout::Data, 28, false},           // 65
    {"_COVEVT_REQUEST_DETACH_COVER_FORCE_", EventLayout::Data, 28, false},           // 66
    {"_COVEVT_REQUEST_DISBAND_UNIT_", EventLayout::Data, 28, false},                 // 67
    {"_COVEVT_DISBAND_UNIT_", EventLayout::Data, 28, false},                         // 68
    {"_COVEVT_UNIT_HALT_", EventLayout::Data, 28, false},                            // 69
    {"_COVEVT_UNIT_ASSAULT_", EventLayout::Data, 28, false},                         // 70
    {"_COVEVT_UNIT_UNLOADONARRIVAL_", EventLayout::Data, 28, false},                 // 71
    {"_COVEVT_UNIT_REMAINONBOARD_", EventLayout::Data, 28, false},                   // 72
    {"_COVEVT_UNIT_FINISH_", EventLayout::Data, 28, false},                          // 73
    {"_COVEVT_REQUEST_MERGE_", EventLayout::Data, 36, false},                        // 74
    {nullptr, EventLayout::Simple, 20, false},                                       // 75
    {"_COVEVT_REFRESHWINDOWS_", EventLayout::Simple, 20, false},                     // 76
    {"_COVEVT_CLOSEALLWINDOWS_", EventLayout::Simple, 20, false},                    // 77
    {"_COVEVT_GAME_STARTED_", EventLayout::Simple, 20, false},                       // 78
    {"_COVEVT_GAME_END_", EventLayout::Simple, 20, false},                           // 79
    {"_COVEVT_GAME_WINNER_", EventLayout::Data, 24, false},                          // 80
    {"_COVEVT_TOGGLE_CONSOLE_", EventLayout::LocalOnly, 0, true},                    // 81
    {"_COVEVT_CHAT_WINDOW_", EventLayout::Simple, 20, false},                        // 82
    {"_COVEVT_CHANGE_PLAYER_", EventLayout::Simple, 20, false},                      // 83
    {"_COVEVT_EXCEPTIONAL_TAXES_", EventLayout::Simple, 20, false},                  // 84
    {"_COVEVT_USE_COLONIST_", EventLayout::Simple, 20, false},                       // 85
    {"_COVEVT_USE_DIPLOMAT_", EventLayout::Simple, 20, false},                       // 86
    {"_COVEVT_USE_MERCHANT_", EventLayout::Simple, 20, false},                       // 87
    {"_COVEVT_GET_COLONIST_", EventLayout::Simple, 20, false},                       // 88
    {"_COVEVT_GET_MERCHANT_", EventLayout::Simple, 20, false},                       // 89
    {"_COVEVT_GET_DIPLOMAT_", EventLayout::Simple, 20, false},                       // 90
    {"_COVEVT_LOOT_PROVINCE_", EventLayout::Simple, 20, false},                      // 91
    {"_COVEVT_UNLOOT_PROVINCE_", EventLayout::Simple, 20, false},                    // 92
    {"_COVEVT_GAINMONEY_", EventLayout::Data, 28, false},                            // 93
    {"_COVEVT_LOSEMONEY_", EventLayout::Data, 28, false},                            // 94
    {"_COVEVT_REQ_GETLOAN_", EventLayout::Loan, 56, false},                          // 95
    {"_COVEVT_REQ_CANCELLOAN_", EventLayout::Loan, 56, false},                       // 96
    {"_COVEVT_REQ_PAYLOAN_", EventLayout::Loan, 56, false},                          // 97
    {"_COVEVT_REQ_EXTENDLOAN_", EventLayout::Loan, 56, false},                       // 98
    {"_COVEVT_EXEC_GETLOAN_", EventLayout::Loan, 56, false},                         // 99
    {"_COVEVT_EXEC_CANCELLOAN_", EventLayout::Loan, 56, false},                      // 100
    {"_COVEVT_EXEC_PAYLOAN_", EventLayout::Loan, 56, false},                         // 101
    {"_COVEVT_EXEC_EXTENDLOAN_", EventLayout::Loan, 56, false},                      // 102
    {"_COVEVT_ASKEXTENDLOAN_", EventLayout::Loan, 56, false},                        // 103
    {"_COVEVT_OFFERLOAN_", EventLayout::Loan, 56, false},                            // 104
    {"_COVEVT_ACCEPTLOANMSG_", EventLayout::Data, 28, false},                        // 105
    {"_COVEVT_DECLINELOANMSG_", EventLayout::Data, 28, false},                       // 106
    {"_COVEVT_REQUEST_TRANSFER_INFANTRY_", EventLayout::Data, 40, false},            // 107
    {"_COVEVT_REQUEST_TRANSFER_ARTILLERY_", EventLayout::Data, 40, false},           // 108
    {"_COVEVT_REQUEST_TRANSFER_CAVALRY_", EventLayout::Data, 40, false},             // 109
    {"_COVEVT_REQUEST_TRANSFER_WARSHIPS_", EventLayout::Data, 40, false},            // 110
    {"_COVEVT_REQUEST_TRANSFER_TRANSPORTS_", EventLayout::Data, 40, false},          // 111
    {"_COVEVT_REQUEST_TRANSFER_GALLEYS_", EventLayout::Data, 40, false},             // 112
    {"_COVEVT_TRANSFER_INFANTRY_", EventLayout::Data, 40, false},                    // 113
    {"_COVEVT_TRANSFER_ARTILLERY_", EventLayout::Data, 40, false},                   // 114
    {"_COVEVT_TRANSFER_CAVALRY_", EventLayout::Data, 40, false},                     // 115
    {"_COVEVT_TRANSFER_WARSHIPS_", EventLayout::Data, 40, false},                    // 116
    {"_COVEVT_TRANSFER_TRANSPORTS_", EventLayout::Data, 40, false},                  // 117
    {"_COVEVT_TRANSFER_GALLEYS_", EventLayout::Data, 40, false},                     // 118
    {"_COVEVT_TRANSFER_ALL_ARMIES_", EventLayout::Data, 40, false},                  // 119
    {"_COVEVT_TRANSFER_ALL_LEADERS_", EventLayout::Data, 40, false},                 // 120
    {"_COVEVT_REQUEST_TRANSFER_OVERLOAD_FIX_", EventLayout::Data, 40, false},        // 121
    {"_COVEVT_TRANSFER_ONE_LEADER_", EventLayout::Data, 44, false},                  // 122
    {nullptr, EventLayout::Province, 24, false},                                     // 123
    {"_COVEVT_REQ_BUILD_FACILITY_", EventLayout::Data, 44, false},                   // 124
    {"_COVEVT_EXEC_BUILD_FACILITY_", EventLayout::Data, 44, false},                  // 125
    {"_COVEVT_BUILDFACILITY_FAILED_", EventLayout::Data, 44, false},                 // 126
    {"_COVEVT_INCREASE_STABILITY_", EventLayout::Data, 44, false},                   // 127
    {"_COVEVT_DECREASE_STABILITY_", EventLayout::Data, 44, false},                   // 128
    {"_COVEVT_REQ_BOOST_INVESTMENT_", EventLayout::Data, 32, false},                 // 129
    {"_COVEVT_EXEC_BOOST_INVESTMENT_", EventLayout::Data, 32, false},                // 130
    {"_COVEVT_CREATE_ARMY_", EventLayout::Army, 88, false},                          // 131
    {"_COVEVT_BUILD_ARMY_", EventLayout::Army, 88, false},                           // 132
    {"_COVEVT_CREATE_ARMY_ON_FLEET_", EventLayout::CreateArmyOnFleet, 80, false},    // 133
    {"_COVEVT_BUILD_FLEET_", EventLayout::Fleet, 84, false},                         // 134
    {"_COVEVT_CREATE_FLEET_", EventLayout::Fleet, 84, false},                        // 135
    {"_COVEVT_PROVCHANGECONTROL_", EventLayout::Province, 24, false},                // 136
    {"_COVEVT_PROVBATTLEWON_", EventLayout::ProvinceBattle, 38, false},              // 137
    {"_COVEVT_PROVBATTLELOST_", EventLayout::ProvinceBattle, 38, false},             // 138
    {"_COVEVT_PROVSIEGEWON_", EventLayout::ProvinceBattle, 38, false},               // 139
    {"_COVEVT_PROVSIEGELOST_", EventLayout::ProvinceBattle, 38, false},              // 140
    {"_COVEVT_DISCOVERPROVINCE_", EventLayout::Province, 24, false},                 // 141
    {"_COVEVT_SEND_STATUS_", EventLayout::Data, 36, false},                          // 142
    {nullptr, EventLayout::Data, 24, false},                                         // 143
    {"_COVEVT_LOSE_TRADELEVEL_", EventLayout::Data, 52, false},                      // 144
    {"_COVEVT_SEND_COLONIST_", EventLayout::Colonist, 60, false},                    // 145
    {"_COVEVT_COLONISE_", EventLayout::Colonist, 60, false},                         // 146
    {"_COVEVT_COLONIST_ARRIVED_", EventLayout::Colonist, 60, false},                 // 147
    {"_COVEVT_COLONISATION_FAILED_", EventLayout::Colonist, 60, false},              // 148
    {"_COVEVT_COLONISATION_BOUNCED_", EventLayout::Colonist, 60, false},             // 149
    {"_COVEVT_SEND_TRADER_", EventLayout::Colonist, 60, false},                      // 150
    {"_COVEVT_TRADER_ARRIVED_", EventLayout::Colonist, 60, false},                   // 151
    {"_COVEVT_ESTABLISH_TRADEPOST_", EventLayout::Colonist, 60, false},              // 152
    {"_COVEVT_ESTABLISH_TRADEPOST_FAILED_", EventLayout::Colonist, 60, false},       // 153
    {"_COVEVT_ESTABLISH_TRADEPOST_BOUNCED_", EventLayout::Colonist, 60, false},      // 154
    {"_COVEVT_SEND_MERCHANT_", EventLayout::Merchant, 64, false},                    // 155
    {"_COVEVT_REQ_MERCHANT_SUCCESS_", EventLayout::Merchant, 64, false},             // 156
    {"_COVEVT_EXEC_MERCHANT_SUCCESS_", EventLayout::Merchant, 64, false},            // 157
    {"_COVEVT_REQ_START_EXPANDING_FORTRESS_", EventLayout::Fortress, 36, false},     // 158
    {"_COVEVT_EXEC_START_EXPANDING_FORTRESS_", EventLayout::Fortress, 36, false},    // 159
    {"_COVEVT_EXPAND_FORTRESS_", EventLayout::Fortress, 36, false},                  // 160
    {"_COVEVT_GIVECB_", EventLayout::Data, 44, false},                               // 161
    {nullptr, EventLayout::Data, 44, false},                                         // 162
    {"_COVEVT_EXPIRE_CONSTRUCTION_", EventLayout::Construction, 32, false},          // 163
    {"_COVEVT_CHANGE_MODIFIER_", EventLayout::Data, 28, false},                      // 164
    {"_COVEVT_CREATE_LEADER_", EventLayout::CreateLeader, 140, false},               // 165
    {"_COVEVT_ACTIVATE_LEADER_", EventLayout::Data, 36, false},                      // 166
    {"_COVEVT_REQUEST_REPLACEMENT_LEADER_", EventLayout::Data, 40, false},           // 167
    {"_COVEVT_REQUEST_NEW_LEADER_", EventLayout::Data, 32, false},                   // 168
    {"_COVEVT_KILL_LEADER_", EventLayout::Data, 28, false},                          // 169
    {"_COVEVT_ARRIVE_LEADER_", EventLayout::Data, 28, false},                        // 170
    {"_COVEVT_CREATE_MONARCH_", EventLayout::CreateMonarch, 92, false},              // 171
    {"_COVEVT_SET_MONARCH_VALUES_", EventLayout::Data, 32, false},                   // 172
    {"_COVEVT_REQUEST_REPLACEMENT_MONARCH_", EventLayout::Data, 32, false},          // 173
    {"_COVEVT_ACTIVATE_MONARCH_", EventLayout::Data, 32, false},                     // 174
    {"_COVEVT_REQUEST_INVESTMENT_CHANGE_", EventLayout::Data, 48, false},            // 175
    {"_COVEVT_INVESTMENT_CHANGE_", EventLayout::Data, 48, false},                    // 176
    {nullptr, EventLayout::Simple, 20, false},                                       // 177
    {nullptr, EventLayout::Simple, 20, false},                                       // 178
    {nullptr, EventLayout::Simple, 20, false},                                       // 179
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 180
    {"_COVEVT_INVITE_TO_WARPACT_", EventLayout::WarPact, 36, false},                 // 181
    {"_COVEVT_MERGE_WAR_", EventLayout::MergeWar, 40, false},                        // 182
    {"_COVEVT_DECLINE_WARPACT_", EventLayout::Simple, 20, false},                    // 183
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 184
    {"_COVEVT_EXECUTE_EVENT_", EventLayout::Data, 40, false},                        // 185
    {"_COVEVT_MISSION_ACTIVATED_", EventLayout::Data, 36, false},                    // 186
    {"_COVEVT_MISSION_CHECK_", EventLayout::Simple, 20, false},                      // 187
    {"_COVEVT_REQUEST_NEW_MISSION_", EventLayout::Data, 24, false},                  // 188
    {"_COVEVT_MISSION_COMPLETED_", EventLayout::Data, 36, false},                    // 189
    {"_COVEVT_MISSION_FAILED_", EventLayout::Data, 36, false},                       // 190
    {nullptr, EventLayout::Data, 56, false},                                         // 191
    {"_COVEVT_CREATE_COUNTRY_", EventLayout::CreateCountry, 38, false},              // 192
    {"_COVEVT_INFLATION_", EventLayout::Data, 24, false},                            // 193
    {"_COVEVT_REQUEST_CONQUISTADOR_TEST_", EventLayout::Province, 24, false},        // 194
    {"_COVEVT_REQUEST_NATIVE_ATTACK_", EventLayout::Province, 24, false},            // 195
    {"_COVEVT_REQUEST_PERHAPS_NATIVE_ATTACK_", EventLayout::Province, 24, false},    // 196
    {"_COVVT_SET_NATIVES_", EventLayout::Data, 24, false},                           // 197
    {"_COVEVT_PACIFY_NATIVE_", EventLayout::Data, 28, false},                        // 198
    {"_COVEVT_SET_SEND_DATE_", EventLayout::SendDate, 32, false},                    // 199
    {"_COVEVT_SWITCH_ALLEGIANCE_", EventLayout::Data, 28, false},                    // 200
    {"_COVEVT_ENABLE_GODMODE_", EventLayout::Simple, 20, false},                     // 201
    {"_COVEVT_DISABLE_GODMODE_", EventLayout::Simple, 20, false},                    // 202
    {"_COVEVT_AI_TICK_", EventLayout::LocalOnly, 0, true},                           // 203
    {"_COVEVT_KILL_", EventLayout::Data, 28, false},                                 // 204
    {"_COVEVT_PAUSE_", EventLayout::Pause, 24, false},                               // 205
    {"_COVEVT_UNPAUSE_", EventLayout::Pause, 24, false},                             // 206
    {"_COVEVT_PAUSEADD_", EventLayout::Pause, 24, false},                            // 207
    {"_COVEVT_ECOTYPEGOODS_", EventLayout::Data, 24, false},                         // 208
    {nullptr, EventLayout::Data, 36, false},                                         // 209
    {nullptr, EventLayout::Data, 84, false},                                         // 210
    {"_COVEVT_TICK_RESOURCE_", EventLayout::Data, 24, false},                        // 211
    {"_COVEVT_REQUEST_SET_MAINTENANCE_", EventLayout::Data, 32, false},              // 212
    {"_COVEVT_SET_MAINTENANCE_", EventLayout::Data, 32, false},                      // 213
    {"_COVEVT_CREATE_ALLIANCE_", EventLayout::CreateAlliance, 52, false},            // 214
    {"_COVEVT_ALLIANCE_ADD_OFFER_", EventLayout::Alliance, 36, false},               // 215
    {"_COVEVT_ALLIANCE_SUB_OFFER_", EventLayout::Alliance, 36, false},               // 216
    {nullptr, EventLayout::Data, 36, false},                                         // 217
    {nullptr, EventLayout::Data, 84, false},                                         // 218
    {"_COVEVT_WE_DECLARE_WAR_", EventLayout::War, 52, false},                        // 219
    {"_COVEVT_THEY_DECLARE_WAR_", EventLayout::War, 52, false},                      // 220
    {"_COVEVT_REQUEST_HONOR_ALLIANCE_", EventLayout::Data, 56, false},               // 221
    {"_COVEVT_JOIN_WAR_", EventLayout::War, 52, false},                              // 222
    {"_COVEVT_OFFER_PEACE_", EventLayout::Peace, 36, false},                         // 223
    {"_COVEVT_REQ_OFFER_ANNEXATION_", EventLayout::Annexation, 28, false},           // 224
    {"_COVEVT_REQ_SET_ANNEXATION_", EventLayout::Annexation, 28, false},             // 225
    {"_COVEVT_REQ_DECLINE_ANNEXATION_", EventLayout::Annexation, 28, false},         // 226
    {"_COVEVT_REQ_DESTROY_ALLIANCE_", EventLayout::Alliance, 36, false},             // 227
    {"_COVEVT_REQ_JOIN_ALLIANCE_", EventLayout::Alliance, 36, false},                // 228
    {"_COVEVT_REQ_LEAVE_ALLIANCE_", EventLayout::Alliance, 36, false},               // 229
    {"_COVEVT_REQ_INVITE_ALLIANCE_", EventLayout::Alliance, 36, false},              // 230
    {"_COVEVT_REQ_ASKJOIN_ALLIANCE_", EventLayout::Alliance, 36, false},             // 231
    {"_COVEVT_REQ_BANNED_FROM_ALLIANCE_", EventLayout::Alliance, 36, false},         // 232
    {"_COVEVT_REQ_DECLINE_ALLIANCE_OFFER_", EventLayout::Alliance, 36, false},       // 233
    {"_COVEVT_REQ_DECLINE_ALLIANCE_JOIN_", EventLayout::Alliance, 36, false},        // 234
    {"_COVEVT_REQ_ACCEPT_PEACE_", EventLayout::Peace, 36, false},                    // 235
    {"_COVEVT_REQ_DECLINE_PEACE_", EventLayout::Peace, 36, false},                   // 236
    {"_COVEVT_REQ_CREATE_PEACE_OFFER_", EventLayout::Peace, 36, false},              // 237
    {"_COVEVT_REQ_SETUP_WAR_", EventLayout::War, 52, false},                         // 238
    {"_COVEVT_REQ_DISHONOR_ALLIANCE_", EventLayout::Data, 56, false},                // 239
    {"_COVEVT_REQ_HONOR_ALLIANCE_", EventLayout::Data, 56, false},                   // 240
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 241
    {"_COVEVT_REQ_REFUSETRADE_", EventLayout::Data, 28, false},                      // 242
    {"_COVEVT_REQ_UNREFUSETRADE_", EventLayout::Data, 28, false},                    // 243
    {"_COVEVT_EXEC_OFFER_ANNEXATION_", EventLayout::Annexation, 28, false},          // 244
    {"_COVEVT_EXEC_SET_ANNEXATION_", EventLayout::Annexation, 28, false},            // 245
    {"_COVEVT_EXEC_DECLINE_ANNEXATION_", EventLayout::Annexation, 28, false},        // 246
    {"_COVEVT_EXEC_DESTROY_ALLIANCE_", EventLayout::Alliance, 36, false},            // 247
    {"_COVEVT_EXEC_JOIN_ALLIANCE_", EventLayout::Alliance, 36, false},               // 248
    {"_COVEVT_EXEC_LEAVE_ALLIANCE_", EventLayout::Alliance, 36, false},              // 249
    {"_COVEVT_EXEC_INVITE_ALLIANCE_", EventLayout::Alliance, 36, false},             // 250
    {"_COVEVT_EXEC_ASKJOIN_ALLIANCE_", EventLayout::Alliance, 36, false},            // 251
    {"_COVEVT_EXEC_BANNED_FROM_ALLIANCE_", EventLayout::Alliance, 36, false},        // 252
    {"_COVEVT_EXEC_DECLINE_ALLIANCE_OFFER_", EventLayout::Alliance, 36, false},      // 253
    {"_COVEVT_EXEC_DECLINE_ALLIANCE_JOIN_", EventLayout::Alliance, 36, false},       // 254
    {"_COVEVT_EXEC_ACCEPT_PEACE_", EventLayout::Peace, 36, false},                   // 255
    {"_COVEVT_EXEC_DECLINE_PEACE_", EventLayout::Peace, 36, false},                  // 256
    {"_COVEVT_EXEC_CREATE_PEACE_OFFER_", EventLayout::Peace, 36, false},             // 257
    {"_COVEVT_EXEC_SETUP_WAR_", EventLayout::War, 52, false},                        // 258
    {"_COVEVT_EXEC_DISHONOR_ALLIANCE_", EventLayout::Data, 56, false},               // 259
    {"_COVEVT_EXEC_HONOR_ALLIANCE_", EventLayout::Data, 56, false},                  // 260
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 261
    {"_COVEVT_EXEC_REFUSETRADE_", EventLayout::Data, 28, false},                     // 262
    {"_COVEVT_EXEC_UNREFUSETRADE_", EventLayout::Data, 28, false},                   // 263
    {"_COVEVT_REQ_CHANGE_TOLERANCE_", EventLayout::Data, 32, false},                 // 264
    {"_COVEVT_EXEC_CHANGE_TOLERANCE_", EventLayout::Data, 32, false},                // 265
    {"_COVEVT_REQ_CHANGE_RELIGION_", EventLayout::Data, 28, false},                  // 266
    {"_COVEVT_EXEC_CHANGE_RELIGION_", EventLayout::Data, 28, false},                 // 267
    {"_COVEVT_CHANGE_RELIGION_PROVINCE_", EventLayout::Data, 24, false},             // 268
    {"_COVEVT_ASK_SHARE_EXPLORATION_", EventLayout::Data, 28, false},                // 269
    {"_COVEVT_ACCEPT_SHARE_EXPLORATION_", EventLayout::Data, 28, false},             // 270
    {"_COVEVT_DECLINE_SHARE_EXPLORATION_", EventLayout::Data, 28, false},            // 271
    {"_COVEVT_STEAL_EXPLORATION_", EventLayout::Data, 28, false},                    // 272
    {"_COVEVT_DISCOVERCOUNTRY_", EventLayout::Data, 28, false},                      // 273
    {"_COVEVT_SENDGIFT_", EventLayout::Data, 28, false},                             // 274
    {"_COVEVT_REQ_DESTROY_TPOST_", EventLayout::Province, 24, false},                // 275
    {"_COVEVT_EXEC_DESTROY_TPOST_", EventLayout::Province, 24, false},               // 276
    {"_COVEVT_COUNTRY_BROKEN_", EventLayout::Simple, 20, false},                     // 277
    {"_COVEVT_SETEVENTFLAG_", EventLayout::Data, 28, false},                         // 278
    {"_COVEVT_NEW_EMPEROR_", EventLayout::Simple, 20, false},                        // 279
    {"_COVEVT_REQUEST_CANCEL_CONSTRUCTION_", EventLayout::Data, 28, false},          // 280
    {"_COVEVT_CANCEL_CONSTRUCTION_", EventLayout::Data, 28, false},                  // 281
    {"_COVEVT_CHANGE_INCOME_PROVINCE_", EventLayout::Data, 24, false},               // 282
    {"_COVEVT_REQ_START_BUILD_IMPROVEMENT_", EventLayout::Improvement, 40, false},   // 283
    {"_COVEVT_EXEC_START_BUILD_IMPROVEMENT_", EventLayout::Improvement, 40, false},  // 284
    {"_COVEVT_FINISH_BUILD_IMPROVEMENT_", EventLayout::Improvement, 40, false},      // 285
    {"_COVEVT_CREATE_PRODUCTION_FACILITY_", EventLayout::Data, 24, false},           // 286
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 287
    {"_COVEVT_CHANGE_TE_", EventLayout::Data, 24, false},                            // 288
    {"_COVEVT_CHANGE_PE_", EventLayout::Data, 24, false},                            // 289
    {"_COVEVT_TRADE_RESTRICTIONS_", EventLayout::Simple, 20, false},                 // 290
    {"_COVEVT_CREATE_COT_", EventLayout::Data, 24, false},                           // 291
    {"_COVEVT_CREATE_BANK_", EventLayout::Simple, 20, false},                        // 292
    {"_COVEVT_CREATE_STOCK_", EventLayout::Simple, 20, false},                       // 293
    {"_COVEVT_GOLD_LOST_", EventLayout::Simple, 20, false},                          // 294
    {"_COVEVT_ADD_OWNERAREA_", EventLayout::Simple, 20, false},                      // 295
    {"_COVEVT_REQ_RELATION_", EventLayout::Data, 40, false},                         // 296
    {"_COVEVT_EXEC_RELATION_", EventLayout::Data, 40, false},                        // 297
    {"_COVEVT_SET_MINISTER_", EventLayout::Data, 108, false},                        // 298
    {"_COVEVT_REMOVE_MINISTER_", EventLayout::Simple, 20, false},                    // 299
    {"_COVEVT_START_EVENT_", EventLayout::Data, 116, false},                         // 300
    {"_COVEVT_START_GAME_TIMER_", EventLayout::Simple, 20, false},                   // 301
    {"_COVEVT_PLAYER_START_", EventLayout::Data, 24, false},                         // 302
    {nullptr, EventLayout::Data, 28, false},                                         // 303
    {"_COVEVT_WHITE_PEACE_", EventLayout::Data, 28, false},                          // 304
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 305
    {nullptr, EventLayout::LocalOnly, 0, true},                                      // 306
    {nullptr, EventLayout::TimerDate, 24, false},                                    // 307
    {"_COVEVT_TIMER_DATE_", EventLayout::TimerDate, 24, false},                      // 308
    {"_COVEVT_PING_", EventLayout::TimerDate, 24, false},                            // 309
    {nullptr, EventLayout::TimerDate, 24, false},                                    // 310
    {nullptr, EventLayout::Data, 28, false},                                         // 311
    {nullptr, EventLayout::Data, 16412, false},                                      // 312
    {nullptr, EventLayout::TimerDate, 24, false},                                    // 313
    {nullptr, EventLayout::Data, 28, false},                                         // 314
    {"_COVEVT_CHECK_ECO_DATA_", EventLayout::TimerDate, 24, false},                  // 315
    {"_COVEVT_UNITSIZELOSSES_", EventLayout::Data, 44, false},                       // 316
}};

constexpr uint32_t kCountryIdType = 3;

} // namespace

const std::array<EventTypeInfo, EVENT_TYPE_COUNT>& GetEventTypeTable() {
    return kEventTypes;
}

const EventTypeInfo* GetEventTypeInfo(uint32_t type) {
    return type < EVENT_TYPE_COUNT ? &kEventTypes[type] : nullptr;
}

std::string GetEventTypeName(uint32_t type) {
    const EventTypeInfo* info = GetEventTypeInfo(type);
    if (info && info->name)
        return info->name;
    return "Uknown event " + std::to_string(type);
}

std::string GetEventTypeName(const COVEvent& event) {
    return GetEventTypeName(event.GetType());
}

const char* GetEventLayoutClassName(EventLayout layout) {
    switch (layout) {
    case EventLayout::LocalOnly:
        return "";
    case EventLayout::Data:
        return "COVDataEvent";
    case EventLayout::Simple:
        return "COVSimpleEvent";
    case EventLayout::Province:
        return "COVProvinceEvent";
    case EventLayout::Pause:
        return "COVPauseEvent";
    case EventLayout::TimerDate:
        return "COVTimerDateEvent";
    case EventLayout::Timer:
        return "COVTimerEvent";
    case EventLayout::Annexation:
        return "COVAnnexationEvent";
    case EventLayout::Construction:
        return "COVConstructionEvent";
    case EventLayout::SendDate:
        return "COVSendDateEvent";
    case EventLayout::Fortress:
        return "COVFortressEvent";
    case EventLayout::WarPact:
        return "COVWarPactEvent";
    case EventLayout::Alliance:
        return "COVAllianceEvent";
    case EventLayout::Peace:
        return "COVPeaceEvent";
    case EventLayout::Combat:
        return "COVCombatEvent";
    case EventLayout::MergeWar:
        return "COVMergeWarEvent";
    case EventLayout::Improvement:
        return "COVImprovementEvent";
    case EventLayout::CreateAlliance:
        return "COVCreateAllianceEvent";
    case EventLayout::War:
        return "COVWarEvent";
    case EventLayout::Loan:
        return "CLoanEvent";
    case EventLayout::Colonist:
        return "COVColonistEvent";
    case EventLayout::Merchant:
        return "COVMerchantEvent";
    case EventLayout::CreateArmyOnFleet:
        return "COVCreateArmyOnFleetEvent";
    case EventLayout::Fleet:
        return "COVFleetEvent";
    case EventLayout::Army:
        return "COVArmyEvent";
    case EventLayout::CreateMonarch:
        return "COVCreateMonarchEvent";
    case EventLayout::CreateLeader:
        return "COVCreateLeaderEvent";
    case EventLayout::Scenario:
        return "COVScenarioEvent";
    case EventLayout::Chat:
        return "COVChatEvent";
    case EventLayout::UnitMovePath:
        return "COVUnitMovePathEvent";
    case EventLayout::ProvinceBattle:
        return "COVProvinceBattleEvent";
    case EventLayout::CreateCountry:
        return "COVCreateCountryEvent";
    }
    return "";
}

bool IsVariableLayout(EventLayout layout) {
    return layout == EventLayout::Chat || layout == EventLayout::UnitMovePath ||
           layout == EventLayout::ProvinceBattle || layout == EventLayout::CreateCountry;
}

bool IsLocalOnlyEvent(uint32_t type) {
    const EventTypeInfo* info = GetEventTypeInfo(type);
    return info && info->localOnly;
}

uint16_t GetEventPayloadSize(uint32_t type) {
    const EventTypeInfo* info = GetEventTypeInfo(type);
    return info ? info->payloadSize : 0;
}

namespace {

template <class T> std::unique_ptr<COVEvent> CopyAs(const COVEvent& source) {
    return std::make_unique<T>(source);
}

} // namespace

std::unique_ptr<COVEvent> CreateEventCopy(const COVEvent& source) {
    const EventTypeInfo* info = GetEventTypeInfo(source.GetType());
    if (!info || info->localOnly)
        return nullptr;
    switch (info->layout) {
    case EventLayout::LocalOnly:
        return nullptr;
    case EventLayout::Data:
        return CopyAs<COVDataEvent>(source);
    case EventLayout::Simple:
        return CopyAs<COVSimpleEvent>(source);
    case EventLayout::Province:
        return CopyAs<COVProvinceEvent>(source);
    case EventLayout::Pause:
        return CopyAs<COVPauseEvent>(source);
    case EventLayout::TimerDate:
        return CopyAs<COVTimerDateEvent>(source);
    case EventLayout::Timer:
        return CopyAs<COVTimerEvent>(source);
    case EventLayout::Annexation:
        return CopyAs<COVAnnexationEvent>(source);
    case EventLayout::Construction:
        return CopyAs<COVConstructionEvent>(source);
    case EventLayout::SendDate:
        return CopyAs<COVSendDateEvent>(source);
    case EventLayout::Fortress:
        return CopyAs<COVFortressEvent>(source);
    case EventLayout::WarPact:
        return CopyAs<COVWarPactEvent>(source);
    case EventLayout::Alliance:
        return CopyAs<COVAllianceEvent>(source);
    case EventLayout::Peace:
        return CopyAs<COVPeaceEvent>(source);
    case EventLayout::Combat:
        return CopyAs<COVCombatEvent>(source);
    case EventLayout::MergeWar:
        return CopyAs<COVMergeWarEvent>(source);
    case EventLayout::Improvement:
        return CopyAs<COVImprovementEvent>(source);
    case EventLayout::CreateAlliance:
        return CopyAs<COVCreateAllianceEvent>(source);
    case EventLayout::War:
        return CopyAs<COVWarEvent>(source);
    case EventLayout::Loan:
        return CopyAs<CLoanEvent>(source);
    case EventLayout::Colonist:
        return CopyAs<COVColonistEvent>(source);
    case EventLayout::Merchant:
        return CopyAs<COVMerchantEvent>(source);
    case EventLayout::CreateArmyOnFleet:
        return CopyAs<COVCreateArmyOnFleetEvent>(source);
    case EventLayout::Fleet:
        return CopyAs<COVFleetEvent>(source);
    case EventLayout::Army:
        return CopyAs<COVArmyEvent>(source);
    case EventLayout::CreateMonarch:
        return CopyAs<COVCreateMonarchEvent>(source);
    case EventLayout::CreateLeader:
        return CopyAs<COVCreateLeaderEvent>(source);
    case EventLayout::Scenario:
        return CopyAs<COVScenarioEvent>(source);
    case EventLayout::Chat:
        return CopyAs<COVChatEvent>(source);
    case EventLayout::UnitMovePath:
        return CopyAs<COVUnitMovePathEvent>(source);
    case EventLayout::ProvinceBattle:
        return CopyAs<COVProvinceBattleEvent>(source);
    case EventLayout::CreateCountry:
        return CopyAs<COVCreateCountryEvent>(source);
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Layout classes

namespace {

ObjectId CountryAt(const COVEvent& event, size_t offset) {
    return ObjectId(kCountryIdType, event.Payload().GetU32(offset));
}

template <size_t N>
void PutValues(COVEventData& data, size_t offset, const std::array<uint32_t, N>& values) {
    for (size_t i = 0; i < N; ++i)
        data.SetU32(offset + 4 * i, values[i]);
}

} // namespace

COVDataEvent::COVDataEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(GetEventPayloadSize(type), type, receiver) {}

COVProvinceEvent::COVProvinceEvent(uint32_t type, const ObjectId& receiver, uint32_t province)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, province);
}

COVPauseEvent::COVPauseEvent(uint32_t type, const ObjectId& receiver, uint32_t value)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, value);
}

COVTimerDateEvent::COVTimerDateEvent(uint32_t type, const ObjectId& receiver, uint32_t count)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, count);
}

COVTimerEvent::COVTimerEvent(uint32_t type, const ObjectId& receiver, const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().SetDate(20, date);
}

COVAnnexationEvent::COVAnnexationEvent(uint32_t type, const ObjectId& receiver, uint32_t country,
                                       uint32_t value)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, country);
    Payload().SetU32(24, value);
}

ObjectId COVAnnexationEvent::GetExtraId() const {
    return CountryAt(*this, 20);
}

COVConstructionEvent::COVConstructionEvent(uint32_t type, const ObjectId& receiver, uint32_t a,
                                           uint32_t b, uint32_t c)
    : COVEvent(kSize, type, receiver) {
    PutValues<3>(Payload(), 20, {a, b, c});
}

COVSendDateEvent::COVSendDateEvent(uint32_t type, const ObjectId& receiver, uint32_t value,
                                   const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, value);
    Payload().SetDate(24, date);
}

COVFortressEvent::COVFortressEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                                   uint32_t c, uint32_t d)
    : COVEvent(kSize, type, receiver) {
    PutValues<4>(Payload(), 20, {a, b, c, d});
}

COVWarPactEvent::COVWarPactEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

ObjectId COVWarPactEvent::GetExtraId() const {
    return CountryAt(*this, 32);
}

COVAllianceEvent::COVAllianceEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

ObjectId COVAllianceEvent::GetExtraId() const {
    return CountryAt(*this, 32);
}

COVPeaceEvent::COVPeaceEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                             uint32_t c, uint32_t country)
    : COVEvent(kSize, type, receiver) {
    PutValues<4>(Payload(), 20, {a, b, c, country});
}

ObjectId COVPeaceEvent::GetExtraId() const {
    return CountryAt(*this, 32);
}

COVCombatEvent::COVCombatEvent(uint32_t type, const ObjectId& receiver, uint32_t value,
                               const ObjectId& id, const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, value);
    Payload().SetId(24, id);
    Payload().SetDate(32, date);
}

COVMergeWarEvent::COVMergeWarEvent(uint32_t type, const ObjectId& receiver,
                                   const std::array<uint32_t, 5>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 20, values);
}

COVImprovementEvent::COVImprovementEvent(uint32_t type, const ObjectId& receiver,
                                         const std::array<uint32_t, 5>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 20, values);
}

COVCreateAllianceEvent::COVCreateAllianceEvent(uint32_t type, const ObjectId& receiver, uint32_t a,
                                               uint32_t b, uint32_t c, const CDate& date,
                                               uint32_t d)
    : COVEvent(kSize, type, receiver) {
    PutValues<3>(Payload(), 24, {a, b, c});
    Payload().SetDate(40, date);
    Payload().SetU32(48, d);
}

COVWarEvent::COVWarEvent(uint32_t type, const ObjectId& receiver,
                         const std::array<uint32_t, 8>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 20, values);
}

ObjectId COVWarEvent::GetExtraId() const {
    return CountryAt(*this, 44);
}

CLoanEvent::CLoanEvent(uint32_t type, const ObjectId& receiver, const ObjectId& country, uint32_t a,
                       uint32_t b, const CDate& date, uint32_t c)
    : COVEvent(kSize, type, receiver) {
    Payload().SetId(28, country);
    Payload().SetU32(36, a);
    Payload().SetU32(40, b);
    Payload().SetDate(44, date);
    Payload().SetU32(52, c);
}

COVColonistEvent::COVColonistEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                                   uint32_t c, uint32_t d)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(44, a);
    Payload().SetU32(20, b);
    Payload().SetU32(52, c);
    Payload().SetU32(56, d);
}

COVFacilityEvent::COVFacilityEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                                   uint32_t c, uint32_t d)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, a);
    PutValues<3>(Payload(), 48, {b, c, d});
}

COVMerchantEvent::COVMerchantEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVCreateArmyOnFleetEvent::COVCreateArmyOnFleetEvent(uint32_t type, const ObjectId& receiver,
                                                     const std::array<uint32_t, 9>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 44, values);
}

COVFleetEvent::COVFleetEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVArmyEvent::COVArmyEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVCreateMonarchEvent::COVCreateMonarchEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVPeaceOfferEvent::COVPeaceOfferEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVCreateLeaderEvent::COVCreateLeaderEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVScenarioEvent::COVScenarioEvent(uint32_t startValue, std::string_view fileName,
                                   uint32_t fileSize, uint32_t byteSum)
    : COVEvent(kSize, EVT_APPMSG_SCENARIO, g_broadcastId) {
    Payload().SetU32(20, startValue);
    Payload().SetText(24, kNameSize, fileName);
    Payload().SetU32(152, fileSize);
    Payload().SetU32(156, byteSum);
}

COVChatEvent::COVChatEvent(std::string_view text, uint32_t sender, const ObjectId& receiver)
    : COVEvent(SizeFor(std::min(text.size(), kMaxTextLength)), EVT_APPMSG_CHATSTRING, receiver) {
    const size_t length = std::min(text.size(), kMaxTextLength) + 1;
    Payload().SetU32(20, sender);
    Payload().SetU16(24, static_cast<uint16_t>(length));
    Payload().SetText(26, length, text);
}

std::string COVChatEvent::GetText() const {
    return Payload().GetText(26, Payload().GetU16(24));
}

COVUnitMovePathEvent::COVUnitMovePathEvent(const ObjectId& receiver, uint8_t value,
                                           const std::vector<uint16_t>& provinces)
    : COVEvent(SizeFor(std::min(provinces.size(), kMaxSteps)), EVT_UNITMOVEPATH, receiver) {
    const size_t count = std::min(provinces.size(), kMaxSteps);
    Payload().SetU16(28, value);
    Payload().SetU16(30, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        Payload().SetU16(32 + 2 * i, provinces[i]);
}

ObjectId COVUnitMovePathEvent::GetExtraId() const {
    return g_unitServerId;
}

COVCountedEvent::COVCountedEvent(uint32_t type, const ObjectId& receiver,
                                 const std::vector<uint32_t>& entries)
    : COVEvent(SizeFor(std::min(entries.size(), kMaxEntries)), type, receiver) {
    const size_t count = std::min(entries.size(), kMaxEntries);
    Payload().SetU16(28, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        Payload().SetU32(32 + 4 * i, entries[i]);
}
