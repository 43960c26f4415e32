#include "military/Monarch.h"

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/TokenFile.h"

CMonarch::CMonarch() : CMonarch(std::make_unique<CRandomLeader>()) {}

CMonarch::CMonarch(std::unique_ptr<CLeader> leader) : m_leader(std::move(leader)) {
    m_leader->category = LEADER_MONARCH;
}

CMonarch::~CMonarch() = default;

CHistoricalMonarch::CHistoricalMonarch() : CMonarch(std::make_unique<CHistoricalLeader>()) {}

CDataBlock* CMonarch::Write() const {
    CDataBlock* block = m_leader->Write();
    block->AddChild(new CDataAssignment(KW_ADM, new CDataInt(adm)));
    block->AddChild(new CDataAssignment(KW_DIP, new CDataInt(dip)));
    block->AddChild(new CDataAssignment(KW_MIL, new CDataInt(mil)));
    return block;
}

int32_t CMonarch::Read(CFieldReader& in) {
    m_leader->category = LEADER_MONARCH;
    event2start = 0;
    for (;;) {
        const int32_t result = in.ReadBlockField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result != FIELD_READ)
            break; // the block's "}" was taken
        int32_t* number = nullptr;
        switch (in.key.code) {
        case KW_MIL:
            number = &mil;
            break;
        case KW_DIP:
            number = &dip;
            break;
        case KW_ADM:
            number = &adm;
            break;
        case KW_EVENT2START:
            number = &event2start;
            break;
        case KW_SCHEDULED:
            if (in.value.code == KW_YES)
                SetLoadedActive(true);
            else if (in.value.code != KW_NO)
                in.ReportError("Illegal Arugemnt");
            continue;
        default:
            if (!m_leader->ReadLeaderField(in, true)) {
                in.ReportError("Monarch : Unexpected field");
                return FIELD_ERROR;
            }
            continue;
        }
        if (in.value.code == TOKEN_NUMBER)
            *number = TokenToInt(in.value.text);
    }
    m_leader->SetCountry(in.currentCountry);
    if (!IsHistorical() && GetId().IsNull())
        m_leader->SetId(NewLoadedObjectId());
    return 0;
}
