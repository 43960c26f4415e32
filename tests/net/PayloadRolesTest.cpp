// The check of a received payload's country numbers, province ids and
// counts: each bad number drops the message at receipt with the field and
// value named, good messages of every checked type come through, and the
// numbers that mean "none" pass.
#include "net/PayloadRoles.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ObjectId.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "tests/net/GoodPayload.h"

namespace {

using testing_payload::MakeGood;

// A payload of the type of its table size (a counted layout with the given
// entries) addressed to country 1, every number with a role made good.
COVEventData GoodPayload(uint32_t type, uint16_t entries = 2) {
    const EventTypeInfo& info = *GetEventTypeInfo(type);
    COVEventData payload(info.payloadSize);
    switch (info.layout) {
    case EventLayout::ProvinceBattle:
    case EventLayout::CreateCountry:
        payload = COVEventData(COVCountedEvent::SizeFor(entries));
        payload.Set(COVCountedEvent::kCount, entries);
        break;
    case EventLayout::UnitMovePath:
        payload = COVEventData(COVUnitMovePathEvent::SizeFor(entries));
        payload.Set(COVUnitMovePathEvent::kCount, entries);
        break;
    default:
        break;
    }
    payload.SetTypeId(type);
    payload.SetReceiver(ObjectId(kCountryObjectType, 1));
    MakeGood(payload);
    return payload;
}

// The message rebuilt from the payload's wire form.
std::unique_ptr<COVEvent> Received(const COVEventData& payload) {
    COVNetEvent wrapper(COVEvent(std::make_unique<COVEventData>(payload)));
    const std::vector<uint8_t> block = wrapper.GetBlock();
    return ReceiveEvent(block.data(), block.size());
}

struct Bad {
    uint32_t type;
    PayloadFieldInfo field;
    int64_t value; // an id field: the number of an id of the type below
    uint16_t idType = 0;
};

void Put(COVEventData& payload, const Bad& c) {
    switch (c.field.type) {
    case PayloadType::U8:
        payload.SetU8(c.field.offset, static_cast<uint8_t>(c.value));
        break;
    case PayloadType::U16:
        payload.SetU16(c.field.offset, static_cast<uint16_t>(c.value));
        break;
    case PayloadType::Id:
        payload.SetId(c.field.offset, ObjectId(c.idType, static_cast<uint32_t>(c.value)));
        break;
    default:
        payload.SetU32(c.field.offset, static_cast<uint32_t>(c.value));
    }
}

constexpr uint16_t kCountryId = kCountryObjectType;
constexpr uint16_t kProvince = kProvinceIdType;

} // namespace

