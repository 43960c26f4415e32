#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Script.h"
#include "data/ScriptFile.h"
#include "tests/TestSupport.h"
#include "tests/data/ScriptTestScope.h"

namespace {

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousPrint =
            SetConsolePrintFunction([this](const std::string& text) { printed.push_back(text); });
    }
    void TearDown() override {
        ReleaseGlobalTrees();
        SetConsolePrintFunction(m_previousPrint);
    }

    void BuildScope() { scope.Build(); }

    CScriptFunction* ConsoleScope() { return g_consoleFunctionScope->AsCallable(); }

    CNodeRef<CDataNode> Compile(const std::string& line) {
        CConsoleScript script(line);
        return script.CompileLine(g_consoleFunctionScope.Get(), g_consoleVariables.Get());
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
    std::vector<std::string> printed;
    test::ScriptTestScope scope;
    std::vector<std::string>& log = scope.log;

private:
    ConsolePrintFunction m_previousPrint;
};

TEST_F(ScriptTest, WithoutTheGlobalScopeTheConsoleRefusesScripts) {
    RunConsoleScript("(add 1 2)");
    EXPECT_EQ(printed, (std::vector<std::string>{"\nError: Script system not initialized!\n"}));

    // The global scope alone is not enough either.
    g_scriptGlobalScope.Reset(new CScriptFunction);
    printed.clear();
    RunConsoleScript("(add 1 2)");
    EXPECT_EQ(printed, (std::vector<std::string>{"\nError: Script system not initialized!\n"}));
}

TEST_F(ScriptTest, LexicalWords) {
    CConsoleScript script("abc ABC -5 -x 1.5 1.5.2 12ab \"a # b\nc\" (x) a.b c:d e#comment\n"
                          "f #x#g\r\th, \"open");
    std::vector<std::string> words;
    for (std::string word = script.ReadWord(); !word.empty(); word = script.ReadWord())
        words.push_back(word);
    EXPECT_EQ(words, (std::vector<std::string>{
                         "ABC", "ABC", "-5", "-X", "1.5", "1.5.2", "12AB",  "\"a # b\nc\"",
                         "(",   "X",   ")",  "A",  ".",   "B",     "C",     ":",
                         "D",   "E",   "F",  "G",  "H",   ",",     "\"open"}));
    EXPECT_EQ(script.GetLine(), 3u);

    // A pushed-back word is read again, its lines uncounted.
    CConsoleScript again("first \"two\nlines\" third");
    EXPECT_EQ(again.ReadWord(), "FIRST");
    EXPECT_EQ(again.ReadWord(), "\"two\nlines\"");
    EXPECT_EQ(again.GetLine(), 2u);
    again.PushBackWord();
    EXPECT_EQ(again.GetLine(), 1u);
    EXPECT_EQ(again.ReadWord(), "\"two\nlines\"");
    EXPECT_EQ(again.ReadWord(), "THIRD");
    EXPECT_EQ(again.ReadWord(), "");
}

TEST_F(ScriptTest, ConsoleLinesCompileAndRun) {
    BuildScope();
    RunConsoleScript("(add 1 2, ADD 10 -5)");
    EXPECT_EQ(log, (std::vector<std::string>{"3", "5"}));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].rfind("\nReturns: ", 0), 0u) << printed[0];

    // The result is the last statement's, held for the caller.
    CNodeRef<CDataNode> result = Compile("(Add 2 3)");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->GetInt(), 5);

    struct Case {
        const char* line;
        std::vector<std::string> log;
    };
    const std::vector<Case> cases = {
        {"(say \"a # b\nc\") # a comment", {"a # b\nc"}},
        {"(half 1.5, half 1.5.2)", {"0.750000", "0.750000"}},
        {"((int a b), set a 4, set b a, add a b, show a)", {"8", "show 4"}},
        {"(say \"x\") (say \"y\")", {"x", "y"}},
        {"(twice (say \"t\"))", {"t", "t"}},
        {"(if 1 (say \"a\") else (say \"b\"))", {"a"}},
        {"(if 0 (say \"a\") Else (say \"b\"))", {"b"}},
        {"(if 0 (say \"a\"), say \"c\")", {"c"}},
        {"(define 7, say \"x\")", {"define 7", "x"}},
        {"(count (1, 2, 3), count)", {"count 3", "count 0"}},
        {"(name fresh)", {"name FRESH"}},
        {"(obj.get)", {"get the object"}},
        {"()", {}},
        {"no parenthesis", {}},
    };
    for (const Case& c : cases) {
        log.clear();
        printed.clear();
        CNodeRef<CDataNode> ignored = Compile(c.line);
        EXPECT_EQ(log, c.log) << c.line;
        EXPECT_TRUE(printed.empty()) << c.line << ": " << (printed.empty() ? "" : printed[0]);
    }
}

