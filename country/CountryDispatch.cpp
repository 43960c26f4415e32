// The country's message dispatch: each message type that a country takes
// has a handler, a virtual operation that the variants replace; the types
// without one go on to the country's units, its diplomacy block, its
// trading posts and its cities.
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/PayloadChecks.h"
#include "engine/Config.h"
#include "net/EventTypes.h"
#include "world/City.h"
#include "world/GameNotices.h"
#include "world/Globals.h"
#include "world/TradingPost.h"

namespace {

// Offers the message to each unit of the list until one answers.
int OfferToUnits(CLinkedList<CUnit>& units, COVEvent& event) {
    const auto unitMessage = g_countryMilitary.unitMessage;
    if (!unitMessage)
        return EVENT_NOT_HANDLED;
    std::vector<CUnit*> items;
    units.ForEach([&items](CUnit* unit) { items.push_back(unit); });
    for (CUnit* unit : items)
        if (unit && unitMessage(*unit, event) != EVENT_NOT_HANDLED)
            return EVENT_CONSUMED;
    return EVENT_NOT_HANDLED;
}

// The settlements take messages once they have a message operation
// (HandleEvent); until then none is taken. The provinces own them, so an
// answer of OWNED_ITEM_DELETE only takes the settlement off the country's
// list, and OWNED_ITEM_MOVE_TO_END moves it to the tail.
template <class T> int OfferToSettlements(CLinkedList<T>& list, COVEvent& event) {
    if constexpr (requires(T & item) { item.HandleEvent(event); }) {
        std::vector<T*> items;
        list.ForEach([&items](T* item) { items.push_back(item); });
        for (T* item : items) {
            if (!item || !list.Contains(item))
                continue;
            const int answer = item->HandleEvent(event);
            if (answer == EVENT_NOT_HANDLED)
                continue;
            if (answer == OWNED_ITEM_DELETE) {
                list.Remove(item);
            } else if (answer == OWNED_ITEM_MOVE_TO_END) {
                list.Remove(item);
                list.AddTail(item);
            }
            return EVENT_CONSUMED;
        }
    }
    return EVENT_NOT_HANDLED;
}

// Offers the message to the units, those in development through the
// military's list handler when there is one, and then to the diplomacy.
void OfferToUnitsAndDiplomacy(CLinkedList<CUnit>& units, CLinkedList<CUnit>& inDevelopment,
                              CCountryDiplomacy& diplomacy, COVEvent& event) {
    OfferToUnits(units, event);
    if (g_countryMilitary.unitListMessage)
        g_countryMilitary.unitListMessage(inDevelopment, event);
    else
        OfferToUnits(inDevelopment, event);
    diplomacy.HandleEvent(event);
}

} // namespace

