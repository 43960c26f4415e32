#include <string>
#include <vector>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "tests/data/TextFormatFixture.h"

namespace {

using test::Tok;

class TokenizerTest : public test::TextFormatTest {};

TEST_F(TokenizerTest, ScenarioTextGivesTheExactTokenSequence) {
    const std::string text = "# A saved game\r\n"
                             "header = {\r\n"
                             "  name = \"The #1 war; of \"\r\n"
                             "  Country = ENG\r\n"
                             "  ; a whole comment line\r\n"
                             "  values={12,-3 0.25}! trailing comment\r\n"
                             "  control = Yes startdate = ( no )\r\n"
                             "}\r\n";
    std::vector<Tok> expected = {
        {KW_HEADER, "header"},    {TOKEN_EQUALS, "="},      {TOKEN_OPEN_BRACE, "{"},
        {KW_NAME, "name"},        {TOKEN_EQUALS, "="},      {TOKEN_STRING, "The #1 war; of "},
        {KW_COUNTRY, "Country"},  {TOKEN_EQUALS, "="},      {TOKEN_STRING, "ENG"},
        {KW_VALUES, "values"},    {TOKEN_EQUALS, "="},      {TOKEN_OPEN_BRACE, "{"},
        {TOKEN_NUMBER, "12"},     {TOKEN_COMMA, ","},       {TOKEN_NUMBER, "-3"},
        {TOKEN_NUMBER, "0.25"},   {TOKEN_CLOSE_BRACE, "}"}, {KW_CONTROL, "control"},
        {TOKEN_EQUALS, "="},      {KW_YES, "Yes"},          {KW_STARTDATE, "startdate"},
        {TOKEN_EQUALS, "="},      {TOKEN_OPEN_PAREN, "("},  {KW_NO, "no"},
        {TOKEN_CLOSE_PAREN, ")"}, {TOKEN_CLOSE_BRACE, "}"},
    };
    EXPECT_EQ(TokenizeAll(text), expected);
    EXPECT_EQ(File().GetLine(), 8u);
    EXPECT_EQ(File().Peek()->code, TOKEN_EOF);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TokenizerTest, WordsAreClassifiedByTheWholeWord) {
    struct Case {
        const char* word;
        uint32_t code;
    };
    const Case cases[] = {
        {"yes", KW_YES},
        {"YES", KW_YES},
        {"Country", KW_COUNTRY},
        {"countryside", TOKEN_STRING},
        {"manuever", KW_MANUEVER},
        {"SEPERATEFROM", KW_SEPERATEFROM},
        {"12", TOKEN_NUMBER},
        {"-3", TOKEN_NUMBER},
        {"0.25", TOKEN_NUMBER},
        {"1.2.3", TOKEN_NUMBER},
        {"-", TOKEN_NUMBER},
        {".", TOKEN_NUMBER},
        {"1e5", TOKEN_STRING},
        {"ENG", TOKEN_STRING},
        {"db\\file.csv", TOKEN_STRING},
        {"Z\xC3\xBCrich", TOKEN_STRING},
        {"\xE9t\xE9", TOKEN_STRING},
    };
    for (const Case& c : cases) {
        std::vector<Tok> tokens = TokenizeAll(std::string(c.word) + "\n");
        ASSERT_EQ(tokens.size(), 1u) << c.word;
        EXPECT_EQ(tokens[0], (Tok{c.code, c.word}));
    }
    // A quoted word is never classified.
    EXPECT_EQ(TokenizeAll("\"yes\" \"12\" \"\" "),
              (std::vector<Tok>{{TOKEN_STRING, "yes"}, {TOKEN_STRING, "12"}, {TOKEN_STRING, ""}}));
}

TEST_F(TokenizerTest, PunctuationAndCommentCharactersEndAWord) {
    EXPECT_EQ(TokenizeAll("tag=ENG#comment\nyear=1500;x\nid=4!y\nname=a\"b c\"\n"),
              (std::vector<Tok>{{KW_TAG, "tag"},
                                {TOKEN_EQUALS, "="},
                                {TOKEN_STRING, "ENG"},
                                {KW_YEAR, "year"},
                                {TOKEN_EQUALS, "="},
                                {TOKEN_NUMBER, "1500"},
                                {KW_ID, "id"},
                                {TOKEN_EQUALS, "="},
                                {TOKEN_NUMBER, "4"},
                                {KW_NAME, "name"},
                                {TOKEN_EQUALS, "="},
                                {TOKEN_STRING, "a"},
                                {TOKEN_STRING, "b c"}}));
}

TEST_F(TokenizerTest, TheLastWordIsLostWhenNothingFollowsIt) {
    // Kept as files have always been read: the word runs into the end of the
    // file and the reader sees the end of the file instead.
    EXPECT_EQ(TokenizeAll("year = 1500"),
              (std::vector<Tok>{{KW_YEAR, "year"}, {TOKEN_EQUALS, "="}}));
    EXPECT_EQ(File().Peek()->code, TOKEN_EOF);
    EXPECT_EQ(TokenizeAll("year = 1500}"), (std::vector<Tok>{{KW_YEAR, "year"},
                                                             {TOKEN_EQUALS, "="},
                                                             {TOKEN_NUMBER, "1500"},
                                                             {TOKEN_CLOSE_BRACE, "}"}}));
    EXPECT_EQ(TokenizeAll("year = 1500 ").size(), 3u);
}

TEST_F(TokenizerTest, PeekHoldsOneTokenUntilNextTakesIt) {
    OpenText("a b\n");
    const Token* peeked = File().Peek();
    EXPECT_EQ(std::string(peeked->text), "a");
    EXPECT_EQ(File().Peek(), peeked);
    EXPECT_EQ(std::string(File().Peek()->text), "a");
    ASSERT_EQ(File().Next(), 1);
    EXPECT_EQ(std::string(File().Current().text), "a");
    ASSERT_EQ(File().Next(), 1);
    EXPECT_EQ(std::string(File().Current().text), "b");
    // The end of the file stays the end of the file.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(File().Peek()->code, TOKEN_EOF);
        EXPECT_EQ(File().Next(), 0);
    }
}

