#include "data/Script.h"

#include <algorithm>

#include "engine/CriticalError.h"

CNodeRef<CDataNode> g_scriptGlobalScope;
CNodeRef<CDataNode> g_consoleFunctionScope;
CNodeRef<CDataNode> g_consoleVariables;
CNodeRef<CDataNode> g_scriptConditional;
CNodeRef<CDataNode> g_functionTypeTag;

namespace {

// The running calls, the newest last.
std::vector<CScriptCall*>& CallStack() {
    static std::vector<CScriptCall*> stack;
    return stack;
}

// Longest chain of base types IsDerivedFrom follows.
constexpr int kMaxTypeChain = 1000;

} // namespace

void ReleaseGlobalTrees() {
    g_consoleVariables.Reset();
    g_scriptGlobalScope.Reset();
    g_consoleFunctionScope.Reset();
    g_scriptConditional.Reset();
    g_functionTypeTag.Reset();
}

CScriptFunction* ScopeFunction(CDataNode* scope) {
    CDataNode* declaration = scope ? scope->GetDeclarationScope() : nullptr;
    return declaration ? declaration->AsCallable() : nullptr;
}

// ---------------------------------------------------------------------------
// CScriptType

CScriptType::CScriptType(CScriptCall* call, CDataNode* referred)
    : CDataValue(NODE_SCRIPT_TYPE), m_call(call), m_referred(referred) {}

CDataNode* CScriptType::Lookup(const char* name) {
    return m_referred ? m_referred->Lookup(name) : nullptr;
}

CDataNode* CScriptType::Evaluate(CDataNode* context) {
    CNodeRef<CDataNode> referred = m_referred;
    if (referred)
        CNodeRef<CDataNode> result(referred->Evaluate(context));
    return this;
}

