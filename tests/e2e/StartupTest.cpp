// The program from launch to the main loop and back out: start-up in order,
// the loading screen, shutdown on a close, and the failure paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/e2e/ProgramRun.h"

namespace {

using e2e::ProgramRun;

// The start-up steps the trace reports, in their order.
const std::vector<std::string> kStartupOrder = {
    "checkpoint start",         "settings loaded",
    "message activate 1 taken", "checkpoint logo",
    "checkpoint textdb",        "text database loaded",
    "checkpoint movie1",        "checkpoint movie2",
    "checkpoint fonts",         "fonts loaded 7",
    "checkpoint town",          "checkpoint INIT_SOUND",
    "sounds loaded 63",         "checkpoint INIT_INTERFACE",
    "checkpoint timer",         "checkpoint INIT_GAMEMAP_SPRITES",
    "checkpoint INIT_GLOBALS",
};

// Each line after the one before it.
void ExpectInOrder(const ProgramRun& run, const std::vector<std::string>& lines) {
    const std::vector<std::string> all = run.Lines();
    auto from = all.begin();
    for (const std::string& line : lines) {
        auto at = std::find(from, all.end(), line);
        EXPECT_TRUE(at != all.end()) << "\"" << line << "\" missing or out of order in:\n"
                                     << run.Stderr();
        if (at != all.end())
            from = at + 1;
    }
}

TEST(ProgramStartup, RunsInOrderThenCloseShutsDownAndExitsZero) {
    ProgramRun run;
    // Old log files are emptied; the settings file is made.
    std::filesystem::remove(run.PathOf("config.ov"));
    for (const char* log : {"log.txt", "debug.txt", "netlog.txt"}) {
        std::ofstream(run.PathOf(log)) << "old lines\n";
    }
    ASSERT_EQ(run.Run({"3 keydown 65", "5 close"}), 0) << run.Stderr();

    std::vector<std::string> order = kStartupOrder;
    order.insert(order.end(),
                 {"message keydown 65 taken", "shutdown done", "message close 0 shutdown"});
    ExpectInOrder(run, order);
    EXPECT_FALSE(run.Has("Critical error!")) << run.Stderr();
    for (const char* log : {"log.txt", "debug.txt", "netlog.txt"})
        EXPECT_EQ(std::filesystem::file_size(run.PathOf(log)), 0u) << log;
    EXPECT_EQ(std::filesystem::file_size(run.PathOf("config.ov")), 620u);
}

TEST(ProgramStartup, MissingTextDatabaseEndsSilentlyAfterTheLogo) {
    ProgramRun run;
    std::filesystem::remove(run.PathOf("config/text.csv"));
    ASSERT_EQ(run.Run({"textdb screenshot logo.bmp", "5 close"}), 0) << run.Stderr();
    ExpectInOrder(run, {"checkpoint logo", "checkpoint textdb", "no text database"});
    // The logo was on the screen when the program ended.
    const e2e::Picture shown = e2e::ReadPicture(run.PathOf("logo.bmp").string());
    ASSERT_EQ(shown.width, 640);
    size_t lit = 0;
    for (size_t i = 0; i < shown.rgb.size(); ++i)
        lit += shown.rgb[i] > 64 ? 1 : 0;
    EXPECT_GT(lit, 1000u);
    EXPECT_FALSE(run.Has("checkpoint movie1"));
    EXPECT_FALSE(run.Has("shutdown done"));
}

// The pixels with some colour (any channel above 24).
size_t Coloured(const e2e::Picture& picture) {
    size_t coloured = 0;
    for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
        coloured += *std::max_element(&picture.rgb[i], &picture.rgb[i] + 3) > 24 ? 1 : 0;
    return coloured;
}

// A screenshot at a checkpoint shows what the checkpoint is named after: the
// logo once it is drawn, each intro movie once its first picture is on the
// screen (the movies fill it, from a dark blue sky up).
TEST(ProgramStartup, CheckpointsShowWhatTheyAreNamedAfter) {
    ProgramRun run;
    ASSERT_EQ(run.Run({"logo screenshot logo.bmp", "movie1 screenshot movie1.bmp",
                       "movie2 screenshot movie2.bmp", "2 close"}),
              0)
        << run.Stderr();
    const e2e::Picture logo = e2e::ReadPicture(run.PathOf("logo.bmp").string());
    ASSERT_EQ(logo.width, 640);
    size_t lit = 0;
    for (size_t i = 0; i < logo.rgb.size(); ++i)
        lit += logo.rgb[i] > 64 ? 1 : 0;
    EXPECT_GT(lit, 1000u);
    const e2e::Picture movie1 = e2e::ReadPicture(run.PathOf("movie1.bmp").string());
    const e2e::Picture movie2 = e2e::ReadPicture(run.PathOf("movie2.bmp").string());
    ASSERT_EQ(movie1.width, 640);
    ASSERT_EQ(movie2.width, 640);
    EXPECT_GT(Coloured(movie1), 640u * 480u / 2);
    EXPECT_GT(Coloured(movie2), 640u * 480u / 2);
    EXPECT_TRUE(movie1.rgb != movie2.rgb) << "the two movies show the same picture";
    ExpectInOrder(run, {"checkpoint logo", "checkpoint movie1", "checkpoint movie2",
                        "checkpoint fonts", "shutdown done"});
}

TEST(ProgramStartup, FailedDisplayModeShutsDownBeforeAnyMovie) {
    ProgramRun run;
    run.env["ORVANDEL_DISPLAY"] = "no-such-video-driver";
    ASSERT_EQ(run.Run({}), 0) << run.Stderr();
    EXPECT_NE(run.Stderr().find("Fatal error: Could not initialize Video for Fmv!"),
              std::string::npos)
        << run.Stderr();
    EXPECT_TRUE(run.Has("shutdown done"));
    EXPECT_FALSE(run.Has("checkpoint logo"));
    EXPECT_FALSE(run.Has("checkpoint movie1"));
}

TEST(ProgramStartup, EscapeOrClickEndsAnIntroMovieAndStartUpGoesOn) {
    ProgramRun run;
    ASSERT_EQ(run.Run({"movie1 keyup 27", "movie2 click 10 10", "2 close"}), 0) << run.Stderr();
    ExpectInOrder(run, {"checkpoint movie1", "movie closed", "message keyup 27 ignored",
                        "checkpoint movie2", "movie closed", "checkpoint fonts",
                        "checkpoint INIT_GLOBALS", "shutdown done"});
}

TEST(ProgramStartup, WindowEventsBeforeTheTimerAreIgnored) {
    ProgramRun run;
    ASSERT_EQ(
        run.Run({"logo keydown 65", "fonts click 100 100", "INIT_GLOBALS keydown 66", "2 close"}),
        0)
        << run.Stderr();
    ExpectInOrder(run, {"message keydown 65 ignored", "message ldown 0 ignored",
                        "message lup 0 ignored", "message keydown 66 taken", "shutdown done"});
}

TEST(ProgramStartup, CloseWhileFilesAreReadWaitsForTheMainLoop) {
    ProgramRun run;
    // The close arrives while the fonts are read (the file layer pumps
    // after each close): start-up finishes, then the main loop shuts down.
    ASSERT_EQ(run.Run({"fonts close", "INIT_SOUND close"}), 0) << run.Stderr();
    ExpectInOrder(run,
                  {"checkpoint fonts", "message close 0 kept for the main loop", "fonts loaded 7",
                   "checkpoint INIT_GLOBALS", "shutdown done", "message close 0 shutdown"});
    const std::vector<std::string> lines = run.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "shutdown done"), 1);
}

