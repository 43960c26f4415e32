#include "data/DataTree.h"

#include <array>
#include <climits>

#include "data/Keywords.h"
#include "data/TextOutput.h"
#include "engine/CriticalError.h"

namespace {

// The count a node carries while it waits in the deletion queue.
constexpr int32_t kDying = INT32_MIN / 2;

CountryTagSource g_countryTagSource = nullptr;

// Nesting of the Write calls under way (blocks and assignments).
int32_t g_writeDepth = 0;

class WriteDepthGuard {
public:
    WriteDepthGuard() { ++g_writeDepth; }
    ~WriteDepthGuard() { --g_writeDepth; }
    WriteDepthGuard(const WriteDepthGuard&) = delete;
    WriteDepthGuard& operator=(const WriteDepthGuard&) = delete;

    // Reports a tree too deep to print; the -2 then stops every level above.
    bool TooDeep() const {
        if (g_writeDepth <= kMaxWriteDepth)
            return false;
        CriticalError("Data tree nested deeper than %d levels: not written", kMaxWriteDepth);
        return true;
    }
};

// A node that is never deleted: it carries one reference for the whole run.
CDataNode* MakePermanent(CDataNode* node) {
    node->AddRef();
    return node;
}

// Writes the token of a punctuation, layout or keyword code with its text.
int32_t WriteCode(CFieldReader& out, uint32_t code) {
    if (!out.GetTokenFile())
        return FIELD_ERROR;
    return out.WriteCode(code);
}

int32_t WriteIndents(CFieldReader& out, int32_t count) {
    if (!out.GetTokenFile())
        return count > 0 ? FIELD_ERROR : FIELD_WRITTEN;
    for (int32_t i = 0; i < count; ++i)
        if (out.WriteCode(TOKEN_INDENT) != FIELD_WRITTEN)
            return FIELD_ERROR;
    return FIELD_WRITTEN;
}

int32_t WriteInt(CFieldReader& out, int32_t value) {
    return out.WriteInt(value);
}

// A string token (no blank of its own) and a blank token.
int32_t WriteWord(CFieldReader& out, const char* text) {
    int32_t result = out.WriteString(text);
    return result != FIELD_WRITTEN ? result : WriteCode(out, TOKEN_BLANK);
}

int32_t WriteNode(CDataNode* node, CFieldReader& out, int32_t indent) {
    CNodeRef<CDataNode> held(node);
    return node ? node->Write(out, indent) : FIELD_WRITTEN;
}

} // namespace

// ---------------------------------------------------------------------------
// CDataNode

void CDataNode::ReleaseNode(CDataNode* node) {
    if (!node || node->m_refCount == kDying)
        return;
    if (--node->m_refCount < 1)
        DeleteIfUnheld(node);
}

// Deletion goes through one queue: a node deleted while another is being
// deleted (a child released by its block's destructor) waits its turn, so the
// stack never grows with the depth of the tree.
void CDataNode::DeleteIfUnheld(CDataNode* node) {
    if (!node || node->m_refCount >= 1 || node->m_refCount == kDying)
        return;
    static std::vector<CDataNode*>& queue = *new std::vector<CDataNode*>;
    static bool draining = false;
    node->m_refCount = kDying;
    queue.push_back(node);
    if (draining)
        return;
    draining = true;
    while (!queue.empty()) {
        CDataNode* next = queue.back();
        queue.pop_back();
        delete next;
    }
    draining = false;
}

const char* CDataNode::GetName() {
    CDataNode* identifier = GetIdentifier();
    return identifier && identifier != this ? identifier->GetName() : nullptr;
}

CDataNode* CDataNode::SetValue(CDataNode* node) {
    DeleteIfUnheld(node);
    return nullptr;
}

int32_t CDataNode::Write(CFieldReader& /*out*/, int32_t /*indent*/) {
    return FIELD_WRITTEN;
}

CDataNode* CDataNode::Clone() {
    return new CDataNode(m_nodeType);
}

CDataNode* CDataNode::Evaluate(CDataNode* /*context*/) {
    return this;
}

void CDataNode::AddChild(CDataNode* node) {
    DeleteIfUnheld(node);
}

bool CDataNode::RemoveChild(CDataNode* /*node*/) {
    return false;
}

bool CDataNode::Declare(CDataNode* node) {
    DeleteIfUnheld(node);
    return false;
}

CDataNode* TypeTag(ETypeTag tag) {
    static const std::array<CDataNode*, 8> tags = {
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
        MakePermanent(new CDataNode(NODE_SCRIPT_TYPE)),
    };
    return tags[static_cast<size_t>(tag)];
}

CDataNode* StaticEmptyNode() {
    static CDataNode* const node = MakePermanent(new CDataNode(NODE_ASSIGNMENT));
    return node;
}

// ---------------------------------------------------------------------------
// Values

