#pragma once
// The nodes of the small script language: types and deferred arguments,
// variables and locals, compiled functions, statement blocks, member access
// and calls, with the call stack they run on. They are data-tree nodes and
// follow its reference counting (data/DataTree.h). The compiler is
// data/ScriptFile.h.
//
// A compiled function keeps its symbols, its parameters and locals (each with
// an index in the frame of a running call: the parameters first, then the
// locals) and its statement block. A call holds its callee and its argument
// expressions; running it prepares the frame (each argument's result, a new
// cell per local), pushes the call on the call stack and runs the function's
// statements. Locals evaluate to the entries of the frame of the call on top
// of the stack.
#include <cstdint>
#include <vector>

#include "data/DataTree.h"
#include "data/HookLists.h"

class CScriptCall;
class CScriptLocal;
class CScriptSequence;

// A node that refers to another: a type of the language, whose referred node
// is its base type, or a deferred argument, whose referred node is the
// unevaluated expression.
class CScriptType : public CDataValue {
public:
    CScriptType(CScriptCall* call, CDataNode* referred);

    CScriptType* AsType() override { return this; }
    CDataNode* GetValue() override { return m_referred.Get(); }
    CDataNode* GetTypeTag() override { return TypeTag(ETypeTag::Type); }
    // Members of a type are those of its base.
    CDataNode* Lookup(const char* name) override;
    // Evaluates the referred node and answers the wrapper itself.
    CDataNode* Evaluate(CDataNode* context) override;
    CDataNode* Clone() override { return new CScriptType(m_call, m_referred.Get()); }

    // True for the node itself and every node on its chain of base types.
    bool IsDerivedFrom(CDataNode* type);
    CScriptCall* GetCall() const { return m_call; }

private:
    CScriptCall* m_call; // the call the argument belongs to (not held)
    CNodeRef<CDataNode> m_referred;
};

// A named variable: its name is the key, its value the assignment's value.
// A callable variable (node type 17) holds a function, to which it forwards
// statements, declarations and name lookup. A declaration symbol (node type
// 14) names a type: "(int a b)" declares the locals a and b of its type.
class CScriptVariable : public CDataAssignment {
public:
    CScriptVariable(const char* name, uint32_t nodeType, CDataNode* declaredType,
                    CDataNode* value = nullptr);
    // A callable variable (type 17).
    CScriptVariable(const char* name, CScriptFunction* function);

    bool IsVariable() const override { return true; }
    CScriptVariable* AsVariable() override { return this; }
    bool IsCallable() const override { return GetNodeType() == NODE_CALLABLE; }
    CDataNode* GetTypeTag() override { return m_declaredType.Get(); }
    // The function it holds, or the one its value holds.
    CDataNode* GetDeclarationScope() override;
    // Its function's symbols first, then the function's enclosing scope.
    CDataNode* Lookup(const char* name) override;
    void AddChild(CDataNode* node) override;
    uint32_t GetChildCount() const override;
    bool Declare(CDataNode* node) override;

    CScriptFunction* GetFunction() const;
    CDataNode* GetDeclaredType() const { return m_declaredType.Get(); }
    int32_t GetFrameIndex() const { return m_frameIndex; }
    void SetFrameIndex(int32_t index) { m_frameIndex = index; }

protected:
    CScriptVariable(uint32_t nodeType, const char* name, CDataNode* declaredType);

private:
    int32_t m_frameIndex = -1;
    CNodeRef<CDataNode> m_declaredType;
    CNodeRef<CDataNode> m_function;
};

// A declared local (or parameter): it evaluates to its entry in the frame of
// the running call (the static empty node when no call has such an entry).
class CScriptLocal : public CScriptVariable {
public:
    CScriptLocal(const char* name, CDataNode* declaredType);
    CDataNode* Evaluate(CDataNode* context) override;
};

// The storage of one local during a call.
class CScriptCell : public CDataNode {
public:
    explicit CScriptCell(CDataNode* value = nullptr) : CDataNode(NODE_LOCAL), m_value(value) {}
    CDataNode* GetValue() override { return m_value.Get(); }
    // Tries the value's AssignFrom; otherwise holds the node instead.
    CDataNode* SetValue(CDataNode* node) override;
    CDataNode* Clone() override { return new CScriptCell(m_value ? m_value->Clone() : nullptr); }

private:
    CNodeRef<CDataNode> m_value;
};

// A statement block with a resume position. Execute runs from there; when
// the running call's stop flag is set after a statement, the run ends and the
// next Execute starts with that statement again.
class CScriptSequence : public CDataBlock {
public:
    CScriptSequence() = default;

    // Keeps calls, values and variables; a block is flattened into its
    // statements; anything else is dropped.
    void AddChild(CDataNode* node) override;
    bool IsSuspended() const override { return m_hasResume; }
    // Rewinds to the first statement and answers the sequence.
    CDataNode* Evaluate(CDataNode* context) override;
    // Runs the statements; answers the last result.
    CDataNode* Execute(CDataNode* context) override;

private:
    void AddStatement(CDataNode* node);

    size_t m_resume = 0;
    bool m_hasResume = false;
};

// A compiled function, and the scope of the names it declares. The enclosing
// scope is only looked at while compiling and is not held.
class CScriptFunction : public CDataNode {
public:
    explicit CScriptFunction(CDataNode* enclosingScope = nullptr);

