#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/TestSupport.h"

namespace {

TEST(FilesTest, ResolvesEachComponentCaseBlind) {
    test::ScopedGameDir dir;
    dir.WriteFile("Gfx/Fonts/Arial8.bmp", "x");
    dir.WriteFile("config/Text.csv", "x");
    struct Case {
        const char* gamePath;
        const char* hostPath;
    } cases[] = {
        {"gfx\\fonts\\arial8.bmp", "Gfx/Fonts/Arial8.bmp"},
        {"GFX\\FONTS\\ARIAL8.BMP", "Gfx/Fonts/Arial8.bmp"},
        {"Gfx/Fonts/Arial8.bmp", "Gfx/Fonts/Arial8.bmp"},
        {"CONFIG\\TEXT.CSV", "config/Text.csv"},
        {"gfx\\\\fonts\\", "Gfx/Fonts/"},
        // Components that do not exist are kept as given, under the resolved folder.
        {"gfx\\Fonts\\New.bmp", "Gfx/Fonts/New.bmp"},
        {"gfx\\Missing\\Deeper\\x.BIN", "Gfx/Missing/Deeper/x.BIN"},
        {"..\\outside.txt", "../outside.txt"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::ResolveGamePath(c.gamePath), c.hostPath) << c.gamePath;
}

TEST(FilesTest, PrefersTheExactNameAmongNamesDifferingInCase) {
    test::ScopedGameDir dir;
    dir.WriteFile("a.txt", "lower");
    dir.WriteFile("A.txt", "upper");
    EXPECT_EQ(platform::ResolveGamePath("A.txt"), "A.txt");
    EXPECT_EQ(platform::ResolveGamePath("a.txt"), "a.txt");
}

TEST(FilesTest, CreatesNewFilesUnderTheResolvedFolderAndRemembersThem) {
    test::ScopedGameDir dir;
    dir.WriteFile("Scenarios/Save Games/old.ovg", "x");
    EXPECT_FALSE(platform::GameFileExists("scenarios\\save games\\Autosave.ovg"));

    std::FILE* file = platform::OpenGameFile("SCENARIOS\\SAVE GAMES\\Autosave.ovg", "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("data", file);
    std::fclose(file);

    EXPECT_EQ(dir.ReadFile("Scenarios/Save Games/Autosave.ovg"), "data");
    // The new name is known to the cached listing without a fresh look.
    EXPECT_EQ(platform::ResolveGamePath("scenarios\\save games\\AUTOSAVE.OVG"),
              "Scenarios/Save Games/Autosave.ovg");
    EXPECT_TRUE(platform::GameFileExists("scenarios\\save games\\autosave.ovg"));
    EXPECT_FALSE(platform::GameFileExists("scenarios\\save games")); // a folder
}

TEST(FilesTest, FolderListingsAreCachedUntilForgotten) {
    test::ScopedGameDir dir;
    dir.WriteFile("Data/first.txt", "x");
    EXPECT_EQ(platform::ResolveGamePath("data\\FIRST.TXT"), "Data/first.txt");

    // Written behind the cache's back.
    std::ofstream(dir.Path() / "Data" / "Late.txt") << "x";
    EXPECT_EQ(platform::ResolveGamePath("data\\late.txt"), "Data/late.txt");
    platform::ForgetPathCache();
    EXPECT_EQ(platform::ResolveGamePath("data\\late.txt"), "Data/Late.txt");
}

TEST(FilesTest, HandlesOddAndVeryLongPaths) {
    test::ScopedGameDir dir;
    EXPECT_EQ(platform::OpenGameFile("", "rb"), nullptr);
    EXPECT_FALSE(platform::GameFileExists(""));
    EXPECT_EQ(platform::OpenGameFile("..\\..\\..\\no-such-file-here", "rb"), nullptr);

    std::string longPath;
    for (int i = 0; i < 400; ++i)
        longPath += "folder\\";
    longPath += "file.txt";
    EXPECT_EQ(platform::ResolveGamePath(longPath).size(), longPath.size());
    EXPECT_EQ(platform::OpenGameFile(longPath, "rb"), nullptr);
    EXPECT_FALSE(platform::GameFileExists(longPath));

    std::string longName(300, 'n');
    EXPECT_EQ(platform::OpenGameFile(longName, "wb"), nullptr); // too long for the host
}

TEST(FilesTest, ListsMatchingFilesSortedByName) {
    test::ScopedGameDir dir;
    dir.WriteFile("Scenarios/b.OVG", "x");
    dir.WriteFile("Scenarios/A.ovg", "x");
    dir.WriteFile("Scenarios/c.ovg", "x");
    dir.WriteFile("Scenarios/c.txt", "x");
    dir.WriteFile("Scenarios/ab.ovg", "x");
    dir.WriteFile("Scenarios/Folder.ovg/inside.ovg", "x"); // a folder is not listed
    dir.WriteFile("top.ovg", "x");

    using List = std::vector<std::string>;
    EXPECT_EQ(platform::ListGameFiles("scenarios\\*.ovg"),
              (List{"A.ovg", "ab.ovg", "b.OVG", "c.ovg"}));
    EXPECT_EQ(platform::ListGameFiles("SCENARIOS\\?.OVG"), (List{"A.ovg", "b.OVG", "c.ovg"}));
    EXPECT_EQ(platform::ListGameFiles("scenarios\\c.*"), (List{"c.ovg", "c.txt"}));
    EXPECT_EQ(platform::ListGameFiles("scenarios\\*b*"), (List{"ab.ovg", "b.OVG"}));
    EXPECT_EQ(platform::ListGameFiles("*.ovg"), (List{"top.ovg"}));
    EXPECT_EQ(platform::ListGameFiles("scenarios\\*.sav"), List{});
    EXPECT_EQ(platform::ListGameFiles("missing\\*"), List{});
}

} // namespace
