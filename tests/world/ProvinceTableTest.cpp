// The province table: every column of a row, the checks that refuse an
// unusable table, the faults a row may carry, the area groups and the
// straits.
#include <gtest/gtest.h>

#include <string>

#include "tests/world/ProvinceTableFixture.h"
#include "world/Territory.h"

namespace {

using test::ProvinceTableTest;

TEST_F(ProvinceTableTest, ARowFillsEveryColumnOfTheRecord) {
    g_provinces[7].box = {100, 200, 300, 400};
    auto& r = Row(7);
    const char* cells[52] = {nullptr,
                             "7",
                             "Vardholm",
                             "piw_key",
                             "orthodox",
                             "11",
                             "5",
                             "1",
                             "1",
                             "1",
                             "4",
                             "9",
                             "2",
                             "1",
                             "14",
                             "WINE",
                             "1",
                             "3",
                             "6",
                             "40",
                             "2.5",
                             "0.75",
                             "8",
                             "3",
                             "110",
                             "210",
                             "120",
                             "220",
                             "130",
                             "230",
                             "140",
                             "240",
                             "12",
                             "150",
                             "250",
                             "2",
                             "-1",
                             "0",
                             "0",
                             "160",
                             "260",
                             "3",
                             "-1",
                             "0",
                             "0",
                             "Iberia",
                             "Southern Europe",
                             "Europe",
                             "Vardholm Bay",
                             "5",
                             "6",
                             "1472"};
    for (int c = 1; c <= 51; ++c)
        r[static_cast<size_t>(c)] = cells[c];
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces()) << GetProvinceLoadError();

    const CProvince& p = g_provinces[7];
    EXPECT_EQ(p.name, "Vardholm");
    EXPECT_EQ(p.windowKey, "piw_key");
    EXPECT_EQ(p.religion, RELIGION_ORTHODOX);
    EXPECT_EQ(p.initialReligion, RELIGION_ORTHODOX);
    EXPECT_EQ(p.column5, 11);
    EXPECT_EQ(p.climate, 5);
    EXPECT_EQ(p.iceZone, 1);
    EXPECT_EQ(p.stormZone, 1);
    EXPECT_EQ(p.column9Flag, 1);
    EXPECT_EQ(p.manpower, 4);
    EXPECT_EQ(p.tax, 9);
    EXPECT_EQ(p.initialTax, 9);
    EXPECT_EQ(p.terrain, 2);
    EXPECT_EQ(p.column13Flag, 1);
    EXPECT_EQ(p.goldValue, 14);
    ASSERT_NE(p.goods, nullptr);
    EXPECT_EQ(p.goods->id, GOODS_WINE);
    EXPECT_EQ(p.column16Flag, 1);
    EXPECT_EQ(p.column17, 3);
    EXPECT_EQ(p.wilderness, 6);
    EXPECT_EQ(p.natives, 40);
    EXPECT_EQ(p.maxNatives, 40);
    EXPECT_FLOAT_EQ(p.ferocity, 2.5f);
    EXPECT_FLOAT_EQ(p.efficiency, 0.75f);
    EXPECT_EQ(p.negotiation, 8);
    EXPECT_EQ(p.tolerance, 3);
    EXPECT_EQ(p.unitPosition.x, 110);
    EXPECT_EQ(p.unitPosition.y, 210);
    EXPECT_EQ(p.symbolPosition.x, 120);
    EXPECT_EQ(p.symbolHome.y, 220);
    EXPECT_EQ(p.portPosition.x, 130);
    EXPECT_EQ(p.manufactoryPosition.y, 240);
    EXPECT_EQ(p.portSeaZone, 12);
    ASSERT_EQ(p.landscapeSprites.size(), 2u); // the entries with x = -1 are absent
    EXPECT_EQ(p.landscapeSprites[0].x, 150);
    EXPECT_EQ(p.landscapeSprites[0].variant, 2);
    EXPECT_EQ(p.landscapeSprites[1].y, 260);
    EXPECT_EQ(p.area, FindAreaByName("Iberia"));
    EXPECT_EQ(p.region, FindRegionByName("Southern Europe"));
    EXPECT_EQ(p.continent, 2);
    EXPECT_EQ(p.displayName, "Vardholm Bay");
    EXPECT_EQ(p.linkedProvinces, (std::array<int32_t, 3>{5, 6, 1472}));
    // A row with "#N/A" shows its name; (0, 0) stands for the box centre.
    EXPECT_EQ(g_provinces[8].displayName, "P8");
    EXPECT_TRUE(g_areaProvinces[static_cast<size_t>(p.area)].Contains(&g_provinces[7]));
    EXPECT_TRUE(g_continentProvinces[2].Contains(&g_provinces[8]));
}

