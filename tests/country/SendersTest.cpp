#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryList.h"
#include "country/CountryMilitary.h"
#include "data/ScenarioHeader.h"
#include "engine/Date.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "engine/Random.h"
#include "net/EventTypes.h"
#include "net/NetEvent.h"
#include "net/Receivers.h"
#include "net/Scheduler.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/Construction.h"
#include "world/Province.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A message as it reached a receiver: the receiver that took it, its
// payload and its flags.
struct Delivery {
    ObjectId via;
    Bytes bytes;
    uint8_t send;
    uint8_t local;
};
std::vector<Delivery> g_delivered;

void Record(const ObjectId& via, COVEvent& event) {
    const COVEventData& payload = event.Payload();
    g_delivered.push_back({via, Bytes(payload.Bytes(), payload.Bytes() + payload.Size()),
                           event.GetSendFlag(), event.GetLocalFlag()});
}

class RecordingCountry : public CCountry {
public:
    explicit RecordingCountry(uint32_t number) : CCountry(number) {}
    int HandleMessage(COVEvent& event) override {
        Record(GetId(), event);
        return EVENT_CONSUMED;
    }
};

// The host request dispatcher (above the countries) records in its place.
class RecordingDispatcher : public CEventHandler {
public:
    int HandleEvent(COVEvent& event) override {
        Record(event.GetReceiver(), event);
        return EVENT_CONSUMED;
    }
};

RecordingDispatcher g_dispatcher;

// So does the front end, which takes the broadcasts while no game runs.
int RecordFrontEnd(COVEvent& event) {
    Record(g_broadcastId, event);
    return EVENT_CONSUMED;
}

// The expected payload, written byte by byte, little-endian.
struct Msg {
    Msg(size_t size, uint32_t type, const ObjectId& receiver) : bytes(size, 0) {
        U32(0, type);
        Id(12, receiver);
    }
    Msg& U8(size_t at, uint8_t v) {
        bytes.at(at) = v;
        return *this;
    }
    Msg& U16(size_t at, uint16_t v) { return U8(at, v & 0xFF).U8(at + 1, v >> 8); }
    Msg& U32(size_t at, uint32_t v) { return U16(at, v & 0xFFFF).U16(at + 2, v >> 16); }
    Msg& F32(size_t at, float v) { return U32(at, std::bit_cast<uint32_t>(v)); }
    Msg& Id(size_t at, const ObjectId& id) {
        return U16(at, id.type).U16(at + 2, 0).U32(at + 4, id.number);
    }
    Msg& Date(size_t at, const CDate& d) {
        return U8(at + 4, static_cast<uint8_t>(d.day))
            .U8(at + 5, static_cast<uint8_t>(d.month))
            .U16(at + 6, static_cast<uint16_t>(d.year));
    }
    ObjectId Receiver() const {
        return ObjectId(
            static_cast<uint16_t>(bytes[12] | bytes[13] << 8),
            static_cast<uint32_t>(bytes[16] | bytes[17] << 8 | bytes[18] << 16 | bytes[19] << 24));
    }
    Bytes bytes;
};

enum class Post {
    ExecuteAndSendEvent,
    ExecuteRequest,
    ExecuteEvent,
    PostAndSendEventNow,
    PostRequestNow,
    PostEventNow,
    PostEventAt,
    PostRequestAt,
};

struct Expected {
    Post post;
    Msg msg;
    CDate due = CDate(); // for the dated postings
};

enum class Where { Now, Ready, Heap };

// What a posting function makes of a fresh message (send 0, local 1).
struct Effect {
    Where where;
    uint8_t send;
    uint8_t local;
};

Effect EffectOf(Post post, bool client) {
    const Effect request = client ? Effect{Where::Now, 1, 0} : Effect{Where::Now, 0, 1};
    switch (post) {
    case Post::ExecuteAndSendEvent:
        return {Where::Now, 1, 1};
    case Post::ExecuteRequest:
        return request;
    case Post::ExecuteEvent:
        return {Where::Now, 0, 1};
    case Post::PostAndSendEventNow:
        return {Where::Ready, 1, 1};
    case Post::PostRequestNow:
        return {Where::Ready, request.send, request.local};
    case Post::PostEventNow:
        return {Where::Ready, 0, 1};
    case Post::PostEventAt:
        return {Where::Heap, 0, 1};
    case Post::PostRequestAt:
        return {Where::Heap, request.send, request.local};
    }
    return {};
}

const CDate kToday(11, 9, 1492);
constexpr uint32_t kSeed = 12345;
const ObjectId kOwn = MakeCountryId(1);
const ObjectId kOther = MakeCountryId(2);
const ObjectId kUnit(4713, 77);
const CDate kTravel(5, 1, 0); // one month and five days
const CDate kDue(3, 2, 1495);

CDate Later(CDate date, const CDate& span) {
    return date.Plus(span);
}

// The id the k-th NewObjectId call from now will hand out.
ObjectId NewId(uint32_t k) {
    return ObjectId(g_newIdType, g_newIdCounter + k);
}

// Units that only the siege seam below looks at (by address): the first
// and the last besiege, the middle one does not.
constexpr size_t kFakeUnits = 3;
alignas(8) unsigned char g_fakeUnits[kFakeUnits][8];

CUnit* FakeUnit(size_t i) {
    return reinterpret_cast<CUnit*>(g_fakeUnits[i]);
}

