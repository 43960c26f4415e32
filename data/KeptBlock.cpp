#include "data/KeptBlock.h"

#include <cstring>

#include "data/Keywords.h"

namespace {

// A value node for a token that is no punctuation; null for anything else.
CDataNode* MakeValue(const Token& token) {
    if (token.code == TOKEN_NUMBER) {
        if (std::strchr(token.text, '.'))
            return new CFloatNode(TokenToFloat(token.text));
        return new CDataInt(TokenToInt(token.text));
    }
    if (IsKeywordCode(token.code))
        return new CDataIdentifier(token.code);
    if (token.code == TOKEN_STRING)
        return new CDataString(token.text);
    return nullptr;
}

CDataNode* MakeKey(const Token& token) {
    if (IsKeywordCode(token.code))
        return new CDataIdentifier(token.code);
    return new CDataIdentifier(token.text);
}

void ReportStray(CFieldReader& in, const char* context) {
    CTokenFile* file = in.GetTokenFile();
    ReportTokenError(context, file->Current().text, "", "", file->GetLine(), file->GetFileName());
}

int32_t ReadEntries(CFieldReader& in, CDataBlock& block, int32_t depth);

// The value whose token is the current one: a nested block is read whole.
// The node goes to *node (null on failure).
int32_t ReadValue(CFieldReader& in, int32_t depth, CDataNode** node) {
    CTokenFile* file = in.GetTokenFile();
    *node = nullptr;
    if (file->Current().code == TOKEN_OPEN_BRACE) {
        if (depth >= kMaxKeptBlockDepth) {
            ReportStray(in, "Blocks nested too deep");
            return FIELD_ERROR;
        }
        CNodeRef<CDataBlock> nested(new CDataBlock);
        const int32_t result = ReadEntries(in, *nested, depth + 1);
        if (result != FIELD_BLOCK_END)
            return result;
        *node = nested.Detach();
        return FIELD_BLOCK_END;
    }
    *node = MakeValue(file->Current());
    if (!*node) {
        ReportStray(in, "Unexpected token in block");
        return FIELD_ERROR;
    }
    return FIELD_BLOCK_END;
}

int32_t ReadEntries(CFieldReader& in, CDataBlock& block, int32_t depth) {
    CTokenFile* file = in.GetTokenFile();
    if (!file)
        return FIELD_END_OF_FILE;
    for (;;) {
        if (file->Next() == 0)
            return FIELD_END_OF_FILE;
        const uint32_t code = file->Current().code;
        if (code == TOKEN_CLOSE_BRACE)
            return FIELD_BLOCK_END;
        if (code == TOKEN_COMMA)
            continue;
        CDataNode* node = nullptr;
        if (code == TOKEN_OPEN_BRACE) {
            const int32_t result = ReadValue(in, depth, &node);
            if (result != FIELD_BLOCK_END)
                return result;
            block.AddChild(node);
            continue;
        }
        // Peek reuses the current token: the item is made first.
        CNodeRef<CDataNode> key(MakeKey(file->Current()));
        CNodeRef<CDataNode> item(MakeValue(file->Current()));
        if (file->Peek()->code != TOKEN_EQUALS) {
            if (!item) {
                ReportStray(in, "Unexpected token in block");
                return FIELD_ERROR;
            }
            block.AddChild(item.Get());
            continue;
        }
        file->Next(); // "="
        if (file->Next() == 0)
            return FIELD_END_OF_FILE;
        const int32_t result = ReadValue(in, depth, &node);
        if (result != FIELD_BLOCK_END)
            return result;
        block.AddChild(new CDataAssignment(key.Get(), node));
    }
}

} // namespace

int32_t ReadDataTree(CFieldReader& in, CDataBlock& block) {
    return ReadEntries(in, block, 0);
}

int32_t CKeptBlock::Read(CFieldReader& in) {
    m_block.Reset(new CDataBlock);
    return ReadDataTree(in, *m_block);
}

int32_t CKeptBlock::ReadFile(CFieldReader& in) {
    m_block.Reset(new CDataBlock);
    const int32_t result = ReadDataTree(in, *m_block);
    return result == FIELD_END_OF_FILE ? FIELD_BLOCK_END : result;
}

CDataBlock* CKeptBlock::Write() const {
    return m_block ? new CDataBlock(*m_block) : new CDataBlock;
}

CDataNode* CKeptBlock::FindValue(uint32_t keywordId) const {
    for (uint32_t i = 0; i < GetCount(); ++i) {
        CDataNode* child = m_block->GetChild(i);
        if (child->IsAssignment() && child->GetKeywordId() == keywordId)
            return child->GetValue();
    }
    return nullptr;
}

ObjectId CKeptBlock::FindObjectId() const {
    CDataNode* value = FindValue(KW_ID);
    CDataBlock* idBlock = value ? value->AsBlock() : nullptr;
    if (!idBlock)
        return g_nullId;
    ObjectId id;
    for (uint32_t i = 0; i < idBlock->GetChildCount(); ++i) {
        CDataNode* child = idBlock->GetChild(i);
        if (!child->IsAssignment() || !child->GetValue())
            continue;
        if (child->GetKeywordId() == KW_TYPE)
            id.type = static_cast<uint16_t>(child->GetValue()->GetInt());
        else if (child->GetKeywordId() == KW_ID)
            id.number = static_cast<uint32_t>(child->GetValue()->GetInt());
    }
    return id;
}
