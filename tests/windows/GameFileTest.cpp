// Scenario and saved-game files end to end, with the objects of the running
// game registered by their owners: the demo scenario loads into the world, a
// save reads back into the same save, multiplayer saves leave the player's
// screen out, bad input at the top level stops the read, and bad first
// fields pass over their blocks. (The reader and writer on their own, with
// includes and failed saves: tests/data/GameFileTest.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/PeaceOffer.h"
#include "country/War.h"
#include "engine/GameState.h"
#include "military/units/Leader.h"
#include "military/units/Monarch.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/Session.h"
#include "tests/windows/GameFileFixture.h"
#include "world/Mecenat.h"
#include "world/Scenario.h"

namespace test {
namespace {

template <class T> std::vector<T*> Items(const CLinkedList<T>& list) {
    std::vector<T*> items;
    typename CLinkedList<T>::CListPosition position;
    for (list.GetHeadPosition(position); position; CLinkedList<T>::MoveNext(position))
        items.push_back(position->item);
    return items;
}

std::vector<std::string> LeaderNames(const CUnit& unit) {
    std::vector<std::string> names;
    for (CLeader* leader : Items(unit.GetLeaders()))
        names.push_back(leader->GetName());
    return names;
}

std::vector<CUnit*> Units(const CLinkedList<CUnit>& list) {
    return Items(list);
}

// The top-level keys of a saved file, in order (the words at the start of a
// line that are followed by " = ").
std::vector<std::string> TopLevelKeys(const std::string& bytes) {
    std::vector<std::string> keys;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        std::string line =
            bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        size_t equals = line.find(" = ");
        if (!line.empty() && line[0] != ' ' && line[0] != '}' && equals != std::string::npos)
            keys.push_back(line.substr(0, equals));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return keys;
}

TEST_F(GameFileTest, EveryTopLevelObjectHasItsOwner) {
    struct Case {
        uint32_t keyword;
        GameFileValue value;
        bool written; // saved games hold it
    };
    const Case cases[] = {
        {KW_GLOBALDATA, GameFileValue::Block, true}, {KW_PROVINCE, GameFileValue::QuietBlock, true},
        {KW_COT, GameFileValue::Block, true},        {KW_COUNTRY, GameFileValue::QuietBlock, true},
        {KW_MISSION, GameFileValue::Block, false},   {KW_EYR, GameFileValue::Block, true},
        {KW_INTERFACE, GameFileValue::Block, true},  {KW_MECENAT, GameFileValue::Block, true},
        {KW_COMBAT, GameFileValue::AnyValue, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(KeywordText(c.keyword));
        const GameFileObject* object = FindGameFileObject(c.keyword);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->value, c.value);
        EXPECT_EQ(object->write != nullptr, c.written);
    }
    // What the header and the writer ask of the running game.
    EXPECT_TRUE(g_scenarioHeaderHooks.findCountryByTag);
    EXPECT_TRUE(g_scenarioHeaderHooks.describeRunningCountry);
    EXPECT_TRUE(g_scenarioHeaderHooks.gameType);
    EXPECT_TRUE(g_scenarioHeaderHooks.scenarioFileName);
    EXPECT_TRUE(g_gameState.isMultiplayerGame);
}

TEST_F(GameFileTest, DemoScenarioLoadsWithTheValuesRead) {
    CopyDemoScenario();
    ASSERT_EQ(Load("scenarios\\amber_coast.ovg"), FIELD_BLOCK_END) << AllBoxes();
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();

    // The header, with the nations that make their countries major.
    ASSERT_TRUE(g_scenarioInfo);
    EXPECT_EQ(g_scenarioInfo->name, "The Amber Coast");
    EXPECT_EQ(g_scenarioInfo->nationCount, 2u);
    EXPECT_EQ(g_globals.startDate, CDate(0, 2, 1560));

    // The countries.
    CCountry* avaris = g_countries[1];
    CCountry* brenmark = g_countries[2];
    CCountry* zeluna = g_countries[3];
    ASSERT_TRUE(avaris && brenmark && zeluna);
    EXPECT_FLOAT_EQ(avaris->m_treasury, 250.0f);
    EXPECT_FLOAT_EQ(avaris->m_vp, 20.0f);
    EXPECT_EQ(avaris->m_major, 1);
    EXPECT_EQ(brenmark->m_major, 1);
    // Zeluna is no selectable nation, but its mission (from the included
    // file) makes it major.
    EXPECT_EQ(zeluna->m_major, 1);
    EXPECT_EQ(zeluna->m_missionType, 1);
    EXPECT_STREQ(zeluna->m_missionName, "The Reed Islands");

    // The provinces of the included file; where the coast lies comes from
    // the map: Avaris's home is its capital, the shore of the Reed Islands
    // is the first province of Zeluna's mission, Dunmere the other of
    // Avaris's provinces.
    const int32_t avarisHome = avaris->m_capital;
    const int32_t brenmarkHome = brenmark->m_capital;
    std::vector<int32_t> reeds;
    zeluna->m_missionArea.ForEach([&reeds](int32_t id) { reeds.push_back(id); });
    ASSERT_EQ(reeds.size(), 2u);
    int32_t dunmere = 0;
    avaris->m_ownedProvinces.ForEach([&](int32_t id) {
        if (id != avarisHome)
            dunmere = id;
    });
    EXPECT_EQ(GetProvince(avarisHome)->tax, 8);
    EXPECT_EQ(GetProvince(brenmarkHome)->winter, 1);
    EXPECT_EQ(GetProvince(brenmarkHome)->religion, RELIGION_PROTESTANT);
    EXPECT_EQ(GetProvince(reeds[0])->natives, 300);
    EXPECT_EQ(GetProvince(reeds[0])->religion, RELIGION_PAGAN);
    EXPECT_EQ(GetProvince(avarisHome)->GetOwnerNumber(), 1);
    EXPECT_EQ(GetProvince(dunmere)->GetOwnerNumber(), 1);
    EXPECT_EQ(GetProvince(brenmarkHome)->GetOwnerNumber(), 2);

    // The monarch.
    ASSERT_TRUE(avaris->m_monarch);
    EXPECT_EQ(avaris->m_monarch->GetLeader().GetName(), "Queen Ysolde the Steadfast");
    EXPECT_EQ(avaris->m_monarch->adm, 7);

    // The fleet, its admiral and the army it carries; the marching army and
    // its marshal.
    std::vector<CUnit*> units = Units(avaris->m_units);
    ASSERT_EQ(units.size(), 3u);
    CNavalUnit* fleet = nullptr;
    CLandUnit* marines = nullptr;
    CLandUnit* army = nullptr;
    for (CUnit* unit : units) {
        if (unit->GetName() == "Ambersea Squadron")
            fleet = dynamic_cast<CNavalUnit*>(unit);
        else if (unit->GetName() == "Marines of Avaris")
            marines = dynamic_cast<CLandUnit*>(unit);
        else if (unit->GetName() == "Army of the Dunes")
            army = dynamic_cast<CLandUnit*>(unit);
    }
    ASSERT_TRUE(fleet && marines && army);
    EXPECT_EQ(LeaderNames(*fleet), std::vector<std::string>{"Admiral Corvin Hale"});
    EXPECT_EQ(LeaderNames(*army), std::vector<std::string>{"Marshal Edda Vosk"});
    EXPECT_EQ(marines->GetCarrier(), fleet);
    EXPECT_EQ(fleet->GetCargo().GetCount(), 1u);
    EXPECT_EQ(army->GetRoundedInfantry(), 8000);
    EXPECT_EQ(army->GetNextPathProvince(), dunmere);

    // Brenmark: one regiment in the field, one still being raised.
    EXPECT_EQ(brenmark->m_units.GetCount(), 1u);
    ASSERT_EQ(brenmark->m_unitsInDevelopment.GetCount(), 1u);
    CUnit* levy = Units(brenmark->m_unitsInDevelopment).front();

    // On the host the army's next step and the levy's completion wait in
    // the scheduler at their dates.
    bool moveStep = false;
    bool finish = false;
    g_scheduler.ForEachEvent([&](COVEvent* event) {
        const COVEventData& payload = event->Payload();
        if (payload.GetTypeId() == EVT_UNNAMED_57 &&
            payload.Get(MoveStepPayload::kUnit) == army->GetId()) {
            moveStep = true;
            EXPECT_EQ(payload.GetReceiver(), g_unitServerId);
            EXPECT_EQ(payload.GetDueDate(), CDate(6, 2, 1560));
            EXPECT_EQ(payload.Get(MoveStepPayload::kProvince), dunmere);
        }
        if (payload.GetTypeId() == EVT_UNIT_FINISH && payload.GetReceiver() == levy->GetId()) {
            finish = true;
            EXPECT_EQ(payload.GetDueDate(), CDate(14, 4, 1560));
        }
    });
    EXPECT_TRUE(moveStep);
    EXPECT_TRUE(finish);
}

TEST_F(GameFileTest, SaveLoadSaveGivesIdenticalBytes) {
    CopyDemoScenario();
    ASSERT_EQ(Load("scenarios\\amber_coast.ovg"), FIELD_BLOCK_END) << AllBoxes();
    // Some screen state and a traveller, so that every object is written.
    g_mainScreen->merchant = 1;
    g_viewCentreX = 4000;
    g_mainScreen->GetUnitGroup(0).AddTail(Units(g_countries[1]->m_units).front()->GetId());
    // A battle of the last English army against the first French one.
    const auto idText = [](const CUnit* unit) {
        return "id = { type = " + std::to_string(unit->GetId().type) +
               " id = " + std::to_string(unit->GetId().number) + " }";
    };
    const std::string attacker = idText(Units(g_countries[1]->m_units).back());
    const std::string defender = idText(Units(g_countries[2]->m_units).front());
    ASSERT_EQ(
        LoadText("mecenat = { source = 101 destination = 104 date = { year = 1560 month = "
                 "april day = 2 } }\n"
                 "cot = { location = 101 merchant = { tag = FRA level = 2 extra = { country = FRA "
                 "date = { year = 1561 month = may day = 2 } location = 101 success = yes } } }\n"
                 "combat = { id = { type = 4712 id = 50 } type = land province = 284 "
                 "morale = { 0.75 1.25 } attackers = { " +
                     attacker + " } defenders = { " + defender + " } }\n",
                 "extra.ovg"),
        FIELD_BLOCK_END);
    std::filesystem::create_directories(dir.Path() / "scenarios" / "save games");
    ASSERT_EQ(SaveGameFile("scenarios\\save games\\first.ovg"), FIELD_WRITTEN);
    const std::string first = dir.ReadFile("scenarios/save games/first.ovg");

    EXPECT_EQ(first.rfind("header = {", 0), 0u);
    EXPECT_EQ(first.substr(first.size() - 2), "} ");
    std::vector<std::string> keys = TopLevelKeys(first);
    std::vector<std::string> expected = {
        "header",  "globaldata", "province", "province", "province",  "province", "province", "cot",
        "country", "country",    "country",  "eyr",      "interface", "mecenat",  "combat"};
    EXPECT_EQ(keys, expected);

    ResetWorld();
    ASSERT_EQ(Load("scenarios\\save games\\first.ovg"), FIELD_BLOCK_END) << AllBoxes();
    ASSERT_EQ(SaveGameFile("scenarios\\save games\\second.ovg"), FIELD_WRITTEN);
    EXPECT_EQ(dir.ReadFile("scenarios/save games/second.ovg"), first);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "scenarios/save games/second.ovg.tmp"));
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
}

