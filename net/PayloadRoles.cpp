#include "net/PayloadRoles.h"

#include <array>

#include "engine/ObjectId.h"
#include "net/Event.h"
#include "net/EventTypes.h"

namespace {

using R = PayloadRole;

// The roles of every type of a layout (types empty), or of the listed types
// of one (these win over their layout's).
struct RoleSet {
    EventLayout layout;
    std::span<const uint32_t> types;
    std::span<const PayloadFieldRole> roles;
};

// --- layout classes ---
constexpr PayloadFieldRole kProvinceRoles[] = {{COVProvinceEvent::kProvince, R::ProvinceOrNone}};
// The province messages whose senders always name a province.
constexpr uint32_t kNamedProvinceTypes[] = {EVT_BUILD_FACILITY,    EVT_PROVCHANGECONTROL,
                                            EVT_DISCOVERPROVINCE,  EVT_REQUEST_NATIVE_ATTACK,
                                            EVT_REQ_DESTROY_TPOST, EVT_EXEC_DESTROY_TPOST};
constexpr PayloadFieldRole kNamedProvinceRoles[] = {{COVProvinceEvent::kProvince, R::Province}};
constexpr PayloadFieldRole kAnnexationRoles[] = {{COVAnnexationEvent::kCountry, R::Country},
                                                 {COVAnnexationEvent::kOther, R::Country}};
constexpr PayloadFieldRole kConstructionRoles[] = {{COVConstructionEvent::kProvince, R::Province}};
constexpr PayloadFieldRole kFortressRoles[] = {{COVFortressEvent::kProvince, R::Province},
                                               {COVFortressEvent::kCountry, R::Country}};
constexpr PayloadFieldRole kWarPactRoles[] = {{COVWarPactEvent::kCountry, R::Country}};
// The alliance requests and their executions: the sender, the other country
// and the sender again.
constexpr uint32_t kAllianceRequestTypes[] = {
    EVT_REQ_DESTROY_ALLIANCE,       EVT_REQ_JOIN_ALLIANCE,         EVT_REQ_LEAVE_ALLIANCE,
    EVT_REQ_INVITE_ALLIANCE,        EVT_REQ_ASKJOIN_ALLIANCE,      EVT_REQ_BANNED_FROM_ALLIANCE,
    EVT_REQ_DECLINE_ALLIANCE_OFFER, EVT_REQ_DECLINE_ALLIANCE_JOIN, EVT_EXEC_DESTROY_ALLIANCE,
    EVT_EXEC_JOIN_ALLIANCE,         EVT_EXEC_LEAVE_ALLIANCE,       EVT_EXEC_INVITE_ALLIANCE,
    EVT_EXEC_ASKJOIN_ALLIANCE,      EVT_EXEC_BANNED_FROM_ALLIANCE, EVT_EXEC_DECLINE_ALLIANCE_OFFER,
    EVT_EXEC_DECLINE_ALLIANCE_JOIN};
constexpr PayloadFieldRole kAllianceRoles[] = {{COVAllianceEvent::kCountry, R::Country},
                                               {COVAllianceEvent::kSecond, R::Country},
                                               {COVAllianceEvent::kExtraCountry, R::Country}};
constexpr PayloadFieldRole kPeaceRoles[] = {{COVPeaceEvent::kOther, R::Country},
                                            {COVPeaceEvent::kOffer, R::Id},
                                            {COVPeaceEvent::kCountry, R::Country}};
constexpr PayloadFieldRole kCombatRoles[] = {{COVCombatEvent::kCombat, R::Id}};
constexpr PayloadFieldRole kImprovementRoles[] = {{COVImprovementEvent::kProvince, R::Province},
                                                  {COVImprovementEvent::kCountry, R::Country}};
constexpr PayloadFieldRole kCreateAllianceRoles[] = {
    {COVCreateAllianceEvent::kCountry, R::Country}};
constexpr PayloadFieldRole kWarRoles[] = {{COVWarEvent::kCountry, R::Country},
                                          {COVWarEvent::kOther, R::Country}};
constexpr PayloadFieldRole kLoanRoles[] = {
    {CLoanEvent::kLoan, R::Id}, {CLoanEvent::kLender, R::Id}, {CLoanEvent::kBorrower, R::Country}};
constexpr PayloadFieldRole kColonistRoles[] = {{COVColonistEvent::kProvince, R::Province},
                                               {COVColonistEvent::kCountry, R::Country}};
constexpr PayloadFieldRole kMerchantRoles[] = {{COVMerchantEvent::kCountry, R::Id},
                                               {COVMerchantEvent::kProvince, R::Id}};
// A new unit's province: none (0) is left to the unit's builder.
constexpr PayloadFieldRole kFleetRoles[] = {{NewUnitHead::kProvince, R::ProvinceOrNone},
                                            {NewUnitHead::kUnit, R::Id},
                                            {NewUnitHead::kCountry, R::Id},
                                            {COVFleetEvent::kLeader, R::Id}};
constexpr PayloadFieldRole kArmyRoles[] = {{NewUnitHead::kProvince, R::ProvinceOrNone},
                                           {NewUnitHead::kUnit, R::Id},
                                           {NewUnitHead::kCountry, R::Id},
                                           {COVArmyEvent::kLeader, R::Id}};
constexpr PayloadFieldRole kCreateMonarchRoles[] = {{COVCreateMonarchEvent::kLeader, R::Id}};
constexpr PayloadFieldRole kCreateLeaderRoles[] = {{COVCreateLeaderEvent::kLeader, R::Id}};
constexpr PayloadFieldRole kUnitMovePathRoles[] = {{COVUnitMovePathEvent::kCount, R::Length},
                                                   {COVUnitMovePathEvent::kSteps, R::Provinces}};
// The province of the battle and its losers.
constexpr PayloadFieldRole kProvinceBattleRoles[] = {{COVCountedEvent::kFirstValue, R::Province},
                                                     {COVCountedEvent::kCount, R::Count},
                                                     {COVCountedEvent::kEntries, R::Countries}};
// The new country, the releasing one and the new country's provinces.
constexpr PayloadFieldRole kCreateCountryRoles[] = {{COVCreateCountryEvent::kCountry, R::Country},
                                                    {COVCreateCountryEvent::kReleaser, R::Country},
                                                    {COVCountedEvent::kCount, R::Count},
                                                    {COVCountedEvent::kEntries, R::Provinces}};

// --- payloads of class COVDataEvent ---
constexpr PayloadFieldRole kPlayerDataRoles[] = {{PlayerDataPayload::kCountry, R::CountryOrNone}};
constexpr PayloadFieldRole kCountryChoiceRoles[] = {
    {CountryChoicePayload::kCountry, R::CountryOrNone}};
constexpr PayloadFieldRole kLeaderArrivalRoles[] = {{LeaderArrivalPayload::kLeader, R::Id}};
constexpr PayloadFieldRole kMonarchActivationRoles[] = {{MonarchActivationPayload::kLeader, R::Id}};
constexpr PayloadFieldRole kMoveStepRoles[] = {{MoveStepPayload::kUnit, R::Id},
                                               {MoveStepPayload::kProvince, R::ProvinceOrNone}};
constexpr PayloadFieldRole kKillRoles[] = {{KillPayload::kUnit, R::Id}};
constexpr PayloadFieldRole kUnitRequestRoles[] = {{UnitRequestPayload::kUnit, R::Id}};
constexpr PayloadFieldRole kMergeRequestRoles[] = {{MergeRequestPayload::kUnit, R::Id},
                                                   {MergeRequestPayload::kJoining, R::Id}};
constexpr PayloadFieldRole kCasusBelliRoles[] = {{CasusBelliPayload::kAgainst, R::Id}};
constexpr PayloadFieldRole kBoostInvestmentRoles[] = {
    {BoostInvestmentPayload::kCountry, R::Country}};
constexpr PayloadFieldRole kMinisterRoles[] = {{MinisterPayload::kMinister, R::Id}};
constexpr PayloadFieldRole kGiftRoles[] = {{GiftPayload::kGiver, R::Country}};
// The pair's first number is a country for these; for the trade refusals the
// second too.
constexpr uint32_t kPairCountryTypes[] = {EVT_ACCEPTLOANMSG, EVT_DECLINELOANMSG,
                                          EVT_REQ_CHANGE_RELIGION, EVT_STEAL_EXPLORATION};
constexpr PayloadFieldRole kPairCountryRoles[] = {{PairPayload::kFirst, R::Country}};
constexpr uint32_t kPairCountriesTypes[] = {EVT_REQ_REFUSETRADE, EVT_REQ_UNREFUSETRADE};
constexpr PayloadFieldRole kPairCountriesRoles[] = {{PairPayload::kFirst, R::Country},
                                                    {PairPayload::kSecond, R::Country}};
constexpr PayloadFieldRole kMaintenanceRoles[] = {{MaintenancePayload::kCountry, R::Country}};
constexpr PayloadFieldRole kHonorAllianceRoles[] = {{HonorAlliancePayload::kCountry, R::Country}};
constexpr PayloadFieldRole kExplorationRoles[] = {{ExplorationPayload::kCountry, R::Country}};
constexpr PayloadFieldRole kLoseTradeLevelRoles[] = {
    {LoseTradeLevelPayload::kProvince, R::Province},
    {LoseTradeLevelPayload::kCountry, R::Country},
    {LoseTradeLevelPayload::kOther, R::Country}};
constexpr PayloadFieldRole kRelationRequestRoles[] = {
    {RelationRequestPayload::kCountry, R::Country}, {RelationRequestPayload::kOther, R::Country}};
constexpr PayloadFieldRole kInvestmentSharesRoles[] = {
    {InvestmentSharesPayload::kCountry, R::Country}};
constexpr PayloadFieldRole kRenameObjectRoles[] = {{RenameObjectPayload::kObject, R::Id}};
constexpr PayloadFieldRole kUnitTransferRoles[] = {{UnitTransferPayload::kFrom, R::Id},
                                                   {UnitTransferPayload::kTo, R::Id}};
constexpr PayloadFieldRole kLeaderTransferRoles[] = {{LeaderTransferPayload::kFrom, R::Id},
                                                     {LeaderTransferPayload::kTo, R::Id},
                                                     {LeaderTransferPayload::kLeader, R::Id}};
constexpr PayloadFieldRole kInvestmentChangeRoles[] = {
    {InvestmentChangePayload::kCountry, R::Country}};
constexpr PayloadFieldRole kToleranceRoles[] = {{TolerancePayload::kCountry, R::Country}};
constexpr PayloadFieldRole kWhitePeaceRoles[] = {{WhitePeacePayload::kWar, R::Id}};
constexpr PayloadFieldRole kPacifyNativeRoles[] = {{PacifyNativePayload::kArmy, R::Id}};
constexpr PayloadFieldRole kStartEventRoles[] = {{StartEventPayload::kCountry, R::Country}};
constexpr PayloadFieldRole kSeparatePeaceRequestRoles[] = {
    {SeparatePeaceRequestPayload::kWar, R::Id},
    {SeparatePeaceRequestPayload::kAttacker, R::Country},
    {SeparatePeaceRequestPayload::kDefender, R::Country}};
constexpr PayloadFieldRole kSplitWarRoles[] = {{SplitWarPayload::kWar, R::Id},
                                               {SplitWarPayload::kFirstWar, R::Id},
                                               {SplitWarPayload::kFirstAttackers, R::Id},
                                               {SplitWarPayload::kFirstDefenders, R::Id},
                                               {SplitWarPayload::kSecondWar, R::Id},
                                               {SplitWarPayload::kSecondAttackers, R::Id},
                                               {SplitWarPayload::kSecondDefenders, R::Id},
                                               {SplitWarPayload::kFirstCountry, R::Country},
                                               {SplitWarPayload::kSecondCountry, R::Country}};
constexpr PayloadFieldRole kSwitchAllegianceRoles[] = {{SwitchAllegiancePayload::kUnit, R::Id}};
constexpr PayloadFieldRole kUnitLossesRoles[] = {{UnitLossesPayload::kUnit, R::Id}};
constexpr PayloadFieldRole kTradeRefusalRoles[] = {{TradeRefusalPayload::kCountry, R::Country},
                                                   {TradeRefusalPayload::kOther, R::Country}};
constexpr PayloadFieldRole kSetMaintenanceRoles[] = {{SetMaintenancePayload::kCountry, R::Country}};
constexpr PayloadFieldRole kSetToleranceRoles[] = {{SetTolerancePayload::kCountry, R::Country}};
constexpr PayloadFieldRole kExecRelationRoles[] = {{ExecRelationPayload::kCountry, R::Country},
                                                   {ExecRelationPayload::kOther, R::Country}};
constexpr PayloadFieldRole kCreateCotRoles[] = {{CreateCotPayload::kProvince, R::Province}};

template <class Payload> constexpr RoleSet ForTypes(std::span<const PayloadFieldRole> roles) {
    return {EventLayout::LocalOnly, Payload::kTypes, roles};
}
constexpr RoleSet ForLayout(EventLayout layout, std::span<const PayloadFieldRole> roles) {
    return {layout, {}, roles};
}

constexpr RoleSet kRoleSets[] = {
    ForLayout(EventLayout::Province, kProvinceRoles),
    ForLayout(EventLayout::Annexation, kAnnexationRoles),
    ForLayout(EventLayout::Construction, kConstructionRoles),
    ForLayout(EventLayout::Fortress, kFortressRoles),
    ForLayout(EventLayout::WarPact, kWarPactRoles),
    ForLayout(EventLayout::Peace, kPeaceRoles),
    ForLayout(EventLayout::Combat, kCombatRoles),
    ForLayout(EventLayout::Improvement, kImprovementRoles),
    ForLayout(EventLayout::CreateAlliance, kCreateAllianceRoles),
    ForLayout(EventLayout::War, kWarRoles),
    ForLayout(EventLayout::Loan, kLoanRoles),
    ForLayout(EventLayout::Colonist, kColonistRoles),
    ForLayout(EventLayout::Merchant, kMerchantRoles),
    ForLayout(EventLayout::Fleet, kFleetRoles),
    ForLayout(EventLayout::Army, kArmyRoles),
    ForLayout(EventLayout::CreateMonarch, kCreateMonarchRoles),
    ForLayout(EventLayout::CreateLeader, kCreateLeaderRoles),
    ForLayout(EventLayout::UnitMovePath, kUnitMovePathRoles),
    ForLayout(EventLayout::ProvinceBattle, kProvinceBattleRoles),
    ForLayout(EventLayout::CreateCountry, kCreateCountryRoles),
    {EventLayout::LocalOnly, kNamedProvinceTypes, kNamedProvinceRoles},
    {EventLayout::LocalOnly, kAllianceRequestTypes, kAllianceRoles},
    {EventLayout::LocalOnly, kPairCountryTypes, kPairCountryRoles},
    {EventLayout::LocalOnly, kPairCountriesTypes, kPairCountriesRoles},
    ForTypes<PlayerDataPayload>(kPlayerDataRoles),
    ForTypes<CountryChoicePayload>(kCountryChoiceRoles),
    ForTypes<LeaderArrivalPayload>(kLeaderArrivalRoles),
    ForTypes<MonarchActivationPayload>(kMonarchActivationRoles),
    ForTypes<MoveStepPayload>(kMoveStepRoles),
    ForTypes<KillPayload>(kKillRoles),
    ForTypes<UnitRequestPayload>(kUnitRequestRoles),
    ForTypes<MergeRequestPayload>(kMergeRequestRoles),
    ForTypes<CasusBelliPayload>(kCasusBelliRoles),
    ForTypes<BoostInvestmentPayload>(kBoostInvestmentRoles),
    ForTypes<MinisterPayload>(kMinisterRoles),
    ForTypes<GiftPayload>(kGiftRoles),
    ForTypes<MaintenancePayload>(kMaintenanceRoles),
    ForTypes<HonorAlliancePayload>(kHonorAllianceRoles),
    ForTypes<ExplorationPayload>(kExplorationRoles),
    ForTypes<LoseTradeLevelPayload>(kLoseTradeLevelRoles),
    ForTypes<RelationRequestPayload>(kRelationRequestRoles),
    ForTypes<InvestmentSharesPayload>(kInvestmentSharesRoles),
    ForTypes<RenameObjectPayload>(kRenameObjectRoles),
    ForTypes<UnitTransferPayload>(kUnitTransferRoles),
    ForTypes<LeaderTransferPayload>(kLeaderTransferRoles),
    ForTypes<InvestmentChangePayload>(kInvestmentChangeRoles),
    ForTypes<TolerancePayload>(kToleranceRoles),
    ForTypes<WhitePeacePayload>(kWhitePeaceRoles),
    ForTypes<PacifyNativePayload>(kPacifyNativeRoles),
    ForTypes<StartEventPayload>(kStartEventRoles),
    ForTypes<SeparatePeaceRequestPayload>(kSeparatePeaceRequestRoles),
    ForTypes<SplitWarPayload>(kSplitWarRoles),
    ForTypes<SwitchAllegiancePayload>(kSwitchAllegianceRoles),
    ForTypes<UnitLossesPayload>(kUnitLossesRoles),
    ForTypes<TradeRefusalPayload>(kTradeRefusalRoles),
    ForTypes<SetMaintenancePayload>(kSetMaintenanceRoles),
    ForTypes<SetTolerancePayload>(kSetToleranceRoles),
    ForTypes<ExecRelationPayload>(kExecRelationRoles),
    ForTypes<CreateCotPayload>(kCreateCotRoles),
};

using RoleTable = std::array<std::span<const PayloadFieldRole>, EVENT_TYPE_COUNT>;

RoleTable BuildRoleTable() {
    RoleTable table{};
    const auto& types = GetEventTypeTable();
    for (const RoleSet& set : kRoleSets) {
        if (!set.types.empty())
            continue;
        for (uint32_t type = 0; type < EVENT_TYPE_COUNT; ++type)
            if (types[type].layout == set.layout)
                table[type] = set.roles;
    }
    for (const RoleSet& set : kRoleSets)
        for (uint32_t type : set.types)
            table[type] = set.roles;
    return table;
}

const RoleTable& Roles() {
    static const RoleTable table = BuildRoleTable();
    return table;
}

// A whole number of the field's type, widened; ids are read apart.
int64_t ReadNumber(const COVEventData& payload, PayloadType type, size_t offset) {
    switch (type) {
    case PayloadType::U8:
        return payload.GetU8(offset);
    case PayloadType::U16:
        return payload.GetU16(offset);
    case PayloadType::I32:
        return payload.GetI32(offset);
    default:
        return payload.GetU32(offset);
    }
}

// A country's id needs a country number, a province's a province slot; ids
// of other types are not known here.
bool IsGoodId(const ObjectId& id) {
    if (id.type == kCountryObjectType)
        return IsPayloadCountry(id.number);
    if (id.type == kProvinceIdType)
        return id.number <= kLastPayloadProvince;
    return true;
}

bool FitsRole(PayloadRole role, int64_t value) {
    switch (role) {
    case R::Country:
    case R::Countries:
        return IsPayloadCountry(value);
    case R::CountryOrNone:
        return IsPayloadCountry(value) || value == -1 || value == 0xFFFFFFFF;
    case R::Province:
    case R::Provinces:
        return IsPayloadProvince(value);
    case R::ProvinceOrNone:
        return IsPayloadProvinceOrNone(value);
    default:
        return true;
    }
}

} // namespace