TEST(PayloadRolesTest, EachBadNumberDropsTheMessageNamingFieldAndValue) {
    const Bad cases[] = {
        {EVT_GAINMONEY, EventHead::kReceiver, 120, kCountryId},
        {EVT_FORTRESS_DAMAGE, EventHead::kReceiver, 1473, kProvince},
        {EVT_PROVBATTLEWON, COVCountedEvent::kFirstValue, 5000},
        {EVT_PROVSIEGELOST, COVCountedEvent::kEntries[1], 120},
        {EVT_CREATE_COUNTRY, COVCreateCountryEvent::kCountry, 120},
        {EVT_CREATE_COUNTRY, COVCreateCountryEvent::kReleaser, 99},
        {EVT_CREATE_COUNTRY, COVCountedEvent::kEntries[0], 0},
        {EVT_CREATE_COUNTRY, COVCountedEvent::kEntries[1], 1473},
        {EVT_UNITMOVEPATH, COVUnitMovePathEvent::kSteps[1], 5000},
        {EVT_DISCOVERPROVINCE, COVProvinceEvent::kProvince, 0},
        {EVT_PROVCHANGECONTROL, COVProvinceEvent::kProvince, 5000},
        {EVT_SET_IN_PROVINCE, COVProvinceEvent::kProvince, 1473},
        {EVT_REQ_OFFER_ANNEXATION, COVAnnexationEvent::kOther, 120},
        {EVT_EXPIRE_CONSTRUCTION, COVConstructionEvent::kProvince, 0},
        {EVT_EXPAND_FORTRESS, COVFortressEvent::kProvince, 5000},
        {EVT_EXPAND_FORTRESS, COVFortressEvent::kCountry, 99},
        {EVT_INVITE_TO_WARPACT, COVWarPactEvent::kCountry, 120},
        {EVT_REQ_JOIN_ALLIANCE, COVAllianceEvent::kSecond, 120},
        {EVT_EXEC_LEAVE_ALLIANCE, COVAllianceEvent::kExtraCountry, 120},
        {EVT_REQ_ACCEPT_PEACE, COVPeaceEvent::kOther, 120},
        {EVT_FINISH_BUILD_IMPROVEMENT, COVImprovementEvent::kProvince, 5000},
        {EVT_CREATE_ALLIANCE, COVCreateAllianceEvent::kCountry, 120},
        {EVT_REQ_SETUP_WAR, COVWarEvent::kOther, 120},
        {EVT_OFFERLOAN, CLoanEvent::kBorrower, 120},
        {EVT_REQ_GETLOAN, CLoanEvent::kLender, 120, kCountryId},
        {EVT_SEND_COLONIST, COVColonistEvent::kProvince, 1473},
        {EVT_SEND_TRADER, COVColonistEvent::kCountry, 120},
        {EVT_SEND_MERCHANT, COVMerchantEvent::kProvince, 5000, kProvince},
        {EVT_SEND_MERCHANT, COVMerchantEvent::kCountry, 120, kCountryId},
        {EVT_CREATE_ARMY, NewUnitHead::kProvince, 1473},
        {EVT_BUILD_FLEET, NewUnitHead::kCountry, 99, kCountryId},
        {EVT_LOSE_TRADELEVEL, LoseTradeLevelPayload::kProvince, 5000},
        {EVT_EXEC_RELATION, ExecRelationPayload::kOther, 120},
        {EVT_REQ_RELATION, RelationRequestPayload::kCountry, 120},
        {EVT_UNNAMED_217, SeparatePeaceRequestPayload::kDefender, 120},
        {EVT_UNNAMED_218, SplitWarPayload::kSecondCountry, 120},
        {EVT_CREATE_COT, CreateCotPayload::kProvince, 0},
        {EVT_SENDGIFT, GiftPayload::kGiver, 99},
        {EVT_REQ_REFUSETRADE, PairPayload::kSecond, 120},
        {EVT_STEAL_EXPLORATION, PairPayload::kFirst, 120},
        {EVT_DISCOVERCOUNTRY, ExplorationPayload::kCountry, 120},
        {EVT_EXEC_CHANGE_TOLERANCE, SetTolerancePayload::kCountry, 120},
        {EVT_REQ_BOOST_INVESTMENT, BoostInvestmentPayload::kCountry, 120},
        {EVT_PLAYER_DATA, PlayerDataPayload::kCountry, 99},
        {EVT_APPMSG_COUNTRY, CountryChoicePayload::kCountry, -2},
        {EVT_RENAME_OBJECT, RenameObjectPayload::kObject, 5000, kProvince},
        {EVT_GIVECB, CasusBelliPayload::kAgainst, 120, kCountryId},
        {EVT_UNNAMED_57, MoveStepPayload::kProvince, 1473},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(GetEventTypeName(c.type) + " " + c.field.name + " " + std::to_string(c.value));
        COVEventData payload = GoodPayload(c.type);
        ASSERT_NE(Received(payload), nullptr) << "the good message";
        Put(payload, c);
        const std::optional<PayloadFault> fault = CheckPayloadRoles(payload);
        ASSERT_TRUE(fault.has_value());
        EXPECT_EQ(fault->type, c.type);
        EXPECT_STREQ(fault->field, c.field.name);
        EXPECT_EQ(fault->value, c.value);
        EXPECT_NE(DescribePayloadFault(*fault).find(std::string(c.field.name) + " " +
                                                    std::to_string(c.value)),
                  std::string::npos);
        EXPECT_EQ(Received(payload), nullptr);
    }
}

