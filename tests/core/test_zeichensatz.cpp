#include <gtest/gtest.h>

#include <string>
#include <utility>

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

// Page bytes as the merged page presents them, and names beyond
// Windows-1252 in the core's text and back.
TEST(Zeichensatz, PageBytesAndNamesBeyondWindows1252) {
    EXPECT_EQ(utf8AusSeitenbytes("Gr\xC3\xB6\xC3\x9F"
                                 "e B\xE4r \x80 \xC3 \xED\xA0\x80"),
              "Größe Bär € Ã í\u00A0€");
    EXPECT_EQ(utf8AusSeitenbytes("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
    const std::pair<std::string, std::string> namen[] = {
        {"Größe.jpg",
         "Gr\xF6\xDF"
         "e.jpg"},
        {"日本€.gif", "&#26085;&#26412;\x80.gif"},
        {"a\xF0\x9F\x98\x80", "a&#128512;"},
    };
    for (const auto& [utf8, kern] : namen) {
        EXPECT_EQ(cp1252MitReferenzen(utf8), kern) << utf8;
        EXPECT_EQ(utf8MitReferenzen(kern), utf8) << utf8;
    }
    // A reference to a Windows-1252 character, or one never closed, is text.
    EXPECT_EQ(utf8MitReferenzen("&#228;&#26085&#x65E5;&#;"), "&#228;&#26085&#x65E5;&#;");
}

TEST(Zeichensatz, UnrepresentableAndBrokenInputBecomesQuestionMark) {
    struct Fall {
        const char* name;
        std::string utf8;
        std::string cp1252;
    };
    const Fall faelle[] = {
        {"not in Windows-1252", "日本", "??"},
        {"four bytes", "a\xF0\x9F\x98\x80z", "a?z"},
        {"cut off at the end", "a\xC3", "a?"},
        {"missing continuation", "a\xC3z", "a?z"},
        {"never a lead byte", "\xFF", "?"},
        {"stray continuation bytes", "a\x80\xBFz", "a??z"},
        {"overlong slash", "a\xC0\xAFz", "a?z"},
        {"overlong NUL", "\xC0\x80", "?"},
        {"overlong in three bytes", "\xE0\x80\xAFz", "?z"},
        {"overlong in four bytes", "\xF0\x80\x80\xAF", "?"},
        {"overlong umlaut", "\xE0\x83\xBC", "?"},
        {"high surrogate", "a\xED\xA0\x80z", "a?z"},
        {"low surrogate", "\xED\xBF\xBF", "?"},
        {"surrogate pair", "\xED\xA0\xBD\xED\xB8\x80", "??"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "?"},
        {"overlong euro in four bytes", "\xF0\x82\x82\xAC", "?"},
    };
    for (const Fall& f : faelle) EXPECT_EQ(cp1252AusUtf8(f.utf8), f.cp1252) << f.name;
}

}  // namespace
}  // namespace lw
