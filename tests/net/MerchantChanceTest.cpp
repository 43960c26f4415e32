#include <gtest/gtest.h>

#include <limits>

#include "net/Senders.h"

namespace {

TEST(MerchantChance, FollowsTheFiguresWithinOneTo99) {
    struct Row {
        float te, stability;
        int adm, chance;
    };
    const Row rows[] = {
        {0.0f, 0.0f, 0, 50},  // (1 x 10 + 0) x 5
        {1.9f, -2.9f, 3, 99}, // (2 x 10 - 2) x 5 + 9 = 99
        {0.5f, -1.0f, 1, 48}, // (10 - 1) x 5 + 3 = 48: fractions are cut
        {0.0f, -3.0f, 0, 35}, // (10 - 3) x 5
        {-2.0f, -3.0f, 0, 1}, // below 1
        {5.0f, 3.0f, 9, 99},  // above 99
        {std::numeric_limits<float>::quiet_NaN(), 1e30f, 0, 99},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chance);
        EXPECT_EQ(GetMerchantChance(row.te, row.stability, row.adm), row.chance);
    }
}

} // namespace