TEST(PayloadRolesTest, ListsLongerThanTheirPayloadOrThan98EntriesAreDropped) {
    struct Case {
        uint32_t type;
        uint16_t count; // as the payload says
        uint16_t room;  // entries the payload holds
        bool passes;
    };
    const Case cases[] = {
        {EVT_PROVBATTLEWON, 500, 500, false}, // 500 losers
        {EVT_PROVBATTLELOST, 99, 99, false},  {EVT_PROVSIEGEWON, 98, 98, true},
        {EVT_CREATE_COUNTRY, 99, 99, false},  {EVT_CREATE_COUNTRY, 98, 98, true},
        {EVT_UNITMOVEPATH, 300, 300, true}, // a path is no list of countries
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(GetEventTypeName(c.type) + " " + std::to_string(c.count));
        COVEventData payload = GoodPayload(c.type, c.room);
        const std::optional<PayloadFault> fault = CheckPayloadRoles(payload);
        EXPECT_EQ(!fault, c.passes);
        EXPECT_EQ(Received(payload) != nullptr, c.passes);
        if (fault) {
            EXPECT_STREQ(fault->field, "count");
            EXPECT_EQ(fault->value, c.count);
        }
    }

    // A count of more entries than the payload holds: the entries are not
    // read past its end.
    COVEventData battle = GoodPayload(EVT_PROVBATTLEWON, 2);
    battle.Set(COVCountedEvent::kCount, 4);
    const std::optional<PayloadFault> fault = CheckPayloadRoles(battle);
    ASSERT_TRUE(fault.has_value());
    EXPECT_STREQ(fault->field, "count");
    EXPECT_EQ(fault->value, 4);
    EXPECT_EQ(Received(battle), nullptr);
}

TEST(PayloadRolesTest, GoodMessagesOfEveryCheckedTypeAndTheNumbersForNoneComeThrough) {
    int checked = 0;
    for (uint32_t type = 0; type < EVENT_TYPE_COUNT; ++type) {
        if (GetPayloadRoles(type).empty())
            continue;
        ++checked;
        SCOPED_TRACE(GetEventTypeName(type));
        EXPECT_NE(Received(GoodPayload(type)), nullptr);
    }
    EXPECT_GT(checked, 100);

    // Messages as their builders make them.
    const COVProvinceBattleEvent battle(EVT_PROVBATTLEWON, ObjectId(kCountryId, 4), {5, 0, 98});
    COVProvinceBattleEvent placed(battle);
    placed.Payload().Set(COVCountedEvent::kFirstValue, 1472);
    COVCreateCountryEvent created(ObjectId(kCountryId, 97), {1, 1472});
    created.Payload().Set(COVCreateCountryEvent::kCountry, 98);
    created.Payload().Set(COVCreateCountryEvent::kReleaser, 0);
    const COVUnitMovePathEvent path(ObjectId(6, 2), 1, {1, 700, 1472});
    const COVProvinceEvent discovered(EVT_DISCOVERPROVINCE, ObjectId(kCountryId, 0), 1472);
    const COVPeaceEvent peace(EVT_REQ_ACCEPT_PEACE, g_broadcastId, 98, ObjectId(4712, 9), 0);
    const COVFacilityEvent facility(EVT_REQ_BUILD_FACILITY, ObjectId(2, 0xFFFFFFFF), 1, 2, 3, 4);
    const COVPeaceOfferEvent offer(EVT_REQ_CREATE_PEACE_OFFER, ObjectId(kCountryId, 5));
    for (const COVEvent* event : std::initializer_list<const COVEvent*>{
             &placed, &created, &path, &discovered, &peace, &facility, &offer}) {
        SCOPED_TRACE(GetEventTypeName(event->GetType()));
        EXPECT_NE(Received(event->Payload()), nullptr);
    }

    // "None": no country (-1) in the lobby's messages, province 0 where a
    // message may name none, the province object of slot 0.
    const Bad nones[] = {
        {EVT_PLAYER_DATA, PlayerDataPayload::kCountry, -1},
        {EVT_APPMSG_COUNTRY, CountryChoicePayload::kCountry, -1},
        {EVT_SET_IN_PROVINCE, COVProvinceEvent::kProvince, 0},
        {EVT_UNNAMED_57, MoveStepPayload::kProvince, 0},
        {EVT_RENAME_OBJECT, RenameObjectPayload::kObject, 0, kProvince},
        {EVT_FORTRESS_DAMAGE, EventHead::kReceiver, 0, kProvince},
        {EVT_UNITDELETE, UnitRequestPayload::kUnit, 0xFFFFFFFF, 4712},
        {EVT_GAINMONEY, EventHead::kReceiver, 0xFFFFFFFF, kBroadcastIdType},
    };
    for (const Bad& c : nones) {
        SCOPED_TRACE(GetEventTypeName(c.type) + " " + c.field.name);
        COVEventData payload = GoodPayload(c.type);
        Put(payload, c);
        EXPECT_FALSE(CheckPayloadRoles(payload).has_value());
        EXPECT_NE(Received(payload), nullptr);
    }
}
