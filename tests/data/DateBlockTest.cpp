#include <string>

#include "data/DataTree.h"
#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "data/TextOutput.h"
#include "tests/data/TextFormatFixture.h"

namespace {

class DateBlockTest : public test::TextFormatTest {
protected:
    // Reads the block (its "{" already taken) into the date.
    int32_t Read(const std::string& fields, CDate& date) {
        OpenText(fields);
        return date.Read(reader);
    }
};

TEST_F(DateBlockTest, ReadsFieldsInAnyOrderAndAnyCase) {
    CDate date;
    EXPECT_EQ(Read("year = 1492 month = october day = 11 } next = 1\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date, CDate(11, 9, 1492));
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(std::string(reader.key.text), "next");

    EXPECT_EQ(Read("DAY=0 Month=DECEMBER YEAR=1820}\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date, CDate(0, 11, 1820));
    for (uint32_t month = 0; month < 12; ++month) {
        CDate d;
        EXPECT_EQ(
            Read(std::string("month = ") + g_keywordTable[KW_JANUARY - 10 + month].text + " }\n",
                 d),
            0);
        EXPECT_EQ(d.month, static_cast<int8_t>(month));
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DateBlockTest, MissingFieldsKeepTheirValuesAndRepeatedOnesOverwrite) {
    CDate date(5, 3, 1400);
    EXPECT_EQ(Read("year = 1500 }\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date, CDate(5, 3, 1500));
    EXPECT_EQ(Read("day = 1 day = 2 }\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date, CDate(2, 3, 1500));
    EXPECT_EQ(Read("}\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date, CDate(2, 3, 1500));
}

TEST_F(DateBlockTest, DayIsHeldWithinTheMonth) {
    const std::pair<const char*, int> days[] = {
        {"0", 0},   {"29", 29}, {"30", 29}, {"45", 29}, {"127", 29}, {"128", 0},
        {"200", 0}, {"-3", 0},  {"256", 0}, {"257", 1}, {"300", 29}, {"7.9", 7},
    };
    for (const auto& [text, day] : days) {
        CDate date;
        EXPECT_EQ(Read(std::string("day = ") + text + " }\n", date), FIELD_BLOCK_END) << text;
        EXPECT_EQ(date.day, day) << text;
    }
    // A value that is no number leaves the day but still holds it in range.
    CDate date;
    date.day = 40;
    EXPECT_EQ(Read("day = soon }\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date.day, 29);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DateBlockTest, YearIsSixteenBitsAndIgnoresWords) {
    CDate date(0, 0, 1500);
    EXPECT_EQ(Read("year = soon }\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date.year, 1500);
    EXPECT_EQ(Read("year = -20 }\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date.year, -20);
    EXPECT_EQ(Read("year = 70000 }\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date.year, static_cast<int16_t>(70000 - 65536));
}

TEST_F(DateBlockTest, MonthMustBeAMonthKeyword) {
    const char* const bad[] = {"3", "\"march\"", "marchy", "year"};
    for (const char* value : bad) {
        boxes.texts.clear();
        CDate date(1, 6, 1500);
        EXPECT_EQ(Read(std::string("month = ") + value + " day = 9 }\n", date), FIELD_BLOCK_END)
            << value;
        EXPECT_EQ(date, CDate(9, 6, 1500)) << value;
        ASSERT_EQ(boxes.texts.size(), 1u) << value;
        EXPECT_TRUE(BoxShown("ERROR : (Unknown month) 'month = ")) << boxes.texts[0];
    }
}

TEST_F(DateBlockTest, UnknownKeyEndsTheBlockAfterThatField) {
    CDate date;
    EXPECT_EQ(Read("year = 1500\nhour = 5 day = 3 }\n", date), FIELD_ERROR);
    EXPECT_EQ(date.year, 1500);
    EXPECT_EQ(date.day, 0);
    EXPECT_TRUE(BoxShown("ERROR : (Date : Unexpected field) 'hour = 5' Line = 2 file = test.txt"));
    // The file stands after the field.
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(std::string(reader.key.text), "day");
}

TEST_F(DateBlockTest, FieldWithoutEqualsIsDroppedAndTheBlockReadOn) {
    CDate date;
    EXPECT_EQ(Read("year 1600 month = may day 4 } after = 1\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date, CDate(0, 4, 0));
    // A stray word before the brace does not take the brace with it.
    EXPECT_EQ(Read("year = 1600 stray } after = 1\n", date), FIELD_BLOCK_END);
    EXPECT_EQ(date.year, 1600);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(std::string(reader.key.text), "after");
}

TEST_F(DateBlockTest, EndOfFileInsideTheBlockKeepsWhatWasRead) {
    CDate date;
    EXPECT_EQ(Read("year = 1500 month = june day = 12", date), FIELD_END_OF_FILE);
    EXPECT_EQ(date, CDate(0, 5, 1500));
    EXPECT_EQ(Read("year = 1510 month", date), FIELD_END_OF_FILE);
    EXPECT_EQ(date.year, 1510);
}

TEST_F(DateBlockTest, WritesYearMonthKeywordAndDayInOrder) {
    CNodeRef<CDataBlock> block(CDate(0, 11, 1500).Write());
    ASSERT_EQ(block->GetChildCount(), 3u);
    const uint32_t keys[] = {KW_YEAR, KW_MONTH, KW_DAY};
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(block->GetChild(i)->GetKeywordId(), keys[i]);
    EXPECT_EQ(block->GetChild(0)->GetValue()->GetInt(), 1500);
    EXPECT_EQ(block->GetChild(1)->GetValue()->GetKeywordId(), KW_DECEMBER);
    EXPECT_EQ(block->GetChild(2)->GetValue()->GetInt(), 0);

    reader.Open("date.txt", "w");
    ASSERT_EQ(block->Write(reader, 0), FIELD_WRITTEN);
    reader.Close();
    EXPECT_EQ(dir.ReadFile("date.txt"), "{ year = 1500 month = december day = 0 } ");
}

TEST_F(DateBlockTest, WrittenDatesReadBack) {
    const CDate dates[] = {CDate(0, 0, 0), CDate(29, 11, 1820), CDate(11, 9, 1492),
                           CDate(3, 4, -50), CDate(15, 6, 32767)};
    reader.Open("dates.txt", "w");
    Token token;
    for (const CDate& date : dates) {
        CNodeRef<CDataBlock> block(date.Write());
        ASSERT_EQ(reader.WriteToken(token.Set(KW_DATE, "date")), FIELD_WRITTEN);
        ASSERT_EQ(reader.WriteToken(token.Set(TOKEN_EQUALS, "=")), FIELD_WRITTEN);
        ASSERT_EQ(block->Write(reader, 0), FIELD_WRITTEN);
    }
    reader.Close();
    reader.Open("dates.txt", "r");
    for (const CDate& date : dates) {
        ASSERT_EQ(reader.ReadField(), FIELD_READ);
        ASSERT_EQ(reader.value.code, TOKEN_OPEN_BRACE);
        CDate read(7, 7, 7);
        EXPECT_EQ(read.Read(reader), FIELD_BLOCK_END);
        EXPECT_EQ(read, date);
    }
    EXPECT_EQ(reader.ReadField(), FIELD_END_OF_FILE);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DateBlockTest, MonthOutsideTheYearIsWrittenAsJanuary) {
    for (int month : {-1, 12, 100}) {
        CDate date(5, 0, 1500);
        date.month = static_cast<int8_t>(month);
        CNodeRef<CDataBlock> block(date.Write());
        EXPECT_EQ(block->GetChild(1)->GetValue()->GetKeywordId(), KW_JANUARY) << month;
    }
}

} // namespace
