#pragma once
// A script scope for the tests and the fuzz target: the global scope with a
// few built-ins that log what they do, the console's function scope and its
// variables.
//
//   add a b        logs and answers the sum of two integers
//   say "text"     logs the text;            half 1.5   logs half the float
//   set a b        stores b's value into the integer local a
//   show a         logs "show" and an integer
//   twice (body)   runs a function body twice
//   if c (s) else (s)   the conditional: runs one of two deferred lists
//   define n       runs at compile time and logs "define n"
//   count (list)   logs "count" and the number of items of a block
//   name word      logs "name" and a free identifier
//   wait           runs without a frame; stops its caller while waits > 0
//   keep n         answers the static empty node (the frame is kept)
//   int a b        declares integer locals
//   obj            a variable whose type has the member function get (logs
//                  "get" and the object's text) and the member variable field
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "data/Script.h"

namespace test {

// A built-in: its body sees the running call (its own, or its caller's when
// it runs without a frame).
class Native : public CScriptFunction {
public:
    using Body = std::function<CDataNode*(CScriptCall& call, CDataNode* context)>;

    explicit Native(Body body, bool atCompileTime = false, bool withoutFrame = false)
        : m_body(std::move(body)), m_atCompileTime(atCompileTime), m_withoutFrame(withoutFrame) {}

    bool RunsAtCompileTime() const override { return m_atCompileTime; }
    bool RunsWithoutFrame() const override { return m_withoutFrame; }
    CDataNode* Execute(CDataNode* context) override {
        return m_body(*CScriptCall::Current(), context);
    }

private:
    Body m_body;
    bool m_atCompileTime;
    bool m_withoutFrame;
};

// A frame entry of the running call; the static empty node for none.
inline CDataNode* Arg(CScriptCall& call, uint32_t index) {
    CDataNode* entry = call.GetFrameEntry(index);
    return entry ? entry : StaticEmptyNode();
}

// The integer behind a frame entry (a value, or a local's cell).
inline int32_t IntOf(CDataNode* node) {
    CDataNode* value = node ? node->GetValue() : nullptr;
    return value ? value->GetInt() : 0;
}

class ScriptTestScope {
public:
    std::vector<std::string> log;
    // How many times wait still stops its caller.
    int waits = 0;
    // Deferred runs still allowed (negative: no limit); keeps nested "twice"
    // from running for ever under the fuzzer.
    int budget = -1;

    // Fills the script's global trees.
    void Build() {
        CDataNode* intType = TypeTag(ETypeTag::Int);
        g_scriptGlobalScope.Reset(new CScriptFunction);
        g_scriptGlobalScope->Declare(new CScriptVariable("int", NODE_DECLARATION, intType));
        g_functionTypeTag.Reset(new CDataNode(NODE_SCRIPT_TYPE));
        Define("add",
               [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                   int32_t sum = static_cast<int32_t>(static_cast<uint32_t>(IntOf(Arg(call, 0))) +
                                                      static_cast<uint32_t>(IntOf(Arg(call, 1))));
                   log.push_back(std::to_string(sum));
                   return new CDataInt(sum);
               },
               {{"a", intType}, {"b", intType}});
        Define("say",
               [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                   log.push_back(Arg(call, 0)->GetString());
                   return nullptr;
               },
               {{"text", TypeTag(ETypeTag::String)}});
        Define("half",
               [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                   log.push_back(std::to_string(Arg(call, 0)->GetFloat() / 2));
                   return nullptr;
               },
               {{"value", TypeTag(ETypeTag::Float)}});
        Define("set",
               [](CScriptCall& call, CDataNode*) -> CDataNode* {
                   Arg(call, 0)->SetValue(new CDataInt(IntOf(Arg(call, 1))));
                   return nullptr;
               },
               {{"target", intType}, {"value", intType}});
        Define("show",
               [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                   log.push_back("show " + std::to_string(IntOf(Arg(call, 0))));
                   return nullptr;
               },
               {{"value", intType}});
        Define("twice",
               [this](CScriptCall& call, CDataNode* context) -> CDataNode* {
                   RunDeferred(Arg(call, 0)->GetValue(), context);
                   RunDeferred(Arg(call, 0)->GetValue(), context);
                   return nullptr;
               },
               {{"body", g_functionTypeTag.Get()}});
        g_scriptConditional.Reset(
            Define("if",
                   [this](CScriptCall& call, CDataNode* context) -> CDataNode* {
                       if (IntOf(Arg(call, 0)) != 0)
                           RunDeferred(Arg(call, 1)->GetValue(), context);
                       else
                           RunDeferred(call.GetAlternative(), context);
                       return nullptr;
                   },
                   {{"condition", intType}, {"then", TypeTag(ETypeTag::Type)}}));
        Define(
            "define",
            [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                log.push_back("define " + std::to_string(IntOf(Arg(call, 0))));
                return nullptr;
            },
            {{"value", intType}}, true);
        Define("count",
               [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                   log.push_back("count " + std::to_string(Arg(call, 0)->GetChildCount()));
                   return nullptr;
               },
               {{"list", TypeTag(ETypeTag::Block)}});
        Define("name",
               [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                   const char* name = Arg(call, 0)->GetName();
                   log.push_back(std::string("name ") + (name ? name : "-"));
                   return nullptr;
               },
               {{"symbol", TypeTag(ETypeTag::Identifier)}});
        Define(
            "wait",
            [this](CScriptCall& call, CDataNode*) -> CDataNode* {
                log.push_back("wait");
                if (waits-- > 0)
                    call.Stop();
                return nullptr;
            },
            {}, false, true);
        Define("keep", [](CScriptCall&, CDataNode*) -> CDataNode* { return StaticEmptyNode(); },
               {{"value", intType}});

        CScriptFunction* type = new CScriptFunction;
        type->Declare(new CScriptVariable(
            "get", new Native([this](CScriptCall&, CDataNode* context) -> CDataNode* {
                log.push_back(std::string("get ") + (context ? context->GetString() : "-"));
                return nullptr;
            })));
        type->Declare(
            new CScriptVariable("field", NODE_KEYED_ASSIGNMENT, intType, new CDataInt(1)));
        g_scriptGlobalScope->Declare(
            new CScriptVariable("obj", NODE_KEYED_ASSIGNMENT, type, new CDataString("the object")));

        g_consoleFunctionScope.Reset(new CScriptFunction(g_scriptGlobalScope.Get()));
        g_consoleVariables.Reset(new CDataBlock);
    }

private:
    // A built-in in the global scope, with its parameters.
    CScriptVariable* Define(const char* name, Native::Body body,
                            std::vector<std::pair<const char*, CDataNode*>> parameters,
                            bool atCompileTime = false, bool withoutFrame = false) {
        Native* function = new Native(std::move(body), atCompileTime, withoutFrame);
        for (auto& [parameter, type] : parameters)
            function->AddParameter(parameter, type);
        CScriptVariable* variable = new CScriptVariable(name, function);
        g_scriptGlobalScope->Declare(variable);
        return variable;
    }

    // Runs a deferred argument's expression: a function body, or a list.
    void RunDeferred(CDataNode* expression, CDataNode* context) {
        CNodeRef<CDataNode> held(expression);
        if (!expression || budget == 0)
            return;
        if (budget > 0)
            --budget;
        if (expression->AsCallable()) {
            CNodeRef<CScriptCall> call(new CScriptCall(expression));
            call->Execute(context);
            return;
        }
        CNodeRef<CDataNode> resolved(expression->Evaluate(context));
        CNodeRef<CDataNode> result(expression->Execute(context));
    }
};

} // namespace test