bool CScriptType::IsDerivedFrom(CDataNode* type) {
    CDataNode* node = this;
    for (int i = 0; node && i < kMaxTypeChain; ++i) {
        if (node == type)
            return true;
        CScriptType* scriptType = node->AsType();
        node = scriptType ? scriptType->m_referred.Get() : nullptr;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Variables, locals and cells

CScriptVariable::CScriptVariable(const char* name, uint32_t nodeType, CDataNode* declaredType,
                                 CDataNode* value)
    : CDataAssignment(nodeType, new CDataIdentifier(name), value), m_declaredType(declaredType) {}

CScriptVariable::CScriptVariable(const char* name, CScriptFunction* function)
    : CDataAssignment(NODE_CALLABLE, new CDataIdentifier(name), nullptr), m_function(function) {}

CScriptVariable::CScriptVariable(uint32_t nodeType, const char* name, CDataNode* declaredType)
    : CDataAssignment(nodeType, new CDataIdentifier(name), nullptr), m_declaredType(declaredType) {}

CScriptFunction* CScriptVariable::GetFunction() const {
    return m_function ? m_function->AsCallable() : nullptr;
}

CDataNode* CScriptVariable::GetDeclarationScope() {
    if (m_function)
        return m_function.Get();
    CDataNode* value = GetValue();
    return value && value != this ? value->GetDeclarationScope() : nullptr;
}

CDataNode* CScriptVariable::Lookup(const char* name) {
    CScriptFunction* function = GetFunction();
    return function ? function->Lookup(name) : nullptr;
}

void CScriptVariable::AddChild(CDataNode* node) {
    if (CScriptFunction* function = GetFunction())
        function->AddChild(node);
    else
        DeleteIfUnheld(node);
}

uint32_t CScriptVariable::GetChildCount() const {
    CScriptFunction* function = GetFunction();
    return function ? function->GetChildCount() : 0;
}

bool CScriptVariable::Declare(CDataNode* node) {
    if (CScriptFunction* function = GetFunction())
        return function->Declare(node);
    DeleteIfUnheld(node);
    return false;
}

CScriptLocal::CScriptLocal(const char* name, CDataNode* declaredType)
    : CScriptVariable(NODE_LOCAL, name, declaredType) {}

CDataNode* CScriptLocal::Evaluate(CDataNode* /*context*/) {
    CScriptCall* call = CScriptCall::Current();
    int32_t index = GetFrameIndex();
    CDataNode* entry =
        call && index >= 0 ? call->GetFrameEntry(static_cast<uint32_t>(index)) : nullptr;
    return entry ? entry : StaticEmptyNode();
}

CDataNode* CScriptCell::SetValue(CDataNode* node) {
    if (m_value && node && m_value->AssignFrom(node)) {
        DeleteIfUnheld(node);
        return m_value.Get();
    }
    m_value.Reset(node);
    return m_value.Get();
}

// ---------------------------------------------------------------------------
// CScriptSequence

void CScriptSequence::AddChild(CDataNode* node) {
    CNodeRef<CDataNode> held(node);
    AddStatement(node);
}

// Blocks are flattened without recursion: a stack of (block, next child).
void CScriptSequence::AddStatement(CDataNode* node) {
    struct Pending {
        CNodeRef<CDataBlock> block;
        uint32_t next;
    };
    std::vector<Pending> blocks;
    CDataNode* current = node;
    for (;;) {
        if (current) {
            CDataBlock* block = current->AsBlock();
            // A block met again (itself, or one holding itself) is passed over.
            bool seen = block == this ||
                        std::any_of(blocks.begin(), blocks.end(),
                                    [block](const Pending& p) { return p.block.Get() == block; });
            if (block && !seen)
                blocks.push_back({block, 0});
            else if (!block && (current->GetNodeType() == NODE_CALL || current->IsValue() ||
                                current->IsVariable()))
                CDataBlock::AddChild(current);
        }
        current = nullptr;
        while (!blocks.empty() && !current) {
            Pending& top = blocks.back();
            if (top.next >= top.block->GetChildCount()) {
                blocks.pop_back();
                continue;
            }
            current = top.block->GetChild(top.next++);
        }
        if (!current)
            return;
    }
}

CDataNode* CScriptSequence::Evaluate(CDataNode* /*context*/) {
    m_hasResume = false;
    m_resume = 0;
    return this;
}

CDataNode* CScriptSequence::Execute(CDataNode* context) {
    size_t index = m_hasResume ? m_resume : 0;
    m_hasResume = false;
    CNodeRef<CDataNode> last;
    while (index < GetChildCount()) {
        CNodeRef<CDataNode> statement = GetChild(static_cast<uint32_t>(index));
        // The previous result is deleted here when nobody holds it.
        last.Reset(statement ? statement->Execute(context) : nullptr);
        CScriptCall* running = CScriptCall::Current();
        if (running && running->IsSuspended()) {
            m_resume = index;
            m_hasResume = true;
            return last.Detach();
        }
        ++index;
    }
    m_resume = 0;
    return last.Detach();
}

// ---------------------------------------------------------------------------
// CScriptFunction

CScriptFunction::CScriptFunction(CDataNode* enclosingScope)
    : CDataNode(NODE_FUNCTION), m_symbols(new CScriptSymbolTable),
      m_statements(new CScriptSequence), m_enclosingScope(enclosingScope) {}

CScriptLocal* CScriptFunction::AddParameter(const char* name, CDataNode* declaredType) {
    CScriptLocal* parameter = new CScriptLocal(name, declaredType);
    parameter->SetFrameIndex(static_cast<int32_t>(m_parameters.size()));
    m_parameters.emplace_back(parameter);
    m_symbols->Add(parameter);
    return parameter;
}

CScriptLocal* CScriptFunction::GetParameter(uint32_t index) const {
    return index < m_parameters.size() ? m_parameters[index].Get() : nullptr;
}

void CScriptFunction::PrepareFrame(CScriptCall& call, CDataNode* context) {
    call.m_frame.clear();
    std::vector<CNodeRef<CDataNode>> frame;
    frame.reserve(m_parameters.size() + m_locals.size());
    CNodeRef<CDataBlock> arguments = call.m_arguments;
    for (size_t i = 0; i < m_parameters.size(); ++i) {
        CNodeRef<CDataNode> argument = arguments->GetChild(static_cast<uint32_t>(i));
        frame.emplace_back(argument ? argument->Execute(context) : nullptr);
    }
    for (size_t i = 0; i < m_locals.size(); ++i)
        frame.emplace_back(new CScriptCell);
    call.m_frame = std::move(frame);
}

bool CScriptFunction::IsSuspended() const {
    return m_statements->IsSuspended();
}

CDataNode* CScriptFunction::Lookup(const char* name) {
    if (CDataNode* node = m_symbols->Lookup(name))
        return node;
    return m_enclosingScope ? m_enclosingScope->Lookup(name) : nullptr;
}

void CScriptFunction::AddChild(CDataNode* node) {
    m_statements->AddChild(node);
}

uint32_t CScriptFunction::GetChildCount() const {
    return m_statements->GetChildCount();
}

bool CScriptFunction::Declare(CDataNode* node) {
    CNodeRef<CDataNode> held(node);
    if (!node || !node->GetName())
        return false;
    if (node->GetNodeType() == NODE_LOCAL && node->AsVariable()) {
        CScriptLocal* local = static_cast<CScriptLocal*>(node);
        local->SetFrameIndex(static_cast<int32_t>(m_parameters.size() + m_locals.size()));
        m_locals.emplace_back(local);
    }
    return m_symbols->Add(node);
}

CDataNode* CScriptFunction::Execute(CDataNode* context) {
    CNodeRef<CScriptSequence> statements = m_statements;
    return statements->Execute(context);
}

// ---------------------------------------------------------------------------
// CScriptMemberAccess

CScriptMemberAccess::CScriptMemberAccess(CDataNode* object, CDataNode* member)
    : CDataNode(NODE_MEMBER_ACCESS), m_object(object), m_member(member) {}

CDataNode* CScriptMemberAccess::Evaluate(CDataNode* context) {
    CNodeRef<CDataNode> object(m_object ? m_object->Evaluate(context) : nullptr);
    CNodeRef<CDataNode> member = m_member;
    if (!member)
        return nullptr;
    CNodeRef<CDataNode> result(member->Evaluate(object ? object->GetValue() : nullptr));
    return result.Detach();
}

// ---------------------------------------------------------------------------
// CScriptCall

CScriptCall::CScriptCall(CDataNode* callee)
    : CScriptCallBase(NODE_CALL), m_callee(callee), m_arguments(new CDataBlock) {}

CDataNode* CScriptCall::GetFrameEntry(uint32_t index) const {
    return index < m_frame.size() ? m_frame[index].Get() : nullptr;
}

CDataNode* CScriptCall::Evaluate(CDataNode* context) {
    m_stop = false;
    m_context.Reset(context);
    CNodeRef<CDataNode> callee = m_callee;
    CNodeRef<CDataNode> target;
    if (callee && callee->GetNodeType() == NODE_MEMBER_ACCESS) {
        CScriptMemberAccess* access = static_cast<CScriptMemberAccess*>(callee.Get());
        CNodeRef<CDataNode> object(access->GetObject() ? access->GetObject()->Evaluate(context)
                                                       : nullptr);
        CDataNode* objectValue = object ? object->GetValue() : nullptr;
        m_context.Reset(objectValue);
        if (access->GetMember())
            target.Reset(access->GetMember()->Evaluate(objectValue));
    } else if (callee) {
        target.Reset(callee->Evaluate(context));
    }
    CScriptFunction* function = ScopeFunction(target.Get());
    m_resolved.Reset(function);
    if (function)
        function->PrepareFrame(*this, context);
    return this;
}

CDataNode* CScriptCall::Execute(CDataNode* context) {
    if (!m_resolved)
        Evaluate(context);
    CNodeRef<CDataNode> resolved = m_resolved;
    CScriptFunction* function = resolved ? resolved->AsCallable() : nullptr;
    std::vector<CScriptCall*>& stack = CallStack();
    bool pushed = function && !function->RunsWithoutFrame();
    if (pushed && stack.size() >= MAX_CALL_DEPTH) {
        DebugPrint("Script calls nested deeper than %u: call not run\n", MAX_CALL_DEPTH);
        function = nullptr;
    }
    if (!function) {
        m_frame.clear();
        m_resolved.Reset();
        m_context.Reset();
        return nullptr;
    }
    if (pushed)
        stack.push_back(this);
    CNodeRef<CDataNode> context_ = m_context;
    m_result.Reset(function->Execute(context_.Get()));
    if (m_result.Get() != StaticEmptyNode())
        m_frame.clear();
    if (pushed) {
        auto it = std::find(stack.rbegin(), stack.rend(), this);
        if (it != stack.rend())
            stack.erase(std::next(it).base());
    }
    m_resolved.Reset();
    m_context.Reset();
    return m_result.Get();
}

void CScriptCall::RunHooks(CHookList& hooks) {
    (void)hooks.GetCount();
}

CScriptCall* CScriptCall::Current() {
    std::vector<CScriptCall*>& stack = CallStack();
    return stack.empty() ? nullptr : stack.back();
}

uint32_t CScriptCall::GetCallDepth() {
    return static_cast<uint32_t>(CallStack().size());
}
