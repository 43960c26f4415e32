// The payload layouts as declared: every field within its payload and
// apart from the others, the sizes those of the type table, values coming
// back through the declarations and through the wire form; and the wire
// image of the layouts no sender test pins.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "engine/Date.h"
#include "engine/ObjectId.h"
#include "net/ClockEvents.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/NetEvent.h"
#include "net/PayloadRoles.h"

namespace {

struct Layout {
    std::string name;
    // The payload size its builder makes; for a variable layout its size
    // with no entries.
    size_t size = 0;
    std::span<const PayloadFieldInfo> fields;
    // The types built with it.
    std::vector<uint32_t> types;
    // Built larger than its type's table size: a payload from a peer is only
    // sure to hold the table's size.
    bool largerThanItsType = false;
    bool isHead = false;
};

std::vector<uint32_t> TypesOfClass(EventLayout layout) {
    std::vector<uint32_t> types;
    for (uint32_t type = 0; type < EVENT_TYPE_COUNT; ++type)
        if (GetEventTypeInfo(type)->layout == layout)
            types.push_back(type);
    return types;
}

template <class T> Layout OfClass(const char* name, EventLayout layout) {
    return {name, T::kSize, T::kFields, TypesOfClass(layout)};
}

template <class T> Layout OfVariableClass(const char* name, std::vector<EventLayout> layouts) {
    Layout result{name, T::kBaseSize, T::kFields, {}};
    for (EventLayout layout : layouts)
        for (uint32_t type : TypesOfClass(layout))
            result.types.push_back(type);
    return result;
}

template <class T> Layout OfData(const char* name) {
    return {name, GetEventPayloadSize(T::kTypes[0]), T::kFields,
            std::vector<uint32_t>(std::begin(T::kTypes), std::end(T::kTypes))};
}

std::vector<Layout> AllLayouts() {
    std::vector<Layout> layouts = {
        OfClass<COVProvinceEvent>("COVProvinceEvent", EventLayout::Province),
        OfClass<COVPauseEvent>("COVPauseEvent", EventLayout::Pause),
        OfClass<COVTimerDateEvent>("COVTimerDateEvent", EventLayout::TimerDate),
        OfClass<COVTimerEvent>("COVTimerEvent", EventLayout::Timer),
        OfClass<COVAnnexationEvent>("COVAnnexationEvent", EventLayout::Annexation),
        OfClass<COVConstructionEvent>("COVConstructionEvent", EventLayout::Construction),
        OfClass<COVSendDateEvent>("COVSendDateEvent", EventLayout::SendDate),
        OfClass<COVFortressEvent>("COVFortressEvent", EventLayout::Fortress),
        OfClass<COVWarPactEvent>("COVWarPactEvent", EventLayout::WarPact),
        OfClass<COVAllianceEvent>("COVAllianceEvent", EventLayout::Alliance),
        OfClass<COVPeaceEvent>("COVPeaceEvent", EventLayout::Peace),
        OfClass<COVCombatEvent>("COVCombatEvent", EventLayout::Combat),
        OfClass<COVMergeWarEvent>("COVMergeWarEvent", EventLayout::MergeWar),
        OfClass<COVImprovementEvent>("COVImprovementEvent", EventLayout::Improvement),
        OfClass<COVCreateAllianceEvent>("COVCreateAllianceEvent", EventLayout::CreateAlliance),
        OfClass<COVWarEvent>("COVWarEvent", EventLayout::War),
        OfClass<CLoanEvent>("CLoanEvent", EventLayout::Loan),
        OfClass<COVColonistEvent>("COVColonistEvent", EventLayout::Colonist),
        OfClass<COVMerchantEvent>("COVMerchantEvent", EventLayout::Merchant),
        OfClass<COVCreateArmyOnFleetEvent>("COVCreateArmyOnFleetEvent",
                                           EventLayout::CreateArmyOnFleet),
        OfClass<COVFleetEvent>("COVFleetEvent", EventLayout::Fleet),
        OfClass<COVArmyEvent>("COVArmyEvent", EventLayout::Army),
        OfClass<COVCreateMonarchEvent>("COVCreateMonarchEvent", EventLayout::CreateMonarch),
        OfClass<COVCreateLeaderEvent>("COVCreateLeaderEvent", EventLayout::CreateLeader),
        OfClass<COVScenarioEvent>("COVScenarioEvent", EventLayout::Scenario),
        OfVariableClass<COVChatEvent>("COVChatEvent", {EventLayout::Chat}),
        OfVariableClass<COVUnitMovePathEvent>("COVUnitMovePathEvent", {EventLayout::UnitMovePath}),
        OfVariableClass<COVCountedEvent>("COVCountedEvent",
                                         {EventLayout::ProvinceBattle, EventLayout::CreateCountry}),
        OfData<PlayerDataPayload>("PlayerDataPayload"),
        OfData<CombatResultPayload>("CombatResultPayload"),
        OfData<CombatRetreatPayload>("CombatRetreatPayload"),
        OfData<SiegeResultPayload>("SiegeResultPayload"),
        OfData<CreateFortressUnitPayload>("CreateFortressUnitPayload"),
        OfData<CountryChoicePayload>("CountryChoicePayload"),
        OfData<BootupReadyPayload>("BootupReadyPayload"),
        OfData<PlayerStartPayload>("PlayerStartPayload"),
        OfData<LeaderArrivalPayload>("LeaderArrivalPayload"),
        OfData<MonarchActivationPayload>("MonarchActivationPayload"),
        OfData<MoveStepPayload>("MoveStepPayload"),
        OfData<UnitMovePayload>("UnitMovePayload"),
        OfData<KillPayload>("KillPayload"),
        OfData<UnitFinishPayload>("UnitFinishPayload"),
        OfData<UnitRequestPayload>("UnitRequestPayload"),
        OfData<MergeRequestPayload>("MergeRequestPayload"),
        OfData<UnitTransferRequestPayload>("UnitTransferRequestPayload"),
        OfData<ActivateLeaderPayload>("ActivateLeaderPayload"),
        OfData<ReplacementLeaderPayload>("ReplacementLeaderPayload"),
        OfData<NewLeaderRequestPayload>("NewLeaderRequestPayload"),
        OfData<ReplacementMonarchPayload>("ReplacementMonarchPayload"),
        OfData<CasusBelliPayload>("CasusBelliPayload"),
        OfData<BoostInvestmentPayload>("BoostInvestmentPayload"),
        OfData<MoneyPayload>("MoneyPayload"),
        OfData<MinisterPayload>("MinisterPayload"),
        OfData<BaseVictoryPointsPayload>("BaseVictoryPointsPayload"),
        OfData<GiftPayload>("GiftPayload"),
        OfData<PairPayload>("PairPayload"),
        OfData<MaintenancePayload>("MaintenancePayload"),
        OfData<HonorAlliancePayload>("HonorAlliancePayload"),
        OfData<ExplorationPayload>("ExplorationPayload"),
        OfData<LoseTradeLevelPayload>("LoseTradeLevelPayload"),
        OfData<RelationRequestPayload>("RelationRequestPayload"),
        OfData<InvestmentChangePayload>("InvestmentChangePayload"),
        OfData<InvestmentSharesPayload>("InvestmentSharesPayload"),
        OfData<RenameObjectPayload>("RenameObjectPayload"),
        OfData<UnitTransferPayload>("UnitTransferPayload"),
        OfData<LeaderTransferPayload>("LeaderTransferPayload"),
        OfData<TolerancePayload>("TolerancePayload"),
        OfData<WhitePeacePayload>("WhitePeacePayload"),
        OfData<SplitWarPayload>("SplitWarPayload"),
        OfData<CityStatePayload>("CityStatePayload"),
        OfData<MonarchValuesPayload>("MonarchValuesPayload"),
        OfData<SwitchAllegiancePayload>("SwitchAllegiancePayload"),
        OfData<UnitLossesPayload>("UnitLossesPayload"),
        OfData<UnitSizeLossesPayload>("UnitSizeLossesPayload"),
        OfData<ProvinceAmountPayload>("ProvinceAmountPayload"),
        OfData<ProvinceValuePayload>("ProvinceValuePayload"),
        OfData<InflationPayload>("InflationPayload"),
        OfData<TradeRefusalPayload>("TradeRefusalPayload"),
        OfData<SetMaintenancePayload>("SetMaintenancePayload"),
        OfData<SetTolerancePayload>("SetTolerancePayload"),
        OfData<ExecRelationPayload>("ExecRelationPayload"),
        OfData<TrackInvestmentPayload>("TrackInvestmentPayload"),
        OfData<MonarchNamePayload>("MonarchNamePayload"),
        OfData<CreateCotPayload>("CreateCotPayload"),
        OfData<ExecuteEventPayload>("ExecuteEventPayload"),
        OfData<MissionPayload>("MissionPayload"),
        OfData<RequestMissionPayload>("RequestMissionPayload"),
        OfData<MissionTakenPayload>("MissionTakenPayload"),
        OfData<ChangeReligionPayload>("ChangeReligionPayload"),
        OfData<CancelConstructionPayload>("CancelConstructionPayload"),
        OfData<UnitMoveCancelPayload>("UnitMoveCancelPayload"),
        OfData<MoveDestinationPayload>("MoveDestinationPayload"),
        OfData<UnitMoralePayload>("UnitMoralePayload"),
        OfData<GotoFriendlyPayload>("GotoFriendlyPayload"),
        OfData<SetEventFlagPayload>("SetEventFlagPayload"),
        OfData<GameEndPayload>("GameEndPayload"),
        // Local only: no table size to agree with.
        {"COVTickAnimationsEvent",
         COVTickAnimationsEvent::kSize,
         COVTickAnimationsEvent::kFields,
         {EVT_TICK_ANIMATIONS}},
        {"CInputEvent", CInputEvent::kSize, CInputEvent::kFields, {EVT_MOUSELBDOWN, EVT_KEYUP}},
    };
    Layout facility{"COVFacilityEvent",
                    COVFacilityEvent::kSize,
                    COVFacilityEvent::kFields,
                    {EVT_REQ_BUILD_FACILITY}};
    facility.largerThanItsType = true;
    Layout offer{"COVPeaceOfferEvent",
                 COVPeaceOfferEvent::kSize,
                 COVPeaceOfferEvent::kFields,
                 {EVT_REQ_CREATE_PEACE_OFFER}};
    offer.largerThanItsType = true;
    layouts.push_back({"CombatUnitFields", GetEventPayloadSize(EVT_COMBAT_REMOVE_UNIT),
                       CombatUnitFields::kFields,
                       std::vector<uint32_t>(std::begin(CombatUnitFields::kTypes),
                                             std::end(CombatUnitFields::kTypes))});
    Layout head{"EventHead", EventHead::kSize, EventHead::kFields, {}};
    head.isHead = true;
    layouts.push_back(facility);
    layouts.push_back(offer);
    layouts.push_back(head);
    return layouts;
}

TEST(PayloadLayoutTest, EveryFieldLiesWithinItsPayloadAfterTheHeadAndApartFromTheOthers) {
    for (const Layout& layout : AllLayouts()) {
        SCOPED_TRACE(layout.name);
        std::vector<PayloadFieldInfo> fields(layout.fields.begin(), layout.fields.end());
        ASSERT_FALSE(fields.empty());
        std::set<std::string> names;
        for (const PayloadFieldInfo& field : fields) {
            SCOPED_TRACE(field.name);
            EXPECT_TRUE(names.insert(field.name).second) << "named twice";
            if (!layout.isHead) {
                EXPECT_GE(field.offset, EVENT_HEAD_SIZE);
            }
            EXPECT_LE(field.offset + field.Width(), layout.size);
        }
        std::sort(fields.begin(), fields.end(),
                  [](const auto& a, const auto& b) { return a.offset < b.offset; });
        for (size_t i = 0; i + 1 < fields.size(); ++i) {
            // A run whose length another field gives lasts to the end.
            EXPECT_NE(fields[i].count, 0u)
                << fields[i].name << " is followed by " << fields[i + 1].name;
            EXPECT_LE(fields[i].offset + fields[i].Width(), fields[i + 1].offset)
                << fields[i].name << " overlaps " << fields[i + 1].name;
        }
    }
}

TEST(PayloadLayoutTest, SizesAreThoseOfTheTypeTable) {
    std::map<uint32_t, std::string> dataLayoutOf;
    for (const Layout& layout : AllLayouts()) {
        SCOPED_TRACE(layout.name);
        EXPECT_EQ(layout.isHead, layout.types.empty());
        for (uint32_t type : layout.types) {
            SCOPED_TRACE(type);
            const EventTypeInfo& info = *GetEventTypeInfo(type);
            if (info.localOnly)
                continue;
            if (layout.largerThanItsType) {
                // The fields up to the table's size are the ones the
                // receiving class knows.
                EXPECT_LT(info.payloadSize, layout.size);
                continue;
            }
            EXPECT_EQ(info.payloadSize, layout.size);
            if (layout.name.ends_with("Payload")) {
                EXPECT_EQ(info.layout, EventLayout::Data);
                // One type, one declaration.
                const auto [it, added] = dataLayoutOf.emplace(type, layout.name);
                EXPECT_TRUE(added) << "also declared by " << it->second;
            }
        }
    }
}

// One value per element of a field, distinct across the layout.
class Filler {
public:
    // Writes the next value into element k of the field and answers it as text.
    std::string Write(COVEventData& data, const PayloadFieldInfo& field, size_t k) {
        ++m_n;
        const size_t at = field.offset + k * PayloadWidth(field.type);
        const auto n = static_cast<uint32_t>(m_n);
        switch (field.type) {
        case PayloadType::U8:
            data.Set(PayloadField<uint8_t>{field.name, at}, static_cast<uint8_t>(n));
            break;
        case PayloadType::U16:
            data.Set(PayloadField<uint16_t>{field.name, at}, static_cast<uint16_t>(0x0100 + n));
            break;
        case PayloadType::U32:
            data.Set(PayloadField<uint32_t>{field.name, at}, 0x01020300u + n);
            break;
        case PayloadType::I32:
            data.Set(PayloadField<int32_t>{field.name, at}, -1000 * static_cast<int32_t>(n) - 1);
            break;
        case PayloadType::F32:
            data.Set(PayloadField<float>{field.name, at}, static_cast<float>(n) + 0.25f);
            break;
        case PayloadType::Id:
            data.Set(PayloadField<ObjectId>{field.name, at},
                     ObjectId(static_cast<uint16_t>(0x0200 + n), 0x10000000u + n));
            break;
        case PayloadType::Date:
            data.Set(PayloadField<CDate>{field.name, at},
                     CDate(static_cast<int>(n % 28 + 1), static_cast<int>(n % 12 + 1),
                           static_cast<int>(1492 + n)));
            break;
        case PayloadType::Text:
            data.Set(Text(field),
                     std::string(Text(field).size - 1, static_cast<char>('a' + n % 26)));
            break;
        }
        return Read(data, field, k);
    }