bool FakeSiegeCombat(const CUnit& unit, uint32_t& combatType, ObjectId& combat) {
    const auto* at = reinterpret_cast<const unsigned char*>(&unit);
    if (at == g_fakeUnits[0]) {
        combatType = 4;
        combat = kUnit;
        return true;
    }
    if (at == g_fakeUnits[2]) {
        combatType = 5;
        combat = ObjectId(7, 9);
        return true;
    }
    return false;
}

struct Case {
    std::string name;
    std::function<void(CCountry&)> send;
    std::function<std::vector<Expected>()> expect;
};

class SendersTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitIdRegistries(g_nullId);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = kToday;
        AddCountry(std::make_unique<RecordingCountry>(1));
        AddCountry(std::make_unique<RecordingCountry>(2));
        g_directReceivers.hostDispatcher = []() -> CEventHandler* { return &g_dispatcher; };
        g_broadcastReceivers[kSlotFrontEnd] = &RecordFrontEnd;
        session.m_active = 1;
        session.SetSendFunction([this](const std::vector<uint8_t>& block) {
            // The block head's length field counts the payload and 2.
            const size_t size = static_cast<size_t>(block.at(0) | block.at(1) << 8) - 2;
            sent.emplace_back(block.begin() + 4,
                              block.begin() + 4 + static_cast<std::ptrdiff_t>(size));
            return true;
        });
        g_netSession = &session;
        Reset();
    }
    void TearDown() override {
        Reset();
        g_netSession = nullptr;
        g_directReceivers = m_savedDirect;
        g_broadcastReceivers = m_savedBroadcast;
        g_gameTimer.reset();
        DeleteAllCountries();
        FreeIdRegistries();
    }

    void Reset() {
        g_scheduler.Clear();
        g_scheduler.FlushSend();
        g_delivered.clear();
        sent.clear();
    }

    const DirectReceivers m_savedDirect = g_directReceivers;
    const decltype(g_broadcastReceivers) m_savedBroadcast = g_broadcastReceivers;
    CNetSession session;
    std::vector<Bytes> sent;
};

// A payload sent at the end of a frame carries the date it went out.
Bytes StampedToday(Msg msg) {
    return msg.Date(4, kToday).bytes;
}

