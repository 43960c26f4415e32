// The texts of the popup dialogs: pieces split at ';' (bounded, cut with
// "..." only when longer), and lists of country names.
#include "ui/widgets/DialogText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryTags.h"
#include "engine/TextDatabase.h"
#include "tests/TestSupport.h"

namespace {

TEST(DialogTextTest, PiecesGoToBlocksInOrderWithBlocksThreeAndFiveInUpperCase) {
    struct Case {
        const char* text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", {""}},
        {"a;b;c", {"a", "b", "c"}},
        {"a;b;c;dd;e;ff", {"a", "b", "c", "DD", "e", "FF"}},
        {"a;b;", {"a", "b", ""}},
        {"0;1;2;3;4;5;6;7;8;9", {"0", "1", "2", "3", "4", "5", "6"}},
        {"0;1;2;3;4;5;6;", {"0", "1", "2", "3", "4", "5", "6"}},
    };
    for (const Case& c : cases) {
        const DialogPieces split = SplitDialogText(c.text);
        ASSERT_EQ(split.count, c.pieces.size()) << c.text;
        for (size_t i = 0; i < c.pieces.size(); ++i)
            EXPECT_EQ(split.pieces[i], c.pieces[i]) << c.text << " piece " << i;
    }
}

TEST(DialogTextTest, LongPiecesAreCutWithAnEllipsisAndOnlyThen) {
    const std::string fits(kDialogPieceMax, 'x');
    const std::string longer(600, 'y');
    const DialogPieces split = SplitDialogText(fits + ";" + longer + ";z");
    ASSERT_EQ(split.count, 3u);
    EXPECT_EQ(split.pieces[0], fits);
    EXPECT_EQ(split.pieces[1].size(), kDialogPieceMax);
    EXPECT_EQ(split.pieces[1], std::string(kDialogPieceMax - 3, 'y') + "...");
    EXPECT_EQ(split.pieces[2], "z");
    EXPECT_EQ(CutWithEllipsis("abc", 3), "abc");
    EXPECT_EQ(CutWithEllipsis("abcd", 3), "...");
    EXPECT_EQ(CutWithEllipsis("abcd", 2), "ab");
}

class CountryListTest : public ::testing::Test {
protected:
    CountryListTest() {
        std::string csv = "INVAND; and ;;;;;;;;;\r\n";
        for (int32_t n : {1, 2, 3, 4})
            csv += std::string(GetCountryTag(static_cast<uint32_t>(n))) + ";C" + std::to_string(n) +
                   ";;;;;;;;;\r\n";
        dir.WriteFile("config/text.csv", csv + "#EOF;\r\n");
        EXPECT_TRUE(g_textDatabase.Load(0));
        for (int32_t n : {1, 2, 3, 4})
            AddCountry(std::make_unique<CCountry>(n));
    }
    ~CountryListTest() override { DeleteAllCountries(); }

    test::ScopedGameDir dir;
};

TEST_F(CountryListTest, NamesAreJoinedWithCommasAndTheLastTwoWithTheWord) {
    struct Case {
        std::vector<int32_t> list;
        int32_t a, b;
        const char* text;
        bool listed;
    } cases[] = {
        {{1, 2, 3}, -1, -1, "C1, C2 and C3", false},
        {{4}, -1, -1, "C4", false},
        {{4}, 4, -1, "", true},
        {{1, 2, 3, 4}, 2, 3, "C1 and C4", true},
        {{1, 2}, -1, 2, "C1", true},
        // Numbers without a country are left out and leave no separator.
        {{1, 50, 2, 97}, -1, -1, "C1 and C2", false},
        {{1, 2, 50}, -1, -1, "C1 and C2", false},
        {{}, -1, -1, "", false},
    };
    for (const Case& c : cases) {
        std::string out = "<";
        EXPECT_EQ(FormatCountryList(out, c.list, c.a, c.b), c.listed);
        EXPECT_EQ(out, std::string("<") + c.text);
    }
}

} // namespace