    static std::string Read(const COVEventData& data, const PayloadFieldInfo& field, size_t k) {
        const size_t at = field.offset + k * PayloadWidth(field.type);
        switch (field.type) {
        case PayloadType::U8:
            return std::to_string(data.Get(PayloadField<uint8_t>{field.name, at}));
        case PayloadType::U16:
            return std::to_string(data.Get(PayloadField<uint16_t>{field.name, at}));
        case PayloadType::U32:
            return std::to_string(data.Get(PayloadField<uint32_t>{field.name, at}));
        case PayloadType::I32:
            return std::to_string(data.Get(PayloadField<int32_t>{field.name, at}));
        case PayloadType::F32:
            return std::to_string(data.Get(PayloadField<float>{field.name, at}));
        case PayloadType::Id: {
            const ObjectId id = data.Get(PayloadField<ObjectId>{field.name, at});
            return std::to_string(id.type) + ":" + std::to_string(id.number);
        }
        case PayloadType::Date: {
            const CDate date = data.Get(PayloadField<CDate>{field.name, at});
            return std::to_string(date.day) + "." + std::to_string(date.month) + "." +
                   std::to_string(date.year);
        }
        case PayloadType::Text:
            return data.Get(Text(field));
        }
        return "";
    }

    // A text field as a whole; one of open length gets six bytes.
    static PayloadText Text(const PayloadFieldInfo& field) {
        return {field.name, field.offset, field.count ? field.count : 6};
    }
    // Elements written of a field: a run of open length gets three.
    static size_t Elements(const PayloadFieldInfo& field) {
        if (field.type == PayloadType::Text)
            return 1;
        return field.count ? field.count : 3;
    }
    static size_t End(const PayloadFieldInfo& field) {
        if (field.type == PayloadType::Text)
            return field.offset + Text(field).size;
        return field.offset + Elements(field) * PayloadWidth(field.type);
    }

private:
    int m_n = 0;
};

TEST(PayloadLayoutTest, ValuesComeBackThroughTheDeclarationsAndTheWireForm) {
    for (const Layout& layout : AllLayouts()) {
        SCOPED_TRACE(layout.name);
        size_t size = layout.size;
        for (const PayloadFieldInfo& field : layout.fields)
            size = std::max(size, Filler::End(field));
        auto payload = std::make_unique<COVEventData>(size);
        if (!layout.isHead)
            payload->SetTypeId(layout.types.front());

        // All fields first, then all read back: a field written over by
        // another does not come back.
        Filler filler;
        std::vector<std::string> written;
        for (const PayloadFieldInfo& field : layout.fields)
            for (size_t k = 0; k < Filler::Elements(field); ++k)
                written.push_back(filler.Write(*payload, field, k));
        const auto readAll = [&layout](const COVEventData& data) {
            std::vector<std::string> values;
            for (const PayloadFieldInfo& field : layout.fields)
                for (size_t k = 0; k < Filler::Elements(field); ++k)
                    values.push_back(Filler::Read(data, field, k));
            return values;
        };
        EXPECT_EQ(readAll(*payload), written);
        EXPECT_EQ(std::set<std::string>(written.begin(), written.end()).size(), written.size());

        const COVEvent event(std::move(payload));
        const std::vector<uint8_t> block = COVNetEvent(event).GetBlock();
        const std::unique_ptr<COVNetEvent> arrived =
            COVNetEvent::FromBlock(block.data(), block.size());
        ASSERT_NE(arrived, nullptr);
        EXPECT_EQ(arrived->GetPayloadSize(), size);
        EXPECT_EQ(readAll(arrived->Payload()), written);
    }
}

TEST(PayloadLayoutTest, HoldsAnswersWithoutTouchingThePayload) {
    COVProvinceEvent event(EVT_SET_IN_PROVINCE, ObjectId(4712, 1), 7);
    const COVEventData& data = event.Payload();
    const size_t end = data.Size();
    EXPECT_TRUE(data.Holds(COVProvinceEvent::kProvince));
    EXPECT_TRUE(data.Holds(end - 4, 4));
    EXPECT_FALSE(data.Holds(end - 2, 4));
    EXPECT_FALSE(data.Holds(end + 400, 4));
    EXPECT_FALSE(data.Holds(PayloadField<ObjectId>{"id", end - 4}));
    // A run of open length holds while it starts within the payload.
    EXPECT_TRUE(data.Holds(PayloadArray<uint16_t>{"run", end}));
    EXPECT_FALSE(data.Holds(PayloadArray<uint16_t>{"run", end + 1}));
}

// ---------------------------------------------------------------------------
// The wire image of the layouts that no sender test pins byte by byte.

using Bytes = std::vector<uint8_t>;

// An expected payload: zero, with the type and receiver of the head.
struct Image {
    Image(size_t size, uint32_t type, const ObjectId& receiver) : bytes(size, 0) {
        Put(0, {static_cast<uint8_t>(type), static_cast<uint8_t>(type >> 8), 0, 0});
        Put(12,
            {static_cast<uint8_t>(receiver.type), static_cast<uint8_t>(receiver.type >> 8), 0, 0,
             static_cast<uint8_t>(receiver.number), static_cast<uint8_t>(receiver.number >> 8),
             static_cast<uint8_t>(receiver.number >> 16),
             static_cast<uint8_t>(receiver.number >> 24)});
    }
    Image& Put(size_t at, std::initializer_list<uint8_t> values) {
        for (uint8_t value : values)
            bytes.at(at++) = value;
        return *this;
    }
    Bytes bytes;
};

struct WireCase {
    const char* name;
    std::function<std::unique_ptr<COVEvent>()> build;
    Image expected;
};

template <class T>
std::unique_ptr<COVEvent> Filled(uint32_t type, const ObjectId& receiver,
                                 const std::function<void(COVEventData&)>& fill) {
    auto event = std::make_unique<T>(type, receiver);
    fill(event->Payload());
    return event;
}

TEST(PayloadLayoutTest, WireImagesStayByteExact) {
    const ObjectId unit(4712, 0x0A0B0C0D);
    const std::vector<WireCase> cases = {
        {"scenario", [] { return std::make_unique<COVScenarioEvent>(3, "ab", 0x01020304, 0x0A0B0C0D); },
         Image(160, EVT_APPMSG_SCENARIO, g_broadcastId)
             .Put(20, {3, 0, 0, 0})
             .Put(24, {'a', 'b', 0})
             .Put(152, {4, 3, 2, 1})
             .Put(156, {0x0D, 0x0C, 0x0B, 0x0A})},
        {"chat", [] { return std::make_unique<COVChatEvent>("hey", 0x01020304, g_broadcastId); },
         Image(34, EVT_APPMSG_CHATSTRING, g_broadcastId)
             .Put(20, {4, 3, 2, 1})
             .Put(24, {4, 0})
             .Put(26, {'h', 'e', 'y', 0})},
        {"unit path",
         [&] {
             return std::make_unique<COVUnitMovePathEvent>(unit, 7, std::vector<uint16_t>{0x0102, 0x0304});
         },
         Image(42, EVT_UNITMOVEPATH, unit).Put(28, {7, 0, 2, 0}).Put(32, {2, 1, 4, 3})},
        {"move order",
         [&] {
             return Filled<COVDataEvent>(EVT_UNITMOVE_ADD_DEST, g_unitServerId, [&](COVEventData& data) {
                 data.Set(MoveDestinationPayload::kUnit, unit);
                 data.Set(MoveDestinationPayload::kDestination, 0x0102);
                 data.Set(MoveDestinationPayload::kReplace, 1);
             });
         },
         Image(32, EVT_UNITMOVE_ADD_DEST, g_unitServerId)
             .Put(20, {0x68, 0x12, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A})
             .Put(28, {2, 1, 1, 0})},
        {"unit move",
         [&] {
             return Filled<COVDataEvent>(EVT_UNITMOVE, unit, [&](COVEventData& data) {
                 data.Set(UnitMovePayload::kProvince, 0x0102);
                 data.Set(UnitMovePayload::kCarrier, ObjectId(4712, 9));
             });
         },
         Image(32, EVT_UNITMOVE, unit).Put(20, {2, 1, 0, 0, 0x68, 0x12, 0, 0, 9, 0, 0, 0})},
        {"event flag",
         [] {
             return Filled<COVDataEvent>(EVT_SETEVENTFLAG, g_timerDateId, [](COVEventData& data) {
                 data.Set(SetEventFlagPayload::kValue, -1);
                 data.Set(SetEventFlagPayload::kFlag, 5);
             });
         },
         Image(28, EVT_SETEVENTFLAG, g_timerDateId).Put(20, {0xFF, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0})},
        {"province battle",
         [] {
             return std::make_unique<COVProvinceBattleEvent>(EVT_PROVBATTLEWON, ObjectId(3, 9),
                                                             std::vector<uint32_t>{0x01020304});
         },
         Image(42, EVT_PROVBATTLEWON, ObjectId(3, 9)).Put(28, {1, 0}).Put(32, {4, 3, 2, 1})},
        {"timer",
         [] {
             return std::make_unique<COVTimerEvent>(EVT_TIMER_MONTH, g_broadcastId,
                                                    CDate(9, 5, 0x0600));
         },
         Image(28, EVT_TIMER_MONTH, g_broadcastId).Put(24, {9, 5, 0x00, 0x06})},
        {"timer date",
         [] { return std::make_unique<COVTimerDateEvent>(EVT_TIMER_DATE, g_timerDateId, 7); },
         Image(24, EVT_TIMER_DATE, g_timerDateId).Put(20, {7, 0, 0, 0})},
        {"tick animations", [] { return std::make_unique<COVTickAnimationsEvent>(0x0102); },
         Image(24, EVT_TICK_ANIMATIONS, g_broadcastId).Put(20, {2, 1, 0, 0})},
        {"input",
         [] {
             return std::make_unique<CInputEvent>(EVT_MOUSELBDOWN, g_broadcastId, 7, 0x11, -3, 599);
         },
         Image(40, EVT_MOUSELBDOWN, g_broadcastId)
             .Put(20, {7, 0, 0, 0})
             .Put(24, {0x11, 0, 0, 0})
             .Put(28, {0xFD, 0xFF, 0xFF, 0xFF})
             .Put(32, {0x57, 0x02, 0, 0})
             .Put(36, {0, 0, 0, 0})},
        {"player data",
         [] {
             return Filled<COVDataEvent>(EVT_PLAYER_DATA, g_broadcastId, [](COVEventData& data) {
                 data.Set(PlayerDataPayload::kSlot, 1);
                 data.Set(PlayerDataPayload::kPlayer, 2);
                 data.Set(PlayerDataPayload::kSecondWord, 3);
                 data.Set(PlayerDataPayload::kName, "Ann");
                 data.Set(PlayerDataPayload::kFlags, 4);
                 data.Set(PlayerDataPayload::kCountry, -1);
                 data.Set(PlayerDataPayload::kSlotCount, 5);
             });
         },
         Image(108, EVT_PLAYER_DATA, g_broadcastId)
             .Put(20, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 'A', 'n', 'n'})
             .Put(96, {4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0})},
        {"country choice",
         [] {
             return Filled<COVDataEvent>(EVT_APPMSG_COUNTRY, g_broadcastId, [](COVEventData& data) {
                 data.Set(CountryChoicePayload::kPlayer, 2);
                 data.Set(CountryChoicePayload::kCountry, -1);
                 data.Set(CountryChoicePayload::kFromHost, 1);
             });
         },
         Image(32, EVT_APPMSG_COUNTRY, g_broadcastId)
             .Put(20, {2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1})},
        {"boot-up ready",
         [] {
             return Filled<COVDataEvent>(EVT_BOOTUP_READY, g_broadcastId, [](COVEventData& data) {
                 data.Set(BootupReadyPayload::kPlayer, 9);
             });
         },
         Image(24, EVT_BOOTUP_READY, g_broadcastId).Put(20, {9, 0, 0, 0})},
        {"player start",
         [] {
             return Filled<COVDataEvent>(EVT_PLAYER_START, g_broadcastId, [](COVEventData& data) {
                 data.Set(PlayerStartPayload::kSlot, 3);
             });
         },
         Image(24, EVT_PLAYER_START, g_broadcastId).Put(20, {3, 0, 0, 0})},
        {"leader arrival",
         [&] {
             return Filled<COVDataEvent>(EVT_ARRIVE_LEADER, g_leaderRequestsId,
                                         [&](COVEventData& data) {
                                             data.Set(LeaderArrivalPayload::kLeader, unit);
                                         });
         },
         Image(28, EVT_ARRIVE_LEADER, g_leaderRequestsId)
             .Put(20, {0x68, 0x12, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A})},
        {"monarch activation",
         [&] {
             return Filled<COVDataEvent>(
                 EVT_ACTIVATE_MONARCH, ObjectId(3, 1), [&](COVEventData& data) {
                     data.Set(MonarchActivationPayload::kLeader, unit);
                     data.Set(MonarchActivationPayload::kEvent2Start, -2);
                 });
         },
         Image(32, EVT_ACTIVATE_MONARCH, ObjectId(3, 1))
             .Put(20, {0x68, 0x12, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A, 0xFE, 0xFF, 0xFF, 0xFF})},
        {"move step",
         [&] {
             return Filled<COVDataEvent>(EVT_UNNAMED_57, g_unitServerId, [&](COVEventData& data) {
                 data.Set(MoveStepPayload::kUnit, unit);
                 data.Set(MoveStepPayload::kProvince, 0x0102);
             });
         },
         Image(32, EVT_UNNAMED_57, g_unitServerId)
             .Put(20, {0x68, 0x12, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A, 2, 1})},
        // 1.5f is 0x3FC00000, -2.0f 0xC0000000, 0.25f 0x3E800000.
        {"unit losses",
         [&] {
             return Filled<COVDataEvent>(EVT_UNITLOSSES, ObjectId(3, 2), [&](COVEventData& data) {
                 data.Set(UnitLossesPayload::kUnit, unit);
                 data.Set(UnitLossesPayload::kAmount, 1.5f);
                 data.Set(UnitLossesPayload::kCause, 1);
             });
         },
         Image(36, EVT_UNITLOSSES, ObjectId(3, 2))
             .Put(20, {0x68, 0x12, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A, 0, 0, 0xC0, 0x3F, 1, 0, 0, 0})},
        {"unit size losses",
         [&] {
             return Filled<COVDataEvent>(
                 EVT_UNITSIZELOSSES, ObjectId(3, 2), [&](COVEventData& data) {
                     data.Set(UnitSizeLossesPayload::kUnit, unit);
                     data.Set(UnitSizeLossesPayload::kFirst, 1.5f);
                     data.Set(UnitSizeLossesPayload::kSecond, -2.0f);
                     data.Set(UnitSizeLossesPayload::kThird, 0.25f);
                     data.Set(UnitSizeLossesPayload::kCause, 0x01020304);
                 });
         },
         Image(44, EVT_UNITSIZELOSSES, ObjectId(3, 2))
             .Put(20, {0x68, 0x12, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A, 0, 0, 0xC0, 0x3F, 0, 0, 0, 0xC0,
                       0, 0, 0x80, 0x3E, 4, 3, 2, 1})},
        {"unit move",
         [&] {
             return Filled<COVDataEvent>(EVT_UNITMOVE, unit, [&](COVEventData& data) {
                 data.Set(UnitMovePayload::kProvince, 0x0102);
                 data.Set(UnitMovePayload::kCarrier, unit);
             });
         },
         Image(32, EVT_UNITMOVE, unit)
             .Put(20, {2, 1, 0, 0, 0x68, 0x12, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A})},
        {"set retreat morale",
         [&] {
             return Filled<COVDataEvent>(EVT_SET_RETREAT_MORALE, unit, [](COVEventData& data) {
                 data.Set(UnitMoralePayload::kMorale, 0.25f);
             });
         },
         Image(24, EVT_SET_RETREAT_MORALE, unit).Put(20, {0, 0, 0x80, 0x3E})},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<COVEvent> event = c.build();
        const COVEventData& payload = event->Payload();
        EXPECT_EQ(Bytes(payload.Bytes(), payload.Bytes() + payload.Size()), c.expected.bytes);
    }
}

} // namespace

