#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "country/Country.h"
#include "country/Emperor.h"
#include "data/Keywords.h"
#include "engine/ObjectId.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "tests/TestSupport.h"
#include "world/Globals.h"
#include "world/GlobalsTreaties.h"

namespace {

std::vector<ObjectId> g_delivered;

class RecordingCountry : public CCountry {
public:
    explicit RecordingCountry(uint32_t number) : CCountry(number) {}
    int HandleMessage(COVEvent& event) override {
        if (event.GetType() == EVT_NEW_EMPEROR)
            g_delivered.push_back(event.GetReceiver());
        return EVENT_CONSUMED;
    }
};

class EmperorTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        InitIdRegistries(g_nullId);
        session.m_active = 1;
        session.m_isHost = 1;
        session.SetSendFunction([this](const std::vector<uint8_t>& block) {
            // The payload follows the 4-byte block head; its receiver number
            // sits at payload offset 16.
            const size_t at = 4 + 16;
            sent.push_back(static_cast<uint32_t>(block.at(at) | block.at(at + 1) << 8 |
                                                 block.at(at + 2) << 16 | block.at(at + 3) << 24));
            return true;
        });
        g_netSession = &session;
        g_scheduler.Clear();
        g_delivered.clear();
        GameSrand(4711);
    }
    void TearDown() override {
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        g_netSession = nullptr;
        DeleteAllCountries();
        FreeIdRegistries();
    }

    // Countries of the numbers with their state religion keyword.
    void MakeCountries(std::initializer_list<std::pair<uint32_t, const char*>> countries) {
        for (const auto& [number, religion] : countries) {
            auto country = std::make_unique<RecordingCountry>(number);
            dir.WriteFile("religion.txt", std::string("type = ") + religion + " }");
            CFieldReader in;
            in.Open("religion.txt", "r");
            ASSERT_EQ(country->m_religion.Read(in), FIELD_BLOCK_END);
            ASSERT_TRUE(AddCountry(std::move(country)));
        }
    }

    std::vector<uint32_t> Sent() {
        g_scheduler.FlushSend();
        return sent;
    }

    test::ScopedGameDir dir;
    CNetSession session;
    std::vector<uint32_t> sent;
};

TEST_F(EmperorTest, TheHostElectsTheBestScoredCatholicElectorAndTellsEveryMachine) {
    // 6 and 49 are catholic members of the empire; 49 doubles every score
    // but favours itself less than 6 gains from the doubling; 2 is no member,
    // 36 is a protestant member.
    MakeCountries({{2, "catholic"}, {6, "catholic"}, {36, "protestant"}, {49, "counterreform"}});
    EXPECT_EQ(ElectEmperor(), 6u);
    EXPECT_EQ(Sent(), std::vector<uint32_t>{6});
    EXPECT_EQ(g_delivered, std::vector<ObjectId>{ObjectId(3, 6)});
}

TEST_F(EmperorTest, TheCrownFavoursItsOldHouses) {
    MakeCountries({{6, "catholic"}, {3, "catholic"}});
    EXPECT_EQ(ElectEmperor(), 3u);
    EXPECT_EQ(Sent(), std::vector<uint32_t>{3});
}

TEST_F(EmperorTest, WithoutACandidateTheThirdCountryIsEmperor) {
    MakeCountries({{6, "protestant"}, {2, "catholic"}});
    const uint32_t before = GameRandState();
    EXPECT_EQ(ElectEmperor(), CGlobals::kDefaultEmperor);
    EXPECT_EQ(GameRandState(), before) << "no candidate, no draw";
    EXPECT_EQ(Sent(), std::vector<uint32_t>{3});
}

TEST_F(EmperorTest, AClientNeitherDrawsNorSends) {
    MakeCountries({{6, "catholic"}, {49, "catholic"}});
    session.m_isHost = 0;
    const uint32_t before = GameRandState();
    EXPECT_EQ(ElectEmperor(), 0u);
    EXPECT_EQ(GameRandState(), before);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(g_delivered.empty());
}

TEST_F(EmperorTest, TheMembersRelationsTowardACandidateCount) {
    for (uint32_t favoured : {19u, 6u}) {
        SCOPED_TRACE(favoured);
        MakeCountries({{6, "catholic"}, {19, "catholic"}});
        for (uint32_t member : {6u, 19u})
            CountryOfNumber(member)->m_diplomacy.GetRelation(favoured)->value = 150.0f;
        EXPECT_EQ(ElectEmperor(), favoured);
        DeleteAllCountries();
    }
}

TEST_F(EmperorTest, AClientAppliesTheHostsNewEmperorMessage) {
    session.m_isHost = 0;
    ASSERT_TRUE(AddCountry(std::make_unique<CCountry>(6)));
    g_globals.emperor = 3;
    COVSimpleEvent message(EVT_NEW_EMPEROR, ObjectId(kCountryObjectType, 6));
    EXPECT_EQ(CountryOfNumber(6)->HandleMessage(message), EVENT_CONSUMED);
    EXPECT_EQ(g_globals.emperor, 6u);
    EXPECT_TRUE(Sent().empty());
    g_globals.emperor = CGlobals::kDefaultEmperor;
}

TEST_F(EmperorTest, TheGlobalsCallTheElectionThroughTheirSeam) {
    ASSERT_NE(g_globalsTreaties.electEmperor, nullptr);
    MakeCountries({{6, "catholic"}});
    g_globalsTreaties.electEmperor();
    EXPECT_EQ(Sent(), std::vector<uint32_t>{6});
}

} // namespace
