#include "data/TextOutput.h"

#include <charconv>
#include <cstring>

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

} // namespace

Token& Token::Set(uint32_t newCode, const char* newText) {
    code = newCode;
    CopyText(*this, newText, false);
    return *this;
}

Token& Token::SetInt(int32_t newValue) {
    code = TOKEN_NUMBER;
    std::to_chars_result result = std::to_chars(text, text + MAX_TEXT_LENGTH, newValue);
    *result.ptr = '\0';
    return *this;
}

Token& Token::SetFloat(float newValue) {
    code = TOKEN_FLOAT;
    // "%f" of the value widened to double, independent of the locale. The
    // largest float prints 46 characters.
    std::to_chars_result result = std::to_chars(
        text, text + MAX_TEXT_LENGTH, static_cast<double>(newValue), std::chars_format::fixed, 6);
    *result.ptr = '\0';
    return *this;
}

Token& Token::SetBool(uint32_t newValue) {
    code = TOKEN_YESNO;
    std::strcpy(text, (newValue & 0xFF) != 0 ? "yes" : "no");
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

int32_t CFieldReader::WriteToken(const Token& token) {
    CTokenFile* file = GetTokenFile();
    if (!file || !file->IsOpen())
        return FIELD_ERROR;
    // The text and its blank in one write.
    char bytes[Token::TEXT_SIZE + 1];
    const void* end = std::memchr(token.text, '\0', Token::TEXT_SIZE);
    size_t length =
        end ? static_cast<size_t>(static_cast<const char*>(end) - token.text) : Token::TEXT_SIZE;
    std::memcpy(bytes, token.text, length);
    if (TokenTakesBlank(token.code))
        bytes[length++] = ' ';
    return file->Write(std::string_view(bytes, length)) ? FIELD_WRITTEN : FIELD_ERROR;
}

int32_t CFieldReader::WriteTokenRepeated(const Token& token, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        if (WriteToken(token) != FIELD_WRITTEN)
            return FIELD_ERROR;
    return FIELD_WRITTEN;
}
