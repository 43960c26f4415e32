#pragma once
// Text output of the game's format. Writers never print free text: every
// value becomes a Token through a formatter (Token::SetInt "%d",
// Token::SetFloat "%f", Token::SetBool "yes"/"no", Token::SetString "%s",
// Token::Set with a code's text from CTokenFile::TokenText) and is written by
// CFieldReader::WriteToken on the reader opened with mode "w", which follows
// the token with one blank unless TokenTakesBlank says otherwise.
//
//     Token token;
//     out.WriteToken(token.Set(KW_YEAR, out.GetTokenFile()->TokenText(KW_YEAR)));
//     out.WriteToken(token.Set(TOKEN_EQUALS, "="));
//     out.WriteToken(token.SetInt(1492));      // "year = 1492 "
#include <cstdint>

#include "data/Token.h"
#include "data/TokenFile.h"

// False for the codes written without a following blank: quote, string or
// identifier, newline, indent and blank.
bool TokenTakesBlank(uint32_t code);
