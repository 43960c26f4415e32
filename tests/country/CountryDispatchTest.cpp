// The country's message dispatch: every type with a handler reaches it and
// its answer comes back unchanged; the types without one go on to the units
// and the rest of the country.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "engine/Config.h"
#include "net/EventTypes.h"
#include "tests/TestSupport.h"

namespace {

constexpr int kHandlerAnswer = 42;

// Records the name of every handler called and answers kHandlerAnswer.
class RecordingCountry : public CCountry {
public:
    explicit RecordingCountry(uint32_t number) : CCountry(number) {}

#define ORV_RECORD_HANDLER(name)                                                                   \
    int name(COVEvent&) override {                                                                 \
        calls.push_back(#name);                                                                    \
        return kHandlerAnswer;                                                                     \
    }
    ORV_COUNTRY_HANDLERS(ORV_RECORD_HANDLER, ORV_RECORD_HANDLER)
#undef ORV_RECORD_HANDLER
    int OnUnhandledMessage(COVEvent& event) override {
        calls.push_back("OnUnhandledMessage");
        return CCountry::OnUnhandledMessage(event);
    }
    int OnSetGodMode(int enable) override {
        calls.push_back("OnSetGodMode " + std::to_string(enable));
        return kHandlerAnswer;
    }

    std::vector<std::string> calls;
};

struct Row {
    uint32_t type;
    const char* handler;
};

// The dispatch table, type by type.
const Row kRows[] = {
    {21, "OnTimerMonth"},
    {22, "OnTimerYear"},
    {23, "OnTimerTickLoop"},
    {51, "OnUnitDelete"},
    {52, "OnUnitLosses"},
    {56, "OnRenameObject"},
    {59, "OnBuildFacility"},
    {68, "OnDisbandUnit"},
    {78, "OnGameStarted"},
    {84, "OnExceptionalTaxes"},
    {85, "OnUseColonist"},
    {86, "OnUseDiplomat"},
    {87, "OnUseMerchant"},
    {88, "OnGetColonist"},
    {89, "OnGetMerchant"},
    {90, "OnGetDiplomat"},
    {93, "OnGainMoney"},
    {94, "OnLoseMoney"},
    {99, "OnExecGetLoan"},
    {100, "OnExecCancelLoan"},
    {101, "OnExecPayLoan"},
    {102, "OnExecExtendLoan"},
    {103, "OnUnhandledMessage"},
    {104, "OnUnhandledMessage"},
    {105, "OnAcceptLoanMsg"},
    {106, "OnDeclineLoanMsg"},
    {113, "OnTransferInfantry"},
    {114, "OnTransferArtillery"},
    {115, "OnTransferCavalry"},
    {116, "OnTransferWarships"},
    {117, "OnTransferTransports"},
    {118, "OnTransferGalleys"},
    {119, "OnTransferAllArmies"},
    {120, "OnTransferAllLeaders"},
    {122, "OnTransferOneLeader"},
    {123, "OnRemoveManufactory"},
    {125, "OnExecBuildFacility"},
    {126, "OnBuildFacilityFailed"},
    {127, "OnIncreaseStability"},
    {128, "OnDecreaseStability"},
    {130, "OnExecBoostInvestment"},
    {131, "OnCreateArmy"},
    {132, "OnBuildArmy"},
    {133, "OnCreateArmyOnFleet"},
    {134, "OnBuildFleet"},
    {135, "OnCreateFleet"},
    {136, "OnProvChangeControl"},
    {137, "OnProvBattleWon"},
    {138, "OnProvBattleLost"},
    {139, "OnProvSiegeWon"},
    {140, "OnProvSiegeLost"},
    {141, "OnDiscoverProvince"},
    {142, "OnUnhandledMessage"},
    {144, "OnLoseTradeLevel"},
    {145, "OnSendColonist"},
    {146, "OnColonise"},
    {147, "OnColonistArrived"},
    {148, "OnColonisationFailed"},
    {149, "OnColonisationBounced"},
    {150, "OnSendTrader"},
    {151, "OnTraderArrived"},
    {152, "OnEstablishTradepost"},
    {153, "OnEstablishTradepostFailed"},
    {154, "OnColonisationBounced"},
    {155, "OnSendMerchant"},
    {156, "OnReqMerchantSuccess"},
    {157, "OnExecMerchantSuccess"},
    {159, "OnExecStartExpandingFortress"},
    {160, "OnExpandFortress"},
    {161, "OnGiveCB"},
    {164, "OnUnhandledMessage"},
    {165, "OnCreateLeader"},
    {166, "OnActivateLeader"},
    {169, "OnKillLeader"},
    {171, "OnCreateMonarch"},
    {172, "OnSetMonarchValues"},
    {174, "OnActivateMonarch"},
    {176, "OnInvestmentChange"},
    {181, "OnUnhandledMessage"},
    {182, "OnMergeWar"},
    {183, "OnUnhandledMessage"},
    {185, "OnExecuteEvent"},
    {186, "OnMissionActivated"},
    {188, "OnRequestNewMission"},
    {189, "OnMissionCompleted"},
    {190, "OnMissionFailed"},
    {192, "OnCreateCountry"},
    {193, "OnInflation"},
    {199, "OnSetSendDate"},
    {200, "OnSwitchAllegiance"},
    {208, "OnUnhandledMessage"},
    {210, "OnMessage210"},
    {213, "OnSetMaintenance"},
    {214, "OnCreateAlliance"},
    {215, "OnAllianceAddOffer"},
    {216, "OnAllianceSubOffer"},
    {218, "OnMessage218"},
    {219, "OnWeDeclareWar"},
    {220, "OnTheyDeclareWar"},
    {221, "OnRequestHonorAlliance"},
    {222, "OnJoinWar"},
    {223, "OnOfferPeace"},
    {244, "OnUnhandledMessage"},
    {245, "OnExecSetAnnexation"},
    {246, "OnExecDeclineAnnexation"},
    {247, "OnExecDestroyAlliance"},
    {248, "OnExecJoinAlliance"},
    {249, "OnExecLeaveAlliance"},
    {250, "OnExecInviteAlliance"},
    {251, "OnExecInviteAlliance"},
    {252, "OnExecBannedFromAlliance"},
    {253, "OnExecDeclineAllianceOffer"},
    {254, "OnExecDeclineAllianceJoin"},
    {255, "OnExecAcceptPeace"},
    {256, "OnExecDeclinePeace"},
    {257, "OnExecCreatePeaceOffer"},
    {258, "OnExecSetupWar"},
    {259, "OnExecDishonorAlliance"},
    {260, "OnExecHonorAlliance"},
    {262, "OnExecRefuseTrade"},
    {263, "OnExecUnrefuseTrade"},
    {265, "OnExecChangeTolerance"},
    {267, "OnExecChangeReligion"},
    {269, "OnUnhandledMessage"},
    {270, "OnAcceptShareExploration"},
    {271, "OnUnhandledMessage"},
    {272, "OnStealExploration"},
    {273, "OnDiscoverCountry"},
    {274, "OnSendGift"},
    {276, "OnExecDestroyTPost"},
    {277, "OnCountryBroken"},
    {279, "OnNewEmperor"},
    {281, "OnCancelConstruction"},
    {284, "OnExecStartBuildImprovement"},
    {285, "OnFinishBuildImprovement"},
    {288, "OnChangeTE"},
    {289, "OnChangePE"},
    {290, "OnTradeRestrictions"},
    {291, "OnCreateCot"},
    {292, "OnCreateBank"},
    {293, "OnCreateStock"},
    {294, "OnGoldLost"},
    {297, "OnExecRelation"},
    {304, "OnWhitePeace"},
    {315, "OnCheckEcoData"},
    {316, "OnUnitSizeLosses"},
};

class CountryDispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedMilitary = g_countryMilitary;
        g_config = std::make_unique<CConfig>();
    }
    void TearDown() override {
        g_countryMilitary = m_savedMilitary;
        g_config.reset();
    }

