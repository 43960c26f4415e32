#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/TextDatabase.h"
#include "platform/Files.h"
#include "tests/TestSupport.h"

namespace {

// A row: the key, the ten texts "<text><column>", and a closing cell.
std::string Row(const std::string& key, const std::string& text,
                const std::string& ending = ";x\n") {
    std::string row = key;
    for (int i = 0; i < 10; ++i)
        row += ";" + text + std::to_string(i);
    return row + ending;
}

class TextDatabaseTest : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { dir.WriteFile("config/text.csv", bytes); }

    std::vector<std::string> AllTexts() const {
        std::vector<std::string> texts;
        db.ForEach([&](std::string* t) { texts.push_back(*t); });
        return texts;
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    CTextDatabase db;
};

const std::string kUnknown = "UNKNOWN STRING WANTED\n";

} // namespace

TEST_F(TextDatabaseTest, LooksUpTheLoadedColumnCaseBlind) {
    Write("KEY;English;Deutsch;x;x;x;x;x;x;x;x;comment\n" + Row("JANUARY", "Jan") +
          Row("FEBRUARY", "Feb") + "#EOF;;;\n");
    EXPECT_TRUE(db.Load(0));
    EXPECT_STREQ(db.GetText("january"), "Jan0");
    EXPECT_STREQ(db.GetText("February"), "Feb0");
    EXPECT_STREQ(db.GetText("KEY"), "English"); // a header row is a row like any other
    EXPECT_EQ(db.GetText("MARCH"), kUnknown);

    EXPECT_TRUE(db.Load(3));
    EXPECT_STREQ(db.GetText("JANUARY"), "Jan3");
    EXPECT_TRUE(db.Load(0));
    EXPECT_EQ(AllTexts(), (std::vector<std::string>{"Feb0", "Jan0", "English"}));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TextDatabaseTest, BackslashNBecomesCrLf) {
    Write("A1;one\\ntwo;x;x;x;x;x;x;x;x;x;\n"
          "A2;end\\;x;x;x;x;x;x;x;x;x;\n"
          "A3;\\x\\\\n;x;x;x;x;x;x;x;x;x;\n"
          "#EOF\n");
    EXPECT_TRUE(db.Load(0));
    EXPECT_STREQ(db.GetText("A1"), "one\r\ntwo");
    EXPECT_STREQ(db.GetText("A2"), "end\\");
    EXPECT_STREQ(db.GetText("A3"), "\\x\\\r\n");
}

TEST_F(TextDatabaseTest, CommentShortKeyAndEofRows) {
    Write(Row("#COMMENT", "c") + Row("#", "h") + Row("X", "x") + ";;;;\n" + Row("OK", "ok") +
          "#eof;\n" + Row("AFTER", "a"));
    EXPECT_TRUE(db.Load(1));
    EXPECT_EQ(AllTexts(), (std::vector<std::string>{"ok1"}));
    EXPECT_EQ(db.GetText("AFTER"), kUnknown);
}

TEST_F(TextDatabaseTest, RowWithoutClosingCellKeepsTheNextRow) {
    Write(Row("FIRST", "f", "\n") + Row("SECOND", "s", "\r\n") + "\n" + Row("THIRD", "t") +
          "#EOF\n");
    EXPECT_TRUE(db.Load(9));
    EXPECT_STREQ(db.GetText("FIRST"), "f9");
    EXPECT_STREQ(db.GetText("SECOND"), "s9");
    EXPECT_STREQ(db.GetText("THIRD"), "t9");
}

TEST_F(TextDatabaseTest, FileWithoutEofLoadsWhatItHolds) {
    Write(Row("ONE", "a") + Row("TWO", "b", "")); // the last text ends the file
    EXPECT_TRUE(db.Load(9));
    EXPECT_STREQ(db.GetText("ONE"), "a9");
    EXPECT_STREQ(db.GetText("TWO"), "b9");

    Write(Row("ONE", "a") + "TWO;b0;b1");
    EXPECT_TRUE(db.Load(1));
    EXPECT_STREQ(db.GetText("TWO"), "b1");
    EXPECT_TRUE(db.Load(2)); // the file ends before the column
    EXPECT_STREQ(db.GetText("ONE"), "a2");
    EXPECT_EQ(db.GetText("TWO"), kUnknown);
}

TEST_F(TextDatabaseTest, BlankInKeyShowsOneBoxPerBlank) {
    Write(Row("MY KEY NAME", "k") + "#EOF\n");
    EXPECT_TRUE(db.Load(0));
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_NE(boxes.texts[0].find("ERROR in language file, token 'MY KEY NAME'\n"),
              std::string::npos);
    EXPECT_STREQ(db.GetText("my key name"), "k0"); // used unchanged
}

TEST_F(TextDatabaseTest, OverlongKeyAndTextAreCut) {
    std::string key(300, 'K');
    std::string text(9000, 't');
    Write(key + ";" + text + ";x;x;x;x;x;x;x;x;x;\n#EOF\n");
    EXPECT_TRUE(db.Load(0));
    EXPECT_EQ(db.GetText(key), kUnknown);
    EXPECT_EQ(db.GetText(key.substr(0, 259)), text.substr(0, 8191));
}

TEST_F(TextDatabaseTest, MissingFileAndBadColumn) {
    Write(Row("KEEP", "k") + "#EOF\n");
    EXPECT_TRUE(db.Load(4));
    EXPECT_FALSE(db.Load(-1));
    EXPECT_FALSE(db.Load(10));
    EXPECT_STREQ(db.GetText("KEEP"), "k4"); // refused columns change nothing
    EXPECT_TRUE(boxes.texts.empty());

    std::filesystem::remove(dir.Path() / "config" / "text.csv");
    platform::ForgetPathCache();
    EXPECT_FALSE(db.Load(0));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("excel file not found\n"), std::string::npos);
    EXPECT_EQ(db.GetText("KEEP"), kUnknown);
}
