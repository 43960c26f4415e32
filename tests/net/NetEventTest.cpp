#include "net/NetEvent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/EventTypes.h"
#include "net/Session.h"
#include "platform/MessageBox.h"
#include "platform/System.h"
#include "tests/TestSupport.h"
#include "tests/net/GoodPayload.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A received block of the given total size: length field, type id, the rest
// zero.
Bytes Block(size_t total, uint16_t length, uint32_t type = EVT_APPMSG_LOADGAME) {
    Bytes bytes(total, 0);
    if (total >= 2)
        PutU16(bytes, 0, length);
    if (total >= 8)
        PutU32(bytes, 4, type);
    return bytes;
}

// Where the variable layouts hold their length or count.
constexpr size_t kChatLength = COVChatEvent::kLength.offset;
constexpr size_t kPathCount = COVUnitMovePathEvent::kCount.offset;
constexpr size_t kEntryCount = COVCountedEvent::kCount.offset;

// The block of a payload of the given size whose last field (at a payload
// offset) holds a count or length.
Bytes CountedBlock(uint32_t type, size_t payloadSize, size_t countOffset, uint16_t count) {
    Bytes bytes = Block(4 + payloadSize, static_cast<uint16_t>(payloadSize + 2), type);
    PutU16(bytes, 4 + countOffset, count);
    testing_payload::MakeGoodBlock(bytes);
    return bytes;
}

bool NetlogMutexIsFreeForOthers() {
    return std::async(std::launch::async,
                      [] {
                          std::mutex& mutex = platform::NamedMutex("Netlog Mutex");
                          const bool free = mutex.try_lock();
                          if (free)
                              mutex.unlock();
                          return free;
                      })
        .get();
}

// An open session whose sent blocks are kept.
class WireTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.m_active = 1;
        session.SetSendFunction([this](const Bytes& block) {
            sent.push_back(block);
            return true;
        });
    }

    // Sends the message and answers the block that went out (empty when
    // nothing did).
    Bytes SendAndTake(const COVEvent& event) {
        sent.clear();
        SendEvent(session, COVNetEvent(event));
        return sent.size() == 1 ? sent[0] : Bytes();
    }

    CNetSession session;
    std::vector<Bytes> sent;
};

// A message of the given payload size with every byte after the type id
// patterned; a count at countOffset (0: none) is set afterwards, then the
// numbers with a role are made good.
std::unique_ptr<COVEvent> PatternedEvent(uint32_t type, size_t size, size_t countOffset = 0,
                                         uint16_t count = 0) {
    auto payload = std::make_unique<COVEventData>(size);
    for (size_t i = 4; i < size; ++i)
        payload->SetU8(i, static_cast<uint8_t>(i * 37 + type));
    payload->SetTypeId(type);
    if (countOffset)
        payload->SetU16(countOffset, count);
    testing_payload::MakeGood(*payload);
    return std::make_unique<COVEvent>(std::move(payload));
}

void ExpectSamePayload(const COVEvent& rebuilt, const COVEvent& original) {
    ASSERT_EQ(rebuilt.GetPayloadSize(), original.GetPayloadSize());
    EXPECT_EQ(
        Bytes(rebuilt.Payload().Bytes(), rebuilt.Payload().Bytes() + rebuilt.Payload().Size()),
        Bytes(original.Payload().Bytes(), original.Payload().Bytes() + original.GetPayloadSize()));
    EXPECT_EQ(rebuilt.GetSendFlag(), 0);
    EXPECT_EQ(rebuilt.GetLocalFlag(), 1);
}

} // namespace

