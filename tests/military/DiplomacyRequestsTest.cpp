// The host's diplomacy requests: the execution messages each request makes
// and where they go, the relation formula, the peace offer's money and
// provinces, the checks that drop a request, and malformed requests.
#include "military/server/DiplomacyRequests.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <memory>
#include <vector>

#include "country/Relations.h"
#include "engine/Random.h"
#include "tests/military/RequestServersFixture.h"

namespace {

constexpr uint32_t kAllianceNumber = 4711;

class DiplomacyRequestsTest : public test::RequestServersTest {
protected:
    void SetUp() override {
        RequestServersTest::SetUp();
        for (uint32_t n : {1u, 2u, 3u})
            Able(n);
    }

    // An alliance of the kind and members, the first leading.
    static CAlliance& Alliance(uint32_t type, std::vector<uint32_t> members) {
        auto alliance = std::make_unique<CAlliance>();
        alliance->Init();
        alliance->id = ObjectId(4712, kAllianceNumber);
        alliance->type = type;
        alliance->participants = std::move(members);
        CAlliance& made = *alliance;
        g_alliances.push_back(std::move(alliance));
        RebuildDiplomaticStatus();
        return made;
    }

    // An alliance request as the countries' senders build it.
    static std::unique_ptr<COVEvent> AllianceRequest(uint32_t type, uint32_t sender, uint32_t other,
                                                     uint32_t alliance = kAllianceNumber) {
        auto event = std::make_unique<COVAllianceEvent>(type, g_diplomacyRequestsId);
        COVEventData& payload = event->Payload();
        payload.Set(COVAllianceEvent::kCountry, sender);
        payload.Set(COVAllianceEvent::kFirst, alliance);
        payload.Set(COVAllianceEvent::kSecond, other);
        payload.Set(COVAllianceEvent::kExtraCountry, sender);
        return event;
    }

    // The peace offer of the offering country to the other, with the terms.
    static std::unique_ptr<COVPeaceOfferEvent> Offer(uint32_t offering, uint32_t other, float cash,
                                                     bool demanding,
                                                     std::vector<uint32_t> provinces = {}) {
        auto offer =
            std::make_unique<COVPeaceOfferEvent>(EVT_REQ_CREATE_PEACE_OFFER, g_diplomacyRequestsId);
        COVEventData& payload = offer->Payload();
        payload.Set(COVPeaceEvent::kOther, other);
        payload.Set(COVPeaceEvent::kOffer, ObjectId(4712, 900));
        payload.Set(COVPeaceEvent::kCountry, offering);
        const auto term = [&payload](size_t index, uint32_t value) {
            payload.Set(COVPeaceOfferEvent::kTerms[index], value);
        };
        term(PeaceOfferTerms::kTo, other);
        term(PeaceOfferTerms::kDemanding, demanding ? 1 : 0);
        term(PeaceOfferTerms::kProvinceCount, static_cast<uint32_t>(provinces.size()));
        for (size_t i = 0; i < provinces.size(); ++i)
            term(PeaceOfferTerms::kProvinces + i, provinces[i]);
        term(PeaceOfferTerms::kCash, std::bit_cast<uint32_t>(cash));
        return offer;
    }

