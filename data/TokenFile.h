#pragma once
// Reading and writing the game's text format.
//
// CTokenFile turns the characters of one file into Tokens: it skips blanks
// and comments ("!", "#" or ";" to the end of the line), counts lines, reads
// quoted strings and words, and classifies each word as a keyword, a number
// or a string. CFieldReader sits on top: it reads the format's unit, the
// field (a key, "=" and a value), offers the list readers and the error line
// every reader uses, and, opened with mode "w", is the handle writers emit
// tokens through (data/TextOutput.h).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/Token.h"
#include "engine/Date.h"
#include "engine/LinkedList.h"
#include "engine/ObjectId.h"

class CCountry;

// Results of CFieldReader::ReadField and of the block readers.
constexpr int32_t FIELD_READ = 1;      // key, "=" and value were read
constexpr int32_t FIELD_BLOCK_END = 0; // "}" is next (ReadField), or the block was read
constexpr int32_t FIELD_END_OF_FILE = -1;
constexpr int32_t FIELD_ERROR = -2; // no "=" after the key, or the block's read ended on an error
// Result of the writers when every token was written; a failed write answers
// FIELD_ERROR.
constexpr int32_t FIELD_WRITTEN = 0;

// One entry of a dated list: a date and the object it names.
struct DatedId {
    CDate date;
    ObjectId id;

    bool operator==(const DatedId& other) const = default;
};

// The lists the list readers append to. Province numbers and country numbers
// go to the same kind of list (a mission's area holds both).
using CIntList = TListBase<int32_t>;
using CFloatList = TListBase<float>;
using CDatedIdList = TListBase<DatedId>;

// Turns a country tag into its country number (0 when no country has it).
using CountryTagLookup = std::function<int32_t(const char* tag)>;

class CTokenFile {
public:
    // Opens the game path in the given mode ("r" to read, "w" to write).
    // A file that cannot be opened is reported ("Couldn't open file:%s\n")
    // through the critical-error box and the object is left without a file:
    // reads find the end of the file, writes fail.
    CTokenFile(const std::string& path, const char* mode);
    // A file that writes into the string (appended to) instead of a file on
    // disk: reads find the end of the file; writes never fail.
    explicit CTokenFile(std::string* sink);
    virtual ~CTokenFile();
    CTokenFile(const CTokenFile&) = delete;
    CTokenFile& operator=(const CTokenFile&) = delete;

    // The text of a token code: 1 "=", 2 a double quote, 3 "{", 4 "}", 5 "(",
    // 6 ")", 8 ",", 9 "#", 470 "\n", 471 four blanks, 472 one blank, a
    // keyword id its keyword; null for every other code (numbers and strings
    // are filled by the Token formatters).
    virtual const char* TokenText(uint32_t code) const;

    // Reads the next token into the current token: 1 when a token was read,
    // 0 at the end of the file. A token that Peek holds is handed over
    // without reading. A word that runs into the end of the file is not
    // delivered (0), the end of the file is.
    int32_t Next();

    // The next token without taking it: at the end of the file its code is
    // TOKEN_EOF. Repeated calls answer the same token; the following Next
    // takes it.
    const Token* Peek();

    // The character class of one byte: the punctuation codes 1..8, 9 for a
    // comment character, 0 for a word character (bytes 128..255 included).
    static uint32_t CharClass(unsigned char c);
    // True for tab, line feed, vertical tab, form feed, carriage return,
    // space, and the NUL byte (which no text can hold).
    static bool IsBlank(unsigned char c);
    // The code of a word: its keyword id (any case), else TOKEN_NUMBER when
    // every character is a digit, "." or "-", else TOKEN_STRING.
    static uint32_t ClassifyWord(const char* word);
    // ClassifyWord of the current token's text.
    uint32_t Classify() const;

    bool IsOpen() const { return m_file != nullptr || m_sink != nullptr; }
    const Token& Current() const { return m_current; }
    // Line feeds consumed so far (0-based; messages print it plus 1).
    uint32_t GetLine() const { return m_line; }
    const std::string& GetFileName() const { return m_fileName; }
    // True the first time it is asked, false afterwards: a fault that a
    // damaged file may repeat in every field is logged once per file.
    bool FirstMissingEquals() { return !std::exchange(m_missingEqualsSeen, true); }

