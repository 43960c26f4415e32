// The provinces' symbols in the map's drawing passes and the map view's
// entries on the display list.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/DisplayList.h"
#include "world/City.h"
#include "world/Map.h"
#include "world/MapDisplay.h"
#include "world/MapModes.h"
#include "world/MapView.h"
#include "world/Province.h"

namespace {

class ProvinceSymbolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_flags = g_mapModeFlags;
        InitWorldBounds();
        g_zoomShift = 0;
        SetViewRect(224, 0, 800, 600);
        SetViewCentre(1000, 1000);
    }
    void TearDown() override {
        for (int id : m_touched) {
            CProvince& province = *GetProvince(id);
            province.SetCity(nullptr);
            province.box = {};
            province.knownToPlayer = 0;
            province.visible = 0;
            province.portSeaZone = 0;
            province.portPosition = {};
        }
        g_mapModeFlags = m_flags;
        SetViewRect(0, 0, 800, 600);
        SetViewCentre(0, 0);
    }

    // A province with a town and a port, its box around the map point; the
    // port's next drawing is marked so that a drawing shows.
    CPort& PortAt(int id, int32_t x, int32_t y, bool known) {
        m_touched.push_back(id);
        CProvince& province = *GetProvince(id);
        province.box = {x - 20, y - 20, x + 20, y + 20};
        province.knownToPlayer = known ? 1 : 0;
        province.visible = 1;
        province.portSeaZone = 1300;
        province.portPosition = {x, y};
        auto city = std::make_unique<CCity>();
        city->SetPopulation(3000.0f);
        city->SetLocation(id);
        province.SetCity(std::move(city));
        CPort* port = province.GetPort();
        EXPECT_NE(port, nullptr);
        port->dimNext = 1;
        return *port;
    }

    uint32_t m_flags = 0;
    std::vector<int> m_touched;
};

TEST_F(ProvinceSymbolsTest, SymbolPassDrawsKnownProvincesOnScreenOnly) {
    g_mapModeFlags = 0x10;
    CPort& shown = PortAt(20, 1000, 1000, true);
    CPort& unknown = PortAt(21, 1050, 1000, false);
    CPort& away = PortAt(22, 9000, 5000, true);
    CMap map;
    SetViewRect(224, 0, 800, 600);
    SetViewCentre(1000, 1000);
    ASSERT_TRUE(IsProvinceOnScreen(20));
    ASSERT_TRUE(IsProvinceOnScreen(21));
    ASSERT_FALSE(IsProvinceOnScreen(22));
    map.Draw(2);
    EXPECT_EQ(shown.dimNext, 0);
    EXPECT_EQ(unknown.dimNext, 1);
    EXPECT_EQ(away.dimNext, 1);

    // Without the settlements' and ports' options no port is drawn.
    shown.dimNext = 1;
    g_mapModeFlags = 0x800;
    map.Draw(2);
    EXPECT_EQ(shown.dimNext, 1);
}

TEST_F(ProvinceSymbolsTest, TheMapViewTakesFourEntriesOnTheDisplayList) {
    CDisplayList* saved = g_displayList;
    g_displayList = new CDisplayList;
    AddMapToDisplayList();
    AddMapToDisplayList(); // a second start-up replaces the entries
    std::vector<std::pair<int32_t, int32_t>> entries;
    g_displayList->ForEach(
        [&entries](DisplayEntry entry) { entries.emplace_back(entry.layer, entry.param); });
    EXPECT_EQ(entries,
              (std::vector<std::pair<int32_t, int32_t>>{{100, 0}, {250, 2}, {500, 4}, {2150, 3}}));
    EXPECT_TRUE(IsMapOnDisplayList());
    RemoveMapFromDisplayList();
    EXPECT_EQ(g_displayList->GetCount(), 0u);
    EXPECT_FALSE(IsMapOnDisplayList());
    delete g_displayList;
    g_displayList = saved;
}

} // namespace
