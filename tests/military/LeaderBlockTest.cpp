#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "data/Keywords.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/Monarch.h"
#include "net/EventTypes.h"
#include "tests/military/MilitaryBlockFixture.h"

namespace {

const char* const kFullLeader = "leader = { id = { type = 6 id = 12 } name = \"Tilly\" category = "
                                "privateer location = 17 rank = 2 "
                                "fire = 3 shock = 4 siege = 1 movement = 5 special = 7 "
                                "startdate = { year = 1600 month = march day = 4 } deathdate = { "
                                "year = 1632 month = april day = 29 } }";

class LeaderBlockTest : public test::MilitaryBlockTest {
protected:
    // Reads "key = { ... }" into the leader; answers Read's result.
    int32_t ReadLeader(const std::string& text, CLeader& leader) {
        OpenBlock(text);
        return leader.Read(reader);
    }
    int32_t ReadMonarch(const std::string& text, CMonarch& monarch) {
        OpenBlock(text);
        return monarch.Read(reader);
    }
};

TEST_F(LeaderBlockTest, LeaderAndMonarchBlocksRoundTripByteForByte) {
    CHistoricalLeader leader;
    ASSERT_EQ(ReadLeader(kFullLeader, leader), FIELD_BLOCK_END);
    EXPECT_EQ(leader.GetId(), ObjectId(6, 12));
    EXPECT_EQ(leader.GetName(), "Tilly");
    EXPECT_EQ(leader.category, LEADER_PRIVATEER);
    EXPECT_EQ(leader.location, 17);
    EXPECT_EQ(leader.manoeuvre, 5);
    EXPECT_EQ(leader.special, 7);
    EXPECT_EQ(leader.endDate, CDate(29, 3, 1632));
    const std::string printed = Print(KW_LEADER, leader.Write());
    EXPECT_EQ(Flat(printed), std::string(kFullLeader) + " ");
    for (const char* entry : {"category = privateer", "movement = 5", "special = 7",
                              "startdate = { year = 1600 month = march day = 4 }",
                              "deathdate = { year = 1632 month = april day = 29 }"})
        EXPECT_NE(printed.find(entry), std::string::npos) << entry;
    CHistoricalLeader leaderAgain;
    ASSERT_EQ(ReadLeader(printed, leaderAgain), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_LEADER, leaderAgain.Write()), printed);

    CMonarch monarch;
    ASSERT_EQ(ReadMonarch(
                  "monarch = { id = { type = 6 id = 40 } name = \"Louis\" rank = 1 "
                  "startdate = { year = 1643 month = may day = 14 } "
                  "deathdate = { year = 1715 month = september day = 1 } ADM = 6 DIP = 5 MIL = 4 }",
                  monarch),
              0);
    EXPECT_EQ(monarch.GetLeader().category, LEADER_MONARCH);
    EXPECT_EQ(monarch.adm, 6);
    const std::string first = Print(KW_MONARCH, monarch.Write());
    CHistoricalMonarch again;
    ASSERT_EQ(ReadMonarch(first, again), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_MONARCH, again.Write()), first);
    EXPECT_NE(first.find("category = monarch"), std::string::npos);
    EXPECT_LT(first.find("deathdate"), first.find("ADM = 6"));
    EXPECT_LT(first.find("ADM = 6"), first.find("DIP = 5"));
    EXPECT_LT(first.find("DIP = 5"), first.find("MIL = 4"));
    EXPECT_TRUE(boxes.texts.empty());
}

// A damaged file's values at the ends of the 32-bit range are held where
// the unit rules can multiply them (four times the manoeuvre) in range.
TEST_F(LeaderBlockTest, ValuesOfAFileAreHeldWhereTheRulesCanScaleThem) {
    const std::pair<const char*, int32_t> cases[] = {
        {"2147483647", kLeaderValueLimit},
        {"-2147483648", -kLeaderValueLimit},
        {"999999999999999999999", kLeaderValueLimit},
        {"5", 5},
    };
    for (const auto& [text, held] : cases) {
        const std::string v = text;
        CLeader leader;
        ASSERT_EQ(ReadLeader("leader = { rank = " + v + " manuever = " + v + " fire = " + v +
                                 " shock = " + v + " siege = " + v + " special = " + v + " }",
                             leader),
                  FIELD_BLOCK_END)
            << v;
        for (int32_t value :
             {leader.rank, leader.manoeuvre, leader.fire, leader.shock, leader.siege})
            EXPECT_EQ(value, held) << v;
        CMonarch monarch;
        ASSERT_EQ(
            ReadMonarch("monarch = { mil = " + v + " dip = " + v + " adm = " + v + " }", monarch),
            FIELD_BLOCK_END)
            << v;
        for (int32_t value : {monarch.mil, monarch.dip, monarch.adm})
            EXPECT_EQ(value, held) << v;
    }
}

