#include "military/units/Unit.h"
#include "military/units/NavalUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "data/DataTree.h"
#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "data/WorldStateHash.h"
#include "engine/GameTimer.h"
#include "military/units/Leader.h"
#include "military/units/LeaderRegistry.h"
#include "military/units/UnitWidgets.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

// A unit block of a country block: the unit joins the list of units under
// development or, idle and placed at its location, the list of units.
void ReadCountryUnit(CCountry& country, CFieldReader& in, bool fleet) {
    CUnit* unit = fleet ? static_cast<CUnit*>(new CNavalUnit(&country)) : new CLandUnit(&country);
    unit->SetCountry(&country);
    unit->Read(in);
    if (unit->IsInDevelopment()) {
        country.m_unitsInDevelopment.AddTail(unit);
        unit->Refresh();
        return;
    }
    unit->SetIdleState();
    country.m_units.AddTail(unit);
    unit->PlaceAtLocation();
    unit->Refresh();
}

// A fleet writes the armies it carries inside its own block.
CDataBlock* WriteCountryUnit(const CUnit& unit, uint32_t& keyword) {
    if (unit.IsFleet()) {
        keyword = KW_NAVALUNIT;
        return unit.Write();
    }
    if (static_cast<const CLandUnit&>(unit).GetCarrier())
        return nullptr;
    keyword = KW_LANDUNIT;
    return unit.Write();
}

// Fleets first: a fleet sets its cargo ashore when it goes. Sort them out
// before deleting anything, so no deleted unit is asked.
void DeleteCountryUnits(const std::vector<CUnit*>& units) {
    std::vector<CUnit*> armies;
    for (CUnit* unit : units) {
        if (unit->IsFleet())
            delete unit;
        else
            armies.push_back(unit);
    }
    for (CUnit* unit : armies)
        delete unit;
}

CUnit* FindUnit(const ObjectId& id) {
    return dynamic_cast<CUnit*>(ResolveId(id));
}

void DescribeUnit(const CUnit& unit, UnitFacts& facts) {
    facts.id = unit.GetId();
    facts.name = unit.GetName();
    facts.fleet = unit.IsFleet();
    facts.province = unit.GetLocation();
    facts.strength = unit.GetStrength(0) + unit.GetStrength(1) + unit.GetStrength(2);
    if (facts.fleet) {
        const_cast<CLinkedList<CLandUnit>&>(static_cast<const CNavalUnit&>(unit).GetCargo())
            .ForEach([&facts](CLandUnit* army) { facts.cargo.push_back(army); });
    } else {
        facts.troops = {unit.GetRoundedInfantry(), unit.GetRoundedCavalry(),
                        unit.GetRoundedArtillery()};
    }
}

// An army aboard a fleet goes ashore before it goes.
void ReleaseUnit(CUnit& unit) {
    if (unit.IsFleet())
        return;
    auto& army = static_cast<CLandUnit&>(unit);
    if (CNavalUnit* carrier = army.GetCarrier())
        carrier->UnloadArmy(&army);
}

// The countries read, write and delete their units through these.
const bool g_countryUnitsRegistered = [] {
    g_countryMilitary.readUnit = ReadCountryUnit;
    g_countryMilitary.writeUnit = WriteCountryUnit;
    g_countryMilitary.deleteUnits = DeleteCountryUnits;
    g_countryMilitary.findUnit = FindUnit;
    // A country's units are those it owns: the lists need no search. A
    // siege's garrison has an owner but stands in none of its lists.
    g_countryMilitary.isListedUnit = [](const CUnit& unit, const CCountry& country) {
        return unit.GetOwner() == &country && !unit.garrison;
    };
    g_countryMilitary.describeUnit = DescribeUnit;
    g_countryMilitary.releaseUnit = ReleaseUnit;
    return true;
}();

} // namespace

std::unique_ptr<COVEvent> MakeUnitFinishEvent(const ObjectId& unit) {
    return std::make_unique<COVDataEvent>(EVT_UNIT_FINISH, unit);
}

std::unique_ptr<COVEvent> MakeMoveStepEvent(const ObjectId& unit, uint16_t province) {
    auto event = std::make_unique<COVDataEvent>(EVT_UNNAMED_57, g_unitServerId);
    event->Payload().Set(MoveStepPayload::kUnit, unit);
    event->Payload().Set(MoveStepPayload::kProvince, province);
    return event;
}

// -------------------------------------------------------------------- CUnit

CUnit::CUnit(CCountry* owner) : created(Today()), m_owner(owner) {
    m_defaultLeader.SetUnit(this);
    m_figureKey.action = FIGURE_STAND;
}

void (*g_unitGoneAI)(CUnit& unit) = nullptr;
void (*g_unitCreatedAI)(CUnit& unit) = nullptr;

