// Ids of the fixed-slot types resolve to the world's province records and
// the leader registry's slots, and a withdrawn leader id empties its slot.
#include <gtest/gtest.h>

#include <memory>

#include "engine/ObjectId.h"
#include "military/units/LeaderRegistry.h"
#include "world/Province.h"

namespace {

class ObjectIdSlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreeIdRegistries();
        g_localPlayerNumber = 0;
    }
    void TearDown() override {
        FreeIdRegistries();
        g_localPlayerNumber = 0;
        g_leaderRegistry.reset();
    }
};

TEST_F(ObjectIdSlotsTest, ResolvesProvincesAndLeaderSlots) {
    InitIdRegistries(g_nullId);
    EXPECT_EQ(ResolveId({kProvinceIdType, 1}), &g_provinces[1]);
    EXPECT_EQ(ResolveId({kProvinceIdType, 1472}), &g_provinces[1472]);
    EXPECT_EQ(ResolveId({kProvinceIdType, 1473}), nullptr);
    EXPECT_EQ(ResolveId({kProvinceIdType, 0xFFFFFFFF}), nullptr);

    EXPECT_EQ(ResolveId({kLeaderIdType, 12}), nullptr); // no leader registry
    g_leaderRegistry = std::make_unique<CLeaderRegistry>();
    CIdEntity leader;
    leader.SetId({kLeaderIdType, 12});
    g_leaderRegistry->SetSlot(12, &leader);
    EXPECT_EQ(ResolveId({kLeaderIdType, 12}), &leader);
    EXPECT_EQ(ResolveId({kLeaderIdType, 5000}), nullptr);

    // Withdrawing a leader's id empties its slot.
    EXPECT_TRUE(leader.Unregister());
    EXPECT_EQ(ResolveId({kLeaderIdType, 12}), nullptr);

    CIdValue value;
    value.SetId({kLeaderIdType, 13});
    g_leaderRegistry->SetSlot(13, &leader);
    value.Clear();
    EXPECT_TRUE(value.GetId().IsNull());
    EXPECT_EQ(g_leaderRegistry->GetSlot(13), nullptr);

    EXPECT_EQ(ResolveId({3, 1}), nullptr);
    EXPECT_EQ(ResolveId(g_broadcastId), nullptr);
}

} // namespace