TEST_F(ProvinceTableTest, ZeroPositionsStandForTheCentreOfTheBox) {
    g_provinces[3].box = {100, 200, 300, 400};
    g_provinces[4].box = {100, 200, 300, 400};
    Row(4)[24] = "0";
    Row(4)[25] = "5";
    Row(4)[26] = "7";
    Row(4)[27] = "0";
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces());
    EXPECT_EQ(g_provinces[3].unitPosition.x, 200);
    EXPECT_EQ(g_provinces[3].unitPosition.y, 300);
    EXPECT_EQ(g_provinces[3].symbolHome.x, 200);
    EXPECT_EQ(g_provinces[4].unitPosition.x, 0); // (0, 5) stays
    EXPECT_EQ(g_provinces[4].unitPosition.y, 5);
    EXPECT_EQ(g_provinces[4].symbolPosition.x, 7);
}

TEST_F(ProvinceTableTest, ReligionWordsAndFlagsFollowTheirRules) {
    const std::pair<const char*, int32_t> religions[] = {
        {"reformed", RELIGION_REFORMED}, {"protestant", RELIGION_PROTESTANT},
        {"catholic", RELIGION_CATHOLIC}, {"sunni", RELIGION_SUNNI},
        {"shiite", RELIGION_SHIITE},     {"counterreform", RELIGION_PAGAN},
        {"Catholic", RELIGION_PAGAN},    {"", RELIGION_PAGAN}};
    for (size_t i = 0; i < std::size(religions); ++i)
        Row(static_cast<int32_t>(10 + i))[4] = religions[i].first;
    Row(10)[9] = "2"; // only 1 sets a flag
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces());
    for (size_t i = 0; i < std::size(religions); ++i)
        EXPECT_EQ(g_provinces[10 + i].religion, religions[i].second) << religions[i].first;
    EXPECT_EQ(g_provinces[10].column9Flag, 0);
}

TEST_F(ProvinceTableTest, CrLfAndLfLineEndsReadTheSame) {
    Row(1472)[2] = "Last";
    Row(1472)[51] = "9";
    for (const char* end : {"\n", "\r\n"}) {
        SCOPED_TRACE(end[0] == '\r' ? "CR LF" : "LF");
        WriteTable(Table(end));
        ASSERT_TRUE(LoadProvinces()) << GetProvinceLoadError();
        EXPECT_EQ(g_provinces[1472].name, "Last");
        EXPECT_EQ(g_provinces[1472].linkedProvinces[2], 9);
        EXPECT_EQ(g_provinces[5].displayName, "P5");
        EXPECT_EQ(g_areaProvinces[static_cast<size_t>(FindAreaByName("France"))].GetCount(), 1473u);
    }
}

TEST_F(ProvinceTableTest, AnUnusableTableIsRefusedWithItsReason) {
    struct Case {
        const char* what;
        std::function<std::string(ProvinceTableTest&)> table;
        const char* reason;
    };
    const Case cases[] = {
        {"1400 rows", [](ProvinceTableTest& t) { return t.Table("\n", 1400); },
         "ends before the row of province 1400"},
        {"an id that is not the row index",
         [](ProvinceTableTest& t) {
             t.Row(12)[1] = "13";
             return t.Table();
         },
         "row 12 holds the id 13"},
        {"a row cut short",
         [](ProvinceTableTest& t) {
             std::string text = t.Table();
             const std::string row20 = "\n20;P20;land;catholic;";
             const size_t at = text.find(row20);
             return text.substr(0, at + row20.size() - 1) + "\n" + text.substr(at + row20.size());
         },
         "row of province 20 ends after column 4"},
        {"an empty file", [](ProvinceTableTest&) { return std::string(); },
         "ends before the row of province 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        WriteTable(c.table(*this));
        EXPECT_FALSE(LoadProvinces());
        EXPECT_NE(GetProvinceLoadError().find(c.reason), std::string::npos)
            << GetProvinceLoadError();
        EXPECT_NE(Log().find(c.reason), std::string::npos);
    }
}

TEST_F(ProvinceTableTest, AMissingTableIsRefused) {
    test::BoxRecorder boxes;
    EXPECT_FALSE(LoadProvinces());
    EXPECT_NE(GetProvinceLoadError().find("cannot be opened"), std::string::npos);
}

TEST_F(ProvinceTableTest, ALongNameIsCutAndTheNextRowStaysInPlace) {
    Row(30)[2] = std::string(300, 'n');
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces()) << GetProvinceLoadError();
    EXPECT_EQ(g_provinces[30].name, std::string(255, 'n'));
    EXPECT_EQ(g_provinces[30].windowKey, "land");
    EXPECT_EQ(g_provinces[31].name, "P31");
    EXPECT_NE(Log().find("Province 30: a text longer than 255 bytes was cut"), std::string::npos);
}