CUnit::~CUnit() {
    if ((aiAgent || !aiRejectedBy.empty()) && g_unitGoneAI)
        g_unitGoneAI(*this);
    m_defaultLeader.SetUnit(nullptr);
    m_leaders.ForEach([this](CLeader* leader) {
        if (leader->GetUnit() == this)
            leader->SetUnit(nullptr);
    });
}

void CUnit::SetName(const std::string& name) {
    m_name = name.substr(0, kMaxObjectNameLength);
}

int32_t CUnit::RoundUp(float value) {
    const float up = std::ceil(value);
    if (!(up > static_cast<float>(std::numeric_limits<int32_t>::min())))
        return up != up ? 0 : std::numeric_limits<int32_t>::min();
    if (up >= static_cast<float>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(up);
}

bool CUnit::AttachLeader(const ObjectId& id) {
    CLeader* leader = FindLeaderById(id);
    if (!leader)
        return false;
    AttachLeader(leader);
    return true;
}

void CUnit::AttachLeader(CLeader* leader) {
    if (!leader || m_leaders.Find(leader))
        return;
    AttachLeaderAfter(leader, nullptr);
    GetCommander();
}

CLinkedList<CLeader>::Node* CUnit::AttachLeaderAfter(CLeader* leader,
                                                     CLinkedList<CLeader>::Node* after) {
    if (CLinkedList<CLeader>::Node* node = m_leaders.Find(leader))
        return node;
    // A leader that another unit's block made goes on belonging to the unit
    // that has it in its list.
    if (CUnit* previous = leader->GetUnit(); previous && previous != this) {
        previous->m_leaders.Remove(leader);
        auto& owned = previous->m_ownLeaders;
        for (auto it = owned.begin(); it != owned.end(); ++it) {
            if (it->get() == leader) {
                m_ownLeaders.push_back(std::move(*it));
                owned.erase(it);
                break;
            }
        }
    }
    leader->SetCountry(m_owner);
    leader->SetUnit(this);
    if (!after)
        return m_leaders.AddHead(leader);
    return m_leaders.InsertBefore(leader, after->next);
}

int32_t CUnit::GetNextPathProvince() const {
    CIntList::CListPosition position = nullptr;
    m_path.GetHeadPosition(position);
    return position ? position->item : 0;
}

void CUnit::SetPath(int32_t replace, const CIntList& provinces) {
    const bool extends = !replace && !m_path.IsEmpty();
    if (replace)
        m_path.RemoveAll();
    CIntList::CListPosition position = nullptr;
    for (provinces.GetHeadPosition(position); position; CIntList::MoveNext(position))
        if (!position->removed)
            m_path.AddTail(position->item);
    DebugPrint("New move path size: %d in Unit #%d.\n", static_cast<int>(m_path.GetCount()),
               static_cast<int>(GetId().number));
    // Appending to a path under way changes neither the state nor the
    // figure.
    if (extends || m_path.IsEmpty())
        return;
    FaceNextStep();
    SetMapPlacement(PLACEMENT_MOVING);
    m_state = EState::Moving;
}

CDataBlock* CUnit::Write() const {
    CDataBlock* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_ID, GetId().MakeNode()));
    block->AddChild(new CDataAssignment(KW_NAME, new CDataString(m_name.c_str())));
    block->AddChild(new CDataAssignment(KW_LOCATION, new CDataInt(m_location)));
    block->AddChild(new CDataAssignment(KW_DATE, completionDate.Write()));
    block->AddChild(new CDataAssignment(KW_DEVELOPMENT, new CDataBool(m_development != 0)));
    block->AddChild(new CDataAssignment(KW_MORALE, new CFloatNode(morale)));
    // TListBase::ForEach is not const; walk the nodes.
    CLinkedList<CLeader>::CListPosition position = nullptr;
    for (m_leaders.GetHeadPosition(position); position; CLinkedList<CLeader>::MoveNext(position)) {
        const CLeader* leader = position->item;
        if (position->removed || !leader)
            continue;
        block->AddChild(new CDataAssignment(
            leader->IsHistorical() ? KW_HISTORICALLEADER : KW_LEADER, leader->Write()));
    }
    if (!m_path.IsEmpty())
        WriteMovement(*block);
    return block;
}

void CUnit::WriteMovement(CDataBlock& block) const {
    // The next step's date is the host's alone (clients never learn it).
    if (!WritingSharedStateOnly()) {
        const CDate today = Today();
        const int32_t days =
            ((nextStepDate.year - today.year) * 12 + nextStepDate.month - today.month) * 30 +
            nextStepDate.day - today.day;
        block.AddChild(new CDataAssignment(KW_MOVETIME, new CDataInt(days)));
    }
    CDataBlock* path = new CDataBlock;
    CIntList::CListPosition position = nullptr;
    for (m_path.GetHeadPosition(position); position; CIntList::MoveNext(position))
        if (!position->removed)
            path->AddChild(new CDataInt(position->item));
    block.AddChild(new CDataAssignment(KW_MOVEMENT, path));
    if (m_retreating)
        block.AddChild(new CDataAssignment(KW_RETREAT, new CDataBool(true)));
}

