#include "world/Fortress.h"

#include <algorithm>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/Palette.h"
#include "world/City.h"
#include "world/Province.h"

float CapFortressLevel(float level) {
    // NaN fails both tests and ends at 0.
    return level >= kMaxFortressLevel ? kMaxFortressLevel : (level > 0.0f ? level : 0.0f);
}

// CFortress --------------------------------------------------------------------------

CDataBlock* CFortress::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_LEVEL, new CFloatNode(level)));
    block->AddChild(new CDataAssignment(KW_DATE, date.Write()));
    block->AddChild(new CDataAssignment(KW_INCREASE, new CDataBool(increase != 0)));
    return block;
}

int32_t CFortress::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result;
        const Token& value = in.value;
        switch (in.key.code) {
        case KW_LEVEL:
            if (value.code != TOKEN_NUMBER)
                break;
            if (const int32_t whole = TokenToInt(value.text); whole < 0) {
                in.ReportError("Fortress : level below 0");
                level = 0.0f;
            } else {
                level = CapFortressLevel(static_cast<float>(whole));
            }
            break;
        case KW_DATE:
            if (value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("No left curly");
                break;
            }
            if (const int32_t read = date.Read(in); read == FIELD_END_OF_FILE)
                return read;
            break;
        case KW_INCREASE:
            if (value.code == KW_YES)
                increase = 1;
            break;
        default:
            in.ReportError("Fortress : Unexpected field");
            return FIELD_ERROR;
        }
    }
}

// CPort ------------------------------------------------------------------------------

CPort::CPort()
    : m_symbol(SpriteKey{kSpriteKindPort, kSpriteCultureNone, kSpriteActionNone,
                         kSpriteDirectionNone, kLevelEmpty}) {
    m_symbol.Show();
}

CPort::~CPort() = default;

void CPort::Attach(int32_t provinceId) {
    const CProvince* province = provinceId >= kFirstProvinceId && provinceId <= kLastProvinceId
                                    ? ::GetProvince(provinceId)
                                    : nullptr;
    if (!province)
        return;
    m_provinceId = provinceId;
    m_seaZone = province->portSeaZone;
    m_symbol.PlaceAt(province->portPosition.x, province->portPosition.y);
}

void CPort::AddUnit(CIdEntity* fleet) {
    if (!fleet || m_fleets.Contains(fleet))
        return;
    if (m_fleets.IsEmpty())
        m_symbol.SetLevel(kLevelFleets);
    m_fleets.AddTail(fleet);
}

void CPort::RemoveUnit(CIdEntity* fleet) {
    m_fleets.Remove(fleet);
    if (m_fleets.IsEmpty())
        m_symbol.SetLevel(kLevelEmpty);
}

void CPort::UpdateState() {
    const CProvince* province = m_provinceId > 0 ? ::GetProvince(m_provinceId) : nullptr;
    if (!province)
        return;
    m_symbol.SetAction(province->blockaded ? kActionBlockade : kSpriteActionNone);
    const CCity* city = province->GetCity();
    if (city && city->HasImprovement(CCity::IMPROVEMENT_SHIPYARD))
        m_symbol.SetKind(kKindShipyard);
}

void CPort::Draw(int32_t param) {
    UpdateState();
    if (CMapSprite* sprite = m_symbol.GetSprite()) {
        SpriteWorld& picture = sprite->GetSprite();
        const int32_t table = picture.paletteTable;
        if (dimNext && table == kPaletteNormal)
            picture.paletteTable = kPaletteHalf;
        if (visible)
            sprite->Draw(param);
        picture.paletteTable = table;
    }
    dimNext = 0;
}
