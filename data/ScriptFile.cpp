#include "data/ScriptFile.h"

#include <cstdarg>
#include <cstdio>

#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "engine/Format.h"

namespace {

const char* const kConsoleFileName = "console.sme";

ConsolePrintFunction& ConsolePrinter() {
    static ConsolePrintFunction print;
    return print;
}

bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}
char Upper(int c) {
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
}

// Characters that end a word and are read again afterwards ('.' ends names
// only).
bool EndsWord(int c) {
    return c == '#' || c == '(' || c == ')' || c == ',' || c == ':';
}

bool IsNumberWord(const std::string& word) {
    return !word.empty() &&
           (IsDigit(word[0]) || (word[0] == '-' && word.size() > 1 && IsDigit(word[1])));
}

bool IsStringWord(const std::string& word) {
    return !word.empty() && word[0] == '"';
}

// A word that can name a symbol.
bool IsNameWord(const std::string& word) {
    if (word.empty() || IsStringWord(word) || IsNumberWord(word))
        return false;
    return !(word.size() == 1 && (word[0] == '(' || word[0] == '.' || EndsWord(word[0])));
}

CDataNode* MakeNumber(const std::string& word) {
    if (word.find('.') != std::string::npos)
        return new CFloatNode(TokenToFloat(word.c_str()));
    return new CDataInt(TokenToInt(word.c_str()));
}

CDataNode* MakeString(const std::string& word) {
    // The word holds both quotes, or only the first when the source ended.
    size_t end = word.size() >= 2 && word.back() == '"' ? word.size() - 1 : word.size();
    return new CDataString(word.substr(1, end - 1).c_str());
}

bool TypeMatches(CDataNode* argumentTag, CDataNode* parameterType) {
    if (argumentTag == parameterType)
        return true;
    CScriptType* type = argumentTag ? argumentTag->AsType() : nullptr;
    return type && type->IsDerivedFrom(parameterType);
}

class NestingGuard {
public:
    explicit NestingGuard(int& nesting) : m_nesting(nesting) { ++m_nesting; }
    ~NestingGuard() { --m_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& m_nesting;
};

} // namespace

// ---------------------------------------------------------------------------
// Console printing

ConsolePrintFunction SetConsolePrintFunction(ConsolePrintFunction print) {
    ConsolePrintFunction previous = std::move(ConsolePrinter());
    ConsolePrinter() = std::move(print);
    return previous;
}

void ConsolePrint(const char* format, ...) {
    if (!ConsolePrinter())
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatTextV(format, args);
    va_end(args);
    ConsolePrinter()(text);
}

void RunConsoleScript(const std::string& line) {
    if (!g_scriptGlobalScope || !g_consoleFunctionScope) {
        ConsolePrint("%s", "\nError: Script system not initialized!\n");
        return;
    }
    CConsoleScript script(line);
    CNodeRef<CDataNode> result =
        script.CompileLine(g_consoleFunctionScope.Get(), g_consoleVariables.Get());
    ConsolePrint("\nReturns: %x\n",
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(result.Get())));
}

// ---------------------------------------------------------------------------
// CScriptFile: reading

CScriptFile::~CScriptFile() = default;

bool CScriptFile::Open(const std::string& path) {
    m_source = std::make_unique<CFile>(path, "rb");
    m_fileName = path;
    m_line = 1;
    m_stop = false;
    m_lastWordStart = -1;
    return true;
}

void CScriptFile::SetError() {
    m_error = true;
    m_stop = true;
}

void CScriptFile::ReportError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatTextV(format, args);
    va_end(args);
    SetError();
    CriticalError("Parse error in %s at line %d.\n%s", m_fileName.c_str(), static_cast<int>(m_line),
                  message.c_str());
}

int CScriptFile::ReadChar() {
    if (m_stop || !m_source || m_source->IsFailed())
        return 0;
    if (m_source->GetPosition() >= m_source->GetSize())
        return 0;
    char c = 0;
    if (!m_source->Read(&c, 1)) {
        m_stop = true;
        return 0;
    }
    if (c == '\n')
        ++m_line;
    return static_cast<unsigned char>(c);
}

void CScriptFile::UnreadChar(int c) {
    if (c == 0 || !m_source)
        return;
    if (!m_source->Skip(-1)) {
        m_stop = true;
        return;
    }
    if (c == '\n')
        --m_line;
}

