// The province window's symbol layouts: names to kinds, help codes and tree
// numbers, the faults a layout file may hold, where the reader stops, the
// layouts kept per window key, and the layouts of the demo world.
#include "world/ProvinceSpriteList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "tests/TestSupport.h"

namespace {

class ProvinceSpriteListTest : public ::testing::Test {
protected:
    ProvinceSpriteListTest() { BuildKeywordIndex(); }
    ~ProvinceSpriteListTest() override { FreeProvinceSpriteLists(); }

    // The entries of the text read as a layout file.
    CProvinceSpriteList ReadText(const std::string& text) {
        dir.WriteFile("gfx/interface/piw/test.txt", text);
        CFieldReader reader;
        reader.Open("gfx\\interface\\piw\\test.txt", "r");
        CProvinceSpriteList list;
        EXPECT_EQ(list.Read(reader), 0);
        if (CTokenFile* file = reader.GetTokenFile()) {
            file->Next();
            after = file->Current().text;
        }
        return list;
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::string after; // the token after the reader stopped
};

TEST_F(ProvinceSpriteListTest, NamesGiveKindHelpCodeAndTreeNumber) {
    struct Case {
        const char* name;
        uint8_t kind;
        int32_t helpCode;
        int32_t tree;
    };
    const Case cases[] = {
        {"fort", kPiwFort, 22, 0},
        {"church", kPiwChurch, 63, 0},
        {"port", kPiwPort, 26, 0}, // a keyword of the format
        {"barracks", kPiwBarracks, 25, 0},
        {"bank", kPiwBank, 89, 0},         // a keyword
        {"BANK", kPiwBank, 89, 0},         // keywords match in any case
        {"merchant", kPiwMerchant, 91, 0}, // a keyword
        {"embassy", kPiwEmbassy, 90, 0},
        {"resource", kPiwResource, 24, 0},
        {"blockade", kPiwBlockade, -1, 0},
        {"siege", kPiwSiege, -1, 0}, // a keyword too, yet a symbol
        {"house1", kPiwHouse1, -1, 0},
        {"house2", kPiwHouse, -1, 0},
        {"house3", kPiwHouse, -1, 0},
        {"house4", kPiwHouse, -1, 0},
        {"trading", kPiwTrading, -1, 0},
        {"FortUtbyggd", kPiwFortExtension, -1, 0},
        {"native", kPiwNative, -1, 0},
        {"tree1", kPiwTree, -1, 1},
        {"tree15", kPiwTree, -1, 15},
        {"tree0", kPiwTree, -1, 1},
        {"tree16", kPiwTree, -1, 1},
        {"tree-3", kPiwTree, -1, 1},
        {"tree", kPiwTree, -1, 1},
        {"trex", kPiwTree, -1, 1},
    };
    for (const Case& c : cases) {
        const CProvinceSpriteList list = ReadText(std::string(c.name) + " = { x = 10 y = 20 }\n");
        ASSERT_EQ(list.GetCount(), 1u) << c.name;
        const ProvinceSpriteEntry& e = list.Entries()[0];
        EXPECT_EQ(e.kind, c.kind) << c.name;
        EXPECT_EQ(e.helpCode, c.helpCode) << c.name;
        EXPECT_EQ(e.treeNumber, c.tree) << c.name;
        EXPECT_EQ(e.x, 14) << c.name; // x is stored plus 4
        EXPECT_EQ(e.y, 20) << c.name;
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ProvinceSpriteListTest, FaultyFieldsAreReportedOrPassedOverAndReadingGoesOn) {
    const CProvinceSpriteList list = ReadText("fort = 5\n"                      // no block
                                              "id = { x = 1 y = 2 fort = 3 }\n" // another keyword
                                              "wall = { x = 7 y = 8 }\n"        // no such symbol
                                              "church = { x = 1 y = 2 z = { x = 99 } }\n"
                                              "port = { y = 6 }\n");
    ASSERT_EQ(list.GetCount(), 3u);
    EXPECT_TRUE(boxes.Shown("No left Curly"));
    EXPECT_TRUE(boxes.Shown("unknown sprite"));
    EXPECT_EQ(boxes.texts.size(), 2u) << "the keyword's field passes silently";

    const ProvinceSpriteEntry& unknown = list.Entries()[0];
    EXPECT_EQ(unknown.kind, kPiwTree);
    EXPECT_EQ(unknown.helpCode, -1);
    EXPECT_EQ(unknown.treeNumber, 0);
    EXPECT_EQ(unknown.x, 11);
    EXPECT_EQ(unknown.y, 8);

    const ProvinceSpriteEntry& church = list.Entries()[1];
    EXPECT_EQ(church.kind, kPiwChurch);
    EXPECT_EQ(church.x, 5) << "a nested block inside the point is passed over";
    EXPECT_EQ(list.Entries()[2].kind, kPiwPort);
    EXPECT_EQ(list.Entries()[2].x, 4) << "a missing x counts as 0";
    EXPECT_EQ(list.Entries()[2].y, 6);
}

TEST_F(ProvinceSpriteListTest, TheStoredXIsHeldToTheIntegerRange) {
    const CProvinceSpriteList list =
        ReadText("fort = { x = 2147483647 y = 1 }\nfort = { x = -2147483648 y = 1 }\n");
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.Entries()[0].x, INT_MAX);
    EXPECT_EQ(list.Entries()[1].x, INT_MIN + 4);
}

TEST_F(ProvinceSpriteListTest, ReadingStopsAtTheClosingBraceAndTakesIt) {
    const CProvinceSpriteList list =
        ReadText("fort = { x = 1 y = 2 }\n}\nchurch = { x = 3 y = 4 }\n");
    EXPECT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(after, "church");

    // A file cut inside a point keeps what it read, without a report.
    const CProvinceSpriteList cut = ReadText("house1 = { x = 5 y = 6\nchurch = {");
    ASSERT_EQ(cut.GetCount(), 1u);
    EXPECT_EQ(cut.Entries()[0].x, 9);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ProvinceSpriteListTest, EachWindowKeyIsReadOnceAndShared) {
    dir.WriteFile("gfx/interface/piw/plains.txt", "fort = { x = 1 y = 2 }\n");
    CProvinceSpriteList* first = GetProvinceSpriteList("plains");
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->GetCount(), 1u);