    // A new parameter of the declared type; parameters are added before any
    // local is declared.
    CScriptLocal* AddParameter(const char* name, CDataNode* declaredType);
    uint32_t GetParameterCount() const { return static_cast<uint32_t>(m_parameters.size()); }
    CScriptLocal* GetParameter(uint32_t index) const;
    uint32_t GetLocalCount() const { return static_cast<uint32_t>(m_locals.size()); }
    CScriptSequence* GetStatements() const { return m_statements.Get(); }
    CScriptSymbolTable* GetSymbols() const { return m_symbols.Get(); }
    CDataNode* GetEnclosingScope() const { return m_enclosingScope; }
    CDataNode* GetResultType() const { return m_resultType.Get(); }
    void SetResultType(CDataNode* type) { m_resultType.Reset(type); }

    // Built-ins may run without a frame of their own (they then see their
    // caller's call on top of the stack) or at compile time.
    virtual bool RunsWithoutFrame() const { return false; }
    virtual bool RunsAtCompileTime() const { return false; }
    // Fills the call's frame: each parameter the Execute result of its
    // argument in the context, each local a new empty cell.
    void PrepareFrame(CScriptCall& call, CDataNode* context);

    bool IsCallable() const override { return true; }
    CScriptFunction* AsCallable() override { return this; }
    CDataNode* GetDeclarationScope() override { return this; }
    bool IsSuspended() const override;
    // Its own symbols, then the enclosing scope's.
    CDataNode* Lookup(const char* name) override;
    // Statements go to the statement block.
    void AddChild(CDataNode* node) override;
    uint32_t GetChildCount() const override;
    // A local gets the next frame index; every declared node enters the
    // symbols under its name.
    bool Declare(CDataNode* node) override;
    // Runs the statements in the context.
    CDataNode* Execute(CDataNode* context) override;

private:
    CNodeRef<CScriptSymbolTable> m_symbols;
    std::vector<CNodeRef<CScriptLocal>> m_parameters;
    std::vector<CNodeRef<CScriptLocal>> m_locals;
    CNodeRef<CScriptSequence> m_statements;
    CNodeRef<CDataNode> m_resultType;
    CDataNode* m_enclosingScope;
};

// An object and one of its members.
class CScriptMemberAccess : public CDataNode {
public:
    CScriptMemberAccess(CDataNode* object, CDataNode* member);

    CDataNode* GetObject() const { return m_object.Get(); }
    CDataNode* GetMember() const { return m_member.Get(); }
    CDataNode* GetDeclarationScope() override {
        return m_member ? m_member->GetDeclarationScope() : nullptr;
    }
    CDataNode* GetTypeTag() override { return m_member ? m_member->GetTypeTag() : nullptr; }
    // The member evaluated with the object's value as the context.
    CDataNode* Evaluate(CDataNode* context) override;

private:
    CNodeRef<CDataNode> m_object;
    CNodeRef<CDataNode> m_member;
};

class CScriptCallBase : public CDataNode {
public:
    using CDataNode::CDataNode;
};

// A call of a function with its argument expressions.
class CScriptCall : public CScriptCallBase {
public:
    explicit CScriptCall(CDataNode* callee = nullptr);

    CDataNode* GetCallee() const { return m_callee.Get(); }
    CDataBlock* GetArguments() const { return m_arguments.Get(); }
    void AddArgument(CDataNode* argument) { m_arguments->AddChild(argument); }
    // The alternative of the conditional ("else").
    CDataNode* GetAlternative() const { return m_alternative.Get(); }
    void SetAlternative(CDataNode* node) { m_alternative.Reset(node); }

    // The frame of the running call: parameters, then locals.
    uint32_t GetFrameSize() const { return static_cast<uint32_t>(m_frame.size()); }
    CDataNode* GetFrameEntry(uint32_t index) const;
    CDataNode* GetResult() const { return m_result.Get(); }
    CDataNode* GetContext() const { return m_context.Get(); }

    // The stop flag: a running statement sets it on the call on top of the
    // stack to end the run of the statement block there.
    void Stop() { m_stop = true; }
    bool IsSuspended() const override { return m_stop; }

    // Resolves the callee (in the object's value for a member access) and
    // prepares the frame; answers the call.
    CDataNode* Evaluate(CDataNode* context) override;
    // Resolves when not yet resolved, runs the function on the call stack
    // and answers the result, which the call holds. The frame is released
    // unless the result is the static empty node. Null when the callee is
    // no function or the calls are nested too deeply.
    CDataNode* Execute(CDataNode* context) override;

    // The script hooks of a message type; only their count is asked.
    void RunHooks(CHookList& hooks);

    // The call on top of the call stack, or null.
    static CScriptCall* Current();
    static uint32_t GetCallDepth();

    // Deepest nesting of running calls.
    static constexpr uint32_t MAX_CALL_DEPTH = 200;

private:
    friend class CScriptFunction;

    CNodeRef<CDataNode> m_callee;
    CNodeRef<CDataBlock> m_arguments;
    std::vector<CNodeRef<CDataNode>> m_frame;
    CNodeRef<CDataNode> m_resolved;
    CNodeRef<CDataNode> m_context;
    CNodeRef<CDataNode> m_result;
    CNodeRef<CDataNode> m_alternative;
    bool m_stop = false;
};

// The language's global scope, the console's function scope and the
// console's variables; nothing in the game fills them, so the console refuses
// script statements.
extern CNodeRef<CDataNode> g_scriptGlobalScope;
extern CNodeRef<CDataNode> g_consoleFunctionScope;
extern CNodeRef<CDataNode> g_consoleVariables;
// The built-in conditional: a call of it reads an "else" and an alternative
// after its deferred argument. Nothing fills it.
extern CNodeRef<CDataNode> g_scriptConditional;
// The type of parameters that take a function body. Nothing fills it.
extern CNodeRef<CDataNode> g_functionTypeTag;

// The scope's function: a function itself, or the one a callable variable
// holds; null for anything else.
CScriptFunction* ScopeFunction(CDataNode* scope);