TEST_F(SendersTest, EverySenderBuildsItsMessagesAndPostsThemToTheirReceivers) {
    const std::array<uint32_t, 8> eight = {11, 12, 13, 14, 15, 16, 17, 18};
    std::array<uint32_t, 16> terms{};
    for (uint32_t i = 0; i < terms.size(); ++i)
        terms[i] = 101 + i;

    // The colonist's journey: +20 province, +28 arrival, +44 country, +52 success.
    const auto journey = [](uint32_t type, uint32_t success) {
        return Msg(60, type, kOwn)
            .U32(20, 17)
            .Date(28, Later(kToday, kTravel))
            .U32(44, 1)
            .U32(52, success);
    };
    const auto merchant = [](uint8_t success) {
        return Msg(64, EVT_SEND_MERCHANT, kOwn)
            .U32(20, 5)
            .U32(24, 120)
            .Date(28, Later(kToday, kTravel))
            .Id(36, kOwn)
            .U32(44, 1)
            .Id(52, ObjectId(4, 17))
            .U8(60, success);
    };
    const auto boost = [](uint32_t kind) {
        return std::vector<Expected>{
            {Post::ExecuteRequest, Msg(32, EVT_REQ_BOOST_INVESTMENT, g_economyRequestsId)
                                       .F32(20, 200.0f)
                                       .U32(24, kind)
                                       .U32(28, 1)}};
    };
    const auto unitRequest = [](uint32_t type) {
        return std::vector<Expected>{
            {Post::PostAndSendEventNow, Msg(28, type, g_unitRequestsId).Id(20, kUnit)}};
    };
    const auto loanRequest = [](uint32_t type) {
        return std::vector<Expected>{{Post::PostRequestNow, Msg(56, type, g_economyRequestsId)
                                                                .Id(28, kOther)
                                                                .U32(36, 400)
                                                                .U32(40, 8)
                                                                .Date(44, kDue)
                                                                .U32(52, 1)}};
    };
    const auto allianceRequest = [](uint32_t type) {
        return std::vector<Expected>{
            {Post::ExecuteRequest,
             Msg(36, type, g_diplomacyRequestsId).U32(20, 1).U32(24, 7).U32(28, 2).U32(32, 1)}};
    };
    const auto relation = [](uint32_t kind, float amount) {
        return std::vector<Expected>{
            {Post::ExecuteRequest, Msg(40, EVT_REQ_RELATION, g_diplomacyRequestsId)
                                       .F32(24, amount)
                                       .U32(28, kind)
                                       .U32(32, 1)
                                       .U32(36, 2)}};
    };
    const auto honor = [&eight](Post post, uint32_t type, const ObjectId& receiver) {
        Msg msg(56, type, receiver);
        msg.U32(20, 1);
        for (size_t i = 0; i < eight.size(); ++i)
            msg.U32(24 + 4 * i, eight[i]);
        return std::vector<Expected>{{post, msg}};
    };
    const auto peaceAnswer = [](uint32_t type) {
        return std::vector<Expected>{
            {Post::ExecuteRequest,
             Msg(36, type, g_diplomacyRequestsId).U32(20, 2).Id(24, kUnit).U32(32, 1)}};
    };
    const auto army = [](uint32_t type) {
        return std::vector<Expected>{{Post::ExecuteAndSendEvent, Msg(88, type, kOwn)
                                                                     .U32(20, 17)
                                                                     .Date(28, kToday)
                                                                     .Id(36, NewId(1))
                                                                     .Date(44, kDue)
                                                                     .Id(52, kOwn)
                                                                     .U32(60, 3000)
                                                                     .U32(64, 1000)
                                                                     .U32(68, 2)}};
    };
    const auto fleet = [](uint32_t type) {
        return std::vector<Expected>{{Post::ExecuteAndSendEvent, Msg(84, type, kOwn)
                                                                     .U32(20, 17)
                                                                     .Date(28, kToday)
                                                                     .Id(36, NewId(1))
                                                                     .Date(44, kDue)
                                                                     .Id(52, kOwn)
                                                                     .U32(60, 4)
                                                                     .U32(64, 5)
                                                                     .U32(76, 6)}};
    };
    const auto exploration = [](uint32_t type) {
        return std::vector<Expected>{
            {Post::PostAndSendEventNow, Msg(28, type, kOther).U32(20, 1).U8(24, 1)}};
    };
    const auto headOnly = [](uint32_t type, uint32_t count) {
        return std::vector<Expected>(count,
                                     Expected{Post::ExecuteAndSendEvent, Msg(20, type, kOwn)});
    };

    const std::vector<Case> cases = {
        {"SendDestroyTradingPost", [](CCountry&) { SendDestroyTradingPost(17); },
         [] {
             return std::vector<Expected>{
                 {Post::PostRequestNow, Msg(24, 275, g_nativesRequestsId).U32(20, 17)}};
         }},
        {"SendDisbandUnit", [](CCountry&) { SendDisbandUnit(kUnit); },
         [&] { return unitRequest(67); }},
        {"SendRequestSplitArmy", [](CCountry&) { SendRequestSplitArmy(kUnit); },
         [&] { return unitRequest(60); }},
        {"SendRequestCreateDetachment", [](CCountry&) { SendRequestCreateDetachment(kUnit); },
         [&] { return unitRequest(61); }},
        {"SendRequestCreateWarshipsDetachment",
         [](CCountry&) { SendRequestCreateWarshipsDetachment(kUnit); },
         [&] { return unitRequest(62); }},
        {"SendRequestDetachCoverForce", [](CCountry&) { SendRequestDetachCoverForce(kUnit); },
         [&] { return unitRequest(66); }},
        {"SendRequestDetachSiegeForce", [](CCountry&) { SendRequestDetachSiegeForce(kUnit); },
         [&] { return unitRequest(65); }},
        {"SendRequestMerge",
         [](CCountry&) {
             SendRequestMerge({kUnit, ObjectId(7, 2), ObjectId(4712, 3)});
         },
         [] {
             const Msg join = Msg(36, 74, g_unitRequestsId).Id(20, kUnit);
             return std::vector<Expected>{
                 {Post::ExecuteAndSendEvent, Msg(join).Id(28, ObjectId(7, 2))},
                 {Post::ExecuteAndSendEvent, Msg(join).Id(28, ObjectId(4712, 3))}};
         }},
        {"SendRequestMerge of one unit", [](CCountry&) { SendRequestMerge({kUnit}); },
         [] { return std::vector<Expected>{}; }},
        // The new order's expiry, addressed to its province: the order's id
        // and the province.
        {"ScheduleExpireConstruction",
         [](CCountry&) {
             ScheduleExpireConstruction(1, 7, 17, kDue);
             GetProvince(17)->GetConstructions().Clear();
         },
         [] {
             // Orders take the ids every machine makes alike: the next after
             // the one drawn here.
             const ObjectId drawn = NewSharedObjectId();
             return std::vector<Expected>{{Post::PostEventAt,
                                           Msg(32, 163, ObjectId(kProvinceIdType, 17))
                                               .Id(20, ObjectId(kSharedIdType, drawn.number + 1))
                                               .U32(28, 17)
                                               .Date(4, kDue),
                                           kDue}};
         }},
        {"SendGiveCasusBelli",
         [](CCountry&) {
             CCountryList list;
             list.AddTail(1);
             list.AddTail(2);
             SendGiveCasusBelli(list, 3);
         },
         [] {
             CDate expiry = kToday;
             expiry.AddYears(1);
             const auto cb = [&](const ObjectId& receiver) {
                 return Msg(44, 161, receiver)
                     .Date(24, expiry)
                     .Id(32, MakeCountryId(3))
                     .U8(40, 1)
                     .U8(41, 0);
             };
             return std::vector<Expected>{{Post::ExecuteEvent, cb(kOwn)},
                                          {Post::ExecuteEvent, cb(kOther)}};
         }},
        {"SendRefreshWindows", [](CCountry&) { SendRefreshWindows(); },
         [] {
             return std::vector<Expected>{{Post::PostEventNow, Msg(20, 76, g_broadcastId)}};
         }},
        {"SendDeclineWarPact", [](CCountry&) { SendDeclineWarPact(2); },
         [] {
             return std::vector<Expected>{{Post::PostAndSendEventNow, Msg(20, 183, kOther)}};
         }},
        {"SendColonist that succeeds", [](CCountry& c) { c.SendColonist(17, kTravel, 100, 100); },
         [&] {
             return std::vector<Expected>{{Post::ExecuteAndSendEvent, journey(145, 1)}};
         }},
        {"SendColonist that fails and meets the natives",
         [](CCountry& c) { c.SendColonist(17, kTravel, -1, 100); },
         [&] {
             GameSrand(kSeed);
             GameRand();
             GameRand();
             CDate attack = Later(kToday, kTravel);
             attack.AddDays(2 + GameRand() % 4);
             return std::vector<Expected>{
                 {Post::PostRequestAt,
                  Msg(24, 195, g_nativesRequestsId).U32(20, 17).Date(4, attack), attack},
                 {Post::ExecuteAndSendEvent, journey(145, 0)}};
         }},
        {"SendColonist that fails in peace",
         [](CCountry& c) { c.SendColonist(17, kTravel, -1, 0); },
         [&] {
             return std::vector<Expected>{{Post::ExecuteAndSendEvent, journey(145, 0)}};
         }},
        {"SendTrader", [](CCountry& c) { c.SendTrader(17, kTravel, 100, 100); },
         [&] {
             return std::vector<Expected>{{Post::ExecuteAndSendEvent, journey(150, 1)}};
         }},
        {"SendMerchant that succeeds", [](CCountry& c) { c.SendMerchant(17, 5, 120, kTravel, 99); },
         [&] {
             return std::vector<Expected>{{Post::ExecuteAndSendEvent, merchant(1)}};
         }},
        {"SendMerchant with a poor chance",
         [](CCountry& c) { c.SendMerchant(17, 5, 120, kTravel, 1); },
         [&] {
             GameSrand(kSeed);
             const int roll = GameRand() % 100;
             EXPECT_GT(roll, 1) << "the seed should make this merchant fail";
             return std::vector<Expected>{
                 {Post::ExecuteAndSendEvent, merchant(RollPercentBand(roll, 1) >= 2 ? 1 : 0)}};
         }},
        {"SendBuildFacility", [](CCountry& c) { c.SendBuildFacility(17, 3, 500); },
         [] {
             CDate end = kToday;
             end.AddYears(2);
             return std::vector<Expected>{{Post::ExecuteRequest, Msg(60, 124, g_economyRequestsId)
                                                                     .U32(20, 17)
                                                                     .Date(28, end)
                                                                     .Id(36, NewId(1))
                                                                     .U32(48, 3)
                                                                     .U32(52, 500)
                                                                     .U32(56, 1)}};
         }},
        {"SendBoostTrade", [](CCountry& c) { c.SendBoostTrade(); }, [&] { return boost(0); }},
        {"SendBoostInfrastructure", [](CCountry& c) { c.SendBoostInfrastructure(); },
         [&] { return boost(1); }},
        {"SendBoostStability", [](CCountry& c) { c.SendBoostStability(); },
         [&] { return boost(2); }},
        {"SendBoostLand", [](CCountry& c) { c.SendBoostLand(); }, [&] { return boost(3); }},
        {"SendBoostNaval", [](CCountry& c) { c.SendBoostNaval(); }, [&] { return boost(4); }},
        {"SendExceptionalTaxes", [](CCountry& c) { c.SendExceptionalTaxes(); },
         [] {
             return std::vector<Expected>{{Post::PostAndSendEventNow, Msg(20, 84, kOwn)}};
         }},
        {"SendAcceptLoan", [](CCountry& c) { c.SendAcceptLoan(2, 1000, 7); },
         [] {
             return std::vector<Expected>{
                 {Post::PostRequestNow, Msg(56, 95, g_economyRequestsId)
                                            .Id(28, kOther)
                                            .U32(36, 1000)
                                            .U32(40, 7)
                                            .Date(44, kToday)
                                            .U32(52, 1)},
                 {Post::PostAndSendEventNow, Msg(28, 105, kOther).U32(20, 1).U32(24, 1000)}};
         }},
        {"SendDeclineLoan", [](CCountry& c) { c.SendDeclineLoan(kOther, 1000); },
         [] {
             return std::vector<Expected>{
                 {Post::PostAndSendEventNow, Msg(28, 93, kOther).F32(20, 1000.0f).U32(24, 5)},
                 {Post::PostAndSendEventNow, Msg(28, 106, kOther).U32(20, 1).U32(24, 1000)}};
         }},
        {"SendRequestLoan with the country's own amount and interest",
         [](CCountry& c) { c.SendRequestLoan(); },
         [] {
             // No bank: 200; interest 10 - stability 3, 3 less for ENG, at least 5.
             return std::vector<Expected>{{Post::ExecuteRequest, Msg(56, 95, g_economyRequestsId)
                                                                     .U32(36, 200)
                                                                     .U32(40, 5)
                                                                     .Date(44, kToday)
                                                                     .U32(52, 1)}};
         }},
        {"LeaveVassalization and LeaveDynasticAlliance",
         [](CCountry& c) {
             for (const auto& [type, number] :
                  {std::pair{ALLIANCE_VASSALIZATION, 33u}, std::pair{ALLIANCE_MILITARY, 34u}}) {
                 auto alliance = std::make_unique<CAlliance>();
                 alliance->Init();
                 alliance->id = ObjectId(4712, number);
                 alliance->type = type;
                 alliance->participants = {2, 1};
                 g_alliances.push_back(std::move(alliance));
             }
             c.LeaveVassalization(2);
             c.LeaveDynasticAlliance(2); // none between them: nothing
             c.LeaveVassalization(3);    // none with a third country either
             g_alliances.clear();
         },
         [] {
             return std::vector<Expected>{{Post::ExecuteRequest, Msg(36, 229, g_diplomacyRequestsId)
                                                                     .U32(20, 1)
                                                                     .U32(24, 33)
                                                                     .U32(28, 1)
                                                                     .U32(32, 1)}};
         }},
        {"SendSiegeAssault over units without the combat seam",
         [](CCountry& c) {
             CLinkedList<CUnit> units;
             units.AddTail(FakeUnit(0));
             c.SendSiegeAssault(units);
         },
         [] { return std::vector<Expected>{}; }},
        {"SendSiegeAssault over units: only the besieging ones",
         [](CCountry& c) {
             g_countryMilitary.unitSiegeCombat = &FakeSiegeCombat;
             CLinkedList<CUnit> units;
             for (size_t i = 0; i < kFakeUnits; ++i)
                 units.AddTail(FakeUnit(i));
             c.SendSiegeAssault(units);
             g_countryMilitary.unitSiegeCombat = nullptr;
         },
         [] {
             return std::vector<Expected>{
                 {Post::PostRequestNow,
                  Msg(40, 33, g_combatRequestsId).U32(20, 4).Id(24, kUnit).Date(32, kToday)},
                 {Post::PostRequestNow, Msg(40, 33, g_combatRequestsId)
                                            .U32(20, 5)
                                            .Id(24, ObjectId(7, 9))
                                            .Date(32, kToday)}};
         }},
        {"SendRequestLoan", [](CCountry& c) { c.SendRequestLoan(500, 9); },
         [] {
             return std::vector<Expected>{{Post::ExecuteRequest, Msg(56, 95, g_economyRequestsId)
                                                                     .U32(36, 500)
                                                                     .U32(40, 9)
                                                                     .Date(44, kToday)
                                                                     .U32(52, 1)}};
         }},
        {"SendOfferLoan", [](CCountry& c) { c.SendOfferLoan(2, 300, 6); },
         [] {
             return std::vector<Expected>{
                 {Post::PostAndSendEventNow, Msg(56, 104, kOther)
                                                 .Id(28, kOwn)
                                                 .U32(36, 300)
                                                 .U32(40, 6)
                                                 .Date(44, kToday)
                                                 .U32(52, 2)},
                 {Post::PostAndSendEventNow, Msg(28, 94, kOwn).F32(20, 300.0f)}};
         }},
        {"SendGift", [](CCountry& c) { c.SendGift(2, 250.5f); },
         [] {
             return std::vector<Expected>{
                 {Post::PostAndSendEventNow, Msg(28, 274, kOther).F32(20, 250.5f).U32(24, 1)},
                 {Post::ExecuteAndSendEvent, Msg(28, 94, kOwn).F32(20, 250.5f)}};
         }},
        {"SendPayLoan", [](CCountry& c) { c.SendPayLoan(kOther, 400, 8, kDue); },
         [&] { return loanRequest(97); }},
        {"SendExtendLoan", [](CCountry& c) { c.SendExtendLoan(kOther, 400, 8, kDue); },
         [&] { return loanRequest(98); }},
        {"SendCancelLoan", [](CCountry& c) { c.SendCancelLoan(kOther, 400, 8, kDue); },
         [&] { return loanRequest(96); }},
        {"SendUseDiplomat", [](CCountry& c) { c.SendUseDiplomat(9, 42); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteAndSendEvent, Msg(20, 86, kOwn)},
                 {Post::ExecuteAndSendEvent,
                  Msg(32, 199, kOwn).U32(20, 42).Date(24, CDate(11, 10, 1492))}};
         }},
        {"SendOfferAnnexation", [](CCountry& c) { c.SendOfferAnnexation(2); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteRequest, Msg(28, 224, g_diplomacyRequestsId).U32(20, 1).U32(24, 2)}};
         }},
        {"SendAcceptAnnexation", [](CCountry& c) { c.SendAcceptAnnexation(2); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteRequest, Msg(28, 225, g_diplomacyRequestsId).U32(20, 2).U32(24, 1)}};
         }},
        {"SendDeclineAnnexation", [](CCountry& c) { c.SendDeclineAnnexation(2); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteRequest, Msg(28, 226, g_diplomacyRequestsId).U32(20, 2).U32(24, 1)}};
         }},
        {"SendCreateAlliance", [](CCountry& c) { c.SendCreateAlliance(4, 2); },
         [] {
             const ObjectId alliance = NewId(1);
             return std::vector<Expected>{{Post::ExecuteAndSendEvent, Msg(52, 214, kOwn)
                                                                          .U32(24, alliance.type)
                                                                          .U32(28, alliance.number)
                                                                          .U32(32, 1)
                                                                          .Date(40, kToday)
                                                                          .U32(48, 4)},
                                          {Post::ExecuteRequest, Msg(36, 230, g_diplomacyRequestsId)
                                                                     .U32(20, 1)
                                                                     .U32(24, alliance.number)
                                                                     .U32(28, 2)
                                                                     .U32(32, 1)}};
         }},
        {"SendAskJoinAlliance", [](CCountry& c) { c.SendAskJoinAlliance(7, 2); },
         [&] { return allianceRequest(231); }},
        {"SendInviteAlliance", [](CCountry& c) { c.SendInviteAlliance(7, 2); },
         [&] { return allianceRequest(230); }},
        {"SendLeaveAlliance", [](CCountry& c) { c.SendLeaveAlliance(7, 2); },
         [&] { return allianceRequest(229); }},
        {"SendBannedFromAlliance", [](CCountry& c) { c.SendBannedFromAlliance(7, 2); },
         [&] { return allianceRequest(232); }},
        {"SendAcceptAllianceOffer", [](CCountry& c) { c.SendAcceptAllianceOffer(7, 2); },
         [&] { return allianceRequest(228); }},
        {"SendAcceptAllianceJoin", [](CCountry& c) { c.SendAcceptAllianceJoin(7, 2); },
         [&] { return allianceRequest(228); }},
        {"SendDeclineAllianceOffer", [](CCountry& c) { c.SendDeclineAllianceOffer(7, 2); },
         [&] { return allianceRequest(233); }},
        {"SendDeclineAllianceJoin", [](CCountry& c) { c.SendDeclineAllianceJoin(7, 2); },
         [&] { return allianceRequest(234); }},
        {"SendRelationRequest 25", [](CCountry& c) { c.SendRelationRequest(25, 2); },
         [&] { return relation(25, 250.0f); }},
        {"SendRelationRequest 26", [](CCountry& c) { c.SendRelationRequest(26, 2); },
         [&] { return relation(26, 100.0f); }},
        {"SendRelationRequest 27", [](CCountry& c) { c.SendRelationRequest(27, 2); },
         [&] { return relation(27, 25.0f); }},
        {"SendRelationRequest 3", [](CCountry& c) { c.SendRelationRequest(3, 2); },
         [&] { return relation(3, 0.0f); }},
        {"SendSetupWar", [](CCountry& c) { c.SendSetupWar(2); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteRequest, Msg(52, 238, g_diplomacyRequestsId).U32(44, 1).U32(48, 2)}};
         }},
        {"SendHonorAlliance", [&](CCountry& c) { c.SendHonorAlliance(eight); },
         [&] { return honor(Post::ExecuteRequest, 240, g_diplomacyRequestsId); }},
        {"SendDishonorAlliance", [&](CCountry& c) { c.SendDishonorAlliance(eight); },
         [&] { return honor(Post::ExecuteRequest, 239, g_diplomacyRequestsId); }},
        {"SendRequestHonorAlliance", [&](CCountry& c) { c.SendRequestHonorAlliance(2, eight); },
         [&] { return honor(Post::PostAndSendEventNow, 221, kOther); }},
        {"SendCreatePeaceOffer", [&](CCountry& c) { c.SendCreatePeaceOffer(2, terms); },
         [&] {
             Msg offer =
                 Msg(100, 237, g_diplomacyRequestsId).U32(20, 2).Id(24, NewId(1)).U32(32, 1);
             for (size_t i = 0; i < terms.size(); ++i)
                 offer.U32(36 + 4 * i, terms[i]);
             return std::vector<Expected>{{Post::ExecuteRequest, offer}};
         }},
        {"SendAcceptPeace", [](CCountry& c) { c.SendAcceptPeace(2, kUnit); },
         [&] { return peaceAnswer(235); }},
        {"SendDeclinePeace", [](CCountry& c) { c.SendDeclinePeace(2, kUnit); },
         [&] { return peaceAnswer(236); }},
        {"SendSiegeAssault",
         [](CCountry& c) {
             c.SendSiegeAssault({{4, kUnit}, {5, ObjectId(7, 9)}});
         },
         [] {
             return std::vector<Expected>{
                 {Post::PostRequestNow,
                  Msg(40, 33, g_combatRequestsId).U32(20, 4).Id(24, kUnit).Date(32, kToday)},
                 {Post::PostRequestNow, Msg(40, 33, g_combatRequestsId)
                                            .U32(20, 5)
                                            .Id(24, ObjectId(7, 9))
                                            .Date(32, kToday)}};
         }},
        {"SendRequestNativeAttack", [](CCountry& c) { c.SendRequestNativeAttack(17); },
         [] {
             return std::vector<Expected>{
                 {Post::PostRequestNow, Msg(24, 195, g_nativesRequestsId).U32(20, 17)}};
         }},
        {"SendStartExpandingFortress", [](CCountry& c) { c.SendStartExpandingFortress(17); },
         [] {
             const ObjectId works = NewId(1);
             return std::vector<Expected>{{Post::ExecuteRequest, Msg(36, 158, g_economyRequestsId)
                                                                     .U32(20, 17)
                                                                     .U32(24, works.type)
                                                                     .U32(28, works.number)
                                                                     .U32(32, 1)}};
         }},
        {"SendBuildArmy", [](CCountry& c) { c.SendBuildArmy(17, 3000, 1000, 2, kDue); },
         [&] { return army(132); }},
        {"SendCreateArmy", [](CCountry& c) { c.SendCreateArmy(17, 3000, 1000, 2, kDue); },
         [&] { return army(131); }},
        {"SendBuildFleet", [](CCountry& c) { c.SendBuildFleet(17, 4, 5, 6, kDue); },
         [&] { return fleet(134); }},
        {"SendCreateFleet", [](CCountry& c) { c.SendCreateFleet(17, 4, 5, 6, kDue); },
         [&] { return fleet(135); }},
        {"SendRefuseTrade", [](CCountry& c) { c.SendRefuseTrade(2); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteRequest, Msg(28, 242, g_diplomacyRequestsId).U32(20, 1).U32(24, 2)}};
         }},
        {"SendUnrefuseTrade", [](CCountry& c) { c.SendUnrefuseTrade(2); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteRequest, Msg(28, 243, g_diplomacyRequestsId).U32(20, 1).U32(24, 2)}};
         }},
        {"SendInvestmentChange",
         [](CCountry& c) {
             c.SendInvestmentChange({1, 2, 3, 4, 5, 6});
         },
         [] {
             return std::vector<Expected>{{Post::PostRequestNow, Msg(48, 175, g_economyRequestsId)
                                                                     .U32(20, 1)
                                                                     .U32(24, 2)
                                                                     .U32(28, 1)
                                                                     .U32(32, 3)
                                                                     .U32(36, 4)
                                                                     .U32(40, 5)
                                                                     .U32(44, 6)}};
         }},
        {"SendSetMaintenance", [](CCountry& c) { c.SendSetMaintenance(3, 4); },
         [] {
             return std::vector<Expected>{
                 {Post::PostRequestNow,
                  Msg(32, 212, g_economyRequestsId).U32(20, 1).U32(24, 3).U32(28, 4)}};
         }},
        {"SendAskShareExploration", [](CCountry& c) { c.SendAskShareExploration(2); },
         [&] { return exploration(269); }},
        {"SendAcceptShareExploration", [](CCountry& c) { c.SendAcceptShareExploration(2); },
         [&] { return exploration(270); }},
        {"SendDeclineShareExploration", [](CCountry& c) { c.SendDeclineShareExploration(2); },
         [&] { return exploration(271); }},
        {"SendStealExploration", [](CCountry& c) { c.SendStealExploration(2); },
         [] {
             return std::vector<Expected>{
                 {Post::PostAndSendEventNow, Msg(28, 272, kOwn).U32(20, 2)}};
         }},
        {"SendInviteToWarPact", [](CCountry& c) { c.SendInviteToWarPact(7, 8, 2); },
         [] {
             return std::vector<Expected>{{Post::PostAndSendEventNow,
                                           Msg(36, 181, kOther).U32(24, 7).U32(28, 8).U32(32, 1)}};
         }},
        {"SendMergeWar",
         [](CCountry& c) {
             c.SendMergeWar(2, {1, 2, 3, 4, 5});
         },
         [] {
             return std::vector<Expected>{
                 {Post::PostAndSendEventNow,
                  Msg(40, 182, kOther).U32(20, 1).U32(24, 2).U32(28, 3).U32(32, 4).U32(36, 5)}};
         }},
        {"SendGodMode on", [](CCountry& c) { c.SendGodMode(1); }, [&] { return headOnly(201, 1); }},
        {"SendGodMode any non-zero", [](CCountry& c) { c.SendGodMode(-7); },
         [&] { return headOnly(201, 1); }},
        {"SendGodMode off", [](CCountry& c) { c.SendGodMode(0); },
         [&] { return headOnly(202, 1); }},
        {"SendGetColonist", [](CCountry& c) { c.SendGetColonist(3); },
         [&] { return headOnly(88, 3); }},
        {"SendGetColonist of none", [](CCountry& c) { c.SendGetColonist(0); },
         [&] { return headOnly(88, 0); }},
        {"SendGetDiplomat", [](CCountry& c) { c.SendGetDiplomat(1); },
         [&] { return headOnly(90, 1); }},
        {"SendGetMerchant", [](CCountry& c) { c.SendGetMerchant(2); },
         [&] { return headOnly(89, 2); }},
        {"SendChangeTolerance",
         [](CCountry& c) {
             c.SendChangeTolerance({1.9f, -1.9f, 0.0f, 255.7f, -128.2f, 300.0f,
                                    std::numeric_limits<float>::quiet_NaN(), 1e20f});
         },
         [] {
             return std::vector<Expected>{{Post::ExecuteRequest, Msg(32, 264, g_economyRequestsId)
                                                                     .U32(20, 1)
                                                                     .U8(24, 1)
                                                                     .U8(25, 0xFF)
                                                                     .U8(26, 0)
                                                                     .U8(27, 255)
                                                                     .U8(28, 0x80)
                                                                     .U8(29, 300 & 0xFF)
                                                                     .U8(30, 0)
                                                                     .U8(31, 0xFF)}};
         }},
        {"SendChangeReligion", [](CCountry& c) { c.SendChangeReligion(5); },
         [] {
             return std::vector<Expected>{
                 {Post::ExecuteRequest, Msg(28, 266, g_economyRequestsId).U32(20, 1).U32(24, 5)}};
         }},
        {"SendCancelConstruction", [](CCountry& c) { c.SendCancelConstruction(9, 10); },
         [] {
             return std::vector<Expected>{{Post::ExecuteAndSendEvent,
                                           Msg(28, 280, g_unitRequestsId).U32(20, 9).U32(24, 10)}};
         }},
        {"SendStartBuildImprovement", [](CCountry& c) { c.SendStartBuildImprovement(17, 2); },
         [] {
             const ObjectId improvement = NewId(1);
             return std::vector<Expected>{{Post::PostRequestNow, Msg(40, 283, g_economyRequestsId)
                                                                     .U32(20, 17)
                                                                     .U32(24, 2)
                                                                     .U32(28, improvement.type)
                                                                     .U32(32, improvement.number)
                                                                     .U32(36, 1)}};
         }},
    };

    for (const Case& c : cases) {
        for (const bool client : {false, true}) {
            SCOPED_TRACE(c.name + (client ? " on a client" : " on the host"));
            Reset();
            session.m_isHost = client ? 0 : 1;
            const std::vector<Expected> expected = c.expect();
            GameSrand(kSeed);

            c.send(*g_countries[1]);

            // Run at once: what reached the receivers and what went out.
            std::vector<Delivery> now = std::move(g_delivered);
            g_delivered.clear();
            g_scheduler.FlushSend();
            std::vector<Bytes> sentNow = std::move(sent);
            sent.clear();

            // Queued: ready list first, then the dated messages.
            struct Queued {
                Bytes bytes;
                uint8_t send, local;
            };
            std::vector<Queued> queued;
            g_scheduler.ForEachEvent([&](COVEvent* e) {
                const COVEventData& p = e->Payload();
                queued.push_back(
                    {Bytes(p.Bytes(), p.Bytes() + p.Size()), e->GetSendFlag(), e->GetLocalFlag()});
            });
            const size_t readyCount = g_scheduler.GetCount() - (g_scheduler.IsHeapEmpty() ? 0 : 1);
            while (!g_scheduler.IsReadyEmpty())
                g_scheduler.RunOne();
            std::vector<Delivery> later = std::move(g_delivered);
            g_delivered.clear();
            g_scheduler.FlushSend();

            std::vector<Delivery> wantNow, wantLater;
            std::vector<Bytes> wantSentNow, wantSentLater;
            std::vector<Queued> wantQueued, wantHeap;
            for (const Expected& e : expected) {
                const Effect effect = EffectOf(e.post, client);
                const Delivery delivery{e.msg.Receiver(), e.msg.bytes, effect.send, effect.local};
                if (effect.where == Where::Now) {
                    if (effect.local)
                        wantNow.push_back(delivery);
                    if (effect.send)
                        wantSentNow.push_back(StampedToday(e.msg));
                    continue;
                }
                (effect.where == Where::Ready ? wantQueued : wantHeap)
                    .push_back({e.msg.bytes, effect.send, effect.local});
                if (effect.where == Where::Ready) {
                    if (effect.local)
                        wantLater.push_back(delivery);
                    if (effect.send)
                        wantSentLater.push_back(StampedToday(e.msg));
                }
            }
            const size_t wantReady = wantQueued.size();
            wantQueued.insert(wantQueued.end(), wantHeap.begin(), wantHeap.end());

            const auto sameDeliveries = [](const std::vector<Delivery>& got,
                                           const std::vector<Delivery>& want) {
                ASSERT_EQ(got.size(), want.size());
                for (size_t i = 0; i < got.size(); ++i) {
                    SCOPED_TRACE("message " + std::to_string(i));
                    EXPECT_EQ(got[i].via, want[i].via);
                    EXPECT_EQ(got[i].bytes, want[i].bytes);
                    EXPECT_EQ(got[i].send, want[i].send);
                    EXPECT_EQ(got[i].local, want[i].local);
                }
            };
            sameDeliveries(now, wantNow);
            EXPECT_EQ(sentNow, wantSentNow);
            EXPECT_EQ(readyCount, wantReady);
            ASSERT_EQ(queued.size(), wantQueued.size());
            for (size_t i = 0; i < queued.size(); ++i) {
                SCOPED_TRACE("queued " + std::to_string(i));
                EXPECT_EQ(queued[i].bytes, wantQueued[i].bytes);
                EXPECT_EQ(queued[i].send, wantQueued[i].send);
                EXPECT_EQ(queued[i].local, wantQueued[i].local);
            }
            sameDeliveries(later, wantLater);
            EXPECT_EQ(sent, wantSentLater);
        }
    }
}