bool CDataInt::AssignFrom(CDataNode* other) {
    if (!other)
        return false;
    m_value = other->GetInt();
    return true;
}

int32_t CDataInt::Write(CFieldReader& out, int32_t /*indent*/) {
    return WriteInt(out, m_value);
}

bool CFloatNode::AssignFrom(CDataNode* other) {
    if (!other)
        return false;
    m_value = other->GetFloat();
    return true;
}

int32_t CFloatNode::Write(CFieldReader& out, int32_t /*indent*/) {
    return out.WriteFloat(m_value);
}

bool CDataBool::AssignFrom(CDataNode* other) {
    if (!other)
        return false;
    m_value = other->GetBool() ? 1 : 0;
    return true;
}

int32_t CDataBool::Write(CFieldReader& out, int32_t /*indent*/) {
    return out.WriteBool(m_value);
}

bool CDataString::AssignFrom(CDataNode* other) {
    if (!other)
        return false;
    // Through a copy: the other node may be this one.
    std::string text = other->GetString();
    m_text = std::move(text);
    return true;
}

int32_t CDataString::Write(CFieldReader& out, int32_t /*indent*/) {
    int32_t result = WriteCode(out, TOKEN_QUOTE);
    if (result != FIELD_WRITTEN)
        return result;
    result = out.WriteString(m_text.c_str());
    if (result != FIELD_WRITTEN)
        return result;
    result = WriteCode(out, TOKEN_QUOTE);
    if (result != FIELD_WRITTEN)
        return result;
    return WriteCode(out, TOKEN_BLANK);
}

// ---------------------------------------------------------------------------
// Identifiers and object ids

int32_t CDataIdentifier::Write(CFieldReader& out, int32_t /*indent*/) {
    const char* text = m_keywordId != 0 ? KeywordText(m_keywordId) : nullptr;
    return WriteWord(out, text ? text : m_text.c_str());
}

CDataNode* CDataIdentifier::Clone() {
    if (m_keywordId != 0)
        return new CDataIdentifier(m_keywordId);
    return new CDataIdentifier(m_text.c_str());
}

CDataObjectId::CDataObjectId(const ObjectId& id) : CDataIdentifier(KW_ID, "identifier"), m_id(id) {}

bool CDataObjectId::AssignFrom(CDataNode* other) {
    if (!other)
        return false;
    m_id = other->GetObjectId();
    return true;
}

void SetCountryTagSource(CountryTagSource source) {
    g_countryTagSource = source;
}

int32_t CDataObjectId::Write(CFieldReader& out, int32_t /*indent*/) {
    if (m_id.type == 3 && g_countryTagSource) {
        if (const char* tag = g_countryTagSource(m_id.number))
            return WriteWord(out, tag);
    }
    int32_t result = FIELD_WRITTEN;
    for (uint32_t code : {TOKEN_OPEN_BRACE, static_cast<uint32_t>(KW_TYPE), TOKEN_EQUALS}) {
        if ((result = WriteCode(out, code)) != FIELD_WRITTEN)
            return result;
    }
    if ((result = WriteInt(out, m_id.type)) != FIELD_WRITTEN)
        return result;
    for (uint32_t code : {static_cast<uint32_t>(KW_ID), TOKEN_EQUALS}) {
        if ((result = WriteCode(out, code)) != FIELD_WRITTEN)
            return result;
    }
    if ((result = WriteInt(out, static_cast<int32_t>(m_id.number))) != FIELD_WRITTEN)
        return result;
    return WriteCode(out, TOKEN_CLOSE_BRACE);
}

// ---------------------------------------------------------------------------
// CDataAssignment

CDataAssignment::CDataAssignment(uint32_t keywordId, CDataNode* value)
    : CDataAssignment(NODE_ASSIGNMENT, new CDataIdentifier(keywordId), value) {}

CDataAssignment::CDataAssignment(CDataNode* key, CDataNode* value)
    : CDataAssignment(NODE_KEYED_ASSIGNMENT, key, value) {}

CDataAssignment::CDataAssignment(uint32_t nodeType, CDataNode* key, CDataNode* value)
    : CDataNode(nodeType), m_key(key), m_value(value) {}

CDataNode* CDataAssignment::SetValue(CDataNode* node) {
    if (m_value && node && m_value->AssignFrom(node)) {
        DeleteIfUnheld(node);
        return m_value.Get();
    }
    m_value.Reset(node);
    return m_value.Get();
}

int32_t CDataAssignment::Write(CFieldReader& out, int32_t indent) {
    WriteDepthGuard guard;
    if (guard.TooDeep())
        return FIELD_ERROR;
    CNodeRef<CDataNode> value = m_value;
    int32_t result = WriteNode(m_key.Get(), out, indent);
    if (result != FIELD_WRITTEN)
        return result;
    if ((result = WriteCode(out, TOKEN_EQUALS)) != FIELD_WRITTEN)
        return result;
    return WriteNode(value.Get(), out, indent);
}