int CScriptFile::SkipBlanksAndComments() {
    for (;;) {
        int c = ReadChar();
        if (c == 0)
            return 0;
        if (IsBlank(c))
            continue;
        if (c != '#')
            return c;
        for (;;) {
            int d = ReadChar();
            if (d == 0 || d == '\n' || d == '\r' || d == '#')
                break;
        }
    }
}

int CScriptFile::NextPunct() {
    return SkipBlanksAndComments();
}

int CScriptFile::PeekPunct() {
    int c = SkipBlanksAndComments();
    UnreadChar(c);
    return c;
}

std::string CScriptFile::ReadWord() {
    std::string word;
    int c = SkipBlanksAndComments();
    if (c == 0)
        return word;
    m_lastWordStart = m_source->GetPosition() - 1;
    m_lastWordLine = m_line;
    word.push_back(static_cast<char>(c));
    if (c == '(') {
        m_lastWordLength = 1;
        return word;
    }
    if (c == '"') {
        for (int d = ReadChar(); d != 0; d = ReadChar()) {
            word.push_back(static_cast<char>(d));
            if (d == '"')
                break;
        }
    } else {
        bool number = IsDigit(c);
        if (c == '-') {
            int next = ReadChar();
            number = IsDigit(next);
            UnreadChar(next);
        }
        // A lone punctuation is a word of its own, so that reading always
        // moves on.
        if (!number && (EndsWord(c) || c == '.')) {
            m_lastWordLength = 1;
            return word;
        }
        word[0] = Upper(c);
        for (int d = ReadChar(); d != 0; d = ReadChar()) {
            if (IsBlank(d))
                break;
            if (EndsWord(d) || (d == '.' && !number)) {
                UnreadChar(d);
                break;
            }
            word.push_back(Upper(d));
        }
    }
    m_lastWordLength = static_cast<uint32_t>(m_source->GetPosition() - m_lastWordStart);
    return word;
}

void CScriptFile::PushBackWord() {
    if (m_lastWordStart < 0 || !m_source || m_stop)
        return;
    if (!m_source->Seek(m_lastWordStart)) {
        m_stop = true;
        return;
    }
    m_line = m_lastWordLine;
    m_lastWordStart = -1;
}

// ---------------------------------------------------------------------------
// CScriptFile: compiling

CDataNode* CScriptFile::FindSymbol(CDataNode* scope, const std::string& name) {
    if (scope) {
        if (CDataNode* node = scope->Lookup(name.c_str()))
            return node;
    }
    if (g_scriptGlobalScope && g_scriptGlobalScope.Get() != scope)
        return g_scriptGlobalScope->Lookup(name.c_str());
    return nullptr;
}

bool CScriptFile::EnterNesting() {
    if (m_nesting < MAX_NESTING)
        return true;
    ReportError("Nested deeper than %d lists.", MAX_NESTING);
    return false;
}

CDataNode* CScriptFile::ParsePrimary(CDataNode* scope, bool* freeName) {
    if (freeName)
        *freeName = false;
    int next = PeekPunct();
    if (next == 0 || next == ',' || next == ')')
        return nullptr;
    std::string word = ReadWord();
    if (IsStringWord(word))
        return MakeString(word);
    if (IsNumberWord(word))
        return MakeNumber(word);
    if (word == "(") {
        CDataBlock* list = ParseList(scope);
        return list ? list : new CDataBlock;
    }
    if (!IsNameWord(word))
        return nullptr;
    CDataNode* node = FindSymbol(scope, word);
    if (PeekPunct() == '.') {
        CNodeRef<CDataNode> object(node ? node : new CDataIdentifier(word.c_str()));
        CNodeRef<CDataNode> access(ParseMemberAccess(object.Get(), scope));
        return access.Detach();
    }
    if (node)
        return node;
    if (freeName)
        *freeName = true;
    return new CDataIdentifier(word.c_str());
}