// A game with a dynastic and a military alliance, a war with its score and
// a pending peace offer: the treaties survive a save and come back the same.
TEST_F(GameFileTest, TreatiesSaveLoadSaveGiveIdenticalBytes) {
    const char* const kGame =
        "header = { name = \"Treaties\" startyear = 1560 endyear = 1600 }\n"
        "globaldata = {\n"
        "  startdate = { year = 1560 month = march day = 0 }\n"
        "  enddate = { year = 1600 month = december day = 29 }\n"
        "  emperor = HAB\n"
        "  alliance = { id = { type = 4712 id = 3 } type = dynasticalliance name = \"Wedding\" "
        "participant = { ENG FRA } startdate = { year = 1555 month = may day = 3 } }\n"
        "  alliance = { id = { type = 4712 id = 4 } type = militaryalliance name = \"League\" "
        "participant = { FRA HAB } expirydate = { year = 1570 month = june day = 1 } }\n"
        "  war = { id = { type = 4712 id = 7 } date = { year = 1559 month = april day = 2 }\n"
        "    attackerscore = { ENG = { HAB = 4 } } defenderscore = { HAB = { ENG = -2 } }\n"
        "    attackers = { id = { type = 4712 id = 8 } type = war participant = { ENG } }\n"
        "    defenders = { id = { type = 4712 id = 9 } type = war participant = { HAB } } }\n"
        "}\n"
        "country = { tag = ENG treasury = 100 }\n"
        "country = { tag = FRA treasury = 80 }\n"
        "country = { tag = HAB treasury = 60 }\n"
        "peace = { war = { type = 4712 id = 7 } from = ENG to = HAB "
        "value = 2 cash = 100 provinces = { 104 } newowners = { ENG } demanding = yes }\n";
    ASSERT_EQ(LoadText(kGame, "treaties.ovg"), FIELD_BLOCK_END) << AllBoxes();
    ASSERT_EQ(g_alliances.size(), 2u);
    ASSERT_EQ(g_wars.size(), 1u);
    ASSERT_EQ(g_peaceOffers.size(), 1u);
    ASSERT_EQ(SaveGameFile("first.ovg"), FIELD_WRITTEN);
    const std::string first = dir.ReadFile("first.ovg");
    for (const char* piece : {"dynasticalliance", "militaryalliance", "war = {", "peace = {"})
        EXPECT_NE(first.find(piece), std::string::npos) << piece;

    ResetWorld();
    ASSERT_TRUE(g_alliances.empty() && g_wars.empty() && g_peaceOffers.empty());
    ASSERT_EQ(Load("first.ovg"), FIELD_BLOCK_END) << AllBoxes();
    ASSERT_EQ(SaveGameFile("second.ovg"), FIELD_WRITTEN);
    EXPECT_EQ(dir.ReadFile("second.ovg"), first);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
}