TEST_F(ScriptTest, EachGroupBecomesATemporaryFunction) {
    BuildScope();
    CNodeRef<CDataNode> result = Compile("(define 1, say \"x\") (say \"y\") ()");
    CScriptSequence* statements = ConsoleScope()->GetStatements();
    ASSERT_EQ(statements->GetChildCount(), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        CDataNode* call = statements->GetChild(i);
        ASSERT_EQ(call->GetNodeType(), NODE_CALL);
        CDataNode* callee = static_cast<CScriptCall*>(call)->GetCallee();
        EXPECT_EQ(callee->GetNodeType(), NODE_CALLABLE);
        EXPECT_EQ(std::string(callee->GetName()), "temp-function-" + std::to_string(i));
    }
    // The compile-time call left no statement behind.
    EXPECT_EQ(ScopeFunction(static_cast<CScriptCall*>(statements->GetChild(0))->GetCallee())
                  ->GetChildCount(),
              1u);
    EXPECT_EQ(log, (std::vector<std::string>{"define 1", "x", "y"}));

    // The next line starts with an empty statement block.
    result = Compile("(say \"z\")");
    EXPECT_EQ(statements->GetChildCount(), 1u);
}

TEST_F(ScriptTest, SyntaxErrorsAreReportedAndNothingRuns) {
    BuildScope();
    struct Case {
        std::string line;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"(add 1)", "Invalid argument #2: Invalid token."},
        {"(add 1 2 3)", "Wrong number of arguments."},
        {"(add 1 \"x\")", "Invalid argument #2: Wrong type."},
        {"(add 1 y)", "Invalid argument #2: Unknown identifier \"Y\"."},
        {"(say \"a\" say \"b\")", "Wrong number of arguments."},
        {"(add 1 2", "Wrong number of arguments."},
        {"(say \"a\", nosuch)", "Unknown identifier: NOSUCH"},
        {"((nosuch))", "Unknown identifier \"NOSUCH\"."},
        {"(1 2)", "',' expected."},
        {"((int 5))", "Identifier expected."},
        {"(name add)", "Invalid argument #1: Symbol already exists."},
        {"(add.foo 1)", "Member variable/function not found: FOO"},
        {"(obj.field)", "Function call expected."},
        {"(twice say \"x\")", "'(' expected."},
        {"(if 1 (say \"a\") else)", "Invalid argument #2: Invalid token."},
        {std::string(150, '('), "Nested deeper than 100 lists."},
    };
    for (const Case& c : cases) {
        log.clear();
        printed.clear();
        RunConsoleScript(c.line);
        ASSERT_EQ(printed.size(), 3u) << c.line;
        EXPECT_EQ(printed[0], "Parse error!\n" + c.error) << c.line;
        EXPECT_EQ(printed[1], "Parse error!\nNot an executable statement!") << c.line;
        EXPECT_EQ(printed[2], "\nReturns: 0\n") << c.line;
        EXPECT_TRUE(log.empty()) << c.line;
    }
}

TEST_F(ScriptTest, AStoppedStatementResumesOnTheNextRun) {
    BuildScope();
    scope.waits = 1;
    CNodeRef<CDataNode> result = Compile("(say \"a\", wait, say \"b\")");
    EXPECT_EQ(log, (std::vector<std::string>{"a", "wait"}));
    CScriptCall* temporary =
        static_cast<CScriptCall*>(ConsoleScope()->GetStatements()->GetChild(0));
    EXPECT_TRUE(ScopeFunction(temporary->GetCallee())->IsSuspended());

    // The next run of the scope starts with the statement that stopped.
    log.clear();
    CNodeRef<CScriptCall> again(new CScriptCall(g_consoleFunctionScope.Get()));
    again->Execute(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"wait", "b"}));
    EXPECT_FALSE(ScopeFunction(temporary->GetCallee())->IsSuspended());

    // A sequence that ran to its end starts from the first statement.
    log.clear();
    again->Execute(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "wait", "b"}));
    EXPECT_EQ(CScriptCall::GetCallDepth(), 0u);
}

