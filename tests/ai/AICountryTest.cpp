// The computer-controlled country: made on the host only, its reports to
// the King and its own rules.
#include <gtest/gtest.h>

#include "ai/AICountry.h"
#include "ai/king/King.h"
#include "country/CountryVariants.h"
#include "engine/Config.h"
#include "net/EventTypes.h"
#include "tests/ai/AIFixture.h"
#include "world/Province.h"

namespace {

class AICountryTest : public AIFixture {};

TEST_F(AICountryTest, TheHostMakesAComputerCountryAndAClientAPlainOne) {
    std::unique_ptr<CCountry> onHost = MakeCountryOfKind(12, 0);
    EXPECT_NE(dynamic_cast<CAICountry*>(onHost.get()), nullptr);
    EXPECT_TRUE(onHost->IsComputerControlled());

    ClientScope client;
    std::unique_ptr<CCountry> onClient = MakeCountryOfKind(12, 0);
    EXPECT_EQ(dynamic_cast<CAICountry*>(onClient.get()), nullptr);
    EXPECT_FALSE(onClient->IsComputerControlled());
    // A human's slot is no computer country on the host either.
    g_netSession = nullptr;
    EXPECT_EQ(dynamic_cast<CAICountry*>(MakeCountryOfKind(12, 2).get()), nullptr);
}

// The computer player lives on the host alone: its King and agents must not
// use up the game's ids, which the other machines make alike while the
// scenario loads (a unit read after a computer country has the same id on
// every machine).
TEST_F(AICountryTest, TheComputerPlayerLeavesTheGamesIdsToTheGame) {
    const ObjectId before = NewObjectId();
    CAICountry& country = MakeCountry(30);
    CAIKing& king = *country.GetKing();
    king.Start();
    ASSERT_GT(king.GetChildren().GetCount(), 0u);
    EXPECT_EQ(NewObjectId().number, before.number + 1);

    EXPECT_EQ(king.GetId().type, kMachineIdType);
    EXPECT_EQ(ResolveId(king.GetId()), &king);
    CAIAgent* minister = king.GetChildren().GetTail()->item;
    EXPECT_EQ(minister->GetId().type, kMachineIdType);
    EXPECT_EQ(ResolveId(minister->GetId()), minister);
    EXPECT_NE(minister->GetId(), king.GetId());
}

TEST_F(AICountryTest, StocksAreReportedToAnActiveKingOnly) {
    CAICountry& country = MakeCountry(30);
    country.m_colonists = 5.0f;
    country.m_treasury = 10.0f;
    CAIKing& king = *country.GetKing();
    // Before the start nothing reaches the King.
    country.AddColonists(1.0f);
    EXPECT_FLOAT_EQ(king.GetColonists(), 0.0f);

    country.m_colonists = 5.0f;
    king.Start();
    ASSERT_FLOAT_EQ(king.GetColonists(), 5.0f);
    country.AddColonists(3.0f);
    EXPECT_FLOAT_EQ(country.m_colonists, 6.0f);
    EXPECT_FLOAT_EQ(king.GetColonists(), 6.0f);
    country.AddColonists(-9.0f);
    EXPECT_FLOAT_EQ(country.m_colonists, 0.0f);

    country.AddToTreasury(0.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, 10.0f);
    EXPECT_FLOAT_EQ(king.GetMoney(), 10.0f);
    country.AddToTreasury(5.0f);
    EXPECT_FLOAT_EQ(king.GetMoney(), 15.0f);
}

TEST_F(AICountryTest, ColonisationLimitsOfTheComputer) {
    CAICountry& turks = MakeCountry(10);
    CAICountry& english = MakeCountry(1);
    CProvince* europe = GetProvince(100);
    CProvince* asia = GetProvince(101);
    CProvince* africa = GetProvince(102);
    europe->continent = 2;
    asia->continent = 3;
    africa->continent = 5;
    struct Case {
        CAICountry* country;
        uint32_t religion;
        CProvince* province;
        bool allowed;
    };
    for (const Case& c :
         {Case{&turks, RELIGION_SUNNI, europe, false}, Case{&turks, RELIGION_SUNNI, asia, true},
          Case{&turks, RELIGION_SHIITE, africa, true},
          Case{&english, RELIGION_CATHOLIC, europe, true}}) {
        c.country->m_religion.stateReligion = c.religion;
        EXPECT_EQ(c.country->PassesColonyLimits(c.province->GetNumber()), c.allowed)
            << c.country->GetNumber() << " " << c.province->continent;
    }
    EXPECT_FALSE(english.PassesColonyLimits(0));
    EXPECT_FALSE(english.PassesColonyLimits(5000));
    europe->continent = asia->continent = africa->continent = 0;
}

TEST_F(AICountryTest, OffersToACountryWithoutAnActiveKingAreLeftAlone) {
    CAICountry& country = MakeCountry(30);
    COVAnnexationEvent offer(EVT_EXEC_OFFER_ANNEXATION, country.GetId(), 31, 0);
    const uint32_t queued = g_scheduler.GetCount();
    EXPECT_EQ(country.HandleMessage(offer), EVENT_CONSUMED);
    EXPECT_EQ(g_scheduler.GetCount(), queued);
    // After the AI is gone the country goes on answering as a plain one.
    country.DestroyAI();
    EXPECT_FALSE(country.HasKing());
    EXPECT_EQ(country.HandleMessage(offer), EVENT_CONSUMED);
    country.AddToTreasury(3.0f);
    EXPECT_FLOAT_EQ(country.m_treasury, 3.0f);
}

// The computer player runs on the host alone: its monthly mission points
// go out as a message, so that every machine adds the same.
TEST_F(AICountryTest, MissionPointsAreAddedThroughAMessageToEveryMachine) {
    g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
    g_config->SetWord(ConfigOffset::kMissions, 1);
    CAICountry& country = MakeCountry(30);
    country.m_major = 1;
    float sent = 0.0f;
    for (int month = 0; month < 5000 && sent == 0.0f; ++month) {
        g_scheduler.Clear();
        COVTimerEvent tick(EVT_TIMER_MONTH, g_broadcastId, g_gameTimer->currentDate);
        country.HandleMessage(tick);
        g_scheduler.ForEachSend([&](const COVEvent& event) {
            if (event.GetType() != EVT_UNNAMED_314)
                return;
            EXPECT_EQ(event.GetReceiver(), country.GetId());
            EXPECT_EQ(event.Payload().Get(BaseVictoryPointsPayload::kKind), 6u);
            sent += event.Payload().Get(BaseVictoryPointsPayload::kAmount);
        });
    }
    ASSERT_GT(sent, 0.0f);
    EXPECT_FLOAT_EQ(country.m_baseVp.values[6], sent);
}

TEST_F(AICountryTest, TheMonthAnswersAsTheBaseSoThatLaterCountriesHearIt) {
    CAICountry& country = MakeCountry(30);
    country.GetKing()->Start();
    CCountry plain(31);
    COVTimerEvent month(EVT_TIMER_MONTH, g_broadcastId, CDate(1, 1, 1500));
    EXPECT_EQ(country.HandleMessage(month), plain.HandleMessage(month));
}

} // namespace