TEST_F(ProvinceTableTest, RowFaultsAreReportedAndReadAsNone) {
    Row(40)[15] = "TEA";   // no goods keyword
    Row(41)[32] = "1473";  // no sea zone
    Row(42)[49] = "-5";    // no province
    Row(42)[50] = "99999"; //
    Row(43)[15] = "NOTHING";
    Row(44)[2] = "extra";
    Row(44)[51] = "3;spare;cells"; // cells beyond the last column are skipped
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces()) << GetProvinceLoadError();
    ASSERT_NE(g_provinces[40].goods, nullptr);
    EXPECT_EQ(g_provinces[40].goods->id, GOODS_NOTHING);
    EXPECT_EQ(g_provinces[41].portSeaZone, 0);
    EXPECT_EQ(g_provinces[42].linkedProvinces, (std::array<int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(g_provinces[44].linkedProvinces[2], 3);
    EXPECT_EQ(g_provinces[45].name, "P45");
    const std::string log = Log();
    EXPECT_NE(log.find("Province 40: unknown goods 'TEA'"), std::string::npos);
    EXPECT_NE(log.find("Province 41: port sea zone 1473 is no province"), std::string::npos);
    EXPECT_NE(log.find("Province 42: linked province -5"), std::string::npos);
    EXPECT_NE(log.find("Province 42: linked province 99999"), std::string::npos);
    EXPECT_EQ(log.find("Province 43"), std::string::npos);
}

TEST_F(ProvinceTableTest, AReloadForgetsTheLastGameAndRebuildsTheGroups) {
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces());
    CProvince& p = g_provinces[50];
    p.looted = p.winter = p.whiteman = 1;
    p.discoveredBy[3] = 1;
    p.tax = 99;
    ASSERT_TRUE(LoadProvinces());
    EXPECT_EQ(p.looted + p.winter + p.whiteman + p.discoveredBy[3], 0);
    EXPECT_EQ(p.tax, 0);
    EXPECT_EQ(g_areaProvinces[static_cast<size_t>(FindAreaByName("France"))].GetCount(), 1473u);
    EXPECT_EQ(g_provinces[0].visible, 0);
}

TEST_F(ProvinceTableTest, AreaNamesAndNeighbouringAreas) {
    EXPECT_EQ(FindAreaByName("Sea"), kSeaArea);
    EXPECT_EQ(FindAreaByName("Lake"), kLakeArea);
    EXPECT_EQ(FindAreaByName("Atlantis"), 0);
    EXPECT_EQ(FindAreaByName("sea"), 0); // case counts
    EXPECT_EQ(FindRegionByName("Lake"), 59);
    EXPECT_EQ(FindRegionByName("AlaskaSea"), 25);
    EXPECT_EQ(FindContinentByName("Africa"), 5);
    EXPECT_STREQ(GetAreaName(139), "Sea");
    EXPECT_STREQ(GetRegionName(58), "NWPacificSea");
    EXPECT_STREQ(GetContinentName(1), "America");
    EXPECT_STREQ(GetAreaName(141), "-");

    // 60 (France) - 61 (Iberia) by land; 61 - 62 (sea zone, area Sea); 62 -
    // 63 (Italy) by sea only.
    Row(61)[45] = "Iberia";
    Row(62)[45] = "Sea";
    Row(62)[12] = "5";
    Row(63)[45] = "Italy";
    g_provinces[60].AddNeighbour({61, 0, 0});
    g_provinces[61].AddNeighbour({60, 0, 0});
    g_provinces[61].AddNeighbour({62, 0, 0});
    g_provinces[62].AddNeighbour({63, 0, 0});
    WriteTable(Table());
    ASSERT_TRUE(LoadProvinces());
    const auto neighbours = [](const char* area) {
        std::vector<int32_t> out;
        g_areaNeighbours[static_cast<size_t>(FindAreaByName(area))].ForEach(
            [&](int32_t a) { out.push_back(a); });
        return out;
    };
    EXPECT_EQ(neighbours("France"), std::vector<int32_t>{FindAreaByName("Iberia")});
    EXPECT_EQ(neighbours("Iberia"), std::vector<int32_t>{FindAreaByName("France")});
    EXPECT_TRUE(neighbours("Sea").empty());
    EXPECT_TRUE(neighbours("Italy").empty());
}

