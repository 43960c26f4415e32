#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "data/Keywords.h"
#include "tests/TestSupport.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(KeywordTable, IdsRunFromTenWithoutAGapAndTextsAreDistinctWords) {
    std::set<std::string> seen;
    for (uint32_t i = 0; i < KEYWORD_COUNT; ++i) {
        const KeywordEntry& entry = g_keywordTable[i];
        EXPECT_EQ(entry.code, 10 + i);
        ASSERT_NE(entry.text, nullptr);
        size_t length = std::strlen(entry.text);
        EXPECT_GE(length, 1u);
        EXPECT_LE(length, 24u) << entry.text;
        for (const char* p = entry.text; *p; ++p)
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(*p)) || *p == '_') << entry.text;
        EXPECT_TRUE(seen.insert(Lower(entry.text)).second) << entry.text;
    }
    EXPECT_EQ(g_keywordTable.back().code, 465u);
}

TEST(KeywordTable, TextsAsFilesSpellThem) {
    const std::pair<uint32_t, const char*> spellings[] = {
        {KW_MIL, "MIL"},
        {KW_DATECOMPLETED, "dateCompleted"},
        {KW_OWNINGCOUNTRY, "owningCountry"},
        {KW_COUNTRY, "country"},
        {KW_DAY, "day"},
        {KW_JANUARY, "january"},
        {KW_DECEMBER, "december"},
        {KW_YES, "yes"},
        {KW_NO, "no"},
        {KW_GIM_PROD_FACILITY_RESULT, "gim_prod_facility_result"},
        {KW_MANUEVER, "manuever"},
        {KW_SEPERATEFROM, "seperatefrom"},
        {KW_SEPERATETO, "seperateto"},
        {KW_MOONSOON, "moonsoon"},
        {KW_BEURAUCRACY, "beuraucracy"},
        {KW_KAMTCHATSKA, "kamtchatska"},
        {KW_SET_AI_AGGRESIVE, "set_ai_aggresive"},
        {KW_GROUP9, "group9"},
        {KW_GROUP0, "group0"},
        {KW_FEROCITY, "ferocity"},
        {KW_EFFICIENCY, "efficiency"},
        {KW_ID, "id"},
    };
    for (const auto& [id, text] : spellings) {
        ASSERT_NE(KeywordText(id), nullptr) << id;
        EXPECT_STREQ(KeywordText(id), text);
    }
    EXPECT_EQ(KW_COUNTRY, 21u);
    EXPECT_EQ(KW_DAY, 38u);
    EXPECT_EQ(KW_GROUP0, 451u);
    EXPECT_EQ(KW_ID, 465u);
    for (uint32_t code : {0u, 7u, 9u, 466u, 473u})
        EXPECT_EQ(KeywordText(code), nullptr) << code;
}

TEST(KeywordIndex, FindsEveryKeywordInAnyCaseAndOnlyWholeWords) {
    test::BoxRecorder boxes;
    BuildKeywordIndex();
    BuildKeywordIndex(); // a second call adds nothing (no duplicate reports)
    EXPECT_TRUE(boxes.texts.empty());
    for (const KeywordEntry& entry : g_keywordTable) {
        EXPECT_EQ(g_keywordIndex.FindValue(entry.text), entry.code) << entry.text;
        EXPECT_EQ(g_keywordIndex.FindValue(Upper(entry.text)), entry.code) << entry.text;
        EXPECT_EQ(g_keywordIndex.FindValue(Lower(entry.text)), entry.code) << entry.text;
    }
    EXPECT_EQ(g_keywordIndex.FindValue("Country"), 21u);
    for (const char* word :
         {"countryside", "countr", "", "ENG", "maneuver", "separatefrom", "group10", "1500"})
        EXPECT_EQ(g_keywordIndex.FindValue(word), CStringTree::NOT_FOUND) << word;
}

} // namespace

// The tokenizer's hash lookup answers as the index does, for every keyword
// in any case, for words that are close to one, and for bytes that only
// look alike when folded beyond ASCII letters.
TEST(KeywordIndex, HashLookupAnswersAsTheIndex) {
    BuildKeywordIndex();
    std::vector<std::string> words;
    for (const KeywordEntry& entry : g_keywordTable) {
        words.push_back(entry.text);
        words.push_back(Upper(entry.text));
        words.push_back(std::string(entry.text) + "s");
        words.push_back(std::string(entry.text).substr(1));
    }
    for (const char* word : {"countryside",
                             "countr",
                             "",
                             "ENG",
                             "maneuver",
                             "separatefrom",
                             "group10",
                             "1500",
                             "GROUP0",
                             "set_AI_aggresive",
                             "x",
                             "X",
                             "y_",
                             "Z\xC3\xBCrich",
                             "\xE9t\xE9",
                             "id\x80",
                             "Y{S",
                             "YES\0",
                             "[d",
                             "abcdefghijklmnopqrstuvwxyz"})
        words.push_back(word);
    for (const std::string& word : words)
        EXPECT_EQ(FindKeyword(word), g_keywordIndex.FindValue(word)) << word;
    EXPECT_EQ(FindKeyword("Country"), KW_COUNTRY);
    EXPECT_EQ(FindKeyword("seperateTO"), KW_SEPERATETO);
    EXPECT_EQ(FindKeyword(std::string_view("yes\0", 4)), CStringTree::NOT_FOUND);
}
