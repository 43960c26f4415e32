#include "engine/File.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "engine/CriticalError.h"
#include "tests/TestSupport.h"

namespace {

std::string BoxText(const std::string& text) {
    return "\n---  " + text + "  ---\nDo you still want to continue?";
}

TEST(FileTest, OpeningAMissingFileShowsTheBoxOnceAndFailsEverythingAfter) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    g_fileError = 0;
    for (int constructor = 0; constructor < 2; ++constructor) {
        boxes.texts.clear();
        std::unique_ptr<CFile> file = constructor == 0
                                          ? std::make_unique<CFile>("db\\missing.bin")
                                          : std::make_unique<CFile>("db\\missing.bin", "rb");
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0], BoxText(" Could not open file db\\missing.bin! \r\n"));
        EXPECT_EQ(file->GetMessage(), " Could not open file db\\missing.bin! \r\n");
        EXPECT_TRUE(file->IsFailed());
        EXPECT_EQ(g_fileError, 1);
        EXPECT_EQ(file->GetSize(), 0);

        char buffer[4] = {'x', 'x', 'x', 'x'};
        EXPECT_FALSE(file->Read(buffer, 1));
        EXPECT_FALSE(file->ReadArray(buffer, 2, 2));
        EXPECT_FALSE(file->Write(buffer, 1));
        EXPECT_FALSE(file->Seek(0));
        EXPECT_FALSE(file->Skip(1));
        EXPECT_FALSE(file->SeekFromEnd(0));
        EXPECT_EQ(file->Tell(), -1);
        EXPECT_EQ(file->ReadString(buffer, sizeof buffer), 0u);
        EXPECT_EQ(buffer[0], '\0');
        EXPECT_EQ(file->GetPosition(), 0);
        EXPECT_EQ(boxes.texts.size(), 1u); // nothing reported twice
    }
}

TEST(FileTest, OpensGamePathsCaseBlindAndMeasuresTheSize) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    dir.WriteFile("Map/Data.BIN", "0123456789");
    CFile file("map\\data.bin");
    ASSERT_FALSE(file.IsFailed());
    EXPECT_EQ(file.GetSize(), 10);
    EXPECT_EQ(file.GetPosition(), 0);
    EXPECT_EQ(file.GetName(), "map\\data.bin");

    char buffer[4] = {};
    ASSERT_TRUE(file.Read(buffer, 3));
    EXPECT_EQ(std::string(buffer, 3), "012");
    ASSERT_TRUE(file.Skip(2));
    EXPECT_EQ(file.GetPosition(), 5);
    ASSERT_TRUE(file.ReadArray(buffer, 2, 2));
    EXPECT_EQ(std::string(buffer, 4), "5678");
    EXPECT_EQ(file.GetPosition(), 9);
    EXPECT_EQ(file.Tell(), 9);
    ASSERT_TRUE(file.SeekFromEnd(4));
    EXPECT_EQ(file.GetPosition(), 6);
    EXPECT_EQ(file.Tell(), 6);
    ASSERT_TRUE(file.Seek(1));
    EXPECT_EQ(file.Tell(), 1);
    ASSERT_TRUE(file.Read(buffer, 1));
    EXPECT_EQ(buffer[0], '1');
    EXPECT_TRUE(boxes.texts.empty());
}

TEST(FileTest, ReadStringStopsAfterTheZeroAndCutsToTheBuffer) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    dir.WriteFile("strings.bin", std::string("ab\0cd", 5));
    {
        CFile file("strings.bin");
        char buffer[16];
        EXPECT_EQ(file.ReadString(buffer, sizeof buffer), 3u);
        EXPECT_STREQ(buffer, "ab");
        EXPECT_EQ(file.GetPosition(), 3);
        // No zero before the end: what was read is terminated, the file fails.
        EXPECT_EQ(file.ReadString(buffer, sizeof buffer), 2u);
        EXPECT_STREQ(buffer, "cd");
        EXPECT_EQ(file.GetPosition(), 5);
        EXPECT_TRUE(file.IsFailed());
    }

    dir.WriteFile("long.bin", std::string("abcdefgh\0x\0", 11));
    CFile file("long.bin");
    char small[4] = {'?', '?', '?', '?'};
    EXPECT_EQ(file.ReadString(small, sizeof small), 9u);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(file.GetPosition(), 9);
    EXPECT_EQ(file.ReadString(nullptr, 0), 2u); // skipped
    EXPECT_EQ(file.GetPosition(), 11);
    EXPECT_FALSE(file.IsFailed());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST(FileTest, ReadingPastTheEndFailsCleanly) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    dir.WriteFile("short.bin", "abcd");
    CFile file("short.bin");
    g_fileError = 0;
    char buffer[8] = {};
    EXPECT_FALSE(file.Read(buffer, 8));
    EXPECT_TRUE(file.IsFailed());
    EXPECT_EQ(g_fileError, 1);
    EXPECT_EQ(file.GetPosition(), 0);
    EXPECT_EQ(file.GetMessage().rfind(" Error reading file short.bin (", 0), 0u)
        << file.GetMessage();
    EXPECT_TRUE(file.Seek(0)); // seeking does not look at the failed flag
    EXPECT_FALSE(file.Read(buffer, 1));
    EXPECT_EQ(file.Tell(), -1);
    EXPECT_TRUE(boxes.texts.empty()); // only opening shows the box
}

