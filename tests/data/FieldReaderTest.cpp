#include <cstring>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "tests/data/TextFormatFixture.h"

void PrintTo(const DatedId& entry, std::ostream* out) {
    *out << "{" << int(entry.date.day) << "/" << int(entry.date.month) << "/" << entry.date.year
         << ", " << entry.id.type << ":" << entry.id.number << "}";
}

namespace {

// One ReadField answer with the key and value texts of a whole field.
struct Step {
    int32_t result;
    std::string key;
    std::string value;
    bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& step) {
    return out << "{" << step.result << ", \"" << step.key << "\", \"" << step.value << "\"}";
}

class FieldReaderTest : public test::TextFormatTest {
protected:
    std::vector<Step> ReadSteps(const std::string& text, int count) {
        OpenText(text);
        std::vector<Step> steps;
        for (int i = 0; i < count; ++i) {
            int32_t result = reader.ReadField();
            if (result == FIELD_READ)
                steps.push_back({result, reader.key.text, reader.value.text});
            else
                steps.push_back({result, "", ""});
        }
        return steps;
    }

    template <class List> static auto Items(const List& list) {
        std::vector<std::remove_cvref_t<decltype(list.GetTail()->item)>> items;
        typename List::CListPosition position;
        list.GetHeadPosition(position);
        for (; position; List::MoveNext(position))
            items.push_back(position->item);
        return items;
    }
};

TEST_F(FieldReaderTest, AnswersAndWhatEachConsumes) {
    struct Case {
        const char* text;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        // Blanks around "=" do not matter.
        {"a=1 b = 2\n", {{1, "a", "1"}, {1, "b", "2"}, {-1, "", ""}}},
        // "}" is left pending: every call answers 0 until it is taken.
        {"a = x } b = 1\n", {{1, "a", "x"}, {0, "", ""}, {0, "", ""}}},
        // A field without "=": key and the token after it are both taken.
        {"a 5 b = 6\n", {{-2, "", ""}, {1, "b", "6"}, {-1, "", ""}}},
        // ... except a "}", which still ends the block.
        {"a = 1 stray } b = 2\n", {{1, "a", "1"}, {-2, "", ""}, {0, "", ""}}},
        // The end of the file after the key, after "=", or in the last word.
        {"a\n", {{-1, "", ""}, {-1, "", ""}}},
        {"a =\n", {{-1, "", ""}}},
        {"a = 5", {{-1, "", ""}}},
        // A nested block: the value is the "{", whose fields follow.
        {"unit = { x = 1 } y = 2\n", {{1, "unit", "{"}, {1, "x", "1"}, {0, "", ""}}},
        {"", {{-1, "", ""}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadSteps(c.text, static_cast<int>(c.steps.size())), c.steps) << c.text;
}

// A damaged file may lack "=" in every field: the first is logged, no box
// stops the game, and the reader goes on.
TEST_F(FieldReaderTest, FieldWithoutEqualsIsLoggedOnceAndKeepsTheOldEqualsAndValue) {
    OpenText("tag = ENG\nname \"Paris\"\nsize 3 }\n");
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    ASSERT_EQ(reader.ReadField(), FIELD_ERROR);
    EXPECT_EQ(std::string(reader.key.text), "name");
    EXPECT_EQ(std::string(reader.equals.text), "=");
    EXPECT_EQ(std::string(reader.value.text), "ENG");
    ASSERT_EQ(reader.ReadField(), FIELD_ERROR);
    EXPECT_EQ(std::string(reader.key.text), "size");
    EXPECT_EQ(reader.ReadField(), FIELD_BLOCK_END);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(dir.ReadFile("log.txt"),
              "ERROR : (Missing \"=\") 'name Paris ' Line = 2 file = test.txt\n");
}

TEST_F(FieldReaderTest, ErrorLineShowsTheFieldTheLineAndTheFile) {
    OpenText("desc = \"two\nlines\"\n\n50%d = %s%n\n");
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    reader.ReportError("Date : Unexpected field");
    ASSERT_EQ(boxes.texts.size(), 1u);
    // Token texts are shown as they stand, never taken as a format.
    EXPECT_TRUE(
        BoxShown("ERROR : (Date : Unexpected field) '50%d = %s%n' Line = 5 file = test.txt"))
        << boxes.texts[0];
}

TEST_F(FieldReaderTest, ListReadersTakeTheListUpToItsBrace) {
    OpenText("1, 2 3,4 } 0.5 -1.25 2 1.2.3 } ENG,\"FRA\" XXX } after = 1\n");
    CIntList ints;
    EXPECT_EQ(reader.ReadIntList(ints), FIELD_BLOCK_END);
    EXPECT_EQ(Items(ints), (std::vector<int32_t>{1, 2, 3, 4}));
    CFloatList floats;
    EXPECT_EQ(reader.ReadFloatList(floats), FIELD_BLOCK_END);
    EXPECT_EQ(Items(floats), (std::vector<float>{0.5f, -1.25f, 2.0f, 1.2f}));
    CIntList tags;
    auto lookup = [](const char* tag) -> int32_t {
        return std::strcmp(tag, "ENG") == 0 ? 1 : std::strcmp(tag, "FRA") == 0 ? 2 : 0;
    };
    EXPECT_EQ(reader.ReadTagList(tags, lookup), FIELD_BLOCK_END);
    EXPECT_EQ(Items(tags), (std::vector<int32_t>{1, 2, 0}));
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(std::string(reader.key.text), "after");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(FieldReaderTest, ListReadersReportStrayTokensAndStopAtTheEndOfTheFile) {
    OpenText("knownprovinces = { 1 two 3 = 4 }\n ownedprovinces = { 5 6\n");
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    CIntList known;
    EXPECT_EQ(reader.ReadIntList(known), FIELD_BLOCK_END);
    EXPECT_EQ(Items(known), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(BoxShown("ERROR : (Unexpected token in list) 'knownprovinces = two' Line = 1"));

    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    CIntList owned;
    EXPECT_EQ(reader.ReadIntList(owned), FIELD_END_OF_FILE);
    EXPECT_EQ(Items(owned), (std::vector<int32_t>{5, 6}));
    EXPECT_EQ(reader.ReadIntList(owned), FIELD_END_OF_FILE);
}

TEST_F(FieldReaderTest, DatedListCarriesTheDateBetweenEntries) {
    OpenText("{ year = 1500 month = march day = 4 } 17,\n"
             "{ year = 1501 month = june } 0\n"
             "{ day = 9 } 3 } next = 1\n");
    CDatedIdList list;
    ASSERT_EQ(reader.ReadDatedIdList(7, list), FIELD_BLOCK_END);
    EXPECT_EQ(Items(list), (std::vector<DatedId>{{CDate(4, 2, 1500), ObjectId(7, 17)},
                                                 {CDate(4, 5, 1501), ObjectId(7, 0)},
                                                 {CDate(9, 5, 1501), ObjectId(7, 3)}}));
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(std::string(reader.key.text), "next");
}

TEST_F(FieldReaderTest, DatedListErrors) {
    struct Case {
        const char* text;
        int32_t result;
        uint32_t entries;
    };
    const Case cases[] = {
        {"{ year = 1500 } 4 5 }\n", FIELD_ERROR, 1},           // an entry without its date block
        {"{ year = 1500 } -4 }\n", FIELD_ERROR, 0},            // a negative number
        {"{ year = 1500 } x }\n", FIELD_ERROR, 0},             // no number
        {"{ year = 1500 hour = 3 } 4 }\n", FIELD_ERROR, 0},    // the date reader's answer
        {"{ year = 1500 } 4 { year = ", FIELD_END_OF_FILE, 1}, // the end of the file
        {"{ year = 1500 } 4 ", FIELD_END_OF_FILE, 1},
    };
    for (const Case& c : cases) {
        OpenText(c.text);
        CDatedIdList list;
        EXPECT_EQ(reader.ReadDatedIdList(7, list), c.result) << c.text;
        EXPECT_EQ(list.GetCount(), c.entries) << c.text;
    }
}

// A reader in the common shape: a nested block for every "{" value, the
// block of a "date" key read as a date; each level records its answer.
int32_t ReadNested(CFieldReader& in, std::vector<int32_t>& answers) {
    for (;;) {
        int32_t result = in.ReadField();
        if (result == FIELD_READ) {
            if (in.value.code != TOKEN_OPEN_BRACE)
                continue;
            if (in.key.code == KW_DATE) {
                CDate date;
                answers.push_back(date.Read(in));
            } else {
                answers.push_back(ReadNested(in, answers));
            }
            continue;
        }
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (in.GetTokenFile()->Peek()->code == TOKEN_CLOSE_BRACE) {
            in.GetTokenFile()->Next();
            return FIELD_BLOCK_END;
        }
    }
}

TEST_F(FieldReaderTest, EndOfFileInsideNestedBlocksEndsEveryReader) {
    OpenText("country = { tag = ENG unit = { id = 4 date = { year = 1500 month = may\n");
    std::vector<int32_t> answers;
    EXPECT_EQ(ReadNested(reader, answers), FIELD_END_OF_FILE);
    // Innermost first: the date, the unit, the country.
    EXPECT_EQ(answers,
              (std::vector<int32_t>{FIELD_END_OF_FILE, FIELD_END_OF_FILE, FIELD_END_OF_FILE}));
}

TEST(TokenNumbers, ConvertLikeTheStandardConversionsWithoutOverflow) {
    const std::pair<const char*, int32_t> ints[] = {
        {"12", 12},
        {"-3", -3},
        {"1.5", 1},
        {"-", 0},
        {".", 0},
        {"007", 7},
        {"1-2", 1},
        {"", 0},
        {"2147483647", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : ints)
        EXPECT_EQ(TokenToInt(text), value) << text;
    const std::pair<const char*, float> floats[] = {
        {"0.25", 0.25f},
        {"-1.25", -1.25f},
        {"1.2.3", 1.2f},
        {"-", 0.0f},
        {".", 0.0f},
        {"5.", 5.0f},
        {".5", 0.5f},
        {"12", 12.0f},
        {"1-2", 1.0f},
        {"9999999999999999999999999999999999999999999", 3.4028235e38f},
        {"-9999999999999999999999999999999999999999999", -3.4028235e38f},
    };
    for (const auto& [text, value] : floats)
        EXPECT_EQ(TokenToFloat(text), value) << text;
    std::string huge(400, '9');
    EXPECT_EQ(TokenToFloat(huge.c_str()), 3.4028235e38f);
    std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(TokenToFloat(tiny.c_str()), 0.0f);
}

} // namespace