TEST_F(TokenizerTest, LinesAreCountedInBlanksCommentsAndStrings) {
    OpenText("a\n\"x\ny\nz\" # c\n\r\nb\n");
    ASSERT_EQ(File().Next(), 1);
    EXPECT_EQ(File().GetLine(), 1u); // the blank that ended "a" is taken
    ASSERT_EQ(File().Next(), 1);
    EXPECT_EQ(std::string(File().Current().text), "x\ny\nz");
    EXPECT_EQ(File().GetLine(), 3u);
    ASSERT_EQ(File().Next(), 1);
    EXPECT_EQ(std::string(File().Current().text), "b");
    EXPECT_EQ(File().GetLine(), 6u);
}

TEST_F(TokenizerTest, UnterminatedStringIsDeliveredAndReported) {
    EXPECT_EQ(
        TokenizeAll("name = \"Paris\nLyon"),
        (std::vector<Tok>{{KW_NAME, "name"}, {TOKEN_EQUALS, "="}, {TOKEN_STRING, "Paris\nLyon"}}));
    EXPECT_EQ(File().Peek()->code, TOKEN_EOF);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(BoxShown("ERROR : (Unterminated string) 'Paris\nLyon  ' Line = 1 file = test.txt"));
}

TEST_F(TokenizerTest, OverlongWordsAndStringsAreCutAndReported) {
    const std::string longWord(2000, 'w');
    const std::string longString(1500, 's');
    std::vector<Tok> tokens = TokenizeAll(longWord + "=\"" + longString + "\" next\n");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0], (Tok{TOKEN_STRING, std::string(Token::MAX_TEXT_LENGTH, 'w')}));
    EXPECT_EQ(tokens[1], (Tok{TOKEN_EQUALS, "="}));
    EXPECT_EQ(tokens[2], (Tok{TOKEN_STRING, std::string(Token::MAX_TEXT_LENGTH, 's')}));
    EXPECT_EQ(tokens[3], (Tok{TOKEN_STRING, "next"}));
    EXPECT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(BoxShown("Word longer than 1023 characters"));
    EXPECT_TRUE(BoxShown("String longer than 1023 characters"));
    // A number cut to 1023 digits is still a number.
    tokens = TokenizeAll(std::string(1100, '7') + "\n");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].code, TOKEN_NUMBER);
    EXPECT_EQ(tokens[0].text.size(), Token::MAX_TEXT_LENGTH);
}

