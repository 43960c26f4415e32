#include "net/EventTypes.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::array<EventTypeInfo, EVENT_TYPE_COUNT> kEventTypes = {{
#define ORV_EVENT_INFO(name, id, text, layout, size, localOnly)                                    \
    {text, EventLayout::layout, size, localOnly},
    ORV_EVENT_TYPES(ORV_EVENT_INFO)
#undef ORV_EVENT_INFO
}};

// The list's ids run from 0 in steps of one, so the enum and the table agree.
constexpr uint32_t kListedIds[] = {
#define ORV_EVENT_ID(name, id, text, layout, size, localOnly) id,
    ORV_EVENT_TYPES(ORV_EVENT_ID)
#undef ORV_EVENT_ID
};
static_assert(std::size(kListedIds) == EVENT_TYPE_COUNT);
constexpr bool IdsCountUp() {
    for (uint32_t i = 0; i < EVENT_TYPE_COUNT; ++i)
        if (kListedIds[i] != i)
            return false;
    return true;
}
static_assert(IdsCountUp());

constexpr uint32_t kCountryIdType = 3;

} // namespace

const std::array<EventTypeInfo, EVENT_TYPE_COUNT>& GetEventTypeTable() {
    return kEventTypes;
}

const EventTypeInfo* GetEventTypeInfo(uint32_t type) {
    return type < EVENT_TYPE_COUNT ? &kEventTypes[type] : nullptr;
}

std::string GetEventTypeName(uint32_t type) {
    const EventTypeInfo* info = GetEventTypeInfo(type);
    if (info && info->name)
        return info->name;
    return "Uknown event " + std::to_string(type);
}

std::string GetEventTypeName(const COVEvent& event) {
    return GetEventTypeName(event.GetType());
}

const char* GetEventLayoutClassName(EventLayout layout) {
    switch (layout) {
    case EventLayout::LocalOnly:
        return "";
    case EventLayout::Data:
        return "COVDataEvent";
    case EventLayout::Simple:
        return "COVSimpleEvent";
    case EventLayout::Province:
        return "COVProvinceEvent";
    case EventLayout::Pause:
        return "COVPauseEvent";
    case EventLayout::TimerDate:
        return "COVTimerDateEvent";
    case EventLayout::Timer:
        return "COVTimerEvent";
    case EventLayout::Annexation:
        return "COVAnnexationEvent";
    case EventLayout::Construction:
        return "COVConstructionEvent";
    case EventLayout::SendDate:
        return "COVSendDateEvent";
    case EventLayout::Fortress:
        return "COVFortressEvent";
    case EventLayout::WarPact:
        return "COVWarPactEvent";
    case EventLayout::Alliance:
        return "COVAllianceEvent";
    case EventLayout::Peace:
        return "COVPeaceEvent";
    case EventLayout::Combat:
        return "COVCombatEvent";
    case EventLayout::MergeWar:
        return "COVMergeWarEvent";
    case EventLayout::Improvement:
        return "COVImprovementEvent";
    case EventLayout::CreateAlliance:
        return "COVCreateAllianceEvent";
    case EventLayout::War:
        return "COVWarEvent";
    case EventLayout::Loan:
        return "CLoanEvent";
    case EventLayout::Colonist:
        return "COVColonistEvent";
    case EventLayout::Merchant:
        return "COVMerchantEvent";
    case EventLayout::CreateArmyOnFleet:
        return "COVCreateArmyOnFleetEvent";
    case EventLayout::Fleet:
        return "COVFleetEvent";
    case EventLayout::Army:
        return "COVArmyEvent";
    case EventLayout::CreateMonarch:
        return "COVCreateMonarchEvent";
    case EventLayout::CreateLeader:
        return "COVCreateLeaderEvent";
    case EventLayout::Scenario:
        return "COVScenarioEvent";
    case EventLayout::Chat:
        return "COVChatEvent";
    case EventLayout::UnitMovePath:
        return "COVUnitMovePathEvent";
    case EventLayout::ProvinceBattle:
        return "COVProvinceBattleEvent";
    case EventLayout::CreateCountry:
        return "COVCreateCountryEvent";
    }
    return "";
}

