// A province's units drawn as stacks on the map, in the generated demo
// world: where the flags of a stack go, the stacks drawn into a memory
// screen and compared with golden pictures, the hit test of the portraits,
// the animation tick and the visit of the units on the screen.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "country/Country.h"
#include "data/Keywords.h"
#include "engine/Display.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "engine/Pixel.h"
#include "military/units/LandUnit.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "military/units/UnitWidgets.h"
#include "net/ClockEvents.h"
#include "tests/Picture.h"
#include "tests/TestSupport.h"
#include "world/MapView.h"
#include "world/Province.h"
#include "world/map/MapSprite.h"

namespace {

constexpr int32_t kWidth = 160;
constexpr int32_t kHeight = 160;
constexpr int32_t kLand = 12;
constexpr int32_t kSea = 13;
constexpr MapPoint kLandPoint{1040, 540};
constexpr MapPoint kSeaPoint{1100, 560};
constexpr uint16_t kBackground = 0x2104;  // dark grey
constexpr uint16_t kLabelColour = 0xFFE0; // yellow

std::vector<std::pair<int32_t, int32_t>> g_labels; // x, size
std::vector<const CUnit*> g_marked;

// The label as a plain box: a width of 2 pixels per unit of size, so that
// the golden picture shows it.
void DrawLabel(int32_t x, int32_t y, int32_t size) {
    g_labels.emplace_back(x, size);
    for (int32_t row = y - 20; row < y - 16; ++row)
        for (int32_t column = x + 6; column < x + 6 + 2 * size; ++column)
            if (row >= 0 && row < g_screen->height && column >= 0 && column < g_screen->width)
                std::memcpy(g_screen->pixels + static_cast<size_t>(row) * g_screen->pitch +
                                static_cast<size_t>(column) * 2,
                            &kLabelColour, sizeof kLabelColour);
}

void MarkSelected(const CUnit& unit, int32_t, int32_t) {
    g_marked.push_back(&unit);
}

class UnitStackTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        m_format = g_pixelFormat;
        SetPixelFormat(kPixelFormat565);
        RebuildPalettePixels();
        g_screen = std::make_unique<CImage>(kWidth, kHeight, 16, kImageMemory);
        g_screen->Fill(kBackground);
        InitWorldBounds();
        SetViewRect(0, 0, kWidth, kHeight);
        g_zoomShift = 0;
        SetViewCentre(1072, 540);
        InitStatusBarColours(GetPalette("statusbar.act"), nullptr);
        Place(kLand, 0, kLandPoint);
        Place(kSea, 5, kSeaPoint);
        g_labels.clear();
        g_marked.clear();
        g_unitStackHooks = {&DrawLabel, &MarkSelected};
    }
    void TearDown() override {
        m_units.clear();
        FreeSpriteDefinitions();
        g_unitStackHooks = {};
        for (int32_t id : {kLand, kSea}) {
            g_provinces[static_cast<size_t>(id)].terrain = 0;
            g_provinces[static_cast<size_t>(id)].visible = 0;
        }
        InitStatusBarColours(nullptr, nullptr);
        g_screen.reset();
        SetPixelFormat(m_format);
        RebuildPalettePixels();
        EXPECT_TRUE(m_boxes.texts.empty()) << m_boxes.texts.front();
    }

    static void Place(int32_t id, int32_t terrain, MapPoint point) {
        CProvince& province = g_provinces[static_cast<size_t>(id)];
        province.terrain = terrain;
        province.unitPosition = point;
        province.portPosition = point;
        // Reaching past the screen's left 200 pixels, so that it counts as
        // on the screen.
        province.box = {point.x - 40, point.y - 40, point.x + 300, point.y + 40};
    }

    template <typename Unit>
    Unit& Make(CCountry& owner, int32_t location, float a, float b, float c) {
        auto unit = std::make_unique<Unit>(&owner);
        unit->AssignNewId();
        unit->SetLocation(location);
        unit->SetStrength(0, a);
        unit->SetStrength(1, b);
        unit->SetStrength(2, c);
        unit->SetIdleState();
        unit->SetMapPlacement(PLACEMENT_STANDING);
        Unit& made = *unit;
        m_units.push_back(std::move(unit));
        return made;
    }
    CLandUnit& Army(CCountry& owner, float infantry) {
        return Make<CLandUnit>(owner, kLand, 0, 0, infantry);
    }

    static test::Picture Screen() {
        test::Picture picture;
        picture.width = kWidth;
        picture.height = kHeight;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                uint16_t pixel = 0;
                std::memcpy(&pixel,
                            g_screen->pixels + static_cast<size_t>(y) * g_screen->pitch + x * 2,
                            sizeof pixel);
                const PixelChannels c = SplitPixel(pixel, kPixelFormat565);
                picture.rgb.push_back(static_cast<uint8_t>(c.r * 255 / 31));
                picture.rgb.push_back(static_cast<uint8_t>(c.g * 255 / 63));
                picture.rgb.push_back(static_cast<uint8_t>(c.b * 255 / 31));
            }
        return picture;
    }

    static void CheckGolden(const std::string& name) {
        const std::string failure = test::CompareWithGolden(Screen(), ORV_MILITARY_GOLDEN_DIR,
                                                            ORV_MILITARY_OUTPUT_DIR, name);
        EXPECT_TRUE(failure.empty()) << failure;
    }

    test::InFolder m_folder{test::DemoWorldDir()};
    test::BoxRecorder m_boxes;
    int32_t m_format = 0;
    CCountry m_england{1};
    CCountry m_france{2};
    std::vector<std::unique_ptr<CUnit>> m_units;
};

