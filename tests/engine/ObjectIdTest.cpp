#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/ObjectId.h"

namespace {

// Every test starts without registries, as the program does before the
// first scenario, and leaves none behind; the holders of the fixed-slot
// types are the test's own (none unless a test fills them).
class ObjectIdTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreeIdRegistries();
        g_localPlayerNumber = 0;
        g_idSlots = {};
    }
    void TearDown() override {
        FreeIdRegistries();
        g_localPlayerNumber = 0;
        g_idSlots = m_savedSlots;
    }

private:
    IdSlotHooks m_savedSlots = g_idSlots;
};

TEST_F(ObjectIdTest, CounterFollowsLocalPlayerAndLastId) {
    g_localPlayerNumber = 2;
    InitIdRegistries(g_nullId);
    EXPECT_EQ(NewObjectId(), ObjectId(4714, 1));
    EXPECT_EQ(NewObjectId(), ObjectId(4714, 2));

    // A loaded game continues after its last id of this machine's type.
    InitIdRegistries({4714, 57});
    EXPECT_EQ(NewObjectId(), ObjectId(4714, 58));
    // Another machine's last id leaves the counter.
    InitIdRegistries({4713, 90});
    EXPECT_EQ(NewObjectId(), ObjectId(4714, 59));

    // A new scenario starts over and empties the registries.
    CIdObject object(ObjectId{4714, 7});
    InitIdRegistries(g_nullId);
    EXPECT_EQ(FindObjectById({4714, 7}), nullptr);
    EXPECT_EQ(g_idObjectRegistry->GetCount(), 0u);
    EXPECT_EQ(NewObjectId(), ObjectId(4714, 1));
}

TEST_F(ObjectIdTest, MachineIdsHaveACounterOfTheirOwn) {
    InitIdRegistries(g_nullId);
    EXPECT_EQ(NewObjectId(), ObjectId(4712, 1));
    EXPECT_EQ(NewMachineObjectId(), ObjectId(kMachineIdType, 1));
    EXPECT_EQ(NewMachineObjectId(), ObjectId(kMachineIdType, 2));
    EXPECT_EQ(NewObjectId(), ObjectId(4712, 2));
    {
        CIdEntity entity;
        entity.AssignMachineId();
        EXPECT_EQ(ResolveId({kMachineIdType, 3}), &entity);
    }
    // A loaded game's last id leaves the machine's counter; a new scenario
    // starts it over.
    InitIdRegistries({4712, 40});
    EXPECT_EQ(NewMachineObjectId(), ObjectId(kMachineIdType, 4));
    InitIdRegistries(g_nullId);
    EXPECT_EQ(NewMachineObjectId(), ObjectId(kMachineIdType, 1));
}

TEST_F(ObjectIdTest, LookupsWithoutRegistriesFindNothing) {
    EXPECT_EQ(FindObjectById({4712, 1}), nullptr);
    EXPECT_EQ(ResolveId({7, 1}), nullptr);
    // Holders work without registries too.
    CIdObject object(ObjectId{4712, 1});
    EXPECT_FALSE(object.Unregister());
    CIdEntity entity;
    entity.SetId({4712, 1});
    EXPECT_FALSE(entity.Unregister());
    EXPECT_TRUE(entity.GetId().IsUnset());
}

TEST_F(ObjectIdTest, ObjectMovesToItsNewId) {
    InitIdRegistries(g_nullId);
    CIdObject object(ObjectId{4712, 5});
    EXPECT_EQ(FindObjectById({4712, 5}), &object);
    object.SetId({4712, 9});
    EXPECT_EQ(FindObjectById({4712, 9}), &object);
    EXPECT_EQ(FindObjectById({4712, 5}), nullptr);
    EXPECT_EQ(g_idObjectRegistry->GetCount(), 1u);

    EXPECT_TRUE(object.Unregister());
    EXPECT_TRUE(object.GetId().IsNull());
    EXPECT_EQ(g_idObjectRegistry->GetCount(), 0u);
    EXPECT_FALSE(object.Unregister());
}

TEST_F(ObjectIdTest, NullAndUnsetIdsAreNeverRegistered) {
    InitIdRegistries(g_nullId);
    {
        CIdObject none;
        CIdObject madeNull(g_nullId);
        CIdObject setNull(ObjectId{4712, 4});
        setNull.SetId(g_nullId);
        CIdObject setUnset;
        setUnset.SetId({kUnsetIdType, 4});
        EXPECT_EQ(g_idObjectRegistry->GetCount(), 0u);
    }
    // Nothing was left behind to point at the destroyed objects.
    EXPECT_EQ(g_idObjectRegistry->GetCount(), 0u);
    EXPECT_EQ(FindObjectById(g_nullId), nullptr);
    EXPECT_EQ(FindObjectById({kUnsetIdType, 4}), nullptr);
}