TEST_F(ProvinceTableTest, StraitsLinkBothWaysAndTheirPointsStopAtTheFirstNegativeRow) {
    struct Case {
        const char* file;
        size_t points;
    };
    const Case cases[] = {
        {"10;20\n30;40\n-1;-1\n50;60\n", 3}, // the negative row is kept, then it stops
        {"10;20\r\n30;-4\r\n", 2},
        {"10;20\n30;40", 1}, // a last cell at the end of the file is not read
        {"", 0},
    };
    WriteTable(Table());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        dir.WriteFile("db/straits.csv", c.file);
        ASSERT_TRUE(LoadProvinces());
        EXPECT_EQ(g_straitPoints.size(), c.points);
    }
    for (const StraitPair& pair : kStraitPairs) {
        const CProvince& a = g_provinces[static_cast<size_t>(pair.a)];
        const CProvince& b = g_provinces[static_cast<size_t>(pair.b)];
        EXPECT_TRUE(a.IsNeighbour(pair.b)) << pair.a;
        EXPECT_TRUE(b.IsNeighbour(pair.a)) << pair.b;
        EXPECT_EQ(a.hasStrait, 1);
        // Loaded four times, linked once.
        int links = 0;
        for (const ProvinceNeighbour& n : a.neighbours)
            links += n.id == pair.b && n.kind == kProvinceLinkStrait;
        EXPECT_EQ(links, 1);
    }
}

TEST_F(ProvinceTableTest, TheDemoWorldTableLoads) {
    test::InFolder inDemo(test::DemoWorldDir());
    ASSERT_TRUE(LoadProvinces()) << GetProvinceLoadError();
    uint32_t sea = 0;
    uint32_t land = 0;
    for (int32_t id = 1; id <= kLastProvinceId; ++id) {
        const CProvince& p = g_provinces[static_cast<size_t>(id)];
        SCOPED_TRACE(id);
        ASSERT_NE(p.goods, nullptr);
        ASSERT_FALSE(p.name.empty());
        if (p.area == kSeaArea) {
            ++sea;
            EXPECT_EQ(p.terrain, 5);
            // The open ocean's zones may count as the Pacific (region 23).
            EXPECT_TRUE(p.region == 23 || (p.region >= 25 && p.region <= 58)) << p.region;
        } else if (p.area == kLakeArea) {
            EXPECT_EQ(p.terrain, 5);
            EXPECT_EQ(p.region, 59);
        } else if (p.terrain < 5) {
            ++land;
            EXPECT_NE(p.goods->id, GOODS_NOTHING);
            EXPECT_GT(p.area, 0);
            EXPECT_LT(p.area, kSeaArea);
            EXPECT_GT(p.region, 0);
            EXPECT_LT(p.region, 25);
            EXPECT_GE(p.continent, 1);
            if (p.portSeaZone) {
                const int32_t port = g_provinces[static_cast<size_t>(p.portSeaZone)].area;
                EXPECT_TRUE(port == kSeaArea || port == kLakeArea);
                EXPECT_TRUE(p.IsNeighbour(p.portSeaZone));
            }
        } else {
            // The linked and the unselectable kinds.
            EXPECT_TRUE(p.terrain == 6 || p.terrain == 8) << p.terrain;
        }
    }
    // A full world: most provinces land, some hundreds of sea zones.
    EXPECT_GT(land, 900u);
    EXPECT_GT(sea, 400u);
    EXPECT_EQ(g_areaProvinces[kSeaArea].GetCount(), sea);
    // The nine fixed crossings, both ways (the forced pairs of the game).
    const std::pair<int32_t, int32_t> kForced[] = {{307, 309}, {93, 95},   {357, 477},
                                                   {357, 478}, {394, 395}, {359, 479},
                                                   {464, 465}, {686, 687}, {337, 339}};
    for (const auto& [a, b] : kForced) {
        EXPECT_TRUE(g_provinces[static_cast<size_t>(a)].IsNeighbour(b)) << a << "-" << b;
        EXPECT_TRUE(g_provinces[static_cast<size_t>(b)].IsNeighbour(a)) << b << "-" << a;
    }
    EXPECT_EQ(g_straitPoints.size(), kStraitPairs.size() + 1);
    EXPECT_FALSE(g_provinces[399].IsSea());
    for (uint32_t id = 0; id < kGoodsSlots; ++id)
        EXPECT_NE(g_goods.Get(id), nullptr) << id;
}

} // namespace