TEST_F(TokenizerTest, NulAndHighBytesNeverBreakTheTokenizer) {
    // A NUL byte cannot stand in a text: between tokens it is a blank, in a
    // string it is dropped. Bytes from 128 up are word characters.
    using namespace std::string_literals;
    const std::string text = "ab\0cd \"x\0y\" \xFF\x80\xA0 \0\0}\n"s;
    EXPECT_EQ(TokenizeAll(text), (std::vector<Tok>{{TOKEN_STRING, "ab"},
                                                   {TOKEN_STRING, "cd"},
                                                   {TOKEN_STRING, "xy"},
                                                   {TOKEN_STRING, "\xFF\x80\xA0"},
                                                   {TOKEN_CLOSE_BRACE, "}"}}));
    for (int c = 128; c < 256; ++c)
        EXPECT_EQ(CTokenFile::CharClass(static_cast<unsigned char>(c)), TOKEN_NONE) << c;
}

// The file is read in blocks of 64 KiB: a token, a blank run, a comment or
// a line feed cut by the end of a block reads as it does in one piece. The
// same text is shifted so that every one of its bytes meets the boundary.
TEST_F(TokenizerTest, TokensCutByTheReadBlockReadWhole) {
    using namespace std::string_literals;
    const std::string text = "name = \"ab\ncd\0e\" Country=ENG # c}\n 12.5,yes;x\n"
                             "\r\n  -3 id=4 Z\xC3\xBCrich { \"\" }\n tag = FRA\n"s;
    const std::vector<Tok> expected = TokenizeAll(text);
    const uint32_t lines = File().GetLine();
    ASSERT_EQ(expected.size(), 20u);
    constexpr size_t kBlock = 64 * 1024;
    for (size_t shift = 0; shift <= text.size() + 1; ++shift) {
        SCOPED_TRACE(shift);
        const std::string padded = std::string(kBlock - shift, ' ') + text;
        EXPECT_EQ(TokenizeAll(padded), expected);
        EXPECT_EQ(File().GetLine(), lines);
    }
    // A word and a string longer than a token, across two boundaries.
    const std::string word(kBlock + 10, '7');
    std::vector<Tok> tokens =
        TokenizeAll(std::string(kBlock - 5, ' ') + word + " \"" + word + "\" end\n");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0], (Tok{TOKEN_NUMBER, std::string(Token::MAX_TEXT_LENGTH, '7')}));
    EXPECT_EQ(tokens[1], (Tok{TOKEN_STRING, std::string(Token::MAX_TEXT_LENGTH, '7')}));
    EXPECT_EQ(tokens[2], (Tok{TOKEN_STRING, "end"}));
}

TEST_F(TokenizerTest, CharacterClasses) {
    const std::pair<char, uint32_t> classes[] = {
        {'=', TOKEN_EQUALS},      {'"', TOKEN_QUOTE},      {'{', TOKEN_OPEN_BRACE},
        {'}', TOKEN_CLOSE_BRACE}, {'(', TOKEN_OPEN_PAREN}, {')', TOKEN_CLOSE_PAREN},
        {',', TOKEN_COMMA},       {'!', TOKEN_COMMENT},    {'#', TOKEN_COMMENT},
        {';', TOKEN_COMMENT},     {'a', TOKEN_NONE},       {'-', TOKEN_NONE},
        {'.', TOKEN_NONE},        {'_', TOKEN_NONE},       {'\\', TOKEN_NONE},
    };
    for (const auto& [c, code] : classes)
        EXPECT_EQ(CTokenFile::CharClass(static_cast<unsigned char>(c)), code) << c;
    for (unsigned char c : {'\t', '\n', '\v', '\f', '\r', ' '})
        EXPECT_TRUE(CTokenFile::IsBlank(c));
    EXPECT_FALSE(CTokenFile::IsBlank('a'));
    EXPECT_FALSE(CTokenFile::IsBlank(0xA0));
}

TEST_F(TokenizerTest, MissingFileIsReportedAndReadsAsTheEndOfTheFile) {
    reader.Open("scenarios\\missing.ovg", "r");
    EXPECT_TRUE(BoxShown("Couldn't open file:scenarios\\missing.ovg"));
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(File().Next(), 0);
    EXPECT_EQ(File().Peek()->code, TOKEN_EOF);
    EXPECT_EQ(reader.ReadField(), FIELD_END_OF_FILE);
}

TEST_F(TokenizerTest, GamePathsAreFoundWithoutRegardToCase) {
    dir.WriteFile("Scenarios/Save Games/Auto.ovg", "tag = ENG\n");
    reader.Open("scenarios\\save games\\auto.ovg", "r");
    ASSERT_TRUE(reader.IsOpen());
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(std::string(reader.value.text), "ENG");
}

} // namespace