TEST_F(ObjectIdTest, IdsSharingABucketAreTellApart) {
    InitIdRegistries(g_nullId);
    ASSERT_EQ(CIdRegistry<CIdObject>::Hash({4712, 3}), CIdRegistry<CIdObject>::Hash({4712, 8194}));
    CIdObject a(ObjectId{4712, 3});
    CIdObject b(ObjectId{4712, 8194});
    EXPECT_EQ(FindObjectById({4712, 3}), &a);
    EXPECT_EQ(FindObjectById({4712, 8194}), &b);

    CIdEntity c;
    CIdEntity d;
    c.SetId({4712, 3});
    d.SetId({4712, 8194});
    EXPECT_EQ(ResolveId({4712, 3}), &c);
    EXPECT_EQ(ResolveId({4712, 8194}), &d);
}

// Two objects that carry the same id: withdrawing one must not take the
// other's entry with it, or the remaining entry would point at a destroyed
// object.
TEST_F(ObjectIdTest, RemovalTakesTheEntryOfThatObject) {
    InitIdRegistries(g_nullId);
    CIdObject first(ObjectId{4712, 6});
    {
        CIdObject second(ObjectId{4712, 6}); // added at the bucket head
        EXPECT_EQ(FindObjectById({4712, 6}), &second);
        EXPECT_TRUE(first.Unregister());
        EXPECT_EQ(FindObjectById({4712, 6}), &second);
    }
    EXPECT_EQ(FindObjectById({4712, 6}), nullptr);
    EXPECT_EQ(g_idObjectRegistry->GetCount(), 0u);

    auto entityA = std::make_unique<CIdEntity>();
    auto entityB = std::make_unique<CIdEntity>();
    entityA->SetId({7, 1});
    entityB->SetId({7, 1});
    entityA->SetId({7, 2}); // moves A only
    EXPECT_EQ(ResolveId({7, 1}), entityB.get());
    EXPECT_EQ(ResolveId({7, 2}), entityA.get());
    entityB.reset();
    EXPECT_EQ(ResolveId({7, 1}), nullptr);
    EXPECT_EQ(g_idEntityRegistry->GetCount(), 1u);
}

// An object from before a new scenario must not disturb the new registry.
TEST_F(ObjectIdTest, ObjectFromAnEarlierScenarioLeavesNewEntriesAlone) {
    InitIdRegistries(g_nullId);
    auto old = std::make_unique<CIdObject>(ObjectId{4712, 1});
    InitIdRegistries(g_nullId);
    CIdObject fresh(ObjectId{4712, 1});
    old.reset();
    EXPECT_EQ(FindObjectById({4712, 1}), &fresh);
}

TEST_F(ObjectIdTest, EntityRegistersOnlyRegisteredTypes) {
    InitIdRegistries(g_nullId);
    struct Case {
        ObjectId id;
        bool registered;
    };
    const Case cases[] = {
        {{7, 3}, true},         {{4712, 3}, true}, {{4719, 3}, true}, {{0, 0}, false},
        {{2, 5}, false},        {{3, 12}, false},  {{8, 1}, false},   {{kUnsetIdType, 3}, false},
        {g_broadcastId, false},
    };
    for (const Case& c : cases) {
        CIdEntity entity;
        entity.SetId(c.id);
        EXPECT_EQ(g_idEntityRegistry->GetCount(), c.registered ? 1u : 0u) << c.id.type;
        EXPECT_TRUE(entity.Unregister());
        EXPECT_TRUE(entity.GetId().IsUnset());
        EXPECT_EQ(g_idEntityRegistry->GetCount(), 0u);
    }
}

TEST_F(ObjectIdTest, AssignNewIdUsesTheCounter) {
    g_localPlayerNumber = 1;
    InitIdRegistries(g_nullId);
    CIdObject object;
    object.AssignNewId();
    CIdEntity entity;
    entity.AssignNewId();
    EXPECT_EQ(object.GetId(), ObjectId(4713, 1));
    EXPECT_EQ(entity.GetId(), ObjectId(4713, 2));
    EXPECT_EQ(FindObjectById({4713, 1}), &object);
    EXPECT_EQ(ResolveId({4713, 2}), &entity);
}

