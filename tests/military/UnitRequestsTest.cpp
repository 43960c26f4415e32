// The host's unit requests: what each request tells every machine (the
// messages queued for the network) and what the countries' handlers make
// of it here, the checks that drop a request, and the overload fix.
#include "military/server/UnitRequests.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/military/MilitaryBlockFixture.h"
#include "world/Province.h"

namespace {

constexpr int32_t kLand = 20;
constexpr int32_t kOtherLand = 21;
constexpr int32_t kSea = 1100;

// A message sent to the other machines, with the fields these requests
// fill.
struct Sent {
    uint32_t type = 0;
    ObjectId receiver;
    ObjectId from; // transfers: the source; creations: the new unit
    ObjectId to;
    uint32_t count = 0;
    ObjectId leader;
};

class UnitRequestsTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        AddCountry(std::make_unique<CCountry>(1));
        AddCountry(std::make_unique<CCountry>(2));
        m_seaTerrain = GetProvince(kSea)->terrain;
        GetProvince(kSea)->terrain = kFirstSeaProvinceType;
    }
    void TearDown() override {
        GetProvince(kSea)->terrain = m_seaTerrain;
        DeleteAllCountries();
        MilitaryBlockTest::TearDown();
    }

    static CLandUnit& Army(uint32_t country, int32_t province, float infantry, float cavalry = 0,
                           float artillery = 0) {
        auto* army = new CLandUnit(CountryOfNumber(country));
        Place(*army, province, artillery, cavalry, infantry);
        return *army;
    }
    static CNavalUnit& Fleet(uint32_t country, int32_t province, float warships, float galleys = 0,
                             float transports = 0) {
        auto* fleet = new CNavalUnit(CountryOfNumber(country));
        Place(*fleet, province, warships, galleys, transports);
        return *fleet;
    }
    static void Place(CUnit& unit, int32_t province, float s0, float s1, float s2) {
        unit.AssignNewId();
        unit.SetLocation(province);
        unit.SetStrength(0, s0);
        unit.SetStrength(1, s1);
        unit.SetStrength(2, s2);
        unit.GetOwner()->AddUnit(&unit);
    }

    // The messages sent since the last call, oldest first, once what they
    // queued here (the deletion of a unit) has run.
    std::vector<Sent> TakeSent() {
        g_scheduler.RunDue();
        std::vector<Sent> sent;
        g_scheduler.ForEachSend([&sent](const COVEvent& event) {
            Sent s;
            s.type = event.GetType();
            s.receiver = event.GetReceiver();
            const COVEventData& payload = event.Payload();
            switch (s.type) {
            case EVT_CREATE_ARMY:
                s.from = payload.Get(NewUnitHead::kUnit);
                s.leader = payload.Get(COVArmyEvent::kLeader);
                break;
            case EVT_CREATE_FLEET:
                s.from = payload.Get(NewUnitHead::kUnit);
                s.leader = payload.Get(COVFleetEvent::kLeader);
                break;
            case EVT_TRANSFER_ONE_LEADER:
                s.from = payload.Get(LeaderTransferPayload::kFrom);
                s.to = payload.Get(LeaderTransferPayload::kTo);
                s.leader = payload.Get(LeaderTransferPayload::kLeader);
                break;
            case EVT_DISBAND_UNIT:
            case EVT_UNITDELETE:
                s.from = payload.Get(UnitRequestPayload::kUnit);
                break;
            default:
                if (s.type >= EVT_TRANSFER_INFANTRY && s.type <= EVT_TRANSFER_ALL_LEADERS) {
                    s.from = payload.Get(UnitTransferPayload::kFrom);
                    s.to = payload.Get(UnitTransferPayload::kTo);
                    s.count = payload.Get(UnitTransferPayload::kCount);
                }
            }
            sent.push_back(s);
        });
        g_scheduler.Clear();
        return sent;
    }
    static std::vector<uint32_t> Types(const std::vector<Sent>& sent) {
        std::vector<uint32_t> types;
        for (const Sent& s : sent)
            types.push_back(s.type);
        return types;
    }

    static void RequestOne(uint32_t type, const ObjectId& unit) {
        COVDataEvent event(type, g_unitRequestsId);
        event.Payload().Set(UnitRequestPayload::kUnit, unit);
        EXPECT_EQ(HandleUnitRequest(event), 0);
    }
    static void RequestTwo(uint32_t type, const ObjectId& a, const ObjectId& b,
                           uint32_t amount = 0) {
        COVDataEvent event(type, g_unitRequestsId);
        event.Payload().Set(UnitTransferRequestPayload::kFrom, a);
        event.Payload().Set(UnitTransferRequestPayload::kTo, b);
        if (event.Payload().Holds(UnitTransferRequestPayload::kAmount))
            event.Payload().Set(UnitTransferRequestPayload::kAmount, amount);
        EXPECT_EQ(HandleUnitRequest(event), 0);
    }

    int32_t m_seaTerrain = 0;
};

