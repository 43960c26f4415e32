#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/StringTree.h"
#include "tests/TestSupport.h"

TEST(CompareNoCase, FoldsAsciiLettersToLowerCase) {
    EXPECT_EQ(CompareNoCase("Country", "COUNTRY"), 0);
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_GT(CompareNoCase("abc", "AB"), 0);
    // Letters fold to lower case, so "_" (95) sorts before every letter.
    EXPECT_LT(CompareNoCase("_", "A"), 0);
    EXPECT_LT(CompareNoCase("A_", "Aa"), 0);
}

TEST(StringTree, FindsValuesWithoutRegardToCase) {
    CStringTree tree;
    EXPECT_EQ(tree.FindValue("country"), CStringTree::NOT_FOUND);
    tree.Insert("MIL", "MIL", 10);
    tree.Insert("Country", "Country", 21);
    tree.Insert("name", "name", 17);
    tree.Insert("zzz", "zzz", 0);
    EXPECT_EQ(tree.FindValue("country"), 21u);
    EXPECT_EQ(tree.FindValue("COUNTRY"), 21u);
    EXPECT_EQ(tree.FindValue("mil"), 10u);
    EXPECT_EQ(tree.FindValue("NAME"), 17u);
    EXPECT_EQ(tree.FindValue("zzz"), 0u);
    EXPECT_EQ(tree.FindValue("countr"), CStringTree::NOT_FOUND);
    EXPECT_EQ(tree.FindValue("countryx"), CStringTree::NOT_FOUND);
    EXPECT_EQ(tree.FindValue(""), CStringTree::NOT_FOUND);
}

TEST(StringTree, DuplicateKeyShowsTheBoxAndTheFirstStillWins) {
    test::BoxRecorder boxes;
    CStringTree tree;
    tree.Insert("province", "province", 30);
    tree.Insert("PROVINCE", "PROVINCE", 31);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find(" Duplicate string in text database PROVINCE"),
              std::string::npos);
    EXPECT_EQ(tree.FindValue("Province"), 30u);
}

// Sorted keys (as the keyword table inserts them) make a chain.
TEST(StringTree, SortedKeysChain) {
    CStringTree tree;
    constexpr uint32_t kKeys = 2000;
    char key[16];
    for (uint32_t i = 0; i < kKeys; ++i) {
        std::snprintf(key, sizeof key, "K%05u", i);
        tree.Insert(key, key, i);
    }
    for (uint32_t i = 0; i < kKeys; i += 7) {
        std::snprintf(key, sizeof key, "k%05u", i);
        EXPECT_EQ(tree.FindValue(key), i);
    }
}
