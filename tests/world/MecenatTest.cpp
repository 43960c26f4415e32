// Travelling colonists and traders: the route and its dates, the walk along
// it (also across the map's seam), the list's removals, the "mecenat" block
// read, written and filed, and the picture drawn and hovered on the map.
#include "world/Mecenat.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "data/ScenarioHeader.h"
#include "engine/Display.h"
#include "engine/ImageCache.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "tests/engine/ImageTestSupport.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/PathSearch.h"
#include "world/Province.h"
#include "world/map/MapSprite.h"

namespace {

uint32_t DateWord(const CDate& date) {
    return (static_cast<uint32_t>(static_cast<uint16_t>(date.year)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(date.month)) << 8) |
           static_cast<uint8_t>(date.day);
}

CDate DaysAfter(const CDate& date, int32_t days) {
    CDate later = date;
    later.AddDays(days);
    return later;
}

// Provinces on the map for the travellers, and a game clock.
class TravellerTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        m_hooks = g_pathSearchHooks;
        g_pathSearchHooks = {};
        // An empty table: the travellers' pictures find no definition.
        FreeSpriteDefinitions();
        g_spriteDefinitions = new CSpriteDefinitionTable;
    }
    void TearDown() override {
        for (int32_t id : m_used) {
            CProvince& p = P(id);
            p.ClearNeighbours();
            p.terrain = p.area = p.region = p.continent = 0;
            p.discoveredBy = {};
            p.box = {};
            p.unitPosition = {};
            p.newlyRevealed = p.shownNotDimmed = 0;
        }
        g_pathSearchHooks = m_hooks;
        g_scenarioHeaderHooks.findCountryByTag = nullptr;
        SetCountryTagSource(nullptr);
        FreeSpriteDefinitions();
        reader.Close();
        SaveBlockTest::TearDown();
    }

    static CProvince& P(int32_t id) { return g_provinces[static_cast<size_t>(id)]; }

    // A province whose box centre is (x, y).
    CProvince& Make(int32_t id, int32_t x, int32_t y, bool sea = false) {
        m_used.insert(id);
        CProvince& p = P(id);
        p.terrain = sea ? kFirstSeaProvinceType : 0;
        p.area = sea ? kSeaArea : 1;
        p.region = 1;
        p.box = {x - 10, y - 10, x + 10, y + 10};
        return p;
    }
    void Link(int32_t a, int32_t b) {
        P(a).AddNeighbour({b, 0, 0});
        P(b).AddNeighbour({a, 0, 0});
    }
    // Land provinces first..last, 300 pixels apart from x = 1000, linked in
    // turn.
    void Row(int32_t first, int32_t last) {
        for (int32_t id = first; id <= last; ++id) {
            Make(id, 1000 + (id - first) * 300, 1000);
            if (id > first)
                Link(id - 1, id);
        }
    }

    // Walks the traveller at the game time (days after today plus a part).
    static MapPoint WalkAt(CMecenat& traveller, const CDate& start, int32_t days,
                           float part = 0.0f) {
        g_gameTimer->currentDate = DaysAfter(start, days);
        g_gameTimer->dayFraction = part;
        COVSimpleEvent tick(EVT_TIMER_TICK_LOOP, ObjectId());
        EXPECT_EQ(traveller.Update(tick), 0);
        return traveller.GetPosition();
    }

    std::set<int32_t> m_used;
    PathSearchHooks m_hooks;
};