TEST_F(UnitStackTest, OnlyTheNineFlagsMetLastFromTheTailArePlaced) {
    CUnitList stack;
    for (int i = 0; i < 12; ++i)
        stack.AddTail(&Army(m_england, 1000));
    struct Case {
        const char* name;
        bool selected;
        bool combat;
        int32_t zoom;
        int32_t shiftX;
        int32_t raise;
    };
    const Case cases[] = {
        {"plain", false, false, 0, 0, 53},
        {"in combat", false, true, 0, 0, 47},
        {"drawn selected", true, false, 0, -15, 78},
        {"zoomed out", false, false, 1, 0, 26},
    };
    // k counts down from 12 at the tail: the head is k = 1.
    const int32_t offsets[] = {6, 12, 0, 18, -6, 24, -12, 30, -18};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_zoomShift = c.zoom;
        std::vector<CUnit*> units;
        stack.ForEach([&units](CUnit* unit) {
            unit->GetFlag()->SetPosition(-1, -1);
            units.push_back(unit);
        });
        stack.LayoutFlags(PLACEMENT_STANDING, c.selected, c.combat);
        for (size_t i = 0; i < units.size(); ++i) {
            const SpritePoint at = units[i]->GetFlag()->GetPosition();
            if (i >= 9) {
                EXPECT_EQ(at.x, -1) << i;
                EXPECT_EQ(at.y, -1) << i;
                continue;
            }
            EXPECT_EQ(at.x, kLandPoint.x + offsets[i] + c.shiftX) << i;
            EXPECT_EQ(at.y, kLandPoint.y - c.raise) << i;
        }
    }
    g_zoomShift = 0;
    EXPECT_FALSE(stack.selectedInStack);
    // Another placement is none of this layout's business.
    CUnitList mixed;
    CLandUnit& moving = Army(m_france, 1000);
    moving.SetMapPlacement(PLACEMENT_MOVING);
    moving.selected = true;
    moving.GetFlag()->SetPosition(-1, -1);
    mixed.AddTail(&moving);
    mixed.LayoutFlags(PLACEMENT_STANDING, false, false);
    EXPECT_EQ(moving.GetFlag()->GetPosition().x, -1);
    EXPECT_FALSE(mixed.selectedInStack);
    mixed.LayoutAllFlags(false);
    EXPECT_EQ(moving.GetFlag()->GetPosition().x, moving.GetFigurePosition().x + 6);
    EXPECT_TRUE(mixed.selectedInStack);
    moving.selected = false;
    mixed.LayoutAllFlags(false);
    EXPECT_FALSE(mixed.selectedInStack);
}