int CCountry::HandleMessage(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_TIMER_MONTH:
        return OnTimerMonth(event);
    case EVT_TIMER_YEAR:
        return OnTimerYear(event);
    case EVT_TIMER_TICK_LOOP:
        return OnTimerTickLoop(event);
    case EVT_UNITDELETE:
        return OnUnitDelete(event);
    case EVT_UNITLOSSES:
        return OnUnitLosses(event);
    case EVT_RENAME_OBJECT:
        return OnRenameObject(event);
    case EVT_BUILD_FACILITY:
        return OnBuildFacility(event);
    case EVT_DISBAND_UNIT:
        return OnDisbandUnit(event);
    case EVT_GAME_STARTED:
        return OnGameStarted(event);
    case EVT_EXCEPTIONAL_TAXES:
        return OnExceptionalTaxes(event);
    case EVT_USE_COLONIST:
        return OnUseColonist(event);
    case EVT_USE_DIPLOMAT:
        return OnUseDiplomat(event);
    case EVT_USE_MERCHANT:
        return OnUseMerchant(event);
    case EVT_GET_COLONIST:
        return OnGetColonist(event);
    case EVT_GET_MERCHANT:
        return OnGetMerchant(event);
    case EVT_GET_DIPLOMAT:
        return OnGetDiplomat(event);
    case EVT_GAINMONEY:
        return OnGainMoney(event);
    case EVT_LOSEMONEY:
        return OnLoseMoney(event);
    case EVT_EXEC_GETLOAN:
        return OnExecGetLoan(event);
    case EVT_EXEC_CANCELLOAN:
        return OnExecCancelLoan(event);
    case EVT_EXEC_PAYLOAN:
        return OnExecPayLoan(event);
    case EVT_EXEC_EXTENDLOAN:
        return OnExecExtendLoan(event);
    case EVT_ASKEXTENDLOAN:
        return OnUnhandledMessage(event);
    case EVT_OFFERLOAN:
        return OnUnhandledMessage(event);
    case EVT_ACCEPTLOANMSG:
        return OnAcceptLoanMsg(event);
    case EVT_DECLINELOANMSG:
        return OnDeclineLoanMsg(event);
    case EVT_TRANSFER_INFANTRY:
        return OnTransferInfantry(event);
    case EVT_TRANSFER_ARTILLERY:
        return OnTransferArtillery(event);
    case EVT_TRANSFER_CAVALRY:
        return OnTransferCavalry(event);
    case EVT_TRANSFER_WARSHIPS:
        return OnTransferWarships(event);
    case EVT_TRANSFER_TRANSPORTS:
        return OnTransferTransports(event);
    case EVT_TRANSFER_GALLEYS:
        return OnTransferGalleys(event);
    case EVT_TRANSFER_ALL_ARMIES:
        return OnTransferAllArmies(event);
    case EVT_TRANSFER_ALL_LEADERS:
        return OnTransferAllLeaders(event);
    case EVT_TRANSFER_ONE_LEADER:
        return OnTransferOneLeader(event);
    case EVT_UNNAMED_123:
        return OnRemoveManufactory(event);
    case EVT_EXEC_BUILD_FACILITY:
        return OnExecBuildFacility(event);
    case EVT_BUILDFACILITY_FAILED:
        return OnBuildFacilityFailed(event);
    case EVT_INCREASE_STABILITY:
        return OnIncreaseStability(event);
    case EVT_DECREASE_STABILITY:
        return OnDecreaseStability(event);
    case EVT_EXEC_BOOST_INVESTMENT:
        return OnExecBoostInvestment(event);
    case EVT_CREATE_ARMY:
        return OnCreateArmy(event);
    case EVT_BUILD_ARMY:
        return OnBuildArmy(event);
    case EVT_CREATE_ARMY_ON_FLEET:
        return OnCreateArmyOnFleet(event);
    case EVT_BUILD_FLEET:
        return OnBuildFleet(event);
    case EVT_CREATE_FLEET:
        return OnCreateFleet(event);
    case EVT_PROVCHANGECONTROL:
        return OnProvChangeControl(event);
    case EVT_PROVBATTLEWON:
        return OnProvBattleWon(event);
    case EVT_PROVBATTLELOST:
        return OnProvBattleLost(event);
    case EVT_PROVSIEGEWON:
        return OnProvSiegeWon(event);
    case EVT_PROVSIEGELOST:
        return OnProvSiegeLost(event);
    case EVT_DISCOVERPROVINCE:
        return OnDiscoverProvince(event);
    case EVT_SEND_STATUS:
        return OnUnhandledMessage(event);
    case EVT_LOSE_TRADELEVEL:
        return OnLoseTradeLevel(event);
    case EVT_SEND_COLONIST:
        return OnSendColonist(event);
    case EVT_COLONISE:
        return OnColonise(event);
    case EVT_COLONIST_ARRIVED:
        return OnColonistArrived(event);
    case EVT_COLONISATION_FAILED:
        return OnColonisationFailed(event);
    case EVT_COLONISATION_BOUNCED:
        return OnColonisationBounced(event);
    case EVT_SEND_TRADER:
        return OnSendTrader(event);
    case EVT_TRADER_ARRIVED:
        return OnTraderArrived(event);
    case EVT_ESTABLISH_TRADEPOST:
        return OnEstablishTradepost(event);
    case EVT_ESTABLISH_TRADEPOST_FAILED:
        return OnEstablishTradepostFailed(event);
    case EVT_ESTABLISH_TRADEPOST_BOUNCED:
        return OnColonisationBounced(event);
    case EVT_SEND_MERCHANT:
        return OnSendMerchant(event);
    case EVT_REQ_MERCHANT_SUCCESS:
        return OnReqMerchantSuccess(event);
    case EVT_EXEC_MERCHANT_SUCCESS:
        return OnExecMerchantSuccess(event);
    case EVT_EXEC_START_EXPANDING_FORTRESS:
        return OnExecStartExpandingFortress(event);
    case EVT_EXPAND_FORTRESS:
        return OnExpandFortress(event);
    case EVT_GIVECB:
        return OnGiveCB(event);
    case EVT_CHANGE_MODIFIER:
        return OnUnhandledMessage(event);
    case EVT_CREATE_LEADER:
        return OnCreateLeader(event);
    case EVT_ACTIVATE_LEADER:
        return OnActivateLeader(event);
    case EVT_KILL_LEADER:
        return OnKillLeader(event);
    case EVT_CREATE_MONARCH:
        return OnCreateMonarch(event);
    case EVT_SET_MONARCH_VALUES:
        return OnSetMonarchValues(event);
    case EVT_ACTIVATE_MONARCH:
        return OnActivateMonarch(event);
    case EVT_INVESTMENT_CHANGE:
        return OnInvestmentChange(event);
    case EVT_INVITE_TO_WARPACT:
        return OnUnhandledMessage(event);
    case EVT_MERGE_WAR:
        return OnMergeWar(event);
    case EVT_DECLINE_WARPACT:
        return OnUnhandledMessage(event);
    case EVT_EXECUTE_EVENT:
        return OnExecuteEvent(event);
    case EVT_MISSION_ACTIVATED:
        return OnMissionActivated(event);
    case EVT_REQUEST_NEW_MISSION:
        return OnRequestNewMission(event);
    case EVT_MISSION_COMPLETED:
        return OnMissionCompleted(event);
    case EVT_MISSION_FAILED:
        return OnMissionFailed(event);
    case EVT_UNNAMED_191:
        return OnMessage191(event);
    case EVT_CREATE_COUNTRY:
        return OnCreateCountry(event);
    case EVT_INFLATION:
        return OnInflation(event);
    case EVT_SET_SEND_DATE:
        return OnSetSendDate(event);
    case EVT_SWITCH_ALLEGIANCE:
        return OnSwitchAllegiance(event);
    case EVT_ENABLE_GODMODE:
        return OnSetGodMode(1);
    case EVT_DISABLE_GODMODE:
        return OnSetGodMode(0);
    case EVT_ECOTYPEGOODS:
        return OnUnhandledMessage(event);
    case EVT_UNNAMED_210:
        return OnMessage210(event);
    case EVT_SET_MAINTENANCE:
        return OnSetMaintenance(event);
    case EVT_CREATE_ALLIANCE:
        return OnCreateAlliance(event);
    case EVT_ALLIANCE_ADD_OFFER:
        return OnAllianceAddOffer(event);
    case EVT_ALLIANCE_SUB_OFFER:
        return OnAllianceSubOffer(event);
    case EVT_UNNAMED_218:
        return OnMessage218(event);
    case EVT_WE_DECLARE_WAR:
        return OnWeDeclareWar(event);
    case EVT_THEY_DECLARE_WAR:
        return OnTheyDeclareWar(event);
    case EVT_REQUEST_HONOR_ALLIANCE:
        return OnRequestHonorAlliance(event);
    case EVT_JOIN_WAR:
        return OnJoinWar(event);
    case EVT_OFFER_PEACE:
        return OnOfferPeace(event);
    case EVT_EXEC_OFFER_ANNEXATION:
        return OnUnhandledMessage(event);
    case EVT_EXEC_SET_ANNEXATION:
        return OnExecSetAnnexation(event);
    case EVT_EXEC_DECLINE_ANNEXATION:
        return OnExecDeclineAnnexation(event);
    case EVT_EXEC_DESTROY_ALLIANCE:
        return OnExecDestroyAlliance(event);
    case EVT_EXEC_JOIN_ALLIANCE:
        return OnExecJoinAlliance(event);
    case EVT_EXEC_LEAVE_ALLIANCE:
        return OnExecLeaveAlliance(event);
    case EVT_EXEC_INVITE_ALLIANCE:
        return OnExecInviteAlliance(event);
    case EVT_EXEC_ASKJOIN_ALLIANCE:
        return OnExecInviteAlliance(event);
    case EVT_EXEC_BANNED_FROM_ALLIANCE:
        return OnExecBannedFromAlliance(event);
    case EVT_EXEC_DECLINE_ALLIANCE_OFFER:
        return OnExecDeclineAllianceOffer(event);
    case EVT_EXEC_DECLINE_ALLIANCE_JOIN:
        return OnExecDeclineAllianceJoin(event);
    case EVT_EXEC_ACCEPT_PEACE:
        return OnExecAcceptPeace(event);
    case EVT_EXEC_DECLINE_PEACE:
        return OnExecDeclinePeace(event);
    case EVT_EXEC_CREATE_PEACE_OFFER:
        return OnExecCreatePeaceOffer(event);
    case EVT_EXEC_SETUP_WAR:
        return OnExecSetupWar(event);
    case EVT_EXEC_DISHONOR_ALLIANCE:
        return OnExecDishonorAlliance(event);
    case EVT_EXEC_HONOR_ALLIANCE:
        return OnExecHonorAlliance(event);
    case EVT_EXEC_REFUSETRADE:
        return OnExecRefuseTrade(event);
    case EVT_EXEC_UNREFUSETRADE:
        return OnExecUnrefuseTrade(event);
    case EVT_EXEC_CHANGE_TOLERANCE:
        return OnExecChangeTolerance(event);
    case EVT_EXEC_CHANGE_RELIGION:
        return OnExecChangeReligion(event);
    case EVT_ASK_SHARE_EXPLORATION:
        return OnUnhandledMessage(event);
    case EVT_ACCEPT_SHARE_EXPLORATION:
        return OnAcceptShareExploration(event);
    case EVT_DECLINE_SHARE_EXPLORATION:
        return OnUnhandledMessage(event);
    case EVT_STEAL_EXPLORATION:
        return OnStealExploration(event);
    case EVT_DISCOVERCOUNTRY:
        return OnDiscoverCountry(event);
    case EVT_SENDGIFT:
        return OnSendGift(event);
    case EVT_EXEC_DESTROY_TPOST:
        return OnExecDestroyTPost(event);
    case EVT_COUNTRY_BROKEN:
        return OnCountryBroken(event);
    case EVT_NEW_EMPEROR:
        return OnNewEmperor(event);
    case EVT_CANCEL_CONSTRUCTION:
        return OnCancelConstruction(event);
    case EVT_EXEC_START_BUILD_IMPROVEMENT:
        return OnExecStartBuildImprovement(event);
    case EVT_FINISH_BUILD_IMPROVEMENT:
        return OnFinishBuildImprovement(event);
    case EVT_CHANGE_TE:
        return OnChangeTE(event);
    case EVT_CHANGE_PE:
        return OnChangePE(event);
    case EVT_TRADE_RESTRICTIONS:
        return OnTradeRestrictions(event);
    case EVT_CREATE_COT:
        return OnCreateCot(event);
    case EVT_CREATE_BANK:
        return OnCreateBank(event);
    case EVT_CREATE_STOCK:
        return OnCreateStock(event);
    case EVT_GOLD_LOST:
        return OnGoldLost(event);
    case EVT_EXEC_RELATION:
        return OnExecRelation(event);
    case EVT_WHITE_PEACE:
        return OnWhitePeace(event);
    case EVT_CHECK_ECO_DATA:
        return OnCheckEcoData(event);
    case EVT_UNITSIZELOSSES:
        return OnUnitSizeLosses(event);
    case EVT_SET_MINISTER:
    case EVT_REMOVE_MINISTER:
        return m_minister.HandleMessage(event);
    case EVT_UNNAMED_314: {
        const float points = event.Payload().Get(BaseVictoryPointsPayload::kAmount);
        if (IsFigureWithin(points, kVictoryPointsRange, "victory points", m_number))
            AddBaseVictoryPoints(event.Payload().Get(BaseVictoryPointsPayload::kKind), points);
        return EVENT_CONSUMED;
    }
    default:
        break;
    }
    // A type without a handler.
    if (event.GetType() != EVT_REFRESHWINDOWS) {
        OfferToUnitsAndDiplomacy(m_units, m_unitsInDevelopment, m_diplomacy, event);
    }
    OfferToSettlements(m_tradingPosts, event);
    OfferToSettlements(m_cities, event);
    return EVENT_NOT_HANDLED;
}