TEST_F(TravellerTest, TheRouteIsDatedEvenlyAndWalkedToTheArrival) {
    Row(1, 5);
    CMecenat traveller;
    const CDate start = kToday;
    traveller.Create(7, 1, 5, 0, DateWord(DaysAfter(start, 40)), 1, 0);
    EXPECT_EQ(traveller.GetArrival(), DaysAfter(start, 40));
    EXPECT_EQ(traveller.GetDestination(), 5u);

    // Four provinces over 40 days: a point every 10 days after the source.
    const std::vector<CMecenat::RoutePoint>& route = traveller.GetRoute();
    ASSERT_EQ(route.size(), 5u);
    for (size_t i = 0; i < route.size(); ++i) {
        EXPECT_EQ(route[i].x, 1000 + static_cast<int32_t>(i) * 300) << i;
        EXPECT_EQ(route[i].y, 1000) << i;
        EXPECT_EQ(route[i].arrival, DaysAfter(start, static_cast<int32_t>(i) * 10)) << i;
    }

    struct Case {
        int32_t days;
        float part;
        int32_t x;
        size_t point;
    };
    const Case cases[] = {
        {0, 0.0f, 1000, 0},  {0, 0.5f, 1015, 0},  {5, 0.0f, 1150, 0},  {10, 0.0f, 1300, 1},
        {25, 0.0f, 1750, 2}, {39, 0.5f, 2185, 3}, {40, 0.0f, 2200, 4}, // arrives on the fixed date
        {55, 0.0f, 2200, 4},                                           // and stands there
    };
    for (const Case& c : cases) {
        const MapPoint at = WalkAt(traveller, start, c.days, c.part);
        EXPECT_EQ(at.x, c.x) << c.days << " + " << c.part;
        EXPECT_EQ(at.y, 1000) << c.days;
        EXPECT_EQ(traveller.GetCurrentPoint(), c.point) << c.days;
    }
}

TEST_F(TravellerTest, RoutesAndArrivalsInTheirOddCases) {
    Row(1, 3);
    Make(9, 5000, 5000); // linked to nothing
    // A known route keeps to what country 0 has discovered; without one the
    // traveller takes any route.
    Make(4, 1300, 1300);
    Link(1, 4);
    Link(4, 3);
    for (int32_t id : {1, 4, 3})
        P(id).discoveredBy[0] = 1;
    CMecenat known;
    known.Create(7, 1, 3, 0, DateWord(DaysAfter(kToday, 20)), 1, 0);
    ASSERT_EQ(known.GetRoute().size(), 3u);
    EXPECT_EQ(known.GetRoute()[1].y, 1300) << "round by the discovered province";
    P(4).discoveredBy[0] = 0;
    CMecenat any;
    any.Create(7, 1, 3, 0, DateWord(DaysAfter(kToday, 20)), 1, 0);
    ASSERT_EQ(any.GetRoute().size(), 3u);
    EXPECT_EQ(any.GetRoute()[1].y, 1000) << "the straight way, undiscovered";

    // Unreachable or no province: no route; it stands at its source.
    for (uint32_t to : {9u, 0u, 5000u}) {
        CMecenat stuck;
        stuck.Create(7, 2, to, 0, DateWord(DaysAfter(kToday, 20)), 0, 1);
        EXPECT_TRUE(stuck.GetRoute().empty()) << to;
        const MapPoint at = WalkAt(stuck, kToday, 10);
        EXPECT_EQ(at.x, 1300) << to;
        EXPECT_EQ(at.y, 1000) << to;
    }

    // An arrival already past: every point is dated today, so it is there
    // at once.
    g_gameTimer->currentDate = kToday;
    CMecenat late;
    late.Create(7, 1, 3, 0, DateWord(DaysAfter(kToday, -30)), 1, 0);
    ASSERT_EQ(late.GetRoute().size(), 3u);
    EXPECT_EQ(late.GetRoute()[2].arrival, kToday);
    EXPECT_EQ(WalkAt(late, kToday, 0).x, 1600);

    // The date word: day in the low byte, month next, the year above.
    CMecenat dated;
    dated.Create(7, 1, 3, 0, (1601u << 16) | (11u << 8) | 29u, 1, 0);
    EXPECT_EQ(dated.GetArrival(), CDate(29, 11, 1601));
}