TEST_F(WireTest, EveryTravellingTypeSurvivesTheWire) {
    const auto& table = GetEventTypeTable();
    int travelling = 0;
    for (uint32_t type = 0; type < table.size(); ++type) {
        const EventTypeInfo& info = table[type];
        if (info.localOnly)
            continue;
        ++travelling;
        // The table's size, and for the variable layouts also a payload with
        // entries (the chat text and unit path give sizes that are not
        // multiples of 4).
        std::vector<std::unique_ptr<COVEvent>> events;
        switch (info.layout) {
        case EventLayout::Chat:
            events.push_back(PatternedEvent(type, 30, kChatLength, 0));
            events.push_back(PatternedEvent(type, 35, kChatLength, 5));
            break;
        case EventLayout::UnitMovePath:
            events.push_back(PatternedEvent(type, 38, kPathCount, 0));
            events.push_back(PatternedEvent(type, 44, kPathCount, 3));
            break;
        case EventLayout::ProvinceBattle:
        case EventLayout::CreateCountry:
            events.push_back(PatternedEvent(type, 38, kEntryCount, 0));
            events.push_back(PatternedEvent(type, 46, kEntryCount, 2));
            break;
        default:
            events.push_back(PatternedEvent(type, info.payloadSize));
        }
        for (const auto& event : events) {
            SCOPED_TRACE("type " + std::to_string(type) + " size " +
                         std::to_string(event->GetPayloadSize()));
            const size_t size = event->GetPayloadSize();
            const Bytes block = SendAndTake(*event);
            ASSERT_EQ(block.size(), (4 + size + 3) / 4 * 4);
            EXPECT_EQ(block[0] | block[1] << 8, static_cast<int>(size + 2));
            EXPECT_EQ(block[2] | block[3], 0);
            for (size_t i = 4 + size; i < block.size(); ++i)
                EXPECT_EQ(block[i], 0) << "padding";

            std::unique_ptr<COVEvent> rebuilt = ReceiveEvent(block.data(), block.size());
            ASSERT_NE(rebuilt, nullptr);
            EXPECT_EQ(rebuilt->GetType(), type);
            ExpectSamePayload(*rebuilt, *event);
        }
    }
    EXPECT_EQ(travelling, 317 - 22);
}

TEST_F(WireTest, RebuiltMessagesKeepTheSizeTheyWereSentWith) {
    // The facility request and the peace offer are built larger than the
    // class the receiving side rebuilds them in.
    const COVFacilityEvent facility(EVT_REQ_BUILD_FACILITY, g_unitServerId, 1, 2, 3, 4);
    const COVPeaceOfferEvent offer(EVT_REQ_CREATE_PEACE_OFFER, ObjectId{3, 5});
    const COVChatEvent chat("hello", 7, g_broadcastId);
    for (const COVEvent* event :
         {static_cast<const COVEvent*>(&facility), static_cast<const COVEvent*>(&offer),
          static_cast<const COVEvent*>(&chat)}) {
        const Bytes block = SendAndTake(*event);
        std::unique_ptr<COVEvent> rebuilt = ReceiveEvent(block.data(), block.size());
        ASSERT_NE(rebuilt, nullptr);
        ExpectSamePayload(*rebuilt, *event);
    }
    EXPECT_EQ(facility.GetPayloadSize(), 60);
    EXPECT_EQ(offer.GetPayloadSize(), 100);

    const Bytes block = SendAndTake(offer);
    std::unique_ptr<COVEvent> peace = ReceiveEvent(block.data(), block.size());
    EXPECT_NE(dynamic_cast<COVPeaceEvent*>(peace.get()), nullptr);
    const Bytes chatBlock = SendAndTake(chat);
    std::unique_ptr<COVEvent> line = ReceiveEvent(chatBlock.data(), chatBlock.size());
    ASSERT_NE(dynamic_cast<COVChatEvent*>(line.get()), nullptr);
    EXPECT_EQ(static_cast<COVChatEvent*>(line.get())->GetText(), "hello");
}

TEST_F(WireTest, PayloadTooLargeForTheLengthFieldIsNotSent) {
    for (size_t size : {COVNetEvent::kMaxPayloadSize + 1, size_t{0xFFFF}}) {
        const std::unique_ptr<COVEvent> tooLarge = PatternedEvent(EVT_APPMSG_LOADGAME, size);
        EXPECT_FALSE(SendEvent(session, COVNetEvent(*tooLarge))) << size;
    }
    EXPECT_TRUE(sent.empty());

    const COVChatEvent fits(std::string(COVNetEvent::kMaxPayloadSize - 31, 'a'), 1, g_broadcastId);
    ASSERT_EQ(fits.GetPayloadSize(), COVNetEvent::kMaxPayloadSize);
    const Bytes block = SendAndTake(fits);
    ASSERT_FALSE(block.empty());
    std::unique_ptr<COVEvent> rebuilt = ReceiveEvent(block.data(), block.size());
    ASSERT_NE(rebuilt, nullptr);
    ExpectSamePayload(*rebuilt, fits);
}