TEST_F(LeaderBlockTest, EveryCategoryReadsBackAndPrivateerIsNoMonarchCategory) {
    const char* const words[] = {"general",  "admiral", "conquistador",
                                 "explorer", "monarch", "privateer"};
    for (int32_t category = 0; category < 6; ++category) {
        CRandomLeader leader;
        leader.category = category;
        CRandomLeader back;
        ASSERT_EQ(ReadLeader(Print(KW_LEADER, leader.Write()), back), FIELD_BLOCK_END);
        EXPECT_EQ(back.category, category) << words[category];
    }
    CRandomLeader odd;
    odd.category = 9;
    EXPECT_NE(Print(KW_LEADER, odd.Write()).find("category = monarch"), std::string::npos);

    CMonarch monarch;
    monarch.GetLeader().category = LEADER_GENERAL;
    ASSERT_EQ(ReadMonarch("monarch = { category = privateer }", monarch), FIELD_BLOCK_END);
    EXPECT_EQ(monarch.GetLeader().category, LEADER_MONARCH);
    EXPECT_TRUE(BoxShown("unknown leader type"));
}

TEST_F(LeaderBlockTest, StartDateAfterEndDateMovesToTheYearBeforeForLeadersOnly) {
    const std::string dates = "startdate = { year = 1650 month = january day = 1 } "
                              "deathdate = { year = 1600 month = january day = 1 } }";
    CRandomLeader leader;
    ASSERT_EQ(ReadLeader("leader = { " + dates, leader), FIELD_BLOCK_END);
    EXPECT_EQ(leader.startDate, CDate(1, 0, 1599));
    EXPECT_EQ(leader.endDate, CDate(1, 0, 1600));

    CMonarch monarch;
    ASSERT_EQ(ReadMonarch("monarch = { " + dates, monarch), FIELD_BLOCK_END);
    EXPECT_EQ(monarch.GetLeader().startDate, CDate(1, 0, 1650));
}

TEST_F(LeaderBlockTest, SynonymKeysFillOneFieldAndMissingSpecialKeepsItsValue) {
    CRandomLeader leader;
    leader.special = 3;
    ASSERT_EQ(
        ReadLeader("leader = { manuever = 2 enddate = { year = 1700 } remark = \"any\" }", leader),
        0);
    EXPECT_EQ(leader.manoeuvre, 2);
    EXPECT_EQ(leader.endDate.year, 1700);
    EXPECT_EQ(leader.special, 3);

    leader.special = 0;
    const std::string printed = Print(KW_LEADER, leader.Write());
    EXPECT_EQ(printed.find("special"), std::string::npos);
    EXPECT_NE(printed.find("movement = 2"), std::string::npos);
    EXPECT_NE(printed.find("deathdate = { year = 1700"), std::string::npos);
}

TEST_F(LeaderBlockTest, BlocksWithoutIdGetType4712AndTheNextNumberOnEveryMachine) {
    // The id type of the file's objects does not follow the local player.
    g_localPlayerNumber = 3;
    InitIdRegistries(g_nullId);
    CRandomLeader first;
    CRandomLeader second;
    CHistoricalLeader historical;
    CMonarch monarch;
    CHistoricalMonarch historicalMonarch;
    ASSERT_EQ(ReadLeader("leader = { rank = 1 }", first), FIELD_BLOCK_END);
    ASSERT_EQ(ReadLeader("leader = { rank = 1 }", second), FIELD_BLOCK_END);
    ASSERT_EQ(ReadLeader("historicalleader = { rank = 1 }", historical), FIELD_BLOCK_END);
    ASSERT_EQ(ReadMonarch("monarch = { MIL = 3 }", monarch), FIELD_BLOCK_END);
    ASSERT_EQ(ReadMonarch("historicalmonarch = { MIL = 3 }", historicalMonarch), FIELD_BLOCK_END);
    EXPECT_EQ(first.GetId(), ObjectId(4712, 1));
    EXPECT_EQ(second.GetId(), ObjectId(4712, 2));
    EXPECT_EQ(monarch.GetId(), ObjectId(4712, 3));
    EXPECT_TRUE(historical.GetId().IsNull());
    EXPECT_TRUE(historicalMonarch.GetId().IsNull());
}

