#pragma once
// A small world for the computer player's tests: a clock on 1 January 1500,
// an empty scheduler, fresh id registries, the settings block with the
// aggressiveness 0, and computer-run countries made on demand.
#include <gtest/gtest.h>

#include <memory>

#include "ai/AICountry.h"
#include "ai/AINotify.h"
#include "ai/king/King.h"
#include "country/Country.h"
#include "engine/Config.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/Random.h"
#include "net/Scheduler.h"
#include "net/Session.h"

class AIFixture : public ::testing::Test {
protected:
    void SetUp() override {
        g_config = std::make_unique<CConfig>();
        g_config->SetWord(ConfigOffset::kAggressiveness, 0);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = CDate(1, 0, 1500);
        g_scheduler.Clear();
        InitIdRegistries(g_nullId);
        ClearAIListeners();
        GameSrand(1);
    }

    void TearDown() override {
        g_netSession = nullptr;
        DeleteAllCountries();
        g_scheduler.Clear();
        ClearAIListeners();
        FreeIdRegistries();
        g_gameTimer.reset();
        g_config.reset();
    }

    // A computer-run country in its slot, its King made but not started.
    CAICountry& MakeCountry(uint32_t number) {
        auto made = std::make_unique<CAICountry>(number);
        CAICountry& country = *made;
        EXPECT_TRUE(AddCountry(std::move(made)));
        return country;
    }

    // Runs the scheduler's messages due up to the date after the days.
    void RunDays(int32_t days) {
        for (int32_t day = 0; day < days; ++day) {
            g_gameTimer->currentDate.AddDays(1);
            g_scheduler.RunDue();
        }
    }
};

// A session that makes this machine a client for the test's life.
class ClientScope {
public:
    ClientScope() {
        m_session.m_active = 1;
        m_session.m_isHost = 0;
        g_netSession = &m_session;
    }
    ~ClientScope() { g_netSession = nullptr; }

private:
    CNetSession m_session;
};
