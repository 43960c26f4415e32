// The unit and colony name lists and the names the host gives new units
// and colonies.
#include "military/units/UnitNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/CountryTags.h"
#include "engine/TextDatabase.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/NavalUnit.h"
#include "net/EventTypes.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "tests/TestSupport.h"
#include "tests/military/MilitaryBlockFixture.h"
#include "world/Areas.h"
#include "world/City.h"
#include "world/Province.h"

namespace {

constexpr int32_t kHome = 20;
// Provinces the colony tests give cities and owners.
constexpr int32_t kColonies[] = {300, 301, 302, 303};

std::vector<std::string> Names(const CGrowArray<ColonyName>& list) {
    std::vector<std::string> names;
    for (const ColonyName& entry : list.Items())
        names.push_back(entry.name + "@" + std::to_string(entry.key));
    return names;
}

class UnitNamesTest : public test::MilitaryBlockTest {
protected:
    void SetUp() override {
        MilitaryBlockTest::SetUp();
        AddCountry(std::make_unique<CCountry>(1));
        AddCountry(std::make_unique<CCountry>(9));
        for (const auto& [key, text] :
             {std::pair<const char*, const char*>{"UNITNAMEEXP", "Expedition of %s"},
              {"UNITNAMEREGIMENT", "Regiment"},
              {"UNITNAMEARMY", "Army"},
              {"UNITNAMESQUADRON", "Squadron"},
              {"UNITNAMEFLEET", "Fleet"}})
            g_textDatabase.Insert(key, new std::string(text));
        m_homeName = GetProvince(kHome)->name;
        GetProvince(kHome)->name = "Avalon";
        for (int32_t id : kColonies) {
            const CProvince& province = *GetProvince(id);
            m_kept.push_back({province.name, province.region, province.continent});
        }
    }
    void TearDown() override {
        DeleteAllCountries();
        g_textDatabase.RemoveAll();
        GetProvince(kHome)->name = m_homeName;
        for (size_t i = 0; i < std::size(kColonies); ++i) {
            CProvince& province = *GetProvince(kColonies[i]);
            province.ResetForGame();
            province.name = m_kept[i].name;
            province.region = m_kept[i].region;
            province.continent = m_kept[i].continent;
        }
        for (auto* lists : {&g_armyNames, &g_navyNames})
            for (auto& list : *lists)
                list.Clear();
        for (auto* lists :
             {&g_colonyNamesByProvince, &g_colonyNamesByRegion, &g_colonyNamesAnywhere})
            for (auto& list : *lists)
                list.Clear();
        MilitaryBlockTest::TearDown();
    }

    template <class T> static T& Unit(float size, const std::string& name = "") {
        auto* unit = new T(CountryOfNumber(1));
        unit->AssignNewId();
        unit->SetLocation(kHome);
        unit->SetStrength(2, size);
        unit->SetName(name);
        unit->GetOwner()->AddUnit(unit);
        return *unit;
    }

    // A city named so in the province.
    static void City(int32_t province, const char* name) {
        auto city = std::make_unique<CCity>();
        city->SetLocation(province);
        city->SetName(name);
        GetProvince(province)->SetCity(std::move(city));
    }