TEST(FileTest, WritesAndReopens) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    dir.WriteFile("Saves/keep.txt", "");
    {
        CFile out("saves\\Game.bin", "wb");
        ASSERT_FALSE(out.IsFailed());
        EXPECT_EQ(out.GetSize(), 0);
        ASSERT_TRUE(out.Write("hello", 5));
        ASSERT_TRUE(out.Write("\0!", 2));
        EXPECT_EQ(out.GetPosition(), 7);
    }
    EXPECT_EQ(dir.ReadFile("Saves/Game.bin"), std::string("hello\0!", 7));

    dir.WriteFile("other.bin", "xyz");
    CFile file("saves\\game.bin");
    char buffer[8] = {};
    ASSERT_TRUE(file.Read(buffer, 2));
    // Opening again closes the first stream and starts over.
    EXPECT_FALSE(file.Open("other.bin"));
    EXPECT_EQ(file.GetSize(), 3);
    EXPECT_EQ(file.GetPosition(), 0);
    ASSERT_TRUE(file.Read(buffer, 3));
    EXPECT_EQ(std::string(buffer, 3), "xyz");
    // Failing to open leaves it failed with size 0.
    EXPECT_TRUE(file.Open("gone.bin"));
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST(FileTest, WritingIntoAReadOnlyFolderFails) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::filesystem::create_directory(dir.Path() / "locked");
    std::filesystem::permissions(dir.Path() / "locked", std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_exec);
    {
        CFile file("locked\\new.bin", "wb");
        EXPECT_TRUE(file.IsFailed());
        EXPECT_FALSE(file.Write("x", 1));
        EXPECT_EQ(boxes.texts.size(), 1u);
    }
    std::filesystem::permissions(dir.Path() / "locked", std::filesystem::perms::owner_all);
}

TEST(FileTest, NamesOfAnyLengthAndCloseCount) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::string name = "db\\" + std::string(300, 'q') + ".bin";
    uint32_t closed = g_fileCloseCount;
    {
        CFile file(name);
        EXPECT_EQ(file.GetName(), name);
        EXPECT_NE(file.GetMessage().find(name), std::string::npos);
    }
    {
        dir.WriteFile("a.bin", "a");
        CFile file("a.bin");
    }
    EXPECT_EQ(g_fileCloseCount, closed + 2);
}

TEST(FileTest, FileExists) {
    test::ScopedGameDir dir;
    dir.WriteFile("Config/Text.csv", "x");
    EXPECT_TRUE(FileExists("config\\text.csv"));
    EXPECT_FALSE(FileExists("config\\none.csv"));
    EXPECT_FALSE(FileExists("config")); // a folder
    EXPECT_FALSE(FileExists(""));
}

TEST(CriticalErrorTest, ShowsTheFormattedTextUnderItsCaption) {
    std::vector<std::string> captions, texts;
    auto previous =
        platform::SetBoxHandler([&](const std::string& caption, const std::string& text) {
            captions.push_back(caption);
            texts.push_back(text);
            return platform::BoxAnswer::Ignore;
        });
    CriticalError("Map init failed %d", 7);
    CriticalErrorText("plain");
    platform::SetBoxHandler(previous);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(captions[0], "Critical error!");
    EXPECT_EQ(texts[0], BoxText("Map init failed 7"));
    EXPECT_EQ(texts[1], BoxText("plain"));
}

TEST(CriticalErrorTest, CutsLongTextsTo1024Bytes) {
    test::BoxRecorder boxes;
    std::string longText(5000, 'w');
    CriticalError("%s", longText.c_str());
    CriticalErrorText(longText);
    ASSERT_EQ(boxes.texts.size(), 2u);
    for (const auto& text : boxes.texts) {
        EXPECT_EQ(text.size(), 1023u);
        EXPECT_EQ(text.rfind("\n---  www", 0), 0u);
    }
    // A short text keeps its whole frame.
    boxes.texts.clear();
    CriticalError("%s", std::string(900, 's').c_str());
    EXPECT_EQ(boxes.texts[0], BoxText(std::string(900, 's')));
}

TEST(CriticalErrorTest, RetryWithoutADebuggerCarriesOn) {
    if (platform::IsDebuggerAttached())
        GTEST_SKIP() << "running under a debugger";
    auto previous = platform::SetBoxHandler(
        [](const std::string&, const std::string&) { return platform::BoxAnswer::Retry; });
    CriticalError("retry");
    platform::SetBoxHandler(previous);
    SUCCEED();
}

TEST(CriticalErrorDeathTest, AbortEndsTheProgramAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            platform::SetBoxHandler(
                [](const std::string&, const std::string&) { return platform::BoxAnswer::Abort; });
            CriticalError("fatal");
            std::exit(0); // not reached
        },
        testing::ExitedWithCode(EXIT_FAILURE), "");
}

} // namespace
