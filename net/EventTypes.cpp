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

ObjectId CountryAt(const COVEvent& event, size_t offset) {
    return ObjectId(kCountryIdType, event.Payload().GetU32(offset));
}

template <size_t N>
void PutValues(COVEventData& data, size_t offset, const std::array<uint32_t, N>& values) {
    for (size_t i = 0; i < N; ++i)
        data.SetU32(offset + 4 * i, values[i]);
}

} // namespace

COVDataEvent::COVDataEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(GetEventPayloadSize(type), type, receiver) {}

COVProvinceEvent::COVProvinceEvent(uint32_t type, const ObjectId& receiver, uint32_t province)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, province);
}

COVPauseEvent::COVPauseEvent(uint32_t type, const ObjectId& receiver, uint32_t value)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, value);
}

COVTimerDateEvent::COVTimerDateEvent(uint32_t type, const ObjectId& receiver, uint32_t count)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, count);
}

COVTimerEvent::COVTimerEvent(uint32_t type, const ObjectId& receiver, const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().SetDate(20, date);
}

COVAnnexationEvent::COVAnnexationEvent(uint32_t type, const ObjectId& receiver, uint32_t country,
                                       uint32_t value)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, country);
    Payload().SetU32(24, value);
}

ObjectId COVAnnexationEvent::GetExtraId() const {
    return CountryAt(*this, 20);
}

COVConstructionEvent::COVConstructionEvent(uint32_t type, const ObjectId& receiver, uint32_t a,
                                           uint32_t b, uint32_t c)
    : COVEvent(kSize, type, receiver) {
    PutValues<3>(Payload(), 20, {a, b, c});
}

COVSendDateEvent::COVSendDateEvent(uint32_t type, const ObjectId& receiver, uint32_t value,
                                   const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, value);
    Payload().SetDate(24, date);
}

COVFortressEvent::COVFortressEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                                   uint32_t c, uint32_t d)
    : COVEvent(kSize, type, receiver) {
    PutValues<4>(Payload(), 20, {a, b, c, d});
}

COVWarPactEvent::COVWarPactEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

ObjectId COVWarPactEvent::GetExtraId() const {
    return CountryAt(*this, 32);
}

COVAllianceEvent::COVAllianceEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

ObjectId COVAllianceEvent::GetExtraId() const {
    return CountryAt(*this, 32);
}

COVPeaceEvent::COVPeaceEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                             uint32_t c, uint32_t country)
    : COVEvent(kSize, type, receiver) {
    PutValues<4>(Payload(), 20, {a, b, c, country});
}

ObjectId COVPeaceEvent::GetExtraId() const {
    return CountryAt(*this, 32);
}

COVCombatEvent::COVCombatEvent(uint32_t type, const ObjectId& receiver, uint32_t value,
                               const ObjectId& id, const CDate& date)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, value);
    Payload().SetId(24, id);
    Payload().SetDate(32, date);
}

COVMergeWarEvent::COVMergeWarEvent(uint32_t type, const ObjectId& receiver,
                                   const std::array<uint32_t, 5>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 20, values);
}

COVImprovementEvent::COVImprovementEvent(uint32_t type, const ObjectId& receiver,
                                         const std::array<uint32_t, 5>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 20, values);
}

COVCreateAllianceEvent::COVCreateAllianceEvent(uint32_t type, const ObjectId& receiver, uint32_t a,
                                               uint32_t b, uint32_t c, const CDate& date,
                                               uint32_t d)
    : COVEvent(kSize, type, receiver) {
    PutValues<3>(Payload(), 24, {a, b, c});
    Payload().SetDate(40, date);
    Payload().SetU32(48, d);
}

COVWarEvent::COVWarEvent(uint32_t type, const ObjectId& receiver,
                         const std::array<uint32_t, 8>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 20, values);
}

ObjectId COVWarEvent::GetExtraId() const {
    return CountryAt(*this, 44);
}

CLoanEvent::CLoanEvent(uint32_t type, const ObjectId& receiver, const ObjectId& country, uint32_t a,
                       uint32_t b, const CDate& date, uint32_t c)
    : COVEvent(kSize, type, receiver) {
    Payload().SetId(28, country);
    Payload().SetU32(36, a);
    Payload().SetU32(40, b);
    Payload().SetDate(44, date);
    Payload().SetU32(52, c);
}

COVColonistEvent::COVColonistEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                                   uint32_t c, uint32_t d)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(44, a);
    Payload().SetU32(20, b);
    Payload().SetU32(52, c);
    Payload().SetU32(56, d);
}

COVFacilityEvent::COVFacilityEvent(uint32_t type, const ObjectId& receiver, uint32_t a, uint32_t b,
                                   uint32_t c, uint32_t d)
    : COVEvent(kSize, type, receiver) {
    Payload().SetU32(20, a);
    PutValues<3>(Payload(), 48, {b, c, d});
}

COVMerchantEvent::COVMerchantEvent(uint32_t type, const ObjectId& receiver)
    : COVEvent(kSize, type, receiver) {}

COVCreateArmyOnFleetEvent::COVCreateArmyOnFleetEvent(uint32_t type, const ObjectId& receiver,
                                                     const std::array<uint32_t, 9>& values)
    : COVEvent(kSize, type, receiver) {
    PutValues(Payload(), 44, values);
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
    Payload().SetU32(20, startValue);
    Payload().SetText(24, kNameSize, fileName);
    Payload().SetU32(152, fileSize);
    Payload().SetU32(156, byteSum);
}

COVChatEvent::COVChatEvent(std::string_view text, uint32_t sender, const ObjectId& receiver)
    : COVEvent(SizeFor(std::min(text.size(), kMaxTextLength)), EVT_APPMSG_CHATSTRING, receiver) {
    const size_t length = std::min(text.size(), kMaxTextLength) + 1;
    Payload().SetU32(20, sender);
    Payload().SetU16(24, static_cast<uint16_t>(length));
    Payload().SetText(26, length, text);
}

std::string COVChatEvent::GetText() const {
    return Payload().GetText(26, Payload().GetU16(24));
}

COVUnitMovePathEvent::COVUnitMovePathEvent(const ObjectId& receiver, uint8_t value,
                                           const std::vector<uint16_t>& provinces)
    : COVEvent(SizeFor(std::min(provinces.size(), kMaxSteps)), EVT_UNITMOVEPATH, receiver) {
    const size_t count = std::min(provinces.size(), kMaxSteps);
    Payload().SetU16(28, value);
    Payload().SetU16(30, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        Payload().SetU16(32 + 2 * i, provinces[i]);
}

ObjectId COVUnitMovePathEvent::GetExtraId() const {
    return g_unitServerId;
}

COVCountedEvent::COVCountedEvent(uint32_t type, const ObjectId& receiver,
                                 const std::vector<uint32_t>& entries)
    : COVEvent(SizeFor(std::min(entries.size(), kMaxEntries)), type, receiver) {
    const size_t count = std::min(entries.size(), kMaxEntries);
    Payload().SetU16(28, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        Payload().SetU32(32 + 4 * i, entries[i]);
}
