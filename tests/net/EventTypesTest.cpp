#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "engine/Date.h"
#include "net/Event.h"
#include "net/EventTypes.h"

namespace {

std::vector<uint8_t> BytesOf(const COVEvent& event) {
    const uint8_t* bytes = event.Payload().Bytes();
    return std::vector<uint8_t>(bytes, bytes + event.Payload().Size());
}

TEST(EventTypesTest, TableNamesAreWellFormedAndUnique) {
    const std::regex gameName("_COVEVT_[A-Z0-9_]*[A-Z0-9]_");
    const std::regex appName("APP(MSG|SET)_[A-Z]+");
    std::map<std::string, std::vector<uint32_t>> ids;
    int named = 0;
    for (uint32_t type = 0; type < EVENT_TYPE_COUNT; ++type) {
        const EventTypeInfo& info = GetEventTypeTable()[type];
        if (!info.name) {
            EXPECT_EQ(GetEventTypeName(type), "Uknown event " + std::to_string(type));
            continue;
        }
        ++named;
        const std::string name = info.name;
        EXPECT_EQ(GetEventTypeName(type), name);
        if (type != EVT_SET_NATIVES) {
            EXPECT_TRUE(std::regex_match(name, gameName) || std::regex_match(name, appName))
                << type << " " << name;
        }
        ids[name].push_back(type);
    }
    EXPECT_EQ(named, 284);
    EXPECT_STREQ(GetEventTypeTable()[EVT_SET_NATIVES].name, "_COVVT_SET_NATIVES_");
    EXPECT_STREQ(GetEventTypeTable()[EVT_TIMER_MONTH].name, "_COVEVT_TIMER_MONTH_");
    EXPECT_STREQ(GetEventTypeTable()[EVT_APPMSG_CHATSTRING].name, "APPMSG_CHATSTRING");
    for (const auto& [name, types] : ids) {
        if (name == "_COVEVT_COMBAT_REMOVE_UNIT_") {
            EXPECT_EQ(types, (std::vector<uint32_t>{27, 28, 29}));
        } else {
            EXPECT_EQ(types.size(), 1u) << name;
        }
    }
}

TEST(EventTypesTest, UnknownNamesAreEachTheirOwnText) {
    const std::string first = GetEventTypeName(177);
    const std::string second = GetEventTypeName(400);
    EXPECT_EQ(first, "Uknown event 177");
    EXPECT_EQ(second, "Uknown event 400");
    EXPECT_EQ(GetEventTypeInfo(317), nullptr);
}

TEST(EventTypesTest, LocalOnlyTypesHaveNoClassAndTheOthersHaveOne) {
    const std::set<uint32_t> localOnly = {4,  7,  12, 13,  14,  15,  16,  17,  18,  19,  20,
                                          24, 44, 81, 180, 184, 203, 241, 261, 287, 305, 306};
    for (uint32_t type = 0; type < EVENT_TYPE_COUNT; ++type) {
        SCOPED_TRACE(type);
        const EventTypeInfo& info = GetEventTypeTable()[type];
        const bool local = localOnly.count(type) > 0;
        EXPECT_EQ(info.localOnly, local);
        EXPECT_EQ(IsLocalOnlyEvent(type), local);
        EXPECT_EQ(info.layout == EventLayout::LocalOnly, local);

        COVDataEvent source(type, g_broadcastId);
        std::unique_ptr<COVEvent> made = CreateEventCopy(source);
        if (local) {
            EXPECT_EQ(made, nullptr);
            continue;
        }
        EXPECT_GE(info.payloadSize, EVENT_HEAD_SIZE);
        if (!IsVariableLayout(info.layout)) {
            EXPECT_EQ(info.payloadSize % 4, 0);
            EXPECT_EQ(source.GetPayloadSize(), info.payloadSize);
        }
        ASSERT_NE(made, nullptr);
        // The rebuilt message is of the type's class and holds the payload.
        const std::string className = GetEventLayoutClassName(info.layout);
        const COVEvent& rebuilt = *made;
        EXPECT_NE(std::string(typeid(rebuilt).name()).find(className), std::string::npos)
            << className;
        EXPECT_EQ(BytesOf(*made), BytesOf(source));
        EXPECT_EQ(made->GetType(), type);
    }
    COVSimpleEvent beyond(400, g_broadcastId);
    EXPECT_EQ(CreateEventCopy(beyond), nullptr);
}

TEST(EventTypesTest, RebuiltMessageKeepsTheSizeItArrivedWith) {
    // A facility request is built with 60 bytes and a peace offer with 100;
    // the classes of their types are smaller.
    COVFacilityEvent facility(EVT_REQ_BUILD_FACILITY, ObjectId(2, 6), 1, 2, 3, 4);
    COVPeaceOfferEvent offer(EVT_REQ_CREATE_PEACE_OFFER, ObjectId(3, 4));
    offer.Payload().Set(COVPeaceOfferEvent::kTerms[15], 0xABCD);
    for (const COVEvent* source :
         {static_cast<const COVEvent*>(&facility), static_cast<const COVEvent*>(&offer)}) {
        std::unique_ptr<COVEvent> made = CreateEventCopy(*source);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->GetPayloadSize(), source->GetPayloadSize());
        EXPECT_EQ(BytesOf(*made), BytesOf(*source));
    }
    EXPECT_NE(dynamic_cast<COVPeaceEvent*>(CreateEventCopy(offer).get()), nullptr);
}

