#include "engine/TextUtil.h"

#include <gtest/gtest.h>

namespace {

TEST(TextUtilTest, UpperCasesForTheBitmapFonts) {
    struct Case {
        int in, out;
    } cases[] =
        {
            {'a', 'A'}, {'z', 'Z'}, {'A', 'A'}, {'1', '1'}, {' ', ' '},
            {'{', '{'}, {233, 201}, // e acute
            {224, 192}, {255, 223}, {231, 199}, {138, 'z'}, {140, '|'},
            {200, 200}, {223, 223}, {0, 0},     {127, 127},
        };
    for (const auto& c : cases)
        EXPECT_EQ(UpperCaseChar(static_cast<unsigned char>(c.in)), c.out) << c.in;

    EXPECT_EQ(UpperCaseText("Hello, World 1648"), "HELLO, WORLD 1648");
    EXPECT_EQ(UpperCaseText("caf\xE9 \x8A\x8C"), "CAF\xC9 z|");
    EXPECT_EQ(UpperCaseText(""), "");
    EXPECT_EQ(UpperCaseText(std::string("a\0b", 3)), std::string("A\0B", 3));
}

} // namespace
