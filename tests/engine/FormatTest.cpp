#include "engine/Format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FormatTest, FormatTextGrowsToAnyLength) {
    EXPECT_EQ(FormatText("%s has %d provinces", "Castile", 12), "Castile has 12 provinces");
    EXPECT_EQ(FormatText("%s", ""), "");
    EXPECT_EQ(FormatDataText("%s has %d provinces", {"Castile", 12}), "Castile has 12 provinces");
    const std::string longText(5000, 'x');
    EXPECT_EQ(FormatText("[%s]", longText.c_str()), "[" + longText + "]");
}

struct DataCase {
    const char* format;
    std::vector<FormatArg> args;
    std::string expected;
};

TEST(FormatTest, DataTextTakesTheAcceptedConversions) {
    const std::string name = "Bob";
    const DataCase cases[] = {
        {"%s left the game", {name}, "Bob left the game"},
        {"no conversion", {}, "no conversion"},
        {"%d %i %u %x", {-5, 7, 42u, 255}, "-5 7 42 ff"},
        {"%u %x", {-1, -2}, "4294967295 fffffffe"},
        {"%x", {uint64_t{0x123456789}}, "123456789"},
        {"%d", {int64_t{-9000000000}}, "-9000000000"},
        {"%f|%.2f|%8.3f", {1.5, 2.0 / 3, -1.25}, "1.500000|0.67|  -1.250"},
        {"%c%c", {'O', 107}, "Ok"},
        {"%5s|%-5s|%.2s", {"ab", "cd", "efgh"}, "   ab|cd   |ef"},
        {"%05d|%-4d|%+d|% d", {42, 7, 3, 3}, "00042|7   |+3| 3"},
        {"%#x|%08.3f", {255, 3.14159}, "0xff|0003.142"},
        {"100%% sure", {}, "100% sure"},
        {"%s", {static_cast<const char*>(nullptr)}, ""},
        {"%s", {std::string_view("view")}, "view"},
        {"%999d", {1}, std::string(998, ' ') + "1"},
    };
    for (const DataCase& c : cases)
        EXPECT_EQ(FormatDataText(c.format, c.args), c.expected) << c.format;
}

TEST(FormatTest, DataTextNeverTrustsItsFormat) {
    const DataCase cases[] = {
        // Missing arguments print nothing; the text around them stays.
        {"%s%s%s", {"a"}, "a"},
        {"%d and %d", {}, " and "},
        // Conversions it does not accept are written as they stand and take
        // no argument.
        {"%n%s", {"x"}, "%nx"},
        {"%p %ld %lld %hhn", {}, "%p %ld %lld %hhn"},
        {"%*d|%s", {"x"}, "%*d|x"},
        {"%5%", {}, "%5%"},
        {"end %", {}, "end %"},
        {"%", {1}, "%"},
        {"%-", {1}, "%-"},
        {"%.", {1}, "%."},
        // A width or precision of more than three digits is not taken.
        {"%9999999d", {1}, "%9999999d"},
        {"%.1000f", {1.0}, "%.1000f"},
        // A conversion whose argument is of another kind is written as it
        // stands and uses the argument up.
        {"%s|%s", {42, "b"}, "%s|b"},
        {"%d|%d", {"text", 7}, "%d|7"},
        {"%f|%d", {3, 1.5}, "%f|%d"},
        {"%c", {"c"}, "%c"},
        // Flags that mean nothing for the conversion are left out.
        {"%#d|%+u|%0s|%+c", {5, 6u, "t", 'c'}, "5|6|t|c"},
        // Arguments left over are ignored.
        {"%s", {"a", "b", 3}, "a"},
    };
    for (const DataCase& c : cases)
        EXPECT_EQ(FormatDataText(c.format, c.args), c.expected) << c.format;
}

} // namespace
