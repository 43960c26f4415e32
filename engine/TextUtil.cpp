#include "engine/TextUtil.h"

unsigned char UpperCaseChar(unsigned char c) {
    // toupper of the "C" locale, whatever locale the process has.
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 224)
        return static_cast<unsigned char>(c - 32);
    if (c == 138)
        return 'z';
    if (c == 140)
        return '|';
    return c;
}

std::string UpperCaseText(std::string_view source) {
    std::string result(source);
    for (char& c : result)
        c = static_cast<char>(UpperCaseChar(static_cast<unsigned char>(c)));
    return result;
}
