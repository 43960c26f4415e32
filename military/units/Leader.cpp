#include "military/units/Leader.h"

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "world/Province.h"

ObjectId NewLoadedObjectId() {
    ObjectId id = NewObjectId();
    id.type = kFirstPlayerIdType;
    return id;
}

namespace leader_block {

int32_t CategoryOfKeyword(uint32_t keyword, bool allowPrivateer) {
    switch (keyword) {
    case KW_GENERAL:
        return LEADER_GENERAL;
    case KW_ADMIRAL:
        return LEADER_ADMIRAL;
    case KW_CONQUISTADOR:
        return LEADER_CONQUISTADOR;
    case KW_EXPLORER:
        return LEADER_EXPLORER;
    case KW_MONARCH:
        return LEADER_MONARCH;
    case KW_PRIVATEER:
        return allowPrivateer ? LEADER_PRIVATEER : -1;
    default:
        return -1;
    }
}

uint32_t KeywordOfCategory(int32_t category) {
    switch (category) {
    case LEADER_GENERAL:
        return KW_GENERAL;
    case LEADER_ADMIRAL:
        return KW_ADMIRAL;
    case LEADER_CONQUISTADOR:
        return KW_CONQUISTADOR;
    case LEADER_EXPLORER:
        return KW_EXPLORER;
    case LEADER_PRIVATEER:
        return KW_PRIVATEER;
    default:
        return KW_MONARCH;
    }
}

} // namespace leader_block

void CLeader::SetName(const std::string& name) {
    m_name = name.substr(0, kMaxObjectNameLength);
}

void CLeader::SetCountry(CCountry* country) {
    m_country = country;
    if (country)
        m_countryNumber = country->GetNumber();
}

CDataBlock* CLeader::Write() const {
    CDataBlock* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_ID, GetId().MakeNode()));
    block->AddChild(new CDataAssignment(KW_NAME, new CDataString(m_name.c_str())));
    block->AddChild(new CDataAssignment(
        KW_CATEGORY, new CDataIdentifier(leader_block::KeywordOfCategory(category))));
    block->AddChild(new CDataAssignment(KW_LOCATION, new CDataInt(location)));
    block->AddChild(new CDataAssignment(KW_RANK, new CDataInt(rank)));
    block->AddChild(new CDataAssignment(KW_FIRE, new CDataInt(fire)));
    block->AddChild(new CDataAssignment(KW_SHOCK, new CDataInt(shock)));
    block->AddChild(new CDataAssignment(KW_SIEGE, new CDataInt(siege)));
    block->AddChild(new CDataAssignment(KW_MOVEMENT, new CDataInt(manoeuvre)));
    if (special != 0)
        block->AddChild(new CDataAssignment(KW_SPECIAL, new CDataInt(special)));
    block->AddChild(new CDataAssignment(KW_STARTDATE, startDate.Write()));
    block->AddChild(new CDataAssignment(KW_DEATHDATE, endDate.Write()));
    return block;
}

bool CLeader::ReadLeaderField(CFieldReader& in, bool monarchBlock) {
    const Token& value = in.value;
    int32_t* number = nullptr;
    switch (in.key.code) {
    case KW_NAME:
        if (value.code == TOKEN_STRING)
            SetName(value.text);
        return true;
    case KW_LOCATION:
        // A monarch has no location of its own.
        if (monarchBlock || value.code != TOKEN_NUMBER)
            return true;
        if (IsProvinceLocation(TokenToInt(value.text)))
            location = TokenToInt(value.text);
        else
            in.ReportError("Illegal province ID");
        return true;
    case KW_RANK:
        number = &rank;
        break;
    case KW_MANUEVER:
    case KW_MOVEMENT:
        number = &manoeuvre;
        break;
    case KW_FIRE:
        number = &fire;
        break;
    case KW_SHOCK:
        number = &shock;
        break;
    case KW_SIEGE:
        number = &siege;
        break;
    case KW_SPECIAL:
        number = &special;
        break;
    case KW_STARTDATE:
    case KW_DEATHDATE:
    case KW_ENDDATE:
        if (value.code == TOKEN_OPEN_BRACE)
            (in.key.code == KW_STARTDATE ? startDate : endDate).Read(in);
        else
            in.ReportError(monarchBlock ? "No left curly" : "no left curly");
        return true;
    case KW_CATEGORY: {
        const int32_t read = leader_block::CategoryOfKeyword(value.code, !monarchBlock);
        if (read >= 0)
            category = read;
        else
            in.ReportError("unknown leader type");
        return true;
    }
    case KW_REMARK:
        return true;
    case KW_ID:
        if (value.code == TOKEN_OPEN_BRACE) {
            ObjectId id;
            id.Read(in);
            SetId(id);
        }
        return true;
    default:
        return false;
    }
    // The values are multiplied and set against each other in the unit and
    // combat rules: a damaged file's are held where those stay in range.
    if (value.code == TOKEN_NUMBER)
        *number = TokenToIntInRange(value.text, -kLeaderValueLimit, kLeaderValueLimit);
    return true;
}

int32_t CLeader::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result != FIELD_READ)
            break; // the block's "}" was taken
        if (!ReadLeaderField(in, false)) {
            in.ReportError("Leader : unexpected field");
            return FIELD_ERROR;
        }
    }
    if (!IsHistorical() && GetId().IsNull())
        SetId(NewLoadedObjectId());
    if (startDate.IsAfter(endDate))
        startDate.year = static_cast<int16_t>(endDate.year - 1);
    SetCountry(in.currentCountry);
    return FIELD_BLOCK_END;
}
