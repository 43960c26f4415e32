// Trading posts: the "tradingpost" block, the level's limits and the trade
// factor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ScriptFile.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/Province.h"
#include "world/TradingPost.h"

namespace {

class TradingPostTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        GetProvince(12)->symbolPosition = {300, 140};
    }
    void TearDown() override {
        GetProvince(12)->symbolPosition = {};
        reader.Close();
        SaveBlockTest::TearDown();
    }

    // Reads "tradingpost = { ... }" into the post.
    int32_t ReadPost(CTradingPost& post, const std::string& text) {
        reader.Close();
        OpenBlock(text);
        return post.Read(reader);
    }
};

TEST_F(TradingPostTest, TheBlockIsReadWithTheLevelHeldToItsLimits) {
    struct Case {
        const char* text;
        float level;
        int32_t location;
        const char* name;
    };
    const Case cases[] = {
        {"tradingpost = { name = \"Puerto\" level = 2.7 location = 12 }", 2.7f, 12, "Puerto"},
        {"tradingpost = { level = 7.5 location = 12 }", 6.0f, 12, ""},
        {"tradingpost = { level = -3 }", 0.0f, 0, ""},
        // A name that is no string is passed over; so is a province that is
        // none.
        {"tradingpost = { name = 17 location = 1473 }", 0.0f, 0, ""},
    };
    for (const Case& c : cases) {
        CTradingPost post;
        EXPECT_EQ(ReadPost(post, c.text), FIELD_BLOCK_END) << c.text;
        EXPECT_FLOAT_EQ(post.level, c.level) << c.text;
        EXPECT_EQ(post.GetLocation(), c.location) << c.text;
        EXPECT_STREQ(post.GetName(), c.name) << c.text;
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TradingPostTest, TheSymbolStandsAtTheProvincesSymbolPoint) {
    CTradingPost post;
    ASSERT_EQ(ReadPost(post, "tradingpost = { location = 12 }"), FIELD_BLOCK_END);
    EXPECT_EQ(post.GetSymbol().GetPosition().x, 300);
    EXPECT_EQ(post.GetSymbol().GetPosition().y, 140);
    EXPECT_EQ(post.GetSymbol().GetKey().kind, 5);
}

// After an unexpected key the rest of the block is passed over, so that its
// fields are not read as the owner's.
TEST_F(TradingPostTest, AnUnexpectedKeyIsReportedAndTheRestPassedOver) {
    CTradingPost post;
    EXPECT_EQ(ReadPost(post, "tradingpost = { level = 2 owner = { a = 1 } location = 12 } "
                             "treasury = 5 }"),
              FIELD_ERROR);
    EXPECT_TRUE(BoxShown("TradingPost : Unexpected field"));
    EXPECT_FLOAT_EQ(post.level, 2.0f);
    EXPECT_EQ(post.GetLocation(), 0);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(reader.key.code, KW_TREASURY);
}

TEST_F(TradingPostTest, TheBlockIsWrittenWithTheWholeLevelAndRoundTrips) {
    CTradingPost post;
    ASSERT_EQ(ReadPost(post, "tradingpost = { name = \"Puerto\" level = 2.7 location = 12 }"),
              FIELD_BLOCK_END);
    const std::string first = Print(KW_TRADINGPOST, post.Write());
    EXPECT_EQ(Flat(first), "tradingpost = { name = \"Puerto\" level = 2 location = 12 } ");

    CTradingPost again;
    ASSERT_EQ(ReadPost(again, first), FIELD_BLOCK_END);
    EXPECT_FLOAT_EQ(again.level, 2.0f);
    EXPECT_EQ(Print(KW_TRADINGPOST, again.Write()), first);
}

TEST_F(TradingPostTest, TradeFactorGrowsWithTheLevel) {
    const std::pair<float, float> cases[] = {{0.0f, 0.4f}, {2.5f, 0.65f}, {6.0f, 1.0f}};
    for (const auto& [level, factor] : cases) {
        CTradingPost post;
        post.level = level;
        EXPECT_FLOAT_EQ(post.GetTradeFactor(), factor) << level;
    }
}

TEST_F(TradingPostTest, DumpPrintsNameLevelAndLocation) {
    std::vector<std::string> lines;
    const ConsolePrintFunction before =
        SetConsolePrintFunction([&lines](const std::string& text) { lines.push_back(text); });
    CTradingPost post;
    ASSERT_EQ(ReadPost(post, "tradingpost = { name = \"Puerto\" level = 3.9 location = 12 }"),
              FIELD_BLOCK_END);
    post.Dump();
    SetConsolePrintFunction(before);
    EXPECT_EQ(lines, (std::vector<std::string>{"%BLUE TradePost %WHITE Puerto\n",
                                               "Level %GREEN 3\n", "Location %GREEN 12\n"}));
}

} // namespace