// Whatever a builder is given, the message it makes can be sent. It comes
// back whole, but for a list longer than a list of countries or of a new
// country's provinces may be (98 entries): the receiver drops that.
TEST_F(WireTest, LongestMessageOfEveryVariableLayoutIsSent) {
    std::vector<std::pair<std::unique_ptr<COVEvent>, bool>> longest;
    longest.emplace_back(std::make_unique<COVChatEvent>(std::string(70000, 'c'), 1, g_broadcastId),
                         true);
    longest.emplace_back(
        std::make_unique<COVUnitMovePathEvent>(ObjectId(6, 2), 1, std::vector<uint16_t>(40000, 7)),
        true);
    longest.emplace_back(std::make_unique<COVProvinceBattleEvent>(EVT_PROVSIEGEWON, ObjectId(3, 9),
                                                                  std::vector<uint32_t>(20000, 5)),
                         false);
    longest.emplace_back(
        std::make_unique<COVCreateCountryEvent>(g_broadcastId, std::vector<uint32_t>(20000, 9)),
        false);
    for (const auto& [event, comesBack] : longest) {
        SCOPED_TRACE(event->GetType());
        EXPECT_GE(event->GetPayloadSize() + 4u, COVNetEvent::kMaxPayloadSize) << "not the longest";
        const Bytes block = SendAndTake(*event);
        ASSERT_GE(block.size(), 4u + event->GetPayloadSize()); // padded to a multiple of 4
        std::unique_ptr<COVEvent> rebuilt = ReceiveEvent(block.data(), block.size());
        if (!comesBack) {
            EXPECT_EQ(rebuilt, nullptr);
            continue;
        }
        ASSERT_NE(rebuilt, nullptr);
        ExpectSamePayload(*rebuilt, *event);
    }
}

TEST_F(WireTest, SendingHoldsTheNetlogMutex) {
    bool freeWhileSending = true;
    session.SetSendFunction([&](const Bytes&) {
        freeWhileSending = NetlogMutexIsFreeForOthers();
        return true;
    });
    EXPECT_TRUE(
        SendEvent(session, COVNetEvent(COVSimpleEvent(EVT_APPMSG_LOADGAME, g_broadcastId))));
    EXPECT_FALSE(freeWhileSending);
    EXPECT_TRUE(NetlogMutexIsFreeForOthers());
}

TEST_F(WireTest, WrapperSendsOnlyThroughAnActiveSession) {
    COVNetEvent wrapper(COVSimpleEvent(EVT_APPMSG_LOADGAME, g_broadcastId));
    EXPECT_EQ(wrapper.Execute(), EVENT_NOT_HANDLED); // no session at all
    g_netSession = &session;
    session.m_active = 0;
    EXPECT_EQ(wrapper.Execute(), EVENT_NOT_HANDLED);
    EXPECT_TRUE(sent.empty());
    session.m_active = 1;
    EXPECT_EQ(wrapper.Execute(), EVENT_NOT_HANDLED);
    g_netSession = nullptr;
    EXPECT_EQ(sent.size(), 1u);
}

// A peer decides what it sends: a type that must not arrive is its bad data,
// refused with one line in the log; a box would let one connection stack a
// modal box per message (and Abort would end the host's game).
TEST(ReceiveEvent, TypesThatMustNotArriveAreRefusedWithALogLineAndNoBox) {
    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    ResetRefusedEventLog();

    std::vector<uint32_t> refused = {317, 400, 0xFFFFFFFF};
    for (uint32_t type = 0; type < EVENT_TYPE_COUNT; ++type)
        if (IsLocalOnlyEvent(type))
            refused.push_back(type);
    EXPECT_EQ(refused.size(), 3u + 22u);

    for (uint32_t type : refused) {
        // Large enough for any layout, so only the type decides.
        const Bytes block = Block(4 + 200, 202, type);
        EXPECT_EQ(ReceiveEvent(block.data(), block.size(), 7), nullptr) << type;
    }
    EXPECT_TRUE(boxes.texts.empty());

    const std::string log = dir.ReadFile("log.txt");
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(log.substr(at, end - at));
    ASSERT_EQ(lines.size(), refused.size());
    EXPECT_EQ(lines[1], "Event 400 from player 7 has no network support; refused");
    EXPECT_EQ(lines[3], "Event 4 from player 7 has no network support; refused");
    // The mutex is free again after every refusal.
    EXPECT_TRUE(NetlogMutexIsFreeForOthers());
}