    COVDataEvent Message(uint32_t type) {
        return COVDataEvent(type, ObjectId(kCountryObjectType, 1));
    }

    RecordingCountry country{1};
    CountryMilitaryHooks m_savedMilitary;
};

TEST_F(CountryDispatchTest, EveryRowReachesItsHandlerAndItsAnswerComesBack) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.type);
        country.calls.clear();
        COVDataEvent event = Message(row.type);
        const int expected =
            std::string(row.handler) == "OnUnhandledMessage" ? EVENT_CONSUMED : kHandlerAnswer;
        EXPECT_EQ(country.HandleMessage(event), expected);
        EXPECT_EQ(country.calls, std::vector<std::string>{row.handler});
    }
}

TEST_F(CountryDispatchTest, GodModeTypesPassTheirArgumentAndOthersReachNoHandler) {
    COVDataEvent enable = Message(EVT_ENABLE_GODMODE);
    COVDataEvent disable = Message(EVT_DISABLE_GODMODE);
    EXPECT_EQ(country.HandleMessage(enable), kHandlerAnswer);
    EXPECT_EQ(country.HandleMessage(disable), kHandlerAnswer);
    EXPECT_EQ(country.calls, (std::vector<std::string>{"OnSetGodMode 1", "OnSetGodMode 0"}));

    // Type 191 is a direct call that no variant replaces; the minister
    // types go to the minister table.
    country.calls.clear();
    for (uint32_t type : {EVT_UNNAMED_191, EVT_SET_MINISTER, EVT_REMOVE_MINISTER}) {
        COVDataEvent event = Message(type);
        country.HandleMessage(event);
    }
    EXPECT_TRUE(country.calls.empty());
}

