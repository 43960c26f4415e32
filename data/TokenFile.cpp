#include "data/TokenFile.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cstring>
#include <limits>

#include "data/DateBlock.h"
#include "data/Keywords.h"
#include "engine/CriticalError.h"
#include "platform/Files.h"

namespace {

constexpr size_t kReadBufferSize = 64 * 1024;
constexpr size_t kWriteBufferSize = 64 * 1024;

bool IsNumberChar(unsigned char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-';
}

} // namespace

// ---------------------------------------------------------------------------
// Helpers shared by the readers

std::string TokenErrorText(const char* context, const char* first, const char* second,
                           const char* third, uint32_t line, const std::string& fileName) {
    // "ERROR : (%s) '%s %s %s' Line = %d file = %s", put together piece by
    // piece so that no text of a file is ever read as a format.
    std::string text = "ERROR : (";
    text += context;
    text += ") '";
    text += first;
    text += ' ';
    text += second;
    text += ' ';
    text += third;
    text += "' Line = ";
    text += std::to_string(static_cast<int32_t>(line + 1));
    text += " file = ";
    text += fileName;
    return text;
}

void ReportTokenError(const char* context, const char* first, const char* second, const char* third,
                      uint32_t line, const std::string& fileName) {
    CriticalErrorText(TokenErrorText(context, first, second, third, line, fileName));
}