TEST_F(LeaderBlockTest, ReaderCountryIsGiven) {
    CCountry country(7);
    reader.currentCountry = &country;
    CRandomLeader leader;
    CMonarch monarch;
    ASSERT_EQ(ReadLeader("leader = { }", leader), FIELD_BLOCK_END);
    reader.currentCountry = &country;
    ASSERT_EQ(ReadMonarch("monarch = { location = 44 }", monarch), FIELD_BLOCK_END);
    EXPECT_EQ(leader.GetCountry(), &country);
    EXPECT_EQ(leader.GetCountryNumber(), 7u);
    EXPECT_EQ(monarch.GetLeader().GetCountry(), &country);
    // A monarch's location is accepted and ignored.
    EXPECT_EQ(monarch.GetLeader().location, 0);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(LeaderBlockTest, FileEndingInsideABlockSkipsTheEndSteps) {
    CCountry country(7);
    const std::string dates = "startdate = { year = 1650 } deathdate = { year = 1600 } ";
    CRandomLeader leader;
    reader.currentCountry = &country;
    EXPECT_EQ(ReadLeader("leader = { " + dates + "rank = 2", leader), FIELD_END_OF_FILE);
    EXPECT_TRUE(leader.GetId().IsNull());
    EXPECT_EQ(leader.startDate.year, 1650);
    EXPECT_EQ(leader.GetCountry(), nullptr);

    CMonarch monarch;
    reader.currentCountry = &country;
    EXPECT_EQ(ReadMonarch("monarch = { MIL = 2 startdate = { year = 1650", monarch),
              FIELD_END_OF_FILE);
    EXPECT_TRUE(monarch.GetId().IsNull());
    EXPECT_EQ(monarch.GetLeader().GetCountry(), nullptr);
}

TEST_F(LeaderBlockTest, FaultsAreReportedAndOnlyUnknownKeysEndTheBlock) {
    struct Case {
        const char* text;
        bool monarch;
        int32_t result;
        const char* report; // null: none
    };
    const Case cases[] = {
        {"leader = { rank = 2 colour = red fire = 3 }", false, FIELD_ERROR,
         "Leader : unexpected field"},
        {"monarch = { MIL = 2 colour = red }", true, FIELD_ERROR, "Monarch : Unexpected field"},
        {"leader = { startdate = 1600 rank = 2 }", false, 0, "no left curly"},
        {"monarch = { deathdate = 1600 MIL = 2 }", true, 0, "No left curly"},
        {"leader = { category = king rank = 2 }", false, 0, "unknown leader type"},
        {"monarch = { scheduled = maybe MIL = 2 }", true, 0, "Illegal Arugemnt"},
        {"leader = { location = 1473 rank = 2 }", false, 0, "Illegal province ID"},
        {"leader = { location = -1 rank = 2 }", false, 0, "Illegal province ID"},
        {"leader = { rank 5 fire = 3 }", false, 0, nullptr}, // logged by the field reader
        {"leader = { rank = soon fire = 3 }", false, 0, nullptr},
    };
    for (const Case& c : cases) {
        boxes.texts.clear();
        int32_t result = 0;
        if (c.monarch) {
            CMonarch monarch;
            result = ReadMonarch(c.text, monarch);
        } else {
            CRandomLeader leader;
            leader.location = 9;
            leader.rank = 1;
            result = ReadLeader(c.text, leader);
            // Faulty values are dropped, the fields after them read.
            EXPECT_EQ(leader.location, 9) << c.text;
            if (result == 0) {
                EXPECT_TRUE(leader.rank == 2 || leader.fire == 3) << c.text;
            }
        }
        EXPECT_EQ(result, c.result) << c.text;
        if (c.report) {
            EXPECT_TRUE(BoxShown(c.report)) << c.text;
        } else {
            EXPECT_TRUE(boxes.texts.empty()) << c.text;
        }
    }
}

TEST_F(LeaderBlockTest, ScheduledSetsTheMarkAndNoNeverClearsIt) {
    CMonarch monarch;
    ASSERT_EQ(ReadMonarch("monarch = { scheduled = yes }", monarch), FIELD_BLOCK_END);
    EXPECT_TRUE(monarch.IsLoadedActive());
    ASSERT_EQ(ReadMonarch("monarch = { scheduled = no }", monarch), FIELD_BLOCK_END);
    EXPECT_TRUE(monarch.IsLoadedActive());
}

TEST_F(LeaderBlockTest, LongNamesAreCut) {
    const std::string longName(300, 'x');
    CRandomLeader leader;
    ASSERT_EQ(ReadLeader("leader = { name = \"" + longName + "\" }", leader), FIELD_BLOCK_END);
    EXPECT_EQ(leader.GetName(), std::string(255, 'x'));
}

TEST_F(LeaderBlockTest, RegistryStoresLeadersAndSchedulesTheirStartOnTheHost) {
    CCountry country(4);
    CHistoricalLeader coming;
    coming.SetId({kLeaderIdType, 30});
    coming.startDate = CDate(0, 0, 1610);
    coming.endDate = CDate(0, 0, 1640);
    CHistoricalLeader active;
    active.SetId({kLeaderIdType, 31});
    active.endDate = CDate(0, 0, 1640);
    active.loadedActive = 1;
    CHistoricalLeader dead;
    dead.SetId({kLeaderIdType, 32});
    dead.endDate = kToday;
    CRandomLeader random; // no slot for a run-time id
    random.SetId({4712, 33});

    for (CLeader* leader : {static_cast<CLeader*>(&coming), static_cast<CLeader*>(&active),
                            static_cast<CLeader*>(&dead), static_cast<CLeader*>(&random)})
        g_leaderRegistry->AddLeader(leader);
    EXPECT_EQ(g_leaderRegistry->GetSlot(30), &coming);
    EXPECT_EQ(g_leaderRegistry->GetSlot(31), &active);
    EXPECT_EQ(g_leaderRegistry->GetSlot(33), nullptr);
    EXPECT_EQ(ResolveId({kLeaderIdType, 32}), &dead);

    // The queued messages of one type.
    const auto ofType = [this](uint32_t type) {
        std::vector<COVEvent*> events;
        for (COVEvent* event : Queued())
            if (event->GetType() == type)
                events.push_back(event);
        return events;
    };
    // Every leader added on the host is replaced at its end date, also one
    // whose end date has come; only the one still to come arrives.
    const auto replacements = ofType(EVT_REQUEST_REPLACEMENT_LEADER);
    ASSERT_EQ(replacements.size(), 4u);
    for (COVEvent* replacement : replacements) {
        EXPECT_EQ(replacement->GetReceiver(), g_leaderRequestsId);
        const ObjectId id = replacement->Payload().Get(ReplacementLeaderPayload::kLeader);
        const CLeader* leader = id.number == 30   ? &coming
                                : id.number == 31 ? &active
                                : id.number == 32 ? static_cast<CLeader*>(&dead)
                                                  : &random;
        EXPECT_EQ(replacement->GetDueDate(), leader->endDate) << id.number;
    }
    EXPECT_EQ(Queued().size(), 5u);
    auto queued = ofType(EVT_ARRIVE_LEADER);
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->GetType(), static_cast<uint32_t>(EVT_ARRIVE_LEADER));
    EXPECT_EQ(queued[0]->GetReceiver(), g_leaderRequestsId);
    EXPECT_EQ(queued[0]->Payload().Get(LeaderArrivalPayload::kLeader), ObjectId(kLeaderIdType, 30));
    EXPECT_EQ(queued[0]->GetDueDate(), CDate(0, 0, 1610));
    EXPECT_EQ(queued[0]->GetSendFlag(), 0);
    EXPECT_EQ(coming.loadedActive, 1);
    // Once scheduled, a second add schedules nothing more.
    g_leaderRegistry->AddLeader(&coming);
    EXPECT_EQ(Queued().size(), 5u);

    CMonarch monarch;
    monarch.GetLeader().SetId({kLeaderIdType, 40});
    monarch.GetLeader().SetCountry(&country);
    monarch.GetLeader().startDate = CDate(5, 6, 1601);
    monarch.GetLeader().endDate = CDate(0, 0, 1630);
    monarch.event2start = 77;
    CMonarch loaded;
    loaded.GetLeader().SetCountry(&country);
    loaded.GetLeader().endDate = CDate(0, 0, 1630);
    loaded.SetLoadedActive(true);
    g_leaderRegistry->AddMonarch(&monarch);
    g_leaderRegistry->AddMonarch(&loaded);
    EXPECT_EQ(g_leaderRegistry->GetSlot(40), &monarch.GetLeader());
    queued = ofType(EVT_ACTIVATE_MONARCH);
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(Queued().size(), 6u);
    COVEvent* activation = queued[0];
    EXPECT_EQ(activation->GetType(), static_cast<uint32_t>(EVT_ACTIVATE_MONARCH));
    EXPECT_EQ(activation->GetReceiver(), country.GetId());
    EXPECT_EQ(activation->Payload().Get(MonarchActivationPayload::kLeader),
              ObjectId(kLeaderIdType, 40));
    EXPECT_EQ(activation->Payload().Get(MonarchActivationPayload::kEvent2Start), 77);
    EXPECT_EQ(activation->GetDueDate(), CDate(5, 6, 1601));

    // A leader that goes gives its slot back.
    {
        CHistoricalLeader brief;
        brief.SetId({kLeaderIdType, 50});
        brief.loadedActive = 1;
        g_leaderRegistry->AddLeader(&brief);
        EXPECT_EQ(g_leaderRegistry->GetSlot(50), &brief);
    }
    EXPECT_EQ(g_leaderRegistry->GetSlot(50), nullptr);
}

TEST_F(LeaderBlockTest, ClientSchedulesNothing) {
    BecomeClient();
    CHistoricalLeader coming;
    coming.SetId({kLeaderIdType, 30});
    coming.endDate = CDate(0, 0, 1640);
    g_leaderRegistry->AddLeader(&coming);
    EXPECT_EQ(g_leaderRegistry->GetSlot(30), &coming);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(coming.loadedActive, 0);
}

} // namespace
