#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/CsvReader.h"
#include "tests/TestSupport.h"

namespace {

class CsvReaderTest : public ::testing::Test {
protected:
    // Writes db/table.csv and opens it.
    CCsvReader& Open(const std::string& bytes) {
        dir.WriteFile("db/table.csv", bytes);
        reader = std::make_unique<CCsvReader>("db\\table.csv");
        return *reader;
    }
    std::string Cell(bool expected = true) {
        char buffer[64];
        EXPECT_EQ(reader->ReadString(buffer, sizeof buffer), expected);
        return buffer;
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::unique_ptr<CCsvReader> reader;
};

} // namespace

TEST_F(CsvReaderTest, ReadsTypedCellsOfARow) {
    auto& csv = Open("12;abc;3.5\n");
    int32_t i = 0;
    float f = 0;
    EXPECT_TRUE(csv.ReadInt(i));
    EXPECT_EQ(i, 12);
    EXPECT_EQ(Cell(), "abc");
    EXPECT_FALSE(csv.LastCellEndedLine());
    EXPECT_TRUE(csv.ReadFloat(f));
    EXPECT_EQ(f, 3.5f);
    EXPECT_TRUE(csv.LastCellEndedLine());
    EXPECT_FALSE(csv.ReadInt(i)); // end of file: unchanged
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CsvReaderTest, NumbersFollowAtoiAndAtof) {
    struct Case {
        const char* cell;
        int32_t asInt;
        double asDouble;
    };
    const Case cases[] = {
        {"", 0, 0.0},
        {"abc", 0, 0.0},
        {"  42x", 42, 42.0},
        {"-7", -7, -7.0},
        {"+3", 3, 3.0},
        {"\t-2.5e-1 ", -2, -0.25},
        {"1e3", 1, 1000.0},
        {".5", 0, 0.5},
        {"- 4", 0, 0.0},
        {"--5", 0, 0.0},
        {"99999999999", 2147483647, 99999999999.0},
        {"-99999999999", -2147483647 - 1, -99999999999.0},
    };
    std::string file;
    for (const Case& c : cases)
        file += std::string(c.cell) + ";" + c.cell + ";";
    auto& csv = Open(file + "\n");
    for (const Case& c : cases) {
        int32_t i = -1;
        double d = -1;
        EXPECT_TRUE(csv.ReadInt(i));
        EXPECT_TRUE(csv.ReadDouble(d));
        EXPECT_EQ(i, c.asInt) << '"' << c.cell << '"';
        EXPECT_EQ(d, c.asDouble) << '"' << c.cell << '"';
    }
}

TEST_F(CsvReaderTest, HugeFloatBecomesInfinity) {
    auto& csv = Open("1e39;1e999;1e-999\n");
    float f = 0;
    double d = 0;
    EXPECT_TRUE(csv.ReadFloat(f));
    EXPECT_TRUE(std::isinf(f));
    EXPECT_TRUE(csv.ReadDouble(d));
    EXPECT_TRUE(std::isinf(d));
    EXPECT_TRUE(csv.ReadDouble(d));
    EXPECT_EQ(d, 0.0);
}

TEST_F(CsvReaderTest, SkipLinesAfterALineEnd) {
    auto& csv = Open("head;er\na\nb;c\nd;e;f\ng\n");
    EXPECT_TRUE(csv.SkipLines(1)); // the header row
    EXPECT_EQ(Cell(), "a");
    EXPECT_TRUE(csv.LastCellEndedLine());
    EXPECT_TRUE(csv.SkipLines(1)); // the whole next line goes
    EXPECT_EQ(Cell(), "d");
    EXPECT_TRUE(csv.SkipLines(1)); // the rest of this one
    EXPECT_TRUE(csv.SkipCells(0));
    EXPECT_EQ(Cell(), "g");
    EXPECT_FALSE(csv.SkipLines(1));
}

TEST_F(CsvReaderTest, SkipCells) {
    auto& csv = Open("a;b;c\nd;e");
    EXPECT_TRUE(csv.SkipCells(-1));
    EXPECT_TRUE(csv.SkipCells(2));
    EXPECT_EQ(Cell(), "c");
    EXPECT_TRUE(csv.SkipCells(1));
    EXPECT_FALSE(csv.SkipCells(2));
}

TEST_F(CsvReaderTest, LastRowWithoutLineEnd) {
    auto& csv = Open("x;;y");
    EXPECT_EQ(Cell(), "x");
    int32_t empty = -1;
    EXPECT_TRUE(csv.ReadInt(empty)); // an empty cell reads as 0
    EXPECT_EQ(empty, 0);
    EXPECT_EQ(Cell(false), "y"); // false, with the cell's text
    EXPECT_EQ(Cell(false), "");
}

TEST_F(CsvReaderTest, CountLinesRewinds) {
    auto& csv = Open("a;b\nc\nd\ne");
    EXPECT_EQ(Cell(), "a");
    EXPECT_EQ(csv.CountLines(), 3u);
    EXPECT_EQ(Cell(), "a");
    EXPECT_TRUE(csv.SkipLines(3));
    EXPECT_EQ(Cell(false), "e");
    EXPECT_TRUE(csv.Rewind());
    EXPECT_EQ(Cell(), "a");
}

TEST_F(CsvReaderTest, CrLfReadsAsLineFeed) {
    auto& csv = Open("a;b\r\nc\r\nd\re\r\n");
    EXPECT_EQ(csv.CountLines(), 3u);
    EXPECT_EQ(Cell(), "a");
    EXPECT_EQ(Cell(), "b");
    EXPECT_TRUE(csv.LastCellEndedLine());
    EXPECT_EQ(Cell(), "c");
    EXPECT_EQ(Cell(), "d\re"); // a lone CR is an ordinary byte
    EXPECT_TRUE(csv.LastCellEndedLine());
    EXPECT_EQ(Cell(false), "");
}

TEST_F(CsvReaderTest, OverlongCellIsCutAndCounted) {
    auto& csv = Open("abcdefg;h;ijklm\nn\n");
    char small[4];
    EXPECT_TRUE(csv.ReadString(small, sizeof small));
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(csv.GetCutCells(), 1u);
    EXPECT_TRUE(csv.ReadString(small, sizeof small)); // the rest was consumed
    EXPECT_STREQ(small, "h");
    EXPECT_TRUE(csv.ReadString(small, sizeof small));
    EXPECT_STREQ(small, "ijk");
    EXPECT_TRUE(csv.LastCellEndedLine());
    EXPECT_EQ(csv.GetCutCells(), 2u);
    EXPECT_EQ(Cell(), "n");
    EXPECT_EQ(csv.GetCutCells(), 2u);
}

TEST_F(CsvReaderTest, MissingFileShowsTheBoxOnce) {
    CCsvReader csv("db\\missing.csv");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("excel file not found\n"), std::string::npos);
    EXPECT_FALSE(csv.IsOpen());
    char buffer[8] = "junk";
    int32_t i = 5;
    double d = 5;
    EXPECT_FALSE(csv.ReadString(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(csv.ReadInt(i));
    EXPECT_FALSE(csv.ReadDouble(d));
    EXPECT_EQ(i, 5);
    EXPECT_FALSE(csv.SkipCells(1));
    EXPECT_FALSE(csv.SkipLines(1));
    EXPECT_FALSE(csv.Rewind());
    EXPECT_EQ(csv.CountLines(), 0u);
    EXPECT_EQ(boxes.texts.size(), 1u);
}
