#pragma once
// The receivers above net/ that messages reach: the fixed slots of the
// broadcast chain and the objects that directed messages and the console key
// are handed to. net/ names none of them. Each owner fills its entry once, by
// a static registration in the file that defines the object it answers for,
// so every program that links the owner has it before main runs. An empty
// entry answers as a missing object does: EVENT_NOT_HANDLED, no handler.
//
// The broadcast chain (COVEvent::Execute for g_broadcastId) offers a message
// to the slots in this order. The rules of each step belong to the chain,
// not to the receivers:
//   kSlotGameMenu        the open in-game menu: an answer other than
//                        EVENT_NOT_HANDLED ends the chain with that answer
//   kSlotMainScreen      EVT_GAME_WINNER only, which ends there with its answer
//   kSlotFrontEnd        while no game runs (IsGameRunning): the chain ends
//                        with its answer
//   kSlotScenario        while a game runs; the answer is not used
//   kSlotHostDispatcher  while a game runs; the answer is not used
//   (the session)        net's own: EVENT_CONSUMED ends the chain
//   kSlotMap             once the game has started (IsGameStarted); the
//   kSlotGlobals         answers are not used
//   kSlotGameFrame       once the game has started; its answer is kept
//   kSlotCountries       only when the game frame answered EVENT_NOT_HANDLED
// Last, while a game runs, EVT_START_GAME_TIMER with an armed game clock ends
// the wait for the start and resumes the clock (EVENT_CONSUMED).
#include <array>
#include <cstddef>
#include <cstdint>

#include "net/Event.h"

class CEventHandler;
class CIdEntity;

// A receiver's answer to a message: EVENT_NOT_HANDLED or EVENT_CONSUMED (or
// the owner's own answer).
using MessageReceiverFunction = int (*)(COVEvent& event);

enum BroadcastSlot : size_t {
    kSlotGameMenu,       // dialogs
    kSlotMainScreen,     // ui
    kSlotFrontEnd,       // frontend
    kSlotScenario,       // world
    kSlotHostDispatcher, // military
    kSlotMap,            // world
    kSlotGlobals,        // world
    kSlotGameFrame,      // dialogs; input events go to it too (net/InputEvent.h)
    kSlotCountries,      // country: the list of countries, the first answer
    kBroadcastSlotCount
};

// Constant-initialised (all empty) before any registration runs.
extern std::array<MessageReceiverFunction, kBroadcastSlotCount> g_broadcastReceivers;

// The answer of the slot's receiver; EVENT_NOT_HANDLED for an empty slot.
int OfferToSlot(BroadcastSlot slot, COVEvent& event);

// The receiver of an owner whose object is held by a global (a pointer or a
// std::unique_ptr): the object's HandleMessage, or EVENT_NOT_HANDLED while
// there is none. &OfferToHolder<g_map> is the map's receiver function.
template <auto& holder> int OfferToHolder(COVEvent& event) {
    return holder ? holder->HandleMessage(event) : EVENT_NOT_HANDLED;
}

// Fills the slot with the receiver; answers true, so that an owner registers
// with one namespace-scope initialiser:
//     const bool g_mapRegistered = RegisterBroadcastReceiver(kSlotMap, &OfferToHolder<g_map>);
bool RegisterBroadcastReceiver(BroadcastSlot slot, MessageReceiverFunction receiver);

// The single receivers of directed messages and of the console key. The
// finders answer null while their object does not exist; the console's
// entry answers EVENT_NOT_HANDLED then.
struct DirectReceivers {
    // military: the game server, for receiver type 8 and g_serverId.
    CIdEntity* (*gameServer)() = nullptr;
    // military: the host request dispatcher, for the other receivers of type 2.
    CEventHandler* (*hostDispatcher)() = nullptr;
    // country: the country of the number, for receiver {3, number}; null for
    // an empty slot and a number beyond the table.
    CEventHandler* (*country)(uint32_t number) = nullptr;
    // dialogs: the console takes its toggle (EVT_TOGGLE_CONSOLE) straight
    // from the key function.
    MessageReceiverFunction console = nullptr;
};

// Constant-initialised (all null) before any registration runs.
extern DirectReceivers g_directReceivers;

// The finders' answers; null for an empty entry.
CIdEntity* FindGameServer();
CEventHandler* FindHostDispatcher();
CEventHandler* FindCountryHandler(uint32_t number);