int CCountry::PassToSubObjects(COVEvent& event) {
    switch (event.GetType()) {
    case EVT_TIMER_MONTH:
    case EVT_TIMER_YEAR:
    case EVT_GAME_STARTED:
        m_diplomacy.HandleEvent(event);
        break;
    case EVT_REFRESHWINDOWS:
        break;
    default:
        OfferToUnitsAndDiplomacy(m_units, m_unitsInDevelopment, m_diplomacy, event);
        break;
    }
    OfferToSettlements(m_tradingPosts, event);
    return OfferToSettlements(m_cities, event);
}

int CCountry::OnUnhandledMessage(COVEvent&) {
    return EVENT_CONSUMED;
}

// The handlers whose work comes later take nothing yet.
int CCountry::OnSetGodMode(int enable) {
    m_alternativeBanner = enable != 0 ? 1 : 0;
    return EVENT_NOT_HANDLED;
}

void CCountry::AddBaseVictoryPoints(uint32_t category, float points) {
    if (!g_config || g_config->GetWord(ConfigOffset::kBaseVictoryPoints) == 0)
        return;
    if (category < CBaseVP::kCategories) {
        m_baseVp.values[category] += points;
        AddRankScore(points);
    }
}

int CCountry::OnNewEmperor(COVEvent&) {
    // Every machine applies the host's election here.
    g_globals.emperor = m_number;
    constexpr int32_t kNoticeEmperor = 99;
    PostGameMessage2At(kNoticeEmperor, m_number, GetRulerName(), GetRulerName(), GetName(),
                       GetCapitalId());
    AddBaseVictoryPoints(kDiplomacyVictoryPoints, 50.0f);
    return EVENT_CONSUMED;
}

#define ORV_COUNTRY_HANDLER_STUB(name)                                                             \
    int CCountry::name(COVEvent&) {                                                                \
        return EVENT_NOT_HANDLED;                                                                  \
    }
#define ORV_COUNTRY_HANDLER_BUILT(name)
ORV_COUNTRY_HANDLERS(ORV_COUNTRY_HANDLER_STUB, ORV_COUNTRY_HANDLER_BUILT)
#undef ORV_COUNTRY_HANDLER_BUILT
#undef ORV_COUNTRY_HANDLER_STUB
