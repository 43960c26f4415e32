#pragma once
// For tests of the message delivery, in net/ and above: receivers that write
// their name into one shared log, and the directed deliveries by receiver
// type checked against whatever receivers the test has registered.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ObjectId.h"
#include "net/Event.h"
#include "net/EventTypes.h"

namespace nettest {

// Every recording receiver writes its name here when a message reaches it.
inline std::vector<std::string> g_log;

using Log = std::vector<std::string>;

// A registered game object with its own message handler; records its death.
class RecordingObject : public CIdObject, public CMessageReceiver {
public:
    explicit RecordingObject(const ObjectId& id) : CIdObject(id) {}
    ~RecordingObject() override { g_log.push_back("object deleted"); }
    int HandleMessage(COVEvent&) override {
        g_log.push_back("object");
        return EVENT_CONSUMED;
    }
};

class RecordingEntity : public CIdEntity, public CMessageReceiver {
public:
    explicit RecordingEntity(const ObjectId& id) { SetId(id); }
    ~RecordingEntity() override { g_log.push_back("entity deleted"); }
    int HandleMessage(COVEvent&) override {
        g_log.push_back("entity");
        return EVENT_CONSUMED;
    }
};

// Runs a message of the type to the receiver and answers Execute's answer.
using RunFunction = int (*)(uint32_t type, const ObjectId& receiver);

// Sends EVT_GAME_END to a receiver of every type and checks the answer and
// whom it reached. The test has registered a game server that records
// "server", a host dispatcher that records "request" (both answering
// EVENT_CONSUMED), country 2 recording "country2" and answering
// EVENT_NOT_HANDLED, and no country 3; the registered object 4712.5 and the
// entities 4713.9 and 7.3 are made here for the time of the check.
inline void ExpectRoutesByReceiverType(RunFunction run) {
    auto* object = new RecordingObject(ObjectId(4712, 5));
    RecordingEntity runtimeEntity(ObjectId(4713, 9));
    RecordingEntity entity(ObjectId(7, 3));

    struct Case {
        ObjectId receiver;
        int answer;
        Log log;
    };
    const Case cases[] = {
        {ObjectId(4712, 5), EVENT_CONSUMED, {"object"}},
        {ObjectId(4713, 9), EVENT_CONSUMED, {"entity"}},
        {ObjectId(4712, 77), 0, {}}, // known to no registry
        {ObjectId(7, 3), EVENT_CONSUMED, {"entity"}},
        {ObjectId(7, 4), 0, {}},
        {g_timerDateId, EVENT_CONSUMED, {"server"}},
        {g_serverId, EVENT_CONSUMED, {"server"}},
        {g_unitServerId, EVENT_CONSUMED, {"request"}},
        {g_hostDispatcherId, EVENT_CONSUMED, {"request"}},
        {ObjectId(3, 2), 0, {"country2"}},
        {ObjectId(3, 3), 0, {}},          // empty slot
        {ObjectId(3, 500), 0, {}},        // beyond the table
        {ObjectId(4, 17), 0, {}},         // a province record without a handler
        {ObjectId(4, 5000), 0, {}},       // no such province
        {ObjectId(1, 0xFFFFFFFF), 0, {}}, // chat groups reach nobody here
    };
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_EQ(run(EVT_GAME_END, c.receiver), c.answer)
            << c.receiver.type << "." << c.receiver.number;
        EXPECT_EQ(g_log, c.log) << c.receiver.type << "." << c.receiver.number;
    }
    delete object;
}

} // namespace nettest