    static uint32_t SentCountry(const COVEvent& event) {
        return event.Payload().Get(COVAllianceEvent::kSecond);
    }
};

TEST_F(DiplomacyRequestsTest, ARelationRequestChangesTheRelationByTheRolledFormula) {
    struct Case {
        uint32_t kind;
        float base;
    };
    const Case cases[] = {{25, 100.0f}, {26, 50.0f},   {27, 10.0f}, {28, -10.0f},
                          {29, -50.0f}, {30, -100.0f}, {31, 0.0f},  {3, 0.0f}};
    // Without a monarch the DIP is 3.
    const int32_t dip = CountryOfNumber(1)->GetMonarchDip();
    for (const Case& c : cases) {
        GameSrand(77 + c.kind);
        const int32_t d = dip - 1 + GameRand() % 3;
        const int32_t r = GameRand() % 100;
        GameSrand(77 + c.kind);
        COVDataEvent request(EVT_REQ_RELATION, g_diplomacyRequestsId);
        request.Payload().Set(RelationRequestPayload::kAmount, 0.0f);
        request.Payload().Set(RelationRequestPayload::kKind, c.kind);
        request.Payload().Set(RelationRequestPayload::kCountry, 1);
        request.Payload().Set(RelationRequestPayload::kOther, 2);
        const float before = CountryOfNumber(1)->m_diplomacy.GetRelation(2)->GetValue();
        EXPECT_EQ(HandleDiplomacyRequest(request), 0);
        const auto sent = TakeSent();
        ASSERT_EQ(Types(sent),
                  (std::vector<uint32_t>{EVT_USE_DIPLOMAT, EVT_SET_SEND_DATE, EVT_EXEC_RELATION}))
            << c.kind;
        const float change = static_cast<float>(r * d) * c.base * 0.0033f;
        const COVEventData& made = sent[2]->Payload();
        EXPECT_EQ(sent[2]->GetReceiver(), ObjectId(3, 1));
        EXPECT_FLOAT_EQ(made.Get(ExecRelationPayload::kChange), change) << c.kind;
        EXPECT_EQ(made.Get(ExecRelationPayload::kKind), c.kind);
        EXPECT_EQ(made.Get(ExecRelationPayload::kCountry), 1u);
        EXPECT_EQ(made.Get(ExecRelationPayload::kOther), 2u);
        EXPECT_EQ(sent[1]->Payload().Get(COVSendDateEvent::kValue), 2u);
        EXPECT_NEAR(CountryOfNumber(1)->m_diplomacy.GetRelation(2)->GetValue(), before + change,
                    0.01f)
            << c.kind;
    }
}

TEST_F(DiplomacyRequestsTest, APeaceOfferIsCarriedOutWithTheMoneyThePayerHolds) {
    struct Case {
        bool demanding; // the other country pays
        float cash;
        float offeringHolds;
        float otherHolds;
        float carried;
    };
    const Case cases[] = {
        {false, 500.0f, 120.0f, 9999.0f, 120.0f}, {true, 500.0f, 9999.0f, 120.0f, 120.0f},
        {false, 100.0f, 120.0f, 0.0f, 100.0f},    {false, 500.0f, -40.0f, 0.0f, 0.0f},
        {false, -30.0f, 0.0f, 0.0f, -30.0f},
    };
    for (const Case& c : cases) {
        CountryOfNumber(1)->m_treasury = c.offeringHolds;
        CountryOfNumber(2)->m_treasury = c.otherHolds;
        HandleDiplomacyRequest(*Offer(1, 2, c.cash, c.demanding));
        const auto sent = TakeSent();
        ASSERT_EQ(Types(sent), (std::vector<uint32_t>{EVT_EXEC_CREATE_PEACE_OFFER, EVT_USE_DIPLOMAT,
                                                      EVT_OFFER_PEACE, EVT_SET_SEND_DATE}))
            << c.cash;
        const uint32_t cash =
            sent[0]->Payload().Get(COVPeaceOfferEvent::kTerms[PeaceOfferTerms::kCash]);
        EXPECT_FLOAT_EQ(std::bit_cast<float>(cash), c.carried) << c.cash << " " << c.demanding;
        EXPECT_EQ(sent[0]->GetReceiver(), ObjectId(3, 1));
        EXPECT_EQ(sent[2]->GetReceiver(), ObjectId(3, 2));
        EXPECT_EQ(sent[2]->Payload().Get(COVPeaceEvent::kCountry), 1u);
        EXPECT_EQ(sent[2]->Payload().Get(COVPeaceEvent::kOffer), ObjectId(4712, 900));
        g_peaceOffers.clear();
    }
}

TEST_F(DiplomacyRequestsTest, ADemandingOfferTellsTheOwnersOfTheProvincesAskedFor) {
    // Province 13 is country 3's capital, 12 country 2's, 40 nobody's.
    HandleDiplomacyRequest(*Offer(1, 2, 0.0f, true, {13, 12, 40}));
    auto sent = TakeSent();
    ASSERT_EQ(Types(sent),
              (std::vector<uint32_t>{EVT_EXEC_CREATE_PEACE_OFFER, EVT_USE_DIPLOMAT, EVT_OFFER_PEACE,
                                     EVT_SET_SEND_DATE, EVT_OFFER_PEACE, EVT_SET_SEND_DATE}));
    EXPECT_EQ(sent[4]->GetReceiver(), ObjectId(3, 3));
    EXPECT_EQ(sent[5]->Payload().Get(COVSendDateEvent::kValue), 3u);
    g_peaceOffers.clear();

    // Six slots at most are walked, and ids out of range are passed over;
    // a count above six is refused.
    auto wide = Offer(1, 2, 0.0f, true, {0, 5000, 12, 40, 1473, 13});
    HandleDiplomacyRequest(*wide);
    sent = TakeSent();
    EXPECT_EQ(sent.size(), 6u);
    auto tooMany = Offer(1, 2, 0.0f, true, {13, 13, 13});
    tooMany->Payload().Set(COVPeaceOfferEvent::kTerms[PeaceOfferTerms::kProvinceCount], 7000);
    HandleDiplomacyRequest(*tooMany);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(DiplomacyRequestsTest, PeaceAnswersAndDeclinesNeedAWarOrALeader) {
    COVPeaceEvent decline(EVT_REQ_DECLINE_PEACE, g_diplomacyRequestsId, 1, ObjectId(4712, 900), 2);
    HandleDiplomacyRequest(*Offer(1, 2, 0.0f, false)); // makes offer {4712, 900}
    TakeSent();
    HandleDiplomacyRequest(decline);
    EXPECT_TRUE(TakeSent().empty());
    CountryOfNumber(1)->SetAtWarWith(2);
    // An offer that no longer exists is refused.
    COVPeaceEvent stale(EVT_REQ_DECLINE_PEACE, g_diplomacyRequestsId, 1, ObjectId(4712, 901), 2);
    HandleDiplomacyRequest(stale);
    EXPECT_TRUE(TakeSent().empty());
    HandleDiplomacyRequest(decline);
    EXPECT_EQ(Types(TakeSent()), std::vector<uint32_t>{EVT_EXEC_DECLINE_PEACE});

    // A request to join declined by an alliance without members.
    Alliance(ALLIANCE_MILITARY, {});
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_DECLINE_ALLIANCE_JOIN, 1, 3));
    EXPECT_TRUE(TakeSent().empty());
    g_alliances.front()->participants = {1};
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_DECLINE_ALLIANCE_JOIN, 1, 3));
    const auto sent = TakeSent();
    ASSERT_EQ(Types(sent),
              (std::vector<uint32_t>{EVT_EXEC_DECLINE_ALLIANCE_JOIN, EVT_ALLIANCE_SUB_OFFER}));
    EXPECT_EQ(sent[0]->GetReceiver(), ObjectId(3, 3));
    EXPECT_EQ(SentCountry(*sent[0]), 1u); // the leader
}