std::span<const PayloadFieldRole> GetPayloadRoles(uint32_t type) {
    if (type >= EVENT_TYPE_COUNT)
        return {};
    return Roles()[type];
}

std::optional<PayloadFault> CheckPayloadRoles(const COVEventData& payload) {
    const uint32_t type = payload.GetTypeId();
    if (payload.Holds(EventHead::kReceiver)) {
        const ObjectId receiver = payload.GetReceiver();
        if (!IsGoodId(receiver))
            return PayloadFault{type, EventHead::kReceiver.name, receiver.number};
    }
    // The last count read: the entries of the run after it.
    size_t count = 0;
    const char* countName = "";
    for (const PayloadFieldRole& entry : GetPayloadRoles(type)) {
        const PayloadFieldInfo& field = entry.field;
        if (entry.role == R::Countries || entry.role == R::Provinces) {
            const size_t width = PayloadWidth(field.type);
            for (size_t i = 0; i < count; ++i) {
                const size_t offset = field.offset + i * width;
                if (!payload.Holds(offset, width))
                    return PayloadFault{type, countName, static_cast<int64_t>(count)};
                const int64_t value = ReadNumber(payload, field.type, offset);
                if (!FitsRole(entry.role, value))
                    return PayloadFault{type, field.name, value};
            }
            continue;
        }
        if (!payload.Holds(field))
            continue;
        if (field.type == PayloadType::Id) {
            const ObjectId id = payload.GetId(field.offset);
            if (!IsGoodId(id))
                return PayloadFault{type, field.name, id.number};
            continue;
        }
        const int64_t value = ReadNumber(payload, field.type, field.offset);
        if (entry.role == R::Count || entry.role == R::Length) {
            count = static_cast<size_t>(value);
            countName = field.name;
            if (entry.role == R::Count && count > kMaxPayloadEntries)
                return PayloadFault{type, field.name, value};
            continue;
        }
        if (!FitsRole(entry.role, value))
            return PayloadFault{type, field.name, value};
    }
    return std::nullopt;
}

std::string DescribePayloadFault(const PayloadFault& fault) {
    return GetEventTypeName(fault.type) + " (" + std::to_string(fault.type) + "): " + fault.field +
           " " + std::to_string(fault.value);
}