TEST_F(GameFileTest, MultiplayerSaveHasNoInterfaceAndNoTravellers) {
    ASSERT_EQ(LoadText("mecenat = { source = 101 }\n"), FIELD_BLOCK_END);
    ASSERT_EQ(g_mainScreen->travellers.GetCount(), 1u);

    CNetSession session;
    session.m_active = 1;
    session.m_isHost = 1;
    session.m_slotCount = 2;
    CNetSession* previous = g_netSession;
    g_netSession = &session;
    int32_t result = SaveGameFile("multi.ovg");
    g_netSession = previous;
    ASSERT_EQ(result, 0);
    const std::string multi = dir.ReadFile("multi.ovg");
    EXPECT_EQ(multi.find("interface"), std::string::npos);
    EXPECT_EQ(multi.find("mecenat"), std::string::npos);
    EXPECT_EQ(TopLevelKeys(multi).back(), "eyr");

    // A single-player save of the same game keeps both.
    ASSERT_EQ(SaveGameFile("single.ovg"), FIELD_WRITTEN);
    const std::string single = dir.ReadFile("single.ovg");
    EXPECT_NE(single.find("\ninterface = {"), std::string::npos);
    EXPECT_NE(single.find("\nmecenat = {"), std::string::npos);
}

TEST_F(GameFileTest, StructuralErrorsAtTheTopLevelStopTheRead) {
    struct Case {
        const char* name;
        const char* text;
        int32_t result;
        const char* box; // null: no box expected
    };
    const Case cases[] = {
        {"empty file", "", FIELD_BLOCK_END, nullptr},
        {"comments only", "# nothing here\n; nor here\n", FIELD_BLOCK_END, nullptr},
        {"unknown key", "globaldata = { }\nweather = { rain = yes }\nglobaldata = { x = 1 }\n",
         FIELD_ERROR, "Illegal top level object"},
        {"stray close brace", "globaldata = { }\n}\nglobaldata = { x = 1 }\n", FIELD_ERROR,
         "Illegal top level object"},
        {"missing equals", "globaldata = { }\nprovince { id = 5 }\n", FIELD_ERROR, nullptr},
        {"header without brace", "header = 5\nglobaldata = { }\n", FIELD_BLOCK_END,
         "No left curly"},
        {"combat that is no block", "combat = 3\n", FIELD_ERROR, nullptr},
        {"key in capitals", "GLOBALDATA = { startdate = { year = 1600 } }\n", FIELD_BLOCK_END,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetWorld();
        boxes.texts.clear();
        EXPECT_EQ(LoadText(c.text), c.result);
        if (c.box) {
            EXPECT_TRUE(BoxShown(c.box));
        }
    }
    // Objects before the error stay read; nothing after it is.
    ResetWorld();
    EXPECT_EQ(LoadText("globaldata = { startdate = { year = 1500 } }\nfoo = 1\n"
                       "globaldata = { startdate = { year = 1700 } }\n"),
              FIELD_ERROR);
    EXPECT_EQ(g_globals.startDate.year, 1500);
}

TEST_F(GameFileTest, BadFirstFieldsSkipTheirBlock) {
    // The rest of a block whose first field is wrong is passed over, so the
    // objects after it are still read.
    const std::string text = "province = { natives = 5 income = 3 }\n"
                             "province = { id = 1473 natives = 5 }\n"
                             "country = { ai = \"x.ai\" treasury = 5 }\n"
                             "mission = { missiontype = 2 }\n"
                             "mission = { tag = QQQ missiontype = 2 }\n"
                             "province = { id = 1472 natives = 7 }\n"
                             "province = { id = 0 natives = 2 }\n";
    EXPECT_EQ(LoadText(text), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("id HAS to be first in province"));
    EXPECT_TRUE(BoxShown("illegal province id"));
    EXPECT_TRUE(BoxShown("tag HAS to be first in country"));
    EXPECT_TRUE(BoxShown("tag must be first in mission field"));
    EXPECT_TRUE(BoxShown("mission referring to non existant country "));
    EXPECT_FALSE(BoxShown("Illegal top level object"));
    EXPECT_EQ(GetProvince(1472)->natives, 7);
    EXPECT_EQ(GetProvince(0)->natives, 2);
}

} // namespace
} // namespace test