    dir.WriteFile("gfx/interface/piw/plains.txt", "fort = { x = 1 y = 2 }\nbank = { }\n");
    EXPECT_EQ(GetProvinceSpriteList("plains"), first);
    EXPECT_EQ(GetProvinceSpriteList("PLAINS"), first);
    EXPECT_EQ(first->GetCount(), 1u) << "the file is read once";

    EXPECT_EQ(GetProvinceSpriteList(""), nullptr);
    CProvinceSpriteList* missing = GetProvinceSpriteList("nowhere");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->GetCount(), 0u);
    EXPECT_FALSE(boxes.texts.empty()) << "the missing file is reported";

    FreeProvinceSpriteLists();
    CProvinceSpriteList* again = GetProvinceSpriteList("plains");
    EXPECT_EQ(again->GetCount(), 2u) << "read anew after the lists were freed";
}

TEST(DemoProvinceLayouts, EveryWindowKeyParsesWithoutAReport) {
    BuildKeywordIndex();
    test::InFolder inDemo(test::DemoWorldDir());
    test::BoxRecorder boxes;
    for (const char* key : {"plains", "forest", "mountain", "desert", "marsh", "sea"}) {
        const CProvinceSpriteList* list = GetProvinceSpriteList(key);
        ASSERT_NE(list, nullptr) << key;
        bool hasBlockade = false;
        bool hasFort = false;
        for (const ProvinceSpriteEntry& e : list->Entries()) {
            hasBlockade |= e.kind == kPiwBlockade;
            hasFort |= e.kind == kPiwFort;
            EXPECT_TRUE(e.x >= 4 && e.x < 200 && e.y >= 0 && e.y < 256) << key;
        }
        EXPECT_TRUE(hasBlockade) << key;
        EXPECT_EQ(hasFort, std::string(key) != "sea") << key;
    }
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    FreeProvinceSpriteLists();
}

} // namespace