// A flood of such messages writes a bounded number of lines.
TEST(ReceiveEvent, RefusalLinesStopAfterTheirLimit) {
    test::ScopedGameDir dir;
    ResetRefusedEventLog();
    const Bytes block = Block(4 + 200, 202, 400);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(ReceiveEvent(block.data(), block.size(), 7), nullptr);
    const std::string log = dir.ReadFile("log.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 101);
    EXPECT_NE(log.find("no longer logged"), std::string::npos);
}

TEST(ReceiveEvent, MalformedBlocksAreDroppedQuietly) {
    struct Case {
        const char* what;
        Bytes block;
    };
    const Case cases[] = {
        {"3 bytes", Block(3, 22)},
        {"4 bytes", Block(4, 22)},
        {"23 bytes", Block(23, 21)},
        {"24 bytes, a type of 24 payload bytes", Block(24, 22, EVT_SET_IN_PROVINCE)},
        {"length field past the bytes received", Block(28, 200, EVT_SET_IN_PROVINCE)},
        {"length field one past", Block(28, 27, EVT_SET_IN_PROVINCE)},
        {"length field below the head", Block(28, 10)},
        {"length field 0", Block(28, 0)},
        {"scenario payload short", Block(4 + 100, 102, EVT_APPMSG_SCENARIO)},
        {"facility request short", Block(4 + 40, 42, EVT_REQ_BUILD_FACILITY)},
        {"chat without its length", Block(4 + 24, 26, EVT_APPMSG_CHATSTRING)},
        {"chat text past its payload", CountedBlock(EVT_APPMSG_CHATSTRING, 40, kChatLength, 11)},
        {"chat text length 0xFFFF", CountedBlock(EVT_APPMSG_CHATSTRING, 40, kChatLength, 0xFFFF)},
        {"path count past its payload", CountedBlock(EVT_UNITMOVEPATH, 44, kPathCount, 4)},
        {"battle count past its payload", CountedBlock(EVT_PROVBATTLEWON, 46, kEntryCount, 3)},
        {"country count past its payload", CountedBlock(EVT_CREATE_COUNTRY, 46, kEntryCount, 3)},
    };
    test::BoxRecorder boxes;
    for (const Case& c : cases)
        EXPECT_EQ(ReceiveEvent(c.block.data(), c.block.size()), nullptr) << c.what;
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_TRUE(NetlogMutexIsFreeForOthers());
}

TEST(ReceiveEvent, BlocksAtTheEdgeAreAccepted) {
    struct Case {
        const char* what;
        Bytes block;
        size_t payloadSize;
    };
    const Case cases[] = {
        {"24 bytes, a head-only type", Block(24, 22), 20},
        {"padding after the payload", Block(28, 22), 20},
        {"chat text filling its payload", CountedBlock(EVT_APPMSG_CHATSTRING, 40, kChatLength, 10),
         40},
        {"path count filling its payload", CountedBlock(EVT_UNITMOVEPATH, 44, kPathCount, 3), 44},
        {"battle count filling its payload", CountedBlock(EVT_PROVSIEGELOST, 46, kEntryCount, 2),
         46},
        {"country count filling its payload", CountedBlock(EVT_CREATE_COUNTRY, 46, kEntryCount, 2),
         46},
    };
    for (const Case& c : cases) {
        std::unique_ptr<COVEvent> event = ReceiveEvent(c.block.data(), c.block.size());
        ASSERT_NE(event, nullptr) << c.what;
        EXPECT_EQ(event->GetPayloadSize(), c.payloadSize) << c.what;
    }
}
