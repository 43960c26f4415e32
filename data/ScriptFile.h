#pragma once
// The script compiler: CScriptFile reads a source character by character and
// compiles it into script nodes (data/Script.h); CConsoleScript compiles and
// runs a line typed at the console through the file "console.sme".
//
// Lexical rules: blanks are ' ', '\t', '\r' and '\n'; "#" starts a comment
// that ends at the end of the line, at a '\r' or at the next "#". A word is
// "(" alone, a quoted string (quotes included, no escapes, lines may be
// crossed), a number (a digit, or '-' and a digit, then up to a blank, "#",
// "(", ")", ":" or ","), or a name (the same, and also up to "."). Numbers and
// names are upper-cased, so names match whatever their case. A word that a
// punctuation ends leaves it to be read next; a word written against a "#"
// ends there and the comment is skipped afterwards.
//
// Grammar: a console line is one or more function bodies "( item, item )".
// An item is a call (a callable's name followed by one argument per
// parameter, separated by blanks), a declaration list (a declaration
// symbol's name followed by the names of new locals, to the closing ")"), a
// value, a variable or a nested list. A member is reached with "object.name".
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "data/Script.h"
#include "engine/File.h"

class CScriptFile {
public:
    CScriptFile() = default;
    virtual ~CScriptFile();
    CScriptFile(const CScriptFile&) = delete;
    CScriptFile& operator=(const CScriptFile&) = delete;

    // Opens the source for reading: line 1, stop flag clear. True.
    bool Open(const std::string& path);

    // Shows "Parse error in %s at line %d.\n%s" (file name, line, message)
    // through the critical-error box. Every error ends the compilation.
    __attribute__((format(printf, 2, 3))) virtual void ReportError(const char* format, ...);

    // Lexical level. The next character (0 at the end of the source, at a
    // NUL byte or after a read failure).
    int ReadChar();
    // The next character that is no blank and no comment, taken or not.
    int NextPunct();
    int PeekPunct();
    // The next word ("" at the end of the source); PushBackWord gives the
    // last word back to be read again.
    std::string ReadWord();
    void PushBackWord();

    // Compiler entry points; each takes the current scope (null: the global
    // scope). A null answer after ReportError is a failure; the answers are
    // new nodes nobody holds yet, or symbols that their scope holds.
    // A primary: a string, a number, a parenthesised list, a symbol (with
    // its member access), or a free identifier for an unknown name (then
    // *freeName is set). Null when none follows (at "," or ")").
    CDataNode* ParsePrimary(CDataNode* scope, bool* freeName = nullptr);
    // After an object, its "." and member (chained); the "." is next.
    CDataNode* ParseMemberAccess(CDataNode* object, CDataNode* scope);
    // The items of a list whose "(" has been read, up to its ")".
    CDataBlock* ParseList(CDataNode* scope);
    // "(" items ")" compiled into a new function of the scope.
    CScriptFunction* ParseFunctionBody(CDataNode* scope);
    // The names of new locals of the type, declared in the function, up to
    // and including the ")" that ends the enclosing list.
    bool ParseDeclarationList(CScriptFunction* function, CDataNode* type);
    // One argument per parameter of the callee, appended to the call.
    bool ParseCallArguments(CScriptCall* call, CDataNode* scope);

    const std::string& GetFileName() const { return m_fileName; }
    uint32_t GetLine() const { return m_line; }
    bool IsStopped() const { return m_stop; }
    // True once an error was reported.
    bool HasError() const { return m_error; }

    // Deepest nesting of lists and function bodies.
    static constexpr int MAX_NESTING = 100;

protected:
    // Marks the error and stops reading.
    void SetError();

private:
    void UnreadChar(int c);
    int SkipBlanksAndComments();
    // Parses the items of a list or body up to its ")"; statements go to
    // the target. False after an error.
    bool ParseItems(CDataNode* scope, CDataNode* target, bool functionBody);
    // One item; listEnded is set when a declaration list took the ")".
    bool ParseItem(CDataNode* scope, CDataNode* target, bool functionBody, bool& listEnded);
    // The rest of a call of the callee (arguments); added to the target, or
    // run at once when the callee runs at compile time.
    bool ParseCall(CDataNode* callee, CDataNode* scope, CDataNode* target);
    CDataNode* FindSymbol(CDataNode* scope, const std::string& name);
    bool EnterNesting();

    std::string m_fileName;
    uint32_t m_lastWordLength = 0;
    int32_t m_lastWordStart = -1;
    uint32_t m_lastWordLine = 1;
    uint32_t m_line = 1;
    std::unique_ptr<CFile> m_source;
    bool m_stop = false;
    bool m_error = false;
    int m_nesting = 0;
};

// A console line compiled through the file "console.sme".
class CConsoleScript : public CScriptFile {
public:
    // Writes the text to "console.sme" and opens it as the source.
    explicit CConsoleScript(const std::string& text);

    // Prints "Parse error!\n%s" to the console and sets the error flag.
    __attribute__((format(printf, 2, 3))) void ReportError(const char* format, ...) override;

    // Compiles the line's function bodies into the function scope (its
    // statement block is emptied first: each body becomes a callable
    // "temp-function-%d" and a call of it), then runs the scope with the
    // variables as context. The result, held for the caller; none when
    // an error was reported ("Not an executable statement!").
    CNodeRef<CDataNode> CompileLine(CDataNode* functionScope, CDataNode* variables);
};

// The console's printer (CConsole::Print once the console exists); until
// one is set nothing is printed. Answers the printer set before.
using ConsolePrintFunction = std::function<void(const std::string& text)>;
ConsolePrintFunction SetConsolePrintFunction(ConsolePrintFunction print);
void ConsolePrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// What the console does with a script statement: without the global scope
// or the console's function scope it prints "\nError: Script system not
// initialized!\n"; otherwise it compiles and runs the line and prints
// "\nReturns: %x\n" with the result's address.
void RunConsoleScript(const std::string& line);
