// The year-book object of a saved game: the pages it writes, and reading
// them back.
#include <gtest/gtest.h>

#include <string>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "platform/Files.h"
#include "tests/TestSupport.h"
#include "windows/YearBook.h"
#include "windows/YearBookSection.h"

namespace test {
namespace {

class YearBookSectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeywordIndex();
        g_yearBook.CreatePages();
    }

    void TearDown() override {
        in.Close();
        g_yearBook.CreatePages();
    }

    // Opens the text (a block with its "{") and takes the "{".
    void OpenBlock(const std::string& text) {
        dir.WriteFile("section.txt", text);
        platform::ForgetPathCache();
        in.Open("section.txt", "r");
        in.GetTokenFile()->Next();
    }

    // The section's tree as the file prints it.
    std::string Print(CDataBlock* tree) {
        CNodeRef<CDataBlock> held(tree);
        CFieldReader out;
        out.Open("printed.txt", "w");
        EXPECT_EQ(held->Write(out, 0), FIELD_WRITTEN);
        out.Close();
        return dir.ReadFile("printed.txt");
    }

    bool BoxShown(const std::string& part) const {
        for (const std::string& text : boxes.texts)
            if (text.find(part) != std::string::npos)
                return true;
        return false;
    }

    ScopedGameDir dir;
    BoxRecorder boxes;
    CFieldReader in;
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
    ASSERT_EQ(ReadYearBookSection(in), FIELD_BLOCK_END);
    in.Close();
    // Keys in any order; a key given twice reads into its page again; pages
    // the block leaves out start empty.
    OpenBlock("{ size = { 5 } VP = { 1 2 3 } vp = { 4 } }");
    ASSERT_EQ(ReadYearBookSection(in), FIELD_BLOCK_END);
    EXPECT_EQ(g_yearBook.GetPage(29)->GetCount(), 1u);
    EXPECT_EQ(g_yearBook.GetPage(0)->GetCount(), 1u);
    EXPECT_EQ(g_yearBook.GetPage(0)->GetBlock()->GetChild(0)->GetInt(), 4);
    EXPECT_EQ(g_yearBook.GetPage(24)->GetCount(), 0u);

    const std::string printed = Print(WriteYearBookSection());
    EXPECT_NE(printed.find("    vp = { 4 } \n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("    size = { 5 } \n    } "), std::string::npos) << printed;

    in.Close();
    OpenBlock("{ vp = { 1 } diary = { } army = { 2 } }");
    EXPECT_EQ(ReadYearBookSection(in), FIELD_ERROR);
    EXPECT_TRUE(BoxShown("unknown EYR page"));
    EXPECT_EQ(g_yearBook.GetPage(23)->GetCount(), 0u);
}

} // namespace
} // namespace test