TEST_F(TravellerTest, ASeaZoneIsEnteredAtItsCentreAndTheSeamIsCrossedTheShortWay) {
    Make(1, 18800, 1000);
    Make(2, 100, 1000, true);
    P(1).unitPosition = {18900, 990};
    P(2).unitPosition = {50, 50}; // a sea zone is entered at its centre
    Link(1, 2);
    CMecenat traveller;
    traveller.Create(7, 1, 2, 0, DateWord(DaysAfter(kToday, 10)), 1, 0);
    ASSERT_EQ(traveller.GetRoute().size(), 2u);
    EXPECT_EQ(traveller.GetRoute()[0].x, 18900);
    EXPECT_EQ(traveller.GetRoute()[1].x, 100);
    struct Case {
        int32_t days;
        int32_t x;
    } cases[] = {{0, 18900}, {2, 18928}, {5, 28}, {10, 100}};
    for (const Case& c : cases)
        EXPECT_EQ(WalkAt(traveller, kToday, c.days).x, c.x) << c.days;
}

TEST_F(TravellerTest, TheListRemovesByCountryAndDestinationAndOnTheTravellersWord) {
    Row(1, 4);
    struct Quitting : CMecenat {
        int32_t Update(COVEvent& event) override {
            CMecenat::Update(event);
            return quit ? 1 : 0;
        }
        bool quit = false;
    };
    CMecenatList list;
    auto make = [&](int32_t country, uint32_t to) {
        auto* traveller = new Quitting;
        traveller->Create(country, 1, to, 0, DateWord(DaysAfter(kToday, 9)), 1, 0);
        list.AddTail(traveller);
        return traveller;
    };
    make(7, 3);
    Quitting* second = make(7, 4);
    make(8, 3);
    Quitting* fourth = make(7, 3);

    EXPECT_TRUE(list.Remove(7, 3));
    ASSERT_EQ(list.GetCount(), 3u);
    std::vector<std::pair<int32_t, uint32_t>> left;
    list.ForEach([&](CMecenat* t) { left.emplace_back(t->GetCountry(), t->GetDestination()); });
    EXPECT_EQ(left, (std::vector<std::pair<int32_t, uint32_t>>{{7, 4}, {8, 3}, {7, 3}}));
    EXPECT_FALSE(list.Remove(9, 3));
    EXPECT_FALSE(list.Remove(8, 4));

    second->quit = true;
    COVSimpleEvent tick(EVT_TIMER_TICK_LOOP, ObjectId());
    list.HandleEvent(tick);
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_FALSE(list.Contains(second));
    EXPECT_TRUE(list.Contains(fourth));
    // The list deletes the rest with itself (the sanitizer sees a leak).
}

