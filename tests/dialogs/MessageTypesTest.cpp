#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/MessageTypes.h"

namespace {

class MessageTypesTest : public ::testing::Test {
protected:
    void TearDown() override { g_messageTypes = m_savedTable; }

private:
    decltype(g_messageTypes) m_savedTable = g_messageTypes;
};

TEST_F(MessageTypesTest, TableStartsConsistent) {
    const std::set<std::string> styles = {"mon", "mis", "fin", "tra", "dip", "mil", "col"};
    std::set<std::string> keys;
    for (size_t i = 0; i < g_messageTypes.size(); ++i) {
        const MessageTypeRecord& r = g_messageTypes[i];
        EXPECT_EQ(r.id, static_cast<int32_t>(i));
        EXPECT_GE(r.displayKind, 0);
        EXPECT_LE(r.displayKind, 4);
        EXPECT_TRUE(styles.count(r.style)) << i;
        EXPECT_TRUE(keys.insert(r.key).second) << "duplicate key " << r.key;
        EXPECT_EQ(r.box, r.defaultBox);
        EXPECT_EQ(r.display, r.defaultDisplay);
        EXPECT_EQ(r.pause, r.defaultPause);
        EXPECT_EQ(r.savedBox, r.box);
        EXPECT_EQ(r.savedDisplay, r.display);
        EXPECT_EQ(r.savedPause, r.pause);
        if (r.pause) { // pause implies box and display
            EXPECT_TRUE(r.box && r.display) << i;
        }
    }
}

TEST_F(MessageTypesTest, RowsHoldTheirKeysStylesKindsAndDefaults) {
    struct Row {
        int id;
        const char* key;
        const char* style;
        int kind;
        int display, box, pause;
    };
    const Row rows[] = {
        {0, "NEWMON", "mon", 0, 1, 1, 0},
        {1, "TUTORIAL", "mis", 3, 1, 1, 0},
        {10, "LOANOUT", "fin", 4, 1, 0, 0},
        {15, "MANUFAILED", "tra", 1, 0, 0, 0},
        {20, "MERCSEND", "mon", 1, 1, 1, 1},
        {39, "DECLWAR", "dip", 1, 1, 1, 0},
        {40, "PEACEPROP", "dip", 4, 1, 0, 0},
        {52, "MOYMARREJECT", "dip", 1, 1, 0, 0},
        {76, "MILLALLJOINREJECTOTHER", "dip", 0, 0, 0, 0},
        {104, "LEADERDIES", "mil", 0, 1, 0, 0},
        {135, "COLNEWSUCCESS", "col", 1, 1, 0, 0},
        {149, "EXPLORESTEAL", "mil", 0, 1, 1, 0},
        {150, "NEWCOUNTRY", "col", 1, 1, 1, 0},
    };
    for (const Row& row : rows) {
        const MessageTypeRecord& r = g_messageTypes[static_cast<size_t>(row.id)];
        EXPECT_STREQ(r.key, row.key);
        EXPECT_STREQ(r.style, row.style) << row.key;
        EXPECT_EQ(r.displayKind, row.kind) << row.key;
        EXPECT_EQ(r.display, row.display) << row.key;
        EXPECT_EQ(r.box, row.box) << row.key;
        EXPECT_EQ(r.pause, row.pause) << row.key;
    }
    // Only "MERCSEND" pauses by default.
    int pausing = 0;
    for (const MessageTypeRecord& r : g_messageTypes)
        pausing += r.pause;
    EXPECT_EQ(pausing, 1);
}

TEST_F(MessageTypesTest, SettingsTravelThroughTheBlock) {
    ConfigBlock block{};
    StoreMessageSettings(block);
    EXPECT_EQ(block[12 + 20], 1);
    EXPECT_EQ(block[163 + 20], 1);
    EXPECT_EQ(block[314 + 20], 1);
    EXPECT_EQ(block[12 + 15], 0);
    EXPECT_EQ(block[11], 0);  // the header before is untouched
    EXPECT_EQ(block[465], 0); // and the name after

    block[12 + 39] = 0;
    block[163 + 150] = 0;
    block[314 + 0] = 1;
    ApplyMessageSettings(block);
    EXPECT_EQ(g_messageTypes[39].display, 0);
    EXPECT_EQ(g_messageTypes[39].box, 1);
    EXPECT_EQ(g_messageTypes[150].box, 0);
    EXPECT_EQ(g_messageTypes[0].pause, 1);
    // The factory and saved bytes are not carried.
    EXPECT_EQ(g_messageTypes[39].defaultDisplay, 1);
    EXPECT_EQ(g_messageTypes[39].savedDisplay, 1);

    ConfigBlock again{};
    StoreMessageSettings(again);
    EXPECT_EQ(again, block);
}

TEST_F(MessageTypesTest, ShownAsBoxOnlyForAnswerBoxes) {
    g_messageTypes[40].box = 1; // "PEACEPROP", an answer box
    EXPECT_EQ(IsMessageShownAsBox(40), 1);
    g_messageTypes[40].box = 0;
    EXPECT_EQ(IsMessageShownAsBox(40), 0);
    EXPECT_EQ(g_messageTypes[39].box, 1); // "DECLWAR", a map-link notice
    EXPECT_EQ(IsMessageShownAsBox(39), 0);
    EXPECT_EQ(IsMessageShownAsBox(-1), 0);
    EXPECT_EQ(IsMessageShownAsBox(151), 0);
}

} // namespace