int32_t CUnit::Read(CFieldReader& in) {
    m_development = 0;
    int32_t location = 0;
    CIntList path;
    bool retreat = false;
    // The completion message waits for the unit's final id.
    bool postFinish = false;
    CDate finishDate;
    // The block's leaders stand in the list in the file's order.
    CLinkedList<CLeader>::Node* lastLeader = nullptr;
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result != FIELD_READ)
            break; // the block's "}" was taken
        const Token& value = in.value;
        switch (in.key.code) {
        case KW_NAME:
            if (value.code == TOKEN_STRING)
                SetName(value.text);
            break;
        case KW_LOCATION:
            if (value.code != TOKEN_NUMBER)
                break;
            if (IsProvinceLocation(TokenToInt(value.text)))
                location = TokenToInt(value.text);
            else
                in.ReportError("Illegal province ID");
            break;
        case KW_MORALE:
            morale = TokenToFloat(value.text);
            break;
        case KW_DATE:
            if (value.code == TOKEN_OPEN_BRACE)
                completionDate.Read(in);
            break;
        case KW_DEVELOPMENT:
            if (value.code == KW_YES) {
                m_development = 1;
                if (IsHost() && !postFinish) {
                    postFinish = true;
                    finishDate = completionDate;
                }
            } else if (value.code != KW_NO) {
                in.ReportError("Illegal Argument");
            }
            break;
        case KW_LEADER:
        case KW_HISTORICALLEADER: {
            if (value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            std::unique_ptr<CLeader> leader;
            if (in.key.code == KW_LEADER)
                leader = std::make_unique<CRandomLeader>();
            else
                leader = std::make_unique<CHistoricalLeader>();
            leader->Read(in);
            leader->SetCountry(in.currentCountry);
            if (leader->IsHistorical()) {
                leader->loadedActive = 1;
                if (g_leaderRegistry)
                    g_leaderRegistry->AddLeader(leader.get());
            }
            // The leader just read is the one its id names; with an id that
            // another leader holds already (or no registry to find it in),
            // this one is attached all the same, so that no unit lists a
            // leader that belongs to another.
            lastLeader = AttachLeaderAfter(leader.get(), lastLeader);
            m_ownLeaders.push_back(std::move(leader));
            break;
        }
        case KW_MOVEMENT: {
            if (value.code != TOKEN_OPEN_BRACE || in.ReadIntList(path) != FIELD_BLOCK_END)
                return FIELD_ERROR;
            // Provinces outside the map are dropped.
            CIntList::CListPosition position = nullptr;
            path.GetHeadPosition(position);
            while (position) {
                CIntList::CListPosition current = position;
                CIntList::MoveNext(position);
                if (!IsProvinceLocation(current->item)) {
                    in.ReportError("Illegal province ID");
                    path.RemoveNode(current);
                }
            }
            break;
        }
        case KW_MOVETIME:
            moveStartDate = Today();
            nextStepDate = moveStartDate;
            nextStepDate.AddDays(TokenToInt(value.text));
            break;
        case KW_RETREAT:
            if (value.code == KW_YES)
                retreat = true;
            break;
        case KW_ID:
            if (value.code == TOKEN_OPEN_BRACE) {
                ObjectId id;
                id.Read(in);
                SetId(id);
            }
            break;
        default:
            // Kind-specific keys; any other key is passed over.
            ReadOwnField(in);
            break;
        }
    }
    FinishRead(location, path, retreat, postFinish, finishDate);
    return FIELD_BLOCK_END;
}

void CUnit::FinishRead(int32_t location, const CIntList& path, bool retreat, bool postFinish,
                       const CDate& finishDate) {
    if (GetId().IsNull())
        SetId(NewLoadedObjectId());
    RefreshFigure();
    SetLocation(location);
    if (!path.IsEmpty()) {
        CIntList::CListPosition first = nullptr;
        path.GetHeadPosition(first);
        if (retreat)
            SetRetreating(first->item);
        SetPath(1, path);
        if (IsHost()) {
            auto step = MakeMoveStepEvent(GetId(), static_cast<uint16_t>(GetNextPathProvince()));
            pendingStep = step.get();
            PostEventAt(std::move(step), nextStepDate);
        }
    }
    if (postFinish)
        PostEventAtAndSend(MakeUnitFinishEvent(GetId()), finishDate);
}