CDataNode* CDataAssignment::Clone() {
    return new CDataAssignment(m_key ? m_key->Clone() : nullptr,
                               m_value ? m_value->Clone() : nullptr);
}

CDataNode* CDataAssignment::Evaluate(CDataNode* context) {
    CNodeRef<CDataNode> value = m_value;
    if (value)
        CNodeRef<CDataNode> result(value->Evaluate(context));
    return this;
}

// ---------------------------------------------------------------------------
// CDataBlock

CDataBlock::CDataBlock(const CDataBlock& other)
    : CDataNode(NODE_BLOCK), m_children(other.m_children) {}

void CDataBlock::AddChild(CDataNode* node) {
    m_children.emplace_back(node);
}

bool CDataBlock::RemoveChild(CDataNode* node) {
    for (auto it = m_children.begin(); it != m_children.end(); ++it) {
        if (it->Get() == node) {
            CNodeRef<CDataNode> removed = std::move(*it);
            m_children.erase(it);
            return true;
        }
    }
    return false;
}

bool CDataBlock::HasChild(CDataNode* node) const {
    for (const CNodeRef<CDataNode>& child : m_children)
        if (child.Get() == node)
            return true;
    return false;
}

CDataNode* CDataBlock::GetChild(uint32_t index) const {
    return index < m_children.size() ? m_children[index].Get() : nullptr;
}

bool CDataBlock::Declare(CDataNode* node) {
    CNodeRef<CDataNode> held(node);
    CDataBlock* other = node ? node->AsBlock() : nullptr;
    if (!other)
        return false;
    for (size_t own = 0; own < m_children.size(); ++own) {
        for (size_t i = 0; i < other->m_children.size(); ++i) {
            CNodeRef<CDataNode> child = other->m_children[i];
            if (child)
                CNodeRef<CDataNode> result(child->Execute(nullptr));
        }
    }
    return true;
}

void CDataBlock::AddContents(CDataNode* node) {
    if (!node || node == this)
        return;
    CDataBlock* other = node->GetNodeType() == NODE_BLOCK ? node->AsBlock() : nullptr;
    if (!other) {
        AddChild(node);
        return;
    }
    CNodeRef<CDataNode> held(node);
    for (CNodeRef<CDataNode>& child : other->m_children)
        m_children.push_back(std::move(child));
    other->m_children.clear();
}

void CDataBlock::ReleaseChildren() {
    std::vector<CNodeRef<CDataNode>> children = std::move(m_children);
    m_children.clear();
}

int32_t CDataBlock::Write(CFieldReader& out, int32_t indent) {
    WriteDepthGuard guard;
    if (guard.TooDeep())
        return FIELD_ERROR;
    int32_t result = WriteCode(out, TOKEN_OPEN_BRACE);
    if (result != FIELD_WRITTEN)
        return result;
    bool severalLines =
        indent < 3 && m_children.size() > 3 && !(m_children[0] && m_children[0]->IsValue());
    if (severalLines) {
        if ((result = WriteCode(out, TOKEN_NEWLINE)) != FIELD_WRITTEN ||
            (result = WriteIndents(out, indent + 1)) != FIELD_WRITTEN)
            return result;
    }
    for (size_t i = 0; i < m_children.size(); ++i) {
        CNodeRef<CDataNode> child = m_children[i];
        if ((result = WriteNode(child.Get(), out, indent + 1)) != FIELD_WRITTEN)
            return result;
        if (severalLines) {
            if ((result = WriteCode(out, TOKEN_NEWLINE)) != FIELD_WRITTEN ||
                (result = WriteIndents(out, indent + 1)) != FIELD_WRITTEN)
                return result;
        }
    }
    return WriteCode(out, TOKEN_CLOSE_BRACE);
}

CDataNode* CDataBlock::Evaluate(CDataNode* context) {
    return EvaluateChildren(context, false);
}

CDataNode* CDataBlock::Execute(CDataNode* context) {
    return EvaluateChildren(context, true);
}

CDataNode* CDataBlock::EvaluateChildren(CDataNode* context, bool execute) {
    if (m_children.empty())
        return this;
    CNodeRef<CDataBlock> results(new CDataBlock);
    for (size_t i = 0; i < m_children.size(); ++i) {
        CNodeRef<CDataNode> child = m_children[i];
        CDataNode* result = nullptr;
        if (child)
            result = execute ? child->Execute(context) : child->Evaluate(context);
        results->AddChild(result);
    }
    return results.Detach();
}

CDataBlock* cpoint::MakeNode(const cpoint& point) {
    CDataBlock* block = new CDataBlock;
    block->AddChild(new CDataAssignment(KW_X, new CDataInt(point.x)));
    block->AddChild(new CDataAssignment(KW_Y, new CDataInt(point.y)));
    return block;
}
