#include <gtest/gtest.h>

#include "common/Zeichensatz.h"

namespace lw {
namespace {

TEST(Zeichensatz, EveryByteSurvivesTheRoundTrip) {
    std::string alle;
    for (int b = 0; b < 256; ++b) alle += static_cast<char>(b);
    EXPECT_EQ(cp1252AusUtf8(utf8AusCp1252(alle)), alle);
}

TEST(Zeichensatz, KnownCharacters) {
    EXPECT_EQ(cp1252AusUtf8("Tür"), "T\xFCr");
    EXPECT_EQ(cp1252AusUtf8("€ Š œ ž Ÿ"), "\x80 \x8A \x9C \x9E \x9F");
    EXPECT_EQ(utf8AusCp1252("\x80\x93\x94"), "€“”");
}

TEST(Zeichensatz, UnrepresentableAndBrokenInputBecomesQuestionMark) {
    EXPECT_EQ(cp1252AusUtf8("日本"), "??");
    EXPECT_EQ(cp1252AusUtf8("a\xF0\x9F\x98\x80z"), "a?z");  // emoji, four bytes
    EXPECT_EQ(cp1252AusUtf8("a\xC3"), "a?");                // cut off at the end
    EXPECT_EQ(cp1252AusUtf8("a\xC3z"), "a?z");              // missing continuation
    EXPECT_EQ(cp1252AusUtf8("\xFF"), "?");
}

}  // namespace
}  // namespace lw