// Troops leave no remnant under a regiment behind, and a transfer larger
// than the unit moves all of it; ships are never moved beyond what the
// fleet has.
TEST_F(UnitRequestsTest, TransfersMoveTheAmountOrAllAndRefuseShipsTheFleetLacks) {
    struct Case {
        uint32_t request;
        float have;
        uint32_t asked;
        int64_t moved; // -1: dropped
    };
    const Case cases[] = {
        {EVT_REQUEST_TRANSFER_INFANTRY, 10000, 9500, 10000},
        {EVT_REQUEST_TRANSFER_INFANTRY, 10000, 9000, 9000},
        {EVT_REQUEST_TRANSFER_INFANTRY, 5000, 70000, 5000},
        {EVT_REQUEST_TRANSFER_INFANTRY, 5000, 0xFFFFFFFFu, 5000},
        {EVT_REQUEST_TRANSFER_CAVALRY, 2500, 1600, 2500},
        {EVT_REQUEST_TRANSFER_ARTILLERY, 25, 20, 25},
        {EVT_REQUEST_TRANSFER_ARTILLERY, 25, 10, 10},
        {EVT_REQUEST_TRANSFER_WARSHIPS, 4, 5, -1},
        {EVT_REQUEST_TRANSFER_WARSHIPS, 4, 4, 4},
        {EVT_REQUEST_TRANSFER_GALLEYS, 3, 2, 2},
        {EVT_REQUEST_TRANSFER_TRANSPORTS, 2, 3, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.request << " " << c.have << " " << c.asked);
        const bool ships = c.request >= EVT_REQUEST_TRANSFER_WARSHIPS;
        // The strength index each request moves.
        int index = 0;
        switch (c.request) {
        case EVT_REQUEST_TRANSFER_INFANTRY:
        case EVT_REQUEST_TRANSFER_TRANSPORTS:
            index = 2;
            break;
        case EVT_REQUEST_TRANSFER_CAVALRY:
        case EVT_REQUEST_TRANSFER_GALLEYS:
            index = 1;
            break;
        default:
            index = 0;
        }
        CUnit& source = ships ? static_cast<CUnit&>(Fleet(1, kSea, 0)) : Army(1, kLand, 0);
        CUnit& target = ships ? static_cast<CUnit&>(Fleet(1, kSea, 0)) : Army(1, kLand, 0);
        source.SetStrength(index, c.have);
        RequestTwo(c.request, source.GetId(), target.GetId(), c.asked);
        const std::vector<Sent> sent = TakeSent();
        if (c.moved < 0) {
            EXPECT_TRUE(sent.empty());
            EXPECT_EQ(source.GetStrength(index), c.have);
            continue;
        }
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent[0].type, c.request + 6);
        EXPECT_EQ(sent[0].receiver, MakeCountryId(1));
        EXPECT_EQ(sent[0].from, source.GetId());
        EXPECT_EQ(sent[0].to, target.GetId());
        EXPECT_EQ(sent[0].count, static_cast<uint32_t>(c.moved));
        // The country carried it out here as on every machine.
        EXPECT_EQ(target.GetStrength(index), static_cast<float>(c.moved));
        EXPECT_EQ(source.GetStrength(index), c.have - static_cast<float>(c.moved));
    }
}