TEST_F(SendersTest, ExpiringConstructionJoinsTheProvinceListFirst) {
    CProvince* province = GetProvince(17);
    ASSERT_NE(province, nullptr);
    province->GetConstructions().Clear();
    ScheduleExpireConstruction(1, 7, 17, kDue);
    EXPECT_EQ(province->GetConstructions().GetCount(), 1u);
    // No order is made for a province that does not exist, and no expiry
    // is posted for it.
    EXPECT_EQ(ScheduleExpireConstruction(1, 7, 5000, kDue), nullptr);
    EXPECT_EQ(g_scheduler.GetCount(), 1u);
    province->GetConstructions().Clear();
}

TEST_F(SendersTest, InTheTutorialEveryJourneySucceeds) {
    g_scenarioInfo = std::make_unique<ScenarioInfo>();
    g_scenarioInfo->tutorial = true;
    g_countries[1]->SendColonist(17, kTravel, -1, 100);
    g_countries[1]->SendTrader(17, kTravel, -1, 100);
    g_countries[1]->SendMerchant(17, 5, 120, kTravel, -50);
    g_scenarioInfo.reset();
    EXPECT_TRUE(g_scheduler.IsEmpty()); // no native attack
    ASSERT_EQ(g_delivered.size(), 3u);
    EXPECT_EQ(g_delivered[0].bytes.at(52), 1);
    EXPECT_EQ(g_delivered[1].bytes.at(52), 1);
    EXPECT_EQ(g_delivered[2].bytes.at(60), 1);
}

TEST_F(SendersTest, APeaceOfferArrivesWholeAndNamesItsSender) {
    session.m_isHost = 0;
    std::array<uint32_t, 16> terms{};
    terms[15] = 0xA5A5A5A5;
    g_countries[1]->SendCreatePeaceOffer(2, terms);
    g_scheduler.FlushSend();
    ASSERT_EQ(sent.size(), 1u);
    Bytes block = {static_cast<uint8_t>((sent[0].size() + 2) & 0xFF),
                   static_cast<uint8_t>((sent[0].size() + 2) >> 8), 0, 0};
    block.insert(block.end(), sent[0].begin(), sent[0].end());
    const std::unique_ptr<COVEvent> received = ReceiveEvent(block.data(), block.size());
    ASSERT_NE(received, nullptr);
    EXPECT_EQ(received->GetPayloadSize(), 100u);
    EXPECT_EQ(received->Payload().Get(COVPeaceOfferEvent::kTerms[15]), 0xA5A5A5A5u);
    EXPECT_EQ(received->GetExtraId(), kOwn);
}

} // namespace