TEST_F(ScriptTest, TheFrameIsKeptOnlyForTheEmptyResult) {
    BuildScope();
    CNodeRef<CScriptCall> keep(new CScriptCall(g_scriptGlobalScope->Lookup("KEEP")));
    keep->AddArgument(new CDataInt(3));
    EXPECT_EQ(keep->Execute(nullptr), StaticEmptyNode());
    ASSERT_EQ(keep->GetFrameSize(), 1u);
    EXPECT_EQ(keep->GetFrameEntry(0)->GetInt(), 3);

    CNodeRef<CScriptCall> add(new CScriptCall(g_scriptGlobalScope->Lookup("add")));
    add->AddArgument(new CDataInt(3));
    add->AddArgument(new CDataInt(4));
    CDataNode* sum = add->Execute(nullptr);
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->GetInt(), 7);
    EXPECT_EQ(add->GetResult(), sum);
    EXPECT_EQ(add->GetFrameSize(), 0u);

    // A callee that is no function runs nothing.
    CNodeRef<CScriptCall> none(new CScriptCall(new CDataInt(1)));
    EXPECT_EQ(none->Execute(nullptr), nullptr);
}

TEST_F(ScriptTest, ScriptFileErrorsShowTheBoxWithFileAndLine) {
    BuildScope();
    dir.WriteFile("test.scr", "# header\n(say \"a\nb\",\n nosuch)");
    CScriptFile file;
    ASSERT_TRUE(file.Open("test.scr"));
    CNodeRef<CScriptFunction> body(file.ParseFunctionBody(g_scriptGlobalScope.Get()));
    EXPECT_FALSE(body);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("Parse error in test.scr at line 4.\nUnknown identifier: NOSUCH"),
              std::string::npos)
        << boxes.texts[0];
    EXPECT_TRUE(printed.empty());

    // A good file compiles into a function that runs.
    dir.WriteFile("good.scr", "(say \"from a file\")");
    CScriptFile good;
    good.Open("good.scr");
    CNodeRef<CScriptFunction> function(good.ParseFunctionBody(g_scriptGlobalScope.Get()));
    ASSERT_TRUE(function);
    CNodeRef<CScriptCall> call(new CScriptCall(function.Get()));
    call->Execute(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"from a file"}));
}

TEST_F(ScriptTest, ASequenceKeepsOnlyStatements) {
    CNodeRef<CScriptSequence> sequence(new CScriptSequence);
    CNodeRef<CDataBlock> nested(new CDataBlock);
    nested->AddChild(new CDataInt(1));
    CDataBlock* inner = new CDataBlock;
    inner->AddChild(new CDataString("x"));
    nested->AddChild(inner);
    sequence->AddChild(nested.Get());                   // flattened: 1, "x"
    sequence->AddChild(new CScriptCall);                // kept
    sequence->AddChild(new CScriptFunction);            // dropped
    sequence->AddChild(new CScriptLocal("v", nullptr)); // a variable: kept
    sequence->AddChild(sequence.Get());                 // itself: nothing
    nested->AddChild(nested.Get());                     // a block holding itself is flattened once
    sequence->AddChild(nested.Get());
    nested->RemoveChild(nested.Get());
    ASSERT_EQ(sequence->GetChildCount(), 6u);
    EXPECT_EQ(sequence->GetChild(0)->GetInt(), 1);
    EXPECT_STREQ(sequence->GetChild(1)->GetString(), "x");
    EXPECT_EQ(sequence->GetChild(2)->GetNodeType(), NODE_CALL);
    EXPECT_EQ(sequence->GetChild(3)->GetNodeType(), NODE_LOCAL);
    EXPECT_EQ(sequence->GetChild(4)->GetInt(), 1);

    // Without a running call a local has no frame entry to answer.
    EXPECT_EQ(sequence->GetChild(3)->Evaluate(nullptr), StaticEmptyNode());
    // The last statement's result is answered.
    CNodeRef<CDataNode> result(sequence->Execute(nullptr));
    EXPECT_STREQ(result->GetString(), "x");
}

} // namespace
