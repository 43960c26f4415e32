#include "engine/MessagePump.h"

namespace {
MessagePumpFunction g_messagePump = nullptr;
} // namespace

void SetMessagePump(MessagePumpFunction pump) {
    g_messagePump = pump;
}

int PumpOneMessage() {
    return g_messagePump != nullptr ? g_messagePump() : 0;
}