TEST_F(TravellerTest, TheBlockRoundTripsAndFaultsAreReportedWithoutLoss) {
    g_scenarioHeaderHooks.findCountryByTag = [](const char* tag) {
        return std::string(tag) == "FRA" ? 2 : 0;
    };
    SetCountryTagSource([](uint32_t n) -> const char* { return n == 2 ? "FRA" : nullptr; });
    const std::string whole = "mecenat = { tag = FRA source = 101 destination = 104 "
                              "success = yes traders = no "
                              "date = { year = 1560 month = april day = 2 } }";
    OpenBlock(whole);
    CMecenat traveller;
    ASSERT_EQ(traveller.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(traveller.GetCountry(), 2);
    EXPECT_EQ(traveller.GetSource(), 101u);
    EXPECT_EQ(traveller.GetDestination(), 104u);
    EXPECT_EQ(traveller.GetArrival(), CDate(2, 3, 1560));
    const std::string printed = Flat(Print(traveller.Write()));
    EXPECT_EQ(printed, "{ tag = FRA source = 101 destination = 104 success = yes traders = no "
                       "date = { year = 1560 month = april day = 2 } } ");
    reader.Close();
    OpenBlock("mecenat = " + printed);
    CMecenat again;
    ASSERT_EQ(again.Read(reader), FIELD_BLOCK_END);
    EXPECT_EQ(Flat(Print(again.Write())), printed);

    // Faulty fields are reported and passed over; the rest is kept.
    struct Case {
        const char* text;
        int32_t result;
        const char* report;
        const char* printed;
    };
    const Case cases[] = {
        {"mecenat = { source = 3 colour = { 1 2 } destination = 4 traders = yes }", FIELD_BLOCK_END,
         "Unexpected Field",
         "{ source = 3 destination = 4 success = no traders = yes "
         "date = { year = 0 month = january day = 0 } } "},
        {"mecenat = { source = 3 date = 7 destination = 4 }", FIELD_BLOCK_END, "No left curly",
         "{ source = 3 destination = 4 success = no traders = no "
         "date = { year = 0 month = january day = 0 } } "},
        {"mecenat = { source = 3 date = { year = 1500 hour = 3 } destination = 4 }",
         FIELD_BLOCK_END, "Date : Unexpected field",
         "{ source = 3 destination = 4 success = no traders = no "
         "date = { year = 1500 month = january day = 0 } } "},
        {"mecenat = { tag = XYZ source = 3 date = { year = 1500 ", FIELD_END_OF_FILE, nullptr,
         "{ source = 3 destination = 0 success = no traders = no "
         "date = { year = 1500 month = january day = 0 } } "},
    };
    for (const Case& c : cases) {
        boxes.texts.clear();
        reader.Close();
        OpenBlock(c.text);
        CMecenat read;
        EXPECT_EQ(read.Read(reader), c.result) << c.text;
        EXPECT_EQ(Flat(Print(read.Write())), c.printed) << c.text;
        if (c.report) {
            EXPECT_TRUE(boxes.Shown(c.report)) << c.text;
        }
    }
}

bool g_accept = false;
std::vector<std::unique_ptr<CMecenat>> g_filed;

TEST_F(TravellerTest, ATravellerReadWholeIsFiledOrDeleted) {
    struct Case {
        const char* text;
        bool filer;  // a filer is registered
        bool accept; // it takes the traveller
        int32_t result;
        bool filed;
    };
    const Case cases[] = {
        {"mecenat = { source = 12 destination = 14 }", true, true, FIELD_BLOCK_END, true},
        {"mecenat = { source = 12 destination = 14 }", true, false, FIELD_BLOCK_END, false},
        {"mecenat = { source = 12 destination = 14 }", false, false, FIELD_BLOCK_END, false},
        {"mecenat = { source = 12 destination = ", true, true, FIELD_END_OF_FILE, false},
        {"mecenat = 12 source = 3", true, true, FIELD_BLOCK_END, false}, // not a block
    };
    bool (*registered)(CMecenat*) = g_fileTraveller;
    for (const Case& c : cases) {
        g_filed.clear();
        g_accept = c.accept;
        g_fileTraveller = nullptr;
        if (c.filer)
            g_fileTraveller = [](CMecenat* traveller) {
                if (g_accept)
                    g_filed.emplace_back(traveller);
                return g_accept;
            };
        reader.Close();
        OpenText(c.text);
        ASSERT_EQ(reader.ReadField(), FIELD_READ) << c.text;
        EXPECT_EQ(CMecenat::ReadAndFile(reader), c.result) << c.text;
        ASSERT_EQ(g_filed.size(), c.filed ? 1u : 0u) << c.text;
        if (c.filed) {
            EXPECT_EQ(g_filed.front()->GetSource(), 12u);
            EXPECT_EQ(g_filed.front()->GetDestination(), 14u);
            EXPECT_TRUE(g_filed.front()->GetRoute().empty()) << "the route waits for the walk";
        }
    }
    g_fileTraveller = registered;
    g_filed.clear();
}

TEST_F(TravellerTest, ATravellerReadFromAFileFindsItsRouteOnItsFirstWalk) {
    Row(1, 3);
    OpenBlock("mecenat = { source = 1 destination = 3 "
              "date = { year = 1600 month = june day = 0 } }");
    CMecenat traveller;
    ASSERT_EQ(traveller.Read(reader), FIELD_BLOCK_END);
    EXPECT_TRUE(traveller.GetRoute().empty());
    // Today is 10 May 1600; the arrival 20 days on.
    EXPECT_EQ(WalkAt(traveller, kToday, 0).x, 1000);
    ASSERT_EQ(traveller.GetRoute().size(), 3u);
    EXPECT_EQ(traveller.GetRoute()[2].arrival, DaysAfter(kToday, 20));
    EXPECT_EQ(WalkAt(traveller, kToday, 5).x, 1150);
}

// The traveller's picture on a small screen over the map.
class TravellerDrawingTest : public TravellerTest {
protected:
    void SetUp() override {
        TravellerTest::SetUp();
        FreeSpriteDefinitions(); // the traveller's definition is read from the folder
        g_screen = std::make_unique<CImage>(64, 48, 16, kImageMemory);
        g_screen->Fill(kBackground);
        g_mapViewRect = {0, 0, 64, 48};
        SetViewCentre(1000, 510); // map (1000, 500) shows at screen (40, 20)
        g_zoomShift = 0;
        std::string greys;
        std::string act;
        for (int i = 0; i < 256; ++i) {
            greys += imagetest::Bytes({i, i, i, 0});
            act += std::string(3, static_cast<char>(i));
        }
        const std::vector<std::string> rows(4, std::string(4, static_cast<char>(40)));
        const std::string sheet =
            imagetest::MakeBmp(imagetest::BmpSpec(4, 4, 8, imagetest::FileRows(rows), greys));
        dir.WriteFile("gfx/dummy.bmp", sheet);
        dir.WriteFile("gfx/palette/grey.act", act);
        dir.WriteFile("gfx/map/units/bmp/wagon.bmp", sheet);
        dir.WriteFile("gfx/map/units/t-mec.a-wagon.d-e.l-1.spr",
                      "sprite = {\nbitmap = \"wagon.bmp\" palette = \"grey.act\"\n}\n");
        dir.WriteFile("config/text.csv", "MECENATROLLOVER;A colonist on the way;;;;;;;;;;\r\n"
                                         "#EOF;\r\n");
        ASSERT_TRUE(g_textDatabase.Load(0));
    }
    void TearDown() override {
        g_screen.reset();
        g_mapViewRect = {0, 0, 800, 600};
        SetViewCentre(0, 0);
        g_mapOptions = 0;
        TravellerTest::TearDown();
    }

    static constexpr uint16_t kBackground = 0x4208;
};

TEST_F(TravellerDrawingTest, ItIsDrawnOnTheTravellersLayerAndHoveredOverItsShownSource) {
    Make(1, 1000, 500);
    Make(2, 1300, 500);
    Link(1, 2);
    CMecenatList list;
    auto* traveller = new CMecenat;
    traveller->Create(7, 1, 2, 0, DateWord(DaysAfter(kToday, 10)), 1, 0);
    list.AddTail(traveller);
    COVSimpleEvent tick(EVT_TIMER_TICK_LOOP, ObjectId());
    list.HandleEvent(tick);

    g_mapOptions = 0;
    list.Draw(0);
    EXPECT_EQ(imagetest::PixelAt(*g_screen, 40, 20), kBackground) << "the layer is off";
    g_mapOptions = kMapShowTravellers;
    list.Draw(0);
    EXPECT_NE(imagetest::PixelAt(*g_screen, 40, 20), kBackground);

    struct Case {
        uint8_t revealed, notDimmed;
        uint32_t options;
        int32_t x, y;
        bool hover;
    };
    const Case cases[] = {
        {0, 1, 0, 40, 20, true},  {1, 0, kMapShowTravellers, 40, 20, true},
        {1, 0, 0, 40, 20, false}, {0, 0, kMapShowTravellers, 40, 20, false},
        {0, 1, 0, 10, 10, false}, // beside the picture
    };
    for (const Case& c : cases) {
        P(1).newlyRevealed = c.revealed;
        P(1).shownNotDimmed = c.notDimmed;
        g_mapOptions = c.options;
        const char* text = list.GetHoverText(c.x, c.y);
        if (c.hover) {
            ASSERT_NE(text, nullptr) << int{c.revealed} << int{c.notDimmed} << c.options;
            EXPECT_STREQ(text, "A colonist on the way");
        } else {
            EXPECT_EQ(text, nullptr) << int{c.revealed} << int{c.notDimmed} << c.options;
        }
    }
}

} // namespace