bool IsVariableLayout(EventLayout layout) {
    return layout == EventLayout::Chat || layout == EventLayout::UnitMovePath ||
           layout == EventLayout::ProvinceBattle || layout == EventLayout::CreateCountry;
}

bool IsLocalOnlyEvent(uint32_t type) {
    const EventTypeInfo* info = GetEventTypeInfo(type);
    return info && info->localOnly;
}

uint16_t GetEventPayloadSize(uint32_t type) {
    const EventTypeInfo* info = GetEventTypeInfo(type);
    return info ? info->payloadSize : 0;
}

namespace {

template <class T> std::unique_ptr<COVEvent> CopyAs(const COVEvent& source) {
    return std::make_unique<T>(source);
}

} // namespace

std::unique_ptr<COVEvent> CreateEventCopy(const COVEvent& source) {
    const EventTypeInfo* info = GetEventTypeInfo(source.GetType());
    if (!info || info->localOnly)
        return nullptr;
    switch (info->layout) {
    case EventLayout::LocalOnly:
        return nullptr;
    case EventLayout::Data:
        return CopyAs<COVDataEvent>(source);
    case EventLayout::Simple:
        return CopyAs<COVSimpleEvent>(source);
    case EventLayout::Province:
        return CopyAs<COVProvinceEvent>(source);
    case EventLayout::Pause:
        return CopyAs<COVPauseEvent>(source);
    case EventLayout::TimerDate:
        return CopyAs<COVTimerDateEvent>(source);
    case EventLayout::Timer:
        return CopyAs<COVTimerEvent>(source);
    case EventLayout::Annexation:
        return CopyAs<COVAnnexationEvent>(source);
    case EventLayout::Construction:
        return CopyAs<COVConstructionEvent>(source);
    case EventLayout::SendDate:
        return CopyAs<COVSendDateEvent>(source);
    case EventLayout::Fortress:
        return CopyAs<COVFortressEvent>(source);
    case EventLayout::WarPact:
        return CopyAs<COVWarPactEvent>(source);
    case EventLayout::Alliance:
        return CopyAs<COVAllianceEvent>(source);
    case EventLayout::Peace:
        return CopyAs<COVPeaceEvent>(source);
    case EventLayout::Combat:
        return CopyAs<COVCombatEvent>(source);
    case EventLayout::MergeWar:
        return CopyAs<COVMergeWarEvent>(source);
    case EventLayout::Improvement:
        return CopyAs<COVImprovementEvent>(source);
    case EventLayout::CreateAlliance:
        return CopyAs<COVCreateAllianceEvent>(source);
    case EventLayout::War:
        return CopyAs<COVWarEvent>(source);
    case EventLayout::Loan:
        return CopyAs<CLoanEvent>(source);
    case EventLayout::Colonist:
        return CopyAs<COVColonistEvent>(source);
    case EventLayout::Merchant:
        return CopyAs<COVMerchantEvent>(source);
    case EventLayout::CreateArmyOnFleet:
        return CopyAs<COVCreateArmyOnFleetEvent>(source);
    case EventLayout::Fleet:
        return CopyAs<COVFleetEvent>(source);
    case EventLayout::Army:
        return CopyAs<COVArmyEvent>(source);
    case EventLayout::CreateMonarch:
        return CopyAs<COVCreateMonarchEvent>(source);
    case EventLayout::CreateLeader:
        return CopyAs<COVCreateLeaderEvent>(source);
    case EventLayout::Scenario:
        return CopyAs<COVScenarioEvent>(source);
    case EventLayout::Chat:
        return CopyAs<COVChatEvent>(source);
    case EventLayout::UnitMovePath:
        return CopyAs<COVUnitMovePathEvent>(source);
    case EventLayout::ProvinceBattle:
        return CopyAs<COVProvinceBattleEvent>(source);
    case EventLayout::CreateCountry:
        return CopyAs<COVCreateCountryEvent>(source);
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Layout classes

namespace {

ObjectId CountryAt(const COVEvent& event, const PayloadField<uint32_t>& field) {
    return ObjectId(kCountryIdType, event.Payload().Get(field));
}

template <class T, size_t N>
void PutValues(COVEventData& data, const PayloadArray<T, N>& field,
               const std::array<T, N>& values) {
    for (size_t i = 0; i < N; ++i)
        data.Set(field[i], values[i]);
}

} // namespace

COVDataEvent::COVDataEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(GetEventPayloadSize(type), type, receiver) {}

COVProvinceEvent::COVProvinceEvent(uint32_t type, const ObjectId& receiver, uint32_t province)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kProvince, province);
}