// Every role the receiving check gives a field is a field declared for the
// type, within the type's table size: a whole number, an id for the id role,
// a run for the roles of a list, whose count comes before it.
TEST(PayloadLayoutTest, EveryPayloadRoleIsADeclaredFieldOfItsType) {
    const std::vector<Layout> layouts = AllLayouts();
    const auto sameField = [](const PayloadFieldInfo& a, const PayloadFieldInfo& b) {
        return std::string(a.name) == b.name && a.offset == b.offset && a.type == b.type &&
               a.count == b.count;
    };
    for (uint32_t type = 0; type < EVENT_TYPE_COUNT; ++type) {
        bool counted = false;
        for (const PayloadFieldRole& role : GetPayloadRoles(type)) {
            const PayloadFieldInfo& field = role.field;
            SCOPED_TRACE(GetEventTypeName(type) + " " + field.name);
            const bool declared =
                std::any_of(layouts.begin(), layouts.end(), [&](const Layout& layout) {
                    return !layout.largerThanItsType &&
                           std::find(layout.types.begin(), layout.types.end(), type) !=
                               layout.types.end() &&
                           std::any_of(layout.fields.begin(), layout.fields.end(),
                                       [&](const auto& f) { return sameField(f, field); });
                });
            EXPECT_TRUE(declared);
            EXPECT_LE(field.offset + field.Width(), GetEventPayloadSize(type));
            const bool list =
                role.role == PayloadRole::Countries || role.role == PayloadRole::Provinces;
            EXPECT_EQ(field.count == 0, list);
            if (list) {
                EXPECT_TRUE(counted) << "no count before the list";
            }
            counted = role.role == PayloadRole::Count || role.role == PayloadRole::Length;
            EXPECT_EQ(role.role == PayloadRole::Id, field.type == PayloadType::Id);
            EXPECT_NE(field.type, PayloadType::F32);
            EXPECT_NE(field.type, PayloadType::Date);
            EXPECT_NE(field.type, PayloadType::Text);
        }
    }
}