    std::string m_homeName;
    struct Kept {
        std::string name;
        int32_t region;
        int32_t continent;
    };
    std::vector<Kept> m_kept;
    test::ScopedGameDir m_folder;
    test::BoxRecorder m_boxes;
    CLeader m_explorer;
};

TEST_F(UnitNamesTest, ListsAreFiledByTagAndBadRowsAndPlacesAreSkipped) {
    const std::string eng = GetCountryTag(1);
    const std::string swe = GetCountryTag(9);
    std::string armies = eng + ";First\r\n" + eng + ";Second\r\nQQQ;Lost\r\n" + eng + ";\r\n";
    for (int i = 0; i < 260; ++i)
        armies += swe + ";Regiment " + std::to_string(i) + "\r\n";
    m_folder.WriteFile("db/armynames.csv", armies);
    m_folder.WriteFile("db/navynames.csv", eng + ";Golden Hind\n");
    const std::string region = GetRegionName(3);
    m_folder.WriteFile("db/colonynames.csv", eng + ";Anywhere;any\r\n" + eng + ";Port;12\r\n" +
                                                 eng + ";Zero;0\r\n" + eng + ";Minus;-5\r\n" + eng +
                                                 ";Beyond;1473\r\n" + eng + ";Lost;Atlantis\r\n" +
                                                 eng + ";Regional;" + region +
                                                 "\r\nQQQ;Nobody;any\r\n");
    ASSERT_TRUE(LoadUnitNames());
    ASSERT_TRUE(LoadColonyNames());
    EXPECT_EQ(g_armyNames[1].Items(), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(g_armyNames[9].GetCount(), 256);
    EXPECT_EQ(g_navyNames[1].Items(), (std::vector<std::string>{"Golden Hind"}));
    EXPECT_TRUE(g_armyNames[0].IsEmpty());
    EXPECT_EQ(Names(g_colonyNamesAnywhere[1]), (std::vector<std::string>{"Anywhere@0"}));
    EXPECT_EQ(Names(g_colonyNamesByProvince[1]), (std::vector<std::string>{"Port@12"}));
    EXPECT_EQ(Names(g_colonyNamesByRegion[1]), (std::vector<std::string>{"Regional@3"}));
    EXPECT_TRUE(g_colonyNamesAnywhere[0].IsEmpty());

    // Empty tables leave empty lists; missing ones too, and say so.
    for (const char* file : {"db/armynames.csv", "db/navynames.csv", "db/colonynames.csv"})
        m_folder.WriteFile(file, "");
    EXPECT_TRUE(LoadUnitNames());
    EXPECT_TRUE(LoadColonyNames());
    EXPECT_TRUE(g_armyNames[1].IsEmpty());
    EXPECT_TRUE(g_colonyNamesByRegion[1].IsEmpty());
    std::filesystem::remove(m_folder.Path() / "db/colonynames.csv");
    EXPECT_FALSE(LoadColonyNames());
    EXPECT_TRUE(m_boxes.Shown("excel file not found"));
}

// The generated world's lists load whole: every country but the pirates,
// natives and rebels has leaders, armies, fleets and colonies of each kind
// of place.
TEST_F(UnitNamesTest, TheDemoWorldsListsLoadForEveryCountry) {
    test::InFolder demo(test::DemoWorldDir());
    ASSERT_TRUE(LoadRandomLeaderNames());
    ASSERT_TRUE(LoadUnitNames());
    ASSERT_TRUE(LoadColonyNames());
    EXPECT_TRUE(m_boxes.texts.empty());
    for (uint32_t country : {1u, 9u, 25u, 95u}) {
        SCOPED_TRACE(country);
        EXPECT_EQ(g_randomLeaderNames[country].GetCount(), 12);
        EXPECT_EQ(g_armyNames[country].GetCount(), 10);
        EXPECT_EQ(g_navyNames[country].GetCount(), 8);
        ASSERT_EQ(g_colonyNamesByProvince[country].GetCount(), 1);
        EXPECT_EQ(GetProvince(g_colonyNamesByProvince[country].At(0).key)->IsSea(), false);
        EXPECT_EQ(g_colonyNamesByRegion[country].GetCount(), 2);
        EXPECT_EQ(g_colonyNamesAnywhere[country].GetCount(), 3);
    }
    EXPECT_TRUE(g_armyNames[96].IsEmpty());
    for (auto& list : g_randomLeaderNames)
        list.Clear();
}

// Names come from the list first, in list order and not twice; then from
// the province and the size. A conquistador's or explorer's unit is named
// after its leader.
TEST_F(UnitNamesTest, UnitsAreNamedFromTheListThenFromTheProvinceAndTheSize) {
    g_armyNames[1].Add("First");
    g_armyNames[1].Add("Second");
    g_navyNames[1].Add("Armada");
    Unit<CLandUnit>(1000, "First");
    EXPECT_EQ(ChooseUnitName(Unit<CLandUnit>(9000)), "Second");
    EXPECT_EQ(ChooseUnitName(Unit<CNavalUnit>(2)), "Armada");
    Unit<CLandUnit>(1000, "Second");
    Unit<CNavalUnit>(1, "Armada");

    struct Case {
        bool fleet;
        float size;
        const char* name;
    };
    const Case cases[] = {
        {false, 9000, "Avalon Regiment"},
        {false, 9999.5f, "Avalon Army"}, // 10000 men once rounded up
        {false, 12000, "Avalon Army"},
        {true, 0, "Avalon Squadron"},
        {true, 3, "Avalon Fleet"},
    };
    for (const Case& c : cases) {
        CUnit& unit = c.fleet ? static_cast<CUnit&>(Unit<CNavalUnit>(c.size))
                              : static_cast<CUnit&>(Unit<CLandUnit>(c.size));
        EXPECT_EQ(ChooseUnitName(unit), c.name) << c.size;
    }

    g_armyNames[1].Add("Third");
    m_explorer.category = LEADER_EXPLORER;
    m_explorer.SetName("Cabot");
    CLandUnit& led = Unit<CLandUnit>(3000);
    led.AttachLeader(&m_explorer);
    EXPECT_EQ(ChooseUnitName(led), "Expedition of Cabot");

    // The name is posted for every machine and takes effect tomorrow; the
    // countries ask through their hook.
    ASSERT_NE(g_countryMilitary.nameNewUnit, nullptr);
    g_countryMilitary.nameNewUnit(led);
    std::vector<COVEvent*> queued;
    g_scheduler.ForEachEvent([&queued](COVEvent* event) { queued.push_back(event); });
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->GetType(), static_cast<uint32_t>(EVT_RENAME_OBJECT));
    EXPECT_EQ(queued[0]->GetReceiver(), MakeCountryId(1));
    EXPECT_EQ(queued[0]->GetSendFlag(), 1);
    CDate tomorrow = kToday;
    tomorrow.AddDays(1);
    EXPECT_EQ(queued[0]->GetDueDate(), tomorrow);
    EXPECT_EQ(queued[0]->Payload().Get(RenameObjectPayload::kObject), led.GetId());
    EXPECT_EQ(queued[0]->Payload().Get(RenameObjectPayload::kName), "Expedition of Cabot");
    DeleteAllCountries(); // the units let go of the leader while it lives
}

TEST_F(UnitNamesTest, ColoniesTakeTheirEntryThenAFreeNameThenABuiltOne) {
    const auto [a, b, c, d] = kColonies;
    GetProvince(a)->region = 3;
    GetProvince(b)->region = 3;
    City(a, "Taken");
    City(b, "Nya Alpha");
    g_colonyNamesByProvince[1].Add({"Here", a});
    g_colonyNamesByProvince[1].Add({"Taken", c}); // used though a city bears it
    g_colonyNamesByRegion[1].Add({"Taken", 3});
    g_colonyNamesByRegion[1].Add({"Fresh", 3});
    g_colonyNamesByRegion[1].Add({"Elsewhere", 4});
    g_colonyNamesAnywhere[1].Add({"Taken", 0});
    g_colonyNamesAnywhere[1].Add({"Open", 0});

    // Country 9's own provinces of continent 2: the first gives a name a
    // city bears already.
    CCountry& sweden = *CountryOfNumber(9);
    for (const auto& [id, name, continent] :
         {std::tuple<int32_t, const char*, int32_t>{c, "Gamma", 1},
          {a, "Alpha", 2},
          {d, "Delta", 2}}) {
        GetProvince(id)->name = name;
        GetProvince(id)->continent = continent;
        sweden.m_ownedProvinces.AddTail(id);
    }

    EXPECT_EQ(ChooseColonyName(a, 1), "Here");
    EXPECT_EQ(ChooseColonyName(c, 1), "Taken");
    EXPECT_EQ(ChooseColonyName(b, 1), "Fresh");
    EXPECT_EQ(ChooseColonyName(d, 1), "Open");
    EXPECT_EQ(ChooseColonyName(d, 9), "Nya Delta");
    // Without names of its own or provinces to build one from: the
    // province's own name.
    EXPECT_EQ(ChooseColonyName(d, 40), "Delta");
    EXPECT_EQ(ChooseColonyName(0, 1), "");
}

} // namespace