COVPauseEvent::COVPauseEvent(uint32_t type, const ObjectId& receiver, uint32_t value)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kValue, value);
}

COVTimerDateEvent::COVTimerDateEvent(uint32_t type, const ObjectId& receiver, uint32_t count)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kCount, count);
}

COVTimerEvent::COVTimerEvent(uint32_t type, const ObjectId& receiver, const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kDate, date);
}

COVAnnexationEvent::COVAnnexationEvent(uint32_t type, const ObjectId& receiver, uint32_t country,
                                       uint32_t other)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kCountry, country);
    Payload().Set(kOther, other);
}

ObjectId COVAnnexationEvent::GetExtraId() const {
    return CountryAt(*this, kCountry);
}

COVConstructionEvent::COVConstructionEvent(uint32_t type, const ObjectId& receiver,
                                           const ObjectId& order, uint32_t province)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kOrder, order);
    Payload().Set(kProvince, province);
}

COVSendDateEvent::COVSendDateEvent(uint32_t type, const ObjectId& receiver, uint32_t value,
                                   const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kValue, value);
    Payload().Set(kDate, date);
}

COVFortressEvent::COVFortressEvent(uint32_t type, const ObjectId& receiver, uint32_t province,
                                   uint32_t worksType, uint32_t worksNumber, uint32_t country)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kProvince, province);
    Payload().Set(kWorksType, worksType);
    Payload().Set(kWorksNumber, worksNumber);
    Payload().Set(kCountry, country);
}

COVWarPactEvent::COVWarPactEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

ObjectId COVWarPactEvent::GetExtraId() const {
    return CountryAt(*this, kCountry);
}

COVAllianceEvent::COVAllianceEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

ObjectId COVAllianceEvent::GetExtraId() const {
    return CountryAt(*this, kExtraCountry);
}

COVPeaceEvent::COVPeaceEvent(uint32_t type, const ObjectId& receiver, uint32_t other,
                             const ObjectId& offer, uint32_t country)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kOther, other);
    Payload().Set(kOffer, offer);
    Payload().Set(kCountry, country);
}

ObjectId COVPeaceEvent::GetExtraId() const {
    return CountryAt(*this, kCountry);
}

COVCombatEvent::COVCombatEvent(uint32_t type, const ObjectId& receiver, uint32_t combatType,
                               const ObjectId& combat, const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kCombatType, combatType);
    Payload().Set(kCombat, combat);
    Payload().Set(kDate, date);
}

COVMergeWarEvent::COVMergeWarEvent(uint32_t type, const ObjectId& receiver,
                                   const std::array<uint32_t, 5>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), kValues, values);
}

COVImprovementEvent::COVImprovementEvent(uint32_t type, const ObjectId& receiver,
                                         const std::array<uint32_t, 5>& values)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kProvince, values[0]);
    Payload().Set(kKind, values[1]);
    Payload().Set(kImprovementType, values[2]);
    Payload().Set(kImprovementNumber, values[3]);
    Payload().Set(kCountry, values[4]);
}

COVCreateAllianceEvent::COVCreateAllianceEvent(uint32_t type, const ObjectId& receiver,
                                               uint32_t allianceType, uint32_t allianceNumber,
                                               uint32_t country, const CDate& date, uint32_t kind)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kAllianceType, allianceType);
    Payload().Set(kAllianceNumber, allianceNumber);
    Payload().Set(kCountry, country);
    Payload().Set(kDate, date);
    Payload().Set(kKind, kind);
}

COVWarEvent::COVWarEvent(uint32_t type, const ObjectId& receiver,
                         const std::array<uint32_t, 8>& values)
    : COVEvent(kSize, type, receiver) {
    for (size_t i = 0; i < kAlliances.kCount; ++i)
        Payload().Set(kAlliances[i], values[i]);
    Payload().Set(kCountry, values[6]);
    Payload().Set(kOther, values[7]);
}