// Troops move between two units only when both exist, belong to one
// owner, stand in one province, are of the kind moved and are free: no
// peer moves troops across the map or into another country's army.
TEST_F(UnitRequestsTest, TransfersAndMergesBetweenUnitsThatDoNotFitAreDropped) {
    struct Case {
        const char* name;
        uint32_t targetOwner;
        int32_t targetProvince;
        bool targetIsFleet;
        bool sourceMoving;
        bool unknownTarget;
        bool sameUnit;
        bool targetAboard = false;
    };
    const Case cases[] = {
        {"another owner", 2, kLand, false, false, false, false},
        {"another province", 1, kOtherLand, false, false, false, false},
        {"a fleet", 1, kLand, true, false, false, false},
        {"moving", 1, kLand, false, true, false, false},
        {"unknown", 1, kLand, false, false, true, false},
        {"itself", 1, kLand, false, false, false, true},
        {"aboard a fleet", 1, kLand, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLandUnit& source = Army(1, kLand, 8000, 2000);
        CUnit& target = c.targetIsFleet
                            ? static_cast<CUnit&>(Fleet(c.targetOwner, c.targetProvince, 5))
                            : Army(c.targetOwner, c.targetProvince, 3000);
        if (c.targetAboard)
            Fleet(1, kLand, 0, 0, 50).LoadArmy(static_cast<CLandUnit*>(&target));
        if (c.sourceMoving) {
            CIntList path;
            path.AddTail(kOtherLand);
            source.SetPath(0, path);
        }
        ObjectId targetId = target.GetId();
        if (c.unknownTarget)
            targetId = ObjectId(targetId.type, targetId.number + 500);
        if (c.sameUnit)
            targetId = source.GetId();

        RequestTwo(EVT_REQUEST_TRANSFER_INFANTRY, source.GetId(), targetId, 4000);
        RequestTwo(EVT_REQUEST_TRANSFER_CAVALRY, source.GetId(), targetId, 1000);
        COVDataEvent merge(EVT_REQUEST_MERGE, g_unitRequestsId);
        merge.Payload().Set(MergeRequestPayload::kUnit, targetId);
        merge.Payload().Set(MergeRequestPayload::kJoining, source.GetId());
        HandleUnitRequest(merge);

        EXPECT_TRUE(TakeSent().empty());
        EXPECT_EQ(source.GetStrength(2), 8000.0f);
        EXPECT_EQ(source.GetStrength(1), 2000.0f);
        EXPECT_NE(ResolveId(source.GetId()), nullptr);
    }
}

TEST_F(UnitRequestsTest, AMergeMovesEverythingAndDisbandsTheMergedUnit) {
    CLandUnit& remaining = Army(1, kLand, 3000, 500, 5);
    CLandUnit& merged = Army(1, kLand, 2000.5f, 1000, 10);
    const ObjectId mergedId = merged.GetId();
    COVDataEvent merge(EVT_REQUEST_MERGE, g_unitRequestsId);
    merge.Payload().Set(MergeRequestPayload::kUnit, remaining.GetId());
    merge.Payload().Set(MergeRequestPayload::kJoining, mergedId);
    HandleUnitRequest(merge);

    const std::vector<Sent> sent = TakeSent();
    EXPECT_EQ(Types(sent), (std::vector<uint32_t>{EVT_TRANSFER_INFANTRY, EVT_TRANSFER_CAVALRY,
                                                  EVT_TRANSFER_ARTILLERY, EVT_TRANSFER_ALL_LEADERS,
                                                  EVT_DISBAND_UNIT}));
    EXPECT_EQ(sent[0].count, 2001u);
    EXPECT_EQ(remaining.GetStrength(2), 5001.0f);
    EXPECT_EQ(remaining.GetStrength(1), 1500.0f);
    EXPECT_EQ(remaining.GetStrength(0), 15.0f);
    EXPECT_EQ(ResolveId(mergedId), nullptr);

    // Fleets also hand over their cargo.
    CNavalUnit& keep = Fleet(1, kSea, 2);
    CNavalUnit& join = Fleet(1, kSea, 1, 2, 3);
    merge.Payload().Set(MergeRequestPayload::kUnit, keep.GetId());
    merge.Payload().Set(MergeRequestPayload::kJoining, join.GetId());
    HandleUnitRequest(merge);
    EXPECT_EQ(Types(TakeSent()),
              (std::vector<uint32_t>{EVT_TRANSFER_WARSHIPS, EVT_TRANSFER_GALLEYS,
                                     EVT_TRANSFER_TRANSPORTS, EVT_TRANSFER_ALL_ARMIES,
                                     EVT_TRANSFER_ALL_LEADERS, EVT_DISBAND_UNIT}));
    EXPECT_EQ(keep.GetStrength(0), 3.0f);
    EXPECT_EQ(keep.GetStrength(2), 3.0f);
}

// Detachments: an army gives a quarter of its infantry (at most 4000) and
// a tenth of its cavalry (at most 1000); a warships detachment a quarter
// of the warships, at most 10, from a fleet of 5 or more.
TEST_F(UnitRequestsTest, DetachmentsTakeTheirShareWithinTheirLimits) {
    struct Case {
        bool fleet;
        float first;  // infantry or warships
        float second; // cavalry
        std::vector<uint32_t> counts;
    };
    const Case cases[] = {
        {false, 40000, 12000, {4000, 1000}},
        {false, 10000, 5000, {2500, 500}},
        {true, 44, 0, {10}},
        {true, 20, 0, {5}},
        {true, 4, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " " << c.second);
        CUnit& unit = c.fleet ? static_cast<CUnit&>(Fleet(1, kSea, c.first))
                              : Army(1, kLand, c.first, c.second);
        RequestOne(c.fleet ? EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT : EVT_REQUEST_CREATE_DETACHMENT,
                   unit.GetId());
        std::vector<uint32_t> counts;
        ObjectId created;
        for (const Sent& s : TakeSent()) {
            if (s.type == EVT_CREATE_ARMY || s.type == EVT_CREATE_FLEET)
                created = s.from;
            else if (s.type >= EVT_TRANSFER_INFANTRY && s.type <= EVT_TRANSFER_GALLEYS) {
                EXPECT_EQ(s.to, created);
                counts.push_back(s.count);
            }
        }
        EXPECT_EQ(counts, c.counts);
    }
}

// A split takes half of each arm; the new unit gets the first leader that
// does not command when there are two or more, and the commander stays.
TEST_F(UnitRequestsTest, ASplitHalvesTheArmyAndTakesTheFirstLeaderThatDoesNotCommand) {
    CLeader leaders[4];
    const int32_t ranks[4] = {2, 1, 3, 1}; // the second commands
    for (int i = 0; i < 4; ++i) {
        leaders[i].AssignNewId();
        leaders[i].rank = ranks[i];
    }
    CLandUnit& army = Army(1, kLand, 10001, 3000, 21);
    for (int i = 2; i >= 0; --i)
        army.AttachLeader(&leaders[i]); // at the head: the list reads 0, 1, 2
    RequestOne(EVT_REQUEST_SPLIT_ARMY, army.GetId());
    std::vector<Sent> sent = TakeSent();
    ASSERT_EQ(Types(sent),
              (std::vector<uint32_t>{EVT_CREATE_ARMY, EVT_TRANSFER_INFANTRY, EVT_TRANSFER_CAVALRY,
                                     EVT_TRANSFER_ARTILLERY, EVT_TRANSFER_ONE_LEADER,
                                     // the country finishes its new army at once
                                     EVT_UNIT_FINISH}));
    EXPECT_EQ(sent[0].leader, leaders[0].GetId());
    EXPECT_EQ(sent[1].count, 5000u);
    EXPECT_EQ(sent[2].count, 1500u);
    EXPECT_EQ(sent[3].count, 10u);
    EXPECT_EQ(sent[4].leader, leaders[0].GetId());
    EXPECT_EQ(sent[4].to, sent[0].from);

    CLandUnit& single = Army(1, kLand, 4000);
    single.AttachLeader(&leaders[3]);
    RequestOne(EVT_REQUEST_SPLIT_ARMY, single.GetId());
    sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(sent[0].leader.IsNull());
    EXPECT_NE(Types(sent).back(), EVT_TRANSFER_ONE_LEADER);
    DeleteAllCountries(); // the units let go of the leaders while they live
}

// Every request naming units that do not exist, a disband of a unit on the
// move, and any request on a client change nothing.
TEST_F(UnitRequestsTest, RequestsForUnknownOrBusyUnitsAndOnAClientChangeNothing) {
    CLandUnit& army = Army(1, kLand, 5000, 1000, 10);
    CNavalUnit& fleet = Fleet(1, kSea, 20, 4, 4);
    const ObjectId unknown(army.GetId().type, 9999);
    const uint32_t oneUnit[] = {EVT_REQUEST_SPLIT_ARMY,
                                EVT_REQUEST_CREATE_DETACHMENT,
                                EVT_REQUEST_CREATE_WARSHIPS_DETACHMENT,
                                EVT_REQUEST_CREATE_GALLEYS_DETACHMENT,
                                EVT_REQUEST_CREATE_TRANSPORTS_DETACHMENT,
                                EVT_REQUEST_DETACH_SIEGE_FORCE,
                                EVT_REQUEST_DETACH_COVER_FORCE,
                                EVT_REQUEST_DISBAND_UNIT};
    const uint32_t twoUnits[] = {EVT_REQUEST_MERGE,
                                 EVT_REQUEST_TRANSFER_INFANTRY,
                                 EVT_REQUEST_TRANSFER_ARTILLERY,
                                 EVT_REQUEST_TRANSFER_CAVALRY,
                                 EVT_REQUEST_TRANSFER_WARSHIPS,
                                 EVT_REQUEST_TRANSFER_TRANSPORTS,
                                 EVT_REQUEST_TRANSFER_GALLEYS,
                                 EVT_REQUEST_TRANSFER_OVERLOAD_FIX};
    for (uint32_t type : oneUnit)
        for (const ObjectId& id : {unknown, g_nullId, ObjectId(6, 4999), ObjectId(4, 20)})
            RequestOne(type, id);
    for (uint32_t type : twoUnits) {
        RequestTwo(type, unknown, army.GetId(), 100);
        RequestTwo(type, fleet.GetId(), unknown, 1);
        RequestTwo(type, g_nullId, g_nullId, 1);
    }
    COVDataEvent cancel(EVT_REQUEST_CANCEL_CONSTRUCTION, g_unitRequestsId);
    for (uint32_t province : {0u, 1473u, 65535u, 0xFFFFFFFFu}) {
        cancel.Payload().Set(PairPayload::kFirst, province);
        HandleUnitRequest(cancel);
    }
    EXPECT_TRUE(TakeSent().empty());

    // A unit on the move is not disbanded.
    CIntList path;
    path.AddTail(kOtherLand);
    army.SetPath(0, path);
    RequestOne(EVT_REQUEST_DISBAND_UNIT, army.GetId());
    EXPECT_TRUE(TakeSent().empty());

    // A client only forwards requests; the host decides.
    BecomeClient();
    RequestOne(EVT_REQUEST_SPLIT_ARMY, fleet.GetId());
    RequestOne(EVT_REQUEST_DISBAND_UNIT, fleet.GetId());
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_NE(ResolveId(fleet.GetId()), nullptr);
}

TEST_F(UnitRequestsTest, ADisbandOfAFreeUnitDisbandsItEverywhere) {
    CNavalUnit& fleet = Fleet(1, kSea, 3);
    const ObjectId id = fleet.GetId();
    RequestOne(EVT_REQUEST_DISBAND_UNIT, id);
    const std::vector<Sent> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].type, EVT_DISBAND_UNIT);
    EXPECT_EQ(sent[0].from, id);
    EXPECT_EQ(ResolveId(id), nullptr);
}