// A list after the "." is compiled with the object as its scope.
CDataNode* CScriptFile::ParseMemberAccess(CDataNode* object, CDataNode* /*scope*/) {
    CNodeRef<CDataNode> current(object);
    while (PeekPunct() == '.') {
        NextPunct();
        CNodeRef<CDataNode> member;
        if (PeekPunct() == '(') {
            ReadWord();
            member.Reset(ParseList(current.Get()));
            if (!member)
                return nullptr;
        } else {
            std::string name = ReadWord();
            CDataNode* type = current ? current->GetTypeTag() : nullptr;
            member.Reset(type && IsNameWord(name) ? type->Lookup(name.c_str()) : nullptr);
            if (!member) {
                ReportError("Member variable/function not found: %s", name.c_str());
                return nullptr;
            }
        }
        current.Reset(new CScriptMemberAccess(current.Get(), member.Get()));
    }
    return current.Detach();
}

CDataBlock* CScriptFile::ParseList(CDataNode* scope) {
    if (!EnterNesting())
        return nullptr;
    NestingGuard guard(m_nesting);
    CNodeRef<CDataBlock> list(new CDataBlock);
    if (!ParseItems(scope, list.Get(), false))
        return nullptr;
    return list.Detach();
}

CScriptFunction* CScriptFile::ParseFunctionBody(CDataNode* scope) {
    if (NextPunct() != '(') {
        ReportError("'(' expected.");
        return nullptr;
    }
    if (!EnterNesting())
        return nullptr;
    NestingGuard guard(m_nesting);
    CNodeRef<CScriptFunction> function(new CScriptFunction(scope));
    if (!ParseItems(function.Get(), function.Get(), true))
        return nullptr;
    return function.Detach();
}

bool CScriptFile::ParseItems(CDataNode* scope, CDataNode* target, bool functionBody) {
    if (PeekPunct() == ')') {
        NextPunct();
        return true;
    }
    for (;;) {
        bool listEnded = false;
        if (!ParseItem(scope, target, functionBody, listEnded))
            return false;
        if (listEnded)
            return true;
        int c = NextPunct();
        if (c == ')')
            return true;
        if (c != ',') {
            ReportError("',' expected.");
            return false;
        }
    }
}

bool CScriptFile::ParseItem(CDataNode* scope, CDataNode* target, bool functionBody,
                            bool& listEnded) {
    std::string word = ReadWord();
    if (IsStringWord(word)) {
        target->AddChild(MakeString(word));
        return true;
    }
    if (IsNumberWord(word)) {
        target->AddChild(MakeNumber(word));
        return true;
    }
    if (word == "(") {
        CDataBlock* list = ParseList(scope);
        if (!list)
            return false;
        target->AddChild(list);
        return true;
    }
    CDataNode* node = IsNameWord(word) ? FindSymbol(scope, word) : nullptr;
    if (node && PeekPunct() == '.') {
        CNodeRef<CDataNode> access(ParseMemberAccess(node, scope));
        if (!access)
            return false;
        if (!ScopeFunction(access.Get())) {
            ReportError("Function call expected.");
            return false;
        }
        return ParseCall(access.Get(), scope, target);
    }
    if (!node) {
        if (functionBody)
            ReportError("Unknown identifier: %s", word.c_str());
        else
            ReportError("Unknown identifier \"%s\".", word.c_str());
        return false;
    }
    switch (node->GetNodeType()) {
    case NODE_CALLABLE:
        return ParseCall(node, scope, target);
    case NODE_DECLARATION: {
        CScriptVariable* declaration = node->AsVariable();
        CDataNode* type = declaration ? declaration->GetDeclaredType() : nullptr;
        listEnded = true;
        return ParseDeclarationList(ScopeFunction(scope), type);
    }
    default:
        target->AddChild(node);
        return true;
    }
}

bool CScriptFile::ParseCall(CDataNode* callee, CDataNode* scope, CDataNode* target) {
    CNodeRef<CScriptCall> call(new CScriptCall(callee));
    if (!ParseCallArguments(call.Get(), scope))
        return false;
    CScriptFunction* function = ScopeFunction(callee);
    if (function && function->RunsAtCompileTime()) {
        call->Execute(nullptr);
        return true;
    }
    target->AddChild(call.Get());
    return true;
}

bool CScriptFile::ParseDeclarationList(CScriptFunction* function, CDataNode* type) {
    for (;;) {
        int c = PeekPunct();
        if (c == ')' || c == ',') {
            NextPunct();
            if (c == ')')
                return true;
            continue;
        }
        std::string name = ReadWord();
        if (!function || !IsNameWord(name)) {
            ReportError("Identifier expected.");
            return false;
        }
        function->Declare(new CScriptLocal(name.c_str(), type));
    }
}

