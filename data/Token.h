#pragma once
// Token: one token of the game's text format, carried between the tokenizer,
// the readers and the writers. Its code says what it is (the codes below, or
// a keyword id 10..465 of data/Keywords.h); its text is what was read, or what
// a writer prints.
#include <cstdint>

// Token codes.
constexpr uint32_t TOKEN_NONE = 0;        // character class of a word character
constexpr uint32_t TOKEN_EQUALS = 1;      // "="
constexpr uint32_t TOKEN_QUOTE = 2;       // the double quote
constexpr uint32_t TOKEN_OPEN_BRACE = 3;  // "{"
constexpr uint32_t TOKEN_CLOSE_BRACE = 4; // "}"
constexpr uint32_t TOKEN_OPEN_PAREN = 5;  // "("
constexpr uint32_t TOKEN_CLOSE_PAREN = 6; // ")"
constexpr uint32_t TOKEN_NO_TOKEN = 7;    // unused
constexpr uint32_t TOKEN_COMMA = 8;       // ","
constexpr uint32_t TOKEN_COMMENT = 9;     // "!", "#" or ";" to the end of the line; written as "#"
constexpr uint32_t TOKEN_FIRST_KEYWORD = 10;
constexpr uint32_t TOKEN_LAST_KEYWORD = 465;
constexpr uint32_t TOKEN_NUMBER = 466; // digits, "." and "-" only; written as an integer
constexpr uint32_t TOKEN_FLOAT = 467;  // written only (six decimals)
constexpr uint32_t TOKEN_YESNO = 468;  // written only ("yes" / "no"; read back as keywords 64 / 65)
constexpr uint32_t TOKEN_STRING = 469; // quoted string, or a word that is no keyword and no number
constexpr uint32_t TOKEN_NEWLINE = 470; // written only
constexpr uint32_t TOKEN_INDENT = 471;  // written only: four blanks
constexpr uint32_t TOKEN_BLANK = 472;   // written only: one blank
constexpr uint32_t TOKEN_EOF = 473;     // end of the file (CTokenFile::Peek)

constexpr bool IsKeywordCode(uint32_t code) {
    return code >= TOKEN_FIRST_KEYWORD && code <= TOKEN_LAST_KEYWORD;
}

struct Token {
    // Room for the text and its terminating zero: texts hold at most 1023
    // characters.
    static constexpr uint32_t TEXT_SIZE = 1024;
    static constexpr uint32_t MAX_TEXT_LENGTH = TEXT_SIZE - 1;

    uint32_t code = TOKEN_NONE;
    char text[TEXT_SIZE] = {};

    // The fillers set code and text and answer the token. A text longer than
    // 1023 characters is cut and reported through the critical-error box.

    // The code and a copy of the text (null: empty).
    Token& Set(uint32_t newCode, const char* newText);
    // TOKEN_NUMBER, "%d".
    Token& SetInt(int32_t value);
    // TOKEN_FLOAT, the value widened to double and printed as "%f" in the
    // "C" locale (0.5 gives 0.500000).
    Token& SetFloat(float value);
    // TOKEN_YESNO, "yes" when the low byte of the value is non-zero, else "no".
    Token& SetBool(uint32_t value);
    // TOKEN_STRING, a copy of the text. The format has no escape, so a double
    // quote inside the text is written as a single quote: it would otherwise
    // end the string early when the file is read back.
    Token& SetString(const char* newText);
};