    // Writes bytes; false when there is no file or the write failed.
    bool Write(std::string_view bytes) {
        if (bytes.empty() || bytes.size() > m_writeRoom)
            return WriteUnbuffered(bytes);
        std::memcpy(m_writeAt, bytes.data(), bytes.size());
        m_writeAt += bytes.size();
        m_writeRoom -= bytes.size();
        return true;
    }
    // Hands what is buffered to the system; false when there is no file or
    // a write failed (a full disk shows here at the latest).
    bool Flush();

private:
    // True when unread bytes wait in the buffer: refills it from the file
    // when it is used up; false at the end of the file.
    bool HasBytes() { return m_bufferPos != m_bufferEnd || Refill(); }
    bool Refill();
    // Appends bytes to the current token's text; bytes past 1023 are
    // dropped and cut is set.
    void AppendText(const char* bytes, size_t count, uint32_t& length, bool& cut);
    void ReportCut(const char* what);
    // Reads the rest of a quoted string, a comment or a word whose first
    // byte has been taken.
    void ReadQuoted();
    void SkipComment();
    bool ReadWord();
    // Hands the write buffer to the file; false once a write has failed.
    bool WriteBuffered();
    // Write for bytes that do not fit the buffer's room: the memory file,
    // the first write, a full buffer, a failed file; and for no bytes.
    bool WriteUnbuffered(std::string_view bytes);

    struct FileCloser {
        void operator()(std::FILE* file) const;
    };

    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::string* m_sink = nullptr; // the memory file's bytes; null for a file on disk
    bool m_missingEqualsSeen = false;
    std::vector<char> m_buffer;
    size_t m_bufferPos = 0;
    size_t m_bufferEnd = 0;
    // Bytes written but not yet handed to the file; a failed write sticks.
    std::unique_ptr<char[]> m_writeBuffer;
    char* m_writeAt = nullptr; // where the next byte goes
    size_t m_writeRoom = 0;    // bytes free from there; 0 without a buffer
    bool m_writeFailed = false;
    Token m_current;
    int32_t m_pendingResult = 0;
    bool m_pending = false;
    uint32_t m_line = 0;
    std::string m_fileName;
};

class CFieldReader {
public:
    CFieldReader() = default;
    ~CFieldReader() = default;
    CFieldReader(const CFieldReader&) = delete;
    CFieldReader& operator=(const CFieldReader&) = delete;

    // Makes the CTokenFile for the path and mode (a file still open is closed
    // first). A failed open leaves a CTokenFile without a file.
    void Open(const std::string& path, const char* mode);
    // Makes a CTokenFile that writes into the string (a file still open is
    // closed first): the writers then build the text in memory.
    void OpenMemory(std::string& sink);
    // Deletes the CTokenFile, closing the file.
    void Close();
    // True while a file is open.
    bool IsOpen() const { return m_file && m_file->IsOpen(); }
    // The open CTokenFile, or null.
    CTokenFile* GetTokenFile() const { return m_file.get(); }

    // Reads one field into key, equals and value: FIELD_READ; FIELD_BLOCK_END
    // the next token is "}" (left pending); FIELD_END_OF_FILE; FIELD_ERROR
    // the token after the key is not "=" (the first of a file writes the
    // error line to the log, no box; the key and that token are taken,
    // except a "}", which is left for the block's reader; equals and value
    // keep their previous contents).
    int32_t ReadField();
    // The next whole field of a block that passes over fields without "="
    // (their tokens are dropped): FIELD_READ, FIELD_BLOCK_END once the
    // block's "}" has been taken, or FIELD_END_OF_FILE.
    int32_t ReadBlockField();
    // ReadField for a block that ends at its "}": FIELD_READ, FIELD_BLOCK_END
    // once the "}" has been taken, or FIELD_END_OF_FILE and FIELD_ERROR
    // unchanged.
    int32_t ReadFieldOrClose();