TEST_F(DiplomacyRequestsTest, AllianceRequestsGoWhereTheirChecksAllow) {
    Alliance(ALLIANCE_MILITARY, {1, 2});
    // A member that does not lead may not destroy it; the leader does,
    // through its diplomat.
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_DESTROY_ALLIANCE, 2, 2));
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(g_alliances.size(), 1u);
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_DESTROY_ALLIANCE, 1, 1));
    EXPECT_EQ(Types(TakeSent()), (std::vector<uint32_t>{EVT_USE_DIPLOMAT, EVT_SET_SEND_DATE,
                                                        EVT_EXEC_DESTROY_ALLIANCE}));
    EXPECT_TRUE(g_alliances.empty());

    // An invitation into an alliance of one that the invited country may
    // not join (it is at war with the leader) still takes back the offer.
    CAlliance& small = Alliance(ALLIANCE_MILITARY, {1});
    CountryOfNumber(3)->SetAtWarWith(1);
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_INVITE_ALLIANCE, 1, 3));
    auto sent = TakeSent();
    ASSERT_EQ(Types(sent), std::vector<uint32_t>{EVT_ALLIANCE_SUB_OFFER});
    EXPECT_EQ(sent[0]->GetReceiver(), ObjectId(3, 3));

    // One it may join: the pending offer is marked, the invitation goes
    // through the inviting country's diplomat, then the offer is counted.
    CountryOfNumber(3)->m_diplomacy.GetRelation(1)->atWar = 0;
    CountryOfNumber(1)->m_diplomacy.GetRelation(3)->atWar = 0;
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_INVITE_ALLIANCE, 1, 3));
    sent = TakeSent();
    ASSERT_EQ(Types(sent),
              (std::vector<uint32_t>{EVT_USE_DIPLOMAT, EVT_SET_SEND_DATE, EVT_EXEC_INVITE_ALLIANCE,
                                     EVT_ALLIANCE_ADD_OFFER, EVT_ALLIANCE_SUB_OFFER}));
    EXPECT_EQ(sent[1]->Payload().Get(COVSendDateEvent::kValue), 3u);
    EXPECT_EQ(sent[2]->GetReceiver(), ObjectId(3, 3));
    EXPECT_EQ(SentCountry(*sent[2]), 1u);

    // The invited country accepts: it joins, and the inviting one hears.
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_JOIN_ALLIANCE, 3, 1));
    sent = TakeSent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0]->GetType(), EVT_EXEC_JOIN_ALLIANCE);
    EXPECT_EQ(sent[0]->GetReceiver(), ObjectId(3, 1));
    EXPECT_EQ(SentCountry(*sent[0]), 3u);
    EXPECT_EQ(small.participants, (std::vector<uint32_t>{1, 3}));
    // Joining twice is refused.
    HandleDiplomacyRequest(*AllianceRequest(EVT_REQ_JOIN_ALLIANCE, 3, 1));
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(DiplomacyRequestsTest, WarSetUpAndCallsToArms) {
    COVWarEvent war(EVT_REQ_SETUP_WAR, g_diplomacyRequestsId,
                    std::array<uint32_t, 8>{0, 0, 0, 0, 0, 0, 1, 2});
    HandleDiplomacyRequest(war);
    auto sent = TakeSent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[2]->GetType(), EVT_EXEC_SETUP_WAR);
    EXPECT_EQ(sent[2]->GetReceiver(), ObjectId(3, 1));
    // Three new ids: the war, its attackers and its defenders.
    const COVEventData& made = sent[2]->Payload();
    std::vector<uint32_t> words;
    for (size_t i = 0; i < 6; ++i)
        words.push_back(made.Get(COVWarEvent::kAlliances[i]));
    EXPECT_NE(words[1], words[3]);
    EXPECT_NE(words[3], words[5]);
    EXPECT_NE(words[1], 0u);
    ASSERT_EQ(g_wars.size(), 1u);
    EXPECT_TRUE(CountryOfNumber(1)->m_diplomacy.IsAtWarWith(2));

    // Honouring a call against a country one is at war with is dropped;
    // against another the answer is carried out and war is held back.
    COVDataEvent honor(EVT_REQ_HONOR_ALLIANCE, g_diplomacyRequestsId);
    honor.Payload().Set(HonorAlliancePayload::kCountry, 1);
    honor.Payload().Set(HonorAlliancePayload::kValues[6], 2);
    HandleDiplomacyRequest(honor);
    EXPECT_TRUE(TakeSent().empty());
    honor.Payload().Set(HonorAlliancePayload::kValues[6], 3);
    HandleDiplomacyRequest(honor);
    sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0]->GetType(), EVT_EXEC_HONOR_ALLIANCE);
    EXPECT_TRUE(CountryOfNumber(1)->m_diplomacy.GetRelation(3)->warBlocked);
}

