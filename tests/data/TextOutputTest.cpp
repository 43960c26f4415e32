#include <cfloat>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "data/Keywords.h"
#include "data/TextOutput.h"
#include "tests/data/TextFormatFixture.h"

namespace {

using test::Tok;

Token Int(int32_t value) {
    return Token().SetInt(value);
}
Token Float(float value) {
    return Token().SetFloat(value);
}
Token Bool(uint32_t value) {
    return Token().SetBool(value);
}
Token String(const char* text) {
    return Token().SetString(text);
}

class TextOutputTest : public test::TextFormatTest {
protected:
    // Opens "out.txt" for writing.
    void OpenOut() {
        reader.Open("out.txt", "w");
        ASSERT_TRUE(reader.IsOpen());
    }
    // Closes the writer and answers the bytes written.
    std::string Written() {
        reader.Close();
        return dir.ReadFile("out.txt");
    }
    Token Keyword(uint32_t id) {
        Token token;
        token.Set(id, reader.GetTokenFile()->TokenText(id));
        return token;
    }
    Token Code(uint32_t code) { return Keyword(code); }
};

TEST_F(TextOutputTest, Formatters) {
    const std::vector<std::pair<Token, Tok>> cases = {
        {Int(12), {TOKEN_NUMBER, "12"}},
        {Int(-2147483647 - 1), {TOKEN_NUMBER, "-2147483648"}},
        {Float(0.5f), {TOKEN_FLOAT, "0.500000"}},
        {Float(-1.25f), {TOKEN_FLOAT, "-1.250000"}},
        {Float(3.0f), {TOKEN_FLOAT, "3.000000"}},
        {Float(0.1f), {TOKEN_FLOAT, "0.100000"}},
        {Float(1e-7f), {TOKEN_FLOAT, "0.000000"}},
        {Float(16777216.0f), {TOKEN_FLOAT, "16777216.000000"}},
        {Bool(1), {TOKEN_YESNO, "yes"}},
        {Bool(255), {TOKEN_YESNO, "yes"}},
        {Bool(256), {TOKEN_YESNO, "no"}},
        {Bool(0), {TOKEN_YESNO, "no"}},
        {String("Paris"), {TOKEN_STRING, "Paris"}},
        {String(""), {TOKEN_STRING, ""}},
        // The format has no escape: a quote would end the string when read.
        {String("the \"Great\""), {TOKEN_STRING, "the 'Great'"}},
        {Token().Set(KW_COUNTRY, "country"), {KW_COUNTRY, "country"}},
        {Token().Set(TOKEN_EQUALS, nullptr), {TOKEN_EQUALS, ""}},
    };
    for (const auto& [token, expected] : cases)
        EXPECT_EQ((Tok{token.code, token.text}), expected);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TextOutputTest, OverlongTextsAreCutAndReported) {
    Token t;
    std::string text(3000, 'x');
    t.SetString(text.c_str());
    EXPECT_EQ(std::string(t.text), std::string(Token::MAX_TEXT_LENGTH, 'x'));
    t.Set(TOKEN_STRING, text.c_str());
    EXPECT_EQ(std::string(t.text).size(), Token::MAX_TEXT_LENGTH);
    EXPECT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(BoxShown("Token text longer than 1023 characters"));
}

TEST_F(TextOutputTest, TokenTexts) {
    CTokenFile file("absent.txt", "r");
    const std::pair<uint32_t, const char*> texts[] = {
        {TOKEN_EQUALS, "="},
        {TOKEN_QUOTE, "\""},
        {TOKEN_OPEN_BRACE, "{"},
        {TOKEN_CLOSE_BRACE, "}"},
        {TOKEN_OPEN_PAREN, "("},
        {TOKEN_CLOSE_PAREN, ")"},
        {TOKEN_COMMA, ","},
        {TOKEN_COMMENT, "#"},
        {TOKEN_NEWLINE, "\n"},
        {TOKEN_INDENT, "    "},
        {TOKEN_BLANK, " "},
        {KW_MIL, "MIL"},
        {KW_SEPERATETO, "seperateto"},
        {KW_ID, "id"},
    };
    for (const auto& [code, text] : texts) {
        ASSERT_NE(file.TokenText(code), nullptr) << code;
        EXPECT_STREQ(file.TokenText(code), text);
    }
    for (uint32_t code : {TOKEN_NONE, TOKEN_NO_TOKEN, TOKEN_NUMBER, TOKEN_FLOAT, TOKEN_YESNO,
                          TOKEN_STRING, TOKEN_EOF, 474u, 0xFFFFFFFFu})
        EXPECT_EQ(file.TokenText(code), nullptr) << code;
}

TEST_F(TextOutputTest, BlankFollowsEveryTokenButQuotesStringsAndLayout) {
    for (uint32_t code = 0; code <= TOKEN_EOF; ++code) {
        bool noBlank = code == TOKEN_QUOTE || code == TOKEN_STRING || code == TOKEN_NEWLINE ||
                       code == TOKEN_INDENT || code == TOKEN_BLANK;
        EXPECT_EQ(TokenTakesBlank(code), !noBlank) << code;
    }
}

TEST_F(TextOutputTest, TokensGiveTheExactBytes) {
    OpenOut();
    const Token tokens[] = {
        Keyword(KW_COUNTRY),
        Code(TOKEN_EQUALS),
        Code(TOKEN_OPEN_BRACE),
        Code(TOKEN_NEWLINE),
        Code(TOKEN_INDENT),
        Keyword(KW_TAG),
        Code(TOKEN_EQUALS),
        String("ENG"),
        Code(TOKEN_BLANK),
        Code(TOKEN_NEWLINE),
        Code(TOKEN_INDENT),
        Keyword(KW_NAME),
        Code(TOKEN_EQUALS),
        Code(TOKEN_QUOTE),
        String("Old #1; x"),
        Code(TOKEN_QUOTE),
        Code(TOKEN_BLANK),
        Keyword(KW_INFLATION),
        Code(TOKEN_EQUALS),
        Float(0.5f),
        Keyword(KW_MAJOR),
        Code(TOKEN_EQUALS),
        Bool(1),
        Keyword(KW_VALUES),
        Code(TOKEN_EQUALS),
        Code(TOKEN_OPEN_BRACE),
        Int(1),
        Code(TOKEN_COMMA),
        Int(-2),
        Code(TOKEN_CLOSE_BRACE),
        Code(TOKEN_COMMENT),
        Code(TOKEN_OPEN_PAREN),
        Code(TOKEN_CLOSE_PAREN),
        Code(TOKEN_NEWLINE),
        Code(TOKEN_CLOSE_BRACE),
    };
    for (const Token& token : tokens)
        ASSERT_EQ(reader.WriteToken(token), FIELD_WRITTEN);
    EXPECT_EQ(
        Written(),
        "country = { \n"
        "    tag = ENG \n"
        "    name = \"Old #1; x\" inflation = 0.500000 major = yes values = { 1 , -2 } # ( ) \n"
        "} ");
}

TEST_F(TextOutputTest, WrittenTokensReadBack) {
    OpenOut();
    const Token tokens[] = {
        Keyword(KW_DATE),       Code(TOKEN_EQUALS),
        Code(TOKEN_OPEN_BRACE), Keyword(KW_YEAR),
        Code(TOKEN_EQUALS),     Int(1492),
        Keyword(KW_MONTH),      Code(TOKEN_EQUALS),
        Keyword(KW_OCTOBER),    Code(TOKEN_CLOSE_BRACE),
        Keyword(KW_NAME),       Code(TOKEN_EQUALS),
        Code(TOKEN_QUOTE),      String("a = {b} # c"),
        Code(TOKEN_QUOTE),      Code(TOKEN_BLANK),
        Keyword(KW_TAX),        Code(TOKEN_EQUALS),
        Float(-1.25f),          Keyword(KW_MAJOR),
        Code(TOKEN_EQUALS),     Bool(0),
        Code(TOKEN_NEWLINE),
    };
    for (const Token& token : tokens)
        ASSERT_EQ(reader.WriteToken(token), FIELD_WRITTEN);
    reader.Close();
    // Decimals read back as numbers, yes/no as keywords.
    reader.Open("out.txt", "r");
    std::vector<Tok> read;
    while (File().Next() == 1)
        read.push_back({File().Current().code, File().Current().text});
    EXPECT_EQ(read, (std::vector<Tok>{{KW_DATE, "date"},
                                      {TOKEN_EQUALS, "="},
                                      {TOKEN_OPEN_BRACE, "{"},
                                      {KW_YEAR, "year"},
                                      {TOKEN_EQUALS, "="},
                                      {TOKEN_NUMBER, "1492"},
                                      {KW_MONTH, "month"},
                                      {TOKEN_EQUALS, "="},
                                      {KW_OCTOBER, "october"},
                                      {TOKEN_CLOSE_BRACE, "}"},
                                      {KW_NAME, "name"},
                                      {TOKEN_EQUALS, "="},
                                      {TOKEN_STRING, "a = {b} # c"},
                                      {KW_TAX, "tax"},
                                      {TOKEN_EQUALS, "="},
                                      {TOKEN_NUMBER, "-1.250000"},
                                      {KW_MAJOR, "major"},
                                      {TOKEN_EQUALS, "="},
                                      {KW_NO, "no"}}));
}

TEST_F(TextOutputTest, RepeatedTokens) {
    OpenOut();
    EXPECT_EQ(reader.WriteTokenRepeated(Code(TOKEN_INDENT), 4), FIELD_WRITTEN);
    EXPECT_EQ(reader.WriteTokenRepeated(Code(TOKEN_CLOSE_BRACE), 0), FIELD_WRITTEN);
    EXPECT_EQ(reader.WriteTokenRepeated(Code(TOKEN_CLOSE_BRACE), 2), FIELD_WRITTEN);
    EXPECT_EQ(Written(), std::string(16, ' ') + "} } ");
}

TEST_F(TextOutputTest, WritesWithoutAnOpenFileFail) {
    Token t;
    Int(5);
    // Never opened.
    EXPECT_EQ(reader.WriteToken(t), FIELD_ERROR);
    EXPECT_EQ(reader.WriteTokenRepeated(t, 3), FIELD_ERROR);
    EXPECT_EQ(reader.WriteTokenRepeated(t, 0), FIELD_WRITTEN);
    // A file that could not be made.
    reader.Open("no such folder\\out.txt", "w");
    EXPECT_TRUE(BoxShown("Couldn't open file:no such folder\\out.txt"));
    EXPECT_EQ(reader.WriteToken(t), FIELD_ERROR);
    EXPECT_EQ(reader.WriteTokenRepeated(t, 0), FIELD_WRITTEN);
    // Closed again.
    reader.Open("out.txt", "w");
    reader.Close();
    EXPECT_EQ(reader.WriteToken(t), FIELD_ERROR);
}

TEST_F(TextOutputTest, FailedWriteAnswersMinusTwo) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    reader.Open("/dev/full", "w");
    ASSERT_TRUE(reader.IsOpen());
    Token t;
    t.SetString(std::string(1000, 'x').c_str());
    // The stream's buffer fills and its write to the full device fails.
    EXPECT_EQ(reader.WriteTokenRepeated(t, 1000), FIELD_ERROR);
}

} // namespace

