#include "country/CountryParts.h"

#include "data/DataTree.h"
#include "data/Keywords.h"

int32_t CLossesRecord::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result;
        if (in.value.code != TOKEN_NUMBER)
            continue;
        const float number = TokenToFloat(in.value.text);
        switch (in.key.code) {
        case KW_WARSHIPS:
            warships = number;
            break;
        case KW_GALLEYS:
            galleys = number;
            break;
        case KW_TRANSPORTS:
            transports = number;
            break;
        case KW_INFANTRY:
            infantry = number;
            break;
        case KW_CAVALRY:
            cavalry = number;
            break;
        case KW_ARTILLERY:
            artillery = number;
            break;
        default:
            break;
        }
    }
}

CDataBlock* CLossesRecord::Write() const {
    auto* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_WARSHIPS, new CFloatNode(warships)));
    block->AddChild(new CDataAssignment(KW_GALLEYS, new CFloatNode(galleys)));
    block->AddChild(new CDataAssignment(KW_TRANSPORTS, new CFloatNode(transports)));
    block->AddChild(new CDataAssignment(KW_INFANTRY, new CFloatNode(infantry)));
    block->AddChild(new CDataAssignment(KW_CAVALRY, new CFloatNode(cavalry)));
    block->AddChild(new CDataAssignment(KW_ARTILLERY, new CFloatNode(artillery)));
    return block;
}

int32_t CBaseVP::Read(CFieldReader& in) {
    CTokenFile* file = in.GetTokenFile();
    uint32_t count = 0;
    return ReadListTokens(in, [this, file, &count](const Token& token) {
        if (token.code != TOKEN_NUMBER)
            ReportTokenError("basevp: Unexpected field", token.text, "", "", file->GetLine(),
                             file->GetFileName());
        else if (count >= kCategories)
            ReportTokenError("Too many values for basevp", token.text, "", "", file->GetLine(),
                             file->GetFileName());
        else
            values[count++] = TokenToFloat(token.text);
        return FIELD_READ;
    });
}

CDataBlock* CBaseVP::Write() const {
    auto* block = new CDataBlock;
    for (float value : values)
        block->AddChild(new CFloatNode(value));
    return block;
}