TEST(EventTypesTest, VariableLayoutsAreSizedFromTheirCounts) {
    COVChatEvent empty("", 0xFFFFFFFF, g_allPlayersChatId);
    EXPECT_EQ(empty.GetPayloadSize(), 31);
    EXPECT_EQ(empty.Payload().Get(COVChatEvent::kLength), 1);

    COVChatEvent chat("hello", 7, g_allPlayersChatId);
    EXPECT_EQ(chat.GetPayloadSize(), 36);
    EXPECT_EQ(chat.GetType(), EVT_APPMSG_CHATSTRING);
    EXPECT_EQ(chat.GetSender(), 7u);
    EXPECT_EQ(chat.Payload().Get(COVChatEvent::kLength), 6);
    EXPECT_EQ(chat.Payload().Get(COVChatEvent::kText.WithSize(6)), "hello");
    EXPECT_EQ(chat.GetText(), "hello");

    COVUnitMovePathEvent noSteps(ObjectId(4712, 3), 2, {});
    EXPECT_EQ(noSteps.GetPayloadSize(), 38);
    COVUnitMovePathEvent path(ObjectId(4712, 3), 200, {12, 13, 1472});
    EXPECT_EQ(path.GetPayloadSize(), 44);
    EXPECT_EQ(path.GetType(), EVT_UNITMOVEPATH);
    EXPECT_EQ(path.GetValue(), 200);
    EXPECT_EQ(path.GetCount(), 3);
    EXPECT_EQ(path.Payload().Get(COVUnitMovePathEvent::kSteps[2]), 1472);
    EXPECT_EQ(path.GetStep(0), 12);

    COVProvinceBattleEvent battle(EVT_PROVBATTLEWON, ObjectId(3, 9), {5, 0x01020304});
    EXPECT_EQ(battle.GetPayloadSize(), 46);
    EXPECT_EQ(battle.GetCount(), 2);
    EXPECT_EQ(battle.Payload().Get(COVCountedEvent::kEntries[1]), 0x01020304u);
    EXPECT_EQ(battle.GetEntry(0), 5u);
    COVCreateCountryEvent country(g_broadcastId, {});
    EXPECT_EQ(country.GetPayloadSize(), 38);
    EXPECT_EQ(country.GetType(), EVT_CREATE_COUNTRY);
}