TEST_F(DiplomacyRequestsTest, MalformedRequestsAreRefusedAndClientsIgnoreAll) {
    std::vector<std::unique_ptr<COVEvent>> requests;
    auto relation = std::make_unique<COVDataEvent>(EVT_REQ_RELATION, g_diplomacyRequestsId);
    relation->Payload().Set(RelationRequestPayload::kCountry, 1);
    relation->Payload().Set(RelationRequestPayload::kOther, 120);
    requests.push_back(std::move(relation));
    auto trade = std::make_unique<COVDataEvent>(EVT_REQ_REFUSETRADE, g_diplomacyRequestsId);
    trade->Payload().Set(PairPayload::kFirst, 99);
    requests.push_back(std::move(trade));
    // An alliance that no longer exists, a war that never did, an empty
    // country slot.
    requests.push_back(AllianceRequest(EVT_REQ_LEAVE_ALLIANCE, 1, 2, 555));
    auto separate = std::make_unique<COVDataEvent>(EVT_UNNAMED_217, g_diplomacyRequestsId);
    separate->Payload().Set(SeparatePeaceRequestPayload::kWar, ObjectId(4712, 31));
    requests.push_back(std::move(separate));
    requests.push_back(std::make_unique<COVAnnexationEvent>(EVT_REQ_DECLINE_ANNEXATION,
                                                            g_diplomacyRequestsId, 1, 50));
    requests.push_back(Offer(1, 140, 0.0f, false));
    for (const auto& request : requests) {
        EXPECT_EQ(HandleDiplomacyRequest(*request), 0) << request->GetType();
        EXPECT_TRUE(TakeSent().empty()) << request->GetType();
    }

    BecomeClient();
    HandleDiplomacyRequest(*std::make_unique<COVAnnexationEvent>(EVT_REQ_DECLINE_ANNEXATION,
                                                                 g_diplomacyRequestsId, 1, 2));
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(DiplomacyRequestsTest, ASeparatePeaceSplitsTheWarWithSixNewIds) {
    COVWarEvent war(EVT_REQ_SETUP_WAR, g_diplomacyRequestsId,
                    std::array<uint32_t, 8>{0, 0, 0, 0, 0, 0, 1, 2});
    HandleDiplomacyRequest(war);
    TakeSent();
    ASSERT_EQ(g_wars.size(), 1u);
    COVDataEvent separate(EVT_UNNAMED_217, g_diplomacyRequestsId);
    separate.Payload().Set(SeparatePeaceRequestPayload::kWar, g_wars.front()->id);
    separate.Payload().Set(SeparatePeaceRequestPayload::kAttacker, 2);
    separate.Payload().Set(SeparatePeaceRequestPayload::kDefender, 1);
    HandleDiplomacyRequest(separate); // the sides the wrong way round
    EXPECT_TRUE(TakeSent().empty());
    separate.Payload().Set(SeparatePeaceRequestPayload::kAttacker, 1);
    separate.Payload().Set(SeparatePeaceRequestPayload::kDefender, 2);
    const ObjectId warId = g_wars.front()->id;
    HandleDiplomacyRequest(separate);
    const auto sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0]->GetType(), EVT_UNNAMED_218);
    const COVEventData& made = sent[0]->Payload();
    EXPECT_EQ(made.Get(SplitWarPayload::kWar), warId);
    // The ids in the order taken: first war, first defenders, second
    // attackers, first attackers, second war, second defenders.
    const uint32_t first = made.Get(SplitWarPayload::kFirstWar).number;
    EXPECT_EQ(made.Get(SplitWarPayload::kFirstDefenders).number, first + 1);
    EXPECT_EQ(made.Get(SplitWarPayload::kSecondAttackers).number, first + 2);
    EXPECT_EQ(made.Get(SplitWarPayload::kFirstAttackers).number, first + 3);
    EXPECT_EQ(made.Get(SplitWarPayload::kSecondWar).number, first + 4);
    EXPECT_EQ(made.Get(SplitWarPayload::kSecondDefenders).number, first + 5);
    EXPECT_EQ(made.Get(SplitWarPayload::kFirstCountry), 1u);
    EXPECT_EQ(made.Get(SplitWarPayload::kSecondCountry), 2u);
}

} // namespace
