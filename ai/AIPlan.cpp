#include "ai/AIPlan.h"

#include "ai/king/King.h"
#include "engine/CriticalError.h"
#include "world/Scenario.h"

namespace {

constexpr const char* kPlanNames[kAIPlanTypeCount] = {
    "_CAI_PLAN_GATHERARMIES_",
    "_CAI_PLAN_GATHERFLEETS_",
    "_CAI_PLAN_LANDATTACK_",
    "_CAI_PLAN_NAVALATTACK_",
    "_CAI_PLAN_MOVEARMY_",
    "_CAI_PLAN_MOVEFLEET_",
    "_CAI_PLAN_TRANSPORT_",
    "_CAI_PLAN_BUILDARMY_",
    "_CAI_PLAN_BUILDFLEET_",
    "_CAI_PLAN_LANDCOMBAT_",
    "_CAI_PLAN_NAVALCOMBAT_",
    "_CAI_PLAN_CONQUER_",
    "_CAI_PLAN_DEFEND_",
    "_CAI_PLAN_NAVALDEFEND_",
    "_CAI_PLAN_BREAKBLOCKADE_",
    "_CAI_PLAN_BLOCKADE_",
    "_CAI_PLAN_INVASION_",
    "_CAI_PLAN_GARRISON_",
    "_CAI_PLAN_BOOST_STABILITY_",
    "_CAI_PLAN_BOOST_TRADE_",
    "_CAI_PLAN_BOOST_PRODUCTION_",
    "_CAI_PLAN_BOOST_LANDTECH_",
    "_CAI_PLAN_BOOST_NAVALTECH_",
    "_CAI_PLAN_SEND_COLONIST_",
    "_CAI_PLAN_SEND_MERCHANT_",
    "_CAI_PLAN_SEND_TRADER_",
    "_CAI_PLAN_BUILD_MANUFACTORY_",
    "_CAI_PLAN_DECLARE_WAR_",
    "_CAI_PLAN_OFFER_ROYAL_MARRIAGE_",
    "_CAI_PLAN_OFFER_VASSALIZATION_",
    "_CAI_PLAN_CANCEL_ROYAL_MARRIAGE_",
    "_CAI_PLAN_CANCEL_VASSALIZATION_",
    "_CAI_PLAN_OFFER_ANNEXATION_",
    "_CAI_PLAN_EXCHANGE_DISCOVERIES_",
    "_CAI_PLAN_REFUSE_TRADE_",
    "_CAI_PLAN_ALLOW_TRADE_",
    "_CAI_PLAN_ASK_FOR_LOAN_",
    "_CAI_PLAN_ASK_REFUSE_TRADE_",
    "_CAI_PLAN_ASK_OFFER_PEACE_",
    "_CAI_PLAN_ASK_LEAVE_NATION_",
    "_CAI_PLAN_ASK_DECLARE_WAR_",
    "_CAI_PLAN_INVITE_ALLIANCE_",
    "_CAI_PLAN_JOIN_ALLIANCE_",
    "_CAI_PLAN_LEAVE_ALLIANCE_",
    "_CAI_PLAN_BAN_ALLIANCE_",
    "_CAI_PLAN_ASK_LEAVE_AREA_",
    "_CAI_PLAN_ASK_HOLD_AREA_",
    "_CAI_PLAN_SEND_ECONOMIC_AID_",
    "_CAI_PLAN_OFFER_PEACE_",
    "_CAI_PLAN_ALLY_AGAINST_",
    "_CAI_PLAN_EXPLORE_SEAZONE_",
    "_CAI_PLAN_EXPLORE_PROVINCE_",
    "_CAI_PLAN_GENOCIDE_",
    "_CAI_PLAN_BUILD_BAILIFF_",
    "_CAI_PLAN_BUILD_CITYRIGHTS_",
    "_CAI_PLAN_BUILD_COURTHOUSE_",
    "_CAI_PLAN_BUILD_FORTRESS_",
    "_CAI_PLAN_BUILD_BARRACK_",
    "_CAI_PLAN_BUILD_SHIPYARD_",
};

} // namespace

const char* GetPlanTypeName(int32_t type) {
    if (type < 0 || type >= kAIPlanTypeCount)
        return "_CAI_PLAN_UNDEFINED_";
    return kPlanNames[type];
}

CAIPlan::CAIPlan(CAIKing* king)
    : CAIAgent(king ? king->GetCountry() : nullptr), owner(king), root(this) {}

CAIPlan::~CAIPlan() {
    if (CAIKing::IsLive(owner))
        owner->ReleaseAll(this);
}

void CAIPlan::Init(CAIAgent* newParent) {
    CAIPlan* parentPlan = newParent && newParent->IsPlan() ? newParent->AsPlan() : nullptr;
    root = parentPlan ? parentPlan->root : this;
    CAIAgent::Init(newParent);
}

void CAIPlan::Kill() {
    if (owner)
        owner->ReleaseAll(this);
    CAIAgent::Kill();
}

void CAIPlan::Start() {
    startDate = CScenario::GetGameDate();
    active = true;
}

void CAIPlan::OnPlanFailed(CAIAgent* child) {
    ReleaseChild(child);
    if (active)
        Fail();
}

void CAIPlan::RejectUnit(CUnit* unit) {
    if (root != this)
        return root->RejectUnit(unit);
    CAIAgent::RejectUnit(unit);
}

void CAIPlan::ClearRejectedUnits() {
    if (root != this)
        return root->ClearRejectedUnits();
    CAIAgent::ClearRejectedUnits();
}

bool CAIPlan::HasRejected(CUnit* unit) {
    if (root != this)
        return root->HasRejected(unit);
    return CAIAgent::HasRejected(unit);
}

void CAIPlan::ForgetRejectedUnit(CUnit* unit) {
    if (root != this)
        return root->ForgetRejectedUnit(unit);
    CAIAgent::ForgetRejectedUnit(unit);
}

void CAIPlan::AddRejectedUnit(CUnit* unit) {
    if (root != this)
        return root->AddRejectedUnit(unit);
    CAIAgent::AddRejectedUnit(unit);
}

float CAIPlan::IsHigherPriority(const CAIPlan& other) const {
    return root->priority > other.root->priority ? 1.0f : 0.0f;
}

CAIPlan* CAIPlan::Clone() {
    DebugPrint("No virtual constructor for %s!\n", GetName());
    return nullptr;
}
