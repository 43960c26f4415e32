// Construction orders: progress, hover texts, the list's order, the
// "construction" block and the expiry message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ScenarioHeader.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "tests/world/SaveBlockFixture.h"
#include "world/Construction.h"
#include "world/Province.h"

namespace {

class ConstructionTest : public test::SaveBlockTest {
protected:
    void SetUp() override {
        SaveBlockTest::SetUp();
        GetProvince(12)->symbolPosition = {300, 140};
        GetProvince(12)->GetConstructions().Clear();
    }
    void TearDown() override {
        GetProvince(12)->symbolPosition = {};
        GetProvince(12)->GetConstructions().Clear();
        g_scenarioHeaderHooks.findCountryByTag = nullptr;
        SetCountryTagSource(nullptr);
        reader.Close();
        SaveBlockTest::TearDown();
    }

    void SetToday(const CDate& date) { g_gameTimer->currentDate = date; }

    // The progress the order shows after a tick.
    static int32_t Tick(CConstructionOrder& order) {
        COVSimpleEvent tick(EVT_TIMER_TICK_LOOP, order.GetId());
        order.HandleMessage(tick);
        return order.progress;
    }

    int32_t ReadOrder(CConstructionOrder& order, const std::string& text) {
        reader.Close();
        OpenBlock(text);
        return order.Read(reader);
    }
};

TEST_F(ConstructionTest, ProgressRunsFromTheStartToTheEndDate) {
    struct Case {
        CDate start, end, today;
        int32_t percent;
    };
    const Case cases[] = {
        // Made today, due 60 days later: half way after 30 days.
        {{0, 0, 1600}, {0, 2, 1600}, {0, 1, 1600}, 50},
        {{0, 0, 1600}, {0, 2, 1600}, {0, 0, 1600}, 0},
        {{0, 0, 1600}, {0, 2, 1600}, {29, 1, 1600}, 98},
        {{0, 0, 1600}, {0, 0, 1601}, {0, 3, 1600}, 25},
        // Due the day it was made: complete, not a division by zero.
        {{5, 3, 1600}, {5, 3, 1600}, {5, 3, 1600}, 100},
        {{5, 3, 1600}, {5, 3, 1600}, {0, 0, 1600}, 100},
        // Held to 0..100 outside the span, and for an end before the start.
        {{0, 0, 1600}, {0, 2, 1600}, {0, 5, 1600}, 100},
        {{0, 6, 1600}, {0, 8, 1600}, {0, 0, 1600}, 0},
        {{0, 6, 1600}, {0, 2, 1600}, {0, 7, 1600}, 100},
    };
    for (const Case& c : cases) {
        SetToday(c.start);
        CConstructionOrder order(CONSTRUCTION_ARMY, 1, c.end, 12, 1);
        EXPECT_EQ(order.startDate, c.start);
        EXPECT_EQ(order.progress, -1);
        SetToday(c.today);
        EXPECT_EQ(Tick(order), c.percent) << c.today.GetDayCount();
        EXPECT_EQ(order.barFill, c.percent);
    }
}

TEST_F(ConstructionTest, HoverTextNamesTheKindAndTheMonthsLeft) {
    dir.WriteFile("config/text.csv", "CONSTRUCTIONNAVY;Fleet;;;;;;;;;;\r\n"
                                     "CONSTRUCTIONFORT;Fortress;;;;;;;;;;\r\n"
                                     "CONSTRUCTIONREMAIN;, %d months;;;;;;;;;;\r\n"
                                     "CONSTRUCTIONREMAIN2;, soon;;;;;;;;;;\r\n#EOF;\r\n");
    ASSERT_TRUE(g_textDatabase.Load(0));
    struct Case {
        int32_t kind;
        CDate end;
        const char* text;
    };
    // Today is day 10 of May 1600.
    const Case cases[] = {
        {CONSTRUCTION_NAVY, {10, 7, 1600}, "Fleet, 3 months"},
        {CONSTRUCTION_NAVY_IN_SHIPYARD, {9, 7, 1600}, "Fleet, 2 months"},
        {CONSTRUCTION_FORTRESS, {10, 4, 1601}, "Fortress, 12 months"},
        {CONSTRUCTION_FORTRESS, {29, 4, 1600}, "Fortress, soon"},
        {CONSTRUCTION_FORTRESS, {0, 0, 1600}, "Fortress, soon"},
        {42, {10, 7, 1600}, ", 3 months"},
    };
    for (const Case& c : cases) {
        CConstructionOrder order(c.kind, 1, c.end, 12, 1);
        EXPECT_EQ(order.GetHoverText(), c.text) << c.kind;
    }

    // Only over the order's symbol or bar.
    CConstructionList list;
    list.AddOrder(CONSTRUCTION_NAVY, 100, 200, 1, {10, 7, 1600}, 12, 1);
    const MapPoint bar = list.GetOrder(0).barPosition;
    EXPECT_EQ(bar.x, 101);
    EXPECT_EQ(bar.y, 190);
    EXPECT_EQ(list.GetHoverText(bar.x + 2, bar.y + 1), "Fleet, 3 months");
    EXPECT_EQ(list.GetHoverText(bar.x - 1, bar.y), "");
}

// Fleets and shipyards are drawn above the province's other orders.
TEST_F(ConstructionTest, FleetsGoToTheTailOthersToTheHead) {
    CConstructionList list;
    for (int32_t kind : {CONSTRUCTION_ARMY, CONSTRUCTION_NAVY, CONSTRUCTION_FORTRESS,
                         CONSTRUCTION_NAVY_IN_SHIPYARD, CONSTRUCTION_SHIPYARD})
        list.AddOrder(kind, 0, 0, 1, {0, 0, 1601}, 12, 1);
    std::vector<int32_t> kinds;
    for (uint32_t i = 0; i < list.GetCount(); ++i)
        kinds.push_back(list.GetOrder(i).GetKind());
    EXPECT_EQ(kinds,
              (std::vector<int32_t>{CONSTRUCTION_FORTRESS, CONSTRUCTION_ARMY, CONSTRUCTION_NAVY,
                                    CONSTRUCTION_NAVY_IN_SHIPYARD, CONSTRUCTION_SHIPYARD}));
    EXPECT_FALSE(list.HasColonyOrder());
    list.AddOrder(CONSTRUCTION_COLONY, 0, 0, 1, {0, 0, 1601}, 12, 1);
    EXPECT_TRUE(list.HasColonyOrder());

    // Every order has its own id and is found and taken out by it.
    const ObjectId id = list.GetOrder(2).GetId();
    EXPECT_FALSE(id.IsNull());
    EXPECT_EQ(list.FindOrder(id), &list.GetOrder(2));
    EXPECT_EQ(list.RemoveOrder(id)->GetKind(), CONSTRUCTION_ARMY);
    EXPECT_EQ(list.FindOrder(id), nullptr);
    EXPECT_EQ(list.GetCount(), 5u);
}

TEST_F(ConstructionTest, TheBlockRoundTripsAndPostsTheExpiryToTheProvince) {
    SetCountryTagSource([](uint32_t n) -> const char* { return n == 1 ? "ENG" : nullptr; });
    g_scenarioHeaderHooks.findCountryByTag = [](const char* tag) -> int32_t {
        return std::string(tag) == "ENG" ? 1 : 0;
    };
    const std::string text = "construction = { id = { type = 4712 id = 9 } action = 13 "
                             "province = 12 flags = 6 "
                             "startdate = { year = 1600 month = april day = 10 } "
                             "enddate = { year = 1600 month = june day = 10 } "
                             "x = 310 y = 150 tag = ENG } ";
    CConstructionOrder order;
    ASSERT_EQ(ReadOrder(order, text), FIELD_BLOCK_END);
    EXPECT_EQ(order.GetId(), ObjectId(4712, 9));
    EXPECT_EQ(order.GetKind(), CONSTRUCTION_NAVY_IN_SHIPYARD);
    EXPECT_EQ(order.country, 1);
    EXPECT_EQ(order.GetPoint().x, 310);
    EXPECT_EQ(order.barPosition.y, 150 - 21);
    EXPECT_EQ(Tick(order), 50);

    const std::string printed = Print(KW_CONSTRUCTION, order.Write());
    EXPECT_EQ(Flat(printed), text);
    CConstructionOrder again;
    ASSERT_EQ(ReadOrder(again, printed), FIELD_BLOCK_END);
    EXPECT_EQ(Print(KW_CONSTRUCTION, again.Write()), printed);

    // Each read posted the expiry on this machine only, due at the end date.
    const auto queued = Queued();
    ASSERT_EQ(queued.size(), 2u);
    for (COVEvent* event : queued) {
        EXPECT_EQ(event->GetType(), static_cast<uint32_t>(EVT_EXPIRE_CONSTRUCTION));
        EXPECT_EQ(event->GetReceiver(), ObjectId(kProvinceIdType, 12));
        EXPECT_EQ(event->GetDueDate(), CDate(10, 5, 1600));
        EXPECT_EQ(event->Payload().Get(COVConstructionEvent::kOrder), ObjectId(4712, 9));
        EXPECT_EQ(event->Payload().Get(COVConstructionEvent::kProvince), 12u);
        EXPECT_EQ(event->GetSendFlag(), 0);
    }
    EXPECT_TRUE(boxes.texts.empty());
}

// A damaged file's point at the ends of the 32-bit range is held where the
// bar's offset and its hit test stay in range (the build's sanitizer stops
// at an overflow).
TEST_F(ConstructionTest, APointOfAFileIsHeldWhereTheBarCanBePlaced) {
    const std::pair<const char*, int32_t> cases[] = {
        {"2147483647", 1000000},
        {"-2147483648", -1000000},
        {"999999999999999999999", 1000000},
        {"310", 310},
    };
    for (const auto& [text, held] : cases) {
        const std::string v = text;
        CConstructionOrder order;
        ASSERT_EQ(ReadOrder(order, "construction = { action = 13 province = 12 x = " + v +
                                       " y = " + v + " } "),
                  FIELD_BLOCK_END)
            << v;
        EXPECT_EQ(order.GetPoint().x, held) << v;
        EXPECT_EQ(order.GetPoint().y, held) << v;
        EXPECT_EQ(order.barPosition.y, held - 21) << v;
        EXPECT_FALSE(order.HitTest(0, 0)) << v;
    }
}

TEST_F(ConstructionTest, ABlockWithoutIdGetsAFreshOne) {
    CConstructionOrder order;
    ASSERT_EQ(ReadOrder(order, "construction = { action = 9 province = 12 }"), FIELD_BLOCK_END);
    EXPECT_EQ(order.GetId().type, kSharedIdType);
    EXPECT_NE(order.GetId().number, 0u);
    EXPECT_TRUE(Queued().empty());
}

// Every machine places the same orders on the same messages, while the host
// alone hands out ids for its requests: an order's id must not follow
// those. Orders read back keep their ids, and new ones number after them.
TEST_F(ConstructionTest, OrdersNumberAlikeOnEveryMachineAndAfterThoseRead) {
    CConstructionOrder* first =
        ScheduleExpireConstruction(3, CONSTRUCTION_TRADING_POST, 12, {10, 6, 1600});
    ASSERT_NE(first, nullptr);
    // The host hands out ids of its own in between.
    NewObjectId();
    NewObjectId();
    CConstructionOrder* second =
        ScheduleExpireConstruction(3, CONSTRUCTION_ARMY, 12, {10, 6, 1600});
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetId().type, kSharedIdType);
    EXPECT_EQ(second->GetId(), ObjectId(kSharedIdType, first->GetId().number + 1));