// An overloaded fleet whose armies lose no men by the losses step (god
// mode, or no handler for them) still ends: after a pass that changes
// nothing the armies that do not fit are set ashore in port or lost at sea,
// last aboard first, until the load fits.
TEST_F(UnitRequestsTest, TheOverloadFixEndsAndDropsTheCargoThatDoesNotFit) {
    struct Case {
        int32_t province;
        uint32_t dropped;
    };
    for (const Case& c : {Case{kSea, EVT_UNITDELETE}, Case{kLand, EVT_DISBAND_UNIT}}) {
        SCOPED_TRACE(c.province);
        // God mode: the losses step leaves the armies at the floor of men.
        CountryOfNumber(1)->m_alternativeBanner = 1;
        CNavalUnit& fleet = Fleet(1, c.province, 1, 0, 1);   // space 3
        CLandUnit& first = Army(1, c.province, 2000);        // needs 2
        CLandUnit& second = Army(1, c.province, 1500, 0, 1); // needs 3
        fleet.LoadArmy(&first);
        fleet.LoadArmy(&second);
        const ObjectId secondId = second.GetId();

        FixFleetOverload(fleet, nullptr);

        std::vector<Sent> dropped;
        for (const Sent& s : TakeSent())
            if (s.type == EVT_UNITDELETE || s.type == EVT_DISBAND_UNIT)
                dropped.push_back(s);
        ASSERT_EQ(dropped.size(), 1u);
        EXPECT_EQ(dropped[0].type, c.dropped);
        EXPECT_EQ(dropped[0].from, secondId);
        EXPECT_EQ(ResolveId(secondId), nullptr);
        EXPECT_EQ(fleet.GetCargo().GetCount(), 1u);
    }
}