TEST(ProgramStartup, CloseDuringTheFirstMovieSkipsTheSecond) {
    ProgramRun run;
    ASSERT_EQ(run.Run({"movie1 close"}), 0) << run.Stderr();
    ExpectInOrder(run,
                  {"checkpoint movie1", "movie closed", "message close 0 kept for the main loop",
                   "checkpoint movie2", "checkpoint fonts", "shutdown done"});
    const std::vector<std::string> lines = run.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "movie closed"), 1);
}

TEST(ProgramStartup, ActivationWhileFilesAreReadWaitsForTheMainLoop) {
    ProgramRun run;
    // Each activation resets the display mode, which reads files. The main
    // loop takes the first; the two that the file layer's pump meets while
    // the mode is reset wait for the next pass instead of nesting.
    ASSERT_EQ(run.Run({"INIT_GLOBALS activate 1", "INIT_GLOBALS activate 0",
                       "INIT_GLOBALS activate 1", "3 close"}),
              0)
        << run.Stderr();
    ExpectInOrder(run, {"checkpoint INIT_GLOBALS", "message activate 0 kept for the main loop",
                        "message activate 1 kept for the main loop", "message activate 1 taken",
                        "message activate 1 taken", "shutdown done"});
}

TEST(ProgramStartup, LoadingScreenShowsEachStageWithItsProgress) {
    ProgramRun run;
    struct Stage {
        const char* key;
        int progress;
    };
    const Stage stages[] = {{"INIT_SOUND", 22},
                            {"INIT_INTERFACE", 44},
                            {"INIT_GAMEMAP_SPRITES", 66},
                            {"INIT_GLOBALS", 95}};
    std::vector<std::string> script = {"3 screenshot loop.bmp", "4 close"};
    for (const Stage& stage : stages)
        script.push_back(std::string(stage.key) + " screenshot " + stage.key + ".bmp");
    ASSERT_EQ(run.Run(script), 0) << run.Stderr();

    const bool update = std::getenv("ORV_UPDATE_GOLDENS") != nullptr;
    for (const Stage& stage : stages) {
        SCOPED_TRACE(stage.key);
        const e2e::Picture shot = e2e::ReadPicture(run.PathOf(std::string(stage.key) + ".bmp"));
        ASSERT_EQ(shot.width, 800);
        ASSERT_EQ(shot.height, 600);
        // The bar fills 400 x progress / 100 + 1 columns from x = 200, in green.
        int lastGreen = -1;
        for (int x = 200; x < 600; ++x) {
            const uint8_t* p = shot.At(x, 540);
            if (p[1] > 40 && p[0] < 60 && p[2] < 40)
                lastGreen = x;
        }
        EXPECT_NEAR(lastGreen, 200 + 400 * stage.progress / 100, 2);

        // The strip, shrunk by 8, against its golden picture.
        const e2e::Picture strip = e2e::CropAndShrink(shot, 0, 509, 800, 600, 8);
        const std::string golden = std::string(ORV_GOLDEN_DIR) + "/loading_" + stage.key + ".bmp";
        if (update)
            e2e::WritePicture(golden, strip);
        const e2e::Picture expected = e2e::ReadPicture(golden);
        ASSERT_EQ(expected.width, strip.width) << golden;
        ASSERT_EQ(expected.height, strip.height);
        int worst = 0;
        for (size_t i = 0; i < strip.rgb.size(); ++i)
            worst = std::max(worst, std::abs(int(strip.rgb[i]) - int(expected.rgb[i])));
        EXPECT_LE(worst, 8);
    }
    // The main loop keeps the last picture while the front end is empty;
    // only the pointer (top left) is drawn on it now.
    const e2e::Picture last = e2e::ReadPicture(run.PathOf("loop.bmp"));
    const e2e::Picture globals = e2e::ReadPicture(run.PathOf("INIT_GLOBALS.bmp"));
    ASSERT_EQ(last.rgb.size(), globals.rgb.size());
    int differing = 0;
    for (int y = 0; y < last.height; ++y)
        for (int x = 0; x < last.width; ++x)
            if ((x >= 32 || y >= 32) &&
                !std::equal(last.At(x, y), last.At(x, y) + 3, globals.At(x, y)))
                ++differing;
    EXPECT_EQ(differing, 0);
}

} // namespace
