#include "net/Receivers.h"

#include "net/Event.h"

std::array<MessageReceiverFunction, kBroadcastSlotCount> g_broadcastReceivers{};
DirectReceivers g_directReceivers;

int OfferToSlot(BroadcastSlot slot, COVEvent& event) {
    const MessageReceiverFunction receiver = g_broadcastReceivers[slot];
    return receiver ? receiver(event) : EVENT_NOT_HANDLED;
}

bool RegisterBroadcastReceiver(BroadcastSlot slot, MessageReceiverFunction receiver) {
    g_broadcastReceivers[slot] = receiver;
    return true;
}

CIdEntity* FindGameServer() {
    return g_directReceivers.gameServer ? g_directReceivers.gameServer() : nullptr;
}

CEventHandler* FindHostDispatcher() {
    return g_directReceivers.hostDispatcher ? g_directReceivers.hostDispatcher() : nullptr;
}

CEventHandler* FindCountryHandler(uint32_t number) {
    return g_directReceivers.country ? g_directReceivers.country(number) : nullptr;
}