TEST_F(CountryDispatchTest, BaseVictoryPointsCountOnlyWithTheOption) {
    COVDataEvent event = Message(EVT_UNNAMED_314);
    event.Payload().Set(BaseVictoryPointsPayload::kKind, 2u);
    event.Payload().Set(BaseVictoryPointsPayload::kAmount, 1.5f);

    EXPECT_EQ(country.HandleMessage(event), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_baseVp.values[2], 0.0f);
    EXPECT_FLOAT_EQ(country.m_rankScore, 0.0f);

    g_config->SetWord(ConfigOffset::kBaseVictoryPoints, 1);
    EXPECT_EQ(country.HandleMessage(event), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_baseVp.values[2], 1.5f);
    EXPECT_FLOAT_EQ(country.m_rankScore, 1.5f);

    // A kind outside the seven categories changes nothing.
    event.Payload().Set(BaseVictoryPointsPayload::kKind, 7u);
    EXPECT_EQ(country.HandleMessage(event), EVENT_CONSUMED);
    EXPECT_FLOAT_EQ(country.m_rankScore, 1.5f);
    EXPECT_TRUE(country.calls.empty());
}

// The units of both lists are fakes: the message operation records the
// unit and answers what the unit's entry says.
std::vector<std::pair<uintptr_t, uint32_t>> g_offered;
std::vector<int> g_unitAnswers;

int RecordUnitMessage(CUnit& unit, COVEvent& event) {
    const auto index = reinterpret_cast<uintptr_t>(&unit);
    g_offered.emplace_back(index, event.GetType());
    return g_unitAnswers.at(index - 1);
}

CUnit* FakeUnit(uintptr_t index) {
    return reinterpret_cast<CUnit*>(index);
}

TEST_F(CountryDispatchTest, TypesWithoutARowFallThroughToTheUnitsInOrder) {
    g_countryMilitary.unitMessage = &RecordUnitMessage;
    g_countryMilitary.deleteUnits = [](const std::vector<CUnit*>&) {};
    country.m_units.AddTail(FakeUnit(1));
    country.m_units.AddTail(FakeUnit(2));
    country.m_units.AddTail(FakeUnit(3));
    country.m_unitsInDevelopment.AddTail(FakeUnit(4));
    country.m_unitsInDevelopment.AddTail(FakeUnit(5));
    using Offers = std::vector<std::pair<uintptr_t, uint32_t>>;

    // Unit 2 takes the message: unit 3 is passed by, the second list is
    // still offered it (and its first unit takes it).
    g_unitAnswers = {EVENT_NOT_HANDLED, EVENT_CONSUMED, EVENT_NOT_HANDLED, EVENT_CONSUMED,
                     EVENT_NOT_HANDLED};
    for (uint32_t type : {5u, 24u, 300u}) { // below 21, a gap in the table, a gap near the end
        SCOPED_TRACE(type);
        g_offered.clear();
        COVDataEvent event = Message(type);
        EXPECT_EQ(country.HandleMessage(event), EVENT_NOT_HANDLED);
        EXPECT_EQ(g_offered, (Offers{{1, type}, {2, type}, {4, type}}));
    }
    EXPECT_TRUE(country.calls.empty());

    // The window refresh never reaches the units.
    g_offered.clear();
    COVDataEvent refresh = Message(EVT_REFRESHWINDOWS);
    EXPECT_EQ(country.HandleMessage(refresh), EVENT_NOT_HANDLED);
    EXPECT_TRUE(g_offered.empty());

    // A type with a row never reaches the units.
    COVDataEvent month = Message(EVT_TIMER_MONTH);
    country.HandleMessage(month);
    EXPECT_TRUE(g_offered.empty());

    // The second list's own distribution replaces the unit-by-unit offer.
    static std::vector<uint32_t> distributed;
    g_countryMilitary.unitListMessage = [](CLinkedList<CUnit>& units, COVEvent& event) {
        distributed.push_back(units.GetCount() * 1000 + event.GetType());
        return EVENT_NOT_HANDLED;
    };
    g_unitAnswers = {EVENT_NOT_HANDLED, EVENT_NOT_HANDLED, EVENT_NOT_HANDLED, EVENT_CONSUMED,
                     EVENT_CONSUMED};
    COVDataEvent other = Message(24);
    country.HandleMessage(other);
    EXPECT_EQ(g_offered, (Offers{{1, 24}, {2, 24}, {3, 24}}));
    EXPECT_EQ(distributed, std::vector<uint32_t>{2024});

    country.m_units.RemoveAll();
    country.m_unitsInDevelopment.RemoveAll();
}

} // namespace
