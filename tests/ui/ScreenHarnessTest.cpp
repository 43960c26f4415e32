// The screen harness's own records: files written into a watched folder,
// messages posted and queued for sending, a golden comparison that fails on
// a changed pixel.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "engine/Display.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "tests/ui/ScreenHarness.h"

namespace {

TEST(ScreenHarnessTest, RecordsFilesAndMessages) {
    uitest::ScreenHarness screen;
    test::TempDir folder;
    folder.WriteFile("saves/old.ovg", "old");
    screen.WatchFolder(folder.Path());
    EXPECT_TRUE(screen.FilesWritten().empty());
    folder.WriteFile("saves/new.ovg", "new");
    EXPECT_EQ(screen.FilesWritten(), std::vector<std::string>{"saves/new.ovg"});

    PostEventNow(std::make_unique<COVSimpleEvent>(EVT_REFRESHWINDOWS, g_broadcastId));
    const auto posted = screen.Posted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].type, uint32_t{EVT_REFRESHWINDOWS});
    ASSERT_EQ(posted[0].bytes.size(), 20u);
    EXPECT_EQ(posted[0].bytes[0], EVT_REFRESHWINDOWS);
    EXPECT_TRUE(screen.Sent().empty());
}

// The harness the failure check reaches (its statement may not name a
// local).
uitest::ScreenHarness* g_harness = nullptr;

TEST(ScreenHarnessTest, GoldenComparisonSeesOnePixel) {
    uitest::ScreenHarness screen;
    g_harness = &screen;
    screen.Fill(0);
    screen.CheckGolden("harness_black", 0, 0, 8, 8);
    StorePixel(g_screen->pixels + 2 * 3 + g_screen->pitch * 4, 0xFFFF);
    if (std::getenv("ORV_UPDATE_GOLDENS"))
        return;
    EXPECT_NONFATAL_FAILURE(g_harness->CheckGolden("harness_black", 0, 0, 8, 8), "1 pixels differ");
    g_harness = nullptr;
}

} // namespace
