#include "military/units/NavalUnit.h"

#include <memory>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "engine/GameTimer.h"
#include "world/Province.h"

namespace {

CDate Today() {
    return g_gameTimer ? g_gameTimer->GetDate() : CDate();
}

} // namespace

// --------------------------------------------------------------- CNavalUnit

CNavalUnit::~CNavalUnit() {
    m_cargo.ForEach([](CLandUnit* army) { army->m_carrier = nullptr; });
}

CDataBlock* CNavalUnit::Write() const {
    CDataBlock* block = new CDataBlock;
    block->AddContents(CUnit::Write());
    block->AddChild(new CDataAssignment(KW_WARSHIPS, new CFloatNode(m_strength[0])));
    block->AddChild(new CDataAssignment(KW_GALLEYS, new CFloatNode(m_strength[1])));
    block->AddChild(new CDataAssignment(KW_TRANSPORTS, new CFloatNode(m_strength[2])));
    if (GetMonthsAtSea() > 0)
        block->AddChild(new CDataAssignment(KW_PORT, portDate.Write()));
    CLinkedList<CLandUnit>::CListPosition position = nullptr;
    for (m_cargo.GetHeadPosition(position); position; CLinkedList<CLandUnit>::MoveNext(position))
        if (!position->removed && position->item)
            block->AddChild(new CDataAssignment(KW_LANDUNIT, position->item->Write()));
    return block;
}

bool CNavalUnit::ReadOwnField(CFieldReader& in) {
    const Token& value = in.value;
    size_t index = 0;
    switch (in.key.code) {
    case KW_WARSHIPS:
        index = 0;
        break;
    case KW_GALLEYS:
        index = 1;
        break;
    case KW_TRANSPORTS:
        index = 2;
        break;
    case KW_PORT:
        if (value.code == TOKEN_OPEN_BRACE)
            portDate.Read(in);
        return true;
    case KW_LANDUNIT: {
        if (value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No left curly");
            return true;
        }
        CCountry* owner = GetOwner();
        auto army = std::make_unique<CLandUnit>(owner);
        army->SetOwner(owner);
        army->SetIdleState();
        army->Read(in);
        // The owner's unit list owns its armies; an army without a country
        // has nobody to keep it.
        if (!owner)
            return true;
        CLandUnit* aboard = army.release();
        owner->AddUnit(aboard);
        LoadArmy(aboard);
        aboard->AddToOwnerTotals();
        return true;
    }
    default:
        return false;
    }
    if (value.code == TOKEN_NUMBER)
        m_strength[index] = TokenToFloat(value.text);
    return true;
}

void CNavalUnit::LoadArmy(CLandUnit* army) {
    if (!army || army->m_carrier == this)
        return;
    if (army->m_carrier)
        army->m_carrier->UnloadArmy(army);
    m_cargo.AddTail(army);
    army->m_carrier = this;
}

bool CNavalUnit::UnloadArmy(CLandUnit* army) {
    if (!army || army->m_carrier != this)
        return false;
    m_cargo.Remove(army);
    army->m_carrier = nullptr;
    return true;
}

int32_t CNavalUnit::GetMonthsAtSea() const {
    const CProvince* province = GetProvince(GetLocation());
    if (!province || !province->IsSea())
        return 0;
    const CDate today = Today();
    return (today.year - portDate.year) * 12 + today.month - portDate.month;
}