    // Read the items of a list whose "{" has been taken, up to and including
    // its "}". Commas between items are optional. Any other token is reported
    // and passed over. FIELD_BLOCK_END when the list was read,
    // FIELD_END_OF_FILE when the file ended in it.
    int32_t ReadIntList(CIntList& list);
    int32_t ReadFloatList(CFloatList& list);
    // Tags (words or strings) become country numbers through the lookup.
    int32_t ReadTagList(CIntList& list, const CountryTagLookup& findCountryByTag);

    // Reads entries of a whole date block (braces included) followed by an
    // object number and an optional ",", up to and including the list's "}".
    // One date serves all entries: it starts as year 0, January, day 0 and is
    // not reset, so a field an entry leaves out keeps the previous entry's
    // value. FIELD_BLOCK_END; the date reader's other answers; FIELD_ERROR
    // when an entry does not begin with "{" or its number is missing or
    // negative (the token is not taken); FIELD_END_OF_FILE at the end of the
    // file.
    int32_t ReadDatedIdList(uint16_t objectType, CDatedIdList& list);

    // The error line "ERROR : (%s) '%s %s %s' Line = %d file = %s" with the
    // context, the texts of key, equals and value, the line (1-based) and the
    // file name, shown through the critical-error box.
    void ReportError(const char* context) const;

    // Writers (data/TextOutput.h): FIELD_WRITTEN, or FIELD_ERROR with no open
    // file or when the write failed. A blank follows every token except
    // quotes, strings, newlines, indents and blanks.
    int32_t WriteToken(const Token& token);
    // The token count times; FIELD_WRITTEN for a count of 0 (even with no
    // file).
    int32_t WriteTokenRepeated(const Token& token, uint32_t count);
    // The same bytes as WriteToken of a token filled by Token::Set with the
    // code's text (CTokenFile::TokenText), SetInt, SetFloat, SetBool and
    // SetString, written without building the token (the savers call these
    // for every token).
    int32_t WriteCode(uint32_t code);
    int32_t WriteInt(int32_t value);
    int32_t WriteFloat(float value);
    int32_t WriteBool(uint32_t value);
    int32_t WriteString(const char* text);

    // The three tokens of the last field read. A nested reader that shares the
    // reader leaves the fields of its last line in them.
    Token key;
    Token equals;
    Token value;
    // The country whose block is being read (set by the file reader).
    CCountry* currentCountry = nullptr;

private:
    std::unique_ptr<CTokenFile> m_file;
};

// Takes the items of a list whose "{" has been taken, up to and including
// its "}": commas are passed over and every other token goes to take, which
// answers FIELD_READ to go on or the answer the list ends with (it passes
// over what it leaves of the list itself). FIELD_BLOCK_END after the "}",
// FIELD_END_OF_FILE when the file ends in the list or there is no file.
template <class TakeToken> int32_t ReadListTokens(CFieldReader& in, TakeToken take) {
    CTokenFile* file = in.GetTokenFile();
    if (!file)
        return FIELD_END_OF_FILE;
    for (;;) {
        if (file->Next() == 0)
            return FIELD_END_OF_FILE;
        const Token& token = file->Current();
        if (token.code == TOKEN_CLOSE_BRACE)
            return FIELD_BLOCK_END;
        if (token.code == TOKEN_COMMA)
            continue;
        if (const int32_t answer = take(token); answer != FIELD_READ)
            return answer;
    }
}

// The error line "ERROR : (%s) '%s %s %s' Line = %d file = %s" shown through
// the critical-error box; the texts are shown as they stand, never used as a
// format.
void ReportTokenError(const char* context, const char* first, const char* second, const char* third,
                      uint32_t line, const std::string& fileName);
// The same error line as ReportTokenError makes.
std::string TokenErrorText(const char* context, const char* first, const char* second,
                           const char* third, uint32_t line, const std::string& fileName);

// The leading number of a token's text as the standard conversions read it:
// an optional "-" and digits ("1.5" gives 1, "-" gives 0); a value beyond the
// 32-bit range is held at its limit.
int32_t TokenToInt(const char* text);
// TokenToInt held within low..high, for a field that the reader shifts or
// scales afterwards.
int32_t TokenToIntInRange(const char* text, int32_t low, int32_t high);
// The leading decimal number ("1.2.3" gives 1.2); 0 when there is none; held
// within the float range.
float TokenToFloat(const char* text);
