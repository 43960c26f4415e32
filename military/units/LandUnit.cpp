#include "military/units/LandUnit.h"

#include <algorithm>
#include <limits>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "military/units/NavalUnit.h"

namespace {

// A troop total with the strength added, held within 0..INT32_MAX.
void AddToTotal(int32_t& total, int32_t amount) {
    const int64_t sum = static_cast<int64_t>(total) + amount;
    total = static_cast<int32_t>(std::clamp<int64_t>(sum, 0, std::numeric_limits<int32_t>::max()));
}

} // namespace

// ---------------------------------------------------------------- CLandUnit

CLandUnit::~CLandUnit() {
    if (m_carrier)
        m_carrier->UnloadArmy(this);
}

CDataBlock* CLandUnit::Write() const {
    CDataBlock* block = new CDataBlock;
    block->AddContents(CUnit::Write());
    block->AddChild(new CDataAssignment(KW_INFANTRY, new CFloatNode(m_strength[2])));
    block->AddChild(new CDataAssignment(KW_CAVALRY, new CFloatNode(m_strength[1])));
    block->AddChild(new CDataAssignment(KW_ARTILLERY, new CFloatNode(m_strength[0])));
    return block;
}

bool CLandUnit::ReadOwnField(CFieldReader& in) {
    size_t index = 0;
    switch (in.key.code) {
    case KW_ARTILLERY:
        index = 0;
        break;
    case KW_CAVALRY:
        index = 1;
        break;
    case KW_INFANTRY:
        index = 2;
        break;
    default:
        return false;
    }
    if (in.value.code == TOKEN_NUMBER)
        m_strength[index] = TokenToFloat(in.value.text);
    return true;
}

void CLandUnit::BoardFleet(int32_t province, CNavalUnit* fleet) {
    if (fleet) {
        fleet->LoadArmy(this);
        return;
    }
    if (m_carrier)
        m_carrier->UnloadArmy(this);
    SetLocation(province);
}

void CLandUnit::AddToOwnerTotals() const {
    CCountry* owner = GetOwner();
    if (!owner)
        return;
    AddToTotal(owner->m_infantryTotal, GetRoundedInfantry());
    AddToTotal(owner->m_cavalryTotal, GetRoundedCavalry());
    AddToTotal(owner->m_artilleryTotal, GetRoundedArtillery());
}