int32_t TokenToInt(const char* text) {
    const char* p = text;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    int64_t magnitude = 0;
    const int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

int32_t TokenToIntInRange(const char* text, int32_t low, int32_t high) {
    return std::clamp(TokenToInt(text), low, high);
}

float TokenToFloat(const char* text) {
    const char* begin = text;
    if (*begin == '+')
        ++begin;
    const char* end = begin + std::strlen(begin);
    double value = 0.0;
    std::from_chars_result result = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large when a non-zero digit stands before the point, else too
        // small to be anything but zero.
        bool large = false;
        for (const char* p = begin; p < end && *p != '.'; ++p)
            if (*p >= '1' && *p <= '9')
                large = true;
        value = large ? DBL_MAX : 0.0;
        if (*begin == '-')
            value = -value;
    } else if (result.ec != std::errc()) {
        return 0.0f;
    }
    if (value > FLT_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(value);
}

// ---------------------------------------------------------------------------
// CTokenFile

void CTokenFile::FileCloser::operator()(std::FILE* file) const {
    std::fclose(file);
}

CTokenFile::CTokenFile(const std::string& path, const char* mode) : m_fileName(path) {
    m_file.reset(platform::OpenGameFile(path, mode));
    if (!m_file)
        CriticalError("Couldn't open file:%s\n", path.c_str());
}

CTokenFile::CTokenFile(std::string* sink) : m_sink(sink), m_fileName("(memory)") {}

CTokenFile::~CTokenFile() {
    // What is still buffered goes to the file before it is closed.
    if (m_file && m_writeBuffer)
        WriteBuffered();
}

const char* CTokenFile::TokenText(uint32_t code) const {
    switch (code) {
    case TOKEN_EQUALS:
        return "=";
    case TOKEN_QUOTE:
        return "\"";
    case TOKEN_OPEN_BRACE:
        return "{";
    case TOKEN_CLOSE_BRACE:
        return "}";
    case TOKEN_OPEN_PAREN:
        return "(";
    case TOKEN_CLOSE_PAREN:
        return ")";
    case TOKEN_COMMA:
        return ",";
    case TOKEN_COMMENT:
        return "#";
    case TOKEN_NEWLINE:
        return "\n";
    case TOKEN_INDENT:
        return "    ";
    case TOKEN_BLANK:
        return " ";
    default:
        return KeywordText(code);
    }
}

uint32_t CTokenFile::CharClass(unsigned char c) {
    switch (c) {
    case '=':
        return TOKEN_EQUALS;
    case '"':
        return TOKEN_QUOTE;
    case '{':
        return TOKEN_OPEN_BRACE;
    case '}':
        return TOKEN_CLOSE_BRACE;
    case '(':
        return TOKEN_OPEN_PAREN;
    case ')':
        return TOKEN_CLOSE_PAREN;
    case ',':
        return TOKEN_COMMA;
    case '!':
    case '#':
    case ';':
        return TOKEN_COMMENT;
    default:
        return TOKEN_NONE;
    }
}

bool CTokenFile::IsBlank(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\0';
}

namespace {

// What the tokenizer needs to know of a byte, from one table look-up.
constexpr uint8_t kByteBlank = 1;  // IsBlank
constexpr uint8_t kByteWord = 2;   // neither blank nor punctuation nor comment
constexpr uint8_t kByteNumber = 4; // a word byte of a number: digit, "." or "-"

struct ByteTable {
    std::array<uint8_t, 256> flags{};

    ByteTable() {
        for (int i = 0; i < 256; ++i) {
            const auto c = static_cast<unsigned char>(i);
            if (CTokenFile::IsBlank(c))
                flags[c] = kByteBlank;
            else if (CTokenFile::CharClass(c) == TOKEN_NONE)
                flags[c] = static_cast<uint8_t>(kByteWord | (IsNumberChar(c) ? kByteNumber : 0));
        }
    }
};

const ByteTable g_bytes;

inline uint8_t ByteFlags(char c) {
    return g_bytes.flags[static_cast<unsigned char>(c)];
}

// The code of a word of known length: a number when it is made only of
// digits, "." and "-" (no keyword is), else its keyword id, else a string.
uint32_t ClassifyText(std::string_view word, bool allNumber) {
    if (allNumber)
        return TOKEN_NUMBER;
    const uint32_t id = FindKeyword(word);
    return id != CStringTree::NOT_FOUND ? id : TOKEN_STRING;
}

bool AllNumberChars(std::string_view word) {
    for (const char c : word)
        if (!IsNumberChar(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

uint32_t CTokenFile::ClassifyWord(const char* word) {
    const std::string_view text(word);
    return ClassifyText(text, AllNumberChars(text));
}

uint32_t CTokenFile::Classify() const {
    return ClassifyWord(m_current.text);
}

bool CTokenFile::Refill() {
    if (!m_file)
        return false;
    if (m_buffer.empty())
        m_buffer.resize(kReadBufferSize);
    m_bufferEnd = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file.get());
    m_bufferPos = 0;
    return m_bufferEnd != 0;
}

void CTokenFile::AppendText(const char* bytes, size_t count, uint32_t& length, bool& cut) {
    const size_t room = Token::MAX_TEXT_LENGTH - length;
    if (count > room) {
        count = room;
        cut = true;
    }
    std::memcpy(m_current.text + length, bytes, count);
    length += static_cast<uint32_t>(count);
}

void CTokenFile::ReportCut(const char* what) {
    ReportTokenError(what, m_current.text, "", "", m_line, m_fileName);
}

void CTokenFile::SkipComment() {
    while (HasBytes()) {
        const char* begin = m_buffer.data() + m_bufferPos;
        const size_t count = m_bufferEnd - m_bufferPos;
        if (const void* newline = std::memchr(begin, '\n', count)) {
            m_bufferPos += static_cast<size_t>(static_cast<const char*>(newline) - begin) + 1;
            ++m_line;
            return;
        }
        m_bufferPos = m_bufferEnd;
    }
}

void CTokenFile::ReadQuoted() {
    // Everything up to the next quote belongs to the string; there is no
    // escape. A NUL byte cannot be held in the text and is dropped.
    const uint32_t startLine = m_line;
    uint32_t length = 0;
    bool cut = false;
    bool closed = false;
    while (!closed && HasBytes()) {
        const char* p = m_buffer.data() + m_bufferPos;
        const char* const end = m_buffer.data() + m_bufferEnd;
        const char* run = p;
        for (; p < end; ++p) {
            const char c = *p;
            if (c == '"' || c == '\0') {
                AppendText(run, static_cast<size_t>(p - run), length, cut);
                run = p + 1;
                if (c == '"') {
                    closed = true;
                    ++p;
                    break;
                }
            } else if (c == '\n') {
                ++m_line;
            }
        }
        if (!closed)
            AppendText(run, static_cast<size_t>(p - run), length, cut);
        m_bufferPos = static_cast<size_t>(p - m_buffer.data());
    }
    m_current.text[length] = '\0';
    m_current.code = TOKEN_STRING;
    if (cut)
        ReportCut("String longer than 1023 characters, cut");
    if (!closed)
        ReportTokenError("Unterminated string", m_current.text, "", "", startLine, m_fileName);
}

// A word: up to a blank (taken) or a punctuation or comment character (left
// for the next token). False when the word runs into the end of the file.
bool CTokenFile::ReadWord() {
    uint32_t length = 1;
    bool cut = false;
    bool allNumber = (ByteFlags(m_current.text[0]) & kByteNumber) != 0;
    bool endOfFile = false;
    for (;;) {
        if (!HasBytes()) {
            endOfFile = true;
            break;
        }
        const char* const begin = m_buffer.data() + m_bufferPos;
        const char* const end = m_buffer.data() + m_bufferEnd;
        const char* p = begin;
        uint8_t flags = 0;
        uint8_t numbers = kByteNumber;
        while (p < end && ((flags = ByteFlags(*p)) & kByteWord) != 0) {
            numbers &= flags;
            ++p;
        }
        if (numbers == 0)
            allNumber = false;
        AppendText(begin, static_cast<size_t>(p - begin), length, cut);
        m_bufferPos = static_cast<size_t>(p - m_buffer.data());
        if (p == end)
            continue;
        if (flags & kByteBlank) {
            if (*p == '\n')
                ++m_line;
            ++m_bufferPos;
        }
        break;
    }
    m_current.text[length] = '\0';
    const std::string_view word(m_current.text, length);
    // A cut word is classified by what was kept of it.
    m_current.code = ClassifyText(word, cut ? AllNumberChars(word) : allNumber);
    if (cut)
        ReportCut("Word longer than 1023 characters, cut");
    // A word that runs into the end of the file is not delivered.
    return !endOfFile;
}

int32_t CTokenFile::Next() {
    if (m_pending) {
        m_pending = false;
        return m_pendingResult;
    }
    for (;;) {
        // Blanks, counting the line feeds among them.
        for (;;) {
            if (!HasBytes())
                return 0;
            const char* p = m_buffer.data() + m_bufferPos;
            const char* const end = m_buffer.data() + m_bufferEnd;
            while (p < end && (ByteFlags(*p) & kByteBlank) != 0) {
                if (*p == '\n')
                    ++m_line;
                ++p;
            }
            m_bufferPos = static_cast<size_t>(p - m_buffer.data());
            if (p != end)
                break;
        }
        const auto c = static_cast<unsigned char>(m_buffer[m_bufferPos++]);
        const uint32_t charClass = CharClass(c);
        m_current.code = charClass;
        m_current.text[0] = static_cast<char>(c);
        m_current.text[1] = '\0';

        if (charClass == TOKEN_COMMENT) {
            SkipComment();
            continue;
        }
        if (charClass == TOKEN_QUOTE) {
            ReadQuoted();
            return 1;
        }
        if (charClass != TOKEN_NONE)
            return 1;
        return ReadWord() ? 1 : 0;
    }
}

const Token* CTokenFile::Peek() {
    if (!m_pending) {
        m_pendingResult = Next();
        if (m_pendingResult == 0)
            m_current.code = TOKEN_EOF;
        m_pending = true;
    }
    return &m_current;
}

bool CTokenFile::WriteBuffered() {
    if (m_writeBuffer) {
        const size_t count = static_cast<size_t>(m_writeAt - m_writeBuffer.get());
        if (!m_writeFailed && count > 0 &&
            std::fwrite(m_writeBuffer.get(), 1, count, m_file.get()) != count)
            m_writeFailed = true;
        m_writeAt = m_writeBuffer.get();
        m_writeRoom = kWriteBufferSize;
    }
    if (!m_writeFailed && std::ferror(m_file.get()) != 0)
        m_writeFailed = true;
    if (m_writeFailed)
        m_writeRoom = 0; // every later write comes here and fails
    return !m_writeFailed;
}

bool CTokenFile::WriteUnbuffered(std::string_view bytes) {
    if (m_sink) {
        m_sink->append(bytes);
        return true;
    }
    if (!m_file || m_writeFailed)
        return false;
    if (bytes.empty())
        return true;
    // Whole buffers go to the file at once: the token writers hand over a
    // few bytes at a time.
    if (!m_writeBuffer) {
        m_writeBuffer = std::make_unique<char[]>(kWriteBufferSize);
        m_writeAt = m_writeBuffer.get();
        m_writeRoom = kWriteBufferSize;
    } else if (!WriteBuffered()) {
        return false;
    }
    if (bytes.size() > m_writeRoom) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) != bytes.size()) {
            m_writeFailed = true;
            m_writeRoom = 0;
            return false;
        }
        return true;
    }
    return Write(bytes);
}

bool CTokenFile::Flush() {
    if (m_sink)
        return true;
    if (!m_file)
        return false;
    return WriteBuffered() && std::fflush(m_file.get()) == 0 && std::ferror(m_file.get()) == 0;
}

// ---------------------------------------------------------------------------
// CFieldReader

namespace {

// Copies code and text up to its end (the bytes after the terminating zero
// are of no interest).
void CopyToken(Token& to, const Token& from) {
    to.code = from.code;
    const void* end = std::memchr(from.text, '\0', Token::TEXT_SIZE);
    size_t length =
        end ? static_cast<size_t>(static_cast<const char*>(end) - from.text) + 1 : Token::TEXT_SIZE;
    std::memcpy(to.text, from.text, length);
    to.text[Token::MAX_TEXT_LENGTH] = '\0';
}

} // namespace

void CFieldReader::Open(const std::string& path, const char* mode) {
    m_file.reset();
    m_file = std::make_unique<CTokenFile>(path, mode);
}

void CFieldReader::OpenMemory(std::string& sink) {
    m_file.reset();
    m_file = std::make_unique<CTokenFile>(&sink);
}

void CFieldReader::Close() {
    m_file.reset();
}

int32_t CFieldReader::ReadField() {
    if (!m_file)
        return FIELD_END_OF_FILE;
    const Token* next = m_file->Peek();
    if (next->code == TOKEN_CLOSE_BRACE)
        return FIELD_BLOCK_END;
    if (next->code == TOKEN_EOF)
        return FIELD_END_OF_FILE;
    m_file->Next();
    CopyToken(key, m_file->Current());

    next = m_file->Peek();
    if (next->code == TOKEN_EOF)
        return FIELD_END_OF_FILE;
    if (next->code != TOKEN_EQUALS) {
        // A "}" is left for the block's reader, so that the block still ends
        // where it ends.
        if (next->code != TOKEN_CLOSE_BRACE)
            m_file->Next();
        if (m_file->FirstMissingEquals())
            AppendToLog(TokenErrorText("Missing \"=\"", key.text, m_file->Current().text, "",
                                       m_file->GetLine(), m_file->GetFileName()));
        return FIELD_ERROR;
    }
    m_file->Next();
    CopyToken(equals, m_file->Current());

    if (m_file->Next() == 0)
        return FIELD_END_OF_FILE;
    CopyToken(value, m_file->Current());
    return FIELD_READ;
}

namespace {

// Reads list items up to and including the "}": commas are passed over, take
// appends an item and answers false for a token that is no item, which is
// reported and passed over.
template <class TakeItem> int32_t ReadListItems(CFieldReader& reader, TakeItem take) {
    CTokenFile* file = reader.GetTokenFile();
    if (!file)
        return FIELD_END_OF_FILE;
    for (;;) {
        if (file->Peek()->code == TOKEN_EOF)
            return FIELD_END_OF_FILE;
        file->Next();
        const Token& token = file->Current();
        if (token.code == TOKEN_CLOSE_BRACE)
            return FIELD_BLOCK_END;
        if (token.code == TOKEN_COMMA)
            continue;
        if (!take(token))
            ReportTokenError("Unexpected token in list", reader.key.text, reader.equals.text,
                             token.text, file->GetLine(), file->GetFileName());
    }
}

} // namespace

int32_t CFieldReader::ReadIntList(CIntList& list) {
    return ReadListItems(*this, [&list](const Token& token) {
        if (token.code != TOKEN_NUMBER)
            return false;
        list.AddTail(TokenToInt(token.text));
        return true;
    });
}

int32_t CFieldReader::ReadFloatList(CFloatList& list) {
    return ReadListItems(*this, [&list](const Token& token) {
        if (token.code != TOKEN_NUMBER)
            return false;
        list.AddTail(TokenToFloat(token.text));
        return true;
    });
}

int32_t CFieldReader::ReadTagList(CIntList& list, const CountryTagLookup& findCountryByTag) {
    return ReadListItems(*this, [&list, &findCountryByTag](const Token& token) {
        if (token.code != TOKEN_STRING)
            return false;
        list.AddTail(findCountryByTag ? findCountryByTag(token.text) : 0);
        return true;
    });
}

int32_t CFieldReader::ReadDatedIdList(uint16_t objectType, CDatedIdList& list) {
    if (!m_file)
        return FIELD_END_OF_FILE;
    // One date for every entry: a field an entry leaves out keeps the value
    // of the entry before it.
    CDate date;
    for (;;) {
        const Token* next = m_file->Peek();
        if (next->code == TOKEN_EOF)
            return FIELD_END_OF_FILE;
        if (next->code == TOKEN_CLOSE_BRACE) {
            m_file->Next();
            return FIELD_BLOCK_END;
        }
        if (next->code != TOKEN_OPEN_BRACE)
            return FIELD_ERROR;
        m_file->Next();
        int32_t result = date.Read(*this);
        if (result != FIELD_BLOCK_END)
            return result;

        next = m_file->Peek();
        if (next->code == TOKEN_EOF)
            return FIELD_END_OF_FILE;
        if (next->code != TOKEN_NUMBER)
            return FIELD_ERROR;
        m_file->Next();
        int32_t number = TokenToInt(m_file->Current().text);
        if (number < 0)
            return FIELD_ERROR;
        list.AddTail(DatedId{date, ObjectId(objectType, static_cast<uint32_t>(number))});
        if (m_file->Peek()->code == TOKEN_COMMA)
            m_file->Next();
    }
}

void CFieldReader::ReportError(const char* context) const {
    uint32_t line = m_file ? m_file->GetLine() : 0;
    static const std::string noFile;
    ReportTokenError(context, key.text, equals.text, value.text, line,
                     m_file ? m_file->GetFileName() : noFile);
}

int32_t CFieldReader::ReadBlockField() {
    for (;;) {
        const int32_t result = ReadField();
        if (result == FIELD_READ || result == FIELD_END_OF_FILE)
            return result;
        CTokenFile* file = GetTokenFile();
        if (file && file->Peek()->code == TOKEN_CLOSE_BRACE) {
            file->Next();
            return FIELD_BLOCK_END;
        }
    }
}

int32_t CFieldReader::ReadFieldOrClose() {
    const int32_t result = ReadField();
    if (result == FIELD_BLOCK_END) {
        GetTokenFile()->Next();
        return FIELD_BLOCK_END;
    }
    return result;
}