namespace {

// The direct writers give the bytes WriteToken gives for the token the
// matching filler makes, cuts and reports included: every code, and values
// at the edges of each formatter.
class DirectWriterTest : public test::TextFormatTest {
protected:
    // What the two writers print into memory, and the boxes each showed.
    template <class Direct, class ByToken> void Compare(Direct direct, ByToken byToken) {
        std::string viaToken;
        std::string viaDirect;
        CFieldReader out;
        out.OpenMemory(viaToken);
        Token token;
        ASSERT_EQ(out.WriteToken(byToken(token, *out.GetTokenFile())), FIELD_WRITTEN);
        const std::vector<std::string> tokenBoxes = boxes.texts;
        boxes.texts.clear();
        out.OpenMemory(viaDirect);
        ASSERT_EQ(direct(out), FIELD_WRITTEN);
        EXPECT_EQ(viaDirect, viaToken);
        EXPECT_EQ(boxes.texts, tokenBoxes);
        boxes.texts.clear();
    }
};

TEST_F(DirectWriterTest, GiveTheBytesOfTheFilledToken) {
    for (uint32_t code = 0; code <= TOKEN_EOF; ++code) {
        SCOPED_TRACE(code);
        Compare([code](CFieldReader& out) { return out.WriteCode(code); },
                [code](Token& t, CTokenFile& file) -> Token& {
                    return t.Set(code, file.TokenText(code));
                });
    }
    for (int32_t value : {0, 1, -1, 1492, INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(value);
        Compare([value](CFieldReader& out) { return out.WriteInt(value); },
                [value](Token& t, CTokenFile&) -> Token& { return t.SetInt(value); });
    }
    for (float value :
         {0.0f, -0.0f, 0.5f, -2.25f, 1e-7f, 123456.789f, FLT_MAX, -FLT_MAX,
          std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(value);
        Compare([value](CFieldReader& out) { return out.WriteFloat(value); },
                [value](Token& t, CTokenFile&) -> Token& { return t.SetFloat(value); });
    }
    for (uint32_t value : {0u, 1u, 0x100u, 0x1FFu}) {
        SCOPED_TRACE(value);
        Compare([value](CFieldReader& out) { return out.WriteBool(value); },
                [value](Token& t, CTokenFile&) -> Token& { return t.SetBool(value); });
    }
    const std::string longest(Token::MAX_TEXT_LENGTH, 'a');
    const std::string tooLong = longest + "\"bc";
    for (const char* text : {static_cast<const char*>(nullptr), "", "ENG", "Old \"#1\"; x",
                             longest.c_str(), tooLong.c_str()}) {
        SCOPED_TRACE(text ? std::string(text).substr(0, 20) : "null");
        Compare([text](CFieldReader& out) { return out.WriteString(text); },
                [text](Token& t, CTokenFile&) -> Token& { return t.SetString(text); });
    }
}

TEST_F(DirectWriterTest, FailLikeWriteTokenWithoutAFile) {
    CFieldReader out;
    EXPECT_EQ(out.WriteCode(KW_TAG), FIELD_ERROR);
    EXPECT_EQ(out.WriteInt(1), FIELD_ERROR);
    EXPECT_EQ(out.WriteFloat(1.0f), FIELD_ERROR);
    EXPECT_EQ(out.WriteBool(1), FIELD_ERROR);
    EXPECT_EQ(out.WriteString("x"), FIELD_ERROR);
}

// A file far larger than the write buffer, closed without a flush, holds
// every byte in order.
TEST_F(DirectWriterTest, ClosingALargeFileKeepsEveryByte) {
    std::string expected;
    auto write = [](CFieldReader& out) {
        for (int32_t i = 0; i < 60000; ++i) {
            out.WriteCode(KW_ID);
            out.WriteCode(TOKEN_EQUALS);
            out.WriteInt(i);
            if (i % 7 == 0)
                out.WriteCode(TOKEN_NEWLINE);
        }
    };
    CFieldReader memory;
    memory.OpenMemory(expected);
    write(memory);
    CFieldReader file;
    file.Open("large.txt", "w");
    write(file);
    file.Close();
    const std::string written = dir.ReadFile("large.txt");
    EXPECT_GT(written.size(), 4u * 64 * 1024);
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}

} // namespace