TEST(EventTypesTest, VariableLayoutsStayWithinTheLargestPayload) {
    COVChatEvent longChat(std::string(70000, 'x'), 1, g_allPlayersChatId);
    EXPECT_EQ(longChat.Payload().Size(), EVENT_MAX_PAYLOAD_SIZE);
    EXPECT_EQ(longChat.GetPayloadSize(), EVENT_MAX_PAYLOAD_SIZE);
    EXPECT_EQ(longChat.GetText().size(), COVChatEvent::kMaxTextLength);

    COVUnitMovePathEvent path(ObjectId(6, 2), 1, std::vector<uint16_t>(40000, 7));
    EXPECT_EQ(path.GetCount(), COVUnitMovePathEvent::kMaxSteps);
    EXPECT_EQ(path.Payload().Size(),
              COVUnitMovePathEvent::SizeFor(COVUnitMovePathEvent::kMaxSteps));
    EXPECT_LE(path.Payload().Size(), EVENT_MAX_PAYLOAD_SIZE);
    EXPECT_GT(COVUnitMovePathEvent::SizeFor(COVUnitMovePathEvent::kMaxSteps + 1),
              EVENT_MAX_PAYLOAD_SIZE);

    COVProvinceBattleEvent battle(EVT_PROVSIEGEWON, ObjectId(3, 9),
                                  std::vector<uint32_t>(20000, 1));
    EXPECT_EQ(battle.GetCount(), COVCountedEvent::kMaxEntries);
    EXPECT_EQ(battle.Payload().Size(), COVCountedEvent::SizeFor(COVCountedEvent::kMaxEntries));
    EXPECT_LE(battle.Payload().Size(), EVENT_MAX_PAYLOAD_SIZE);
    EXPECT_GT(COVCountedEvent::SizeFor(COVCountedEvent::kMaxEntries + 1), EVENT_MAX_PAYLOAD_SIZE);
}

TEST(EventTypesTest, ChatTextIsNeverReadPastThePayload) {
    COVChatEvent chat("hi", 1, g_allPlayersChatId);
    chat.Payload().Set(COVChatEvent::kLength, 60000); // a length that lies
    COVChatEvent rebuilt(static_cast<const COVEvent&>(chat));
    EXPECT_EQ(rebuilt.GetText(), "hi");
}