// The game's fixed-slot holders as the test plays them: one province
// record and one leader slot, and the numbers asked for and cleared.
CIdEntity* g_provinceOne = nullptr;
CIdEntity* g_leaderTwelve = nullptr;
std::vector<uint32_t> g_askedProvinces;
std::vector<uint32_t> g_askedLeaders;
std::vector<uint32_t> g_clearedLeaders;

void FillTestSlots() {
    g_askedProvinces.clear();
    g_askedLeaders.clear();
    g_clearedLeaders.clear();
    g_idSlots.province = [](uint32_t number) {
        g_askedProvinces.push_back(number);
        return number == 1 ? g_provinceOne : nullptr;
    };
    g_idSlots.leaderSlot = [](uint32_t number) {
        g_askedLeaders.push_back(number);
        return number == 12 ? g_leaderTwelve : nullptr;
    };
    g_idSlots.clearLeaderSlot = [](uint32_t number) { g_clearedLeaders.push_back(number); };
}

TEST_F(ObjectIdTest, FixedSlotTypesWithoutTheirOwnersFindNothing) {
    InitIdRegistries(g_nullId);
    EXPECT_EQ(ResolveId({kProvinceIdType, 1}), nullptr);
    EXPECT_EQ(ResolveId({kLeaderIdType, 12}), nullptr);
    // Withdrawing and clearing a leader's id still works.
    CIdEntity leader;
    leader.SetId({kLeaderIdType, 12});
    EXPECT_TRUE(leader.Unregister());
    EXPECT_TRUE(leader.GetId().IsUnset());
    CIdValue value;
    value.SetId({kLeaderIdType, 13});
    value.Clear();
    EXPECT_TRUE(value.GetId().IsNull());
}

TEST_F(ObjectIdTest, FixedSlotTypesAskTheirOwnersWithTheNumber) {
    InitIdRegistries(g_nullId);
    CIdEntity province;
    CIdEntity leader;
    g_provinceOne = &province;
    g_leaderTwelve = &leader;
    FillTestSlots();
    EXPECT_EQ(ResolveId({kProvinceIdType, 1}), &province);
    EXPECT_EQ(ResolveId({kProvinceIdType, 0xFFFFFFFF}), nullptr);
    EXPECT_EQ(ResolveId({kLeaderIdType, 12}), &leader);
    EXPECT_EQ(ResolveId({kLeaderIdType, 5000}), nullptr);
    // Other types never ask them.
    EXPECT_EQ(ResolveId({3, 1}), nullptr);
    EXPECT_EQ(ResolveId(g_broadcastId), nullptr);
    EXPECT_EQ(ResolveId({4712, 1}), nullptr);
    EXPECT_EQ(g_askedProvinces, (std::vector<uint32_t>{1, 0xFFFFFFFF}));
    EXPECT_EQ(g_askedLeaders, (std::vector<uint32_t>{12, 5000}));
    EXPECT_TRUE(g_clearedLeaders.empty());
    g_provinceOne = nullptr;
    g_leaderTwelve = nullptr;
}

// Only a leader's id (type 6) gives its slot back, whichever way the id
// goes: withdrawn, cleared, or with its holder.
TEST_F(ObjectIdTest, WithdrawingALeadersIdEmptiesItsSlot) {
    InitIdRegistries(g_nullId);
    FillTestSlots();
    {
        CIdEntity leader;
        leader.SetId({kLeaderIdType, 12});
        EXPECT_TRUE(leader.Unregister());
        CIdEntity gone;
        gone.SetId({kLeaderIdType, 14});
        CIdValue value;
        value.SetId({kLeaderIdType, 13});
        value.Clear();
        EXPECT_TRUE(value.GetId().IsNull());
        CIdValue goneValue;
        goneValue.SetId({kLeaderIdType, 15});
        CIdEntity province;
        province.SetId({kProvinceIdType, 12});
        CIdEntity entity;
        entity.SetId({4712, 12});
        CIdValue other;
        other.SetId({3, 12});
        EXPECT_EQ(g_clearedLeaders, (std::vector<uint32_t>{12, 13}));
    }
    // The holders that went cleared theirs (in reverse order of making);
    // the unset id of the withdrawn leader clears nothing again.
    EXPECT_EQ(g_clearedLeaders, (std::vector<uint32_t>{12, 13, 15, 14}));
}

} // namespace
