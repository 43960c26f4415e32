#include "data/TextOutput.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>
#include <typeinfo>

#include "engine/CriticalError.h"

namespace {

// Copies text into the token, cut to 1023 characters (reported); a double
// quote becomes a single quote when replaceQuotes is set.
void CopyText(Token& token, const char* text, bool replaceQuotes) {
    if (!text)
        text = "";
    size_t length = std::strlen(text);
    if (length > Token::MAX_TEXT_LENGTH) {
        CriticalError("Token text longer than %u characters, cut: %.40s...", Token::MAX_TEXT_LENGTH,
                      text);
        length = Token::MAX_TEXT_LENGTH;
    }
    std::memcpy(token.text, text, length);
    token.text[length] = '\0';
    if (replaceQuotes)
        for (size_t i = 0; i < length; ++i)
            if (token.text[i] == '"')
                token.text[i] = '\'';
}

// Room for the longest formatted number: "%f" of the largest float prints
// 46 characters.
constexpr size_t kNumberRoom = 64;

// "%d".
size_t FormatInt(char* out, int32_t value) {
    return static_cast<size_t>(std::to_chars(out, out + kNumberRoom, value).ptr - out);
}

// "%f" of the value widened to double, independent of the locale.
size_t FormatFloat(char* out, float value) {
    return static_cast<size_t>(std::to_chars(out, out + kNumberRoom, static_cast<double>(value),
                                             std::chars_format::fixed, 6)
                                   .ptr -
                               out);
}

const char* YesNoText(uint32_t value) {
    return (value & 0xFF) != 0 ? "yes" : "no";
}

} // namespace

Token& Token::Set(uint32_t newCode, const char* newText) {
    code = newCode;
    CopyText(*this, newText, false);
    return *this;
}

Token& Token::SetInt(int32_t newValue) {
    code = TOKEN_NUMBER;
    text[FormatInt(text, newValue)] = '\0';
    return *this;
}

Token& Token::SetFloat(float newValue) {
    code = TOKEN_FLOAT;
    text[FormatFloat(text, newValue)] = '\0';
    return *this;
}

Token& Token::SetBool(uint32_t newValue) {
    code = TOKEN_YESNO;
    std::strcpy(text, YesNoText(newValue));
    return *this;
}

Token& Token::SetString(const char* newText) {
    code = TOKEN_STRING;
    CopyText(*this, newText, true);
    return *this;
}

bool TokenTakesBlank(uint32_t code) {
    switch (code) {
    case TOKEN_QUOTE:
    case TOKEN_STRING:
    case TOKEN_NEWLINE:
    case TOKEN_INDENT:
    case TOKEN_BLANK:
        return false;
    default:
        return true;
    }
}

namespace {

// The text and, when the code takes one, its blank.
int32_t WriteText(CTokenFile* file, std::string_view text, uint32_t code) {
    if (!file || !file->IsOpen())
        return FIELD_ERROR;
    bool written = file->Write(text);
    if (written && TokenTakesBlank(code))
        written = file->Write(" ");
    return written ? FIELD_WRITTEN : FIELD_ERROR;
}

} // namespace

int32_t CFieldReader::WriteToken(const Token& token) {
    const void* end = std::memchr(token.text, '\0', Token::TEXT_SIZE);
    const size_t length =
        end ? static_cast<size_t>(static_cast<const char*>(end) - token.text) : Token::TEXT_SIZE;
    return WriteText(GetTokenFile(), std::string_view(token.text, length), token.code);
}

int32_t CFieldReader::WriteCode(uint32_t code) {
    CTokenFile* file = GetTokenFile();
    if (!file)
        return FIELD_ERROR;
    // The plain token file's texts, measured once (every one is short); a
    // file that gives its own texts is asked each time.
    static const std::array<std::string_view, TOKEN_EOF + 1> kTexts = [file] {
        std::array<std::string_view, TOKEN_EOF + 1> texts{};
        for (uint32_t c = 0; c <= TOKEN_EOF; ++c)
            if (const char* text = file->CTokenFile::TokenText(c))
                texts[c] = text;
        return texts;
    }();
    if (code <= TOKEN_EOF && typeid(*file) == typeid(CTokenFile))
        return WriteText(file, kTexts[code], code);
    const char* text = file->TokenText(code);
    if (text && std::strlen(text) > Token::MAX_TEXT_LENGTH) {
        Token token; // cut and reported as Token::Set does
        return WriteToken(token.Set(code, text));
    }
    return WriteText(file, text ? std::string_view(text) : std::string_view(), code);
}

int32_t CFieldReader::WriteInt(int32_t value) {
    char text[kNumberRoom];
    return WriteText(GetTokenFile(), std::string_view(text, FormatInt(text, value)), TOKEN_NUMBER);
}

int32_t CFieldReader::WriteFloat(float value) {
    char text[kNumberRoom];
    return WriteText(GetTokenFile(), std::string_view(text, FormatFloat(text, value)), TOKEN_FLOAT);
}

int32_t CFieldReader::WriteBool(uint32_t value) {
    return WriteText(GetTokenFile(), YesNoText(value), TOKEN_YESNO);
}

int32_t CFieldReader::WriteString(const char* text) {
    if (!text)
        text = "";
    const size_t length = std::strlen(text);
    if (length > Token::MAX_TEXT_LENGTH || std::memchr(text, '"', length)) {
        Token token; // cut, reported and its quotes replaced as Token::SetString does
        return WriteToken(token.SetString(text));
    }
    return WriteText(GetTokenFile(), std::string_view(text, length), TOKEN_STRING);
}

int32_t CFieldReader::WriteTokenRepeated(const Token& token, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        if (WriteToken(token) != FIELD_WRITTEN)
            return FIELD_ERROR;
    return FIELD_WRITTEN;
}