TEST(EventTypesTest, ConstructorsFillTheirFields) {
    COVColonistEvent colonist(EVT_SEND_COLONIST, ObjectId(3, 2), 11, 22, 33, 44);
    const COVEventData& journey = colonist.Payload();
    EXPECT_EQ(colonist.GetPayloadSize(), 60);
    EXPECT_EQ(journey.Get(COVColonistEvent::kCountry), 11u);
    EXPECT_EQ(journey.Get(COVColonistEvent::kProvince), 22u);
    EXPECT_EQ(journey.Get(COVColonistEvent::kSuccess), 33u);
    EXPECT_EQ(journey.Get(COVColonistEvent::kValue), 44u);

    CLoanEvent loan(EVT_REQ_GETLOAN, ObjectId(2, 6), ObjectId(3, 8), 100, 5, CDate(1, 2, 1500), 9);
    const COVEventData& terms = loan.Payload();
    EXPECT_EQ(loan.GetPayloadSize(), 56);
    EXPECT_EQ(terms.Get(PayloadField<uint32_t>{"first", EVENT_HEAD_SIZE}), 0u);
    EXPECT_EQ(terms.Get(CLoanEvent::kLender), ObjectId(3, 8));
    EXPECT_EQ(terms.Get(CLoanEvent::kAmount), 100u);
    EXPECT_EQ(terms.Get(CLoanEvent::kInterest), 5u);
    EXPECT_EQ(terms.Get(CLoanEvent::kDate), CDate(1, 2, 1500));
    EXPECT_EQ(terms.Get(CLoanEvent::kBorrower), 9u);

    COVFacilityEvent facility(EVT_REQ_BUILD_FACILITY, ObjectId(2, 6), 1, 2, 3, 4);
    EXPECT_EQ(facility.Payload().Get(COVFacilityEvent::kProvince), 1u);
    EXPECT_EQ(facility.Payload().Get(COVFacilityEvent::kKind), 2u);
    EXPECT_EQ(facility.Payload().Get(COVFacilityEvent::kCost), 3u);
    EXPECT_EQ(facility.Payload().Get(COVFacilityEvent::kCountry), 4u);

    const std::array<uint32_t, 8> war = {1, 2, 3, 4, 5, 6, 7, 8};
    COVWarEvent warEvent(EVT_REQ_SETUP_WAR, ObjectId(2, 7), war);
    EXPECT_EQ(warEvent.Payload().Get(COVWarEvent::kAlliances[5]), 6u);
    EXPECT_EQ(warEvent.Payload().Get(COVWarEvent::kCountry), 7u);
    EXPECT_EQ(warEvent.Payload().Get(COVWarEvent::kOther), 8u);

    COVPeaceEvent answer(EVT_REQ_ACCEPT_PEACE, ObjectId(2, 7), 5, ObjectId(4712, 9), 6);
    EXPECT_EQ(answer.Payload().Get(COVPeaceEvent::kOther), 5u);
    EXPECT_EQ(answer.Payload().Get(COVPeaceEvent::kOffer), ObjectId(4712, 9));
    EXPECT_EQ(answer.Payload().Get(COVPeaceEvent::kCountry), 6u);

    COVScenarioEvent scenario(3, std::string(200, 'a'), 1234, 99);
    // The file name's bytes, to see its terminating zero.
    const PayloadArray<uint8_t, COVScenarioEvent::kFileName.size> nameBytes{
        "file name", COVScenarioEvent::kFileName.offset};
    EXPECT_EQ(scenario.GetType(), EVT_APPMSG_SCENARIO);
    EXPECT_EQ(scenario.GetReceiver(), g_broadcastId);
    EXPECT_EQ(scenario.GetStartValue(), 3u);
    EXPECT_EQ(scenario.GetFileName(), std::string(127, 'a'));
    EXPECT_EQ(scenario.Payload().Get(nameBytes[126]), 'a');
    EXPECT_EQ(scenario.Payload().Get(nameBytes[127]), 0);
    EXPECT_EQ(scenario.GetFileSize(), 1234u);
    EXPECT_EQ(scenario.GetByteSum(), 99u);

    COVTimerEvent month(EVT_TIMER_MONTH, g_broadcastId, CDate(0, 5, 1492));
    EXPECT_EQ(month.GetPayloadSize(), 28);
    EXPECT_EQ(month.GetDate(), CDate(0, 5, 1492));
}

TEST(EventTypesTest, ExtraIdNamesTheOtherCountry) {
    COVAnnexationEvent annexation(EVT_REQ_OFFER_ANNEXATION, ObjectId(3, 1), 17, 0);
    COVAllianceEvent alliance(EVT_ALLIANCE_ADD_OFFER, ObjectId(3, 1));
    alliance.Payload().Set(COVAllianceEvent::kExtraCountry, 18);
    COVWarPactEvent pact(EVT_INVITE_TO_WARPACT, ObjectId(3, 1));
    pact.Payload().Set(COVWarPactEvent::kCountry, 19);
    COVPeaceEvent peace(EVT_OFFER_PEACE, ObjectId(3, 1), 0, g_nullId, 20);
    std::array<uint32_t, 8> war{};
    war[6] = 21; // the country
    COVWarEvent warEvent(EVT_WE_DECLARE_WAR, ObjectId(3, 1), war);

    EXPECT_EQ(annexation.GetExtraId(), ObjectId(3, 17));
    EXPECT_EQ(alliance.GetExtraId(), ObjectId(3, 18));
    EXPECT_EQ(pact.GetExtraId(), ObjectId(3, 19));
    EXPECT_EQ(peace.GetExtraId(), ObjectId(3, 20));
    EXPECT_EQ(warEvent.GetExtraId(), ObjectId(3, 21));
    EXPECT_EQ(COVUnitMovePathEvent(ObjectId(4712, 1), 0, {}).GetExtraId(), g_unitServerId);
    EXPECT_EQ(COVSimpleEvent(EVT_GAME_END, g_broadcastId).GetExtraId(), g_nullId);
    // The rebuilt message answers the same.
    EXPECT_EQ(CreateEventCopy(warEvent)->GetExtraId(), ObjectId(3, 21));
}

} // namespace