TEST_F(UnitStackTest, StacksDrawTheirFlagsFigureLabelAndPortraits) {
    CUnitList land;
    CLandUnit& big = Army(m_england, 30000);
    CLandUnit& small = Army(m_england, 2500);
    CLandUnit& attacker = Army(m_france, 12000);
    attacker.SetMapPlacement(PLACEMENT_ATTACKER);
    land.AddTail(&big);
    land.AddTail(&small);
    land.AddTail(&attacker);
    CUnitList sea;
    CNavalUnit& fleet = Make<CNavalUnit>(m_england, kSea, 6, 2, 4);
    CLandUnit& aboard = Army(m_england, 1000);
    aboard.BoardFleet(kSea, &fleet);
    sea.AddTail(&fleet);
    small.selected = true;

    land.LayoutAllFlags(false);
    sea.LayoutAllFlags(false);
    EXPECT_TRUE(land.DrawStack(PLACEMENT_STANDING, false));
    EXPECT_TRUE(land.DrawStack(PLACEMENT_ATTACKER, false));
    EXPECT_FALSE(land.DrawStack(PLACEMENT_MOVING, false));
    EXPECT_TRUE(sea.DrawStack(PLACEMENT_STANDING, false));
    CheckGolden("unit_stacks");
    // Armies count in thousands, fleets in ships.
    ASSERT_EQ(g_labels.size(), 3u);
    EXPECT_EQ(g_labels[0].second, 32);
    EXPECT_EQ(g_labels[1].second, 12);
    EXPECT_EQ(g_labels[2].second, 12);
    EXPECT_EQ(g_marked, (std::vector<const CUnit*>{&small}));

    // Hits: a portrait names its unit, the cargo marker the army aboard.
    CUnitPortrait* second = small.GetPortrait();
    EXPECT_EQ(land.HitTest(second->x + 3, second->y + 2), &small);
    CUnitPortrait* ships = fleet.GetPortrait();
    EXPECT_EQ(sea.HitTest(ships->x + 3, ships->y + 2), &fleet);
    EXPECT_EQ(sea.HitTest(ships->x + ships->GetWidth() + 8, ships->y + 2), &aboard);
    EXPECT_EQ(land.HitTest(0, 0), nullptr);

    // Drawn selected: no label, the figure and the flags to the upper left.
    g_screen->Fill(kBackground);
    g_labels.clear();
    land.LayoutAllFlags(true);
    EXPECT_TRUE(land.DrawStack(PLACEMENT_STANDING, true));
    EXPECT_TRUE(g_labels.empty());
    EXPECT_EQ(big.GetFigurePosition().x, kLandPoint.x);
    CheckGolden("unit_stack_selected");
}

TEST_F(UnitStackTest, TheTickAnimatesFiguresAndTheArmiesAboard) {
    CUnitList sea;
    CNavalUnit& fleet = Make<CNavalUnit>(m_england, kSea, 6, 0, 4);
    CLandUnit& aboard = Army(m_england, 1000);
    aboard.BoardFleet(kSea, &fleet);
    aboard.SetFigurePose(FIGURE_WALK, 2);
    sea.AddTail(&fleet);
    CSprite& ship = fleet.GetFigure()->GetSprite();
    CSprite& walker = aboard.GetFigure()->GetSprite();
    ASSERT_GT(ship.frameCount, 1);
    ASSERT_GT(walker.frameCount, 1);
    const int32_t shipFrame = ship.frame;
    const int32_t walkerFrame = walker.frame;
    COVTickAnimationsEvent tick(static_cast<uint32_t>(ship.speed));
    sea.AnimationTick(tick);
    EXPECT_EQ(ship.frame, (shipFrame + 1) % ship.frameCount);
    EXPECT_NE(walker.frame, walkerFrame);
}

TEST_F(UnitStackTest, OnlyUnitsOfColouredProvincesOnTheScreenThatPassTheFilterAreVisited) {
    CUnitList units;
    CLandUnit& shown = Army(m_england, 1000);
    CLandUnit& filtered = Army(m_france, 1000);
    CNavalUnit& dimmed = Make<CNavalUnit>(m_england, kSea, 1, 0, 0);
    CLandUnit& far = Army(m_england, 1000);
    far.SetLocation(400);
    units.AddTail(&shown);
    units.AddTail(&filtered);
    units.AddTail(&dimmed);
    units.AddTail(&far);
    g_provinces[kLand].visible = 1;
    g_provinces[400].visible = 1;
    std::vector<std::pair<CUnit*, std::pair<int32_t, int32_t>>> visited;
    units.VisitVisible([this](const CUnit& unit) { return unit.GetOwner() == &m_england; },
                       [&visited](CUnit& unit, MapPoint at) {
                           visited.push_back({&unit, {at.x, at.y}});
                       });
    ASSERT_EQ(visited.size(), 1u);
    EXPECT_EQ(visited[0].first, &shown);
    EXPECT_EQ(visited[0].second, std::make_pair(kLandPoint.x, kLandPoint.y));
    g_provinces[400].visible = 0;
}

} // namespace