ObjectId COVWarEvent::GetExtraId() const {
    return CountryAt(*this, kCountry);
}

CLoanEvent::CLoanEvent(uint32_t type, const ObjectId& receiver, const ObjectId& lender,
                       uint32_t amount, uint32_t interest, const CDate& date, uint32_t borrower)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kLender, lender);
    Payload().Set(kAmount, amount);
    Payload().Set(kInterest, interest);
    Payload().Set(kDate, date);
    Payload().Set(kBorrower, borrower);
}

COVColonistEvent::COVColonistEvent(uint32_t type, const ObjectId& receiver, uint32_t country,
                                   uint32_t province, uint32_t success, uint32_t value)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kCountry, country);
    Payload().Set(kProvince, province);
    Payload().Set(kSuccess, success);
    Payload().Set(kValue, value);
}

COVFacilityEvent::COVFacilityEvent(uint32_t type, const ObjectId& receiver, uint32_t province,
                                   uint32_t kind, uint32_t cost, uint32_t country)
    : COVEvent(kSize, type, receiver) {
    Payload().Set(kProvince, province);
    Payload().Set(kKind, kind);
    Payload().Set(kCost, cost);
    Payload().Set(kCountry, country);
}

COVMerchantEvent::COVMerchantEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVCreateArmyOnFleetEvent::COVCreateArmyOnFleetEvent(uint32_t type, const ObjectId& receiver,
                                                     const std::array<uint32_t, 9>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), kValues, values);
}

COVFleetEvent::COVFleetEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVArmyEvent::COVArmyEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVCreateMonarchEvent::COVCreateMonarchEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVPeaceOfferEvent::COVPeaceOfferEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVCreateLeaderEvent::COVCreateLeaderEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVScenarioEvent::COVScenarioEvent(uint32_t startValue, std::string_view fileName,
                                   uint32_t fileSize, uint32_t byteSum)
    : COVEvent(kSize, EVT_APPMSG_SCENARIO, g_broadcastId) {
    Payload().Set(kStartValue, startValue);
    Payload().Set(kFileName, fileName);
    Payload().Set(kFileSize, fileSize);
    Payload().Set(kByteSum, byteSum);
}

COVChatEvent::COVChatEvent(std::string_view text, uint32_t sender, const ObjectId& receiver)
    : COVEvent(SizeFor(std::min(text.size(), kMaxTextLength)), EVT_APPMSG_CHATSTRING, receiver) {
    const size_t length = std::min(text.size(), kMaxTextLength) + 1;
    Payload().Set(kSender, sender);
    Payload().Set(kLength, static_cast<uint16_t>(length));
    Payload().Set(kText.WithSize(length), text);
}

std::string COVChatEvent::GetText() const {
    // The length field may claim more than arrived: read what is there.
    const COVEventData& payload = Payload();
    if (!payload.Holds(kLength) || !payload.Holds(kText))
        return std::string();
    const size_t there = payload.Size() - kText.offset;
    return payload.Get(kText.WithSize(std::min<size_t>(payload.Get(kLength), there)));
}

COVUnitMovePathEvent::COVUnitMovePathEvent(const ObjectId& receiver, uint8_t value,
                                           const std::vector<uint16_t>& provinces)
    : COVEvent(SizeFor(std::min(provinces.size(), kMaxSteps)), EVT_UNITMOVEPATH, receiver) {
    const size_t count = std::min(provinces.size(), kMaxSteps);
    Payload().Set(kValue, value);
    Payload().Set(kCount, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        Payload().Set(kSteps[i], provinces[i]);
}

ObjectId COVUnitMovePathEvent::GetExtraId() const {
    return g_unitServerId;
}

COVCountedEvent::COVCountedEvent(uint32_t type, const ObjectId& receiver,
                                 const std::vector<uint32_t>& entries)
    : COVEvent(SizeFor(std::min(entries.size(), kMaxEntries)), type, receiver) {
    const size_t count = std::min(entries.size(), kMaxEntries);
    Payload().Set(kCount, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        Payload().Set(kEntries[i], entries[i]);
}
