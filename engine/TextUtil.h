#pragma once
// Upper-casing of texts for the bitmap fonts, whose glyphs follow Latin-1.
#include <string>
#include <string_view>

// One byte: ASCII letters become capitals, bytes 224 and above lose 32 (the
// accented small letters become capitals), 138 becomes 'z' and 140 becomes
// '|' (the font files keep those two glyphs there). Other bytes are kept.
unsigned char UpperCaseChar(unsigned char c);

// Every byte of the text through UpperCaseChar.
std::string UpperCaseText(std::string_view source);