bool CScriptFile::ParseCallArguments(CScriptCall* call, CDataNode* scope) {
    CScriptFunction* function = ScopeFunction(call->GetCallee());
    if (!function) {
        ReportError("Function call expected.");
        return false;
    }
    CNodeRef<CScriptFunction> held(function);
    for (uint32_t i = 0; i < function->GetParameterCount(); ++i) {
        int number = static_cast<int>(i + 1);
        CDataNode* type = function->GetParameter(i)->GetDeclaredType();
        CNodeRef<CDataNode> argument;
        if (type && type == g_functionTypeTag.Get()) {
            CNodeRef<CScriptFunction> body(ParseFunctionBody(scope));
            if (!body)
                return false;
            argument.Reset(new CScriptType(call, body.Get()));
        } else if (type == TypeTag(ETypeTag::Type)) {
            CNodeRef<CDataNode> expression(ParsePrimary(scope));
            if (m_error)
                return false;
            if (!expression) {
                ReportError("Invalid argument #%d: Invalid token.", number);
                return false;
            }
            argument.Reset(new CScriptType(call, expression.Get()));
            if (call->GetCallee() && call->GetCallee() == g_scriptConditional.Get()) {
                std::string word = ReadWord();
                if (word == "ELSE") {
                    CNodeRef<CDataNode> alternative(ParsePrimary(scope));
                    if (m_error)
                        return false;
                    if (!alternative) {
                        ReportError("Invalid argument #%d: Invalid token.", number);
                        return false;
                    }
                    call->SetAlternative(alternative.Get());
                } else {
                    PushBackWord();
                }
            }
        } else {
            bool freeName = false;
            argument.Reset(ParsePrimary(scope, &freeName));
            if (m_error)
                return false;
            if (!argument) {
                if (type != TypeTag(ETypeTag::Block)) {
                    ReportError("Invalid argument #%d: Invalid token.", number);
                    return false;
                }
                argument.Reset(new CDataBlock);
            } else if (freeName && type != TypeTag(ETypeTag::Identifier)) {
                ReportError("Invalid argument #%d: Unknown identifier \"%s\".", number,
                            argument->GetName());
                return false;
            } else if (type && !TypeMatches(argument->GetTypeTag(), type)) {
                if (type == TypeTag(ETypeTag::Identifier))
                    ReportError("Invalid argument #%d: Symbol already exists.", number);
                else
                    ReportError("Invalid argument #%d: Wrong type.", number);
                return false;
            }
        }
        call->AddArgument(argument.Get());
    }
    int next = PeekPunct();
    if (next != ',' && next != ')') {
        ReportError("Wrong number of arguments.");
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// CConsoleScript

CConsoleScript::CConsoleScript(const std::string& text) {
    {
        CFile file(kConsoleFileName, "w");
        if (!text.empty())
            file.Write(text.data(), static_cast<uint32_t>(text.size()));
    }
    Open(kConsoleFileName);
}

void CConsoleScript::ReportError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatTextV(format, args);
    va_end(args);
    SetError();
    ConsolePrint("Parse error!\n%s", message.c_str());
}

CNodeRef<CDataNode> CConsoleScript::CompileLine(CDataNode* functionScope, CDataNode* variables) {
    CScriptFunction* scope = ScopeFunction(functionScope);
    if (HasError() || !scope)
        return {};
    CNodeRef<CDataNode> heldScope(functionScope);
    CNodeRef<CDataNode> heldVariables(variables);
    scope->GetStatements()->ReleaseChildren();
    for (int count = 0; !HasError() && PeekPunct() == '('; ++count) {
        CNodeRef<CScriptFunction> body(ParseFunctionBody(functionScope));
        if (!body)
            break;
        char name[32];
        std::snprintf(name, sizeof name, "temp-function-%d", count);
        CNodeRef<CScriptVariable> temporary(new CScriptVariable(name, body.Get()));
        functionScope->AddChild(new CScriptCall(temporary.Get()));
    }
    if (HasError()) {
        ReportError("Not an executable statement!");
        return {};
    }
    CNodeRef<CScriptCall> call(new CScriptCall(functionScope));
    return CNodeRef<CDataNode>(call->Execute(variables));
}
