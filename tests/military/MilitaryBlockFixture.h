#pragma once
// The save-block fixture with a leader registry, for the leader and unit
// blocks.
#include <memory>

#include "military/units/LeaderRegistry.h"
#include "tests/world/SaveBlockFixture.h"

namespace test {

class MilitaryBlockTest : public SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        g_leaderRegistry = std::make_unique<CLeaderRegistry>();
    }
    void TearDown() override {
        g_leaderRegistry.reset();
        SaveBlockTest::TearDown();
    }
};

} // namespace test