// With a second fleet that has room, the excess goes to its first army.
TEST_F(UnitRequestsTest, TheOverloadFixMovesTheExcessToTheSecondFleetsArmy) {
    CNavalUnit& fleet = Fleet(1, kSea, 0, 0, 1);  // space 2
    CNavalUnit& other = Fleet(1, kSea, 10, 0, 0); // space 10
    CLandUnit& aboard = Army(1, kSea, 4000);      // needs 4
    CLandUnit& receiver = Army(1, kSea, 1000);
    fleet.LoadArmy(&aboard);
    other.LoadArmy(&receiver);
    RequestTwo(EVT_REQUEST_TRANSFER_OVERLOAD_FIX, fleet.GetId(), other.GetId());
    const std::vector<Sent> sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].type, EVT_TRANSFER_INFANTRY);
    EXPECT_EQ(sent[0].to, receiver.GetId());
    EXPECT_EQ(sent[0].count, 2000u); // half of the load is excess
    EXPECT_EQ(aboard.GetStrength(2), 2000.0f);
    EXPECT_EQ(receiver.GetStrength(2), 3000.0f);
    for (const Sent& s : sent)
        EXPECT_NE(s.type, EVT_UNITDELETE);

    // Fleets in two provinces are not fixed together.
    other.SetLocation(kSea + 1);
    aboard.SetStrength(2, 9000);
    RequestTwo(EVT_REQUEST_TRANSFER_OVERLOAD_FIX, fleet.GetId(), other.GetId());
    EXPECT_TRUE(TakeSent().empty());
}

} // namespace