    CConstructionOrder read;
    ASSERT_EQ(ReadOrder(read, "construction = { id = { type = 65532 id = 40 } action = 9 "
                              "province = 12 }"),
              FIELD_BLOCK_END);
    EXPECT_EQ(read.GetId(), ObjectId(kSharedIdType, 40));
    CConstructionOrder* next = ScheduleExpireConstruction(3, CONSTRUCTION_ARMY, 12, {10, 6, 1600});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetId(), ObjectId(kSharedIdType, 41));
}

// After an unexpected key the rest of the block is passed over, so that its
// fields are not read as the province's.
TEST_F(ConstructionTest, AnUnexpectedKeyIsReportedAndTheRestPassedOver) {
    CConstructionOrder order;
    EXPECT_EQ(ReadOrder(order, "construction = { action = 9 cost = { a = 1 } flags = 3 } "
                               "tax = 4 }"),
              FIELD_ERROR);
    EXPECT_TRUE(BoxShown("construction: Unexpected field"));
    EXPECT_EQ(order.flags, 0);
    ASSERT_EQ(reader.ReadField(), FIELD_READ);
    EXPECT_EQ(reader.key.code, KW_TAX);
}

TEST_F(ConstructionTest, ScheduledOrdersJoinTheProvinceAndExpireThere) {
    CConstructionOrder* order =
        ScheduleExpireConstruction(3, CONSTRUCTION_TRADING_POST, 12, {10, 6, 1600});
    ASSERT_NE(order, nullptr);
    const CConstructionList& list = GetProvince(12)->GetConstructions();
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(&list.GetOrder(0), order);
    EXPECT_TRUE(list.HasColonyOrder());
    EXPECT_EQ(order->country, 3);
    EXPECT_EQ(order->startDate, kToday);
    EXPECT_EQ(order->GetPoint().x, 300);
    EXPECT_EQ(order->GetPoint().y, 140);

    const auto queued = Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->GetReceiver(), ObjectId(kProvinceIdType, 12));
    EXPECT_EQ(queued[0]->Payload().Get(COVConstructionEvent::kOrder), order->GetId());
    EXPECT_EQ(queued[0]->GetDueDate(), CDate(10, 6, 1600));

    EXPECT_EQ(ScheduleExpireConstruction(3, CONSTRUCTION_ARMY, 1473, {10, 6, 1600}), nullptr);
    EXPECT_EQ(Queued().size(), 1u);
}

} // namespace
