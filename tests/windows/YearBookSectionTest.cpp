// The year-book object of a saved game: the pages it writes, and reading
// them back.
#include <gtest/gtest.h>

#include <string>

#include "tests/data/TextFormatFixture.h"
#include "windows/YearBook.h"
#include "windows/YearBookSection.h"

namespace test {
namespace {

class YearBookSectionTest : public TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        g_yearBook.CreatePages();
    }

    void TearDown() override {
        reader.Close();
        g_yearBook.CreatePages();
    }

    // Opens the text (a block with its "{") and takes the "{".
    void OpenBlock(const std::string& text) {
        reader.Close();
        OpenText(text);
        File().Next();
    }
};

TEST_F(YearBookSectionTest, YearBookWritesThirteenPagesInOrder) {
    const std::string printed = Print(WriteYearBookSection());
    EXPECT_EQ(
        printed,
        "{ \n    vp = { } \n    monarch = { } \n    wealth = { } \n    pe = { } \n    te = { } \n"
        "    inflation = { } \n    income = { } \n    expense = { } \n    landtech = { } \n"
        "    navaltech = { } \n    army = { } \n    navy = { } \n    size = { } \n    } ");
}

TEST_F(YearBookSectionTest, YearBookReadsIntoItsPagesAfterRebuildingThem) {
    OpenBlock("{ navy = { 1 2 } }");
    ASSERT_EQ(ReadYearBookSection(reader), FIELD_BLOCK_END);
    // Keys in any order; a key given twice reads into its page again; pages
    // the block leaves out start empty.
    OpenBlock("{ size = { 5 } VP = { 1 2 3 } vp = { 4 } }");
    ASSERT_EQ(ReadYearBookSection(reader), FIELD_BLOCK_END);
    EXPECT_EQ(g_yearBook.GetPage(29)->GetCount(), 1u);
    EXPECT_EQ(g_yearBook.GetPage(0)->GetCount(), 1u);
    EXPECT_EQ(g_yearBook.GetPage(0)->GetBlock()->GetChild(0)->GetInt(), 4);
    EXPECT_EQ(g_yearBook.GetPage(24)->GetCount(), 0u);

    const std::string printed = Print(WriteYearBookSection());
    EXPECT_NE(printed.find("    vp = { 4 } \n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("    size = { 5 } \n    } "), std::string::npos) << printed;

    OpenBlock("{ vp = { 1 } diary = { } army = { 2 } }");
    EXPECT_EQ(ReadYearBookSection(reader), FIELD_ERROR);
    EXPECT_TRUE(BoxShown("unknown EYR page"));
    EXPECT_EQ(g_yearBook.GetPage(23)->GetCount(), 0u);
}

} // namespace
} // namespace test
